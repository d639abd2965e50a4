#include "support/sample_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

// jpeglib.h uses FILE without including stdio itself.
#include <jpeglib.h>
#include <png.h>
#include <sys/resource.h>
#include <tiffio.h>
#include <zlib.h>
#include <zstd.h>

#include "lib/ogg_writer.h"
#include "support/temp_dir.h"

namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PngAppend(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void PngFlush(png_structp) {}
[[noreturn]] void PngAbort(png_structp, png_const_charp message) {
  std::fprintf(stderr, "test PNG encoder: %s\n", message);
  std::abort();
}

}  // namespace

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Pack(const std::string& kind, const std::string& bytes) {
  std::string out(bytes.size() * 2 + 64, '\0');
  if (kind == "zstd") {
    out.resize(ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3));
    return out;
  }
  z_stream stream{};
  deflateInit2(&stream, 6, Z_DEFLATED, kind == "gzip" ? 16 + MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string Base64(const std::string& bytes) {
  static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = 0;
    for (size_t k = 0; k < 3; k++) v = v << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; k++) out += k <= n ? kDigits[(v >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

Bytes MakeTga(const TgaHeader& h, const Bytes& colourMap, const Bytes& data) {
  Bytes out;
  out.push_back(0);  // no image id
  out.push_back(h.mapType);
  out.push_back(h.imageType);
  Put16(out, h.mapFirst);
  Put16(out, h.mapLength);
  out.push_back(h.mapDepth);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, h.width);
  Put16(out, h.height);
  out.push_back(h.depth);
  out.push_back(h.descriptor);
  out.insert(out.end(), colourMap.begin(), colourMap.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes EncodePng(int width, int height, int colourType, int bitDepth, const Bytes& samples, const Bytes& palette,
                const Bytes& trns, bool interlaced) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngAbort, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, PngAppend, PngFlush);
  png_set_IHDR(png, info, width, height, bitDepth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> colours;
  for (size_t i = 0; i + 2 < palette.size(); i += 3) colours.push_back(png_color{palette[i], palette[i + 1], palette[i + 2]});
  if (!colours.empty()) png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  if (!trns.empty()) png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
  png_write_info(png, info);
  const size_t rowBytes = samples.size() / height;
  std::vector<png_bytep> rows;
  for (int y = 0; y < height; y++) rows.push_back(const_cast<png_bytep>(samples.data() + y * rowBytes));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodeJpeg(int width, int height, const Bytes& rgb, int quality) {
  jpeg_compress_struct jpeg;
  jpeg_error_mgr errors;
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = width;
  jpeg.image_height = height;
  jpeg.input_components = 3;
  jpeg.in_color_space = JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, quality, TRUE);
  jpeg.comp_info[0].h_samp_factor = jpeg.comp_info[0].v_samp_factor = 1;  // full-resolution colour
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < jpeg.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + jpeg.next_scanline * width * 3);
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

Bytes EncodeTiff(int width, int height, const Bytes& rgba) {
  TempDir dir;
  const std::string path = dir / "image.tif";
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (!tiff) std::abort();
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1);
  const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
  for (int y = 0; y < height; y++)
    TIFFWriteScanline(tiff, const_cast<uint8_t*>(rgba.data() + y * width * 4), y, 0);
  TIFFClose(tiff);
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes MakeWav(int channels, int rate, int bits, const Bytes& data) {
  Bytes out = {'R', 'I', 'F', 'F'};
  Put32(out, static_cast<uint32_t>(36 + data.size()));
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, channels);
  Put32(out, rate);
  Put32(out, rate * channels * bits / 8);
  Put16(out, channels * bits / 8);
  Put16(out, bits);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes Pcm16(const std::vector<int16_t>& samples) {
  Bytes out;
  for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
  return out;
}

Bytes EncodeOggSine(int channels, int rate, double seconds, double frequency, double amplitude) {
  const size_t total = static_cast<size_t>(seconds * rate);
  const double pi = 3.14159265358979323846;
  std::vector<float> wave(total);
  for (size_t i = 0; i < total; i++) wave[i] = static_cast<float>(amplitude * std::sin(2 * pi * frequency * i / rate));
  const Bytes ogg = gen::EncodeOggChannels(std::vector<std::vector<float>>(static_cast<size_t>(channels), wave), rate, 0.4f, "test tone");
  if (ogg.empty()) std::abort();
  return ogg;
}
