// The image loading path: any bytes as an image file (PNG, JPEG, TIFF or TGA by signature),
// loaded twice (the copy shares the decoding), keyed, read and made into quads.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "media/probes.h"
#include "media/screen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(1);
  EndVideo();
  const std::string path = WriteFuzzFile("in/image.png", data, size);
  const int32_t image = LoadImage(-1, path);
  const int32_t copy = LoadImage(-1, path);
  if ((image == 0) != (copy == 0)) __builtin_trap();  // one file, one answer
  if (image != 0) {
    const int32_t w = ImageWidth(image), h = ImageHeight(image);
    if (w < 1 || h < 1 || w != ImageWidth(copy) || h != ImageHeight(copy)) __builtin_trap();
    SetImageKey(copy, static_cast<int32_t>(ImagePixel(image, 0, 0) & 0xFFFFFF));
    ImagePixel(copy, w - 1, h - 1);
    ImagePixel(image, w / 2, h / 2);
    const int32_t quad = MakeQuad(-1, copy);
    ResizeQuad(quad, w * 2, h);
    FreeImage(image);
    ImagePixel(copy, 0, h - 1);
  }
  EndVideo();
  return 0;
}
