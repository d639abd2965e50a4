// Writing Tiled's files: TMX and TSX through pugixml (which escapes what needs it), TMJ and TSJ
// through nlohmann's JSON writer, in the layout Tiled itself writes.
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "map/tiled_map.h"

using nlohmann::ordered_json;

namespace {

const char* const kFormatVersion = "1.8";
const char* const kTiledVersion = "1.8.2";
constexpr int32_t kOpacityColumns = 16;

// The edges a join mask names, as Tiled's edge terrain gives them: top, right, bottom, left
// at places 0, 2, 4 and 6 of a tile's eight.
std::vector<int32_t> WangId(int32_t mask) {
  return {mask & 1 ? 1 : 0, 0, mask & 2 ? 1 : 0, 0, mask & 4 ? 1 : 0, 0, mask & 8 ? 1 : 0, 0};
}

std::string WangIdText(int32_t mask) {
  std::string text;
  for (int32_t value : WangId(mask)) text += (text.empty() ? "" : ",") + std::to_string(value);
  return text;
}

// A family's colour: the code's own, base blue, as "#rrggbb".
std::string FamilyColour(const std::string& code) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", std::stoi(code.substr(0, 3)) & 0xFF, std::stoi(code.substr(3, 3)) & 0xFF,
                std::stoi(code.substr(6, 3)) & 0xFF);
  return text;
}

bool IsCode(const std::string& name) {
  if (name.size() != 9) return false;
  for (char c : name)
    if (c < '0' || c > '9') return false;
  return std::stoi(name.substr(0, 3)) < 256 && std::stoi(name.substr(3, 3)) < 256;
}

// Cells row by row as CSV, a row a line, as Tiled writes them.
std::string Csv(const std::vector<uint32_t>& values, int32_t columns) {
  std::string text = "\n";
  for (size_t i = 0; i < values.size(); i++) {
    text += std::to_string(values[i]);
    if (i + 1 < values.size()) text += ',';
    if ((i + 1) % static_cast<size_t>(columns) == 0) text += '\n';
  }
  return text;
}

bool HasOpacityLayer(const ExportMap& map) { return !map.opacityImage.empty(); }

// The opacity layer's tiles: empty where the cell is opaque.
std::vector<uint32_t> OpacityGids(const ExportMap& map, uint32_t firstGid) {
  std::vector<uint32_t> gids(map.opacity.size());
  for (size_t i = 0; i < gids.size(); i++) gids[i] = map.opacity[i] == 255 ? 0 : firstGid + static_cast<uint32_t>(map.opacity[i]);
  return gids;
}

std::string XmlText(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out, " ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

void XmlProperty(pugi::xml_node tile, const char* name, const char* type, const std::string& value) {
  pugi::xml_node property = tile.append_child("properties").append_child("property");
  property.append_attribute("name") = name;
  if (type) property.append_attribute("type") = type;
  property.append_attribute("value") = value.c_str();
}

void XmlLayer(pugi::xml_node map, int32_t id, const char* name, const ExportMap& m, const std::vector<uint32_t>& gids, bool visible) {
  pugi::xml_node layer = map.append_child("layer");
  layer.append_attribute("id") = id;
  layer.append_attribute("name") = name;
  layer.append_attribute("width") = m.columns;
  layer.append_attribute("height") = m.rows;
  if (!visible) layer.append_attribute("visible") = 0;
  pugi::xml_node data = layer.append_child("data");
  data.append_attribute("encoding") = "csv";
  data.append_child(pugi::node_pcdata).set_value(Csv(gids, m.columns).c_str());
}

ordered_json JsonProperty(const char* name, const char* type, const ordered_json& value) {
  return ordered_json::array({{{"name", name}, {"type", type}, {"value", value}}});
}

ordered_json JsonLayer(int32_t id, const char* name, const ExportMap& m, const std::vector<uint32_t>& gids, bool visible) {
  return {{"data", gids}, {"height", m.rows},   {"id", id},           {"name", name}, {"opacity", 1},
          {"type", "tilelayer"}, {"visible", visible}, {"width", m.columns}, {"x", 0}, {"y", 0}};
}

ordered_json JsonOpacityTileset(const ExportMap& map, const ExportTileset& tileset) {
  ordered_json tiles = ordered_json::array();
  for (int32_t i = 0; i < 256; i++) tiles.push_back({{"id", i}, {"properties", JsonProperty("opacity", "int", i)}});
  return {{"columns", kOpacityColumns}, {"firstgid", tileset.tiles.size() + 1}, {"image", map.opacityImage},
          {"imageheight", tileset.tileHeight * kOpacityColumns}, {"imagewidth", tileset.tileWidth * kOpacityColumns},
          {"margin", 0}, {"name", "opacity"}, {"spacing", 0}, {"tilecount", 256}, {"tileheight", tileset.tileHeight},
          {"tiles", tiles}, {"tilewidth", tileset.tileWidth}};
}

}  // namespace

std::vector<std::vector<uint32_t>> JoinFamilies(const ExportTileset& tileset) {
  // The ids of the codes of each colour, by their last number.
  std::map<std::string, std::map<int32_t, uint32_t>> colours;
  for (size_t id = 0; id < tileset.tiles.size(); id++) {
    const std::string& code = tileset.tiles[id].code;
    if (IsCode(code)) colours[code.substr(0, 6)][std::stoi(code.substr(6, 3))] = static_cast<uint32_t>(id);
  }
  std::vector<std::vector<uint32_t>> families;
  for (const auto& [colour, blues] : colours) {
    int32_t free = 0;  // the lowest last number that may begin a family: families do not overlap
    for (const auto& [blue, id] : blues) {
      if (blue < free) continue;
      std::vector<uint32_t> family;
      for (int32_t mask = 0; mask < 16 && blues.count(blue + mask); mask++) family.push_back(blues.at(blue + mask));
      if (family.size() < 16) continue;
      families.push_back(family);
      free = blue + 16;
    }
  }
  return families;
}

std::string TsxText(const ExportTileset& tileset) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("tileset");
  root.append_attribute("version") = kFormatVersion;
  root.append_attribute("tiledversion") = kTiledVersion;
  root.append_attribute("name") = tileset.name.c_str();
  root.append_attribute("tilewidth") = tileset.tileWidth;
  root.append_attribute("tileheight") = tileset.tileHeight;
  root.append_attribute("tilecount") = static_cast<unsigned>(tileset.tiles.size());
  root.append_attribute("columns") = 0;
  pugi::xml_node grid = root.append_child("grid");
  grid.append_attribute("orientation") = "orthogonal";
  grid.append_attribute("width") = 1;
  grid.append_attribute("height") = 1;
  for (size_t id = 0; id < tileset.tiles.size(); id++) {
    const TilesetEntry& entry = tileset.tiles[id];
    pugi::xml_node tile = root.append_child("tile");
    tile.append_attribute("id") = static_cast<unsigned>(id);
    XmlProperty(tile, "code", nullptr, entry.code);
    if (entry.image.empty()) continue;
    pugi::xml_node image = tile.append_child("image");
    image.append_attribute("width") = entry.width;
    image.append_attribute("height") = entry.height;
    image.append_attribute("source") = entry.image.c_str();
  }
  const std::vector<std::vector<uint32_t>> families = JoinFamilies(tileset);
  if (families.empty()) return XmlText(document);
  pugi::xml_node wangsets = root.append_child("wangsets");
  for (const std::vector<uint32_t>& family : families) {
    const std::string& code = tileset.tiles[family[0]].code;
    pugi::xml_node set = wangsets.append_child("wangset");
    set.append_attribute("name") = code.c_str();
    set.append_attribute("type") = "edge";
    set.append_attribute("tile") = family[15];
    pugi::xml_node colour = set.append_child("wangcolor");
    colour.append_attribute("name") = code.c_str();
    colour.append_attribute("color") = FamilyColour(code).c_str();
    colour.append_attribute("tile") = family[15];
    colour.append_attribute("probability") = 1;
    for (int32_t mask = 1; mask < 16; mask++) {
      pugi::xml_node wangtile = set.append_child("wangtile");
      wangtile.append_attribute("tileid") = family[static_cast<size_t>(mask)];
      wangtile.append_attribute("wangid") = WangIdText(mask).c_str();
    }
  }
  return XmlText(document);
}

std::string TmxText(const ExportMap& m, const ExportTileset& tileset) {
  pugi::xml_document document;
  pugi::xml_node map = document.append_child("map");
  map.append_attribute("version") = kFormatVersion;
  map.append_attribute("tiledversion") = kTiledVersion;
  map.append_attribute("orientation") = "orthogonal";
  map.append_attribute("renderorder") = "right-down";
  map.append_attribute("width") = m.columns;
  map.append_attribute("height") = m.rows;
  map.append_attribute("tilewidth") = tileset.tileWidth;
  map.append_attribute("tileheight") = tileset.tileHeight;
  map.append_attribute("infinite") = 0;
  map.append_attribute("backgroundcolor") = "#000000";  // the game's screen is cleared to black
  map.append_attribute("nextlayerid") = HasOpacityLayer(m) ? 3 : 2;
  map.append_attribute("nextobjectid") = 1;
  pugi::xml_node external = map.append_child("tileset");
  external.append_attribute("firstgid") = 1;
  external.append_attribute("source") = m.tilesetSource.c_str();
  const uint32_t opacityGid = static_cast<uint32_t>(tileset.tiles.size()) + 1;
  if (HasOpacityLayer(m)) {
    pugi::xml_node opacity = map.append_child("tileset");
    opacity.append_attribute("firstgid") = opacityGid;
    opacity.append_attribute("name") = "opacity";
    opacity.append_attribute("tilewidth") = tileset.tileWidth;
    opacity.append_attribute("tileheight") = tileset.tileHeight;
    opacity.append_attribute("tilecount") = 256;
    opacity.append_attribute("columns") = kOpacityColumns;
    pugi::xml_node image = opacity.append_child("image");
    image.append_attribute("source") = m.opacityImage.c_str();
    image.append_attribute("width") = tileset.tileWidth * kOpacityColumns;
    image.append_attribute("height") = tileset.tileHeight * kOpacityColumns;
    for (int32_t i = 0; i < 256; i++) {
      pugi::xml_node tile = opacity.append_child("tile");
      tile.append_attribute("id") = i;
      XmlProperty(tile, "opacity", "int", std::to_string(i));
    }
  }
  XmlLayer(map, 1, "tiles", m, m.tiles, true);
  // Hidden, so that the map shows as the game shows it; shown, its greys tell the opacities.
  if (HasOpacityLayer(m)) XmlLayer(map, 2, "opacity", m, OpacityGids(m, opacityGid), false);
  return XmlText(document);
}

std::string TsjText(const ExportTileset& tileset) {
  ordered_json tiles = ordered_json::array();
  for (size_t id = 0; id < tileset.tiles.size(); id++) {
    const TilesetEntry& entry = tileset.tiles[id];
    ordered_json tile = {{"id", id}};
    if (!entry.image.empty()) {
      tile["image"] = entry.image;
      tile["imageheight"] = entry.height;
      tile["imagewidth"] = entry.width;
    }
    tile["properties"] = JsonProperty("code", "string", entry.code);
    tiles.push_back(tile);
  }
  ordered_json root = {{"columns", 0},
                       {"grid", {{"height", 1}, {"orientation", "orthogonal"}, {"width", 1}}},
                       {"margin", 0},
                       {"name", tileset.name},
                       {"spacing", 0},
                       {"tilecount", tileset.tiles.size()},
                       {"tiledversion", kTiledVersion},
                       {"tileheight", tileset.tileHeight},
                       {"tiles", tiles},
                       {"tilewidth", tileset.tileWidth},
                       {"type", "tileset"},
                       {"version", kFormatVersion}};
  const std::vector<std::vector<uint32_t>> families = JoinFamilies(tileset);
  if (!families.empty()) {
    ordered_json sets = ordered_json::array();
    for (const std::vector<uint32_t>& family : families) {
      const std::string& code = tileset.tiles[family[0]].code;
      ordered_json wangtiles = ordered_json::array();
      for (int32_t mask = 1; mask < 16; mask++)
        wangtiles.push_back({{"tileid", family[static_cast<size_t>(mask)]}, {"wangid", WangId(mask)}});
      sets.push_back({{"colors", ordered_json::array({{{"color", FamilyColour(code)}, {"name", code}, {"probability", 1}, {"tile", family[15]}}})},
                      {"name", code},
                      {"tile", family[15]},
                      {"type", "edge"},
                      {"wangtiles", wangtiles}});
    }
    root["wangsets"] = sets;
  }
  return root.dump(1) + "\n";
}

std::string TmjText(const ExportMap& m, const ExportTileset& tileset) {
  ordered_json layers = ordered_json::array({JsonLayer(1, "tiles", m, m.tiles, true)});
  ordered_json tilesets = ordered_json::array({{{"firstgid", 1}, {"source", m.tilesetSource}}});
  if (HasOpacityLayer(m)) {
    layers.push_back(JsonLayer(2, "opacity", m, OpacityGids(m, static_cast<uint32_t>(tileset.tiles.size()) + 1), false));
    tilesets.push_back(JsonOpacityTileset(m, tileset));
  }
  const ordered_json root = {{"backgroundcolor", "#000000"}, {"compressionlevel", -1}, {"height", m.rows},
                             {"infinite", false}, {"layers", layers}, {"nextlayerid", HasOpacityLayer(m) ? 3 : 2},
                             {"nextobjectid", 1}, {"orientation", "orthogonal"}, {"renderorder", "right-down"},
                             {"tiledversion", kTiledVersion}, {"tileheight", tileset.tileHeight}, {"tilesets", tilesets},
                             {"tilewidth", tileset.tileWidth}, {"type", "map"}, {"version", kFormatVersion},
                             {"width", m.columns}};
  return root.dump(1) + "\n";
}

std::vector<uint8_t> OpacityTilesPicture(int32_t tileWidth, int32_t tileHeight) {
  const size_t width = static_cast<size_t>(tileWidth) * kOpacityColumns, height = static_cast<size_t>(tileHeight) * kOpacityColumns;
  std::vector<uint8_t> rgb(width * height * 3);
  for (size_t y = 0; y < height; y++)
    for (size_t x = 0; x < width; x++) {
      const size_t tile = y / static_cast<size_t>(tileHeight) * kOpacityColumns + x / static_cast<size_t>(tileWidth);
      for (int c = 0; c < 3; c++) rgb[(y * width + x) * 3 + static_cast<size_t>(c)] = static_cast<uint8_t>(tile);
    }
  return rgb;
}
