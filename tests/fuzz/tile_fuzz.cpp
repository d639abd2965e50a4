// The tile definition reader: any bytes as a tile file, placed on a cell of a small map that is
// then drawn, walked and fixed as play does.
#include <cstddef>
#include <cstdint>

#include "core/game_state.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "fuzz/fuzz_support.h"
#include "game/draw_map.h"
#include "game/pickups.h"
#include "game/player.h"
#include "world/tile_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(8);
  LoadTopographyImages();
  LoadObjectDefinitions();
  WriteFuzzFile("RGB/LAB/FUZZ", data, size);
  gameState.mapWidth = gameState.mapHeight = 6;
  for (int32_t x = 0; x <= 6; x++)
    for (int32_t y = 0; y <= 6; y++) {
      PlaceTile(x, y, (x + y) % 3 ? "FUZZ" : "LAB_BLUE_FLOOR");
      tileMap.Find(x, y)->inMap = 1;
    }
  RefitAllTiles();
  ComputeViewSize();
  DrawMap();
  ObjectsFrame();
  TouchObjects(2, 2);
  FixBlueBlock(1, 1);
  return 0;
}
