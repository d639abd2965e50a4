#include "media/image_codecs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

// jpeglib.h uses FILE without including stdio itself.
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

// libjpeg's message codes (JWRN_*) come from jerror.h, which needs jpeglib.h first.
#include <jerror.h>

namespace {

// The pixel count the decode in progress may reach (DecodeImageWithin lowers it), and why a
// picture was refused for its size.
int64_t pixelLimit = kMaxImagePixels;
SizeRefusal sizeRefusal;

bool SizeAcceptable(int64_t width, int64_t height) {
  if (!(width >= 1 && height >= 1)) return false;
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    sizeRefusal = {true, false, width, height};
    return false;
  }
  if (width * height > pixelLimit) {
    sizeRefusal = {false, true, width, height};
    return false;
  }
  return true;
}

// --- TGA -------------------------------------------------------------------------------------

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint8_t Expand5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }

// One stored colour (15/16-bit ARGB1555, 24-bit BGR, 32-bit BGRA) as RGBA.
void TgaColour(const uint8_t* p, int depth, bool alphaBit, uint8_t* rgba) {
  switch (depth) {
    case 15:
    case 16: {
      const uint16_t v = Le16(p);
      rgba[0] = Expand5((v >> 10) & 31);
      rgba[1] = Expand5((v >> 5) & 31);
      rgba[2] = Expand5(v & 31);
      rgba[3] = (alphaBit && depth == 16) ? ((v & 0x8000) ? 255 : 0) : 255;
      break;
    }
    case 24:
      rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = 255;
      break;
    default:  // 32
      rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = p[3];
      break;
  }
}

struct TgaReader {
  int type = 0;            // 1 mapped, 2 true-colour, 3 grey (after removing the RLE bit)
  int depth = 0;           // bits per stored pixel
  bool alphaBit = false;   // 16-bit pixels carry a meaningful alpha bit
  std::vector<uint8_t> palette;  // RGBA entries of the colour map
  int paletteFirst = 0;

  // Converts one stored pixel; false for a colour-map index outside the map.
  bool Pixel(const uint8_t* p, uint8_t* rgba) const {
    if (type == 1) {
      const int index = (depth == 8 ? p[0] : Le16(p)) - paletteFirst;
      if (index < 0 || static_cast<size_t>(index) * 4 >= palette.size()) return false;
      std::memcpy(rgba, &palette[static_cast<size_t>(index) * 4], 4);
      return true;
    }
    if (type == 3) {
      rgba[0] = rgba[1] = rgba[2] = p[0];
      rgba[3] = depth == 16 ? p[1] : 255;
      return true;
    }
    TgaColour(p, depth, alphaBit, rgba);
    return true;
  }
};

struct TgaHeader {
  int idLength = 0;
  int mapType = 0;
  int imageType = 0;
  int mapFirst = 0;
  int mapLength = 0;
  int mapDepth = 0;
  int width = 0;
  int height = 0;
  int depth = 0;
  int descriptor = 0;
  bool rle = false;
};

// Reads the 18 bytes of the header and sets up the pixel reader; false for a variant we do not
// read or an absurd size.
bool ReadTgaHeader(const uint8_t* data, size_t size, TgaHeader& h, TgaReader& reader) {
  if (size < 18) return false;
  h.idLength = data[0];
  h.mapType = data[1];
  h.imageType = data[2];
  h.mapFirst = Le16(data + 3);
  h.mapLength = Le16(data + 5);
  h.mapDepth = data[7];
  h.width = Le16(data + 12);
  h.height = Le16(data + 14);
  h.depth = data[16];
  h.descriptor = data[17];
  h.rle = h.imageType >= 9;
  reader.type = h.rle ? h.imageType - 8 : h.imageType;
  reader.depth = h.depth;
  reader.alphaBit = (h.descriptor & 0x0F) == 1;
  const int type = h.imageType, depth = h.depth;
  if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) return false;
  if (h.mapType > 1) return false;
  if (reader.type == 1 && (h.mapType != 1 || (depth != 8 && depth != 16))) return false;
  if (reader.type == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32) return false;
  if (reader.type == 3 && depth != 8 && depth != 16) return false;
  return SizeAcceptable(h.width, h.height);
}

// Skips the image id and reads the colour map (kept only for a colour-mapped picture); pos
// ends where the pixels begin. False when the file ends too soon or the map's depth is wrong.
bool ReadTgaColourMap(const uint8_t* data, size_t size, const TgaHeader& h, TgaReader& reader, size_t& pos) {
  pos = 18 + static_cast<size_t>(h.idLength);
  if (h.mapType == 1) {
    if (h.mapDepth != 15 && h.mapDepth != 16 && h.mapDepth != 24 && h.mapDepth != 32) return false;
    const size_t entryBytes = static_cast<size_t>(h.mapDepth + 7) / 8;
    const size_t mapBytes = entryBytes * static_cast<size_t>(h.mapLength);
    if (pos > size || size - pos < mapBytes) return false;
    if (reader.type == 1) {
      reader.paletteFirst = h.mapFirst;
      reader.palette.resize(static_cast<size_t>(h.mapLength) * 4);
      for (int i = 0; i < h.mapLength; i++)
        TgaColour(data + pos + i * entryBytes, h.mapDepth, (h.descriptor & 0x0F) == 1, &reader.palette[i * 4u]);
    }
    pos += mapBytes;
  }
  return pos <= size;
}

// The pixels from pos on, plain or run-length, as RGBA in the order they are stored.
bool ReadTgaPixels(const uint8_t* data, size_t size, size_t pos, const TgaHeader& h, const TgaReader& reader,
                   std::vector<uint8_t>& linear) {
  const size_t bpp = static_cast<size_t>(h.depth + 7) / 8;
  const size_t count = static_cast<size_t>(h.width) * static_cast<size_t>(h.height);
  const size_t left = size - pos;
  // Refuse before allocating when the file cannot possibly hold that many pixels.
  if (!h.rle && left / bpp < count) return false;
  if (h.rle && (left / (1 + bpp) + 1) * 128 < count) return false;
  linear.assign(count * 4, 0);
  if (!h.rle) {
    for (size_t i = 0; i < count; i++)
      if (!reader.Pixel(data + pos + i * bpp, &linear[i * 4])) return false;
    return true;
  }
  size_t done = 0;
  while (done < count) {
    if (pos >= size) return false;
    const uint8_t header = data[pos++];
    const size_t run = std::min<size_t>((header & 0x7F) + 1u, count - done);
    if (header & 0x80) {
      if (size - pos < bpp) return false;
      uint8_t rgba[4];
      if (!reader.Pixel(data + pos, rgba)) return false;
      pos += bpp;
      for (size_t i = 0; i < run; i++) std::memcpy(&linear[(done + i) * 4], rgba, 4);
    } else {
      const size_t stored = (header & 0x7F) + 1u;  // a raw packet may run past the last pixel
      if ((size - pos) / bpp < run) return false;
      for (size_t i = 0; i < run; i++)
        if (!reader.Pixel(data + pos + i * bpp, &linear[(done + i) * 4])) return false;
      pos += std::min(stored * bpp, size - pos);
    }
    done += run;
  }
  return true;
}

// Writers that leave the attribute bits at 0 often store alpha 0 throughout: take that as opaque.
void OpaqueWhenNoAlpha(const TgaHeader& h, const TgaReader& reader, std::vector<uint8_t>& linear) {
  const bool alphaFromData = (reader.type == 2 && h.depth == 32) || (reader.type == 2 && h.depth == 16 && reader.alphaBit) ||
                             (reader.type == 1 && (h.mapDepth == 32 || (h.mapDepth == 16 && reader.alphaBit))) ||
                             (reader.type == 3 && h.depth == 16);
  if (!alphaFromData) return;
  for (size_t i = 3; i < linear.size(); i += 4)
    if (linear[i] != 0) return;
  for (size_t i = 3; i < linear.size(); i += 4) linear[i] = 255;
}

}  // namespace

bool DecodeTga(const uint8_t* data, size_t size, RgbaPicture& out) {
  out = RgbaPicture{};
  TgaHeader h;
  TgaReader reader;
  size_t pos = 0;
  std::vector<uint8_t> linear;
  if (!ReadTgaHeader(data, size, h, reader) || !ReadTgaColourMap(data, size, h, reader, pos) ||
      !ReadTgaPixels(data, size, pos, h, reader, linear))
    return false;
  OpaqueWhenNoAlpha(h, reader, linear);
  // Rows are stored from the bottom unless the descriptor says top first, and left to right
  // unless it says otherwise.
  const bool topFirst = (h.descriptor & 0x20) != 0;
  const bool rightToLeft = (h.descriptor & 0x10) != 0;
  const int width = h.width, height = h.height;
  out.width = width;
  out.height = height;
  out.pixels.resize(linear.size());
  for (int row = 0; row < height; row++) {
    const int y = topFirst ? row : height - 1 - row;
    for (int col = 0; col < width; col++) {
      const int x = rightToLeft ? width - 1 - col : col;
      std::memcpy(&out.pixels[(static_cast<size_t>(y) * width + x) * 4],
                  &linear[(static_cast<size_t>(row) * width + col) * 4], 4);
    }
  }
  return true;
}

// --- PNG -------------------------------------------------------------------------------------

namespace {

struct MemorySource {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void PngRead(png_structp png, png_bytep dest, png_size_t length) {
  auto* src = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (length > src->size - src->pos) png_error(png, "truncated");
  std::memcpy(dest, src->data + src->pos, length);
  src->pos += length;
}

[[noreturn]] void PngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngQuiet(png_structp, png_const_charp) {}

// Everything after the error trap; a libpng error jumps straight out of it.
bool ReadPngBody(png_structp png, png_infop info, RgbaPicture& out) {
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  if (!SizeAcceptable(width, height)) return false;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != width * 4) return false;
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  for (int pass = 0; pass < passes; pass++)
    for (png_uint_32 y = 0; y < height; y++) png_read_row(png, &out.pixels[static_cast<size_t>(y) * width * 4], nullptr);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, RgbaPicture& out) {
  out = RgbaPicture{};
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngQuiet);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  MemorySource source{data, size, 0};
  png_set_read_fn(png, &source, PngRead);
  // The size is judged by SizeAcceptable once the header is read, so that a refusal says why.
  png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
  bool ok = false;
  try {
    if (setjmp(png_jmpbuf(png)) == 0) ok = ReadPngBody(png, info, out);
  } catch (const std::bad_alloc&) {
    ok = false;  // the pixels did not fit in memory
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) out = RgbaPicture{};
  return ok;
}

// --- JPEG ------------------------------------------------------------------------------------

namespace {

struct JpegTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegTrap*>(info->err)->jump, 1); }

// Warnings that mean the data ran out are failures; other warnings are tolerated silently.
void JpegMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) JpegFail(info);
}

void JpegQuiet(j_common_ptr) {}

bool ReadJpegBody(jpeg_decompress_struct& jpeg, const uint8_t* data, size_t size, RgbaPicture& out) {
  jpeg_mem_src(&jpeg, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&jpeg, TRUE) != JPEG_HEADER_OK) return false;
  if (!SizeAcceptable(jpeg.image_width, jpeg.image_height)) return false;
  const bool cmyk = jpeg.jpeg_color_space == JCS_CMYK || jpeg.jpeg_color_space == JCS_YCCK;
  jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&jpeg);
  const int components = jpeg.output_components;
  if (components != (cmyk ? 4 : 3)) return false;
  const int width = static_cast<int>(jpeg.output_width);
  const int height = static_cast<int>(jpeg.output_height);
  // The row buffer belongs to libjpeg's pool, so a jump out of here leaks nothing.
  JSAMPARRAY row = (*jpeg.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&jpeg), JPOOL_IMAGE,
                                             static_cast<JDIMENSION>(width * components), 1);
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * height * 4, 255);
  while (jpeg.output_scanline < jpeg.output_height) {
    const int y = static_cast<int>(jpeg.output_scanline);
    if (jpeg_read_scanlines(&jpeg, row, 1) != 1) return false;
    uint8_t* dest = &out.pixels[static_cast<size_t>(y) * width * 4];
    const uint8_t* src = row[0];
    for (int x = 0; x < width; x++, dest += 4, src += components) {
      if (cmyk) {  // Adobe writes CMYK inverted: each value already is 255 minus the ink
        dest[0] = static_cast<uint8_t>(src[0] * src[3] / 255);
        dest[1] = static_cast<uint8_t>(src[1] * src[3] / 255);
        dest[2] = static_cast<uint8_t>(src[2] * src[3] / 255);
      } else {
        dest[0] = src[0], dest[1] = src[1], dest[2] = src[2];
      }
    }
  }
  jpeg_finish_decompress(&jpeg);
  return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, RgbaPicture& out) {
  out = RgbaPicture{};
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8) return false;
  jpeg_decompress_struct jpeg;
  JpegTrap trap;
  jpeg.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JpegFail;
  trap.manager.emit_message = JpegMessage;
  trap.manager.output_message = JpegQuiet;
  jpeg_create_decompress(&jpeg);
  bool ok = false;
  try {
    if (setjmp(trap.jump) == 0) ok = ReadJpegBody(jpeg, data, size, out);
  } catch (const std::bad_alloc&) {
    ok = false;  // the pixels did not fit in memory
  }
  jpeg_destroy_decompress(&jpeg);
  if (!ok) out = RgbaPicture{};
  return ok;
}

// --- TIFF ------------------------------------------------------------------------------------

namespace {

tmsize_t TiffRead(thandle_t handle, void* dest, tmsize_t length) {
  auto* src = static_cast<MemorySource*>(handle);
  if (length <= 0 || src->pos >= src->size) return 0;
  const size_t n = std::min(static_cast<size_t>(length), src->size - src->pos);
  std::memcpy(dest, src->data + src->pos, n);
  src->pos += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t TiffWrite(thandle_t, void*, tmsize_t) { return -1; }

toff_t TiffSeek(thandle_t handle, toff_t offset, int whence) {
  auto* src = static_cast<MemorySource*>(handle);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = src->pos;
  if (whence == SEEK_END) base = src->size;
  const uint64_t target = base + offset;
  if (target < base || target > (uint64_t{1} << 40)) return static_cast<toff_t>(-1);
  src->pos = static_cast<size_t>(target);
  return target;
}

int TiffClose(thandle_t) { return 0; }
toff_t TiffSize(thandle_t handle) { return static_cast<MemorySource*>(handle)->size; }
int TiffMap(thandle_t, void**, toff_t*) { return 0; }
void TiffUnmap(thandle_t, void*, toff_t) {}
int TiffQuiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace

bool DecodeTiff(const uint8_t* data, size_t size, RgbaPicture& out) {
  out = RgbaPicture{};
  if (size < 8) return false;
  MemorySource source{data, size, 0};
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return false;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t{256} << 20);
  TIFFOpenOptionsSetErrorHandlerExtR(options, TiffQuiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, TiffQuiet, nullptr);
  TIFF* tiff = TIFFClientOpenExt("memory", "rm", &source, TiffRead, TiffWrite, TiffSeek, TiffClose, TiffSize,
                                 TiffMap, TiffUnmap, options);
  TIFFOpenOptionsFree(options);
  if (!tiff) return false;
  uint32_t width = 0, height = 0;
  bool ok = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 1 && TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) == 1 &&
            SizeAcceptable(width, height);
  std::vector<uint32_t> raster;
  try {
    if (ok) {
      raster.resize(static_cast<size_t>(width) * height);
      ok = TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), ORIENTATION_TOPLEFT, 1) == 1;
    }
  } catch (const std::bad_alloc&) {
    ok = false;  // the pixels did not fit in memory
  }
  TIFFClose(tiff);
  if (!ok) return false;
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.pixels.resize(raster.size() * 4);
  for (size_t i = 0; i < raster.size(); i++) {
    const uint32_t p = raster[i];
    uint32_t r = TIFFGetR(p), g = TIFFGetG(p), b = TIFFGetB(p);
    const uint32_t a = TIFFGetA(p);
    // libtiff hands alpha images over premultiplied; the rest of the game expects straight alpha.
    if (a > 0 && a < 255) {
      r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
      g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
      b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
    }
    uint8_t* dest = &out.pixels[i * 4];
    dest[0] = static_cast<uint8_t>(r), dest[1] = static_cast<uint8_t>(g), dest[2] = static_cast<uint8_t>(b);
    dest[3] = static_cast<uint8_t>(a);
  }
  return true;
}

// --- Choosing a decoder ----------------------------------------------------------------------

bool DecodeImage(const std::vector<uint8_t>& file, RgbaPicture& out) {
  const uint8_t* d = file.data();
  const size_t n = file.size();
  if (n >= 8 && png_sig_cmp(d, 0, 8) == 0) return DecodePng(d, n, out);
  if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return DecodeJpeg(d, n, out);
  if (n >= 4 && ((d[0] == 'I' && d[1] == 'I' && d[2] == 42 && d[3] == 0) || (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && d[3] == 42)))
    return DecodeTiff(d, n, out);
  return DecodeTga(d, n, out);
}

bool DecodeImageWithin(const std::vector<uint8_t>& file, int64_t maxPixels, RgbaPicture& out, SizeRefusal& refusal) {
  pixelLimit = std::clamp<int64_t>(maxPixels, 0, kMaxImagePixels);
  sizeRefusal = SizeRefusal{};
  bool ok = false;
  try {
    ok = DecodeImage(file, out);
  } catch (const std::bad_alloc&) {
    out = RgbaPicture{};  // the pixels did not fit in memory
  }
  refusal = ok ? SizeRefusal{} : sizeRefusal;
  pixelLimit = kMaxImagePixels;
  return ok;
}

bool DecodeImageWithin(const std::vector<uint8_t>& file, int64_t maxPixels, RgbaPicture& out, bool& tooLarge) {
  SizeRefusal refusal;
  const bool ok = DecodeImageWithin(file, maxPixels, out, refusal);
  tooLarge = refusal.beyondRoom;
  return ok;
}

// --- PNG writing -----------------------------------------------------------------------------

namespace {

void WritePngBody(png_structp png, png_infop info, std::FILE* file, int32_t width, int32_t height, const uint8_t* pixels,
                  int channels) {
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  for (int32_t y = 0; y < height; y++) png_write_row(png, pixels + static_cast<size_t>(y) * width * channels);
  png_write_end(png, nullptr);
}

bool WritePng(const std::string& path, int32_t width, int32_t height, const uint8_t* pixels, int channels) {
  if (width < 1 || height < 1 || !pixels) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngQuiet);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    WritePngBody(png, info, file, width, height, pixels, channels);
    ok = true;
  }
  if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace

bool WritePngRgb(const std::string& path, int32_t width, int32_t height, const uint8_t* rgb) {
  return WritePng(path, width, height, rgb, 3);
}

bool WritePngRgba(const std::string& path, int32_t width, int32_t height, const uint8_t* rgba) {
  return WritePng(path, width, height, rgba, 4);
}
