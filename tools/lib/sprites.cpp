#include "sprites.h"

#include <cmath>
#include <numbers>

namespace gen {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
const Color kOutline = Hex(0x160E1C);

// Light from the top left: a raised face with a highlight band and a shadow band.
void Bevel(Canvas& c, int x0, int y0, int x1, int y1, float light, float dark, int width = 2) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const int fromLeft = x - x0, fromTop = y - y0, fromRight = x1 - 1 - x, fromBottom = y1 - 1 - y;
      Color& p = c.At(x, y);
      if (fromTop < width || fromLeft < width) {
        if (fromRight >= width && fromBottom >= width) p = Mix(p, Hex(0xFFFFFF), light);
      } else if (fromRight < width || fromBottom < width) {
        p = Mix(p, Hex(0x000000), dark);
      }
    }
}

// Fills the tile with a colour broken up by fine noise.
void Textured(Canvas& c, const Color& base, float amount, uint32_t seed, float scale = 0.35f) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      const float n = Fractal(x * scale, y * scale, seed, 3) - 0.5f;
      c.At(x, y) = Shade(base, 1 + n * amount);
    }
}

void FloorSlabs(Canvas& c, const Color& base, uint32_t seed) {
  Textured(c, base, 0.28f, seed);
  // Four slabs with dark joints and soft bevels: unpainted stone.
  for (int sy = 0; sy < 2; ++sy)
    for (int sx = 0; sx < 2; ++sx) Bevel(c, sx * 20, sy * 20, sx * 20 + 20, sy * 20 + 20, 0.10f, 0.22f, 1);
  for (int i = 0; i < kTileSize; ++i) {
    c.At(i, 0) = c.At(0, i) = Shade(base, 0.55f);
    c.At(i, 20) = c.At(20, i) = Shade(base, 0.62f);
  }
}

void GrassTufts(Canvas& c, uint32_t seed, const Color& blade, const Color& dark, int count) {
  Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    const float x = 4 + rng.Unit() * 32, y = 7 + rng.Unit() * 29;
    c.Line(x, y, x - 2.5f, y - 5.5f, 1.2f, dark);
    c.Line(x + 1, y, x + 1, y - 6.5f, 1.2f, blade);
    c.Line(x + 2, y, x + 4.5f, y - 5, 1.2f, blade);
  }
}

void Waves(Canvas& c, const Color& crest, const Color& trough, float phase) {
  for (int row = 0; row < 4; ++row) {
    const float base = 6 + row * 10.0f;
    const float shift = (row % 2) * 10.0f + phase;
    for (int x = 0; x < kTileSize; ++x) {
      const float y = base + 2.2f * std::sin((x + shift) * 2 * kPi / 20);
      c.FillShape([&](float px, float py) { return std::hypot(px - (x + 0.5f), py - y) - 0.8f; }, crest);
      c.Blend(x, static_cast<int>(y) + 2, trough, 0.6f);
    }
  }
}

void Hatching(Canvas& c, const Color& line, int period, int width) {
  for (int y = 0; y < kTileSize; ++y)
    for (int x = 0; x < kTileSize; ++x)
      if (((x + y) % period) < width) c.At(x, y) = Mix(c.At(x, y), line, 0.85f);
}

void Dots(Canvas& c, const Color& dot, float radius) {
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      const float x = 5 + col * 10 + (row % 2) * 5.0f, y = 5 + row * 10.0f;
      c.FillCircle(x, y, radius, dot);
      if (row % 2 && col == 3) c.FillCircle(x - 40, y, radius, dot);
    }
}

// The mark of a fixed cell: a bold raised inner frame and a stud in the middle.
void FixedFrame(Canvas& c, const Color& frame, const Color& dark, bool roundStud) {
  c.FillShape([](float x, float y) { return std::fabs(DistBox(x, y, 5, 5, 35, 35, 2)) - 2.5f; }, dark);
  c.FillShape([](float x, float y) { return std::fabs(DistBox(x, y, 5, 5, 35, 35, 2)) - 1.5f; }, frame);
  if (roundStud) {
    c.FillCircle(20, 20, 6.5f, dark);
    c.FillCircle(20, 20, 5.0f, frame);
    c.FillCircle(18.5f, 18.5f, 1.8f, Mix(frame, Hex(0xFFFFFF), 0.6f));
  } else {
    const std::vector<std::pair<float, float>> diamond = {{20, 12.5f}, {27.5f, 20}, {20, 27.5f}, {12.5f, 20}};
    c.FillShape([&](float x, float y) { return DistPolygon(x, y, diamond) - 1.2f; }, dark);
    c.FillShape([&](float x, float y) { return DistPolygon(x, y, diamond); }, frame);
  }
}

void Bricks(Canvas& c) {
  const Color mortar = Hex(0x231A2A);
  c.Fill(mortar);
  for (int row = 0; row < 4; ++row) {
    const int y0 = row * 10, offset = (row % 2) * 10;
    for (int col = -1; col < 3; ++col) {
      const int x0 = col * 20 + offset;
      const int bx0 = std::max(0, x0 + 1), bx1 = std::min(kTileSize, x0 + 19);
      if (bx1 <= bx0) continue;
      const float tint = 0.92f + 0.16f * ValueNoise(static_cast<float>(col * 3 + row * 7), 0.5f, 77);
      const Color face = Shade(Hex(0x8A5E52), tint);
      for (int y = y0 + 1; y < y0 + 9; ++y)
        for (int x = bx0; x < bx1; ++x) {
          const float n = Fractal(x * 0.5f, y * 0.5f, 31, 2) - 0.5f;
          c.At(x, y) = Shade(face, 1 + n * 0.25f);
        }
      Bevel(c, bx0, y0 + 1, bx1, y0 + 9, 0.30f, 0.35f, 1);
    }
  }
}

}  // namespace

Canvas DrawLabTile(LabTile tile, Edge edge) {
  Canvas c(kTileSize, kTileSize, Hex(0x000000));
  switch (tile) {
    case LabTile::Floor:
      FloorSlabs(c, Hex(0x454A63), 11);
      break;
    case LabTile::Green:
      Textured(c, Hex(0x2F6B3A), 0.35f, 21, 0.25f);
      GrassTufts(c, 5, Hex(0x7CCB5A), Hex(0x1E4A26), 7);
      Bevel(c, 0, 0, kTileSize, kTileSize, 0.08f, 0.18f, 1);
      break;
    case LabTile::Water:
      for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x)
          c.At(x, y) = Shade(Mix(Hex(0x1A4A7A), Hex(0x14607A), y / 40.0f), 0.9f + 0.2f * Fractal(x * 0.2f, y * 0.2f, 3, 2));
      Waves(c, Hex(0x7FD6E8, 0.9f), Hex(0x0E2E4E), 0);
      break;
    case LabTile::Wall:
      Bricks(c);
      break;
    case LabTile::Blue:
      Textured(c, Hex(0x2A63D6), 0.12f, 41);
      Hatching(c, Hex(0x6FA2FF), 8, 2);
      Bevel(c, 0, 0, kTileSize, kTileSize, 0.15f, 0.30f, 2);
      break;
    case LabTile::FixedBlue:
      Textured(c, Hex(0x1E4FBF), 0.10f, 43);
      Hatching(c, Hex(0x4C86F0), 8, 2);
      Bevel(c, 0, 0, kTileSize, kTileSize, 0.25f, 0.40f, 2);
      FixedFrame(c, Hex(0xCFE0FF), Hex(0x0A1A4A), true);
      break;
    case LabTile::Pink:
      Textured(c, Hex(0xC23C82), 0.12f, 51);
      Dots(c, Hex(0xFF9ACD), 2.4f);
      Bevel(c, 0, 0, kTileSize, kTileSize, 0.15f, 0.30f, 2);
      break;
    case LabTile::FixedPink:
      Textured(c, Hex(0x9E2268), 0.10f, 53);
      Dots(c, Hex(0xE05AA2), 2.4f);
      Bevel(c, 0, 0, kTileSize, kTileSize, 0.25f, 0.40f, 2);
      FixedFrame(c, Hex(0xFFD6EC), Hex(0x3E0626), false);
      break;
    case LabTile::Dummy:
      Textured(c, Hex(0x24222E), 0.2f, 61);
      Bevel(c, 0, 0, kTileSize, kTileSize, 0.06f, 0.2f, 1);
      break;
  }
  // Edge variants: the same ground with a shaded band where it meets the next cell.
  if (edge != Edge::None)
    for (int y = 0; y < kTileSize; ++y)
      for (int x = 0; x < kTileSize; ++x) {
        const int d = edge == Edge::East ? kTileSize - 1 - x : kTileSize - 1 - y;
        if (d < 6) c.At(x, y) = Shade(c.At(x, y), 0.55f + 0.07f * d);
      }
  return c;
}

namespace {

Canvas DrawCoin() {
  Canvas c(kTileSize, kTileSize);
  c.FillCircle(20, 20, 13, Hex(0xB8860B));
  c.FillShape([](float x, float y) { return DistCircle(x, y, 20, 20, 10.5f); },
              [](float x, float y) { return Mix(Hex(0xFFF08A), Hex(0xE0A21A), Clamp01((x + y - 18) / 30)); });
  // An embossed star on the face.
  std::vector<std::pair<float, float>> star;
  for (int i = 0; i < 10; ++i) {
    const float a = -kPi / 2 + i * kPi / 5, r = i % 2 ? 2.8f : 6.5f;
    star.emplace_back(20 + r * std::cos(a), 20.5f + r * std::sin(a));
  }
  c.FillShape([&](float x, float y) { return DistPolygon(x, y, star); }, Hex(0xC98E10));
  c.Line(13, 14, 16, 11, 1.6f, Hex(0xFFFBD0));
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawGem() {
  Canvas c(kTileSize, kTileSize);
  // A cut gem seen from the side: crown facets above the girdle, pavilion below.
  const float top = 9, girdle = 17, bottom = 33;
  const std::vector<std::vector<std::pair<float, float>>> facets = {
      {{13, top}, {27, top}, {24, girdle}, {16, girdle}},
      {{13, top}, {16, girdle}, {7, girdle}},
      {{27, top}, {33, girdle}, {24, girdle}},
      {{7, girdle}, {16, girdle}, {20, bottom}},
      {{16, girdle}, {24, girdle}, {20, bottom}},
      {{24, girdle}, {33, girdle}, {20, bottom}},
  };
  const uint32_t shades[] = {0x9FFFE8, 0x5FE8C8, 0x2EB89A, 0x3FD0B0, 0x1E9C80, 0x137060};
  for (size_t i = 0; i < facets.size(); ++i)
    c.FillShape([&](float x, float y) { return DistPolygon(x, y, facets[i]) - 0.3f; }, Hex(shades[i]));
  c.Line(14.5f, 11, 17, 11, 1.2f, Hex(0xEFFFFA));
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawBomb() {
  Canvas c(kTileSize, kTileSize);
  const float cx = 19, cy = 23, r = 12;
  c.FillShape([=](float x, float y) { return DistCircle(x, y, cx, cy, r); }, [=](float x, float y) {
    return Mix(Hex(0x7E8BC8), Hex(0x1E2040), Clamp01(std::hypot(x - cx + 4, y - cy + 5) / (r * 1.7f)));
  });
  c.FillCircle(cx - 4.5f, cy - 5, 2.6f, Hex(0xDCE2FF));
  c.FillShape([=](float x, float y) { return DistBox(x, y, cx + 3, cy - r - 3, cx + 10, cy - r + 3, 1); },
              Hex(0x4E5270));
  c.Line(cx + 8, cy - r - 2, cx + 12, cy - r - 6, 2, Hex(0xA8763A));
  c.FillCircle(cx + 13.5f, cy - r - 7.5f, 3.2f, Hex(0xFF9A1F));
  c.FillCircle(cx + 13.5f, cy - r - 7.5f, 1.6f, Hex(0xFFF2A8));
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawClock() {
  Canvas c(kTileSize, kTileSize);
  const float cx = 20, cy = 22;
  c.FillShape([](float x, float y) { return DistBox(x, y, 17, 4, 23, 9, 1); }, Hex(0x2E9A8A));
  c.Line(29, 10, 32, 7, 3, Hex(0x2E9A8A));
  c.FillCircle(cx, cy, 13, Hex(0x2BB39E));
  c.FillCircle(cx, cy, 10, Hex(0xFFF6E2));
  for (int i = 0; i < 12; ++i) {
    const float a = i * kPi / 6;
    const float r0 = i % 3 ? 8.2f : 7.0f;
    c.Line(cx + r0 * std::cos(a), cy + r0 * std::sin(a), cx + 9 * std::cos(a), cy + 9 * std::sin(a), 1.2f,
           Hex(0x4A4050));
  }
  c.Line(cx, cy, cx, cy - 7, 2, Hex(0x2A2030));
  c.Line(cx, cy, cx + 5, cy + 2, 2, Hex(0xD8323C));
  c.FillCircle(cx, cy, 1.8f, Hex(0x2A2030));
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawCherry() {
  Canvas c(kTileSize, kTileSize);
  c.Line(13, 26, 21, 9, 1.8f, Hex(0x4F7A22));
  c.Line(28, 27, 21, 9, 1.8f, Hex(0x4F7A22));
  c.FillShape(
      [](float x, float y) { return std::max(DistCircle(x, y, 27, 6, 8), DistCircle(x, y, 21, 14, 8)); },
      Hex(0x5DBB3A));
  auto berry = [&c](float cx, float cy) {
    c.FillShape([=](float x, float y) { return DistCircle(x, y, cx, cy, 7.5f); },
                [=](float x, float y) {
                  return Mix(Hex(0xFF4D5E), Hex(0x8E0F25), Clamp01(std::hypot(x - cx + 2.5f, y - cy + 2.5f) / 11));
                });
    c.FillCircle(cx - 2.5f, cy - 2.5f, 1.7f, Hex(0xFFD6DA));
  };
  berry(12, 28);
  berry(28, 29);
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawSpinner() {
  // A spiked wheel: eight blades around a hub with one angry eye; it spins as it hunts.
  Canvas c(kTileSize, kTileSize);
  std::vector<std::pair<float, float>> blade;
  for (int i = 0; i < 16; ++i) {
    const float a = i * kPi / 8 + (i % 2 ? 0.22f : 0.0f);
    const float r = i % 2 ? 9.0f : 17.0f;
    blade.emplace_back(20 + r * std::cos(a), 20 + r * std::sin(a));
  }
  c.FillShape([&](float x, float y) { return DistPolygon(x, y, blade); },
              [](float x, float y) { return Mix(Hex(0xFFB03A), Hex(0xD8401E), Clamp01(std::hypot(x - 20, y - 20) / 17)); });
  c.FillCircle(20, 20, 8, Hex(0x5A1A1E));
  c.FillCircle(20, 20, 6, Hex(0xFFE9C8));
  c.FillCircle(21, 20, 3, Hex(0x2A0A10));
  c.FillCircle(20, 19, 1.1f, Hex(0xFFF4E0));
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawWisp() {
  // Drawn with an additive blend: the colours add light, dark parts add nothing. So the body
  // is a glow that fades to black at its edge, with dark eyes.
  Canvas c(kTileSize, kTileSize);
  auto body = [](float x, float y) {
    const float head = DistCircle(x, y, 20, 17, 12);
    const float skirt = DistBox(x, y, 8, 17, 32, 33, 0);
    float d = std::min(head, skirt);
    // A wavy hem.
    const float hem = 31 + 2.5f * std::cos((x - 8) * kPi / 4);
    if (y > hem) d = std::max(d, y - hem);
    return d;
  };
  c.FillShape(body, [&](float x, float y) {
    const float edge = Clamp01(-body(x, y) / 8);
    return Shade(Mix(Hex(0x6A1FB0), Hex(0xFF9CF0), edge * edge), 0.25f + 0.75f * edge);
  });
  c.FillShape([](float x, float y) { return DistBox(x, y, 13, 13, 18, 20, 2); }, Hex(0x100818));
  c.FillShape([](float x, float y) { return DistBox(x, y, 22, 13, 27, 20, 2); }, Hex(0x100818));
  c.Harden();
  return c;
}

Canvas DrawPlayer() {
  // A golden orb with a four-pointed star: round, so its slow spin shows only in the star.
  Canvas c(kTileSize, kTileSize);
  c.FillShape([](float x, float y) { return DistCircle(x, y, 20, 20, 16); }, [](float x, float y) {
    return Mix(Hex(0xFFF6B0), Hex(0xE8700A), Clamp01(std::hypot(x - 15, y - 14) / 26));
  });
  c.FillShape([](float x, float y) { return std::fabs(DistCircle(x, y, 20, 20, 13.5f)) - 0.8f; }, Hex(0xB0480A, 0.7f));
  std::vector<std::pair<float, float>> star;
  for (int i = 0; i < 8; ++i) {
    const float a = -kPi / 2 + i * kPi / 4, r = i % 2 ? 3.4f : 11.5f;
    star.emplace_back(20 + r * std::cos(a), 20 + r * std::sin(a));
  }
  c.FillShape([&](float x, float y) { return DistPolygon(x, y, star); }, Hex(0x7A2A06));
  c.FillShape([&](float x, float y) { return DistPolygon(x, y, star) + 1.6f; }, Hex(0xFFD64A));
  c.FillCircle(14, 12, 2.4f, Hex(0xFFFDE8));
  c.Harden();
  c.Outline(kOutline, 2);
  return c;
}

Canvas DrawTree() {
  Canvas c(kTileSize, kTileSize);
  c.FillShape([](float x, float y) { return DistBox(x, y, 17, 24, 23, 37, 1); }, Hex(0x6B4526));
  const float blobs[][3] = {{20, 13, 10}, {12, 20, 8}, {28, 20, 8}, {20, 23, 9}};
  for (const auto& b : blobs)
    c.FillShape([&](float x, float y) { return DistCircle(x, y, b[0], b[1], b[2]); }, [](float x, float y) {
      return Mix(Hex(0x8BD65A), Hex(0x23672E), Clamp01(std::hypot(x - 15, y - 8) / 26));
    });
  c.FillCircle(16, 10, 2.5f, Hex(0xB6EC86));
  c.Harden();
  c.Outline(kOutline, 1);
  return c;
}

Canvas DrawFlower() {
  Canvas c(kTileSize, kTileSize);
  const float spots[][3] = {{12, 24, 0}, {26, 17, 1}, {24, 31, 2}};
  const uint32_t petals[] = {0xFFD84A, 0xFF7FB0, 0xB9A4FF};
  for (const auto& s : spots) {
    c.Line(s[0], s[1] + 2, s[0], s[1] + 7, 1.4f, Hex(0x3E8A34));
    for (int i = 0; i < 5; ++i) {
      const float a = i * 2 * kPi / 5;
      c.FillCircle(s[0] + 2.6f * std::cos(a), s[1] + 2.6f * std::sin(a), 2.0f, Hex(petals[static_cast<int>(s[2])]));
    }
    c.FillCircle(s[0], s[1], 1.4f, Hex(0xFFF3C0));
  }
  c.Harden();
  c.Outline(kOutline, 1);
  return c;
}

}  // namespace

Canvas DrawSprite(Sprite sprite) {
  switch (sprite) {
    case Sprite::Coin: return DrawCoin();
    case Sprite::Gem: return DrawGem();
    case Sprite::Bomb: return DrawBomb();
    case Sprite::Clock: return DrawClock();
    case Sprite::Cherry: return DrawCherry();
    case Sprite::Spinner: return DrawSpinner();
    case Sprite::Wisp: return DrawWisp();
    case Sprite::Player: return DrawPlayer();
    case Sprite::Tree: return DrawTree();
    case Sprite::Flower: return DrawFlower();
  }
  return Canvas(kTileSize, kTileSize);
}

Canvas DrawGlowImage(Glow glow) {
  switch (glow) {
    case Glow::Sparkle: {
      Canvas c(48, 48, Hex(0x000000));
      c.Glow(24, 24, 14, Hex(0x9A86FF), 0.35f);
      for (int i = 0; i < 48; ++i) {
        const float d = std::fabs(i - 23.5f) / 24;
        const float k = (1 - d) * (1 - d) * (1 - d) * 0.55f;
        c.AddLight(i, 23, Hex(0xE8E0FF), k);
        c.AddLight(i, 24, Hex(0xE8E0FF), k);
        c.AddLight(23, i, Hex(0xE8E0FF), k);
        c.AddLight(24, i, Hex(0xE8E0FF), k);
      }
      return c;
    }
    case Glow::Orb: {
      Canvas c(64, 64, Hex(0x000000));
      c.Glow(32, 32, 31, Hex(0xFF5EC8), 0.3f);
      c.Glow(32, 32, 12, Hex(0xFFC0EA), 0.18f);
      return c;
    }
    case Glow::Mote: {
      Canvas c(32, 32, Hex(0x000000));
      c.Glow(16, 16, 15, Hex(0x58D8FF), 0.26f);
      c.Glow(16, 16, 5, Hex(0xD8F6FF), 0.2f);
      return c;
    }
  }
  return Canvas(1, 1);
}

}  // namespace gen
