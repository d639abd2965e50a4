// Whole decoded sounds, one voice each, mixed by us in the audio callback.
#include "media/sound.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <mutex>
#include <vector>

#include "media/files.h"
#include "media/handles.h"

namespace {

// Decoded sounds longer than this (in output samples, both channels) are refused.
constexpr size_t kMaxSamples = size_t{kSoundRate} * kSoundChannels * 60 * 30;
constexpr std::streamoff kMaxSoundFileBytes = std::streamoff{256} << 20;

struct Sound {
  std::vector<int16_t> samples;  // interleaved stereo at the output rate
  size_t position = 0;           // next frame to play
  bool playing = false;
  bool looping = false;
  int32_t starts = 0;
};

std::mutex mixerLock;  // guards sounds against the audio callback
HandleTable<Sound> sounds;
SDL_AudioDeviceID device = 0;
bool decodersRegistered = false;  // the decoders are built in; this only records the call

void AudioCallback(void*, Uint8* stream, int length) {
  MixSound(reinterpret_cast<int16_t*>(stream), length / static_cast<int>(sizeof(int16_t) * kSoundChannels));
}

// Converts raw samples of any SDL format, channel count and rate to the output format.
bool ConvertToOutput(SDL_AudioFormat format, int channels, int rate, const uint8_t* data, size_t length,
                     std::vector<int16_t>& out) {
  if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000) return false;
  const size_t frameBytes = static_cast<size_t>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
  if (frameBytes == 0) return false;
  length -= length % frameBytes;
  if (length == 0 || length > static_cast<size_t>(INT_MAX / 16)) return false;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(channels), rate, AUDIO_S16SYS, kSoundChannels, kSoundRate) < 0)
    return false;
  cvt.len = static_cast<int>(length);
  std::vector<uint8_t> buffer(length * static_cast<size_t>(std::max(1, cvt.len_mult)));
  std::memcpy(buffer.data(), data, length);
  if (cvt.needed) {
    cvt.buf = buffer.data();
    if (SDL_ConvertAudio(&cvt) != 0) return false;
  } else {
    cvt.len_cvt = cvt.len;
  }
  const size_t samples = static_cast<size_t>(cvt.len_cvt) / sizeof(int16_t);
  if (samples < kSoundChannels || samples > kMaxSamples) return false;
  out.resize(samples - samples % kSoundChannels);
  std::memcpy(out.data(), buffer.data(), out.size() * sizeof(int16_t));
  return true;
}

bool DecodeWav(const std::vector<uint8_t>& file, std::vector<int16_t>& out) {
  SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!source) return false;
  SDL_AudioSpec spec;
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(source, 1, &spec, &data, &length)) return false;
  const bool ok = ConvertToOutput(spec.format, spec.channels, spec.freq, data, length, out);
  SDL_FreeWAV(data);
  return ok;
}

struct OggSource {
  const std::vector<uint8_t>* file;
  size_t pos;
};

size_t OggRead(void* dest, size_t size, size_t count, void* handle) {
  auto* src = static_cast<OggSource*>(handle);
  if (size == 0 || src->pos >= src->file->size()) return 0;
  const size_t items = std::min(count, (src->file->size() - src->pos) / size);
  std::memcpy(dest, src->file->data() + src->pos, items * size);
  src->pos += items * size;
  return items;
}

int OggSeek(void* handle, ogg_int64_t offset, int whence) {
  auto* src = static_cast<OggSource*>(handle);
  const int64_t size = static_cast<int64_t>(src->file->size());
  int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<int64_t>(src->pos);
  if (whence == SEEK_END) base = size;
  const int64_t target = base + offset;
  if (target < 0 || target > size) return -1;
  src->pos = static_cast<size_t>(target);
  return 0;
}

long OggTell(void* handle) { return static_cast<long>(static_cast<OggSource*>(handle)->pos); }

bool DecodeOgg(const std::vector<uint8_t>& file, std::vector<int16_t>& out) {
  OggSource source{&file, 0};
  OggVorbis_File vorbis;
  const ov_callbacks callbacks{OggRead, OggSeek, nullptr, OggTell};
  if (ov_open_callbacks(&source, &vorbis, nullptr, 0, callbacks) != 0) return false;
  const vorbis_info* info = ov_info(&vorbis, -1);
  bool ok = info != nullptr;
  const int channels = ok ? info->channels : 0;
  const long rate = ok ? info->rate : 0;
  std::vector<uint8_t> pcm;
  char chunk[8192];
  while (ok) {
    int link = 0;
    const long got = ov_read(&vorbis, chunk, sizeof chunk, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &link);
    if (got == 0) break;
    if (got == OV_HOLE) continue;  // a gap in the stream; the data after it still plays
    if (got < 0) {
      ok = false;
      break;
    }
    const vorbis_info* now = ov_info(&vorbis, link);
    // Chained streams that change format mid-way are not something our content makes.
    if (!now || now->channels != channels || now->rate != rate || pcm.size() + got > kMaxSamples * 2) {
      ok = false;
      break;
    }
    pcm.insert(pcm.end(), chunk, chunk + got);
  }
  ov_clear(&vorbis);
  return ok && ConvertToOutput(AUDIO_S16SYS, channels, static_cast<int>(rate), pcm.data(), pcm.size(), out);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream file(ResolvePath(path), std::ios::binary);
  if (!file) return false;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size <= 0 || size > kMaxSoundFileBytes) return false;
  file.seekg(0);
  bytes.resize(static_cast<size_t>(size));
  return static_cast<bool>(file.read(reinterpret_cast<char*>(bytes.data()), size));
}

}  // namespace

bool StartSound() {
  if (device) return true;
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = kSoundRate;
  want.format = AUDIO_S16SYS;
  want.channels = kSoundChannels;
  want.samples = 1024;
  want.callback = AudioCallback;
  SDL_AudioSpec have;
  device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!device) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device, 0);
  return true;
}

int32_t LoadSoundFile(int32_t id, const std::string& path) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, file)) return 0;
  Sound sound;
  const bool ogg = file.size() >= 4 && std::memcmp(file.data(), "OggS", 4) == 0;
  const bool wav = file.size() >= 12 && std::memcmp(file.data(), "RIFF", 4) == 0 && std::memcmp(file.data() + 8, "WAVE", 4) == 0;
  if (!(ogg ? DecodeOgg(file, sound.samples) : wav && DecodeWav(file, sound.samples))) return 0;
  std::lock_guard<std::mutex> lock(mixerLock);
  return sounds.Add(id, std::move(sound));
}

bool SoundExists(int32_t sound) {
  std::lock_guard<std::mutex> lock(mixerLock);
  return sounds.Find(sound) != nullptr;
}

void PlaySoundFrom(int32_t sound, int32_t flags) {
  std::lock_guard<std::mutex> lock(mixerLock);
  Sound* found = sounds.Find(sound);
  if (!found) return;
  found->position = 0;
  found->playing = true;
  found->looping = (flags & 1) != 0;
  found->starts++;
}

void StopSoundNow(int32_t sound) {
  std::lock_guard<std::mutex> lock(mixerLock);
  Sound* found = sounds.Find(sound);
  if (!found) return;
  found->playing = false;
  found->position = 0;
}

void FreeSound(int32_t sound) {
  std::lock_guard<std::mutex> lock(mixerLock);
  sounds.Remove(sound);
}

bool SoundPlaying(int32_t sound) {
  std::lock_guard<std::mutex> lock(mixerLock);
  const Sound* found = sounds.Find(sound);
  return found && found->playing;
}

int32_t SoundStartCount(int32_t sound) {
  std::lock_guard<std::mutex> lock(mixerLock);
  const Sound* found = sounds.Find(sound);
  return found ? found->starts : 0;
}

int32_t SoundFrames(int32_t sound) {
  std::lock_guard<std::mutex> lock(mixerLock);
  const Sound* found = sounds.Find(sound);
  return found ? static_cast<int32_t>(found->samples.size() / kSoundChannels) : 0;
}

void MixSound(int16_t* out, int32_t frames) {
  std::lock_guard<std::mutex> lock(mixerLock);
  constexpr int32_t kChunk = 512;
  int32_t sum[kChunk * kSoundChannels];
  for (int32_t done = 0; done < frames; done += kChunk) {
    const int32_t count = std::min(kChunk, frames - done);
    std::fill(sum, sum + count * kSoundChannels, 0);
    for (auto& [id, sound] : sounds.All()) {
      const size_t length = sound.samples.size() / kSoundChannels;
      for (int32_t i = 0; i < count && sound.playing; i++) {
        if (sound.position >= length) {
          if (!sound.looping || length == 0) {
            sound.playing = false;
            sound.position = 0;
            break;
          }
          sound.position = 0;
        }
        for (int c = 0; c < kSoundChannels; c++) sum[i * kSoundChannels + c] += sound.samples[sound.position * kSoundChannels + c];
        sound.position++;
      }
      // A sound that has just played its last frame is finished, not waiting for the next chunk.
      if (sound.playing && !sound.looping && sound.position >= length) {
        sound.playing = false;
        sound.position = 0;
      }
    }
    int16_t* dest = out + static_cast<size_t>(done) * kSoundChannels;
    for (int32_t i = 0; i < count * kSoundChannels; i++) dest[i] = static_cast<int16_t>(std::clamp(sum[i], -32768, 32767));
  }
}

void RegisterDecoders() { decodersRegistered = true; }

void EndSound() {
  if (device) SDL_CloseAudioDevice(device);
  device = 0;
  {
    std::lock_guard<std::mutex> lock(mixerLock);
    sounds.Clear();
  }
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
