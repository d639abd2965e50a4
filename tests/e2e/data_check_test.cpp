// `quorvex --check`: the demo directories check clean, and each mistake planted in a copy of
// a demo is reported in one line naming the file to mend, with exit status 1. The checker runs
// without a display, as it must: it opens no window and no sound device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/game_run.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {


struct CheckRun {
  int status = -1;
  std::vector<std::string> lines;
};

CheckRun RunCheck(const std::string& options) {
  std::string output;
  CheckRun run;
  run.status = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY timeout 120 " QUORVEX_BINARY " --check " + options, output);
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) run.lines.push_back(line);
  return run;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(DataCheck, BothDemoDirectoriesCheckClean) {
  for (const char* demo : {"labyrinth", "world"}) {
    const CheckRun run = RunCheck("--data '" + kContent + demo + "'");
    EXPECT_EQ(run.status, 0) << Joined(run.lines);
    ASSERT_EQ(run.lines.size(), 1u) << Joined(run.lines);
    EXPECT_EQ(run.lines[0].rfind("quorvex --check: no problems in " + kContent + demo + " (" + demo + " mode, ", 0), 0u)
        << run.lines[0];
  }
}

TEST(DataCheck, ABadCommandLineOrAMissingDirectoryIsNoCleanCheck) {
  CheckRun run = RunCheck("--frames 3");
  EXPECT_EQ(run.status, 2) << Joined(run.lines);
  TempDir dir;
  run = RunCheck("--data '" + dir / "nowhere" + "'");
  EXPECT_EQ(run.status, 1) << Joined(run.lines);
  run = RunCheck("--data '" + dir.Path() + "'");
  EXPECT_EQ(run.status, 1) << Joined(run.lines);
  ASSERT_EQ(run.lines.size(), 2u) << Joined(run.lines);
  EXPECT_EQ(run.lines[0].rfind(dir.Path() + "/DATA/ini.txt: error: there is no configuration file", 0), 0u) << run.lines[0];
}

// ---- Planting mistakes in a copy of a demo ----------------------------------------------------

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Replaces the first line that reads `from` (its line end kept) with `to`.
void ReplaceLine(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = ReadText(path);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const size_t content = (end > start && text[end - 1] == '\r') ? end - 1 : end;
    if (text.compare(start, content - start, from) == 0 && content - start == from.size()) {
      text.replace(start, content - start, to);
      WriteText(path, text);
      return;
    }
    start = end + 1;
  }
  FAIL() << path << " has no line " << from;
}

// Gives the first pair of `key` a new value line.
void SetValue(const std::string& path, const std::string& key, const std::string& value) {
  std::string text = ReadText(path);
  const size_t at = text.find(key + "\r\n");
  ASSERT_NE(at, std::string::npos) << path << " has no key " << key;
  const size_t start = at + key.size() + 2;
  text.replace(start, text.find('\r', start) - start, value);
  WriteText(path, text);
}

// Removes lines first..first+count-1 (counted from 1).
void RemoveLines(const std::string& path, int first, int count) {
  std::istringstream in(ReadText(path));
  std::string text, line;
  for (int number = 1; std::getline(in, line); number++)
    if (number < first || number >= first + count) text += line + "\n";
  WriteText(path, text);
}

// Removes the pair whose key line reads `key`.
void RemovePair(const std::string& path, const std::string& key) {
  std::string text = ReadText(path);
  const size_t at = text.find("\n" + key + "\r\n");
  ASSERT_NE(at, std::string::npos) << path << " has no key " << key;
  const size_t valueEnd = text.find('\n', at + key.size() + 3);
  text.erase(at + 1, valueEnd - at);
  WriteText(path, text);
}

void Append(const std::string& path, const std::string& text) { WriteText(path, ReadText(path) + text); }

// The lines of a demo's file as shipped, without their line ends.
std::vector<std::string> DemoLines(const std::string& demo, const std::string& file) {
  std::istringstream in(ReadText(kContent + demo + "/DATA/" + file));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1));
  return lines;
}

// Where a report must start: "DATA/FILE:N: KIND: ", N being the number of the first line of the
// shipped demo file that reads `text` (or, with no text, the value line of a pair appended), so
// the table follows the demo when its files are retuned.
std::string At(const std::string& demo, const std::string& file, const std::string& text, const std::string& kind) {
  const std::vector<std::string> lines = DemoLines(demo, file);
  size_t number = lines.size() + 2;
  for (size_t i = 0; i < lines.size() && !text.empty(); i++)
    if (lines[i] == text) {
      number = i + 1;
      break;
    }
  if (!text.empty() && number == lines.size() + 2) ADD_FAILURE() << file << " of the " << demo << " demo has no line " << text;
  return "DATA/" + file + ":" + std::to_string(number) + ": " + kind + ": ";
}

void Remove(const std::string& path) { ASSERT_TRUE(std::filesystem::remove(path)) << path; }

// A mistake: planted into a copy of a demo's DATA directory (the path ends with "/"), and the
// one line that must report it.
struct Mistake {
  const char* what;
  const char* demo;
  std::function<void(const std::string& data)> plant;
  std::string where;  // the line's start after the base directory: "DATA/...[:LINE]: error: "
  const char* says;   // a piece of the line
};

std::ostream& operator<<(std::ostream& out, const Mistake& m) { return out << m.what; }

class PlantedMistake : public ::testing::TestWithParam<Mistake> {};

TEST_P(PlantedMistake, IsReportedInOneLineNamingTheFile) {
  const Mistake& m = GetParam();
  TempDir dir;
  const std::string base = dir / "base";
  std::filesystem::copy(kContent + m.demo, base, std::filesystem::copy_options::recursive);
  ASSERT_NO_FATAL_FAILURE(m.plant(base + "/DATA/"));
  const CheckRun run = RunCheck("--data '" + base + "'");
  EXPECT_EQ(run.status, 1) << Joined(run.lines);
  ASSERT_EQ(run.lines.size(), 2u) << "one problem line and the summary:\n" << Joined(run.lines);
  EXPECT_EQ(run.lines[0].rfind(base + "/" + m.where, 0), 0u) << run.lines[0];
  EXPECT_NE(run.lines[0].find(m.says), std::string::npos) << run.lines[0];
  EXPECT_EQ(run.lines[1].rfind("quorvex --check: 1 ", 0), 0u) << run.lines[1];
}

// The text with the number before " files read" taken out.
std::string WithoutFileCount(std::string text) {
  const size_t at = text.find(" files read");
  if (at == std::string::npos) return text;
  size_t start = at;
  while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') start--;
  return text.erase(start, at - start);
}

// The walk-through that closes docs/data-format.md, run as the page writes it: its sh blocks in
// order, from a directory laid out like the repository's root (content/ and build/quorvex), and
// the check's last line against the output the page shows after them.
TEST(DataCheck, TheDataFormatWalkThroughChecksClean) {
  const std::string page = ReadText(std::string(QUORVEX_SOURCE_DIR) + "/docs/data-format.md");
  const size_t section = page.find("\n## Walk-through");
  ASSERT_NE(section, std::string::npos) << "the page has no walk-through";
  std::istringstream in(page.substr(section + 1));
  std::string line, language, block, script = "set -e\n", shown;
  bool inBlock = false;
  for (std::getline(in, line); std::getline(in, line) && line.rfind("## ", 0) != 0;) {
    if (line.rfind("```", 0) == 0) {
      if (!inBlock) {
        language = line.substr(3);
        block.clear();
      } else if (language == "sh") {
        script += block;
        shown.clear();
      } else if (language == "text" && shown.empty()) {
        shown = block;
      }
      inBlock = !inBlock;
      continue;
    }
    if (inBlock) block += line + "\n";
  }
  ASSERT_NE(script.find("--check"), std::string::npos) << script;
  ASSERT_FALSE(shown.empty()) << "the page shows no output after its steps";

  TempDir root;
  root.MakeDir("build");
  std::filesystem::create_symlink(std::string(QUORVEX_SOURCE_DIR) + "/content", root / "content");
  std::filesystem::create_symlink(QUORVEX_BINARY, root / "build/quorvex");
  root.Write("steps.sh", script);
  std::string output;
  const int status = RunCommand("cd '" + root.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY bash steps.sh", output);
  EXPECT_EQ(status, 0) << output;
  // The number of files read follows the demo; the rest is the page's word.
  EXPECT_EQ(WithoutFileCount(output), WithoutFileCount(shown));
}

INSTANTIATE_TEST_SUITE_P(
    Demo, PlantedMistake,
    ::testing::Values(
        // The mistakes a new user made, each of which the game bears in silence.
        Mistake{"a misspelt floor graphic", "labyrinth", [](const std::string& d) { ReplaceLine(d + "RGB/LAB/LAB_FLOOR", "floor.png", "flor.png"); },
                "DATA/RGB/LAB/LAB_FLOOR:4: error: ", "did you mean floor.png?"},
        Mistake{"a misspelt child", "labyrinth", [](const std::string& d) { ReplaceLine(d + "RGB/LAB/LAB_FLOOR", "COIN", "COIM"); },
                "DATA/RGB/LAB/LAB_FLOOR:6: error: ", "did you mean COIN?"},
        Mistake{"a misspelt RESOLUTION key", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "RESOLUTION", "RESOLUTON"); },
                At("labyrinth", "ini.txt", "RESOLUTION", "error"), "RESOLUTION is not set"},
        Mistake{"a RESOLUTION in words", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "80.0", "forty"); },
                At("labyrinth", "ini.txt", "80.0", "error"), "RESOLUTION \"forty\" is not a number"},
        Mistake{"the wall graphic deleted", "labyrinth", [](const std::string& d) { Remove(d + "TOPO/wall.png"); },
                "DATA/RGB/LAB/LAB_WALL:4: error: ", "DATA/TOPO/wall.png"},
        Mistake{"the blue floor tile deleted", "labyrinth", [](const std::string& d) { Remove(d + "RGB/LAB/LAB_BLUE_FLOOR"); },
                "DATA/RGB/LAB/LAB_BLUE_FLOOR: error: ", "LAB_BLUE_FLOOR"},
        Mistake{"the player's image deleted", "labyrinth", [](const std::string& d) { Remove(d + "GFX/PLAYER.png"); },
                At("labyrinth", "ini.txt", "DATA\\GFX\\PLAYER.png", "error"), "DATA/GFX/PLAYER.png"},
        Mistake{"the glyph of A deleted", "labyrinth", [](const std::string& d) { Remove(d + "FONT/A.png"); },
                "DATA/CHARS.txt:1: error: ", "DATA/FONT/A.png"},
        // The configuration.
        Mistake{"pairs out of step", "labyrinth", [](const std::string& d) { RemoveLines(d + "ini.txt", 4, 1); },
                "DATA/ini.txt:6: error: ", "out of step"},
        Mistake{"a key with a blank after it", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "LABSWITCH", "LABSWITCH "); },
                At("labyrinth", "ini.txt", "LABSWITCH", "warning"), "write LABSWITCH"},
        Mistake{"a directory without its backslash", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "DATA\\TOPO\\", "DATA\\TOPO"); },
                At("labyrinth", "ini.txt", "DATA\\TOPO\\", "error"), "TOPOGFX"},
        Mistake{"a directory setting left unset", "labyrinth", [](const std::string& d) { RemovePair(d + "ini.txt", "WORLDGFX"); },
                "DATA/ini.txt: warning: ", "WORLDGFX is not set"},
        Mistake{"a character list found only by ignoring case", "labyrinth",
                [](const std::string& d) { ReplaceLine(d + "ini.txt", "DATA\\CHARS.txt", "DATA\\chars.txt"); },
                At("labyrinth", "ini.txt", "DATA\\CHARS.txt", "warning"), "found only as DATA/CHARS.txt"},
        Mistake{"a credits picture without its #", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "DATA\\GFX\\LOAD#.png", "DATA\\GFX\\LOAD.png"); },
                At("labyrinth", "ini.txt", "DATA\\GFX\\LOAD#.png", "warning"), "without a #"},
        Mistake{"a credits picture missing", "labyrinth", [](const std::string& d) { Remove(d + "GFX/LOAD1.png"); },
                At("labyrinth", "ini.txt", "DATA\\GFX\\LOAD#.png", "error"), "DATA/GFX/LOAD1.png"},
        Mistake{"a misspelt sound", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "timer.ogg", "timer.og"); },
                At("labyrinth", "ini.txt", "timer.ogg", "error"), "did you mean timer.ogg?"},
        Mistake{"the world drawn by neither key", "labyrinth", [](const std::string& d) { Append(d + "ini.txt", "USESPRITE3D\r\n0\r\n"); },
                At("labyrinth", "ini.txt", "", "error"), "never drawn"},
        Mistake{"a screen size in words", "labyrinth", [](const std::string& d) { SetValue(d + "ini.txt", "SCREENSIZE", "1280 by 720"); },
                At("labyrinth", "ini.txt", "1280x720", "error"), "is not a screen size"},
        Mistake{"a labyrinth size the game clamps", "labyrinth", [](const std::string& d) { SetValue(d + "ini.txt", "MAPSIZE", "5000"); },
                At("labyrinth", "ini.txt", "64", "warning"), "1024"},
        Mistake{"no CURSORSPEED", "labyrinth", [](const std::string& d) { RemovePair(d + "ini.txt", "CURSORSPEED"); },
                "DATA/ini.txt: warning: ", "CURSORSPEED is not set"},
        Mistake{"a base width in words", "labyrinth", [](const std::string& d) { ReplaceLine(d + "LABYRINTH.txt", "20", "twenty"); },
                "DATA/LABYRINTH.txt:2: error: ", "not a whole number"},
        Mistake{"a directory setting in another letter case", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "DATA\\FONT\\", "DATA\\font\\"); },
                At("labyrinth", "ini.txt", "DATA\\FONT\\", "warning"), "found only as DATA/FONT/"},
        Mistake{"the tiles' directory in another letter case", "labyrinth", [](const std::string& d) { ReplaceLine(d + "ini.txt", "DATA\\RGB\\", "DATA\\rgb\\"); },
                At("labyrinth", "ini.txt", "DATA\\RGB\\", "warning"), "found only as DATA/RGB/LAB/"},
        Mistake{"a byte-order mark before a tile's first key", "labyrinth",
                [](const std::string& d) { WriteText(d + "RGB/LAB/LAB_FLOOR", "\xEF\xBB\xBF" + ReadText(d + "RGB/LAB/LAB_FLOOR")); },
                "DATA/RGB/LAB/LAB_FLOOR:1: warning: ", "UTF-8 byte-order mark"},
        Mistake{"a byte-order mark before the font's characters", "labyrinth",
                [](const std::string& d) { WriteText(d + "CHARS.txt", "\xEF\xBB\xBF" + ReadText(d + "CHARS.txt")); },
                "DATA/CHARS.txt:1: warning: ", "UTF-8 byte-order mark"},
        // Seeds that grow a first level that cannot be played as meant.
        Mistake{"a seed whose first level has nothing to do", "labyrinth", [](const std::string& d) { SetValue(d + "ini.txt", "WORLDRANDOM", "777"); },
                At("labyrinth", "ini.txt", "1695", "warning"), "level 1 with no tiles to do"},
        Mistake{"a seed whose first level has no time", "labyrinth", [](const std::string& d) { SetValue(d + "ini.txt", "WORLDRANDOM", "100"); },
                At("labyrinth", "ini.txt", "1695", "warning"), "level 1 with a clock of 0"},
        // Files that do not decode.
        Mistake{"a tile graphic that is no image", "labyrinth", [](const std::string& d) { WriteText(d + "TOPO/green.png", "not a picture"); },
                "DATA/TOPO/green.png: error: ", "does not decode"},
        Mistake{"a tile graphic too large to load", "labyrinth", [](const std::string& d) { ASSERT_TRUE(WriteSolidPng(d + "TOPO/green.png", 16385, 1, 0x00FF00)); },
                "DATA/TOPO/green.png: error: ", "is 16385 x 1 pixels, too large"},
        Mistake{"a tile graphic of another size than the tiles", "labyrinth", [](const std::string& d) { ASSERT_TRUE(WriteSolidPng(d + "TOPO/green.png", 40, 40, 0x00FF00)); },
                "DATA/TOPO/green.png: warning: ", "is 40 x 40 pixels, but RESOLUTION makes tiles of 80 x 80"},
        Mistake{"a sound that is no sound", "labyrinth", [](const std::string& d) { WriteText(d + "SFX/step.ogg", "not a sound"); },
                "DATA/SFX/step.ogg: error: ", "does not decode"},
        Mistake{"a music track cut short", "labyrinth", [](const std::string& d) { WriteText(d + "MUSIC/run.ogg", ReadText(d + "MUSIC/run.ogg").substr(0, 200)); },
                "DATA/MUSIC/run.ogg: error: ", "does not decode"},
        // The font.
        Mistake{"a drawn character left out of the font", "labyrinth",
                [](const std::string& d) { WriteText(d + "CHARS.txt", [&] { std::string t = ReadText(d + "CHARS.txt"); t.erase(t.find('Q'), 1); return t; }()); },
                "DATA/CHARS.txt:1: error: ", "the font has no \"Q\""},
        Mistake{"a glyph one pixel wide", "labyrinth", [](const std::string& d) { ASSERT_TRUE(WriteSolidPng(d + "FONT/A.png", 1, 40, 0)); },
                "DATA/FONT/A.png: warning: ", "the glyph of \"A\" is 1 pixel wide"},
        // Tiles and objects.
        Mistake{"a graphic named in another letter case", "labyrinth", [](const std::string& d) { ReplaceLine(d + "RGB/LAB/LAB_WATER", "water.png", "Water.png"); },
                "DATA/RGB/LAB/LAB_WATER:4: error: ", "write water.png"},
        Mistake{"a misspelt tile key", "labyrinth", [](const std::string& d) { ReplaceLine(d + "RGB/LAB/LAB_WALL", "RANDOMSEED", "RANDOMSEEED"); },
                "DATA/RGB/LAB/LAB_WALL:23: warning: ", "did you mean RANDOMSEED?"},
        Mistake{"a child slot after the last one scanned", "labyrinth", [](const std::string& d) { Append(d + "RGB/LAB/LAB_GREEN", "CHILD1\r\nCHERRY\r\n"); },
                "DATA/RGB/LAB/LAB_GREEN:8: warning: ", "CHILD2 never spawns"},
        Mistake{"an invisible tile", "labyrinth", [](const std::string& d) { SetValue(d + "RGB/LAB/LAB_WATER", "TRANSPARENCY", "255"); },
                "DATA/RGB/LAB/LAB_WATER:28: warning: ", "invisible"},
        Mistake{"an object image without its definition", "labyrinth",
                [](const std::string& d) { std::filesystem::copy_file(d + "OBJ/coin.png", d + "OBJ/extra.png"); },
                "DATA/OBJ/extra.png: error: ", "DATA/OBJ/extra.dll"},
        Mistake{"an object image whose extension differs in case", "labyrinth",
                [](const std::string& d) {
                  std::filesystem::copy_file(d + "OBJ/coin.png", d + "OBJ/extra.PNG");
                  std::filesystem::copy_file(d + "OBJ/coin.dll", d + "OBJ/extra.dll");
                  ReplaceLine(d + "OBJ/extra.dll", "COIN", "EXTRA");
                },
                "DATA/OBJ/extra.PNG: error: ", "GFXCODEC"},
        Mistake{"a sound named in another letter case", "labyrinth", [](const std::string& d) { ReplaceLine(d + "OBJ/coin.dll", "coin.ogg", "Coin.ogg"); },
                "DATA/OBJ/coin.dll:28: error: ", "write coin.ogg"},
        Mistake{"a misspelt hotspot", "labyrinth", [](const std::string& d) { SetValue(d + "OBJ/gem.dll", "DHOTSPOT", "CENTRE"); },
                "DATA/OBJ/gem.dll:12: warning: ", "did you mean CENTER?"},
        Mistake{"a flag of 2", "labyrinth", [](const std::string& d) { SetValue(d + "OBJ/clock.dll", "DFITTOMATRIX", "2"); },
                "DATA/OBJ/clock.dll:8: warning: ", "write 0 or 1"},
        // The world map.
        Mistake{"a cell naming a tile without a file", "world", [](const std::string& d) { ReplaceLine(d + "MAPS/ISLAND.ai42", "086", "087"); },
                "DATA/MAPS/ISLAND.ai42:6: error: ", "DATA/RGB/ISLAND/150110087"},
        Mistake{"a cell naming a path", "world", [](const std::string& d) { ReplaceLine(d + "MAPS/ISLAND.ai42", "086", "/../../ini.txt"); },
                "DATA/MAPS/ISLAND.ai42:6: error: ", "is a path"},
        Mistake{"an opacity above 255", "world", [](const std::string& d) { ReplaceLine(d + "MAPS/ISLAND.red", "255", "300"); },
                "DATA/MAPS/ISLAND.red:6: error: ", "cell (0, 0)"},
        Mistake{"no value file", "world", [](const std::string& d) { Remove(d + "MAPS/ISLAND.red"); },
                "DATA/MAPS/ISLAND.red: warning: ", "no value file"},
        Mistake{"a map with cells after its last", "world", [](const std::string& d) { Append(d + "MAPS/ISLAND.ai42", "150\r\n110\r\n086\r\n"); },
                "DATA/MAPS/ISLAND.ai42: warning: ", "more than"},
        Mistake{"a map whose last cell is cut short", "world", [](const std::string& d) { Append(d + "MAPS/ISLAND.ai42", "150\r\n"); },
                "DATA/MAPS/ISLAND.ai42:" + std::to_string(DemoLines("world", "MAPS/ISLAND.ai42").size() + 1) + ": warning: ",
                "fewer than its three lines"},
        Mistake{"a world whose clock ends the visit", "world", [](const std::string& d) { ReplaceLine(d + "ini.txt", "2147483647", "600"); },
                At("world", "ini.txt", "2147483647", "warning"), "about 9 seconds"},
        Mistake{"the world map missing", "world", [](const std::string& d) { Remove(d + "MAPS/ISLAND.ai42"); },
                At("world", "ini.txt", "ISLAND", "error"), "DATA/MAPS/ISLAND.ai42"}),
    [](const ::testing::TestParamInfo<Mistake>& info) { return TestName(info.param.what); });

}  // namespace
