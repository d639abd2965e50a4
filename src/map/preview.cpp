#include "map/preview.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "core/game_state.h"
#include "game/foes.h"
#include "game/player.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/tile_map.h"

namespace {

// An image as drawn at one size: its pixels sampled from the nearest source pixel, as the
// game's quads are drawn; keyed pixels are clear.
struct Drawn {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;  // r + g << 8 + b << 16 + a << 24
};

class Painter {
 public:
  Painter(PreviewPicture& picture, double scale) : picture_(picture), scale_(scale) {}

  // Draws the quad with its top-left corner at game pixel (x, y), at the quad's size.
  void DrawQuadAt(int32_t quad, double x, double y, int32_t opacity) {
    const int32_t image = QuadImage(quad);
    if (image == 0 || opacity <= 0) return;
    const int32_t width = RoundHalfEven(QuadWidth(quad) * scale_), height = RoundHalfEven(QuadHeight(quad) * scale_);
    if (width < 1 || height < 1) return;
    const Drawn& drawn = Sample(image, width, height);
    const int32_t left = RoundHalfEven(RoundHalfEven(x) * scale_), top = RoundHalfEven(RoundHalfEven(y) * scale_);
    const uint32_t alpha = static_cast<uint32_t>(std::min(opacity, 255));
    for (int32_t dy = std::max(0, -top); dy < height && top + dy < picture_.height; dy++)
      for (int32_t dx = std::max(0, -left); dx < width && left + dx < picture_.width; dx++) {
        const uint32_t texel = drawn.pixels[static_cast<size_t>(dy) * static_cast<size_t>(width) + static_cast<size_t>(dx)];
        const uint32_t a = ((texel >> 24) * alpha + 127) / 255;
        if (a == 0) continue;
        uint8_t* out = &picture_.rgb[(static_cast<size_t>(top + dy) * static_cast<size_t>(picture_.width) + static_cast<size_t>(left + dx)) * 3];
        for (int c = 0; c < 3; c++) {
          const uint32_t source = (texel >> (8 * c)) & 0xFF;
          out[c] = static_cast<uint8_t>((source * a + out[c] * (255 - a) + 127) / 255);
        }
      }
  }

  // A frame two pixels wide just inside the cell at (x, y).
  void FrameCell(int32_t x, int32_t y, uint32_t colour) {
    const int32_t side = picture_.cellPixels, left = x * side, top = y * side;
    for (int32_t dy = 0; dy < side; dy++)
      for (int32_t dx = 0; dx < side; dx++) {
        if (dx >= 2 && dy >= 2 && dx < side - 2 && dy < side - 2) continue;
        const int32_t px = left + dx, py = top + dy;
        if (px < 0 || py < 0 || px >= picture_.width || py >= picture_.height) continue;
        uint8_t* out = &picture_.rgb[(static_cast<size_t>(py) * static_cast<size_t>(picture_.width) + static_cast<size_t>(px)) * 3];
        for (int c = 0; c < 3; c++) out[c] = static_cast<uint8_t>(colour >> (8 * c));
      }
  }

 private:
  const Drawn& Sample(int32_t image, int32_t width, int32_t height) {
    const auto key = std::make_tuple(image, width, height);
    auto found = drawn_.find(key);
    if (found != drawn_.end()) return found->second;
    Drawn d{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height))};
    const int32_t sourceWidth = ImageWidth(image), sourceHeight = ImageHeight(image);
    for (int32_t y = 0; y < height; y++)
      for (int32_t x = 0; x < width; x++) {
        const int32_t sx = static_cast<int32_t>((static_cast<int64_t>(x) * 2 + 1) * sourceWidth / (2 * static_cast<int64_t>(width)));
        const int32_t sy = static_cast<int32_t>((static_cast<int64_t>(y) * 2 + 1) * sourceHeight / (2 * static_cast<int64_t>(height)));
        d.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = ImagePixel(image, sx, sy);
      }
    return drawn_.emplace(key, std::move(d)).first->second;
  }

  PreviewPicture& picture_;
  double scale_;
  std::map<std::tuple<int32_t, int32_t, int32_t>, Drawn> drawn_;
};

void DrawCells(Painter& painter, const PreviewContent& content) {
  const double tileWidth = gameState.tileWidth, tileHeight = gameState.tileHeight;
  for (int32_t y = 0; y < content.rows; y++)
    for (int32_t x = 0; x < content.columns; x++) {
      const TileCell* cell = tileMap.Find(x, y);
      if (cell && cell->alpha > 0 && cell->inMap == 1) painter.DrawQuadAt(cell->tileSprite, x * tileWidth, y * tileHeight, cell->alpha);
    }
}

// The objects as the game's object pass draws them: every slot that holds one, on cells with a
// graphic that belong to the map.
void DrawObjects(Painter& painter, const PreviewContent& content) {
  for (int32_t y = 0; y < content.rows; y++)
    for (int32_t x = 0; x < content.columns; x++) {
      const TileCell* cell = tileMap.Find(x, y);
      if (!cell || cell->tileSprite == 0 || cell->inMap != 1) continue;
      for (int32_t k = 0; k <= std::min<int32_t>(cell->lastChildSlot, 7); k++) {
        const int32_t position = cell->childObject[k];
        if (position < 0 || static_cast<size_t>(position) >= placedObjects.size()) continue;
        const PlacedObject& o = placedObjects[static_cast<size_t>(position)];
        if (o.objSprite == 0 || o.gfxShow != 1 || o.isPlayer != 0) continue;
        painter.DrawQuadAt(o.objSprite, x * static_cast<double>(gameState.tileWidth) + o.drawOffsetX,
                           y * static_cast<double>(gameState.tileHeight) + o.drawOffsetY, o.alpha);
      }
    }
}

int32_t CellOfPixel(double pixel, float tile) { return tile > 0 ? static_cast<int32_t>(std::floor(pixel / tile)) : 0; }

void DrawStarts(Painter& painter) {
  constexpr uint32_t kFoeFrame = 0x3030E0, kPlayerFrame = 0x20E0F0;  // red, yellow
  for (const Foe& foe : foes) {
    painter.DrawQuadAt(foe.foeSprite, foe.x + foe.drawOffsetX, foe.y + foe.drawOffsetY, foe.alpha);
    painter.FrameCell(CellOfPixel(foe.x, gameState.tileWidth), CellOfPixel(foe.y, gameState.tileHeight), kFoeFrame);
  }
  painter.DrawQuadAt(player.sprite3D, player.x, player.y, 255);
  painter.FrameCell(CellOfPixel(player.x, gameState.tileWidth), CellOfPixel(player.y, gameState.tileHeight), kPlayerFrame);
}

}  // namespace

PreviewPicture DrawPreview(const PreviewContent& content) {
  PreviewPicture picture;
  const int32_t tile = std::max(1, RoundHalfEven(std::max(gameState.tileWidth, gameState.tileHeight)));
  const int32_t cells = std::max({content.columns, content.rows, 1});
  picture.cellPixels = std::max(1, std::min(tile, kMostPreviewSide / cells));
  picture.width = std::max(1, content.columns * picture.cellPixels);
  picture.height = std::max(1, content.rows * picture.cellPixels);
  picture.rgb.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3, 0);
  Painter painter(picture, static_cast<double>(picture.cellPixels) / tile);
  DrawCells(painter, content);
  if (content.objects) DrawObjects(painter, content);
  if (content.starts) DrawStarts(painter);
  return picture;
}
