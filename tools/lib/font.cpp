#include "font.h"

#include <cmath>
#include <numbers>
#include <map>
#include <set>

namespace gen {

namespace {

struct Art {
  uint8_t ch;
  const char* rows[kGlyphRows];
};

// Rows 0..6 stand on the baseline; row 7 is for descenders.
const Art kArt[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "....."}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", "....."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", "....."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####.", "....."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####", "....."}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#....", "....."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####", "....."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "....."}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "..."}},
    {'J', {"....#", "....#", "....#", "....#", "#...#", "#...#", ".###.", "....."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", "....."}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####", "....."}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", "....."}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "....."}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", "....."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", "....."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#", "....."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", "....."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####.", "....."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "....."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", "....."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#..", "....."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#.", "....."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#", "....."}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#..", "....."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####", "....."}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###.", "....."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", "....."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", "....."}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###.", "....."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", "....."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###.", "....."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###.", "....."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#...", "....."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", "....."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##..", "....."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", "....."}},
    {'b', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####.", "....."}},
    {'c', {".....", ".....", ".###.", "#....", "#....", "#...#", ".###.", "....."}},
    {'d', {"....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####", "....."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", "....."}},
    {'f', {"..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#...", "....."}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", "....."}},
    {'i', {".#.", "...", "##.", ".#.", ".#.", ".#.", "###", "..."}},
    {'j', {"...#", "....", "..##", "...#", "...#", "...#", "#..#", ".##."}},
    {'k', {"#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#", "...."}},
    {'l', {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "..."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#...#", "#...#", "....."}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", "....."}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", "....."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "####.", "#....", "#...."}},
    {'q', {".....", ".....", ".####", "#...#", "#...#", ".####", "....#", "....#"}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", "....."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", "....."}},
    {'t', {".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##.", "....."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", "....."}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#..", "....."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#.", "....."}},
    {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "....."}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'z', {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####", "....."}},
    {'.', {".", ".", ".", ".", ".", ".", "#", "."}},
    {',', {"..", "..", "..", "..", "..", ".#", ".#", "#."}},
    {'!', {"#", "#", "#", "#", "#", ".", "#", "."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#..", "....."}},
    {':', {".", ".", "#", ".", ".", "#", ".", "."}},
    {';', {"..", "..", ".#", "..", "..", ".#", ".#", "#."}},
    {'\'', {"#", "#", ".", ".", ".", ".", ".", "."}},
    {'-', {"....", "....", "....", "####", "....", "....", "....", "...."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", ".....", "....."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", ".....", "....."}},
    {'(', {"..#", ".#.", "#..", "#..", "#..", ".#.", "..#", "..."}},
    {')', {"#..", ".#.", "..#", "..#", "..#", ".#.", "#..", "..."}},
    {'<', {"...#", "..#.", ".#..", "#...", ".#..", "..#.", "...#", "...."}},
    {'>', {"#...", ".#..", "..#.", "...#", "..#.", ".#..", "#...", "...."}},
    {'%', {"##..#", "##..#", "...#.", "..#..", ".#...", "#..##", "#..##", "....."}},
    {'#', {".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#.", "....."}},
    {'$', {"..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#..", "....."}},
};

const Art* FindArt(uint8_t ch) {
  for (const Art& a : kArt)
    if (a.ch == ch) return &a;
  return nullptr;
}

// The letter fill: warm off-white at the top turning to amber at the baseline. Never pure white.
Color FillAt(int y) {
  const float t = Clamp01((y - kGlyphBorder) / static_cast<float>(7 * kGlyphScale));
  if (t < 0.55f) return Mix(Hex(0xFFF4DC), Hex(0xFFE3A6), t / 0.55f);
  return Mix(Hex(0xFFE3A6), Hex(0xFFB347), (t - 0.55f) / 0.45f);
}

const Color kInk = Hex(0x1B1026);

Canvas DrawPixelGlyph(const Art& art) {
  const int cols = static_cast<int>(std::string(art.rows[0]).size());
  Canvas c(cols * kGlyphScale + 2 * kGlyphBorder, kGlyphHeight);
  for (int row = 0; row < kGlyphRows; ++row)
    for (int col = 0; col < cols; ++col) {
      if (art.rows[row][col] != '#') continue;
      const int x0 = kGlyphBorder + col * kGlyphScale, y0 = kGlyphBorder + row * kGlyphScale;
      for (int y = y0; y < y0 + kGlyphScale; ++y)
        for (int x = x0; x < x0 + kGlyphScale; ++x) c.Blend(x, y, FillAt(y));
    }
  c.Outline(kInk, kGlyphBorder);
  return c;
}

// Icons share the glyph height; width 26 leaves a border of transparent pixels around them.
constexpr int kIconWidth = 26;
constexpr float kIconCx = 13.0f, kIconCy = 15.0f;

void FinishIcon(Canvas& c) {
  c.Harden();
  c.Outline(kInk, 2);
}

Canvas DrawBombIcon() {
  Canvas c(kIconWidth, kGlyphHeight);
  const float cx = kIconCx, cy = kIconCy + 2, r = 8.5f;
  c.FillShape([=](float x, float y) { return DistCircle(x, y, cx, cy, r); },
              [=](float x, float y) {
                const float d = std::hypot(x - (cx - 3), y - (cy - 3)) / (r * 1.6f);
                return Mix(Hex(0x8C9AD8), Hex(0x2C2F55), Clamp01(d));
              });
  c.FillCircle(cx - 3, cy - 3.5f, 2.0f, Hex(0xE8ECFF));
  // The fuse cap and a short fuse with its spark.
  c.FillShape([=](float x, float y) { return DistBox(x, y, cx + 2, cy - r - 2, cx + 7, cy - r + 2.5f, 1); }, Hex(0x5B5F7A));
  c.Line(cx + 5, cy - r - 1, cx + 8, cy - r - 4, 1.6f, Hex(0xB07A3A));
  c.FillCircle(cx + 9, cy - r - 5.5f, 2.3f, Hex(0xFFD23F));
  c.FillCircle(cx + 9, cy - r - 5.5f, 1.0f, Hex(0xFFF6C8));
  FinishIcon(c);
  return c;
}

Canvas DrawEmptySlotIcon() {
  // The outline of the bomb body only, so it reads on its own and under or over a bomb.
  Canvas c(kIconWidth, kGlyphHeight);
  const float cx = kIconCx, cy = kIconCy + 2, r = 8.5f;
  c.FillShape([=](float x, float y) { return std::fabs(DistCircle(x, y, cx, cy, r - 1.0f)) - 1.4f; }, Hex(0x7D7790));
  FinishIcon(c);
  return c;
}

Canvas DrawHeartIcon() {
  Canvas c(kIconWidth, kGlyphHeight);
  auto heart = [](float x, float y) {
    const float left = DistCircle(x, y, 8.6f, 11.5f, 5.2f), right = DistCircle(x, y, 17.4f, 11.5f, 5.2f);
    const float tri = DistPolygon(x, y, {{3.6f, 13.0f}, {22.4f, 13.0f}, {13.0f, 23.5f}});
    return std::min({left, right, tri});
  };
  c.FillShape(heart, [](float x, float y) {
    return Mix(Hex(0xFF6B7D), Hex(0xC3143A), Clamp01((y - 7) / 16.0f + (x - 8) / 40.0f));
  });
  c.FillCircle(8.0f, 10.5f, 1.8f, Hex(0xFFD3DA));
  FinishIcon(c);
  return c;
}

// The player's orb in small: a life.
Canvas DrawLifeIcon() {
  Canvas c(kIconWidth, kGlyphHeight);
  const float cx = kIconCx, cy = kIconCy, r = 9.0f;
  c.FillShape([=](float x, float y) { return DistCircle(x, y, cx, cy, r); },
              [=](float x, float y) {
                const float d = std::hypot(x - (cx - 2), y - (cy - 3)) / (r * 1.5f);
                return Mix(Hex(0xFFF0A0), Hex(0xF08A12), Clamp01(d));
              });
  const std::vector<std::pair<float, float>> star = {{cx, cy - 6},  {cx + 1.6f, cy - 1.6f}, {cx + 6, cy},
                                                     {cx + 1.6f, cy + 1.6f}, {cx, cy + 6}, {cx - 1.6f, cy + 1.6f},
                                                     {cx - 6, cy},  {cx - 1.6f, cy - 1.6f}};
  c.FillShape([&](float x, float y) { return DistPolygon(x, y, star); }, Hex(0x8A3A08));
  FinishIcon(c);
  return c;
}

Canvas DrawFuelIcon() {
  // A fuel can: a green body with a cap and a handle cut-out.
  Canvas c(kIconWidth, kGlyphHeight);
  c.FillShape([](float x, float y) { return DistBox(x, y, 5, 8, 21, 24, 2); },
              [](float x, float) { return Mix(Hex(0x7FE08A), Hex(0x23914A), Clamp01((x - 5) / 16)); });
  c.FillShape([](float x, float y) { return DistBox(x, y, 6, 4, 12, 9, 1); }, Hex(0x3A7A4A));
  c.FillShape([](float x, float y) { return DistBox(x, y, 14, 4, 20, 7, 1); }, Hex(0x23914A));
  c.Line(8, 13, 18, 21, 2.0f, Hex(0x1E6E3A));
  c.Line(18, 13, 8, 21, 2.0f, Hex(0x1E6E3A));
  FinishIcon(c);
  return c;
}

Canvas DrawFloppyIcon(uint32_t body, uint32_t dark) {
  Canvas c(kIconWidth, kGlyphHeight);
  c.FillShape([](float x, float y) { return DistBox(x, y, 4, 5, 22, 24, 1.5f); }, Hex(body));
  c.FillShape([](float x, float y) { return DistBox(x, y, 8, 5, 18, 11, 0); }, Hex(0xC8CCD8));
  c.FillRect(14, 6, 16, 10, Hex(dark));
  c.FillShape([](float x, float y) { return DistBox(x, y, 7, 15, 19, 24, 1); }, Hex(0xF4EEDC));
  c.FillRect(9, 18, 17, 19, Hex(0x9A94A8));
  c.FillRect(9, 21, 15, 22, Hex(0x9A94A8));
  FinishIcon(c);
  return c;
}

Canvas DrawStarIcon() {
  Canvas c(kIconWidth, kGlyphHeight);
  std::vector<std::pair<float, float>> points;
  for (int i = 0; i < 10; ++i) {
    const float angle = -std::numbers::pi_v<float> / 2 + static_cast<float>(i) * std::numbers::pi_v<float> / 5;
    const float r = i % 2 == 0 ? 11.0f : 4.6f;
    points.emplace_back(kIconCx + r * std::cos(angle), kIconCy + 1 + r * std::sin(angle));
  }
  c.FillShape([&](float x, float y) { return DistPolygon(x, y, points); },
              [](float, float y) { return Mix(Hex(0xFFF3A0), Hex(0xFFB300), Clamp01((y - 4) / 20)); });
  FinishIcon(c);
  return c;
}

}  // namespace

std::string FontCharacters() {
  std::string s;
  for (char ch = 'A'; ch <= 'Z'; ++ch) s += ch;
  for (char ch = 'a'; ch <= 'z'; ++ch) s += ch;
  for (char ch = '0'; ch <= '9'; ++ch) s += ch;
  s += ".,!?:;'-+=()<>%#$";
  s += "&@\"[]*";
  // Windows-1252: ö Ö ä Ä ü Ü ß.
  s += "\xF6\xD6\xE4\xC4\xFC\xDC\xDF";
  return s;
}

std::string GlyphBaseName(uint8_t ch) {
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) return std::string(1, static_cast<char>(ch));
  if (ch >= 'a' && ch <= 'z') return std::string("_") + static_cast<char>(ch);
  switch (ch) {
    case '.': return "POINT";
    case '?': return "ASK";
    case '[': return "FLOPPY";
    case ']': return "FLOPPYB";
    case '-': return "MINUS";
    case '"': return "FUEL";
    case '(': return "LEFT";
    case ')': return "RIGHT";
    case ':': return "POINTPOINT";
    case '*': return "STERN";
    case '+': return "PLUS";
    case '&': return "BOMB";
    case 0xF6: case 0xD6: return "NOBOMB";
    case 0xE4: case 0xC4: return "HERZ";
    case '@': return "LIFE";
    case 0xFC: case 0xDC: return "_u";
    case 0xDF: return "S";
    default: return std::string(1, static_cast<char>(ch));
  }
}

std::vector<std::string> GlyphFileBaseNames() {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (char ch : FontCharacters()) {
    const std::string name = GlyphBaseName(static_cast<uint8_t>(ch));
    if (seen.insert(name).second) names.push_back(name);
  }
  return names;
}

Canvas DrawGlyph(uint8_t ch) {
  switch (ch) {
    case '&': return DrawBombIcon();
    case 0xF6: case 0xD6: return DrawEmptySlotIcon();
    case 0xE4: case 0xC4: return DrawHeartIcon();
    case '@': return DrawLifeIcon();
    case '"': return DrawFuelIcon();
    case '[': return DrawFloppyIcon(0x3D6FD8, 0x1C2F66);
    case ']': return DrawFloppyIcon(0xD84A6F, 0x661C2F);
    case '*': return DrawStarIcon();
    case 0xFC: case 0xDC: ch = 'u'; break;
    case 0xDF: ch = 'S'; break;
    default: break;
  }
  const Art* art = FindArt(ch);
  if (!art) return Canvas(kGlyphBorder * 2 + kGlyphScale, kGlyphHeight);
  return DrawPixelGlyph(*art);
}

Canvas RenderText(const std::string& text, const Color& background) {
  std::vector<Canvas> glyphs;
  const int space = DrawGlyph('I').Width();
  int width = 8;
  for (char ch : text) {
    if (ch == ' ') {
      glyphs.emplace_back(space, kGlyphHeight);
    } else {
      glyphs.push_back(DrawGlyph(static_cast<uint8_t>(ch)));
    }
    width += glyphs.back().Width();
  }
  Canvas out(width, kGlyphHeight + 8, background);
  int x = 4;
  for (const Canvas& g : glyphs) {
    out.Draw(g, x, 4);
    x += g.Width();
  }
  return out;
}

}  // namespace gen
