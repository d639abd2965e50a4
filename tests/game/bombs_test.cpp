#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/bombs.h"
#include "game/player.h"
#include "media/probes.h"
#include "media/sound.h"
#include "support/game_fixture.h"
#include "world/tile_map.h"

namespace {

class Bombs : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    WriteLabyrinthTiles();
    WriteSound("boom.ogg");
    settings.EXPLOSIONSOUND = "boom.ogg";
    LoadData();
    gameState.mapWidth = gameState.mapHeight = 20;
    for (int x = 0; x <= 20; x++)
      for (int y = 0; y <= 20; y++) PlaceTile(x, y, "LAB_FLOOR");
    player.x = 10 * 32;
    player.y = 10 * 32;
  }
  int32_t Booms() const { return SoundStartCount(soundEffects.at(0).sound); }
};

TEST_F(Bombs, OnePressFiresOneBombHoweverLongItIsHeld) {
  bombStock = "&&";
  bombKeyState = kBombKeyReleased;  // the bomb input was let go before
  DispatchCommand(kCmdBomb);
  EXPECT_EQ(bombStock, "&");
  for (int frame = 0; frame < 30; frame++) DispatchCommand(kCmdBomb);  // held: no release mark
  EXPECT_EQ(bombStock, "&");
  bombKeyState = kBombKeyReleased;  // released and pressed again
  DispatchCommand(kCmdBomb);
  EXPECT_EQ(bombStock, "");
  bombKeyState = kBombKeyReleased;
  DispatchCommand(kCmdBomb);  // an empty stock does nothing
  EXPECT_EQ(bombStock, "");
  bombKeyState = kBombKeyReleased;
  DispatchCommand(kCmdNone);
  EXPECT_EQ(bombArmed, 1);  // any dispatch after a release arms
}

TEST_F(Bombs, ArmsTurnFixedCellsBackAndStopOnlyBeforeBlastStoppers) {
  PlaceTile(12, 10, "LAB_FIXED_FLOOR");
  PlaceTile(13, 10, "LAB_WALL");  // walls let the blast through
  PlaceTile(14, 10, "LAB_FIXED_PINK_FLOOR");
  PlaceTile(7, 10, "LAB_WATER");  // water stops it
  PlaceTile(5, 10, "LAB_FIXED_FLOOR");
  PlaceTile(10, 15, "LAB_FIXED_FLOOR");
  PlaceTile(10, 20, "LAB_FIXED_FLOOR");  // the last row is never reached
  PlaceTile(10, 10, "LAB_FIXED_FLOOR");  // the origin
  gameState.tilesLeft = 2;
  Explode();
  EXPECT_EQ(tileMap.Name(12, 10), "LAB_FLOOR");
  EXPECT_EQ(tileMap.Name(14, 10), "LAB_FLOOR");
  EXPECT_EQ(tileMap.Name(13, 10), "LAB_WALL");
  EXPECT_EQ(tileMap.Name(5, 10), "LAB_FIXED_FLOOR");
  EXPECT_EQ(tileMap.Name(10, 15), "LAB_FLOOR");
  EXPECT_EQ(tileMap.Name(10, 20), "LAB_FIXED_FLOOR");
  EXPECT_EQ(tileMap.Name(10, 10), "LAB_FLOOR");
  EXPECT_EQ(gameState.tilesLeft, 2 + 4);  // can rise above the level's start
  EXPECT_EQ(Booms(), 0);  // nothing fixed in the up arm: silent
}

TEST_F(Bombs, OnlyTheUpArmIsHeard) {
  PlaceTile(10, 3, "LAB_FIXED_FLOOR");
  PlaceTile(10, 5, "LAB_FIXED_PINK_FLOOR");
  PlaceTile(10, 0, "LAB_FIXED_FLOOR");  // row 0 is never reached
  PlaceTile(1, 10, "LAB_FIXED_FLOOR");   // nor is column 0, but column 1 is, silently
  PlaceTile(0, 10, "LAB_FIXED_FLOOR");
  Explode();
  EXPECT_EQ(Booms(), 2);
  EXPECT_EQ(tileMap.Name(10, 0), "LAB_FIXED_FLOOR");
  EXPECT_EQ(tileMap.Name(1, 10), "LAB_FLOOR");
  EXPECT_EQ(tileMap.Name(0, 10), "LAB_FIXED_FLOOR");
}

}  // namespace
