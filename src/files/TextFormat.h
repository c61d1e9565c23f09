// The readable text form of boards, puzzles and campaigns (pavilore-tool pack and
// unpack). docs/text-format.md describes every directive. The configuration's text
// form is in ConfigText.h.
//
// Unpacking writes the fields as readable directives and then packs that text again:
// every byte where the result differs from the record (stray values, entries after the
// end of a list, a puzzle's reserved area, padding, ...) is added as a `raw` line, so
// that packing the text of any record gives back exactly the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/PuzzleScramble.h"
#include "files/Records.h"

namespace pav {

enum class TGameFileKind { Board, Puzzle, Campaign };

// "board", "puzzle" or "campaign".
const char* KindName(TGameFileKind kind);
// ".BRD", ".PZZ" or ".CPN".
const char* KindExtension(TGameFileKind kind);
// 15736, 4676 or 13396.
std::size_t KindRecordSize(TGameFileKind kind);

// A mistake in a text, with the 1-based number of the line that holds it.
class ETextFormatError : public std::runtime_error {
 public:
  ETextFormatError(int line, const std::string& msg)
      : std::runtime_error("line " + std::to_string(line) + ": " + msg), Line(line), Message(msg) {}
  int Line;
  std::string Message;
};

// Text of a record. A puzzle's grids are laid on its board when `board` is given
// (its solid cells show as ##); otherwise they cover the extent of the tiles.
// `boardNote` is an optional comment line put after the board name (without '#').
std::string UnpackBoard(const TBoard& b);
std::string UnpackPuzzle(const TPuzzle& p, const TBoard* board, const std::string& boardNote = {});
std::string UnpackCampaign(const TCampaign& c);

struct TPackedFile {
  TGameFileKind Kind;
  std::vector<std::uint8_t> Bytes;  // one whole record
  // A puzzle whose initial pattern was made by `ip scramble`: the pushes that lead
  // from it back to the objective, as the computer replays its own scramble.
  bool Scrambled = false;
  std::vector<TPushStep> Solution;
};

// The boards a puzzle text may need (`op board`, `ip scramble`), by the name its
// `board` line gives. Returns null when there is no such board.
using TBoardLookup = std::function<const TBoard*(const std::string& name)>;

// Builds the record a text describes, starting from a record of zero bytes with empty
// records tables. Raises ETextFormatError on a mistake. The values are taken as
// written: whether a board can be played is for CheckBoard to say. `findBoard` is
// asked only by puzzles that use `op board` or `ip scramble`.
TPackedFile PackText(const std::string& text, const TBoardLookup& findBoard = {});

}  // namespace pav
