// The readable text form of boards, puzzles and campaigns (pavilore-tool pack and
// unpack). docs/text-format.md describes every directive.
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

// One push of a move list: the cell pushed and the direction.
struct TPushStep {
  int X = 0;
  int Y = 0;
  int Dir = 0;
};

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

// ---------------------------------------------------------------------------
// Scrambled puzzles

struct TPuzzleScramble {
  TPattern IP;              // the scrambled position (tiles and links)
  TMoveList History;        // the pushes that lead back, the first one undoing the last push
  bool Made = false;        // false when no push can change the objective on this board
};

// Scrambles `op` on `board` as the game scrambles a random initial pattern, with the
// generator std::mt19937(seed). pushes = 0: as many pushes as the game makes
// (ScrambleFromCurrent); otherwise exactly that many position-changing pushes, drawn
// by the same rules. Either way the result differs from `op`.
TPuzzleScramble ScramblePuzzle(const TBoard& board, const TPattern& op, std::uint32_t seed, int pushes);

// Replays `script` from `ip` as the computer replays its own scramble: entries whose
// cell holds no tile are dropped, every other entry is pushed StepsPerMove times.
// Returns true when the position reaches `op`; `played` (may be null) gets the
// entries that were pushed.
bool ReplayScript(const TBoard& board, const TPattern& ip, const TPattern& op, const TMoveList& script,
                  std::vector<TPushStep>* played);

// ---------------------------------------------------------------------------
// The configuration file, "System/Pavilore.CFG"

// A text whose first directive is `kind config`.
bool IsConfigText(const std::string& text);
// `kind config` and one line per field (docs/text-format.md), with `raw` lines for the
// bytes the fields do not show, so that packing the text gives back the same bytes.
std::string UnpackConfig(const TConfig& c);
// Raises ETextFormatError on a mistake. Fields left out are 0 or empty.
std::vector<std::uint8_t> PackConfigText(const std::string& text);

}  // namespace pav
