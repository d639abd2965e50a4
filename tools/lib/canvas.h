// A small drawing library for the content generators: a float RGBA canvas, shapes drawn from
// signed distances (anti-aliased), gradients, glows, seeded noise, outlines and PNG output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gen {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an opacity.
Color Hex(uint32_t rgb, float alpha = 1.0f);
Color Mix(const Color& a, const Color& b, float t);
// Multiplies the colour channels (not the opacity).
Color Shade(const Color& c, float k);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float x);

// A deterministic random stream (splitmix64); the same seed gives the same numbers everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  // Uniform in [0, 1).
  float Unit();
  // Uniform integer in [lo, hi].
  int Range(int lo, int hi);

 private:
  uint64_t state_;
};

// Smooth value noise in about [0, 1] with period-free lattice hashing.
float ValueNoise(float x, float y, uint32_t seed);
// Sum of octaves of value noise, normalised to about [0, 1].
float Fractal(float x, float y, uint32_t seed, int octaves);

// Signed distance helpers: negative inside.
float DistCircle(float x, float y, float cx, float cy, float r);
float DistBox(float x, float y, float x0, float y0, float x1, float y1, float radius = 0);
float DistSegment(float x, float y, float ax, float ay, float bx, float by);
// Distance to a closed polygon (negative inside).
float DistPolygon(float x, float y, const std::vector<std::pair<float, float>>& points);

using Distance = std::function<float(float x, float y)>;
using Paint = std::function<Color(float x, float y)>;

class Canvas {
 public:
  Canvas(int width, int height, Color fill = {1, 1, 1, 0});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Color& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Color& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // Clamped to the edges.
  Color Get(int x, int y) const;
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  void Fill(const Color& c);
  // Source-over blend of a colour with a coverage in 0..1.
  void Blend(int x, int y, const Color& c, float coverage = 1.0f);
  // Adds light: colour * amount, opacity unchanged (made opaque where it was not).
  void AddLight(int x, int y, const Color& c, float amount);

  // Fills the pixels whose centre distance is below zero, with a one-pixel anti-aliased edge.
  void FillShape(const Distance& distance, const Paint& paint);
  void FillShape(const Distance& distance, const Color& color);
  void FillRect(int x0, int y0, int x1, int y1, const Color& c);  // inclusive-exclusive
  void FillCircle(float cx, float cy, float r, const Color& c);
  void Line(float ax, float ay, float bx, float by, float width, const Color& c);
  void Rect(int x0, int y0, int x1, int y1, const Color& c);  // one-pixel frame, inclusive
  // Vertical gradient over rows y0..y1 (exclusive), whole width.
  void VerticalGradient(int y0, int y1, const Color& top, const Color& bottom);
  // Additive radial glow: full strength at the centre, fading to nothing at the radius.
  void Glow(float cx, float cy, float radius, const Color& c, float strength = 1.0f);
  // Draws another canvas at a position, source-over, optionally magnified (nearest neighbour).
  void Draw(const Canvas& source, int x, int y, int scale = 1);
  // A copy with every pixel repeated factor x factor times (nearest neighbour, exact).
  Canvas Magnified(int factor) const;
  // Transparent pixels next to (4-neighbour) opaque ones become the outline colour.
  void Outline(const Color& c, int thickness = 1);
  // Every opacity becomes 0 or 1 (for images whose transparency is a colour key).
  void Harden(float threshold = 0.5f);
  // Multiplies the colour of every pixel by a factor depending on the distance from the centre.
  void Vignette(float strength);

  // Writes an 8-bit PNG. With alpha, transparent pixels are written as white with opacity 0;
  // without, the image is flattened onto the given background. Opaque pixels that would be the
  // colour key (pure white, and pure black if avoidBlack) are nudged one step, so only the
  // intended background is ever keyed out.
  bool SavePng(const std::string& path, bool alpha, bool avoidBlack = false) const;
  // The same bytes SavePng writes.
  std::vector<uint8_t> EncodePng(bool alpha, bool avoidBlack = false) const;

 private:
  int width_, height_;
  std::vector<Color> pixels_;
};

}  // namespace gen
