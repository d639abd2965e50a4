#include <gtest/gtest.h>

#include <algorithm>

#include "core/game_state.h"
#include "core/settings.h"
#include "media/files.h"
#include "support/game_fixture.h"
#include "world/tile_map.h"
#include "world/world_map.h"

namespace {

class WorldMap : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    tileMap.Create(513, 513);
    settings.APPENTRY = dir.Path() + "/MAPS/";
    settings.APPSTART = "LAB";
    gameState.drawWorld = 1;
    WriteTile("1207", "TRANSPARENCY\n0\nUSECOLLISION\n1\n");
    WriteTile("123", "TRANSPARENCY\n100\n");
  }
  // A cell file with the header and the three texts of every cell given.
  void WriteCells(int w, int h, const std::vector<std::string>& texts) {
    std::string s = "world\n" + std::to_string(w) + "\n" + std::to_string(h) + "\n\n\n";
    for (const auto& t : texts) s += t + "\n";
    dir.Write("MAPS/LAB.ai42", s);
  }
  void WriteValues(const std::vector<int>& values) {
    std::string s = "a\nb\nc\nd\ne\n";
    for (int v : values) s += std::to_string(v) + "\n";
    dir.Write("MAPS/LAB.red", s);
  }
};

TEST_F(WorldMap, CellsAreReadColumnByColumnWithThreeTextsEach) {
  std::vector<std::string> texts;
  for (int i = 0; i < 6; i++) texts.insert(texts.end(), {"1", std::to_string(i), "x"});
  texts.insert(texts.end(), {"extra", "cell", "ignored"});
  WriteCells(2, 1, texts);
  WriteValues({1, 2, 3, 4, 5, 6, 7});
  LoadWorld();
  EXPECT_EQ(gameState.mapWidth, 2);
  EXPECT_EQ(gameState.mapHeight, 1);
  const std::pair<int, int> order[] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
  for (int i = 0; i < 6; i++) {
    const TileCell* cell = tileMap.Find(order[i].first, order[i].second);
    EXPECT_EQ(cell->tileName, "1" + std::to_string(i) + "x");
    EXPECT_EQ(cell->inMap, 1);
    EXPECT_EQ(cell->alpha, i + 1);
  }
  EXPECT_EQ(tileMap.Find(3, 0)->tileName, "");
  EXPECT_EQ(tileMap.Find(3, 0)->alpha, 0);
}

TEST_F(WorldMap, TilesLoadThenValuesDecideWhatIsDrawn) {
  WriteCells(1, 0, {"12", "0", "7", "1", "2", "3"});
  WriteValues({0, 255});
  LoadWorld();
  EXPECT_EQ(tileMap.Find(0, 0)->useCollision, 1);
  EXPECT_EQ(tileMap.Find(0, 0)->alpha, 0);  // a value of 0 hides a cell its tile made visible
  EXPECT_EQ(tileMap.Find(1, 0)->alpha, 255);
  EXPECT_EQ(tileMap.Find(1, 0)->transparency, 100);
}

TEST_F(WorldMap, ShortFilesLeaveTheRestAndMissingValuesKeepTheTiles) {
  tileMap.Find(1, 1)->tileName = "before";
  WriteCells(3, 3, {"12", "0", "7"});
  LoadWorld();  // no value file: the tiles' own opacity stays
  EXPECT_EQ(tileMap.Find(0, 0)->tileName, "1207");
  EXPECT_EQ(tileMap.Find(0, 0)->alpha, 255);
  EXPECT_EQ(tileMap.Find(1, 1)->tileName, "before");
  EXPECT_EQ(tileMap.Find(0, 1)->inMap, 0);
  // What the data checker is told of each cell: its first line and how many of its lines the
  // file held (the cell the file ends in has fewer).
  WriteCells(0, 5, {"12", "0", "7", "1"});
  const int32_t file = OpenTextFile(-1, dir / "MAPS/LAB.ai42");
  ReadWorldHeader(file);
  std::vector<std::string> seen;
  ReadWorldCells(file, 0, 5, [&seen](const WorldFileCell& c) {
    seen.push_back(c.text + " line " + std::to_string(c.line) + ", " + std::to_string(c.linesRead) + " read");
  });
  CloseTextFile(file);
  EXPECT_EQ(seen, (std::vector<std::string>{"1207 line 6, 3 read", "1 line 9, 1 read"}));
}

TEST_F(WorldMap, WithoutDrawingOnlyNamesAreRecorded) {
  gameState.drawWorld = 0;
  WriteCells(0, 0, {"12", "0", "7"});
  LoadWorld();
  EXPECT_EQ(tileMap.Find(0, 0)->tileName, "1207");
  EXPECT_EQ(tileMap.Find(0, 0)->inMap, 1);
  EXPECT_EQ(tileMap.Find(0, 0)->useCollision, 0);
  EXPECT_EQ(tileMap.Find(0, 0)->tileSprite, 0);
}

// Sides beyond the start-up grid are read with the file's own sizes, column by column, and the
// cells outside the grid are dropped: cell (1, 0) is the file's (1, 0), not its (0, 513).
TEST_F(WorldMap, OversizedMapsAreReadWithTheirOwnSizesAndCutToTheGrid) {
  struct Case {
    int w, h;        // as the file says
    int mapW, mapH;  // as the game takes them
  };
  const Case cases[] = {{1, 600, 1, 512}, {600, 1, 512, 1}, {5000, -3, 512, 0}, {512, 0, 512, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    tileMap.Create(513, 513);
    // Cell names and values tell where in the file they were; a map announcing more cells than
    // it holds stops at its end.
    std::vector<std::string> texts;
    std::vector<int> values;
    const int columns = std::min(c.w, 600) + 1, rows = std::max(c.h, 0) + 1;
    for (int x = 0; x < columns; x++)
      for (int y = 0; y < rows; y++) {
        texts.insert(texts.end(), {std::to_string(x), "_", std::to_string(y)});
        values.push_back((x * 7 + y) % 255 + 1);
      }
    WriteCells(c.w, c.h, texts);
    WriteValues(values);
    ::testing::internal::CaptureStderr();
    LoadWorld();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("does not fit the map") != std::string::npos, c.w > 512 || c.h > 512) << said;
    EXPECT_EQ(gameState.mapWidth, c.mapW);
    EXPECT_EQ(gameState.mapHeight, c.mapH);
    const std::pair<int, int> probes[] = {{0, 0}, {1, 0}, {0, c.mapH}, {c.mapW, c.mapH}, {c.mapW / 2, c.mapH / 2}};
    for (const auto& [x, y] : probes) {
      const TileCell* cell = tileMap.Find(x, y);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->tileName, std::to_string(x) + "_" + std::to_string(y)) << "cell " << x << "," << y;
      EXPECT_EQ(cell->alpha, (x * 7 + y) % 255 + 1) << "cell " << x << "," << y;
    }
  }
}

// A cell naming a device is a missing tile, so the load ends (the line reader would find a
// line at every zero byte of /dev/zero, and its end would never come).
TEST_F(WorldMap, CellsNamingDevicesAreMissingTilesAndTheLoadEnds) {
  WriteCells(0, 1, {"../../../../../../../../../../../..", "/dev", "/zero", "12", "0", "7"});
  LoadWorld();
  EXPECT_EQ(tileMap.Find(0, 0)->tileName, "../../../../../../../../../../../../dev/zero");
  EXPECT_EQ(tileMap.Find(0, 0)->alpha, 0);
  EXPECT_EQ(tileMap.Find(0, 1)->useCollision, 1);
}

}  // namespace
