#include "synth.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Band-limited step correction for square and saw waves (polyBLEP).
double Blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

float MidiToHz(float pitch) { return 440.0f * std::pow(2.0f, (pitch - 69.0f) / 12.0f); }

size_t Samples(double seconds) { return static_cast<size_t>(std::llround(seconds * kSampleRate)); }

float EnvelopeLevel(const Envelope& e, double t, double length) {
  auto held = [&e](double u) -> double {
    if (u < e.attack) return e.attack > 0 ? u / e.attack : 1.0;
    u -= e.attack;
    if (u < e.decay) return 1.0 - (1.0 - e.sustain) * (u / e.decay);
    return e.sustain;
  };
  if (t < 0) return 0;
  if (t < length) return static_cast<float>(held(t));
  const double r = t - length;
  if (r >= e.release) return 0;
  return static_cast<float>(held(length) * (1.0 - r / e.release));
}

void RenderNote(std::vector<float>& buffer, const Voice& voice, const Note& note, uint32_t seed, bool wrap) {
  if (buffer.empty()) return;
  const size_t first = Samples(note.start);
  const size_t count = Samples(note.length + voice.envelope.release);
  double phase = 0;
  uint32_t lfsr = (seed * 2654435761u) | 1u;
  float noiseValue = 1;
  double noisePhase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float level = EnvelopeLevel(voice.envelope, t, note.length);
    if (level <= 0 && t > note.length) break;
    double pitch = note.pitch + voice.slide * t;
    if (voice.dropDepth != 0) pitch += voice.dropDepth * std::exp(-t / voice.dropTime);
    if (voice.vibratoDepth > 0 && t > voice.vibratoDelay)
      pitch += voice.vibratoDepth * std::sin(2 * kPi * voice.vibratoRate * (t - voice.vibratoDelay));
    const double hz = MidiToHz(static_cast<float>(pitch));
    const double dt = hz / kSampleRate;
    double v = 0;
    switch (voice.wave) {
      case Wave::Square: {
        // Centred on zero, as a sound chip's output capacitor leaves it: a narrow pulse sits
        // mostly below the line and peaks higher above it, and carries no offset.
        v = phase < voice.duty ? 1.0 : -1.0;
        v += Blep(phase, dt);
        v -= Blep(std::fmod(phase + 1.0 - voice.duty, 1.0), dt);
        v -= 2.0 * voice.duty - 1.0;
        break;
      }
      case Wave::Triangle:
        // A stepped triangle (16 levels), the classic soft bass of a sound chip.
        v = std::floor((phase < 0.5 ? phase * 4 - 1 : 3 - phase * 4) * 8) / 8 + 1.0 / 16;
        break;
      case Wave::Saw:
        v = 2 * phase - 1 - Blep(phase, dt);
        break;
      case Wave::Sine:
        v = std::sin(2 * kPi * phase);
        break;
      case Wave::Noise: {
        // The noise clock runs at 16 times the note's frequency; each tick shifts the register.
        noisePhase += dt * 16;
        while (noisePhase >= 1) {
          noisePhase -= 1;
          const uint32_t tap = voice.metallic ? 6 : 1;
          const uint32_t bit = (lfsr ^ (lfsr >> tap)) & 1u;
          lfsr = (lfsr >> 1) | (bit << 14);
          noiseValue = (lfsr & 1u) ? 1.0f : -1.0f;
        }
        v = noiseValue;
        break;
      }
    }
    phase += dt;
    phase -= std::floor(phase);
    size_t index = first + i;
    if (index >= buffer.size()) {
      if (!wrap) break;
      index %= buffer.size();
    }
    buffer[index] += static_cast<float>(v * level * voice.volume * note.velocity);
  }
}

namespace {

float Alpha(float cutoffHz) {
  const float rc = 1.0f / (2.0f * static_cast<float>(kPi) * cutoffHz);
  const float dt = 1.0f / kSampleRate;
  return dt / (rc + dt);
}

}  // namespace

void LowPassLoop(std::vector<float>& buffer, float cutoffHz) {
  const float a = Alpha(cutoffHz);
  float state = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (float& s : buffer) {
      state += a * (s - state);
      if (pass == 1) s = state;
    }
}

void LowPass(std::vector<float>& buffer, float cutoffHz) {
  const float a = Alpha(cutoffHz);
  float state = 0;
  for (float& s : buffer) {
    state += a * (s - state);
    s = state;
  }
}

void HighPass(std::vector<float>& buffer, float cutoffHz) {
  const float a = Alpha(cutoffHz);
  float low = 0;
  for (float& s : buffer) {
    low += a * (s - low);
    s -= low;
  }
}

std::vector<float> EchoLoop(const std::vector<float>& in, size_t delay, float feedback, int taps) {
  std::vector<float> out = in;
  const size_t n = in.size();
  if (n == 0) return out;
  float gain = 1;
  for (int k = 1; k <= taps; ++k) {
    gain *= feedback;
    const size_t shift = (delay * static_cast<size_t>(k)) % n;
    for (size_t i = 0; i < n; ++i) out[i] += gain * in[(i + n - shift) % n];
  }
  return out;
}

void Normalize(std::vector<float>& buffer, float peak) {
  float largest = 0;
  for (float s : buffer) largest = std::max(largest, std::fabs(s));
  if (largest <= 0) return;
  const float k = peak / largest;
  for (float& s : buffer) s *= k;
}

void SoftClip(std::vector<float>& buffer) {
  for (float& s : buffer) s = std::tanh(s);
}

void RemoveOffset(std::vector<float>& buffer) {
  if (buffer.empty()) return;
  double sum = 0;
  for (float s : buffer) sum += s;
  const auto mean = static_cast<float>(sum / static_cast<double>(buffer.size()));
  for (float& s : buffer) s -= mean;
}

void FadeEnds(std::vector<float>& buffer, double fadeIn, double fadeOut) {
  const size_t in = std::min(buffer.size(), Samples(fadeIn));
  const size_t out = std::min(buffer.size(), Samples(fadeOut));
  for (size_t i = 0; i < in; ++i) buffer[i] *= static_cast<float>(i) / in;
  for (size_t i = 0; i < out; ++i) buffer[buffer.size() - 1 - i] *= static_cast<float>(i) / out;
}

}  // namespace gen
