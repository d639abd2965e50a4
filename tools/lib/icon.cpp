#include "icon.h"

#include <cmath>
#include <numbers>

namespace gen {

const std::vector<int>& IconSizes() {
  static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
  return sizes;
}

Canvas DrawIcon(int size) {
  // Designed on a 64-unit square; k turns units into pixels.
  const float k = size / 64.0f;
  constexpr float kPi = std::numbers::pi_v<float>;
  Canvas c(size, size);
  auto units = [k](float x, float y) { return std::make_pair(x / k, y / k); };

  // The dark rounded square with a thin light rim.
  c.FillShape([&](float x, float y) { auto [u, v] = units(x, y); return DistBox(u, v, 1, 1, 63, 63, 11) * k; },
              [&](float, float y) { return Mix(Hex(0x262E5C), Hex(0x0C1028), Clamp01(y / size)); });
  c.FillShape([&](float x, float y) { auto [u, v] = units(x, y); return (std::fabs(DistBox(u, v, 1, 1, 63, 63, 11)) - 0.7f) * k; },
              Hex(0x8A9CFF, 0.55f));

  // Four tiles: two painted blue, two fixed (darker, with a light frame).
  const struct {
    float x0, y0;
    bool fixed;
  } tiles[] = {{9, 9, true}, {33, 9, false}, {9, 33, false}, {33, 33, true}};
  for (const auto& t : tiles) {
    auto box = [&](float x, float y, float inset) {
      auto [u, v] = units(x, y);
      return DistBox(u, v, t.x0 + inset, t.y0 + inset, t.x0 + 22 - inset, t.y0 + 22 - inset, 2.5f) * k;
    };
    c.FillShape([&](float x, float y) { return box(x, y, 0); }, t.fixed ? Hex(0xCFE0FF) : Hex(0x6FA2FF));
    c.FillShape([&](float x, float y) { return box(x, y, t.fixed ? 2.2f : 1.2f); },
                [&](float x, float y) {
                  auto [u, v] = units(x, y);
                  const float shade = Clamp01((u - t.x0 + v - t.y0) / 44);
                  return t.fixed ? Mix(Hex(0x2A5CD0), Hex(0x163C9A), shade) : Mix(Hex(0x3A78E8), Hex(0x2A58C0), shade);
                });
  }

  // The orb: a golden ball with a dark rim, a four-pointed star and a glint.
  auto orb = [&](float x, float y) { auto [u, v] = units(x, y); return DistCircle(u, v, 32, 32, 17) * k; };
  c.FillShape([&](float x, float y) { return orb(x, y) - 1.6f * k; }, Hex(0x160E1C));
  c.FillShape(orb, [&](float x, float y) {
    auto [u, v] = units(x, y);
    return Mix(Hex(0xFFF6B0), Hex(0xE8700A), Clamp01(std::hypot(u - 26, v - 25) / 26));
  });
  std::vector<std::pair<float, float>> star;
  for (int i = 0; i < 8; ++i) {
    const float a = -kPi / 2 + i * kPi / 4, r = i % 2 ? 3.8f : 12.5f;
    star.emplace_back(32 + r * std::cos(a), 32 + r * std::sin(a));
  }
  c.FillShape([&](float x, float y) { auto [u, v] = units(x, y); return DistPolygon(u, v, star) * k; }, Hex(0x7A2A06));
  c.FillShape([&](float x, float y) { auto [u, v] = units(x, y); return (DistPolygon(u, v, star) + 1.5f) * k; }, Hex(0xFFD64A));
  c.FillShape([&](float x, float y) { auto [u, v] = units(x, y); return DistCircle(u, v, 25, 23, 2.6f) * k; }, Hex(0xFFFDE8));
  return c;
}

}  // namespace gen
