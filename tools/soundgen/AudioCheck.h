// Readers that take wave and MIDI files apart strictly, for the tests of the
// generated sound effects and music. They share no code with the writers.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace pav::soundgen::check {

class EFileFormat : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TWaveInfo {
  int Channels = 0;
  int SampleRate = 0;
  int BitsPerSample = 0;
  std::size_t Frames = 0;
  double Seconds = 0.0;
  std::vector<std::int16_t> Samples;  // interleaved
  int Peak() const;                   // largest absolute sample
  double MeanOffset() const;          // average sample, as a share of full scale
};

// A RIFF/WAVE file of 16-bit PCM. Unknown chunks are skipped (with their pad byte);
// the RIFF size, the format fields and the data size must agree with each other
// and with the file.
TWaveInfo ReadWave(const std::vector<std::uint8_t>& bytes);

struct TMidiNote {
  int Track = 0;
  int Channel = 0;
  int Key = 0;
  int Velocity = 0;
  std::uint32_t On = 0;
  std::uint32_t Off = 0;
};

struct TMidiInfo {
  int Format = 0;
  int Division = 0;  // ticks per quarter note
  int TrackCount = 0;
  std::vector<TMidiNote> Notes;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Tempos;  // tick, microseconds per quarter
  std::map<int, std::uint32_t> FirstProgram;                   // channel -> tick of its first program change
  std::map<int, std::uint32_t> FirstNote;                      // channel -> tick of its first note
  std::uint32_t EndTick = 0;                                   // latest end-of-track
  bool HasKey = false;
  int KeySharps = 0;
  bool KeyMinor = false;
  int HangingNotes = 0;     // notes still sounding at their track's end
  int UnmatchedOffs = 0;    // releases of notes that were not sounding

  // Seconds from the start to `tick`, through the tempo changes (120 per minute
  // until the first tempo event).
  double SecondsAt(std::uint32_t tick) const;
  double Seconds() const { return SecondsAt(EndTick); }
  // Pitch class of the key's tonic, from the key signature.
  int TonicPitchClass() const;
};

// A Standard MIDI File of format 0 or 1 with ticks-per-quarter timing. Every
// chunk length must hold its content exactly, each track must end with one
// end-of-track event, and running status is followed as the format defines it
// (meta and system-exclusive events cancel it). Unknown chunks are skipped.
TMidiInfo ReadMidi(const std::vector<std::uint8_t>& bytes);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

}  // namespace pav::soundgen::check
