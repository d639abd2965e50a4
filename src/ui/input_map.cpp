// Input mapping: once per frame the keyboard, or the joypad when one was found at start-up,
// becomes a direction and a command. The direction moves the player at the CURSORSPEED
// cadence; the command goes to the play logic, or back to the menu screen that asked for it.
#include "ui/input_map.h"

#include "core/game_state.h"
#include "core/settings.h"
#include "game/bombs.h"
#include "game/player.h"
#include "media/input.h"

Direction currentDirection = kDirNone;
Command currentCommand = kCmdNone;

namespace {

// Held keys in the order they are tested; a later key found held overrides an earlier one.
struct KeyCommand {
  int32_t key;
  Command command;
};
constexpr KeyCommand kKeyCommands[] = {
    {Key::kSpace, kCmdBomb}, {Key::kA, kCmdBomb}, {Key::kB, kCmdB},      {Key::kC, kCmdX},
    {Key::kX, kCmdX},        {Key::kD, kCmdY},    {Key::kY, kCmdY},      {Key::kEscape, kCmdQuit},
    {Key::kP, kCmdPause},
};

// The command of joypad buttons 1 to 10; the first button held decides.
constexpr Command kButtonCommands[] = {kCmdX,       kCmdBomb,    kCmdB,       kCmdY,    kCmdButton5,
                                       kCmdButton6, kCmdButton7, kCmdButton8, kCmdQuit, kCmdPause};
constexpr int32_t kBombButton = 2;

// A pad plugged in or pulled out since the last read: from now on the device read is the pad,
// or the keyboard again.
void FollowDevices() {
  if (FollowJoysticks()) gameState.joystickPresent = JoystickConnected() != 0 ? 1 : 0;
}

// Takes the command from the last snapshot of the device in use, marks the bomb input as let go
// when it is not given, and keeps the command as the current one.
Command CommandOfSnapshot() {
  Command command = kCmdNone;
  if (gameState.joystickPresent == 0) {
    for (const KeyCommand& k : kKeyCommands)
      if (KeyHeld(k.key)) command = k.command;
    if (command != kCmdBomb) bombKeyState = kBombKeyReleased;
  } else {
    for (int32_t button = 1; button <= 10; button++) {
      if (JoystickButtonHeld(button)) {
        command = kButtonCommands[button - 1];
        break;
      }
    }
    if (!JoystickButtonHeld(kBombButton)) bombKeyState = kBombKeyReleased;
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
  const bool up = KeyHeld(Key::kUp) != 0, left = KeyHeld(Key::kLeft) != 0;
  const bool right = KeyHeld(Key::kRight) != 0, down = KeyHeld(Key::kDown) != 0;
  // Down wins over Right, Right over Left, Left over Up.
  Direction direction = kDirNone;
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

Direction ReadJoystickDirection() {
  PollJoystick();
  Direction direction = kDirNone;
  if (JoystickX() > 0) direction = kDirRight;
  if (JoystickX() < 0) direction = kDirLeft;
  // The vertical axis wins, so a diagonal moves vertically.
  if (JoystickY() > 0) direction = kDirDown;
  if (JoystickY() < 0) direction = kDirUp;
  return direction;
}

}  // namespace

void ReadControls() {
  FollowDevices();
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
}
