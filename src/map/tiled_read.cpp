// Reading Tiled's files: TMX and TSX with pugixml, TMJ and TSJ with nlohmann's JSON reader, the
// layer data as CSV, as base64, or base64 of zlib, gzip or zstd packing.
#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "map/tiled_map.h"
#include "media/unpack.h"

using nlohmann::json;

namespace {

constexpr uint32_t kFlipBits = 0xF0000000u;

// A whole number written as digits (a sign allowed), within the given range.
bool ParseWhole(const std::string& text, int64_t low, int64_t high, int64_t& value) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  if (at == text.size() || text.size() - at > 12) return false;
  value = 0;
  for (; at < text.size(); at++) {
    if (text[at] < '0' || text[at] > '9') return false;
    value = value * 10 + (text[at] - '0');
  }
  if (negative) value = -value;
  return value >= low && value <= high;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Base64 as Tiled writes it (blanks and line breaks around it allowed); small enough not to
// need a library of its own.
bool DecodeBase64(const std::string& text, std::vector<uint8_t>& bytes) {
  bytes.clear();
  uint32_t bits = 0;
  int count = 0;
  bool ended = false;
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
    if (c == '=') {
      ended = true;
      continue;
    }
    const int value = Base64Value(c);
    if (value < 0 || ended) return false;
    bits = bits << 6 | static_cast<uint32_t>(value);
    if (++count == 4) {
      bytes.push_back(static_cast<uint8_t>(bits >> 16));
      bytes.push_back(static_cast<uint8_t>(bits >> 8));
      bytes.push_back(static_cast<uint8_t>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (count == 1) return false;
  if (count == 2) bytes.push_back(static_cast<uint8_t>(bits >> 4));
  if (count == 3) {
    bytes.push_back(static_cast<uint8_t>(bits >> 10));
    bytes.push_back(static_cast<uint8_t>(bits >> 2));
  }
  return true;
}

bool ParseCsv(const std::string& text, size_t count, std::vector<uint32_t>& gids) {
  gids.clear();
  gids.reserve(count);
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && std::strchr(" \t\r\n", text[at])) at++;
    if (at == text.size()) break;
    uint64_t value = 0;
    const size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 11) value = value * 10 + static_cast<uint64_t>(text[at++] - '0');
    if (at == start || value > 0xFFFFFFFFu || gids.size() == count) return false;
    gids.push_back(static_cast<uint32_t>(value));
    while (at < text.size() && std::strchr(" \t\r\n", text[at])) at++;
    if (at < text.size() && text[at] != ',') return false;
    if (at < text.size()) at++;
  }
  return gids.size() == count;
}

// A layer's cells from its data as Tiled writes them. `why` says what was wrong.
bool DecodeLayerData(const std::string& encoding, const std::string& compression, const std::string& data, size_t count,
                     std::vector<uint32_t>& gids, std::string& why) {
  if (encoding == "csv") {
    if (ParseCsv(data, count, gids)) return true;
    why = "its CSV data is not " + std::to_string(count) + " tile numbers";
    return false;
  }
  if (encoding != "base64") {
    why = "its data's encoding \"" + encoding + "\" is neither csv nor base64";
    return false;
  }
  std::vector<uint8_t> bytes, unpacked;
  if (!DecodeBase64(data, bytes)) {
    why = "its base64 data does not decode";
    return false;
  }
  if (!compression.empty()) {
    Packing packing = Packing::kZlib;
    if (compression == "gzip") packing = Packing::kGzip;
    else if (compression == "zstd") packing = Packing::kZstd;
    else if (compression != "zlib") {
      why = "its data's compression \"" + compression + "\" is none of zlib, gzip and zstd";
      return false;
    }
    if (!UnpackBytes(packing, bytes.data(), bytes.size(), count * 4 + 1, unpacked)) {
      why = "its " + compression + " data does not unpack to " + std::to_string(count) + " tile numbers";
      return false;
    }
    bytes.swap(unpacked);
  }
  if (bytes.size() != count * 4) {
    why = "its data holds " + std::to_string(bytes.size() / 4) + " tile numbers, not " + std::to_string(count);
    return false;
  }
  gids.resize(count);
  for (size_t i = 0; i < count; i++)
    gids[i] = bytes[i * 4] | bytes[i * 4 + 1] << 8 | bytes[i * 4 + 2] << 16 | static_cast<uint32_t>(bytes[i * 4 + 3]) << 24;
  return true;
}

// The map's size, from the texts or numbers of its width and height.
bool CheckMapSize(TiledMap& map, int64_t width, int64_t height, std::string& refusal) {
  if (width < 1 || height < 1 || width > kMostMapCells || height > kMostMapCells) {
    refusal = map.file + ": the map is " + std::to_string(width) + " x " + std::to_string(height) +
              " cells; the game's maps are 1 to " + std::to_string(kMostMapCells) + " cells a side";
    return false;
  }
  map.width = static_cast<int32_t>(width);
  map.height = static_cast<int32_t>(height);
  return true;
}

// --- XML ---------------------------------------------------------------------------------------

void ReadXmlTiles(const pugi::xml_node& tileset, TiledTileset& out) {
  for (const pugi::xml_node& tile : tileset.children("tile")) {
    int64_t id = 0;
    if (!ParseWhole(tile.attribute("id").value(), 0, 0x0FFFFFFF, id)) continue;
    TiledTile& t = out.tiles[static_cast<uint32_t>(id)];
    for (const pugi::xml_node& property : tile.child("properties").children("property")) {
      const std::string name = property.attribute("name").value();
      const pugi::xml_attribute value = property.attribute("value");
      const std::string text = value ? value.value() : property.text().get();
      if (name == "code") {
        t.hasCode = true;
        t.code = text;
      } else if (name == "opacity") {
        int64_t opacity = 0;
        t.hasOpacity = ParseWhole(text, 0, 255, opacity);
        t.opacity = static_cast<int32_t>(opacity);
      }
    }
  }
}

bool ReadJsonTileset(const json& tileset, TiledTileset& out, std::string& refusal);

// An external tileset: TSX or TSJ, told apart by their first character.
bool ReadExternalTileset(const std::string& source, const std::string& mapFile, const TilesetReader& reader,
                         TiledTileset& out, std::string& refusal) {
  std::string text;
  out.file = source;
  if (!reader || !reader(source, text)) {
    refusal = mapFile + ": its tileset " + source + " cannot be read";
    return false;
  }
  const size_t first = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  if (first != std::string::npos && text[first] == '{') {
    const json tileset = json::parse(text, nullptr, false);
    if (tileset.is_discarded() || !tileset.is_object()) {
      refusal = source + ": is not a JSON tileset";
      return false;
    }
    return ReadJsonTileset(tileset, out, refusal);
  }
  pugi::xml_document document;
  if (!document.load_buffer(text.data(), text.size()) || !document.child("tileset")) {
    refusal = source + ": is not a TSX tileset";
    return false;
  }
  out.name = document.child("tileset").attribute("name").value();
  ReadXmlTiles(document.child("tileset"), out);
  return true;
}

bool ReadXmlLayer(const pugi::xml_node& layer, TiledMap& map, std::string& refusal) {
  TiledLayer out;
  out.name = layer.attribute("name").value();
  const pugi::xml_node data = layer.child("data");
  const size_t count = static_cast<size_t>(map.width) * static_cast<size_t>(map.height);
  std::string why;
  if (!data) {
    why = "it has no data";
  } else if (!data.attribute("encoding")) {  // the old way: one element a cell
    for (const pugi::xml_node& tile : data.children("tile")) {
      int64_t gid = 0;
      if (out.gids.size() == count || !ParseWhole(tile.attribute("gid").empty() ? "0" : tile.attribute("gid").value(), 0, 0xFFFFFFFF, gid)) break;
      out.gids.push_back(static_cast<uint32_t>(gid));
    }
    if (out.gids.size() != count || static_cast<size_t>(std::distance(data.children("tile").begin(), data.children("tile").end())) != count)
      why = "its data is not " + std::to_string(count) + " tiles";
  } else {
    DecodeLayerData(data.attribute("encoding").value(), data.attribute("compression").value(), data.text().get(), count,
                    out.gids, why);
  }
  if (!why.empty()) {
    refusal = map.file + ": the tile layer \"" + out.name + "\" cannot be read: " + why;
    return false;
  }
  map.layers.push_back(std::move(out));
  return true;
}

bool ReadXmlLayers(const pugi::xml_node& parent, TiledMap& map, std::string& refusal, int depth) {
  for (const pugi::xml_node& node : parent.children()) {
    const std::string kind = node.name();
    if (kind == "layer" && !ReadXmlLayer(node, map, refusal)) return false;
    if (kind == "group" && (depth > 50 || !ReadXmlLayers(node, map, refusal, depth + 1))) {
      if (refusal.empty()) refusal = map.file + ": its layer groups are nested too deep";
      return false;
    }
  }
  return true;
}

// --- JSON --------------------------------------------------------------------------------------

std::string JsonText(const json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

bool JsonWhole(const json& object, const char* key, int64_t& value) {
  const auto found = object.find(key);
  if (found == object.end() || !found->is_number_integer()) return false;
  value = found->get<int64_t>();
  return true;
}

bool ReadJsonTileset(const json& tileset, TiledTileset& out, std::string& refusal) {
  out.name = JsonText(tileset, "name");
  const auto tiles = tileset.find("tiles");
  if (tiles == tileset.end()) return true;
  if (!tiles->is_array()) {
    refusal = out.file + ": its tiles are not a list";
    return false;
  }
  for (const json& tile : *tiles) {
    int64_t id = 0;
    if (!tile.is_object() || !JsonWhole(tile, "id", id) || id < 0 || id > 0x0FFFFFFF) continue;
    TiledTile& t = out.tiles[static_cast<uint32_t>(id)];
    const auto properties = tile.find("properties");
    if (properties == tile.end() || !properties->is_array()) continue;
    for (const json& property : *properties) {
      if (!property.is_object()) continue;
      const std::string name = JsonText(property, "name");
      const auto value = property.find("value");
      if (value == property.end()) continue;
      if (name == "code") {
        t.hasCode = value->is_string() || value->is_number_integer();
        t.code = value->is_string() ? value->get<std::string>() : value->is_number_integer() ? std::to_string(value->get<int64_t>()) : "";
      } else if (name == "opacity") {
        int64_t opacity = -1;
        if (value->is_number_integer()) opacity = value->get<int64_t>();
        else if (value->is_string()) ParseWhole(value->get<std::string>(), 0, 255, opacity);
        t.hasOpacity = opacity >= 0 && opacity <= 255;
        t.opacity = static_cast<int32_t>(opacity);
      }
    }
  }
  return true;
}

bool ReadJsonLayer(const json& layer, TiledMap& map, std::string& refusal) {
  TiledLayer out;
  out.name = JsonText(layer, "name");
  const size_t count = static_cast<size_t>(map.width) * static_cast<size_t>(map.height);
  const auto data = layer.find("data");
  std::string why;
  if (data == layer.end()) {
    why = "it has no data";
  } else if (data->is_array()) {
    for (const json& gid : *data) {
      if (!gid.is_number_unsigned() || gid.get<uint64_t>() > 0xFFFFFFFFu || out.gids.size() == count) {
        why = "its data is not " + std::to_string(count) + " tile numbers";
        break;
      }
      out.gids.push_back(static_cast<uint32_t>(gid.get<uint64_t>()));
    }
    if (why.empty() && out.gids.size() != count) why = "its data is not " + std::to_string(count) + " tile numbers";
  } else if (data->is_string()) {
    DecodeLayerData(JsonText(layer, "encoding"), JsonText(layer, "compression"), data->get<std::string>(), count, out.gids, why);
  } else {
    why = "its data is neither a list nor a text";
  }
  if (!why.empty()) {
    refusal = map.file + ": the tile layer \"" + out.name + "\" cannot be read: " + why;
    return false;
  }
  map.layers.push_back(std::move(out));
  return true;
}

bool ReadJsonLayers(const json& parent, TiledMap& map, std::string& refusal, int depth) {
  const auto layers = parent.find("layers");
  if (layers == parent.end() || !layers->is_array()) return true;
  for (const json& layer : *layers) {
    if (!layer.is_object()) continue;
    const std::string kind = JsonText(layer, "type");
    if (kind == "tilelayer" && !ReadJsonLayer(layer, map, refusal)) return false;
    if (kind == "group" && (depth > 50 || !ReadJsonLayers(layer, map, refusal, depth + 1))) {
      if (refusal.empty()) refusal = map.file + ": its layer groups are nested too deep";
      return false;
    }
  }
  return true;
}

bool ReadJsonMap(const json& root, const TilesetReader& reader, TiledMap& map, std::string& refusal) {
  const auto infinite = root.find("infinite");
  if (infinite != root.end() && infinite->is_boolean() && infinite->get<bool>()) {
    refusal = map.file + ": the map is infinite; the game's maps have a fixed size (turn off Infinite in the map's properties)";
    return false;
  }
  const std::string orientation = JsonText(root, "orientation");
  if (!orientation.empty() && orientation != "orthogonal") {
    refusal = map.file + ": the map is " + orientation + "; the game's maps are orthogonal";
    return false;
  }
  int64_t width = 0, height = 0;
  JsonWhole(root, "width", width);
  JsonWhole(root, "height", height);
  if (!CheckMapSize(map, width, height, refusal)) return false;
  const auto tilesets = root.find("tilesets");
  if (tilesets != root.end() && tilesets->is_array())
    for (const json& entry : *tilesets) {
      int64_t firstGid = 0;
      if (!entry.is_object() || !JsonWhole(entry, "firstgid", firstGid) || firstGid < 1 || firstGid > 0x0FFFFFFF) {
        refusal = map.file + ": a tileset has no first tile number (firstgid)";
        return false;
      }
      TiledTileset tileset;
      tileset.firstGid = static_cast<uint32_t>(firstGid);
      tileset.file = map.file;
      const std::string source = JsonText(entry, "source");
      if (!source.empty() ? !ReadExternalTileset(source, map.file, reader, tileset, refusal) : !ReadJsonTileset(entry, tileset, refusal))
        return false;
      map.tilesets.push_back(std::move(tileset));
    }
  return ReadJsonLayers(root, map, refusal, 0);
}

void SortTilesets(TiledMap& map) {
  std::stable_sort(map.tilesets.begin(), map.tilesets.end(),
                   [](const TiledTileset& a, const TiledTileset& b) { return a.firstGid < b.firstGid; });
}

}  // namespace

bool ReadTmx(const std::string& text, const std::string& file, const TilesetReader& tilesets, TiledMap& map,
             std::string& refusal) {
  map = TiledMap{};
  map.file = file;
  pugi::xml_document document;
  const pugi::xml_node root = document.load_buffer(text.data(), text.size()) ? document.child("map") : pugi::xml_node();
  if (!root) {
    refusal = file + ": is not a TMX map (Tiled's XML)";
    return false;
  }
  if (root.attribute("infinite").as_int() == 1) {
    refusal = file + ": the map is infinite; the game's maps have a fixed size (turn off Infinite in the map's properties)";
    return false;
  }
  const std::string orientation = root.attribute("orientation").value();
  if (!orientation.empty() && orientation != "orthogonal") {
    refusal = file + ": the map is " + orientation + "; the game's maps are orthogonal";
    return false;
  }
  int64_t width = 0, height = 0;
  ParseWhole(root.attribute("width").value(), 0, 1 << 30, width);
  ParseWhole(root.attribute("height").value(), 0, 1 << 30, height);
  if (!CheckMapSize(map, width, height, refusal)) return false;
  for (const pugi::xml_node& node : root.children("tileset")) {
    int64_t firstGid = 0;
    if (!ParseWhole(node.attribute("firstgid").value(), 1, 0x0FFFFFFF, firstGid)) {
      refusal = file + ": a tileset has no first tile number (firstgid)";
      return false;
    }
    TiledTileset tileset;
    tileset.firstGid = static_cast<uint32_t>(firstGid);
    tileset.file = file;
    const std::string source = node.attribute("source").value();
    if (!source.empty()) {
      if (!ReadExternalTileset(source, file, tilesets, tileset, refusal)) return false;
    } else {
      tileset.name = node.attribute("name").value();
      ReadXmlTiles(node, tileset);
    }
    map.tilesets.push_back(std::move(tileset));
  }
  if (!ReadXmlLayers(root, map, refusal, 0)) return false;
  SortTilesets(map);
  return true;
}

bool ReadTmj(const std::string& text, const std::string& file, const TilesetReader& tilesets, TiledMap& map,
             std::string& refusal) {
  map = TiledMap{};
  map.file = file;
  const json root = json::parse(text, nullptr, false);
  if (root.is_discarded() || !root.is_object()) {
    refusal = file + ": is not a TMJ map (Tiled's JSON)";
    return false;
  }
  // The checks above take every value by its type; a JSON reader's surprise still refuses.
  try {
    if (!ReadJsonMap(root, tilesets, map, refusal)) return false;
  } catch (const json::exception& e) {
    refusal = file + ": cannot be read (" + e.what() + ")";
    return false;
  }
  SortTilesets(map);
  return true;
}

namespace {

std::string CellText(size_t i, int32_t width) {
  return "cell (" + std::to_string(i % static_cast<size_t>(width)) + ", " + std::to_string(i / static_cast<size_t>(width)) + ")";
}

// The tile a gid names, with its tileset; nullptr (and a refusal) when there is none to take.
const TiledTile* TileOf(const TiledMap& map, uint32_t gid, size_t cell, const TiledTileset*& owner, std::string& refusal) {
  if (gid & kFlipBits) {
    refusal = map.file + ": " + CellText(cell, map.width) + " holds a flipped or rotated tile; the game draws tiles as they are (undo the flip)";
    return nullptr;
  }
  owner = nullptr;
  for (const TiledTileset& tileset : map.tilesets)
    if (tileset.firstGid <= gid) owner = &tileset;
  const auto found = owner ? owner->tiles.find(gid - owner->firstGid) : std::map<uint32_t, TiledTile>::const_iterator();
  if (!owner || found == owner->tiles.end()) {
    refusal = (owner ? owner->file : map.file) + ": tile number " + std::to_string(gid) + " on " + CellText(cell, map.width) +
              " has no properties: it needs a code (the name of its tile file)";
    return nullptr;
  }
  return &found->second;
}

}  // namespace

bool TiledCells(const TiledMap& map, const std::set<std::string>& tileNames, MapCells& cells, std::string& refusal) {
  const TiledLayer* tiles = nullptr;
  const TiledLayer* opacities = nullptr;
  for (const TiledLayer& layer : map.layers) {
    const TiledLayer*& slot = layer.name == "opacity" && !opacities ? opacities : tiles;
    if (slot) {
      refusal = map.file + ": a second tile layer \"" + layer.name + "\", which the import does not know (keep the cells on one tile layer; the layer named opacity holds opacities)";
      return false;
    }
    slot = &layer;
  }
  if (!tiles) {
    refusal = map.file + ": has no tile layer";
    return false;
  }
  cells.Resize(map.width, map.height);
  // Tiled's cells go row by row, the game's column by column.
  for (size_t i = 0; i < tiles->gids.size(); i++) {
    const size_t at = cells.Index(static_cast<int32_t>(i % static_cast<size_t>(map.width)), static_cast<int32_t>(i / static_cast<size_t>(map.width)));
    const TiledTileset* owner = nullptr;
    if (tiles->gids[i] != 0) {
      const TiledTile* tile = TileOf(map, tiles->gids[i], i, owner, refusal);
      if (!tile) return false;
      const std::string local = std::to_string(tiles->gids[i] - owner->firstGid);
      if (!tile->hasCode) {
        refusal = owner->file + ": tile " + local + " (on " + CellText(i, map.width) + ") has no code property (the name of its tile file)";
        return false;
      }
      if (!tileNames.count(tile->code)) {
        refusal = owner->file + ": tile " + local + " (on " + CellText(i, map.width) + ") has the code \"" + tile->code + "\", which names no tile file";
        return false;
      }
      cells.texts[at] = SplitTileName(tile->code);
    }
    if (opacities && opacities->gids[i] != 0) {
      const TiledTile* tile = TileOf(map, opacities->gids[i], i, owner, refusal);
      if (!tile) return false;
      if (!tile->hasOpacity) {
        refusal = owner->file + ": tile " + std::to_string(opacities->gids[i] - owner->firstGid) + " (on " + CellText(i, map.width) +
                  " of the opacity layer) has no opacity property of 0 to 255";
        return false;
      }
      cells.opacity[at] = tile->opacity;
    }
  }
  return true;
}
