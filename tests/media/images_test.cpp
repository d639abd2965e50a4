// Images and quads without a display: loading, colour keys, handles, resizing and rotation.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>

#include <algorithm>

#include "media/internal.h"
#include "media/probes.h"
#include "media/screen.h"
#include "support/sample_files.h"
#include "support/temp_dir.h"

namespace {


// A 3 x 1 PNG: magenta, white, dark grey.
Bytes ThreeColourPng() { return EncodePng(3, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 255, 255, 255, 255, 40, 40, 40}); }

class Images : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(Images, LoadFindsTheFileByBackslashesAndAnyLetterCaseAndKeysTheDefaultColour) {
  dir.Write("Gfx/Sprite.PNG", AsString(ThreeColourPng()));
  const int32_t image = LoadImage(-1, dir.Path() + "\\GFX\\sprite.png");
  ASSERT_GT(image, 0);
  EXPECT_TRUE(ImageExists(image));
  EXPECT_EQ(ImageWidth(image), 3);
  EXPECT_EQ(ImageHeight(image), 1);
  EXPECT_EQ(ImagePixel(image, 0, 0) >> 24, 0u) << "magenta is the start-up transparent colour";
  EXPECT_EQ(ImagePixel(image, 1, 0), Rgba(255, 255, 255));
  EXPECT_EQ(ImagePixel(image, 2, 0), Rgba(40, 40, 40));
  EXPECT_EQ(ImagePixel(image, 3, 0), 0u) << "outside the image";
}

TEST_F(Images, TheTransparentColourInForceAtLoadTimeIsTheImagesKeyUntilChanged) {
  const std::string path = dir.Write("a.png", AsString(ThreeColourPng()));
  SetTransparentColour(kWhite);
  const int32_t whiteKeyed = LoadImage(-1, path);
  SetTransparentColour(kMagenta);  // changes later loads only
  const int32_t magentaKeyed = LoadImage(-1, path);
  EXPECT_EQ(ImagePixel(whiteKeyed, 0, 0), Rgba(255, 0, 255));
  EXPECT_EQ(ImagePixel(whiteKeyed, 1, 0) >> 24, 0u);
  EXPECT_EQ(ImagePixel(magentaKeyed, 0, 0) >> 24, 0u);
  EXPECT_EQ(ImagePixel(magentaKeyed, 1, 0), Rgba(255, 255, 255));

  SetImageKey(whiteKeyed, 40 + 40 * 256 + 40 * 65536);  // re-keys that image alone
  EXPECT_EQ(ImagePixel(whiteKeyed, 1, 0), Rgba(255, 255, 255));
  EXPECT_EQ(ImagePixel(whiteKeyed, 2, 0) >> 24, 0u);
  EXPECT_EQ(ImagePixel(magentaKeyed, 2, 0), Rgba(40, 40, 40));
  SetImageKey(whiteKeyed, -1);  // no key at all
  EXPECT_EQ(ImagePixel(whiteKeyed, 2, 0), Rgba(40, 40, 40));
}

TEST_F(Images, FailedLoadsGiveZeroAndUnknownNumbersDoNothing) {
  EXPECT_EQ(LoadImage(-1, dir / "missing.png"), 0);
  EXPECT_EQ(LoadImage(-1, dir.Write("bad.png", AsString(ThreeColourPng()).substr(0, 40))), 0);
  EXPECT_EQ(LoadImage(-1, dir.Write("empty.tga", "")), 0);
  EXPECT_EQ(LoadImage(-1, dir.Path()), 0) << "a directory";
  EXPECT_FALSE(ImageExists(7));
  EXPECT_EQ(ImageWidth(7), 0);
  EXPECT_EQ(ImagePixel(7, 0, 0), 0u);
  EXPECT_EQ(MakeQuad(-1, 7), 0);
  EXPECT_EQ(GrabBackBuffer(-1, 0, 0, 10, 10), 0) << "no screen to grab from";
  FreeImage(7);
  ResizeQuad(7, 1, 1);
  RotateQuad(7, 10);
  DrawQuad(7, 0, 0, 255);
  EXPECT_FALSE(QuadExists(7));
  EXPECT_EQ(QuadWidth(7), 0);
  EXPECT_EQ(QuadAngle(7), 0.0f);
}

TEST_F(Images, NumbersAreHandedOutReplacedAndFreed) {
  const std::string png = dir.Write("a.png", AsString(ThreeColourPng()));
  const std::string tga = dir.Write("b.tga", AsString(MakeTga({2, 24, 0x20, 2, 5}, {}, Bytes(30, 7))));
  const int32_t first = LoadImage(-1, png);
  const int32_t second = LoadImage(-1, tga);
  EXPECT_NE(first, second);
  EXPECT_EQ(LoadImage(first, tga), first) << "a positive number replaces that image";
  EXPECT_EQ(ImageWidth(first), 2);
  EXPECT_EQ(ImageHeight(first), 5);
  const int32_t quad = MakeQuad(-1, first);
  ASSERT_GT(quad, 0);
  FreeImage(first);
  EXPECT_FALSE(ImageExists(first));
  EXPECT_TRUE(QuadExists(quad)) << "the quad stays and draws nothing";
  EXPECT_EQ(MakeQuad(-1, first), 0);
  FreeQuad(quad);
  EXPECT_FALSE(QuadExists(quad));
}

TEST_F(Images, QuadsRotateByAccumulationAndAResizeMakesThemUprightWithoutForgetting) {
  const int32_t image = LoadImage(-1, dir.Write("b.tga", AsString(MakeTga({2, 24, 0x20, 4, 2}, {}, Bytes(24, 7)))));
  const int32_t quad = MakeQuad(-1, image);
  EXPECT_EQ(QuadWidth(quad), 4);
  EXPECT_EQ(QuadHeight(quad), 2);
  EXPECT_EQ(QuadAngle(quad), 0.0f);

  struct Step {
    const char* action;
    float angle;      // RotateQuad's angle, or the new size for "resize"
    float drawn;      // QuadAngle afterwards
    float accumulated;
  };
  const Step steps[] = {
      {"rotate", 5, 5, 5},     {"rotate", 5, 10, 10},  {"rotate", 5, 15, 15},
      {"resize", 8, 0, 15},    {"rotate", 5, 20, 20},  {"rotate", -30, -10, -10},
      {"rotate", 100, 90, 90}, {"resize", 3, 0, 90},   {"rotate", 0, 90, 90},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.action) + " " + std::to_string(s.angle));
    if (std::string(s.action) == "resize") {
      ResizeQuad(quad, static_cast<int32_t>(s.angle), static_cast<int32_t>(s.angle) + 1);
      EXPECT_EQ(QuadWidth(quad), static_cast<int32_t>(s.angle));
      EXPECT_EQ(QuadHeight(quad), static_cast<int32_t>(s.angle) + 1);
    } else {
      RotateQuad(quad, s.angle);
    }
    EXPECT_FLOAT_EQ(QuadAngle(quad), s.drawn);
    EXPECT_FLOAT_EQ(QuadAccumulatedRotation(quad), s.accumulated);
  }
}

// A PNG of one colour that is small on disk and large decoded (palette of one entry).
Bytes PlainPng(int width, int height, uint8_t red) {
  return EncodePng(width, height, PNG_COLOR_TYPE_PALETTE, 8, Bytes(static_cast<size_t>(width) * height, 0), {red, 20, 30});
}

TEST_F(Images, CopiesOfOneFileShareItsPixelsButEachKeepsItsOwnNumberAndKey) {
  const std::string path = dir.Write("big.png", AsString(PlainPng(4096, 4096, 10)));
  const long peakBefore = PeakResidentKilobytes();
  std::vector<int32_t> copies;
  for (int i = 0; i < 20; i++) copies.push_back(LoadImage(-1, path));
  // One decoded copy is 64 MB; twenty of them would be 1.3 GB.
  EXPECT_LT(PeakResidentKilobytes() - peakBefore, 200 * 1024) << "kilobytes more at the peak";
  for (size_t i = 0; i < copies.size(); i++) {
    EXPECT_EQ(copies[i], copies[0] + static_cast<int32_t>(i)) << "numbers are handed out as before";
    EXPECT_EQ(ImageWidth(copies[i]), 4096);
  }
  SetImageKey(copies[1], 10 + 20 * 256 + 30 * 65536);  // re-keys that copy alone
  EXPECT_EQ(ImagePixel(copies[1], 7, 7) >> 24, 0u);
  EXPECT_EQ(ImagePixel(copies[2], 7, 7), Rgba(10, 20, 30));
  for (size_t i = 0; i + 1 < copies.size(); i++) FreeImage(copies[i]);
  EXPECT_EQ(ImagePixel(copies.back(), 4095, 4095), Rgba(10, 20, 30)) << "the last copy keeps the pixels";
}

TEST_F(Images, DecodedPixelsBeyondTheBudgetAreLeftOutWithOneLinePerDirectory) {
  SetImageMemoryBudget(3 * 256 * 256 * 4 + 1000);
  std::vector<std::string> paths;
  for (int i = 0; i < 5; i++)
    paths.push_back(dir.Write("EFX/p" + std::to_string(i) + ".png", AsString(PlainPng(256, 256, static_cast<uint8_t>(i)))));
  testing::internal::CaptureStderr();
  std::vector<int32_t> loaded;
  for (const std::string& path : paths) loaded.push_back(LoadImage(-1, path));
  const int32_t copy = LoadImage(-1, paths[0]);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_GT(loaded[0], 0);
  EXPECT_GT(loaded[2], 0);
  EXPECT_EQ(loaded[3], 0);
  EXPECT_EQ(loaded[4], 0);
  EXPECT_GT(copy, 0) << "a copy of a file already held costs nothing";
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("p3.png"), std::string::npos) << said;
  FreeImage(loaded[1]);  // its pixels are given back
  EXPECT_GT(LoadImage(-1, paths[4]), 0);
}

TEST(BlendPairs, KeyedTexelsGetTheValueThatLeavesTheDestinationAlone) {
  struct Case {
    int32_t source, destination;
    uint32_t neutral;
  };
  const Case cases[] = {
      {5, 6, 0x00000000},   // ordinary alpha blend: transparent black
      {2, 5, 0xFF000000},   // floating images: one * src + dst * src alpha needs black with full alpha
      {5, 2, 0x00000000},   // additive
      {2, 2, 0x00000000},   // plain add of black
      {1, 3, 0x00FFFFFF},   // dst * src colour needs white
      {9, 1, 0x00FFFFFF},   // src * dst colour needs white
      {2, 6, 0x00000000},   // premultiplied-style blend
      {7, 8, 0x00000000},   // src * 1 + dst * 0: nothing is neutral, so the usual texel stays
      {0, 0, 0x00000000},   // out of range means (5, 6)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + "," + std::to_string(c.destination));
    EXPECT_EQ(NeutralTexel(NormalBlendPair(c.source, c.destination)), c.neutral);
  }
  const BlendPair mixed = NormalBlendPair(12, 3);
  EXPECT_EQ(mixed.source, 5) << "each side falls back on its own default";
  EXPECT_EQ(mixed.destination, 3);
}

}  // namespace
