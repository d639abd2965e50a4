#include "world_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <queue>

#include "sprites.h"

namespace gen {

namespace {

constexpr int kColumns = 80, kRows = 60;
constexpr uint32_t kSeed = 4242;

struct Point {
  int x, y;
};

// A 4-connected line of cells from a to b (walks x first, then y, in small alternating steps
// so diagonals look like staircases rather than L shapes).
std::vector<Point> CellLine(Point a, Point b) {
  std::vector<Point> cells{a};
  Point p = a;
  while (p.x != b.x || p.y != b.y) {
    const int dx = b.x - p.x, dy = b.y - p.y;
    if (std::abs(dx) * 1 >= std::abs(dy) && dx != 0)
      p.x += dx > 0 ? 1 : -1;
    else
      p.y += dy > 0 ? 1 : -1;
    cells.push_back(p);
  }
  return cells;
}

std::vector<Point> Polyline(const std::vector<Point>& points) {
  std::vector<Point> cells;
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    auto part = CellLine(points[i], points[i + 1]);
    cells.insert(cells.end(), part.begin() + (i ? 1 : 0), part.end());
  }
  return cells;
}

constexpr float kCoveRadius = 6.8f;

// Distance from the map's corner, with a wavy rim: the landing cove is where it is below
// kCoveRadius, and its sandy shore reaches a few cells further.
float Cove(int x, int y) {
  return std::hypot(static_cast<float>(x), static_cast<float>(y)) + (Fractal(x / 3.0f, y / 3.0f, kSeed + 6, 2) - 0.5f) * 2.5f;
}

// Below 1 inside the north-west headland: a rounded square from the corner (a superellipse)
// with a noisy rim, reaching about 36 cells east along the top edge and 22 down the left.
float Headland(int x, int y) {
  constexpr float kPower = 2.6f;
  const float ax = x / 36.0f, ay = y / 22.0f;
  const float d = std::pow(std::pow(ax, kPower) + std::pow(ay, kPower), 1.0f / kPower);
  return d + (Fractal(x / 5.0f, y / 5.0f, kSeed + 1, 2) - 0.5f) * 0.3f;
}

// Below 1 in the open country behind the landing, where woods give way to grass and meadow.
float OpenCountry(int x, int y) { return std::hypot(x / 30.0f, y / 18.0f); }

bool IsWater(Ground g) { return g == Ground::Sea || g == Ground::Shallow || g == Ground::River; }
bool IsWay(Ground g) { return g == Ground::Path || g == Ground::Bridge || g == Ground::Plaza || g == Ground::Jetty; }

}  // namespace

Ground IslandMap::At(int x, int y) const {
  if (!Inside(x, y)) return Ground::Sea;
  return cells[static_cast<size_t>(y) * columns + x];
}

void IslandMap::Set(int x, int y, Ground g) {
  if (Inside(x, y)) cells[static_cast<size_t>(y) * columns + x] = g;
}

bool Blocks(Ground g) {
  return g == Ground::Sea || g == Ground::Shallow || g == Ground::River || g == Ground::Rock || g == Ground::Peak ||
         g == Ground::House;
}

IslandMap BuildIsland() {
  IslandMap m;
  m.columns = kColumns;
  m.rows = kRows;
  m.cells.assign(static_cast<size_t>(kColumns) * kRows, Ground::Sea);

  // The coast: a noisy oval, and a broad headland that fills the north-west corner of the map.
  // The player lands in that corner and sees nothing of the island's heart at first, so the
  // headland is open country reaching well past the middle of a wide screen in both directions:
  // walking straight east or straight south from the landing soon makes the view follow.
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      const float nx = (x - 43.0f) / 33.0f, ny = (y - 31.0f) / 25.0f;
      const float r = std::hypot(nx, ny) + (Fractal(x / 8.0f, y / 8.0f, kSeed, 3) - 0.5f) * 0.5f;
      const bool oval = r < 1.0f && x > 1 && y > 1 && x < kColumns - 2 && y < kRows - 2;
      if (oval || Headland(x, y) < 1.0f) m.Set(x, y, Ground::Grass);
    }
  // The landing cove: a small round bay in the corner, where the jetty stands.
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x)
      if (Cove(x, y) < kCoveRadius) m.Set(x, y, Ground::Sea);
  // Keep only the land connected to the island's heart.
  {
    std::vector<bool> seen(m.cells.size());
    std::queue<Point> todo;
    todo.push({43, 31});
    seen[31 * kColumns + 43] = true;
    while (!todo.empty()) {
      const Point p = todo.front();
      todo.pop();
      const Point next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
      for (const Point& q : next) {
        if (!m.Inside(q.x, q.y) || m.At(q.x, q.y) == Ground::Sea) continue;
        if (seen[static_cast<size_t>(q.y) * kColumns + q.x]) continue;
        seen[static_cast<size_t>(q.y) * kColumns + q.x] = true;
        todo.push(q);
      }
    }
    for (size_t i = 0; i < m.cells.size(); ++i)
      if (!seen[i]) m.cells[i] = Ground::Sea;
  }

  // Mountains in the north-east, snow on the highest part.
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      if (m.At(x, y) == Ground::Sea) continue;
      const float d = std::hypot((x - 61.0f) / 10.0f, (y - 15.0f) / 7.5f) + (Fractal(x / 4.0f, y / 4.0f, kSeed + 2, 2) - 0.5f) * 0.5f;
      if (d < 0.3f) m.Set(x, y, Ground::Peak);
      else if (d < 1.0f) m.Set(x, y, Ground::Rock);
    }

  // Forest in the west and north, meadows with flowers, fields by the village.
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      if (m.At(x, y) != Ground::Grass) continue;
      const float west = 1.0f - x / 70.0f;
      const float clearing = 0.5f * std::min(1.0f, 2.0f * std::max(0.0f, 1.0f - OpenCountry(x, y)));
      const float f = Fractal(x / 6.0f, y / 6.0f, kSeed + 3, 3) + 0.22f * west - clearing;
      const float g = Fractal(x / 5.0f, y / 5.0f, kSeed + 4, 2);
      if (f > 0.62f) m.Set(x, y, Ground::Forest);
      else if (g > 0.64f) m.Set(x, y, Ground::Meadow);
    }
  const int fields[][4] = {{53, 44, 57, 47}, {36, 46, 40, 49}, {55, 36, 58, 38}};
  for (const auto& f : fields)
    for (int y = f[1]; y <= f[3]; ++y)
      for (int x = f[0]; x <= f[2]; ++x)
        if (m.At(x, y) != Ground::Sea) m.Set(x, y, Ground::Field);

  // The river: from the mountains down to the south-west shore.
  const auto river = Polyline({{56, 21}, {50, 25}, {44, 28}, {37, 31}, {32, 36}, {27, 42}, {24, 48}, {21, 54}, {19, 59}});
  for (const Point& p : river) {
    for (int w = 0; w < 2; ++w) {
      const Point q = {p.x + w, p.y};
      const Ground g = m.At(q.x, q.y);
      if (g != Ground::Rock && g != Ground::Peak && g != Ground::Sea) m.Set(q.x, q.y, Ground::River);
    }
  }

  // Beaches: every land cell beside the sea, and a wider strand in the south.
  IslandMap before = m;
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      const Ground g = before.At(x, y);
      if (g == Ground::Sea || g == Ground::River || g == Ground::Rock || g == Ground::Peak) continue;
      bool coast = false;
      const bool strand = y > 46 && Fractal(x / 4.0f, 0.3f, kSeed + 5, 2) > 0.45f;
      const int reach = strand || Cove(x, y) < kCoveRadius + 3.0f ? 2 : 1;
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
          // Past the map's edge is open sea, but only the next cell's beach faces it.
          const bool near = std::abs(dx) <= 1 && std::abs(dy) <= 1;
          if ((near || before.Inside(x + dx, y + dy)) && before.At(x + dx, y + dy) == Ground::Sea) coast = true;
        }
      if (coast) m.Set(x, y, Ground::Sand);
    }

  // The village: a cobbled square with cottages around it.
  for (int y = 40; y <= 42; ++y)
    for (int x = 44; x <= 48; ++x) m.Set(x, y, Ground::Plaza);

  // The jetty: a landing platform in the cove's corner, with a boardwalk to the beach on either
  // side along the map's edges.
  for (int y = 0; y <= 2; ++y)
    for (int x = 0; x <= 2; ++x) m.Set(x, y, Ground::Jetty);
  Point eastLanding{3, 0}, southLanding{0, 3};
  for (; eastLanding.x < kColumns && m.At(eastLanding.x, 0) == Ground::Sea; ++eastLanding.x)
    m.Set(eastLanding.x, 0, Ground::Jetty);
  for (; southLanding.y < kRows && m.At(0, southLanding.y) == Ground::Sea; ++southLanding.y)
    m.Set(0, southLanding.y, Ground::Jetty);

  // Paths: from the jetty's east landing through the headland to the square, from its south
  // landing down through the western forest, the square to the north meadows over the river,
  // to the foot of the mountains, down to the southern beach, and west across the river to meet
  // the forest trail.
  const std::vector<std::vector<Point>> paths = {
      {eastLanding, {eastLanding.x + 3, 3}, {13, 7}, {17, 12}, {22, 17}, {28, 22}, {35, 27}, {40, 33}, {44, 40}},
      {southLanding, {3, southLanding.y + 4}, {7, 16}, {15, 22}, {16, 33}},
      {{46, 40}, {46, 33}, {45, 27}, {44, 20}, {40, 13}},
      {{48, 41}, {54, 35}, {58, 28}, {60, 24}},
      {{46, 42}, {46, 48}, {47, 53}},
      {{44, 42}, {36, 42}, {28, 41}, {22, 37}, {16, 33}},
      {{44, 20}, {52, 19}},
  };
  for (const auto& path : paths)
    for (const Point& p : Polyline(path)) {
      const Ground g = m.At(p.x, p.y);
      if (g == Ground::Plaza || g == Ground::Sea || g == Ground::Jetty) continue;
      if (g == Ground::River) m.Set(p.x, p.y, Ground::Bridge);
      else if (g == Ground::Rock || g == Ground::Peak) break;
      else if (g != Ground::Sea) m.Set(p.x, p.y, Ground::Path);
    }
  const Point houses[] = {{43, 39}, {45, 39}, {49, 39}, {49, 43}, {43, 43}, {48, 44}, {50, 40}, {42, 41},
                          {44, 44}, {51, 42}, {47, 38}, {41, 39}, {52, 39}, {42, 38}, {50, 38}, {50, 44},
                          {44, 45}, {48, 46}, {41, 43}, {52, 41}, {47, 36}, {45, 37}, {40, 41}, {53, 43}};
  for (const Point& h : houses)
    if (m.At(h.x, h.y) != Ground::Path && m.At(h.x, h.y) != Ground::Plaza && !IsWater(m.At(h.x, h.y)))
      m.Set(h.x, h.y, Ground::House);

  // Shallows: sea within two cells of land, and all of the landing cove.
  before = m;
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      if (before.At(x, y) != Ground::Sea) continue;
      if (Cove(x, y) < kCoveRadius) m.Set(x, y, Ground::Shallow);
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
          const Ground g = before.At(x + dx, y + dy);
          if (g != Ground::Sea && g != Ground::Shallow && g != Ground::Jetty) m.Set(x, y, Ground::Shallow);
        }
    }
  // A walkable cell that no way leads to (a garden walled in by cottages, a pocket among rocks)
  // takes the ground of a blocking neighbour, so everything that looks open can be reached.
  std::vector<bool> reached(m.cells.size());
  std::queue<Point> todo;
  todo.push({0, 0});
  reached[0] = true;
  while (!todo.empty()) {
    const Point p = todo.front();
    todo.pop();
    const Point next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
    for (const Point& q : next) {
      if (!m.Inside(q.x, q.y) || Blocks(m.At(q.x, q.y))) continue;
      const size_t i = static_cast<size_t>(q.y) * kColumns + q.x;
      if (reached[i]) continue;
      reached[i] = true;
      todo.push(q);
    }
  }
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      if (Blocks(m.At(x, y)) || reached[static_cast<size_t>(y) * kColumns + x]) continue;
      const Ground around[4] = {m.At(x + 1, y), m.At(x - 1, y), m.At(x, y + 1), m.At(x, y - 1)};
      Ground fill = Ground::Rock;
      for (Ground g : around)
        if (g == Ground::House || g == Ground::Rock) fill = g;
      m.Set(x, y, fill);
    }
  return m;
}

namespace {

struct GroundInfo {
  Ground ground;
  int r, g, b;
  int variants;  // 16 for neighbour masks
};

const GroundInfo kGrounds[] = {
    {Ground::Sea, 20, 60, 110, 1},     {Ground::Shallow, 40, 120, 150, 1}, {Ground::Sand, 230, 205, 140, 16},
    {Ground::Grass, 80, 150, 60, 3},   {Ground::Meadow, 110, 170, 70, 1},  {Ground::Forest, 30, 90, 40, 1},
    {Ground::River, 50, 120, 190, 16}, {Ground::Bridge, 140, 100, 60, 16}, {Ground::Path, 190, 160, 110, 16},
    {Ground::Plaza, 170, 165, 150, 1}, {Ground::House, 180, 70, 50, 4},    {Ground::Rock, 120, 110, 100, 16},
    {Ground::Peak, 235, 235, 240, 1},  {Ground::Jetty, 150, 110, 70, 17},  {Ground::Field, 200, 180, 80, 1},
};

const GroundInfo& Info(Ground g) {
  for (const GroundInfo& i : kGrounds)
    if (i.ground == g) return i;
  return kGrounds[0];
}

int Mask(const IslandMap& m, int x, int y, bool (*joins)(Ground)) {
  int mask = 0;
  if (joins(m.At(x, y - 1))) mask |= 1;
  if (joins(m.At(x + 1, y))) mask |= 2;
  if (joins(m.At(x, y + 1))) mask |= 4;
  if (joins(m.At(x - 1, y))) mask |= 8;
  return mask;
}

bool IsSeaLike(Ground g) { return g == Ground::Sea || g == Ground::Shallow || g == Ground::River || g == Ground::Jetty; }
bool IsLand(Ground g) { return !IsWater(g) && g != Ground::Bridge; }
bool NotRock(Ground g) { return g != Ground::Rock && g != Ground::Peak; }
bool WayOrHouse(Ground g) { return IsWay(g); }

}  // namespace

WorldTile TileOf(const IslandMap& m, int x, int y) {
  WorldTile t;
  t.ground = m.At(x, y);
  switch (t.ground) {
    case Ground::Sand: t.variant = Mask(m, x, y, IsSeaLike); break;
    case Ground::River: t.variant = Mask(m, x, y, IsLand); break;
    case Ground::Rock: t.variant = Mask(m, x, y, NotRock); break;
    case Ground::Path:
    case Ground::Bridge:
    case Ground::Jetty: {
      // Cells of a 2 x 2 block of jetty belong to the landing platform: variant 16.
      auto jetty = [&m](int cx, int cy) { return m.At(cx, cy) == Ground::Jetty; };
      bool platform = false;
      for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx)
          if (jetty(x + dx, y + dy) && jetty(x + dx + 1, y + dy) && jetty(x + dx, y + dy + 1) && jetty(x + dx + 1, y + dy + 1))
            platform = true;
      t.variant = platform ? 16 : Mask(m, x, y, WayOrHouse);
      break;
    }
    case Ground::Grass: t.variant = static_cast<int>(ValueNoise(x * 0.9f, y * 0.9f, 17) * 2.99f); break;
    case Ground::House: t.variant = (x * 7 + y * 3) % 4; break;
    default: break;
  }
  t.code = CodeOf(t.ground, t.variant);
  return t;
}

std::string CodeOf(Ground ground, int variant) {
  const GroundInfo& info = Info(ground);
  char code[16];
  std::snprintf(code, sizeof code, "%03d%03d%03d", info.r, info.g, info.b + variant);
  return code;
}

std::vector<WorldTile> TilesOffered(const IslandMap& m) {
  std::map<std::string, WorldTile> offered;
  for (const WorldTile& t : TilesUsed(m)) offered.emplace(t.code, t);
  for (Ground g : {Ground::Sand, Ground::River, Ground::Bridge, Ground::Path, Ground::Rock, Ground::Jetty})
    for (int mask = 0; mask < 16; mask++) offered.emplace(CodeOf(g, mask), WorldTile{CodeOf(g, mask), g, mask});
  std::vector<WorldTile> list;
  for (const auto& [code, tile] : offered) list.push_back(tile);
  return list;
}

std::vector<WorldTile> TilesUsed(const IslandMap& m) {
  std::map<std::string, WorldTile> used;
  for (int y = 0; y < m.rows; ++y)
    for (int x = 0; x < m.columns; ++x) {
      const WorldTile t = TileOf(m, x, y);
      used.emplace(t.code, t);
    }
  std::vector<WorldTile> list;
  for (const auto& [code, tile] : used) list.push_back(tile);
  return list;
}

namespace {

constexpr int S = kTileSize;

void Noisy(Canvas& c, const Color& base, float amount, uint32_t seed, float scale) {
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x)
      c.At(x, y) = Shade(base, 1 + (Fractal(x * scale, y * scale, seed, 3) - 0.5f) * amount);
}

// Distance from the edges named in a mask (N 1, E 2, S 4, W 8); large when none is named.
float EdgeDistance(int mask, float x, float y) {
  float d = 1e9f;
  if (mask & 1) d = std::min(d, y);
  if (mask & 2) d = std::min(d, S - x);
  if (mask & 4) d = std::min(d, S - y);
  if (mask & 8) d = std::min(d, x);
  return d;
}

void Grass(Canvas& c, uint32_t seed) {
  Noisy(c, Hex(0x4E9A3C), 0.30f, 900 + seed, 0.22f);
  Rng rng(seed * 31 + 5);
  for (int i = 0; i < 5; ++i) {
    const float x = 3 + rng.Unit() * 34, y = 5 + rng.Unit() * 32;
    c.Line(x, y, x - 1.5f, y - 3.5f, 1.0f, Hex(0x7CC45A));
    c.Line(x + 1.5f, y, x + 2.5f, y - 3.5f, 1.0f, Hex(0x7CC45A));
  }
}

void SeaWater(Canvas& c, const Color& base, uint32_t seed, float glints) {
  Noisy(c, base, 0.18f, seed, 0.12f);
  Rng rng(seed);
  for (int i = 0; i < 3; ++i) {
    const float x = 4 + rng.Unit() * 28, y = 5 + rng.Unit() * 30;
    c.Line(x, y, x + 6, y, 1.2f, Hex(0xBFEFFF, glints));
  }
}

void Planks(Canvas& c, bool horizontal, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const int along = horizontal ? x : y, across = horizontal ? y : x;
      const int plank = across / 5;
      Color wood = Shade(Hex(0xA5743E), 0.9f + 0.2f * ValueNoise(plank * 3.0f, along * 0.15f, 71));
      if (across % 5 == 0) wood = Hex(0x4A2E16);
      c.At(x, y) = wood;
    }
}

}  // namespace

Canvas DrawWorldTile(const WorldTile& t) {
  Canvas c(S, S, Hex(0x000000));
  const int mask = t.variant;
  switch (t.ground) {
    case Ground::Sea:
      SeaWater(c, Hex(0x1E4F86), 301, 0.35f);
      break;
    case Ground::Shallow:
      SeaWater(c, Hex(0x2F8FA8), 302, 0.5f);
      break;
    case Ground::Sand: {
      Noisy(c, Hex(0xE3C98C), 0.16f, 303, 0.6f);
      // Wet sand and a line of foam toward the water.
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
          const float wobble = 1.5f * std::sin((x + y) * 0.45f);
          const float d = EdgeDistance(mask, x + 0.5f, y + 0.5f) + wobble;
          if (d < 4) c.At(x, y) = Hex(0x3FA3B5);
          else if (d < 6) c.At(x, y) = Hex(0xF2F8F4);
          else if (d < 10) c.At(x, y) = Mix(Hex(0xB89A62), c.At(x, y), (d - 6) / 4);
        }
      break;
    }
    case Ground::Grass:
      Grass(c, static_cast<uint32_t>(t.variant));
      break;
    case Ground::Meadow: {
      Grass(c, 7);
      Rng rng(99);
      const uint32_t petals[] = {0xFFE15A, 0xFF8FC0, 0xFFFFF0, 0xC0A8FF};
      for (int i = 0; i < 9; ++i) {
        const float x = 3 + rng.Unit() * 34, y = 3 + rng.Unit() * 34;
        c.FillCircle(x, y, 1.6f, Hex(petals[i % 4]));
      }
      break;
    }
    case Ground::Forest: {
      Noisy(c, Hex(0x24502A), 0.3f, 305, 0.3f);
      const float trees[][3] = {{10, 11, 9}, {29, 9, 9}, {20, 24, 10}, {8, 32, 8}, {33, 31, 8}};
      for (const auto& tr : trees) {
        c.FillCircle(tr[0] + 2, tr[1] + 3, tr[2], Hex(0x12301A, 0.8f));
        c.FillShape([&](float x, float y) { return DistCircle(x, y, tr[0], tr[1], tr[2]); }, [&](float x, float y) {
          return Mix(Hex(0x6FBF4A), Hex(0x1F5A2A), Clamp01(std::hypot(x - tr[0] + 3, y - tr[1] + 3) / (tr[2] * 1.5f)));
        });
      }
      break;
    }
    case Ground::River: {
      Noisy(c, Hex(0x2F78B8), 0.15f, 306, 0.2f);
      for (int i = 0; i < 3; ++i) {
        const float y = 8 + i * 12;
        c.Line(6 + i * 7, y, 14 + i * 7, y + 2, 1.2f, Hex(0x9FD8FF, 0.6f));
      }
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
          const float d = EdgeDistance(mask, x + 0.5f, y + 0.5f) + 1.2f * std::sin((x - y) * 0.6f);
          if (d < 3) c.At(x, y) = Shade(Hex(0x4E9A3C), 0.95f);
          else if (d < 6) c.At(x, y) = Hex(0x7A5A34);
        }
      break;
    }
    case Ground::Bridge: {
      SeaWater(c, Hex(0x2F78B8), 307, 0.4f);
      // The deck runs the way the path crosses: north-south whenever the path goes on that way.
      const bool horizontal = (mask & (1 | 4)) == 0;
      if (horizontal) {
        Planks(c, false, 0, 6, S, 34);
        c.FillRect(0, 4, S, 7, Hex(0x3A2412));
        c.FillRect(0, 33, S, 36, Hex(0x3A2412));
      } else {
        Planks(c, true, 6, 0, 34, S);
        c.FillRect(4, 0, 7, S, Hex(0x3A2412));
        c.FillRect(33, 0, 36, S, Hex(0x3A2412));
      }
      break;
    }
    case Ground::Path: {
      Grass(c, 1);
      auto inPath = [mask](float x, float y) {
        float d = DistBox(x, y, 11, 11, 29, 29, 5);
        if (mask & 1) d = std::min(d, DistBox(x, y, 11, -5, 29, 20, 0));
        if (mask & 2) d = std::min(d, DistBox(x, y, 20, 11, 45, 29, 0));
        if (mask & 4) d = std::min(d, DistBox(x, y, 11, 20, 29, 45, 0));
        if (mask & 8) d = std::min(d, DistBox(x, y, -5, 11, 20, 29, 0));
        return d + 1.2f * std::sin(x * 0.7f) * std::cos(y * 0.6f);
      };
      c.FillShape([&](float x, float y) { return inPath(x, y) - 1.5f; }, Hex(0x8A6A40));
      c.FillShape(inPath, [](float x, float y) {
        return Shade(Hex(0xC9A874), 0.9f + 0.2f * Fractal(x * 0.5f, y * 0.5f, 308, 2));
      });
      break;
    }
    case Ground::Plaza: {
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
          const int row = y / 8, offset = (row % 2) * 5;
          const bool joint = y % 8 == 0 || (x + offset) % 10 == 0;
          const float n = ValueNoise(static_cast<float>((x + offset) / 10), static_cast<float>(row), 309);
          c.At(x, y) = joint ? Hex(0x6E685E) : Shade(Hex(0xB8B0A0), 0.85f + 0.3f * n);
        }
      break;
    }
    case Ground::House: {
      Grass(c, 2);
      const uint32_t roofs[][2] = {{0xC8503A, 0x8E3024}, {0x3A6EC8, 0x24488E}, {0xC89A3A, 0x8E6A24}, {0x6A9A4A, 0x446A2E}};
      const auto& roof = roofs[t.variant % 4];
      c.FillRect(5, 6, 39, 39, Hex(0x1A1410, 0.45f));  // shadow
      c.FillRect(2, 3, 37, 36, Hex(0x2A1C14));
      c.FillRect(3, 4, 20, 35, Hex(roof[0]));
      c.FillRect(20, 4, 36, 35, Hex(roof[1]));
      for (int y = 7; y < 35; y += 4) {
        c.FillRect(3, y, 20, y + 1, Shade(Hex(roof[0]), 0.78f));
        c.FillRect(20, y, 36, y + 1, Shade(Hex(roof[1]), 0.78f));
      }
      c.FillRect(19, 4, 21, 35, Hex(0xE8D8B0));  // ridge
      c.FillRect(26, 8, 32, 15, Hex(0x4A3A34));  // chimney
      c.FillRect(27, 9, 31, 13, Hex(0x8A7A70));
      break;
    }
    case Ground::Rock:
    case Ground::Peak: {
      const bool peak = t.ground == Ground::Peak;
      Noisy(c, peak ? Hex(0xE6ECF4) : Hex(0x8A7F74), peak ? 0.12f : 0.45f, peak ? 310 : 311, 0.18f);
      Rng rng(peak ? 12 : 13);
      for (int i = 0; i < 4; ++i) {
        const float x = 4 + rng.Unit() * 30, y = 4 + rng.Unit() * 30;
        c.Line(x, y, x + 5, y + 4, 1.3f, peak ? Hex(0xA8B8D0) : Hex(0x4A423C));
        c.Line(x + 1, y - 1, x + 6, y + 3, 0.8f, peak ? Hex(0xFAFCFF) : Hex(0xB0A698));
      }
      if (!peak)
        for (int y = 0; y < S; ++y)
          for (int x = 0; x < S; ++x) {
            // Lit faces on the north and west, cliff shadow on the south and east.
            const float dn = (mask & 1) ? y : 99.0f, dw = (mask & 8) ? x : 99.0f;
            const float ds = (mask & 4) ? S - 1 - y : 99.0f, de = (mask & 2) ? S - 1 - x : 99.0f;
            if (std::min(dn, dw) < 4) c.At(x, y) = Mix(c.At(x, y), Hex(0xD8CCB8), 0.5f);
            if (std::min(ds, de) < 5) c.At(x, y) = Mix(c.At(x, y), Hex(0x2A221E), 0.55f);
          }
      break;
    }
    case Ground::Jetty: {
      SeaWater(c, Hex(0x2F8FA8), 312, 0.5f);  // the jetty stands in the shallows of its cove
      if (mask == 16) {
        // Part of the landing platform: decking from edge to edge.
        Planks(c, false, 0, 0, S, S);
      } else {
        const bool acrossX = (mask & (2 | 8)) != 0 && (mask & (1 | 4)) == 0;
        Planks(c, !acrossX, 8, 8, 32, 32);
        if (mask & 1) Planks(c, true, 8, 0, 32, 8);
        if (mask & 4) Planks(c, true, 8, 32, 32, S);
        if (mask & 2) Planks(c, false, 32, 8, S, 32);
        if (mask & 8) Planks(c, false, 0, 8, 8, 32);
        for (int x = 8; x < 32; x += 23) {
          c.FillCircle(x + 0.5f, 8.5f, 2.0f, Hex(0x3A2412));
          c.FillCircle(x + 0.5f, 31.5f, 2.0f, Hex(0x3A2412));
        }
      }
      break;
    }
    case Ground::Field: {
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
          const bool crop = (y % 8) < 5;
          const float n = Fractal(x * 0.4f, y * 0.4f, 313, 2);
          c.At(x, y) = crop ? Shade(Hex(0xD9B84A), 0.85f + 0.3f * n) : Shade(Hex(0x7A5A34), 0.9f + 0.2f * n);
        }
      break;
    }
  }
  return c;
}

std::string CellFileText(const IslandMap& m, const std::string& title) {
  std::string out = title + "\r\n" + std::to_string(m.columns - 1) + "\r\n" + std::to_string(m.rows - 1) + "\r\n" +
                    "cells in column order, each as three parts of its colour code\r\n" + "\r\n";
  for (int x = 0; x < m.columns; ++x)
    for (int y = 0; y < m.rows; ++y) {
      const std::string code = TileOf(m, x, y).code;
      out += code.substr(0, 3) + "\r\n" + code.substr(3, 3) + "\r\n" + code.substr(6, 3) + "\r\n";
    }
  return out;
}

std::string ValueFileText(const IslandMap& m, const std::string& title) {
  std::string out = title + "\r\n" + std::to_string(m.columns - 1) + "\r\n" + std::to_string(m.rows - 1) + "\r\n" +
                    "opacity of every cell, in column order\r\n" + "\r\n";
  for (int x = 0; x < m.columns; ++x)
    for (int y = 0; y < m.rows; ++y) out += "255\r\n";
  return out;
}

}  // namespace gen
