// Keyboard, the first joystick and the mouse, read as snapshots: a poll copies the devices'
// state (or the replay's) and the queries answer from that copy.
//
// - Keys are DirectInput scan codes of a US PC keyboard, 0..255; -1 asks about any key. A code
//   outside 0..255 is never down.
// - The joystick has two axes reduced to -1, 0 or +1 (a dead zone of +-500 of -1000..1000) and
//   buttons numbered 1..32. A pad SDL knows the layout of is read by the places of its buttons:
//   the D-pad and the left stick walk; A is button 2 (bomb), Start 10 (start and pause), Back 9
//   (the quit question), X 1 and B 3 (the X and B choices), Y 4, shoulders 5 and 6, stick clicks
//   7 and 8. Any other joystick is read by its raw axes and button numbers.
// - Under the test harness the keyboard and joypad come from a replay instead of the devices:
//   SetInputFromReplay(true, ...), then SetReplayKey / SetReplayJoy* as the replay's events fall
//   due. Polls always read the latest state.
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
// Non-zero while the key is down in the last snapshot.
int32_t KeyHeld(int32_t code);
// Non-zero once, on the first call that finds the key up after an earlier call found it down;
// 0 for a key never seen down. With -1: if any key qualifies, every key's memory is updated.
int32_t KeyReleased(int32_t code);
void EndKeyboard();

// Non-zero if a joystick was found (under a replay: if the replay has joypad events).
int32_t StartJoystick();
void PollJoystick();
// -1, 0 or +1 from the last snapshot.
int32_t JoystickX();
int32_t JoystickY();
// Non-zero while the button (1..32) is held in the last snapshot.
int32_t JoystickButtonHeld(int32_t button);
void EndJoystick();

bool StartMouse();
// On the full screen, captures the mouse: hidden and kept inside. In a window the pointer is
// left free and visible.
void PollMouse();
// Puts the pointer at the window's top-left corner (on the full screen only).
void PlaceMouse();
void EndMouse();

// --- Replay input (test harness) ---
void SetInputFromReplay(bool replay, bool withJoystick);
void SetReplayKey(int32_t code, bool down);
// Axis 0 (x) or 1 (y); the value is clamped to -1..+1.
void SetReplayJoyAxis(int32_t axis, int32_t value);
void SetReplayJoyButton(int32_t button, bool down);

// Every key and button as the devices (or the replay) report them now, for recording.
bool RawKeyDown(int32_t code);
int32_t RawJoyAxis(int32_t axis);
bool RawJoyButton(int32_t button);

// Clears every snapshot, memory and replay state: input as at start-up.
void ResetInput();
