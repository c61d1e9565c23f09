// The board reader: the input is the content of a board file. It goes through
// LoadBoard as a file; a board that loads gets a result entered into its
// single-game records and into one table of its records against the computer, as
// the end of a game does, and is written back: only the changed tables may differ.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "files/GameFiles.h"
#include "platform/Text.h"

using namespace pav;
using namespace pav::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  auto board = LoadThroughFile<TBoard>(file, data, size, &LoadBoard, &CheckBoard);
  if (!board) return 0;

  // What the game shows of a board.
  PAV_FUZZ_CHECK(Utf8ToCp1252(Cp1252ToUtf8(board->Title.Str())) == board->Title.Str());
  PAV_FUZZ_CHECK(board->Author.Str().size() <= 20 && board->RecommendedTileSet.Str().size() <= 50);

  // Written back untouched, then after a single-game result.
  const auto original = std::make_unique<TBoard>(*board);
  StoreAndCompare(file, &StoreBoard, *board, *original, 0, 0);
  const TResult result = ResultAfter(data, size, sizeof(TBoard));
  CheckedUpdate(board->Records, TRecordOrder::Ascending, result);
  StoreAndCompare(file, &StoreBoard, *board, *original, offsetof(TBoard, Records), sizeof(TRecordTable));

  // A result against the computer changes one of the nine tables only.
  *board = *original;
  const int speed = static_cast<int>(static_cast<std::uint32_t>(result.Seconds) % 3);
  const int accuracy = static_cast<int>(static_cast<std::uint32_t>(result.Moves) % 3);
  CheckedUpdate(board->BotRecords[speed][accuracy], TRecordOrder::Descending, result);
  StoreAndCompare(file, &StoreBoard, *board, *original,
                  offsetof(TBoard, BotRecords) + static_cast<std::size_t>(speed * 1032 + accuracy * 344),
                  sizeof(TRecordTable));
  return 0;
}
