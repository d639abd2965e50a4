// The window, the back buffer and presenting frames: the game draws a screen of its own size
// into the back buffer, and each present scales that into whatever window or display shows it.
// Above the clock in the media layer: pacing and the window's sleep read it and move it on.
#include <sys/prctl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "media/image_codecs.h"
#include "media/input.h"
#include "media/internal.h"
#include "media/probes.h"
#include "media/process.h"
#include "media/screen.h"
#include "media/video_internal.h"

VideoDevice video;

namespace {

int32_t windowedWidth = 0;  // SetWindowedSize: the pretended desktop, 0 for the real one
int32_t windowedHeight = 0;
int32_t windowStyle = kStyleFullscreen;
bool closeRequested = false;
SDL_Rect lastArea{0, 0, 0, 0};  // where the back buffer went at the last present
int32_t presentedFrames = 0;
double presentSeconds = 0;  // spent in PresentFrame, for the benchmark
Uint64 lastPresent = 0;
void (*presentHook)(int32_t) = nullptr;
void (*beforePresentHook)(int32_t) = nullptr;
// The back buffer enlarged by a whole factor, for scaling by a factor that is not whole.
SDL_Texture* enlarged = nullptr;
int32_t enlargedFactor = 0;
// The window's size to come back to when leaving the full screen.
int32_t windowedSizeW = 0;
int32_t windowedSizeH = 0;
// SetPreferredWindowSize: the size a player's window opens at, 0 to fit it to the display.
int32_t preferredW = 0;
int32_t preferredH = 0;
void (*windowChangeHook)(int32_t) = nullptr;
void (*desktopKeyHook)(int32_t, bool, bool) = nullptr;

bool HaveDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    const char* value = SDL_getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// The renderer driver we prefer: OpenGL does every custom blend factor pair.
int OpenGlDriverIndex() {
  const int count = SDL_GetNumRenderDrivers();
  for (int i = 0; i < count; i++) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::strcmp(info.name, "opengl") == 0) return i;
  }
  return -1;
}

void DropEnlarged() {
  if (enlarged) SDL_DestroyTexture(enlarged);
  enlarged = nullptr;
  enlargedFactor = 0;
}

void CloseScreen() {
  ReleaseImageTextures();
  ForgetBackBufferDebts();
  NoteBackBufferUnknown();
  DropEnlarged();
  ForgetCrispScale();
  if (video.backBuffer) SDL_DestroyTexture(video.backBuffer);
  if (video.renderer) SDL_DestroyRenderer(video.renderer);
  video.backBuffer = nullptr;
  video.renderer = nullptr;
  video.backWidth = video.backHeight = 0;
}

// Waits until more than 1/61 s of the high-resolution counter has passed since the last
// present, asleep: the sleep asks for the time left to the microsecond (rounded up) and a wake
// a little early sleeps again for the rest. Opening the screen cuts the thread's timer slack so
// that the sleep ends close to when it asks; yielding through the last stretch instead, as this
// once did, kept a core busy at every frame.
void PaceFrame() {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 period = frequency / kMostFramesPerSecond;
  for (;;) {
    const Uint64 elapsed = SDL_GetPerformanceCounter() - lastPresent;
    if (elapsed > period) break;
    const Uint64 left = period - elapsed + 1;
    std::this_thread::sleep_for(std::chrono::microseconds((left * 1000000 + frequency - 1) / frequency));
  }
  lastPresent = SDL_GetPerformanceCounter();
}

// The part of the primary display a window may use (without panels), or the whole display.
SDL_Rect UsableDesktop() {
  SDL_Rect bounds{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &bounds) != 0 || bounds.w < 1 || bounds.h < 1) {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) bounds = SDL_Rect{0, 0, mode.w, mode.h};
  }
  return bounds;
}

// A player's window for a screen of width x height: the largest whole multiple of it that fits
// nine tenths of the usable desktop, or, when not even one does, the screen shrunk to fit.
void FitWindowSize(int32_t width, int32_t height, int32_t& outWidth, int32_t& outHeight) {
  const SDL_Rect desk = UsableDesktop();
  const int64_t roomW = std::max<int64_t>(160, desk.w * 9 / 10), roomH = std::max<int64_t>(120, desk.h * 9 / 10);
  const int64_t factor = std::min(roomW / width, roomH / height);
  if (factor >= 1) {
    outWidth = static_cast<int32_t>(width * factor);
    outHeight = static_cast<int32_t>(height * factor);
    return;
  }
  const double shrink = std::min(static_cast<double>(roomW) / width, static_cast<double>(roomH) / height);
  outWidth = std::max<int32_t>(1, static_cast<int32_t>(width * shrink));
  outHeight = std::max<int32_t>(1, static_cast<int32_t>(height * shrink));
}

// Copies the back buffer into the window's rectangle, as crisp as the factor allows.
void CopyBackBufferTo(const SDL_Rect& area) {
  SettleBackBuffer();
  const int32_t bw = video.backWidth, bh = video.backHeight;
  SDL_SetTextureBlendMode(video.backBuffer, SDL_BLENDMODE_NONE);
  SDL_SetTextureColorMod(video.backBuffer, 255, 255, 255);
  SDL_SetTextureAlphaMod(video.backBuffer, 255);
  const bool whole = area.w % bw == 0 && area.h % bh == 0 && area.w / bw == area.h / bh;
  const bool smaller = area.w < bw || area.h < bh;
  int32_t factor = 0;
  if (!whole && !smaller) {
    factor = static_cast<int32_t>(std::ceil(std::max(static_cast<double>(area.w) / bw, static_cast<double>(area.h) / bh)));
    // One pass where the renderer runs our program; else enlarged by the factor, then smoothed.
    if (DrawCrispScaled(area, factor)) return;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(video.renderer, &info) != 0 || (info.max_texture_width > 0 && bw * factor > info.max_texture_width) ||
        (info.max_texture_height > 0 && bh * factor > info.max_texture_height))
      factor = 0;
  }
  if (factor > 0 && factor != enlargedFactor) {
    // Made once per factor; where the renderer refuses it, the picture is smoothed directly.
    DropEnlarged();
    enlarged = SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, bw * factor, bh * factor);
    enlargedFactor = factor;
  }
  if (factor > 0 && enlarged && SDL_SetRenderTarget(video.renderer, enlarged) == 0) {
    SDL_SetTextureScaleMode(video.backBuffer, SDL_ScaleModeNearest);
    SDL_RenderCopy(video.renderer, video.backBuffer, nullptr, nullptr);
    SDL_SetRenderTarget(video.renderer, nullptr);
    SDL_SetTextureBlendMode(enlarged, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(enlarged, SDL_ScaleModeLinear);
    SDL_RenderCopy(video.renderer, enlarged, nullptr, &area);
    return;
  }
  SDL_SetRenderTarget(video.renderer, nullptr);
  SDL_SetTextureScaleMode(video.backBuffer, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  SDL_RenderCopy(video.renderer, video.backBuffer, nullptr, &area);
}

void ToggleFullscreen();

bool Resizable() { return video.window && (SDL_GetWindowFlags(video.window) & SDL_WINDOW_RESIZABLE) != 0; }

// A player's window resized by the player: its size is the one to come back to.
void NoteResize(int32_t width, int32_t height) {
  if (!video.window || width < 1 || height < 1) return;
  if ((SDL_GetWindowFlags(video.window) & SDL_WINDOW_FULLSCREEN) != 0 || !Resizable()) return;
  if (width == windowedSizeW && height == windowedSizeH) return;
  windowedSizeW = width;
  windowedSizeH = height;
  if (windowChangeHook) windowChangeHook(kWindowResized);
}

void HandleWindowEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT: closeRequested = true; break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: closeRequested = true; break;
        // RESIZED comes only for a change from outside (the player or the window manager).
        case SDL_WINDOWEVENT_RESIZED: NoteResize(event.window.data1, event.window.data2); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: NoteWindowEvent(kWindowFocusLost, true); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: NoteWindowEvent(kWindowFocusGained, true); break;
        case SDL_WINDOWEVENT_MINIMIZED: NoteWindowEvent(kWindowMinimized, true); break;
        case SDL_WINDOWEVENT_RESTORED: NoteWindowEvent(kWindowRestored, true); break;
        default: break;
      }
      break;
    case SDL_KEYDOWN: {
      const SDL_Keycode key = event.key.keysym.sym;
      const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
      if (key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER))) {
        if (!event.key.repeat) ToggleFullscreen();
        break;
      }
      if (desktopKeyHook) desktopKeyHook(ScanCodeFromSdl(event.key.keysym.scancode), alt, event.key.repeat != 0);
      break;
    }
    default: break;
  }
}

}  // namespace

// --- Display and window ---------------------------------------------------------------------

bool StartVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  if (!HaveDisplay()) return false;
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  // A fullscreen game stays on screen when another window takes the focus.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

std::string NoDisplayReason() {
  if (!HaveDisplay()) return "no display found: DISPLAY and WAYLAND_DISPLAY are unset";
  const char* display = SDL_getenv("WAYLAND_DISPLAY");
  if (!display || !*display) display = SDL_getenv("DISPLAY");
  return std::string("could not open the display ") + (display ? display : "") + ": " + SDL_GetError();
}

namespace {

// The primary desktop's size as the game is told it: see DesktopWidth.
bool DesktopSize(int32_t& width, int32_t& height) {
  if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetNumVideoDisplays() < 1) return false;
  if (windowedWidth > 0) {
    width = windowedWidth;
    height = windowedHeight;
    return true;
  }
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  width = mode.w;
  height = mode.h;
  if (windowStyle == kStyleWindow) {
    // A window of two thirds of the usable desktop, its shape kept, or the size preferred.
    const SDL_Rect desk = UsableDesktop();
    width = std::max(1, desk.w * 2 / 3);
    height = std::max(1, desk.h * 2 / 3);
    if (preferredW > 0 && preferredH > 0) {
      width = std::clamp(preferredW, 160, std::max(160, desk.w));
      height = std::clamp(preferredH, 90, std::max(90, desk.h));
    }
  }
  return true;
}

}  // namespace

int32_t DesktopWidth() {
  int32_t w = 0, h = 0;
  return DesktopSize(w, h) ? w : 0;
}

int32_t DesktopHeight() {
  int32_t w = 0, h = 0;
  return DesktopSize(w, h) ? h : 0;
}

void SetWindowedSize(int32_t width, int32_t height) {
  windowedWidth = std::max(0, width);
  windowedHeight = std::max(0, height);
}

void SetWindowStyle(int32_t style) { windowStyle = style == kStyleWindow ? kStyleWindow : kStyleFullscreen; }

int32_t CreateMainWindow(int32_t width, int32_t height, const std::string& title) {
  if (width < 1 || height < 1 || !StartVideo()) return 0;
  if (video.window) {
    CloseScreen();
    SDL_DestroyWindow(video.window);
    video.window = nullptr;
  }
  closeRequested = false;
  if (windowedWidth > 0) {
    windowedSizeW = windowedWidth;
    windowedSizeH = windowedHeight;
    video.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowedWidth,
                                    windowedHeight, SDL_WINDOW_SHOWN);
  } else {
    FitWindowSize(width, height, windowedSizeW, windowedSizeH);
    if (preferredW > 0 && preferredH > 0) {
      const SDL_Rect desk = UsableDesktop();
      windowedSizeW = std::clamp(preferredW, 160, std::max(160, desk.w));
      windowedSizeH = std::clamp(preferredH, 90, std::max(90, desk.h));
    }
    if (windowStyle == kStyleFullscreen) {
      // Made at the display's size from the start, so that it covers the display even where no
      // window manager acts on the full-screen request; the window size is kept for Alt+Enter.
      SDL_DisplayMode mode;
      const bool known = SDL_GetDesktopDisplayMode(0, &mode) == 0;
      video.window = SDL_CreateWindow(title.c_str(), 0, 0, known ? mode.w : width, known ? mode.h : height,
                                      SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      video.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowedSizeW,
                                      windowedSizeH, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    }
    if (video.window) SDL_SetWindowMinimumSize(video.window, 160, 90);
  }
  return video.window ? 1 : 0;
}

int32_t OpenScreenInWindow(int32_t window, int32_t width, int32_t height) {
  if (window != 1 || !video.window || width < 1 || height < 1) return 0;
  CloseScreen();
  const Uint32 flags = SDL_RENDERER_TARGETTEXTURE;
  const int preferred = OpenGlDriverIndex();
  if (preferred >= 0) video.renderer = SDL_CreateRenderer(video.window, preferred, flags | SDL_RENDERER_ACCELERATED);
  if (!video.renderer) video.renderer = SDL_CreateRenderer(video.window, -1, flags);
  if (!video.renderer) return 0;
  video.backBuffer = SDL_CreateTexture(video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
  if (!video.backBuffer) {
    CloseScreen();
    return 0;
  }
  video.backWidth = width;
  video.backHeight = height;
  TargetBackBuffer();
  ClearBackBuffer(kBlack);
  // The kernel may end a sleep up to 50 us late by default; a microsecond keeps the pace's
  // sleep within a hair of its deadline (the thread that presents is the one opening the screen).
  prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
  lastPresent = SDL_GetPerformanceCounter();
  return 1;
}

bool ScreenOpen() { return video.renderer != nullptr && video.backBuffer != nullptr; }

void PresentArea(int32_t area[4]) {
  area[0] = lastArea.x;
  area[1] = lastArea.y;
  area[2] = lastArea.w;
  area[3] = lastArea.h;
}

void PresentFrame() {
  const auto started = std::chrono::steady_clock::now();
  if (FastMode()) {
    AdvanceVirtualFrame();
  } else {
    PaceFrame();
  }
  DrainWindowMessages();
  if (ScreenOpen()) {
    // The output size is the window's only while no render target is set.
    SDL_SetRenderTarget(video.renderer, nullptr);
    // The largest rectangle of the screen's shape inside the window, centred.
    int outputW = 0, outputH = 0;
    SDL_GetRendererOutputSize(video.renderer, &outputW, &outputH);
    const int roomW = std::max(1, outputW), roomH = std::max(1, outputH);
    const double scale = std::min(static_cast<double>(roomW) / video.backWidth, static_cast<double>(roomH) / video.backHeight);
    SDL_Rect area{0, 0, 0, 0};
    area.w = std::clamp(static_cast<int>(std::lround(video.backWidth * scale)), 1, roomW);
    area.h = std::clamp(static_cast<int>(std::lround(video.backHeight * scale)), 1, roomH);
    area.x = (roomW - area.w) / 2;
    area.y = (roomH - area.h) / 2;
    lastArea = area;
    // Black bars where the picture does not cover the window; a picture that covers it all is
    // copied over every pixel, so a clear first would only be work thrown away.
    if (area.x > 0 || area.y > 0 || area.x + area.w < outputW || area.y + area.h < outputH) {
      SDL_SetRenderDrawColor(video.renderer, 0, 0, 0, 255);
      SDL_RenderClear(video.renderer);
    }
    CopyBackBufferTo(area);
    DrawNotice(area);
    if (beforePresentHook) beforePresentHook(presentedFrames + 1);
    SDL_RenderPresent(video.renderer);
    TargetBackBuffer();
  } else if (beforePresentHook) {
    beforePresentHook(presentedFrames + 1);
  }
  presentedFrames++;
  presentSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  CountNoticeFrame();
  if (presentHook) presentHook(presentedFrames);
}

int32_t PresentedFrames() { return presentedFrames; }

double PresentSeconds() { return presentSeconds; }

void SetPresentHook(void (*hook)(int32_t frame)) { presentHook = hook; }
void SetBeforePresentHook(void (*hook)(int32_t frame)) { beforePresentHook = hook; }

bool SaveBackBufferPng(const std::string& path) {
  if (!ScreenOpen()) return false;
  std::vector<uint8_t> rgb(static_cast<size_t>(video.backWidth) * video.backHeight * 3);
  SettleBackBuffer();
  if (SDL_RenderReadPixels(video.renderer, nullptr, SDL_PIXELFORMAT_RGB24, rgb.data(), video.backWidth * 3) != 0)
    return false;
  return WritePngRgb(path, video.backWidth, video.backHeight, rgb.data());
}

bool SaveWindowPng(const std::string& path) {
  if (!ScreenOpen()) return false;
  SDL_Texture* target = SDL_GetRenderTarget(video.renderer);
  SDL_SetRenderTarget(video.renderer, nullptr);
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(video.renderer, &w, &h) != 0 || w < 1 || h < 1) {
    SDL_SetRenderTarget(video.renderer, target);
    return false;
  }
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  const bool read = SDL_RenderReadPixels(video.renderer, nullptr, SDL_PIXELFORMAT_RGB24, rgb.data(), w * 3) == 0;
  SDL_SetRenderTarget(video.renderer, target);
  return read && WritePngRgb(path, w, h, rgb.data());
}

void WaitWindowMessage() {
  constexpr int32_t milliseconds = 1;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (!FastMode()) SDL_Delay(static_cast<Uint32>(milliseconds));
    return;
  }
  SDL_Event event;
  if (SDL_PollEvent(&event)) {
    HandleWindowEvent(event);
    return;
  }
  if (FastMode()) return;
  if (SDL_WaitEventTimeout(&event, milliseconds)) HandleWindowEvent(event);
}

void DrainWindowMessages() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  // Pumping also keeps SDL's keyboard and joystick state current. Every queued message is taken,
  // not only those up to the end of the poll cycle that SDL_PollEvent would stop at.
  SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) HandleWindowEvent(event);
}

bool WindowCloseRequested() { return closeRequested; }

bool IsFullscreen() { return video.window && (SDL_GetWindowFlags(video.window) & SDL_WINDOW_FULLSCREEN) != 0; }

namespace {

void ToggleFullscreen() {
  if (!video.window) return;
  if (IsFullscreen()) {
    if (SDL_SetWindowFullscreen(video.window, 0) != 0) return;
    SDL_SetWindowResizable(video.window, SDL_TRUE);
    if (windowedSizeW > 0 && windowedSizeH > 0) SDL_SetWindowSize(video.window, windowedSizeW, windowedSizeH);
    SDL_SetWindowPosition(video.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    SDL_GetWindowSize(video.window, &windowedSizeW, &windowedSizeH);
    if (SDL_SetWindowFullscreen(video.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return;
  }
  if (windowChangeHook) windowChangeHook(kWindowSwitched);
}

}  // namespace

void SwitchFullscreen() { ToggleFullscreen(); }

bool WindowOnFullScreen() { return IsFullscreen(); }

void PlayerWindowSize(int32_t& width, int32_t& height) {
  width = windowedSizeW;
  height = windowedSizeH;
  if (video.window && !IsFullscreen()) SDL_GetWindowSize(video.window, &width, &height);
}

void SetPreferredWindowSize(int32_t width, int32_t height) {
  preferredW = width > 0 && height > 0 ? width : 0;
  preferredH = width > 0 && height > 0 ? height : 0;
}

void SetWindowChangeHook(void (*hook)(int32_t change)) { windowChangeHook = hook; }
void SetDesktopKeyHook(void (*hook)(int32_t code, bool alt, bool repeat)) { desktopKeyHook = hook; }

void SleepMs(int32_t milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (FastMode()) {
    AdvanceVirtualClock(static_cast<uint32_t>(milliseconds));
    return;
  }
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  // Long waits (the credits pages sleep for seconds) wake early when the program is asked to stop,
  // by a signal or by the window's close button.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    DrainWindowMessages();
    if (StopSignalled() || WindowCloseRequested()) break;
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::milliseconds(0)) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(20)));
  }
}

void EndVideo() {
  ReleaseAllImages();
  CloseScreen();
  if (video.window) SDL_DestroyWindow(video.window);
  video.window = nullptr;
  presentedFrames = 0;
  presentHook = nullptr;
  beforePresentHook = nullptr;
  windowChangeHook = nullptr;
  desktopKeyHook = nullptr;
  preferredW = preferredH = 0;
  ForgetNotice();
  lastArea = SDL_Rect{0, 0, 0, 0};
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
