// The notice over the picture (the volume keys say what they did): a line of capitals drawn in
// a small font of its own, and a bar, straight into the window after the game's picture.
#include <algorithm>
#include <cstdint>
#include <string>

#include "media/screen.h"
#include "media/video_internal.h"

namespace {

// 5 x 7 glyphs, a row a byte, the high bit of the five the left column.
struct Glyph {
  char c;
  uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}}, {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}}, {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}}, {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}}, {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}}, {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}}, {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

std::string noticeText;
int32_t noticeLevel = -1;
int32_t noticeFrames = 0;  // frames the notice is shown for
int32_t noticeLeft = 0;    // frames still to show

}  // namespace

void ShowNotice(const std::string& text, int32_t level, int32_t frames) {
  noticeText = text;
  noticeLevel = level < 0 ? -1 : std::min(level, 100);
  noticeFrames = std::max(0, frames);
  noticeLeft = noticeFrames;
}

void DrawNotice(const SDL_Rect& area) {
  if (noticeLeft <= 0 || !video.renderer || area.w < 1 || area.h < 1) return;
  // The last quarter fades out.
  const int32_t fadeFrames = std::max(1, noticeFrames / 4);
  const int32_t opacity = noticeLeft >= fadeFrames ? 255 : 255 * noticeLeft / fadeFrames;
  // A pixel of the font is a 160th of the picture's height (3 pixels at 480, 6 at 1080).
  const int32_t unit = std::max(1, area.h / 160);
  const int32_t columns = static_cast<int32_t>(noticeText.size());
  const int32_t textW = std::max(0, columns * 6 - 1) * unit, textH = 7 * unit;
  const int32_t barH = noticeLevel >= 0 ? 4 * unit : 0, gap = noticeLevel >= 0 ? 3 * unit : 0;
  const int32_t barW = std::max(textW, 50 * unit);
  const int32_t boxW = std::max(textW, barW) + 8 * unit, boxH = textH + gap + barH + 8 * unit;
  const int32_t boxX = area.x + (area.w - boxW) / 2, boxY = area.y + area.h / 12;

  Uint8 r = 0, g = 0, b = 0, a = 0;
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  SDL_GetRenderDrawColor(video.renderer, &r, &g, &b, &a);
  SDL_GetRenderDrawBlendMode(video.renderer, &mode);
  SDL_SetRenderDrawBlendMode(video.renderer, SDL_BLENDMODE_BLEND);

  SDL_SetRenderDrawColor(video.renderer, 0, 0, 0, static_cast<Uint8>(opacity * 3 / 4));
  const SDL_Rect box{boxX, boxY, boxW, boxH};
  SDL_RenderFillRect(video.renderer, &box);

  SDL_SetRenderDrawColor(video.renderer, 255, 255, 255, static_cast<Uint8>(opacity));
  const int32_t textX = boxX + (boxW - textW) / 2, textY = boxY + 4 * unit;
  for (int32_t i = 0; i < columns; i++) {
    const Glyph* glyph = FindGlyph(noticeText[static_cast<size_t>(i)]);
    if (!glyph) continue;
    for (int32_t row = 0; row < 7; row++)
      for (int32_t col = 0; col < 5; col++)
        if (glyph->rows[row] & (0x10 >> col)) {
          const SDL_Rect dot{textX + (i * 6 + col) * unit, textY + row * unit, unit, unit};
          SDL_RenderFillRect(video.renderer, &dot);
        }
  }
  if (noticeLevel >= 0) {
    // Ten steps; those up to the level lit, the rest dim.
    const int32_t barX = boxX + (boxW - barW) / 2, barY = textY + textH + gap;
    const int32_t step = barW / 10;
    for (int32_t i = 0; i < 10; i++) {
      const bool lit = noticeLevel >= (i + 1) * 10;
      SDL_SetRenderDrawColor(video.renderer, lit ? 255 : 90, lit ? 255 : 90, lit ? 255 : 90, static_cast<Uint8>(opacity));
      const SDL_Rect cell{barX + i * step, barY, std::max(1, step - unit), barH};
      SDL_RenderFillRect(video.renderer, &cell);
    }
  }
  SDL_SetRenderDrawBlendMode(video.renderer, mode);
  SDL_SetRenderDrawColor(video.renderer, r, g, b, a);
}

void CountNoticeFrame() {
  if (noticeLeft > 0) noticeLeft--;
}

void ForgetNotice() {
  noticeText.clear();
  noticeLevel = -1;
  noticeFrames = noticeLeft = 0;
}
