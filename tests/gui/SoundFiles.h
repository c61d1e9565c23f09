// Small wave and MIDI files made in the tests, and the measure of a recording.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace pav::test {

inline void PutLE(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void PutBE(std::string& out, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 16-bit mono wave of a sine tone.
inline std::string SineWave(double seconds, double hertz = 440.0, int amplitude = 12000, int rate = 22050) {
  const auto frames = static_cast<std::uint32_t>(seconds * rate);
  std::string data;
  for (std::uint32_t i = 0; i < frames; ++i)
    PutLE(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * hertz * i / rate))),
          2);
  std::string w = "RIFF";
  PutLE(w, 36 + static_cast<std::uint32_t>(data.size()), 4);
  w += "WAVEfmt ";
  PutLE(w, 16, 4);
  PutLE(w, 1, 2);  // PCM
  PutLE(w, 1, 2);  // mono
  PutLE(w, static_cast<std::uint32_t>(rate), 4);
  PutLE(w, static_cast<std::uint32_t>(rate) * 2, 4);
  PutLE(w, 2, 2);
  PutLE(w, 16, 2);
  w += "data";
  PutLE(w, static_cast<std::uint32_t>(data.size()), 4);
  return w + data;
}

// A format-0 MIDI file: one piano chord of `beats` beats at 120 per minute (half a
// second a beat).
inline std::string ChordMidi(int beats) {
  std::string t;
  t += std::string("\x00\xC0\x00", 3);  // piano
  for (int key : {60, 64, 67}) {
    t.push_back('\0');
    t.push_back(static_cast<char>(0x90));
    t.push_back(static_cast<char>(key));
    t.push_back(static_cast<char>(100));
  }
  const std::uint32_t ticks = static_cast<std::uint32_t>(beats) * 96;
  // The delta time as a variable-length quantity.
  std::string delta;
  delta.push_back(static_cast<char>(0x80 | ((ticks >> 7) & 0x7F)));
  delta.push_back(static_cast<char>(ticks & 0x7F));
  bool first = true;
  for (int key : {60, 64, 67}) {
    t += first ? delta : std::string(1, '\0');
    first = false;
    t.push_back(static_cast<char>(0x80));
    t.push_back(static_cast<char>(key));
    t.push_back(static_cast<char>(64));
  }
  t += std::string("\x00\xFF\x2F\x00", 4);
  std::string m = "MThd";
  PutBE(m, 6, 4);
  PutBE(m, 0, 2);
  PutBE(m, 1, 2);
  PutBE(m, 96, 2);
  m += "MTrk";
  PutBE(m, static_cast<std::uint32_t>(t.size()), 4);
  return m + t;
}

// The loudness of a recording of 16-bit samples in stretches of `frames` frames
// (stereo): the largest absolute sample of each stretch.
inline std::vector<int> StretchPeaks(const std::string& raw, std::size_t frames) {
  std::vector<int> peaks;
  const std::size_t samples = raw.size() / 2;
  const std::size_t per = frames * 2;
  for (std::size_t start = 0; start + per <= samples; start += per) {
    int peak = 0;
    for (std::size_t i = start; i < start + per; ++i) {
      const auto lo = static_cast<unsigned char>(raw[2 * i]);
      const auto hi = static_cast<unsigned char>(raw[2 * i + 1]);
      const int v = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
      peak = std::max(peak, std::abs(v));
    }
    peaks.push_back(peak);
  }
  return peaks;
}

}  // namespace pav::test
