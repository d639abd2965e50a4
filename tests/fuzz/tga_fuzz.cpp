// The TGA decoder, which is ours: any bytes decoded straight from memory.
#include <cstddef>
#include <cstdint>

#include "media/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RgbaPicture picture;
  if (DecodeTga(data, size, picture) &&
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4)
    __builtin_trap();  // a decoded picture always holds exactly its pixels
  return 0;
}
