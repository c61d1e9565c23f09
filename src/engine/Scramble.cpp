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

namespace {

// The scramble itself: runs of random pushes, each run as long as `runLength` says
// (it may draw from `rng`), until a run of that many position-changing pushes ends
// away from the objective. A candidate push is a random floor cell and direction, or,
// after the first change, the last candidate again with one chance in three; a push
// that changes the position is repeated to make a whole move of StepsPerMove pushes.
template <class RunLength>
bool Scramble(TMoveEngine& engine, std::mt19937& rng, RunLength runLength, long maxTries) {
  TGameState& s = engine.State();
  TGame& g = s.Game;
  const TPattern start = g.Current;
  const int stepsPerMove = g.Board.StepsPerMove > 0 ? g.Board.StepsPerMove : 1;
  const int width = g.Board.Width, height = g.Board.Height;
  if (width < 3 || height < 3) return false;

  long tries = 0;
  for (int run = 0; run < MaxReruns && tries < maxTries; ++run) {
    const int count = runLength();
    ClearList(g.History);
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

}  // namespace

bool ScrambleFromCurrent(TMoveEngine& engine, std::mt19937& rng, int computerAccuracy, long maxTries) {
  const TGameState& s = engine.State();
  const int stepsPerMove = s.Game.Board.StepsPerMove > 0 ? s.Game.Board.StepsPerMove : 1;
  // Each run is about four pushes a tile, give or take five; the computer's scramble
  // is longer when it plays poorly and shorter when it plays well.
  const auto runLength = [&] {
    const int r = RandomInt(rng, 0, 10) - 5;
    int count = CountTiles(s.Game.Current) * 4 / stepsPerMove + r;
    if (!s.HumanTurn) {
      if (computerAccuracy == 0)
        count *= 2;
      else if (computerAccuracy == 2)
        count = static_cast<int>(count * 0.3);
    }
    return count < 5 ? 5 : count;
  };
  return Scramble(engine, rng, runLength, maxTries);
}

bool ScrambleExactly(TMoveEngine& engine, std::mt19937& rng, int count, long maxTries) {
  return Scramble(engine, rng, [count] { return count; }, maxTries);
}

bool ScrambleFromCurrent(TMoveEngine& engine, int computerAccuracy) {
  std::mt19937 rng(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return ScrambleFromCurrent(engine, rng, computerAccuracy);
}

}  // namespace pav
