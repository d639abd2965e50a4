#include "media/unpack.h"

#include <zlib.h>
#include <zstd.h>

#include <algorithm>
#include <memory>

namespace {

constexpr size_t kChunk = 64 * 1024;

// One stream after the other: gzip's 16 + 15 window bits take a gzip header, 15 a zlib one.
bool Inflate(const uint8_t* data, size_t size, bool gzip, size_t maxBytes, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (inflateInit2(&stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  if (size > stream.avail_in) {  // more than 4 GB of packed cells is no map
    inflateEnd(&stream);
    return false;
  }
  int status = Z_OK;
  while (status == Z_OK) {
    if (out.size() >= maxBytes) break;
    const size_t room = std::min(kChunk, maxBytes - out.size());
    const size_t before = out.size();
    out.resize(before + room);
    stream.next_out = out.data() + before;
    stream.avail_out = static_cast<uInt>(room);
    status = inflate(&stream, Z_NO_FLUSH);
    out.resize(before + room - stream.avail_out);
    if (status == Z_BUF_ERROR && stream.avail_in == 0) break;  // cut short
  }
  inflateEnd(&stream);
  return status == Z_STREAM_END;
}

bool Unzstd(const uint8_t* data, size_t size, size_t maxBytes, std::vector<uint8_t>& out) {
  std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream(ZSTD_createDStream(), ZSTD_freeDStream);
  if (!stream) return false;
  ZSTD_inBuffer in{data, size, 0};
  size_t hint = 1;
  while (in.pos < in.size || hint != 0) {
    if (out.size() >= maxBytes) return false;
    const size_t room = std::min(kChunk, maxBytes - out.size());
    const size_t before = out.size();
    out.resize(before + room);
    ZSTD_outBuffer buffer{out.data() + before, room, 0};
    hint = ZSTD_decompressStream(stream.get(), &buffer, &in);
    out.resize(before + buffer.pos);
    if (ZSTD_isError(hint)) return false;
    if (in.pos == in.size && buffer.pos < room && hint != 0) return false;  // a frame cut short
  }
  return true;
}

}  // namespace

bool UnpackBytes(Packing packing, const uint8_t* data, size_t size, size_t maxBytes, std::vector<uint8_t>& out) {
  out.clear();
  if (!data || size == 0) return false;
  if (packing == Packing::kZstd) return Unzstd(data, size, maxBytes, out);
  return Inflate(data, size, packing == Packing::kGzip, maxBytes, out);
}
