// The tile pass and the object pass drawn on a real screen: tiles, their children and the
// floating images appear where the rules put them.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/draw_map.h"
#include "game/pickups.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/game_fixture.h"
#include "support/game_run.h"
#include "support/test_images.h"
#include "world/tile_map.h"

namespace {

constexpr uint32_t kFloor = 0x206020, kWall = 0x404080, kGem = 0x0000FF, kGlow = 0xFF0000;

class DrawMapScreen : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    if (!OpenTestScreen(320, 240)) GTEST_SKIP() << "no display";
    gameState.tileWidth = gameState.tileHeight = 32.0f;
  }
  void Put(int x, int y, const std::string& name, int8_t inMap = 1) {
    PlaceTile(x, y, name);
    tileMap.Find(x, y)->inMap = inMap;
  }
};

TEST_F(DrawMapScreen, TilesChildrenAndFloatingImagesAppearWhereTheyBelong) {
  WritePng(dir / "TOPO/floor.png", 8, 8, kFloor);
  WritePng(dir / "TOPO/wall.png", 8, 8, kWall);
  WriteTile("FLOOR", "GFXNAME\nfloor.png\nTRANSPARENCY\n0\n");
  WriteTile("GEMFLOOR", "GFXNAME\nfloor.png\nTRANSPARENCY\n0\nCHILD1\nGEM\n");
  WriteTile("WALL", "GFXNAME\nwall.png\nTRANSPARENCY\n0\n");
  WriteTile("HIDDEN", "GFXNAME\nwall.png\nTRANSPARENCY\n255\n");
  WritePng(dir / "OBJ/gem.png", 8, 8, kGem);
  dir.Write("OBJ/gem.dll", "DGFXNAME\nGEM\nDDENSITY\n0\nDGFXSHOW\n1\nDGFXTRANSPARENCY\n255\nDCENTERFIELD\n1\n");
  WritePng(dir / "EFX/glow.png", 4, 4, kGlow);
  settings.EGFXPATH = dir / "EFX/";
  settings.EGFXMAX = 0;
  LoadData();
  LoadGameImages();
  ASSERT_EQ(gameImages.size(), 1u);
  Put(1, 1, "FLOOR");
  Put(2, 1, "WALL");
  Put(3, 2, "GEMFLOOR");
  Put(4, 2, "HIDDEN");
  Put(5, 2, "FLOOR", 0);  // not part of the map
  gameState.viewX = 1;  // the view starts at column 1: everything is drawn one cell further left
  ComputeViewSize();

  BeginQuads();
  ClearBackBuffer(kBlack);
  DrawFloatingImages(gameImages, 1);
  DrawMap();
  ObjectsFrame();
  EndQuads();
  ASSERT_TRUE(SaveBackBufferPng(dir / "shot.png"));
  const Picture shot = ReadPng(dir / "shot.png");

  EXPECT_EQ(shot.At(0, 32), kFloor);    // cell (1, 1) at screen cell (0, 1)
  EXPECT_EQ(shot.At(31, 63), kFloor);   // stretched to the whole tile
  EXPECT_EQ(shot.At(32, 32), kWall);    // cell (2, 1)
  EXPECT_EQ(shot.At(64, 64), kFloor);   // cell (3, 2)
  EXPECT_EQ(shot.At(64 + 16, 64 + 16), kGem);  // its child, offset by half a tile
  EXPECT_EQ(shot.At(64 + 24, 64 + 24), kFloor);
  EXPECT_EQ(shot.At(100, 70), kBlack);  // transparent tile
  EXPECT_EQ(shot.At(132, 70), kBlack);  // a cell outside the map
  const FloatingImage& glow = gameImages[0];
  EXPECT_GE(glow.x, 1.0f);  // it drifted out of the corner by its own speed
  EXPECT_EQ(shot.At(static_cast<int>(glow.x) + 1, static_cast<int>(glow.y) + 1), kGlow);  // added onto black
}

}  // namespace
