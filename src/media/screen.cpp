// The window, the back buffer and presenting frames.
#include <algorithm>
#include <cstring>
#include <vector>

#include "media/clock.h"
#include "media/image_codecs.h"
#include "media/screen.h"
#include "media/video_internal.h"

VideoDevice video;

namespace {

int32_t windowedWidth = 0;  // SetWindowedSize: the pretended desktop, 0 for the real one
int32_t windowedHeight = 0;
SDL_Rect presentArea{0, 0, 0, 0};  // where the back buffer goes in the window
bool stretchToWindow = false;
int32_t presentMarginRight = 0;
int32_t presentMarginBottom = 0;
int32_t presentedFrames = 0;
Uint64 lastPresent = 0;
void (*presentHook)(int32_t) = nullptr;

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

void CloseScreen() {
  ReleaseImageTextures();
  if (video.backBuffer) SDL_DestroyTexture(video.backBuffer);
  if (video.renderer) SDL_DestroyRenderer(video.renderer);
  video.backBuffer = nullptr;
  video.renderer = nullptr;
  video.backWidth = video.backHeight = 0;
}

// Waits until more than 1/61 s of the high-resolution counter has passed since the last
// present: sleeps while the deadline is far, then yields for the last couple of milliseconds.
void PaceFrame() {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 period = frequency / kMostFramesPerSecond;
  const Uint64 spinTicks = frequency / 500;  // 2 ms
  for (;;) {
    const Uint64 elapsed = SDL_GetPerformanceCounter() - lastPresent;
    if (elapsed > period) break;
    const Uint64 left = period - elapsed;
    if (left > spinTicks) {
      SDL_Delay(static_cast<Uint32>((left - spinTicks) * 1000 / frequency));
    } else {
      YieldThread();
    }
  }
  lastPresent = SDL_GetPerformanceCounter();
}

}  // namespace

// --- Display and window ---------------------------------------------------------------------

bool StartVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  if (!HaveDisplay()) return false;
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

int32_t CountDesktops() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  return std::max(0, SDL_GetNumVideoDisplays());
}

int32_t DesktopWidth(int32_t desktop) {
  if (desktop < 0 || desktop >= CountDesktops()) return 0;
  if (windowedWidth > 0) return windowedWidth;
  SDL_DisplayMode mode;
  return SDL_GetDesktopDisplayMode(desktop, &mode) == 0 ? mode.w : 0;
}

int32_t DesktopHeight(int32_t desktop) {
  if (desktop < 0 || desktop >= CountDesktops()) return 0;
  if (windowedHeight > 0) return windowedHeight;
  SDL_DisplayMode mode;
  return SDL_GetDesktopDisplayMode(desktop, &mode) == 0 ? mode.h : 0;
}

void SetWindowedSize(int32_t width, int32_t height) {
  windowedWidth = std::max(0, width);
  windowedHeight = std::max(0, height);
}

int32_t CreateMainWindow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& title) {
  if (width < 1 || height < 1 || !StartVideo()) return 0;
  if (video.window) {
    CloseScreen();
    SDL_DestroyWindow(video.window);
    video.window = nullptr;
  }
  if (windowedWidth > 0) {
    video.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
  } else {
    video.window = SDL_CreateWindow(title.c_str(), x, y, width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  }
  return video.window ? 1 : 0;
}

int32_t OpenScreenInWindow(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height, int32_t stretch,
                           int32_t rightMargin, int32_t bottomMargin) {
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
  presentArea = SDL_Rect{x, y, width, height};
  stretchToWindow = stretch == 1;
  presentMarginRight = rightMargin;
  presentMarginBottom = bottomMargin;
  TargetBackBuffer();
  ClearBackBuffer(kBlack);
  lastPresent = SDL_GetPerformanceCounter();
  return 1;
}

bool ScreenOpen() { return video.renderer != nullptr && video.backBuffer != nullptr; }

void PresentFrame() {
  if (FastMode()) {
    AdvanceVirtualFrame();
  } else {
    PaceFrame();
  }
  DrainWindowMessages();
  if (ScreenOpen()) {
    SDL_Rect area = presentArea;
    if (stretchToWindow) {
      int w = 0, h = 0;
      SDL_GetRendererOutputSize(video.renderer, &w, &h);
      area.w = std::max(1, w - area.x - presentMarginRight);
      area.h = std::max(1, h - area.y - presentMarginBottom);
    }
    SDL_SetRenderTarget(video.renderer, nullptr);
    SDL_SetRenderDrawColor(video.renderer, 0, 0, 0, 255);
    SDL_RenderClear(video.renderer);
    SDL_SetTextureBlendMode(video.backBuffer, SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(video.backBuffer, 255, 255, 255);
    SDL_SetTextureAlphaMod(video.backBuffer, 255);
    const bool sameSize = area.w == video.backWidth && area.h == video.backHeight;
    SDL_SetTextureScaleMode(video.backBuffer, sameSize ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_RenderCopy(video.renderer, video.backBuffer, nullptr, &area);
    SDL_RenderPresent(video.renderer);
    TargetBackBuffer();
  }
  presentedFrames++;
  if (presentHook) presentHook(presentedFrames);
}

int32_t PresentedFrames() { return presentedFrames; }

void SetPresentHook(void (*hook)(int32_t frame)) { presentHook = hook; }

bool SaveBackBufferPng(const std::string& path) {
  if (!ScreenOpen()) return false;
  std::vector<uint8_t> rgb(static_cast<size_t>(video.backWidth) * video.backHeight * 3);
  TargetBackBuffer();
  if (SDL_RenderReadPixels(video.renderer, nullptr, SDL_PIXELFORMAT_RGB24, rgb.data(), video.backWidth * 3) != 0)
    return false;
  return WritePngRgb(path, video.backWidth, video.backHeight, rgb.data());
}

void WaitWindowMessage(int32_t milliseconds) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (!FastMode() && milliseconds > 0) SDL_Delay(static_cast<Uint32>(milliseconds));
    return;
  }
  SDL_Event event;
  if (SDL_PollEvent(&event) || FastMode()) return;
  SDL_WaitEventTimeout(&event, std::max(0, milliseconds));
}

void DrainWindowMessages() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  // Polling keeps SDL's keyboard and joystick state current; the messages themselves are ignored.
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
  }
}

void EndVideo() {
  ReleaseAllImages();
  CloseScreen();
  if (video.window) SDL_DestroyWindow(video.window);
  video.window = nullptr;
  presentedFrames = 0;
  presentHook = nullptr;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// --- The back buffer and plain 2D drawing ---------------------------------------------------

void ClearBackBuffer(int32_t colour) {
  if (!ScreenOpen()) return;
  TargetBackBuffer();
  SDL_SetRenderDrawColor(video.renderer, colour & 255, (colour >> 8) & 255, (colour >> 16) & 255, 255);
  SDL_RenderClear(video.renderer);
}

int32_t BackBufferTarget() { return 1; }
void BeginDrawing(int32_t /*target*/) { TargetBackBuffer(); }
void EndDrawing() { TargetBackBuffer(); }

void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  if (!ScreenOpen() || width < 1 || height < 1) return;
  TargetBackBuffer();
  SDL_SetRenderDrawBlendMode(video.renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(video.renderer, colour & 255, (colour >> 8) & 255, (colour >> 16) & 255, 255);
  const SDL_Rect box{x, y, width, height};
  SDL_RenderFillRect(video.renderer, &box);
}
