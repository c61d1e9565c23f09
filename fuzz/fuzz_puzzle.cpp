// The puzzle reader: the input is the content of a puzzle file. It goes through
// LoadPuzzle as a file; a puzzle that loads has its initial and objective
// patterns played on a sample board (every push from each of them), gets a result
// entered into its records and is written back: only the records may differ, the
// reserved area comes back as it was.
#include <cstddef>
#include <cstdint>

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
  auto puzzle = LoadThroughFile<TPuzzle>(file, data, size, &LoadPuzzle, &CheckPuzzle);
  if (!puzzle) return 0;

  PAV_FUZZ_CHECK(puzzle->BoardName.Str().size() <= 50);

  // The patterns a puzzle brings onto its board.
  state->Game.OP = puzzle->OP;
  state->GameRunning = true;
  SweepPushes(*state, puzzle->IP);
  SweepPushes(*state, puzzle->OP);

  const auto original = std::make_unique<TPuzzle>(*puzzle);
  StoreAndCompare(file, &StorePuzzle, *puzzle, *original, 0, 0);
  CheckedUpdate(puzzle->Records, TRecordOrder::Ascending, ResultAfter(data, size, sizeof(TPuzzle)));
  StoreAndCompare(file, &StorePuzzle, *puzzle, *original, offsetof(TPuzzle, Records), sizeof(TRecordTable));
  return 0;
}
