#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "game/foes.h"
#include "game/level.h"
#include "game/level_survey.h"
#include "game/play_screens.h"
#include "game/player.h"
#include "support/game_fixture.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"

namespace {

class Level : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    WriteLabyrinthTiles("CHILD1\nGEM\n");
    WriteObject("gem", "DGFXNAME\nGEM\nDDENSITY\n5\nDISGOODY\n1\n");
    WriteObject("foe", "DGFXNAME\n#\nDISENEMY\n1\nDDENSITY\n2\nDHOTSPOT\nCENTER\nDCENTERFIELD\n1\n", 10, 12);
    WritePng(dir / "GFX/player.png", 20, 20, 0x00FF00);
    dir.Write("DATA/base.txt", "Quorvex\n20\n16\nunused\nunused\nignored\n");
    settings.CURSOR = dir / "GFX/player.png";
    settings.MAPSIZE = 100;
    settings.MAXFOE = 3;
    settings.LABSWITCH = 3;
    settings.WORLDRANDOM = 11;
    LoadData();
  }
  std::string Snapshot() const {
    std::string s = std::to_string(gameState.mapWidth) + "x" + std::to_string(gameState.mapHeight) + ":";
    for (int x = 0; x <= gameState.mapWidth; x++)
      for (int y = 0; y <= gameState.mapHeight; y++) s += tileMap.Name(x, y) + ",";
    s += "objects " + std::to_string(placedObjects.size()) + " tiles " + std::to_string(gameState.tilesLeft);
    for (const Foe& f : foes) s += " foe " + std::to_string(f.x) + "," + std::to_string(f.y);
    return s;
  }
};

TEST_F(Level, SameLevelBuildsTheSameLabyrinthObjectsAndFoes) {
  gameState.level = 3;
  StartLabyrinthGame(dir / "DATA/base.txt");
  EXPECT_EQ(baseWidth, 20);
  EXPECT_EQ(baseHeight, 16);
  BuildLevel();
  const std::string first = Snapshot();
  gameState.level = 4;
  BuildLevel();
  EXPECT_NE(Snapshot(), first);
  gameState.level = 3;
  BuildLevel();
  EXPECT_EQ(Snapshot(), first);
  EXPECT_GE(gameState.mapWidth, 13);  // base 20, level 3: 10 + 3 + 0..10
  EXPECT_LE(gameState.mapWidth, 23);
}

TEST_F(Level, TheFirstBuildUsesItsOwnSizeRuleSoRestartingLevelOneDiffers) {
  gameState.level = 1;
  StartLabyrinthGame(dir / "DATA/base.txt");
  const std::string started = Snapshot();
  EXPECT_EQ(gameState.builtLevel, 1);
  EXPECT_GE(gameState.mapWidth, 0);
  EXPECT_LE(gameState.mapWidth, 20);
  EXPECT_NE(player.sprite3D, 0);
  ASSERT_TRUE(labyrinthStart.found);  // the player stands on the floor walker's first cell
  EXPECT_FLOAT_EQ(player.x, labyrinthStart.x * gameState.tileWidth);
  EXPECT_FLOAT_EQ(player.y, labyrinthStart.y * gameState.tileHeight);
  EXPECT_EQ(tileMap.Name(labyrinthStart.x, labyrinthStart.y), "LAB_FLOOR");
  BuildLevel();
  EXPECT_NE(Snapshot(), started);
}

TEST_F(Level, SizeLimitsLevelZeroAndSidesBeyondTheMap) {
  StartLabyrinthGame(dir / "DATA/base.txt");
  // A side of 256 fits the map without a word; only larger ones are cut and said to be.
  settings.MAPSIZE = 256;
  gameState.level = 400;
  ::testing::internal::CaptureStderr();
  BuildLevel();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(gameState.mapWidth, 256);
  struct Case {
    int32_t level, mapSize, minW, maxW;
  };
  const Case cases[] = {
      {1, 1, 1, 1},        // the default MAPSIZE: a 1 x 1 labyrinth
      {0, 100, 10, 20},    // level 0: the base range without a level term
      {-5, 100, 10, 20},   // below 0 becomes 0
      {90, 100, 100, 100}, // above MAPSIZE: MAPSIZE
      {5, 1024, 15, 25},
      {400, 1024, 256, 256},  // the map after a reset ends at 256
      {3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    gameState.level = c.level;
    settings.MAPSIZE = c.mapSize;
    BuildLevel();
    EXPECT_GE(gameState.mapWidth, c.minW) << c.level;
    EXPECT_LE(gameState.mapWidth, c.maxW) << c.level;
    EXPECT_GE(gameState.level, 0);
  }
  settings.MAPSIZE = 1;
  gameState.level = 2;
  BuildLevel();
  EXPECT_EQ(gameState.tilesLeft, 0);  // complete at once
}

TEST_F(Level, FoesFillTheLeftmostAllowedCellsUpToTheLimit) {
  gameState.level = 2;
  StartLabyrinthGame(dir / "DATA/base.txt");
  settings.MAXFOE = 0;
  BuildLevel();
  EXPECT_TRUE(foes.empty());
  settings.MAXFOE = 5;
  BuildLevel();
  ASSERT_EQ(foes.size(), 5u);
  for (size_t i = 1; i < foes.size(); i++) EXPECT_GE(foes[i].x, foes[i - 1].x);  // column order
  for (const Foe& f : foes) {
    const TileCell* cell = tileMap.Find(f.x / 32, f.y / 32);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->useEnemy, 1);
    EXPECT_FLOAT_EQ(f.drawOffsetX, 5.0f + 16.0f);
    EXPECT_FLOAT_EQ(f.drawOffsetY, 6.0f + 16.0f);
    EXPECT_EQ(f.heading, kHeadFoeNew);
  }
}

// The warnings of quorvex-map's `levels`: no tiles to do comes first; a clock of 0 warns only
// for a level with work to do.
TEST(LevelWarnings, NoTilesOrAClockOfZero) {
  const struct {
    int32_t tilesLeft, clockSeconds;
    const char* warning;  // nullptr: none
  } cases[] = {
      {0, 0, "no tiles to do: the game goes on to level 8 at once"},
      {-3, 5, "no tiles to do: the game goes on to level 8 at once"},
      {1, 0, "a clock of 0: the game is over one clock second into the level"},
      {1, 1, nullptr},
  };
  for (const auto& c : cases) {
    LevelFigures figures;
    figures.level = 7;
    figures.tilesLeft = c.tilesLeft;
    figures.clockSeconds = c.clockSeconds;
    const std::vector<std::string> warnings = LevelWarnings(figures);
    EXPECT_EQ(warnings, c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{})
        << c.tilesLeft << " tiles, clock " << c.clockSeconds;
  }
}

// The level is done in the same game step whose timer ends a clock second. Completion puts the
// time to 0 and the timer then takes it to -1: a labyrinth level won there goes on to the next
// one, while the world, complete at every step, still times out a second after it started.
TEST_F(Level, ALevelWonAsAClockSecondEndsGoesOnInLabyrinthModeButTheWorldStillTimesOut) {
  struct Case {
    bool labyrinth;
    int32_t screenState;
  };
  const Case cases[] = {{true, kScreenPlaying}, {false, kScreenGameOver}};
  playScreens = PlayScreens{};  // the game-over screen then leaves for no title screen
  for (const Case& c : cases) {
    SCOPED_TRACE(c.labyrinth ? "labyrinth" : "world");
    labyrinthMode = c.labyrinth;
    gameState.drawWorld = 0;
    gameState.screenState = kScreenPlaying;
    gameState.level = 2;
    gameState.tilesLeft = 0;
    gameState.timeLeft = 6;
    gameState.frameTick = settings.WORLDREFRESH;
    GameStep();
    EXPECT_EQ(gameState.level, 3);
    EXPECT_EQ(gameState.frameTick, 0) << "the clock second ended in this step";
    EXPECT_EQ(gameState.screenState, c.screenState);
    // An ordinary step of the next level (time left, clock mid-second) changes nothing more.
    gameState.tilesLeft = 5;
    gameState.timeLeft = 6;
    GameStep();
    EXPECT_EQ(gameState.level, 3);
    EXPECT_EQ(gameState.timeLeft, 6);
  }
}

}  // namespace
