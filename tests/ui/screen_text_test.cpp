#include "ui/screen_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "core/game_state.h"
#include "core/main_loop.h"
#include "core/settings.h"
#include "media/screen.h"
#include "support/temp_dir.h"
#include "ui/test_images.h"

namespace {

constexpr uint32_t kGrey = 0x808080;

TEST(GlyphFileName, SpecialCharactersUpperLowerAndUmlauts) {
  struct Case {
    uint8_t character;
    const char* baseName;
    uint8_t code;
  };
  const Case cases[] = {
      {'.', "POINT", '.'},    {'?', "ASK", '?'},         {'[', "FLOPPY", '['},  {']', "FLOPPYB", ']'},
      {'-', "MINUS", '-'},    {'"', "FUEL", '"'},        {'(', "LEFT", '('},    {')', "RIGHT", ')'},
      {':', "POINTPOINT", ':'}, {'*', "STERN", '*'},     {'+', "PLUS", '+'},    {'&', "BOMB", '&'},
      {246, "NOBOMB", 246},   {214, "NOBOMB", 214},      {228, "HERZ", 228},    {196, "HERZ", 196},
      {'@', "LIFE", '@'},     {252, "_u", 'u'},          {220, "_u", 'u'},      {223, "S", 'S'},
      {'a', "_a", 'a'},       {'q', "_q", 'q'},          {'z', "_z", 'z'},      {'A', "A", 'A'},
      {'Z', "Z", 'Z'},        {'7', "7", '7'},           {'!', "!", '!'},       {'\'', "'", '\''},
      {233, "\xE9", 233},
  };
  for (const Case& c : cases) {
    const GlyphName name = GlyphFileName(c.character);
    EXPECT_EQ(name.baseName, c.baseName) << "character " << int(c.character);
    EXPECT_EQ(name.code, c.code) << "character " << int(c.character);
  }
}

// A font directory written by the test: glyph images of distinct sizes, so that a glyph loaded
// under the wrong code or from the wrong file shows in its width.
class ScreenTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAllState();
    FreeScreenFont();
    textPenX = textPenY = 0.0f;
    gameState.fontScale = 1.5f;
    settings.FONTPATH = dir_ / "FONT";
    dir_.MakeDir("FONT");
  }
  void TearDown() override { FreeScreenFont(); }

  void Glyph(const std::string& baseName, int32_t width, int32_t height = 10) {
    ASSERT_TRUE(WriteSolidPng(dir_ / ("FONT/" + baseName + ".png"), width, height, kGrey));
  }
  // Writes a character-list file and loads the font from it.
  void Load(const std::string& list) { LoadScreenFont(dir_.Write("chars.txt", list)); }
  // A, I and B at 8, 3 and 5 pixels wide: 12, 4.5 and 7.5 on screen at font scale 1.5.
  void LoadABI() {
    Glyph("A", 8);
    Glyph("I", 3);
    Glyph("B", 5);
    Load("AIB\r\n");
  }

  TempDir dir_;
};

TEST_F(ScreenTextTest, EachCharacterLoadsItsOwnFileUnderItsTargetCode) {
  struct Case {
    uint8_t code;
    const char* file;
    int32_t width;
  };
  const Case cases[] = {{'A', "A", 2},        {'7', "7", 3},     {'a', "_a", 4},      {'.', "POINT", 5},
                        {'?', "ASK", 6},       {'&', "BOMB", 7},  {246, "NOBOMB", 8},  {228, "HERZ", 9},
                        {'@', "LIFE", 10},     {'"', "FUEL", 11}, {':', "POINTPOINT", 12}, {'[', "FLOPPY", 13},
                        {']', "FLOPPYB", 14}};
  std::string list;
  for (const Case& c : cases) {
    Glyph(c.file, c.width, 20);
    list += static_cast<char>(c.code);
  }
  Load(list + "\nQ\n");  // only the first line counts
  for (const Case& c : cases) {
    const GlyphRecord& g = glyphTable[c.code];
    EXPECT_NE(g.sprite, 0) << c.file;
    ASSERT_NE(g.sprite3D, 0) << c.file;
    EXPECT_FLOAT_EQ(g.width, c.width * 1.5f) << c.file;
    EXPECT_FLOAT_EQ(g.height, 30.0f) << c.file;
    EXPECT_EQ(QuadHeight(g.sprite3D), 30) << c.file;
  }
  EXPECT_EQ(glyphTable['Q'].sprite3D, 0);
}

TEST_F(ScreenTextTest, QuadSizesRoundHalvesToEven) {
  Glyph("I", 3);  // 4.5 -> 4
  Glyph("B", 5);  // 7.5 -> 8
  Glyph("C", 7);  // 10.5 -> 10
  Load("IBC");
  EXPECT_EQ(QuadWidth(glyphTable['I'].sprite3D), 4);
  EXPECT_EQ(QuadWidth(glyphTable['B'].sprite3D), 8);
  EXPECT_EQ(QuadWidth(glyphTable['C'].sprite3D), 10);
  EXPECT_EQ(QuadHeight(glyphTable['C'].sprite3D), 15);
}

TEST_F(ScreenTextTest, UmlautsAndSharpSReloadThePlainLetters) {
  Glyph("_u", 4);
  Glyph("S", 6);
  Load("u");
  const int32_t firstU = glyphTable['u'].sprite;
  ASSERT_NE(firstU, 0);
  Load("\xFC\xDC\xDF");  // u umlaut, U umlaut, sharp s
  EXPECT_FALSE(ImageExists(firstU)) << "the earlier image of u is freed before the reload";
  EXPECT_TRUE(ImageExists(glyphTable['u'].sprite));
  EXPECT_FLOAT_EQ(glyphTable['u'].width, 6.0f);
  EXPECT_FLOAT_EQ(glyphTable['S'].width, 9.0f);
  for (const int code : {252, 220, 223}) {
    EXPECT_EQ(glyphTable[code].sprite, 0) << code;
    EXPECT_EQ(glyphTable[code].sprite3D, 0) << code;
  }
  // In a text they draw nothing and do not move the pen.
  DrawScreenText("\xFC\xDC\xDF", 0, 0, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 0.0f);
}

TEST_F(ScreenTextTest, MissingOrEmptyListsLoadNothing) {
  Glyph("A", 8);
  Load("\nA\n");
  EXPECT_EQ(glyphTable['A'].sprite, 0) << "an empty first line loads no glyph";

  Load("A");
  const GlyphRecord before = glyphTable['A'];
  LoadScreenFont(dir_ / "no-such-list.txt");
  EXPECT_EQ(glyphTable['A'].sprite, before.sprite);
  EXPECT_EQ(glyphTable['A'].sprite3D, before.sprite3D);
  EXPECT_TRUE(ImageExists(before.sprite));
}

TEST_F(ScreenTextTest, AMissingImageLeavesOnlyThatCharacterOut) {
  Glyph("A", 8);
  Glyph("B", 5);
  Load("AQB");
  EXPECT_EQ(glyphTable['Q'].sprite, 0);
  EXPECT_EQ(glyphTable['Q'].sprite3D, 0);
  EXPECT_NE(glyphTable['A'].sprite3D, 0);
  EXPECT_NE(glyphTable['B'].sprite3D, 0);
  DrawScreenText("AQB", 0, 0, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 12.0f + 7.5f);

  // Reloading a character whose image is gone keeps the size and quad it had.
  const int32_t quad = glyphTable['A'].sprite3D;
  std::filesystem::remove(dir_ / "FONT/A.png");
  Load("A");
  EXPECT_EQ(glyphTable['A'].sprite, 0);
  EXPECT_EQ(glyphTable['A'].sprite3D, quad);
  EXPECT_FLOAT_EQ(glyphTable['A'].width, 12.0f);
}

TEST_F(ScreenTextTest, FreeAndReloadEmptyTheTableFirst) {
  Glyph("A", 8);
  Glyph("B", 5);
  Load("AB");
  const int32_t image = glyphTable['A'].sprite, quad = glyphTable['A'].sprite3D;
  settings.FONTSYSTEM = dir_.Write("only-b.txt", "B");
  ReloadScreenFont();
  EXPECT_FALSE(ImageExists(image));
  EXPECT_FALSE(QuadExists(quad));
  EXPECT_EQ(glyphTable['A'].sprite, 0);
  EXPECT_EQ(glyphTable['A'].sprite3D, 0);
  EXPECT_NE(glyphTable['B'].sprite3D, 0);

  FreeScreenFont();
  for (const GlyphRecord& g : glyphTable) {
    EXPECT_EQ(g.sprite, 0);
    EXPECT_EQ(g.sprite3D, 0);
  }
}

TEST_F(ScreenTextTest, PenRules) {
  LoadABI();
  struct Case {
    const char* text;
    float scale, spacing;
    float penX, penY;
  };
  const Case cases[] = {
      {"A", 1.0f, 1.0f, 12.0f, 0.0f},
      {"AB", 1.0f, 1.0f, 19.5f, 0.0f},
      {"AB", 2.0f, 0.5f, 19.5f, 0.0f},
      {"AB", 1.0f, 0.0f, 0.0f, 0.0f},
      {"A|", 1.0f, 1.0f, 0.0f, 0.0f},              // the end of a text goes back to the origin
      {"AA|B", 1.0f, 1.0f, 7.5f, 0.0f},            // the rest is drawn over the start
      {"A\\B", 1.0f, 1.0f, 7.5f, 18.0f},           // 1.2 x the height of A
      {"A\\\\", 2.0f, 1.0f, 0.0f, 72.0f},          // at scale 2
      {" ", 3.0f, 0.0f, 4.5f, 0.0f},               // the space: unscaled width of I
      {"A A", 3.0f, 0.0f, 4.5f, 0.0f},
      {"A", -2.0f, 1.0f, 12.0f, 0.0f},             // a negative scale draws as 1.0
      {"A\\", -2.0f, 1.0f, 0.0f, 18.0f},
      {"AB", 0.0f, 1.0f, 0.0f, 0.0f},              // zero-sized glyphs do not advance
      {"A B", 0.0f, 1.0f, 4.5f, 0.0f},
      {"AZB", 1.0f, 1.0f, 19.5f, 0.0f},            // no glyph: no advance
  };
  for (const Case& c : cases) {
    textPenX = textPenY = 0.0f;
    DrawScreenText(c.text, 100.0f, 50.0f, c.scale, 0.0f, 255, c.spacing);
    EXPECT_FLOAT_EQ(textPenX, c.penX) << c.text << " at scale " << c.scale;
    EXPECT_FLOAT_EQ(textPenY, c.penY) << c.text << " at scale " << c.scale;
  }
}

TEST_F(ScreenTextTest, ATextWithoutEndMarkShiftsTheNextOne) {
  LoadABI();
  DrawScreenText("AB", 300.0f, 10.0f, 1.0f, 0.0f, 255, 1.0f);
  DrawScreenText("A\\", 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 0.0f);
  EXPECT_FLOAT_EQ(textPenY, 18.0f);
  DrawScreenText("B", 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 7.5f);
  DrawScreenText("|", 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 0.0f);
  EXPECT_FLOAT_EQ(textPenY, 0.0f);
}

TEST_F(ScreenTextTest, GlyphQuadIsResizedToTheScaleBeforeEachDraw) {
  LoadABI();
  const int32_t a = glyphTable['A'].sprite3D;
  struct Case {
    float scale;
    int32_t width, height;
  };
  const Case cases[] = {{2.0f, 24, 30}, {0.5f, 6, 8}, {-1.0f, 12, 15}, {0.0f, 0, 0}, {1.0f / 3.0f, 4, 5}};
  for (const Case& c : cases) {
    DrawScreenChar('A', 0, 0, c.scale, 0.0f, 255, 1.0f);
    EXPECT_EQ(QuadWidth(a), c.width) << c.scale;
    EXPECT_EQ(QuadHeight(a), c.height) << c.scale;
  }
}

TEST_F(ScreenTextTest, SharedGlyphQuadTurnsFurtherWithEachAngledDraw) {
  LoadABI();
  const int32_t a = glyphTable['A'].sprite3D;
  struct Step {
    float angle;
    float drawnAt;
  };
  // 2.5 degrees rounds to 2 (halves to even).
  const Step steps[] = {{5.0f, 5.0f}, {5.0f, 10.0f}, {5.0f, 15.0f}, {0.0f, 0.0f}, {5.0f, 20.0f}, {2.5f, 22.0f}};
  for (const Step& s : steps) {
    DrawScreenText("A|", 0, 0, 1.0f, s.angle, 255, 1.0f);
    EXPECT_FLOAT_EQ(QuadAngle(a), s.drawnAt) << "after angle " << s.angle;
  }
  EXPECT_FLOAT_EQ(QuadAccumulatedRotation(a), 22.0f);
  // The other characters' quads are not turned.
  EXPECT_FLOAT_EQ(QuadAccumulatedRotation(glyphTable['B'].sprite3D), 0.0f);
}

TEST_F(ScreenTextTest, WithoutAFontOnlyTheMarkupMovesThePen) {
  DrawScreenText("A B\\C", 0, 0, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 0.0f);
  EXPECT_FLOAT_EQ(textPenY, 0.0f);
}

TEST_F(ScreenTextTest, BadInputNeverBreaksThePen) {
  LoadABI();
  std::string everyByte;
  for (int c = 1; c < 256; c++) everyByte += static_cast<char>(c);
  everyByte += std::string(1, '\0') + "A";
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const float values[] = {nan, inf, -inf, 1e30f, -1e30f, 0.0f};
  for (const float scale : values) {
    for (const float spacing : values) {
      DrawScreenText(everyByte, 1e30f, -inf, scale, nan, 100000, spacing);
      EXPECT_TRUE(std::isfinite(textPenX)) << scale << " " << spacing;
      EXPECT_TRUE(std::isfinite(textPenY)) << scale << " " << spacing;
    }
  }
  for (const int32_t code : {-1, 256, 100000, -100000}) DrawScreenChar(code, 0, 0, 1.0f, 0.0f, 255, 1.0f);

  // A scale that is not a number draws like a negative one: at the glyphs' own size.
  textPenX = textPenY = 0.0f;
  DrawScreenText("A", 0, 0, nan, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 12.0f);
  EXPECT_EQ(QuadWidth(glyphTable['A'].sprite3D), 12);
}

}  // namespace
