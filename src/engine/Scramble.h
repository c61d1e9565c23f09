// Random initial patterns and the playability check of a board.
#pragma once

#include <random>

#include "engine/MoveEngine.h"

namespace pav {

// Candidate pushes one scramble may try in all before it gives up. A scramble of
// a sound board tries a few thousand; without a bound, a board on which every
// scramble comes back to the objective (a single push and its undoing, made an
// even number of times) would be rerun 200 times at up to 2 400 pushes each,
// hundreds of tries apiece: many seconds of a frozen window.
inline constexpr long MaxScrambleTries = 10'000'000;

// True when at least one push changes the board's own pattern. Every trial starts
// from Board.Pattern; Game.Current is left as the last trial left it.
bool CheckBoardPlayable(TMoveEngine& engine);

// Turns Game.Current into a random position reachable from it and leaves in
// Game.History the pushes that lead back (the first entry undoes the last push).
// computerAccuracy (0..2) lengthens or shortens the scramble when HumanTurn is false.
// Returns false, with Game.Current and Game.History as they were before the call,
// when no push can change the position (the board cannot be scrambled), or when
// maxTries candidate pushes, counted over all the reruns, have not made a scramble.
bool ScrambleFromCurrent(TMoveEngine& engine, std::mt19937& rng, int computerAccuracy,
                         long maxTries = MaxScrambleTries);
// The same, seeded from the clock.
bool ScrambleFromCurrent(TMoveEngine& engine, int computerAccuracy);
// The same scramble with exactly `count` (> 0) position-changing pushes in each run,
// as authors ask for puzzles of a given length.
bool ScrambleExactly(TMoveEngine& engine, std::mt19937& rng, int count, long maxTries = MaxScrambleTries);

// The message of a board that cannot be scrambled.
inline constexpr const char* UnableToScrambleMessage =
    "Unable to scramble the Board. Plase verify its playability with the Board Editor.";

}  // namespace pav
