// The tile pass and the object pass drawn on a real screen: tiles, their children and the
// floating images appear where the rules put them.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "game/foes.h"
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

// A foe's DXMODE1 and DXMODE2 take the place of the ordinary blend when either is above 0 (the
// other then takes its start value): a half-opaque foe over a coloured floor.
TEST_F(DrawMapScreen, FoesBlendByTheirModesWhenEitherIsGiven) {
  const uint32_t texel = 200 + 100 * 256 + 50 * 65536, background = 100 + 150 * 256 + 200 * 65536;
  WritePng(dir / "OBJ/foe.png", 8, 8, texel);
  const struct {
    int32_t source, destination;
    int r, g, b;
  } cases[] = {
      {0, 0, 150, 125, 125},  // the ordinary blend
      {0, 2, 200, 200, 225},  // source alpha, one: added onto the floor
      {2, -1, 250, 175, 150}, // one, inverse source alpha
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + "," + std::to_string(c.destination));
    foes.clear();
    Foe foe;
    foe.x = 64;
    foe.y = 64;
    foe.moveChance = -1;  // stands still
    foe.alpha = 128;
    foe.blendSource = c.source;
    foe.blendDest = c.destination;
    foe.foeSprite = MakeQuad(-1, LoadImage(-1, dir / "OBJ/foe.png"));
    foes.push_back(foe);
    BeginQuads();
    ClearBackBuffer(static_cast<int32_t>(background));
    FoesFrame();
    EndQuads();
    ASSERT_TRUE(SaveBackBufferPng(dir / "shot.png"));
    const uint32_t pixel = ReadPng(dir / "shot.png").At(68, 68);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), c.r, 2);
    EXPECT_NEAR(static_cast<int>(pixel >> 8 & 0xFF), c.g, 2);
    EXPECT_NEAR(static_cast<int>(pixel >> 16 & 0xFF), c.b, 2);
    FreeQuad(foes[0].foeSprite);
  }
}

}  // namespace
