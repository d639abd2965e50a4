// The map tool's reader of Tiled's TMJ maps: any bytes as the map, and what follows a line
// "#tileset" in them as every external tileset it names; then the cells are taken from it. A
// map it takes must fill every cell of its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "map/tiled_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::set<std::string> kTiles = {"150110086", "020060110", "190160110", "LAB_WALL"};
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = bytes.find("\n#tileset\n");
  const std::string map = bytes.substr(0, split);
  const std::string tileset = split == std::string::npos ? "" : bytes.substr(split + 10);
  const TilesetReader reader = [&](const std::string&, std::string& text) {
    text = tileset;
    return split != std::string::npos;
  };
  TiledMap tiled;
  MapCells cells;
  std::string refusal;
  if (!ReadTmj(map, "fuzz.tmj", reader, tiled, refusal)) {
    if (refusal.empty()) std::abort();
    return 0;
  }
  if (!TiledCells(tiled, kTiles, cells, refusal)) return 0;
  if (cells.texts.size() != static_cast<size_t>(tiled.width) * static_cast<size_t>(tiled.height)) std::abort();
  return 0;
}
