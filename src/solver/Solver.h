// The fewest moves from one position to another on a board, as the game counts them.
//
// A move is one pointer gesture: a push of the grabbed tile, then StepsPerMove - 1
// more pushes of the same cell in the same direction. The game counts the move only
// when every one of those pushes is made; a gesture whose later pushes are refused
// still changes the position but counts nothing, so it costs nothing here either.
// The game is won as soon as any push leaves the objective on the board, counted or
// not.
//
// With moves of cost 0 and 1 the search goes breadth-first by layers of equal
// count: a layer is finished, through all its gestures of cost 0, before the next
// one begins, so the first count at which the objective turns up is the fewest.
// No estimate of the distance left is used: one move can shift a whole row, turn a
// ring or carry tiles through a jump, so no count of misplaced tiles bounds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Pattern.h"
#include "files/Records.h"
#include "solver/Gestures.h"

namespace pav {

struct TSolveLimits {
  double Seconds = 10.0;                         // 0: no limit
  std::size_t MaxBytes = std::size_t{2} << 30;  // the positions seen and the layers
};

enum class TSolveStatus {
  Optimal,     // Solution has the fewest moves
  NotProven,   // stopped by a limit: LowerBound is proven, Solution (if any) is the best found
  NoSolution,  // every position that can be reached was seen; the objective is not one of them
};

struct TSolveResult {
  TSolveStatus Status = TSolveStatus::NoSolution;
  int Moves = -1;  // the counted moves of Solution; -1 when no solution is known
  std::vector<TSolveGesture> Solution;
  int LowerBound = -1;  // no solution has fewer moves; -1 when there is none at all
  std::string StoppedBy;  // "time" or "memory" when a limit stopped the search

  std::uint64_t Pushes = 0;     // pushes tried
  std::uint64_t Positions = 0;  // different positions seen
  double Seconds = 0;
  std::size_t PeakBytes = 0;
};

TSolveResult Solve(const TBoard& board, const TPattern& start, const TPattern& objective,
                   const TSolveLimits& limits = {});

// Plays gestures from start as the game does with a running game (the tool's
// replay). Returns the moves counted up to the push that reached the objective, or
// -1 when no push did.
int ReplaySolution(const TBoard& board, const TPattern& start, const TPattern& objective,
                   const std::vector<TSolveGesture>& gestures);

const char* StatusName(TSolveStatus s);

}  // namespace pav
