// Starting and pausing a game: the play command with its checks, the preparation of
// a single game and of each turn against the computer, the beginning of play, and
// the pause command that continues or aborts.
#pragma once

#include "flow/FlowShared.h"

namespace pav {

// Command 4: validates the configured board, puzzle or campaign, sets whose turn it
// is and shows the start window of the game mode. Returns false when it stopped at
// one of its validation messages.
bool PlayCommand();
// Command 5: freezes the game behind the pause window, then continues or aborts it.
void PauseCommand();

// What the single game's start window shows.
struct TSingleGameSetup {
  bool OPFromPuzzle = false;
  bool IPFromPuzzle = false;
  // The scramble found no push that changes the position; the game cannot start.
  bool ScrambleFailed = false;
};
// Run when the single game's start window is shown: the objective, the initial
// pattern (the puzzle's or a scramble of the objective) and the limits.
TSingleGameSetup PrepareSingleGame();
// Run when the start window of a turn against the computer is shown: the board's own
// pattern is the objective, and the player whose turn it is gets a scramble of it
// (the computer's as long as its accuracy makes it). False when the board could not
// be scrambled; the turn cannot start.
bool PrepareComputerTurn();

}  // namespace pav
