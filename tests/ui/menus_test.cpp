#include "ui/menus.h"

#include <gtest/gtest.h>

#include <set>

#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "media/input.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

// After presented frame `switchFrame` the replay lets go of one key and holds another.
int32_t switchFrame = 0, releaseKey = 0, pressKey = 0;
void SwitchKeys(int32_t frame) {
  if (frame != switchFrame) return;
  SetReplayKey(releaseKey, false);
  SetReplayKey(pressKey, true);
}

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetInputFromReplay(true, false);
    if (!OpenTestScreen(320, 200)) GTEST_SKIP() << "no display";
  }
  // Holds `from` for `frames` frames of the screen about to run, then `to`; counts its frames.
  void HoldThenSwitch(int32_t from, int32_t frames, int32_t to) {
    for (int32_t code = 0; code < 256; code++) SetReplayKey(code, false);
    SetReplayKey(from, true);
    switchFrame = PresentedFrames() + frames;
    releaseKey = from;
    pressKey = to;
    SetPresentHook(SwitchKeys);
    StartCounting();
  }
  void StartCounting() { start_ = PresentedFrames(); }
  int32_t Frames() const { return PresentedFrames() - start_; }
  int32_t start_ = 0;
  TempDir dir_;
};

TEST_F(MenusTest, PauseIgnoresPauseKeyContinuesWithXAndRestartsWithB) {
  gameState.builtLevel = 4;
  gameState.score = 900;
  gameState.levelStartScore = 300;
  HoldThenSwitch(Key::kP, 5, Key::kC);
  ShowPauseScreen();
  EXPECT_EQ(Frames(), 5);
  EXPECT_EQ(gameState.builtLevel, 4);
  EXPECT_EQ(gameState.score, 900);

  HoldThenSwitch(Key::kEscape, 2, Key::kB);
  ShowPauseScreen();
  EXPECT_EQ(Frames(), 2);
  EXPECT_EQ(gameState.builtLevel, -1);
  EXPECT_EQ(gameState.score, 300);
}

TEST_F(MenusTest, QuitQuestionContinuesOrConfirms) {
  bombKeyState = kBombKeyAtStart;
  HoldThenSwitch(Key::kSpace, 3, Key::kX);
  ShowQuitQuestion();
  EXPECT_EQ(Frames(), 3);
  EXPECT_EQ(gameState.quitRequested, 0);
  EXPECT_EQ(bombKeyState, kBombKeyUsed) << "the bomb input must be let go before the next bomb";

  // P is read at the first frame and does nothing here; B confirms at the second.
  HoldThenSwitch(Key::kP, 2, Key::kB);
  ShowQuitQuestion();
  EXPECT_EQ(Frames(), 2);
  EXPECT_EQ(gameState.screenState, kScreenGameOver);
  EXPECT_EQ(gameState.quitRequested, 1);
}

TEST_F(MenusTest, CreditsPictureTakesTurnsThroughTheHashMark) {
  ASSERT_TRUE(WriteSolidPng(dir_ / "PIC0.png", 3, 2, 0xFF0000));
  ASSERT_TRUE(WriteSolidPng(dir_ / "PIC1.png", 5, 2, 0xFF0000));
  ASSERT_TRUE(WriteSolidPng(dir_ / "PIC.png", 7, 2, 0xFF0000));
  settings.LOADSCREEN = dir_ / "PIC#.png";
  std::set<int32_t> widths;
  for (int32_t seed = 0; seed < 16; seed++) {
    RandomSeed(seed);
    StartCounting();
    ShowCreditsScreen();
    EXPECT_EQ(Frames(), 3) << "three pages, no input read";
    widths.insert(ImageWidth(gameState.loadScreenSprite));
  }
  EXPECT_EQ(widths, (std::set<int32_t>{3, 5}));
  settings.LOADSCREEN = dir_ / "PIC.png";
  ShowCreditsScreen();
  EXPECT_FALSE(ImageExists(gameState.loadScreenSprite)) << "no \"#\", no picture";
  EXPECT_EQ(gameState.inTitle, 1);
}

}  // namespace
