#include "game/zoom_pass.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/game_state.h"
#include "core/settings.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

constexpr int32_t kWidth = 320, kHeight = 200;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

// Draws a play field red in its top-left quarter and blue elsewhere, with a green left column
// that the pass must leave out, runs the pass, and reads the grab's size and four pixels of
// what the pass left in the back buffer.
struct Zoomed {
  int32_t grabWidth, grabHeight;
  uint32_t leftEdge, topLeft, middle, bottomRight;
};
Zoomed DrawAndZoom(int32_t quarter, int32_t column, float zoom) {
  settings.FULLSCREENZOOM = zoom;
  BeginQuads();
  ClearBackBuffer(kBlue);
  DrawQuad(quarter, 0, 0, 255);
  DrawQuad(column, 0, 0, 255);
  ZoomPass(0);
  const int32_t result = GrabBackBuffer(-1, 0, 0, kWidth, kHeight);
  EndQuads();
  auto pixel = [result](int32_t x, int32_t y) { return ImagePixel(result, x, y) & 0xFFFFFFu; };
  Zoomed z{ImageWidth(gameState.zoomSprite), ImageHeight(gameState.zoomSprite), pixel(0, 20), pixel(20, 20),
           pixel(kWidth / 2 + 20, kHeight / 2 + 20), pixel(kWidth - 2, kHeight - 2)};
  FreeImage(result);
  return z;
}

TEST(ZoomPass, GrabsTheZoomedPartFromOneOneAndStretchesItOverTheScreen) {
  if (!OpenTestScreen(kWidth, kHeight)) GTEST_SKIP() << "no display";
  TempDir dir;
  ASSERT_TRUE(WriteSolidPng(dir / "quarter.png", kWidth / 2, kHeight / 2, kRed));
  ASSERT_TRUE(WriteSolidPng(dir / "column.png", 1, kHeight, kGreen));
  const int32_t quarter = MakeQuad(-1, LoadImage(-1, dir / "quarter.png"));
  const int32_t column = MakeQuad(-1, LoadImage(-1, dir / "column.png"));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float zoom;
    Zoomed expected;
  } cases[] = {
      {1.0f, {319, 199, kRed, kRed, kBlue, kBlue}},
      {0.5f, {159, 99, kRed, kRed, kRed, kRed}},  // the top-left quarter fills the screen
      {0.3f, {95, 59, kRed, kRed, kRed, kRed}},
      {2.0f, {319, 199, kRed, kRed, kBlue, kBlue}},  // clipped to the back buffer
      {0.0f, {0, 0, 0, 0, 0, 0}},                    // nothing grabbed: the field stays black
      {nan, {0, 0, 0, 0, 0, 0}},
  };
  int32_t previous = 0;
  for (const auto& c : cases) {
    const Zoomed z = DrawAndZoom(quarter, column, c.zoom);
    EXPECT_EQ(z.grabWidth, c.expected.grabWidth) << c.zoom;
    EXPECT_EQ(z.grabHeight, c.expected.grabHeight) << c.zoom;
    EXPECT_EQ(z.leftEdge, c.expected.leftEdge) << c.zoom;
    EXPECT_EQ(z.topLeft, c.expected.topLeft) << c.zoom;
    EXPECT_EQ(z.middle, c.expected.middle) << c.zoom;
    EXPECT_EQ(z.bottomRight, c.expected.bottomRight) << c.zoom;
    if (z.grabWidth > 0) {
      EXPECT_EQ(QuadWidth(gameState.zoomSprite3D), kWidth) << c.zoom;
    }
    EXPECT_FALSE(ImageExists(previous)) << "each pass frees the previous picture";
    previous = gameState.zoomSprite;
  }
}

}  // namespace
