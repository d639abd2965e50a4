// The map tool's reader of painted maps: any bytes as the picture, against a tile directory
// that names some codes in three digits and some plainly. A picture it takes must give cells
// that are a picture again, pixel for pixel.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "map/png_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::set<std::string> kTiles = {"000000000", "255255255", "150110086", "123", "0255", "1207", "020060110"};
  MapCells cells;
  std::string refusal;
  if (!ReadPngMap(std::vector<uint8_t>(data, data + size), kTiles, cells, refusal)) {
    if (refusal.empty()) std::abort();  // every refusal says why
    return 0;
  }
  std::vector<uint8_t> rgba;
  if (!MapPicture(cells, rgba, refusal)) std::abort();
  return 0;
}
