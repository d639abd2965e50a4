#include "ui/test_images.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "core/game_state.h"
#include "media/clock.h"
#include "media/screen.h"

bool WriteSolidPng(const std::string& path, int32_t width, int32_t height, uint32_t colour) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  for (int32_t x = 0; x < width; x++) {
    row[x * 3 + 0] = static_cast<png_byte>(colour & 0xFF);
    row[x * 3 + 1] = static_cast<png_byte>((colour >> 8) & 0xFF);
    row[x * 3 + 2] = static_cast<png_byte>((colour >> 16) & 0xFF);
  }
  for (int32_t y = 0; y < height; y++) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

bool OpenTestScreen(int32_t width, int32_t height) {
  SetFastMode(true);
  SetWindowedSize(width, height);
  if (!StartVideo()) return false;
  const int32_t window = CreateMainWindow(0, 0, width, height, "quorvex test");
  if (window == 0) return false;
  if (OpenScreenInWindow(window, 0, 0, width, height, 1, 0, 0) == 0) return false;
  gameState.mainWindow = window;
  gameState.screenWidth = static_cast<float>(width);
  gameState.screenHeight = static_cast<float>(height);
  return true;
}

void CloseTestScreen() { EndVideo(); }
