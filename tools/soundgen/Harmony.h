// Keys, chords and scales of the composed music: the chords a piece names bar by
// bar, the scale that sounds over each chord, and steps along a set of notes.
#pragma once

#include <string>
#include <vector>

#include "Piece.h"

namespace pav::soundgen {

// The pitch class of a note, 0..11.
inline int Pc(int note) { return ((note % 12) + 12) % 12; }

// A chord: its root and tones as pitch classes, and its intervals.
struct TChord {
  int Root = 0;            // pitch class
  std::vector<int> Tones;  // pitch classes, root first
  int Third = 4;           // intervals above the root
  int Fifth = 7;
  int Seventh = -1;  // -1 when absent
  int Added = -1;    // an added ninth or sixth, -1 when absent

  bool operator==(const TChord& o) const { return Root == o.Root && Tones == o.Tones; }
};

// A chord and the part of its bar it fills, in eighths.
struct TSpan {
  TChord Chord;
  int From = 0;
  int To = 0;
};

// One bar: its chords, and the chord that sounds at an eighth of it.
struct TBar {
  std::vector<TSpan> Spans;
  const TChord& At(int slot) const {
    for (const TSpan& s : Spans)
      if (slot >= s.From && slot < s.To) return s.Chord;
    return Spans.back().Chord;
  }
};

// The bars of a section (TSection::Bars) in the key whose tonic has pitch class
// tonicPc: each bar's chords and the eighths they fill.
std::vector<TBar> ParseBars(const std::string& bars, int tonicPc, int beats);

// The pitch classes of the piece's key, tonic first.
std::vector<int> ScaleOf(const TSong& song);

// The scale as it sounds over a chord: a chord tone foreign to the key takes the
// place of the scale note it alters (a raised note in a minor key replaces the note
// below it, a lowered note in a major key the note above it).
std::vector<int> ScaleOver(const std::vector<int>& scale, const TChord& chord, bool minorKey);

// Whether the note's pitch class is one of the set.
bool In(const std::vector<int>& pcs, int note);

// Moves `steps` notes of the set up (positive) or down (negative).
int Step(int note, int steps, const std::vector<int>& pcs);

// The nearest note of the set; on a tie the one in direction `prefer`.
int Nearest(int note, const std::vector<int>& pcs, int prefer);

// The first note of the set from `note` on, going in direction `dir`.
int Toward(int note, const std::vector<int>& pcs, int dir);

// The note of pitch class `pc` nearest to `near`, within low..high when possible.
int NearestOfClass(int pc, int near, int low, int high);

}  // namespace pav::soundgen
