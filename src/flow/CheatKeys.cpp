#include "flow/CheatKeys.h"

#include <algorithm>
#include <chrono>

#include "app/AppState.h"
#include "flow/FlowShared.h"
#include "flow/GameClock.h"
#include "media/Effects.h"
#include "render/Renderer.h"

namespace pav {

namespace {

// Random moves tried from the objective before it counts as one no move changes.
constexpr int MaxSolutionTries = 10000;

bool InGrid(int x, int y) { return x >= 1 && x <= MaxCols && y >= 1 && y <= MaxRows; }

int Draw(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// Pushes made for the player by a key are no moves of the game: while this lives, the
// engine sees no running game, so it counts no move, checks no limit and reports no
// solved puzzle.
class TUncountedPushes {
 public:
  explicit TUncountedPushes(TGameState& state) : State(state), Running(state.GameRunning) {
    State.GameRunning = false;
  }
  ~TUncountedPushes() { State.GameRunning = Running; }
  TUncountedPushes(const TUncountedPushes&) = delete;
  TUncountedPushes& operator=(const TUncountedPushes&) = delete;

 private:
  TGameState& State;
  bool Running;
};

}  // namespace

THint HintAt(const TPattern& current, const TPattern& objective, int width, int height, int column, int row) {
  THint hint;
  if (!InGrid(column, row)) return hint;
  hint.Tile = current.Tiles[column][row];
  if (hint.Tile == 0) return hint;
  const int lastColumn = std::min(width - 1, MaxCols), lastRow = std::min(height - 1, MaxRows);
  for (int x = 2; x <= lastColumn; ++x)
    for (int y = 2; y <= lastRow; ++y)
      if (objective.Tiles[x][y] == hint.Tile) hint.Cells.push_back({x, y});
  return hint;
}

bool TakeBackMove() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TMoveList& history = g.History;
  int n = ListLength(history);
  // The scramble's entries stay as they are, also those whose tile is gone: the
  // player's moves always follow them.
  for (;; n = ListLength(history)) {
    if (n == 0 || n >= MoveListSize || n <= s.ScrambleLength) return false;
    const int x = history.X[n - 1], y = history.Y[n - 1];
    if (InGrid(x, y) && g.Current.Tiles[x][y] != 0) break;
    DeleteEntry(history, n);
  }
  const int x = history.X[n - 1], y = history.Y[n - 1], dir = history.Dir[n - 1];
  s.GrabX = static_cast<std::uint8_t>(x);
  s.GrabY = static_cast<std::uint8_t>(y);
  {
    TUncountedPushes uncounted(s);
    for (int i = 0; i < g.Board.StepsPerMove; ++i) app.Engine->TryPush(true, true, x, y, dir);
  }
  DeleteEntry(history, n);
  UpdateCounters();
  s.StepCount = 0;
  return true;
}

void LowerMovesCounter() {
  std::int32_t& moves = App().Game().Moves;
  if (moves != 0) --moves;
  UpdateCounters();
  PlayEffect(TEffect::Click);
}

void LowerSecondsCounter() {
  std::int32_t& seconds = App().Game().Seconds;
  if (seconds != 0) --seconds;
  UpdateCounters();
  PlayEffect(TEffect::Click);
}

bool OneMoveFromSolution(std::mt19937& rng) {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const int width = g.Board.Width, height = g.Board.Height;
  if (width < 3 || height < 3) return false;
  const TPattern before = g.Current;
  const std::uint8_t stepCount = s.StepCount, grabX = s.GrabX, grabY = s.GrabY;

  bool found = false;
  {
    TUncountedPushes uncounted(s);
    for (int tries = 0; tries < MaxSolutionTries && !found; ++tries) {
      CopyPattern(g.OP, g.Current);
      const int x = Draw(rng, 2, width - 1), y = Draw(rng, 2, height - 1), dir = Draw(rng, 1, 4);
      if (!app.Engine->TryPush(false, false, x, y, dir) || PatternsEqual(g.Current, g.OP)) continue;
      for (int i = 1; i < g.Board.StepsPerMove; ++i) app.Engine->TryPush(false, false, x, y, dir);
      // A move that comes back to the objective is no move away from it.
      found = !PatternsEqual(g.Current, g.OP);
    }
  }
  if (!found) {
    g.Current = before;
    s.StepCount = stepCount;
    s.GrabX = grabX;
    s.GrabY = grabY;
    return false;
  }
  ClearList(g.History);
  s.ScrambleLength = 0;
  s.StepCount = 0;
  g.Moves = std::max(0, g.Moves - 1);
  DrawBoard(true);
  RepaintMain();
  PlayEffect(TEffect::Click);
  return true;
}

bool OneMoveFromSolution() {
  static std::mt19937 rng(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return OneMoveFromSolution(rng);
}

}  // namespace pav
