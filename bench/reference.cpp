// The reference workload of the frame benchmark: the pixels one frame of play touches, drawn the
// plain way with SDL2 and nothing of ours. A cleared back buffer (a render-target texture), a
// grid of TILE x TILE textured quads over the whole of it, then (the zoom pass) a grab of
// (1, 1, W - 1, H - 1) stretched back over the cleared buffer with bilinear filtering, and the
// copy to the window. Unpaced, or paced the plain way (a sleep to each frame's deadline).
//
//   quorvex_bench_reference W H FRAMES [TILE [ZOOM [PACE]]]    TILE 40, ZOOM 1, PACE 0 by default
//
// PACE is frames per second (0: as fast as it goes). Prints "first_frame_ms N" (from the start of
// main to the first present: what any SDL2 program with this renderer pays to start here), then,
// over the frames after the first tenth, "fps N" and "cpu_percent N" (the whole process, every
// thread, in % of a core), and "peak_rss_kb N" (the process's peak resident memory), one per line.
#include <SDL.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int Fail(const char* what) {
  std::fprintf(stderr, "quorvex_bench_reference: %s: %s\n", what, SDL_GetError());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const auto programStart = std::chrono::steady_clock::now();
  if (argc < 4) {
    std::fprintf(stderr, "usage: quorvex_bench_reference W H FRAMES [TILE [ZOOM [PACE]]]\n");
    return 2;
  }
  const int width = std::atoi(argv[1]), height = std::atoi(argv[2]), frames = std::atoi(argv[3]);
  const int tile = argc > 4 ? std::atoi(argv[4]) : 40;
  const bool zoom = argc > 5 ? std::atoi(argv[5]) != 0 : true;
  const int pace = argc > 6 ? std::atoi(argv[6]) : 0;
  if (width < 2 || height < 2 || frames < 10 || tile < 1 || pace < 0) return 2;

  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return Fail("SDL_Init");
  SDL_Window* window = SDL_CreateWindow("reference", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
  if (!window) return Fail("window");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
  if (!renderer) return Fail("renderer");
  SDL_Texture* back = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
  SDL_Texture* grab = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width - 1, height - 1);
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, tile, tile, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!back || !grab || !surface) return Fail("textures");
  Uint32* texels = static_cast<Uint32*>(surface->pixels);
  for (int i = 0; i < tile * tile; i++) texels[i] = 0xFF000000u | ((static_cast<Uint32>(i) * 2654435761u) >> 8);
  SDL_Texture* tileTexture = SDL_CreateTextureFromSurface(renderer, surface);
  SDL_FreeSurface(surface);
  if (!tileTexture) return Fail("tile");
  SDL_SetTextureBlendMode(tileTexture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(grab, SDL_ScaleModeLinear);

  const int warmUp = frames / 10;
  Uint64 start = 0;
  double startCpu = 0;
  auto deadline = std::chrono::steady_clock::now();
  for (int frame = 0; frame < frames; frame++) {
    if (frame == warmUp) {
      start = SDL_GetPerformanceCounter();
      startCpu = CpuSeconds();
    }
    if (pace > 0) {
      deadline += std::chrono::nanoseconds(1000000000 / pace);
      std::this_thread::sleep_until(deadline);
    }
    SDL_SetRenderTarget(renderer, back);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    for (int y = 0; y < height; y += tile)
      for (int x = 0; x < width; x += tile) {
        const SDL_Rect to{x, y, tile, tile};
        SDL_RenderCopy(renderer, tileTexture, nullptr, &to);
      }
    if (zoom) {
      const SDL_Rect from{1, 1, width - 1, height - 1};
      SDL_SetRenderTarget(renderer, grab);
      SDL_RenderCopy(renderer, back, &from, nullptr);
      SDL_SetRenderTarget(renderer, back);
      SDL_RenderClear(renderer);
      SDL_RenderCopy(renderer, grab, nullptr, nullptr);
    }
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_RenderCopy(renderer, back, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    if (frame == 0)
      std::printf("first_frame_ms %.1f\n",
                  std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - programStart).count());
  }
  const double seconds =
      static_cast<double>(SDL_GetPerformanceCounter() - start) / static_cast<double>(SDL_GetPerformanceFrequency());
  std::printf("fps %.1f\ncpu_percent %.1f\npeak_rss_kb %ld\n", (frames - warmUp) / seconds,
              (CpuSeconds() - startCpu) * 100 / seconds, PeakResidentKb());
  SDL_Quit();
  return 0;
}
