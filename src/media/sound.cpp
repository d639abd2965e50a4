// Sounds, one voice each, mixed by us in the audio callback: effects decoded whole, music
// streamed (decoded a moment ahead of the mixer from the file held in memory); the sum is
// levelled per bus and limited in floating point.
#include "media/sound.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "media/files.h"
#include "media/handles.h"
#include "media/internal.h"
#include "media/probes.h"

namespace {

// A sound longer than this is refused; its length is known before anything is decoded.
constexpr int64_t kLongestSoundSeconds = 30 * 60;
constexpr size_t kMaxSamples = size_t{kSoundRate} * kSoundChannels * kLongestSoundSeconds;
constexpr size_t kMaxSoundFileBytes = size_t{256} << 20;

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
  if (offset > size || offset < -size) return -1;
  const int64_t target = base + offset;
  if (target < 0 || target > size) return -1;
  src->pos = static_cast<size_t>(target);
  return 0;
}

long OggTell(void* handle) { return static_cast<long>(static_cast<OggSource*>(handle)->pos); }

// An OGG file played as it is decoded: the file's bytes, the decoder, and SDL's converter to
// the output format. Lives at one address (the decoder reads through `source`).
struct Stream {
  std::vector<uint8_t> file;
  OggSource source{&file, 0};
  OggVorbis_File vorbis{};
  bool opened = false;
  SDL_AudioStream* convert = nullptr;
  int channels = 0;
  long rate = 0;
  int64_t frames = 0;      // the length in output frames, as the stream announces it
  bool drained = false;    // the decoder is at its end and the converter was flushed
  int64_t sinceStart = 0;  // bytes decoded since the stream was last rewound

  Stream() = default;
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  ~Stream() {
    if (opened) ov_clear(&vorbis);
    if (convert) SDL_FreeAudioStream(convert);
  }

  void Rewind() {
    if (ov_pcm_seek(&vorbis, 0) != 0) ov_raw_seek(&vorbis, 0);
    SDL_AudioStreamClear(convert);
    drained = false;
    sinceStart = 0;
  }

  // Decodes the next piece into the converter; at the end, starts again when looping (unless
  // the stream gives nothing at all), else flushes the converter.
  void Feed(bool looping) {
    char chunk[8192];
    int link = 0;
    const long got = ov_read(&vorbis, chunk, sizeof chunk, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &link);
    if (got == OV_HOLE) return;
    const vorbis_info* now = got > 0 ? ov_info(&vorbis, link) : nullptr;
    if (got > 0 && now && now->channels == channels && now->rate == rate) {
      sinceStart += got;
      if (SDL_AudioStreamPut(convert, chunk, static_cast<int>(got)) == 0) return;
    }
    if (got == 0 && looping && sinceStart > 0) {
      if (ov_pcm_seek(&vorbis, 0) == 0 || ov_raw_seek(&vorbis, 0) == 0) {
        sinceStart = 0;
        return;
      }
    }
    // The end, or data we cannot play (a broken page, a change of format): the sound ends here.
    SDL_AudioStreamFlush(convert);
    drained = true;
  }

  // Up to `frames` output frames into `out`; fewer only at the end of a sound played once.
  int32_t Pull(int16_t* out, int32_t frames, bool looping) {
    const int wanted = frames * kSoundChannels * static_cast<int>(sizeof(int16_t));
    int got = 0;
    while (got < wanted) {
      const int n = SDL_AudioStreamGet(convert, reinterpret_cast<uint8_t*>(out) + got, wanted - got);
      if (n < 0) break;
      got += n;
      if (got >= wanted || (drained && SDL_AudioStreamAvailable(convert) == 0)) break;
      if (!drained) Feed(looping);
    }
    return got / (kSoundChannels * static_cast<int>(sizeof(int16_t)));
  }

  bool Finished() const { return drained && SDL_AudioStreamAvailable(convert) == 0; }
};

struct Sound {
  std::vector<int16_t> samples;  // interleaved stereo at the output rate (sounds decoded whole)
  std::unique_ptr<Stream> stream;  // instead, a stream decoded as it plays
  size_t position = 0;           // next frame to play
  bool playing = false;
  bool looping = false;
  bool music = false;            // opened as music: follows the music volume
  int32_t starts = 0;
};

std::mutex mixerLock;  // guards sounds against the audio callback
HandleTable<Sound> sounds;
SDL_AudioDeviceID device = 0;
std::set<std::string> reportedSounds;  // files already said to be unloadable
bool refusalsQuiet = false;             // keep refusals off stderr

void AudioCallback(void*, Uint8* stream, int length) {
  MixSound(reinterpret_cast<int16_t*>(stream), length / static_cast<int>(sizeof(int16_t) * kSoundChannels));
}

// Why a sound was not loaded, for the one line that says so.
struct Refusal {
  const char* why = nullptr;
};
constexpr const char* kTooLong = "it lasts longer than 30 minutes";
constexpr const char* kBroken = "its data is broken or of a kind we do not play";

bool LongerThanAllowed(int64_t frames, int64_t rate) { return rate < 1 || frames > rate * kLongestSoundSeconds; }

// Converts raw samples of any SDL format, channel count and rate to the output format. The
// length is checked first: nothing is allocated for a sound over the limit.
bool ConvertToOutput(SDL_AudioFormat format, int channels, int rate, const uint8_t* data, size_t length,
                     std::vector<int16_t>& out, Refusal& refusal) {
  refusal.why = kBroken;
  if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000) return false;
  const size_t frameBytes = static_cast<size_t>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
  if (frameBytes == 0) return false;
  length -= length % frameBytes;
  if (length == 0) return false;
  if (LongerThanAllowed(static_cast<int64_t>(length / frameBytes), rate)) {
    refusal.why = kTooLong;
    return false;
  }
  if (length > static_cast<size_t>(INT_MAX / 16)) return false;
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
  if (samples < kSoundChannels || samples > kMaxSamples + kSoundRate * kSoundChannels) return false;
  out.resize(samples - samples % kSoundChannels);
  std::memcpy(out.data(), buffer.data(), out.size() * sizeof(int16_t));
  return true;
}

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Checks a WAV file's chunks against the file before SDL reads it: every chunk that claims more
// bytes than follow it is cut to what is there, so no claimed size is ever allocated, and the
// sound's length is worked out from its format and data sizes. False when it cannot be a sound
// or lasts too long.
bool CheckWav(std::vector<uint8_t>& file, Refusal& refusal) {
  refusal.why = kBroken;
  const size_t size = file.size();
  if (size < 12) return false;
  PutLe32(&file[4], static_cast<uint32_t>(std::min<size_t>(size - 8, UINT32_MAX)));
  int channels = 0, rate = 0, blockAlign = 0, formatTag = 0;
  uint64_t dataBytes = 0;
  for (size_t pos = 12; pos + 8 <= size;) {
    const size_t available = size - pos - 8;
    size_t length = Le32(&file[pos + 4]);
    if (length > available) {
      length = available;
      PutLe32(&file[pos + 4], static_cast<uint32_t>(length));
    }
    const uint8_t* body = &file[pos + 8];
    if (std::memcmp(&file[pos], "fmt ", 4) == 0 && length >= 16) {
      formatTag = Le16(body);
      channels = Le16(body + 2);
      rate = static_cast<int>(Le32(body + 4) & 0x7FFFFFFF);
      blockAlign = Le16(body + 12);
    } else if (std::memcmp(&file[pos], "data", 4) == 0) {
      dataBytes += length;
    }
    pos += 8 + length + (length & 1);
  }
  if (channels < 1 || rate < 1 || blockAlign < 1) return false;
  // Frames the data can hold: compressed formats (ADPCM) hold up to two frames a byte per channel.
  const bool adpcm = formatTag == 2 || formatTag == 0x11;
  const uint64_t frames = adpcm ? dataBytes * 2 / static_cast<uint64_t>(channels) + 8 : dataBytes / blockAlign;
  if (LongerThanAllowed(static_cast<int64_t>(std::min<uint64_t>(frames, INT64_MAX / 2)), rate)) {
    refusal.why = kTooLong;
    return false;
  }
  return true;
}

bool DecodeWav(std::vector<uint8_t>& file, std::vector<int16_t>& out, Refusal& refusal) {
  if (!CheckWav(file, refusal)) return false;
  refusal.why = kBroken;
  SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!source) return false;
  SDL_AudioSpec format;
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(source, 1, &format, &data, &length)) return false;
  const bool ok = ConvertToOutput(format.format, format.channels, format.freq, data, length, out, refusal);
  SDL_FreeWAV(data);
  return ok;
}

bool DecodeOgg(const std::vector<uint8_t>& file, std::vector<int16_t>& out, Refusal& refusal) {
  refusal.why = kBroken;
  OggSource source{&file, 0};
  OggVorbis_File vorbis;
  const ov_callbacks callbacks{OggRead, OggSeek, nullptr, OggTell};
  if (ov_open_callbacks(&source, &vorbis, nullptr, 0, callbacks) != 0) return false;
  const vorbis_info* info = ov_info(&vorbis, -1);
  bool ok = info != nullptr && info->channels > 0;
  const int channels = ok ? info->channels : 0;
  const long rate = ok ? info->rate : 0;
  // The length that the stream's last page announces decides before anything is decoded, and
  // what is decoded is counted as it comes.
  if (ok && LongerThanAllowed(std::max<ogg_int64_t>(ov_pcm_total(&vorbis, -1), 0), rate)) {
    refusal.why = kTooLong;
    ok = false;
  }
  std::vector<uint8_t> pcm;
  char chunk[8192];
  while (ok) {
    int link = 0;
    const long got = ov_read(&vorbis, chunk, sizeof chunk, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &link);
    if (got == 0) break;
    if (got == OV_HOLE) continue;  // a gap in the stream; the data after it still plays
    const vorbis_info* now = got > 0 ? ov_info(&vorbis, link) : nullptr;
    // Chained streams that change format mid-way are not something our content makes.
    if (!now || now->channels != channels || now->rate != rate) {
      ok = false;
      break;
    }
    if (LongerThanAllowed(static_cast<int64_t>((pcm.size() + got) / (2 * channels)), rate)) {
      refusal.why = kTooLong;
      ok = false;
      break;
    }
    pcm.insert(pcm.end(), chunk, chunk + got);
  }
  ov_clear(&vorbis);
  return ok && ConvertToOutput(AUDIO_S16SYS, channels, static_cast<int>(rate), pcm.data(), pcm.size(), out, refusal);
}

// Opens an OGG file for streaming: its headers are read and its format checked now.
std::unique_ptr<Stream> OpenOggStream(std::vector<uint8_t>&& file, Refusal& refusal) {
  refusal.why = kBroken;
  auto stream = std::make_unique<Stream>();
  stream->file = std::move(file);
  const ov_callbacks callbacks{OggRead, OggSeek, nullptr, OggTell};
  if (ov_open_callbacks(&stream->source, &stream->vorbis, nullptr, 0, callbacks) != 0) return nullptr;
  stream->opened = true;
  const vorbis_info* info = ov_info(&stream->vorbis, -1);
  if (!info || info->channels < 1 || info->channels > 8 || info->rate < 1000 || info->rate > 384000) return nullptr;
  stream->channels = info->channels;
  stream->rate = info->rate;
  stream->frames = std::max<ogg_int64_t>(ov_pcm_total(&stream->vorbis, -1), 0) * kSoundRate / info->rate;
  stream->convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(info->channels), static_cast<int>(info->rate),
                                       AUDIO_S16SYS, kSoundChannels, kSoundRate);
  if (!stream->convert) return nullptr;
  return stream;
}

// Says once per file why it was not loaded.
void ReportRefusal(const std::string& path, const char* why) {
  if (refusalsQuiet || !reportedSounds.insert(path).second) return;
  std::fprintf(stderr, "quorvex: the sound %s is not loaded: %s\n", NativePath(path).c_str(), why);
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

namespace {

bool IsOgg(const std::vector<uint8_t>& file) { return file.size() >= 4 && std::memcmp(file.data(), "OggS", 4) == 0; }

// Decodes a whole WAV or OGG file (told by its signature) into the sound.
bool DecodeWhole(std::vector<uint8_t>& file, Sound& sound, Refusal& refusal) {
  const bool wav =
      file.size() >= 12 && std::memcmp(file.data(), "RIFF", 4) == 0 && std::memcmp(file.data() + 8, "WAVE", 4) == 0;
  return IsOgg(file) ? DecodeOgg(file, sound.samples, refusal) : wav && DecodeWav(file, sound.samples, refusal);
}

// Reads a sound file and has `make` turn it into a sound. A missing file is silent; one that is
// there but cannot be read, or that `make` refuses, is said once on stderr.
template <typename Make>
int32_t AddSoundFrom(int32_t id, const std::string& path, Make make) {
  try {
    std::vector<uint8_t> file;
    if (!ReadWholeFile(path, kMaxSoundFileBytes, file)) {
      if (IsRegularFile(path)) ReportRefusal(path, "it is empty, unreadable or larger than 256 MB");
      return 0;
    }
    Sound sound;
    Refusal refusal{"it is neither a WAV nor an OGG sound"};
    if (!make(file, sound, refusal)) {
      ReportRefusal(path, refusal.why);
      return 0;
    }
    std::lock_guard<std::mutex> lock(mixerLock);
    return sounds.Add(id, std::move(sound));
  } catch (const std::bad_alloc&) {
    ReportRefusal(path, "there is not enough memory for it");
    return 0;
  }
}

}  // namespace

int32_t LoadSoundFile(int32_t id, const std::string& path) { return AddSoundFrom(id, path, DecodeWhole); }

int32_t OpenSoundStream(int32_t id, const std::string& path) {
  return AddSoundFrom(id, path, [](std::vector<uint8_t>& file, Sound& sound, Refusal& refusal) {
    sound.music = true;
    if (!IsOgg(file)) return DecodeWhole(file, sound, refusal);
    sound.stream = OpenOggStream(std::move(file), refusal);
    return sound.stream != nullptr;
  });
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
  if (found->stream) found->stream->Rewind();
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
  if (!found) return 0;
  if (found->stream) return static_cast<int32_t>(std::min<int64_t>(found->stream->frames, INT32_MAX));
  return static_cast<int32_t>(found->samples.size() / kSoundChannels);
}
namespace {

constexpr int32_t kChunk = 512;  // frames mixed at a time; a change of volume glides over one

// What the mixer keeps from one call to the next (guarded by mixerLock): the volumes asked
// for, the gains the glide has reached, and the limiter's gain and hold.
struct MixerLevels {
  int32_t musicVolume = 100;
  int32_t effectsVolume = 100;
  bool muted = false;
  bool musicHeld = false;  // music voices stand still
  float musicGain = 1;
  float effectsGain = 1;
  float limiterGain = 1;
  int32_t holdLeft = 0;  // frames the limiter's gain stays down before it is let back up
};
MixerLevels levels;

// The limiter holds a reduction longer than a period of the lowest notes we play, so that it
// does not follow the wave within a period, then lets it back up with a 100 ms time constant.
constexpr int32_t kHoldFrames = kSoundRate / 50;
const float kReleaseStep = static_cast<float>(std::exp(-1.0 / (0.1 * kSoundRate)));

float GainOf(int32_t volume) {
  if (levels.muted) return 0;
  const float v = static_cast<float>(volume) / 100.0f;
  return v * v;
}

// Adds the next `count` frames of one voice into its bus, ending the voice at its end.
void MixVoice(Sound& sound, int32_t* bus, int32_t count) {
  if (!sound.playing) return;
  if (sound.stream) {
    int16_t piece[kChunk * kSoundChannels];
    const int32_t got = sound.stream->Pull(piece, count, sound.looping);
    for (int32_t i = 0; i < got * kSoundChannels; i++) bus[i] += piece[i];
    if (got < count || sound.stream->Finished()) {
      sound.playing = false;
      sound.stream->Rewind();
    }
    return;
  }
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
    for (int c = 0; c < kSoundChannels; c++) bus[i * kSoundChannels + c] += sound.samples[sound.position * kSoundChannels + c];
    sound.position++;
  }
  // A sound that has just played its last frame is finished, not waiting for the next chunk.
  if (sound.playing && !sound.looping && sound.position >= length) {
    sound.playing = false;
    sound.position = 0;
  }
}

// The limiter's gain for a frame whose louder side is `peak`: down at once to what keeps the
// frame at the ceiling; held while frames keep needing it and for kHoldFrames after; then back
// up towards 1 (and exactly 1 once near enough).
float LimiterGain(float peak) {
  const float need = peak > kLimiterCeiling ? kLimiterCeiling / peak : 1.0f;
  float& gain = levels.limiterGain;
  if (need <= gain) {
    gain = need;
    levels.holdLeft = kHoldFrames;
  } else if (levels.holdLeft > 0) {
    levels.holdLeft--;
  } else if (gain < 1) {
    gain = 1 - (1 - gain) * kReleaseStep;
    if (1 - gain < 1e-6f) gain = 1;
    gain = std::min(gain, need);
  }
  return gain;
}

// Sums the two buses at their volumes (gliding from the last chunk's gains to the asked ones)
// and limits the sum into dest.
void LevelAndLimit(const int32_t* music, const int32_t* effects, int32_t count, int16_t* dest) {
  // Held music glides down to silence before it stands still, so that it does not click.
  const float musicFrom = levels.musicGain, musicTo = levels.musicHeld ? 0.0f : GainOf(levels.musicVolume);
  const float effectsFrom = levels.effectsGain, effectsTo = GainOf(levels.effectsVolume);
  for (int32_t i = 0; i < count; i++) {
    const float along = static_cast<float>(i + 1) / static_cast<float>(count);
    const float musicGain = musicFrom + (musicTo - musicFrom) * along;
    const float effectsGain = effectsFrom + (effectsTo - effectsFrom) * along;
    float frame[kSoundChannels];
    float peak = 0;
    for (int c = 0; c < kSoundChannels; c++) {
      const int32_t at = i * kSoundChannels + c;
      frame[c] = static_cast<float>(music[at]) * musicGain + static_cast<float>(effects[at]) * effectsGain;
      peak = std::max(peak, std::fabs(frame[c]));
    }
    const float gain = LimiterGain(peak);
    for (int c = 0; c < kSoundChannels; c++)
      dest[i * kSoundChannels + c] = static_cast<int16_t>(std::clamp(std::lrint(frame[c] * gain), -32768L, 32767L));
  }
  levels.musicGain = musicTo;
  levels.effectsGain = effectsTo;
}

}  // namespace

void MixSound(int16_t* out, int32_t frames) {
  std::lock_guard<std::mutex> lock(mixerLock);
  int32_t music[kChunk * kSoundChannels];
  int32_t effects[kChunk * kSoundChannels];
  for (int32_t done = 0; done < frames; done += kChunk) {
    const int32_t count = std::min(kChunk, frames - done);
    std::fill(music, music + count * kSoundChannels, 0);
    std::fill(effects, effects + count * kSoundChannels, 0);
    const bool musicStill = levels.musicHeld && levels.musicGain == 0.0f;
    sounds.ForEach([&](int32_t, Sound& sound) {
      if (!sound.music || !musicStill) MixVoice(sound, sound.music ? music : effects, count);
    });
    LevelAndLimit(music, effects, count, out + static_cast<size_t>(done) * kSoundChannels);
  }
}

void SetMusicVolume(int32_t volume) {
  std::lock_guard<std::mutex> lock(mixerLock);
  levels.musicVolume = std::clamp(volume, 0, 100);
}

void SetEffectsVolume(int32_t volume) {
  std::lock_guard<std::mutex> lock(mixerLock);
  levels.effectsVolume = std::clamp(volume, 0, 100);
}

void SetSoundMuted(bool muted) {
  std::lock_guard<std::mutex> lock(mixerLock);
  levels.muted = muted;
}

int32_t MusicVolume() {
  std::lock_guard<std::mutex> lock(mixerLock);
  return levels.musicVolume;
}

int32_t EffectsVolume() {
  std::lock_guard<std::mutex> lock(mixerLock);
  return levels.effectsVolume;
}

bool SoundMuted() {
  std::lock_guard<std::mutex> lock(mixerLock);
  return levels.muted;
}

void HoldMusic(bool held) {
  std::lock_guard<std::mutex> lock(mixerLock);
  levels.musicHeld = held;
}

bool MusicHeld() {
  std::lock_guard<std::mutex> lock(mixerLock);
  return levels.musicHeld;
}

void SetSoundRefusalsQuiet(bool quiet) { refusalsQuiet = quiet; }

void EndSound() {
  if (device) SDL_CloseAudioDevice(device);
  device = 0;
  {
    std::lock_guard<std::mutex> lock(mixerLock);
    sounds.Clear();
    levels = MixerLevels{};
  }
  reportedSounds.clear();
  refusalsQuiet = false;
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
