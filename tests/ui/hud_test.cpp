#include "ui/hud.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/game_state.h"
#include "game/pickups.h"
#include "media/screen.h"
#include "support/test_images.h"

namespace {

class HudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameState.screenWidth = 1024.0f;
  }
};

TEST_F(HudTest, ScoreCountsUpOnePointPerFrameAndTilesLeftStopsAtZero) {
  const struct {
    int32_t score, target, frames, shown, tiles, tilesShown;
  } cases[] = {{0, 10, 10, 10, -3, 0}, {0, 10, 4, 4, 0, 0}, {0, 10, 25, 10, 1, 1}, {15, 10, 3, 15, 42, 42},
               {-5, -3, 5, -3, -1, 0}};
  for (const auto& c : cases) {
    gameState.score = c.score;
    scoreTarget = c.target;
    gameState.tilesLeft = c.tiles;
    for (int32_t i = 0; i < c.frames; i++) DrawHud();
    EXPECT_EQ(gameState.score, c.shown) << c.score << " towards " << c.target << " in " << c.frames;
    EXPECT_EQ(gameState.tilesLeft, c.tilesShown) << c.tiles;
  }
}

TEST_F(HudTest, TickerTravelsTwiceTheScreenWidthThenStartsAgain) {
  // Twice the width is taken to the nearest integer, halves to even.
  const struct {
    float width;
    int32_t last;
  } cases[] = {{1024.0f, 2048}, {1023.5f, 2046}, {100.25f, 200}, {100.75f, 202}, {0.5f, 0}};
  for (const auto& c : cases) {
    ResetHudState();
    gameState.screenWidth = c.width;
    for (int32_t expected = 0; expected <= c.last; expected += 2) {
      ASSERT_EQ(tickerOffset, expected) << "width " << c.width;
      DrawHud();
    }
    EXPECT_EQ(tickerOffset, 0) << "width " << c.width;
  }
}

TEST(SweepFrames, OneFramePer20PixelsOfWidth) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const struct {
    float width;
    int32_t frames;
  } cases[] = {{1024.0f, 52}, {1280.0f, 64}, {1920.0f, 96}, {21.0f, 1}, {21.5f, 2},
               {2.0f, 1},     {1.0f, 0},     {-640.0f, 0},  {nan, 0},   {inf, 1 << 20}};
  for (const auto& c : cases) EXPECT_EQ(SweepFrames(c.width), c.frames) << c.width;
}

TEST(MapAnnouncement, PlaysOnlyAfterABuildAndFreesItsPicture) {
  if (!OpenTestScreen(320, 200)) GTEST_SKIP() << "no display";
  const int32_t before = PresentedFrames();
  ShowMapAnnouncement();
  EXPECT_EQ(PresentedFrames(), before) << "no level was just built";

  gameState.screenWidth = 1024.0f;  // wider than the back buffer: the grab is clipped
  gameState.levelJustBuilt = 1;
  BeginQuads();
  ShowMapAnnouncement();
  EndQuads();
  EXPECT_EQ(PresentedFrames(), before + 52);
  EXPECT_EQ(gameState.levelJustBuilt, 0);
  EXPECT_NE(gameState.zoomSprite, 0) << "the play field was grabbed";
  EXPECT_FALSE(ImageExists(gameState.zoomSprite)) << "and freed at the end";
}

}  // namespace
