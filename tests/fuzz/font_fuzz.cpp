// The font's character list: any bytes as the FONTSYSTEM file, then texts drawn with the font.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/settings.h"
#include "data/screen_text.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(1);
  settings.FONTSYSTEM = WriteFuzzFile("in/chars.txt", data, size);
  ReloadScreenFont();
  const std::string text(reinterpret_cast<const char*>(data), size < 64 ? size : 64);
  DrawScreenText(text + "|", 10.0f, 10.0f, 1.5f, 0.0f, 255, 1.0f);
  DrawScreenText("AB a.1 S\\I|", 0.0f, 0.0f, 2.0f, 12.0f, 128, 0.5f);
  return 0;
}
