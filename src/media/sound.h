// Sound output: sounds (WAV, OGG) with one voice each, played through our own mixer; effects are
// decoded whole, music may be streamed. The decoders are built in: nothing needs registering.
//
// - Sounds are positive numbers: pass -1 to ask for a new one (a positive number replaces that
//   sound); 0 means none or failed, and an operation on a number that names nothing does nothing.
// - A machine without audio output runs silent; every operation still works on the handles.
// - A voice finishes when the mixer reaches the end of a sound played once. Without an output
//   device nothing mixes, so such a sound stays playing until it is stopped, restarted or freed.
#pragma once

#include <cstdint>
#include <string>

// Every sound is decoded to this output format: 16-bit signed stereo, interleaved.
constexpr int32_t kSoundRate = 44100;
constexpr int32_t kSoundChannels = 2;

// Opens the output device; false (and silence) where there is none.
bool StartSound();
// Reads and decodes a whole WAV or OGG file. Result: sound number, 0 if missing or undecodable.
int32_t LoadSoundFile(int32_t id, const std::string& path);
// The same for music: an OGG file is kept as it is and decoded while it plays, a moment ahead
// of the mixer, so that a long track costs its file's size and not its decoded length. Its
// format is checked now; data broken further on ends the sound there. Other files are
// decoded whole, as LoadSoundFile does.
int32_t OpenSoundStream(int32_t id, const std::string& path);
bool SoundExists(int32_t sound);
// flags 0: play once from the beginning (restarting it if playing); 1: the same, looping.
void PlaySoundFrom(int32_t sound, int32_t flags);
void StopSoundNow(int32_t sound);
// Stops and releases it.
void FreeSound(int32_t sound);
// Volumes, applied by the mixer: sounds opened with OpenSoundStream are music and follow the
// music volume, sounds of LoadSoundFile are effects and follow the effects volume. A volume
// is 0 (silent) to 100 (as the files hold it); others are taken to the nearest end. The level
// follows the square of the volume, so that equal steps sound like equal changes (50 is a
// quarter of the amplitude, -12 dB). Muting silences both and keeps them. A change glides
// over about 12 ms instead of jumping, so it does not click. Voices play on at any volume and
// end when they would. At 100 and unmuted the mix is the plain sum of the voices (but for the
// limiter). StartSound keeps what was set; EndSound puts back 100, 100 and unmuted.
void SetMusicVolume(int32_t volume);
void SetEffectsVolume(int32_t volume);
void SetSoundMuted(bool muted);
int32_t MusicVolume();
int32_t EffectsVolume();
bool SoundMuted();
// While held, music glides to silence and then stands still where it is (effects play on); let
// go, it goes on from there, gliding back up.
// The window holds it while minimised. EndSound lets go.
void HoldMusic(bool held);
bool MusicHeld();
// A file that is there but is refused (not a sound, too long, broken) is said once on stderr,
// unless refusals are made quiet (the data checker words its own).
void SetSoundRefusalsQuiet(bool quiet);
// Closes the output and frees every sound.
void EndSound();
