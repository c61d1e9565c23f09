#include "flow/GameStart.h"

#include <memory>

#include "app/AppState.h"
#include "app/Log.h"
#include "engine/Scramble.h"
#include "files/GameFiles.h"
#include "files/UnitGameSelection.h"
#include "flow/Campaign.h"
#include "flow/FlowShared.h"
#include "flow/GameWindows.h"
#include "media/Music.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/qt/MessageBox.h"
#include "render/Renderer.h"

namespace pav {

namespace {

// The checks of every level of the configured campaign; the first problem's message, or empty.
std::string CampaignProblem() {
  const TCampaign& c = App().Game().Campaign;
  const int levels = LevelCount(c);
  for (int l = 0; l < levels; ++l) {
    const std::string path = LevelPuzzleFile(c.Levels[l].Str());
    if (!FileExists(path)) return "One or more Puzzles of the Campaign are missing.";
    auto level = std::make_unique<TPuzzle>();
    try {
      ReadRecordFile(path, level.get(), sizeof(TPuzzle));
    } catch (const EInOutError&) {
      return "One or more Puzzles of the Campaign are missing.";
    }
    if (!FileExists(BoardFile(level->BoardName.Str())))
      return "One or more Boards needed for Puzzles of the Campaign are missing.";
    if (PatternsEqual(level->IP, level->OP))
      return "In one or more Puzzles of the Campaign, the IP and OP are equals.\r"
             "Plase verify the playability of every puzzle with the Puzzle Editor.";
  }
  return {};
}

}  // namespace

bool PlayCommand() {
  TApp& app = App();
  TGame& g = app.Game();
  const TConfig& c = app.Config;

  // The playability trials leave their last position in Current; the idle board
  // keeps showing (and holding) the pattern it had.
  const TPattern shown = g.Current;
  const bool playable = CheckBoardPlayable(*app.Engine);
  g.Current = shown;
  if (!playable) {
    FlowMessage(UnableToScrambleMessage);
    return false;
  }
  if (c.GameMode == ModeSingle && c.IPFromPuzzle && PatternsEqual(g.Puzzle.IP, g.Puzzle.OP)) {
    FlowMessage("Puzzle's IP and OP are equals. Plase verify its playability with the Puzzle Editor.");
    return false;
  }
  if (c.GameMode == ModeCampaign) {
    const std::string problem = CampaignProblem();
    if (!problem.empty()) {
      FlowMessage(problem);
      return false;
    }
  }

  TGameState& s = app.State;
  s.ComputerHurry = false;
  g.Level = 1;
  s.HumanTurn = c.GameMode == ModeComputer ? c.HumanPlaysFirst != 0 : true;
  TGameWindows* windows = GameWindows();
  if (!windows) return true;
  if (c.GameMode == ModeSingle) windows->ShowSingleGameStart();
  if (c.GameMode == ModeComputer) windows->ShowComputerTurnStart();
  if (c.GameMode == ModeCampaign) windows->ShowCampaignLevel();
  return true;
}

void PauseCommand() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TGameWindows* windows = GameWindows();

  // The pause window stops the music at its position and starts it again on "Back to Game".
  if (windows) {
    windows->StopClock();
    windows->StopComputerTimer();
    windows->HideHands();
  }
  const bool hideTiles = !app.KeepBoardVisible;
  const TPattern kept = g.Current;
  if (hideTiles) {
    ClearPattern(g.Current);
    DrawBoard(true);
    RepaintMain();
  }

  app.PauseResult = 1;
  if (windows) windows->ShowPause();
  LogLine("Game paused.", true);

  if (app.PauseResult == 2) {
    s.GameRunning = false;
    StopGameMusic();
    if (windows) windows->CloseObjective();
    LogLine("Game aborted.", true);
    app.KeepBoardVisible = false;
    LogLine(" -", false);
    if (app.Config.GameMode == ModeCampaign)
      ShowFirstCampaignLevel(false);
    else
      ShowIdlePattern();
    return;
  }

  if (windows) {
    windows->StartClock();
    if (!s.HumanTurn) windows->StartComputerTimer();
  }
  if (hideTiles) {
    g.Current = kept;
    DrawBoard(true);
    RepaintMain();
  }
  LogLine("Game continued.", true);
  app.KeepBoardVisible = false;
}

TSingleGameSetup PrepareSingleGame() {
  TApp& app = App();
  TGame& g = app.Game();
  const TConfig& c = app.Config;
  TSingleGameSetup setup;
  setup.OPFromPuzzle = c.OPFromPuzzle != 0;
  setup.IPFromPuzzle = c.IPFromPuzzle != 0;

  g.OP = setup.OPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern;
  if (setup.IPFromPuzzle) {
    g.Current = g.Puzzle.IP;
  } else {
    g.Current = g.OP;
    setup.ScrambleFailed = !ScrambleFromCurrent(*app.Engine, c.ComputerAccuracy);
  }
  g.TimeLimit = c.TLFromPuzzle && g.Puzzle.TimeLimit != 0 ? g.Puzzle.TimeLimit : 0;
  g.MovesLimit = c.MLFromPuzzle && g.Puzzle.MovesLimit != 0 ? g.Puzzle.MovesLimit : 0;
  if (TGameWindows* w = GameWindows()) w->DrawObjective();
  return setup;
}

bool PrepareComputerTurn() {
  TApp& app = App();
  TGame& g = app.Game();
  g.OP = g.Board.Pattern;
  g.Current = g.OP;
  const bool scrambled = ScrambleFromCurrent(*app.Engine, app.Config.ComputerAccuracy);
  if (TGameWindows* w = GameWindows()) w->DrawObjective();
  return scrambled;
}

}  // namespace pav
