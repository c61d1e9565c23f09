// The game's dialogs around a single game: the start window (what it prepares and
// shows, how it starts the game, a board that cannot be scrambled), the
// end-of-game message window and the pause window (keys, choice, sounds), and
// where all three stand beside the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "engine/Scramble.h"
#include "files/GameFiles.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Graphics.h"
#include "render/Skin.h"
#include "ui/UnitInfoSingle.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

const QColor Maroon(128, 0, 0);

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(target, &release);
}

QColor TextColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

// The lines of the player's log written since the buffer was last emptied.
std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < LogBufferCount(); ++i) lines.push_back(LogBufferLine(i));
  return lines;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A single game on a 6 x 5 board with a puzzle of its own, sounds on and heard.
class GameDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    SetMainWindow(nullptr);
    TApp& app = App();
    app.AppFolder = Inst.Folder();
    app.Config = MakeConfig("Alpha");
    app.Config.PuzzleName.Assign("First Slide");
    app.Config.SoundsOn = 1;
    app.Config.ClickSound.Assign("Click");
    app.Config.GameOverSound.Assign("Game Over");
    Inst.WriteBytes("Sounds/Click.WAV", "RIFF");
    Inst.WriteBytes("Sounds/Game Over.WAV", "RIFF");
    SetWavePlayer([this](TEffect effect, const std::string&) { Played.push_back(effect); });
    UseBoard(6, 5);
    app.Game().Puzzle = *MakePuzzle("Alpha", "First Slide");
    app.Game().Current = app.Game().Board.Pattern;
  }
  void TearDown() override {
    SetWavePlayer(nullptr);
    SetMainWindow(nullptr);
  }

  void UseBoard(int width, int height) { App().Game().Board = *MakeBoard(width, height, "Alpha Board"); }
  void Sources(bool opFromPuzzle, bool ipFromPuzzle) {
    App().Config.OPFromPuzzle = opFromPuzzle;
    App().Config.IPFromPuzzle = ipFromPuzzle;
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Played;
};

// ---- Single game start window --------------------------------------------------

using GameDialogsInfoSingleTest = GameDialogsTest;

TEST_F(GameDialogsInfoSingleTest, ShowsTheObjectiveAndTheInitialPositionAndWhereTheyComeFrom) {
  struct Case {
    bool OPFromPuzzle, IPFromPuzzle;
    const char *OPText, *IPText;
  };
  auto shown = [](const QLabel* image) { return image->pixmap().toImage().convertToFormat(QImage::Format_RGB32); };
  auto drawn = [](const TPattern& p) {
    return PreviewPicture(p, App().Game().Board)
        .scaled(36, 30, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
  };
  for (const Case c : {Case{true, true, "OP : From Puzzle", "IP : From Puzzle"},
                       Case{true, false, "OP : From Puzzle", "IP : Random"},
                       Case{false, true, "OP : From Board", "IP : From Puzzle"},
                       Case{false, false, "OP : From Board", "IP : Random"}}) {
    SCOPED_TRACE(std::string(c.OPText) + " / " + c.IPText);
    Sources(c.OPFromPuzzle, c.IPFromPuzzle);
    TFormInfoSingle info;
    info.show();
    EXPECT_EQ(info.LabelOP->text(), c.OPText);
    EXPECT_EQ(info.LabelIP->text(), c.IPText);
    const TGame& g = App().Game();
    EXPECT_TRUE(PatternsEqual(g.OP, c.OPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern));
    // A random position is scrambled on showing, and that is what the preview shows.
    EXPECT_TRUE(c.IPFromPuzzle ? PatternsEqual(g.Current, g.Puzzle.IP) : !PatternsEqual(g.Current, g.OP));
    EXPECT_EQ(shown(info.ImageOP), drawn(g.OP));
    EXPECT_EQ(shown(info.ImageIP), drawn(g.Current));
    // The game is prepared but does not run until the window closes.
    EXPECT_FALSE(App().State.GameRunning);
    info.hide();
  }
}

TEST_F(GameDialogsInfoSingleTest, LimitsInMaroonOrNoneInTheNormalColour) {
  struct Case {
    bool TLFromPuzzle, MLFromPuzzle;
    int PuzzleTime, PuzzleMoves;
    const char *TimeText, *MovesText;
  };
  // One window for all: a value shown in maroon once goes back to the normal colour.
  TFormInfoSingle info;
  for (const Case c : {Case{true, true, 120, 45, "120 S", "45 M"},
                       Case{true, true, 0, 0, "None", "None"},  // 0 is no limit, even when asked for
                       Case{true, false, 90, 45, "90 S", "None"},
                       Case{false, false, 120, 45, "None", "None"},
                       Case{false, true, 90, 7, "None", "7 M"}}) {
    SCOPED_TRACE(std::string(c.TimeText) + " / " + c.MovesText);
    App().Config.TLFromPuzzle = c.TLFromPuzzle;
    App().Config.MLFromPuzzle = c.MLFromPuzzle;
    App().Game().Puzzle.TimeLimit = c.PuzzleTime;
    App().Game().Puzzle.MovesLimit = c.PuzzleMoves;
    info.show();
    EXPECT_EQ(info.LabelTimeLimit->text(), "Time Limit : ");
    EXPECT_EQ(info.LabelMovesLimit->text(), "Moves Limit : ");
    EXPECT_EQ(info.LabelTimeValue->text(), c.TimeText);
    EXPECT_EQ(info.LabelMovesValue->text(), c.MovesText);
    const QColor normal = TextColour(info.LabelTimeLimit);
    ASSERT_NE(normal, Maroon);
    const bool time = std::string(c.TimeText) != "None", moves = std::string(c.MovesText) != "None";
    EXPECT_EQ(TextColour(info.LabelTimeValue), time ? Maroon : normal);
    EXPECT_EQ(TextColour(info.LabelMovesValue), moves ? Maroon : normal);
    EXPECT_EQ(App().Game().TimeLimit, time ? c.PuzzleTime : 0);
    EXPECT_EQ(App().Game().MovesLimit, moves ? c.PuzzleMoves : 0);
    info.hide();
  }
}

TEST_F(GameDialogsInfoSingleTest, EnterEscAndTheButtonEachStartTheGameOnceAndLogIt) {
  struct Case {
    const char* Name;
    bool IPFromPuzzle;
    std::function<void(TFormInfoSingle&)> Close;
    const char* Logged;
  };
  const std::vector<Case> cases = {
      {"button", true, [](TFormInfoSingle& f) { f.ButtonPlay->click(); },
       "Single game started. Puzzle : First Slide."},
      {"Enter", false, [](TFormInfoSingle& f) { SendKey(&f, Qt::Key_Return); },
       "Single game started. Board : Alpha Board."},
      {"keypad Enter", true, [](TFormInfoSingle& f) { SendKey(&f, Qt::Key_Enter, Qt::KeypadModifier); },
       "Single game started. Puzzle : First Slide."},
      {"Esc on the button", false, [](TFormInfoSingle& f) { SendKey(f.ButtonPlay, Qt::Key_Escape); },
       "Single game started. Board : Alpha Board."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetLogBuffer();
    Played.clear();
    App().State.GameRunning = false;
    App().Game().Moves = 12;
    Sources(true, c.IPFromPuzzle);
    TFormInfoSingle info;
    info.show();
    EXPECT_FALSE(info.Started);
    c.Close(info);
    EXPECT_FALSE(info.isVisible());
    EXPECT_TRUE(info.Started);
    EXPECT_TRUE(App().State.GameRunning);
    EXPECT_EQ(App().Game().Moves, 0);
    info.reject();  // closing the closed window again starts nothing more
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(EndsWith(lines[0], " : " + std::string(c.Logged))) << lines[0];
    // Only the button is a button press with its click.
    EXPECT_EQ(Played, std::string(c.Name) == "button" ? std::vector<TEffect>{TEffect::Click} : std::vector<TEffect>{});
  }
}

TEST_F(GameDialogsInfoSingleTest, ABoardThatCannotBeScrambledClosesTheWindowWithoutAGame) {
  ClearPattern(App().Game().Board.Pattern);  // no tile: no push changes anything
  Sources(false, false);
  TFormInfoSingle info;
  QTimer::singleShot(5000, &info, [&info] { info.close(); });  // a hang fails instead
  info.exec();
  EXPECT_FALSE(info.isVisible());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_EQ(Messages.Text(), UnableToScrambleMessage);
  EXPECT_EQ(Messages.Icon(), TMessageIcon::Exclamation);
  EXPECT_FALSE(info.Started);
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_EQ(LogBufferCount(), 0);
  EXPECT_TRUE(Played.empty());

  // The next showing with a playable board is an ordinary one.
  Messages.Messages.clear();
  UseBoard(6, 5);
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect([](QWidget* w) { EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0); },
                                   ModalDriver::Key(Qt::Key_Return)));
  info.exec();
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_TRUE(Messages.Empty());
  EXPECT_TRUE(info.Started);
  EXPECT_TRUE(App().State.GameRunning);
}

TEST_F(GameDialogsInfoSingleTest, LayoutFitsSmallAndLargeBoards) {
  App().Config.TLFromPuzzle = 1;
  App().Config.MLFromPuzzle = 1;
  App().Game().Puzzle.TimeLimit = 1200;
  App().Game().Puzzle.MovesLimit = 999;
  Sources(true, false);
  struct Case {
    int Width, Height;
  };
  for (const Case c : {Case{5, 4}, Case{5, 5}, Case{10, 8}, Case{20, 4}, Case{4, 15}, Case{20, 15}}) {
    SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
    UseBoard(c.Width, c.Height);
    TFormInfoSingle info;
    info.show();
    EXPECT_EQ(info.width() % 48, 0);
    EXPECT_EQ(info.height() % 48, 0);
    const QRect op = info.ImageOP->geometry();
    const QRect ip = info.ImageIP->geometry();
    EXPECT_EQ(op.size(), QSize(c.Width * 6, c.Height * 6));
    EXPECT_EQ(ip.size(), op.size());
    // Side by side, under their labels, above the limits, and those above the button.
    EXPECT_EQ(op.top(), ip.top());
    EXPECT_LT(op.right(), ip.left());
    EXPECT_LT(info.LabelOP->geometry().bottom(), op.top());
    EXPECT_LT(info.LabelIP->geometry().bottom(), ip.top());
    EXPECT_LE(info.LabelOP->geometry().right(), info.LabelIP->geometry().left());
    EXPECT_LT(std::max(op.bottom(), ip.bottom()), info.LabelTimeLimit->geometry().top());
    EXPECT_LT(info.LabelTimeLimit->geometry().bottom(), info.LabelMovesLimit->geometry().top());
    EXPECT_LT(info.LabelMovesValue->geometry().bottom(), info.ButtonPlay->geometry().top());
    // Every text has room for itself, and everything lies on the panel.
    const QRect panel(QPoint(0, 0), info.Panel()->size());
    for (QLabel* label : {info.LabelOP, info.LabelIP, info.LabelTimeLimit, info.LabelTimeValue,
                          info.LabelMovesLimit, info.LabelMovesValue}) {
      EXPECT_TRUE(panel.contains(label->geometry())) << label->objectName().toStdString();
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
      EXPECT_GE(label->height(), label->fontMetrics().height()) << label->objectName().toStdString();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{info.ImageOP, info.ImageIP, info.ButtonPlay})
      EXPECT_TRUE(panel.contains(w->geometry())) << w->objectName().toStdString();
    EXPECT_GE(info.ButtonPlay->width(), info.ButtonPlay->sizeHint().width());
    info.hide();
  }
}

// ---- End-of-game message window ------------------------------------------------

using GameDialogsSolvedTest = GameDialogsTest;

TEST_F(GameDialogsSolvedTest, EveryWayOfClosingPutsTheIdlePatternBack) {
  struct Case {
    const char* Name;
    bool IPFromPuzzle;
    std::function<void(TFormSolved&)> Close;
  };
  const std::vector<Case> cases = {
      {"OK", true, [](TFormSolved& f) { f.ButtonOK->click(); }},
      {"Enter", false, [](TFormSolved& f) { SendKey(&f, Qt::Key_Return); }},
      {"Esc", true, [](TFormSolved& f) { SendKey(f.ButtonOK, Qt::Key_Escape); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Played.clear();
    App().Config.IPFromPuzzle = c.IPFromPuzzle;
    TGame& g = App().Game();
    ClearPattern(g.Current);  // where the game ended: neither idle pattern
    g.Current.Tiles[4][3] = 7;
    const TPattern ended = g.Current;
    TFormSolved solved;
    solved.SetTitle("CONGRATULATIONS !");
    solved.LabelInfo->setText("Puzzle solved in 12 Moves\nand 34 Seconds.");
    solved.show();
    EXPECT_TRUE(PatternsEqual(g.Current, ended));
    c.Close(solved);
    EXPECT_FALSE(solved.isVisible());
    EXPECT_TRUE(PatternsEqual(g.Current, c.IPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern));
    EXPECT_EQ(Played, std::string(c.Name) == "OK" ? std::vector<TEffect>{TEffect::Click} : std::vector<TEffect>{});
  }
}

TEST_F(GameDialogsSolvedTest, TheWindowGrowsToALongMessage) {
  TFormSolved solved;
  for (const char* text :
       {"Puzzle solved in 12 Moves\nand 34 Seconds.", "One\nTwo\nThree\nFour\nFive\nSix",
        "A message long enough to need wrapping over several lines of the window, and then some more words."}) {
    SCOPED_TRACE(text);
    solved.LabelInfo->setText(text);
    solved.show();
    EXPECT_EQ(solved.height() % 48, 0);
    const QRect label = solved.LabelInfo->geometry();
    EXPECT_GE(label.height(), solved.LabelInfo->heightForWidth(label.width()));
    EXPECT_LT(label.bottom(), solved.ButtonOK->geometry().top());
    EXPECT_TRUE(QRect(QPoint(0, 0), solved.Panel()->size()).contains(solved.ButtonOK->geometry()));
    EXPECT_GE(label.top(), 0);
    solved.hide();
  }
}

// ---- Pause window --------------------------------------------------------------

using GameDialogsStopTest = GameDialogsTest;

TEST_F(GameDialogsStopTest, KeysCloseWithTheChoiceTheyMake) {
  struct Case {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    bool AbortSelectedBefore;
    int Result;                // 0: the window stays open
    bool GameOverSound;
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
  for (const Case c : {Case{"Esc continues", Qt::Key_Escape, none, false, 1, false},
                       Case{"Esc keeps Abort", Qt::Key_Escape, none, true, 2, false},
                       Case{"Enter", Qt::Key_Return, none, true, 2, false},
                       Case{"keypad Enter", Qt::Key_Enter, keypad, false, 1, false},
                       Case{"Space", Qt::Key_Space, none, true, 2, false},
                       Case{"B", Qt::Key_B, none, true, 1, false},
                       Case{"F10", Qt::Key_F10, none, true, 1, false},
                       Case{"keypad 2", Qt::Key_2, keypad, true, 1, false},
                       Case{"A", Qt::Key_A, none, false, 2, true},
                       Case{"keypad 1", Qt::Key_1, keypad, false, 2, true},
                       Case{"1 above the letters", Qt::Key_1, none, false, 0, false},
                       Case{"2 above the letters", Qt::Key_2, none, true, 0, false},
                       Case{"another letter", Qt::Key_X, none, false, 0, false}}) {
    SCOPED_TRACE(c.Name);
    Played.clear();
    App().PauseResult = 0;
    TFormStop stop;
    stop.show();
    if (c.AbortSelectedBefore) stop.RadioButtonAbort->setChecked(true);
    SendKey(&stop, c.Key, c.Modifiers);
    EXPECT_EQ(stop.isVisible(), c.Result == 0);
    EXPECT_EQ(App().PauseResult, c.Result);
    EXPECT_EQ(Played, c.GameOverSound ? std::vector<TEffect>{TEffect::GameOver} : std::vector<TEffect>{});
  }
}

TEST_F(GameDialogsStopTest, TheWindowsKeysComeBeforeTheFocusedControls) {
  TFormStop stop;
  // Space on the focused "Abort Game" closes with it instead of toggling anything.
  stop.show();
  stop.RadioButtonAbort->setChecked(true);
  SendKey(stop.RadioButtonAbort, Qt::Key_Space, Qt::NoModifier, " ");
  EXPECT_FALSE(stop.isVisible());
  EXPECT_EQ(App().PauseResult, 2);

  // "B" typed on the focused button, and Space on it: no click, no sound.
  stop.show();
  stop.RadioButtonAbort->setChecked(true);
  SendKey(stop.ButtonOK, Qt::Key_B, Qt::NoModifier, "b");
  EXPECT_FALSE(stop.isVisible());
  EXPECT_EQ(App().PauseResult, 1);
  stop.show();
  SendKey(stop.ButtonOK, Qt::Key_Space, Qt::NoModifier, " ");
  EXPECT_FALSE(stop.isVisible());
  EXPECT_TRUE(Played.empty());

  // Keys the window does not use leave it open.
  stop.show();
  SendKey(stop.RadioButtonContinue, Qt::Key_Down);
  SendKey(stop.ButtonOK, Qt::Key_C, Qt::NoModifier, "c");
  EXPECT_TRUE(stop.isVisible());
  stop.hide();
}

TEST_F(GameDialogsStopTest, BackToGameIsSelectedAgainOnEveryShowing) {
  TFormStop stop;
  EXPECT_EQ(FormStop(), &stop);
  EXPECT_EQ(stop.Title(), "GAME PAUSED");
  EXPECT_EQ(stop.RadioButtonContinue->text(), "Back to Game");
  EXPECT_EQ(stop.RadioButtonAbort->text(), "Abort Game");
  ModalDriver driver;
  driver.Then(ModalDriver::Key(Qt::Key_A, Qt::NoModifier, "a"));
  driver.Then(ModalDriver::Inspect(
      [](QWidget* w) {
        auto* f = qobject_cast<TFormStop*>(w);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->RadioButtonContinue->isChecked());
        EXPECT_FALSE(f->RadioButtonAbort->isChecked());
      },
      ModalDriver::Key(Qt::Key_Escape)));
  stop.exec();
  EXPECT_EQ(App().PauseResult, 2);
  stop.exec();
  EXPECT_EQ(App().PauseResult, 1);
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(driver.TimedOut());
}

// ---- Placement beside the main window ------------------------------------------

using GameDialogsPlacementTest = GameDialogsTest;

TEST_F(GameDialogsPlacementTest, RightEdgeBesideTheBoardWithOrWithoutTheSidePanel) {
  QWidget main(nullptr, Qt::FramelessWindowHint);
  main.setGeometry(400, 100, 7 * 48, 6 * 48);
  SetMainWindow(&main);
  TFormInfoSingle info;
  TFormSolved solved;
  TFormStop stop;
  for (TSkinnedDialog* dialog : std::initializer_list<TSkinnedDialog*>{&info, &solved, &stop}) {
    SCOPED_TRACE(dialog->objectName().toStdString());
    for (bool panelShown : {true, false}) {
      App().SidePanelShown = panelShown;
      dialog->show();
      const int left = 400 + 7 * 48 - dialog->width() - 72 + (panelShown ? 0 : 48);
      EXPECT_EQ(dialog->pos(), QPoint(left, 124)) << panelShown;
      dialog->move(0, 0);  // dragged away: the next showing places it again
      dialog->hide();
    }
  }
  // Without a main window the windows stay where they are.
  SetMainWindow(nullptr);
  stop.move(33, 44);
  stop.show();
  EXPECT_EQ(stop.pos(), QPoint(33, 44));
  stop.hide();
}

// ---- Pictures for looking at ---------------------------------------------------

// With PAVILORE_SHARE_DIR naming an installation image (build/share/pavilore) and
// PAVILORE_RENDER_DIR a folder, the three windows are drawn in the shipped skin with
// a small and a large board and saved there as PNG files. Skipped otherwise.
TEST(GameDialogsPictures, SaveEachWindowWithASmallAndALargeBoard) {
  const char* share = std::getenv("PAVILORE_SHARE_DIR");
  const char* out = std::getenv("PAVILORE_RENDER_DIR");
  if (!share || !out) GTEST_SKIP() << "set PAVILORE_SHARE_DIR and PAVILORE_RENDER_DIR to save the windows";
  QTemporaryDir dir;  // a copy of the pictures: a JPEG load writes its working file beside them
  QDir(dir.path()).mkdir("Graphics");
  const QDir graphics(QString(share) + "/Graphics");
  for (const QString& f : graphics.entryList(QDir::Files))
    QFile::copy(graphics.filePath(f), dir.path() + "/Graphics/" + f);
  MessageCatcher messages;
  ResetApp();
  TApp& app = App();
  app.AppFolder = dir.path().toStdString();
  app.Config = MakeConfig("Classic 4 x 4");
  CreateSkinBitmaps();
  LoadBackgroundPicture();
  ASSERT_TRUE(LoadGraphicsSet());

  struct Shot {
    const char *Board, *Puzzle, *Name;
    int Time, Moves;
  };
  for (const Shot s : {Shot{"Classic 3 x 3", "Eight Tiles", "small", 0, 80},
                       Shot{"Classic 4 x 4", "Fifteen", "medium", 90, 120},
                       Shot{"Grand Hall", "Grand Tour", "large", 600, 0}}) {
    LoadBoard(std::string(share) + "/Boards/" + s.Board + ".BRD", app.Game().Board);
    LoadPuzzle(std::string(share) + "/Puzzles/" + s.Puzzle + ".PZZ", app.Game().Puzzle);
    app.Game().Puzzle.TimeLimit = s.Time;
    app.Game().Puzzle.MovesLimit = s.Moves;
    app.Config.TLFromPuzzle = 1;
    app.Config.MLFromPuzzle = 1;
    app.Config.OPFromPuzzle = 1;
    app.Config.IPFromPuzzle = 0;
    TFormInfoSingle info;
    info.show();
    EXPECT_TRUE(info.grab().save(QString(out) + "/info single " + s.Name + ".png"));
    info.hide();
  }
  TFormSolved solved;
  solved.SetTitle("CONGRATULATIONS !");
  solved.LabelInfo->setText("Puzzle solved in 57 Moves\nand 129 Seconds.");
  solved.show();
  EXPECT_TRUE(solved.grab().save(QString(out) + "/solved.png"));
  solved.hide();
  solved.SetTitle("GAME OVER");
  solved.LabelInfo->setText("Time limit reached in \n600 Seconds.");
  solved.show();
  EXPECT_TRUE(solved.grab().save(QString(out) + "/game over.png"));
  solved.hide();
  TFormStop stop;
  stop.show();
  EXPECT_TRUE(stop.grab().save(QString(out) + "/stop.png"));
  stop.hide();
  EXPECT_TRUE(messages.Empty());
}

}  // namespace
}  // namespace pav::test
