#include "ui/menus.h"

#include <gtest/gtest.h>

#include <set>

#include "core/game_state.h"
#include "core/main_loop.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "media/input.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "ui/test_images.h"

namespace {

// Keys to change after a given presented frame, so that a screen's loop can be steered.
int32_t switchFrame = 0;
int32_t releaseKey = 0, pressKey = 0;
void SwitchKeys(int32_t frame) {
  if (frame != switchFrame) return;
  SetReplayKey(releaseKey, false);
  SetReplayKey(pressKey, true);
}

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAllState();
    ResetInput();
    SetInputFromReplay(true, false);
    if (!OpenTestScreen(320, 200)) GTEST_SKIP() << "no display";
  }
  void TearDown() override {
    SetPresentHook(nullptr);
    CloseTestScreen();
    ResetInput();
    SetInputFromReplay(false, false);
  }
  // Holds `from`, and from the frame `frames` frames ahead on holds `to` instead.
  void HoldThenSwitch(int32_t from, int32_t frames, int32_t to) {
    SetReplayKey(from, true);
    switchFrame = PresentedFrames() + frames;
    releaseKey = from;
    pressKey = to;
    SetPresentHook(SwitchKeys);
  }
  TempDir dir_;
};

TEST_F(MenusTest, PauseRestartPutsBackTheLevelScore) {
  gameState.builtLevel = 4;
  gameState.score = 900;
  gameState.levelStartScore = 300;
  SetReplayKey(Key::kB, true);
  const int32_t before = PresentedFrames();
  ShowPauseScreen();
  EXPECT_EQ(PresentedFrames(), before + 1);
  EXPECT_EQ(gameState.builtLevel, -1);
  EXPECT_EQ(gameState.score, 300);
}

TEST_F(MenusTest, PauseIgnoresThePauseKeyAndContinuesWithX) {
  gameState.builtLevel = 4;
  gameState.score = 900;
  HoldThenSwitch(Key::kP, 5, Key::kC);
  const int32_t before = PresentedFrames();
  ShowPauseScreen();
  EXPECT_EQ(PresentedFrames(), before + 5);
  EXPECT_EQ(gameState.builtLevel, 4);
  EXPECT_EQ(gameState.score, 900);
}

TEST_F(MenusTest, QuitQuestionConfirmOrContinue) {
  SetReplayKey(Key::kB, true);
  ShowQuitQuestion();
  EXPECT_EQ(gameState.screenState, 21);
  EXPECT_EQ(gameState.quitRequested, 1);

  ResetAllState();
  HoldThenSwitch(Key::kSpace, 3, Key::kX);
  bombKeyState = 1;
  const int32_t before = PresentedFrames();
  ShowQuitQuestion();
  EXPECT_EQ(PresentedFrames(), before + 3);
  EXPECT_EQ(gameState.screenState, 19);
  EXPECT_EQ(gameState.quitRequested, 0);
  EXPECT_EQ(bombKeyState, 16) << "the bomb input must be let go before the next bomb";
}

TEST_F(MenusTest, TitleWaitsForThePauseCommandAndStartsLevelOne) {
  gameState.level = 7;
  gameState.builtLevel = 7;
  gameState.screenState = 21;
  settings.LOADINTROSCREEN = dir_ / "TITLE.png";
  ASSERT_TRUE(WriteSolidPng(settings.LOADINTROSCREEN, 4, 3, 0x00FF00));
  HoldThenSwitch(Key::kX, 4, Key::kP);
  const int32_t before = PresentedFrames();
  ShowTitleScreen();
  EXPECT_EQ(PresentedFrames(), before + 4);
  EXPECT_EQ(gameState.inTitle, 0);
  EXPECT_EQ(gameState.level, 1);
  EXPECT_EQ(gameState.builtLevel, -1);
  EXPECT_EQ(gameState.screenState, 19);
  ASSERT_TRUE(ImageExists(gameState.loadScreenSprite));
  EXPECT_EQ(QuadWidth(gameState.loadScreenSprite3D), 320) << "the picture is stretched over the screen";
  EXPECT_EQ(QuadHeight(gameState.loadScreenSprite3D), 200);
}

TEST_F(MenusTest, CreditsPictureTakesTurnsThroughTheHashMark) {
  ASSERT_TRUE(WriteSolidPng(dir_ / "PIC0.png", 3, 2, 0x0000FF));
  ASSERT_TRUE(WriteSolidPng(dir_ / "PIC1.png", 5, 2, 0x0000FF));
  ASSERT_TRUE(WriteSolidPng(dir_ / "PIC.png", 7, 2, 0x0000FF));
  settings.LOADSCREEN = dir_ / "PIC#.png";
  std::set<int32_t> widths;
  for (int32_t seed = 0; seed < 16; seed++) {
    RandomSeed(seed);
    const int32_t before = PresentedFrames();
    ShowCreditsScreen();
    EXPECT_EQ(PresentedFrames(), before + 3) << "three pages";
    EXPECT_EQ(gameState.inTitle, 1);
    widths.insert(ImageWidth(gameState.loadScreenSprite));
  }
  EXPECT_EQ(widths, (std::set<int32_t>{3, 5}));

  settings.LOADSCREEN = dir_ / "PIC.png";
  ShowCreditsScreen();
  EXPECT_FALSE(ImageExists(gameState.loadScreenSprite)) << "no \"#\", no picture";
}

TEST_F(MenusTest, GameOverSweepsOneFramePer20PixelsThenShowsTheTitle) {
  gameState.screenWidth = 1280.0f;
  gameState.screenState = 21;
  gameState.inTitle = 0;
  SetReplayKey(Key::kP, true);  // leaves the title screen at its first frame
  const int32_t before = PresentedFrames();
  ShowGameOver();
  EXPECT_EQ(PresentedFrames(), before + 64 + 1);
  EXPECT_EQ(gameState.screenState, 19);
  EXPECT_EQ(gameState.inTitle, 0);
  EXPECT_TRUE(QuadExists(gameState.zoomSprite3D)) << "the frozen picture stays until the next grab";
}

}  // namespace
