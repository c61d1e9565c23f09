// What the main window's keys do for the player during a game: the hint that shows
// where a tile belongs, and the corrections a player with cheats enabled may make:
// taking back a move, lowering the move or time counter, and the position one move
// from the objective. None of them counts as a move of the game.
#pragma once

#include <random>
#include <vector>

#include "engine/Pattern.h"

namespace pav {

struct TBoardCell {
  int X = 0;
  int Y = 0;
  bool operator==(const TBoardCell&) const = default;
};

// The hint for the board cell (column, row): the tile `current` holds there (0 when
// the cell is empty or outside the grid, 1..20 x 1..15) and, for a tile, every cell
// of the board's interior (columns 2..width-1, rows 2..height-1) where `objective`
// holds the same tile, column by column.
struct THint {
  int Tile = 0;
  std::vector<TBoardCell> Cells;
};
THint HintAt(const TPattern& current, const TPattern& objective, int width, int height, int column, int row);

// Takes back the player's last move: the pushes of its history entry made again,
// StepsPerMove times, with the sound of a move. Entries whose tile is gone are
// dropped first; the moves of the scramble are never taken back. The move counter
// stays, and no limit or solved puzzle can come of it. Returns whether a move was
// taken back.
bool TakeBackMove();

// One move fewer, or one second fewer, on the counters (never below 0), with a click.
void LowerMovesCounter();
void LowerSecondsCounter();

// Sets the position one random move away from the objective: the history is emptied
// (nothing of it can be taken back), the move counter goes one lower (never below 0),
// the board is redrawn, with a click. Returns false, with nothing changed, when no
// move changes the objective.
bool OneMoveFromSolution(std::mt19937& rng);
bool OneMoveFromSolution();

}  // namespace pav
