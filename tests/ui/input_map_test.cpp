#include "ui/input_map.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/game_state.h"
#include "core/main_loop.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "game/player.h"
#include "media/input.h"

namespace {

// The keyboard or joypad is driven through the media layer's replay input.
class InputMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAllState();
    ResetInput();
    ResetInputMapState();
    SetInputFromReplay(true, false);
    gameState.inTitle = 1;          // nothing is dispatched unless a test says so
    settings.CURSORSPEED = 255;     // a threshold far away: no step during a test
    player.moveTick = 0;
  }
  void TearDown() override {
    ResetInput();
    SetInputFromReplay(false, false);
  }
  void Hold(const std::vector<int32_t>& keys) {
    for (int32_t code = 0; code < 256; code++) SetReplayKey(code, false);
    for (const int32_t key : keys) SetReplayKey(key, true);
  }
  void UseJoypad() {
    SetInputFromReplay(true, true);
    gameState.joystickPresent = 1;
  }
  void Joypad(int32_t x, int32_t y, const std::vector<int32_t>& buttons) {
    SetReplayJoyAxis(0, x);
    SetReplayJoyAxis(1, y);
    for (int32_t b = 1; b <= 32; b++) SetReplayJoyButton(b, false);
    for (const int32_t b : buttons) SetReplayJoyButton(b, true);
  }
};

TEST_F(InputMapTest, ArrowKeysOverrideInOrderAndRightAnglesCancel) {
  struct Case {
    std::vector<int32_t> keys;
    int8_t direction;
  };
  const Case cases[] = {
      {{}, kDirNone},
      {{Key::kUp}, kDirUp},
      {{Key::kDown}, kDirDown},
      {{Key::kLeft}, kDirLeft},
      {{Key::kRight}, kDirRight},
      {{Key::kUp, Key::kDown}, kDirDown},
      {{Key::kLeft, Key::kRight}, kDirRight},
      {{Key::kUp, Key::kLeft}, kDirNone},
      {{Key::kUp, Key::kRight}, kDirNone},
      {{Key::kDown, Key::kRight}, kDirNone},
      {{Key::kDown, Key::kLeft}, kDirNone},
      {{Key::kUp, Key::kDown, Key::kLeft, Key::kRight}, kDirNone},
      {{Key::kRight, Key::kSpace}, kDirRight},
  };
  for (const Case& c : cases) {
    Hold(c.keys);
    ReadControls();
    EXPECT_EQ(currentDirection, c.direction) << "keys held: " << c.keys.size();
  }
}

TEST_F(InputMapTest, KeyCommandsLaterKeysOverrideEarlierOnes) {
  struct Case {
    std::vector<int32_t> keys;
    int32_t command;
  };
  const Case cases[] = {
      {{}, kCmdNone},
      {{Key::kSpace}, kCmdBomb},
      {{Key::kA}, kCmdBomb},
      {{Key::kB}, kCmdB},
      {{Key::kC}, kCmdX},
      {{Key::kX}, kCmdX},
      {{Key::kD}, 5},
      {{Key::kY}, 5},
      {{Key::kEscape}, kCmdQuit},
      {{Key::kP}, kCmdPause},
      {{Key::kSpace, Key::kB}, kCmdB},
      {{Key::kEscape, Key::kP}, kCmdPause},
      {{Key::kB, Key::kX, Key::kEscape}, kCmdQuit},
      {{Key::kA, Key::kY}, 5},
      {{Key::kUp, Key::kPageUp}, kCmdNone},
  };
  for (const Case& c : cases) {
    Hold(c.keys);
    bombKeyState = 1;
    EXPECT_EQ(ReadMenuCommand(), c.command) << "keys held: " << c.keys.size();
    EXPECT_EQ(currentCommand, c.command);
    // Every read without the bomb command marks the bomb input as let go.
    EXPECT_EQ(bombKeyState, c.command == kCmdBomb ? 1 : 17) << "command " << c.command;
  }
}

TEST_F(InputMapTest, JoypadButtonsFirstHeldDecides) {
  UseJoypad();
  struct Case {
    std::vector<int32_t> buttons;
    int32_t command;
    bool released;  // the bomb input is marked let go
  };
  const Case cases[] = {
      {{}, kCmdNone, true},     {{1}, kCmdX, true},        {{2}, kCmdBomb, false}, {{3}, kCmdB, true},
      {{4}, 5, true},           {{5}, 12, true},           {{6}, 13, true},        {{7}, 10, true},
      {{8}, 11, true},          {{9}, kCmdQuit, true},     {{10}, kCmdPause, true}, {{11}, kCmdNone, true},
      {{1, 2}, kCmdX, false},   {{3, 10}, kCmdB, true},    {{2, 9}, kCmdBomb, false},
  };
  for (const Case& c : cases) {
    Joypad(0, 0, c.buttons);
    bombKeyState = 1;
    EXPECT_EQ(ReadMenuCommand(), c.command) << "first button " << (c.buttons.empty() ? 0 : c.buttons[0]);
    EXPECT_EQ(bombKeyState, c.released ? 17 : 1) << "first button " << (c.buttons.empty() ? 0 : c.buttons[0]);
  }
}

TEST_F(InputMapTest, JoypadVerticalAxisWinsAndKeyboardIsIgnored) {
  UseJoypad();
  struct Case {
    int32_t x, y;
    int8_t direction;
  };
  const Case cases[] = {{0, 0, kDirNone}, {1, 0, kDirRight}, {-1, 0, kDirLeft}, {0, 1, kDirDown},
                        {0, -1, kDirUp},  {1, -1, kDirUp},   {-1, 1, kDirDown}};
  for (const Case& c : cases) {
    Joypad(c.x, c.y, {});
    Hold({Key::kLeft, Key::kP});
    ReadControls();
    EXPECT_EQ(currentDirection, c.direction) << c.x << "," << c.y;
    EXPECT_EQ(currentCommand, kCmdNone);
  }
}

TEST_F(InputMapTest, MovementCadenceFollowsTheThreshold) {
  struct Case {
    int32_t threshold;  // as stored from CURSORSPEED
    int32_t frames;     // frames between two resets of the count
  };
  const Case cases[] = {{0, 1}, {5, 6}, {255, 256}};
  for (const Case& c : cases) {
    settings.CURSORSPEED = c.threshold;
    player.moveTick = 0;
    std::vector<int32_t> resets;
    for (int32_t frame = 1; frame <= 3 * c.frames; frame++) {
      ReadControls();
      if (player.moveTick == 0) resets.push_back(frame);
    }
    ASSERT_EQ(resets.size(), 3u) << "threshold " << c.threshold;
    EXPECT_EQ(resets[0], c.frames) << "threshold " << c.threshold;
    EXPECT_EQ(resets[1] - resets[0], c.frames) << "threshold " << c.threshold;
  }
}

TEST_F(InputMapTest, PageKeysChangeTheLevelWhenLetGo) {
  gameState.level = 1;
  Hold({Key::kPageDown});
  ReadControls();
  EXPECT_EQ(gameState.level, 1) << "nothing while held";
  Hold({});
  ReadControls();
  EXPECT_EQ(gameState.level, 0) << "Page Down on level 1 gives 0";
  ReadControls();
  EXPECT_EQ(gameState.level, 0) << "once per release";

  for (int i = 0; i < 3; i++) {
    Hold({Key::kPageUp});
    ReadControls();
    Hold({});
    ReadControls();
  }
  EXPECT_EQ(gameState.level, 3);

  // The menu read leaves the level keys alone.
  Hold({Key::kPageUp});
  ReadControls();
  Hold({});
  ReadMenuCommand();
  EXPECT_EQ(gameState.level, 3);
}

TEST_F(InputMapTest, CommandsReachThePlayLogicOnlyOutsideTheTitle) {
  // Any command other than "none" goes through the bomb arming: with the bomb input let go
  // the dispatch arms the next bomb, which shows that it ran.
  Hold({Key::kD});
  bombArmed = 0;
  ReadControls();
  EXPECT_EQ(bombArmed, 0) << "no dispatch while the title runs";

  gameState.inTitle = 0;
  ReadControls();
  EXPECT_EQ(bombArmed, 1) << "dispatched in play";

  bombArmed = 0;
  Hold({});
  ReadControls();
  EXPECT_EQ(bombArmed, 0) << "command 16 is not dispatched";

  gameState.inTitle = 0;
  Hold({Key::kD});
  EXPECT_EQ(ReadMenuCommand(), 5);
  EXPECT_EQ(bombArmed, 0) << "the menu read dispatches nothing";
}

}  // namespace
