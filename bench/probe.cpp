// The game's side of the benchmark: the real game, timed from inside the process.
//
//   quorvex_bench frames FROM TO [game options...]
//       runs the game; prints first_frame_ms (from the start of main to the first presented
//       frame), then, between presented frames FROM and TO, fps and cpu_percent (the whole
//       process, every thread), and peak_rss_kb; ends the program at frame TO
//   quorvex_bench builds [game options...]
//       starts up as the game does, then times level builds of 64, 128 and 256 cells a side
//       (build_64_ms ...; the median of three builds each)
//   quorvex_bench world SIDE [game options...]
//       starts up as the game does (a world-mode base), writes a SIDE x SIDE map made of the
//       base's own tiles and times its load (world_SIDE_ms), with the peak memory after it
//       (world_SIDE_peak_rss_kb)
//
// Every result is a "name value" line on stdout.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/harness.h"
#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "core/shutdown.h"
#include "game/level.h"
#include "media/files.h"
#include "media/probes.h"
#include "media/process.h"
#include "media/screen.h"
#include "world/tile_map.h"
#include "world/world_map.h"

namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point programStart = Clock::now();

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

bool Options(int argc, char** argv, int first) {
  std::vector<std::string> args(argv + first, argv + argc);
  std::string error;
  if (ParseHarnessOptions(args, error)) return true;
  std::fprintf(stderr, "quorvex_bench: %s\n", error.c_str());
  return false;
}

// --- frames ---

int32_t fromFrame = 0, toFrame = 0;
Clock::time_point fromTime;
double fromCpu = 0;

// CPU seconds of each thread of the process by its name (threads of one name summed), from
// /proc: where a frame's CPU goes, the renderer's threads apart from the game's.
std::map<std::string, double> ThreadCpu() {
  std::map<std::string, double> out;
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(e.path() / "comm"), stat(e.path() / "stat");
    std::string name, line;
    std::getline(comm, name);
    std::getline(stat, line);
    const size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) continue;
    // After the name: the state (field 3) ... user time (14), system time (15), in ticks.
    std::istringstream rest(line.substr(nameEnd + 1));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15; i++) {
      rest >> field;
      if (i == 14) utime = std::atof(field.c_str());
      if (i == 15) stime = std::atof(field.c_str());
    }
    out[name] += (utime + stime) / sysconf(_SC_CLK_TCK);
  }
  return out;
}
std::map<std::string, double> fromThreads;

void OnFrame(int32_t frame) {
  if (frame == 1) std::printf("first_frame_ms %.1f\n", MsSince(programStart));
  if (frame == fromFrame) {
    fromTime = Clock::now();
    fromCpu = CpuSeconds();
    fromThreads = ThreadCpu();
  }
  if (frame == toFrame) {
    const double wall = MsSince(fromTime) / 1000.0;
    std::printf("fps %.1f\ncpu_percent %.1f\npeak_rss_kb %ld\n", (toFrame - fromFrame) / wall,
                100.0 * (CpuSeconds() - fromCpu) / wall, PeakResidentKb());
    for (const auto& [name, cpu] : ThreadCpu())
      std::printf("thread %s %.2f ms/frame\n", name.c_str(), (cpu - fromThreads[name]) * 1000 / (toFrame - fromFrame));
    std::fflush(stdout);
    ShutDown();
  }
}

// --- builds and world: start-up as the game does it, up to the loaded assets ---

void StartUpToAssets() {
  CatchStopSignals();
  StartUp();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void TimeBuilds() {
  StartUpToAssets();
  for (const int32_t side : {64, 128, 256}) {
    std::vector<double> times;
    for (int round = 0; round < 3; round++) {
      settings.MAPSIZE = side;
      baseWidth = baseHeight = 4 * side;  // every draw of the size is above MAPSIZE: side x side
      gameState.level = 1;
      const Clock::time_point t = Clock::now();
      BuildLevel();
      times.push_back(MsSince(t));
      if (gameState.mapWidth != side || gameState.mapHeight != side) {
        std::fprintf(stderr, "quorvex_bench: built %d x %d instead of %d\n", gameState.mapWidth, gameState.mapHeight, side);
        std::exit(1);
      }
    }
    std::printf("build_%d_ms %.1f\n", side, Median(times));
  }
}

void TimeWorld(int32_t side) {
  StartUpToAssets();
  // The base's own tile names, cycled over the map.
  std::vector<std::string> names;
  const int32_t listing = ListDirectory(-1, TileDirectory(), "*");
  while (NextEntry(listing))
    if (EntryType(listing) == kEntryFile) names.push_back(EntryName(listing));
  EndListing(listing);
  if (names.empty()) {
    std::fprintf(stderr, "quorvex_bench: no tiles in %s\n", TileDirectory().c_str());
    std::exit(1);
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("quorvex-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream cells(dir / (settings.APPSTART + ".ai42")), values(dir / (settings.APPSTART + ".red"));
    cells << "benchmark map\n" << side - 1 << "\n" << side - 1 << "\n\n\n";
    values << "benchmark map\n\n\n\n\n";
    for (int64_t i = 0; i < int64_t{side} * side; i++) {
      cells << names[static_cast<size_t>(i) % names.size()] << "\n\n\n";  // the three texts of a name: name, "", ""
      values << "255\n";
    }
  }
  settings.APPENTRY = dir.string() + "/";
  const Clock::time_point t = Clock::now();
  const double presentedBefore = PresentSeconds();
  const int32_t framesBefore = PresentedFrames();
  LoadWorld();
  const double total = MsSince(t), presents = (PresentSeconds() - presentedBefore) * 1000.0;
  // The load's own work (reading, placing, making quads) apart from presenting its bar.
  std::printf("world_%d_ms %.1f\nworld_%d_presents %d\nworld_%d_presents_ms %.1f\nworld_%d_work_ms %.1f\n", side, total,
              side, PresentedFrames() - framesBefore, side, presents, side, total - presents);
  std::printf("world_%d_peak_rss_kb %ld\n", side, PeakResidentKb());
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "frames" && argc >= 4) {
    fromFrame = std::atoi(argv[2]);
    toFrame = std::atoi(argv[3]);
    if (fromFrame < 1 || toFrame <= fromFrame || !Options(argc, argv, 4)) return 2;
    SetHarnessObserver(OnFrame);
    Main();
  }
  if (mode == "builds") {
    if (!Options(argc, argv, 2)) return 2;
    TimeBuilds();
    ShutDown();
  }
  if (mode == "world" && argc >= 3) {
    if (!Options(argc, argv, 3)) return 2;
    TimeWorld(std::max(1, std::atoi(argv[2])));
    ShutDown();
  }
  std::fprintf(stderr, "usage: quorvex_bench frames FROM TO | builds | world SIDE  [game options...]\n");
  return 2;
}
