// Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/<target>/: small files made
// by our own encoders (the tests' sample files) and by hand, and small files of the demo content
// (made by our generators). Run by hand when a target is added; the output is committed.
//   quorvex_fuzz_seeds [CORPUS_DIR]
#include <png.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/preferences.h"
#include "support/sample_files.h"

namespace fs = std::filesystem;

namespace {

fs::path corpus;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
  fs::create_directories(corpus / target);
  std::ofstream(corpus / target / name, std::ios::binary) << bytes;
}

// A demo file, cut to its first `most` bytes (the fuzzers read small inputs).
std::string Demo(const std::string& path, size_t most = 4096) {
  std::ifstream in(fs::path(QUORVEX_SOURCE_DIR) / "content" / path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) {
    std::cerr << "make_seeds: no content/" << path << "\n";
    std::exit(1);
  }
  return bytes.substr(0, most);
}

Bytes Rgba(int w, int h) {
  Bytes out;
  for (int i = 0; i < w * h; i++)
    out.insert(out.end(), {static_cast<uint8_t>(i * 40), static_cast<uint8_t>(255 - i * 9), static_cast<uint8_t>(i & 1 ? 255 : 0),
                           static_cast<uint8_t>(i % 3 ? 255 : 128)});
  return out;
}

Bytes Rgb(int w, int h) {
  Bytes out;
  for (int i = 0; i < w * h; i++) out.insert(out.end(), {static_cast<uint8_t>(i * 40), 20, static_cast<uint8_t>(255 - i)});
  return out;
}

// Little-endian tile numbers, as base64 layers hold them.
std::string Gids(const std::vector<uint32_t>& gids) {
  std::string out;
  for (uint32_t g : gids)
    for (int k = 0; k < 4; k++) out += static_cast<char>((g >> (8 * k)) & 0xFF);
  return out;
}

const char* const kTsx =
    "<?xml version=\"1.0\"?>\n<tileset name=\"ISLAND\" tilewidth=\"40\" tileheight=\"40\" tilecount=\"3\" columns=\"0\">\n"
    " <tile id=\"0\"><properties><property name=\"code\" value=\"150110086\"/></properties><image width=\"40\" height=\"40\" source=\"a.png\"/></tile>\n"
    " <tile id=\"1\"><properties><property name=\"code\" value=\"020060110\"/></properties></tile>\n"
    " <tile id=\"2\"><properties><property name=\"opacity\" type=\"int\" value=\"128\"/></properties></tile>\n</tileset>\n";

std::string Tmx(const std::string& data, const std::string& extra = "") {
  return "<?xml version=\"1.0\"?>\n<map version=\"1.8\" orientation=\"orthogonal\" width=\"2\" height=\"2\" tilewidth=\"40\" "
         "tileheight=\"40\" infinite=\"0\">\n <tileset firstgid=\"1\" source=\"island.tsx\"/>\n <layer id=\"1\" name=\"tiles\" "
         "width=\"2\" height=\"2\">\n  " + data + "\n </layer>\n" + extra + "</map>\n#tileset\n" + kTsx;
}

const char* const kTsj =
    "{\"name\":\"ISLAND\",\"tilewidth\":40,\"tileheight\":40,\"tilecount\":3,\"columns\":0,\"type\":\"tileset\",\"tiles\":["
    "{\"id\":0,\"image\":\"a.png\",\"properties\":[{\"name\":\"code\",\"type\":\"string\",\"value\":\"150110086\"}]},"
    "{\"id\":1,\"properties\":[{\"name\":\"code\",\"type\":\"string\",\"value\":\"020060110\"}]},"
    "{\"id\":2,\"properties\":[{\"name\":\"opacity\",\"type\":\"int\",\"value\":128}]}]}\n";

std::string Tmj(const std::string& layer, const std::string& extra = "") {
  return "{\"type\":\"map\",\"orientation\":\"orthogonal\",\"width\":2,\"height\":2,\"tilewidth\":40,\"tileheight\":40,"
         "\"infinite\":false,\"tilesets\":[{\"firstgid\":1,\"source\":\"island.tsj\"}],\"layers\":[{\"type\":\"tilelayer\","
         "\"name\":\"tiles\",\"width\":2,\"height\":2," + layer + "}" + extra + "]}\n#tileset\n" + kTsj;
}

void PutMapSeeds() {
  // Painted maps: codes in three digits, plain, and one that names no tile.
  const Bytes codes = {150, 110, 86, 255, 0, 0, 0, 0, 1, 2, 3, 128, 12, 0, 7, 0, 20, 60, 110, 255, 9, 9, 9, 255};
  Put("map_png", "codes.png", AsString(EncodePng(3, 2, PNG_COLOR_TYPE_RGBA, 8, codes)));
  Put("map_png", "grey.png", AsString(EncodePng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 255})));
  Put("map_png", "palette.png", AsString(EncodePng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0x1B}, {150, 110, 86, 1, 2, 3, 255, 255, 255, 0, 0, 0}, {255, 0})));
  // Tiled's maps with each layer format it writes, a hidden opacity layer, a group, flips.
  const std::vector<uint32_t> gids = {1, 2, 2, 0};
  Put("tmx", "csv", Tmx("<data encoding=\"csv\">\n1,2,\n2,0\n</data>"));
  Put("tmx", "xml", Tmx("<data><tile gid=\"1\"/><tile gid=\"2\"/><tile/><tile gid=\"1\"/></data>"));
  Put("tmx", "base64", Tmx("<data encoding=\"base64\">" + Base64(Gids(gids)) + "</data>"));
  for (const char* kind : {"zlib", "gzip", "zstd"}) {
    Put("tmx", kind, Tmx("<data encoding=\"base64\" compression=\"" + std::string(kind) + "\">" + Base64(Pack(kind, Gids(gids))) + "</data>"));
    Put("tmj", kind, Tmj("\"encoding\":\"base64\",\"compression\":\"" + std::string(kind) + "\",\"data\":\"" + Base64(Pack(kind, Gids(gids))) + "\""));
  }
  Put("tmx", "opacity-group", Tmx("<data encoding=\"csv\">1,2,2,1</data>",
                                  " <group name=\"g\"><layer name=\"opacity\" width=\"2\" height=\"2\" visible=\"0\"><data encoding=\"csv\">3,0,0,3</data></layer></group>\n"));
  Put("tmx", "flipped", Tmx("<data encoding=\"csv\">2147483649,2,2,1</data>"));
  Put("tmx", "embedded", "<map orientation=\"orthogonal\" width=\"1\" height=\"1\"><tileset firstgid=\"5\" name=\"e\">"
                         "<tile id=\"0\"><properties><property name=\"code\">LAB_WALL</property></properties></tile></tileset>"
                         "<layer name=\"t\"><data encoding=\"csv\">5</data></layer></map>\n");
  Put("tmj", "csv", Tmj("\"data\":[1,2,2,0]"));
  Put("tmj", "opacity", Tmj("\"data\":[1,2,2,1]", ",{\"type\":\"group\",\"layers\":[{\"type\":\"tilelayer\",\"name\":\"opacity\",\"data\":[3,0,0,3]}]}"));
  Put("tmj", "embedded", "{\"width\":1,\"height\":1,\"tilesets\":[{\"firstgid\":1,\"tiles\":[{\"id\":0,\"properties\":"
                         "[{\"name\":\"code\",\"type\":\"string\",\"value\":\"LAB_WALL\"}]}]}],\"layers\":[{\"type\":\"tilelayer\",\"data\":[1]}]}\n");
}

}  // namespace

int main(int argc, char** argv) {
  corpus = argc > 1 ? fs::path(argv[1]) : fs::path(QUORVEX_SOURCE_DIR) / "tests/fuzz/corpus";
  fs::remove_all(corpus);

  // Line-pair files: the demo's own, and a few by hand that reach the odd corners.
  Put("settings", "labyrinth.txt", Demo("labyrinth/DATA/ini.txt"));
  Put("settings", "world.txt", Demo("world/DATA/ini.txt"));
  Put("settings", "numbers.txt",
      "RESOLUTION\n32x32\nMAPSIZE\n-5\nCURSORSPEED\n300\nWORLDRANDOM\n7\nWORLDRANDOM\n-2147483648\nFULLSCREENZOOM\n.5e1\n"
      "EGFXMAX\n2147483647\nRESBASEW\n0\nUSESELFCREATEBASE\n257\nMAPSIZE \n3\nWINDOWMODE\n1\nUSESPRITE3D\n0\nKEY");
  Put("settings", "line-ends.txt", std::string("APPNAME\r\nQuorvex\rGAMEMODE\0HARDCORE\r\n", 35));
  for (const char* tile : {"LAB_FLOOR", "LAB_WALL", "LAB_WATER_E", "LAB_BLUE_FLOOR"})
    Put("tile", tile, Demo(std::string("labyrinth/DATA/RGB/LAB/") + tile));
  Put("tile", "children", "GFXNAME\n\nCHILD1\nCOIN\nCHILD8\nBOMB\nCHILD3\n#\nTRANSPARENCY\n-4\nUSEDIRECTION\nUP\nVALUE1\n99\n"
                          "USECOLLISION\n258\nUSEENEMY\n1\nRANDOMSEED\n5\nINTERNALNAME\nx");
  for (const char* object : {"coin", "bomb", "spinner", "wisp", "clock"})
    Put("objects", object, Demo(std::string("labyrinth/DATA/OBJ/") + object + ".dll"));
  Put("objects", "hotspots", "DGFXNAME\nCOIN\nDHOTSPOT\nBOTTOMRIGHT\nDFITTOMATRIX\n1\nDCENTERFIELD\n1\nDISENEMY\n1\nDDENSITY\n0\n"
                             "DXMODE1\n2\nDXMODE2\n5\nDROTATE\n-7\nDMOVEX\n3\nDVELOX\n-2\nDAILEVEL\n2\nDCOUNTTOSCORE\n1\nDSCORE\n10");
  Put("font", "demo", Demo("labyrinth/DATA/CHARS.txt"));
  Put("font", "few", "AB a.1 S\\I|\n");
  Put("base", "demo", Demo("labyrinth/DATA/LABYRINTH.txt"));
  Put("base", "small", "x\n6\n9\n\n\n");
  Put("base", "huge", "x\n99999999\n-7\n");
  for (const char* name : {"mini-walk", "demo-level", "demo-screens"}) {
    std::ifstream in(fs::path(QUORVEX_SOURCE_DIR) / "tests/e2e/golden" / (std::string(name) + ".replay"));
    Put("replay", name, std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()).substr(0, 4096));
  }
  Put("replay", "keys", "0 down P # start\n6 up P\n\n7 down 0x1E\n9 up 0x1E\n10 down JOY_LEFT\n12 up JOY_LEFT\n13 down JOY32\n");
  Put("preferences", "written", FormatPreferences(Preferences{}));
  Put("preferences", "bindings", "fullscreen = no\nwindow-size = 800x450\nmusic-volume = 30 # quiet\r\nkey.walk-left = a\n"
                                 "key.bomb = Space, 0x56\nkey.pause = space\nbutton.pause = Start, 12\nkey.next-level =\nmute\n");
  Put("replay", "window", "4 down P\n4 up P\n8 window focus-lost\n9 window minimized\n11 window restored\n"
                          "12 window focus-gained\n14 down JOY3\n14 up JOY3\n");

  // Images: every TGA kind, and PNG, JPEG and TIFF from the reference encoders.
  Put("tga", "true24", AsString(MakeTga({2, 24, 0x20, 2, 2}, {}, Bytes(12, 200))));
  Put("tga", "true32-bottom", AsString(MakeTga({2, 32, 0x08, 2, 1}, {}, {1, 2, 3, 4, 5, 6, 7, 8})));
  Put("tga", "true16-right", AsString(MakeTga({2, 16, 0x11, 2, 1}, {}, {0x1F, 0x80, 0xE0, 0x03})));
  Put("tga", "mapped", AsString(MakeTga({1, 8, 0x20, 2, 2, 1, 0, 2, 24}, {0, 0, 255, 0, 255, 0}, {0, 1, 1, 0})));
  Put("tga", "grey", AsString(MakeTga({3, 8, 0x20, 3, 1}, {}, {0, 128, 255})));
  Put("tga", "rle", AsString(MakeTga({10, 24, 0x20, 4, 2}, {}, {0x83, 10, 20, 30, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})));
  Put("tga", "rle-grey", AsString(MakeTga({11, 8, 0x20, 5, 1}, {}, {0x82, 7, 0x01, 9, 10})));
  Put("image", "rgba.png", AsString(EncodePng(3, 2, PNG_COLOR_TYPE_RGBA, 8, Rgba(3, 2))));
  Put("image", "palette.png", AsString(EncodePng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0x1B}, {255, 0, 255, 0, 0, 0, 9, 9, 9, 200, 1, 1}, {0, 255})));
  Put("image", "grey16-interlaced.png", AsString(EncodePng(3, 3, PNG_COLOR_TYPE_GRAY, 16, Bytes(18, 0x7F), {}, {}, true)));
  Put("image", "rgb.jpg", AsString(EncodeJpeg(8, 8, Rgb(8, 8), 80)));
  Put("image", "rgba.tif", AsString(EncodeTiff(2, 2, Rgba(2, 2))));
  Put("image", "mapped.tga", AsString(MakeTga({9, 8, 0x20, 3, 1, 1, 0, 2, 24}, {255, 0, 255, 1, 2, 3}, {0x82, 1})));
  Put("image", "demo-coin.png", Demo("labyrinth/DATA/OBJ/coin.png"));

  // Sounds: WAVs of several formats and short OGG tones.
  Put("sound", "u8-mono-11025.wav", AsString(MakeWav(1, 11025, 8, Bytes(64, 0xC0))));
  Put("sound", "s16-stereo-48000.wav", AsString(MakeWav(2, 48000, 16, Pcm16(std::vector<int16_t>(64, -300)))));
  Put("sound", "s16-mono-1000.wav", AsString(MakeWav(1, 1000, 16, Pcm16(std::vector<int16_t>(20, 900)))));
  Put("sound", "tone-mono.ogg", AsString(EncodeOggSine(1, 8000, 0.05, 440.0, 0.5)));
  Put("sound", "tone-stereo.ogg", AsString(EncodeOggSine(2, 22050, 0.02, 660.0, 0.3)));

  // World maps: cells, then "#red" and the values.
  Put("world", "small", "world\n2\n1\n\n\n150\n110\n086\n1\n2\n3\nLAB\n_FL\nOOR\n0\n0\n0\n9\n9\n9\n150\n110\n086\n#red\n"
                        "a\nb\nc\nd\ne\n255\n0\n128\n255\n255\n7\n");
  Put("world", "tall", "world\n1\n600\n\n\n" + [] {
    std::string s;
    for (int i = 0; i < 40; i++) s += "LAB_\nWA\nLL\n";
    return s;
  }());
  Put("world", "demo", Demo("world/DATA/MAPS/ISLAND.ai42", 2000) + "\n#red\n" + Demo("world/DATA/MAPS/ISLAND.red", 600));
  PutMapSeeds();
  std::cout << "seeds written to " << corpus << "\n";
  return 0;
}
