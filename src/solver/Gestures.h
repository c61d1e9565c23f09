// One pointer gesture on the solver's engine, as the tool's replay plays it.
#pragma once

#include <cstdint>

#include "engine/MoveEngine.h"

namespace pav {

// A gesture: the grabbed cell and the direction it is pushed.
struct TSolveGesture {
  int X, Y, Dir;
  bool operator==(const TSolveGesture&) const = default;
};

// What one gesture did.
struct TGestureEnd {
  bool Made = false;     // its first push was made
  bool Counted = false;  // every push of it was made: one move
  bool Solved = false;   // a push left the objective on the board (Counted tells whether that one counted)
};

// Plays the gesture from the engine's current position: the grabbed cell pushed in
// the direction, then again for every further step of the move, stopping at the
// first push that is refused or that solves. pushes counts the pushes tried.
TGestureEnd PlayGesture(TMoveEngine& engine, const TPattern& objective, int x, int y, int dir,
                        std::uint64_t& pushes);

}  // namespace pav
