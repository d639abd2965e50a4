// The configuration reader: any bytes as DATA\ini.txt, then what start-up works out from it.
#include <cstddef>
#include <cstdint>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "fuzz/fuzz_support.h"
#include "world/tile_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput();
  ReadSettingsFile(WriteFuzzFile("in/ini.txt", data, size));
  gameState.screenWidth = 640.0f;
  gameState.fontScale = gameState.screenWidth / static_cast<float>(settings.RESBASEW);
  ComputeViewSize();
  return 0;
}
