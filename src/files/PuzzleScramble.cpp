#include "files/PuzzleScramble.h"

#include <memory>
#include <random>

#include "engine/MoveEngine.h"
#include "engine/Scramble.h"

namespace pav {

TPuzzleScramble ScramblePuzzle(const TBoard& board, const TPattern& op, std::uint32_t seed, int pushes) {
  TPuzzleScramble out;
  CopyPattern(op, out.IP);
  ClearList(out.History);
  auto state = std::make_unique<TGameState>();
  TGame& g = state->Game;
  g.Board = board;
  CopyPattern(op, g.OP);
  CopyPattern(op, g.Current);
  state->HumanTurn = true;
  TMoveEngine engine(*state);
  std::mt19937 rng(seed);
  out.Made = pushes > 0 ? ScrambleExactly(engine, rng, pushes) : ScrambleFromCurrent(engine, rng, 1);
  if (out.Made) {
    CopyPattern(g.Current, out.IP);
    out.History = g.History;
  }
  return out;
}

bool ReplayScript(const TBoard& board, const TPattern& ip, const TPattern& op, const TMoveList& script,
                  std::vector<TPushStep>* played) {
  auto state = std::make_unique<TGameState>();
  TGame& g = state->Game;
  g.Board = board;
  CopyPattern(ip, g.Current);
  CopyPattern(op, g.OP);
  g.History = script;
  state->GameRunning = true;
  state->HumanTurn = false;
  TMoveEngine engine(*state);
  const int steps = board.StepsPerMove > 0 ? board.StepsPerMove : 1;
  if (PatternsEqual(g.Current, g.OP)) return true;
  // Every round either pushes an entry or drops one; a round that does neither would
  // repeat for ever, as the computer would.
  for (int round = 0; round < 4 * MoveListSize; ++round) {
    const int i = g.Moves + 1;
    while (i <= ListLength(g.History) && g.Current.Tiles[g.History.X[i - 1]][g.History.Y[i - 1]] == 0)
      DeleteEntry(g.History, i);
    if (i > ListLength(g.History)) return false;
    const int x = g.History.X[i - 1], y = g.History.Y[i - 1], dir = g.History.Dir[i - 1];
    if (played) played->push_back({x, y, dir});
    const TPattern before = g.Current;
    const int movesBefore = g.Moves;
    state->GrabX = static_cast<std::uint8_t>(x);
    state->GrabY = static_cast<std::uint8_t>(y);
    for (int k = 0; k < steps; ++k) {
      engine.TryPush(false, false, x, y, dir);
      if (PatternsEqual(g.Current, g.OP)) return true;
    }
    state->StepCount = 0;
    if (g.Moves == movesBefore && PatternsEqual(g.Current, before)) return false;
  }
  return false;
}

}  // namespace pav
