#include "support/test_images.h"

#include <png.h>

#include <fstream>

#include "core/game_state.h"
#include "media/clock.h"
#include "media/files.h"
#include "media/screen.h"
#include "support/sample_files.h"

bool WriteSolidPng(const std::string& path, int32_t width, int32_t height, uint32_t colour) {
  Bytes rgb;
  for (int32_t i = 0; i < width * height; i++)
    rgb.insert(rgb.end(), {static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
                           static_cast<uint8_t>((colour >> 16) & 0xFF)});
  const Bytes png = EncodePng(width, height, PNG_COLOR_TYPE_RGB, 8, rgb);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  ForgetDirectories();  // the game reads a directory once; the tests change theirs as they go
  return out.good();
}

bool OpenTestScreen(int32_t width, int32_t height) {
  SetFastMode(true);
  SetWindowedSize(width, height);
  if (!StartVideo()) return false;
  const int32_t window = CreateMainWindow(width, height, "quorvex test");
  if (window == 0) return false;
  if (OpenScreenInWindow(window, width, height) == 0) return false;
  gameState.mainWindow = window;
  gameState.screenWidth = static_cast<float>(width);
  gameState.screenHeight = static_cast<float>(height);
  return true;
}
