// The course of a game drives the main window and the game's dialogs through this.
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "app/AppState.h"
#include "files/UnitGameSelection.h"
#include "files/UnitInfoRecords.h"
#include "flow/GameWindows.h"
#include "flow/UnitInfoCamp.h"
#include "flow/UnitResultCamp.h"
#include "platform/qt/ShownText.h"
#include "render/UnitOP.h"
#include "ui/UnitInfoBot.h"
#include "ui/UnitInfoSingle.h"
#include "ui/UnitMain.h"
#include "ui/UnitResultBot.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

namespace pav {

namespace {

class TMainGameWindows : public TGameWindows {
 public:
  explicit TMainGameWindows(TFormMain& form) : Form(form) {}

  void RepaintMain() override { Form.update(); }
  void RepaintStatusBar() override { Form.RepaintStatusBar(); }
  void FitMainToBoard(bool centre) override { Form.ResizeMainWindow(false, centre, true); }
  void FitMainToLevel() override {
    const QScreen* screen = Form.screen();
    const QSize area = screen ? screen->geometry().size() : QSize();
    const TBoard& b = App().Game().Board;
    Form.ResizeMainWindow(false, !MainWindowFits(Form.x(), Form.y(), b.Width, b.Height, area), true);
  }
  void ForgetTileDrag() override { Form.TileDragging = false; }
  void StartClock() override { Form.TimerGame->start(); }
  void StopClock() override { Form.TimerGame->stop(); }
  void StartComputerTimer(int intervalMs) override {
    if (intervalMs > 0) Form.TimerBot->setInterval(intervalMs);
    Form.TimerBot->start();
  }
  void StopComputerTimer() override { Form.TimerBot->stop(); }
  void ShowFlatHand(int x, int y) override { Form.ShowHand(false, x, y); }
  void ShowGrabHand(int x, int y) override { Form.ShowHand(true, x, y); }
  void HideHands() override { Form.HideHands(); }

  void DrawObjective() override {
    if (TFormOP* op = FormOP()) op->DrawObjective(App().Game().OP, App().Game().Board);
  }
  void CloseObjective() override {
    if (TFormOP* op = FormOP()) op->hide();
  }

  void ShowSingleGameStart() override {
    if (TFormInfoSingle* info = FormInfoSingle()) info->exec();
  }
  void ShowComputerTurnStart() override {
    if (TFormInfoBot* info = FormInfoBot()) info->exec();
  }
  void ShowPause() override {
    if (TFormStop* stop = FormStop()) stop->exec();
  }
  void SetEndOfGame(const std::string& title, const std::string& text) override {
    if (TFormSolved* solved = FormSolved()) solved->SetOutcome(title, text);
  }
  void ShowEndOfGame() override {
    TFormSolved* solved = FormSolved();
    if (!solved) return;
    // Against the computer its hands leave the board a second after the window shows.
    if (App().Config.GameMode == 2) Form.TimerHand->start();
    solved->exec();
  }
  void ShowMatchResults() override {
    if (TFormResultBot* results = FormResultBot()) results->exec();
  }
  void ShowCampaignLevel() override {
    if (TFormInfoCamp* info = FormInfoCamp()) info->exec();
  }
  void ShowCampaignResult() override {
    if (TFormResultCamp* result = FormResultCamp()) result->exec();
  }
  void ShowRecordsObtained(const std::string& text) override {
    TFormInfoRecords* info = FormInfoRecords();
    if (!info) return;
    info->LabelInfo->setText(ShownText(text));
    info->exec();
  }

 private:
  TFormMain& Form;
};

}  // namespace

std::unique_ptr<TGameWindows> MakeMainGameWindows(TFormMain& form) {
  return std::make_unique<TMainGameWindows>(form);
}

}  // namespace pav
