// Writing Standard MIDI Files (format 1), with running status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pav::soundgen {

class TMidiTrack {
 public:
  // Meta events.
  void Name(std::uint32_t tick, const std::string& text);
  void Text(std::uint32_t tick, int type, const std::string& text);
  void Tempo(std::uint32_t tick, double beatsPerMinute);
  void TimeSignature(std::uint32_t tick, int beats, int beatUnit);
  // Sharps (positive) or flats (negative), and whether the key is minor.
  void KeySignature(std::uint32_t tick, int sharps, bool minor);
  // Channel events; channels are 0..15.
  void Program(std::uint32_t tick, int channel, int program);
  void Control(std::uint32_t tick, int channel, int controller, int value);
  // A note from `tick` for `length` ticks. The release is written as a note-on of
  // velocity 0.
  void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
  // The end-of-track event is put at the last event, or at `tick` if that is later.
  void EndAt(std::uint32_t tick) { EndTick = tick; }

  // The MTrk chunk.
  std::vector<std::uint8_t> Encode() const;
  std::uint32_t LastTick() const;

 private:
  struct TEvent {
    std::uint32_t Tick;
    int Order;  // events of one tick: meta, then controls, then releases, then notes
    std::uint32_t Sequence;
    std::vector<std::uint8_t> Bytes;
  };
  void Add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);
  std::vector<TEvent> Events;
  std::uint32_t EndTick = 0;
};

// MThd (format 1, the given ticks per quarter note) followed by the tracks.
std::vector<std::uint8_t> EncodeMidiFile(const std::vector<TMidiTrack>& tracks, int ticksPerQuarter);

}  // namespace pav::soundgen
