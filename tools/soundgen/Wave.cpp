#include "Wave.h"

#include <algorithm>
#include <cmath>

namespace pav::soundgen {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

std::int16_t ToPcm(float x) {
  const double v = std::clamp(std::round(static_cast<double>(x) * 32767.0), -32767.0, 32767.0);
  return static_cast<std::int16_t>(v);
}

}  // namespace

std::vector<std::uint8_t> EncodeWave(const TSignal& s) {
  const std::uint32_t channels = static_cast<std::uint32_t>(s.Channels);
  const std::uint32_t blockAlign = channels * 2;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(s.Frames()) * blockAlign;
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, channels);
  Put32(out, SampleRate);
  Put32(out, SampleRate * blockAlign);
  Put16(out, blockAlign);
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (std::size_t i = 0; i < s.Frames(); ++i) {
    Put16(out, static_cast<std::uint16_t>(ToPcm(s.L[i])));
    if (channels == 2) Put16(out, static_cast<std::uint16_t>(ToPcm(s.R[i])));
  }
  return out;
}

}  // namespace pav::soundgen
