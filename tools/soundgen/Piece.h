// The description of a piece of music: its key, tempo, instruments and form
// (sections of chords, bar by bar), from which the notes are composed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pav::soundgen {

// How the chords are played by the accompanying instrument.
enum class TCompStyle {
  None,
  Rolling,   // broken chords in eighths, up and down, as on a piano
  Waltz,     // a harp's rising broken chord for every bar of three beats
  Block,     // soft syncopated chords, as on an electric piano
  Ostinato,  // a repeating eighth-note figure in the middle register (mallets)
  Pluck,     // bass note on the beat, chord on the off-beat (plucked strings)
};

enum class TBassStyle { None, RootFifth, Long, Waltz, Pulse };

enum class TDrumStyle { None, Light, Shaker, Brush };

// One instrument: General MIDI program, mixer settings and, for melodies, its range.
struct TVoice {
  int Program = 0;
  int Volume = 100;  // controller 7
  int Pan = 64;      // controller 10
  int Reverb = 50;   // controller 91
  int Chorus = 0;    // controller 93
  int Low = 0;       // lowest and highest note a melody may use
  int High = 127;
};

// Ways a melody is played again.
enum class TVariation {
  Plain,
  Ornamented,  // some long notes give way to passing and neighbour notes
  Harmony,     // the second lead joins a third below
  OctaveUp,    // the second lead plays it an octave higher
};

struct TSection {
  // Chords bar by bar, separated by '|'; a bar may hold two chords. Roman numerals
  // relative to the key's tonic: upper case major, lower case minor, a leading 'b'
  // lowers the root by a semitone; suffixes 7, maj7, add9, sus2, sus4 and 6.
  std::string Bars;
  char Theme = 0;  // 'A', 'B', ... or 0 for no melody
  TVariation Variation = TVariation::Plain;
  bool Comp = true;
  bool Pad = false;
  bool Bass = true;
  bool Drums = false;
  double Dynamics = 1.0;  // scales every velocity
  bool Final = false;     // the closing section: slows down and holds the tonic chord
};

struct TSong {
  std::string Title;
  double Tempo = 90.0;  // quarter notes per minute
  int Beats = 4;        // quarter notes per bar: 3 or 4
  int Tonic = 60;       // the key's tonic near middle C
  bool Minor = false;
  int KeySharps = 0;  // for the key signature: sharps positive, flats negative
  std::uint64_t Seed = 1;
  TVoice Leads[2];
  TVoice Comp, Pad, Bass;
  TCompStyle CompStyle = TCompStyle::Rolling;
  TBassStyle BassStyle = TBassStyle::RootFifth;
  TDrumStyle DrumStyle = TDrumStyle::None;
  int DrumVolume = 70;
  std::vector<TSection> Form;
};

constexpr int TicksPerQuarter = 480;

}  // namespace pav::soundgen
