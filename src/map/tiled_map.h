// Maps of the Tiled map editor: reading what Tiled writes (TMX and TSX in XML, TMJ and TSJ in
// JSON) into the cells of a world map, and writing a world map with a tileset made from the
// tile directory.
//
// A tile is known by its `code` property: the name of its tile file. The cells are the map's
// tile layer; opacities other than 255 lie on a second tile layer named "opacity", painted with
// the tiles of the tileset "opacity", each known by its `opacity` property (an empty cell there
// is 255). Where tile codes join as the demo's do (sixteen codes of one colour whose last number
// runs base .. base + 15, the difference a mask of the neighbours joined: 1 north, 2 east,
// 4 south, 8 west), the tileset carries each such family as a terrain set of Tiled's edge kind.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "map/map_files.h"

// --- Reading ---------------------------------------------------------------------------------

struct TiledTile {
  bool hasCode = false;
  std::string code;
  bool hasOpacity = false;
  int32_t opacity = 0;
};

struct TiledTileset {
  uint32_t firstGid = 1;
  std::string file;  // where it was read from, for messages: the map's file or its own
  std::string name;
  std::map<uint32_t, TiledTile> tiles;  // by local id
};

struct TiledLayer {
  std::string name;
  std::vector<uint32_t> gids;  // row by row from the top, width x height of the map
};

struct TiledMap {
  std::string file;
  int32_t width = 0, height = 0;
  std::vector<TiledTileset> tilesets;  // in the file's order, first gids ascending
  std::vector<TiledLayer> layers;      // the tile layers, groups opened, in the file's order
};

// Reads the text of an external tileset given by the path the map names (relative to the
// map's directory); false when it cannot.
using TilesetReader = std::function<bool(const std::string& source, std::string& text)>;

// The map (and its tilesets) from a TMX or TMJ text. False, with one line naming the file and
// what is wrong, for anything the game's maps cannot take: an infinite map, one that is not
// orthogonal, layer data that does not decode or does not fill the map, a tileset that cannot
// be read, more cells than the game's grid.
bool ReadTmx(const std::string& text, const std::string& file, const TilesetReader& tilesets, TiledMap& map,
             std::string& refusal);
bool ReadTmj(const std::string& text, const std::string& file, const TilesetReader& tilesets, TiledMap& map,
             std::string& refusal);

// The world map's cells from Tiled's: every tile by its code, opacities from the layer
// "opacity". False, with one line naming the file and the cell or tile, for a flipped tile, a
// tile without a code (or, on the opacity layer, without an opacity 0..255), a code that names
// no tile file, or a second tile layer it does not know.
bool TiledCells(const TiledMap& map, const std::set<std::string>& tileNames, MapCells& cells, std::string& refusal);

// --- Writing ---------------------------------------------------------------------------------

struct TilesetEntry {
  std::string code;   // the tile file's name
  std::string image;  // its graphic, relative to the tileset file; empty when it has none
  int32_t width = 0, height = 0;
};

struct ExportTileset {
  std::string name;
  int32_t tileWidth = 0, tileHeight = 0;
  std::vector<TilesetEntry> tiles;  // by local id
};

// The families of joined codes among the tileset's: for each, the ids of its sixteen tiles in
// the order of their masks (0 .. 15).
std::vector<std::vector<uint32_t>> JoinFamilies(const ExportTileset& tileset);

struct ExportMap {
  int32_t columns = 0, rows = 0;
  std::vector<uint32_t> tiles;      // per cell, row by row: local tile id + 1, 0 for no tile
  std::vector<int32_t> opacity;     // per cell, row by row
  std::string tilesetSource;        // the tileset file, relative to the map file
  std::string opacityImage;         // the opacity tiles' picture, relative to the map file; "" without
};

// The texts of a TMX map and its TSX tileset, or a TMJ map and its TSJ tileset.
std::string TmxText(const ExportMap& map, const ExportTileset& tileset);
std::string TsxText(const ExportTileset& tileset);
std::string TmjText(const ExportMap& map, const ExportTileset& tileset);
std::string TsjText(const ExportTileset& tileset);

// The picture of the opacity tiles: 16 x 16 tiles of the tile size, tile n (row by row) grey n.
std::vector<uint8_t> OpacityTilesPicture(int32_t tileWidth, int32_t tileHeight);
