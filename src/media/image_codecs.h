// Image file decoding into plain RGBA pixels, and PNG writing, with no display involved.
//
// Every decoder takes the whole file in memory and either fills the picture completely or
// fails: truncated or corrupt data, unsupported variants and absurd sizes all return false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Largest side and largest pixel count we accept; anything bigger is treated as corrupt.
constexpr int32_t kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t{8192} * 8192;
// Files bigger than this are not images we would ever draw.
constexpr size_t kMaxImageFileBytes = size_t{256} << 20;

// Straight (not premultiplied) RGBA, 8 bits a channel, rows from the top.
struct RgbaPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
};

// Picks the decoder from the file's signature (PNG, JPEG, TIFF) and falls back to TGA.
bool DecodeImage(const std::vector<uint8_t>& file, RgbaPicture& out);
// The same, refusing a picture of more than maxPixels pixels before its pixels are allocated;
// tooLarge tells that this was the reason of a failure.
bool DecodeImageWithin(const std::vector<uint8_t>& file, int64_t maxPixels, RgbaPicture& out, bool& tooLarge);
// A failure for the picture's size, told before its pixels were allocated: larger than any
// picture taken (kMaxImageSide a side, kMaxImagePixels in all), or within that but larger
// than the maxPixels asked for.
struct SizeRefusal {
  bool beyondLimits = false;
  bool beyondRoom = false;
  int64_t width = 0, height = 0;  // the size the file gives, when refused for it
};
bool DecodeImageWithin(const std::vector<uint8_t>& file, int64_t maxPixels, RgbaPicture& out, SizeRefusal& refusal);

bool DecodePng(const uint8_t* data, size_t size, RgbaPicture& out);
bool DecodeJpeg(const uint8_t* data, size_t size, RgbaPicture& out);
bool DecodeTiff(const uint8_t* data, size_t size, RgbaPicture& out);
// Types 1, 2, 3 and their run-length versions 9, 10, 11: colour-mapped, true-colour of
// 15/16/24/32 bits, 8-bit grey. Both origins (bottom-left, top-left) and right-to-left rows.
bool DecodeTga(const uint8_t* data, size_t size, RgbaPicture& out);

// Writes 8-bit RGB rows (width * 3 bytes each, top first) as a PNG file.
bool WritePngRgb(const std::string& path, int32_t width, int32_t height, const uint8_t* rgb);
// The same with straight alpha: 8-bit RGBA rows (width * 4 bytes each, top first).
bool WritePngRgba(const std::string& path, int32_t width, int32_t height, const uint8_t* rgba);
