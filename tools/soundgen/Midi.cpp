#include "Midi.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pav::soundgen {

namespace {

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t v) {
  std::uint8_t bytes[5];
  int n = 0;
  bytes[n++] = static_cast<std::uint8_t>(v & 0x7F);
  while ((v >>= 7) != 0) bytes[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
  while (n > 0) out.push_back(bytes[--n]);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

std::uint8_t Data7(int v) {
  if (v < 0 || v > 127) throw std::out_of_range("MIDI data byte out of range");
  return static_cast<std::uint8_t>(v);
}

std::uint8_t Status(int kind, int channel) {
  if (channel < 0 || channel > 15) throw std::out_of_range("MIDI channel out of range");
  return static_cast<std::uint8_t>(kind | channel);
}

std::vector<std::uint8_t> Meta(int type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> b = {0xFF, static_cast<std::uint8_t>(type)};
  PutVarLen(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

}  // namespace

void TMidiTrack::Add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
  Events.push_back({tick, order, static_cast<std::uint32_t>(Events.size()), std::move(bytes)});
}

void TMidiTrack::Name(std::uint32_t tick, const std::string& text) { Text(tick, 0x03, text); }

void TMidiTrack::Text(std::uint32_t tick, int type, const std::string& text) {
  Add(tick, 0, Meta(type, std::vector<std::uint8_t>(text.begin(), text.end())));
}

void TMidiTrack::Tempo(std::uint32_t tick, double beatsPerMinute) {
  const auto us = static_cast<std::uint32_t>(std::lround(60000000.0 / beatsPerMinute));
  Add(tick, 0,
      Meta(0x51, {static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>((us >> 8) & 0xFF),
                  static_cast<std::uint8_t>(us & 0xFF)}));
}

void TMidiTrack::TimeSignature(std::uint32_t tick, int beats, int beatUnit) {
  int power = 0;
  while ((1 << power) < beatUnit) ++power;
  Add(tick, 0, Meta(0x58, {Data7(beats), Data7(power), 24, 8}));
}

void TMidiTrack::KeySignature(std::uint32_t tick, int sharps, bool minor) {
  Add(tick, 0, Meta(0x59, {static_cast<std::uint8_t>(static_cast<std::int8_t>(sharps)), minor ? std::uint8_t{1} : std::uint8_t{0}}));
}

void TMidiTrack::Program(std::uint32_t tick, int channel, int program) {
  Add(tick, 1, {Status(0xC0, channel), Data7(program)});
}

void TMidiTrack::Control(std::uint32_t tick, int channel, int controller, int value) {
  Add(tick, 1, {Status(0xB0, channel), Data7(controller), Data7(value)});
}

void TMidiTrack::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
  if (length == 0) return;
  Add(tick, 3, {Status(0x90, channel), Data7(key), Data7(std::clamp(velocity, 1, 127))});
  Add(tick + length, 2, {Status(0x90, channel), Data7(key), 0});
}

std::uint32_t TMidiTrack::LastTick() const {
  std::uint32_t last = EndTick;
  for (const TEvent& e : Events) last = std::max(last, e.Tick);
  return last;
}

std::vector<std::uint8_t> TMidiTrack::Encode() const {
  std::vector<TEvent> sorted = Events;
  std::sort(sorted.begin(), sorted.end(), [](const TEvent& a, const TEvent& b) {
    if (a.Tick != b.Tick) return a.Tick < b.Tick;
    if (a.Order != b.Order) return a.Order < b.Order;
    return a.Sequence < b.Sequence;
  });
  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  std::uint8_t running = 0;
  for (const TEvent& e : sorted) {
    PutVarLen(body, e.Tick - now);
    now = e.Tick;
    const std::uint8_t status = e.Bytes[0];
    if (status < 0xF0 && status == running) {
      body.insert(body.end(), e.Bytes.begin() + 1, e.Bytes.end());
    } else {
      body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
      running = status < 0xF0 ? status : 0;  // meta events cancel running status
    }
  }
  const std::uint32_t end = LastTick();
  PutVarLen(body, end - now);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
  Put32(chunk, static_cast<std::uint32_t>(body.size()));
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> EncodeMidiFile(const std::vector<TMidiTrack>& tracks, int ticksPerQuarter) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  out.push_back(static_cast<std::uint8_t>(tracks.size() >> 8));
  out.push_back(static_cast<std::uint8_t>(tracks.size() & 0xFF));
  out.push_back(static_cast<std::uint8_t>(ticksPerQuarter >> 8));
  out.push_back(static_cast<std::uint8_t>(ticksPerQuarter & 0xFF));
  for (const TMidiTrack& t : tracks) {
    const std::vector<std::uint8_t> chunk = t.Encode();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace pav::soundgen
