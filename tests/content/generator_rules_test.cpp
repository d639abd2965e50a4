// More generator rules: envelopes that never jump, melodies that stay in their key, the island's
// layout and its map files, and the line-pair files the game reads.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lib/base_data.h"
#include "lib/music.h"
#include "lib/pairs.h"
#include "lib/synth.h"
#include "lib/world_map.h"

namespace {

using namespace gen;

TEST(Envelope, RisesHoldsAndFallsWithoutJumps) {
  const Envelope e{0.01f, 0.1f, 0.5f, 0.2f};
  EXPECT_FLOAT_EQ(EnvelopeLevel(e, 0.0, 1.0), 0.0f);
  EXPECT_NEAR(EnvelopeLevel(e, 0.01, 1.0), 1.0f, 1e-3f);
  EXPECT_NEAR(EnvelopeLevel(e, 0.5, 1.0), 0.5f, 1e-6f);
  EXPECT_FLOAT_EQ(EnvelopeLevel(e, 1.25, 1.0), 0.0f);
  // A note released during its attack or decay falls from where it was, not from the sustain.
  for (double length : {0.005, 0.05, 0.5}) {
    const float before = EnvelopeLevel(e, length - 1e-6, length);
    const float after = EnvelopeLevel(e, length + 1e-6, length);
    EXPECT_NEAR(before, after, 1e-3f) << length;
  }
  float previous = 1;
  for (double t = 1.0; t < 1.2; t += 0.01) {
    const float level = EnvelopeLevel(e, t, 1.0);
    EXPECT_LE(level, previous + 1e-6f);
    previous = level;
  }
}

TEST(Envelope, NoteRenderingAddsIntoTheBufferAndStopsAtItsEnd) {
  Voice v;
  v.wave = Wave::Triangle;
  v.envelope = {0.001f, 0.01f, 1.0f, 0.01f};
  std::vector<float> buffer(Samples(0.2), 0.25f);
  RenderNote(buffer, v, {0.05, 0.05, 69, 1}, 0, false);
  EXPECT_FLOAT_EQ(buffer[Samples(0.02)], 0.25f);   // before the note
  EXPECT_FLOAT_EQ(buffer[Samples(0.15)], 0.25f);   // after its release
  float loudest = 0;
  for (size_t i = Samples(0.06); i < Samples(0.09); ++i) loudest = std::max(loudest, std::fabs(buffer[i] - 0.25f));
  EXPECT_GT(loudest, 0.2f);
  EXPECT_LE(loudest, v.volume + 1e-3f);
}

bool InScale(float pitch, int root, bool minor) {
  static const int major[] = {0, 2, 4, 5, 7, 9, 11}, minorScale[] = {0, 2, 3, 5, 7, 8, 10};
  const int pc = ((static_cast<int>(std::lround(pitch)) - root) % 12 + 12) % 12;
  for (int k : minor ? minorScale : major)
    if (k == pc) return true;
  return false;
}

TEST(Composer, MelodyAndBassStayInTheKeyAndInsideTheSong) {
  for (const SongPlan& plan : {MenuSong(), RunSong(), MazeSong()}) {
    const Song song = ComposeSong(plan);
    ASSERT_FALSE(song.events.empty());
    int leadNotes = 0;
    float lowest = 200, highest = 0;
    for (const NoteEvent& e : song.events) {
      EXPECT_GE(e.note.start, 0.0) << plan.title;
      EXPECT_LT(e.note.start, song.loopSeconds) << plan.title;
      if (e.voice.wave == Wave::Noise || e.voice.dropDepth != 0) continue;  // drums
      EXPECT_TRUE(InScale(e.note.pitch, plan.root, plan.minor)) << plan.title << " pitch " << e.note.pitch;
      if (e.echo) {
        ++leadNotes;
        lowest = std::min(lowest, e.note.pitch);
        highest = std::max(highest, e.note.pitch);
      }
    }
    // Enough melody to carry the track, within two octaves.
    EXPECT_GT(leadNotes, 40) << plan.title;
    EXPECT_LE(highest - lowest, 24.0f) << plan.title;
  }
}

TEST(Composer, SameSectionSoundsTheSameEachTime) {
  // The form AABA: the melody of the second A repeats the first.
  const SongPlan plan = RunSong();
  const Song song = ComposeSong(plan);
  const double section = 8 * BarSeconds(plan);
  std::vector<std::pair<double, float>> first, second;
  for (const NoteEvent& e : song.events) {
    if (!e.echo) continue;
    if (e.note.start < section) first.emplace_back(e.note.start, e.note.pitch);
    else if (e.note.start < 2 * section) second.emplace_back(e.note.start - section, e.note.pitch);
  }
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_NEAR(first[i].first, second[i].first, 1e-9);
    EXPECT_EQ(first[i].second, second[i].second);
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

TEST(Island, JettyStartsTheWalkAndTheMapIsLargeEnough) {
  const IslandMap m = BuildIsland();
  EXPECT_GE(m.columns, 64);
  EXPECT_GE(m.rows, 48);
  EXPECT_EQ(m.At(0, 0), Ground::Jetty);
  EXPECT_FALSE(Blocks(m.At(0, 0)));
  // The island has all its parts.
  std::set<Ground> present(m.cells.begin(), m.cells.end());
  for (Ground g : {Ground::Sea, Ground::Shallow, Ground::Sand, Ground::Grass, Ground::Meadow, Ground::Forest,
                   Ground::River, Ground::Bridge, Ground::Path, Ground::Plaza, Ground::House, Ground::Rock,
                   Ground::Peak, Ground::Field})
    EXPECT_EQ(present.count(g), 1u) << static_cast<int>(g);
  // Every bridge carries a path over the river: it has a way on two opposite sides.
  for (int y = 0; y < m.rows; ++y)
    for (int x = 0; x < m.columns; ++x) {
      if (m.At(x, y) != Ground::Bridge) continue;
      const int mask = TileOf(m, x, y).variant;
      EXPECT_NE(mask, 0) << "a bridge at " << x << "," << y << " leads nowhere";
    }
}

TEST(Island, TileCodesAreNineDigitsAndNameOneLookEach) {
  const IslandMap m = BuildIsland();
  const std::vector<WorldTile> tiles = TilesUsed(m);
  std::set<std::string> codes;
  for (const WorldTile& t : tiles) {
    ASSERT_EQ(t.code.size(), 9u);
    for (char c : t.code) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << t.code;
    EXPECT_TRUE(codes.insert(t.code).second) << "two looks share " << t.code;
  }
  // A path's picture joins exactly the neighbours that are ways.
  for (int y = 1; y + 1 < m.rows; ++y)
    for (int x = 1; x + 1 < m.columns; ++x) {
      if (m.At(x, y) != Ground::Path) continue;
      const int mask = TileOf(m, x, y).variant;
      auto way = [&m](int cx, int cy) {
        const Ground g = m.At(cx, cy);
        return g == Ground::Path || g == Ground::Bridge || g == Ground::Plaza || g == Ground::Jetty;
      };
      EXPECT_EQ((mask & 1) != 0, way(x, y - 1));
      EXPECT_EQ((mask & 2) != 0, way(x + 1, y));
      EXPECT_EQ((mask & 4) != 0, way(x, y + 1));
      EXPECT_EQ((mask & 8) != 0, way(x - 1, y));
    }
}

TEST(Island, MapFilesListCellsInColumnOrder) {
  const IslandMap m = BuildIsland();
  const std::vector<std::string> cells = SplitLines(CellFileText(m, "title"));
  const std::vector<std::string> values = SplitLines(ValueFileText(m, "title"));
  ASSERT_EQ(cells.size(), 5u + 3u * m.columns * m.rows);
  ASSERT_EQ(values.size(), 5u + static_cast<size_t>(m.columns) * m.rows);
  EXPECT_EQ(cells[1], std::to_string(m.columns - 1));
  EXPECT_EQ(cells[2], std::to_string(m.rows - 1));
  // Cell number i is (i / rows, i % rows): down the first column, then the next.
  for (int i : {0, 1, m.rows - 1, m.rows, m.rows * 7 + 13, m.columns * m.rows - 1}) {
    const int x = i / m.rows, y = i % m.rows;
    const size_t at = 5 + 3 * static_cast<size_t>(i);
    EXPECT_EQ(cells[at] + cells[at + 1] + cells[at + 2], TileOf(m, x, y).code) << x << "," << y;
  }
}

TEST(PairFiles, KeysAndValuesAlternateOnCrLfLines) {
  PairFile f;
  f.Add("KEY", "value").Add("NUMBER", -12).Comment("a note");
  EXPECT_EQ(f.Text(), "KEY\r\nvalue\r\nNUMBER\r\n-12\r\n#\r\na note\r\n");
}

TEST(PairFiles, EveryTileFileNamesAllItsFields) {
  std::set<std::string> names;
  for (const TileSpec& t : LabyrinthTiles()) {
    names.insert(t.name);
    const std::vector<std::string> lines = SplitLines(TileFile(t).Text());
    std::set<std::string> keys;
    for (size_t i = 0; i < lines.size(); i += 2) keys.insert(lines[i]);
    for (const char* key : {"GFXNAME", "CHILD1", "CHILD2", "CHILD3", "CHILD4", "CHILD5", "CHILD6", "CHILD7", "CHILD8",
                            "VALUE1", "USECOLLISION", "TRANSPARENCY", "USEENEMY"})
      EXPECT_EQ(keys.count(key), 1u) << t.name << " " << key;
  }
  EXPECT_EQ(names.size(), 14u);
}

}  // namespace
