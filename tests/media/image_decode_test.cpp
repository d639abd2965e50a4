#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "media/image_codecs.h"
#include "support/sample_files.h"

namespace {

// The picture as RGBA words (r | g << 8 | b << 16 | a << 24), top-left first.
std::vector<uint32_t> Words(const RgbaPicture& p) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i + 3 < p.pixels.size(); i += 4)
    out.push_back(p.pixels[i] | p.pixels[i + 1] << 8 | p.pixels[i + 2] << 16 | static_cast<uint32_t>(p.pixels[i + 3]) << 24);
  return out;
}


struct TgaCase {
  const char* name;
  TgaHeader header;
  Bytes colourMap;
  Bytes data;
  std::vector<uint32_t> expected;  // top-left first
};

// 2 x 2 pictures unless stated; the stored order depends on the origin bits.
std::vector<TgaCase> TgaCases() {
  return {
      {"true-colour 24-bit, bottom-left origin: the first stored row is the bottom one",
       {2, 24, 0x00, 2, 2},
       {},
       {0, 0, 255, 0, 255, 0, /* bottom row: red, green */ 255, 0, 0, 255, 255, 255 /* top row: blue, white */},
       {Rgba(0, 0, 255), Rgba(255, 255, 255), Rgba(255, 0, 0), Rgba(0, 255, 0)}},
      {"true-colour 32-bit, top-left origin, alpha kept",
       {2, 32, 0x28, 2, 1},
       {},
       {10, 20, 30, 40, 50, 60, 70, 255},
       {Rgba(30, 20, 10, 40), Rgba(70, 60, 50, 255)}},
      {"true-colour 32-bit with alpha 0 everywhere and no attribute bits is opaque",
       {2, 32, 0x20, 2, 1},
       {},
       {1, 2, 3, 0, 4, 5, 6, 0},
       {Rgba(3, 2, 1), Rgba(6, 5, 4)}},
      {"right-to-left rows are mirrored",
       {2, 24, 0x30, 2, 1},
       {},
       {1, 1, 1, 2, 2, 2},
       {Rgba(2, 2, 2), Rgba(1, 1, 1)}},
      {"16-bit with one attribute bit: the top bit is alpha",
       {2, 16, 0x21, 2, 1},
       {},
       // 0x7C00 = red, alpha bit clear; 0x83E0 = green with the alpha bit set
       {0x00, 0x7C, 0xE0, 0x83},
       {Rgba(255, 0, 0, 0), Rgba(0, 255, 0, 255)}},
      {"15-bit colours expand 5 bits to 8 and are opaque",
       {2, 15, 0x20, 2, 1},
       {},
       // 0x801F = blue with the top bit set (ignored), 0x0210 = r 0, g 16, b 16
       {0x1F, 0x80, 0x10, 0x02},
       {Rgba(0, 0, 255), Rgba(0, 132, 132)}},
      {"grey 8-bit",
       {3, 8, 0x20, 2, 1},
       {},
       {0, 200},
       {Rgba(0, 0, 0), Rgba(200, 200, 200)}},
      {"colour-mapped with a first entry of 5: index 5 is the map's first colour",
       {1, 8, 0x20, 3, 1, 1, 5, 2, 24},
       {0, 0, 255, /* red */ 0, 255, 0 /* green */},
       {5, 6, 5},
       {Rgba(255, 0, 0), Rgba(0, 255, 0), Rgba(255, 0, 0)}},
      {"run-length true-colour: a run and a raw packet that crosses the row end",
       {10, 24, 0x20, 3, 2},
       {},
       {0x81, 9, 8, 7, /* 2 x (7,8,9) */ 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 /* raw 4 */},
       {Rgba(7, 8, 9), Rgba(7, 8, 9), Rgba(3, 2, 1), Rgba(6, 5, 4), Rgba(9, 8, 7), Rgba(12, 11, 10)}},
      {"run-length colour-mapped, bottom-left origin",
       {9, 8, 0x00, 2, 2, 1, 0, 2, 32},
       {0, 0, 0, 255, /* black */ 255, 255, 255, 128 /* half-transparent white */},
       {0x81, 0, /* bottom row black */ 0x01, 1, 0},
       {Rgba(255, 255, 255, 128), Rgba(0, 0, 0), Rgba(0, 0, 0), Rgba(0, 0, 0)}},
      {"run-length grey",
       {11, 8, 0x20, 4, 1},
       {},
       {0x83, 77},
       {Rgba(77, 77, 77), Rgba(77, 77, 77), Rgba(77, 77, 77), Rgba(77, 77, 77)}},
      {"a colour map present but unused by a true-colour image is skipped",
       {2, 24, 0x20, 1, 1, 1, 0, 2, 24},
       {9, 9, 9, 9, 9, 9},
       {1, 2, 3},
       {Rgba(3, 2, 1)}},
  };
}

TEST(TgaDecoder, DecodesEveryTypeAndOrigin) {
  for (const TgaCase& c : TgaCases()) {
    SCOPED_TRACE(c.name);
    const Bytes file = MakeTga(c.header, c.colourMap, c.data);
    RgbaPicture picture;
    ASSERT_TRUE(DecodeTga(file.data(), file.size(), picture));
    EXPECT_EQ(picture.width, c.header.width);
    EXPECT_EQ(picture.height, c.header.height);
    EXPECT_EQ(Words(picture), c.expected);
  }
}

TEST(TgaDecoder, EveryTruncationOfAValidFileFails) {
  for (const TgaCase& c : TgaCases()) {
    SCOPED_TRACE(c.name);
    const Bytes file = MakeTga(c.header, c.colourMap, c.data);
    for (size_t length = 0; length < file.size(); length++) {
      RgbaPicture picture;
      EXPECT_FALSE(DecodeTga(file.data(), length, picture)) << "length " << length;
      EXPECT_TRUE(picture.pixels.empty());
    }
  }
}

TEST(TgaDecoder, CorruptHeadersAndHostileSizesFail) {
  struct Case {
    const char* name;
    TgaHeader header;
    Bytes colourMap;
    Bytes data;
  };
  const Case cases[] = {
      {"unknown image type", {4, 24, 0, 1, 1}, {}, {1, 2, 3}},
      {"zero width", {2, 24, 0, 0, 1}, {}, {1, 2, 3}},
      {"odd depth", {2, 20, 0, 1, 1}, {}, {1, 2, 3}},
      {"colour-mapped without a map", {1, 8, 0, 1, 1}, {}, {0}},
      {"index beyond the map", {1, 8, 0, 1, 1, 1, 0, 1, 24}, {1, 2, 3}, {1}},
      {"index below the map's first entry", {1, 8, 0, 1, 1, 1, 4, 1, 24}, {1, 2, 3}, {3}},
      {"65535 x 65535 claimed with three bytes", {2, 24, 0, 65535, 65535}, {}, {1, 2, 3}},
      {"20000 x 1 is wider than any texture we accept", {10, 24, 0, 20000, 1}, {}, Bytes(2000, 0xFF)},
      {"run-length data that stops early", {10, 24, 0, 200, 200}, {}, {0xFF, 1, 2, 3}},
      {"run packet without its pixel", {10, 24, 0, 2, 1}, {}, {0x81}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes file = MakeTga(c.header, c.colourMap, c.data);
    RgbaPicture picture;
    EXPECT_FALSE(DecodeTga(file.data(), file.size(), picture));
  }
}

// --- PNG, JPEG, TIFF through their libraries, chosen by signature ---------------------------

struct LibraryCase {
  const char* name;
  Bytes file;
  int width, height;
  std::vector<uint32_t> expected;
  int tolerance;  // per channel (JPEG is lossy)
};

std::vector<LibraryCase> LibraryCases() {
  std::vector<LibraryCase> cases;
  cases.push_back({"PNG RGB 8-bit", EncodePng(2, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 255, 1, 2, 3}), 2, 1,
                   {Rgba(255, 0, 255), Rgba(1, 2, 3)}, 0});
  cases.push_back({"PNG RGBA 8-bit keeps alpha", EncodePng(1, 2, PNG_COLOR_TYPE_RGBA, 8, {10, 20, 30, 0, 40, 50, 60, 128}),
                   1, 2, {Rgba(10, 20, 30, 0), Rgba(40, 50, 60, 128)}, 0});
  cases.push_back({"PNG palette 4-bit with tRNS", EncodePng(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x01, 0x20},
                                                            {255, 0, 0, 0, 255, 0, 0, 0, 255}, {255, 0}),
                   3, 1, {Rgba(255, 0, 0), Rgba(0, 255, 0, 0), Rgba(0, 0, 255)}, 0});
  cases.push_back({"PNG grey 1-bit", EncodePng(8, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0}), 8, 1,
                   {Rgba(255, 255, 255), 0xFF000000, Rgba(255, 255, 255), 0xFF000000, 0xFF000000, 0xFF000000,
                    0xFF000000, 0xFF000000},
                   0});
  cases.push_back({"PNG grey+alpha 16-bit is cut to 8 bits without gamma change",
                   EncodePng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x80, 0x10, 0x40, 0x00}), 1, 1,
                   {Rgba(0x80, 0x80, 0x80, 0x40)}, 0});
  {
    Bytes samples;
    std::vector<uint32_t> expected;
    for (int y = 0; y < 9; y++)
      for (int x = 0; x < 9; x++) {
        samples.insert(samples.end(), {static_cast<uint8_t>(x * 20), static_cast<uint8_t>(y * 20), 7});
        expected.push_back(Rgba(x * 20, y * 20, 7));
      }
    cases.push_back({"PNG interlaced", EncodePng(9, 9, PNG_COLOR_TYPE_RGB, 8, samples, {}, {}, true), 9, 9, expected, 0});
  }
  {
    Bytes rgb;
    std::vector<uint32_t> expected;
    // Halves on a block boundary, so the edge stays sharp.
    for (int i = 0; i < 32 * 16; i++) {
      const bool left = i % 32 < 16;
      rgb.insert(rgb.end(), {static_cast<uint8_t>(left ? 250 : 10), 128, static_cast<uint8_t>(left ? 10 : 250)});
      expected.push_back(left ? Rgba(250, 128, 10) : Rgba(10, 128, 250));
    }
    cases.push_back({"JPEG", EncodeJpeg(32, 16, rgb, 95), 32, 16, expected, 12});
  }
  cases.push_back({"TIFF RGBA with unassociated alpha", EncodeTiff(2, 1, {200, 100, 50, 255, 200, 100, 50, 128}), 2, 1,
                   {Rgba(200, 100, 50), Rgba(200, 100, 50, 128)}, 2});
  return cases;
}

TEST(ImageDecoders, PngJpegAndTiffBecomeStraightRgba) {
  for (const LibraryCase& c : LibraryCases()) {
    SCOPED_TRACE(c.name);
    RgbaPicture picture;
    ASSERT_TRUE(DecodeImage(c.file, picture));
    ASSERT_EQ(picture.width, c.width);
    ASSERT_EQ(picture.height, c.height);
    const std::vector<uint32_t> got = Words(picture);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); i++)
      for (int shift = 0; shift < 32; shift += 8)
        EXPECT_NEAR(static_cast<int>((got[i] >> shift) & 255), static_cast<int>((c.expected[i] >> shift) & 255), c.tolerance)
            << "pixel " << i << " channel " << shift / 8;
  }
}

TEST(ImageDecoders, TruncatedFilesFailWithoutAPicture) {
  for (const LibraryCase& c : LibraryCases()) {
    SCOPED_TRACE(c.name);
    // Every cut of small files; a spread of cuts of the larger ones.
    const size_t step = std::max<size_t>(1, c.file.size() / 64);
    for (size_t length = 0; length < c.file.size(); length += step) {
      const Bytes cut(c.file.begin(), c.file.begin() + length);
      RgbaPicture picture;
      EXPECT_FALSE(DecodeImage(cut, picture)) << "length " << length << " of " << c.file.size();
      EXPECT_TRUE(picture.pixels.empty());
    }
  }
}

TEST(ImageDecoders, CorruptDataAndGarbageFail) {
  std::vector<std::pair<const char*, Bytes>> files;
  Bytes png = EncodePng(4, 4, PNG_COLOR_TYPE_RGB, 8, Bytes(48, 100));
  png[png.size() / 2] ^= 0x55;  // breaks a chunk's CRC
  files.emplace_back("PNG with a damaged chunk", png);
  Bytes pngSize = EncodePng(4, 4, PNG_COLOR_TYPE_RGB, 8, Bytes(48, 100));
  pngSize[16] = 0x7F;  // width 2^30-ish in the header
  files.emplace_back("PNG claiming a huge width", pngSize);
  Bytes jpeg = EncodeJpeg(8, 8, Bytes(192, 90), 90);
  jpeg.resize(jpeg.size() / 3);
  jpeg.insert(jpeg.end(), {0xFF, 0xD9});
  files.emplace_back("JPEG whose scan stops short of its end marker", jpeg);
  files.emplace_back("JPEG signature alone", Bytes{0xFF, 0xD8, 0xFF, 0xE0});
  Bytes tiff = EncodeTiff(2, 2, Bytes(16, 9));
  for (size_t i = 8; i < tiff.size(); i++) tiff[i] = 0xEE;
  files.emplace_back("TIFF with a garbled directory", tiff);
  const std::string text = "this is only a line of text, not a picture";
  files.emplace_back("text", Bytes(text.begin(), text.end()));
  files.emplace_back("empty", Bytes{});
  Bytes noise(4096);
  uint32_t state = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
  noise[2] = 77;  // no TGA type
  files.emplace_back("noise", noise);
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    RgbaPicture picture;
    EXPECT_FALSE(DecodeImage(bytes, picture));
  }
}

}  // namespace
