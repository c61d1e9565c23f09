// The clock and the limits of a running game: the counters under the board, the
// tick of the game clock, and the time and moves limits, the puzzle's own and, in
// the second turn against the computer, the first player's.
#pragma once

#include <cstdint>
#include <string>

namespace pav {

// Redraws the counter strip under the board: moves in slot 9, seconds in slot 3.
void UpdateCounters();
// One tick of the game clock (TimerGame, every second).
void TimerGameTick();
// After a completed move that did not solve the puzzle.
void CheckMoveLimits();

enum class TLimitKind { Time, Moves };
// "Time limit reached in " + CR + S + " Seconds." or "Moves limit reached in " + CR + M + " Moves."
std::string LimitReachedText(TLimitKind kind, std::int32_t seconds, std::int32_t moves);

}  // namespace pav
