// The replay reader of the test harness: any bytes as a --replay file, read, checked, sorted and
// played into the input devices.
#include <cstddef>
#include <cstdint>

#include "app/harness.h"
#include "fuzz/fuzz_support.h"
#include "media/input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetForInput(1);
  harnessOptions = HarnessOptions{};
  harnessOptions.replayFile = WriteFuzzFile("in/replay.txt", data, size);
  if (ApplyHarnessOptions())
    for (int32_t frame = 1; frame < 40; frame++) HarnessAfterPresent(frame);
  SetInputFromReplay(false, false);
  ResetInput();
  return 0;
}
