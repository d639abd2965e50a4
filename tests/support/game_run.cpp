#include "support/game_run.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/game_fixture.h"

namespace {

const char* const kSettings =
    "APPNAME\nQuorvex test\n"
    "WINDOWMODE\n1\n"
    "RESOLUTION\n32\n"
    "RESBASEW\n640\n"
    "USESELFCREATEBASE\n1\n"
    "SELFCREATEBASE\nDATA\\base.txt\n"
    "RGBCODEPATH\nDATA\\RGB\\\n"
    "APPSTART\nLAB\n"
    "TOPOGFX\nDATA\\TOPO\\\n"
    "GFXCODEC\n.png\n"
    "WORLDGFX\nDATA\\OBJ\\\n"
    "FONTPATH\nDATA\\FONT\\\n"
    "FONTSYSTEM\nDATA\\FONT\\chars.txt\n"
    "SOUNDFXPATH\nDATA\\SFX\\\n"
    "INGAMEMUSIC\nDATA\\MUSIC\\\n"
    "CURSOR\nDATA\\player.png\n"
    "EGFXMAX\n-1\n"
    "SCREGFXMAX\n-1\n"
    "MAPSIZE\n20\n"
    "WORLDRANDOM\n5\n"
    "CURSORSPEED\n255\n"
    "LABSWITCH\n3\n"
    "MAXFOE\n0\n"
    "SMOOTH\n0\n"
    "DEFTILESOUND\nstep.ogg\n"
    "FIXEDTILESOUND\nfixed.ogg\n"
    "EXPLOSIONSOUND\nboom.ogg\n"
    "TIMERSOUND\ntick.ogg\n";

void WriteTileFile(const TempDir& dir, const std::string& name, int collision, int enemy, int value,
                   const std::string& children) {
  std::string pairs = "GFXNAME\n" + name + ".png\nTRANSPARENCY\n0\nUSECOLLISION\n" + std::to_string(collision) +
                      "\nUSEENEMY\n" + std::to_string(enemy) + "\nVALUE1\n" + std::to_string(value) + "\n";
  for (int slot = 1; slot <= 8; slot++) pairs += "CHILD" + std::to_string(slot) + "\n#\n";
  dir.Write("DATA/RGB/LAB/" + name, pairs + children);
}

}  // namespace

void MakeMiniBase(const TempDir& dir, const std::string& extraSettings) {
  dir.Write("DATA/ini.txt", std::string(kSettings) + extraSettings);
  dir.Write("DATA/base.txt", "small test labyrinth\n8\n8\n\n\n");
  struct Tile {
    const char* name;
    uint32_t colour;
    int collision, enemy, value;
  };
  const Tile tiles[] = {
      {"LAB_WALL", MiniColour::kWall, 1, 0, 0},          {"LAB_FLOOR", MiniColour::kFloor, 0, 1, 0},
      {"LAB_GREEN", MiniColour::kGreen, 0, 0, 0},        {"LAB_WATER", MiniColour::kWater, 2, 0, 0},
      {"LAB_BLUE_FLOOR", MiniColour::kBlue, 0, 0, 0},    {"LAB_FIXED_FLOOR", MiniColour::kFixed, 0, 0, 10},
      {"LAB_PINK_FLOOR", MiniColour::kPink, 0, 0, 0},    {"LAB_FIXED_PINK_FLOOR", MiniColour::kFixedPink, 0, 0, 0},
  };
  for (const Tile& t : tiles) {
    WriteTileFile(dir, t.name, t.collision, t.enemy, t.value,
                  std::string(t.name) == "LAB_FLOOR" ? "CHILD1\nBOMB\nCHILD2\nCOIN\n" : "");
    WritePng(dir / ("DATA/TOPO/" + std::string(t.name) + ".png"), 8, 8, t.colour);
  }
  WritePng(dir / "DATA/OBJ/bomb.png", 16, 16, 0x000000);
  dir.Write("DATA/OBJ/bomb.dll", "DGFXNAME\nBOMB\nDDENSITY\n6\nDCOLLISION\n1\nDGFXSHOW\n1\nDGFXTRANSPARENCY\n255\n"
                                 "DKILLONCOLLISION\n1\nDHOTSPOT\n\nDCENTERFIELD\n0\n");
  WritePng(dir / "DATA/OBJ/coin.png", 8, 8, 0x00FFFF);
  dir.Write("DATA/OBJ/coin.dll", "DGFXNAME\nCOIN\nDDENSITY\n4\nDCOLLISION\n1\nDGFXSHOW\n1\nDGFXTRANSPARENCY\n255\n"
                                 "DKILLONCOLLISION\n1\nDSCORE\n25\nDCENTERFIELD\n1\nDHOTSPOT\nCENTER\n");
  WritePng(dir / "DATA/OBJ/foe.png", 20, 20, 0x0000FF);
  dir.Write("DATA/OBJ/foe.dll", "DGFXNAME\n#\nDISENEMY\n1\nDDENSITY\n3\nDGFXTRANSPARENCY\n255\nDVELOX\n4\nDVELOY\n4\n"
                                "DAILEVEL\n1\nDDMOVE\n1\nDCHANGEDIRECTION\n6\nDROTATE\n3\n");
  WritePng(dir / "DATA/player.png", 24, 24, MiniColour::kPlayer);
  const std::string glyphs = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789&\xF6";
  dir.Write("DATA/FONT/chars.txt", glyphs + "\r\nsecond line is ignored\r\n");
  for (char c : glyphs) {
    std::string base(1, c);
    if (c == '&') base = "BOMB";
    if (static_cast<unsigned char>(c) == 0xF6) base = "NOBOMB";
    WritePng(dir / ("DATA/FONT/" + base + ".png"), 8, 10, MiniColour::kGlyph);
  }
  for (const char* sound : {"step.ogg", "fixed.ogg", "boom.ogg", "tick.ogg"}) WriteOgg(dir / ("DATA/SFX/" + std::string(sound)));
  WriteOgg(dir / "DATA/MUSIC/menu.ogg", 0.2);
  WriteOgg(dir / "DATA/MUSIC/tune.ogg", 0.2);
}

GameRun RunGame(const std::string& baseDirectory, const std::string& options, int timeoutSeconds) {
  GameRun run;
  run.status = RunCommand("SDL_AUDIODRIVER=dummy timeout " + std::to_string(timeoutSeconds) + " " QUORVEX_BINARY " --data '" +
                              baseDirectory + "' " + options,
                          run.output);
  return run;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TestName(const std::string& text) {
  std::string name;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      name += c;
    else
      name += c == '-' ? "Minus" : "_";
  }
  return name;
}

JsonValue ReadDump(const std::string& path) {
  JsonValue value;
  std::string error;
  const std::string text = ReadFile(path);
  EXPECT_FALSE(text.empty()) << "no dump at " << path;
  EXPECT_TRUE(ParseJson(text, value, error)) << path << ": " << error;
  return value;
}

uint32_t Picture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const size_t i = (static_cast<size_t>(y) * width + x) * 3;
  return rgb[i] | (rgb[i + 1] << 8) | (rgb[i + 2] << 16);
}

int Picture::Count(uint32_t colour) const {
  int n = 0;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) n += At(x, y) == colour;
  return n;
}

int Picture::CountNear(uint32_t colour, int tolerance) const {
  auto near = [tolerance](uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
      if (d > tolerance || d < -tolerance) return false;
    }
    return true;
  };
  int n = 0;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) n += near(At(x, y), colour);
  return n;
}

Picture ReadPng(const std::string& path) {
  Picture picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << "cannot read " << path;
    return picture;
  }
  image.format = PNG_FORMAT_RGB;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
    ADD_FAILURE() << "cannot decode " << path;
    picture = Picture{};
  }
  return picture;
}
