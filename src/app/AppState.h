// The process-wide state of the running game: the game data and its flags,
// the configuration record and the flags the windows share. Every window reads
// and writes it directly; tests reset it with ResetApp().
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/GameData.h"
#include "engine/MoveEngine.h"
#include "files/Records.h"

namespace pav {

struct TApp {
  std::string AppFolder;  // installation folder, no trailing separator
  TConfig Config{};
  TGameState State;       // Game and its flags
  std::unique_ptr<TMoveEngine> Engine;

  bool SidePanelShown = true;
  bool CheatsEnabled = false;
  bool KeepBoardVisible = false;
  // The pause window's choice: 1 back to the game, 2 abort it.
  std::uint8_t PauseResult = 1;
  // The computer's next step points at a tile (true) or pushes it (false).
  bool BotPointing = true;
  // Counts the games begun: a move whose push ended its game (and whose end already
  // began the next turn or level) knows that its game is over.
  std::uint32_t GamesBegun = 0;
  bool BackgroundLoaded = false;
  bool OPPlacementPending = true;  // the objective window is placed anew at its next show
  int MusicAlphaPosition = -1;

  TApp();
  TGame& Game() { return State.Game; }
  // AppFolder + a game path such as "\Boards\" + name + ".BRD", mapped to the disk.
  std::string Path(const std::string& relative) const;
};

TApp& App();
// A fresh state (tests).
void ResetApp();

}  // namespace pav
