// The records windows: which table the lists show, how values and names are shown,
// where the windows open, how they close and the click they make.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "files/UnitInfoRecords.h"
#include "files/UnitRecords.h"
#include "files/UnitRecordsBot.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Graphics.h"

namespace pav::test {
namespace {

// Names "<prefix>1".."<prefix>10"; times first + p, moves first + 100 + p.
void FillTable(TRecordTable& table, const std::string& prefix, int first) {
  std::memset(&table, 0, sizeof table);
  for (int p = 1; p <= RecordPositions; ++p) {
    table.TimeNames[p - 1].Assign(prefix + std::to_string(p));
    table.TimeValues[p - 1] = first + p;
    table.MoveNames[p - 1].Assign(prefix + "m" + std::to_string(p));
    table.MoveValues[p - 1] = first + 100 + p;
  }
}

// A table as a new file has it: every value empty, every name as it was stored.
void EmptyTable(TRecordTable& table, std::int32_t emptyValue, const std::string& name) {
  std::memset(&table, 0, sizeof table);
  for (int p = 0; p < RecordPositions; ++p) {
    table.TimeNames[p].Assign(name);
    table.MoveNames[p].Assign(name);
    table.TimeValues[p] = emptyValue;
    table.MoveValues[p] = emptyValue;
  }
}

void SendKey(QWidget* w, int key) {
  QWidget* target = w->focusWidget() != nullptr ? w->focusWidget() : w;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
}

void Activate(QWidget* w) {
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(w, &activate);
}

class RecordsWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Ring");
    TGame& game = App().Game();
    game.Board.Title.Assign("Ring Board");
    game.Puzzle.Title.Assign("Ring Puzzle");
    game.Campaign.Title.Assign("Long Tour");
    FillTable(game.Board.Records, "Board", 10);
    FillTable(game.Puzzle.Records, "Puzzle", 20);
    FillTable(game.Campaign.Records, "Camp", 30);
    for (int s = 0; s < 3; ++s)
      for (int a = 0; a < 3; ++a)
        FillTable(game.Board.BotRecords[s][a], "S" + std::to_string(s) + "A" + std::to_string(a) + "-", 0);
    SetMainWindow(nullptr);
    Info = std::make_unique<TFormInfoRecords>();
    Records = std::make_unique<TFormRecords>();
    RecordsBot = std::make_unique<TFormRecordsBot>();
  }
  void TearDown() override {
    SetWavePlayer(nullptr);
    SetMainWindow(nullptr);
  }

  // The click sound on, its file present, and every effect played counted.
  void CountClicks() {
    App().Config.SoundsOn = 1;
    App().Config.ClickSound.Assign("Click");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    SetWavePlayer([this](TEffect effect, const std::string&) {
      if (effect == TEffect::Click) ++Clicks;
    });
  }

  // A main window at (400, 100), 800 x 600.
  void PlaceMainWindow() {
    Main = std::make_unique<QWidget>();
    Main->setGeometry(400, 100, 800, 600);
    SetMainWindow(Main.get());
  }

  TempInstallation Inst;
  std::unique_ptr<TFormInfoRecords> Info;
  std::unique_ptr<TFormRecords> Records;
  std::unique_ptr<TFormRecordsBot> RecordsBot;
  std::unique_ptr<QWidget> Main;
  int Clicks = 0;
};

// --- Texts of the windows ---

TEST_F(RecordsWindowsTest, CaptionsTitlesPagesAndHeads) {
  EXPECT_EQ(Records->windowTitle(), "Records");
  EXPECT_EQ(Records->Title(), "TOP 10 SCORES");
  EXPECT_EQ(RecordsBot->windowTitle(), "Records");
  EXPECT_EQ(RecordsBot->Title(), "TOP 10 SCORES");
  EXPECT_EQ(Info->windowTitle(), "Records Information");
  EXPECT_EQ(Info->Title(), "RECORD(S) OBTAINED");

  struct Pages {
    TRecordListWindow* Window;
    const char *TimeTab, *TimeHead, *MovesTab, *MovesHead;
  };
  for (const Pages& w : {Pages{Records.get(), "  Fastest Times  ", "Time", "  Fewest Moves  ", "Moves"},
                         Pages{RecordsBot.get(), "Highest Time Dif.", "Time Difference", "Highest Moves Dif.",
                               "Moves Difference"}}) {
    ASSERT_EQ(w.Window->PageControl->count(), 2);
    EXPECT_EQ(w.Window->PageControl->widget(0), w.Window->TabSheetTime);
    EXPECT_EQ(w.Window->PageControl->tabText(0), w.TimeTab);
    EXPECT_EQ(w.Window->PageControl->tabText(1), w.MovesTab);
    EXPECT_EQ(w.Window->PageControl->currentWidget(), w.Window->TabSheetTime);
    EXPECT_EQ(w.Window->LabelPosT->text(), "Pos");
    EXPECT_EQ(w.Window->LabelNameT->text(), "Name");
    EXPECT_EQ(w.Window->LabelTime->text(), w.TimeHead);
    EXPECT_EQ(w.Window->LabelPosM->text(), "Pos");
    EXPECT_EQ(w.Window->LabelNameM->text(), "Name");
    EXPECT_EQ(w.Window->LabelMoves->text(), w.MovesHead);
    EXPECT_EQ(w.Window->ButtonOK->text(), "OK");
    // The fixed positions 1..10 on both pages.
    for (const char* page : {"T", "M"})
      for (int p = 1; p <= RecordPositions; ++p) {
        const auto* pos = w.Window->findChild<QLabel*>(QString("LabelPos%1%2").arg(page).arg(p));
        ASSERT_NE(pos, nullptr);
        EXPECT_EQ(pos->text(), QString::number(p));
      }
  }
  EXPECT_EQ(RecordsBot->LabelSpeedHead->text(), "Computer Speed : ");
  EXPECT_EQ(RecordsBot->LabelAccuracyHead->text(), "Computer Accuracy : ");
  EXPECT_EQ(Info->ButtonOK->text(), "OK");
  EXPECT_EQ(Info->Button1->text(), "See &Records ..");
  EXPECT_TRUE(Info->LabelInfo->wordWrap());

  for (QWidget* w : std::vector<QWidget*>{Records.get(), RecordsBot.get(), Info.get()}) {
    EXPECT_EQ(w->width() % 48, 0);
    EXPECT_EQ(w->height() % 48, 0);
  }
}

TEST_F(RecordsWindowsTest, AccessorsGiveTheOneWindowUntilItIsDestroyed) {
  EXPECT_EQ(FormRecords(), Records.get());
  EXPECT_EQ(FormRecordsBot(), RecordsBot.get());
  EXPECT_EQ(FormInfoRecords(), Info.get());
  Records.reset();
  RecordsBot.reset();
  Info.reset();
  EXPECT_EQ(FormRecords(), nullptr);
  EXPECT_EQ(FormRecordsBot(), nullptr);
  EXPECT_EQ(FormInfoRecords(), nullptr);
}

// --- Filling ---

struct ChoiceCase {
  int Mode;
  int IPFromPuzzle;
  const char* Info;
  const char* File;
  const char* FirstName;
  const char* FirstMoveName;
  const char* FirstTime;
  const char* FirstMoves;
};

TEST_F(RecordsWindowsTest, TheConfigurationChoosesTheTable) {
  for (const ChoiceCase& c : {
           ChoiceCase{1, 1, "Records of the Puzzle : ", "Ring Puzzle", "Puzzle1", "Puzzlem1", "21 S", "121 M"},
           ChoiceCase{1, 0, "Records of the Board : ", "Ring Board", "Board1", "Boardm1", "11 S", "111 M"},
           // Against the computer this window still follows the initial pattern's origin.
           ChoiceCase{2, 1, "Records of the Puzzle : ", "Ring Puzzle", "Puzzle1", "Puzzlem1", "21 S", "121 M"},
           ChoiceCase{2, 0, "Records of the Board : ", "Ring Board", "Board1", "Boardm1", "11 S", "111 M"},
           // A campaign is a campaign, whatever the initial pattern flag says.
           ChoiceCase{3, 1, "Records of the Campaign : ", "Long Tour", "Camp1", "Campm1", "31 S", "131 M"},
           ChoiceCase{3, 0, "Records of the Campaign : ", "Long Tour", "Camp1", "Campm1", "31 S", "131 M"},
       }) {
    App().Config.GameMode = static_cast<std::uint8_t>(c.Mode);
    App().Config.IPFromPuzzle = static_cast<std::uint8_t>(c.IPFromPuzzle);
    Records->show();
    const std::string where = "mode " + std::to_string(c.Mode) + " IPFromPuzzle " + std::to_string(c.IPFromPuzzle);
    EXPECT_EQ(Records->LabelInfo->text(), c.Info) << where;
    EXPECT_EQ(Records->LabelFile->text(), c.File) << where;
    EXPECT_EQ(Records->TimeNameLabels[0]->text(), c.FirstName) << where;
    EXPECT_EQ(Records->TimeValueLabels[0]->text(), c.FirstTime) << where;
    EXPECT_EQ(Records->MoveNameLabels[0]->text(), c.FirstMoveName) << where;
    EXPECT_EQ(Records->MoveValueLabels[0]->text(), c.FirstMoves) << where;
    Records->hide();
  }
}

TEST_F(RecordsWindowsTest, EveryActivationFillsTheListsAgain) {
  App().Config.GameMode = 1;
  App().Config.IPFromPuzzle = 1;
  Records->show();
  EXPECT_EQ(Records->LabelFile->text(), "Ring Puzzle");

  // A random initial pattern, and a new entry made while the window is up.
  App().Config.IPFromPuzzle = 0;
  App().Game().Board.Records.TimeNames[9].Assign("Newcomer");
  App().Game().Board.Records.TimeValues[9] = 99;
  // The player looks at the moves page and tabs onto the page tabs.
  Records->PageControl->setCurrentIndex(1);
  Records->PageControl->tabBar()->setFocus();
  Activate(Records.get());
  EXPECT_EQ(Records->LabelInfo->text(), "Records of the Board : ");
  EXPECT_EQ(Records->LabelFile->text(), "Ring Board");
  EXPECT_EQ(Records->TimeNameLabels[9]->text(), "Newcomer");
  EXPECT_EQ(Records->TimeValueLabels[9]->text(), "99 S");
  EXPECT_EQ(Records->focusWidget(), Records->ButtonOK);
  Records->hide();

  // The same for the lists of games against the computer.
  App().Config.ComputerSpeed = 0;
  App().Config.ComputerAccuracy = 0;
  RecordsBot->show();
  EXPECT_EQ(RecordsBot->TimeNameLabels[0]->text(), "S0A0-1");
  App().Config.ComputerSpeed = 2;
  Activate(RecordsBot.get());
  EXPECT_EQ(RecordsBot->LabelSpeed->text(), "Fast");
  EXPECT_EQ(RecordsBot->TimeNameLabels[0]->text(), "S2A0-1");
  RecordsBot->hide();
}

TEST_F(RecordsWindowsTest, EmptyValuesAreBlankAndNamesAreShownAsStored) {
  // A board nobody has solved yet: ten names as stored, value columns empty.
  EmptyTable(App().Game().Board.Records, EmptyRecord, "Nobody");
  App().Config.IPFromPuzzle = 0;
  Records->show();
  for (int p = 0; p < RecordPositions; ++p) {
    EXPECT_EQ(Records->TimeNameLabels[p]->text(), "Nobody");
    EXPECT_EQ(Records->MoveNameLabels[p]->text(), "Nobody");
    EXPECT_EQ(Records->TimeValueLabels[p]->text(), "");
    EXPECT_EQ(Records->MoveValueLabels[p]->text(), "");
  }
  Records->hide();

  // Only the table's own empty value is blank: 0 is a value in these lists, 65000 is
  // none; against the computer it is the other way round.
  TRecordTable& t = App().Game().Board.Records;
  t.TimeValues[0] = 0;
  t.TimeValues[1] = 64999;
  t.MoveValues[0] = EmptyRecord;
  t.MoveValues[1] = 7;
  // Names in Windows-1252, a full 12 characters, and a name stored beside an empty value.
  t.TimeNames[0].Assign("Zo\xEB");
  t.TimeNames[1].Assign("ABCDEFGHIJKL");
  t.MoveNames[0].Assign("Kept");
  Records->show();
  EXPECT_EQ(Records->TimeValueLabels[0]->text(), "0 S");
  EXPECT_EQ(Records->TimeValueLabels[1]->text(), "64999 S");
  EXPECT_EQ(Records->MoveValueLabels[0]->text(), "");
  EXPECT_EQ(Records->MoveValueLabels[1]->text(), "7 M");
  EXPECT_EQ(Records->TimeNameLabels[0]->text(), QString::fromUtf8("Zo\xC3\xAB"));
  EXPECT_EQ(Records->TimeNameLabels[1]->text(), "ABCDEFGHIJKL");
  EXPECT_EQ(Records->MoveNameLabels[0]->text(), "Kept");
  Records->hide();

  TRecordTable& bot = App().Game().Board.BotRecords[1][2];
  EmptyTable(bot, 0, "");
  bot.TimeNames[0].Assign("Ann");
  bot.TimeValues[0] = 12;
  bot.MoveNames[0].Assign("Ann");
  bot.MoveValues[0] = 0;  // a difference of 0 is an empty position
  bot.MoveValues[1] = EmptyRecord;
  App().Config.ComputerSpeed = 1;
  App().Config.ComputerAccuracy = 2;
  RecordsBot->show();
  EXPECT_EQ(RecordsBot->TimeNameLabels[0]->text(), "Ann");
  EXPECT_EQ(RecordsBot->TimeValueLabels[0]->text(), "12 S");
  EXPECT_EQ(RecordsBot->MoveNameLabels[0]->text(), "Ann");
  EXPECT_EQ(RecordsBot->MoveValueLabels[0]->text(), "");
  EXPECT_EQ(RecordsBot->MoveValueLabels[1]->text(), "65000 M");
  for (int p = 1; p < RecordPositions; ++p) {
    EXPECT_EQ(RecordsBot->TimeNameLabels[p]->text(), "");
    EXPECT_EQ(RecordsBot->TimeValueLabels[p]->text(), "");
  }
  RecordsBot->hide();
}

TEST_F(RecordsWindowsTest, ComputerSpeedAndAccuracyChooseTheTable) {
  const char* speeds[] = {"Slow", "Medium", "Fast"};
  const char* accuracies[] = {"Poor", "Medium", "High"};
  for (int s = 0; s < 3; ++s)
    for (int a = 0; a < 3; ++a) {
      App().Config.GameMode = 2;
      App().Config.ComputerSpeed = static_cast<std::uint8_t>(s);
      App().Config.ComputerAccuracy = static_cast<std::uint8_t>(a);
      RecordsBot->show();
      const QString prefix = QString("S%1A%2-").arg(s).arg(a);
      EXPECT_EQ(RecordsBot->LabelInfo->text(), "Records of the Board :");
      EXPECT_EQ(RecordsBot->LabelFile->text(), "Ring Board");
      EXPECT_EQ(RecordsBot->LabelSpeed->text(), speeds[s]);
      EXPECT_EQ(RecordsBot->LabelAccuracy->text(), accuracies[a]);
      EXPECT_EQ(RecordsBot->TimeNameLabels[0]->text(), prefix + "1");
      EXPECT_EQ(RecordsBot->TimeNameLabels[9]->text(), prefix + "10");
      EXPECT_EQ(RecordsBot->TimeValueLabels[9]->text(), "10 S");
      EXPECT_EQ(RecordsBot->MoveNameLabels[4]->text(), prefix + "m5");
      EXPECT_EQ(RecordsBot->MoveValueLabels[4]->text(), "105 M");
      RecordsBot->hide();
    }
  // The puzzle's lists play no part against the computer.
  App().Config.IPFromPuzzle = 1;
  RecordsBot->show();
  EXPECT_EQ(RecordsBot->LabelFile->text(), "Ring Board");
  RecordsBot->hide();
}

// --- Placement ---

TEST_F(RecordsWindowsTest, WindowsOpenBesideTheBoard) {
  PlaceMainWindow();
  for (bool sidePanel : {true, false}) {
    App().SidePanelShown = sidePanel;
    const int shift = sidePanel ? 0 : 48;
    for (QWidget* w : std::vector<QWidget*>{Info.get(), Records.get(), RecordsBot.get()}) {
      w->show();
      EXPECT_EQ(w->pos(), QPoint(400 + 800 - w->width() - 72 + shift, 124)) << w->objectName().toStdString();
      w->hide();
    }
  }
}

TEST_F(RecordsWindowsTest, SeeRecordsOpensTheListsLeftOfTheRecordsObtainedWindow) {
  PlaceMainWindow();
  CountClicks();
  for (int mode : {1, 2, 3}) {
    App().Config.GameMode = static_cast<std::uint8_t>(mode);
    App().Config.IPFromPuzzle = 1;
    Clicks = 0;
    Info->LabelInfo->setText("You got the position number 1 in the 'Fewest Moves' Records !");
    TRecordListWindow* expected = mode == 2 ? static_cast<TRecordListWindow*>(RecordsBot.get()) : Records.get();
    QPoint infoPos;
    ModalDriver driver;
    driver.Then([&infoPos](QWidget* w) {
      infoPos = w->pos();
      ModalDriver::Click("See Records ..")(w);
    });
    driver.Then(ModalDriver::Inspect(
        [&](QWidget* w) {
          EXPECT_EQ(w, expected) << "mode " << mode;
          EXPECT_TRUE(Info->isVisible());
          EXPECT_EQ(w->pos(), QPoint(infoPos.x() - w->width(), infoPos.y())) << "mode " << mode;
          EXPECT_EQ(w->focusWidget(), expected->ButtonOK);
        },
        ModalDriver::Click("OK")));
    Info->exec();
    EXPECT_TRUE(driver.Done()) << "mode " << mode;
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_FALSE(Info->isVisible());
    EXPECT_FALSE(expected->isVisible());
    EXPECT_EQ(Clicks, 2) << "mode " << mode;
  }
  // The new entry is in place in the list the button opens.
  EXPECT_EQ(Records->LabelInfo->text(), "Records of the Campaign : ");
  EXPECT_EQ(Records->TimeNameLabels[0]->text(), "Camp1");
}

TEST_F(RecordsWindowsTest, SeeRecordsWithoutAListWindowOnlyCloses) {
  App().Config.GameMode = 1;
  Records.reset();
  ModalDriver driver;
  driver.Then(ModalDriver::Click("See Records .."));
  Info->exec();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_FALSE(Info->isVisible());
}

// --- Closing ---

TEST_F(RecordsWindowsTest, OkEnterAndEscapeCloseWithAClick) {
  CountClicks();
  struct Way {
    const char* Name;
    ModalDriver::Answer Answer;
  };
  const std::vector<Way> ways = {{"OK", ModalDriver::Click("OK")},
                                 {"Return", ModalDriver::Key(Qt::Key_Return)},
                                 {"Enter", ModalDriver::Key(Qt::Key_Enter)},
                                 {"Escape", ModalDriver::Key(Qt::Key_Escape)}};
  for (QDialog* window : std::vector<QDialog*>{Info.get(), Records.get(), RecordsBot.get()})
    for (const Way& way : ways) {
      Clicks = 0;
      ModalDriver driver;
      driver.Then(way.Answer);
      window->exec();
      const std::string where = window->objectName().toStdString() + " " + way.Name;
      EXPECT_TRUE(driver.Done()) << where;
      EXPECT_FALSE(driver.TimedOut()) << where;
      EXPECT_FALSE(window->isVisible()) << where;
      EXPECT_EQ(Clicks, 1) << where;
    }
}

TEST_F(RecordsWindowsTest, EnterClosesWhereverTheFocusIs) {
  // With the focus on "See Records ..", Enter still closes the records-obtained window
  // and opens no list.
  Info->show();
  Info->Button1->setFocus();
  SendKey(Info.get(), Qt::Key_Return);
  EXPECT_FALSE(Info->isVisible());
  EXPECT_FALSE(Records->isVisible());

  Records->show();
  Records->PageControl->tabBar()->setFocus();
  SendKey(Records.get(), Qt::Key_Enter);
  EXPECT_FALSE(Records->isVisible());
}

// --- Layout ---

// Every text on the window is shown whole: no label narrower or lower than its text
// needs, and every control inside the panel, the rows inside their page.
void ExpectNothingClipped(TSkinnedDialog* window) {
  const QRect panel(QPoint(0, 0), window->Panel()->size());
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->text().isEmpty() || !label->isVisibleTo(window)) continue;
    const std::string name = label->objectName().toStdString();
    EXPECT_GE(label->width(), label->sizeHint().width()) << name;
    if (!label->wordWrap()) {
      EXPECT_GE(label->height(), label->fontMetrics().height()) << name;
    }
    QWidget* page = label->parentWidget();
    EXPECT_TRUE(QRect(QPoint(0, 0), page->size()).contains(label->geometry())) << name;
  }
  for (QWidget* control : window->Panel()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(panel.contains(control->geometry())) << control->objectName().toStdString();
  for (QPushButton* button : window->findChildren<QPushButton*>())
    EXPECT_GE(button->width(), button->sizeHint().width()) << button->objectName().toStdString();
}

// The longest texts the lists can hold: 12-character names of wide letters, five-digit values.
void LongestEntries(TRecordTable& table) {
  for (int p = 0; p < RecordPositions; ++p) {
    table.TimeNames[p].Assign("WWWWWWWWWWWW");
    table.MoveNames[p].Assign("MMMMMMMMMMMM");
    table.TimeValues[p] = 64999;
    table.MoveValues[p] = 64999;
  }
}

TEST_F(RecordsWindowsTest, LongestEntriesAreNotClipped) {
  TGame& game = App().Game();
  LongestEntries(game.Campaign.Records);
  LongestEntries(game.Board.BotRecords[2][1]);
  game.Campaign.Title.Assign("The Twenty Char Tour");
  game.Board.Title.Assign("Twenty Characters Bd");
  App().Config.GameMode = 3;
  App().Config.ComputerSpeed = 2;
  App().Config.ComputerAccuracy = 1;
  Info->LabelInfo->setText(
      "You got the position number 10 in the 'Highest Moves Difference' Records..\n\n"
      "..And number 10 in the 'Highest Time Difference' Records.");
  for (TRecordListWindow* lists : std::vector<TRecordListWindow*>{Records.get(), RecordsBot.get()}) {
    lists->show();
    for (int page : {0, 1}) {
      lists->PageControl->setCurrentIndex(page);
      QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
      ExpectNothingClipped(lists);
    }
    lists->hide();
  }
  Info->show();
  ExpectNothingClipped(Info.get());
  const QLabel* label = Info->LabelInfo;
  EXPECT_GE(label->height(), label->heightForWidth(label->width()));
  Info->hide();
}

// With PAVILORE_SHARE_DIR naming an installation image (build/share/pavilore) and
// PAVILORE_SHOT_DIR a folder, the three windows are drawn in the default graphics set
// with full tables and saved there as PNG files, for looking at. Skipped otherwise.
TEST_F(RecordsWindowsTest, PicturesOfTheWindows) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_SHOT_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_SHOT_DIR to draw the windows";
  const QDir graphics(QString(share) + "/Graphics");
  for (const QString& f : graphics.entryList(QDir::Files)) {
    QFile::remove(QString::fromStdString(Inst.File("Graphics/")) + f);
    QFile::copy(graphics.filePath(f), QString::fromStdString(Inst.File("Graphics/")) + f);
  }
  CreateSkinBitmaps();
  LoadBackgroundPicture();
  ASSERT_TRUE(LoadGraphicsSet());

  TGame& game = App().Game();
  const char* names[] = {"Ann", "Bartholomew", "Zo\xEB", "Tester", "Kim", "Rosalind",
                         "Ann", "Maximilian12", "Tester", "Lee"};
  TRecordTable& t = game.Board.Records;
  for (int p = 0; p < RecordPositions; ++p) {
    t.TimeNames[p].Assign(names[p]);
    t.MoveNames[p].Assign(names[(p + 3) % RecordPositions]);
    t.TimeValues[p] = p < 8 ? 38 + p * p * 97 : EmptyRecord;
    t.MoveValues[p] = p < 9 ? 21 + p * 4 : EmptyRecord;
  }
  TRecordTable& b = game.Board.BotRecords[1][2];
  for (int p = 0; p < RecordPositions; ++p) {
    b.TimeNames[p].Assign(p < 5 ? names[p] : "");
    b.MoveNames[p].Assign(p < 4 ? names[p + 2] : "");
    b.TimeValues[p] = p < 5 ? 1200 - p * 231 : 0;
    b.MoveValues[p] = p < 4 ? 64 - p * 15 : 0;
  }
  game.Board.Title.Assign("Spiral Gardens");
  App().Config.IPFromPuzzle = 0;
  App().Config.ComputerSpeed = 1;
  App().Config.ComputerAccuracy = 2;
  Info->LabelInfo->setText(
      "You got the position number 3 in the 'Fewest Moves' Records..\n\n"
      "..And number 5 in the 'Fastest Times' Records.");
  const QString base = QString(out) + "/";
  struct Shot {
    TSkinnedDialog* Window;
    int Page;
    const char* File;
  };
  for (const Shot& s : {Shot{Records.get(), 0, "records-times.png"}, Shot{Records.get(), 1, "records-moves.png"},
                        Shot{RecordsBot.get(), 0, "records-bot-times.png"},
                        Shot{RecordsBot.get(), 1, "records-bot-moves.png"}, Shot{Info.get(), -1, "records-info.png"}}) {
    s.Window->show();
    if (auto* lists = qobject_cast<TRecordListWindow*>(s.Window)) {
      lists->PageControl->setCurrentIndex(s.Page);
      QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    EXPECT_TRUE(s.Window->grab().save(base + s.File));
    s.Window->hide();
  }
}

}  // namespace
}  // namespace pav::test
