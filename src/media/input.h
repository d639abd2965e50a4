// Keyboard, the first joystick and the mouse, read as snapshots: a poll copies the devices'
// state (or the replay's) and the queries answer from that copy.
//
// - No press is lost: a key or button that went down since the previous poll of its device
//   shows as held in the next snapshot even when it is up again by then, so a tap between two
//   reads counts as held for one read. Keys and buttons held across polls read as they are.
//   (Joystick axes and sticks are read as they are.)
// - Game controllers may come and go at any time: FollowJoysticks, once a read, opens one
//   plugged in and lets go of one pulled out.
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
#include <vector>

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
// Follows pads plugged in and pulled out since the last call: when none is open, opens the
// first pad SDL knows the layout of (else the first joystick); one pulled out is closed and the
// next one connected, if any, takes its place. True when that changed whether a joystick is
// connected (JoystickConnected). Under a replay the devices are not followed: always false.
bool FollowJoysticks();
// Non-zero while a joystick is open (under a replay: if the replay has joypad events).
int32_t JoystickConnected();
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

// --- The window ---------------------------------------------------------------------------

// What the desktop does to the window, as the game hears of it.
constexpr int32_t kWindowFocusLost = 0, kWindowFocusGained = 1, kWindowMinimized = 2, kWindowRestored = 3;
// True once after the player left the window (it lost the focus or was minimised) since the
// last call, unless it was restored or had the focus again before the call. While the window
// is minimised the music holds (HoldMusic, sound.h); it goes on when the window is restored or
// has the focus again. Under a replay the desktop's window events are not heeded, only the
// replay's (SetReplayWindowEvent), so runs repeat anywhere.
bool TakeWindowLeft();
// The window events heeded since the last call, oldest first (for recording).
std::vector<int32_t> TakeWindowEvents();

// --- Replay input (test harness) ---
void SetInputFromReplay(bool replay, bool withJoystick);
void SetReplayKey(int32_t code, bool down);
// Axis 0 (x) or 1 (y); the value is clamped to -1..+1.
void SetReplayJoyAxis(int32_t axis, int32_t value);
void SetReplayJoyButton(int32_t button, bool down);
// One of the window events above, as if the desktop had sent it.
void SetReplayWindowEvent(int32_t event);

// Every key and button as the devices (or the replay) report them now, for recording.
bool RawKeyDown(int32_t code);
int32_t RawJoyAxis(int32_t axis);
bool RawJoyButton(int32_t button);
// How many times the key or button went down since start-up, so that a recording can tell a
// tap between two frames from no press at all.
int32_t RawKeyPresses(int32_t code);
int32_t RawJoyButtonPresses(int32_t button);

// Clears every snapshot, memory and replay state: input as at start-up.
void ResetInput();
