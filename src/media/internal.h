// What the files of the media layer share among themselves, without SDL: the layers above never
// include this (a test checks it); unit tests may, to check these pieces alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/blending.h"

// --- Clock (clock.cpp) ----------------------------------------------------------------------

bool FastMode();
// Fast mode: moves the virtual clock on by that many milliseconds (a sleep) or by one presented
// frame (16 ms).
void AdvanceVirtualClock(uint32_t milliseconds);
void AdvanceVirtualFrame();

// --- Files (files.cpp) ----------------------------------------------------------------------


// --- Joypads (input.cpp) --------------------------------------------------------------------

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
// An SDL axis value (-32768..32767) scaled to -1000..1000 and reduced to -1, 0 or +1 with the
// dead zone of +-500.
int32_t JoystickAxisDirection(int32_t sdlAxisValue);
// Maps an SDL scancode to the scan code the game uses (0 for none).
int32_t ScanCodeFromSdl(int32_t sdlScancode);
// A window event (kWindowFocusLost ..., input.h) from the desktop, or from a replay: it marks
// the window as left (TakeWindowLeft) and holds or lets go of the music. The desktop's are not
// heeded under a replay.
void NoteWindowEvent(int32_t event, bool fromDesktop);

// --- Quad blending (blending.cpp) -----------------------------------------------------------

// One colour channel of the result of drawing a source over a destination, all values 0..1.
// The back buffer is opaque, so the destination alpha is 1.
float BlendChannel(BlendPair pair, float sourceColour, float sourceAlpha, float destinationColour);
// The texel (r | g << 8 | b << 16 | a << 24) to give keyed pixels so that drawing them under the
// pair leaves the destination as it was. (0,0,0,0) where that works; otherwise the neutral texel,
// preferring one that stays neutral whatever the quad's tint and opacity.
uint32_t NeutralTexel(BlendPair pair);
