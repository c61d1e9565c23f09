#include "flow/FlowShared.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "flow/GameWindows.h"
#include "media/Music.h"
#include "platform/RecordFile.h"
#include "platform/qt/MessageBox.h"
#include "render/Renderer.h"

namespace pav {

void FlowMessage(const std::string& text) { ShowMessage(text, TMessageIcon::Exclamation); }

void RepaintMain() {
  if (TGameWindows* w = GameWindows()) w->RepaintMain();
}

void StopRunningGame(bool stopComputer) {
  App().State.GameRunning = false;
  TGameWindows* windows = GameWindows();
  if (windows) {
    windows->StopClock();
    if (stopComputer) windows->StopComputerTimer();
  }
  StopGameMusic();
  if (windows) windows->CloseObjective();
  // The side panel offers the play button again, also while the window that ends
  // the game is still up.
  RedrawSidePanel(MainPicture());
  RepaintMain();
}

void ReportRecords(const TRecordsUpdate& update, bool againstComputer, const std::function<void()>& store) {
  if (!update.Changed()) {
    LogLine(" -", false);
    return;
  }
  try {
    store();
  } catch (const EInOutError& e) {
    ReportInOutError(e);
    return;
  }
  const TRecordsReport report = RecordsReport(update, againstComputer);
  LogLine(report.LogLine, true);
  LogLine(" -", false);
  if (TGameWindows* w = GameWindows()) w->ShowRecordsObtained(report.Message);
}

void BeginPlay() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const bool againstComputer = app.Config.GameMode == ModeComputer;

  s.GameRunning = true;
  ++app.GamesBegun;
  g.Moves = 0;
  g.Seconds = 0;
  s.StepCount = 0;
  s.LostByLimit = false;
  if (!againstComputer || g.Level == 1) {
    s.OpponentTime = 0;
    s.OpponentMoves = 0;
  }
  if (againstComputer) {
    g.TimeLimit = 0;
    g.MovesLimit = 0;
  }
  app.BotPointing = true;
  DrawBoard(true);
  if (TGameWindows* w = GameWindows()) {
    w->ForgetTileDrag();
    w->RepaintMain();
    w->StartClock();
    if (againstComputer && !s.HumanTurn) w->StartComputerTimer(1000);
  }
  StartMusicSoon();
}

void ShowIdlePattern() {
  TGame& g = App().Game();
  g.Current = App().Config.IPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern;
  DrawBoard(true);
  RepaintMain();
}

}  // namespace pav
