// Keyboard, joystick and mouse. The game reads snapshots: a poll copies the devices' state (or
// the replay's) and the queries answer from that copy.
#include "media/input.h"

#include <algorithm>
#include <array>

#include "media/video_internal.h"

namespace {

constexpr int kKeys = 256;
constexpr int kButtons = 32;

struct Pad {
  int32_t x = 0;  // -1, 0, +1
  int32_t y = 0;
  std::array<bool, kButtons> buttons{};
};

std::array<bool, kKeys> keySnapshot{};
std::array<bool, kKeys> seenDown{};  // KeyReleased's memory
Pad padSnapshot;

bool fromReplay = false;
bool replayHasJoystick = false;
std::array<bool, kKeys> replayKeys{};
Pad replayPad;

SDL_Joystick* joystick = nullptr;

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

int32_t StartJoystick() {
  if (fromReplay) return replayHasJoystick ? 1 : 0;
  if (joystick) return 1;
  if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return 0;
  if (SDL_NumJoysticks() > 0) joystick = SDL_JoystickOpen(0);
  return joystick ? 1 : 0;
}

void PollJoystick() {
  if (fromReplay) {
    padSnapshot = replayPad;
    return;
  }
  if (joystick) SDL_JoystickUpdate();
  padSnapshot = DevicePad();
}

int32_t JoystickX() { return padSnapshot.x; }
int32_t JoystickY() { return padSnapshot.y; }

int32_t JoystickButtonHeld(int32_t button) {
  return button >= 1 && button <= kButtons && padSnapshot.buttons[button - 1] ? 1 : 0;
}

void EndJoystick() {
  if (joystick) SDL_JoystickClose(joystick);
  joystick = nullptr;
  padSnapshot = Pad{};
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// --- Mouse ----------------------------------------------------------------------------------

bool StartMouse() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

void PollMouse() {
  if (!video.window) return;
  SDL_ShowCursor(SDL_DISABLE);
  SDL_SetWindowGrab(video.window, SDL_TRUE);
}

void PlaceMouse(int32_t x, int32_t y) {
  if (video.window) SDL_WarpMouseInWindow(video.window, x, y);
}

void EndMouse() {
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
