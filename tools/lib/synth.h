// A small chiptune synthesizer: square, triangle, saw, sine and noise voices with envelopes,
// pitch slides and vibrato, rendered note by note into a mono buffer.
//
// Every note starts its oscillator at phase zero and its noise generator from its own seed, so
// a note's samples depend only on the note itself. Rendering into a loop buffer wraps whatever
// rings past the end back to the start, which makes a rendered loop exactly periodic: played
// over and over it has no seam, no click and no phase jump.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

constexpr int kSampleRate = 44100;

enum class Wave { Square, Triangle, Saw, Sine, Noise };

struct Envelope {
  float attack = 0.005f;   // seconds to full level
  float decay = 0.1f;      // seconds from full level down to the sustain level
  float sustain = 0.7f;    // level held while the note is on
  float release = 0.05f;   // seconds to silence after the note ends
};

struct Voice {
  Wave wave = Wave::Square;
  float duty = 0.5f;          // square waves: fraction of the period that is high
  float volume = 0.3f;
  Envelope envelope;
  float vibratoDepth = 0;     // semitones
  float vibratoRate = 5.5f;   // per second
  float vibratoDelay = 0.15f; // seconds before vibrato starts
  float slide = 0;            // semitones per second, added over the note's life
  float dropDepth = 0;        // semitones of a quick initial pitch drop (drums)
  float dropTime = 0.05f;     // seconds the drop takes
  bool metallic = false;      // noise: short 93-step sequence instead of the long one
};

struct Note {
  double start = 0;   // seconds
  double length = 0;  // seconds the note is held (release follows)
  float pitch = 60;   // MIDI note number (noise: sets the noise clock)
  float velocity = 1;
};

float MidiToHz(float pitch);
// Number of samples a duration covers.
size_t Samples(double seconds);

// Level of an envelope at a time since note-on, for a note held for length seconds.
float EnvelopeLevel(const Envelope& e, double t, double length);

// Adds one note into the buffer starting at its start time. With wrap, samples past the end
// continue at the start (for loops); without, they are dropped.
void RenderNote(std::vector<float>& buffer, const Voice& voice, const Note& note, uint32_t seed, bool wrap);

// One-pole low-pass filter applied around a loop: the filter runs over the buffer twice and
// keeps the second pass, so its state at the start is the state the end leaves behind.
void LowPassLoop(std::vector<float>& buffer, float cutoffHz);
// Plain one-pole low-pass and high-pass filters for one-shot sounds.
void LowPass(std::vector<float>& buffer, float cutoffHz);
void HighPass(std::vector<float>& buffer, float cutoffHz);
// Echo taps wrapped around the loop: out[i] = in[i] + sum feedback^k * in[i - k*delay].
std::vector<float> EchoLoop(const std::vector<float>& in, size_t delay, float feedback, int taps);

// Scales the buffer so its largest magnitude is peak (a silent buffer stays silent).
void Normalize(std::vector<float>& buffer, float peak);
// Gentle saturation so summed voices never clip hard.
void SoftClip(std::vector<float>& buffer);
// Takes the buffer's mean off every sample: a loop stays seamless and has no DC offset.
void RemoveOffset(std::vector<float>& buffer);
// Short fades at both ends of a one-shot sound so it starts and stops without a click.
void FadeEnds(std::vector<float>& buffer, double fadeIn, double fadeOut);

}  // namespace gen
