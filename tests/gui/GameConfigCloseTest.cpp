// The game configuration window's close check by every way of closing, the main
// window after it, the recommended tile set, the cheat word and pictures of the window.
#include "gui/GameConfigFixture.h"

namespace pav::test {
namespace {

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
