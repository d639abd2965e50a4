// Keyboard (by DirectInput scan codes, US layout), the first joystick and the mouse.
//
// Under the test harness the keyboard and joypad can be driven from a replay instead of the
// devices: SetInputFromReplay(true), then SetReplayKey/SetReplayJoy* as the replay's events
// fall due. Polls always read the latest state.
#pragma once

#include <array>
#include <cstdint>

// Scan codes used by the game.
namespace Key {
constexpr int32_t kEscape = 0x01, kY = 0x15, kP = 0x19, kA = 0x1E, kD = 0x20, kX = 0x2D, kC = 0x2E,
                  kB = 0x30, kSpace = 0x39, kUp = 0xC8, kPageUp = 0xC9, kLeft = 0xCB, kRight = 0xCD,
                  kDown = 0xD0, kPageDown = 0xD1;
}

bool StartKeyboard();
void PollKeyboard();
// Non-zero while the key is down in the last snapshot; -1 asks for any key.
int32_t KeyHeld(int32_t code);
// Non-zero once, on the first call that finds the key up after an earlier call found it down.
// With -1: if any key qualifies, every key's memory is updated.
int32_t KeyReleased(int32_t code);
void EndKeyboard();

// The joypad as the game reads it: two axes of -1, 0 or +1 and 32 buttons (numbered from 1, so
// button n is buttons[n - 1]).
struct JoypadState {
  int32_t x = 0;
  int32_t y = 0;
  std::array<bool, 32> buttons{};
};

// A pad of the standard layout (what SDL calls a game controller), by the place of its buttons.
enum ControllerButton {
  kPadA, kPadB, kPadX, kPadY, kPadBack, kPadGuide, kPadStart, kPadLeftStick, kPadRightStick,
  kPadLeftShoulder, kPadRightShoulder, kPadUp, kPadDown, kPadLeft, kPadRight, kControllerButtons
};
struct ControllerInput {
  std::array<bool, kControllerButtons> buttons{};
  int32_t stickX = 0;  // the left stick, -32768..32767
  int32_t stickY = 0;
};
// Such a pad as the joypad: the D-pad and the left stick walk; A is button 2 (bomb), Start 10
// (start and pause), Back 9 (the quit question), X 1 and B 3 (the X and B choices), Y 4,
// shoulders 5 and 6, stick clicks 7 and 8.
JoypadState ControllerToJoypad(const ControllerInput& in);

// Returns non-zero if a joystick was found. A pad SDL knows the layout of is read through
// ControllerToJoypad; any other joystick by its raw axes and button numbers.
int32_t StartJoystick();
void PollJoystick();
// -1, 0 or +1: the axis outside the dead zone of +-500 (of -1000..1000).
int32_t JoystickX();
int32_t JoystickY();
// An SDL axis value (-32768..32767) scaled to -1000..1000 and reduced to -1, 0 or +1.
int32_t JoystickAxisDirection(int32_t sdlAxisValue);
// Button numbers from 1 to 32.
int32_t JoystickButtonHeld(int32_t button);
void EndJoystick();

bool StartMouse();
// On the full screen, captures the mouse: hidden and kept inside. In a window the pointer is
// left free and visible.
void PollMouse();
// Moves the pointer (on the full screen only).
void PlaceMouse(int32_t x, int32_t y);
void EndMouse();

// --- Replay input (test harness) ---
void SetInputFromReplay(bool replay, bool withJoystick);
void SetReplayKey(int32_t code, bool down);
// Axis -1, 0 or +1.
void SetReplayJoyAxis(int32_t axis, int32_t value);
void SetReplayJoyButton(int32_t button, bool down);

// Every key and button as the devices (or the replay) report them now, for recording.
bool RawKeyDown(int32_t code);
int32_t RawJoyAxis(int32_t axis);
bool RawJoyButton(int32_t button);

// Clears every snapshot and memory (tests).
void ResetInput();

// Maps an SDL scancode to the scan code the game uses (0 for none).
int32_t ScanCodeFromSdl(int32_t sdlScancode);
