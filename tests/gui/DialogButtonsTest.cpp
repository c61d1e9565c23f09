// The buttons of the game's dialogs sound on the press of the pointer, not on its
// release: a press that is dragged off the button and released elsewhere has clicked,
// and only a release on the button acts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "files/UnitInfoRecords.h"
#include "files/UnitRecords.h"
#include "files/UnitRecordsBot.h"
#include "gui/FlatSkin.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Skinning.h"
#include "ui/UnitInfoBot.h"
#include "ui/UnitInfoSingle.h"
#include "ui/UnitResultBot.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

class DialogButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    SetMainWindow(nullptr);
    TApp& app = App();
    app.AppFolder = Inst.Folder();
    app.Config = MakeConfig("Alpha");
    app.Config.SoundsOn = 1;
    app.Config.ClickSound.Assign("Click");
    app.Config.GameOverSound.Assign("Game Over");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    Inst.WriteBytes("Sounds/Game Over.WAV", "RIFF");
    SetWavePlayer([this](TEffect effect, const std::string&) { Played.push_back(effect); });
  }
  void TearDown() override { SetWavePlayer(nullptr); }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Played;
};

// A press on the button, then the pointer dragged off it and released there.
void PressAndSlideOff(QPushButton* button) {
  const QPoint centre = button->rect().center();
  SendPress(button, centre.x(), centre.y());
  SendMove(button, -40, -40, Qt::LeftButton);
  SendRelease(button, -40, -40);
}

TEST_F(DialogButtonsTest, EveryButtonClicksOnThePressEvenWhenReleasedElsewhere) {
  struct Case {
    const char* Name;
    std::function<std::unique_ptr<TSkinnedDialog>()> Make;
    std::function<QPushButton*(TSkinnedDialog*)> Button;
  };
  const std::vector<Case> cases = {
      {"single game start", [] { return std::make_unique<TFormInfoSingle>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormInfoSingle*>(d)->ButtonPlay; }},
      {"start of a turn against the computer", [] { return std::make_unique<TFormInfoBot>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormInfoBot*>(d)->ButtonPlay; }},
      {"results against the computer", [] { return std::make_unique<TFormResultBot>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormResultBot*>(d)->ButtonOK; }},
      {"end of game", [] { return std::make_unique<TFormSolved>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormSolved*>(d)->ButtonOK; }},
      {"pause", [] { return std::make_unique<TFormStop>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormStop*>(d)->ButtonOK; }},
      {"records", [] { return std::make_unique<TFormRecords>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormRecords*>(d)->ButtonOK; }},
      {"records against the computer", [] { return std::make_unique<TFormRecordsBot>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormRecordsBot*>(d)->ButtonOK; }},
      {"records obtained, OK", [] { return std::make_unique<TFormInfoRecords>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormInfoRecords*>(d)->ButtonOK; }},
      {"records obtained, see records", [] { return std::make_unique<TFormInfoRecords>(); },
       [](TSkinnedDialog* d) { return static_cast<TFormInfoRecords*>(d)->Button1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Played.clear();
    std::unique_ptr<TSkinnedDialog> dialog = c.Make();
    dialog->setModal(false);
    dialog->show();
    QPushButton* button = c.Button(dialog.get());
    const QPoint centre = button->rect().center();
    SendPress(button, centre.x(), centre.y());
    EXPECT_EQ(Played, std::vector<TEffect>{TEffect::Click}) << "heard on the press, before any release";
    SendMove(button, -40, -40, Qt::LeftButton);
    SendRelease(button, -40, -40);
    EXPECT_EQ(Played, std::vector<TEffect>{TEffect::Click});
    EXPECT_TRUE(dialog->isVisible()) << "a release off the button does not act";
    dialog->hide();
  }
}

TEST_F(DialogButtonsTest, PauseOKSoundsTheChoiceOnThePressAndClosesOnTheRelease) {
  TFormStop stop;
  for (const bool abort : {false, true}) {
    Played.clear();
    stop.setModal(false);
    stop.show();
    stop.RadioButtonAbort->setChecked(abort);
    QPushButton* ok = stop.ButtonOK;
    const QPoint centre = ok->rect().center();
    SendPress(ok, centre.x(), centre.y());
    EXPECT_EQ(Played, std::vector<TEffect>{abort ? TEffect::GameOver : TEffect::Click});
    EXPECT_TRUE(stop.isVisible());
    SendRelease(ok, centre.x(), centre.y());
    EXPECT_FALSE(stop.isVisible());
    EXPECT_EQ(App().PauseResult, abort ? 2 : 1);
    EXPECT_EQ(Played.size(), 1u) << "the release adds no second sound";
  }
  // Dragged off, the press has sounded and the window stays.
  Played.clear();
  stop.show();
  PressAndSlideOff(stop.ButtonOK);
  EXPECT_EQ(Played, std::vector<TEffect>{TEffect::Click});
  EXPECT_TRUE(stop.isVisible());
  stop.hide();
}

TEST_F(DialogButtonsTest, PauseChoosesBackToGameOnEveryActivation) {
  TFormStop stop;
  stop.setModal(false);
  stop.show();
  stop.RadioButtonAbort->setChecked(true);
  // Another window took the focus and gave it back: the window is activated again.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&stop, &activate);
  EXPECT_TRUE(stop.RadioButtonContinue->isChecked());
  EXPECT_FALSE(stop.RadioButtonAbort->isChecked());
  stop.hide();
}

}  // namespace
}  // namespace pav::test
