#include "flow/GameEnd.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "flow/Campaign.h"
#include "flow/ComputerMatch.h"
#include "flow/FlowShared.h"
#include "flow/GameWindows.h"
#include "media/Effects.h"
#include "render/Renderer.h"

namespace pav {

std::string SolvedText(std::int32_t moves, std::int32_t seconds) {
  return "Puzzle solved in " + std::to_string(moves) + " Moves\rand " + std::to_string(seconds) + " Seconds.";
}

void PuzzleSolved() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TGameWindows* windows = GameWindows();

  StopRunningGame(true);
  // A hurried computer did not take the time it shows: its time is simulated.
  if (s.ComputerHurry && !s.HumanTurn) g.Seconds = ComputerTurnTime(g.Moves, app.Config.ComputerSpeed);

  PlayEffect(TEffect::Solved);

  if (windows) windows->SetEndOfGame("CONGRATULATIONS !", SolvedText(g.Moves, g.Seconds));
  LogLine("Puzzle solved in " + std::to_string(g.Moves) + " Moves and " + std::to_string(g.Seconds) + " Seconds.",
          true);
  if (windows) {
    windows->ShowEndOfGame();
    windows->HideHands();
  }

  if (app.Config.GameMode == ModeSingle) SingleGameRecords();
  if (app.Config.GameMode == ModeComputer) ComputerTurnSolved();
  if (app.Config.GameMode == ModeCampaign) CampaignLevelSolved();
}

void SingleGameRecords() {
  TApp& app = App();
  TGame& g = app.Game();
  const TConfig& c = app.Config;
  if (app.CheatsEnabled) {
    LogLine(" -", false);
    return;
  }
  const bool puzzle = c.IPFromPuzzle != 0;
  TRecordTable& table = puzzle ? g.Puzzle.Records : g.Board.Records;
  const TRecordsUpdate update = UpdateRecordTable(table, TRecordOrder::Ascending, g.Seconds, g.Moves, c.PlayerName.Str());
  ReportRecords(update, false, [&] {
    if (puzzle)
      StorePuzzle(app.Path("\\Puzzles\\" + c.PuzzleName.Str() + ".PZZ"), g.Puzzle);
    else
      StoreBoard(app.Path("\\Boards\\" + c.BoardName.Str() + ".BRD"), g.Board);
  });
}

}  // namespace pav
