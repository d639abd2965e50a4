// Keyboard and joypad through replay input (no devices needed), SDL's own key events and
// virtual pads plugged in and pulled out, and the scan code table.
#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "media/input.h"
#include "media/internal.h"
#include "media/sound.h"

namespace {

class ReplayInput : public ::testing::Test {
 protected:
  void SetUp() override { SetInputFromReplay(true, true); }
};

TEST_F(ReplayInput, KeyReleasedFiresOnceOnTheFirstCallThatFindsTheKeyUpAfterSeeingItDown) {
  struct Step {
    const char* what;
    int32_t key;   // key whose replay state changes before the poll, 0 for none
    bool down;
    int32_t ask;   // the code passed to KeyReleased
    int32_t released;
    int32_t held;  // KeyHeld(ask)
  };
  const Step steps[] = {
      {"never seen down", 0, false, Key::kSpace, 0, 0},
      {"down: remembered, not released", Key::kSpace, true, Key::kSpace, 0, 1},
      {"still down", 0, false, Key::kSpace, 0, 1},
      {"up: released once", Key::kSpace, false, Key::kSpace, 1, 0},
      {"up again: nothing", 0, false, Key::kSpace, 0, 0},
      // Without a call while it was down, the press is never seen.
      {"down, not asked", Key::kA, true, Key::kSpace, 0, 0},
      {"up", Key::kA, false, Key::kA, 0, 0},
      {"any key: nothing seen down yet", Key::kP, true, -1, 0, 1},
      {"any key: P up", Key::kP, false, -1, 1, 0},
      {"any key: nothing left", 0, false, -1, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.key) SetReplayKey(s.key, s.down);
    PollKeyboard();
    EXPECT_EQ(KeyHeld(s.ask), s.held);
    EXPECT_EQ(KeyReleased(s.ask), s.released);
  }
}

TEST_F(ReplayInput, AnyKeyReleaseUpdatesEveryKeysMemory) {
  SetReplayKey(Key::kA, true);
  SetReplayKey(Key::kB, true);
  PollKeyboard();
  EXPECT_EQ(KeyReleased(Key::kA), 0);
  EXPECT_EQ(KeyReleased(Key::kB), 0);
  SetReplayKey(Key::kA, false);
  SetReplayKey(Key::kB, false);
  PollKeyboard();
  EXPECT_EQ(KeyReleased(-1), 1);
  EXPECT_EQ(KeyReleased(Key::kB), 0) << "B's release was taken by the any-key call";

  // A single-key call only forgets its own key.
  SetReplayKey(Key::kA, true);
  SetReplayKey(Key::kB, true);
  PollKeyboard();
  EXPECT_EQ(KeyReleased(-1), 0);
  SetReplayKey(Key::kA, false);
  SetReplayKey(Key::kB, false);
  PollKeyboard();
  EXPECT_EQ(KeyReleased(Key::kA), 1);
  EXPECT_EQ(KeyReleased(Key::kB), 1);
}

TEST_F(ReplayInput, PollsSeeTheReplayOnlyWhenTheyAreMade) {
  SetReplayKey(Key::kUp, true);
  EXPECT_EQ(KeyHeld(Key::kUp), 0) << "not polled yet";
  EXPECT_TRUE(RawKeyDown(Key::kUp)) << "the raw state is current";
  PollKeyboard();
  EXPECT_EQ(KeyHeld(Key::kUp), 1);
  EXPECT_EQ(KeyHeld(-1), 1);
  EXPECT_EQ(KeyHeld(Key::kDown), 0);
  EXPECT_EQ(KeyHeld(256), 0);
  EXPECT_EQ(KeyHeld(-2), 0);
  EXPECT_EQ(KeyReleased(999), 0);
}

TEST_F(ReplayInput, JoypadAxesAndButtonsComeFromTheReplay) {
  EXPECT_EQ(StartJoystick(), 1) << "a replay with joypad events has a joypad";
  SetReplayJoyAxis(0, -1);
  SetReplayJoyAxis(1, 1);
  SetReplayJoyButton(1, true);
  SetReplayJoyButton(32, true);
  SetReplayJoyButton(33, true);  // out of range, ignored
  EXPECT_EQ(JoystickX(), 0) << "not polled yet";
  PollJoystick();
  EXPECT_EQ(JoystickX(), -1);
  EXPECT_EQ(JoystickY(), 1);
  EXPECT_EQ(JoystickButtonHeld(1), 1);
  EXPECT_EQ(JoystickButtonHeld(2), 0);
  EXPECT_EQ(JoystickButtonHeld(32), 1);
  EXPECT_EQ(JoystickButtonHeld(0), 0);
  EXPECT_EQ(JoystickButtonHeld(33), 0);
  EXPECT_EQ(RawJoyAxis(0), -1);
  EXPECT_TRUE(RawJoyButton(32));
  SetReplayJoyAxis(0, 0);
  PollJoystick();
  EXPECT_EQ(JoystickX(), 0);

  SetInputFromReplay(true, false);
  EXPECT_EQ(StartJoystick(), 0) << "a replay without joypad events has none";
}

// A press that comes and goes between two polls shows as held in the next snapshot, and only
// there; keys and buttons held across polls read as they always did.
TEST_F(ReplayInput, ATapBetweenTwoPollsShowsAsHeldInTheNextSnapshotOnly) {
  ASSERT_EQ(StartJoystick(), 1);
  struct Step {
    const char* what;
    std::vector<std::pair<int32_t, bool>> keys;     // key changes before the poll, in order
    std::vector<std::pair<int32_t, bool>> buttons;  // joypad button changes before the poll
    int32_t held;        // KeyHeld(Key::kP)
    int32_t released;    // KeyReleased(Key::kPageUp)
    int32_t buttonHeld;  // JoystickButtonHeld(10)
  };
  const Step steps[] = {
      {"P and button 10 tapped", {{Key::kP, true}, {Key::kP, false}}, {{10, true}, {10, false}}, 1, 0, 1},
      {"the next poll: gone", {}, {}, 0, 0, 0},
      {"Page Up tapped: seen down", {{Key::kPageUp, true}, {Key::kPageUp, false}}, {}, 0, 0, 0},
      {"Page Up: released at the next poll", {}, {}, 0, 1, 0},
      {"P held", {{Key::kP, true}}, {{10, true}}, 1, 0, 1},
      {"still held", {}, {}, 1, 0, 1},
      {"let go: up at once", {{Key::kP, false}}, {{10, false}}, 0, 0, 0},
      {"up and down again between polls: held", {{Key::kP, true}, {Key::kP, false}, {Key::kP, true}}, {}, 1, 0, 0},
      {"let go again", {{Key::kP, false}}, {}, 0, 0, 0},
      {"tapped twice: one read", {{Key::kP, true}, {Key::kP, false}, {Key::kP, true}, {Key::kP, false}}, {}, 1, 0, 0},
      {"and gone", {}, {}, 0, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    for (const auto& [key, down] : s.keys) SetReplayKey(key, down);
    for (const auto& [button, down] : s.buttons) SetReplayJoyButton(button, down);
    PollKeyboard();
    PollJoystick();
    EXPECT_EQ(KeyHeld(Key::kP), s.held);
    EXPECT_EQ(KeyReleased(Key::kPageUp), s.released);
    EXPECT_EQ(JoystickButtonHeld(10), s.buttonHeld);
  }
  EXPECT_EQ(RawKeyPresses(Key::kP), 6) << "every press is counted for recordings";
  EXPECT_EQ(RawJoyButtonPresses(10), 2);
  EXPECT_FALSE(RawKeyDown(Key::kP));
}

// The window's events: leaving it (focus lost, minimised) is said once; the music holds while
// it is minimised. Under a replay the desktop's own events are not heeded.
TEST_F(ReplayInput, LeavingTheWindowIsSaidOnceAndMinimisingHoldsTheMusic) {
  struct Step {
    const char* what;
    std::vector<int32_t> events;  // before the window is asked
    bool fromDesktop;
    bool left;
    bool musicHeld;
  };
  const Step steps[] = {
      {"focus lost", {kWindowFocusLost}, false, true, false},
      {"focus back", {kWindowFocusGained}, false, false, false},
      {"minimised", {kWindowMinimized}, false, true, true},
      {"restored", {kWindowRestored}, false, false, false},
      {"minimised again", {kWindowMinimized}, false, true, true},
      {"the focus back lets the music go on", {kWindowFocusGained}, false, false, false},
      {"focus lost and back within a frame", {kWindowFocusLost, kWindowFocusGained}, false, false, false},
      {"minimised and restored within a frame", {kWindowMinimized, kWindowRestored}, false, false, false},
      {"the desktop's, under a replay", {kWindowFocusLost, kWindowMinimized}, true, false, false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    for (const int32_t event : s.events) {
      if (s.fromDesktop)
        NoteWindowEvent(event, true);
      else
        SetReplayWindowEvent(event);
    }
    EXPECT_EQ(TakeWindowLeft(), s.left);
    EXPECT_FALSE(TakeWindowLeft()) << "said once";
    EXPECT_EQ(MusicHeld(), s.musicHeld);
  }
  EXPECT_EQ(TakeWindowEvents(),
            (std::vector<int32_t>{kWindowFocusLost, kWindowFocusGained, kWindowMinimized, kWindowRestored, kWindowMinimized,
                                  kWindowFocusGained, kWindowFocusLost, kWindowFocusGained, kWindowMinimized,
                                  kWindowRestored}))
      << "the replay's events, kept for a recording";
  EXPECT_TRUE(TakeWindowEvents().empty());
  // Without a replay the desktop's count.
  SetInputFromReplay(false, false);
  NoteWindowEvent(kWindowMinimized, true);
  EXPECT_TRUE(TakeWindowLeft());
  EXPECT_TRUE(MusicHeld());
}

// Real devices through SDL: key events as SDL queues them, and virtual pads plugged in and
// pulled out while the game runs (SDL's virtual joysticks need no hardware and no display).
class DeviceInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(StartJoystick(), 0) << "no pad before the test plugs one in";
    ASSERT_TRUE(StartKeyboard());
  }
  static void Send(Uint32 type, SDL_Scancode code, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = code;
    e.key.repeat = repeat;
    SDL_PushEvent(&e);
  }
  static int Plug(SDL_JoystickType type) {
    const int index = SDL_JoystickAttachVirtual(type, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_PumpEvents();
    return index;
  }
  static void Pull(int index) {
    SDL_JoystickDetachVirtual(index);
    SDL_PumpEvents();
  }
  // Presses and lets go of button `b` of the open pad (index `index`) between two polls.
  static void TapButton(int index, int b) {
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr);
    SDL_JoystickSetVirtualButton(stick, b, 1);
    SDL_JoystickUpdate();
    SDL_JoystickSetVirtualButton(stick, b, 0);
    SDL_JoystickUpdate();
  }
};

TEST_F(DeviceInput, AKeyTappedBetweenTwoPollsIsHeldForOnePoll) {
  Send(SDL_KEYDOWN, SDL_SCANCODE_P);
  Send(SDL_KEYUP, SDL_SCANCODE_P);
  PollKeyboard();
  EXPECT_EQ(KeyHeld(Key::kP), 1);
  PollKeyboard();
  EXPECT_EQ(KeyHeld(Key::kP), 0);
  Send(SDL_KEYDOWN, SDL_SCANCODE_X, 1);  // a key's repeat is no press
  PollKeyboard();
  EXPECT_EQ(KeyHeld(Key::kX), 0);
  SetInputFromReplay(true, false);  // under a replay the keyboard is not heard
  Send(SDL_KEYDOWN, SDL_SCANCODE_X);
  PollKeyboard();
  EXPECT_EQ(KeyHeld(Key::kX), 0);
}

TEST_F(DeviceInput, PadsPluggedInAtAnyTimeAreReadAndOnePulledOutLeavesTheNext) {
  const int first = Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER);
  ASSERT_GE(first, 0) << SDL_GetError();
  EXPECT_TRUE(FollowJoysticks()) << "a pad plugged in";
  EXPECT_EQ(JoystickConnected(), 1);
  EXPECT_FALSE(FollowJoysticks()) << "nothing new";
  // Start, pressed and let go between two polls, is held for one poll (joypad button 10).
  TapButton(first, SDL_CONTROLLER_BUTTON_START);
  PollJoystick();
  EXPECT_EQ(JoystickButtonHeld(10), 1);
  PollJoystick();
  EXPECT_EQ(JoystickButtonHeld(10), 0);
  // A D-pad tap walks for one poll.
  TapButton(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  PollJoystick();
  EXPECT_EQ(JoystickX(), -1);
  PollJoystick();
  EXPECT_EQ(JoystickX(), 0);

  // A second pad waits while the first is read; pulling out the first hands over to it.
  const int second = Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER);
  ASSERT_GE(second, 0) << SDL_GetError();
  EXPECT_FALSE(FollowJoysticks()) << "still one pad read";
  Pull(first);
  EXPECT_FALSE(FollowJoysticks()) << "the second pad takes over: still connected";
  EXPECT_EQ(JoystickConnected(), 1);
  TapButton(0, SDL_CONTROLLER_BUTTON_A);  // the second pad is now the first device
  PollJoystick();
  EXPECT_EQ(JoystickButtonHeld(2), 1) << "A of the pad that took over";
  Pull(0);
  EXPECT_TRUE(FollowJoysticks()) << "the last pad pulled out";
  EXPECT_EQ(JoystickConnected(), 0);
  PollJoystick();
  EXPECT_EQ(JoystickButtonHeld(2), 0);

  // Under a replay the devices are not followed.
  SetInputFromReplay(true, false);
  const int third = Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER);
  EXPECT_FALSE(FollowJoysticks());
  EXPECT_EQ(JoystickConnected(), 0);
  Pull(third);
}

TEST(JoystickAxes, TheDeadZoneIsPlusMinus500OfPlusMinus1000) {
  struct Case {
    int32_t sdl;
    int32_t direction;
  };
  const Case cases[] = {
      {-32768, -1}, {-16417, -1},  // -501
      {-16384, 0},                 // -500 is still inside
      {0, 0},       {16384, 0},    {16416, 0},  // 500.99 scales to 500
      {16417, 1},   {32767, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(JoystickAxisDirection(c.sdl), c.direction) << c.sdl;
}

TEST(ScanCodes, SdlKeysMapToTheUsKeyboardScanCodes) {
  // SDL numbers keys by USB usage: a = 4 ... z = 29, 1 = 30 ... 0 = 39.
  const char* letters = "abcdefghijklmnopqrstuvwxyz";
  const int32_t letterCodes[] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                 0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  for (int i = 0; i < 26; i++) EXPECT_EQ(ScanCodeFromSdl(4 + i), letterCodes[i]) << letters[i];
  for (int i = 0; i < 10; i++) EXPECT_EQ(ScanCodeFromSdl(30 + i), 0x02 + i) << "digit row " << (i + 1) % 10;
  for (int i = 0; i < 10; i++) EXPECT_EQ(ScanCodeFromSdl(58 + i), 0x3B + i) << "F" << i + 1;

  struct Case {
    const char* name;
    int32_t usb;
    int32_t code;
  };
  const Case cases[] = {
      {"Return", 40, 0x1C},     {"Escape", 41, 0x01},      {"Backspace", 42, 0x0E},  {"Tab", 43, 0x0F},
      {"Space", 44, 0x39},      {"F11", 68, 0x57},         {"F12", 69, 0x58},        {"Insert", 73, 0xD2},
      {"Home", 74, 0xC7},       {"Page Up", 75, 0xC9},     {"Delete", 76, 0xD3},     {"End", 77, 0xCF},
      {"Page Down", 78, 0xD1},  {"Right", 79, 0xCD},       {"Left", 80, 0xCB},       {"Down", 81, 0xD0},
      {"Up", 82, 0xC8},         {"Num Lock", 83, 0x45},    {"Keypad /", 84, 0xB5},   {"Keypad *", 85, 0x37},
      {"Keypad -", 86, 0x4A},   {"Keypad +", 87, 0x4E},    {"Keypad Enter", 88, 0x9C}, {"Keypad 1", 89, 0x4F},
      {"Keypad 5", 93, 0x4C},   {"Keypad 7", 95, 0x47},    {"Keypad 0", 98, 0x52},   {"Keypad .", 99, 0x53},
      {"Left Ctrl", 224, 0x1D}, {"Left Shift", 225, 0x2A}, {"Left Alt", 226, 0x38},  {"Left Windows", 227, 0xDB},
      {"Right Ctrl", 228, 0x9D}, {"Right Shift", 229, 0x36}, {"Right Alt", 230, 0xB8}, {"Pause", 72, 0xC5},
      {"Caps Lock", 57, 0x3A},  {"Minus", 45, 0x0C},       {"Grave", 53, 0x29},      {"Slash", 56, 0x35},
      {"nothing", 0, 0},        {"out of range", 100000, 0}, {"negative", -5, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanCodeFromSdl(c.usb), c.code) << c.name;
}

}  // namespace
