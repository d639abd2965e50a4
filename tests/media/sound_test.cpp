// Sound loading and the mixer, driven directly (no output device is opened).
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "support/sample_files.h"
#include "media/probes.h"
#include "media/sound.h"
#include "support/temp_dir.h"

namespace {

class Sounds : public ::testing::Test {
 protected:
  // A WAV already in the output format, so its samples reach the mixer unchanged.
  int32_t Constant(int frames, int16_t left, int16_t right) {
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; i++) samples.insert(samples.end(), {left, right});
    return LoadSoundFile(-1, dir.Write("c" + std::to_string(next++) + ".wav", AsString(MakeWav(2, kSoundRate, 16, Pcm16(samples)))));
  }

  std::vector<int16_t> Mix(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * kSoundChannels, 12345);
    MixSound(out.data(), frames);
    return out;
  }

  TempDir dir;
  int next = 0;
};

// Every sample in [from, to) of a mix (counted in frames) equals the left/right pair.
void ExpectFrames(const std::vector<int16_t>& mix, int from, int to, int16_t left, int16_t right) {
  for (int i = from; i < to; i++) {
    ASSERT_EQ(mix[i * 2], left) << "frame " << i;
    ASSERT_EQ(mix[i * 2 + 1], right) << "frame " << i;
  }
}

TEST_F(Sounds, PlayingAgainRestartsTheOneVoiceInsteadOfAddingACopy) {
  const int32_t s = Constant(100, 1000, -1000);
  ASSERT_GT(s, 0);
  EXPECT_EQ(SoundFrames(s), 100);
  EXPECT_FALSE(SoundPlaying(s));
  ExpectFrames(Mix(10), 0, 10, 0, 0);  // silence while nothing plays

  PlaySoundFrom(s, 0);
  ExpectFrames(Mix(40), 0, 40, 1000, -1000);
  PlaySoundFrom(s, 0);  // restart from the beginning: 100 more frames, never 2000
  const std::vector<int16_t> mix = Mix(130);
  ExpectFrames(mix, 0, 100, 1000, -1000);
  ExpectFrames(mix, 100, 130, 0, 0);
  EXPECT_FALSE(SoundPlaying(s)) << "finished at its end";
  EXPECT_EQ(SoundStartCount(s), 2);
}

TEST_F(Sounds, LoopingPlaysUntilStoppedAndStopSilencesAtOnce) {
  const int32_t s = Constant(30, 200, 300);
  PlaySoundFrom(s, 1);
  ExpectFrames(Mix(1000), 0, 1000, 200, 300);
  EXPECT_TRUE(SoundPlaying(s));
  StopSoundNow(s);
  EXPECT_FALSE(SoundPlaying(s));
  ExpectFrames(Mix(50), 0, 50, 0, 0);
  PlaySoundFrom(s, 0);  // a later single play no longer loops
  ExpectFrames(Mix(40), 0, 30, 200, 300);
  EXPECT_FALSE(SoundPlaying(s));
}

// Below the limiter's ceiling the mix is the plain sum of the voices; a louder sum is turned
// down as a whole (the wave keeps its shape and both sides their ratio), held down for a moment,
// and given back in full once the loud part is over.
TEST_F(Sounds, VoicesAreSummedAndALouderSumIsTurnedDownNeverCut) {
  struct Case {
    const char* name;
    std::vector<std::pair<int16_t, int16_t>> voices;  // constant left/right of each voice
  };
  const Case cases[] = {
      {"three voices just under the ceiling", {{20000, -20000}, {6000, -6000}, {849, -849}}},
      {"three full-scale voices", {{32767, -32768}, {32767, -32768}, {32767, -32768}}},
      {"two loud voices, one side half the other", {{30000, 15000}, {30000, 15000}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndSound();
    int32_t left = 0, right = 0;
    for (const auto& [l, r] : c.voices) {
      PlaySoundFrom(Constant(2000, l, r), 0);
      left += l, right += r;
    }
    const int32_t quiet = Constant(kSoundRate * 2, 1000, -500);
    PlaySoundFrom(quiet, 0);
    left += 1000, right -= 500;
    const std::vector<int16_t> mix = Mix(kSoundRate * 2);
    if (std::max(std::abs(left), std::abs(right)) <= kLimiterCeiling) {
      ExpectFrames(mix, 0, 2000, static_cast<int16_t>(left), static_cast<int16_t>(right));
    } else {
      for (int i = 0; i < 2000; i++) {
        ASSERT_LE(std::max(std::abs(mix[i * 2]), std::abs(mix[i * 2 + 1])), kLimiterCeiling) << "frame " << i;
        ASSERT_NEAR(static_cast<double>(mix[i * 2]) / left, static_cast<double>(mix[i * 2 + 1]) / right, 0.001)
            << "both sides turned down alike, frame " << i;
      }
      EXPECT_EQ(mix[0], mix[1999 * 2]) << "a steady sum is held at one gain";
      // Just after the loud part the quiet voice is still turned down, then rises smoothly.
      EXPECT_LT(mix[2100 * 2], 1000);
      for (int i = 2001; i < kSoundRate; i++) ASSERT_LE(std::abs(mix[i * 2] - mix[i * 2 - 2]), 2) << "frame " << i;
    }
    ExpectFrames(mix, kSoundRate * 3 / 2, kSoundRate * 2, 1000, -500);
  }
}

// The limiter on waves: full-scale sines summed come out as the same sine, scaled, with no flat
// tops; one just under the ceiling comes out exactly.
TEST_F(Sounds, TheLimiterScalesALoudWaveAndLeavesAQuietOneAlone) {
  auto sine = [this](double amplitude) {
    std::vector<int16_t> samples;
    for (int i = 0; i < kSoundRate / 2; i++) {
      const auto v = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * 441.0 * i / kSoundRate)));
      samples.insert(samples.end(), {v, v});
    }
    return std::make_pair(samples, LoadSoundFile(-1, dir.Write("s" + std::to_string(next++) + ".wav",
                                                              AsString(MakeWav(2, kSoundRate, 16, Pcm16(samples))))));
  };
  const auto [quietWave, quiet] = sine(kLimiterCeiling - 1);
  PlaySoundFrom(quiet, 0);
  EXPECT_EQ(Mix(kSoundRate / 2), quietWave);

  const auto [loudWave, loud] = sine(32767);
  PlaySoundFrom(loud, 0);
  const int32_t second = sine(32767).second;
  PlaySoundFrom(second, 0);
  const std::vector<int16_t> mix = Mix(kSoundRate / 2);
  int peak = 0;
  for (size_t i = 0; i < mix.size(); i++) peak = std::max(peak, std::abs(static_cast<int>(mix[i])));
  EXPECT_LE(peak, kLimiterCeiling);
  EXPECT_GT(peak, kLimiterCeiling - 10);
  const double gain = static_cast<double>(kLimiterCeiling) / (2 * 32767.0);
  for (size_t i = 200; i < mix.size(); i++)
    ASSERT_NEAR(mix[i], 2 * loudWave[i] * gain, 2.0) << "sample " << i << " is the wave scaled";
}

// Music and effects are turned up and down apart, gliding over a few milliseconds; muting
// silences both and keeps the volumes; back at 100 the mix is the plain sum again.
TEST_F(Sounds, VolumesScaleTheirOwnVoicesAndMutingSilencesBoth) {
  std::vector<int16_t> samples;
  for (int i = 0; i < kSoundRate * 4; i++) samples.insert(samples.end(), {8000, -8000});
  const int32_t music = OpenSoundStream(-1, dir.Write("music.wav", AsString(MakeWav(2, kSoundRate, 16, Pcm16(samples)))));
  const int32_t effect = Constant(kSoundRate * 4, 4000, 4000);
  PlaySoundFrom(music, 1);
  PlaySoundFrom(effect, 1);
  struct Step {
    int32_t musicVolume, effectsVolume;
    bool muted;
    int16_t left, right;  // once the glide is over
    bool musicHeld = false;  // as while the window is minimised
  };
  const Step steps[] = {
      {100, 100, false, 12000, -4000}, {50, 100, false, 6000, 2000}, {50, 0, false, 2000, -2000},
      {900, -5, false, 8000, -8000},   {100, 100, true, 0, 0},      {100, 100, false, 12000, -4000},
      {100, 100, false, 4000, 4000, true}, {100, 100, false, 12000, -4000},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << step.musicVolume << "/" << step.effectsVolume << (step.muted ? " muted" : "")
                                    << (step.musicHeld ? " music held" : ""));
    const int16_t before = Mix(1)[0];
    SetMusicVolume(step.musicVolume);
    SetEffectsVolume(step.effectsVolume);
    SetSoundMuted(step.muted);
    HoldMusic(step.musicHeld);
    EXPECT_EQ(MusicVolume(), std::clamp(step.musicVolume, 0, 100));
    EXPECT_EQ(EffectsVolume(), std::clamp(step.effectsVolume, 0, 100));
    EXPECT_EQ(SoundMuted(), step.muted);
    const std::vector<int16_t> glide = Mix(600);
    int jump = std::abs(glide[0] - before);
    for (int i = 1; i < 600; i++) jump = std::max(jump, std::abs(glide[i * 2] - glide[i * 2 - 2]));
    EXPECT_LT(jump, 50) << "no step of the left side jumps";
    ExpectFrames(Mix(1000), 0, 1000, step.left, step.right);
  }
  // Voices go on while silent: a single play ends in its time, muted or not.
  const int32_t once = Constant(1000, 3000, 3000);
  SetSoundMuted(true);
  PlaySoundFrom(once, 0);
  Mix(1000);
  EXPECT_FALSE(SoundPlaying(once));
  // Held music stands still: a track played once outlasts a hold longer than itself, and ends
  // once let go.
  const int32_t track =
      OpenSoundStream(-1, dir.Write("track.wav", AsString(MakeWav(2, kSoundRate, 16, Pcm16(std::vector<int16_t>(2000, 100))))));
  PlaySoundFrom(track, 0);
  HoldMusic(true);
  Mix(5000);
  EXPECT_TRUE(SoundPlaying(track));
  HoldMusic(false);
  Mix(5000);
  EXPECT_FALSE(SoundPlaying(track));
  EndSound();
  EXPECT_EQ(MusicVolume(), 100);
  EXPECT_EQ(EffectsVolume(), 100);
  EXPECT_FALSE(SoundMuted());
}

TEST_F(Sounds, WithoutMixingASoundStartedOnceStaysPlayingUntilStoppedOrFreed) {
  const int32_t s = Constant(10, 1, 1);
  PlaySoundFrom(s, 0);
  EXPECT_TRUE(SoundPlaying(s));
  EXPECT_EQ(SoundStartCount(s), 1);
  FreeSound(s);
  EXPECT_FALSE(SoundExists(s));
  EXPECT_FALSE(SoundPlaying(s));
  EXPECT_EQ(SoundStartCount(s), 0);
  PlaySoundFrom(s, 0);  // names nothing now
  ExpectFrames(Mix(10), 0, 10, 0, 0);
}

TEST_F(Sounds, WavFilesOfOtherFormatsAreConvertedToTheOutputFormat) {
  struct Case {
    const char* name;
    int channels, rate, bits;
    Bytes data;
    int frames;            // after conversion, within 1%
    int16_t middleLeft;    // a frame from the middle, within 2%
    int16_t middleRight;
  };
  const Case cases[] = {
      {"8-bit mono at 11025 Hz", 1, 11025, 8, Bytes(1000, 0xC0), 4000, 16384, 16384},
      {"16-bit mono at 22050 Hz", 1, 22050, 16, Pcm16(std::vector<int16_t>(2000, -8000)), 4000, -8000, -8000},
      {"16-bit stereo at 48000 Hz", 2, 48000, 16, Pcm16([] {
         std::vector<int16_t> v;
         for (int i = 0; i < 4800; i++) v.insert(v.end(), {4000, -4000});
         return v;
       }()),
       4410, 4000, -4000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t s = LoadSoundFile(-1, dir.Write("x.wav", AsString(MakeWav(c.channels, c.rate, c.bits, c.data))));
    ASSERT_GT(s, 0);
    EXPECT_NEAR(SoundFrames(s), c.frames, c.frames / 100);
    PlaySoundFrom(s, 0);
    const std::vector<int16_t> mix = Mix(SoundFrames(s));
    const int middle = SoundFrames(s) / 2;
    EXPECT_NEAR(mix[middle * 2], c.middleLeft, std::abs(c.middleLeft) / 50);
    EXPECT_NEAR(mix[middle * 2 + 1], c.middleRight, std::abs(c.middleRight) / 50);
    FreeSound(s);
  }
}

TEST_F(Sounds, OggVorbisDecodesWholeAndResampled) {
  const int32_t s = LoadSoundFile(-1, dir.Write("Sfx/Tone.OGG", AsString(EncodeOggSine(1, 22050, 0.5, 441.0, 0.5))));
  ASSERT_GT(s, 0);
  EXPECT_NEAR(SoundFrames(s), kSoundRate / 2, 200);
  // Found by backslashes and another letter case too.
  EXPECT_GT(LoadSoundFile(-1, dir.Path() + "\\SFX\\tone.ogg"), 0);
  PlaySoundFrom(s, 0);
  const std::vector<int16_t> mix = Mix(SoundFrames(s));
  double power = 0;
  int peak = 0;
  for (int i = 0; i < SoundFrames(s); i++) {
    ASSERT_EQ(mix[i * 2], mix[i * 2 + 1]) << "mono plays on both sides";
    power += static_cast<double>(mix[i * 2]) * mix[i * 2];
    peak = std::max(peak, std::abs(static_cast<int>(mix[i * 2])));
  }
  const double rms = std::sqrt(power / SoundFrames(s));
  EXPECT_NEAR(rms, 0.5 * 32767 / std::sqrt(2.0), 1500);  // a sine of amplitude 0.5
  EXPECT_NEAR(peak, 16384, 2000);
}

// Music is decoded as it plays: the mixer hears what the whole decode holds, from the start
// at every play, around again when looping, and the voice ends at the end of a single play.
TEST_F(Sounds, AStreamedOggPlaysWhatTheWholeDecodeHolds) {
  const std::string path = dir.Write("music.ogg", AsString(EncodeOggSine(2, kSoundRate, 0.3, 300, 0.3)));
  const int32_t whole = LoadSoundFile(-1, path);
  const int32_t streamed = OpenSoundStream(-1, path);
  ASSERT_GT(whole, 0);
  ASSERT_GT(streamed, 0);
  const int frames = SoundFrames(whole);
  EXPECT_EQ(SoundFrames(streamed), frames);

  PlaySoundFrom(whole, 0);
  const std::vector<int16_t> expected = Mix(frames + 600);
  PlaySoundFrom(streamed, 0);
  EXPECT_EQ(Mix(frames + 600), expected);
  EXPECT_FALSE(SoundPlaying(streamed)) << "finished at its end";

  PlaySoundFrom(streamed, 1);
  const std::vector<int16_t> looped = Mix(2 * frames + 100);
  EXPECT_TRUE(SoundPlaying(streamed));
  for (int i = 0; i < frames; i++) {
    ASSERT_EQ(looped[i * 2], expected[i * 2]) << "first pass, frame " << i;
    ASSERT_EQ(looped[(frames + i) * 2], expected[i * 2]) << "second pass, frame " << i;
  }
  PlaySoundFrom(streamed, 0);  // restarted mid-way: from the beginning again
  const std::vector<int16_t> again = Mix(700);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), expected.begin()));
  EXPECT_EQ(SoundStartCount(streamed), 3);

  // Another rate and channel count is converted as it streams, and lasts as long.
  const int32_t mono = OpenSoundStream(-1, dir.Write("mono.ogg", AsString(EncodeOggSine(1, 22050, 0.5, 441.0, 0.5))));
  ASSERT_GT(mono, 0);
  EXPECT_NEAR(SoundFrames(mono), kSoundRate / 2, 200);
  StopSoundNow(streamed);
  PlaySoundFrom(mono, 0);
  const std::vector<int16_t> mix = Mix(kSoundRate / 2 + 2000);
  EXPECT_FALSE(SoundPlaying(mono));
  int last = 0;
  for (int i = 0; i < kSoundRate / 2 + 2000; i++)
    if (mix[i * 2] != 0) last = i;
  EXPECT_NEAR(last, kSoundRate / 2, 400);
  // A WAV is decoded whole, as LoadSoundFile does.
  EXPECT_GT(OpenSoundStream(-1, dir.Write("c.wav", AsString(MakeWav(1, 22050, 16, Pcm16(std::vector<int16_t>(100, 5)))))), 0);
}

TEST_F(Sounds, BrokenAndMissingFilesGiveZero) {
  const Bytes wav = MakeWav(1, 22050, 16, Pcm16(std::vector<int16_t>(100, 5)));
  const Bytes ogg = EncodeOggSine(2, 44100, 0.2, 300, 0.3);
  Bytes hugeWav = wav;
  hugeWav[40] = hugeWav[41] = hugeWav[42] = hugeWav[43] = 0xFF;  // data chunk claims 4 GB
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"WAV header cut", Bytes(wav.begin(), wav.begin() + 30)},
      {"WAV without samples", Bytes(wav.begin(), wav.begin() + 44)},
      {"OGG headers cut", Bytes(ogg.begin(), ogg.begin() + 100)},
      {"OGG pages garbled", [&] {
         Bytes b = ogg;
         for (size_t i = 60; i < b.size(); i += 7) b[i] ^= 0xA5;
         return b;
       }()},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(LoadSoundFile(-1, dir.Write("bad", AsString(bytes))), 0);
    EXPECT_EQ(OpenSoundStream(-1, dir.Write("bad", AsString(bytes))), 0);
  }
  // A data chunk that claims more than the file holds is read as far as it goes.
  const int32_t huge = LoadSoundFile(-1, dir.Write("huge.wav", AsString(hugeWav)));
  EXPECT_NEAR(SoundFrames(huge), 200, 2);
  EXPECT_EQ(LoadSoundFile(-1, dir / "missing.ogg"), 0);
  EXPECT_FALSE(SoundExists(99));
  StopSoundNow(99);
  FreeSound(99);
}

// The largest single allocation SDL is asked for while a test watches it.
size_t largestSdlRequest = 0;
SDL_malloc_func sdlMalloc;
SDL_calloc_func sdlCalloc;
SDL_realloc_func sdlRealloc;
SDL_free_func sdlFree;

void* WatchedMalloc(size_t size) {
  largestSdlRequest = std::max(largestSdlRequest, size);
  return sdlMalloc(size);
}
void* WatchedCalloc(size_t count, size_t size) {
  largestSdlRequest = std::max(largestSdlRequest, count * size);
  return sdlCalloc(count, size);
}
void* WatchedRealloc(void* old, size_t size) {
  largestSdlRequest = std::max(largestSdlRequest, size);
  return sdlRealloc(old, size);
}

// Sizes are checked against the file and the 30-minute limit before anything is allocated:
// neither SDL nor the conversion may ask for memory that the file cannot fill, and a sound
// that cannot load says so on one line.
TEST_F(Sounds, HostileSizesAreRefusedBeforeTheirMemoryIsAskedFor) {
  Bytes claimsGigabytes = MakeWav(1, 22050, 16, {});
  const uint32_t claimed = 2900000000u;
  for (int i = 0; i < 4; i++) claimsGigabytes[40 + i] = static_cast<uint8_t>(claimed >> (8 * i));
  struct Case {
    const char* name;
    Bytes bytes;
    int frames;  // 0: refused
  };
  const Case cases[] = {
      {"a 44-byte WAV whose data chunk claims 2.9 GB", claimsGigabytes, 0},
      {"an 8-bit mono WAV of 33 minutes at 1000 Hz", MakeWav(1, 1000, 8, Bytes(1000 * 60 * 33, 0x80)), 0},
      {"an OGG of 40 minutes of silence at 1000 Hz", EncodeOggSine(1, 1000, 60 * 40, 100, 0.0), 0},
      {"an 8-bit mono WAV of 10 seconds at 1000 Hz", MakeWav(1, 1000, 8, Bytes(10000, 0x90)), kSoundRate * 10},
      {"an OGG of 2 seconds at 1000 Hz", EncodeOggSine(1, 1000, 2, 100, 0.5), kSoundRate * 2},
  };
  SDL_GetMemoryFunctions(&sdlMalloc, &sdlCalloc, &sdlRealloc, &sdlFree);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.Write(std::string("s") + std::to_string(next++) + ".snd", AsString(c.bytes));
    const long peakBefore = PeakResidentKilobytes();
    largestSdlRequest = 0;
    SDL_SetMemoryFunctions(WatchedMalloc, WatchedCalloc, WatchedRealloc, sdlFree);
    testing::internal::CaptureStderr();
    const int32_t sound = LoadSoundFile(-1, path);
    const std::string said = testing::internal::GetCapturedStderr();
    SDL_SetMemoryFunctions(sdlMalloc, sdlCalloc, sdlRealloc, sdlFree);
    EXPECT_LT(largestSdlRequest, c.bytes.size() + (1u << 20));
    EXPECT_LT(PeakResidentKilobytes() - peakBefore, 64 * 1024) << "kilobytes more at the peak";
    if (c.frames == 0) {
      EXPECT_EQ(sound, 0);
      EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
      EXPECT_NE(said.find(path), std::string::npos) << said;
    } else {
      EXPECT_NEAR(SoundFrames(sound), c.frames, c.frames / 100);
      EXPECT_EQ(said, "");
    }
    FreeSound(sound);
  }
}

}  // namespace
