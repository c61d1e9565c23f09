// The course of a game: the play and pause commands, preparing and beginning a
// single game, the game clock and the time and moves limits, and the end of a game
// with its records. These routines read and write the game state of App() and
// drive the game's windows; each window that is missing (tests without it) is
// simply skipped.
#pragma once

#include <cstdint>
#include <string>

namespace pav {

// ---- Starting and pausing ----------------------------------------------------

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
// Run when a start window is confirmed: the game runs, its counters start at 0, the
// board is redrawn and the clock starts.
void BeginPlay();

// ---- Clock and limits --------------------------------------------------------

// Redraws the counter strip under the board: moves in slot 9, seconds in slot 3.
void UpdateCounters();
// One tick of the game clock (TimerGame, every second).
void TimerGameTick();
// After a completed move that did not solve the puzzle.
void CheckMoveLimits();
enum class TLimitKind { Time, Moves };
// "Time limit reached in " + CR + S + " Seconds." or "Moves limit reached in " + CR + M + " Moves."
std::string LimitReachedText(TLimitKind kind, std::int32_t seconds, std::int32_t moves);

// ---- End of a game -----------------------------------------------------------

// The position reached the objective while a game runs.
void PuzzleSolved();
// "Puzzle solved in " + M + " Moves" + CR + "and " + S + " Seconds."
std::string SolvedText(std::int32_t moves, std::int32_t seconds);
// The records of a solved single game: the puzzle's (IP from the puzzle) or the
// board's tables, the file rewritten when they changed, the log lines and the
// records-obtained window. A file that cannot be written is reported in a message
// box naming it; the tables in memory keep the entry.
void SingleGameRecords();

// The pattern the idle main window shows: the puzzle's objective when the
// configuration takes the IP from the puzzle, else the board's own pattern.
void ShowIdlePattern();

}  // namespace pav
