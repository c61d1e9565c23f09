// The game configuration window: its lists, the mode, puzzle-option and coupling
// rules, the checks of a picked puzzle or campaign with their messages, files that
// cannot be used, the close check by every way of closing, the recommended tile set
// and the cheat word.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "files/UnitGame.h"
#include "gui/FlatSkin.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "ui/UnitMain.h"

namespace pav::test {
namespace {

void SendKey(QWidget* target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
}

// Each character as the key the platform reports: letters as upper-case key codes.
void Type(QWidget* target, const std::string& keys) {
  for (const char c : keys) {
    const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
    SendKey(target, key, QString(QChar(c)));
  }
}

// A real pointer press and release on a button: on the indicator of a radio or
// check box, in the middle of a push button.
void PressButton(QAbstractButton* button) {
  const bool pushButton = qobject_cast<QPushButton*>(button) != nullptr;
  const int x = pushButton ? button->width() / 2 : 8, y = button->height() / 2;
  SendPress(button, x, y);
  SendRelease(button, x, y);
}

// The player picks an entry of a list.
void Pick(QComboBox* list, const QString& entry) {
  const int i = list->findText(entry);
  ASSERT_GE(i, 0) << entry.toStdString();
  list->setCurrentIndex(i);
  emit list->activated(i);
}

QStringList Entries(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < LogBufferCount(); ++i) lines.push_back(LogBufferLine(i));
  return lines;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Boards Alpha (6 x 5) and Beta (8 x 6); the puzzle "Beta Slide" on Beta; the
// campaign "Tour" whose only level is "Beta Slide"; sounds on and heard.
class GameConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    SetMainWindow(nullptr);
    TApp& app = App();
    app.AppFolder = Inst.Folder();
    app.Config = MakeConfig("Alpha");
    app.Config.SoundsOn = 1;
    app.Config.ClickSound.Assign("Click");
    app.Config.SolvedSound.Assign("Solved");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    Inst.WriteBytes("Sounds/Solved.WAV", "RIFF");
    SetWavePlayer([this](TEffect effect, const std::string&) { Played.push_back(effect); });
    Inst.AddBoard("Alpha", *MakeBoard(6, 5, "Alpha Board"));
    Inst.AddBoard("Beta", *MakeBoard(8, 6, "Beta Board"));
    auto puzzle = MakePuzzle("Beta", "Beta Slide");
    puzzle->TimeLimit = 60;
    Inst.AddPuzzle("Puzzles", "Beta Slide", *puzzle);
    Inst.AddCampaign("Tour", {"Beta Slide"}, "Grand Tour");
    app.Game().Board = *MakeBoard(6, 5, "Alpha Board");
    app.Game().Current = app.Game().Board.Pattern;
    Form = std::make_unique<TFormGame>();
  }
  void TearDown() override {
    Form.reset();
    SetWavePlayer(nullptr);
  }

  // The four pattern and limit groups: true where "From Puzzle File" is selected.
  std::vector<bool> Sources() const {
    return {Form->RadioButtonIPFromPuzzle->isChecked(), Form->RadioButtonOPFromPuzzle->isChecked(),
            Form->RadioButtonTLFromPuzzle->isChecked(), Form->RadioButtonMLFromPuzzle->isChecked()};
  }
  std::vector<bool> PuzzleOptionsEnabled() const {
    return {Form->RadioButtonIPFromPuzzle->isEnabled(), Form->RadioButtonOPFromPuzzle->isEnabled(),
            Form->RadioButtonTLFromPuzzle->isEnabled(), Form->RadioButtonMLFromPuzzle->isEnabled()};
  }
  void ExpectDefaults() const {
    EXPECT_EQ(Sources(), std::vector<bool>(4, false));
    EXPECT_TRUE(Form->RadioButtonIPRandom->isChecked());
    EXPECT_TRUE(Form->RadioButtonOPFromBoard->isChecked());
    EXPECT_TRUE(Form->RadioButtonTLNone->isChecked());
    EXPECT_TRUE(Form->RadioButtonMLNone->isChecked());
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : Messages.Messages) texts.push_back(m.first);
    return texts;
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Played;
  std::unique_ptr<TFormGame> Form;
};

// ---- Showing -----------------------------------------------------------------------

TEST_F(GameConfigTest, ListsHoldTheGameFilesSortedWithTheConfiguredOnesSelected) {
  Inst.AddBoard("alder", "Alder");
  Inst.AddBoard(".hidden", "Hidden");
  Inst.AddBoard(std::string(46, 'L'), "Longest");  // 50 characters with ".BRD"
  Inst.AddBoard(std::string(47, 'M'), "Too Long");
  Inst.WriteBytes("Boards/Notes.TXT", "not a board");
  Inst.AddPuzzle("Puzzles/Campaign Levels", "Hidden Level", *MakePuzzle("Beta", "Level"));
  Inst.AddCampaign("Autumn", {"Beta Slide"}, "Autumn");
  App().Config.BoardName.Assign("BETA");
  App().Config.PuzzleName.Assign("beta slide");
  App().Config.CampaignName.Assign("TOUR");
  Form->show();
  EXPECT_EQ(Entries(Form->ComboBoxBoard),
            QStringList({"alder", "Alpha", "Beta", QString(46, 'L')}));
  EXPECT_EQ(Form->ComboBoxBoard->currentText(), "Beta");
  EXPECT_EQ(Entries(Form->ComboBoxPuzzle), QStringList({"Beta Slide"}));
  EXPECT_EQ(Form->ComboBoxPuzzle->currentText(), "Beta Slide");
  EXPECT_EQ(Entries(Form->ComboBoxCampaign), QStringList({"Autumn", "Tour"}));
  EXPECT_EQ(Form->ComboBoxCampaign->currentText(), "Tour");
  EXPECT_TRUE(Messages.Empty());
}

TEST_F(GameConfigTest, ShowsTheConfigurationAndAGonePuzzleLeavesNothingFromPuzzle) {
  struct Case {
    const char* Name;
    const char* Puzzle;
    bool PuzzleSelected;
    std::vector<bool> Sources;
  };
  for (const Case& c : {Case{"puzzle present", "Beta Slide", true, {true, true, true, true}},
                        Case{"puzzle gone", "Vanished", false, {false, false, false, false}}}) {
    SCOPED_TRACE(c.Name);
    TConfig& cfg = App().Config;
    cfg.BoardName.Assign("Beta");
    cfg.PuzzleName.Assign(c.Puzzle);
    cfg.IPFromPuzzle = cfg.OPFromPuzzle = cfg.TLFromPuzzle = cfg.MLFromPuzzle = 1;
    cfg.ComputerSpeed = 2;
    cfg.ComputerAccuracy = 1;
    cfg.HumanPlaysFirst = 1;
    cfg.UseOpponentTime = 1;
    cfg.UseOpponentMoves = 1;
    cfg.OpponentAnd = 1;
    Form->show();
    EXPECT_EQ(Form->ComboBoxPuzzle->currentIndex() >= 0, c.PuzzleSelected);
    EXPECT_EQ(Sources(), c.Sources);
    EXPECT_EQ(PuzzleOptionsEnabled(), c.Sources);
    EXPECT_EQ(Form->ComboBoxSpeed->currentText(), "Level 3 : Fast");
    EXPECT_EQ(Form->ComboBoxAccuracy->currentText(), "Level 2 : Medium");
    EXPECT_TRUE(Form->CheckBoxTurn->isChecked());
    EXPECT_TRUE(Form->RadioButtonOpoAnd->isChecked());
    // The board's preview: 8 x 6 cells at scale 8, centred in its frame.
    EXPECT_TRUE(Form->ImagePreview->isVisible());
    EXPECT_EQ(Form->ImagePreview->geometry(),
              QRect((Form->BevelPreview->width() - 48) / 2, (Form->BevelPreview->height() - 36) / 2, 48, 36));
    Form->hide();
  }
}

TEST_F(GameConfigTest, TheWindowIsWholeCellsAndTheFrameHoldsTheLargestBoard) {
  Form->show();
  EXPECT_EQ(Form->width() % 48, 0);
  EXPECT_EQ(Form->height() % 48, 0);
  EXPECT_GE(Form->BevelPreview->width(), 120 + 4);
  EXPECT_GE(Form->BevelPreview->height(), 90 + 4);
  // Every control lies inside the panel.
  const QRect panel = Form->Panel()->rect();
  for (QWidget* w : Form->Panel()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(panel.contains(w->geometry())) << w->objectName().toStdString();
}

// ---- Mode rules, puzzle-option and coupling rules --------------------------------------

TEST_F(GameConfigTest, EachModeEnablesItsControlsAndSelectsItsSources) {
  struct Case {
    const char* Name;
    QRadioButton* TFormGame::*Mode;
    bool Puzzle;
    bool Board, PuzzleList, Campaign, Computer, RandomAndNone;
    std::vector<bool> FromPuzzleEnabled, FromPuzzleSelected;
  };
  const std::vector<Case> cases = {
      {"single with puzzle", &TFormGame::RadioButtonSingle, true, true, true, false, false, true,
       {true, true, true, true}, {true, true, true, true}},
      {"single without puzzle", &TFormGame::RadioButtonSingle, false, true, true, false, false, true,
       {false, false, false, false}, {false, false, false, false}},
      {"computer with puzzle", &TFormGame::RadioButtonBot, true, true, false, false, true, true,
       {false, false, false, false}, {false, false, false, false}},
      {"campaign", &TFormGame::RadioButtonCamp, false, false, false, true, false, false,
       {true, true, true, true}, {true, true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    App().Config.GameMode = 2;  // shown in another mode than each case's
    App().Config.BoardName.Assign("Beta");
    App().Config.PuzzleName.Assign(c.Puzzle ? "Beta Slide" : "");
    if (c.Mode == &TFormGame::RadioButtonBot) App().Config.GameMode = 1;
    Form->show();
    PressButton(Form.get()->*c.Mode);
    ASSERT_TRUE((Form.get()->*c.Mode)->isChecked());
    EXPECT_EQ(Form->ComboBoxBoard->isEnabled(), c.Board);
    EXPECT_EQ(Form->Label1->isEnabled(), c.Board);
    EXPECT_EQ(Form->ComboBoxPuzzle->isEnabled(), c.PuzzleList);
    EXPECT_EQ(Form->Label2->isEnabled(), c.PuzzleList);
    EXPECT_EQ(Form->ComboBoxCampaign->isEnabled(), c.Campaign);
    EXPECT_EQ(Form->Label3->isEnabled(), c.Campaign);
    for (QWidget* w : std::initializer_list<QWidget*>{Form->ComboBoxSpeed, Form->ComboBoxAccuracy, Form->Label4,
                                                      Form->Label5, Form->CheckBoxTurn, Form->CheckBoxOpoTime,
                                                      Form->CheckBoxOpoMoves})
      EXPECT_EQ(w->isEnabled(), c.Computer) << w->objectName().toStdString();
    for (QRadioButton* r : {Form->RadioButtonIPRandom, Form->RadioButtonOPFromBoard, Form->RadioButtonTLNone,
                            Form->RadioButtonMLNone})
      EXPECT_EQ(r->isEnabled(), c.RandomAndNone) << r->objectName().toStdString();
    EXPECT_EQ(PuzzleOptionsEnabled(), c.FromPuzzleEnabled);
    EXPECT_EQ(Sources(), c.FromPuzzleSelected);
    Form->hide();
  }
}

TEST_F(GameConfigTest, AndOrAreEnabledOnlyWhenBothOpponentLimitsAreTicked) {
  App().Config.GameMode = 2;
  Form->show();
  struct Step {
    QCheckBox* TFormGame::*Box;
    bool Enabled;
  };
  for (const Step s : {Step{&TFormGame::CheckBoxOpoTime, false}, Step{&TFormGame::CheckBoxOpoMoves, true},
                       Step{&TFormGame::CheckBoxOpoTime, false}, Step{&TFormGame::CheckBoxOpoTime, true}}) {
    PressButton(Form.get()->*s.Box);
    EXPECT_EQ(Form->RadioButtonOpoAnd->isEnabled(), s.Enabled);
    EXPECT_EQ(Form->RadioButtonOpoOr->isEnabled(), s.Enabled);
  }
}

TEST_F(GameConfigTest, SelectingASourceCouplesTheOtherGroups) {
  struct Case {
    const char* Name;
    QRadioButton* TFormGame::*Click;
    std::vector<bool> Sources;
    bool LimitsFromPuzzleEnabled;
  };
  // Each starts with everything from the puzzle.
  for (const Case& c : {Case{"random start", &TFormGame::RadioButtonIPRandom, {false, false, false, false}, false},
                        Case{"objective from board", &TFormGame::RadioButtonOPFromBoard, {false, false, false, false},
                             false},
                        Case{"no time limit", &TFormGame::RadioButtonTLNone, {true, true, false, true}, true},
                        Case{"no moves limit", &TFormGame::RadioButtonMLNone, {true, true, true, false}, true}}) {
    SCOPED_TRACE(c.Name);
    TConfig& cfg = App().Config;
    cfg.BoardName.Assign("Beta");
    cfg.PuzzleName.Assign("Beta Slide");
    cfg.IPFromPuzzle = cfg.OPFromPuzzle = cfg.TLFromPuzzle = cfg.MLFromPuzzle = 1;
    Form->show();
    ASSERT_EQ(Sources(), std::vector<bool>(4, true));
    PressButton(Form.get()->*c.Click);
    EXPECT_EQ(Sources(), c.Sources);
    EXPECT_EQ(Form->RadioButtonTLFromPuzzle->isEnabled(), c.LimitsFromPuzzleEnabled);
    EXPECT_EQ(Form->RadioButtonMLFromPuzzle->isEnabled(), c.LimitsFromPuzzleEnabled);
    // And back: the initial pattern from the puzzle brings everything else with it.
    PressButton(Form->RadioButtonIPFromPuzzle);
    EXPECT_EQ(Sources(), (std::vector<bool>{true, true, c.Sources[2] || !c.Sources[0], c.Sources[3] || !c.Sources[0]}));
    Form->hide();
  }
}

TEST_F(GameConfigTest, PickingABoardClearsThePuzzleAndCampaignAndResetsTheSources) {
  TConfig& cfg = App().Config;
  cfg.BoardName.Assign("Beta");
  cfg.PuzzleName.Assign("Beta Slide");
  cfg.CampaignName.Assign("Tour");
  cfg.IPFromPuzzle = cfg.OPFromPuzzle = cfg.TLFromPuzzle = cfg.MLFromPuzzle = 1;
  Form->show();
  // The keyboard on the closed list: Up goes to the board before.
  Form->ComboBoxBoard->setFocus();
  SendKey(Form->ComboBoxBoard, Qt::Key_Up);
  EXPECT_EQ(Form->ComboBoxBoard->currentText(), "Alpha");
  EXPECT_LT(Form->ComboBoxPuzzle->currentIndex(), 0);
  EXPECT_LT(Form->ComboBoxCampaign->currentIndex(), 0);
  ExpectDefaults();
  EXPECT_EQ(PuzzleOptionsEnabled(), std::vector<bool>(4, false));
  EXPECT_EQ(Form->ImagePreview->size(), QSize(36, 30));
  EXPECT_TRUE(Form->isVisible());
}

// ---- Picked puzzles and campaigns -------------------------------------------------------

TEST_F(GameConfigTest, APickedPuzzleBringsItsBoardOrIsRefusedWithItsReason) {
  auto truncated = MakePuzzle("Beta", "Short");
  auto badPattern = MakePuzzle("Beta", "Bad");
  badPattern->OP.Tiles[4][4] = 99;
  auto broken = MakeBoard(8, 6, "Broken");
  broken->Width = 30;
  Inst.AddBoard("Broken", *broken);
  Inst.AddPuzzle("Puzzles", "Bad Tiles", *badPattern);
  Inst.AddPuzzle("Puzzles", "On Broken", *MakePuzzle("Broken", "On Broken"));
  Inst.AddPuzzle("Puzzles", "No Board", *MakePuzzle("Gamma", "No Board"));
  Inst.AddPuzzle("Puzzles", "Short", *truncated);
  Inst.WriteBytes("Puzzles/Short.PZZ", Inst.ReadBytes("Puzzles/Short.PZZ").substr(0, 100));
  struct Case {
    const char* Puzzle;
    std::string Message;  // "" accepted; else how the message begins
    std::string Names;    // a part of the message: the file or the board
  };
  for (const Case& c : {Case{"Beta Slide", "", ""},
                        Case{"No Board", "The board 'Gamma' needed for this Puzzle is missing.", "Gamma"},
                        Case{"Short", "Input/output error on the file '", "Short.PZZ"},
                        Case{"Bad Tiles", "The file '", "Bad Tiles.PZZ' can't be used : objective pattern"},
                        Case{"On Broken", "The file '", "Broken.BRD' can't be used : width 30"}}) {
    SCOPED_TRACE(c.Puzzle);
    Messages.Messages.clear();
    App().Config.BoardName.Assign("Alpha");
    App().Config.CampaignName.Assign("Tour");
    Form->show();
    Pick(Form->ComboBoxPuzzle, c.Puzzle);
    if (c.Message.empty()) {
      EXPECT_TRUE(Messages.Empty());
      EXPECT_EQ(Form->ComboBoxBoard->currentText(), "Beta");
      EXPECT_EQ(Form->ComboBoxPuzzle->currentText(), c.Puzzle);
      EXPECT_EQ(Sources(), std::vector<bool>(4, true));
      EXPECT_EQ(PuzzleOptionsEnabled(), std::vector<bool>(4, true));
    } else {
      ASSERT_EQ(Messages.Messages.size(), 1u) << (Messages.Empty() ? "" : Messages.Text(0));
      EXPECT_EQ(Messages.Text().rfind(c.Message, 0), 0u) << Messages.Text();
      EXPECT_NE(Messages.Text().find(c.Names), std::string::npos) << Messages.Text();
      EXPECT_LT(Form->ComboBoxPuzzle->currentIndex(), 0);
      EXPECT_EQ(Form->ComboBoxBoard->currentText(), "Alpha");
      ExpectDefaults();
    }
    EXPECT_LT(Form->ComboBoxCampaign->currentIndex(), 0);
    Form->hide();
  }
}

TEST_F(GameConfigTest, APickedCampaignIsCheckedThroughItsFirstLevel) {
  Inst.AddCampaign("Empty", {}, "Hollow Hills");
  Inst.AddCampaign("Lost Level", {"Nowhere"}, "Lost");
  Inst.AddPuzzle("Puzzles/Campaign Levels", "Boardless", *MakePuzzle("Gamma", "Boardless"));
  Inst.AddCampaign("Lost Board", {"Boardless"}, "Lost Board");
  Inst.AddPuzzle("Puzzles/Campaign Levels", "Level One", *MakePuzzle("Beta", "Level One"));
  Inst.AddCampaign("Levels Only", {"Level One"}, "Levels Only");
  Inst.AddCampaign("Short", {"Beta Slide"}, "Short");
  Inst.WriteBytes("Campaigns/Short.CPN", "tiny");
  struct Case {
    const char* Campaign;
    std::string Message;  // "" accepted
    bool PuzzleKept;      // the puzzle list keeps its selection after a refusal
    const char* Puzzle;   // selected puzzle when accepted
  };
  const std::vector<Case> cases = {
      {"Tour", "", false, "Beta Slide"},
      {"Levels Only", "", false, ""},
      {"Empty",
       "There aren't any levels defined in the Campaign \"Hollow Hills\".\r"
       "Plase define at least one level with the Campaign Editor.",
       true, ""},
      {"Lost Level", "The puzzle 'Nowhere' needed for this Campaign is missing.", false, ""},
      {"Lost Board", "The board 'Gamma' needed for this Campaign is missing.", false, ""},
      {"Short", "Input/output error on the file '", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Campaign);
    Messages.Messages.clear();
    App().Config.GameMode = 3;
    App().Config.BoardName.Assign("Alpha");
    App().Config.PuzzleName.Assign("Beta Slide");
    App().Config.CampaignName.Assign("");
    Form->show();
    Pick(Form->ComboBoxCampaign, c.Campaign);
    if (c.Message.empty()) {
      EXPECT_TRUE(Messages.Empty());
      EXPECT_EQ(Form->ComboBoxCampaign->currentText(), c.Campaign);
      EXPECT_EQ(Form->ComboBoxBoard->currentText(), "Beta");
      EXPECT_EQ(Form->ComboBoxPuzzle->currentIndex() >= 0 ? Form->ComboBoxPuzzle->currentText() : QString(),
                c.Puzzle);
      EXPECT_EQ(Sources(), std::vector<bool>(4, true));
      EXPECT_TRUE(Form->ImagePreview->isVisible());
    } else {
      ASSERT_EQ(Messages.Messages.size(), 1u);
      EXPECT_EQ(Messages.Text().rfind(c.Message, 0), 0u) << Messages.Text();
      EXPECT_LT(Form->ComboBoxCampaign->currentIndex(), 0);
      EXPECT_EQ(Form->ComboBoxPuzzle->currentIndex() >= 0, c.PuzzleKept);
      EXPECT_FALSE(Form->ImagePreview->isVisible());
    }
    Form->hide();
  }
}

// ---- Closing --------------------------------------------------------------------------------

TEST_F(GameConfigTest, OkEnterAndEscAllApplyWhatIsShown) {
  struct Way {
    const char* Name;
    std::function<void(TFormGame&)> Close;
  };
  const std::vector<Way> ways = {
      {"OK", [](TFormGame& f) { PressButton(f.ButtonOK); }},
      {"Enter on a list", [](TFormGame& f) { SendKey(f.ComboBoxPuzzle, Qt::Key_Return); }},
      {"Esc on a radio", [](TFormGame& f) { SendKey(f.RadioButtonBot, Qt::Key_Escape); }},
      {"Esc with no control focused",
       [](TFormGame& f) {
         f.setFocus();
         SendKey(&f, Qt::Key_Escape);
       }},
  };
  for (const Way& w : ways) {
    SCOPED_TRACE(w.Name);
    App().Config = MakeConfig("Alpha");
    App().Game().Board = *MakeBoard(6, 5, "Alpha Board");
    Form->show();
    Pick(Form->ComboBoxPuzzle, "Beta Slide");
    PressButton(Form->RadioButtonOPFromBoard);
    PressButton(Form->RadioButtonIPFromPuzzle);
    PressButton(Form->RadioButtonMLNone);
    w.Close(*Form);
    EXPECT_FALSE(Form->isVisible());
    const TConfig& c = App().Config;
    EXPECT_EQ(c.GameMode, 1);
    EXPECT_EQ(c.BoardName.Str(), "Beta");
    EXPECT_EQ(c.PuzzleName.Str(), "Beta Slide");
    EXPECT_EQ((std::vector<int>{c.IPFromPuzzle, c.OPFromPuzzle, c.TLFromPuzzle, c.MLFromPuzzle}),
              (std::vector<int>{1, 1, 1, 0}));
    const TGame& g = App().Game();
    EXPECT_EQ(g.Board.Title.Str(), "Beta Board");
    EXPECT_EQ(g.Puzzle.Title.Str(), "Beta Slide");
    EXPECT_EQ(g.Puzzle.TimeLimit, 60);
    // The objective shows until a game starts: the puzzle's.
    EXPECT_EQ(g.Current.Tiles[3][3], 2);
    EXPECT_EQ(g.Current.Tiles[2][2], 0);
    EXPECT_TRUE(App().OPPlacementPending);
  }
  EXPECT_TRUE(Messages.Empty());
}

TEST_F(GameConfigTest, TheComputerSettingsAreWrittenFromTheirControls) {
  App().Config.GameMode = 2;
  Form->show();
  Form->ComboBoxSpeed->setCurrentIndex(1);
  Form->ComboBoxAccuracy->setCurrentIndex(2);
  PressButton(Form->CheckBoxTurn);
  PressButton(Form->CheckBoxOpoTime);
  PressButton(Form->CheckBoxOpoMoves);
  PressButton(Form->RadioButtonOpoAnd);
  PressButton(Form->ButtonOK);
  const TConfig& c = App().Config;
  EXPECT_EQ((std::vector<int>{c.GameMode, c.ComputerSpeed, c.ComputerAccuracy, c.HumanPlaysFirst, c.UseOpponentTime,
                              c.UseOpponentMoves, c.OpponentAnd}),
            (std::vector<int>{2, 1, 2, 1, 1, 1, 1}));
}

TEST_F(GameConfigTest, TheOkButtonClicksOnItsPress) {
  Form->show();
  SendPress(Form->ButtonOK, 10, 10);
  EXPECT_EQ(Played, std::vector<TEffect>{TEffect::Click});
  EXPECT_TRUE(Form->isVisible());
  SendRelease(Form->ButtonOK, 10, 10);
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Played, std::vector<TEffect>{TEffect::Click});
}

TEST_F(GameConfigTest, ARefusedCloseKeepsTheWindowOpenAndTheGameAsItWas) {
  struct Case {
    const char* Name;
    std::function<void(TempInstallation&, TFormGame&)> Prepare;
    std::string Message;  // how it begins
  };
  const std::vector<Case> cases = {
      {"campaign mode without a campaign",
       [](TempInstallation&, TFormGame& f) { PressButton(f.RadioButtonCamp); },
       "Please choose a Campaign File or change the Game Mode"},
      {"every board gone",
       [](TempInstallation& inst, TFormGame&) {
         inst.Remove("Boards/Alpha.BRD");
         inst.Remove("Boards/Beta.BRD");
       },
       "There aren't any boards in the 'Boards' folder."},
      {"the picked puzzle damaged before closing",
       [](TempInstallation& inst, TFormGame& f) {
         Pick(f.ComboBoxPuzzle, "Beta Slide");
         inst.WriteBytes("Puzzles/Beta Slide.PZZ", "broken");
       },
       "Input/output error on the file '"},
      {"the board damaged before closing",
       [](TempInstallation& inst, TFormGame&) { inst.WriteBytes("Boards/Alpha.BRD", "broken"); },
       "Input/output error on the file '"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TempInstallation inst;
    App().AppFolder = inst.Folder();
    App().Config = MakeConfig("Alpha");
    inst.AddBoard("Alpha", *MakeBoard(6, 5, "Alpha Board"));
    inst.AddBoard("Beta", *MakeBoard(8, 6, "Beta Board"));
    inst.AddPuzzle("Puzzles", "Beta Slide", *MakePuzzle("Beta", "Beta Slide"));
    TGame& g = App().Game();
    g.Board = *MakeBoard(6, 5, "Before");
    g.Puzzle.Title.Assign("Before");
    const std::string configBefore(reinterpret_cast<const char*>(&App().Config), sizeof(TConfig));
    TFormGame form;
    form.show();
    Messages.Messages.clear();
    c.Prepare(inst, form);
    if (std::string(c.Name) == "every board gone") form.hide(), form.show();
    Messages.Messages.clear();
    SendKey(form.focusWidget() ? form.focusWidget() : &form, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Text().rfind(c.Message, 0), 0u) << Messages.Text();
    EXPECT_EQ(g.Board.Title.Str(), "Before");
    EXPECT_EQ(g.Puzzle.Title.Str(), "Before");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&App().Config), sizeof(TConfig)), configBefore);
  }
}

TEST_F(GameConfigTest, TheMainWindowFollowsANewBoardAndIsCentredOnlyWhenItNoLongerFits) {
  TFormMain main(false);
  main.ResizeMainWindow(false, false, true);
  main.show();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QSize beta = MainWindowSize(8, 6, true);
  struct Case {
    const char* Name;
    const char* Board;
    QPoint At;
    QSize Size;
    QPoint After;  // where the main window stands afterwards
    bool Placement;
  };
  const QPoint centred(screen.x() + (screen.width() - beta.width()) / 2,
                       screen.y() + (screen.height() - beta.height()) / 2);
  for (const Case& c : {Case{"same board", "Alpha", {10, 20}, MainWindowSize(6, 5, true), {10, 20}, false},
                        Case{"new board that fits", "Beta", {10, 20}, beta, {10, 20}, true},
                        Case{"new board past the right edge", "Beta", {screen.width() - beta.width() + 1, 0}, beta,
                             centred, true},
                        Case{"new board left of the screen", "Beta", {-5, 0}, beta, centred, true}}) {
    SCOPED_TRACE(c.Name);
    App().Config.BoardName.Assign("Alpha");
    App().Game().Board = *MakeBoard(6, 5, "Alpha Board");
    main.ResizeMainWindow(false, false, true);
    main.move(c.At);
    App().OPPlacementPending = false;
    Form->show();
    Pick(Form->ComboBoxBoard, c.Board);
    PressButton(Form->ButtonOK);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(main.size(), c.Size);
    EXPECT_EQ(main.pos(), c.After);
    EXPECT_EQ(MainPicture().size(), c.Size);
    EXPECT_EQ(App().OPPlacementPending, c.Placement);
  }
  EXPECT_TRUE(Messages.Empty());
}

// ---- The recommended tile set ------------------------------------------------------------

TEST_F(GameConfigTest, APickedBoardBringsItsRecommendedTileSetWhenThePictureExists) {
  Inst.AddPicture("TS - Wood.BMP", 480, 240);
  CreateSkinBitmaps();
  ASSERT_TRUE(LoadGraphicsSet());
  auto withSet = [](const char* set) {
    auto b = MakeBoard(8, 6, "Recommending");
    b->RecommendedTileSet.Assign(set);
    return b;
  };
  Inst.AddBoard("Wood Board", *withSet("TS - Wood"));
  Inst.AddBoard("Marble Board", *withSet("TS - Marble"));  // no such picture
  Inst.AddBoard("Stone Board", *withSet("TS - Stone"));
  struct Case {
    const char* Board;
    bool Auto;
    const char* TileSet;
    bool PictureOn;
  };
  // Shown on the stone board, whose set is missing too: the tile set in use stays.
  for (const Case& c : {Case{"Wood Board", true, "TS - Wood", false}, Case{"Wood Board", false, "TS - User", true},
                        Case{"Marble Board", true, "TS - User", true}, Case{"Beta", true, "TS - Default", false}}) {
    SCOPED_TRACE(std::string(c.Board) + (c.Auto ? " auto" : " by hand"));
    TConfig& cfg = App().Config;
    cfg.BoardName.Assign("Stone Board");
    cfg.AutoTileSet = c.Auto;
    cfg.TileSet.Assign("TS - User");
    cfg.UserTileSet.Assign("TS - Default");
    cfg.PictureOn = 1;
    cfg.UserPictureOn = 0;
    Form->show();
    ASSERT_EQ(cfg.TileSet.Str(), "TS - User");
    Pick(Form->ComboBoxBoard, c.Board);
    EXPECT_EQ(cfg.TileSet.Str(), c.TileSet);
    EXPECT_EQ(cfg.PictureOn != 0, c.PictureOn);
    EXPECT_EQ(cfg.UserTileSet.Str(), "TS - Default");
    Form->hide();
  }
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
}

// ---- The cheat word ---------------------------------------------------------------------------

TEST_F(GameConfigTest, TheCheatWordTogglesTheCheatsEachTimeItIsTyped) {
  struct Case {
    const char* Name;
    std::string Keys;
    int Toggles;
  };
  for (const Case& c : {Case{"the word", "zephyrmove", 1}, Case{"after other keys", "abc1zephyrMOVE", 1},
                        Case{"twice in a row", "ZEPHYRMOVEZEPHYRMOVE", 2}, Case{"broken by a key", "ZEPHYRXMOVE", 0},
                        Case{"one letter short", "ZEPHYRMOV", 0}, Case{"three times", "zephyrmovezephyrmovezephyrmove", 3}}) {
    SCOPED_TRACE(c.Name);
    App().CheatsEnabled = false;
    ResetLogBuffer();
    Played.clear();
    Form->show();
    Form->ComboBoxBoard->setFocus();  // the keys reach the window on their way to a list
    Type(Form->ComboBoxBoard, c.Keys);
    EXPECT_EQ(App().CheatsEnabled, c.Toggles % 2 == 1);
    EXPECT_EQ(Form->LabelCheats->isVisible(), App().CheatsEnabled);
    EXPECT_EQ(Played, std::vector<TEffect>(static_cast<std::size_t>(c.Toggles), TEffect::Solved));
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(2 * c.Toggles));
    for (int t = 0; t < c.Toggles; ++t) {
      const std::string& stamped = lines[static_cast<std::size_t>(2 * t)];
      EXPECT_TRUE(EndsWith(stamped, t % 2 == 0 ? " : *  Cheats enabled  *" : " : *  Cheats disabled  *")) << stamped;
      EXPECT_EQ(lines[static_cast<std::size_t>(2 * t + 1)], " -");
    }
    Form->hide();
  }
}

TEST_F(GameConfigTest, KeysOnTheOpponentLimitsAreNotSeen) {
  App().Config.GameMode = 2;
  Form->show();
  PressButton(Form->CheckBoxOpoTime);
  PressButton(Form->CheckBoxOpoMoves);
  for (QWidget* w : std::initializer_list<QWidget*>{Form->CheckBoxOpoTime, Form->CheckBoxOpoMoves,
                                                    Form->RadioButtonOpoAnd, Form->RadioButtonOpoOr}) {
    SCOPED_TRACE(w->objectName().toStdString());
    w->setFocus();
    Type(w, "ZEPHYRMOVE");
    SendKey(w, Qt::Key_Escape);
    SendKey(w, Qt::Key_Return);
    EXPECT_FALSE(App().CheatsEnabled);
    EXPECT_TRUE(Form->isVisible());
  }
  // The same keys on a control the window watches.
  Form->CheckBoxTurn->setFocus();
  Type(Form->CheckBoxTurn, "ZEPHYRMOVE");
  EXPECT_TRUE(App().CheatsEnabled);
  App().CheatsEnabled = false;
}

TEST(GameConfigCheatBuffer, HoldsTheLastTenKeysAndCursorKeysBreakTheWord) {
  TCheatWordBuffer buffer;
  EXPECT_EQ(buffer.Text(), std::string(10, ' '));
  struct Step {
    int Key;
    bool Match;
  };
  for (const char c : std::string("XZEPHYR")) EXPECT_FALSE(buffer.Add(CheatKeyCode(c)));
  EXPECT_EQ(buffer.Text(), "XZEPHYR   ");
  EXPECT_EQ(buffer.Count(), 7);
  for (const Step s : {Step{'M', false}, Step{'O', false}, Step{'V', false}, Step{'E', true}}) {
    EXPECT_EQ(buffer.Add(CheatKeyCode(s.Key)), s.Match);
  }
  EXPECT_EQ(buffer.Text(), "ZEPHYRMOVE");
  EXPECT_EQ(buffer.Count(), 10);
  // A cursor key between the letters counts as a key of its own.
  buffer.Reset();
  for (const int k : std::vector<int>{'Z', 'E', 'P', 'H', 'Y', 'R', static_cast<int>(Qt::Key_Down), 'M', 'O', 'V', 'E'})
    EXPECT_FALSE(buffer.Add(CheatKeyCode(k)));
  EXPECT_EQ(CheatKeyCode(Qt::Key_Shift), -1);
  EXPECT_EQ(CheatKeyCode(Qt::Key_F1), -1);
}

// ---- Whether the main window still fits ----------------------------------------------------------

TEST(GameConfigFit, TheMainWindowFitsWhenItsCornerIsOnScreenAndTheBoardFits) {
  struct Case {
    int Left, Top, W, H;
    bool Fits;
  };
  const QSize screen(1024, 768);
  for (const Case c : {Case{0, 0, 20, 15, true}, Case{16, 0, 20, 15, true}, Case{17, 0, 20, 15, false},
                       Case{0, 0, 20, 16, false}, Case{-1, 10, 6, 5, false}, Case{10, -1, 6, 5, false},
                       Case{688, 432, 6, 6, true}, Case{689, 432, 6, 6, false}, Case{688, 433, 6, 6, false}}) {
    SCOPED_TRACE(std::to_string(c.Left) + "," + std::to_string(c.Top) + " " + std::to_string(c.W) + "x" +
                 std::to_string(c.H));
    EXPECT_EQ(MainWindowFits(c.Left, c.Top, c.W, c.H, screen), c.Fits);
  }
}

// ---- Pictures -------------------------------------------------------------------------------------

// With PAVILORE_SHARE_DIR naming an installation image (build/share/pavilore) and
// PAVILORE_RENDER_DIR a folder, the window is drawn in both shipped board graphics.
TEST(GameConfigPictures, SaveTheWindowInEachBoardGraphics) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_RENDER_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_RENDER_DIR to save the window";
  QTemporaryDir dir;
  for (const char* sub : {"Graphics", "Boards", "Puzzles", "Campaigns"}) {
    QDir(dir.path()).mkdir(sub);
    const QDir from(QString(share) + "/" + sub);
    for (const QString& f : from.entryList(QDir::Files))
      QFile::copy(from.filePath(f), dir.path() + "/" + sub + "/" + f);
  }
  MessageCatcher messages;
  for (const char* graphics : {"GB - Default", "GB - Slate"}) {
    ResetApp();
    App().AppFolder = dir.path().toStdString();
    App().Config = MakeConfig("Classic 4 x 4");
    App().Config.BoardGraphics.Assign(graphics);
    App().Config.PuzzleName.Assign("Fifteen");
    App().Config.IPFromPuzzle = App().Config.OPFromPuzzle = 1;
    CreateSkinBitmaps();
    LoadBackgroundPicture();
    ASSERT_TRUE(LoadGraphicsSet());
    TFormGame form;
    form.show();
    EXPECT_TRUE(form.grab().save(QString(out) + "/game config " + graphics + ".png"));
    App().CheatsEnabled = true;
    App().Config.GameMode = 2;
    App().Config.BoardName.Assign("Grand Hall");
    form.hide();
    form.show();
    EXPECT_TRUE(form.grab().save(QString(out) + "/game config computer " + graphics + ".png"));
    form.hide();
  }
  EXPECT_TRUE(messages.Empty()) << messages.Text();
}

}  // namespace
}  // namespace pav::test
