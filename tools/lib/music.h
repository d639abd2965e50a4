// Chiptune songs composed from a small plan: a key, a tempo, chord progressions for a few
// sections and a form. The composer writes a bass line, an arpeggio, a lead melody built from
// repeated motifs, an optional pad and a drum pattern; the renderer plays them into a loop
// buffer whose length is exactly the song's bars, so the track loops without a seam.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

namespace gen {

enum class Groove { Calm, Drive, Bounce };

struct SongPlan {
  std::string title;
  float bpm = 120;
  int root = 57;                              // MIDI note of the key's tonic (octave 3)
  bool minor = false;
  std::vector<std::vector<int>> progressions; // chord scale degrees, one per bar, per section
  std::string form;                           // sections in order, 'A' = progressions[0], ...
  Groove groove = Groove::Drive;
  uint64_t seed = 1;
  float level = 0.5f;  // the peak of the finished track, set by ear and by its measured loudness
};

struct NoteEvent {
  Voice voice;
  Note note;
  uint32_t seed = 0;  // noise seed of the note
  bool echo = false;  // goes through the echo (lead)
};

struct Song {
  double loopSeconds = 0;
  size_t loopSamples = 0;
  size_t echoDelay = 0;       // samples
  float level = 0.5f;         // the plan's level
  std::vector<NoteEvent> events;
};

double BarSeconds(const SongPlan& plan);
// Writes every note of the song.
Song ComposeSong(const SongPlan& plan);
// Plays the notes into one loop (what rings past the end continues at the start), echo and
// filter applied around the loop, mixed, saturated gently, centred and brought to its level.
std::vector<float> RenderSong(const Song& song);
// Plays only the notes, wrapped into a buffer of the given length (before echo and mixing).
std::vector<float> RenderEvents(const std::vector<NoteEvent>& events, size_t samples, bool wrap);

// The demo's tracks.
SongPlan MenuSong();
SongPlan RunSong();
SongPlan MazeSong();

}  // namespace gen
