// The map tool's readers: one small map written every way Tiled writes a layer reads to the
// same cells; each thing the game's maps cannot take is refused with a line naming the file and
// the cell or tile; a painted picture's channels become the texts the tile directory names.
#include <gtest/gtest.h>


#include "map/png_map.h"
#include "map/tiled_map.h"
#include "support/sample_files.h"

namespace {

const std::set<std::string> kTiles = {"150110086", "020060110", "LAB_WALL", "123", "1207"};

// The 3 x 2 map: row 0 is 150110086, 020060110, empty; row 1 is LAB_WALL, 150110086, 020060110.
const std::vector<uint32_t> kGids = {1, 2, 0, 4, 1, 2};

std::string LittleEndian(const std::vector<uint32_t>& gids) {
  std::string out;
  for (uint32_t g : gids)
    for (int k = 0; k < 4; k++) out += static_cast<char>((g >> (8 * k)) & 0xFF);
  return out;
}

std::string Csv(const std::vector<uint32_t>& gids) {
  std::string out;
  for (size_t i = 0; i < gids.size(); i++) out += (i ? (i % 3 ? "," : ",\n") : "") + std::to_string(gids[i]);
  return out;
}

// The tileset: ids 0, 1 and 3 have codes, 2 has none, 4 is an opacity tile, 5 has a code that
// names no tile file.
const char* const kTsx =
    "<tileset name=\"t\" tilewidth=\"8\" tileheight=\"8\" tilecount=\"5\" columns=\"0\">"
    "<tile id=\"0\"><properties><property name=\"code\" value=\"150110086\"/></properties></tile>"
    "<tile id=\"1\"><properties><property name=\"code\" value=\"020060110\"/></properties></tile>"
    "<tile id=\"2\"><properties><property name=\"other\" value=\"x\"/></properties></tile>"
    "<tile id=\"3\"><properties><property name=\"code\">LAB_WALL</property></properties></tile>"
    "<tile id=\"4\"><properties><property name=\"opacity\" type=\"int\" value=\"7\"/></properties></tile>"
    "<tile id=\"5\"><properties><property name=\"code\" value=\"999999999\"/></properties></tile></tileset>";
const char* const kTsj =
    "{\"name\":\"t\",\"tiles\":[{\"id\":0,\"properties\":[{\"name\":\"code\",\"type\":\"string\",\"value\":\"150110086\"}]},"
    "{\"id\":1,\"properties\":[{\"name\":\"code\",\"type\":\"string\",\"value\":\"020060110\"}]},{\"id\":2},"
    "{\"id\":3,\"properties\":[{\"name\":\"code\",\"type\":\"string\",\"value\":\"LAB_WALL\"}]},"
    "{\"id\":4,\"properties\":[{\"name\":\"opacity\",\"type\":\"int\",\"value\":7}]},"
    "{\"id\":5,\"properties\":[{\"name\":\"code\",\"type\":\"string\",\"value\":\"999999999\"}]}]}";

std::string Tmx(const std::string& data, const std::string& more = "", const std::string& mapAttributes = "") {
  return "<?xml version=\"1.0\"?><map orientation=\"orthogonal\" width=\"3\" height=\"2\"" + mapAttributes +
         "><tileset firstgid=\"1\" source=\"t.tsx\"/><layer name=\"tiles\" width=\"3\" height=\"2\">" + data + "</layer>" + more + "</map>";
}

std::string Tmj(const std::string& layer, const std::string& more = "", const std::string& mapMembers = "") {
  return "{\"orientation\":\"orthogonal\",\"width\":3,\"height\":2" + mapMembers +
         ",\"tilesets\":[{\"firstgid\":1,\"source\":\"t.tsj\"}],\"layers\":[{\"type\":\"tilelayer\",\"name\":\"tiles\"," + layer + "}" +
         more + "]}";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

bool Read(const std::string& text, MapCells& cells, std::string& refusal) {
  const bool json = text[0] == '{';
  const TilesetReader reader = [json](const std::string& source, std::string& out) {
    out = json ? kTsj : kTsx;
    return source == (json ? "t.tsj" : "t.tsx");
  };
  TiledMap map;
  const bool read = json ? ReadTmj(text, "m.tmj", reader, map, refusal) : ReadTmx(text, "m.tmx", reader, map, refusal);
  return read && TiledCells(map, kTiles, cells, refusal);
}

struct Written {
  const char* how;
  std::string text;
};

std::vector<Written> EveryWay() {
  std::vector<Written> ways = {
      {"TMX CSV", Tmx("<data encoding=\"csv\">\n" + Csv(kGids) + "\n</data>")},
      {"TMX tile elements", Tmx("<data><tile gid=\"1\"/><tile gid=\"2\"/><tile/><tile gid=\"4\"/><tile gid=\"1\"/><tile gid=\"2\"/></data>")},
      {"TMX base64", Tmx("<data encoding=\"base64\">\n   " + Base64(LittleEndian(kGids)) + "\n  </data>")},
      {"TMJ list", Tmj("\"data\":[1,2,0,4,1,2]")},
      {"TMJ base64", Tmj("\"encoding\":\"base64\",\"data\":\"" + Base64(LittleEndian(kGids)) + "\"")},
  };
  for (const std::string kind : {"zlib", "gzip", "zstd"}) {
    const std::string packed = Base64(Pack(kind, LittleEndian(kGids)));
    ways.push_back({"TMX base64 packed", Tmx("<data encoding=\"base64\" compression=\"" + kind + "\">" + packed + "</data>")});
    ways.push_back({"TMJ base64 packed", Tmj("\"encoding\":\"base64\",\"compression\":\"" + kind + "\",\"data\":\"" + packed + "\"")});
  }
  return ways;
}

TEST(MapFormats, EveryLayerFormatOfTiledReadsToTheSameCells) {
  for (const Written& way : EveryWay()) {
    SCOPED_TRACE(std::string(way.how) + ": " + way.text);
    MapCells cells;
    std::string refusal;
    ASSERT_TRUE(Read(way.text, cells, refusal)) << refusal;
    ASSERT_EQ(cells.columns, 3);
    ASSERT_EQ(cells.rows, 2);
    // Column by column, as the game's files go.
    const std::array<std::string, 3> expected[] = {{"150", "110", "086"}, {"LAB_WALL", "", ""}, {"020", "060", "110"},
                                                   {"150", "110", "086"}, {"", "", ""},         {"020", "060", "110"}};
    for (size_t i = 0; i < 6; i++) EXPECT_EQ(cells.texts[i], expected[i]) << "cell " << i;
    EXPECT_EQ(cells.opacity, std::vector<int32_t>(6, 255));
  }
}

TEST(MapFormats, TheOpacityLayerGivesOpacitiesAndAnEmptyCellThereIsOpaque) {
  for (const std::string& text :
       {Tmx("<data encoding=\"csv\">1,1,1,1,1,1</data>", "<group><layer name=\"opacity\" visible=\"0\"><data encoding=\"csv\">0,5,0,0,0,5</data></layer></group>"),
        Tmj("\"data\":[1,1,1,1,1,1]", ",{\"type\":\"tilelayer\",\"name\":\"opacity\",\"data\":[0,5,0,0,0,5]}")}) {
    MapCells cells;
    std::string refusal;
    ASSERT_TRUE(Read(text, cells, refusal)) << refusal;
    EXPECT_EQ(cells.opacity, (std::vector<int32_t>{255, 255, 7, 255, 255, 7}));
  }
}

TEST(MapFormats, WhatTheGameCannotTakeIsRefusedNamingTheFileAndTheCellOrTile) {
  struct Case {
    const char* what;
    std::string text;
    std::string said;
  };
  const Case cases[] = {
      {"a flipped tile", Tmx("<data encoding=\"csv\">1,2,0,2147483652,1,2</data>"), "m.tmx: cell (0, 1) holds a flipped"},
      {"a tile without a code", Tmj("\"data\":[1,3,0,4,1,2]"), "t.tsj: tile 2 (on cell (1, 0)) has no code"},
      {"a tile the tileset lacks", Tmx("<data encoding=\"csv\">1,2,0,4,1,9</data>"), "tile number 9 on cell (2, 1)"},
      {"a code naming no tile file", Tmj("\"data\":[1,2,0,6,1,2]"), "t.tsj: tile 5 (on cell (0, 1)) has the code \"999999999\""},
      {"a second tile layer", Tmx("<data encoding=\"csv\">1,2,0,4,1,2</data>", "<layer name=\"roads\"><data encoding=\"csv\">1,1,1,1,1,1</data></layer>"),
       "m.tmx: a second tile layer \"roads\""},
      {"an opacity tile without an opacity", Tmx("<data encoding=\"csv\">1,1,1,1,1,1</data>", "<layer name=\"opacity\"><data encoding=\"csv\">0,0,1,0,0,0</data></layer>"),
       "tile 0 (on cell (2, 0) of the opacity layer)"},
      {"an infinite map", Tmx("<data encoding=\"csv\">1,2,0,4,1,2</data>", "", " infinite=\"1\""), "m.tmx: the map is infinite"},
      {"an infinite map in JSON", Tmj("\"data\":[1,2,0,4,1,2]", "", ",\"infinite\":true"), "m.tmj: the map is infinite"},
      {"an isometric map", Replace(Tmj("\"data\":[1,2,0,4,1,2]"), "orthogonal", "isometric"), "the map is isometric"},
      {"too many cells", Replace(Tmx("<data encoding=\"csv\">1</data>"), "width=\"3\"", "width=\"514\""), "m.tmx: the map is 514 x 2 cells"},
      {"too few numbers", Tmx("<data encoding=\"csv\">1,2,0,4,1</data>"), "is not 6 tile numbers"},
      {"packed data cut short", Tmj("\"encoding\":\"base64\",\"compression\":\"zlib\",\"data\":\"" +
                                     Base64(Pack("zlib", LittleEndian(kGids)).substr(0, 12)) + "\""),
       "its zlib data does not unpack"},
      {"an unknown compression", Tmx("<data encoding=\"base64\" compression=\"lzma\">AAAA</data>"), "\"lzma\""},
      {"a tileset that cannot be read", Replace(Tmx("<data encoding=\"csv\">1,2,0,4,1,2</data>"), "t.tsx", "u.tsx"),
       "m.tmx: its tileset u.tsx cannot be read"},
      {"no map at all", "<tileset/>", "m.tmx: is not a TMX map"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapCells cells;
    std::string refusal;
    EXPECT_FALSE(Read(c.text, cells, refusal));
    EXPECT_NE(refusal.find(c.said), std::string::npos) << refusal;
  }
}

TEST(MapFormats, APaintedChannelBecomesItsTextInTheFormTheTileDirectoryUses) {
  // Three digits where that names a tile, else the plain number; a colour naming neither is refused.
  const Bytes pixels = {150, 110, 86, 255, 1, 2, 3, 128, 12, 0, 7, 0, 20, 60, 110, 9};
  MapCells cells;
  std::string refusal;
  ASSERT_TRUE(ReadPngMap(EncodePng(2, 2, 6, 8, pixels), kTiles, cells, refusal)) << refusal;
  EXPECT_EQ(cells.texts[cells.Index(0, 0)], (std::array<std::string, 3>{"150", "110", "086"}));
  EXPECT_EQ(cells.texts[cells.Index(1, 0)], (std::array<std::string, 3>{"1", "2", "3"}));
  EXPECT_EQ(cells.texts[cells.Index(0, 1)], (std::array<std::string, 3>{"12", "0", "7"}));
  EXPECT_EQ(cells.opacity[cells.Index(1, 0)], 128);
  EXPECT_EQ(cells.opacity[cells.Index(1, 1)], 9);
  // And back: the same pixels.
  std::vector<uint8_t> rgba;
  ASSERT_TRUE(MapPicture(cells, rgba, refusal)) << refusal;
  EXPECT_EQ(rgba, pixels);

  const Bytes unknown = {150, 110, 86, 255, 7, 7, 7, 255, 8, 8, 8, 255};
  EXPECT_FALSE(ReadPngMap(EncodePng(3, 1, 6, 8, unknown), kTiles, cells, refusal));
  EXPECT_EQ(refusal, "pixel (1, 0) of colour 7, 7, 7 names no tile: there is no tile file 007007007 or 777 (and 1 more pixels)");
  EXPECT_FALSE(ReadPngMap(EncodePng(514, 1, 6, 8, Bytes(514 * 4, 0)), kTiles, cells, refusal));
  EXPECT_NE(refusal.find("larger than the game's grid"), std::string::npos) << refusal;

  // A text that is no channel cannot be a pixel.
  cells.texts[cells.Index(0, 0)] = {"0086", "1", "2"};
  EXPECT_FALSE(MapPicture(cells, rgba, refusal));
  EXPECT_NE(refusal.find("cell (0, 0) cannot be a pixel: its text \"0086\""), std::string::npos) << refusal;
}

TEST(MapFormats, OnlyComplete16CodeFamiliesBecomeTerrainSets) {
  ExportTileset tileset;
  for (int blue = 100; blue <= 117; blue++) tileset.tiles.push_back({"190160" + std::to_string(blue), "", 8, 8});  // 18: one family
  for (int blue = 10; blue < 25; blue++) tileset.tiles.push_back({"050120" + std::to_string(blue + 100), "", 8, 8});  // 15: none
  tileset.tiles.push_back({"LAB_WALL", "", 8, 8});
  const std::vector<std::vector<uint32_t>> families = JoinFamilies(tileset);
  ASSERT_EQ(families.size(), 1u);
  for (uint32_t mask = 0; mask < 16; mask++) EXPECT_EQ(families[0][mask], mask);
  EXPECT_NE(TsxText(tileset).find("<wangtile tileid=\"5\" wangid=\"1,0,0,0,1,0,0,0\""), std::string::npos) << TsxText(tileset);
}

}  // namespace
