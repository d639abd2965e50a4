// Sound output: whole decoded sounds (WAV, OGG) with one voice each, played through our own mixer.
// A machine without audio output runs silent; every operation still works on the handles.
#pragma once

#include <cstdint>
#include <string>

bool StartSound();
// Reads and decodes a whole WAV or OGG file. Result: sound number, 0 if missing or undecodable.
int32_t LoadSoundFile(int32_t id, const std::string& path);
bool SoundExists(int32_t sound);
// flags 0: play once from the beginning (restarting it if playing); 1: the same, looping.
void PlaySoundFrom(int32_t sound, int32_t flags);
void StopSoundNow(int32_t sound);
void FreeSound(int32_t sound);
// True while the sound's voice is playing (tests).
bool SoundPlaying(int32_t sound);
// How many times the sound was started since it was loaded (tests and dumps).
int32_t SoundStartCount(int32_t sound);
// Registers the image and OGG decoders (they are built in; this only marks them available).
void RegisterDecoders();
void EndSound();
