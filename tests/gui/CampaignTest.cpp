// Campaigns through the real windows: the level window before each level with its
// gauge, the totals that run on, completion with the campaign's records, a level lost
// by time or by moves, an abort, Ctrl+N under cheats, and a level that cannot be
// loaded any more.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/UnitInfoRecords.h"
#include "flow/Campaign.h"
#include "flow/GameClock.h"
#include "flow/GameStart.h"
#include "flow/UnitInfoCamp.h"
#include "flow/UnitResultCamp.h"
#include "gui/FlatSkin.h"
#include "gui/LogTexts.h"
#include "gui/ModalDriver.h"
#include "gui/PointerEvents.h"
#include "gui/TempInstallation.h"
#include "media/Effects.h"
#include "render/UnitOP.h"
#include "ui/UnitMain.h"
#include "ui/UnitSolved.h"
#include "ui/UnitStop.h"

namespace pav::test {
namespace {

int Mid(int cell) { return (cell - 1) * 48 + 24; }


std::string Text(const QLabel* l) { return l->text().toStdString(); }

// What a level window showed.
struct TStep3 {
  int X, Y, Dir;
};

struct TLevelSeen {
  std::string Turn;
  int Gauge;
  QSize Main;
  bool Placed;  // 24 below the main window's top, 72 left of its right edge
};

class CampaignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    ResetLogBuffer();
    App().AppFolder = Inst.Folder();
    TConfig c = MakeConfig("Alpha");
    c.GameMode = 3;
    c.CampaignName.Assign("Tour");
    Inst.UseOneSound(c);
    App().Config = c;
    SetWavePlayer([this](TEffect e, const std::string&) { Effects.push_back(e); });

    // Two boards of different sizes, each with a floor of at least 4 x 3.
    Inst.AddBoard("Alpha", *MakeBoard(6, 5, "Alpha Board"));
    Inst.AddBoard("Wide", *MakeBoard(9, 6, "Wide Board"));
    auto first = MakeBoard(6, 5, "Alpha Board");
    App().Game().Board = *first;
    App().Game().Current = first->Pattern;

    Form = std::make_unique<TFormMain>(false);
    new TFormInfoCamp(Form.get());
    new TFormResultCamp(Form.get());
    new TFormOP(Form.get());
    new TFormStop(Form.get());
    new TFormSolved(Form.get());
    new TFormInfoRecords(Form.get());
    Form->ResizeMainWindow(false, false, true);
    Form->move(100, 80);
  }
  void TearDown() override {
    SetWavePlayer(nullptr);
    Form.reset();
  }

  // A level: tile 1 one push right of its objective in the upper left corner (two
  // pushes with `far`), on `board`.
  void AddLevel(const std::string& name, const std::string& board, bool far = false, int timeLimit = 0,
                int movesLimit = 0) {
    auto p = std::make_unique<TPuzzle>();
    std::memset(p.get(), 0, sizeof(TPuzzle));
    p->BoardName.Assign(board);
    p->Title.Assign(name);
    p->IP.Tiles[far ? 4 : 3][2] = 1;
    p->OP.Tiles[2][2] = 1;
    p->TimeLimit = timeLimit;
    p->MovesLimit = movesLimit;
    Inst.AddPuzzle("Puzzles/Campaign Levels", name, *p);
  }
  void AddCampaign(const std::vector<std::string>& levels) {
    Inst.AddCampaign("Tour", levels, "Grand Tour");
    TCampaign& c = App().Game().Campaign;
    LoadCampaign(Inst.File("Campaigns/Tour.CPN"), c);
    ClearRecordTable(c.Records, TRecordOrder::Ascending);
    StoreCampaign(Inst.File("Campaigns/Tour.CPN"), c);
  }

  // The level window: what it shows, then Play.
  ModalDriver::Answer Level(std::vector<TLevelSeen>& seen) {
    return ModalDriver::Inspect(
        [&](QWidget* w) {
          TFormInfoCamp* info = FormInfoCamp();
          const QRect main = Form->geometry();
          seen.push_back({Text(info->LabelTurn), info->Gauge->value(), Form->size(),
                          w->y() == main.y() + 24 && w->x() == main.x() + main.width() - w->width() - 72});
        },
        ModalDriver::Press("Play !"));
  }
  // The player takes `seconds` and pushes the tile at (x, 2) one cell left.
  void Push(int x, int seconds = 0) {
    for (int i = 0; i < seconds; ++i) TimerGameTick();
    SendPress(Form.get(), Mid(x), Mid(2));
    SendMove(Form.get(), Mid(x - 1), Mid(2), Qt::LeftButton);
    SendRelease(Form.get(), Mid(x - 1), Mid(2));
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::vector<TEffect> Effects;
  std::unique_ptr<TFormMain> Form;
};

TEST_F(CampaignTest, PlaysThroughWithTheGaugeAndTheTotalsRunningOn) {
  struct TCase {
    int Levels;
    std::vector<int> Gauges;
  };
  for (const TCase& c : {TCase{3, {0, 33, 66}}, TCase{4, {0, 25, 50, 75}}}) {
    SCOPED_TRACE(c.Levels);
    ResetLogBuffer();
    std::vector<std::string> names;
    for (int l = 1; l <= c.Levels; ++l) {
      names.push_back("Level " + std::to_string(l));
      AddLevel(names.back(), l == 2 ? "Wide" : "Alpha");
    }
    AddCampaign(names);
    const std::string before = Inst.ReadBytes("Campaigns/Tour.CPN");

    std::vector<TLevelSeen> seen;
    ModalDriver driver(20, 8000);
    driver.Then(Level(seen));
    ASSERT_TRUE(PlayCommand());
    std::string resultTitle, resultTurn, totals;
    int resultGauge = -1;
    for (int l = 1; l <= c.Levels; ++l) {
      driver.Then(ModalDriver::Press("OK"));  // "CONGRATULATIONS !" of the level
      if (l < c.Levels) {
        driver.Then(Level(seen));
      } else {
        driver
            .Then(ModalDriver::Inspect(
                [&](QWidget*) {
                  TFormResultCamp* r = FormResultCamp();
                  resultTitle = r->Title();
                  resultTurn = Text(r->LabelTurn);
                  resultGauge = r->Gauge->value();
                  totals = Text(r->LabelTT) + " " + Text(r->LabelTM);
                },
                ModalDriver::Press("OK")))
            .Then(ModalDriver::Press("OK"));  // the records obtained
      }
      Push(3, l);
    }
    ASSERT_TRUE(driver.Done()) << driver.Seen().join(", ").toStdString();

    ASSERT_EQ(seen.size(), static_cast<std::size_t>(c.Levels));
    for (int l = 1; l <= c.Levels; ++l) {
      SCOPED_TRACE(l);
      const TLevelSeen& s = seen[l - 1];
      EXPECT_EQ(s.Turn, "Next Level : " + std::to_string(l) + " of " + std::to_string(c.Levels));
      EXPECT_EQ(s.Gauge, c.Gauges[l - 1]);
      EXPECT_EQ(s.Main, l == 2 ? QSize(10 * 48, 7 * 48) : QSize(7 * 48, 6 * 48));
      EXPECT_TRUE(s.Placed);
    }
    const int seconds = c.Levels * (c.Levels + 1) / 2;
    EXPECT_EQ(resultTitle, "CONGRATULATIONS !");
    EXPECT_EQ(resultTurn, "Campaign\nCompleted !");
    EXPECT_EQ(resultGauge, 100);
    EXPECT_EQ(totals, std::to_string(seconds) + " S " + std::to_string(c.Levels) + " M");

    std::vector<std::string> log = {"Campaign game started. Campaign : Grand Tour."};
    for (int l = 1; l <= c.Levels; ++l) {
      log.push_back("Level " + std::to_string(l) + " of " + std::to_string(c.Levels) + " started.");
      log.push_back("Puzzle solved in 1 Moves and " + std::to_string(l) + " Seconds.");
    }
    log.push_back("Campaign completed in " + std::to_string(c.Levels) + " Moves and " + std::to_string(seconds) +
                  " Seconds.");
    log.push_back("Position 1 obtained in the 'Fewest Moves' records, and 1 in the 'Fastest Times' records.");
    log.push_back(" -");
    EXPECT_EQ(LogTexts(), log);

    // The records are stored, the levels' bytes as they were.
    auto stored = std::make_unique<TCampaign>();
    LoadCampaign(Inst.File("Campaigns/Tour.CPN"), *stored);
    EXPECT_EQ(stored->Records.MoveValues[0], c.Levels);
    EXPECT_EQ(stored->Records.TimeValues[0], seconds);
    const std::string after = Inst.ReadBytes("Campaigns/Tour.CPN");
    EXPECT_EQ(after.substr(0, offsetof(TCampaign, Records)), before.substr(0, offsetof(TCampaign, Records)));
    // The first level is shown again.
    EXPECT_FALSE(App().State.GameRunning);
    EXPECT_EQ(App().Game().Board.Width, 6);
    EXPECT_TRUE(PatternsEqual(App().Game().Current, App().Game().Puzzle.OP));
    EXPECT_EQ(App().Game().Puzzle.Title.Str(), "Level 1");
  }
}

TEST_F(CampaignTest, ALevelLostByTimeOrByMovesEndsTheCampaign) {
  struct TCase {
    bool ByMoves;
    const char* GameOver;
    const char* Totals;  // level 1 (1 s, 1 move), with the lost level only by moves
  };
  for (const TCase& c : {TCase{false, "Game over : Time limit reached in 2 Seconds.", "1 S 1 M"},
                         TCase{true, "Game over : Moves limit reached in 1 Moves.", "2 S 2 M"}}) {
    SCOPED_TRACE(c.ByMoves ? "moves" : "time");
    ResetLogBuffer();
    AddLevel("One", "Alpha");
    AddLevel("Two", "Alpha", true, c.ByMoves ? 0 : 2, c.ByMoves ? 1 : 0);
    AddLevel("Three", "Alpha");
    AddCampaign({"One", "Two", "Three"});
    const std::string before = Inst.ReadBytes("Campaigns/Tour.CPN");

    std::vector<TLevelSeen> seen;
    std::string title, turn, totals;
    int gauge = -1;
    ModalDriver driver(20, 8000);
    driver.Then(Level(seen));
    ASSERT_TRUE(PlayCommand());
    driver.Then(ModalDriver::Press("OK")).Then(Level(seen));
    Push(3, 1);
    driver.Then(ModalDriver::Press("OK"))  // "GAME OVER"
        .Then(ModalDriver::Inspect(
            [&](QWidget*) {
              TFormResultCamp* r = FormResultCamp();
              title = r->Title();
              turn = Text(r->LabelTurn);
              gauge = r->Gauge->value();
              totals = Text(r->LabelTT) + " " + Text(r->LabelTM);
            },
            ModalDriver::Press("OK")));
    if (c.ByMoves)
      Push(4, 1);
    else
      for (int i = 0; i < 2; ++i) TimerGameTick();
    ASSERT_TRUE(driver.Done()) << driver.Seen().join(", ").toStdString();

    EXPECT_EQ(title, "GAME OVER");
    EXPECT_EQ(turn, "Campaign\nNot Completed");
    EXPECT_EQ(gauge, 33);
    EXPECT_EQ(totals, c.Totals);
    EXPECT_EQ(App().Game().Level, 0);
    const std::vector<std::string> log = LogTexts();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (std::vector<std::string>{c.GameOver, "Campaign not completed.", " -"}));
    EXPECT_EQ(Inst.ReadBytes("Campaigns/Tour.CPN"), before);
    EXPECT_EQ(App().Game().Puzzle.Title.Str(), "One");
  }
}

TEST_F(CampaignTest, AbortReloadsTheFirstLevelWithoutAResult) {
  AddLevel("One", "Alpha");
  AddLevel("Two", "Wide");
  AddCampaign({"One", "Two"});
  std::vector<TLevelSeen> seen;
  ModalDriver driver(20, 8000);
  driver.Then(Level(seen));
  ASSERT_TRUE(PlayCommand());
  driver.Then(ModalDriver::Press("OK")).Then(Level(seen));
  Push(3);
  ASSERT_EQ(App().Game().Board.Width, 9);
  driver.Then(ModalDriver::Key(Qt::Key_A));
  PauseCommand();
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(driver.Seen().size(), 4);  // level, solved, level, pause: no result window
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_EQ(App().Game().Board.Width, 6);
  EXPECT_EQ(App().Game().Puzzle.Title.Str(), "One");
  EXPECT_TRUE(PatternsEqual(App().Game().Current, App().Game().Puzzle.OP));
  EXPECT_EQ(Form->size(), QSize(7 * 48, 6 * 48));
}

TEST_F(CampaignTest, CtrlNSkipsALevelOnlyUnderCheatsAndEachLevelTakesItsTileSet) {
  // The wide board asks for a tile set of its own; the others name none.
  auto wide = MakeBoard(9, 6, "Wide Board");
  wide->RecommendedTileSet.Assign("TS - Wide");
  Inst.AddBoard("Wide", *wide);
  Inst.AddPicture("TS - Wide.BMP", 480, 240);
  App().Config.AutoTileSet = 1;
  AddLevel("One", "Alpha");
  AddLevel("Two", "Wide");
  AddLevel("Three", "Alpha");
  AddCampaign({"One", "Two", "Three"});
  std::vector<std::string> turns;
  auto ctrlN = [&](QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier);
    QCoreApplication::sendEvent(w, &press);
    turns.push_back(Text(FormInfoCamp()->LabelTurn) + " " + std::to_string(FormInfoCamp()->Gauge->value()) + " " +
                    App().Config.TileSet.Str());
  };
  ModalDriver driver(20, 8000);
  driver.Then(ModalDriver::Inspect(
      [&](QWidget* w) {
        ctrlN(w);  // cheats off: nothing
        App().CheatsEnabled = true;
        ctrlN(w);
        ctrlN(w);
        ctrlN(w);  // the last level stays
      },
      ModalDriver::Press("Play !")));
  Effects.clear();
  ASSERT_TRUE(PlayCommand());
  EXPECT_EQ(turns, (std::vector<std::string>{"Next Level : 1 of 3 0 TS - Default", "Next Level : 2 of 3 33 TS - Wide",
                                             "Next Level : 3 of 3 66 TS - Default",
                                             "Next Level : 3 of 3 66 TS - Default"}));
  EXPECT_EQ(std::count(Effects.begin(), Effects.end(), TEffect::Solved), 2);
  EXPECT_EQ(App().Game().Puzzle.Title.Str(), "Three");
  EXPECT_TRUE(App().State.GameRunning);
  EXPECT_EQ(LogTexts().back(), "Level 3 of 3 started.");
  App().State.GameRunning = false;
  Form->TimerGame->stop();
}

TEST_F(CampaignTest, ALevelThatCannotBeLoadedStopsTheCampaign) {
  struct TCase {
    const char* Damaged;
    const char* Message;  // what the message names
  };
  for (const TCase& c : {TCase{"puzzle", "Two.PZZ"}, TCase{"board", "Wide.BRD"}}) {
    SCOPED_TRACE(c.Damaged);
    ResetLogBuffer();
    Messages.Messages.clear();
    AddLevel("One", "Alpha");
    AddLevel("Two", "Wide");
    AddCampaign({"One", "Two"});
    const std::string before = Inst.ReadBytes("Campaigns/Tour.CPN");
    std::vector<TLevelSeen> seen;
    ModalDriver driver(20, 8000);
    driver.Then(Level(seen));
    ASSERT_TRUE(PlayCommand());
    // Damaged while the first level is played.
    if (std::string(c.Damaged) == "puzzle") {
      Inst.WriteBytes("Puzzles/Campaign Levels/Two.PZZ", "short");
    } else {
      auto wide = MakeBoard(9, 6, "Wide Board");
      wide->Width = 21;
      Inst.AddBoard("Wide", *wide);
    }
    driver.Then(ModalDriver::Press("OK"));
    Push(3);
    QElapsedTimer t;
    t.start();
    while (Messages.Empty() && t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();

    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_NE(Messages.Text().find(c.Message), std::string::npos) << Messages.Text();
    EXPECT_FALSE(FormInfoCamp()->isVisible());
    EXPECT_FALSE(App().State.GameRunning);
    EXPECT_EQ(App().Game().Level, 0);
    EXPECT_EQ(App().Game().Puzzle.Title.Str(), "One");
    EXPECT_EQ(App().Game().Board.Width, 6);
    const std::vector<std::string> log = LogTexts();
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{"Campaign not completed.", " -"}));
    EXPECT_EQ(Inst.ReadBytes("Campaigns/Tour.CPN"), before);
    Inst.AddBoard("Wide", *MakeBoard(9, 6, "Wide Board"));
  }
}

// ---- The shipped campaigns -------------------------------------------------------------

#ifdef PAVILORE_TEST_SHARE
// The fewest-move gestures of a shipped puzzle, as the tool's solver finds them in
// the installation image: (x, y, direction) each.
std::vector<TStep3> ShippedSolution(const std::string& level, int& moves) {
  std::string puzzle = std::string(PAVILORE_TEST_SHARE) + "/Puzzles/" + level + ".PZZ";
  if (!QFile::exists(QString::fromStdString(puzzle)))
    puzzle = std::string(PAVILORE_TEST_SHARE) + "/Puzzles/Campaign Levels/" + level + ".PZZ";
  QProcess tool;
  tool.start(QStringLiteral(PAVILORE_TEST_TOOL),
             {QStringLiteral("solve"), QString::fromStdString(puzzle), QStringLiteral("--json")});
  tool.waitForFinished(60000);
  const QJsonObject answer = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
  std::vector<TStep3> steps;
  if (answer.value(QStringLiteral("status")).toString() != QStringLiteral("optimal")) return steps;
  moves = answer.value(QStringLiteral("moves")).toInt();
  for (const QJsonValue& g : answer.value(QStringLiteral("solution")).toArray()) {
    const QJsonArray xyd = g.toArray();
    steps.push_back({xyd[0].toInt(), xyd[1].toInt(), xyd[2].toInt()});
  }
  return steps;
}

TEST(ShippedCampaigns, EachPlaysThroughInItsFewestMoves) {
  TempInstallation inst;
  std::filesystem::copy(PAVILORE_TEST_SHARE, inst.Folder(),
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  FillFlatSkin();
  MessageCatcher messages;
  App().AppFolder = inst.Folder();
  TFormMain form(false);
  new TFormInfoCamp(&form);
  new TFormResultCamp(&form);
  new TFormOP(&form);
  new TFormSolved(&form);
  new TFormInfoRecords(&form);
  for (const char* name : {"First Steps", "Getting Around", "Master Class"}) {
    SCOPED_TRACE(name);
    ResetLogBuffer();
    TConfig c = MakeConfig("Classic 4 x 4");
    c.GameMode = 3;
    c.CampaignName.Assign(name);
    c.AutoTileSet = 0;
    App().Config = c;
    TCampaign& campaign = App().Game().Campaign;
    LoadCampaign(inst.File(std::string("Campaigns/") + name + ".CPN"), campaign);
    const int levels = LevelCount(campaign);
    // As the configuration window leaves it: the first level on the board.
    ShowFirstCampaignLevel(false);

    int solvedLevels = 0, fewestMoves = 0;
    ModalDriver driver(5, 20000);
    driver.Then(ModalDriver::Press("Play !"));
    ASSERT_TRUE(PlayCommand());
    for (int l = 1; l <= levels; ++l) {
      SCOPED_TRACE(campaign.Levels[l - 1].Str());
      ASSERT_TRUE(App().State.GameRunning) << ::testing::PrintToString(LogTexts());
      int par = 0;
      const std::vector<TStep3> steps = ShippedSolution(campaign.Levels[l - 1].Str(), par);
      fewestMoves += par;
      ASSERT_FALSE(steps.empty());
      driver.Then(ModalDriver::Press("OK"));
      driver.Then(ModalDriver::Press(l < levels ? "Play !" : "OK"));
      if (l == levels) driver.Then(ModalDriver::Press("OK"));  // the records obtained
      for (const TStep3& s : steps) {
        // The pointer goes just far enough for the game to see the next cell, as a
        // player's drag toward the frame does (the game counts cells 8 pixels early).
        const auto shift = [](int step) { return step < 0 ? -33 : step > 0 ? 16 : 0; };
        const int x = Mid(s.X) + shift(StepX(s.Dir)), y = Mid(s.Y) + shift(StepY(s.Dir));
        SendPress(&form, Mid(s.X), Mid(s.Y));
        SendMove(&form, x, y, Qt::LeftButton);
        SendRelease(&form, x, y);
      }
      ++solvedLevels;
    }
    EXPECT_TRUE(driver.Done()) << driver.Seen().join(", ").toStdString();
    EXPECT_EQ(solvedLevels, levels);
    EXPECT_TRUE(messages.Empty()) << messages.Text();
    const std::vector<std::string> log = LogTexts();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front(), std::string("Campaign game started. Campaign : ") + campaign.Title.Str() + ".");
    EXPECT_EQ(log[log.size() - 3].rfind("Campaign completed in ", 0), 0u) << log[log.size() - 3];
    auto stored = std::make_unique<TCampaign>();
    LoadCampaign(inst.File(std::string("Campaigns/") + name + ".CPN"), *stored);
    EXPECT_EQ(stored->Records.MoveNames[0].Str(), c.PlayerName.Str());
    // The game counted the solver's moves, level by level.
    EXPECT_EQ(stored->Records.MoveValues[0], fewestMoves);
  }
  // The pointer shape of the last tile it rested on goes with the window.
  while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}
#endif

}  // namespace
}  // namespace pav::test
