#include <gtest/gtest.h>

#include "media/text.h"

namespace {

TEST(TextHelpers, FileNamePartTakesTheLastComponentAndStripsQuotes) {
  EXPECT_EQ(FileNamePart("C:\\DATA\\TOPO\\wall.png"), "wall.png");
  EXPECT_EQ(FileNamePart("data/obj/star.png"), "star.png");
  EXPECT_EQ(FileNamePart("\"quoted name\".png"), "quoted name");
  EXPECT_EQ(FileNamePart("dir\\"), "");
}

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
  EXPECT_FLOAT_EQ(RoundFloat(2.1f, 1), 3.0f);
  EXPECT_FLOAT_EQ(RoundFloat(2.9f, 0), 2.0f);
  EXPECT_FLOAT_EQ(RoundFloat(-2.1f, 1), -2.0f);
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
  EXPECT_FLOAT_EQ(TextToFloat("32x32"), 32.0f);
  EXPECT_FLOAT_EQ(TextToFloat("1.5e1"), 15.0f);
  EXPECT_FLOAT_EQ(TextToFloat("letters"), 0.0f);
}

}  // namespace
