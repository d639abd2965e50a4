// Both demo base directories, read the way the game reads them: the configuration through the
// game's own settings reader, then every file the data names anywhere. Each must exist with
// exactly the letter case written, so the demo loads without relying on case-insensitive
// look-ups; and the data must keep the rules the game depends on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/settings.h"
#include "game/pickups.h"
#include "media/files.h"
#include "media/text.h"

namespace {

// A data path (backslashes) as this file system writes it, without any case folding.
std::string Native(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

// True when the file exists at exactly this path, letter case included.
bool ExistsExactly(const std::string& path) { return std::filesystem::is_regular_file(Native(path)); }

using Pairs = std::map<std::string, std::string>;

// Reads a line-pair file with the game's file layer; the last value of a key wins.
bool ReadPairs(const std::string& path, Pairs& pairs) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  while (!AtEndOfFile(file)) {
    const std::string key = ReadLine(file);
    pairs[key] = ReadLine(file);
  }
  CloseTextFile(file);
  return true;
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return lines;
  while (!AtEndOfFile(file)) lines.push_back(ReadLine(file));
  CloseTextFile(file);
  return lines;
}

// Names of the directory's entries matching a pattern, as the game would list them.
std::vector<std::string> List(const std::string& directory, const std::string& pattern) {
  std::vector<std::string> names;
  const int32_t listing = ListDirectory(-1, directory, pattern);
  while (listing != 0 && NextEntry(listing) != 0)
    if (EntryType(listing) == kEntryFile) names.push_back(EntryName(listing));
  EndListing(listing);
  return names;
}

// Width and height from a PNG's header; 0 x 0 if it is no PNG.
std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  if (!in || header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return {0, 0};
  auto be = [&header](int at) { return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3]; };
  return {be(16), be(20)};
}

bool IsOgg(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  return in && std::string(magic, 4) == "OggS";
}

// The glyph file base name of a character, by the font loader's rules.
std::string GlyphBase(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return std::string(1, static_cast<char>(c));
  if (c >= 'a' && c <= 'z') return "_" + std::string(1, static_cast<char>(c));
  static const std::map<unsigned char, std::string> special = {
      {'.', "POINT"},  {'?', "ASK"},        {'[', "FLOPPY"}, {']', "FLOPPYB"}, {'-', "MINUS"},
      {'"', "FUEL"},   {'(', "LEFT"},       {')', "RIGHT"},  {':', "POINTPOINT"}, {'*', "STERN"},
      {'+', "PLUS"},   {'&', "BOMB"},       {0xF6, "NOBOMB"}, {0xD6, "NOBOMB"},  {0xE4, "HERZ"},
      {0xC4, "HERZ"},  {'@', "LIFE"},       {0xFC, "_u"},    {0xDC, "_u"},     {0xDF, "S"}};
  auto it = special.find(c);
  return it != special.end() ? it->second : std::string(1, static_cast<char>(c));
}

const char* const kLabyrinthTiles[] = {"LAB_WALL",        "LAB_FLOOR",        "LAB_GREEN",       "LAB_WATER",
                                       "LAB_BLUE_FLOOR",  "LAB_FIXED_FLOOR",  "LAB_PINK_FLOOR",  "LAB_FIXED_PINK_FLOOR",
                                       "LAB_WALL_E",      "LAB_WALL_S",       "LAB_GREEN_E",     "LAB_GREEN_S",
                                       "LAB_WATER_E",     "LAB_WATER_S"};

class BaseDirectory : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    baseDirectory = std::string(QUORVEX_SOURCE_DIR) + "/content/" + GetParam() + "/";
    ASSERT_TRUE(ExistsExactly(baseDirectory + "DATA\\ini.txt"));
    ASSERT_TRUE(ReadSettingsFile(baseDirectory + "DATA\\ini.txt"));
    labyrinth_ = settings.USESELFCREATEBASE == 1;
  }

  // Values of the "text" kind are relative to the base directory at run time.
  static std::string Text(const std::string& value) { return baseDirectory + value; }
  std::string TileDirectory() const { return Text(settings.RGBCODEPATH + settings.APPSTART + "\\"); }

  // Object definitions by image name; fills the set of names tiles may use.
  std::map<std::string, Pairs> Objects() {
    std::map<std::string, Pairs> objects;
    for (const std::string& image : List(settings.WORLDGFX, "*" + settings.GFXCODEC)) {
      const std::string definition = settings.WORLDGFX + image.substr(0, image.size() - settings.GFXCODEC.size()) + ".dll";
      EXPECT_TRUE(ExistsExactly(definition)) << definition;
      Pairs pairs;
      if (ReadPairs(definition, pairs)) objects[image] = pairs;
    }
    return objects;
  }

  // Checks one tile definition file and returns its pairs.
  Pairs CheckTile(const std::string& name, const std::set<std::string>& objectNames) {
    Pairs t;
    const std::string path = TileDirectory() + name;
    EXPECT_TRUE(ExistsExactly(path)) << "no tile file " << path;
    if (!ReadPairs(path, t)) return t;
    // A new tile keeps the old tile's values for fields it does not name: name them all.
    for (const char* key : {"GFXNAME", "TRANSPARENCY", "USECOLLISION", "USEENEMY", "VALUE1", "CHILD1", "CHILD2",
                            "CHILD3", "CHILD4", "CHILD5", "CHILD6", "CHILD7", "CHILD8"})
      EXPECT_EQ(t.count(key), 1u) << name << " does not name " << key;
    EXPECT_EQ(t["TRANSPARENCY"], "0") << name;
    const std::string image = t["GFXNAME"].empty() ? "dummy.png" : t["GFXNAME"];
    EXPECT_TRUE(ExistsExactly(settings.TOPOGFX + image)) << name << ": " << image;
    // Tiles are drawn at the tile size: images of exactly that size stay crisp.
    EXPECT_EQ(PngSize(settings.TOPOGFX + image), TileSize()) << image;
    for (int i = 1; i <= 8; ++i) {
      const std::string child = t["CHILD" + std::to_string(i)];
      if (child != "#") {
        EXPECT_EQ(objectNames.count(child), 1u) << name << " names the unknown object " << child;
      }
    }
    return t;
  }

  std::pair<int, int> TileSize() const {
    const int side = static_cast<int>(settings.RESOLUTION);
    return {side, side};
  }

  bool labyrinth_ = false;
};

TEST_P(BaseDirectory, ConfigurationSetsTheModeAndDrawing) {
  EXPECT_EQ(settings.WINDOWMODE, 1);
  EXPECT_EQ(gameState.drawWorld, 1);
  // A 1280 x 720 screen, scaled to the display; the font at its own size; tiles a whole number
  // of pixels that the screen's sides are multiples of.
  int32_t width = 0, height = 0;
  EXPECT_TRUE(ParseScreenSize(settings.SCREENSIZE, width, height)) << settings.SCREENSIZE;
  EXPECT_EQ(width, 1280);
  EXPECT_EQ(height, 720);
  EXPECT_EQ(settings.RESBASEW, width);
  EXPECT_FLOAT_EQ(settings.RESOLUTION, labyrinth_ ? 80.0f : 40.0f);
  EXPECT_EQ(width % static_cast<int>(settings.RESOLUTION), 0);
  EXPECT_EQ(height % static_cast<int>(settings.RESOLUTION), 0);
  EXPECT_EQ(settings.GFXCODEC, ".png");
  EXPECT_EQ(settings.USEEXTENDEDTOPO, 0);
  EXPECT_EQ(labyrinth_, GetParam() == "labyrinth");
  EXPECT_GE(settings.MAPSIZE, 16);
  EXPECT_LE(settings.MAPSIZE, 256);
  EXPECT_GE(settings.EGFXMAX, 0);
  EXPECT_LE(settings.EGFXMAX, 4);
  EXPECT_GE(settings.SCREGFXMAX, 0);
  EXPECT_LE(settings.SCREGFXMAX, 4);
  if (labyrinth_) {
    EXPECT_GE(settings.WORLDREFRESH, 120);
    EXPECT_GT(settings.MAXFOE, 0);
    const std::vector<std::string> base = Lines(settings.SELFCREATEBASE);
    ASSERT_GE(base.size(), 3u);
    EXPECT_GE(TextToInteger(base[1]), 8);
    EXPECT_LE(TextToInteger(base[1]), settings.MAPSIZE);
    EXPECT_GE(TextToInteger(base[2]), 8);
    EXPECT_LE(TextToInteger(base[2]), settings.MAPSIZE);
  } else {
    EXPECT_EQ(settings.WORLDREFRESH, 2147483647);  // the world's clock must never run out
  }
}

TEST_P(BaseDirectory, EverySoundAndTrackExists) {
  for (const std::string* name : {&settings.KESTRAVON1, &settings.KESTRAVON, &settings.TIMERSOUND,
                                  &settings.DEFTILESOUND, &settings.FIXEDTILESOUND, &settings.PINKTILEFIXEDSOUND,
                                  &settings.EXPLOSIONSOUND}) {
    EXPECT_FALSE(name->empty());
    EXPECT_TRUE(ExistsExactly(settings.SOUNDFXPATH + *name)) << *name;
    EXPECT_TRUE(IsOgg(settings.SOUNDFXPATH + *name)) << *name;
  }
  const std::string music = Text(settings.INGAMEMUSIC);
  EXPECT_TRUE(ExistsExactly(music + "menu.ogg"));
  const std::vector<std::string> tracks = List(music, "*.ogg");
  EXPECT_GE(std::count_if(tracks.begin(), tracks.end(), [](const std::string& t) { return t != "menu.ogg"; }), 2);
  for (const std::string& t : tracks) EXPECT_TRUE(IsOgg(music + t)) << t;
}

TEST_P(BaseDirectory, PicturesExistAtTheirSizes) {
  const std::string load = settings.LOADSCREEN;
  ASSERT_EQ(std::count(load.begin(), load.end(), '#'), 1);
  for (char digit : {'0', '1'}) {
    std::string page = load;
    page[page.find('#')] = digit;
    EXPECT_TRUE(ExistsExactly(Text(page))) << page;
    EXPECT_EQ(PngSize(Text(page)), std::make_pair(1280, 720)) << page;
  }
  EXPECT_TRUE(ExistsExactly(Text(settings.LOADINTROSCREEN)));
  EXPECT_EQ(PngSize(Text(settings.LOADINTROSCREEN)), std::make_pair(1280, 720));
  EXPECT_TRUE(ExistsExactly(settings.CURSOR));
  // The player is drawn at its image's size: it must fill one cell of the labyrinth.
  if (labyrinth_) {
    EXPECT_EQ(PngSize(settings.CURSOR), TileSize());
  }
  EXPECT_FALSE(List(settings.EGFXPATH, "*.png").empty());
  EXPECT_FALSE(List(Text(settings.SCREGFXPATH), "*.png").empty());
  EXPECT_TRUE(ExistsExactly(settings.TOPOGFX + "dummy.png"));
}

TEST_P(BaseDirectory, EveryCharacterOfTheFontHasItsGlyph) {
  const std::vector<std::string> list = Lines(settings.FONTSYSTEM);
  ASSERT_FALSE(list.empty());
  const std::string characters = list[0];
  EXPECT_GE(characters.size(), 62u);
  int height = 0;
  for (char c : characters) {
    const unsigned char ch = static_cast<unsigned char>(c);
    EXPECT_TRUE(ch != '/' && ch != '\\' && ch != '|' && ch != ' ') << "character " << int(ch);
    const std::string glyph = settings.FONTPATH + "\\" + GlyphBase(ch) + ".png";
    EXPECT_TRUE(ExistsExactly(glyph)) << glyph;
    const auto size = PngSize(glyph);
    if (height == 0) height = size.second;
    EXPECT_EQ(size.second, height) << glyph << ": all glyphs share one height";
  }
  EXPECT_EQ(PngSize(settings.FONTPATH + "\\BOMB.png"), PngSize(settings.FONTPATH + "\\NOBOMB.png"));
  for (const char* icon : {"&", "\xF6", "\xE4", "@", "\"", "[", "]", "*"})
    EXPECT_NE(characters.find(icon), std::string::npos) << "icon " << icon;
}

TEST_P(BaseDirectory, ObjectsAreCompleteAndNameExistingSounds) {
  const std::map<std::string, Pairs> objects = Objects();
  ASSERT_FALSE(objects.empty());
  std::set<std::string> names;
  int goodies = 0, extraTime = 0, countUp = 0, spinningFoes = 0, glowingFoes = 0;
  for (const auto& [image, d] : objects) {
    // Foes are drawn at their image's size and pick-ups fitted to a cell: both one tile.
    EXPECT_EQ(PngSize(settings.WORLDGFX + image), TileSize()) << image;
    const std::string name = d.count("DGFXNAME") ? d.at("DGFXNAME") : "";
    if (!name.empty() && name != "#") {
      EXPECT_TRUE(names.insert(name).second) << "two objects named " << name;
    }
    const int opacity = TextToInteger(d.count("DGFXTRANSPARENCY") ? d.at("DGFXTRANSPARENCY") : "");
    EXPECT_GT(opacity, 0) << image;
    EXPECT_LE(opacity, 255) << image;
    EXPECT_EQ(d.count("DGFXSHOW") ? d.at("DGFXSHOW") : "", "1") << image;
    if (d.count("DCOUNTSOUND") && !d.at("DCOUNTSOUND").empty()) {
      EXPECT_TRUE(ExistsExactly(settings.SOUNDFXPATH + d.at("DCOUNTSOUND"))) << image << ": " << d.at("DCOUNTSOUND");
    }
    const auto& keys = d;  // clang 14 cannot capture a structured binding in a lambda
    auto value = [&keys](const char* key) { return keys.count(key) ? TextToInteger(keys.at(key)) : 0; };
    goodies += value("DISGOODY") == 1;
    extraTime += value("DEXTRATIME") > 0;
    countUp += value("DCOUNTTOSCORE") == 1;
    if (value("DISENEMY") == 1) {
      EXPECT_TRUE(name.empty() || name == "#") << image << ": a foe must not be spawned by tiles";
      EXPECT_TRUE(value("DVELOX") > 0 || value("DVELOY") > 0) << image;
      spinningFoes += value("DROTATE") != 0;
      const int a = value("DXMODE1"), b = value("DXMODE2");
      glowingFoes += !((a == 0 && b == 0) || (a == 5 && b == 6));
    }
  }
  if (labyrinth_) {
    EXPECT_EQ(names.count(kBombPickup), 1u);
    EXPECT_GE(goodies, 1);
    EXPECT_GE(extraTime, 1);
    EXPECT_GE(countUp, 1);
    EXPECT_GE(spinningFoes, 1);
    EXPECT_GE(glowingFoes, 1);
  }
}

TEST_P(BaseDirectory, EveryTileIsDefinedCompletely) {
  std::set<std::string> objectNames;
  for (const auto& [image, d] : Objects())
    if (d.count("DGFXNAME")) objectNames.insert(d.at("DGFXNAME"));
  if (labyrinth_) {
    std::map<std::string, Pairs> tiles;
    for (const char* name : kLabyrinthTiles) tiles[name] = CheckTile(name, objectNames);
    for (const char* open : {"LAB_FLOOR", "LAB_GREEN", "LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR", "LAB_PINK_FLOOR",
                             "LAB_FIXED_PINK_FLOOR", "LAB_GREEN_E", "LAB_GREEN_S"})
      EXPECT_EQ(tiles[open]["USECOLLISION"], "0") << open;
    for (const char* wall : {"LAB_WALL", "LAB_WALL_E", "LAB_WALL_S"}) EXPECT_EQ(tiles[wall]["USECOLLISION"], "1") << wall;
    for (const char* water : {"LAB_WATER", "LAB_WATER_E", "LAB_WATER_S"})
      EXPECT_EQ(tiles[water]["USECOLLISION"], "2") << water;
    EXPECT_EQ(tiles["LAB_FLOOR"]["USEENEMY"], "1");
    EXPECT_GT(TextToInteger(tiles["LAB_FIXED_FLOOR"]["VALUE1"]), 0);
    // Painting re-places a cell; painted and fixed cells must spawn nothing, or pick-ups multiply.
    for (const char* painted : {"LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR", "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR"})
      for (int i = 1; i <= 8; ++i) EXPECT_EQ(tiles[painted]["CHILD" + std::to_string(i)], "#") << painted;
    // The labyrinth's pick-ups lie on its floor.
    std::set<std::string> onFloor;
    for (int i = 1; i <= 8; ++i) onFloor.insert(tiles["LAB_FLOOR"]["CHILD" + std::to_string(i)]);
    EXPECT_EQ(onFloor.count(kBombPickup), 1u);
  }
}

// The prepared world map of the world base.
class WorldBase : public BaseDirectory {
 protected:
  // The map as the game reads it: its size, and which cells a player may step on (the cell's
  // tile has USECOLLISION 0).
  struct WalkMap {
    int w = 0, h = 0;
    std::vector<bool> open;
    // Cells come in column order: cell (x, y) is number x * h + y.
    size_t Index(int x, int y) const { return static_cast<size_t>(x) * h + y; }
    bool Open(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && open[Index(x, y)]; }
    // How many steps a player takes from (x, y) holding one arrow key until a closed cell or the edge.
    int StraightWalk(int x, int y, int dx, int dy) const {
      int steps = 0;
      while (Open(x + dx, y + dy)) x += dx, y += dy, ++steps;
      return steps;
    }
  };

  void ReadWalkMap(WalkMap& map, std::map<std::string, bool>& blocks) {
    ASSERT_FALSE(labyrinth_);
    const std::string stem = Text(settings.APPENTRY + settings.APPSTART);
    ASSERT_TRUE(ExistsExactly(stem + ".ai42"));
    ASSERT_TRUE(ExistsExactly(stem + ".red"));
    const std::vector<std::string> cells = Lines(stem + ".ai42");
    const std::vector<std::string> values = Lines(stem + ".red");
    ASSERT_GE(cells.size(), 5u);
    map.w = TextToInteger(cells[1]) + 1;  // indices run 0..W, 0..H
    map.h = TextToInteger(cells[2]) + 1;
    ASSERT_GT(map.w, 0);
    ASSERT_GT(map.h, 0);
    const size_t count = static_cast<size_t>(map.w) * map.h;
    ASSERT_EQ(cells.size(), 5 + 3 * count);
    ASSERT_EQ(values.size(), 5 + count);
    for (size_t i = 0; i < count; ++i) {
      const int v = TextToInteger(values[5 + i]);
      ASSERT_TRUE(v > 0 && v <= 255) << "cell " << i << " is hidden or invalid";
    }
    std::set<std::string> objectNames;
    for (const auto& [image, d] : Objects())
      if (d.count("DGFXNAME")) objectNames.insert(d.at("DGFXNAME"));
    map.open.assign(count, false);
    for (size_t i = 0; i < count; ++i) {
      const std::string code = cells[5 + 3 * i] + cells[6 + 3 * i] + cells[7 + 3 * i];
      if (!blocks.count(code)) blocks[code] = CheckTile(code, objectNames)["USECOLLISION"] != "0";
      map.open[i] = !blocks[code];
    }
  }
};

TEST_P(WorldBase, MapIsLargeCompleteAndWalkableFromTheStart) {
  WalkMap map;
  std::map<std::string, bool> blocks;
  ASSERT_NO_FATAL_FAILURE(ReadWalkMap(map, blocks));
  const int w = map.w, h = map.h;
  EXPECT_GE(w, 64);
  EXPECT_GE(h, 48);
  const size_t count = static_cast<size_t>(w) * h;
  EXPECT_GE(blocks.size(), 15u) << "a designed place needs more than a handful of tiles";

  // The walk starts at (0, 0).
  ASSERT_TRUE(map.Open(0, 0)) << "the player starts on cell (0, 0)";
  std::vector<bool> reached(count);
  std::queue<std::pair<int, int>> todo;
  todo.push({0, 0});
  reached[0] = true;
  size_t reachable = 1;
  while (!todo.empty()) {
    const auto [x, y] = todo.front();
    todo.pop();
    const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
    for (const auto& n : next) {
      if (!map.Open(n[0], n[1])) continue;
      const size_t i = map.Index(n[0], n[1]);
      if (reached[i]) continue;
      reached[i] = true;
      ++reachable;
      todo.push({n[0], n[1]});
    }
  }
  const size_t walkable = static_cast<size_t>(std::count(map.open.begin(), map.open.end(), true));
  EXPECT_GE(walkable, count / 3);
  EXPECT_EQ(reachable, walkable) << "parts of the island cannot be reached from the jetty";
}

// The player is not drawn in the world, and the view only follows once the player passes the
// middle of the screen: 24 cells right and 13 down on a 1920 x 1080 screen of 40-pixel tiles.
// Holding one arrow key from the start must get there, or nothing on screen ever moves.
TEST_P(WorldBase, HoldingRightOrDownFromTheStartWalksFarEnoughForTheViewToFollow) {
  WalkMap map;
  std::map<std::string, bool> blocks;
  ASSERT_NO_FATAL_FAILURE(ReadWalkMap(map, blocks));
  ASSERT_TRUE(map.Open(0, 0));
  EXPECT_GE(map.StraightWalk(0, 0, 1, 0), 26) << "holding Right from (0, 0) stops too soon";
  EXPECT_GE(map.StraightWalk(0, 0, 0, 1), 15) << "holding Down from (0, 0) stops too soon";
  // Between the two walks lies open country to wander in, not a pair of corridors.
  int open = 0, cells = 0;
  for (int y = 0; y <= 15; ++y)
    for (int x = 0; x <= 26; ++x, ++cells) open += map.Open(x, y);
  EXPECT_GE(open * 4, cells * 3) << "only " << open << " of the " << cells << " cells near the start are walkable";
}

INSTANTIATE_TEST_SUITE_P(Demo, BaseDirectory, ::testing::Values("labyrinth", "world"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Demo, WorldBase, ::testing::Values("world"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
