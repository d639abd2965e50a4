// Keyboard, joystick and mouse. The game reads snapshots: a poll copies the devices' state (or
// the replay's) and the queries answer from that copy.
#include "media/input.h"

#include <algorithm>
#include <array>

#include "media/internal.h"
#include "media/video_internal.h"

namespace {

constexpr int kKeys = 256;
constexpr int kButtons = 32;

using Pad = JoypadState;

std::array<bool, kKeys> keySnapshot{};
std::array<bool, kKeys> seenDown{};  // KeyReleased's memory
Pad padSnapshot;

bool fromReplay = false;
bool replayHasJoystick = false;
std::array<bool, kKeys> replayKeys{};
Pad replayPad;

SDL_Joystick* joystick = nullptr;              // a joystick SDL knows no layout for: raw numbers
SDL_GameController* controller = nullptr;      // a pad of the standard layout
bool mouseCaptured = false;
bool mouseStateKnown = false;

bool ValidKey(int32_t code) { return code >= 0 && code < kKeys; }

// The keyboard as SDL reports it now, by game scan code.
std::array<bool, kKeys> DeviceKeys() {
  std::array<bool, kKeys> keys{};
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return keys;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int i = 0; i < count; i++) {
    if (!state[i]) continue;
    const int32_t code = ScanCodeFromSdl(i);
    if (code > 0) keys[code] = true;
  }
  return keys;
}

Pad DevicePad() {
  Pad pad;
  if (controller) {
    ControllerInput in;
    for (int b = 0; b < kControllerButtons; b++)
      in.buttons[b] = SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(b)) != 0;
    in.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    in.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    return ControllerToJoypad(in);
  }
  if (!joystick) return pad;
  pad.x = JoystickAxisDirection(SDL_JoystickGetAxis(joystick, 0));
  pad.y = JoystickAxisDirection(SDL_JoystickGetAxis(joystick, 1));
  const int buttons = std::min(kButtons, SDL_JoystickNumButtons(joystick));
  for (int i = 0; i < buttons; i++) pad.buttons[i] = SDL_JoystickGetButton(joystick, i) != 0;
  return pad;
}

}  // namespace

// --- Keyboard -------------------------------------------------------------------------------

bool StartKeyboard() {
  keySnapshot.fill(false);
  seenDown.fill(false);
  return true;
}

void PollKeyboard() {
  if (fromReplay) {
    keySnapshot = replayKeys;
    return;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PumpEvents();
  keySnapshot = DeviceKeys();
}

int32_t KeyHeld(int32_t code) {
  if (code == -1) return std::any_of(keySnapshot.begin(), keySnapshot.end(), [](bool down) { return down; }) ? 1 : 0;
  return ValidKey(code) && keySnapshot[code] ? 1 : 0;
}

int32_t KeyReleased(int32_t code) {
  if (code == -1) {
    bool any = false;
    for (int k = 0; k < kKeys; k++) any = any || (seenDown[k] && !keySnapshot[k]);
    // Every key's memory follows the snapshot: keys down are remembered, released ones forgotten.
    seenDown = keySnapshot;
    return any ? 1 : 0;
  }
  if (!ValidKey(code)) return 0;
  if (keySnapshot[code]) {
    seenDown[code] = true;
    return 0;
  }
  if (!seenDown[code]) return 0;
  seenDown[code] = false;
  return 1;
}

void EndKeyboard() {
  keySnapshot.fill(false);
  seenDown.fill(false);
}

// --- Joystick -------------------------------------------------------------------------------

int32_t JoystickAxisDirection(int32_t sdlValue) {
  const int32_t value = std::clamp(sdlValue, -32767, 32767) * 1000 / 32767;
  if (value < -500) return -1;
  if (value > 500) return 1;
  return 0;
}

// Where the buttons of a standard pad land among the joypad's numbered buttons: the face buttons
// by their place (X west, A south, B east, Y north), then shoulders, stick clicks, Back, Start.
constexpr int32_t kPadButtonNumbers[kControllerButtons] = {
    2,   // A: bomb
    3,   // B: the B choice
    1,   // X: the X choice
    4,   // Y
    9,   // Back: the quit question
    0,   // Guide: left to the system
    10,  // Start: start and pause
    7,   // left stick click
    8,   // right stick click
    5,   // left shoulder
    6,   // right shoulder
    0, 0, 0, 0,  // the D-pad walks, as the stick does
};

JoypadState ControllerToJoypad(const ControllerInput& in) {
  JoypadState pad;
  for (int b = 0; b < kControllerButtons; b++)
    if (in.buttons[b] && kPadButtonNumbers[b] > 0) pad.buttons[kPadButtonNumbers[b] - 1] = true;
  // A D-pad direction held wins over the stick on its axis.
  const int32_t padX = (in.buttons[kPadRight] ? 1 : 0) - (in.buttons[kPadLeft] ? 1 : 0);
  const int32_t padY = (in.buttons[kPadDown] ? 1 : 0) - (in.buttons[kPadUp] ? 1 : 0);
  pad.x = padX != 0 ? padX : JoystickAxisDirection(in.stickX);
  pad.y = padY != 0 ? padY : JoystickAxisDirection(in.stickY);
  return pad;
}

int32_t StartJoystick() {
  if (fromReplay) return replayHasJoystick ? 1 : 0;
  if (joystick || controller) return 1;
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return 0;
  // The first pad SDL knows the layout of (its mapping database ships with SDL), else the first
  // joystick, read by its raw numbers.
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count && !controller; i++)
    if (SDL_IsGameController(i)) controller = SDL_GameControllerOpen(i);
  if (!controller && count > 0) joystick = SDL_JoystickOpen(0);
  return joystick || controller ? 1 : 0;
}

void PollJoystick() {
  if (fromReplay) {
    padSnapshot = replayPad;
    return;
  }
  if (joystick || controller) SDL_GameControllerUpdate();
  padSnapshot = DevicePad();
}

int32_t JoystickX() { return padSnapshot.x; }
int32_t JoystickY() { return padSnapshot.y; }

int32_t JoystickButtonHeld(int32_t button) {
  return button >= 1 && button <= kButtons && padSnapshot.buttons[button - 1] ? 1 : 0;
}

void EndJoystick() {
  if (controller) SDL_GameControllerClose(controller);
  if (joystick) SDL_JoystickClose(joystick);
  controller = nullptr;
  joystick = nullptr;
  padSnapshot = Pad{};
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// --- Mouse ----------------------------------------------------------------------------------

namespace {

bool FullscreenWindow() { return video.window && (SDL_GetWindowFlags(video.window) & SDL_WINDOW_FULLSCREEN) != 0; }

}  // namespace

bool StartMouse() {
  mouseStateKnown = false;
  return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

void PollMouse() {
  if (!video.window) return;
  // On the full screen the pointer is hidden and kept in; in a window it stays the desktop's.
  const bool capture = FullscreenWindow();
  if (mouseStateKnown && capture == mouseCaptured) return;
  SDL_ShowCursor(capture ? SDL_DISABLE : SDL_ENABLE);
  SDL_SetWindowGrab(video.window, capture ? SDL_TRUE : SDL_FALSE);
  mouseCaptured = capture;
  mouseStateKnown = true;
}

void PlaceMouse() {
  if (FullscreenWindow()) SDL_WarpMouseInWindow(video.window, 0, 0);
}

void EndMouse() {
  mouseStateKnown = false;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  if (video.window) SDL_SetWindowGrab(video.window, SDL_FALSE);
  SDL_ShowCursor(SDL_ENABLE);
}

// --- Replay input ---------------------------------------------------------------------------

void SetInputFromReplay(bool replay, bool withJoystick) {
  fromReplay = replay;
  replayHasJoystick = replay && withJoystick;
}

void SetReplayKey(int32_t code, bool down) {
  if (ValidKey(code)) replayKeys[code] = down;
}

void SetReplayJoyAxis(int32_t axis, int32_t value) {
  const int32_t direction = std::clamp(value, -1, 1);
  if (axis == 0) replayPad.x = direction;
  if (axis == 1) replayPad.y = direction;
}

void SetReplayJoyButton(int32_t button, bool down) {
  if (button >= 1 && button <= kButtons) replayPad.buttons[button - 1] = down;
}

bool RawKeyDown(int32_t code) {
  if (!ValidKey(code)) return false;
  return fromReplay ? replayKeys[code] : DeviceKeys()[code];
}

int32_t RawJoyAxis(int32_t axis) {
  const Pad pad = fromReplay ? replayPad : DevicePad();
  return axis == 0 ? pad.x : axis == 1 ? pad.y : 0;
}

bool RawJoyButton(int32_t button) {
  if (button < 1 || button > kButtons) return false;
  return (fromReplay ? replayPad : DevicePad()).buttons[button - 1];
}

void ResetInput() {
  keySnapshot.fill(false);
  seenDown.fill(false);
  padSnapshot = Pad{};
  replayKeys.fill(false);
  replayPad = Pad{};
  fromReplay = false;
  replayHasJoystick = false;
}
