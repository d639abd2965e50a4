#include "music.h"

#include <algorithm>
#include <cmath>

#include "canvas.h"

namespace gen {

namespace {

constexpr int kSteps = 16;  // sixteenth notes per bar

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// Semitones above the tonic of a scale degree (degrees may be negative or past the octave).
int DegreeToSemitone(int degree, bool minor) {
  const int octave = static_cast<int>(std::floor(degree / 7.0));
  const int index = degree - octave * 7;
  return (minor ? kMinor : kMajor)[index] + 12 * octave;
}

bool IsChordTone(int degree, int chord) {
  const int d = ((degree - chord) % 7 + 7) % 7;
  return d == 0 || d == 2 || d == 4;
}

// The chord tone nearest to a degree (ties go up).
int NearestChordTone(int degree, int chord) {
  for (int k = 0; k < 4; ++k) {
    if (IsChordTone(degree + k, chord)) return degree + k;
    if (IsChordTone(degree - k, chord)) return degree - k;
  }
  return degree;
}

Voice Lead(Groove g) {
  Voice v;
  v.wave = Wave::Square;
  v.duty = g == Groove::Calm ? 0.5f : 0.25f;
  v.volume = g == Groove::Calm ? 0.16f : 0.15f;
  v.envelope = {0.01f, 0.12f, 0.65f, 0.08f};
  v.vibratoDepth = 0.18f;
  v.vibratoRate = 5.2f;
  v.vibratoDelay = 0.18f;
  return v;
}

Voice Bass() {
  Voice v;
  v.wave = Wave::Triangle;
  v.volume = 0.42f;
  v.envelope = {0.004f, 0.08f, 0.8f, 0.04f};
  return v;
}

Voice Arp(Groove g) {
  Voice v;
  v.wave = g == Groove::Calm ? Wave::Triangle : Wave::Square;
  v.duty = 0.125f;
  v.volume = g == Groove::Calm ? 0.12f : 0.06f;
  v.envelope = {0.003f, 0.06f, 0.3f, 0.05f};
  return v;
}

Voice Pad() {
  Voice v;
  v.wave = Wave::Square;
  v.duty = 0.5f;
  v.volume = 0.035f;
  v.envelope = {0.25f, 0.5f, 0.7f, 0.4f};
  v.vibratoDepth = 0.08f;
  v.vibratoRate = 4.0f;
  return v;
}

Voice Kick() {
  Voice v;
  v.wave = Wave::Sine;
  v.volume = 0.75f;
  v.envelope = {0.001f, 0.16f, 0.0f, 0.01f};
  v.dropDepth = 24;
  v.dropTime = 0.03f;
  return v;
}

Voice Snare() {
  Voice v;
  v.wave = Wave::Noise;
  v.volume = 0.22f;
  v.envelope = {0.001f, 0.14f, 0.0f, 0.01f};
  return v;
}

Voice SnareBody() {
  Voice v;
  v.wave = Wave::Triangle;
  v.volume = 0.22f;
  v.envelope = {0.001f, 0.07f, 0.0f, 0.01f};
  v.dropDepth = 7;
  v.dropTime = 0.02f;
  return v;
}

Voice Hat(bool open) {
  Voice v;
  v.wave = Wave::Noise;
  v.metallic = true;
  v.volume = open ? 0.06f : 0.05f;
  v.envelope = {0.001f, open ? 0.18f : 0.035f, 0.0f, 0.01f};
  return v;
}

struct DrumPattern {
  const char* kick;
  const char* snare;
  const char* hat;  // 'x' closed, 'o' open
};

DrumPattern Pattern(Groove g) {
  switch (g) {
    case Groove::Calm: return {"x.........x.....", "....x.......x...", "..x...x...x...o."};
    case Groove::Drive: return {"x...x...x...x...", "....x.......x...", "x.x.o.x.x.x.o.x."};
    case Groove::Bounce: return {"x.....x...x.....", "....x.......x..x", "xxx.xxo.xxx.xxo."};
  }
  return {"", "", ""};
}

const char* const kRhythms[] = {
    "x-x-x---x-x-x---x-x-x---x-------",
    "x--x--x-x---x---x--x--x-x-------",
    "x-xxx-x-x---x-x-x-xxx-x-x-------",
    "x---x-x-x---x---x---x-x-x-x-x---",
    "x-x-x-x-x---x---x-x-x-x-x-------",
};

struct Motif {
  std::string rhythm;          // 32 steps: 'x' a new note, '-' holds, '.' rests
  std::vector<int> contour;    // one degree per note start
};

Motif MakeMotif(Rng& rng, Groove g) {
  Motif m;
  const int choices = g == Groove::Calm ? 2 : 5;
  m.rhythm = kRhythms[g == Groove::Calm ? rng.Range(0, 1) * 3 : rng.Range(0, choices - 1)];
  int degree = rng.Range(2, 4);
  for (char ch : m.rhythm) {
    if (ch != 'x') continue;
    m.contour.push_back(degree);
    const int r = rng.Range(0, 9);
    int step = r < 3 ? 1 : r < 6 ? -1 : r < 8 ? 2 : r < 9 ? -2 : 3;
    if (degree + step > 9 || degree + step < -1) step = -step;
    degree += step;
  }
  return m;
}

}  // namespace

double BarSeconds(const SongPlan& plan) { return 4 * 60.0 / plan.bpm; }

Song ComposeSong(const SongPlan& plan) {
  Song song;
  const double bar = BarSeconds(plan), step = bar / kSteps;
  int bars = 0;
  for (char s : plan.form) bars += static_cast<int>(plan.progressions[static_cast<size_t>(s - 'A')].size());
  song.loopSeconds = bars * bar;
  song.loopSamples = Samples(song.loopSeconds);
  song.echoDelay = Samples(step * 3);
  song.level = plan.level;
  Rng rng(plan.seed);
  auto add = [&song](const Voice& v, double start, double length, float pitch, float velocity, uint32_t seed = 0,
                     bool echo = false) { song.events.push_back({v, {start, length, pitch, velocity}, seed, echo}); };
  auto pitchOf = [&plan](int degree, int octave) {
    return static_cast<float>(plan.root + 12 * octave + DegreeToSemitone(degree, plan.minor));
  };

  // One motif per section letter, so a section that comes back sounds the same.
  std::vector<Motif> motifs;
  for (size_t i = 0; i < plan.progressions.size(); ++i) motifs.push_back(MakeMotif(rng, plan.groove));

  const DrumPattern drums = Pattern(plan.groove);
  uint32_t noiseSeed = 1;
  int barIndex = 0;
  for (size_t sectionIndex = 0; sectionIndex < plan.form.size(); ++sectionIndex) {
    const auto& chords = plan.progressions[static_cast<size_t>(plan.form[sectionIndex] - 'A')];
    const Motif& motif = motifs[static_cast<size_t>(plan.form[sectionIndex] - 'A')];
    const int sectionBars = static_cast<int>(chords.size());
    for (int b = 0; b < sectionBars; ++b, ++barIndex) {
      const double t0 = barIndex * bar;
      const int chord = chords[static_cast<size_t>(b)];
      const bool lastBar = b == sectionBars - 1;

      // Bass.
      if (plan.groove == Groove::Calm) {
        add(Bass(), t0, step * 7.5, pitchOf(chord, -1), 1.0f);
        add(Bass(), t0 + step * 8, step * 7.5, pitchOf(chord + 4, -1), 0.9f);
      } else {
        const int drive[8] = {0, 0, 7, 0, 4, 0, 7, 4};
        const int bounce[8] = {0, -1, 0, 4, -1, 0, 7, -1};
        for (int k = 0; k < 8; ++k) {
          const int d = plan.groove == Groove::Drive ? drive[k] : bounce[k];
          if (d < 0) continue;
          add(Bass(), t0 + k * step * 2, step * 1.6, pitchOf(chord + d, -1), k % 2 ? 0.8f : 1.0f);
        }
      }

      // Arpeggio over the chord: up and down through root, third, fifth and octave.
      const int arp[8] = {0, 2, 4, 7, 9, 7, 4, 2};
      const int every = plan.groove == Groove::Calm ? 2 : 1;
      for (int s = 0; s < kSteps; s += every)
        add(Arp(plan.groove), t0 + s * step, step * every * 0.8, pitchOf(chord + arp[(s / every) % 8], 1),
            s % 4 == 0 ? 1.0f : 0.7f);

      if (plan.groove == Groove::Calm)
        for (int k : {0, 2, 4}) add(Pad(), t0, bar * 0.92, pitchOf(chord + k, 0), 1.0f);

      // Drums, with a snare roll closing each section.
      for (int s = 0; s < kSteps; ++s) {
        const double t = t0 + s * step;
        const bool roll = lastBar && s >= 12 && plan.groove != Groove::Calm;
        if (drums.kick[s] == 'x') add(Kick(), t, 0.12, 45, plan.groove == Groove::Calm ? 0.6f : 1.0f);
        if (drums.snare[s] == 'x' || roll) {
          const float v = roll ? 0.55f + 0.1f * (s - 12) : 1.0f;
          if (plan.groove == Groove::Calm) {
            add(Hat(true), t, 0.05, 96, 0.9f, noiseSeed++);
          } else {
            add(Snare(), t, 0.1, 88, v, noiseSeed++);
            add(SnareBody(), t, 0.06, 55, v);
          }
        }
        if (drums.hat[s] == 'x') add(Hat(false), t, 0.02, 100, s % 4 == 0 ? 1.0f : 0.7f, noiseSeed++);
        if (drums.hat[s] == 'o') add(Hat(true), t, 0.08, 98, 0.8f, noiseSeed++);
      }
    }

    // The lead: the section's motif over each pair of bars; the last pair answers with a
    // cadence that comes to rest on the chord's root.
    const int sectionStart = barIndex - sectionBars;
    for (int pair = 0; pair + 1 < sectionBars; pair += 2) {
      const bool cadence = pair + 2 >= sectionBars;
      const bool varied = pair % 4 == 2;
      size_t noteIndex = 0;
      for (int s = 0; s < 2 * kSteps; ++s) {
        if (motif.rhythm[static_cast<size_t>(s)] != 'x') continue;
        int length = 1;
        while (s + length < 2 * kSteps && motif.rhythm[static_cast<size_t>(s + length)] == '-') ++length;
        const int barInPair = s / kSteps;
        const int chord = chords[static_cast<size_t>(pair + barInPair)];
        int degree = motif.contour[noteIndex++];
        if (varied && s >= kSteps) degree += 2;
        if (cadence && s >= kSteps + 8) {
          degree = NearestChordTone(chord, chord) + (degree > 4 ? 7 : 0);
          length = 2 * kSteps - s;
        }
        if (s % 4 == 0 || length >= 4) degree = NearestChordTone(degree, chord);
        const double t = (sectionStart + pair) * bar + s * step;
        add(Lead(plan.groove), t, length * step * 0.9, pitchOf(degree, 1), s % 8 == 0 ? 1.0f : 0.85f, 0, true);
        if (cadence && s >= kSteps + 8) break;
      }
    }
  }
  return song;
}

std::vector<float> RenderEvents(const std::vector<NoteEvent>& events, size_t samples, bool wrap) {
  std::vector<float> out(samples, 0.0f);
  for (const NoteEvent& e : events) RenderNote(out, e.voice, e.note, e.seed, wrap);
  return out;
}

std::vector<float> RenderSong(const Song& song) {
  std::vector<NoteEvent> dry, wet;
  for (const NoteEvent& e : song.events) (e.echo ? wet : dry).push_back(e);
  std::vector<float> mix = RenderEvents(dry, song.loopSamples, true);
  const std::vector<float> lead = EchoLoop(RenderEvents(wet, song.loopSamples, true), song.echoDelay, 0.32f, 4);
  for (size_t i = 0; i < mix.size(); ++i) mix[i] += lead[i];
  LowPassLoop(mix, 7500.0f);
  Normalize(mix, 1.05f);
  SoftClip(mix);
  RemoveOffset(mix);
  Normalize(mix, song.level);
  return mix;
}

SongPlan MenuSong() {
  SongPlan p;
  p.title = "Quorvex - Title";
  p.bpm = 96;
  p.root = 57;  // A minor
  p.minor = true;
  p.progressions = {{0, 5, 2, 6, 0, 5, 3, 4}, {5, 6, 2, 0, 3, 4, 0, 0}};
  p.form = "AB";
  p.groove = Groove::Calm;
  p.seed = 11;
  p.level = 0.45f;
  return p;
}

SongPlan RunSong() {
  SongPlan p;
  p.title = "Quorvex - Paint Run";
  p.bpm = 148;
  p.root = 55;  // G major
  p.progressions = {{0, 4, 5, 3, 0, 4, 3, 4}, {5, 3, 0, 4, 5, 3, 1, 4}};
  p.form = "AABA";
  p.groove = Groove::Drive;
  p.seed = 23;
  p.level = 0.5f;
  return p;
}

SongPlan MazeSong() {
  SongPlan p;
  p.title = "Quorvex - Deep Maze";
  p.bpm = 132;
  p.root = 50;  // D minor
  p.minor = true;
  p.progressions = {{0, 0, 5, 6, 0, 0, 3, 4}, {3, 4, 0, 5, 3, 4, 6, 6}};
  p.form = "AABA";
  p.groove = Groove::Bounce;
  p.seed = 37;
  p.level = 0.5f;
  return p;
}

}  // namespace gen
