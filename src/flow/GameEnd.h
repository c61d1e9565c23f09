// The end of a solved game: the congratulations, then by game mode the records of a
// single game, the next turn against the computer or the next campaign level.
#pragma once

#include <cstdint>
#include <string>

#include "flow/FlowShared.h"

namespace pav {

// The position reached the objective while a game runs.
void PuzzleSolved();
// "Puzzle solved in " + M + " Moves" + CR + "and " + S + " Seconds."
std::string SolvedText(std::int32_t moves, std::int32_t seconds);
// The records of a solved single game: the puzzle's (IP from the puzzle) or the
// board's tables, the file rewritten when they changed, the log lines and the
// records-obtained window. A file that cannot be written is reported in a message
// box naming it; the tables in memory keep the entry.
void SingleGameRecords();

}  // namespace pav
