// Saved games through the real keys and windows: Ctrl+S and Ctrl+L in every mode
// with the game taken up exactly as it was saved (the computer resuming on its
// turn), the load list, the names files get, a save that cannot be written, and
// saved games that are refused with everything left as it was.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "flow/SavedGames.h"
#include "flow/UnitLoadGame.h"
#include "flow/UnitSavedGame.h"
#include "gui/FlatSkin.h"
#include "gui/LogTexts.h"
#include "gui/ModalDriver.h"
#include "gui/TempInstallation.h"
#include "render/UnitOP.h"
#include "ui/UnitMain.h"

namespace pav::test {
namespace {

namespace fs = std::filesystem;

template <class R>
bool SameBytes(const R& a, const R& b) {
  return std::memcmp(&a, &b, sizeof(R)) == 0;
}

// The game and the configuration, compared field by field after a load.
struct TSnapshot {
  TConfig Config{};
  std::unique_ptr<TGameState> State = std::make_unique<TGameState>();

  static TSnapshot Take() {
    TSnapshot s;
    s.Config = App().Config;
    *s.State = App().State;
    return s;
  }

  // Everything a load restores equals what was saved.
  void ExpectRestored() const {
    const TConfig& c = App().Config;
    EXPECT_EQ(c.GameMode, Config.GameMode);
    EXPECT_EQ(c.BoardName.Str(), Config.BoardName.Str());
    EXPECT_EQ(c.PuzzleName.Str(), Config.PuzzleName.Str());
    EXPECT_EQ(c.CampaignName.Str(), Config.CampaignName.Str());
    for (auto f : {&TConfig::IPFromPuzzle, &TConfig::OPFromPuzzle, &TConfig::TLFromPuzzle, &TConfig::MLFromPuzzle,
                   &TConfig::ComputerSpeed, &TConfig::ComputerAccuracy, &TConfig::HumanPlaysFirst,
                   &TConfig::UseOpponentTime, &TConfig::UseOpponentMoves, &TConfig::OpponentAnd})
      EXPECT_EQ(c.*f, Config.*f);
    const TGameState& s = App().State;
    const TGame& g = s.Game;
    const TGame& w = State->Game;
    EXPECT_TRUE(SameBytes(g.Board, w.Board));
    EXPECT_TRUE(SameBytes(g.Current, w.Current));
    EXPECT_TRUE(SameBytes(g.OP, w.OP));
    EXPECT_TRUE(SameBytes(g.History, w.History));
    if (c.GameMode == 3 || !c.PuzzleName.Empty()) {
      EXPECT_TRUE(SameBytes(g.Puzzle, w.Puzzle));
    }
    if (c.GameMode == 3) {
      EXPECT_TRUE(SameBytes(g.Campaign, w.Campaign));
    }
    for (auto f : {&TGame::MovesLimit, &TGame::TimeLimit, &TGame::Moves, &TGame::Seconds}) EXPECT_EQ(g.*f, w.*f);
    EXPECT_EQ(g.Level, w.Level);
    EXPECT_TRUE(s.GameRunning);
    EXPECT_EQ(s.HumanTurn, State->HumanTurn);
    EXPECT_EQ(s.StepCount, 0);
    for (auto f : {&TGameState::ScrambleLength, &TGameState::HumanSeconds, &TGameState::HumanMoves,
                   &TGameState::ComputerSeconds, &TGameState::ComputerMoves, &TGameState::OpponentTime,
                   &TGameState::OpponentMoves, &TGameState::CampaignSeconds, &TGameState::CampaignMoves})
      EXPECT_EQ(s.*f, (*State).*f);
  }
};

class SavedGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillFlatSkin();
    ResetLogBuffer();
    App().AppFolder = Inst.Folder();
    Inst.AddBoard("Alpha", *MakeBoard(6, 5, "Alpha Board"));
    Inst.AddBoard("Wide", *MakeBoard(9, 6, "Wide Board"));
    auto puzzle = MakePuzzle("Wide", "Stairs");
    puzzle->MovesLimit = 40;
    puzzle->TimeLimit = 300;
    Inst.AddPuzzle("Puzzles", "Stairs", *puzzle);
    for (int l = 1; l <= 5; ++l) {
      auto level = MakePuzzle(l % 2 ? "Alpha" : "Wide", "Level " + std::to_string(l));
      level->MovesLimit = 10 * l;
      level->TimeLimit = 100 + l;
      // The first level lies in "Puzzles" itself, the others with the campaign's levels.
      Inst.AddPuzzle(l == 1 ? "Puzzles" : "Puzzles/Campaign Levels", "Level " + std::to_string(l), *level);
    }
    Inst.AddCampaign("Tour", {"Level 1", "Level 2", "Level 3", "Level 4", "Level 5"}, "Grand Tour");
    App().Config = MakeConfig("Alpha");
    LoadBoard(Inst.File("Boards/Alpha.BRD"), App().Game().Board);
    App().Game().Current = App().Game().Board.Pattern;
    App().CheatsEnabled = true;

    Form = std::make_unique<TFormMain>(false);
    new TFormSavedGame(Form.get());
    new TFormLoadGame(Form.get());
    new TFormOP(Form.get());
    Form->ResizeMainWindow(false, false, true);
  }
  void TearDown() override {
    App().State.GameRunning = false;
    Form.reset();
  }

  void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QCoreApplication::sendEvent(Form.get(), &press);
  }

  // A running game of `mode` on `board`, some moves into it.
  void RunningGame(int mode, const std::string& board) {
    TApp& app = App();
    TConfig& c = app.Config;
    TGameState& s = app.State;
    TGame& g = s.Game;
    c.GameMode = static_cast<std::uint8_t>(mode);
    c.BoardName.Assign(board);
    LoadBoard(Inst.File("Boards/" + board + ".BRD"), g.Board);
    g.OP = g.Board.Pattern;
    ClearPattern(g.Current);
    g.Current.Tiles[3][2] = 1;
    g.Current.Tiles[4][3] = 7;
    g.Current.Tiles[4][2] = 9;
    g.Current.Links[0] = {3, 2, 4, 2};
    ClearList(g.History);
    for (int i = 0; i < 6; ++i) AppendEntry(g.History, 2 + i % 3, 2 + i % 2, 1 + i % 4, 0);
    s.ScrambleLength = 4;
    g.Moves = 2;
    g.Seconds = 37;
    g.Level = 1;
    g.MovesLimit = g.TimeLimit = 0;
    s.HumanSeconds = s.HumanMoves = s.ComputerSeconds = s.ComputerMoves = 0;
    s.OpponentTime = s.OpponentMoves = s.CampaignSeconds = s.CampaignMoves = 0;
    s.HumanTurn = true;
    s.GameRunning = true;
  }

  // Ctrl+S with the "GAME SAVED" window answered by Enter; its title and text.
  std::string Save(std::string* title = nullptr) {
    std::string shown;
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect(
        [&](QWidget*) {
          shown = FormSavedGame()->LabelInfo->text().toStdString();
          if (title) *title = FormSavedGame()->Title();
        },
        ModalDriver::Key(Qt::Key_Return)));
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(driver.Done());
    return shown;
  }

  // Ctrl+L: the load window lists its entries, `name` is picked (none when empty) and
  // the window is answered with `answer`.
  std::vector<std::string> Load(const std::string& name, ModalDriver::Answer answer = ModalDriver::Press("OK")) {
    std::vector<std::string> listed;
    ModalDriver driver;
    driver.Then(ModalDriver::Inspect(
        [&](QWidget*) {
          QComboBox* list = FormLoadGame()->ComboBoxFile;
          EXPECT_EQ(list->currentIndex(), -1) << "nothing is selected at first";
          for (int i = 0; i < list->count(); ++i) listed.push_back(list->itemText(i).toStdString());
          if (!name.empty()) list->setCurrentIndex(list->findText(QString::fromStdString(name)));
        },
        std::move(answer)));
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(driver.Done());
    return listed;
  }

  // Something else on the board: no game, another mode, board and counters.
  void PlaySomethingElse() {
    TApp& app = App();
    TGameState& s = app.State;
    s.GameRunning = false;
    Form->TimerGame->stop();
    Form->TimerBot->stop();
    app.Config.GameMode = 1;
    app.Config.BoardName.Assign("Alpha");
    app.Config.PuzzleName.Assign("");
    app.Config.CampaignName.Assign("");
    app.Config.IPFromPuzzle = app.Config.OPFromPuzzle = app.Config.TLFromPuzzle = app.Config.MLFromPuzzle = 0;
    LoadBoard(Inst.File("Boards/Alpha.BRD"), s.Game.Board);
    std::memset(&s.Game.Puzzle, 0, sizeof s.Game.Puzzle);
    std::memset(&s.Game.Campaign, 0, sizeof s.Game.Campaign);
    s.Game.Current = s.Game.Board.Pattern;
    s.Game.OP = s.Game.Board.Pattern;
    ClearList(s.Game.History);
    s.Game.Moves = s.Game.Seconds = 0;
    s.Game.Level = 0;
    s.Game.MovesLimit = s.Game.TimeLimit = 0;
    s.ScrambleLength = 0;
    s.HumanSeconds = s.HumanMoves = s.ComputerSeconds = s.ComputerMoves = 0;
    s.OpponentTime = s.OpponentMoves = s.CampaignSeconds = s.CampaignMoves = 0;
    s.HumanTurn = true;
  }

  std::vector<std::string> SavedFiles() const {
    std::vector<std::string> names;
    const fs::path folder = Inst.File("Saved Games");
    if (fs::is_directory(folder))
      for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
  }

  TempInstallation Inst;
  MessageCatcher Messages;
  std::unique_ptr<TFormMain> Form;
};

TEST_F(SavedGameTest, EachModeIsTakenUpAsItWasSaved) {
  struct TCase {
    const char* What;
    std::function<void()> Start;
    std::string Description;
  };
  TApp& app = App();
  TConfig& c = app.Config;
  TGameState& s = app.State;
  const std::vector<TCase> cases = {
      {"single game on a puzzle",
       [&] {
         RunningGame(1, "Wide");
         c.PuzzleName.Assign("Stairs");
         c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 1;
         LoadPuzzle(Inst.File("Puzzles/Stairs.PZZ"), s.Game.Puzzle);
         s.Game.OP = s.Game.Puzzle.OP;
         s.Game.MovesLimit = 40;
         s.Game.TimeLimit = 300;
       },
       "Single Game, Puzzle 'Stairs'"},
      {"single game scrambled from the board",
       [&] {
         RunningGame(1, "Alpha");
         c.PuzzleName.Assign("");
         c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 0;
       },
       "Single Game, Board 'Alpha'"},
      {"the human's second turn against the computer",
       [&] {
         RunningGame(2, "Wide");
         c.PuzzleName.Assign("");
         c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 0;
         c.HumanPlaysFirst = 0;
         c.ComputerSpeed = 2;
         c.ComputerAccuracy = 1;
         c.UseOpponentTime = 1;
         c.UseOpponentMoves = 0;
         c.OpponentAnd = 1;
         s.Game.Level = 2;
         s.ComputerSeconds = 61;
         s.ComputerMoves = 23;
         s.OpponentTime = 61;
         s.OpponentMoves = 23;
       },
       "Game Against Computer, Board 'Wide'"},
      {"the computer's second turn",
       [&] {
         RunningGame(2, "Alpha");
         c.HumanPlaysFirst = 1;
         c.ComputerSpeed = 0;
         c.ComputerAccuracy = 2;
         c.UseOpponentTime = 0;
         c.UseOpponentMoves = 1;
         c.OpponentAnd = 0;
         s.Game.Level = 2;
         s.HumanTurn = false;
         s.HumanSeconds = 45;
         s.HumanMoves = 19;
         s.OpponentMoves = 19;
       },
       "Game Against Computer, Board 'Alpha'"},
      {"a campaign at level 4",
       [&] {
         RunningGame(3, "Wide");
         c.CampaignName.Assign("Tour");
         // The first level's board; the level's puzzle lies with the campaign's levels.
         c.BoardName.Assign("Alpha");
         c.PuzzleName.Assign("");
         c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 1;
         LoadCampaign(Inst.File("Campaigns/Tour.CPN"), s.Game.Campaign);
         LoadPuzzle(Inst.File("Puzzles/Campaign Levels/Level 4.PZZ"), s.Game.Puzzle);
         s.Game.Level = 4;
         s.Game.OP = s.Game.Puzzle.OP;
         s.Game.MovesLimit = 40;
         s.Game.TimeLimit = 104;
         s.CampaignSeconds = 456;
         s.CampaignMoves = 78;
       },
       "Campaign Mode, Campaign 'Tour'"},
  };
  for (const TCase& t : cases) {
    SCOPED_TRACE(t.What);
    ResetLogBuffer();
    t.Start();
    const TSnapshot saved = TSnapshot::Take();

    // The file is written and logged before the window names it.
    std::string title;
    bool writtenFirst = false;
    std::string shown;
    {
      ModalDriver driver;
      driver.Then(ModalDriver::Inspect(
          [&](QWidget*) {
            shown = FormSavedGame()->LabelInfo->text().toStdString();
            title = FormSavedGame()->Title();
            writtenFirst = Inst.Exists("Saved Games/" + shown + ".SGM") && LogTexts() == std::vector<std::string>{"Game saved."};
          },
          ModalDriver::Press("OK")));
      Key(Qt::Key_S, Qt::ControlModifier);
      ASSERT_TRUE(driver.Done());
    }
    EXPECT_EQ(title, "GAME SAVED");
    EXPECT_TRUE(writtenFirst);
    ASSERT_GT(shown.size(), t.Description.size());
    EXPECT_EQ(shown.substr(shown.size() - t.Description.size()), t.Description);
    EXPECT_EQ(shown.find_first_of("/:"), std::string::npos);

    PlaySomethingElse();
    ResetLogBuffer();
    const std::vector<std::string> listed = Load(shown);
    EXPECT_NE(std::find(listed.begin(), listed.end(), shown), listed.end());
    saved.ExpectRestored();
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"Game loaded : '" + shown + "'."});
    EXPECT_TRUE(Form->TimerGame->isActive());
    EXPECT_EQ(Form->size(), QSize((s.Game.Board.Width + 1) * 48, (s.Game.Board.Height + 1) * 48));
    EXPECT_TRUE(app.OPPlacementPending);

    // On its turn the computer starts after a second, pointing at the tile of its
    // next move from the script.
    EXPECT_EQ(Form->TimerBot->isActive(), !s.HumanTurn);
    if (!s.HumanTurn) {
      EXPECT_EQ(Form->TimerBot->interval(), 1000);
      Form->TimerBotTimer();
      const int next = s.Game.Moves + 1;
      const int x = s.Game.History.X[next - 1], y = s.Game.History.Y[next - 1];
      EXPECT_TRUE(Form->ImageFlat->isVisibleTo(Form.get()));
      EXPECT_EQ(Form->ImageFlat->pos(), QPoint((x - 1) * 48 + 8, (y - 1) * 48 + 8));
    }
    Form->TimerBot->stop();
    s.GameRunning = false;
  }
  EXPECT_TRUE(Messages.Empty()) << Messages.Text();
}

TEST_F(SavedGameTest, TheListShowsSavedGamesSortedAndLoadsOnlyWhenAskedTo) {
  EXPECT_TRUE(Load("", ModalDriver::Key(Qt::Key_Escape)).empty()) << "no folder: an empty list";
  fs::create_directories(Inst.File("Saved Games"));
  for (const char* file : {"b second.SGM", "A first.SGM", ".SGM", ".hidden.SGM", "notes.txt", "c third.sgm"})
    Inst.WriteBytes(std::string("Saved Games/") + file, std::string(sizeof(TSavedGame), '\0'));
  fs::create_directory(Inst.File("Saved Games/folder.SGM"));

  // Closing without a load: Esc, Cancel, and OK or Enter with nothing selected.
  const TSnapshot before = TSnapshot::Take();
  const std::vector<std::string> expected = {"A first", "b second", "c third"};
  EXPECT_EQ(Load("A first", ModalDriver::Key(Qt::Key_Escape)), expected);
  EXPECT_EQ(Load("A first", ModalDriver::Press("Cancel")), expected);
  EXPECT_EQ(Load("", ModalDriver::Press("OK")), expected);
  EXPECT_EQ(Load("", ModalDriver::Key(Qt::Key_Return)), expected);
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_TRUE(SameBytes(App().Config, before.Config));
  EXPECT_TRUE(SameBytes(App().Game().Current, before.State->Game.Current));
  EXPECT_EQ(LogBufferCount(), 0);
  EXPECT_TRUE(Messages.Empty());

  // Enter loads the selected one (all zero: a record of no known mode restores nothing).
  EXPECT_EQ(Load("b second", ModalDriver::Key(Qt::Key_Return)), expected);
  EXPECT_EQ(LogTexts(), std::vector<std::string>{"Game loaded : 'b second'."});
  EXPECT_FALSE(App().State.GameRunning);
  EXPECT_TRUE(SameBytes(App().Config, before.Config));

  // Ctrl+L needs the cheats and no game running.
  for (const auto& [cheats, running] : {std::pair{false, false}, std::pair{true, true}}) {
    App().CheatsEnabled = cheats;
    App().State.GameRunning = running;
    ModalDriver driver(30, 400);
    driver.Then(ModalDriver::Close());
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(driver.Done());
    EXPECT_FALSE(FormLoadGame()->isVisible());
  }
}

TEST_F(SavedGameTest, ADamagedOrIncompleteSavedGameChangesNothing) {
  Inst.WriteBytes("Boards/Broken.BRD", Inst.ReadBytes("Boards/Alpha.BRD"));
  {
    auto broken = std::make_unique<TBoard>();
    LoadBoard(Inst.File("Boards/Broken.BRD"), *broken);
    broken->Width = 30;
    StoreBoard(Inst.File("Boards/Broken.BRD"), *broken);
  }
  struct TCase {
    const char* Name;
    std::function<void(TSavedGame&)> Damage;
    const char* Says;
    const char* File = nullptr;  // the file the message names, when not the saved game
  };
  const std::vector<TCase> cases = {
      {"Short", nullptr, "Short.SGM"},
      {"Face", [](TSavedGame& g) { g.Current.Tiles[3][3] = 51; }, "face 51"},
      {"Off the grid", [](TSavedGame& g) { g.History.X[1] = 21; }, "move 2 of the move list"},
      {"Link", [](TSavedGame& g) { g.Current.Links[1] = {4, 4, 4, 16}; }, "link 2"},
      {"Past the end",
       [](TSavedGame& g) {
         g.GameMode = 3;
         g.CampaignName.Assign("Tour");
         g.Level = 6;
       },
       "its level 6 is past the end of the campaign 'Tour' of 5 levels"},
      {"No board", [](TSavedGame& g) { g.BoardName.Assign("Gone"); }, "the board 'Gone' it names can't be read"},
      {"No puzzle",
       [](TSavedGame& g) {
         g.GameMode = 1;
         g.PuzzleName.Assign("Lost");
         g.IPFromPuzzle = 1;
       },
       "the puzzle 'Lost' it names can't be read"},
      {"No campaign",
       [](TSavedGame& g) {
         g.GameMode = 3;
         g.CampaignName.Assign("Nowhere");
         g.Level = 1;
       },
       "the campaign 'Nowhere' it names can't be read"},
      {"Outside", [](TSavedGame& g) { g.Current.Tiles[7][2] = 3; }, "a tile at (7,2), outside the board of 6 x 5"},
      {"Damaged board", [](TSavedGame& g) { g.BoardName.Assign("Broken"); }, "width 30 is outside 3..20", "Boards/Broken.BRD"},
      {"Turn", [](TSavedGame& g) { g.Level = 3; }, "the turn 3 is outside 1..2"},
  };
  for (const TCase& t : cases) {
    SCOPED_TRACE(t.Name);
    // A game against the computer on Alpha, saved during this run, then damaged.
    RunningGame(2, "Alpha");
    App().Game().Level = 2;
    auto record = std::make_unique<TSavedGame>(FillSavedGame());
    const std::string file = std::string("Saved Games/") + t.Name + ".SGM";
    fs::create_directories(Inst.File("Saved Games"));
    if (t.Damage) {
      t.Damage(*record);
      StoreSavedGame(Inst.File(file), *record);
    } else {
      Inst.WriteBytes(file, std::string(100, '\1'));
    }
    PlaySomethingElse();
    const TSnapshot before = TSnapshot::Take();
    const QSize size = Form->size();
    ResetLogBuffer();
    Messages.Messages.clear();

    Load(t.Name);
    ASSERT_EQ(Messages.Messages.size(), 1u);
    const std::string named = t.File ? Inst.File(t.File) : Inst.File(file);
    EXPECT_NE(Messages.Text().find("'" + named + "'"), std::string::npos) << Messages.Text();
    EXPECT_NE(Messages.Text().find(t.Says), std::string::npos) << Messages.Text();
    EXPECT_TRUE(SameBytes(App().Config, before.Config));
    const TGame& g = App().Game();
    const TGame& w = before.State->Game;
    EXPECT_TRUE(SameBytes(g.Board, w.Board) && SameBytes(g.Puzzle, w.Puzzle) && SameBytes(g.Campaign, w.Campaign));
    EXPECT_TRUE(SameBytes(g.Current, w.Current) && SameBytes(g.OP, w.OP) && SameBytes(g.History, w.History));
    EXPECT_EQ(g.Moves, w.Moves);
    EXPECT_EQ(g.Level, w.Level);
    EXPECT_FALSE(App().State.GameRunning);
    EXPECT_FALSE(Form->TimerGame->isActive());
    EXPECT_EQ(Form->size(), size);
    EXPECT_EQ(LogBufferCount(), 0);
  }
}

TEST_F(SavedGameTest, NamesStayInTheFolderAndAFailedSaveSaysSo) {
  // Ctrl+S needs the cheats and a game running.
  RunningGame(2, "Alpha");
  for (const auto& [cheats, running] : {std::pair{false, true}, std::pair{true, false}}) {
    App().CheatsEnabled = cheats;
    App().State.GameRunning = running;
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(SavedFiles().empty());
  }
  App().CheatsEnabled = true;
  App().State.GameRunning = true;

  // Names from the configuration cannot lead the file out of "Saved Games".
  App().Config.BoardName.Assign("../../out/x:y\\z|?");
  const std::string name = Save();
  EXPECT_EQ(SavedFiles(), std::vector<std::string>{name + ".SGM"});
  EXPECT_NE(name.find("Game Against Computer, Board '......out.x.y.z..'"), std::string::npos) << name;
  EXPECT_FALSE(fs::exists(fs::path(Inst.Folder()).parent_path() / "out"));

  // Twice in the same second: one file, the later game.
  const QDateTime when(QDate(2026, 12, 9), QTime(14, 5, 7));
  App().Config.BoardName.Assign("Alpha");
  fs::remove_all(Inst.File("Saved Games"));
  ASSERT_TRUE(SaveGame(when).has_value());
  App().Game().Moves = 9;
  const std::optional<std::string> again = SaveGame(when);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->find_first_of("/:"), std::string::npos);
  EXPECT_NE(again->find("14.05.07 Game Against Computer, Board 'Alpha'"), std::string::npos) << *again;
  ASSERT_EQ(SavedFiles().size(), 1u);
  auto record = std::make_unique<TSavedGame>();
  LoadSavedGame(Inst.File("Saved Games/" + *again + ".SGM"), *record);
  EXPECT_EQ(record->Moves, 9);

  // A folder that cannot be made: the box names it, no log line, no "GAME SAVED".
  fs::remove_all(Inst.File("Saved Games"));
  Inst.WriteBytes("Saved Games", "not a folder");
  ResetLogBuffer();
  ModalDriver driver(30, 400);
  driver.Then(ModalDriver::Close());
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(driver.Done()) << "no window";
  ASSERT_EQ(Messages.Messages.size(), 1u);
  EXPECT_NE(Messages.Text().find("Saved Games"), std::string::npos) << Messages.Text();
  EXPECT_EQ(LogBufferCount(), 0);
}

}  // namespace
}  // namespace pav::test
