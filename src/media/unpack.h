// Unpacking of compressed bytes: zlib and gzip streams (zlib) and zstd frames (libzstd), as map
// editors pack a layer's cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class Packing { kZlib, kGzip, kZstd };

// Unpacks the whole of `data` into `out`. False when the data is corrupt or cut short, or would
// unpack to more than maxBytes (then `out` holds nothing useful).
bool UnpackBytes(Packing packing, const uint8_t* data, size_t size, size_t maxBytes, std::vector<uint8_t>& out);
