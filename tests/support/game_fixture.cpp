#include "support/game_fixture.h"

#include <png.h>

#include <filesystem>
#include <fstream>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "media/files.h"
#include "support/sample_files.h"
#include "world/tile_map.h"

void WritePng(const std::string& path, int width, int height, uint32_t colour) {
  Bytes rgba;
  for (int i = 0; i < width * height; i++)
    rgba.insert(rgba.end(), {static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
                             static_cast<uint8_t>((colour >> 16) & 0xFF), 255});
  WriteBytes(path, EncodePng(width, height, PNG_COLOR_TYPE_RGBA, 8, rgba));
}

void WriteOgg(const std::string& path, double seconds) { WriteBytes(path, EncodeOggSine(1, 22050, seconds, 440.0, 0.3)); }

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ForgetDirectories();  // the game reads a directory once; the tests change theirs as they go
  ASSERT_TRUE(out.good()) << path;
}

void GameFixture::SetUp() {
  baseDirectory = dir.Path() + "/";
  settings.RGBCODEPATH = dir.Path() + "/RGB/";
  settings.APPSTART = "LAB";
  settings.WORLDGFX = dir.Path() + "/OBJ/";
  settings.TOPOGFX = dir.Path() + "/TOPO/";
  settings.SOUNDFXPATH = dir.Path() + "/SFX/";
  settings.GFXCODEC = ".png";
  gameState.tileWidth = gameState.tileHeight = 32.0f;
  gameState.screenWidth = 640.0f;
  gameState.screenHeight = 480.0f;
  gameState.inTitle = 0;
  tileMap.Create(257, 257);
}

void GameFixture::WriteTile(const std::string& name, const std::string& pairs) { dir.Write("RGB/LAB/" + name, pairs); }

void GameFixture::WriteLabyrinthTiles(const std::string& floorChildren) {
  struct Tile {
    const char* name;
    int collision;
    int enemy;
  };
  const Tile tiles[] = {{"LAB_WALL", 1, 0},        {"LAB_FLOOR", 0, 1},       {"LAB_GREEN", 0, 0},
                        {"LAB_WATER", 2, 0},       {"LAB_BLUE_FLOOR", 0, 0},  {"LAB_FIXED_FLOOR", 0, 0},
                        {"LAB_PINK_FLOOR", 0, 0},  {"LAB_FIXED_PINK_FLOOR", 0, 0}};
  for (const Tile& t : tiles) {
    std::string pairs = "GFXNAME\n" + std::string(t.name) + ".png\nTRANSPARENCY\n0\nUSECOLLISION\n" +
                        std::to_string(t.collision) + "\nUSEENEMY\n" + std::to_string(t.enemy) + "\nVALUE1\n" +
                        (std::string(t.name) == "LAB_FIXED_FLOOR" ? "10" : "0") + "\n";
    for (int slot = 1; slot <= 8; slot++) pairs += "CHILD" + std::to_string(slot) + "\n#\n";
    if (std::string(t.name) == "LAB_FLOOR") pairs += floorChildren;
    WriteTile(t.name, pairs);
    WriteGraphic(std::string(t.name) + ".png");
  }
}

void GameFixture::WriteObject(const std::string& fileBase, const std::string& pairs, int width, int height) {
  WritePng(dir / ("OBJ/" + fileBase + ".png"), width, height, 0x0000FF);
  dir.Write("OBJ/" + fileBase + ".dll", pairs);
}

void GameFixture::WriteGraphic(const std::string& fileName, int width, int height) {
  WritePng(dir / ("TOPO/" + fileName), width, height, 0x808080);
}

void GameFixture::WriteSound(const std::string& fileName) { WriteOgg(dir / ("SFX/" + fileName)); }

void GameFixture::LoadData() {
  LoadTopographyImages();
  LoadObjectDefinitions();
  LoadSoundEffects();
}

void GameFixture::Name(int x, int y, const std::string& name) {
  TileCell* cell = tileMap.Find(x, y);
  ASSERT_NE(cell, nullptr);
  cell->tileName = name;
}
