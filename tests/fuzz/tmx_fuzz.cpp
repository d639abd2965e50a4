// The map tool's reader of Tiled's TMX maps: any bytes as the map, and what follows a line
// "#tileset" in them as every external tileset it names; then the cells are taken from it. A
// map it takes must fill every cell of its size.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzTiledMap(data, size, ReadTmx, "fuzz.tmx");
  return 0;
}
