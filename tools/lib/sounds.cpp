#include "sounds.h"

#include <cmath>

#include "synth.h"

namespace gen {

const std::vector<EffectInfo>& Effects() {
  static const std::vector<EffectInfo> list = {
      {Effect::Step, "step.ogg", "step"},
      {Effect::Fixed, "fixed.ogg", "cells fixed"},
      {Effect::PinkFixed, "lost.ogg", "cells lost"},
      {Effect::Blast, "blast.ogg", "bomb blast"},
      {Effect::Timer, "timer.ogg", "clock tick"},
      {Effect::Coin, "coin.ogg", "coin"},
      {Effect::Gem, "gem.ogg", "gem"},
      {Effect::Goody, "goody.ogg", "goody"},
      {Effect::ExtraTime, "time.ogg", "extra time"},
      {Effect::BombPickup, "bombget.ogg", "bomb picked up"},
      {Effect::Page1, "page1.ogg", "credits page"},
      {Effect::Page2, "page2.ogg", "credits page"},
  };
  return list;
}

namespace {

Voice Tone(Wave wave, float volume, Envelope env, float duty = 0.5f) {
  Voice v;
  v.wave = wave;
  v.volume = volume;
  v.envelope = env;
  v.duty = duty;
  return v;
}

// The effects' peaks below stand to one another as they sound right; this brings them all to
// where they sit well over the music (4 dB or more under its peaks) and leave the mix headroom.
constexpr float kEffectsLevel = 0.62f;

std::vector<float> Buffer(double seconds) { return std::vector<float>(Samples(seconds), 0.0f); }

void Play(std::vector<float>& b, const Voice& v, double start, double length, float pitch, uint32_t seed = 1) {
  RenderNote(b, v, {start, length, pitch, 1.0f}, seed, false);
}

}  // namespace

std::vector<float> MakeEffect(Effect effect) {
  std::vector<float> b;
  float peak = 0.6f;
  switch (effect) {
    case Effect::Step: {
      // A soft, dull tick: it plays for every step of the player and the foes.
      b = Buffer(0.05);
      Play(b, Tone(Wave::Sine, 1.0f, {0.001f, 0.025f, 0.0f, 0.005f}), 0, 0.02, 81);
      Voice click = Tone(Wave::Noise, 0.25f, {0.0005f, 0.008f, 0.0f, 0.002f});
      Play(b, click, 0, 0.005, 90, 3);
      LowPass(b, 3000);
      peak = 0.16f;
      break;
    }
    case Effect::Fixed: {
      b = Buffer(0.45);
      Voice bell = Tone(Wave::Square, 0.5f, {0.002f, 0.12f, 0.25f, 0.15f}, 0.25f);
      Play(b, bell, 0.00, 0.06, 84);
      Play(b, bell, 0.06, 0.06, 88);
      Play(b, bell, 0.12, 0.14, 91);
      Play(b, Tone(Wave::Sine, 0.4f, {0.002f, 0.2f, 0.0f, 0.1f}), 0.12, 0.2, 103);
      LowPass(b, 8000);
      peak = 0.5f;
      break;
    }
    case Effect::PinkFixed: {
      b = Buffer(0.5);
      Voice v = Tone(Wave::Square, 0.5f, {0.003f, 0.1f, 0.5f, 0.12f}, 0.5f);
      v.slide = -6;
      Play(b, v, 0.0, 0.1, 67);
      Play(b, v, 0.11, 0.22, 63);
      Play(b, Tone(Wave::Triangle, 0.6f, {0.003f, 0.2f, 0.3f, 0.1f}), 0.0, 0.3, 51);
      LowPass(b, 4000);
      peak = 0.45f;
      break;
    }
    case Effect::Blast: {
      b = Buffer(1.1);
      Voice noise = Tone(Wave::Noise, 0.8f, {0.002f, 0.9f, 0.0f, 0.05f});
      noise.slide = -18;
      Play(b, noise, 0, 0.8, 70, 9);
      Voice boom = Tone(Wave::Sine, 1.0f, {0.002f, 0.6f, 0.0f, 0.05f});
      boom.dropDepth = 20;
      boom.dropTime = 0.08f;
      Play(b, boom, 0, 0.5, 31);
      LowPass(b, 1800);
      LowPass(b, 3500);
      peak = 0.75f;
      break;
    }
    case Effect::Timer: {
      b = Buffer(0.12);
      Play(b, Tone(Wave::Square, 0.6f, {0.001f, 0.05f, 0.0f, 0.01f}, 0.5f), 0, 0.04, 81);
      Play(b, Tone(Wave::Sine, 0.5f, {0.001f, 0.08f, 0.0f, 0.01f}), 0, 0.06, 93);
      LowPass(b, 5000);
      peak = 0.4f;
      break;
    }
    case Effect::Coin: {
      b = Buffer(0.35);
      Voice v = Tone(Wave::Square, 0.5f, {0.001f, 0.05f, 0.6f, 0.18f}, 0.25f);
      Play(b, v, 0, 0.06, 83);
      Play(b, v, 0.06, 0.12, 88);
      LowPass(b, 9000);
      peak = 0.45f;
      break;
    }
    case Effect::Gem: {
      b = Buffer(0.6);
      const float notes[] = {84, 88, 91, 96, 100};
      for (int i = 0; i < 5; ++i) {
        Play(b, Tone(Wave::Square, 0.35f, {0.001f, 0.08f, 0.3f, 0.2f}, 0.125f), i * 0.045, 0.05, notes[i]);
        Play(b, Tone(Wave::Sine, 0.3f, {0.001f, 0.2f, 0.0f, 0.1f}), i * 0.045, 0.1, notes[i] + 12);
      }
      LowPass(b, 9000);
      peak = 0.5f;
      break;
    }
    case Effect::Goody: {
      b = Buffer(0.25);
      Voice v = Tone(Wave::Triangle, 0.8f, {0.002f, 0.1f, 0.4f, 0.06f});
      v.slide = 30;
      Play(b, v, 0, 0.14, 72);
      Play(b, Tone(Wave::Square, 0.25f, {0.002f, 0.05f, 0.2f, 0.05f}, 0.25f), 0.05, 0.08, 91);
      LowPass(b, 7000);
      peak = 0.45f;
      break;
    }
    case Effect::ExtraTime: {
      b = Buffer(0.7);
      const float notes[] = {72, 76, 79, 84, 79, 84, 88};
      for (int i = 0; i < 7; ++i)
        Play(b, Tone(Wave::Square, 0.4f, {0.002f, 0.06f, 0.4f, 0.08f}, 0.5f), i * 0.06, 0.05, notes[i]);
      Play(b, Tone(Wave::Triangle, 0.5f, {0.01f, 0.3f, 0.2f, 0.2f}), 0.36, 0.2, 60);
      LowPass(b, 6000);
      peak = 0.5f;
      break;
    }
    case Effect::BombPickup: {
      b = Buffer(0.35);
      Voice v = Tone(Wave::Square, 0.5f, {0.002f, 0.06f, 0.3f, 0.05f}, 0.5f);
      Play(b, v, 0, 0.05, 55);
      Play(b, v, 0.07, 0.08, 67);
      Play(b, Tone(Wave::Noise, 0.3f, {0.001f, 0.04f, 0.0f, 0.01f}), 0.07, 0.02, 80, 5);
      LowPass(b, 5000);
      peak = 0.5f;
      break;
    }
    case Effect::Page1:
    case Effect::Page2: {
      b = Buffer(1.6);
      const bool second = effect == Effect::Page2;
      const float chord[] = {second ? 65.0f : 60.0f, second ? 69.0f : 64.0f, second ? 72.0f : 67.0f,
                             second ? 77.0f : 72.0f};
      for (int i = 0; i < 4; ++i) {
        Play(b, Tone(Wave::Triangle, 0.4f, {0.005f, 0.6f, 0.2f, 0.5f}), i * 0.09, 0.5, chord[i]);
        Play(b, Tone(Wave::Sine, 0.2f, {0.005f, 0.9f, 0.0f, 0.3f}), i * 0.09, 0.6, chord[i] + 12);
      }
      LowPass(b, 6000);
      peak = 0.45f;
      break;
    }
  }
  Normalize(b, peak * kEffectsLevel);
  FadeEnds(b, 0.001, 0.01);
  return b;
}

}  // namespace gen
