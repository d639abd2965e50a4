#include "pictures.h"

#include <cmath>
#include <numbers>

#include "sprites.h"

namespace gen {

namespace {

constexpr int W = kPictureWidth, H = kPictureHeight;

void Stars(Canvas& c, int count, int yMax, uint64_t seed, float brightness) {
  Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    const float x = rng.Unit() * W, y = rng.Unit() * yMax;
    const float b = brightness * (0.25f + 0.75f * rng.Unit() * rng.Unit()) * (1 - 0.7f * y / yMax);
    const Color tint = Mix(Hex(0xBFC8FF), Hex(0xFFE0F0), rng.Unit());
    c.AddLight(static_cast<int>(x), static_cast<int>(y), tint, b);
    if (b > 0.5f * brightness) {
      // The brighter ones twinkle with a small cross.
      for (int k = 1; k <= 3; ++k) {
        const float f = b * (0.5f / k);
        c.AddLight(static_cast<int>(x) + k, static_cast<int>(y), tint, f);
        c.AddLight(static_cast<int>(x) - k, static_cast<int>(y), tint, f);
        c.AddLight(static_cast<int>(x), static_cast<int>(y) + k, tint, f);
        c.AddLight(static_cast<int>(x), static_cast<int>(y) - k, tint, f);
      }
    }
  }
}

// Hills along the horizon: a dark silhouette whose top follows layered noise.
void Hills(Canvas& c, int horizon, float height, uint32_t seed, const Color& color, float x0, float x1) {
  for (int x = 0; x < W; ++x) {
    const float fade = SmoothStep(x0, x0 + 140, static_cast<float>(x)) * (1 - SmoothStep(x1 - 140, x1, static_cast<float>(x)));
    if (x1 < x0) continue;
    const float h = height * fade * (0.4f + 0.6f * Fractal(x / 90.0f, 0.5f, seed, 4));
    const float top = horizon - h;
    for (int y = static_cast<int>(top); y < horizon; ++y) c.Blend(x, y, color, Clamp01(y + 1 - top));
  }
}

}  // namespace

Canvas DrawTitlePicture() {
  Canvas c(W, H, Hex(0x000000));
  const int horizon = 612;  // 85%: leaves the title (40%), prompt (65%) and credits (80%) on calm sky
  c.VerticalGradient(0, horizon, Hex(0x07051A), Hex(0x2A0E44));
  // A low warm haze just above the horizon, kept dim where the credits line sits.
  for (int y = 480; y < horizon; ++y) {
    const float k = SmoothStep(480, static_cast<float>(horizon), static_cast<float>(y));
    for (int x = 0; x < W; ++x) c.AddLight(x, y, Hex(0x7A1E6A), 0.35f * k * k);
  }
  Stars(c, 420, 420, 7, 0.9f);

  // The sun: a disc sinking into the horizon on the right, cut by widening dark stripes.
  const float sx = 1090, sy = horizon - 10, sr = 150;
  c.Glow(sx, sy - 40, 330, Hex(0x8A2060), 0.35f);
  c.FillShape(
      [=](float x, float y) {
        float d = DistCircle(x, y, sx, sy, sr);
        const float below = (y - (sy - sr * 0.62f));
        if (below > 0) {
          const float period = 18, gap = 1.5f + below / 12;
          const float m = std::fmod(below, period);
          if (m < gap) d = std::max(d, 0.5f);
        }
        return std::max(d, y - horizon + 0.5f);
      },
      [=](float, float y) {
        const float t = Clamp01((y - (sy - sr)) / sr);
        return Mix(Hex(0xFFE66B), Hex(0xFF3D8B), t);
      });

  Hills(c, horizon, 70, 3, Hex(0x150A26), -200, 700);
  Hills(c, horizon, 45, 9, Hex(0x1C0C30), 820, 1500);

  // The floor: a neon grid in perspective, fading into the haze at the horizon.
  c.VerticalGradient(horizon, H, Hex(0x1A0830), Hex(0x090414));
  const float vanishX = W / 2.0f;
  for (int y = horizon; y < H; ++y) {
    const float depth = (y - horizon + 1) / static_cast<float>(H - horizon);  // 0 far .. 1 near
    const float z = 1.0f / depth;
    const float fade = SmoothStep(0.0f, 0.6f, depth);
    // Horizontal lines at equal steps of distance.
    const float lineZ = std::fmod(z * 6.0f, 1.0f);
    const float rowLine = lineZ < 0.12f * depth * 3 ? 1.0f : 0.0f;
    for (int x = 0; x < W; ++x) {
      const float u = (x - vanishX) * z / 180.0f;
      const float f = u - std::floor(u);
      const float width = 0.035f * z;
      const float colLine = (f < width || f > 1 - width) ? 1.0f : 0.0f;
      const float k = std::max(rowLine, colLine) * fade;
      if (k > 0) c.AddLight(x, y, Mix(Hex(0xFF4FB8), Hex(0x52E0FF), static_cast<float>(x) / W), 0.55f * k);
    }
  }
  // The horizon line itself glows.
  for (int x = 0; x < W; ++x) {
    c.AddLight(x, horizon, Hex(0xFF7AD0), 0.6f);
    c.AddLight(x, horizon - 1, Hex(0xFF7AD0), 0.2f);
    c.AddLight(x, horizon + 1, Hex(0xFF7AD0), 0.25f);
  }
  c.Vignette(0.35f);
  return c;
}

Canvas DrawLoadPicture(int variant) {
  Canvas c(W, H, Hex(0x000000));
  const Color top = variant == 0 ? Hex(0x0B1030) : Hex(0x1E0A2A);
  const Color bottom = variant == 0 ? Hex(0x06081A) : Hex(0x0E0618);
  c.VerticalGradient(0, H, top, bottom);
  Stars(c, 160, H, 100 + variant, 0.35f);

  // Bands of labyrinth tiles along the top and the bottom: the tiles as the player meets them,
  // painted blue on one page and claimed pink on the other, darkened so they stay behind the text.
  const LabTile ladder0[] = {LabTile::Wall, LabTile::Floor, LabTile::Blue, LabTile::FixedBlue, LabTile::Blue,
                             LabTile::Floor, LabTile::Green, LabTile::Water};
  const LabTile ladder1[] = {LabTile::Wall, LabTile::Pink, LabTile::FixedPink, LabTile::Floor, LabTile::Green,
                             LabTile::FixedBlue, LabTile::Water, LabTile::Pink};
  const LabTile* ladder = variant == 0 ? ladder0 : ladder1;
  const int scale = 2, size = kTileSize * scale;  // 80-pixel cells
  Rng rng(500 + variant);
  auto band = [&](int y0, int rows, bool fadeDown) {
    for (int row = 0; row < rows; ++row)
      for (int col = 0; col < W / size; ++col) {
        const LabTile tile = ladder[(col * 3 + row * 5 + rng.Range(0, 2)) % 8];
        Canvas t = DrawLabTile(tile);
        const int y = y0 + row * size;
        for (int py = 0; py < size; ++py) {
          const float depth = fadeDown ? (py + row * size) / static_cast<float>(rows * size)
                                       : 1 - (py + row * size) / static_cast<float>(rows * size);
          const float k = 0.55f * (1 - depth) + 0.05f;
          for (int px = 0; px < size; ++px) {
            const Color& s = t.At(px / scale, py / scale);
            c.Blend(col * size + px, y + py, Shade(s, k));
          }
        }
      }
  };
  band(0, 2, true);      // rows 0..159: above the text rows that start at 30% (216)
  band(H - 80, 1, false);  // rows 640..719: below the line at 80% (576)
  // A soft glowing rule between each band and the text area.
  for (int x = 0; x < W; ++x) {
    const float k = 0.5f * std::sin(static_cast<float>(x) / W * std::numbers::pi_v<float>);
    c.AddLight(x, 160, variant == 0 ? Hex(0x4F8BFF) : Hex(0xFF5EB0), k);
    c.AddLight(x, 639, variant == 0 ? Hex(0x4F8BFF) : Hex(0xFF5EB0), k);
  }
  c.Vignette(0.25f);
  return c;
}

}  // namespace gen
