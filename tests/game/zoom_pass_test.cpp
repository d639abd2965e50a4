#include "game/zoom_pass.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/game_state.h"
#include "core/main_loop.h"
#include "core/settings.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "ui/test_images.h"

namespace {

constexpr int32_t kWidth = 320, kHeight = 200;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

class ZoomPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAllState();
    if (!OpenTestScreen(kWidth, kHeight)) GTEST_SKIP() << "no display";
    // A play field that is red in its top-left quarter and blue elsewhere.
    ASSERT_TRUE(WriteSolidPng(dir_ / "quarter.png", kWidth / 2, kHeight / 2, kRed));
    quarter_ = MakeQuad(-1, LoadImage(-1, dir_ / "quarter.png", 4));
    ASSERT_NE(quarter_, 0);
  }
  void TearDown() override { CloseTestScreen(); }

  // Draws the play field, runs the pass and grabs what it left in the back buffer.
  void DrawAndZoom(float zoom) {
    settings.FULLSCREENZOOM = zoom;
    BeginQuads();
    ClearBackBuffer(kBlue);
    DrawQuad(quarter_, 0, 0, 255);
    ZoomPass(0);
    result_ = GrabBackBuffer(-1, 0, 0, kWidth, kHeight, 4);
    EndQuads();
  }
  uint32_t Pixel(int32_t x, int32_t y) { return ImagePixel(result_, x, y) & 0xFFFFFF; }

  TempDir dir_;
  int32_t quarter_ = 0;
  int32_t result_ = 0;
};

TEST_F(ZoomPassTest, GrabsTheZoomedPartAndStretchesItOverTheScreen) {
  struct Case {
    float zoom;
    int32_t grabWidth, grabHeight;
  };
  const Case cases[] = {{1.0f, 319, 199}, {0.5f, 159, 99}, {0.3f, 95, 59}, {0.25f, 79, 49}};
  for (const Case& c : cases) {
    DrawAndZoom(c.zoom);
    ASSERT_TRUE(ImageExists(gameState.zoomSprite)) << c.zoom;
    EXPECT_EQ(ImageWidth(gameState.zoomSprite), c.grabWidth) << c.zoom;
    EXPECT_EQ(ImageHeight(gameState.zoomSprite), c.grabHeight) << c.zoom;
    EXPECT_EQ(QuadWidth(gameState.zoomSprite3D), kWidth) << c.zoom;
    EXPECT_EQ(QuadHeight(gameState.zoomSprite3D), kHeight) << c.zoom;
  }
}

TEST_F(ZoomPassTest, HalfZoomFillsTheScreenWithTheTopLeftQuarter) {
  DrawAndZoom(1.0f);
  EXPECT_EQ(Pixel(20, 20), kRed);
  EXPECT_EQ(Pixel(kWidth - 20, kHeight - 20), kBlue);
  DrawAndZoom(0.5f);
  EXPECT_EQ(Pixel(20, 20), kRed);
  EXPECT_EQ(Pixel(kWidth / 2 + 20, kHeight / 2 + 20), kRed);
  EXPECT_EQ(Pixel(kWidth - 2, kHeight - 2), kRed);
}

TEST_F(ZoomPassTest, EachPassReplacesThePreviousPicture) {
  DrawAndZoom(1.0f);
  const int32_t image = gameState.zoomSprite, quad = gameState.zoomSprite3D;
  DrawAndZoom(1.0f);
  EXPECT_FALSE(ImageExists(image));
  EXPECT_FALSE(QuadExists(quad));
  EXPECT_TRUE(ImageExists(gameState.zoomSprite));
}

TEST_F(ZoomPassTest, ZoomAboveOneIsClippedAndNoneLeavesTheFieldBlack) {
  DrawAndZoom(2.0f);
  ASSERT_TRUE(ImageExists(gameState.zoomSprite));
  EXPECT_EQ(ImageWidth(gameState.zoomSprite), kWidth - 1);
  EXPECT_EQ(ImageHeight(gameState.zoomSprite), kHeight - 1);

  for (const float zoom : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
    DrawAndZoom(zoom);
    EXPECT_FALSE(ImageExists(gameState.zoomSprite)) << zoom;
    EXPECT_EQ(Pixel(20, 20), 0u) << zoom;
    EXPECT_EQ(Pixel(kWidth - 20, kHeight - 20), 0u) << zoom;
  }
}

}  // namespace
