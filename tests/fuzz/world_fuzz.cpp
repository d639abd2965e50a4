// The world map files: any bytes as the cell file (.ai42), and what follows a line "#red" in
// them as the value file (.red); loaded with drawing on, so every cell reads its tile.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/game_state.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "fuzz/fuzz_support.h"
#include "game/draw_map.h"
#include "game/pickups.h"
#include "world/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(64);
  settings.APPENTRY = FuzzDirectory() + "MAPS/";
  settings.APPSTART = "LAB";
  gameState.drawWorld = 1;
  LoadTopographyImages();
  LoadObjectDefinitions();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = bytes.find("\n#red\n");
  const std::string cells = bytes.substr(0, split);
  WriteFuzzFile("MAPS/LAB.ai42", reinterpret_cast<const uint8_t*>(cells.data()), cells.size());
  const std::string red = FuzzDirectory() + "MAPS/LAB.red";
  if (split == std::string::npos) {
    std::remove(red.c_str());
  } else {
    const std::string values = bytes.substr(split + 6);
    WriteFuzzFile("MAPS/LAB.red", reinterpret_cast<const uint8_t*>(values.data()), values.size());
  }
  LoadWorld();
  DrawMap();
  ObjectsFrame();
  return 0;
}
