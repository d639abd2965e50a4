#include <gtest/gtest.h>

#include <cmath>

#include "media/text.h"

namespace {

TEST(TextHelpers, FindTextCountsFromOne) {
  EXPECT_EQ(FindText("wall.png.png", ".png"), 5);
  EXPECT_EQ(FindText("wall.png.png", ".png", 6), 9);
  EXPECT_EQ(FindText("wall.PNG", ".png"), 0);
  EXPECT_EQ(FindText("", ".png"), 0);
  EXPECT_EQ(FindText("abc", ""), 0);
  EXPECT_EQ(FindText("abc", "c", 4), 0);
}

TEST(TextHelpers, SubstringsClipToTheText) {
  EXPECT_EQ(TextMid("LOAD#.png", 1, 4), "LOAD");
  EXPECT_EQ(TextMid("LOAD#.png", 6, 100), ".png");
  EXPECT_EQ(TextMid("abc", 5, 1), "");
  EXPECT_EQ(TextLeft("abc", 2), "ab");
  EXPECT_EQ(TextLeft("abc", -1), "");
  EXPECT_EQ(TextLength("abc"), 3);
}

TEST(TextHelpers, NumbersAndRounding) {
  EXPECT_EQ(NumberText(-42), "-42");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(1e20), INT32_MAX);
}

TEST(TextHelpers, IntegerAndFloatConversions) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {{"42", 42},     {" \t-17x", -17}, {"+5", 5},       {"abc", 0}, {"", 0},
                        {"- 5", 0},     {"12 34", 12},    {"4294967297", 1}};
  for (const Case& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
  // Floats are decimal only: a decimal point and an exponent, up to the first character that
  // does not fit; hexadecimal, "inf" and "nan" are no numbers here.
  struct FloatCase {
    const char* text;
    float value;
  };
  const FloatCase floats[] = {
      {"32x32", 32.0f}, {"1.5e1", 15.0f}, {"letters", 0.0f}, {" -2.5", -2.5f}, {".5", 0.5f},    {"7.", 7.0f},
      {"+3", 3.0f},     {"1e", 1.0f},     {"2e+", 2.0f},     {"4E-1x", 0.4f},  {"0x20", 0.0f},  {"0X1p3", 0.0f},
      {"inf", 0.0f},    {"-infinity", 0.0f}, {"nan", 0.0f},  {"NAN(1)", 0.0f}, {"-.", 0.0f},    {"", 0.0f},
  };
  for (const FloatCase& c : floats) EXPECT_FLOAT_EQ(TextToFloat(c.text), c.value) << c.text;
  EXPECT_TRUE(std::isinf(TextToFloat("1e999"))) << "too large for a float, as the C library gives it";
}

}  // namespace
