// The melodies of the composed music: themes of one motif a bar, laid over a
// section's chords, and the ways a theme is played again.
#pragma once

#include <cstdint>
#include <vector>

#include "Piece.h"
#include "Harmony.h"

namespace pav::soundgen {

inline constexpr int Eighth = TicksPerQuarter / 2;

// The seeded random source of a piece: the same seed gives the same notes.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  std::uint32_t Next() {
    State ^= State >> 12;
    State ^= State << 25;
    State ^= State >> 27;
    return static_cast<std::uint32_t>((State * 0x2545F4914F6CDD1Dull) >> 32);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  bool Chance(double p) { return Next() < p * 4294967296.0; }
  int Spread(int amount) { return Below(2 * amount + 1) - amount; }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Below(static_cast<int>(v.size())))];
  }

 private:
  std::uint64_t State;
};

// One bar of a melody: its rhythm in eighths (a negative value is a rest) and the
// step, in notes of the scale, from each note to the next.
struct TMotif {
  std::vector<int> Rhythm;
  std::vector<int> Steps;  // one per sounding note; the first leads from the previous bar
  bool Cadence = false;    // ends a phrase on a long, stable note
  bool Closing = false;    // the cadence that ends the theme
};

struct TTheme {
  std::vector<TMotif> Bars;
  // The height of each bar's first note, in notes of the scale above or below the
  // theme's first note: the arc the phrases follow.
  std::vector<int> Arc;
  int StartDegree = 2;  // scale degree of the first note: 0 tonic, 2 third, 4 fifth
};

struct TNote {
  int Tick = 0;
  int Length = 0;
  int Key = 0;
  int Velocity = 0;
  std::vector<int> Scale;  // the scale over the chord under the note
  std::vector<int> Chord;  // the chord tones under it
  bool Strong = false;     // on the first beat, or the third of four
  bool Held = false;       // in a cadence bar: kept as it is by variations
};

struct TMelodyContext {
  const TSong& Song;
  std::vector<int> Scale;
  int TonicPc;
};

// A theme of barCount bars of `beats` quarter notes; a lyrical one moves more
// smoothly and starts on the fifth.
TTheme MakeTheme(TRandom& rng, int barCount, int beats, bool lyrical);

// The theme over the bars of one section, from section tick `base`, in `range`.
std::vector<TNote> Realise(const TTheme& theme, const std::vector<TBar>& bars, const TMelodyContext& ctx,
                           const TVoice& voice, int base, TRandom& rng);

// Some long notes give part of their time to a passing or neighbour note.
std::vector<TNote> Ornament(const std::vector<TNote>& in, TRandom& rng);

// A second voice a third below, on chord tones where the melody is on one.
std::vector<TNote> ThirdBelow(const std::vector<TNote>& in);

}  // namespace pav::soundgen
