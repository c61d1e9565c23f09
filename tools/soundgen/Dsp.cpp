#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace pav::soundgen {

TSignal::TSignal(int channels, double seconds) : Channels(channels) {
  const auto frames = static_cast<std::size_t>(std::lround(seconds * SampleRate));
  L.assign(frames, 0.0f);
  if (channels == 2) R.assign(frames, 0.0f);
}

std::uint64_t TNoise::Next() {
  State ^= State >> 12;
  State ^= State << 25;
  State ^= State >> 27;
  return State * 0x2545F4914F6CDD1Dull;
}

double TNoise::Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

double TNoise::White() { return Unit() * 2.0 - 1.0; }

TBiquad TBiquad::LowPass(double freq, double q) {
  const double w = 2.0 * Pi * freq / SampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double cw = std::cos(w);
  const double a0 = 1.0 + alpha;
  TBiquad f;
  f.B0 = (1.0 - cw) / 2.0 / a0;
  f.B1 = (1.0 - cw) / a0;
  f.B2 = (1.0 - cw) / 2.0 / a0;
  f.A1 = -2.0 * cw / a0;
  f.A2 = (1.0 - alpha) / a0;
  return f;
}

TBiquad TBiquad::HighPass(double freq, double q) {
  const double w = 2.0 * Pi * freq / SampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double cw = std::cos(w);
  const double a0 = 1.0 + alpha;
  TBiquad f;
  f.B0 = (1.0 + cw) / 2.0 / a0;
  f.B1 = -(1.0 + cw) / a0;
  f.B2 = (1.0 + cw) / 2.0 / a0;
  f.A1 = -2.0 * cw / a0;
  f.A2 = (1.0 - alpha) / a0;
  return f;
}

TBiquad TBiquad::BandPass(double freq, double q) {
  const double w = 2.0 * Pi * freq / SampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double cw = std::cos(w);
  const double a0 = 1.0 + alpha;
  TBiquad f;
  f.B0 = alpha / a0;
  f.B1 = 0.0;
  f.B2 = -alpha / a0;
  f.A1 = -2.0 * cw / a0;
  f.A2 = (1.0 - alpha) / a0;
  return f;
}

double TBiquad::Process(double x) {
  const double y = B0 * x + B1 * X1 + B2 * X2 - A1 * Y1 - A2 * Y2;
  X2 = X1;
  X1 = x;
  Y2 = Y1;
  Y1 = y;
  return y;
}

void TBiquad::Reset() { X1 = X2 = Y1 = Y2 = 0.0; }

double AttackDecay(double t, double attack, double decay) {
  if (t < 0.0) return 0.0;
  if (t < attack) return 0.5 - 0.5 * std::cos(Pi * t / attack);
  return std::exp(-(t - attack) / decay);
}

void Fade(TSignal& s, double in, double out) {
  const std::size_t n = s.Frames();
  const auto inFrames = static_cast<std::size_t>(in * SampleRate);
  const auto outFrames = static_cast<std::size_t>(out * SampleRate);
  for (std::size_t i = 0; i < n; ++i) {
    double g = 1.0;
    if (inFrames > 0 && i < inFrames) g *= 0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / inFrames);
    const std::size_t fromEnd = n - 1 - i;
    if (outFrames > 0 && fromEnd < outFrames) g *= 0.5 - 0.5 * std::cos(Pi * static_cast<double>(fromEnd) / outFrames);
    s.L[i] = static_cast<float>(s.L[i] * g);
    if (s.Channels == 2) s.R[i] = static_cast<float>(s.R[i] * g);
  }
}

static void RemoveDcOf(std::vector<float>& v) {
  if (v.empty()) return;
  double sum = 0.0;
  for (float x : v) sum += x;
  const double mean = sum / static_cast<double>(v.size());
  for (float& x : v) x = static_cast<float>(x - mean);
}

void RemoveDc(TSignal& s) {
  RemoveDcOf(s.L);
  RemoveDcOf(s.R);
}

double Peak(const TSignal& s) {
  double p = 0.0;
  for (float x : s.L) p = std::max(p, static_cast<double>(std::fabs(x)));
  for (float x : s.R) p = std::max(p, static_cast<double>(std::fabs(x)));
  return p;
}

void Normalise(TSignal& s, double dbfs) {
  const double p = Peak(s);
  if (p <= 0.0) return;
  const double g = std::pow(10.0, dbfs / 20.0) / p;
  for (float& x : s.L) x = static_cast<float>(x * g);
  for (float& x : s.R) x = static_cast<float>(x * g);
}

namespace {

class TComb {
 public:
  TComb(std::size_t delay, double feedback, double damp) : Buf(delay, 0.0), Feedback(feedback), Damp(damp) {}
  double Process(double x) {
    const double y = Buf[Pos];
    Store = y * (1.0 - Damp) + Store * Damp;
    Buf[Pos] = x + Store * Feedback;
    Pos = (Pos + 1) % Buf.size();
    return y;
  }

 private:
  std::vector<double> Buf;
  std::size_t Pos = 0;
  double Feedback;
  double Damp;
  double Store = 0.0;
};

class TAllPass {
 public:
  explicit TAllPass(std::size_t delay) : Buf(delay, 0.0) {}
  double Process(double x) {
    const double b = Buf[Pos];
    const double y = b - x;
    Buf[Pos] = x + b * 0.5;
    Pos = (Pos + 1) % Buf.size();
    return y;
  }

 private:
  std::vector<double> Buf;
  std::size_t Pos = 0;
};

std::vector<float> Reverberate(const std::vector<float>& in, double roomSeconds, std::size_t spread) {
  static const std::size_t combDelays[] = {1116, 1188, 1277, 1356, 1422, 1491};
  static const std::size_t allDelays[] = {556, 441, 341};
  std::vector<TComb> combs;
  for (std::size_t d : combDelays) {
    const std::size_t delay = d + spread;
    // Feedback for a fall of 60 dB in roomSeconds.
    const double g = std::pow(10.0, -3.0 * static_cast<double>(delay) / (roomSeconds * SampleRate));
    combs.emplace_back(delay, g, 0.3);
  }
  std::vector<TAllPass> alls;
  for (std::size_t d : allDelays) alls.emplace_back(d + spread / 2);
  std::vector<float> out(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    double acc = 0.0;
    for (TComb& c : combs) acc += c.Process(in[i]);
    acc /= static_cast<double>(combs.size());
    for (TAllPass& a : alls) acc = a.Process(acc);
    out[i] = static_cast<float>(acc);
  }
  return out;
}

}  // namespace

void AddReverb(TSignal& s, double wet, double roomSeconds) {
  std::vector<float> mono(s.Frames());
  for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = s.Channels == 2 ? 0.5f * (s.L[i] + s.R[i]) : s.L[i];
  const std::vector<float> left = Reverberate(mono, roomSeconds, 0);
  for (std::size_t i = 0; i < mono.size(); ++i) s.L[i] = static_cast<float>(s.L[i] * (1.0 - wet) + left[i] * wet);
  if (s.Channels == 2) {
    const std::vector<float> right = Reverberate(mono, roomSeconds, 23);
    for (std::size_t i = 0; i < mono.size(); ++i) s.R[i] = static_cast<float>(s.R[i] * (1.0 - wet) + right[i] * wet);
  }
}

void MixPanned(TSignal& s, const std::vector<float>& mono, std::size_t offset, double gain, double pan) {
  const double angle = (pan + 1.0) * Pi / 4.0;
  const double gl = s.Channels == 2 ? std::cos(angle) * std::sqrt(2.0) : 1.0;
  const double gr = std::sin(angle) * std::sqrt(2.0);
  for (std::size_t i = 0; i < mono.size() && offset + i < s.Frames(); ++i) {
    s.L[offset + i] = static_cast<float>(s.L[offset + i] + mono[i] * gain * gl);
    if (s.Channels == 2) s.R[offset + i] = static_cast<float>(s.R[offset + i] + mono[i] * gain * gr);
  }
}

}  // namespace pav::soundgen
