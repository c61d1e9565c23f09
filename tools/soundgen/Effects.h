// The four sound effects of the game, synthesised from oscillators, envelopes and
// filtered noise.
#pragma once

#include "Dsp.h"

namespace pav::soundgen {

// A short, soft click for every button press (about 45 ms, mono).
TSignal MakeClick();
// A tile sliding over the floor and settling with a dull knock (about 170 ms, mono).
TSignal MakeTileMove();
// A bright rising arpeggio ending on a ringing chord (about 1.4 s, stereo).
TSignal MakePuzzleSolved();
// A gentle falling motif ending on a soft minor chord (about 1.4 s, stereo).
TSignal MakeGameOver();

}  // namespace pav::soundgen
