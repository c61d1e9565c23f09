// The readable text form of boards, puzzles and campaigns (pavilore-tool pack/unpack).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/Records.h"

namespace pav {

enum class TGameFileKind { Board, Puzzle, Campaign };

class ETextFormatError : public std::runtime_error {
 public:
  ETextFormatError(int line, const std::string& msg)
      : std::runtime_error("line " + std::to_string(line) + ": " + msg), Line(line) {}
  int Line;
};

// Text of a record. A puzzle's grids are laid out on its board when `board` is given.
std::string UnpackBoard(const TBoard& b);
std::string UnpackPuzzle(const TPuzzle& p, const TBoard* board);
std::string UnpackCampaign(const TCampaign& c);

struct TPackedFile {
  TGameFileKind Kind;
  std::vector<std::uint8_t> Bytes;  // one whole record
};
// Builds the record a text describes; ETextFormatError on a mistake.
TPackedFile PackText(const std::string& text);

}  // namespace pav
