// The game configuration window: its lists and layout, the mode, puzzle-option and
// coupling rules, and the checks of a picked board, puzzle or campaign with their messages.
#include "gui/GameConfigFixture.h"

namespace pav::test {
namespace {

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

// Files are named in UTF-8 on the disk; the game's names are Windows-1252.
TEST_F(GameConfigTest, NamesOutsideAsciiAreListedAsOnTheDiskAndStoredInWindows1252) {
  Inst.AddBoard("Zo\xC3\xAB", "Zoe's");
  Inst.AddBoard("\xCE\xB1\xCE\xB2", "Greek");  // no Windows-1252 name could find it again
  Inst.AddPuzzle("Puzzles", "Zo\xC3\xAB Slide", *MakePuzzle("Zo\xEB", "Slide"));
  App().Config.BoardName.Assign("Zo\xEB");
  Form->show();
  EXPECT_EQ(Entries(Form->ComboBoxBoard), QStringList({"Alpha", "Beta", QString::fromUtf8("Zo\xC3\xAB")}));
  EXPECT_EQ(ListText(Form->ComboBoxBoard), "Zo\xEB");
  Pick(Form->ComboBoxBoard, "Beta");
  Pick(Form->ComboBoxPuzzle, QString::fromUtf8("Zo\xC3\xAB Slide"));
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
  EXPECT_EQ(ListText(Form->ComboBoxPuzzle), "Zo\xEB Slide");
  EXPECT_EQ(ListText(Form->ComboBoxBoard), "Zo\xEB");
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

TEST_F(GameConfigTest, APickedBoardThatCannotBeUsedIsReportedAndItsSelectionCleared) {
  auto wide = MakeBoard(8, 6, "Wide");
  wide->Width = 21;
  Inst.AddBoard("Wide", *wide);
  Inst.WriteBytes("Boards/Stub.BRD", std::string(15735, '\0'));  // one byte short of a record
  struct Case {
    const char* Board;
    std::string Begins, Names;
  };
  for (const Case& c : {Case{"Wide", "The file '", "Wide.BRD' can't be used : width 21 is outside 3..20"},
                        Case{"Stub", "Input/output error on the file '", "Stub.BRD"}}) {
    SCOPED_TRACE(c.Board);
    Messages.Messages.clear();
    App().Config.PuzzleName.Assign("Beta Slide");
    Form->show();
    Pick(Form->ComboBoxBoard, c.Board);
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Text().rfind(c.Begins, 0), 0u) << Messages.Text();
    EXPECT_NE(Messages.Text().find(c.Names), std::string::npos) << Messages.Text();
    EXPECT_LT(Form->ComboBoxBoard->currentIndex(), 0);
    EXPECT_LT(Form->ComboBoxPuzzle->currentIndex(), 0);
    EXPECT_FALSE(Form->ImagePreview->isVisible());
    ExpectDefaults();
    // Closing now asks for a board instead of reading a file without a name.
    Messages.Messages.clear();
    PressButton(Form->ButtonOK);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Please choose a Board File."});
    EXPECT_EQ(App().Game().Board.Title.Str(), "Alpha Board");
    Form->hide();
  }
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

}  // namespace
}  // namespace pav::test
