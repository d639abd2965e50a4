// The content generators: seamless music loops, the font's file names and glyph rules, tiles
// that differ by pattern and not only by colour, and output that is the same on every run and
// matches the files committed under content/.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lib/base_data.h"
#include "lib/canvas.h"
#include "lib/font.h"
#include "lib/music.h"
#include "lib/ogg_writer.h"
#include "lib/sounds.h"
#include "lib/sprites.h"
#include "lib/synth.h"

namespace {

using namespace gen;

// A short song (four bars) in each groove, quick to render.
SongPlan ShortPlan(Groove groove) {
  SongPlan p;
  p.title = "test";
  p.bpm = 150;
  p.root = 57;
  p.minor = groove == Groove::Bounce;
  p.progressions = {{0, 3, 4, 0}};
  p.form = "A";
  p.groove = groove;
  p.seed = 5;
  return p;
}

float MaxAbsDifference(const std::vector<float>& a, size_t aStart, const std::vector<float>& b, size_t count) {
  float worst = 0;
  for (size_t i = 0; i < count; ++i) worst = std::max(worst, std::fabs(a[aStart + i] - b[i]));
  return worst;
}

TEST(MusicLoop, WrappedLoopEqualsUninterruptedPlayback) {
  // Played three times in a row without wrapping, the middle copy must equal the wrapped loop:
  // then the loop's end runs into its start exactly as continuous music would, with no seam.
  for (Groove groove : {Groove::Calm, Groove::Drive, Groove::Bounce}) {
    const Song song = ComposeSong(ShortPlan(groove));
    const size_t n = song.loopSamples;
    ASSERT_GT(n, 0u);
    std::vector<NoteEvent> repeated;
    for (int k = 0; k < 3; ++k)
      for (NoteEvent e : song.events) {
        e.note.start = static_cast<double>(Samples(e.note.start) + k * n) / kSampleRate;
        repeated.push_back(e);
      }
    const std::vector<float> loop = RenderEvents(song.events, n, true);
    const std::vector<float> straight = RenderEvents(repeated, 3 * n, false);
    EXPECT_LT(MaxAbsDifference(straight, n, loop, n), 1e-4f) << static_cast<int>(groove);
    // Something rings across the seam (otherwise the check above would prove little).
    const std::vector<float> cut = RenderEvents(song.events, n, false);
    float tail = 0;
    for (size_t i = 0; i < 2000; ++i) tail = std::max(tail, std::fabs(straight[n + i] - cut[i]));
    EXPECT_GT(tail, 1e-3f) << static_cast<int>(groove);
  }
}

TEST(MusicLoop, EchoAndFilterWrapAroundTheLoop) {
  Rng rng(3);
  const size_t n = 5000;
  std::vector<float> loop(n);
  for (float& s : loop) s = rng.Unit() * 2 - 1;
  std::vector<float> tiled;
  for (int k = 0; k < 3; ++k) tiled.insert(tiled.end(), loop.begin(), loop.end());

  // Echo: taps reach back into the copies before (the last one further than a whole loop).
  const size_t delay = 1700;
  const std::vector<float> echoed = EchoLoop(loop, delay, 0.4f, 3);
  std::vector<float> straightEcho = tiled;
  for (size_t i = 0; i < tiled.size(); ++i) {
    float gain = 1;
    for (size_t k = 1; k <= 3; ++k) {
      gain *= 0.4f;
      if (i >= k * delay) straightEcho[i] += gain * tiled[i - k * delay];
    }
  }
  EXPECT_LT(MaxAbsDifference(straightEcho, 2 * n, echoed, n), 1e-5f);

  // Low-pass: the state at the loop's start is the one its end leaves behind.
  std::vector<float> filtered = loop;
  LowPassLoop(filtered, 2000.0f);
  std::vector<float> straightFilter = tiled;
  LowPass(straightFilter, 2000.0f);
  EXPECT_LT(MaxAbsDifference(straightFilter, n, filtered, n), 1e-4f);
}

TEST(MusicLoop, EncodedTrackKeepsItsExactLengthAndJoinsSmoothly) {
  const Song song = ComposeSong(ShortPlan(Groove::Drive));
  const std::vector<float> samples = RenderSong(song);
  ASSERT_EQ(samples.size(), song.loopSamples);
  float largestStep = 0;
  for (size_t i = 1; i < samples.size(); ++i) largestStep = std::max(largestStep, std::fabs(samples[i] - samples[i - 1]));
  EXPECT_LE(std::fabs(samples.front() - samples.back()), largestStep);

  const std::vector<float> decoded = DecodeOgg(EncodeOgg(samples, 0.35f, "test"));
  ASSERT_EQ(decoded.size(), samples.size());  // a loop of the wrong length would drift and click
  EXPECT_LT(std::fabs(decoded.front() - decoded.back()), 0.15f);
}

TEST(MusicPlans, DemoTracksLastBetweenThirtyAndSixtySeconds) {
  for (const SongPlan& plan : {MenuSong(), RunSong(), MazeSong()}) {
    int bars = 0;
    for (char s : plan.form) bars += static_cast<int>(plan.progressions.at(static_cast<size_t>(s - 'A')).size());
    const double seconds = bars * BarSeconds(plan);
    EXPECT_GE(seconds, 30.0) << plan.title;
    EXPECT_LE(seconds, 60.0) << plan.title;
  }
}

TEST(SoundEffects, StepTickIsShortAndSoft) {
  // The step sound plays for every step of the player and every foe sub-step.
  const std::vector<float> tick = MakeEffect(Effect::Step);
  EXPECT_LE(tick.size(), Samples(0.08));
  float peak = 0;
  for (float s : tick) peak = std::max(peak, std::fabs(s));
  EXPECT_LE(peak, 0.25f);
  for (const EffectInfo& e : Effects()) {
    const std::vector<float> sound = MakeEffect(e.effect);
    ASSERT_FALSE(sound.empty()) << e.fileName;
    EXPECT_LE(sound.size(), Samples(2.0)) << e.fileName;
    EXPECT_LT(std::fabs(sound.back()), 1e-3f) << e.fileName << " ends with a click";
  }
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the demo ships: every sound and track centred on zero (an offset thumps at every start
// and stop, and eats headroom), and each peaking 5 dB under full scale, so that a track and an
// effect together stay under the mixer's limiter.
TEST(SoundEffects, ShippedSoundsAreCentredAndLeaveHeadroom) {
  const std::string base = std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth/DATA/";
  std::vector<std::string> files = {"MUSIC/menu.ogg", "MUSIC/run.ogg", "MUSIC/maze.ogg"};
  for (const EffectInfo& e : Effects()) files.push_back(std::string("SFX/") + e.fileName);
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const std::vector<float> samples = DecodeOgg(ReadFile(base + file));
    ASSERT_FALSE(samples.empty());
    double sum = 0;
    float peak = 0;
    for (float s : samples) {
      sum += s;
      peak = std::max(peak, std::fabs(s));
    }
    EXPECT_LE(std::fabs(sum / static_cast<double>(samples.size())), 0.005) << "DC offset";
    EXPECT_LE(peak, 0.56f);
  }
}

TEST(Determinism, GeneratorsGiveTheSameBytesAsTheCommittedContent) {
  const std::string base = std::string(QUORVEX_SOURCE_DIR) + "/content/labyrinth/DATA/";
  const std::vector<uint8_t> tile = DrawLabTile(LabTile::FixedBlue).Magnified(kLabyrinthMagnification).EncodePng(false, true);
  EXPECT_EQ(tile, DrawLabTile(LabTile::FixedBlue).Magnified(kLabyrinthMagnification).EncodePng(false, true));
  EXPECT_EQ(tile, ReadFile(base + "TOPO/fixed_blue.png")) << "content/ is out of date: run scripts/make-content";

  const std::vector<uint8_t> glyph = DrawGlyph('Q').EncodePng(true);
  EXPECT_EQ(glyph, ReadFile(base + "FONT/Q.png"));

  const std::vector<uint8_t> tick = EncodeOgg(MakeEffect(Effect::Step), 0.4f, "step");
  EXPECT_EQ(tick, EncodeOgg(MakeEffect(Effect::Step), 0.4f, "step"));
  EXPECT_EQ(tick, ReadFile(base + "SFX/step.ogg"));

  const std::string ini = Configuration(BaseKind::Labyrinth).Text();
  const std::vector<uint8_t> iniFile = ReadFile(base + "ini.txt");
  EXPECT_EQ(std::string(iniFile.begin(), iniFile.end()), ini);
}

TEST(Font, GlyphFileNamesFollowTheLoadersRules) {
  const std::pair<uint8_t, const char*> cases[] = {
      {'A', "A"},        {'Z', "Z"},         {'7', "7"},      {'q', "_q"},      {'.', "POINT"},
      {'?', "ASK"},      {'[', "FLOPPY"},    {']', "FLOPPYB"}, {'-', "MINUS"},  {'"', "FUEL"},
      {'(', "LEFT"},     {')', "RIGHT"},     {':', "POINTPOINT"}, {'*', "STERN"}, {'+', "PLUS"},
      {'&', "BOMB"},     {0xF6, "NOBOMB"},   {0xD6, "NOBOMB"}, {0xE4, "HERZ"},  {0xC4, "HERZ"},
      {'@', "LIFE"},     {0xFC, "_u"},       {0xDC, "_u"},    {0xDF, "S"},      {'!', "!"},
      {',', ","},        {'\'', "'"},
  };
  for (const auto& [ch, name] : cases) EXPECT_EQ(GlyphBaseName(ch), name) << static_cast<int>(ch);
  const std::string chars = FontCharacters();
  for (char forbidden : {'/', '\\', '|', ' '}) EXPECT_EQ(chars.find(forbidden), std::string::npos) << forbidden;
}

TEST(Font, GlyphsShareOneHeightHaveHardEdgesAndNoWhite) {
  for (char c : FontCharacters()) {
    const uint8_t ch = static_cast<uint8_t>(c);
    const Canvas g = DrawGlyph(ch);
    EXPECT_EQ(g.Height(), kGlyphHeight) << static_cast<int>(ch);
    int opaque = 0;
    for (int y = 0; y < g.Height(); ++y)
      for (int x = 0; x < g.Width(); ++x) {
        const Color& p = g.At(x, y);
        ASSERT_TRUE(p.a == 0.0f || p.a == 1.0f) << "soft edge in glyph " << static_cast<int>(ch);
        if (p.a == 0) continue;
        ++opaque;
        // White is the transparent colour: a near-white pixel would vanish or fringe.
        EXPECT_LT(std::min({p.r, p.g, p.b}), 0.97f) << "glyph " << static_cast<int>(ch) << " at " << x << "," << y;
      }
    EXPECT_GT(opaque, 10) << static_cast<int>(ch);
  }
  const Canvas capital = DrawGlyph('A');
  EXPECT_GE(capital.Width(), 18);
  EXPECT_LE(capital.Width(), 20);
  // The HUD draws a bomb over an empty slot: both must be the same size.
  const Canvas bomb = DrawGlyph('&'), slot = DrawGlyph(0xF6);
  EXPECT_EQ(bomb.Width(), slot.Width());
  EXPECT_EQ(bomb.Height(), slot.Height());
}

// Brightness only, with the tile's average taken away: what a player who cannot tell the
// colours apart still sees.
std::vector<float> Pattern(const Canvas& c) {
  std::vector<float> l;
  float mean = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      const Color& p = c.At(x, y);
      l.push_back(0.3f * p.r + 0.59f * p.g + 0.11f * p.b);
      mean += l.back();
    }
  mean /= static_cast<float>(l.size());
  for (float& v : l) v -= mean;
  return l;
}

TEST(Tiles, EveryStateDiffersByPatternNotOnlyByColour) {
  const LabTile states[] = {LabTile::Floor, LabTile::Green, LabTile::Water, LabTile::Wall,
                            LabTile::Blue, LabTile::FixedBlue, LabTile::Pink, LabTile::FixedPink};
  std::vector<std::vector<float>> patterns;
  for (LabTile t : states) {
    const Canvas c = DrawLabTile(t);
    ASSERT_EQ(c.Width(), kTileSize);
    ASSERT_EQ(c.Height(), kTileSize);
    patterns.push_back(Pattern(c));
  }
  for (size_t a = 0; a < patterns.size(); ++a)
    for (size_t b = a + 1; b < patterns.size(); ++b) {
      float diff = 0;
      for (size_t i = 0; i < patterns[a].size(); ++i) diff += std::fabs(patterns[a][i] - patterns[b][i]);
      diff /= static_cast<float>(patterns[a].size());
      EXPECT_GT(diff, 0.04f) << "states " << a << " and " << b << " look alike without colour";
    }
}

TEST(Sprites, ObjectsHaveHardEdgesOnTransparentWhite) {
  for (Sprite s : {Sprite::Coin, Sprite::Gem, Sprite::Bomb, Sprite::Clock, Sprite::Cherry, Sprite::Spinner,
                   Sprite::Wisp, Sprite::Player, Sprite::Tree, Sprite::Flower}) {
    const Canvas c = DrawSprite(s);
    EXPECT_EQ(c.Width(), kTileSize);
    const std::vector<uint8_t> png = c.EncodePng(true);
    ASSERT_FALSE(png.empty());
    int transparent = 0, opaque = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) {
        const float a = c.At(x, y).a;
        ASSERT_TRUE(a == 0.0f || a == 1.0f) << static_cast<int>(s);
        (a == 0 ? transparent : opaque)++;
      }
    EXPECT_GT(transparent, 100) << static_cast<int>(s);
    EXPECT_GT(opaque, 200) << static_cast<int>(s);
  }
}

// Decodes PNG bytes to 8-bit RGBA with libpng's simplified reader.
std::vector<uint8_t> DecodePng(const std::vector<uint8_t>& bytes, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return pixels;
}

TEST(Png, OnlyTheBackgroundIsEverTheColourKey) {
  Canvas c(3, 1, Hex(0xFFFFFF));        // opaque white
  c.At(1, 0) = Hex(0x000000);            // opaque black
  c.At(2, 0) = {0.2f, 0.4f, 0.6f, 0};   // transparent
  int w = 0, h = 0;
  const std::vector<uint8_t> keyed = DecodePng(c.EncodePng(true), w, h);
  ASSERT_EQ(keyed.size(), 12u);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(std::vector<uint8_t>(keyed.begin(), keyed.begin() + 4), (std::vector<uint8_t>{254, 254, 254, 255}));
  EXPECT_EQ(std::vector<uint8_t>(keyed.begin() + 4, keyed.begin() + 8), (std::vector<uint8_t>{0, 0, 0, 255}));
  EXPECT_EQ(std::vector<uint8_t>(keyed.begin() + 8, keyed.end()), (std::vector<uint8_t>{255, 255, 255, 0}));
  // Glows are drawn with black as the key: their black is nudged instead.
  const std::vector<uint8_t> glow = DecodePng(c.EncodePng(false, true), w, h);
  ASSERT_EQ(glow.size(), 12u);
  EXPECT_EQ(std::vector<uint8_t>(glow.begin() + 4, glow.begin() + 8), (std::vector<uint8_t>{1, 1, 1, 255}));
}

}  // namespace
