// Keyboard, joystick and mouse. The game reads snapshots: a poll copies the devices' state (or
// the replay's) and the queries answer from that copy. Presses are also caught as SDL hears of
// them (an event watch, run while events are pumped), so that a key or button that came and
// went between two polls still shows in the next snapshot.
#include "media/input.h"

#include <algorithm>
#include <array>

#include "media/internal.h"
#include "media/sound.h"
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

// Presses since the last poll of their device, shown once by the next poll; and every press
// counted, for recordings.
std::array<bool, kKeys> keyTaps{};
std::array<bool, kButtons> buttonTaps{};                   // the joypad's numbers (replay, raw joystick)
std::array<bool, kControllerButtons> controllerTaps{};     // a pad of the standard layout, by place
std::array<int32_t, kKeys> keyPresses{};
std::array<int32_t, kButtons + 1> buttonPresses{};

SDL_Joystick* joystick = nullptr;              // a joystick SDL knows no layout for: raw numbers
SDL_GameController* controller = nullptr;      // a pad of the standard layout
bool devicesChanged = false;                   // a pad was plugged in or pulled out
bool mouseCaptured = false;
bool mouseStateKnown = false;

bool windowLeft = false;
std::vector<int32_t> windowEvents;  // heeded since the recording last asked

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

// The open pad as it is now; with `taps`, buttons pressed since the last poll count as held.
Pad DevicePad(bool taps) {
  Pad pad;
  if (controller) {
    ControllerInput in;
    for (int b = 0; b < kControllerButtons; b++)
      in.buttons[b] = SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(b)) != 0 ||
                      (taps && controllerTaps[b]);
    in.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    in.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    return ControllerToJoypad(in);
  }
  if (!joystick) return pad;
  pad.x = JoystickAxisDirection(SDL_JoystickGetAxis(joystick, 0));
  pad.y = JoystickAxisDirection(SDL_JoystickGetAxis(joystick, 1));
  const int buttons = std::min(kButtons, SDL_JoystickNumButtons(joystick));
  for (int i = 0; i < buttons; i++) pad.buttons[i] = SDL_JoystickGetButton(joystick, i) != 0 || (taps && buttonTaps[i]);
  return pad;
}

SDL_JoystickID OpenInstance() {
  if (controller) return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  if (joystick) return SDL_JoystickInstanceID(joystick);
  return -1;
}

void NoteKeyPress(int32_t code) {
  keyTaps[code] = true;
  keyPresses[code]++;
}

void NoteButtonPress(int32_t button) {  // from 1
  buttonTaps[button - 1] = true;
  buttonPresses[button]++;
}

int32_t PadButtonNumber(int32_t controllerButton);

// Runs as SDL queues each event, within the pump that read it from the devices. The devices'
// presses are not heeded under a replay.
int SDLCALL WatchDevices(void*, SDL_Event* event) {
  switch (event->type) {
    case SDL_KEYDOWN: {
      if (fromReplay || event->key.repeat) break;
      const int32_t code = ScanCodeFromSdl(event->key.keysym.scancode);
      if (code > 0) NoteKeyPress(code);
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN: {
      const int32_t b = event->cbutton.button;
      if (fromReplay || !controller || event->cbutton.which != OpenInstance() || b < 0 || b >= kControllerButtons) break;
      controllerTaps[b] = true;
      if (PadButtonNumber(b) > 0) buttonPresses[PadButtonNumber(b)]++;
      break;
    }
    case SDL_JOYBUTTONDOWN:
      if (fromReplay || !joystick || event->jbutton.which != OpenInstance() || event->jbutton.button >= kButtons) break;
      NoteButtonPress(event->jbutton.button + 1);
      break;
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED: devicesChanged = true; break;
    default: break;
  }
  return 0;
}

// Watches the devices from now on (once, however often it is called).
void WatchDeviceEvents() {
  SDL_DelEventWatch(WatchDevices, nullptr);
  SDL_AddEventWatch(WatchDevices, nullptr);
}

}  // namespace

// --- Keyboard -------------------------------------------------------------------------------

bool StartKeyboard() {
  keySnapshot.fill(false);
  seenDown.fill(false);
  WatchDeviceEvents();
  return true;
}

void PollKeyboard() {
  if (fromReplay) {
    keySnapshot = replayKeys;
  } else {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PumpEvents();
    keySnapshot = DeviceKeys();
  }
  for (int k = 0; k < kKeys; k++) keySnapshot[k] = keySnapshot[k] || keyTaps[k];
  keyTaps.fill(false);
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
  keyTaps.fill(false);
  SDL_DelEventWatch(WatchDevices, nullptr);
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

namespace {
int32_t PadButtonNumber(int32_t controllerButton) { return kPadButtonNumbers[controllerButton]; }
}  // namespace

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

namespace {

// The first pad SDL knows the layout of (its mapping database ships with SDL), else the first
// joystick, read by its raw numbers.
void OpenFirstJoystick() {
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count && !controller; i++)
    if (SDL_IsGameController(i)) controller = SDL_GameControllerOpen(i);
  for (int i = 0; i < count && !controller && !joystick; i++) joystick = SDL_JoystickOpen(i);
  controllerTaps.fill(false);
  buttonTaps.fill(false);
}

}  // namespace

int32_t StartJoystick() {
  if (fromReplay) return replayHasJoystick ? 1 : 0;
  if (joystick || controller) return 1;
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return 0;
  WatchDeviceEvents();
  devicesChanged = false;
  OpenFirstJoystick();
  return joystick || controller ? 1 : 0;
}

bool FollowJoysticks() {
  // SDL tells of devices as it pumps events (each present and each keyboard poll does).
  if (fromReplay || !devicesChanged) return false;
  devicesChanged = false;
  const bool before = joystick || controller;
  if (controller && !SDL_GameControllerGetAttached(controller)) {
    SDL_GameControllerClose(controller);
    controller = nullptr;
  }
  if (joystick && !SDL_JoystickGetAttached(joystick)) {
    SDL_JoystickClose(joystick);
    joystick = nullptr;
  }
  if (!joystick && !controller) OpenFirstJoystick();
  const bool now = joystick || controller;
  if (!now) padSnapshot = Pad{};
  return before != now;
}

int32_t JoystickConnected() {
  if (fromReplay) return replayHasJoystick ? 1 : 0;
  return joystick || controller ? 1 : 0;
}

void PollJoystick() {
  if (fromReplay) {
    padSnapshot = replayPad;
    for (int b = 0; b < kButtons; b++) padSnapshot.buttons[b] = padSnapshot.buttons[b] || buttonTaps[b];
  } else {
    if (joystick || controller) SDL_GameControllerUpdate();
    padSnapshot = DevicePad(true);
    controllerTaps.fill(false);
  }
  buttonTaps.fill(false);
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
  buttonTaps.fill(false);
  controllerTaps.fill(false);
  devicesChanged = false;
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
  if (!ValidKey(code)) return;
  if (down && !replayKeys[code]) NoteKeyPress(code);
  replayKeys[code] = down;
}

void SetReplayJoyAxis(int32_t axis, int32_t value) {
  const int32_t direction = std::clamp(value, -1, 1);
  if (axis == 0) replayPad.x = direction;
  if (axis == 1) replayPad.y = direction;
}

void SetReplayJoyButton(int32_t button, bool down) {
  if (button < 1 || button > kButtons) return;
  if (down && !replayPad.buttons[button - 1]) NoteButtonPress(button);
  replayPad.buttons[button - 1] = down;
}

void SetReplayWindowEvent(int32_t event) { NoteWindowEvent(event, false); }

bool RawKeyDown(int32_t code) {
  if (!ValidKey(code)) return false;
  return fromReplay ? replayKeys[code] : DeviceKeys()[code];
}

int32_t RawKeyPresses(int32_t code) { return ValidKey(code) ? keyPresses[code] : 0; }

int32_t RawJoyButtonPresses(int32_t button) { return button >= 1 && button <= kButtons ? buttonPresses[button] : 0; }

int32_t RawJoyAxis(int32_t axis) {
  const Pad pad = fromReplay ? replayPad : DevicePad(false);
  return axis == 0 ? pad.x : axis == 1 ? pad.y : 0;
}

bool RawJoyButton(int32_t button) {
  if (button < 1 || button > kButtons) return false;
  return (fromReplay ? replayPad : DevicePad(false)).buttons[button - 1];
}

// --- The window -------------------------------------------------------------------------------

void NoteWindowEvent(int32_t event, bool fromDesktop) {
  if (fromDesktop && fromReplay) return;
  switch (event) {
    case kWindowFocusLost: windowLeft = true; break;
    case kWindowMinimized:
      windowLeft = true;
      HoldMusic(true);
      break;
    // A window restored, or given the focus, is on the screen again; a leave not yet taken is
    // forgotten (some window managers take the focus away for a moment while switching to the
    // full screen: that is no player leaving).
    case kWindowFocusGained:
    case kWindowRestored:
      windowLeft = false;
      HoldMusic(false);
      break;
    default: return;
  }
  // Kept for a recording to take each frame; bounded for runs that record nothing.
  if (windowEvents.size() < 256) windowEvents.push_back(event);
}

bool TakeWindowLeft() {
  const bool left = windowLeft;
  windowLeft = false;
  return left;
}

std::vector<int32_t> TakeWindowEvents() {
  std::vector<int32_t> events;
  events.swap(windowEvents);
  return events;
}

void ResetInput() {
  keySnapshot.fill(false);
  seenDown.fill(false);
  keyTaps.fill(false);
  buttonTaps.fill(false);
  controllerTaps.fill(false);
  keyPresses.fill(0);
  buttonPresses.fill(0);
  windowLeft = false;
  windowEvents.clear();
  padSnapshot = Pad{};
  replayKeys.fill(false);
  replayPad = Pad{};
  fromReplay = false;
  replayHasJoystick = false;
}
