// quorvex-map on the demo: the island exported and imported again through a picture, TMX, TMJ and
// Tiled's own converter gives the very map files back; Tiled's rasterizer and our preview draw
// the same picture; a refused import changes nothing; the levels it reports are the levels the
// game builds; a world painted anew imports, checks clean and plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/game_run.h"
#include "support/sample_files.h"

namespace fs = std::filesystem;

namespace {

const std::string kMaps = "/DATA/MAPS/ISLAND";

GameRun RunMap(const std::string& arguments) {
  GameRun run;
  run.status = RunCommand("timeout 300 " QUORVEX_MAP_BINARY " " + arguments, run.output);
  return run;
}

// One of Tiled's own tools, without a display, in a directory.
GameRun RunTiled(const std::string& directory, const std::string& arguments) {
  GameRun run;
  run.status = RunCommand("cd '" + directory + "' && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp timeout 300 " + arguments, run.output);
  return run;
}

// The file with its cells left out and its size 0 x 0: one cell, its header lines kept.
std::string OneCell(const std::string& file, const std::string& cell) {
  std::string out;
  size_t at = 0;
  for (int line = 1; line <= 5; line++) {
    const size_t end = file.find("\r\n", at);
    out += (line == 2 || line == 3 ? "0" : file.substr(at, end - at)) + "\r\n";
    at = end + 2;
  }
  return out + cell;
}

// A copy of a demo base, to change.
std::string CopyBase(const TempDir& dir, const std::string& base) {
  fs::copy(kContent + base, dir / base, fs::copy_options::recursive);
  return dir / base;
}

struct Route {
  const char* name;
  const char* exported;                  // what quorvex-map writes
  std::vector<std::string> conversions;  // Tiled's command lines on it, in the export's directory
  const char* imported;                  // what quorvex-map reads back
  bool translucent = false;              // some cells' opacity below 255
};

// The island's value file with cells 0 and 1 at opacity 128 and 0.
std::string Translucent(std::string values) {
  size_t at = 0;
  for (int line = 0; line < 5; line++) at = values.find("\r\n", at) + 2;
  return values.replace(at, 10, "128\r\n0\r\n");
}

TEST(MapTool, TheIslandThroughAPictureTiledsFormatsAndTiledItselfGivesItsMapFilesBack) {
  const Route routes[] = {
      {"picture", "island.png", {}, "island.png"},
      {"TMX", "island.tmx", {}, "island.tmx"},
      {"TMJ", "island.tmj", {}, "island.tmj"},
      {"TMX through Tiled to JSON", "island.tmx", {"tiled --export-map json island.tmx tiled.tmj"}, "tiled.tmj"},
      {"TMJ through Tiled to TMX and JSON", "island.tmj",
       {"tiled --export-map tmx island.tmj tiled.tmx", "tiled --export-map json tiled.tmx again.tmj"}, "again.tmj"},
      {"opacities through TMX and Tiled to JSON", "island.tmx", {"tiled --export-map json island.tmx tiled.tmj"}, "tiled.tmj", true},
      {"opacities through TMJ", "island.tmj", {}, "island.tmj", true},
      {"opacities through a picture", "island.png", {}, "island.png", true},
  };
  const std::string cells = ReadFile(kContent + "world" + kMaps + ".ai42"), opaque = ReadFile(kContent + "world" + kMaps + ".red");
  for (const Route& route : routes) {
    SCOPED_TRACE(route.name);
    TempDir dir;
    const std::string base = CopyBase(dir, "world");
    const std::string values = route.translucent ? Translucent(opaque) : opaque;
    dir.Write("world" + kMaps + ".red", values);
    dir.MakeDir("out");
    GameRun run = RunMap("export --data '" + base + "' '" + dir / "out" + "/" + route.exported + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const std::string& conversion : route.conversions) {
      run = RunTiled(dir / "out", conversion);
      ASSERT_EQ(run.status, 0) << conversion << "\n" << run.output;
    }
    // Another map in the files, so that only the import can bring the island back.
    dir.Write("world" + kMaps + ".ai42", OneCell(cells, "150\r\n110\r\n086\r\n"));
    dir.Write("world" + kMaps + ".red", OneCell(values, "7\r\n"));
    run = RunMap("import --data '" + base + "' '" + dir / "out" + "/" + route.imported + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(ReadFile(base + kMaps + ".ai42") == cells) << "the cell file differs";
    EXPECT_TRUE(ReadFile(base + kMaps + ".red") == values) << "the value file differs";
  }
}

TEST(MapTool, TiledsRasterizerAndOurPreviewDrawTheIslandAlike) {
  TempDir dir;
  const std::string base = CopyBase(dir, "world");
  ASSERT_EQ(RunMap("export --data '" + base + "' '" + dir / "island.tmx" + "'").status, 0);
  const GameRun ours = RunMap("preview --data '" + base + "' '" + dir / "ours.png" + "'");
  ASSERT_EQ(ours.status, 0) << ours.output;
  const GameRun theirs = RunTiled(dir.Path(), "tmxrasterizer island.tmx theirs.png");
  ASSERT_EQ(theirs.status, 0) << theirs.output;
  const Picture a = ReadPng(dir / "ours.png"), b = ReadPng(dir / "theirs.png");
  ASSERT_EQ(a.width, 80 * 40);
  ASSERT_EQ(a.height, 60 * 40);
  ASSERT_EQ(b.width, a.width);
  ASSERT_EQ(b.height, a.height);
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < a.height; y++)
    for (int x = 0; x < a.width; x++)
      if (a.At(x, y) != b.At(x, y) && differing++ == 0) firstX = x, firstY = y;
  EXPECT_EQ(differing, 0) << "first at (" << firstX << ", " << firstY << "): ours " << std::hex << a.At(firstX, firstY)
                          << ", Tiled's " << b.At(firstX, firstY);
}

TEST(MapTool, ARefusedImportSaysWhyAndLeavesTheMapFilesByteForByte) {
  struct Refused {
    const char* what;
    const char* file;
    std::function<void(const TempDir&)> make;
    const char* said;
  };
  const Refused cases[] = {
      {"a colour naming no tile", "bad.png",
       [](const TempDir& d) { d.Write("bad.png", AsString(EncodePng(2, 1, 6, 8, {150, 110, 86, 255, 1, 1, 1, 255}))); },
       "bad.png: pixel (1, 0) of colour 1, 1, 1 names no tile"},
      {"a flipped tile", "bad.tmx",
       [](const TempDir& d) {
         // The first cell's tile, flipped horizontally.
         std::string map = ReadFile(d / "island.tmx");
         const size_t at = map.find("<data encoding=\"csv\">\n") + 22, end = map.find(',', at);
         map.replace(at, end - at, std::to_string(std::stoul(map.substr(at, end - at)) + 0x80000000ul));
         d.Write("bad.tmx", map);
       },
       "bad.tmx: cell (0, 0) holds a flipped or rotated tile"},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string base = CopyBase(dir, "world");
    ASSERT_EQ(RunMap("export --data '" + base + "' '" + dir / "island.tmx" + "'").status, 0);
    c.make(dir);
    const GameRun run = RunMap("import --data '" + base + "' '" + dir / c.file + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("nothing written"), std::string::npos) << run.output;
    EXPECT_TRUE(ReadFile(base + kMaps + ".ai42") == ReadFile(kContent + "world" + kMaps + ".ai42"));
    EXPECT_TRUE(ReadFile(base + kMaps + ".red") == ReadFile(kContent + "world" + kMaps + ".red"));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(base + "/DATA/MAPS")) files += entry.is_regular_file();
    EXPECT_EQ(files, 2u) << "no temporary file is left";
  }
}

// The figures of `levels` are those of the levels the game builds: level 1 as a game begins,
// levels 2 and 3 after Page Up.
TEST(MapTool, LevelsReportsTheLevelsTheGameBuildsAndWarnsOfThoseThatCannotPlay) {
  TempDir dir;
  const std::string base = CopyBase(dir, "labyrinth");
  const GameRun levels = RunMap("levels --data '" + base + "' --count 3");
  ASSERT_EQ(levels.status, 0) << levels.output;
  dir.Write("up.txt", "0 down P\n6 up P\n60 down PGUP\n80 up PGUP\n140 down PGUP\n160 up PGUP\n");
  const GameRun game = RunGame(base, "--fast --windowed 1280x720 --frames 220 --replay '" + dir / "up.txt" + "' --dump 50:'" +
                                         dir / "1.json" + "' --dump 130:'" + dir / "2.json" + "' --dump 210:'" + dir / "3.json" + "'");
  ASSERT_EQ(game.status, 0) << game.output;
  for (int level = 1; level <= 3; level++) {
    const JsonValue dump = ReadDump(dir / (std::to_string(level) + ".json"));
    ASSERT_EQ(dump["level"].Int(), level);
    const std::string line = "level " + std::to_string(level) + ": size " + std::to_string(dump["mapWidth"].Int()) + " x " +
                             std::to_string(dump["mapHeight"].Int()) + ", ";
    const std::string figures = ", tiles left " + std::to_string(dump["tilesLeft"].Int()) + ", clock " +
                                std::to_string(dump["timeLeft"].Int()) + " s";
    const size_t at = levels.output.find(line);
    ASSERT_NE(at, std::string::npos) << line << "\n" << levels.output;
    EXPECT_NE(levels.output.substr(at, levels.output.find('\n', at) - at).find(figures), std::string::npos) << figures << "\n" << levels.output;
  }

  // The seeds that were found to grow a first level that cannot play.
  const std::pair<const char*, const char*> seeds[] = {{"777", "no tiles to do: the game goes on to level 2 at once"},
                                                        {"100", "a clock of 0"}};
  for (const auto& [seed, warning] : seeds) {
    std::string settings = ReadFile(base + "/DATA/ini.txt");
    dir.Write("labyrinth/DATA/ini.txt", settings + "WORLDRANDOM\r\n" + seed + "\r\n");
    const GameRun run = RunMap("levels --data '" + base + "' --count 1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(std::string("level 1: ")), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(warning), std::string::npos) << seed << ": " << run.output;
    dir.Write("labyrinth/DATA/ini.txt", settings);
  }
}

// A world painted as a paint program would write it: the demo's tiles by their colours, a
// meadow with a path across it, sea all round.
TEST(MapTool, AWorldPaintedAsAPictureImportsChecksCleanAndPlays) {
  TempDir dir;
  const std::string base = CopyBase(dir, "world");
  const uint8_t sea[] = {20, 60, 110}, grass[] = {80, 150, 60}, path[] = {190, 160, 120};  // path: east and west (2 + 8)
  Bytes pixels;
  for (int y = 0; y < 20; y++)
    for (int x = 0; x < 30; x++) {
      const uint8_t* c = x == 0 || y == 0 || x == 29 || y == 19 ? sea : y == 10 ? path : grass;
      pixels.insert(pixels.end(), {c[0], c[1], c[2], 255});
    }
  dir.Write("painted.png", AsString(EncodePng(30, 20, 6, 8, pixels)));
  const GameRun run = RunMap("import --data '" + base + "' '" + dir / "painted.png" + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const GameRun check = RunGame(base, "--check");
  EXPECT_EQ(check.status, 0) << check.output;
  dir.Write("go.txt", "0 down P\n5 up P\n");
  const GameRun play = RunGame(base, "--fast --windowed 1280x720 --frames 90 --replay '" + dir / "go.txt" + "' --dump 90:'" + dir / "d.json" + "'");
  ASSERT_EQ(play.status, 0) << play.output;
  const JsonValue dump = ReadDump(dir / "d.json");
  EXPECT_EQ(dump["mapWidth"].Int(), 29);
  EXPECT_EQ(dump["mapHeight"].Int(), 19);
  const JsonValue& tiles = dump["tiles"];
  EXPECT_EQ(tiles[size_t{0}][size_t{0}].text, "020060110");
  EXPECT_EQ(tiles[size_t{5}][size_t{5}].text, "080150060");
  EXPECT_EQ(tiles[size_t{10}][size_t{7}].text, "190160120");
}

TEST(MapTool, ABadCommandLineIsStatus2AndHelpNamesEveryCommand) {
  for (const char* line : {"", "paint x.png", "export", "export x.bmp", "preview x.tmx", "levels x.png", "import --level 2 x.png",
                           "export --world --data . x.png", "levels --count 0"}) {
    const GameRun run = RunMap(line);
    EXPECT_EQ(run.status, 2) << line << ": " << run.output;
  }
  const GameRun help = RunMap("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* command : {"export", "import", "preview", "levels"}) EXPECT_NE(help.output.find(command), std::string::npos);
  EXPECT_EQ(RunMap("--version").output, "quorvex-map 1.0.0\n");
}

}  // namespace
