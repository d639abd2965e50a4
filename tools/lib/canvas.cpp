#include "canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace gen {

Color Hex(uint32_t rgb, float alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

Color Mix(const Color& a, const Color& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color Shade(const Color& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float edge0, float edge1, float x) {
  const float t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

uint64_t Rng::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Rng::Unit() { return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24); }

int Rng::Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }

namespace {

float Lattice(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  float fx = x - ix, fy = y - iy;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float Fractal(float x, float y, uint32_t seed, int octaves) {
  float sum = 0, weight = 1, total = 0, f = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x * f, y * f, seed + static_cast<uint32_t>(i) * 101u) * weight;
    total += weight;
    weight *= 0.5f;
    f *= 2;
  }
  return sum / total;
}

float DistCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float DistBox(float x, float y, float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  const float dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
  const float outside = std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f));
  return outside + std::min(std::max(dx, dy), 0.0f) - radius;
}

float DistSegment(float x, float y, float ax, float ay, float bx, float by) {
  const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  const float t = len2 > 0 ? Clamp01((px * dx + py * dy) / len2) : 0;
  return std::hypot(px - dx * t, py - dy * t);
}

float DistPolygon(float x, float y, const std::vector<std::pair<float, float>>& p) {
  float best = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    best = std::min(best, DistSegment(x, y, p[j].first, p[j].second, p[i].first, p[i].second));
    if (((p[i].second > y) != (p[j].second > y)) &&
        (x < (p[j].first - p[i].first) * (y - p[i].second) / (p[j].second - p[i].second) + p[i].first))
      inside = !inside;
  }
  return inside ? -best : best;
}

Canvas::Canvas(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Color Canvas::Get(int x, int y) const {
  return At(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
}

void Canvas::Fill(const Color& c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Canvas::Blend(int x, int y, const Color& c, float coverage) {
  if (!Inside(x, y)) return;
  const float sa = Clamp01(c.a * coverage);
  if (sa <= 0) return;
  Color& d = At(x, y);
  const float outA = sa + d.a * (1 - sa);
  if (outA <= 0) return;
  d.r = (c.r * sa + d.r * d.a * (1 - sa)) / outA;
  d.g = (c.g * sa + d.g * d.a * (1 - sa)) / outA;
  d.b = (c.b * sa + d.b * d.a * (1 - sa)) / outA;
  d.a = outA;
}

void Canvas::AddLight(int x, int y, const Color& c, float amount) {
  if (!Inside(x, y) || amount <= 0) return;
  Color& d = At(x, y);
  if (d.a <= 0) d = {0, 0, 0, 0};
  d.r += c.r * amount;
  d.g += c.g * amount;
  d.b += c.b * amount;
  d.a = std::max(d.a, Clamp01(amount * 4));
}

void Canvas::FillShape(const Distance& distance, const Paint& paint) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float coverage = Clamp01(0.5f - distance(px, py));
      if (coverage > 0) Blend(x, y, paint(px, py), coverage);
    }
}

void Canvas::FillShape(const Distance& distance, const Color& color) {
  FillShape(distance, [&color](float, float) { return color; });
}

void Canvas::FillRect(int x0, int y0, int x1, int y1, const Color& c) {
  for (int y = std::max(0, y0); y < std::min(height_, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) Blend(x, y, c);
}

void Canvas::FillCircle(float cx, float cy, float r, const Color& c) {
  FillShape([=](float x, float y) { return DistCircle(x, y, cx, cy, r); }, c);
}

void Canvas::Line(float ax, float ay, float bx, float by, float width, const Color& c) {
  FillShape([=](float x, float y) { return DistSegment(x, y, ax, ay, bx, by) - width / 2; }, c);
}

void Canvas::Rect(int x0, int y0, int x1, int y1, const Color& c) {
  for (int x = x0; x <= x1; ++x) {
    Blend(x, y0, c);
    if (y1 != y0) Blend(x, y1, c);
  }
  for (int y = y0 + 1; y < y1; ++y) {
    Blend(x0, y, c);
    if (x1 != x0) Blend(x1, y, c);
  }
}

void Canvas::VerticalGradient(int y0, int y1, const Color& top, const Color& bottom) {
  for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
    const Color c = Mix(top, bottom, y1 - 1 > y0 ? static_cast<float>(y - y0) / (y1 - 1 - y0) : 0.0f);
    for (int x = 0; x < width_; ++x) Blend(x, y, c);
  }
}

void Canvas::Glow(float cx, float cy, float radius, const Color& c, float strength) {
  const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
  const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
      if (d >= 1) continue;
      const float k = (1 - d) * (1 - d);
      AddLight(x, y, c, k * strength);
    }
}

void Canvas::Draw(const Canvas& source, int x, int y, int scale) {
  for (int sy = 0; sy < source.Height(); ++sy)
    for (int sx = 0; sx < source.Width(); ++sx) {
      const Color& c = source.At(sx, sy);
      if (c.a <= 0) continue;
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx) Blend(x + sx * scale + dx, y + sy * scale + dy, c);
    }
}

Canvas Canvas::Magnified(int factor) const {
  Canvas out(width_ * factor, height_ * factor);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.At(x, y) = At(x / factor, y / factor);
  return out;
}

void Canvas::Outline(const Color& c, int thickness) {
  for (int pass = 0; pass < thickness; ++pass) {
    std::vector<bool> solid(pixels_.size());
    for (size_t i = 0; i < pixels_.size(); ++i) solid[i] = pixels_[i].a >= 0.5f;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        if (solid[static_cast<size_t>(y) * width_ + x]) continue;
        const int nx[4] = {x - 1, x + 1, x, x};
        const int ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k)
          if (Inside(nx[k], ny[k]) && solid[static_cast<size_t>(ny[k]) * width_ + nx[k]]) {
            At(x, y) = {c.r, c.g, c.b, 1.0f};
            break;
          }
      }
  }
}

void Canvas::Harden(float threshold) {
  for (Color& p : pixels_) p.a = p.a >= threshold ? 1.0f : 0.0f;
}

void Canvas::Vignette(float strength) {
  const float cx = width_ / 2.0f, cy = height_ / 2.0f, norm = std::hypot(cx, cy);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / norm;
      Color& p = At(x, y);
      p = Shade(p, 1 - strength * d * d);
    }
}

namespace {

uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> Canvas::EncodePng(bool alpha, bool avoidBlack) const {
  const int channels = alpha ? 4 : 3;
  std::vector<uint8_t> rows(static_cast<size_t>(width_) * height_ * channels);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Color& p = At(x, y);
      uint8_t* o = &rows[(static_cast<size_t>(y) * width_ + x) * channels];
      if (alpha && p.a <= 0) {
        o[0] = o[1] = o[2] = 255;
        o[3] = 0;
        continue;
      }
      o[0] = Byte(p.r);
      o[1] = Byte(p.g);
      o[2] = Byte(p.b);
      if (o[0] == 255 && o[1] == 255 && o[2] == 255) o[0] = o[1] = o[2] = 254;
      if (avoidBlack && o[0] == 0 && o[1] == 0 && o[2] == 0) o[0] = o[1] = o[2] = 1;
      if (alpha) o[3] = Byte(p.a);
    }
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, WriteToVector, NoFlush);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, width_, height_, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height_; ++y) png_write_row(png, &rows[static_cast<size_t>(y) * width_ * channels]);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool Canvas::SavePng(const std::string& path, bool alpha, bool avoidBlack) const {
  const std::vector<uint8_t> bytes = EncodePng(alpha, avoidBlack);
  if (bytes.empty()) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace gen
