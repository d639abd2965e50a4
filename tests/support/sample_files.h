// Small image and sound files made by the tests themselves, with the reference libraries
// (libpng, libjpeg, libtiff, libvorbisenc) or by hand, so the decoders can be checked on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

std::string AsString(const Bytes& bytes);

// Bytes packed as a map editor packs a layer's data: kind is "zlib", "gzip" or "zstd".
std::string Pack(const std::string& kind, const std::string& bytes);
// Base64 with padding, as Tiled writes it.
std::string Base64(const std::string& bytes);

// A pixel as the decoders give it: red in the low byte, alpha in the high one.
constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) { return r | g << 8 | b << 16 | a << 24; }

// The most memory this process has held so far, in kilobytes (getrusage).
long PeakResidentKilobytes();

// A TGA file: the 18-byte header, an optional colour map, then the pixel data as given.
struct TgaHeader {
  uint8_t imageType = 2;
  uint8_t depth = 24;
  uint8_t descriptor = 0;
  uint16_t width = 1;
  uint16_t height = 1;
  uint8_t mapType = 0;
  uint16_t mapFirst = 0;
  uint16_t mapLength = 0;
  uint8_t mapDepth = 0;
};
Bytes MakeTga(const TgaHeader& header, const Bytes& colourMap, const Bytes& data);

// PNG of the given libpng colour type and bit depth; samples are the raw row bytes (top first).
// palette: RGB triples, trns: the palette's alpha values (both may be empty).
Bytes EncodePng(int width, int height, int colourType, int bitDepth, const Bytes& samples, const Bytes& palette = {},
                const Bytes& trns = {}, bool interlaced = false);
// Baseline JPEG of RGB pixels at the given quality, colour not subsampled.
Bytes EncodeJpeg(int width, int height, const Bytes& rgb, int quality);
// TIFF of RGBA pixels (unassociated alpha), uncompressed, one strip per row.
Bytes EncodeTiff(int width, int height, const Bytes& rgba);

// A PCM WAV file: interleaved samples of 8 bits (unsigned) or 16 bits (signed little-endian).
Bytes MakeWav(int channels, int rate, int bits, const Bytes& data);
Bytes Pcm16(const std::vector<int16_t>& samples);
// An OGG Vorbis file of a sine wave.
Bytes EncodeOggSine(int channels, int rate, double seconds, double frequency, double amplitude);
