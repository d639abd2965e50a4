#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "media/screen.h"
#include "support/game_fixture.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

namespace {

class Labyrinth : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    WriteLabyrinthTiles();
    LoadData();
    ResetWorld();
  }
  void Generate(int32_t w, int32_t h) {
    gameState.mapWidth = w;
    gameState.mapHeight = h;
    FillWalls(w, h);
    CarveFloor(w, h);
    CarveGreen(w, h);
    CarveWater(w, h);
    EdgePass();
  }
  int Count(const std::string& name) const {
    int n = 0;
    for (int x = 0; x < tileMap.Columns(); x++)
      for (int y = 0; y < tileMap.Rows(); y++) n += tileMap.Name(x, y) == name;
    return n;
  }
};

TEST_F(Labyrinth, OneByOneCarvesItsOnlyInnerCellAndIsCompleteAtOnce) {
  RandomSeed(1);
  Generate(1, 1);
  EXPECT_EQ(tileMap.Name(1, 1), "LAB_FLOOR");
  EXPECT_EQ(Count("LAB_WALL"), 3);
  EXPECT_EQ(gameState.tilesLeft, 0);  // one floor cell, divided by four
  EXPECT_EQ(gameState.timeLeft, 0);
  EXPECT_TRUE(labyrinthStart.found);
  EXPECT_EQ(labyrinthStart.x, 1);
  EXPECT_EQ(labyrinthStart.y, 1);
  EXPECT_EQ(gameState.builtLevel, gameState.level);  // the progress bar marks the level built
}

TEST_F(Labyrinth, WalkersStayInsideTheBorderAndFloorIsOneConnectedPath) {
  settings.LABSWITCH = 2;
  RandomSeed(7);
  Generate(10, 10);
  for (int x = 0; x <= 10; x++)
    for (int y = 0; y <= 10; y++) {
      const bool border = x == 0 || y == 0 || x >= 9 || y >= 9;
      if (border) {
        EXPECT_EQ(tileMap.Name(x, y), "LAB_WALL") << x << "," << y;
      }
      EXPECT_EQ(tileMap.Find(x, y)->inMap, 1);
    }
  EXPECT_EQ(tileMap.Name(11, 0), "");  // nothing outside the labyrinth
  // Every floor cell is reachable from the start through floor.
  bool seen[11][11] = {};
  int reached = 0;
  std::vector<std::pair<int, int>> todo{{1, 1}};
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x > 10 || y > 10 || seen[x][y] || tileMap.Name(x, y) != "LAB_FLOOR") continue;
    seen[x][y] = true;
    reached++;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  EXPECT_EQ(reached, Count("LAB_FLOOR"));
  EXPECT_GT(Count("LAB_GREEN") + Count("LAB_WATER"), 0);
}

TEST_F(Labyrinth, CountersDivideTheFloorByFourAndTheTimeAgainCappedAtSixty) {
  settings.LABSWITCH = 0;
  int floor = 0;
  for (int side : {40, 90}) {  // the larger one carves enough floor for the cap
    SCOPED_TRACE(side);
    ResetWorld();
    gameState.tilesLeft = 0;
    RandomSeed(3);
    Generate(side, side);
    floor = Count("LAB_FLOOR");
    // Green and water only replace walls, so every converted floor cell is still floor.
    EXPECT_EQ(gameState.tilesLeft, floor / 4);
    EXPECT_EQ(gameState.timeLeft, std::min(60, floor / 16));
  }
  EXPECT_GT(floor / 16, 60);
}

// The walker starts in (1, 1) and moves only between columns and rows 2 and side - 2, so column 1
// and row 1 are walked only before it first leaves them: their floor beyond (1, 1) runs unbroken
// from it, along one of the two at most.
TEST_F(Labyrinth, ColumnAndRowOneAreWalkedOnlyFromTheStart) {
  settings.LABSWITCH = 0;
  for (int seed : {3, 4, 5}) {
    SCOPED_TRACE(seed);
    ResetWorld();
    RandomSeed(seed);
    Generate(30, 30);
    auto run = [](bool column) {
      int n = 0;
      while (tileMap.Name(column ? 1 : 2 + n, column ? 2 + n : 1) == "LAB_FLOOR") n++;
      int all = 0;
      for (int i = 2; i < 30; i++) all += tileMap.Name(column ? 1 : i, column ? i : 1) == "LAB_FLOOR";
      EXPECT_EQ(all, n) << (column ? "column 1" : "row 1");
      return n;
    };
    const int down = run(true), across = run(false);
    EXPECT_TRUE(down == 0 || across == 0) << down << " down, " << across << " across";
  }
}

TEST_F(Labyrinth, NegativeSwitchNeverTurnsAndCarvesOnlyTheStart) {
  settings.LABSWITCH = -1;
  RandomSeed(3);
  Generate(12, 12);
  EXPECT_EQ(Count("LAB_FLOOR"), 1);
  EXPECT_EQ(tileMap.Name(1, 1), "LAB_FLOOR");
}

TEST_F(Labyrinth, SameSeedGivesTheSameLabyrinthStartAndCounters) {
  auto build = [this]() {
    settings.LABSWITCH = 4;
    RandomSeed(42);
    ResetWorld();
    gameState.tilesLeft = 0;
    Generate(30, 20);
    std::string cells;
    for (int x = 0; x <= 30; x++)
      for (int y = 0; y <= 20; y++) cells += tileMap.Name(x, y) + ";";
    return cells + std::to_string(gameState.tilesLeft) + "/" + std::to_string(labyrinthStart.x) + "/" + std::to_string(labyrinthStart.y);
  };
  const std::string first = build();
  EXPECT_EQ(build(), first);
}

// The walls' pass shows its progress bar after every 2 x width + 1 cells, counting on from the
// last build: 5 frames for the first 11 x 11, 6 for the next (the first after 5 cells).
TEST_F(Labyrinth, TheProgressBarIsShownEveryTwiceTheWidthPlusOneCells) {
  const int32_t before = PresentedFrames();
  FillWalls(10, 10);
  EXPECT_EQ(PresentedFrames() - before, 5);
  FillWalls(10, 10);
  EXPECT_EQ(PresentedFrames() - before, 11);
}

TEST_F(Labyrinth, ZeroSizeBuildsTheSingleCellWithoutDividingByZero) {
  RandomSeed(5);
  Generate(0, 0);
  EXPECT_EQ(tileMap.Name(0, 0), "LAB_WALL");
  EXPECT_EQ(Count("LAB_WALL"), 1);
  EXPECT_EQ(gameState.tilesLeft, 0);
  Generate(0, 3);
  EXPECT_EQ(Count("LAB_WALL"), 4);
}

TEST_F(Labyrinth, EdgePassTurnsPendingCellsIntoEdgeVariantsOfTheirNeighbours) {
  WriteTile("LAB_WALL_E", "TRANSPARENCY\n0\n");
  WriteTile("LAB_WATER_S", "TRANSPARENCY\n0\n");
  PlaceTile(4, 4, "LAB_WALL");
  PlaceTile(5, 4, "LAB_FLOOR");
  PlaceTile(7, 3, "LAB_WATER");
  PlaceTile(7, 4, "LAB_FLOOR");
  PlaceTile(9, 4, "LAB_FLOOR");
  edgeEntries = {{5, 4, "LAB_FLOOR"}, {7, 4, "LAB_FLOOR"}, {0, 0, "LAB_FLOOR"}};
  settings.USEEXTENDEDTOPO = 0;
  EdgePass();
  EXPECT_EQ(tileMap.Name(5, 4), "LAB_FLOOR");
  settings.USEEXTENDEDTOPO = 1;
  EdgePass();
  EXPECT_EQ(tileMap.Name(5, 4), "LAB_WALL_E");
  EXPECT_EQ(tileMap.Name(7, 4), "LAB_WATER_S");
  EXPECT_EQ(tileMap.Name(0, 0), "");
  ResetWorld();
  EXPECT_TRUE(edgeEntries.empty());
}

}  // namespace
