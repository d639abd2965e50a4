#include "ui/input_map.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/game_state.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "game/play_screens.h"
#include "game/player.h"
#include "media/input.h"
#include "media/internal.h"

namespace {

using Keys = std::vector<int32_t>;

// The keyboard and joypad are driven through the media layer's replay input. The movement
// threshold is far away unless a test sets it, so that no step is taken.
class InputMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetInputFromReplay(true, false);
    gameState.inTitle = 1;
    settings.CURSORSPEED = 255;
  }
  void Hold(const Keys& keys) {
    for (int32_t code = 0; code < 256; code++) SetReplayKey(code, false);
    for (const int32_t key : keys) SetReplayKey(key, true);
  }
  void Joypad(int32_t x, int32_t y, const Keys& buttons) {
    SetInputFromReplay(true, true);
    gameState.joystickPresent = 1;
    SetReplayJoyAxis(0, x);
    SetReplayJoyAxis(1, y);
    for (int32_t b = 1; b <= 32; b++) SetReplayJoyButton(b, false);
    for (const int32_t b : buttons) SetReplayJoyButton(b, true);
  }
};

TEST_F(InputMapTest, KeyboardDirectionAndCommandOverrideOrders) {
  using namespace Key;
  const struct {
    Keys keys;
    Direction direction;
    Command command;
  } cases[] = {
      {{}, kDirNone, kCmdNone},           {{kUp}, kDirUp, kCmdNone},
      {{kLeft, kUp, kSpace}, kDirNone, kCmdBomb}, {{kRight, kA}, kDirRight, kCmdBomb},
      {{kDown, kB}, kDirDown, kCmdB},     {{kUp, kDown, kC}, kDirDown, kCmdX},
      {{kLeft, kRight, kX}, kDirRight, kCmdX}, {{kDown, kRight, kD}, kDirNone, kCmdY},
      {{kDown, kLeft, kY}, kDirNone, kCmdY}, {{kUp, kRight, kEscape}, kDirNone, kCmdQuit},
      {{kLeft, kP}, kDirLeft, kCmdPause}, {{kSpace, kB}, kDirNone, kCmdB},
      {{kEscape, kP}, kDirNone, kCmdPause}, {{kB, kX, kEscape}, kDirNone, kCmdQuit},
      {{kA, kY}, kDirNone, kCmdY},        {{kUp, kDown, kLeft, kRight}, kDirNone, kCmdNone},
  };
  // Keys tapped (pressed and let go) since the last read count as held for one read: its
  // direction and its command both see them, and the next read does not.
  for (const bool tapped : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(tapped ? "tapped" : "held");
      Hold(c.keys);
      if (tapped) Hold({});
      bombKeyState = kBombKeyAtStart;
      ReadControls();
      EXPECT_EQ(currentDirection, c.direction) << "case " << (&c - cases);
      EXPECT_EQ(currentCommand, c.command) << "case " << (&c - cases);
      // Every read without the bomb command marks the bomb input as let go.
      EXPECT_EQ(bombKeyState, c.command == kCmdBomb ? kBombKeyAtStart : kBombKeyReleased) << "case " << (&c - cases);
      EXPECT_EQ(ReadMenuCommand(), tapped ? kCmdNone : c.command) << "case " << (&c - cases);
    }
  }
  // The same for a menu read, and for the read after it.
  Hold({Key::kP});
  Hold({});
  EXPECT_EQ(ReadMenuCommand(), kCmdPause);
  ReadControls();
  EXPECT_EQ(currentCommand, kCmdNone) << "a tap that left the title does not pause the game that follows";
}

TEST_F(InputMapTest, JoypadFirstButtonDecidesVerticalAxisWinsKeyboardIgnored) {
  const struct {
    int32_t x, y;
    Keys buttons;
    Direction direction;
    Command command;
    bool released;  // the bomb input is marked let go
  } cases[] = {
      {0, 0, {}, kDirNone, kCmdNone, true},     {1, 0, {1}, kDirRight, kCmdX, true},
      {-1, 0, {2}, kDirLeft, kCmdBomb, false},  {0, 1, {3}, kDirDown, kCmdB, true},
      {0, -1, {4}, kDirUp, kCmdY, true},        {1, -1, {5}, kDirUp, kCmdButton5, true},
      {-1, 1, {6}, kDirDown, kCmdButton6, true}, {0, 0, {7}, kDirNone, kCmdButton7, true},
      {0, 0, {8}, kDirNone, kCmdButton8, true}, {0, 0, {9}, kDirNone, kCmdQuit, true},
      {0, 0, {10}, kDirNone, kCmdPause, true},  {0, 0, {11}, kDirNone, kCmdNone, true},
      {0, 0, {1, 2}, kDirNone, kCmdX, false},   {0, 0, {3, 10}, kDirNone, kCmdB, true},
  };
  // Buttons tapped since the last read count as held for that read (the axes are as they are).
  for (const bool tapped : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(tapped ? "tapped" : "held");
      Joypad(c.x, c.y, c.buttons);
      if (tapped)
        for (const int32_t b : c.buttons) SetReplayJoyButton(b, false);
      Hold({Key::kLeft, Key::kP});
      bombKeyState = kBombKeyAtStart;
      ReadControls();
      EXPECT_EQ(currentDirection, c.direction) << "case " << (&c - cases);
      EXPECT_EQ(currentCommand, c.command) << "case " << (&c - cases);
      EXPECT_EQ(bombKeyState, c.released ? kBombKeyReleased : kBombKeyAtStart) << "case " << (&c - cases);
      ReadControls();
      EXPECT_EQ(currentCommand, tapped ? kCmdNone : c.command) << "case " << (&c - cases);
    }
  }
}

// A pad SDL knows the layout of, through the media layer's mapping onto the joypad's numbers: the
// table in the README.
TEST_F(InputMapTest, AGameControllerPlaysByItsStandardLayout) {
  const struct {
    const char* what;
    std::vector<ControllerButton> held;
    int32_t stickX, stickY;
    Direction direction;
    Command command;
  } cases[] = {
      {"Start pauses, and starts from the title", {kPadStart}, 0, 0, kDirNone, kCmdPause},
      {"A fires a bomb", {kPadA}, 0, 0, kDirNone, kCmdBomb},
      {"Back asks whether to quit", {kPadBack}, 0, 0, kDirNone, kCmdQuit},
      {"X is the X choice", {kPadX}, 0, 0, kDirNone, kCmdX},
      {"B is the B choice", {kPadB}, 0, 0, kDirNone, kCmdB},
      {"Y does nothing", {kPadY}, 0, 0, kDirNone, kCmdY},
      {"Guide is left to the system", {kPadGuide}, 0, 0, kDirNone, kCmdNone},
      {"shoulders do nothing", {kPadLeftShoulder, kPadRightShoulder}, 0, 0, kDirNone, kCmdButton5},
      {"D-pad up", {kPadUp}, 0, 0, kDirUp, kCmdNone},
      {"D-pad down", {kPadDown}, 0, 0, kDirDown, kCmdNone},
      {"D-pad left", {kPadLeft}, 0, 0, kDirLeft, kCmdNone},
      {"D-pad right, with A", {kPadRight, kPadA}, 0, 0, kDirRight, kCmdBomb},
      {"the stick walks", {}, 32767, 0, kDirRight, kCmdNone},
      {"the stick's vertical wins", {}, -32768, -20000, kDirUp, kCmdNone},
      {"inside the dead zone", {}, 16000, -16000, kDirNone, kCmdNone},
      {"the D-pad wins over the stick", {kPadLeft}, 32767, 0, kDirLeft, kCmdNone},
      {"X before Start", {kPadStart, kPadX}, 0, 0, kDirNone, kCmdX},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ControllerInput in;
    for (ControllerButton b : c.held) in.buttons[b] = true;
    in.stickX = c.stickX;
    in.stickY = c.stickY;
    const JoypadState pad = ControllerToJoypad(in);
    Keys buttons;
    for (int32_t b = 1; b <= 32; b++)
      if (pad.buttons[b - 1]) buttons.push_back(b);
    Joypad(pad.x, pad.y, buttons);
    bombKeyState = kBombKeyAtStart;
    ReadControls();
    EXPECT_EQ(currentDirection, c.direction);
    EXPECT_EQ(currentCommand, c.command);
    EXPECT_EQ(ReadMenuCommand(), c.command);
  }
}

// Bindings as a preferences file may set them: walking on W, A, S and D, the bomb left on Space
// and moved to the pad's button 5, the pause on the pad's button 12 too, and the level keys off.
TEST_F(InputMapTest, ReboundInputsTakeTheirActionsAndTheOldOnesLetGo) {
  using namespace Key;
  constexpr int32_t kW = 0x11, kS = 0x1F;
  Bindings b = DefaultBindings();
  b.keys[kActWalkUp] = {kW};
  b.keys[kActWalkLeft] = {kA};
  b.keys[kActWalkDown] = {kS};
  b.keys[kActWalkRight] = {kD};
  b.keys[kActBomb] = {kSpace};
  b.keys[kActNextLevel] = {};
  b.buttons[kActBomb] = {5};
  b.buttons[kActPause] = {10, 12};
  b.buttons[kActWalkUp] = {kPadInputUp, 11};
  SetBindings(b);
  const struct {
    bool pad;
    Keys held;  // keys, or the pad's buttons
    Direction direction;
    Command command;
  } cases[] = {
      {false, {kW}, kDirUp, kCmdNone},         {false, {kA}, kDirLeft, kCmdNone},
      {false, {kD, kSpace}, kDirRight, kCmdBomb}, {false, {kS, kD}, kDirNone, kCmdNone},
      {false, {kUp, kY}, kDirNone, kCmdY},     {false, {kP, kB}, kDirNone, kCmdPause},
      {true, {5}, kDirNone, kCmdBomb},         {true, {2}, kDirNone, kCmdNone},
      {true, {12, 3}, kDirNone, kCmdB},        {true, {12}, kDirNone, kCmdPause},
      {true, {11, 1}, kDirUp, kCmdX},          {true, {6}, kDirNone, kCmdButton6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    if (c.pad) {
      Joypad(0, 0, c.held);
    } else {
      gameState.joystickPresent = 0;
      SetInputFromReplay(true, false);
      Hold(c.held);
    }
    bombKeyState = kBombKeyAtStart;
    ReadControls();
    EXPECT_EQ(currentDirection, c.direction);
    EXPECT_EQ(currentCommand, c.command);
    EXPECT_EQ(bombKeyState, c.command == kCmdBomb ? kBombKeyAtStart : kBombKeyReleased);
  }
  // PageUp no longer changes the level; PageDown still does.
  Joypad(0, 0, {});
  gameState.joystickPresent = 0;
  gameState.level = 5;
  for (const int32_t key : {kPageUp, kPageDown}) {
    Hold({key});
    ReadControls();
    Hold({});
    ReadControls();
  }
  EXPECT_EQ(gameState.level, 4);
}

TEST_F(InputMapTest, MovementCadenceFollowsTheThreshold) {
  for (const int32_t threshold : {0, 5, 255}) {  // CURSORSPEED 255, 250 and 0
    settings.CURSORSPEED = threshold;
    player.moveTick = 0;
    std::vector<int32_t> resets;
    for (int32_t frame = 1; frame <= 3 * (threshold + 1); frame++) {
      ReadControls();
      if (player.moveTick == 0) resets.push_back(frame);
    }
    EXPECT_EQ(resets, (std::vector<int32_t>{threshold + 1, 2 * (threshold + 1), 3 * (threshold + 1)}));
  }
}

TEST_F(InputMapTest, PageKeysChangeTheLevelOnceWhenLetGo) {
  const struct {
    int32_t key, level;
  } steps[] = {{Key::kPageDown, 0}, {Key::kPageUp, 1}, {Key::kPageUp, 2}};
  for (const auto& s : steps) {
    Hold({s.key});
    ReadControls();
    Hold({});
    ReadControls();
    ReadControls();
    EXPECT_EQ(gameState.level, s.level);
  }
  Hold({Key::kPageUp});
  ReadControls();
  Hold({});
  ReadMenuCommand();
  EXPECT_EQ(gameState.level, 2) << "the menu read leaves the level keys alone";
}

// Leaving the window in play opens the pause screen, as P does (and wins over the command read
// with it); on the title and on the screens it changes nothing, then or later.
TEST_F(InputMapTest, LeavingTheWindowPausesPlayOnly) {
  static int pauses, questions;
  pauses = questions = 0;
  playScreens.pause = [] { pauses++; };
  playScreens.quitQuestion = [] { questions++; };
  const struct {
    const char* what;
    int32_t event;
    bool inPlay;
    bool menuRead;  // read by a screen (ReadMenuCommand) rather than by play
    Keys keys;
    int32_t pauses;
  } cases[] = {
      {"focus lost in play", kWindowFocusLost, true, false, {}, 1},
      {"minimised in play", kWindowMinimized, true, false, {}, 1},
      {"focus lost while Escape is held", kWindowFocusLost, true, false, {Key::kEscape}, 1},
      {"focus gained", kWindowFocusGained, true, false, {}, 0},
      {"restored", kWindowRestored, true, false, {}, 0},
      {"focus lost on the title", kWindowFocusLost, false, false, {}, 0},
      {"minimised on the title", kWindowMinimized, false, true, {}, 0},
      {"focus lost on the pause screen", kWindowFocusLost, true, true, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    pauses = 0;
    Hold(c.keys);
    gameState.inTitle = c.inPlay ? 0 : 1;
    SetReplayWindowEvent(c.event);
    if (c.menuRead)
      ReadMenuCommand();
    else
      ReadControls();
    EXPECT_EQ(pauses, c.pauses);
    if (c.pauses) {
      EXPECT_EQ(currentCommand, kCmdPause);
    }
    Hold({});
    gameState.inTitle = 0;
    ReadControls();
    EXPECT_EQ(pauses, c.pauses) << "said once, and not kept for later";
  }
  EXPECT_EQ(questions, 0) << "leaving the window wins over Escape";
}

// Pads plugged in and pulled out while the game runs (SDL's virtual joysticks): the device read
// follows from the next read on, and the keyboard is back once the last pad is gone.
TEST_F(InputMapTest, APadPluggedInIsReadFromThenOnAndPullingItOutGivesTheKeyboardBack) {
  SetInputFromReplay(false, false);
  gameState.joystickPresent = StartJoystick() != 0 ? 1 : 0;
  ASSERT_EQ(gameState.joystickPresent, 0) << "no pad before the test plugs one in";
  ASSERT_TRUE(StartKeyboard());
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_PumpEvents();
  EXPECT_EQ(ReadMenuCommand(), kCmdNone);
  EXPECT_EQ(gameState.joystickPresent, 1) << "the title's prompt asks for Start from now on";
  SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
  ASSERT_NE(stick, nullptr);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 1);
  SDL_JoystickUpdate();
  EXPECT_EQ(ReadMenuCommand(), kCmdPause) << "Start held";
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 0);
  SDL_JoystickUpdate();
  EXPECT_EQ(ReadMenuCommand(), kCmdNone);

  SDL_JoystickDetachVirtual(index);
  SDL_PumpEvents();
  EXPECT_EQ(ReadMenuCommand(), kCmdNone);
  EXPECT_EQ(gameState.joystickPresent, 0) << "the keyboard is back";
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.scancode = SDL_SCANCODE_P;
  SDL_PushEvent(&key);
  key.type = SDL_KEYUP;
  SDL_PushEvent(&key);
  EXPECT_EQ(ReadMenuCommand(), kCmdPause) << "P tapped on the keyboard";
}

TEST_F(InputMapTest, CommandsReachThePlayLogicOnlyInPlay) {
  // With the bomb input let go, any dispatched command arms the next bomb.
  Hold({Key::kD});
  ReadControls();
  EXPECT_EQ(bombArmed, 0) << "nothing is dispatched while the title runs";
  gameState.inTitle = 0;
  EXPECT_EQ(ReadMenuCommand(), kCmdY);
  EXPECT_EQ(bombArmed, 0) << "the menu read dispatches nothing";
  Hold({});
  ReadControls();
  EXPECT_EQ(bombArmed, 0) << "kCmdNone is not dispatched";
  Hold({Key::kD});
  ReadControls();
  EXPECT_EQ(bombArmed, 1);
}

}  // namespace
