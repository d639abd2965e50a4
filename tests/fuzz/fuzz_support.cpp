#include "fuzz/fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "core/error_report.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "game/play_screens.h"
#include "media/files.h"
#include "media/image_codecs.h"
#include "world/tile_map.h"

namespace {

const std::string* scratch = nullptr;  // the directory, for the clean-up at exit

void Write(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// A solid w x h picture as a PNG.
void WritePicture(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < w * h; i++) rgb.insert(rgb.end(), {r, g, b});
  if (!WritePngRgb(path, w, h, rgb.data())) std::abort();
}

void MakeBase(const std::string& dir) {
  for (const char* sub : {"RGB", "RGB/LAB", "OBJ", "TOPO", "SFX", "FONT", "MAPS", "in"})
    ::mkdir((dir + sub).c_str(), 0700);
  const char* const tiles[] = {"LAB_WALL", "LAB_FLOOR", "LAB_GREEN", "LAB_WATER", "LAB_FIXED_FLOOR",
                               "LAB_BLUE_FLOOR", "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR"};
  int n = 0;
  for (const char* tile : tiles) {
    const std::string name = tile;
    std::string pairs = "GFXNAME\n" + name + ".png\nTRANSPARENCY\n0\nUSECOLLISION\n" +
                        (name == "LAB_WALL" ? "1" : name == "LAB_WATER" ? "2" : "0") + "\nUSEENEMY\n" +
                        (name == "LAB_FLOOR" ? "1" : "0") + "\nVALUE1\n10\n";
    if (name == "LAB_FLOOR") pairs += "CHILD1\nCOIN\nCHILD2\nBOMB\n";
    Write(dir + "RGB/LAB/" + name, pairs);
    WritePicture(dir + "TOPO/" + name + ".png", 4, 4, static_cast<uint8_t>(30 * n), 80, 255);
    n++;
  }
  WritePicture(dir + "OBJ/coin.png", 6, 6, 255, 255, 0);
  Write(dir + "OBJ/coin.dll", "DGFXNAME\nCOIN\nDDENSITY\n1\nDCOLLISION\n1\nDGFXSHOW\n1\nDKILLONCOLLISION\n1\nDSCORE\n5\n"
                              "DHOTSPOT\nCENTER\nDCENTERFIELD\n1\nDISGOODY\n1\n");
  WritePicture(dir + "OBJ/bomb.png", 8, 8, 0, 0, 0);
  Write(dir + "OBJ/bomb.dll", "DGFXNAME\nBOMB\nDDENSITY\n2\nDCOLLISION\n1\nDGFXSHOW\n1\nDKILLONCOLLISION\n1\n");
  WritePicture(dir + "OBJ/foe.png", 10, 10, 0, 0, 255);
  Write(dir + "OBJ/foe.dll", "DGFXNAME\n#\nDISENEMY\n1\nDDENSITY\n0\nDHOTSPOT\nCENTER\nDRANDOMMOVE\n3\n");
  for (const char* glyph : {"A", "B", "_a", "POINT", "1", "S", "I"}) WritePicture(dir + "FONT/" + glyph + ".png", 5, 7, 250, 250, 250);
}

}  // namespace

const std::string& FuzzDirectory() {
  // Made once and never destroyed, so that the clean-up at exit can still name it.
  static const std::string* dir = [] {
    const char* shm = "/dev/shm";
    std::string pattern = std::string(::access(shm, W_OK) == 0 ? shm : "/tmp") + "/quorvex-fuzz-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) std::abort();
    auto* made = new std::string(std::string(buffer.data()) + "/");
    MakeBase(*made);
    scratch = made;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*scratch, ignored);
    });
    return made;
  }();
  return *dir;
}

std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = FuzzDirectory() + name;
  Write(path, std::string(reinterpret_cast<const char*>(data), size));
  ForgetDirectories();  // the game reads a directory once; the targets change theirs as they go
  return path;
}

void ResetForInput(int32_t side) {
  const std::string& dir = FuzzDirectory();
  ResetAllState();
  SetErrorBoxEnabled(false);
  playScreens = PlayScreens{};  // no screen of its own may open: they wait for a player
  baseDirectory = dir;
  settings.RGBCODEPATH = dir + "RGB/";
  settings.APPSTART = "LAB";
  settings.WORLDGFX = dir + "OBJ/";
  settings.TOPOGFX = dir + "TOPO/";
  settings.SOUNDFXPATH = dir + "SFX/";
  settings.FONTPATH = dir + "FONT";
  settings.GFXCODEC = ".png";
  gameState.tileWidth = gameState.tileHeight = 32.0f;
  gameState.screenWidth = 640.0f;
  gameState.screenHeight = 480.0f;
  gameState.fontScale = 1.0f;
  gameState.inTitle = 0;
  tileMap.Create(side, side);
}

void FuzzTiledMap(const uint8_t* data, size_t size, TiledReader read, const char* file) {
  static const std::set<std::string> kTiles = {"150110086", "020060110", "190160110", "LAB_WALL"};
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = bytes.find("\n#tileset\n");
  const std::string map = bytes.substr(0, split);
  const std::string tileset = split == std::string::npos ? "" : bytes.substr(split + 10);
  const TilesetReader reader = [&](const std::string&, std::string& text) {
    text = tileset;
    return split != std::string::npos;
  };
  TiledMap tiled;
  MapCells cells;
  std::string refusal;
  if (!read(map, file, reader, tiled, refusal)) {
    if (refusal.empty()) std::abort();
    return;
  }
  if (!TiledCells(tiled, kTiles, cells, refusal)) return;
  if (cells.texts.size() != static_cast<size_t>(tiled.width) * static_cast<size_t>(tiled.height)) std::abort();
}
