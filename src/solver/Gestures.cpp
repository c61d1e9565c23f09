#include "solver/Gestures.h"

namespace pav {

TGestureEnd PlayGesture(TMoveEngine& engine, const TPattern& objective, int x, int y, int dir,
                        std::uint64_t& pushes) {
  TGameState& s = engine.State();
  const int steps = s.Game.Board.StepsPerMove;
  TGestureEnd end;
  s.StepCount = 0;
  for (int i = 1; i <= steps; ++i) {
    ++pushes;
    if (!engine.TryPush(false, false, x, y, dir)) break;
    end.Made = true;
    end.Counted = i == steps;
    if (PatternsEqual(s.Game.Current, objective)) {
      end.Solved = true;
      break;
    }
  }
  s.StepCount = 0;
  return end;
}

}  // namespace pav
