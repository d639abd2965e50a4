// Running the real game in tests: a small complete base directory made on the spot, the game
// started under the harness, and its dumps and screenshots read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/json.h"
#include "support/temp_dir.h"

// Colours of the small base's tile graphics, as the screenshots show them.
// The demo bases of the source tree, with a slash after: kContent + "labyrinth".
inline const std::string kContent = std::string(QUORVEX_SOURCE_DIR) + "/content/";
// The recorded games: replays, dumps and pictures.
inline const std::string kGolden = std::string(QUORVEX_SOURCE_DIR) + "/tests/e2e/golden/";

namespace MiniColour {
constexpr uint32_t kWall = 0x404040, kFloor = 0x909090, kGreen = 0x30A030, kWater = 0xA03010, kBlue = 0xE02020,
                   kFixed = 0xFF8080, kPink = 0x8020E0, kFixedPink = 0xFF80FF, kPlayer = 0x00FF00, kGlyph = 0x00E0FF;
}

// Writes a complete small labyrinth-mode base directory into dir: eight tiles of solid colours,
// a font of solid glyphs, a bomb pick-up and a coin on floor, a foe, the player, sounds and a
// base file. `extraSettings` are "KEY\nvalue\n" pairs appended to ini.txt (later keys win).
void MakeMiniBase(const TempDir& dir, const std::string& extraSettings = "");

struct GameRun {
  int status = -1;
  std::string output;
};

// Runs build/quorvex with the base directory and options, under a time limit.
GameRun RunGame(const std::string& baseDirectory, const std::string& options, int timeoutSeconds = 300);

std::string ReadFile(const std::string& path);
// A test name made of a case's text: letters and digits kept, "-" as "Minus", the rest "_".
std::string TestName(const std::string& text);
// Reads a dump written by --dump; fails the test when it is missing or not JSON.
JsonValue ReadDump(const std::string& path);

// A decoded PNG screenshot: RGB pixels, row by row.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  uint32_t At(int x, int y) const;  // r + g*256 + b*65536, 0 outside
  // Pixels of exactly this colour.
  int Count(uint32_t colour) const;
  // Pixels within `tolerance` of this colour in every channel.
  int CountNear(uint32_t colour, int tolerance) const;
};
Picture ReadPng(const std::string& path);
