// The sound loading path: any bytes as a sound file (WAV or OGG by signature), decoded whole,
// converted to the output format and mixed for a moment.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "media/probes.h"
#include "media/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t sound = LoadSoundFile(-1, WriteFuzzFile("in/sound.ogg", data, size));
  if (sound != 0) {
    PlaySoundFrom(sound, 1);
    std::vector<int16_t> mix(2048 * kSoundChannels);
    MixSound(mix.data(), 2048);
  }
  EndSound();
  return 0;
}
