// The saved-game reader: the input is the content of a saved-game file. It goes
// through LoadSavedGame as a file; a game that loads is checked against a sample
// board and has its position played on it (every push from it), its move list
// worked on as taking back moves does, and is written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzSupport.h"
#include "files/GameFiles.h"

using namespace pav;
using namespace pav::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  static TGameState* state = [] {
    auto* s = new TGameState;
    s->Game.Board = *FullBoard();
    return s;
  }();
  auto saved = LoadThroughFile<TSavedGame>(file, data, size, &LoadSavedGame, &CheckSavedGame);
  if (!saved) return 0;

  const auto original = std::make_unique<TSavedGame>(*saved);
  StoreAndCompare(file, &StoreSavedGame, *saved, *original, 0, 0);

  // The position checked against the board it is played on.
  (void)CheckSavedGameState(*saved);
  (void)CheckSavedGameFits(*saved, state->Game.Board);

  // The restored game.
  TGame& g = state->Game;
  g.History = saved->History;
  g.Moves = saved->Moves;
  state->ScrambleLength = saved->ScrambleLength;
  state->GameRunning = true;
  CopyPattern(saved->OP, g.OP);
  SweepPushes(*state, saved->Current);

  // The move list: reversing twice is the identity; taking back the last entry
  // shortens it by one.
  const int n = ListLength(g.History);
  PAV_FUZZ_CHECK(n >= 0 && n <= MoveListSize);
  ReverseList(g.History);
  PAV_FUZZ_CHECK(ListLength(g.History) == n);
  ReverseList(g.History);
  PAV_FUZZ_CHECK(std::memcmp(&g.History, &saved->History, sizeof g.History) == 0);
  if (n > 0) {
    DeleteEntry(g.History, n);
    PAV_FUZZ_CHECK(ListLength(g.History) == n - 1);
    PAV_FUZZ_CHECK(std::memcmp(g.History.X, saved->History.X, static_cast<std::size_t>(n - 1)) == 0);
  }
  FilterSteps(g.History);
  PAV_FUZZ_CHECK(ListLength(g.History) <= n);
  return 0;
}
