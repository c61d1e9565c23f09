// Puzzles whose initial pattern is a scramble of their objective (`ip scramble` in
// their text), and the replay of a scramble as the computer makes it.
#pragma once

#include <cstdint>
#include <vector>

#include "files/Records.h"

namespace pav {

// One push of a move list: the cell pushed and the direction.
struct TPushStep {
  int X = 0;
  int Y = 0;
  int Dir = 0;
};

struct TPuzzleScramble {
  TPattern IP;              // the scrambled position (tiles and links)
  TMoveList History;        // the pushes that lead back, the first one undoing the last push
  bool Made = false;        // false when no push can change the objective on this board
};

// Scrambles `op` on `board` as the game scrambles a random initial pattern, with the
// generator std::mt19937(seed). pushes = 0: as many pushes as the game makes
// (ScrambleFromCurrent); otherwise exactly that many position-changing pushes, drawn
// by the same rules. Either way the result differs from `op`.
TPuzzleScramble ScramblePuzzle(const TBoard& board, const TPattern& op, std::uint32_t seed, int pushes);

// Replays `script` from `ip` as the computer replays its own scramble: entries whose
// cell holds no tile are dropped, every other entry is pushed StepsPerMove times.
// Returns true when the position reaches `op`; `played` (may be null) gets the
// entries that were pushed.
bool ReplayScript(const TBoard& board, const TPattern& ip, const TPattern& op, const TMoveList& script,
                  std::vector<TPushStep>* played);

}  // namespace pav
