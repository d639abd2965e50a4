// Keyboard (by DirectInput scan codes, US layout), the first joystick and the mouse.
//
// Under the test harness the keyboard and joypad can be driven from a replay instead of the
// devices: SetInputFromReplay(true), then SetReplayKey/SetReplayJoy* as the replay's events
// fall due. Polls always read the latest state.
#pragma once

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

// Returns non-zero if a joystick was found.
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
// Captures the mouse: hidden and kept inside the window.
void PollMouse();
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
