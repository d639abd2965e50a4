// Input mapping: once per frame the keyboard, or the joypad when one was found at start-up,
// becomes a direction and a command. The direction moves the player at the CURSORSPEED
// cadence; the command goes to the play logic, or back to the menu screen that asked for it.
// Which keys and buttons stand for what is the bindings table.
#include "ui/input_map.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "core/game_state.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "game/player.h"
#include "media/input.h"

Direction currentDirection = kDirNone;
Command currentCommand = kCmdNone;

const ActionInfo kActionInfo[kActionCount] = {
    {"walk-up", "walk up", false},
    {"walk-down", "walk down", false},
    {"walk-left", "walk left", false},
    {"walk-right", "walk right", false},
    {"bomb", "fire a bomb", false},
    {"pause", "pause in play; start a game on the title screen", false},
    {"quit", "ask whether to quit", false},
    {"choice-x", "the X choice: back to play (pause screen, quit question)", false},
    {"choice-b", "the B choice: restart the level (pause screen), quit (quit question)", false},
    {"next-level", "go on to the next level (acts when let go)", true},
    {"previous-level", "go back to the previous level (acts when let go)", true},
};

namespace {

// Keyboard commands in the order they are tested; a later one found held overrides an earlier
// one. The D and Y keys give the Y command, which nothing uses, while no action has them.
constexpr struct {
  Action action;
  Command command;
} kKeyCommandOrder[] = {
    {kActBomb, kCmdBomb}, {kActChoiceB, kCmdB}, {kActChoiceX, kCmdX}, {kActQuit, kCmdQuit}, {kActPause, kCmdPause},
};

// The command of joypad buttons 1 to 10 while no action has them; the first button held decides.
constexpr Command kButtonCommands[] = {kCmdX,       kCmdBomb,    kCmdB,       kCmdY,    kCmdButton5,
                                       kCmdButton6, kCmdButton7, kCmdButton8, kCmdQuit, kCmdPause};
constexpr int32_t kButtons = 32;

Bindings MakeDefaults() {
  using namespace Key;
  Bindings b;
  b.keys[kActWalkUp] = {kUp};
  b.keys[kActWalkDown] = {kDown};
  b.keys[kActWalkLeft] = {kLeft};
  b.keys[kActWalkRight] = {kRight};
  b.keys[kActBomb] = {kSpace, kA};
  b.keys[kActPause] = {kP};
  b.keys[kActQuit] = {kEscape};
  b.keys[kActChoiceX] = {kX, kC};
  b.keys[kActChoiceB] = {kB};
  b.keys[kActNextLevel] = {kPageUp};
  b.keys[kActPreviousLevel] = {kPageDown};
  b.buttons[kActWalkUp] = {kPadInputUp};
  b.buttons[kActWalkDown] = {kPadInputDown};
  b.buttons[kActWalkLeft] = {kPadInputLeft};
  b.buttons[kActWalkRight] = {kPadInputRight};
  b.buttons[kActBomb] = {2};
  b.buttons[kActPause] = {10};
  b.buttons[kActQuit] = {9};
  b.buttons[kActChoiceX] = {1};
  b.buttons[kActChoiceB] = {3};
  return b;
}

Bindings bindings = MakeDefaults();

// What each key and joypad input does under the current bindings (-1: no action).
int32_t keyAction[256];
int32_t padAction[kPadInputRight + 1];

void IndexBindings() {
  std::fill(std::begin(keyAction), std::end(keyAction), -1);
  std::fill(std::begin(padAction), std::end(padAction), -1);
  for (int32_t a = 0; a < kActionCount; a++) {
    for (const int32_t key : bindings.keys[a])
      if (key > 0 && key < 256) keyAction[key] = a;
    for (const int32_t input : bindings.buttons[a])
      if (input > 0 && input <= kPadInputRight) padAction[input] = a;
  }
}

bool indexed = false;

void EnsureIndexed() {
  if (indexed) return;
  IndexBindings();
  indexed = true;
}

bool AnyKeyHeld(Action action) {
  for (const int32_t key : bindings.keys[action])
    if (KeyHeld(key)) return true;
  return false;
}

bool AnyKeyReleased(Action action) {
  bool released = false;
  for (const int32_t key : bindings.keys[action])
    if (KeyReleased(key)) released = true;
  return released;
}

bool PadInputHeld(int32_t input) {
  switch (input) {
    case kPadInputUp: return JoystickY() < 0;
    case kPadInputDown: return JoystickY() > 0;
    case kPadInputLeft: return JoystickX() < 0;
    case kPadInputRight: return JoystickX() > 0;
    default: return JoystickButtonHeld(input) != 0;
  }
}

bool AnyPadInputHeld(Action action) {
  for (const int32_t input : bindings.buttons[action])
    if (PadInputHeld(input)) return true;
  return false;
}

Command ActionCommand(int32_t action) {
  for (const auto& k : kKeyCommandOrder)
    if (k.action == action) return k.command;
  return kCmdNone;
}

bool ActionsCommand(Command command) {
  for (const auto& k : kKeyCommandOrder)
    if (k.command == command) return true;
  return false;
}

// A pad plugged in or pulled out since the last read: from now on the device read is the pad,
// or the keyboard again.
void FollowDevices() {
  if (FollowJoysticks()) gameState.joystickPresent = JoystickConnected() != 0 ? 1 : 0;
}

// Takes the command from the last snapshot of the device in use, marks the bomb input as let go
// when it is not given, and keeps the command as the current one.
Command CommandOfSnapshot() {
  EnsureIndexed();
  Command command = kCmdNone;
  if (gameState.joystickPresent == 0) {
    for (const auto& k : kKeyCommandOrder) {
      if (AnyKeyHeld(k.action)) command = k.command;
      // The Y command sits between the B and X choices in the order.
      if (k.action == kActChoiceX)
        for (const int32_t key : {Key::kD, Key::kY})
          if (keyAction[key] < 0 && KeyHeld(key)) command = kCmdY;
    }
    if (command != kCmdBomb) bombKeyState = kBombKeyReleased;
  } else {
    for (int32_t button = 1; button <= kButtons; button++) {
      if (!JoystickButtonHeld(button)) continue;
      const int32_t action = padAction[button];
      Command given = kCmdNone;
      if (action >= 0)
        given = ActionCommand(action);
      else if (button <= 10 && !ActionsCommand(kButtonCommands[button - 1]))
        given = kButtonCommands[button - 1];  // the Y command and buttons 5 to 8, which no action is
      // A button that walks, or one that does nothing, leaves the choice to the next.
      if (given == kCmdNone) continue;
      command = given;
      break;
    }
    if (!AnyPadInputHeld(kActBomb)) bombKeyState = kBombKeyReleased;
  }
  currentCommand = command;
  return command;
}

Command ReadDeviceCommand() {
  if (gameState.joystickPresent == 0) {
    PollKeyboard();
  } else {
    PollJoystick();
  }
  return CommandOfSnapshot();
}

Direction ReadKeyboardDirection() {
  PollKeyboard();
  const bool up = AnyKeyHeld(kActWalkUp), left = AnyKeyHeld(kActWalkLeft);
  const bool right = AnyKeyHeld(kActWalkRight), down = AnyKeyHeld(kActWalkDown);
  // Down wins over Right, Right over Left, Left over Up.
  Direction direction = kDirNone;
  if (up) direction = kDirUp;
  if (left) direction = kDirLeft;
  if (right) direction = kDirRight;
  if (down) direction = kDirDown;

  // The level keys act when let go.
  if (AnyKeyReleased(kActPreviousLevel)) gameState.level--;
  if (AnyKeyReleased(kActNextLevel)) gameState.level++;

  // Two arrows at right angles cancel each other; opposite arrows keep the winner above.
  if ((up || down) && (left || right)) direction = kDirNone;
  return direction;
}

Direction ReadJoystickDirection() {
  PollJoystick();
  Direction direction = kDirNone;
  if (AnyPadInputHeld(kActWalkRight)) direction = kDirRight;
  if (AnyPadInputHeld(kActWalkLeft)) direction = kDirLeft;
  // The vertical wins, so a diagonal moves vertically.
  if (AnyPadInputHeld(kActWalkDown)) direction = kDirDown;
  if (AnyPadInputHeld(kActWalkUp)) direction = kDirUp;
  return direction;
}

// Key names, by scan code.
constexpr struct {
  int32_t code;
  const char* name;
} kKeyNames[] = {
    {0x01, "Escape"}, {0x02, "1"}, {0x03, "2"}, {0x04, "3"}, {0x05, "4"}, {0x06, "5"}, {0x07, "6"}, {0x08, "7"},
    {0x09, "8"}, {0x0A, "9"}, {0x0B, "0"}, {0x0C, "Minus"}, {0x0D, "Equals"}, {0x0E, "Backspace"}, {0x0F, "Tab"},
    {0x10, "Q"}, {0x11, "W"}, {0x12, "E"}, {0x13, "R"}, {0x14, "T"}, {0x15, "Y"}, {0x16, "U"}, {0x17, "I"},
    {0x18, "O"}, {0x19, "P"}, {0x1A, "LeftBracket"}, {0x1B, "RightBracket"}, {0x1C, "Return"}, {0x1D, "LeftCtrl"},
    {0x1E, "A"}, {0x1F, "S"}, {0x20, "D"}, {0x21, "F"}, {0x22, "G"}, {0x23, "H"}, {0x24, "J"}, {0x25, "K"},
    {0x26, "L"}, {0x27, "Semicolon"}, {0x28, "Apostrophe"}, {0x29, "Grave"}, {0x2A, "LeftShift"},
    {0x2B, "Backslash"}, {0x2C, "Z"}, {0x2D, "X"}, {0x2E, "C"}, {0x2F, "V"}, {0x30, "B"}, {0x31, "N"},
    {0x32, "M"}, {0x33, "Comma"}, {0x34, "Period"}, {0x35, "Slash"}, {0x36, "RightShift"},
    {0x37, "KeypadMultiply"}, {0x38, "LeftAlt"}, {0x39, "Space"}, {0x3A, "CapsLock"}, {0x3B, "F1"},
    {0x3C, "F2"}, {0x3D, "F3"}, {0x3E, "F4"}, {0x3F, "F5"}, {0x40, "F6"}, {0x41, "F7"}, {0x42, "F8"},
    {0x43, "F9"}, {0x44, "F10"}, {0x45, "NumLock"}, {0x46, "ScrollLock"}, {0x47, "Keypad7"}, {0x48, "Keypad8"},
    {0x49, "Keypad9"}, {0x4A, "KeypadMinus"}, {0x4B, "Keypad4"}, {0x4C, "Keypad5"}, {0x4D, "Keypad6"},
    {0x4E, "KeypadPlus"}, {0x4F, "Keypad1"}, {0x50, "Keypad2"}, {0x51, "Keypad3"}, {0x52, "Keypad0"},
    {0x53, "KeypadPeriod"}, {0x57, "F11"}, {0x58, "F12"}, {0x9C, "KeypadEnter"}, {0x9D, "RightCtrl"},
    {0xB5, "KeypadDivide"}, {0xB8, "RightAlt"}, {0xC7, "Home"}, {0xC8, "Up"}, {0xC9, "PageUp"},
    {0xCB, "Left"}, {0xCD, "Right"}, {0xCF, "End"}, {0xD0, "Down"}, {0xD1, "PageDown"}, {0xD2, "Insert"},
    {0xD3, "Delete"},
};

// Joypad names: the standard pad's buttons at the numbers they land on, and the directions.
constexpr struct {
  int32_t input;
  const char* name;
} kPadNames[] = {
    {1, "X"},     {2, "A"},       {3, "B"},          {4, "Y"},           {5, "LeftShoulder"},
    {6, "RightShoulder"}, {7, "LeftStick"}, {8, "RightStick"}, {9, "Back"}, {10, "Start"},
    {kPadInputUp, "Up"}, {kPadInputDown, "Down"}, {kPadInputLeft, "Left"}, {kPadInputRight, "Right"},
};

bool SameLetters(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; i++)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && !b[i];
}

// A whole decimal number from 1 to `most`, else 0.
int32_t SmallNumber(const std::string& text, int32_t most) {
  if (text.empty() || text.size() > 3) return 0;
  int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= most ? value : 0;
}

}  // namespace

void ReadControls() {
  FollowDevices();
  currentDirection = kDirNone;
  currentCommand = kCmdNone;
  EnsureIndexed();
  currentDirection = gameState.joystickPresent == 0 ? ReadKeyboardDirection() : ReadJoystickDirection();

  ReadCommand();

  // One step at most every threshold + 1 frames; a direction let go between steps is missed.
  player.moveTick++;
  if (player.moveTick > settings.CURSORSPEED) {
    if (currentDirection != kDirNone) PlayerStep(currentDirection);
    player.moveTick = 0;
  }
}

// The command part of ReadControls reads the snapshot its direction part took: one poll a read,
// so that a key tapped between two frames counts for the whole of one read and no more.
void ReadCommand() {
  Command command = CommandOfSnapshot();
  // Leaving the window in play pauses it, as P does.
  const bool left = TakeWindowLeft();
  if (gameState.inTitle == 1) return;
  if (left) command = currentCommand = kCmdPause;
  if (command != kCmdNone) DispatchCommand(command);
}

// The screens and the title stay as they are when the window is left.
Command ReadMenuCommand() {
  FollowDevices();
  TakeWindowLeft();
  return ReadDeviceCommand();
}

void ResetInputMapState() {
  currentDirection = kDirNone;
  currentCommand = kCmdNone;
  SetBindings(DefaultBindings());
}

Bindings DefaultBindings() { return MakeDefaults(); }

const Bindings& CurrentBindings() { return bindings; }

void SetBindings(const Bindings& table) {
  bindings = table;
  IndexBindings();
  indexed = true;
}

bool KeyKeptForDesktop(int32_t code, std::string& what) {
  using namespace DesktopKey;
  switch (code) {
    case kMusicDown:
    case kMusicUp: what = "the music volume"; return true;
    case kEffectsDown:
    case kEffectsUp: what = "the effects volume"; return true;
    case kMute: what = "muting the sound"; return true;
    case kFullscreen: what = "the full screen"; return true;
    case kLeftAlt:
    case kRightAlt: what = "Alt+Return (the full screen)"; return true;
    default: return false;
  }
}

std::string KeyName(int32_t code) {
  for (const auto& k : kKeyNames)
    if (k.code == code) return k.name;
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(code) & 0xFFu);
  return buffer;
}

int32_t KeyFromName(const std::string& name) {
  for (const auto& k : kKeyNames)
    if (SameLetters(name, k.name)) return k.code;
  if (name.size() == 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X') && std::isxdigit(static_cast<unsigned char>(name[2])) &&
      std::isxdigit(static_cast<unsigned char>(name[3])))
    return static_cast<int32_t>(std::strtol(name.c_str() + 2, nullptr, 16));
  return 0;
}

std::string PadInputName(int32_t input) {
  for (const auto& p : kPadNames)
    if (p.input == input) return p.name;
  return std::to_string(input);
}

int32_t PadInputFromName(const std::string& name) {
  for (const auto& p : kPadNames)
    if (SameLetters(name, p.name)) return p.input;
  return SmallNumber(name, kButtons);
}

std::vector<std::string> KeyNames() {
  std::vector<std::string> names;
  for (const auto& k : kKeyNames) names.push_back(k.name);
  return names;
}
