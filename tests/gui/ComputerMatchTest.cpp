// Games against the computer: the computer's play with its hands, hurried and at its
// own pauses, whole matches in both orders through the real windows, the results and
// the board's difference records, and the end of a computer whose script runs out.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/UnitInfoRecords.h"
#include "files/UnitRecordsBot.h"
#include "flow/ComputerMatch.h"
#include "flow/GameStart.h"
#include "flow/GameWindows.h"
#include "gui/FlatSkin.h"
#include "gui/LogTexts.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/Skinning.h"
#include "render/UnitOP.h"
#include "ui/UnitInfoBot.h"
#include "ui/UnitMain.h"
#include "ui/UnitResultBot.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

int Mid(int cell) { return (cell - 1) * 48 + 24; }

const QColor Maroon(128, 0, 0);
const QColor Navy(0, 0, 128);
QColor TextColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }
std::string Text(const QLabel* l) { return l->text().toStdString(); }


struct TStep {
  int X, Y, Dir;
};

// The game's windows as the main window supplies them, with every call the course of
// the game makes noted in order: the hands with where they stand on the window.
class TRecordingWindows : public TGameWindows {
 public:
  explicit TRecordingWindows(TFormMain& form) : Form(form), Real(MakeMainGameWindows(form)) {}
  std::vector<std::string> Calls;

  void RepaintMain() override { Real->RepaintMain(); }
  void RepaintStatusBar() override { Real->RepaintStatusBar(); }
  void FitMainToBoard(bool centre) override { Real->FitMainToBoard(centre); }
  void FitMainToLevel() override { Real->FitMainToLevel(); }
  void ShowCampaignLevel() override { Real->ShowCampaignLevel(); }
  void ShowCampaignResult() override { Real->ShowCampaignResult(); }
  void ForgetTileDrag() override { Real->ForgetTileDrag(); }
  void StartClock() override { Real->StartClock(); }
  void StopClock() override { Real->StopClock(); }
  void StartComputerTimer(int ms) override { Real->StartComputerTimer(ms); }
  void StopComputerTimer() override { Real->StopComputerTimer(); }
  void ShowFlatHand(int x, int y) override {
    Real->ShowFlatHand(x, y);
    Calls.push_back("flat " + Cell(x, y) + At(Form.ImageFlat) + (Form.ImageGrab->isHidden() ? "" : " +grab"));
  }
  void ShowGrabHand(int x, int y) override {
    Real->ShowGrabHand(x, y);
    Calls.push_back("grab " + Cell(x, y) + At(Form.ImageGrab) + (Form.ImageFlat->isHidden() ? "" : " +flat"));
  }
  void HideHands() override {
    Real->HideHands();
    if (Calls.empty() || Calls.back() != "hide") Calls.push_back("hide");
  }
  void DrawObjective() override { Real->DrawObjective(); }
  void CloseObjective() override { Real->CloseObjective(); }
  void ShowSingleGameStart() override { Real->ShowSingleGameStart(); }
  void ShowComputerTurnStart() override {
    Calls.push_back(App().State.HumanTurn ? "start human" : "start computer");
    Real->ShowComputerTurnStart();
  }
  void ShowPause() override { Real->ShowPause(); }
  void SetEndOfGame(const std::string& title, const std::string& text) override {
    Calls.push_back(title);
    Real->SetEndOfGame(title, text);
  }
  void ShowEndOfGame() override { Real->ShowEndOfGame(); }
  void ShowMatchResults() override {
    Calls.push_back("results");
    Real->ShowMatchResults();
  }
  void ShowRecordsObtained(const std::string& text) override {
    Calls.push_back("records");
    Real->ShowRecordsObtained(text);
  }

 private:
  static std::string Cell(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  static std::string At(const QWidget* w) {
    return !w->isHidden() ? " @" + std::to_string(w->x()) + "," + std::to_string(w->y()) : " hidden";
  }
  TFormMain& Form;
  std::unique_ptr<TGameWindows> Real;
};

class ComputerMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    ResetLogBuffer();
    App().AppFolder = Inst.Folder();
    TConfig c = MakeConfig("Alpha");
    c.GameMode = 2;
    c.ComputerSpeed = 2;
    c.ComputerAccuracy = 2;
    c.HumanPlaysFirst = 1;
    c.PlayerName.Assign("Tester");
    Inst.UseOneSound(c);
    App().Config = c;
    SetWavePlayer([this](TEffect e, const std::string&) { Effects.push_back(e); });

    // The objective: tile 1 in the upper left corner of a 4 x 3 floor.
    Board = MakeBoard(6, 5, "Alpha Board");
    for (auto& speed : Board->BotRecords)
      for (TRecordTable& t : speed) ClearRecordTable(t, TRecordOrder::Descending);
    // Another table holds an entry: it must keep its bytes.
    Board->BotRecords[0][1].TimeValues[0] = 7;
    Board->BotRecords[0][1].TimeNames[0].Assign("Earlier");
    Inst.AddBoard("Alpha", *Board);
    App().Game().Board = *Board;
    App().Game().Current = Board->Pattern;

    Form = std::make_unique<TFormMain>(false);
    new TFormInfoBot(Form.get());
    new TFormResultBot(Form.get());
    new TFormOP(Form.get());
    new TFormStop(Form.get());
    new TFormSolved(Form.get());
    new TFormInfoRecords(Form.get());
    new TFormRecordsBot(Form.get());
    Form->ResizeMainWindow(false, false, true);
    Windows = std::make_unique<TRecordingWindows>(*Form);
    SetGameWindows(Windows.get());
  }
  void TearDown() override {
    SetGameWindows(nullptr);
    SetWavePlayer(nullptr);
    Form.reset();
    // The human's turn leaves its pointer shape set; the next test starts without it.
    RestoreNormalPointer();
  }

  // A position of the one tile, and the script that leads it back.
  static void Position(int x, int y, const std::vector<TStep>& script) {
    TGame& g = App().Game();
    ClearPattern(g.Current);
    g.Current.Tiles[x][y] = 1;
    ClearList(g.History);
    for (const TStep& s : script) AppendEntry(g.History, s.X, s.Y, s.Dir, 0);
  }
  // The computer's position: five moves from the objective, with an entry whose tile
  // is gone by the time it comes (the second) that is passed over.
  static void ComputerPosition() {
    Position(5, 4, {{5, 4, DirLeft}, {4, 3, DirUp}, {4, 4, DirLeft}, {3, 4, DirLeft}, {2, 4, DirUp}, {2, 3, DirUp}});
  }
  // The human's position: one push left from the objective.
  static void HumanPosition() { Position(3, 2, {{3, 2, DirLeft}}); }

  // The human drags the tile at (3, 2) one cell left.
  void HumanSolves() {
    SendPress(Form.get(), Mid(3), Mid(2));
    SendMove(Form.get(), Mid(2), Mid(2), Qt::LeftButton);
    SendRelease(Form.get(), Mid(2), Mid(2));
  }
  void PressKey(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(Form.get(), &press);
  }
  // Lets the timers run until `done`, at most a few seconds.
  static bool RunUntil(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 8000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Effects;
  std::unique_ptr<TBoard> Board;
  std::unique_ptr<TFormMain> Form;
  std::unique_ptr<TRecordingWindows> Windows;
};

// ---- The computer's pauses and its simulated time --------------------------------------

TEST(ComputerPauses, EachSpeedDrawsItsShortAndLongPauses) {
  struct TCase {
    int Speed;
    double LongShare;  // of the pauses, 600..800 ms
  };
  for (const TCase c : {TCase{0, 2.0 / 3}, TCase{1, 0.5}, TCase{2, 0.0}}) {
    SCOPED_TRACE(c.Speed);
    std::mt19937 rng(1234 + c.Speed);
    int longPauses = 0, shortest = 1000, longest = 0;
    constexpr int Draws = 6000;
    for (int i = 0; i < Draws; ++i) {
      const int ms = ComputerInterval(rng, c.Speed, false);
      ASSERT_TRUE((ms >= 50 && ms <= 250) || (ms >= 600 && ms <= 800)) << ms;
      if (ms >= 600) ++longPauses;
      shortest = std::min(shortest, ms);
      longest = std::max(longest, ms);
    }
    EXPECT_NEAR(static_cast<double>(longPauses) / Draws, c.LongShare, 0.03);
    EXPECT_EQ(shortest, 50);
    EXPECT_EQ(longest, c.Speed == 2 ? 250 : 800);
    EXPECT_EQ(ComputerInterval(rng, c.Speed, true), 10);
  }
}

TEST(ComputerPauses, HurriedTurnTimeIsSummedInDoublesAndTruncated) {
  std::mt19937 rng(7);
  // At the fastest speed every move counts 0.3 s: ten of them sum to just below 3.
  EXPECT_EQ(ComputerTurnTime(rng, 10, 2), 2);
  EXPECT_EQ(ComputerTurnTime(rng, 40, 2), 12);
  EXPECT_EQ(ComputerTurnTime(rng, 0, 0), 0);
  // Slower, each move is 0.3 or 1.4 s.
  for (int speed : {0, 1}) {
    const int t = ComputerTurnTime(rng, 100, speed);
    EXPECT_GT(t, 30);
    EXPECT_LT(t, 140);
  }
}

// ---- Results ---------------------------------------------------------------------------

TEST(MatchResultsTest, ScoresWinnersAndDifference) {
  struct TCase {
    const char* Name;
    int HumanSeconds, HumanMoves, ComputerSeconds, ComputerMoves;
    bool Stopped;  // LostByLimit, with HumanTurn the player stopped
    bool HumanStopped;
    int Level;
    const char* HumanScore;     // time and moves
    const char* ComputerScore;
    const char* TimeWinner;
    const char* MovesWinner;
    const char* Difference;
  };
  const TCase cases[] = {
      {"human wins both", 10, 4, 25, 9, false, false, 3, "10 S 4 M", "25 S 9 M", "Zoe", "Zoe", "5 M , 15 S"},
      {"tie and a loss", 12, 9, 12, 5, false, false, 3, "12 S 9 M", "12 S 5 M", "TIE", "Computer", "-4 M , 0 S"},
      {"human second, stopped", 0, 0, 30, 20, true, true, 2, "- -", "30 S 20 M", "Computer", "Computer", "-"},
      {"computer second, stopped", 40, 11, 0, 0, true, false, 2, "40 S 11 M", "- -", "Zoe", "Zoe", "-"},
      {"computer first, script ran out", 0, 0, 0, 0, true, false, 1, "- -", "- -", "Zoe", "Zoe", "-"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetApp();
    App().Config.PlayerName.Assign("Zoe");
    TGameState& s = App().State;
    s.HumanSeconds = c.HumanSeconds;
    s.HumanMoves = c.HumanMoves;
    s.ComputerSeconds = c.ComputerSeconds;
    s.ComputerMoves = c.ComputerMoves;
    s.LostByLimit = c.Stopped;
    s.HumanTurn = c.HumanStopped;
    s.Game.Level = static_cast<std::uint8_t>(c.Level);
    const TMatchResults r = MatchResults();
    EXPECT_EQ(r.HumanTime + " " + r.HumanMoves, c.HumanScore);
    EXPECT_EQ(r.ComputerTime + " " + r.ComputerMoves, c.ComputerScore);
    EXPECT_EQ(r.TimeWinner.Text, c.TimeWinner);
    EXPECT_EQ(r.MovesWinner.Text, c.MovesWinner);
    EXPECT_EQ(r.Difference, c.Difference);
    EXPECT_EQ(r.LogLine, std::string("Results : 'Fewest Moves' Winner : ") + c.MovesWinner +
                             " - 'Fastest Time' Winner : " + c.TimeWinner + ".");
  }
}

// ---- Whole matches -----------------------------------------------------------------

TEST_F(ComputerMatchTest, HumanFirstThenAHurriedComputer) {
  const std::string boardBefore = Inst.ReadBytes("Boards/Alpha.BRD");
  ModalDriver driver(30, 8000);
  driver
      .Then(ModalDriver::Inspect(
          [&](QWidget*) {
            TFormInfoBot* info = FormInfoBot();
            EXPECT_EQ(Text(info->LabelTurn), "It's Your Turn");
            EXPECT_EQ(TextColour(info->LabelTurn), Maroon);
            EXPECT_EQ(info->ButtonPlay->text(), "Play !");
            EXPECT_FALSE(info->LabelSpeed->isEnabled());  // the computer's settings, greyed
            EXPECT_EQ(Text(info->LabelSpeed), "Fast");
            EXPECT_EQ(Text(info->LabelAccuracy), "High");
            EXPECT_FALSE(info->LabelOppTimeText->isEnabled());
            EXPECT_FALSE(info->LabelOppTime->isVisible());
            HumanPosition();
          },
          ModalDriver::Press("Play !")));
  ASSERT_TRUE(PlayCommand());
  ASSERT_TRUE(App().State.GameRunning);
  EXPECT_FALSE(Form->TimerBot->isActive());

  driver.Then(ModalDriver::Press("OK"))  // "CONGRATULATIONS !"
      .Then(ModalDriver::Inspect(
          [&](QWidget*) {
            TFormInfoBot* info = FormInfoBot();
            EXPECT_EQ(Text(info->LabelTurn), "It's Computer's Turn");
            EXPECT_EQ(TextColour(info->LabelTurn), Navy);
            EXPECT_EQ(info->ButtonPlay->text(), "Watch ..");
            EXPECT_TRUE(info->LabelSpeed->isEnabled());
            // The first player's result, the human's in maroon.
            EXPECT_EQ(Text(info->LabelOppTime), "0 S");
            EXPECT_EQ(Text(info->LabelOppMoves), "1 M");
            EXPECT_TRUE(info->LabelOppMoves->isVisible());
            EXPECT_EQ(TextColour(info->LabelOppMoves), Maroon);
            ComputerPosition();
          },
          ModalDriver::Press("Watch ..")));
  HumanSolves();
  ASSERT_TRUE(App().State.GameRunning);
  ASSERT_FALSE(App().State.HumanTurn);
  EXPECT_EQ(Form->TimerBot->interval(), 1000);
  // The human's pointer does nothing while the computer plays.
  SendPress(Form.get(), Mid(5), Mid(4));
  EXPECT_FALSE(Form->TileDragging);
  SendRelease(Form.get(), Mid(5), Mid(4));

  std::string solvedText;
  bool handTimer = false;
  TFormResultBot* results = FormResultBot();
  driver
      .Then(ModalDriver::Inspect(
          [&](QWidget*) {
            solvedText = FormSolved()->LabelInfo->text().toStdString();
            handTimer = Form->TimerHand->isActive();
          },
          ModalDriver::Press("OK")))
      .Then(ModalDriver::Inspect(
          [&](QWidget*) {
            EXPECT_EQ(Text(results->LabelHumanTime) + " " + Text(results->LabelHumanMoves), "0 S 1 M");
            // Hurried at the fastest speed: 5 moves of 0.3 s.
            EXPECT_EQ(Text(results->LabelComputerTime) + " " + Text(results->LabelComputerMoves), "1 S 5 M");
            EXPECT_EQ(Text(results->LabelTimeWinner), "Tester");
            EXPECT_EQ(TextColour(results->LabelTimeWinner), Maroon);
            EXPECT_EQ(Text(results->LabelMovesWinner), "Tester");
            EXPECT_EQ(Text(results->LabelDifference), "4 M , 1 S");
          },
          ModalDriver::Press("OK")))
      .Then(ModalDriver::Inspect(
          [&](QWidget*) {
            EXPECT_EQ(FormInfoRecords()->LabelInfo->text().toStdString(),
                      "You got the position number 1 in the 'Highest Moves Difference' Records..\n\n"
                      "..And number 1 in the 'Highest Time Difference' Records.");
          },
          ModalDriver::Press("OK")));
  PressKey(Qt::Key_C);
  EXPECT_TRUE(App().State.ComputerHurry);
  ASSERT_TRUE(RunUntil([&] { return driver.Done(); })) << driver.Seen().join(", ").toStdString();

  EXPECT_EQ(solvedText, "Puzzle solved in 5 Moves\nand 1 Seconds.");
  EXPECT_TRUE(handTimer);
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_FALSE(Form->TimerBot->isActive());
  EXPECT_TRUE(Form->ImageFlat->isHidden() && Form->ImageGrab->isHidden());
  // Pointing before pushing, the hands 8 pixels into their cells; the entry whose tile
  // was gone is passed over.
  EXPECT_EQ(Windows->Calls, (std::vector<std::string>{
                                "start human", "CONGRATULATIONS !", "hide", "start computer",
                                "flat 5,4 @200,152", "grab 4,4 @152,152", "flat 4,4 @152,152", "grab 3,4 @104,152",
                                "flat 3,4 @104,152", "grab 2,4 @56,152", "flat 2,4 @56,152", "grab 2,3 @56,104",
                                "flat 2,3 @56,104", "grab 2,2 @56,56", "CONGRATULATIONS !", "hide", "results",
                                "records"}));
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                            "Game against computer started. Board : Alpha Board.", "Player's game started.",
                            "Puzzle solved in 1 Moves and 0 Seconds.",
                            "Computer's game started. Speed : Fast - Accuracy : High.",
                            "Puzzle solved in 5 Moves and 1 Seconds.",
                            "Results : 'Fewest Moves' Winner : Tester - 'Fastest Time' Winner : Tester.",
                            "Position 1 obtained in the 'Highest Moves Difference' records, and 1 in the 'Highest "
                            "Time Difference' records.",
                            " -"}));

  // Only the table of this speed and accuracy changed in the board file.
  auto stored = std::make_unique<TBoard>();
  LoadBoard(Inst.File("Boards/Alpha.BRD"), *stored);
  const TRecordTable& t = stored->BotRecords[2][2];
  EXPECT_EQ(t.MoveValues[0], 4);
  EXPECT_EQ(t.TimeValues[0], 1);
  EXPECT_EQ(t.MoveNames[0].Str(), "Tester");
  const std::string boardAfter = Inst.ReadBytes("Boards/Alpha.BRD");
  ASSERT_EQ(boardAfter.size(), boardBefore.size());
  const std::size_t table = offsetof(TBoard, BotRecords) + (2 * 3 + 2) * sizeof(TRecordTable);
  EXPECT_EQ(boardAfter.substr(0, table), boardBefore.substr(0, table));
  EXPECT_EQ(boardAfter.substr(table + sizeof(TRecordTable)), boardBefore.substr(table + sizeof(TRecordTable)));
}

TEST_F(ComputerMatchTest, ComputerFirstThenTheHumanWhoTakesMoreMoves) {
  App().Config.HumanPlaysFirst = 0;
  App().Config.UseOpponentMoves = 1;
  const std::string boardBefore = Inst.ReadBytes("Boards/Alpha.BRD");
  ModalDriver driver(30, 8000);
  driver.Then(ModalDriver::Inspect([&](QWidget*) { Position(3, 2, {{3, 2, DirLeft}}); }, ModalDriver::Press("Watch ..")));
  ASSERT_TRUE(PlayCommand());
  PressKey(Qt::Key_C);
  driver.Then(ModalDriver::Press("OK"))  // the computer solved in 1 move
      .Then(ModalDriver::Inspect(
          [&](QWidget*) {
            TFormInfoBot* info = FormInfoBot();
            // The computer's result, in navy, for the human.
            EXPECT_EQ(Text(info->LabelOppMoves), "1 M");
            EXPECT_EQ(TextColour(info->LabelOppMoves), Navy);
            EXPECT_EQ(Text(info->LabelTurn), "It's Your Turn");
            Position(4, 2, {{4, 2, DirLeft}, {3, 2, DirLeft}});
          },
          ModalDriver::Press("Play !")));
  ASSERT_TRUE(RunUntil([&] { return driver.Done() && App().State.HumanTurn; }));
  EXPECT_EQ(App().State.OpponentMoves, 1);
  EXPECT_EQ(App().State.OpponentTime, 0);  // the opponent's time is not asked for

  // The human's first move reaches the computer's count: the turn ends there.
  TMatchResults shown;
  driver.Then(ModalDriver::Press("OK"))  // "GAME OVER"
      .Then(ModalDriver::Inspect([&](QWidget*) { shown = MatchResults(); }, ModalDriver::Press("OK")));
  SendPress(Form.get(), Mid(4), Mid(2));
  SendMove(Form.get(), Mid(3), Mid(2), Qt::LeftButton);
  SendRelease(Form.get(), Mid(3), Mid(2));
  ASSERT_TRUE(driver.Done()) << driver.Seen().join(", ").toStdString();

  EXPECT_TRUE(App().State.LostByLimit);
  EXPECT_EQ(shown.HumanTime, "-");
  EXPECT_EQ(shown.ComputerMoves, "1 M");
  EXPECT_EQ(shown.MovesWinner.Text, "Computer");
  EXPECT_EQ(TextColour(FormResultBot()->LabelMovesWinner), Navy);
  EXPECT_EQ(Text(FormResultBot()->LabelDifference), "-");
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                            "Game against computer started. Board : Alpha Board.",
                            "Computer's game started. Speed : Fast - Accuracy : High.",
                            "Puzzle solved in 1 Moves and 0 Seconds.", "Player's game started.",
                            "Game over : Moves limit reached in 1 Moves.",
                            "Results : 'Fewest Moves' Winner : Computer - 'Fastest Time' Winner : Computer.", " -"}));
  // A match a limit ended enters no records.
  EXPECT_EQ(Inst.ReadBytes("Boards/Alpha.BRD"), boardBefore);
}

TEST_F(ComputerMatchTest, AScriptThatRunsOutEndsTheComputersTurn) {
  App().Config.HumanPlaysFirst = 0;
  const std::string boardBefore = Inst.ReadBytes("Boards/Alpha.BRD");
  ModalDriver driver(30, 8000);
  // A gone tile, a push into the frame, one push left: the tile stops short of the objective.
  driver.Then(ModalDriver::Inspect([&](QWidget*) { Position(4, 2, {{3, 3, DirUp}, {4, 2, DirUp}, {4, 2, DirLeft}}); },
                                   ModalDriver::Press("Watch ..")));
  ASSERT_TRUE(PlayCommand());
  std::string endText;
  int tileLeftAt = 0;
  driver
      .Then(ModalDriver::Inspect(
                [&](QWidget*) {
                  endText = FormSolved()->LabelInfo->text().toStdString();
                  tileLeftAt = App().Game().Current.Tiles[3][2];
                },
                                 ModalDriver::Press("OK")))
      .Then(ModalDriver::Press("OK"));
  PressKey(Qt::Key_C);
  ASSERT_TRUE(RunUntil([&] { return driver.Done(); })) << driver.Seen().join(", ").toStdString();

  EXPECT_EQ(endText, "The computer could not finish its puzzle.");
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_TRUE(App().State.LostByLimit);
  EXPECT_FALSE(Form->TimerBot->isActive());
  EXPECT_FALSE(Form->TimerGame->isActive());
  EXPECT_EQ(tileLeftAt, 1);
  EXPECT_EQ(Windows->Calls,
            (std::vector<std::string>{"start computer", "flat 4,2 @152,56", "grab 4,1 @152,8", "flat 4,2 @152,56",
                                      "grab 3,2 @104,56", "hide", "GAME OVER", "results"}));
  EXPECT_EQ(std::count(Effects.begin(), Effects.end(), TEffect::GameOver), 1);
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                            "Game against computer started. Board : Alpha Board.",
                            "Computer's game started. Speed : Fast - Accuracy : High.",
                            "Game over : The computer could not finish its puzzle.",
                            "Results : 'Fewest Moves' Winner : Tester - 'Fastest Time' Winner : Tester.", " -"}));
  EXPECT_EQ(Inst.ReadBytes("Boards/Alpha.BRD"), boardBefore);
}

TEST_F(ComputerMatchTest, AMoveThatEndsTheComputersTurnStopsThere) {
  // Two pushes a move: the computer's first push solves, and the end of its turn
  // begins the human's before the second push would come.
  App().Config.HumanPlaysFirst = 0;
  App().Game().Board.StepsPerMove = 2;
  ModalDriver driver(30, 8000);
  driver.Then(ModalDriver::Inspect([&](QWidget*) { HumanPosition(); }, ModalDriver::Press("Watch ..")));
  ASSERT_TRUE(PlayCommand());
  PressKey(Qt::Key_C);
  driver.Then(ModalDriver::Press("OK")).Then(ModalDriver::Inspect([&](QWidget*) { HumanPosition(); },
                                                                  ModalDriver::Press("Play !")));
  ASSERT_TRUE(RunUntil([&] { return driver.Done() && App().State.HumanTurn; }));
  QCoreApplication::processEvents();
  EXPECT_TRUE(App().State.GameRunning);
  EXPECT_EQ(App().Game().Current.Tiles[3][2], 1);
  EXPECT_EQ(App().Game().Moves, 0);
  App().State.GameRunning = false;
  Form->TimerGame->stop();
}

TEST_F(ComputerMatchTest, PauseStopsTheComputerAndHidesItsHands) {
  App().Config.HumanPlaysFirst = 0;
  ModalDriver driver(30, 8000);
  driver.Then(ModalDriver::Inspect([&](QWidget*) { ComputerPosition(); }, ModalDriver::Press("Watch ..")));
  ASSERT_TRUE(PlayCommand());
  ASSERT_TRUE(RunUntil([&] { return !Form->ImageFlat->isHidden(); }));
  bool stoppedDuringPause = false;
  driver.Then(ModalDriver::Inspect(
      [&](QWidget*) {
        stoppedDuringPause = !Form->TimerBot->isActive() && Form->ImageFlat->isHidden();
      },
      ModalDriver::Key(Qt::Key_Escape)));
  PauseCommand();
  EXPECT_TRUE(stoppedDuringPause);
  // Back to the game: the computer goes on where it was.
  EXPECT_TRUE(Form->TimerBot->isActive());
  EXPECT_FALSE(App().BotPointing);
  App().State.GameRunning = false;
  Form->TimerBot->stop();
  Form->TimerGame->stop();
}

}  // namespace
}  // namespace pav::test
