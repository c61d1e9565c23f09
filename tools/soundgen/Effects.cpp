#include "Effects.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pav::soundgen {

namespace {

double Time(std::size_t i) { return static_cast<double>(i) / SampleRate; }

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Lets the last `seconds` of a note die away smoothly, so that a note cut short
// never ends on a step.
void Release(std::vector<float>& v, double seconds) {
  const auto n = std::min(v.size(), static_cast<std::size_t>(seconds * SampleRate));
  for (std::size_t i = 0; i < n; ++i) {
    const double g = 0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / static_cast<double>(n));
    v[v.size() - 1 - i] = static_cast<float>(v[v.size() - 1 - i] * g);
  }
}

// One struck bar: a few partials, each with its own level and decay, the higher
// ones shorter, as on a glockenspiel or a celesta.
std::vector<float> Bell(double hz, double seconds, double decay) {
  struct TPartial {
    double ratio, level, decayShare;
  };
  static const TPartial partials[] = {
      {1.0, 1.0, 1.0}, {2.0, 0.32, 0.45}, {3.0, 0.12, 0.25}, {4.16, 0.07, 0.12}, {5.43, 0.03, 0.07},
  };
  std::vector<float> out(static_cast<std::size_t>(seconds * SampleRate));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = Time(i);
    double v = 0.0;
    for (const TPartial& p : partials) {
      if (hz * p.ratio > 16000.0) continue;
      v += p.level * AttackDecay(t, 0.002, decay * p.decayShare) * std::sin(2.0 * Pi * hz * p.ratio * t);
    }
    out[i] = static_cast<float>(v);
  }
  Release(out, 0.05);
  return out;
}

// A soft mallet tone by frequency modulation: a sine whose brightness fades
// faster than its level, with a slow vibrato entering late.
std::vector<float> SoftMallet(double hz, double seconds, double decay, double vibratoFrom) {
  std::vector<float> out(static_cast<std::size_t>(seconds * SampleRate));
  double phase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = Time(i);
    const double index = 0.25 + 1.1 * std::exp(-t / 0.12);
    double vib = 0.0;
    if (t > vibratoFrom) vib = 0.003 * std::min(1.0, (t - vibratoFrom) / 0.2) * std::sin(2.0 * Pi * 5.0 * t);
    phase += 2.0 * Pi * hz * (1.0 + vib) / SampleRate;
    const double mod = index * std::sin(phase);
    const double env = AttackDecay(t, 0.012, decay);
    out[i] = static_cast<float>(env * (std::sin(phase + mod) * 0.85 + 0.15 * std::sin(2.0 * phase)));
  }
  Release(out, 0.08);
  return out;
}

}  // namespace

TSignal MakeClick() {
  TSignal s(1, 0.045);
  TNoise noise(0xC11C);
  TBiquad band = TBiquad::BandPass(3200.0, 1.4);
  double phase = 0.0;
  for (std::size_t i = 0; i < s.Frames(); ++i) {
    const double t = Time(i);
    // A small wooden body whose pitch settles quickly, a bright tick and a breath of noise.
    const double hz = 820.0 * (1.0 + 0.35 * std::exp(-t / 0.003));
    phase += 2.0 * Pi * hz / SampleRate;
    const double body = 0.6 * AttackDecay(t, 0.0006, 0.009) * std::sin(phase);
    const double tick = 0.3 * AttackDecay(t, 0.0006, 0.0035) * std::sin(2.0 * Pi * 2500.0 * t);
    const double hiss = 0.5 * AttackDecay(t, 0.0004, 0.0025) * band.Process(noise.White());
    s.L[i] = static_cast<float>(body + tick + hiss);
  }
  RemoveDc(s);
  Fade(s, 0.0005, 0.012);
  Normalise(s, -9.0);
  return s;
}

TSignal MakeTileMove() {
  TSignal s(1, 0.170);
  TNoise noise(0x511DE);
  TNoise grain(0x6A41);
  TBiquad low = TBiquad::LowPass(1700.0, 0.7);
  TBiquad high = TBiquad::HighPass(180.0, 0.7);
  TBiquad roughness = TBiquad::LowPass(70.0, 0.7);
  TBiquad knockNoise = TBiquad::LowPass(2200.0, 0.8);
  const double thumpAt = 0.055;
  double thumpPhase = 0.0;
  for (std::size_t i = 0; i < s.Frames(); ++i) {
    const double t = Time(i);
    // The slide: band-limited noise, roughened by a slow random level, swelling
    // and dying away as the tile comes to rest.
    const double rough = 0.6 + 2.5 * roughness.Process(grain.White());
    double slideEnv = 0.0;
    if (t < 0.02)
      slideEnv = 0.5 - 0.5 * std::cos(Pi * t / 0.02);
    else
      slideEnv = std::exp(-(t - 0.02) / 0.045);
    const double slide = 1.6 * slideEnv * rough * high.Process(low.Process(noise.White()));
    // The knock: a low thump falling in pitch with two short wooden modes above it.
    double knock = 0.0;
    const double k = t - thumpAt;
    const double kn = knockNoise.Process(noise.White());
    if (k >= 0.0) {
      const double hz = 88.0 + 80.0 * std::exp(-k / 0.02);
      thumpPhase += 2.0 * Pi * hz / SampleRate;
      knock = 0.9 * AttackDecay(k, 0.002, 0.032) * std::sin(thumpPhase) +
              0.30 * AttackDecay(k, 0.001, 0.022) * std::sin(2.0 * Pi * 392.0 * k) +
              0.12 * AttackDecay(k, 0.001, 0.009) * std::sin(2.0 * Pi * 1130.0 * k) +
              0.25 * AttackDecay(k, 0.0005, 0.005) * kn;
    }
    s.L[i] = static_cast<float>(slide + knock);
  }
  RemoveDc(s);
  Fade(s, 0.002, 0.030);
  Normalise(s, -4.0);
  return s;
}

TSignal MakePuzzleSolved() {
  TSignal s(2, 1.40);
  // C major rising: C5 E5 G5 C6 E6, then a chord of C5 G5 C6 E6 that rings out.
  const int arpeggio[] = {72, 76, 79, 84, 88};
  for (int i = 0; i < 5; ++i) {
    const std::vector<float> note = Bell(NoteHz(arpeggio[i]), 1.2, 0.35);
    const auto at = static_cast<std::size_t>((0.075 * i) * SampleRate);
    MixPanned(s, note, at, 0.30 - 0.02 * i, -0.6 + 0.3 * i);
  }
  const int chord[] = {72, 79, 84, 88};
  const double pans[] = {-0.3, 0.3, -0.1, 0.2};
  for (int i = 0; i < 4; ++i) {
    const std::vector<float> note = Bell(NoteHz(chord[i]), 1.0, 0.55);
    MixPanned(s, note, static_cast<std::size_t>(0.40 * SampleRate), 0.22, pans[i]);
  }
  AddReverb(s, 0.22, 1.4);
  RemoveDc(s);
  Fade(s, 0.001, 0.30);
  Normalise(s, -3.0);
  return s;
}

TSignal MakeGameOver() {
  TSignal s(2, 1.45);
  // A4, F4, D4 falling, then D4 and F4 over A3 held softly.
  struct TNote {
    int note;
    double at, length, decay, gain, pan;
  };
  const TNote notes[] = {
      {69, 0.00, 0.45, 0.22, 0.34, 0.25},  {65, 0.22, 0.45, 0.22, 0.34, 0.0},  {62, 0.44, 1.00, 0.50, 0.36, -0.2},
      {57, 0.44, 1.00, 0.55, 0.22, -0.35}, {65, 0.47, 0.95, 0.50, 0.16, 0.3},
  };
  for (const TNote& n : notes) {
    const std::vector<float> tone = SoftMallet(NoteHz(n.note), n.length, n.decay, 0.25);
    MixPanned(s, tone, static_cast<std::size_t>(n.at * SampleRate), n.gain, n.pan);
  }
  AddReverb(s, 0.25, 1.2);
  RemoveDc(s);
  Fade(s, 0.002, 0.30);
  Normalise(s, -4.0);
  return s;
}

}  // namespace pav::soundgen
