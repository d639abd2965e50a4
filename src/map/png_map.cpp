#include "map/png_map.h"

#include <cstdio>

#include "media/image_codecs.h"

namespace {

// A channel's value, for a text that writes one: digits only, either three of them or no
// leading zero, at most 255.
bool ChannelOf(const std::string& text, int32_t& value) {
  if (text.empty() || text.size() > 3) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  if (text.size() != 3 && text.size() > 1 && text[0] == '0') return false;
  value = std::stoi(text);
  return value <= 255;
}

std::string Cell(int32_t x, int32_t y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

std::string AndMore(int64_t more, const char* what) {
  return more > 0 ? " (and " + std::to_string(more) + " more " + what + ")" : "";
}

std::string Padded(int32_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", value);
  return text;
}

}  // namespace

bool MapPicture(const MapCells& cells, std::vector<uint8_t>& rgba, std::string& refusal) {
  rgba.assign(cells.texts.size() * 4, 0);
  std::string first;
  int64_t bad = 0;
  for (int32_t x = 0; x < cells.columns; x++)
    for (int32_t y = 0; y < cells.rows; y++) {
      const size_t i = cells.Index(x, y);
      uint8_t* pixel = &rgba[(static_cast<size_t>(y) * static_cast<size_t>(cells.columns) + static_cast<size_t>(x)) * 4];
      std::string why;
      for (int c = 0; c < 3 && why.empty(); c++) {
        int32_t value = 0;
        if (ChannelOf(cells.texts[i][c], value))
          pixel[c] = static_cast<uint8_t>(value);
        else
          why = "its text \"" + cells.texts[i][c] + "\" (line " + std::to_string(c + 1) +
                " of the cell) is not a number 0..255 written plainly or with three digits";
      }
      const int32_t opacity = cells.opacity[i];
      if (why.empty() && (opacity < 0 || opacity > 255)) why = "its opacity " + std::to_string(opacity) + " is not 0..255";
      pixel[3] = static_cast<uint8_t>(opacity);
      if (why.empty()) continue;
      if (bad++ == 0) first = "cell " + Cell(x, y) + " cannot be a pixel: " + why;
    }
  if (bad == 0) return true;
  refusal = first + AndMore(bad - 1, "cells");
  return false;
}

bool ReadPngMap(const std::vector<uint8_t>& file, const std::set<std::string>& tileNames, MapCells& cells,
                std::string& refusal) {
  RgbaPicture picture;
  bool tooLarge = false;
  if (!DecodeImageWithin(file, int64_t{kMostMapCells} * kMostMapCells, picture, tooLarge) || picture.width > kMostMapCells ||
      picture.height > kMostMapCells) {
    refusal = tooLarge || picture.width > kMostMapCells || picture.height > kMostMapCells
                  ? "the picture is larger than the game's grid of " + std::to_string(kMostMapCells) + " x " +
                        std::to_string(kMostMapCells) + " cells"
                  : "is not a picture the game decodes (PNG, JPEG, TIFF or TGA)";
    return false;
  }
  cells.Resize(picture.width, picture.height);
  std::string first;
  int64_t bad = 0;
  for (int32_t y = 0; y < picture.height; y++)
    for (int32_t x = 0; x < picture.width; x++) {
      const uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)) * 4];
      std::array<std::string, 3> padded = {Padded(p[0]), Padded(p[1]), Padded(p[2])};
      std::array<std::string, 3> plain = {std::to_string(p[0]), std::to_string(p[1]), std::to_string(p[2])};
      const size_t i = cells.Index(x, y);
      cells.opacity[i] = p[3];
      if (tileNames.count(padded[0] + padded[1] + padded[2]))
        cells.texts[i] = padded;
      else if (tileNames.count(plain[0] + plain[1] + plain[2]))
        cells.texts[i] = plain;
      else if (bad++ == 0)
        first = "pixel " + Cell(x, y) + " of colour " + std::to_string(p[0]) + ", " + std::to_string(p[1]) + ", " +
                std::to_string(p[2]) + " names no tile: there is no tile file " + padded[0] + padded[1] + padded[2] +
                (plain != padded ? " or " + plain[0] + plain[1] + plain[2] : "");
    }
  if (bad == 0) return true;
  refusal = first + AndMore(bad - 1, "pixels");
  return false;
}
