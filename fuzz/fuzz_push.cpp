// Pushes on fuzzed boards. The input is a board (the fields the engine reads, see
// FuzzSupport.h), an options byte and a list of pushes. A board that CheckBoard
// refuses is never played. Each push is one gesture of the player: TryPush with
// Show set, then StepsPerMove - 1 more pushes of the same cell when it succeeds.
//
// Checked on every push:
// - the result agrees with LastResult, and the hooks are called in the game's order;
// - a refused push leaves Game.Current and Game.Moves exactly as they were;
// - an overflow is the one the full count of cells gives (no lap skipped);
// - a successful push keeps the count of every tile face on X 1..20, Y 1..15;
// - a straight push (no corner piece, no jump, no glued tile) is undone exactly
//   by the push its StepRecord names.
// With the "heavy" option also CheckBoardPlayable and a scramble with a fixed seed:
// - a scramble succeeds only on a playable board, keeps the tile faces, does not
//   end on the objective and leaves ScrambleLength = the length of History;
// - on boards without corner pieces, jumps and links, replaying History leads back
//   (when the whole scramble fits in it).
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "engine/MoveEngine.h"
#include "engine/Scramble.h"
#include "files/GameFiles.h"

using namespace pav;
using namespace pav::fuzz;

namespace {

enum class Call { Mark, Overflow, Sound, Counters, Floor, Highlight, Solved, Limits };

class RecordingHooks : public EngineHooks {
 public:
  std::vector<Call> Calls;
  int MarkX = 0, MarkY = 0, MarkKind = 0;
  std::string Overflow;

  void ShowInvalidMark(int x, int y, int kind) override {
    Calls.push_back(Call::Mark);
    MarkX = x;
    MarkY = y;
    MarkKind = kind;
  }
  void OverflowMessage(const std::string& text) override {
    Calls.push_back(Call::Overflow);
    Overflow = text;
  }
  void PlayMoveSound() override { Calls.push_back(Call::Sound); }
  void RedrawCounters() override { Calls.push_back(Call::Counters); }
  void RedrawFloor() override { Calls.push_back(Call::Floor); }
  void HighlightFlowElements(const TTripleList&, const TTripleList&) override { Calls.push_back(Call::Highlight); }
  void PuzzleSolved() override { Calls.push_back(Call::Solved); }
  void CheckLimits() override { Calls.push_back(Call::Limits); }
};

using TFaceCounts = std::array<int, 256>;

TFaceCounts Faces(const TPattern& p) {
  TFaceCounts n{};
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y) ++n[p.Tiles[x][y]];
  return n;
}

bool NoFlowElements(const TBoard& b) { return b.Jumps[0].X1 == 0 && b.Turns[0].X == 0; }

// The state and engine are large; keep one of each for the whole run.
TGameState& MainState() {
  static auto* s = new TGameState;
  return *s;
}
TGameState& ScratchState() {
  static auto* s = new TGameState;
  return *s;
}

// An overflow found with repeated laps skipped is the one of the full count: the
// same message, the same last cell and the same work lists.
void CheckFullCount(TMoveEngine& engine, int x, int y, int dir) {
  const TGameState& s = engine.State();
  TGameState& t = ScratchState();
  std::memcpy(&t.Game.Board, &s.Game.Board, sizeof s.Game.Board);
  t.Game.Current = s.Game.Current;
  t.GameRunning = false;
  t.StepCount = 0;
  TMoveEngine full(t);
  full.SkipRepeatedLaps = false;
  PAV_FUZZ_CHECK(!full.TryPush(false, false, x, y, dir));
  PAV_FUZZ_CHECK(full.LastResult.Refusal == TPushRefusal::Overflow);
  PAV_FUZZ_CHECK(full.LastResult.Message == engine.LastResult.Message);
  PAV_FUZZ_CHECK(full.LastRowX == engine.LastRowX && full.LastRowY == engine.LastRowY);
  PAV_FUZZ_CHECK(SameTriples(full.MovingCells, engine.MovingCells));
  PAV_FUZZ_CHECK(SameTriples(full.LinkedStarts, engine.LinkedStarts));
  PAV_FUZZ_CHECK(SameTriples(full.UsedJumps, engine.UsedJumps));
  PAV_FUZZ_CHECK(SameTriples(full.UsedTurns, engine.UsedTurns));
}

// One push with every check. Returns TryPush's result.
bool CheckedPush(TMoveEngine& engine, RecordingHooks& hooks, bool sound, int x, int y, int dir) {
  TGameState& s = engine.State();
  TGame& g = s.Game;
  const TPattern before = g.Current;
  const std::int32_t movesBefore = g.Moves;
  hooks.Calls.clear();

  const bool ok = engine.TryPush(true, sound, x, y, dir);
  const TPushResult& r = engine.LastResult;
  PAV_FUZZ_CHECK(ok == (r.Refusal == TPushRefusal::None));

  if (!ok) {
    PAV_FUZZ_CHECK(std::memcmp(&before, &g.Current, sizeof before) == 0);
    PAV_FUZZ_CHECK(g.Moves == movesBefore);
    switch (r.Refusal) {
      case TPushRefusal::Mark:
        PAV_FUZZ_CHECK(r.MarkKind >= 1 && r.MarkKind <= 6);
        PAV_FUZZ_CHECK(hooks.Calls.size() == 1 && hooks.Calls[0] == Call::Mark);
        PAV_FUZZ_CHECK(hooks.MarkX == r.MarkX && hooks.MarkY == r.MarkY && hooks.MarkKind == r.MarkKind);
        break;
      case TPushRefusal::Overflow:
        PAV_FUZZ_CHECK(hooks.Calls.size() == 1 && hooks.Calls[0] == Call::Overflow);
        PAV_FUZZ_CHECK(hooks.Overflow == r.Message && r.Message.rfind("Overflow error : ", 0) == 0);
        CheckFullCount(engine, x, y, dir);
        break;
      default:
        PAV_FUZZ_CHECK(hooks.Calls.empty());
        break;
    }
    return false;
  }

  PAV_FUZZ_CHECK(Faces(before) == Faces(g.Current));
  PAV_FUZZ_CHECK(ListLength(engine.StepRecord) >= 1);

  // The hooks, in the game's order.
  const bool complete = s.StepCount == g.Board.StepsPerMove;
  std::vector<Call> want;
  if (sound && complete) want.push_back(Call::Sound);
  if (s.GameRunning && complete) want.push_back(Call::Counters);
  want.push_back(Call::Floor);
  want.push_back(Call::Highlight);
  if (s.GameRunning && PatternsEqual(g.Current, g.OP))
    want.push_back(Call::Solved);
  else if (s.GameRunning && complete)
    want.push_back(Call::Limits);
  PAV_FUZZ_CHECK(hooks.Calls == want);
  PAV_FUZZ_CHECK(g.Moves == movesBefore + (s.GameRunning && complete ? 1 : 0));

  // A straight row of plain tiles comes back with the push its step names.
  if (engine.UsedTurns.Count == 0 && engine.UsedJumps.Count == 0 && CountLinks(before) == 0 &&
      ListLength(engine.StepRecord) == 1 && engine.StepRecord.Kind[0] == 0) {
    TGameState& t = ScratchState();
    std::memcpy(&t.Game.Board, &g.Board, sizeof g.Board);
    t.Game.Current = g.Current;
    t.GameRunning = false;
    TMoveEngine back(t);
    const bool undone =
        back.TryPush(false, false, engine.StepRecord.X[0], engine.StepRecord.Y[0], engine.StepRecord.Dir[0]);
    PAV_FUZZ_CHECK(undone);
    PAV_FUZZ_CHECK(PatternsEqual(t.Game.Current, before));
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TGameState& s = MainState();
  std::memset(&s.Game, 0, sizeof s.Game);
  if (!BoardFromPushInput(data, size, s.Game.Board)) return 0;
  if (CheckBoard(s.Game.Board)) return -1;  // the loader refuses it; keep it out of the corpus

  const std::uint8_t options = data[PushInputHeader - 1];
  TGame& g = s.Game;
  CopyPattern(g.Board.Pattern, g.Current);
  CopyPattern(g.Board.Pattern, g.OP);
  s.GameRunning = (options & PushRunning) != 0;
  s.HumanTurn = true;
  s.StepCount = 0;
  s.ScrambleLength = 0;
  const bool sound = (options & PushSound) != 0;

  RecordingHooks hooks;
  TMoveEngine engine(s, &hooks);

  bool firstChanged = false;
  for (std::size_t i = PushInputHeader; i + 3 <= size; i += 3) {
    const int x = data[i] % GridW, y = data[i + 1] % GridH, dir = data[i + 2] % 6;
    s.GrabX = static_cast<std::uint8_t>(x);
    s.GrabY = static_cast<std::uint8_t>(y);
    const TPattern before = g.Current;
    if (CheckedPush(engine, hooks, sound, x, y, dir)) {
      if (i == PushInputHeader && !PatternsEqual(before, g.Current)) firstChanged = true;
      FilterSteps(engine.StepRecord);
      AppendList(g.History, engine.StepRecord);
      for (int k = 1; k < g.Board.StepsPerMove; ++k) CheckedPush(engine, hooks, sound, x, y, dir);
    }
    s.StepCount = 0;
  }

  if ((options & PushHeavy) == 0) return 0;

  engine.SetHooks(nullptr);
  s.GameRunning = false;
  const bool playable = CheckBoardPlayable(engine);
  if (firstChanged) PAV_FUZZ_CHECK(playable);

  CopyPattern(g.Board.Pattern, g.Current);
  CopyPattern(g.Board.Pattern, g.OP);
  ClearList(g.History);
  s.HumanTurn = (options & PushComputer) == 0;
  const int accuracy = ((options & PushAccuracy) >> 3) > 2 ? 2 : (options & PushAccuracy) >> 3;
  std::mt19937 rng(20240601u);
  // A tenth of the game's bound keeps boards whose scrambles never succeed quick
  // to try; sound boards need a few thousand candidates at most.
  const bool scrambled = ScrambleFromCurrent(engine, rng, accuracy, MaxScrambleTries / 10);
  if (!scrambled) {
    PAV_FUZZ_CHECK(std::memcmp(&g.Current, &g.Board.Pattern, sizeof g.Current) == 0);
    PAV_FUZZ_CHECK(ListLength(g.History) == 0);
    return 0;
  }
  PAV_FUZZ_CHECK(playable);
  PAV_FUZZ_CHECK(!PatternsEqual(g.Current, g.OP));
  PAV_FUZZ_CHECK(Faces(g.Current) == Faces(g.Board.Pattern));
  PAV_FUZZ_CHECK(s.ScrambleLength == ListLength(g.History) && s.ScrambleLength >= 1);

  // Without corner pieces, jumps and glued tiles every push moves one straight
  // row, so the recorded steps, played in order, lead back to the objective -
  // unless the scramble made more pushes than History holds (1024: a board with
  // more than 128 tiles scrambled for the computer at "Poor"), when the list
  // keeps only the first of them.
  if (NoFlowElements(g.Board) && CountLinks(g.Board.Pattern) == 0 && ListLength(g.History) < MoveListSize) {
    TGameState& t = ScratchState();
    std::memcpy(&t.Game.Board, &g.Board, sizeof g.Board);
    t.Game.Current = g.Current;
    t.GameRunning = false;
    t.StepCount = 0;
    TMoveEngine replay(t);
    const int n = ListLength(g.History);
    for (int i = 0; i < n; ++i) {
      for (int k = 0; k < g.Board.StepsPerMove; ++k)
        replay.TryPush(false, false, g.History.X[i], g.History.Y[i], g.History.Dir[i]);
      t.StepCount = 0;
    }
    PAV_FUZZ_CHECK(PatternsEqual(t.Game.Current, g.Board.Pattern));
  }
  return 0;
}
