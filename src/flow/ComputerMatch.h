// The match against the computer: the computer's play of its own position, step by
// step with its hands over the board, the change of turn, and the end of the match
// with its results and the board's difference records.
//
// The computer does not search: the scramble of its position left in Game.History
// the pushes that lead back, and it plays them in order, at pauses drawn by its
// speed. An entry whose tile is gone is passed over; when the script runs out
// before the position is solved, the computer's turn ends as not finished.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace pav {

// The pause before the computer's next step, in milliseconds: 10 when hurried;
// otherwise 50..250, or 600..800 with a chance of 2 in 3 at speed 0 ("Slow"), 1 in 2
// at speed 1 and never at speed 2 ("Fast").
int ComputerInterval(std::mt19937& rng, int speed, bool hurry);
// The seconds a hurried turn of `moves` moves is taken to have lasted: 0.3 or 1.4
// seconds a move (the longer one as often as a long pause), summed and truncated.
std::int32_t ComputerTurnTime(std::mt19937& rng, std::int32_t moves, int speed);
std::int32_t ComputerTurnTime(std::int32_t moves, int speed);

// One step of the computer (TimerBot): alternately points the flat hand at the tile
// of its next push, then grabs and pushes it (StepsPerMove times).
void ComputerStep();
// The C key: the computer plays out its turn at full speed.
void HurryComputer();

// A turn was solved: the first turn hands over to the second player, the second
// finishes the match.
void ComputerTurnSolved();
// The match is over (both turns played, or the second player stopped): the results
// window, then the board's difference records of the configured speed and accuracy,
// unless a player was stopped or cheats are on.
void FinishMatch();

// What the results window shows, and its log line.
enum class TMatchSide { Human, Computer, Tie };
struct TMatchWinner {
  std::string Text;  // the player's name, "Computer" or "TIE"
  TMatchSide Side = TMatchSide::Tie;
};
struct TMatchResults {
  std::string HumanTime, HumanMoves;        // "12 S", "30 M", or "-"
  std::string ComputerTime, ComputerMoves;
  TMatchWinner TimeWinner, MovesWinner;
  std::string Difference;                   // "11 M , 8 S", or "-"
  std::string LogLine;
};
TMatchResults MatchResults();

}  // namespace pav
