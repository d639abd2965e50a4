// Input mapping: once per frame the keyboard, or the joypad when one was found at start-up,
// becomes a direction and a command. The direction moves the player at the CURSORSPEED
// cadence; the command goes to the play logic, or back to the menu screen that asked for it.
#include "ui/input_map.h"

#include "core/game_state.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "game/player.h"
#include "media/input.h"

int8_t currentDirection = kDirNone;
int32_t currentCommand = kCmdNone;

namespace {

// Held keys in the order they are tested; a later key found held overrides an earlier one.
struct KeyCommand {
  int32_t key;
  int32_t command;
};
constexpr KeyCommand kKeyCommands[] = {
    {Key::kSpace, kCmdBomb}, {Key::kA, kCmdBomb}, {Key::kB, kCmdB},      {Key::kC, kCmdX},
    {Key::kX, kCmdX},        {Key::kD, 5},        {Key::kY, 5},          {Key::kEscape, kCmdQuit},
    {Key::kP, kCmdPause},
};

// The command of joypad buttons 1 to 10; the first button held decides.
constexpr int32_t kButtonCommands[] = {kCmdX, kCmdBomb, kCmdB, 5, 12, 13, 10, 11, kCmdQuit, kCmdPause};
constexpr int32_t kBombButton = 2;

// Reads the command from the device in use, marks the bomb input as let go when it is not
// given, and keeps the command as the current one.
int32_t ReadDeviceCommand() {
  int32_t command = kCmdNone;
  if (gameState.joystickPresent == 0) {
    PollKeyboard();
    for (const KeyCommand& k : kKeyCommands)
      if (KeyHeld(k.key)) command = k.command;
    if (command != kCmdBomb) bombKeyState = 17;
  } else {
    PollJoystick();
    for (int32_t button = 1; button <= 10; button++) {
      if (JoystickButtonHeld(button)) {
        command = kButtonCommands[button - 1];
        break;
      }
    }
    if (!JoystickButtonHeld(kBombButton)) bombKeyState = 17;
  }
  currentCommand = command;
  return command;
}

int8_t ReadKeyboardDirection() {
  PollKeyboard();
  const bool up = KeyHeld(Key::kUp) != 0, left = KeyHeld(Key::kLeft) != 0;
  const bool right = KeyHeld(Key::kRight) != 0, down = KeyHeld(Key::kDown) != 0;
  // Down wins over Right, Right over Left, Left over Up.
  int8_t direction = kDirNone;
  if (up) direction = kDirUp;
  if (left) direction = kDirLeft;
  if (right) direction = kDirRight;
  if (down) direction = kDirDown;

  // The level keys act when let go.
  if (KeyReleased(Key::kPageDown)) gameState.level--;
  if (KeyReleased(Key::kPageUp)) gameState.level++;

  // Two arrows at right angles cancel each other; opposite arrows keep the winner above.
  if ((up || down) && (left || right)) direction = kDirNone;
  return direction;
}

int8_t ReadJoystickDirection() {
  PollJoystick();
  int8_t direction = kDirNone;
  if (JoystickX() > 0) direction = kDirRight;
  if (JoystickX() < 0) direction = kDirLeft;
  // The vertical axis wins, so a diagonal moves vertically.
  if (JoystickY() > 0) direction = kDirDown;
  if (JoystickY() < 0) direction = kDirUp;
  return direction;
}

}  // namespace

void ReadControls() {
  currentDirection = kDirNone;
  currentCommand = kCmdNone;
  currentDirection = gameState.joystickPresent == 0 ? ReadKeyboardDirection() : ReadJoystickDirection();

  ReadCommand();

  // One step at most every threshold + 1 frames; a direction let go between steps is missed.
  player.moveTick++;
  if (player.moveTick > settings.CURSORSPEED) {
    if (currentDirection != kDirNone) PlayerStep(currentDirection);
    player.moveTick = 0;
  }
}

void ReadCommand() {
  const int32_t command = ReadDeviceCommand();
  if (gameState.inTitle == 1) return;
  if (command != kCmdNone) DispatchCommand(command);
}

int32_t ReadMenuCommand() { return ReadDeviceCommand(); }

void ResetInputMapState() {
  currentDirection = kDirNone;
  currentCommand = kCmdNone;
}
