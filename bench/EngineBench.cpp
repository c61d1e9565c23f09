// Pushes, the playability check and scrambles on a full 20 x 15 board with 50 tiles.
//
// Targets (medians of repeated runs, see docs/performance.md):
//   a push that moves a row of ten tiles    at most 1 microsecond
//   CheckBoardPlayable on the full board    at most 1 millisecond
//   a scramble of about 400 pushes          at most 1 millisecond
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "engine/GameData.h"
#include "engine/MoveEngine.h"
#include "engine/Scramble.h"
#include "files/RecordsTable.h"

using namespace pav;

namespace {

void AddTurn(TBoard& b, int x, int y, int corner) {
  for (TTurn& t : b.Turns)
    if (t.X == 0) {
      t = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(corner)};
      return;
    }
}

// The full board, 20 x 15, outer ring solid, 50 tiles with faces 1..50:
// - row 2: ten tiles on X 2..11, the rest of the row empty (the push of ten tiles);
// - row 4: ten tiles on X 10..19 against the frame (the refused push);
// - a ring of ten tiles on the track X 2..5, Y 12..14 around the block (3..4, 13),
//   whose corner pieces turn it clockwise (pushed from (2, 12) to the right);
// - tiles on (2..5, 7) and (2, 6): pushed left from (5, 7) the row bends up at the
//   corner piece (1, 8, 2), the tile on (2, 6) enters the jump mouth on (2, 5) and
//   comes out of (10, 9) onto (11, 9), pushing the tiles on (11..12, 9) right;
//   pushing left from (13, 9) takes it all back the same way;
// - thirteen more tiles on X 14..19, Y 10..12.
void BuildFullBoard(TBoard& b) {
  std::memset(&b, 0, sizeof b);
  b.Width = 20;
  b.Height = 15;
  for (int x = 0; x < GridW; ++x)
    for (int y = 0; y < GridH; ++y) b.Cells[x][y] = (x <= 1 || y <= 1 || x >= 20 || y >= 15) ? 1 : 0;
  b.StepsPerMove = 1;
  ClearRecordTable(b.Records, TRecordOrder::Ascending);
  TPattern& p = b.Pattern;
  int face = 0;
  auto tile = [&](int x, int y) { p.Tiles[x][y] = static_cast<std::uint8_t>(++face); };
  for (int x = 2; x <= 11; ++x) tile(x, 2);
  for (int x = 10; x <= 19; ++x) tile(x, 4);
  b.Cells[2][11] = b.Cells[6][12] = b.Cells[3][13] = b.Cells[4][13] = 1;
  AddTurn(b, 3, 13, 1);
  AddTurn(b, 3, 13, 4);
  AddTurn(b, 4, 13, 2);
  AddTurn(b, 4, 13, 3);
  for (int x = 2; x <= 5; ++x) tile(x, 12);
  tile(5, 13);
  for (int x = 5; x >= 2; --x) tile(x, 14);
  tile(2, 13);
  b.Cells[2][5] = b.Cells[2][8] = b.Cells[10][9] = 1;
  AddTurn(b, 1, 8, 2);
  b.Jumps[0] = {2, 5, DirDown, 10, 9, DirRight};
  for (int x = 5; x >= 2; --x) tile(x, 7);
  tile(2, 6);
  tile(11, 9);
  tile(12, 9);
  for (int y = 10; y <= 12 && face < 50; ++y)
    for (int x = 14; x <= 19 && face < 50; ++x) tile(x, y);
}

// A running game on the full board, Game.Current = the board's pattern; the
// objective differs from it so that no push solves the game.
std::unique_ptr<TGameState> FullGame() {
  auto s = std::make_unique<TGameState>();
  BuildFullBoard(s->Game.Board);
  s->Game.Current = s->Game.Board.Pattern;
  s->Game.OP = s->Game.Board.Pattern;
  std::swap(s->Game.OP.Tiles[14][10], s->Game.OP.Tiles[15][10]);
  s->GameRunning = true;
  return s;
}

// The hooks the game gives a shown push, doing nothing: the cost of the calls only.
EngineHooks QuietHooks;

// A push that succeeds every iteration: forward, then the push that takes it back.
void AlternatingPushes(benchmark::State& state, int fx, int fy, int fdir, int bx, int by, int bdir,
                       int tilesMoved) {
  auto s = FullGame();
  TMoveEngine engine(*s, &QuietHooks);
  const bool show = state.range(0) != 0;
  bool forward = true;
  for (auto _ : state) {
    const bool ok = forward ? engine.TryPush(show, show, fx, fy, fdir) : engine.TryPush(show, show, bx, by, bdir);
    if (!ok) {
      state.SkipWithError("a push that should succeed was refused");
      break;
    }
    s->StepCount = 0;
    forward = !forward;
  }
  benchmark::DoNotOptimize(s->Game.Current);
  state.counters["tiles"] = tilesMoved;
}

void BM_PushRowOfTen(benchmark::State& state) { AlternatingPushes(state, 2, 2, DirRight, 12, 2, DirLeft, 10); }
BENCHMARK(BM_PushRowOfTen)->ArgName("show")->Arg(0)->Arg(1);

void BM_PushBendAndJump(benchmark::State& state) { AlternatingPushes(state, 5, 7, DirLeft, 13, 9, DirLeft, 7); }
BENCHMARK(BM_PushBendAndJump)->ArgName("show")->Arg(0)->Arg(1);

void BM_PushRingRotation(benchmark::State& state) {
  auto s = FullGame();
  TMoveEngine engine(*s, &QuietHooks);
  const bool show = state.range(0) != 0;
  for (auto _ : state) {
    if (!engine.TryPush(show, show, 2, 12, DirRight)) {
      state.SkipWithError("the ring did not turn");
      break;
    }
    s->StepCount = 0;
  }
  if (engine.StepRecord.Kind[0] != 1) state.SkipWithError("the push was not a ring");
  benchmark::DoNotOptimize(s->Game.Current);
  state.counters["tiles"] = 10;
}
BENCHMARK(BM_PushRingRotation)->ArgName("show")->Arg(0)->Arg(1);

// A row of ten tiles pushed into the frame: the whole row is traced, then refused.
void BM_PushRefused(benchmark::State& state) {
  auto s = FullGame();
  TMoveEngine engine(*s, &QuietHooks);
  const bool show = state.range(0) != 0;
  for (auto _ : state) {
    if (engine.TryPush(show, show, 10, 4, DirRight)) {
      state.SkipWithError("the push into the frame was made");
      break;
    }
  }
  if (engine.LastResult.Refusal != TPushRefusal::Mark) state.SkipWithError("the push was not refused with a mark");
  benchmark::DoNotOptimize(s->Game.Current);
}
BENCHMARK(BM_PushRefused)->ArgName("show")->Arg(0)->Arg(1);

// A push from an empty cell: refused before any tracing.
void BM_PushFromEmptyCell(benchmark::State& state) {
  auto s = FullGame();
  TMoveEngine engine(*s, &QuietHooks);
  for (auto _ : state) benchmark::DoNotOptimize(engine.TryPush(true, true, 15, 2, DirLeft));
}
BENCHMARK(BM_PushFromEmptyCell);

// The worst single push: a tile fed into a closed ring (X 3..6, Y 3..5 of a
// 10 x 8 board) whose row runs round without coming back to its start, until
// the tracer gives up after 10000 examined cells with the overflow message.
// laps:1 skips the laps that repeat the one before (as the game does), laps:0
// counts every cell.
void BM_PushOverflow(benchmark::State& state) {
  auto s = std::make_unique<TGameState>();
  TBoard& b = s->Game.Board;
  std::memset(&b, 0, sizeof b);
  b.Width = 10;
  b.Height = 8;
  for (int x = 0; x < GridW; ++x)
    for (int y = 0; y < GridH; ++y) b.Cells[x][y] = (x <= 1 || y <= 1 || x >= 10 || y >= 8) ? 1 : 0;
  b.StepsPerMove = 1;
  b.Cells[7][3] = b.Cells[6][6] = b.Cells[2][5] = b.Cells[3][2] = b.Cells[4][4] = b.Cells[5][4] = 1;
  AddTurn(b, 4, 4, 1);
  AddTurn(b, 4, 4, 4);
  AddTurn(b, 5, 4, 2);
  AddTurn(b, 5, 4, 3);
  TPattern& p = b.Pattern;
  int face = 0;
  for (int x = 3; x <= 6; ++x) {
    p.Tiles[x][3] = static_cast<std::uint8_t>(++face);
    p.Tiles[x][5] = static_cast<std::uint8_t>(++face);
  }
  p.Tiles[3][4] = static_cast<std::uint8_t>(++face);
  p.Tiles[6][4] = static_cast<std::uint8_t>(++face);
  p.Tiles[2][3] = static_cast<std::uint8_t>(++face);
  s->Game.Current = p;
  TMoveEngine engine(*s, &QuietHooks);
  engine.SkipRepeatedLaps = state.range(0) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(engine.TryPush(true, true, 2, 3, DirRight));
  if (engine.LastResult.Refusal != TPushRefusal::Overflow) state.SkipWithError("the push did not overflow");
}
BENCHMARK(BM_PushOverflow)->Unit(benchmark::kMicrosecond)->ArgName("laps")->Arg(1)->Arg(0);

// 20 x 15 x 4 = 1200 silent trial pushes, each from the board's own pattern.
void BM_CheckBoardPlayable(benchmark::State& state) {
  auto s = FullGame();
  s->GameRunning = false;
  TMoveEngine engine(*s);
  for (auto _ : state) {
    if (!CheckBoardPlayable(engine)) {
      state.SkipWithError("the full board was found unplayable");
      break;
    }
  }
  state.counters["trials"] = 1200;
}
BENCHMARK(BM_CheckBoardPlayable)->Unit(benchmark::kMicrosecond);

// The computer's scramble at accuracy "Poor": (50 tiles x 4 + r) x 2 = 390..410
// position-changing pushes, plus the candidates that change nothing.
void BM_Scramble400(benchmark::State& state) {
  auto s = FullGame();
  s->GameRunning = false;
  s->HumanTurn = false;
  s->Game.OP = s->Game.Board.Pattern;
  TMoveEngine engine(*s);
  std::mt19937 rng(1234);
  std::int64_t entries = 0;
  for (auto _ : state) {
    CopyPattern(s->Game.Board.Pattern, s->Game.Current);
    if (!ScrambleFromCurrent(engine, rng, 0)) {
      state.SkipWithError("the full board could not be scrambled");
      break;
    }
    entries += ListLength(s->Game.History);
  }
  state.counters["history"] =
      benchmark::Counter(static_cast<double>(entries), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Scramble400)->Unit(benchmark::kMicrosecond);

}  // namespace
