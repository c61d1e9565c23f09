// Small building blocks for synthesising the sound effects: a reproducible noise
// source, biquad filters, envelopes and a plain stereo reverb. Everything works on
// float samples at one fixed rate and is fully deterministic.
#pragma once

#include <cstdint>
#include <vector>

namespace pav::soundgen {

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;

// A mono or stereo buffer of float samples, nominally within -1..1.
struct TSignal {
  int Channels = 1;
  std::vector<float> L;
  std::vector<float> R;  // empty for mono

  TSignal(int channels, double seconds);
  std::size_t Frames() const { return L.size(); }
  double Seconds() const { return static_cast<double>(Frames()) / SampleRate; }
};

// xorshift64*: the same numbers on every machine and every build.
class TNoise {
 public:
  explicit TNoise(std::uint64_t seed) : State(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  std::uint64_t Next();
  // Uniform in [-1, 1).
  double White();
  // Uniform in [0, 1).
  double Unit();

 private:
  std::uint64_t State;
};

// A second-order filter (the usual audio-cookbook forms), direct form I.
class TBiquad {
 public:
  static TBiquad LowPass(double freq, double q);
  static TBiquad HighPass(double freq, double q);
  static TBiquad BandPass(double freq, double q);  // 0 dB peak gain
  double Process(double x);
  void Reset();

 private:
  double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
  double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

// Attack-decay envelope: a raised-cosine rise over `attack` seconds, then an
// exponential fall with time constant `decay` seconds. Zero before t = 0.
double AttackDecay(double t, double attack, double decay);

// Raised-cosine fade in over the first `in` seconds and fade out over the last `out`
// seconds of the buffer, so that it starts and ends on silence.
void Fade(TSignal& s, double in, double out);

// Removes any constant offset.
void RemoveDc(TSignal& s);

// Largest absolute sample over all channels.
double Peak(const TSignal& s);

// Scales the buffer so that its peak lies at `dbfs` decibels below full scale.
void Normalise(TSignal& s, double dbfs);

// A small room: parallel damped comb filters into series all-pass filters, with
// slightly different delays on the two channels. `wet` is the reverb's share.
void AddReverb(TSignal& s, double wet, double roomSeconds);

// Mixes a mono source into the buffer at `pan` (-1 left .. 1 right, equal power).
void MixPanned(TSignal& s, const std::vector<float>& mono, std::size_t offset, double gain, double pan);

}  // namespace pav::soundgen
