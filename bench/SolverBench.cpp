// The solver: pushes and positions a second on boards whose whole search is known.
//
// Targets (see docs/performance.md): at least a million pushes a second; every
// shipped puzzle proven within 10 s and 2 GiB, or answered with both bounds
// (bench/measure_solver.sh).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "engine/MoveEngine.h"
#include "solver/Solver.h"

using namespace pav;

namespace {

// A board drawn as rows: '#' solid, '.' floor, '1'..'9' and 'a'..'z' faces.
std::unique_ptr<TBoard> Board(const char* const* rows, int height, int steps) {
  auto b = std::make_unique<TBoard>();
  std::memset(b.get(), 0, sizeof(TBoard));
  b->Height = static_cast<std::uint8_t>(height);
  b->Width = static_cast<std::uint8_t>(std::strlen(rows[0]));
  b->StepsPerMove = static_cast<std::uint8_t>(steps);
  for (int y = 1; y <= height; ++y)
    for (int x = 1; x <= b->Width; ++x) {
      const char c = rows[y - 1][x - 1];
      b->Cells[x][y] = c == '#' ? 1 : 0;
      b->Pattern.Tiles[x][y] = static_cast<std::uint8_t>(c >= '1' && c <= '9' ? c - '0' : c >= 'a' && c <= 'z' ? c - 'a' + 10 : 0);
    }
  return b;
}

// The position after a walk of gestures from the board's own pattern, each picked
// among those that move tiles, never straight back to the position before.
TPattern Walk(const TBoard& board, int gestures) {
  auto s = std::make_unique<TGameState>();
  s->Game.Board = board;
  s->Game.Current = board.Pattern;
  TMoveEngine engine(*s);
  TPattern previous = board.Pattern;
  std::uint32_t seed = 12345;
  for (int step = 0; step < gestures; ++step) {
    const TPattern before = s->Game.Current;
    TPattern options[MaxCols * MaxRows * 4];
    int n = 0;
    for (int x = 1; x <= board.Width; ++x)
      for (int y = 1; y <= board.Height; ++y)
        for (int d = 1; d <= 4; ++d) {
          s->Game.Current = before;
          s->StepCount = 0;
          bool moved = false;
          for (int i = 0; i < board.StepsPerMove; ++i) moved = engine.TryPush(false, false, x, y, d) || moved;
          if (moved && !PatternsEqual(s->Game.Current, previous)) options[n++] = s->Game.Current;
        }
    previous = before;
    seed = seed * 1103515245u + 12345u;
    s->Game.Current = options[(seed >> 16) % static_cast<std::uint32_t>(n)];
  }
  return s->Game.Current;
}

void Report(benchmark::State& state, const TSolveResult& r) {
  state.counters["pushes/s"] = benchmark::Counter(static_cast<double>(r.Pushes), benchmark::Counter::kIsRate);
  state.counters["positions/s"] = benchmark::Counter(static_cast<double>(r.Positions), benchmark::Counter::kIsRate);
  state.counters["positions"] = static_cast<double>(r.Positions);
  state.counters["moves"] = r.Moves;
  state.counters["gestures"] = static_cast<double>(r.Solution.size());
}

// The 4 x 4 board with one gap, the objective a walk of 24 gestures away.
void BM_SolveFifteen(benchmark::State& state) {
  const char* const rows[] = {"######", "#1234#", "#5678#", "#9abc#", "#def.#", "######"};
  const auto board = Board(rows, 6, 1);
  const TPattern objective = Walk(*board, 24);
  for (auto _ : state) {
    const TSolveResult r = Solve(*board, board->Pattern, objective, TSolveLimits{0, std::size_t{1} << 31});
    if (r.Status != TSolveStatus::Optimal) state.SkipWithError("not proven");
    Report(state, r);
  }
}
BENCHMARK(BM_SolveFifteen)->Unit(benchmark::kMillisecond)->Iterations(3);

// A ring around a block with two gaps, two pushes a move: a lone tile slid into a gap
// leaves its cell empty, so its second push fails and the gesture counts nothing.
// The fewest moves are 0, over many gestures, all weighed at no cost.
void BM_SolveRingTwoStepsAMove(benchmark::State& state) {
  const char* const rows[] = {"#######", "#12.34#", "#c###5#", "#b###.#", "#a.987#", "#######"};
  auto board = Board(rows, 6, 2);
  const int turns[4][3] = {{3, 3, 1}, {5, 3, 2}, {5, 4, 3}, {3, 4, 4}};
  for (int i = 0; i < 4; ++i)
    board->Turns[i] = {static_cast<std::uint8_t>(turns[i][0]), static_cast<std::uint8_t>(turns[i][1]),
                       static_cast<std::uint8_t>(turns[i][2])};
  const TPattern objective = Walk(*board, 40);
  for (auto _ : state) {
    const TSolveResult r = Solve(*board, board->Pattern, objective, TSolveLimits{0, std::size_t{1} << 31});
    if (r.Status != TSolveStatus::Optimal) state.SkipWithError("not proven");
    Report(state, r);
  }
}
BENCHMARK(BM_SolveRingTwoStepsAMove)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
