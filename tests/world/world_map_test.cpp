#include <gtest/gtest.h>

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

TEST_F(WorldMap, OversizedMapsAreCutToTheGrid) {
  WriteCells(5000, -3, {"1", "2", "3"});
  LoadWorld();
  EXPECT_EQ(gameState.mapWidth, 512);
  EXPECT_EQ(gameState.mapHeight, 0);
  EXPECT_EQ(tileMap.Find(0, 0)->tileName, "123");
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
