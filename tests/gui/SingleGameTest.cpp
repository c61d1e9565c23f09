// A single game on the main window: grabbing and dragging tiles, the wheel, the
// side panel's play and stop buttons, the clock and the limits, the end of the game
// with its records, and the player's log.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/UnitInfoRecords.h"
#include "files/UnitRecords.h"
#include "files/UnitRecordsBot.h"
#include "flow/GameClock.h"
#include "flow/GameEnd.h"
#include "flow/GameStart.h"
#include "gui/FlatSkin.h"
#include "gui/LogTexts.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "render/UnitOP.h"
#include "ui/UnitInfoSingle.h"
#include "ui/UnitMain.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

// Pixel in the middle of cell (x, y).
int Mid(int cell) { return (cell - 1) * 48 + 24; }

std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < LogBufferCount(); ++i) lines.push_back(LogBufferLine(i));
  return lines;
}


bool Contains(const std::vector<std::string>& v, const std::string& s) {
  for (const auto& x : v)
    if (x == s) return true;
  return false;
}

class SingleGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    ResetLogBuffer();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    App().Config.PuzzleName.Assign("First");
    Inst.UseOneSound(App().Config);
    SetWavePlayer([this](TEffect e, const std::string&) { Effects.push_back(e); });

    Board = MakeBoard(6, 5, "Alpha");
    ClearPattern(Board->Pattern);
    Board->Pattern.Tiles[2][2] = 1;
    Board->Pattern.Tiles[3][2] = 2;
    ClearRecordTable(Board->Records, TRecordOrder::Ascending);
    Inst.AddBoard("Alpha", *Board);
    App().Game().Board = *Board;
    App().Game().Current = Board->Pattern;

    Form = std::make_unique<TFormMain>(false);
    InfoSingle = new TFormInfoSingle(Form.get());
    Op = new TFormOP(Form.get());
    Stop = new TFormStop(Form.get());
    Solved = new TFormSolved(Form.get());
    Records = new TFormRecords(Form.get());
    InfoRecords = new TFormInfoRecords(Form.get());
    RecordsBot = new TFormRecordsBot(Form.get());
    Form->ResizeMainWindow(false, false, true);
  }
  void TearDown() override {
    SetWavePlayer(nullptr);
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    Form.reset();
  }

  // A running game on the loaded board: objective `op`, position `current`.
  void Run(const TPattern& current, const TPattern& op) {
    TGame& g = App().Game();
    g.Current = current;
    g.OP = op;
    g.TimeLimit = 0;
    g.MovesLimit = 0;
    App().State.HumanTurn = true;
    BeginPlay();
  }
  void UseBoard(const TBoard& b) {
    Inst.AddBoard("Alpha", b);
    App().Game().Board = b;
    App().Game().Current = b.Pattern;
    Form->ResizeMainWindow(false, false, true);
  }

  void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { SendPress(Form.get(), x, y, b); }
  // A drag step by default: the left button is held.
  void Move(int x, int y, Qt::MouseButtons b = Qt::LeftButton) { SendMove(Form.get(), x, y, b); }
  void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) { SendRelease(Form.get(), x, y, b); }
  void Wheel(int x, int y, int delta, Qt::MouseButtons b = Qt::NoButton) {
    QWheelEvent e(QPointF(x, y), Form->mapToGlobal(QPointF(x, y)), QPoint(), QPoint(0, delta), b, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form.get(), &e);
  }
  int Tile(int x, int y) const { return App().Game().Current.Tiles[x][y]; }
  Qt::CursorShape Pointer() const {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
  }
  QCursor Override() const {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? *c : QCursor();
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Effects;
  std::unique_ptr<TBoard> Board;
  std::unique_ptr<TFormMain> Form;
  TFormInfoSingle* InfoSingle = nullptr;
  TFormOP* Op = nullptr;
  TFormStop* Stop = nullptr;
  TFormSolved* Solved = nullptr;
  TFormRecords* Records = nullptr;
  TFormInfoRecords* InfoRecords = nullptr;
  TFormRecordsBot* RecordsBot = nullptr;
};

// A board whose objective no test reaches by accident.
TPattern FarObjective() {
  TPattern p;
  ClearPattern(p);
  p.Tiles[5][4] = 9;
  return p;
}

// ---- Tile gestures -------------------------------------------------------------------

TEST_F(SingleGameTest, DragPushesTheTileBehindThePointerOneMovePerEvent) {
  Run(App().Game().Board.Pattern, FarObjective());
  // Grab tile 2 at (3, 2) and drag it down: the 8-pixel shift makes y = 88 row 3 already.
  Press(Mid(3), Mid(2));
  EXPECT_TRUE(Form->TileDragging);
  EXPECT_EQ(App().State.GrabX, 3);
  Move(Mid(3), 87);  // (87 + 8) div 48 = 1: still row 2
  EXPECT_EQ(Tile(3, 2), 2);
  Move(Mid(3), 88);
  EXPECT_EQ(Tile(3, 2), 0);
  EXPECT_EQ(Tile(3, 3), 2);
  EXPECT_EQ(App().Game().Moves, 1);
  EXPECT_EQ(App().State.StepCount, 0);
  // The move was recorded for taking back and sounded once.
  EXPECT_EQ(ListLength(App().Game().History), 1);
  EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Move});
  // Left out of the tile zone's pointer table: the shape follows wheel mode and buttons.
  EXPECT_EQ(Override().pixmap().cacheKey(), PointerShape(ColoGrab).pixmap().cacheKey());
  Release(Mid(3), 88);
  EXPECT_FALSE(Form->TileDragging);
  EXPECT_EQ(Override().pixmap().cacheKey(), PointerShape(ColoFlat).pixmap().cacheKey());
}

TEST_F(SingleGameTest, DiagonalStepMovesHorizontallyAndPushesTheNeighbourOfTheNewCell) {
  TPattern p = App().Game().Board.Pattern;
  ClearPattern(p);
  p.Tiles[3][2] = 1;  // grabbed
  p.Tiles[3][3] = 2;  // left of the pointer's new cell
  Run(p, FarObjective());
  Press(Mid(3), Mid(2));
  Move(Mid(4), Mid(3));  // one cell right and one down at once
  EXPECT_EQ(Tile(3, 2), 1);
  EXPECT_EQ(Tile(3, 3), 0);
  EXPECT_EQ(Tile(4, 3), 2);
  EXPECT_EQ(App().Game().Moves, 1);
  EXPECT_EQ(Form->DragX, 4);
  EXPECT_EQ(Form->DragY, 3);
  // The next event compares against (4, 3): a step down pushes (4, 3) down.
  Move(Mid(4), Mid(4));
  EXPECT_EQ(Tile(4, 4), 2);
  EXPECT_EQ(App().Game().Moves, 2);
}

TEST_F(SingleGameTest, NoTileMovesWithoutARunningHumanGameOrOutsideTheTileZone) {
  // No game: a press on a tile drags the window instead.
  Press(Mid(3), Mid(2));
  EXPECT_FALSE(Form->TileDragging);
  EXPECT_TRUE(Form->WindowDragging);
  Release(Mid(3), Mid(2));

  Run(App().Game().Board.Pattern, FarObjective());
  // The half-cell margin of the board is not the tile zone.
  Press(20, Mid(2));
  EXPECT_FALSE(Form->TileDragging);
  EXPECT_TRUE(Form->WindowDragging);
  Release(20, Mid(2));

  // While the computer plays, nothing follows the human's pointer.
  App().State.HumanTurn = false;
  Press(Mid(3), Mid(2));
  EXPECT_FALSE(Form->TileDragging);
  Release(Mid(3), Mid(2));
  App().State.HumanTurn = true;

  // A push into the frame is refused with the mark of its direction.
  Press(Mid(2), Mid(2));
  Move(Mid(1) + 10, Mid(2));  // column (34 + 8) div 48 + 1 = 1, still in the tile zone
  EXPECT_EQ(Tile(2, 2), 1);
  EXPECT_EQ(App().Game().Moves, 0);
  EXPECT_EQ(App().Engine->LastResult.Refusal, TPushRefusal::Mark);
  EXPECT_EQ(App().Engine->LastResult.MarkKind, 1);
  Release(Mid(1) + 10, Mid(2));
}

TEST_F(SingleGameTest, RefusedPushIsMarkedUntilTheInvalidTimerFires) {
  TPattern p = App().Game().Board.Pattern;
  ClearPattern(p);
  p.Tiles[4][2] = 1;
  p.Tiles[5][2] = 2;  // against the frame
  Run(p, FarObjective());
  const QImage clean = MainPicture().copy();
  Press(Mid(3), Mid(2));
  Move(Mid(4), Mid(2));  // pushes (3, 2): empty, refused silently
  EXPECT_EQ(MainPicture(), clean);
  Release(Mid(4), Mid(2));
  Press(Mid(4), Mid(2));
  Move(Mid(5), Mid(2));  // pushes (4, 2) right: the row runs into the frame at (6, 2)
  EXPECT_EQ(App().Engine->LastResult.Refusal, TPushRefusal::Mark);
  EXPECT_NE(MainPicture(), clean);
  EXPECT_TRUE(Form->TimerInvalid->isActive());
  Form->TimerInvalidTimer();
  EXPECT_FALSE(Form->TimerInvalid->isActive());
  EXPECT_EQ(MainPicture(), clean);
  Release(Mid(5), Mid(2));

  // With the option off nothing is drawn, but the timer still runs.
  App().Config.ShowInvalid = 0;
  Press(Mid(4), Mid(2));
  Move(Mid(5), Mid(2));
  EXPECT_EQ(MainPicture(), clean);
  EXPECT_TRUE(Form->TimerInvalid->isActive());
}

TEST_F(SingleGameTest, WheelModePushesTheCellUnderThePointer) {
  App().Config.WheelMoves = 1;
  TPattern p = App().Game().Board.Pattern;
  ClearPattern(p);
  p.Tiles[3][3] = 1;
  Run(p, FarObjective());
  // A press only changes the pointer shape; releasing gives the wheel shape back.
  Press(Mid(3), Mid(3));
  EXPECT_FALSE(Form->TileDragging);
  EXPECT_EQ(Override().pixmap().cacheKey(), PointerShape(ColoLeftRight).pixmap().cacheKey());
  Release(Mid(3), Mid(3));
  EXPECT_EQ(Override().pixmap().cacheKey(), PointerShape(ColoUpDown).pixmap().cacheKey());
  // Up without a button pushes up, down pushes down; with a button held: left and right.
  Wheel(Mid(3), Mid(3), 120);
  EXPECT_EQ(Tile(3, 2), 1);
  Wheel(Mid(3), Mid(2), -120);
  EXPECT_EQ(Tile(3, 3), 1);
  Wheel(Mid(3), Mid(3), -120, Qt::LeftButton);
  EXPECT_EQ(Tile(4, 3), 1);
  Wheel(Mid(4), Mid(3), 120, Qt::RightButton);
  EXPECT_EQ(Tile(3, 3), 1);
  EXPECT_EQ(App().Game().Moves, 4);
  // A fine wheel sums its small turns into one notch.
  Wheel(Mid(3), Mid(3), 60);
  EXPECT_EQ(Tile(3, 3), 1);
  Wheel(Mid(3), Mid(3), 60);
  EXPECT_EQ(Tile(3, 2), 1);
  // Off the board the engine refuses; without wheel mode the wheel does nothing.
  Wheel(-200, -200, 120);
  EXPECT_EQ(App().Game().Moves, 5);
  App().Config.WheelMoves = 0;
  Wheel(Mid(3), Mid(2), -120);
  EXPECT_EQ(Tile(3, 2), 1);
}

TEST_F(SingleGameTest, StepsPerMoveTwoPushesTwiceAndCountsOneMove) {
  // One corridor of four tiles closed into a ring by a jump between its two ends.
  auto b = MakeBoard(6, 3, "Ring");
  ClearPattern(b->Pattern);
  for (int x = 2; x <= 5; ++x) b->Pattern.Tiles[x][2] = static_cast<std::uint8_t>(x - 1);
  b->Jumps[0] = TJump{6, 2, 1, 1, 2, 2};
  b->StepsPerMove = 2;
  UseBoard(*b);
  Run(b->Pattern, FarObjective());
  Press(Mid(3), Mid(2));
  Move(Mid(4), Mid(2));  // pushes (3, 2) right: the ring turns twice
  // 1 2 3 4 turned right twice: 3 4 1 2.
  EXPECT_EQ(Tile(2, 2), 3);
  EXPECT_EQ(Tile(3, 2), 4);
  EXPECT_EQ(Tile(4, 2), 1);
  EXPECT_EQ(Tile(5, 2), 2);
  EXPECT_EQ(App().Game().Moves, 1);
  EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Move});
  EXPECT_EQ(App().State.StepCount, 0);
}

TEST_F(SingleGameTest, UsedJumpsAreLitUntilTheirTimerFires) {
  auto b = MakeBoard(6, 3, "Ring");
  ClearPattern(b->Pattern);
  for (int x = 2; x <= 5; ++x) b->Pattern.Tiles[x][2] = static_cast<std::uint8_t>(x - 1);
  b->Jumps[0] = TJump{6, 2, 1, 1, 2, 2};
  UseBoard(*b);
  App().Config.HighlightElements = 1;
  Run(b->Pattern, FarObjective());
  const TSkin& s = Skin();
  // The mouth on (6, 2) opens left: its marker sits at (ox + 8, oy + 16).
  auto mouth = [] { return MainPicture().pixel(5 * 48 + 8 + 2, 48 + 16 + 2); };
  ASSERT_NE(s.JumpMarker[1][1].pixel(2, 2), s.JumpMarker[1][2].pixel(2, 2));
  EXPECT_EQ(mouth(), s.JumpMarker[1][1].pixel(2, 2));
  Press(Mid(3), Mid(2));
  Move(Mid(4), Mid(2));  // the row runs into the mouth and out of the other one
  EXPECT_EQ(mouth(), s.JumpMarker[1][2].pixel(2, 2));
  EXPECT_TRUE(Form->TimerJumpsNTurns->isActive());
  Form->TimerJumpsNTurnsTimer();
  EXPECT_FALSE(Form->TimerJumpsNTurns->isActive());
  EXPECT_EQ(mouth(), s.JumpMarker[1][1].pixel(2, 2));
  Release(Mid(4), Mid(2));
  // With the option off, nothing lights up.
  App().Config.HighlightElements = 0;
  Press(Mid(4), Mid(2));
  Move(Mid(5), Mid(2));
  EXPECT_EQ(App().Game().Moves, 2);
  EXPECT_EQ(mouth(), s.JumpMarker[1][1].pixel(2, 2));
  EXPECT_FALSE(Form->TimerJumpsNTurns->isActive());
}

// ---- Side panel -----------------------------------------------------------------------

TEST_F(SingleGameTest, PlayButtonOpensTheStartWindowAndItsCloseStartsTheGame) {
  App().Config.IPFromPuzzle = 0;
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect(
      [&](QWidget* w) {
        EXPECT_EQ(w, InfoSingle);
        // Shown with the clock stopped; the scramble is already on the preview.
        EXPECT_FALSE(App().State.GameRunning);
        EXPECT_FALSE(PatternsEqual(App().Game().Current, App().Game().OP));
      },
      ModalDriver::Key(Qt::Key_Return)));
  Press(6 * 48 + 20, 48 + 20);
  EXPECT_EQ(Form->PanelCommand, 4);
  EXPECT_EQ(MainPicture().pixel(6 * 48 + 10, 48 + 10), Skin().ButtonPlay[2].pixel(10, 10));
  Release(6 * 48 + 30, 150);  // released over another button of the column: still play
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(App().State.GameRunning);
  EXPECT_TRUE(Form->TimerGame->isActive());
  EXPECT_EQ(App().Game().Moves, 0);
  EXPECT_EQ(Form->PanelCommand, 0);
  EXPECT_TRUE(Contains(LogTexts(), "Single game started. Board : Alpha."));
  // The side panel now offers the stop button.
  EXPECT_EQ(MainPicture().pixel(6 * 48 + 10, 48 + 10), Skin().ButtonStop[0].pixel(10, 10));
  EXPECT_EQ(Effects.front(), TEffect::Click);
}

TEST_F(SingleGameTest, PlayRefusesUnplayableBoardsAndEqualPuzzlePatterns) {
  auto b = MakeBoard(4, 4, "Stuck");
  ClearPattern(b->Pattern);
  for (int x = 2; x <= 3; ++x)
    for (int y = 2; y <= 3; ++y) b->Pattern.Tiles[x][y] = static_cast<std::uint8_t>(x * 4 + y);
  UseBoard(*b);
  ModalDriver driver(30, 1500);  // no window may open
  Press(4 * 48 + 20, 48 + 20);
  Release(4 * 48 + 20, 48 + 20);
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_EQ(Messages.Text(), "Unable to scramble the Board. Plase verify its playability with the Board Editor.");
  EXPECT_EQ(Messages.Icon(), TMessageIcon::Exclamation);
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_EQ(Form->PanelCommand, 0);
  // The board still shows, and holds, its own pattern.
  EXPECT_TRUE(PatternsEqual(App().Game().Current, b->Pattern));

  UseBoard(*Board);
  App().Config.IPFromPuzzle = 1;
  App().Game().Puzzle = *MakePuzzle("Alpha", "Same");
  App().Game().Puzzle.OP = App().Game().Puzzle.IP;
  Form->PanelCommand = 4;
  Form->DispatchPanelCommand();
  EXPECT_EQ(Form->PanelCommand, 4);  // left for the release to clear
  ASSERT_EQ(Messages.Messages.size(), 2u);
  EXPECT_EQ(Messages.Text(1), "Puzzle's IP and OP are equals. Plase verify its playability with the Puzzle Editor.");
  EXPECT_FALSE(App().State.GameRunning);
}

TEST_F(SingleGameTest, StopButtonPausesHidingTheTilesAndContinues) {
  Run(App().Game().Board.Pattern, FarObjective());
  App().Game().Seconds = 7;
  const TPattern position = App().Game().Current;
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect(
      [&](QWidget* w) {
        EXPECT_EQ(w, Stop);
        EXPECT_FALSE(Form->TimerGame->isActive());
        EXPECT_EQ(CountTiles(App().Game().Current), 0);
      },
      ModalDriver::Key(Qt::Key_Escape)));
  Press(6 * 48 + 20, 48 + 20);
  EXPECT_EQ(Form->PanelCommand, 5);
  Release(6 * 48 + 20, 48 + 20);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(App().State.GameRunning);
  EXPECT_TRUE(Form->TimerGame->isActive());
  EXPECT_TRUE(PatternsEqual(App().Game().Current, position));
  EXPECT_EQ(App().Game().Seconds, 7);
  const auto texts = LogTexts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "Game paused.");
  EXPECT_EQ(texts.back(), "Game continued.");
}

TEST_F(SingleGameTest, AbortEndsTheGameOnTheIdlePattern) {
  App().Config.IPFromPuzzle = 0;
  TPattern p = App().Game().Board.Pattern;
  p.Tiles[4][3] = 5;
  Run(p, FarObjective());
  ModalDriver driver;
  driver.Then(ModalDriver::Key(Qt::Key_A));
  PauseCommand();
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_FALSE(Form->TimerGame->isActive());
  EXPECT_TRUE(PatternsEqual(App().Game().Current, App().Game().Board.Pattern));
  const auto lines = LogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.back(), " -");
  const auto texts = LogTexts();
  EXPECT_EQ(texts[texts.size() - 2], "Game aborted.");
  EXPECT_EQ(texts[texts.size() - 3], "Game paused.");
}

// ---- Clock and limits -------------------------------------------------------------------

TEST_F(SingleGameTest, ClockCountsAndTheTimeLimitEndsTheGameOnItsTick) {
  Run(App().Game().Board.Pattern, FarObjective());
  App().Game().TimeLimit = 30;
  App().Game().Seconds = 28;
  Form->TimerGameTimer();
  EXPECT_EQ(App().Game().Seconds, 29);
  EXPECT_TRUE(App().State.GameRunning);
  QString shown;
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect(
      [&](QWidget* w) {
        EXPECT_EQ(w, Solved);
        EXPECT_EQ(Solved->Title(), "GAME OVER");
        shown = Solved->LabelInfo->text();
        // Behind the window the side panel already offers a new game.
        EXPECT_EQ(MainPicture().pixel(6 * 48 + 10, 48 + 10), Skin().ButtonPlay[0].pixel(10, 10));
      },
      ModalDriver::Key(Qt::Key_Return)));
  EXPECT_EQ(MainPicture().pixel(6 * 48 + 10, 48 + 10), Skin().ButtonStop[0].pixel(10, 10));
  Form->TimerGameTimer();
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(shown, QStringLiteral("Time limit reached in \n30 Seconds."));
  EXPECT_EQ(LimitReachedText(TLimitKind::Time, 30, 4), "Time limit reached in \r30 Seconds.");
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_FALSE(Form->TimerGame->isActive());
  EXPECT_EQ(Effects.back(), TEffect::GameOver);
  const auto lines = LogLines();
  EXPECT_EQ(lines.back(), " -");
  EXPECT_EQ(LogTexts()[lines.size() - 2], "Game over : Time limit reached in 30 Seconds.");
  // A time limit of 0 never fires.
  Run(App().Game().Board.Pattern, FarObjective());
  Form->TimerGameTimer();
  EXPECT_TRUE(App().State.GameRunning);
}

TEST_F(SingleGameTest, CountersAreDrawnUnderTheBoard) {
  Run(App().Game().Board.Pattern, FarObjective());
  App().Game().Seconds = 9;  // "10 S" is one glyph longer than "9 S"
  UpdateCounters();
  const QImage before = MainPicture().copy(0, 5 * 48, 6 * 48, 48);
  Form->TimerGameTimer();
  EXPECT_NE(MainPicture().copy(0, 5 * 48, 6 * 48, 48), before);
}

TEST_F(SingleGameTest, MovesLimitEndsTheGameAfterTheMoveUnlessItSolves) {
  TPattern p = App().Game().Board.Pattern;
  Run(p, FarObjective());
  App().Game().MovesLimit = 2;
  App().Game().Moves = 1;
  QString shown;
  ModalDriver driver;
  driver.Then(ModalDriver::Inspect([&](QWidget*) { shown = Solved->LabelInfo->text(); },
                                   ModalDriver::Click("OK")));
  Press(Mid(3), Mid(2));
  Move(Mid(3), Mid(3));
  Release(Mid(3), Mid(3));
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(shown, QStringLiteral("Moves limit reached in \n2 Moves."));
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_TRUE(Contains(LogTexts(), "Game over : Moves limit reached in 2 Moves."));

  // The same move on the limit that reaches the objective wins.
  ResetLogBuffer();
  TPattern goal = p;
  goal.Tiles[3][2] = 0;
  goal.Tiles[3][3] = 2;
  Run(p, goal);
  App().Game().MovesLimit = 1;
  ModalDriver win;
  win.Then(ModalDriver::Inspect(
      [&](QWidget*) {
        EXPECT_EQ(Solved->Title(), "CONGRATULATIONS !");
        shown = Solved->LabelInfo->text();
      },
      ModalDriver::Click("OK")));
  win.Then(ModalDriver::Click("OK"));  // the records obtained
  Press(Mid(3), Mid(2));
  Move(Mid(3), Mid(3));
  Release(Mid(3), Mid(3));
  EXPECT_TRUE(win.Done());
  EXPECT_EQ(shown, QStringLiteral("Puzzle solved in 1 Moves\nand 0 Seconds."));
  EXPECT_FALSE(Contains(LogTexts(), "Game over : Moves limit reached in 1 Moves."));
  EXPECT_TRUE(Contains(LogTexts(), "Puzzle solved in 1 Moves and 0 Seconds."));
}

// The second turn against the computer: the first player's time and moves as limits,
// joined by "Or" (whichever comes first) or "And" (both must be reached).
struct TOpponentCase {
  bool And;
  int Seconds, Moves;  // the state when the tick or the move happens
  bool Tick;           // a clock tick (else a completed move)
  bool Ends;
};

TEST_F(SingleGameTest, OpponentLimitsWithOrAndAnd) {
  const TOpponentCase cases[] = {
      {false, 49, 10, true, true},    // Or: 50 s reached
      {false, 20, 40, false, true},   // Or: the 40th move
      {true, 29, 40, true, false},    // And: a tick to 30 s is not the opponent's time
      {true, 20, 40, false, false},   // And: 40 moves at 20 s, time not reached yet
      {true, 49, 40, true, true},     // And: 50 s with the moves reached
      {true, 49, 30, true, false},    // And: 50 s at 30 moves does nothing
      {true, 55, 40, false, true},    // And: the 40th move after 50 s
  };
  for (const TOpponentCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "and " << c.And << " at " << c.Seconds << " s, " << c.Moves << " M"
                                    << (c.Tick ? " tick" : " move"));
    App().Config.GameMode = 2;
    App().Config.UseOpponentTime = 1;
    App().Config.UseOpponentMoves = 1;
    App().Config.OpponentAnd = c.And ? 1 : 0;
    Run(App().Game().Board.Pattern, FarObjective());
    App().State.OpponentTime = 50;
    App().State.OpponentMoves = 40;
    App().Game().Seconds = c.Seconds;
    App().Game().Moves = c.Moves;
    ModalDriver driver(30, 1500);
    driver.Then(ModalDriver::Key(Qt::Key_Return));
    if (c.Tick)
      TimerGameTick();
    else
      CheckMoveLimits();
    EXPECT_EQ(driver.Done(), c.Ends);
    EXPECT_EQ(App().State.GameRunning, !c.Ends);
    EXPECT_EQ(App().State.LostByLimit, c.Ends);
    if (c.Ends) {
      EXPECT_EQ(Solved->Title(), "GAME OVER");
    }
    App().State.GameRunning = false;
    Form->TimerGame->stop();
  }
}

TEST_F(SingleGameTest, SidePanelHoverAndPressedPicturesOfTheLowerButtons) {
  const TSkin& s = Skin();
  auto at = [](int cell) { return MainPicture().pixel(6 * 48 + 10, (cell - 1) * 48 + 10); };
  Move(6 * 48 + 20, 2 * 48 + 20, Qt::NoButton);  // over the configuration button
  EXPECT_EQ(at(3), s.ButtonConfig[1].pixel(10, 10));
  EXPECT_EQ(at(2), s.ButtonPlay[0].pixel(10, 10));
  EXPECT_TRUE(Form->TimerButtsOff->isActive());
  Move(6 * 48 + 20, 3 * 48 + 20, Qt::NoButton);  // over the information button
  EXPECT_EQ(at(4), s.ButtonInfo[1].pixel(10, 10));
  EXPECT_EQ(at(3), s.ButtonConfig[0].pixel(10, 10));
  Form->TimerButtsOffTimer();
  EXPECT_EQ(at(4), s.ButtonInfo[0].pixel(10, 10));
  // Pressed: the picture stays while the pointer wanders off the button.
  Press(6 * 48 + 20, 3 * 48 + 20);
  EXPECT_EQ(Form->PanelCommand, 7);
  EXPECT_EQ(at(4), s.ButtonInfo[2].pixel(10, 10));
  Move(6 * 48 + 20, 20 + 48);
  EXPECT_EQ(at(4), s.ButtonInfo[2].pixel(10, 10));
  Release(100, 100);  // outside the column: nothing runs
  EXPECT_EQ(Form->PanelCommand, 0);
  EXPECT_EQ(at(4), s.ButtonInfo[0].pixel(10, 10));
  // During a game the second button is the stop button, in all three states.
  Run(App().Game().Board.Pattern, FarObjective());
  Move(6 * 48 + 20, 48 + 20, Qt::NoButton);
  EXPECT_EQ(at(2), s.ButtonStop[1].pixel(10, 10));
}

TEST_F(SingleGameTest, SpaceShowsAndHidesTheObjectiveDuringAGame) {
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(Form.get(), &space);
  EXPECT_FALSE(Op->isVisible());  // no game
  Run(App().Game().Board.Pattern, FarObjective());
  QApplication::sendEvent(Form.get(), &space);
  EXPECT_TRUE(Op->isVisible());
  QApplication::sendEvent(Form.get(), &space);
  EXPECT_FALSE(Op->isVisible());
  // The end of the game closes it.
  QApplication::sendEvent(Form.get(), &space);
  ModalDriver driver;
  driver.Then(ModalDriver::Key(Qt::Key_Return));
  App().Game().MovesLimit = 1;
  App().Game().Moves = 1;
  CheckMoveLimits();
  EXPECT_FALSE(Op->isVisible());
}

// ---- Solved puzzles and records -------------------------------------------------------------

class SingleGameRecordsTest : public SingleGameTest {
 protected:
  void SetUp() override {
    SingleGameTest::SetUp();
    App().Config.IPFromPuzzle = 1;
    Puzzle = MakePuzzle("Alpha", "First Steps");
    ClearPattern(Puzzle->IP);
    ClearPattern(Puzzle->OP);
    Puzzle->IP.Tiles[3][2] = 2;
    Puzzle->OP.Tiles[3][3] = 2;
    // A table with three entries; the rest empty.
    TRecordTable& t = Puzzle->Records;
    for (int i = 0; i < RecordPositions; ++i) {
      t.TimeValues[i] = 65000;
      t.MoveValues[i] = 65000;
      t.TimeNames[i].Assign("");
      t.MoveNames[i].Assign("");
    }
    const char* names[] = {"Ann", "Bob", "Cid"};
    for (int i = 0; i < 3; ++i) {
      t.TimeNames[i].Assign(names[i]);
      t.MoveNames[i].Assign(names[i]);
      t.TimeValues[i] = 10 * (i + 1);  // 10 20 30
      t.MoveValues[i] = i + 1;         // 1 2 3
    }
    // Bytes the game never reads must come back as they were.
    Puzzle->Reserved[100] = 0x5A;
    Inst.AddPuzzle("Puzzles", "First", *Puzzle);
    App().Game().Puzzle = *Puzzle;
    Original = Inst.ReadBytes("Puzzles/First.PZZ");
  }
  // Plays the one-move solution after `seconds` seconds on the clock.
  void SolveAfter(int seconds) {
    Run(Puzzle->IP, Puzzle->OP);
    App().Game().Seconds = seconds;
    Press(Mid(3), Mid(2));
    Move(Mid(3), Mid(3));
    Release(Mid(3), Mid(3));
  }
  std::unique_ptr<TPuzzle> Puzzle;
  std::string Original;
};

TEST_F(SingleGameRecordsTest, ResultEntersBothListsAndOnlyTheTableChangesInTheFile) {
  QString obtained;
  ModalDriver driver;
  driver.Then(ModalDriver::Click("OK"));
  driver.Then(ModalDriver::Inspect(
      [&](QWidget* w) {
        EXPECT_EQ(w, InfoRecords);
        obtained = InfoRecords->LabelInfo->text();
        // The file is stored before the window shows.
        EXPECT_NE(Inst.ReadBytes("Puzzles/First.PZZ"), Original);
      },
      ModalDriver::Click("OK")));
  SolveAfter(20);  // 20 s equals Bob's time: after him, at 3; 1 move enters at 2
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(obtained.toStdString(),
            "You got the position number 2 in the 'Fewest Moves' Records..\n\n"
            "..And number 3 in the 'Fastest Times' Records.");

  const std::string after = Inst.ReadBytes("Puzzles/First.PZZ");
  ASSERT_EQ(after.size(), sizeof(TPuzzle));
  TPuzzle stored;
  std::memcpy(&stored, after.data(), sizeof stored);
  EXPECT_EQ(stored.Records.TimeNames[2].Str(), "Tester");
  EXPECT_EQ(stored.Records.TimeValues[2], 20);
  EXPECT_EQ(stored.Records.TimeNames[3].Str(), "Cid");
  EXPECT_EQ(stored.Records.MoveNames[1].Str(), "Tester");
  EXPECT_EQ(stored.Records.MoveValues[1], 1);
  EXPECT_EQ(stored.Records.MoveNames[2].Str(), "Bob");
  // Every byte outside the records table is as it was.
  const std::size_t from = offsetof(TPuzzle, Records), to = from + sizeof(TRecordTable);
  EXPECT_EQ(after.substr(0, from), Original.substr(0, from));
  EXPECT_EQ(after.substr(to), Original.substr(to));

  const auto texts = LogTexts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[texts.size() - 3], "Puzzle solved in 1 Moves and 20 Seconds.");
  EXPECT_EQ(texts[texts.size() - 2],
            "Position 2 obtained in the 'Fewest Moves' records, and 3 in the 'Fastest Times' records.");
  EXPECT_EQ(LogLines().back(), " -");
  // The finished game leaves the idle board: the puzzle's objective.
  EXPECT_TRUE(PatternsEqual(App().Game().Current, Puzzle->OP));
  // Move, solved, then the clicks of the two windows' buttons.
  EXPECT_EQ(Effects, (std::vector<TEffect>{TEffect::Move, TEffect::Solved, TEffect::Click, TEffect::Click}));
}

TEST_F(SingleGameRecordsTest, NoEntryOrCheatsLeaveTheFileAndLogOnlyTheSeparator) {
  // Four moves is worse than... nothing: the moves list has room, so fill it.
  for (int i = 0; i < RecordPositions; ++i) {
    App().Game().Puzzle.Records.TimeValues[i] = 5;
    App().Game().Puzzle.Records.MoveValues[i] = 1;
  }
  ModalDriver driver;
  driver.Then(ModalDriver::Click("OK"));
  SolveAfter(5);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(Inst.ReadBytes("Puzzles/First.PZZ"), Original);
  EXPECT_EQ(LogLines().back(), " -");
  EXPECT_EQ(LogTexts()[LogLines().size() - 2], "Puzzle solved in 1 Moves and 5 Seconds.");

  // With cheats on, even a record result is not entered.
  App().Game().Puzzle = *Puzzle;
  App().CheatsEnabled = true;
  ModalDriver cheat;
  cheat.Then(ModalDriver::Click("OK"));
  SolveAfter(1);
  EXPECT_TRUE(cheat.Done());
  EXPECT_EQ(Inst.ReadBytes("Puzzles/First.PZZ"), Original);
  EXPECT_EQ(App().Game().Puzzle.Records.TimeValues[0], 10);
  EXPECT_EQ(LogLines().back(), " -");
  App().CheatsEnabled = false;
}

TEST_F(SingleGameRecordsTest, RandomInitialPatternUsesTheBoardsRecords) {
  App().Config.IPFromPuzzle = 0;
  auto b = *Board;
  ClearRecordTable(b.Records, TRecordOrder::Ascending);
  Inst.AddBoard("Alpha", b);
  App().Game().Board = b;
  ModalDriver driver;
  driver.Then(ModalDriver::Click("OK"));
  driver.Then(ModalDriver::Click("OK"));
  SolveAfter(12);
  EXPECT_TRUE(driver.Done());
  TBoard stored;
  LoadBoard(Inst.File("Boards/Alpha.BRD"), stored);
  EXPECT_EQ(stored.Records.TimeNames[0].Str(), "Tester");
  EXPECT_EQ(stored.Records.TimeValues[0], 12);
  EXPECT_EQ(stored.Records.MoveValues[0], 1);
  EXPECT_EQ(Inst.ReadBytes("Puzzles/First.PZZ"), Original);
  // The idle board shows the board's own pattern again.
  EXPECT_TRUE(PatternsEqual(App().Game().Current, b.Pattern));
}

TEST_F(SingleGameRecordsTest, UnwritableFileIsReportedAndTheEntryKeptInMemory) {
  // The folder is gone and a plain file stands in its way: nothing can be written there.
  const std::filesystem::path folder = Inst.File("Puzzles");
  std::filesystem::remove_all(folder);
  Inst.WriteBytes("Puzzles", "not a folder");
  ModalDriver driver(30, 2000);
  driver.Then(ModalDriver::Click("OK"));
  // Should the records window open all the same, it is closed so the test can fail.
  driver.Then(ModalDriver::Close());
  SolveAfter(3);
  EXPECT_FALSE(driver.Done());
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_NE(Messages.Text().find("First.PZZ"), std::string::npos);
  EXPECT_EQ(App().Game().Puzzle.Records.TimeNames[0].Str(), "Tester");
  EXPECT_EQ(App().Game().Puzzle.Records.TimeValues[0], 3);
  // The report ends the sequence: no records line, no window.
  EXPECT_FALSE(InfoRecords->isVisible());
  for (const auto& t : LogTexts()) EXPECT_EQ(t.find("Position "), std::string::npos);
}

}  // namespace
}  // namespace pav::test
