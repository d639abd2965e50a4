#include "ui/hud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/game_state.h"
#include "core/main_loop.h"
#include "game/pickups.h"
#include "media/screen.h"
#include "ui/test_images.h"

namespace {

class HudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAllState();
    ResetHudState();
    gameState.screenWidth = 1024.0f;
    gameState.screenHeight = 768.0f;
  }
};

TEST_F(HudTest, ShownScoreCountsUpOnePointPerFrameAndNeverDown) {
  struct Case {
    int32_t score, target, frames, shown;
  };
  const Case cases[] = {{0, 10, 10, 10}, {0, 10, 4, 4}, {0, 10, 25, 10}, {15, 10, 3, 15}, {-5, -3, 5, -3}, {7, 7, 2, 7}};
  for (const Case& c : cases) {
    gameState.score = c.score;
    scoreTarget = c.target;
    for (int32_t i = 0; i < c.frames; i++) DrawHud();
    EXPECT_EQ(gameState.score, c.shown) << c.score << " towards " << c.target << " in " << c.frames;
  }
}

TEST_F(HudTest, TilesLeftBelowOneIsShownAsZero) {
  const int32_t cases[][2] = {{-3, 0}, {0, 0}, {1, 1}, {42, 42}};
  for (const auto& c : cases) {
    gameState.tilesLeft = c[0];
    DrawHud();
    EXPECT_EQ(gameState.tilesLeft, c[1]) << c[0];
    DrawHud();
    EXPECT_EQ(gameState.tilesLeft, c[1]) << c[0];
  }
}

TEST_F(HudTest, TickerTravelsTwiceTheScreenWidthThenStartsAgain) {
  struct Case {
    float width;
    int32_t last;  // the largest offset before it goes back to 0
  };
  // Twice the width is taken to the nearest integer, halves to even.
  const Case cases[] = {{1024.0f, 2048}, {1023.5f, 2046}, {100.25f, 200}, {100.75f, 202}, {0.5f, 0}};
  for (const Case& c : cases) {
    ResetHudState();
    gameState.screenWidth = c.width;
    int32_t frames = 0;
    for (int32_t expected = 0; expected <= c.last; expected += 2, frames++) {
      ASSERT_EQ(tickerOffset, expected) << "width " << c.width;
      DrawHud();
    }
    EXPECT_EQ(tickerOffset, 0) << "width " << c.width;
    if (c.width == 1024.0f) {
      EXPECT_EQ(frames, 1025);
    }
  }
}

TEST(SweepFrames, OneFramePer20PixelsOfWidth) {
  struct Case {
    float width;
    int32_t frames;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {{1024.0f, 52}, {1280.0f, 64}, {1920.0f, 96}, {21.0f, 1}, {21.5f, 2}, {2.0f, 1},
                        {1.0f, 0},     {0.0f, 0},     {-640.0f, 0},  {nan, 0}};
  for (const Case& c : cases) EXPECT_EQ(SweepFrames(c.width), c.frames) << c.width;
  // An absurd width still ends.
  EXPECT_GT(SweepFrames(inf), 0);
  EXPECT_LE(SweepFrames(inf), 1 << 20);
  EXPECT_EQ(SweepFrames(1e30f), SweepFrames(inf));
}

class MapAnnouncementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAllState();
    if (!OpenTestScreen(320, 200)) GTEST_SKIP() << "no display";
  }
  void TearDown() override { CloseTestScreen(); }
};

TEST_F(MapAnnouncementTest, PlaysOnlyAfterABuildForOneFramePer20Pixels) {
  const int32_t before = PresentedFrames();
  ShowMapAnnouncement();
  EXPECT_EQ(PresentedFrames(), before) << "no level was just built";
  EXPECT_EQ(gameState.zoomSprite, 0);

  gameState.screenWidth = 1024.0f;  // wider than the back buffer: the grab is clipped
  gameState.levelJustBuilt = 1;
  BeginQuads();
  ClearBackBuffer(kMagenta);
  ShowMapAnnouncement();
  EndQuads();
  EXPECT_EQ(PresentedFrames(), before + 52);
  EXPECT_EQ(gameState.levelJustBuilt, 0);
  EXPECT_NE(gameState.zoomSprite, 0) << "the play field was grabbed";
  EXPECT_FALSE(ImageExists(gameState.zoomSprite)) << "and freed at the end";
  EXPECT_FALSE(QuadExists(gameState.zoomSprite3D));
}

}  // namespace
