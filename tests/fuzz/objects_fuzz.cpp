// The object definition reader: any bytes as the definition beside an object image, then the
// objects and foes that such a definition makes on a small map, drawn and touched.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "fuzz/fuzz_support.h"
#include "game/draw_map.h"
#include "game/foes.h"
#include "game/level.h"
#include "game/pickups.h"
#include "world/tile_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(8);
  WriteFuzzFile("OBJ/coin.dll", data, size);
  LoadTopographyImages();
  LoadObjectDefinitions();
  std::string child = "COIN";
  for (const ObjectDefinition& d : objectDefinitions)
    if (d.imageName == "coin.png") child = d.DGFXNAME;
  if (child.find_first_of("\r\n") != std::string::npos) child = "COIN";
  const std::string host = "TRANSPARENCY\n0\nUSEENEMY\n1\nGFXNAME\nLAB_FLOOR.png\nCHILD1\n" + child + "\nCHILD8\n" + child + "\n";
  WriteFuzzFile("RGB/LAB/HOST", reinterpret_cast<const uint8_t*>(host.data()), host.size());
  settings.MAXFOE = 4;
  gameState.mapWidth = gameState.mapHeight = 5;
  for (int32_t x = 0; x <= 5; x++)
    for (int32_t y = 0; y <= 5; y++) {
      PlaceTile(x, y, "HOST");
      tileMap.Find(x, y)->inMap = 1;
    }
  SpawnFoes();
  RefitAllTiles();
  ComputeViewSize();
  DrawMap();
  ObjectsFrame();
  for (int i = 0; i < 3; i++) FoesFrame();
  TouchObjects(1, 1);
  TouchObjects(3, 2);
  return 0;
}
