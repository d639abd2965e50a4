// A picture of a whole map as the game draws it, made without a display: the cells of the tile
// map with their tile graphics at the size and opacity the game gives them, and on request the
// objects the tiles spawned, the foes and the player at their starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The largest side of a preview; a map that would be larger is drawn with smaller cells.
constexpr int32_t kMostPreviewSide = 8192;

struct PreviewPicture {
  int32_t width = 0, height = 0;
  int32_t cellPixels = 0;     // the side of a cell in the picture
  std::vector<uint8_t> rgb;   // rows from the top, three bytes a pixel
};

struct PreviewContent {
  int32_t columns = 0, rows = 0;  // the cells drawn: 0..columns-1 x 0..rows-1
  bool objects = false;           // the placed objects the cells show
  bool starts = false;            // the foes and the player, their start cells framed
};

// Draws the tile map (as loaded or built) over black, at the game's tile size when the picture
// fits kMostPreviewSide, else at the largest whole cell size that does.
PreviewPicture DrawPreview(const PreviewContent& content);
