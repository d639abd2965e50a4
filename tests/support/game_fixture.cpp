#include "support/game_fixture.h"

#include <png.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/game_state.h"
#include "core/main_loop.h"
#include "core/settings.h"
#include "media/input.h"
#include "ui/assets.h"
#include "ui/object_definitions.h"
#include "world/tile_map.h"

void WritePng(const std::string& path, int width, int height, uint32_t colour) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
  for (int x = 0; x < width; x++) {
    row[x * 4 + 0] = colour & 0xFF;
    row[x * 4 + 1] = (colour >> 8) & 0xFF;
    row[x * 4 + 2] = (colour >> 16) & 0xFF;
    row[x * 4 + 3] = 255;
  }
  for (int y = 0; y < height; y++) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

void WriteOgg(const std::string& path, double seconds) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  const int rate = 22050;
  vorbis_info vi;
  vorbis_info_init(&vi);
  ASSERT_EQ(vorbis_encode_init_vbr(&vi, 1, rate, 0.1f), 0);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page)) {
    std::fwrite(page.header, 1, page.header_len, f);
    std::fwrite(page.body, 1, page.body_len, f);
  }
  const int samples = static_cast<int>(seconds * rate);
  float** buffer = vorbis_analysis_buffer(&vd, samples);
  for (int i = 0; i < samples; i++) buffer[0][i] = 0.3f * static_cast<float>(std::sin(i * 0.1));
  vorbis_analysis_wrote(&vd, samples);
  vorbis_analysis_wrote(&vd, 0);
  ogg_packet packet;
  bool done = false;
  while (!done && vorbis_analysis_blockout(&vd, &vb) == 1) {
    vorbis_analysis(&vb, nullptr);
    vorbis_bitrate_addblock(&vb);
    while (vorbis_bitrate_flushpacket(&vd, &packet)) {
      ogg_stream_packetin(&os, &packet);
      while (ogg_stream_pageout(&os, &page)) {
        std::fwrite(page.header, 1, page.header_len, f);
        std::fwrite(page.body, 1, page.body_len, f);
        if (ogg_page_eos(&page)) done = true;
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  std::fclose(f);
}

void GameFixture::SetUp() {
  ResetAllState();
  ResetInput();
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

void GameFixture::TearDown() { ResetAllState(); }

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
