#include "engine/Scramble.h"

#include <chrono>

namespace pav {

namespace {

int RandomInt(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// Consecutive candidate pushes that change nothing before a scramble gives up.
constexpr int MaxFruitlessTries = 20000;
// Whole scrambles that end on the objective before one gives up.
constexpr int MaxReruns = 200;

}  // namespace

bool CheckBoardPlayable(TMoveEngine& engine) {
  TGame& g = engine.State().Game;
  bool result = false;
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      for (int dir = 1; dir <= 4; ++dir) {
        CopyPattern(g.Board.Pattern, g.Current);
        engine.TryPush(false, false, x, y, dir);
        if (!PatternsEqual(g.Current, g.Board.Pattern)) result = true;
      }
  return result;
}

bool ScrambleFromCurrent(TMoveEngine& engine, std::mt19937& rng, int computerAccuracy, long maxTries) {
  TGameState& s = engine.State();
  TGame& g = s.Game;
  const TPattern start = g.Current;
  const int stepsPerMove = g.Board.StepsPerMove > 0 ? g.Board.StepsPerMove : 1;
  const int width = g.Board.Width, height = g.Board.Height;
  if (width < 3 || height < 3) return false;

  long tries = 0;
  for (int run = 0; run < MaxReruns && tries < maxTries; ++run) {
    const int r = RandomInt(rng, 0, 10) - 5;
    ClearList(g.History);
    int count = CountTiles(g.Current) * 4 / stepsPerMove + r;
    if (!s.HumanTurn) {
      if (computerAccuracy == 0)
        count *= 2;
      else if (computerAccuracy == 2)
        count = static_cast<int>(count * 0.3);
    }
    if (count < 5) count = 5;

    int done = 0, fruitless = 0, x = 0, y = 0, dir = 0;
    while (done < count) {
      if (++tries > maxTries) break;
      const int k = RandomInt(rng, 0, 2);
      if (!(k == 2 && done != 0)) {
        x = 2 + RandomInt(rng, 0, width - 3);
        y = 2 + RandomInt(rng, 0, height - 3);
        dir = 1 + RandomInt(rng, 0, 3);
      }
      const TPattern before = g.Current;
      if (engine.TryPush(false, false, x, y, dir) && !PatternsEqual(g.Current, before)) {
        ++done;
        fruitless = 0;
        FilterSteps(engine.StepRecord);
        AppendList(g.History, engine.StepRecord);
        for (int i = 1; i < stepsPerMove; ++i) engine.TryPush(false, false, x, y, dir);
      } else if (++fruitless >= MaxFruitlessTries) {
        g.Current = start;
        ClearList(g.History);
        return false;
      }
    }
    if (done == count && !PatternsEqual(g.Current, g.OP)) {
      s.ScrambleLength = ListLength(g.History);
      ReverseList(g.History);
      return true;
    }
  }
  g.Current = start;
  ClearList(g.History);
  return false;
}

bool ScrambleFromCurrent(TMoveEngine& engine, int computerAccuracy) {
  std::mt19937 rng(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return ScrambleFromCurrent(engine, rng, computerAccuracy);
}

}  // namespace pav
