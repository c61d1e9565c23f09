#include "flow/FlowShared.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "flow/GameWindows.h"
#include "media/Music.h"
#include "platform/Paths.h"
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

std::string LevelPuzzlePath(const std::string& name) {
  const std::string direct = App().Path("\\Puzzles\\" + name + ".PZZ");
  if (FileExists(direct)) return direct;
  return App().Path("\\Puzzles\\Campaign Levels\\" + name + ".PZZ");
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

}  // namespace pav
