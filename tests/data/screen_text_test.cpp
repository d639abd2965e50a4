#include "data/screen_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "core/game_state.h"
#include "core/settings.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/game_run.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

TEST(GlyphFileName, SpecialCharactersLettersAndUmlauts) {
  const struct {
    uint8_t character;
    const char* baseName;
    uint8_t code;
  } cases[] = {{'.', "POINT", '.'}, {'?', "ASK", '?'},     {'[', "FLOPPY", '['},     {']', "FLOPPYB", ']'},
               {'-', "MINUS", '-'}, {'"', "FUEL", '"'},    {'(', "LEFT", '('},       {')', "RIGHT", ')'},
               {':', "POINTPOINT", ':'}, {'*', "STERN", '*'}, {'+', "PLUS", '+'},    {'&', "BOMB", '&'},
               {246, "NOBOMB", 246}, {214, "NOBOMB", 214}, {228, "HERZ", 228},       {196, "HERZ", 196},
               {'@', "LIFE", '@'},  {252, "_u", 'u'},      {220, "_u", 'u'},         {223, "S", 'S'},
               {'a', "_a", 'a'},    {'z', "_z", 'z'},      {'A', "A", 'A'},          {'7', "7", '7'}};
  for (const auto& c : cases) {
    EXPECT_EQ(GlyphFileName(c.character).baseName, c.baseName) << int(c.character);
    EXPECT_EQ(GlyphFileName(c.character).code, c.code) << int(c.character);
  }
}

// Glyph images of distinct widths, written by the test, at font scale 1.5.
class ScreenTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameState.fontScale = 1.5f;
    settings.FONTPATH = dir_ / "FONT";
    dir_.MakeDir("FONT");
  }
  void Glyph(const std::string& baseName, int32_t width) {
    ASSERT_TRUE(WriteSolidPng(dir_ / ("FONT/" + baseName + ".png"), width, 10, 0x808080));
  }
  void Load(const std::string& list) { LoadScreenFont(dir_.Write("chars.txt", list)); }
  float Pen(const std::string& text, float scale, float angle, float spacing) {
    textPenX = textPenY = 0.0f;
    DrawScreenText(text, 100.0f, 50.0f, scale, angle, 255, spacing);
    return textPenX;
  }
  TempDir dir_;
};

TEST_F(ScreenTextTest, LoadingByBaseNameWithUmlautsMissingImagesAndEmptyLines) {
  Load("A");
  EXPECT_EQ(glyphTable[uint8_t{'A'}].sprite, 0) << "no image";
  Glyph("A", 8);
  Glyph("_a", 2);
  Glyph("BOMB", 3);
  Glyph("_u", 5);
  Glyph("S", 7);
  Glyph("B", 4);
  Load("\nA");
  EXPECT_EQ(glyphTable[uint8_t{'A'}].sprite, 0) << "an empty first line loads nothing";
  Load("Aa&uQ\xDF\r\nB");
  const int32_t firstU = glyphTable[uint8_t{'u'}].sprite;
  Load("\xFC\xDC");  // both umlauts reload the plain u
  EXPECT_FALSE(ImageExists(firstU));
  const struct {
    uint8_t code;
    float width;  // 0: no glyph
    int32_t quadWidth;
  } cases[] = {{'A', 12.0f, 12}, {'a', 3.0f, 3}, {'&', 4.5f, 4}, {'u', 7.5f, 8}, {'S', 10.5f, 10},
               {'Q', 0, 0},      {'B', 0, 0},    {252, 0, 0},    {220, 0, 0},    {223, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(glyphTable[c.code].width, c.width) << int(c.code);
    EXPECT_EQ(glyphTable[c.code].sprite3D != 0, c.width != 0) << int(c.code);
    EXPECT_EQ(QuadWidth(glyphTable[c.code].sprite3D), c.quadWidth) << int(c.code);
  }
  EXPECT_FLOAT_EQ(glyphTable[uint8_t{'A'}].height, 15.0f);

  // A missing list changes nothing; a glyph whose image went missing keeps its quad.
  const int32_t quad = glyphTable[uint8_t{'A'}].sprite3D;
  LoadScreenFont(dir_ / "none.txt");
  EXPECT_TRUE(ImageExists(glyphTable[uint8_t{'A'}].sprite));
  std::filesystem::remove(dir_ / "FONT/A.png");
  Load("A");
  EXPECT_EQ(glyphTable[uint8_t{'A'}].sprite, 0);
  EXPECT_EQ(glyphTable[uint8_t{'A'}].sprite3D, quad);

  settings.FONTSYSTEM = dir_.Write("list2.txt", "a");
  ReloadScreenFont();
  EXPECT_FALSE(QuadExists(quad));
  EXPECT_EQ(glyphTable[uint8_t{'A'}].sprite3D, 0);
  EXPECT_NE(glyphTable[uint8_t{'a'}].sprite3D, 0);
}

TEST_F(ScreenTextTest, PenRulesAndGlyphSizes) {
  EXPECT_FLOAT_EQ(Pen("A B\\C", 1.0f, 0.0f, 1.0f), 0.0f) << "without a font only markup moves the pen";
  EXPECT_FLOAT_EQ(textPenY, 0.0f);
  Glyph("A", 8);  // 12 x 15 on screen
  Glyph("I", 3);  // 4.5
  Glyph("B", 5);  // 7.5
  Load("AIB");
  const struct {
    const char* text;
    float scale, spacing, penX, penY;
    int32_t quadWidth;  // of A after the text
  } cases[] = {
      {"AB", 1.0f, 1.0f, 19.5f, 0.0f, 12},   {"AB", 2.0f, 0.5f, 19.5f, 0.0f, 24},
      {"A|", 1.0f, 1.0f, 0.0f, 0.0f, 12},    {"AA|B", 1.0f, 1.0f, 7.5f, 0.0f, 12},
      {"A\\B", 1.0f, 1.0f, 7.5f, 18.0f, 12}, {"A\\\\", 2.0f, 1.0f, 0.0f, 72.0f, 24},
      {"A A", 3.0f, 0.0f, 4.5f, 0.0f, 36},   {"A", -2.0f, 1.0f, 12.0f, 0.0f, 12},
      {"A\\", -2.0f, 1.0f, 0.0f, 18.0f, 12}, {"A B", 0.0f, 1.0f, 4.5f, 0.0f, 0},
      {"AZ\xFC", 0.5f, 1.0f, 6.0f, 0.0f, 6}, {"A", 1.0f / 3, 1.0f, 4.0f, 0.0f, 4},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(Pen(c.text, c.scale, 0.0f, c.spacing), c.penX) << c.text << " at " << c.scale;
    EXPECT_FLOAT_EQ(textPenY, c.penY) << c.text << " at " << c.scale;
    EXPECT_EQ(QuadWidth(glyphTable[uint8_t{'A'}].sprite3D), c.quadWidth) << c.text << " at " << c.scale;
  }
  // A text without "|" shifts the next one, whatever its origin.
  Pen("AB", 1.0f, 0.0f, 1.0f);
  DrawScreenText("A", 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(textPenX, 31.5f);
}

TEST_F(ScreenTextTest, SharedGlyphQuadTurnsFurtherWithEachAngledDraw) {
  Glyph("A", 8);
  Glyph("B", 5);
  Load("AB");
  const int32_t a = glyphTable[uint8_t{'A'}].sprite3D;
  const float angles[][2] = {{5, 5}, {5, 10}, {5, 15}, {0, 0}, {5, 20}, {2.5f, 22}};  // 2.5 rounds to 2
  for (const auto& step : angles) {
    Pen("A|", 1.0f, step[0], 1.0f);
    EXPECT_FLOAT_EQ(QuadAngle(a), step[1]) << "after angle " << step[0];
  }
  EXPECT_FLOAT_EQ(QuadAccumulatedRotation(glyphTable[uint8_t{'B'}].sprite3D), 0.0f);
}

// An opacity above 255 draws fully opaque, as 255 does.
TEST_F(ScreenTextTest, OpacitiesAboveFullDrawFull) {
  if (!OpenTestScreen(64, 64)) GTEST_SKIP() << "no display";
  gameState.fontScale = 1.0f;
  ASSERT_TRUE(WriteSolidPng(dir_ / "FONT/A.png", 8, 8, 0xF0F0F0));
  Load("A");
  for (const int32_t alpha : {255, 256, 100000}) {
    BeginQuads();
    ClearBackBuffer(kBlack);
    textPenX = textPenY = 0.0f;
    DrawScreenText("A", 4.0f, 4.0f, 1.0f, 0.0f, alpha, 1.0f);
    EndQuads();
    ASSERT_TRUE(SaveBackBufferPng(dir_ / "shot.png"));
    EXPECT_EQ(ReadPng(dir_ / "shot.png").At(8, 8), 0xF0F0F0u) << alpha;
  }
}

TEST_F(ScreenTextTest, BadInputNeverBreaksThePen) {
  Glyph("A", 8);
  Glyph("I", 3);
  Load("AI");
  std::string everyByte(1, '\0');
  for (int c = 1; c < 256; c++) everyByte += static_cast<char>(c);
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  for (const float scale : {nan, inf, -inf, 1e30f, 0.0f}) {
    for (const float spacing : {nan, inf, -1e30f, 0.0f}) {
      DrawScreenText(everyByte + "AA", 1e30f, -inf, scale, nan, 100000, spacing);
      EXPECT_TRUE(std::isfinite(textPenX) && std::isfinite(textPenY)) << scale << " " << spacing;
    }
  }
  for (const int32_t code : {-1, 256, -100000}) DrawScreenChar(code, 0, 0, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(Pen("A", nan, 0.0f, 1.0f), 12.0f) << "a scale that is no number draws as 1.0";
}

}  // namespace
