// The game-data block and the flags around it, shared by the engine and the game.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Pattern.h"
#include "files/Records.h"

namespace pav {

struct TGame {
  TBoard Board;
  TPuzzle Puzzle;
  TCampaign Campaign;
  TPattern IP;
  TPattern OP;
  TPattern Current;
  std::int32_t MovesLimit;
  std::int32_t TimeLimit;
  std::int32_t Moves;
  std::int32_t Seconds;
  std::uint8_t Level;
  TMoveList History;
};

// What the last call of TryPush did, whether or not anything was shown.
enum class TPushRefusal {
  None,      // the push was made
  Silent,    // refused without a mark (empty or solid start cell, bad input, inconsistent result)
  Mark,      // refused with a mark of kind MarkKind at (MarkX, MarkY)
  Overflow,  // a row ran past 10000 examined cells
};

struct TPushResult {
  TPushRefusal Refusal = TPushRefusal::None;
  int MarkKind = 0;
  int MarkX = 0;
  int MarkY = 0;
  std::string Message;  // the overflow text
};

// Everything a push does besides moving tiles. The game implements these with
// its windows, sounds and timers; tests and the headless tool replace them.
// TryPush calls them in the order the game depends on.
struct TTripleList;
class EngineHooks {
 public:
  virtual ~EngineHooks() = default;
  // A refused push with Show set: draw the mark (if the option is on) and restart TimerInvalid.
  virtual void ShowInvalidMark(int /*x*/, int /*y*/, int /*kind*/) {}
  // A row ran past 10000 examined cells with Show set: the "Overflow error : " box.
  virtual void OverflowMessage(const std::string& /*text*/) {}
  // The move completed and Sound was set.
  virtual void PlayMoveSound() {}
  // A counted move with Show set: redraw the move and time counters.
  virtual void RedrawCounters() {}
  // Show set: repaint the floor cells (DrawBoard(false)).
  virtual void RedrawFloor() {}
  // Show set: light the corner pieces and jumps the push used.
  virtual void HighlightFlowElements(const TTripleList& /*usedJumps*/, const TTripleList& /*usedTurns*/) {}
  // A running game reached its objective.
  virtual void PuzzleSolved() {}
  // A running game counted a move that did not solve it: time and moves limits.
  virtual void CheckLimits() {}
};

// The flags and counters that stand beside the game-data block.
struct TGameState {
  TGame Game;
  bool GameRunning = false;
  bool HumanTurn = true;
  bool ComputerHurry = false;
  std::uint8_t StepCount = 0;
  std::uint8_t GrabX = 0;
  std::uint8_t GrabY = 0;
  std::int32_t HumanSeconds = 0;
  std::int32_t HumanMoves = 0;
  std::int32_t ComputerSeconds = 0;
  std::int32_t ComputerMoves = 0;
  std::int32_t OpponentTime = 0;
  std::int32_t OpponentMoves = 0;
  std::int32_t CampaignSeconds = 0;
  std::int32_t CampaignMoves = 0;
  bool LostByLimit = false;
  std::int32_t ScrambleLength = 0;

  TGameState();
};

}  // namespace pav
