// The labyrinth base file: any bytes as SELFCREATEBASE, then the first level and the next one
// built from it, as start-up and the main loop build them.
#include <cstddef>
#include <cstdint>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "fuzz/fuzz_support.h"
#include "game/level.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(1);
  settings.MAPSIZE = 40;
  settings.MAXFOE = 3;
  settings.LABSWITCH = 3;
  settings.USEEXTENDEDTOPO = 1;
  LoadTopographyImages();
  LoadObjectDefinitions();
  gameState.level = 1;
  StartLabyrinthGame(WriteFuzzFile("in/base.txt", data, size));
  gameState.level = 2;
  BuildLevel();
  return 0;
}
