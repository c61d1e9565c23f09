// The main window's keys that help the player during a game: H for the hint, and
// with cheats enabled Ctrl+Z (take back a move), Ctrl+M and Ctrl+T (lower the
// counters), Ctrl+R (one move from the objective) and Ctrl+W (the pause that keeps
// the board visible).
#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTimer>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "engine/BoardBuilder.h"
#include "engine/Scramble.h"
#include "flow/CheatKeys.h"
#include "flow/FlowShared.h"
#include "gui/FlatSkin.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Renderer.h"
#include "ui/UnitMain.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

// Pixel in the middle of cell (x, y).
int Mid(int cell) { return (cell - 1) * 48 + 24; }

// A board drawn as rows ('#' solid, '.' floor, '1'..'9' tiles), its pattern the tiles.
struct TDrawn {
  TestGame Game;
  explicit TDrawn(const std::vector<std::string>& rows, int stepsPerMove = 1) : Game(rows, stepsPerMove) {}
  const TBoard& Board() { return Game.Board(); }
  const TPattern& Pattern() { return Game.Board().Pattern; }
};

std::string Trace(const std::vector<TBoardCell>& cells) {
  std::string s;
  for (const TBoardCell& c : cells) s += " (" + std::to_string(c.X) + "," + std::to_string(c.Y) + ")";
  return s;
}

bool SameList(const TMoveList& a, const TMoveList& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class CheatKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    App().AppFolder = Inst.Folder();
    App().Config = MakeConfig("Alpha");
    Inst.UseOneSound(App().Config);
    SetWavePlayer([this](TEffect e, const std::string&) { Effects.push_back(e); });
    App().CheatsEnabled = true;
    Form = std::make_unique<TFormMain>(false);
  }
  void TearDown() override {
    SetWavePlayer(nullptr);
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    Form.reset();
  }

  // A single game on `board` from `current` towards `op`, without limits or history.
  void Play(const TBoard& board, const TPattern& current, const TPattern& op) {
    TGame& g = App().Game();
    g.Board = board;
    g.Current = current;
    g.OP = op;
    g.TimeLimit = 0;
    g.MovesLimit = 0;
    ClearList(g.History);
    App().State.ScrambleLength = 0;
    App().State.HumanTurn = true;
    Form->ResizeMainWindow(false, false, true);
    BeginPlay();
  }
  void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QCoreApplication::sendEvent(Form.get(), &press);
  }
  void Drag(int fromX, int fromY, int toX, int toY) {
    SendPress(Form.get(), Mid(fromX), Mid(fromY));
    SendMove(Form.get(), Mid(toX), Mid(toY), Qt::LeftButton);
    SendRelease(Form.get(), Mid(toX), Mid(toY));
  }
  void PointAt(int x, int y) { QCursor::setPos(Form->mapToGlobal(QPoint(x, y))); }
  const TPattern& Current() { return App().Game().Current; }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Effects;
  std::unique_ptr<TFormMain> Form;
};

// Tiles 1 and 2 side by side (glued where a test adds the link), tile 3 below them.
const std::vector<std::string> PairRows = {
    "########",
    "#......#",
    "#.12...#",
    "#...3..#",
    "########",
};

// ---- Which key acts when -------------------------------------------------------

TEST_F(CheatKeysTest, EachKeyActsOnlyInItsGameStateAndOtherwiseSilently) {
  TDrawn board(PairRows);
  TDrawn played({"########", "#......#", "#..2...#", "#.1.3..#", "########"});
  struct Case {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    bool Running, Cheats, HumanTurn;
    const char* Acts;  // what the key did, "" for nothing
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier;
  const Case cases[] = {
      {Qt::Key_Z, ctrl, true, true, true, " took back"},
      {Qt::Key_Z, ctrl | Qt::ShiftModifier, true, true, true, " took back"},
      {Qt::Key_Z, ctrl, true, false, true, ""},
      {Qt::Key_Z, ctrl, true, true, false, ""},
      {Qt::Key_Z, ctrl, false, true, true, ""},
      {Qt::Key_Z, none, true, true, true, ""},
      {Qt::Key_M, ctrl, true, true, true, " moves"},
      {Qt::Key_M, ctrl, true, false, true, ""},
      {Qt::Key_M, ctrl, true, true, false, ""},
      {Qt::Key_M, ctrl, false, true, true, ""},
      {Qt::Key_T, ctrl | Qt::AltModifier, true, true, true, " seconds"},
      {Qt::Key_T, ctrl, true, false, true, ""},
      {Qt::Key_T, ctrl, true, true, false, ""},
      {Qt::Key_T, none, true, true, true, ""},
      {Qt::Key_R, ctrl, true, true, true, " emptied moves"},
      {Qt::Key_R, ctrl, true, false, true, ""},
      {Qt::Key_R, ctrl, true, true, false, ""},
      {Qt::Key_R, ctrl, false, true, true, ""},
      {Qt::Key_R, none, true, true, true, ""},
      {Qt::Key_W, ctrl, true, true, true, " paused"},
      {Qt::Key_W, ctrl, true, true, false, " paused"},  // also on the computer's turn
      {Qt::Key_W, ctrl, true, false, true, ""},
      {Qt::Key_W, ctrl, false, true, true, ""},
      {Qt::Key_W, none, true, true, true, ""},
      {Qt::Key_H, none, true, false, false, " hint"},
      {Qt::Key_H, ctrl, true, true, true, " hint"},
      {Qt::Key_H, Qt::ShiftModifier, true, false, true, " hint"},
      {Qt::Key_H, none, false, true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QKeySequence(c.Key | c.Modifiers.toInt()).toString().toStdString() + (c.Running ? " running" : "") +
                 (c.Cheats ? " cheats" : "") + (c.HumanTurn ? " player's turn" : ""));
    // Tile 1 was pushed down from (3, 3) by the player after a scramble of one move.
    Play(board.Board(), played.Pattern(), board.Pattern());
    TGame& g = App().Game();
    AppendEntry(g.History, 5, 4, DirUp, 0);
    AppendEntry(g.History, 3, 4, DirUp, 0);
    App().State.ScrambleLength = 1;
    g.Moves = 3;
    g.Seconds = 3;
    App().State.GameRunning = c.Running;
    App().CheatsEnabled = c.Cheats;
    App().State.HumanTurn = c.HumanTurn;
    App().PauseResult = 0;
    PointAt(Mid(3), Mid(4));
    Form->TimerInvalid->stop();
    Effects.clear();

    Key(c.Key, c.Modifiers);
    std::string acts;
    const int length = ListLength(g.History);
    if (length == 1) acts += " took back";
    if (length == 0) acts += " emptied";
    if (g.Moves != 3) acts += " moves";
    if (g.Seconds != 3) acts += " seconds";
    if (App().PauseResult != 0) acts += " paused";
    if (Form->TimerInvalid->isActive()) acts += " hint";
    EXPECT_EQ(acts, c.Acts);
    std::vector<TEffect> sounds;
    if (acts == " took back") sounds = {TEffect::Move};
    if (acts == " moves" || acts == " seconds" || acts == " emptied moves") sounds = {TEffect::Click};
    EXPECT_EQ(Effects, sounds);
    EXPECT_FALSE(App().KeepBoardVisible);
  }
}

// ---- H ---------------------------------------------------------------------------

TEST(CheatKeysHint, ObjectivePlacesOfTheTileInTheBoardsInterior) {
  TPattern current, objective;
  ClearPattern(current);
  ClearPattern(objective);
  current.Tiles[5][5] = 7;
  current.Tiles[20][15] = 3;
  // Tiles beyond the grid never count.
  current.Tiles[0][5] = current.Tiles[21][5] = current.Tiles[5][0] = current.Tiles[5][16] = 7;
  for (const auto& [x, y] : {std::pair{2, 2}, {14, 10}, {15, 11}, {19, 14}, {20, 8}, {9, 15}, {1, 1}})
    objective.Tiles[x][y] = 7;
  objective.Tiles[6][6] = 4;
  struct Case {
    int Width, Height, Column, Row, Tile;
    std::vector<TBoardCell> Cells;
  };
  const Case cases[] = {
      {20, 15, 5, 5, 7, {{2, 2}, {14, 10}, {15, 11}, {19, 14}}},  // not on the frame: x 20, y 15, (1, 1)
      {16, 12, 5, 5, 7, {{2, 2}, {14, 10}, {15, 11}}},
      {10, 15, 5, 5, 7, {{2, 2}}},  // (9, 15) is on the frame of this one
      {20, 15, 20, 15, 3, {}},  // a tile the objective does not hold
      {20, 15, 6, 5, 0, {}},
      {20, 15, 0, 5, 0, {}},
      {20, 15, 21, 5, 0, {}},
      {20, 15, 5, 0, 0, {}},
      {20, 15, 5, 16, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height << " at " << c.Column << "," << c.Row);
    const THint hint = HintAt(current, objective, c.Width, c.Height, c.Column, c.Row);
    EXPECT_EQ(hint.Tile, c.Tile);
    EXPECT_EQ(Trace(hint.Cells), Trace(c.Cells));
  }
}

TEST_F(CheatKeysTest, HintMarksTheObjectivePlacesOfTheTileUnderThePointerOnTheLargestBoard) {
  const std::unique_ptr<TBoard> board = MakeBoard(20, 15, "Alpha");
  TPattern current, op;
  ClearPattern(current);
  ClearPattern(op);
  current.Tiles[5][5] = 7;
  current.Tiles[6][5] = 8;
  for (const auto& [x, y] : {std::pair{3, 2}, {17, 12}, {19, 14}, {20, 8}, {10, 15}}) op.Tiles[x][y] = 7;
  op.Tiles[12][12] = 8;
  struct Case {
    const char* Name;
    bool ShowInvalid;
    int X, Y;  // the pointer in the window
    std::vector<TBoardCell> Marked;
    bool TimerRuns;
  };
  const Case cases[] = {
      {"over tile 7", true, Mid(5), Mid(5), {{3, 2}, {17, 12}, {19, 14}}, true},
      {"marks off", false, Mid(5), Mid(5), {}, true},
      {"over the cell's left edge", true, 4 * 48, 4 * 48 + 47, {{3, 2}, {17, 12}, {19, 14}}, true},
      {"5 pixels left of the tile", true, 4 * 48 - 5, Mid(5), {}, false},  // no shift by 8 pixels
      {"over tile 8", true, Mid(6), Mid(5), {{12, 12}}, true},
      {"over an empty cell", true, Mid(7), Mid(7), {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Play(*board, current, op);
    App().Config.ShowInvalid = c.ShowInvalid ? 1 : 0;
    PointAt(c.X, c.Y);
    Form->TimerInvalid->stop();
    const QImage before = MainPicture().copy();
    Key(Qt::Key_H);
    std::vector<TBoardCell> marked;
    for (int x = 1; x <= 21; ++x)
      for (int y = 1; y <= 16; ++y) {
        const QRect cell((x - 1) * 48, (y - 1) * 48, 48, 48);
        if (MainPicture().copy(cell) != before.copy(cell)) marked.push_back({x, y});
      }
    EXPECT_EQ(Trace(marked), Trace(c.Marked));
    EXPECT_EQ(Form->TimerInvalid->isActive(), c.TimerRuns);
    EXPECT_EQ(Form->TimerInvalid->interval(), 200);
    EXPECT_TRUE(Effects.empty());
  }
}

// ---- Ctrl+Z ----------------------------------------------------------------------

TEST_F(CheatKeysTest, TakingBackAMoveOfTwoStepsPushesTwiceAndKeepsTheMoveCounter) {
  TDrawn board(PairRows, 2);
  board.Game.AddLink(3, 3, 4, 3);
  Play(board.Board(), board.Pattern(), TDrawn({"########", "#.....3#", "#......#", "#......#", "########"}).Pattern());
  Drag(4, 3, 5, 3);  // the glued pair goes two cells to the right
  ASSERT_EQ(Current().Tiles[5][3], 1);
  ASSERT_EQ(Current().Tiles[6][3], 2);
  ASSERT_EQ(App().Game().Moves, 1);
  const int entries = ListLength(App().Game().History);
  Effects.clear();

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(PatternsEqual(Current(), board.Pattern()));
  EXPECT_EQ(CountLinks(Current()), 1);
  EXPECT_TRUE(IsLinkEnd(Current(), 3, 3) && IsLinkEnd(Current(), 4, 3));
  EXPECT_EQ(ListLength(App().Game().History), entries - 1);
  EXPECT_EQ(App().Game().Moves, 1);
  EXPECT_EQ(App().State.StepCount, 0);
  EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Move});
  EXPECT_TRUE(App().State.GameRunning);
}

TEST_F(CheatKeysTest, TheLastEntryWithItsTileIsTakenBackButNeverOneOfTheScramble) {
  TDrawn board({"########", "#......#", "#.1....#", "#....2.#", "########"});
  struct TEntry {
    int X, Y, Dir;
  };
  struct Case {
    const char* Name;
    std::vector<TEntry> History;
    int ScrambleLength;
    int Left;              // entries left
    TBoardCell TileOneAt;  // where tile 1 is afterwards
  };
  const TEntry oneUp{3, 3, DirUp}, twoLeft{6, 4, DirLeft}, gone{5, 2, DirLeft};
  TDrawn far({"########", "#....2.#", "#......#", "#.1....#", "########"});
  const Case cases[] = {
      {"the last move", {twoLeft, oneUp}, 1, 1, {3, 2}},
      {"its tile gone: the one before", {twoLeft, oneUp, gone, gone}, 1, 1, {3, 2}},
      {"only the scramble", {oneUp, twoLeft}, 2, 2, {3, 3}},
      {"the scramble's tile gone", {oneUp, gone}, 2, 2, {3, 3}},
      {"all tiles gone", {gone, gone}, 0, 0, {3, 3}},
      {"no moves", {}, 0, 0, {3, 3}},
      {"a full list", std::vector<TEntry>(MoveListSize, oneUp), 0, MoveListSize, {3, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Play(board.Board(), board.Pattern(), far.Pattern());
    for (const TEntry& e : c.History) AppendEntry(App().Game().History, e.X, e.Y, e.Dir, 0);
    App().State.ScrambleLength = c.ScrambleLength;
    const TMoveList before = App().Game().History;
    Effects.clear();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ListLength(App().Game().History), c.Left);
    EXPECT_EQ(Current().Tiles[c.TileOneAt.X][c.TileOneAt.Y], 1);
    EXPECT_EQ(Current().Tiles[6][4], 2);
    EXPECT_EQ(App().State.ScrambleLength, c.ScrambleLength);
    const bool tookBack = c.TileOneAt.Y == 2;
    EXPECT_EQ(Effects, tookBack ? std::vector<TEffect>{TEffect::Move} : std::vector<TEffect>{});
    if (c.Left == static_cast<int>(c.History.size())) {
      EXPECT_TRUE(SameList(App().Game().History, before));
    }
  }
}

TEST_F(CheatKeysTest, NothingIsTakenBackRightAfterANewGame) {
  TDrawn board({"########", "#.1..2.#", "#..3...#", "#.4....#", "########"});
  TGame& g = App().Game();
  g.Board = board.Board();
  g.Current = g.OP = board.Pattern();
  ASSERT_TRUE(ScrambleFromCurrent(*App().Engine, 0));
  const TPattern scrambled = g.Current;
  const TMoveList history = g.History;
  ASSERT_EQ(App().State.ScrambleLength, ListLength(history));
  Form->ResizeMainWindow(false, false, true);
  BeginPlay();
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(PatternsEqual(g.Current, scrambled));
  EXPECT_TRUE(SameList(g.History, history));
  EXPECT_TRUE(Effects.empty());
}

TEST_F(CheatKeysTest, TakingBackAMoveNeitherReachesTheMovesLimitNorSolves) {
  TDrawn board(PairRows);
  const TPattern far = TDrawn({"########", "#.....3#", "#......#", "#......#", "########"}).Pattern();
  struct Case {
    const char* Name;
    const TPattern& Objective;
    int MovesLimit;
  };
  for (const Case& c : {Case{"one move before the limit", far, 2}, Case{"back to the objective", board.Pattern(), 0}}) {
    SCOPED_TRACE(c.Name);
    Play(board.Board(), board.Pattern(), c.Objective);
    App().Game().MovesLimit = c.MovesLimit;
    Drag(5, 4, 5, 3);  // tile 3 up
    ASSERT_EQ(App().Game().Moves, 1);
    ASSERT_TRUE(App().State.GameRunning);
    Effects.clear();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(PatternsEqual(Current(), board.Pattern()));
    EXPECT_TRUE(App().State.GameRunning);
    EXPECT_EQ(App().Game().Moves, 1);
    EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Move});
  }
}

// ---- Ctrl+M, Ctrl+T ----------------------------------------------------------------

TEST_F(CheatKeysTest, CountersGoDownByOneButNotBelowZeroWithAClick) {
  TDrawn board(PairRows);
  struct Case {
    int Key;
    std::int32_t TGame::*Counter;
    std::int32_t Before, After;
  };
  const Case cases[] = {{Qt::Key_M, &TGame::Moves, 10, 9},
                        {Qt::Key_M, &TGame::Moves, 0, 0},
                        {Qt::Key_T, &TGame::Seconds, 10, 9},
                        {Qt::Key_T, &TGame::Seconds, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(QKeySequence(c.Key).toString().toStdString() + " from " + std::to_string(c.Before));
    Play(board.Board(), board.Pattern(), board.Pattern());
    TGame& g = App().Game();
    g.Moves = g.Seconds = 5;
    g.*c.Counter = c.Before;
    DrawBoard(true);
    const QRect statusRow(0, 5 * 48, 8 * 48, 48);
    const QImage before = MainPicture().copy(statusRow);
    Effects.clear();
    Key(c.Key, Qt::ControlModifier);
    EXPECT_EQ(g.*c.Counter, c.After);
    EXPECT_EQ(g.Moves + g.Seconds, 5 + c.After);  // the other one stays
    EXPECT_EQ(MainPicture().copy(statusRow) != before, c.Before != c.After);  // "10" and "9" differ in width
    EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Click});
  }
}

// ---- Ctrl+R ------------------------------------------------------------------------

// Some push of a cell, made StepsPerMove times, takes the position to the objective.
bool OneMoveFromTheObjective() {
  auto state = std::make_unique<TGameState>(App().State);
  state->GameRunning = false;
  const auto engine = std::make_unique<TMoveEngine>(*state);
  TGame& g = state->Game;
  const TPattern start = g.Current;
  for (int x = 2; x < g.Board.Width; ++x)
    for (int y = 2; y < g.Board.Height; ++y)
      for (int dir = 1; dir <= 4; ++dir) {
        g.Current = start;
        for (int i = 0; i < g.Board.StepsPerMove; ++i) engine->TryPush(false, false, x, y, dir);
        if (PatternsEqual(g.Current, g.OP)) return true;
      }
  return false;
}

TEST_F(CheatKeysTest, OneMoveFromTheSolutionLowersTheMoveCounterAndEmptiesTheHistory) {
  struct Case {
    const char* Name;
    TDrawn Board;
    bool Glued;
  };
  Case cases[] = {
      {"plain tiles", TDrawn({"######", "#1..2#", "#....#", "#3...#", "######"}), false},
      {"glued pair, two steps a move", TDrawn(PairRows, 2), true},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Glued) c.Board.Game.AddLink(3, 3, 4, 3);
    Play(c.Board.Board(), c.Board.Pattern(), c.Board.Pattern());
    AppendEntry(App().Game().History, 2, 3, DirUp, 0);
    AppendEntry(App().Game().History, 2, 4, DirUp, 0);
    App().State.ScrambleLength = 2;
    App().Game().Moves = 2;
    for (const int moves : {1, 0, 0}) {
      Effects.clear();
      Key(Qt::Key_R, Qt::ControlModifier);
      EXPECT_FALSE(PatternsEqual(Current(), App().Game().OP));
      EXPECT_TRUE(OneMoveFromTheObjective());
      EXPECT_EQ(CountLinks(Current()), c.Glued ? 1 : 0);
      EXPECT_EQ(App().Game().Moves, moves);
      EXPECT_EQ(ListLength(App().Game().History), 0);
      EXPECT_EQ(App().State.ScrambleLength, 0);
      EXPECT_EQ(App().State.StepCount, 0);
      EXPECT_TRUE(App().State.GameRunning);
      EXPECT_EQ(Effects, std::vector<TEffect>{TEffect::Click});
    }
  }
}

TEST_F(CheatKeysTest, OneMoveFromTheSolutionDoesNothingWhenNoMoveChangesTheObjective) {
  // Tile 1 is boxed in by solid cells: no push can move it.
  TDrawn board({"#####", "##1##", "#####"});
  TDrawn elsewhere({"#####", "##.##", "#####"});
  Play(board.Board(), elsewhere.Pattern(), board.Pattern());
  AppendEntry(App().Game().History, 3, 2, DirUp, 0);
  App().State.ScrambleLength = 1;
  App().Game().Moves = 4;
  Key(Qt::Key_R, Qt::ControlModifier);
  EXPECT_TRUE(PatternsEqual(Current(), elsewhere.Pattern()));
  EXPECT_EQ(ListLength(App().Game().History), 1);
  EXPECT_EQ(App().State.ScrambleLength, 1);
  EXPECT_EQ(App().Game().Moves, 4);
  EXPECT_TRUE(Effects.empty());
}

// ---- Ctrl+W ------------------------------------------------------------------------

TEST_F(CheatKeysTest, CtrlWPausesWithTheTilesOnTheBoardWhereF10HidesThem) {
  TDrawn board(PairRows);
  new TFormStop(Form.get());
  struct Case {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    bool TilesShown;
  };
  for (const Case c : {Case{Qt::Key_W, Qt::ControlModifier, true}, Case{Qt::Key_F10, Qt::NoModifier, false}}) {
    SCOPED_TRACE(QKeySequence(c.Key | c.Modifiers.toInt()).toString().toStdString());
    Play(board.Board(), board.Pattern(), board.Pattern());
    int tilesWhilePaused = -1;
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect([&](QWidget*) { tilesWhilePaused = CountTiles(Current()); },
                                     ModalDriver::Key(Qt::Key_Escape)));
    Key(c.Key, c.Modifiers);
    EXPECT_TRUE(driver.Done());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(tilesWhilePaused, c.TilesShown ? 3 : 0);
    EXPECT_TRUE(PatternsEqual(Current(), board.Pattern()));
    EXPECT_TRUE(App().State.GameRunning);
    EXPECT_FALSE(App().KeepBoardVisible);
    EXPECT_EQ(Form->PanelCommand, 0);
  }
}

}  // namespace
}  // namespace pav::test
