#include "flow/GameFlow.h"

#include <QLabel>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "engine/Scramble.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/UnitInfoRecords.h"
#include "flow/GameWindows.h"
#include "media/Effects.h"
#include "media/Music.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/ShownText.h"
#include "render/Renderer.h"
#include "render/UnitOP.h"

namespace pav {

namespace {

constexpr int ModeSingle = 1;
constexpr int ModeComputer = 2;
constexpr int ModeCampaign = 3;

void Message(const std::string& text) { ShowMessage(text, TMessageIcon::Exclamation); }

void RepaintMain() {
  if (TGameWindows* w = GameWindows()) w->RepaintMain();
}

void CloseObjectiveWindow() {
  if (TFormOP* op = FormOP()) op->hide();
}

// The game is over: the side panel offers the play button again, also while the
// window that ends the game is still up.
void ShowPlayButton() {
  RedrawSidePanel(MainPicture());
  RepaintMain();
}

// The puzzle file of a campaign level: "\Puzzles\" when it is there, else
// "\Puzzles\Campaign Levels\".
std::string LevelPuzzlePath(const std::string& name) {
  const std::string direct = App().Path("\\Puzzles\\" + name + ".PZZ");
  if (FileExists(direct)) return direct;
  return App().Path("\\Puzzles\\Campaign Levels\\" + name + ".PZZ");
}

// The checks of every level of the configured campaign; the first problem's message, or empty.
std::string CampaignProblem() {
  const TCampaign& c = App().Game().Campaign;
  const int levels = LevelCount(c);
  for (int l = 0; l < levels; ++l) {
    const std::string path = LevelPuzzlePath(c.Levels[l].Str());
    if (!FileExists(path)) return "One or more Puzzles of the Campaign are missing.";
    auto level = std::make_unique<TPuzzle>();
    try {
      ReadRecordFile(path, level.get(), sizeof(TPuzzle));
    } catch (const EInOutError&) {
      return "One or more Puzzles of the Campaign are missing.";
    }
    if (!FileExists(App().Path("\\Boards\\" + level->BoardName.Str() + ".BRD")))
      return "One or more Boards needed for Puzzles of the Campaign are missing.";
    if (PatternsEqual(level->IP, level->OP))
      return "In one or more Puzzles of the Campaign, the IP and OP are equals.\r"
             "Plase verify the playability of every puzzle with the Puzzle Editor.";
  }
  return {};
}

enum class TLimitSource { Own, Opponent };

// The common ending of the four limits.
void LoseByLimit(TLimitKind kind, TLimitSource source) {
  TGameState& s = App().State;
  TGame& g = s.Game;
  const int mode = App().Config.GameMode;
  TGameWindows* windows = GameWindows();

  s.GameRunning = false;
  if (windows) {
    windows->StopClock();
    if (source == TLimitSource::Opponent) windows->StopComputerTimer();
  }
  StopGameMusic();
  CloseObjectiveWindow();
  ShowPlayButton();

  PlayEffect(TEffect::GameOver);

  const std::string text = LimitReachedText(kind, g.Seconds, g.Moves);
  if (windows) windows->SetEndOfGame("GAME OVER", text);
  LogLine(kind == TLimitKind::Time
              ? "Game over : Time limit reached in " + std::to_string(g.Seconds) + " Seconds."
              : "Game over : Moves limit reached in " + std::to_string(g.Moves) + " Moves.",
          true);
  if (source == TLimitSource::Own) {
    if (mode == ModeCampaign) LogLine("Campaign not completed.", true);
    if (mode == ModeSingle || mode == ModeCampaign) LogLine(" -", false);
  }
  if (windows) windows->ShowEndOfGame();

  if (source == TLimitSource::Opponent) {
    s.LostByLimit = true;
  } else if (mode == ModeCampaign) {
    g.Level = 0;
    if (kind == TLimitKind::Moves) {
      s.CampaignSeconds += g.Seconds;
      s.CampaignMoves += g.Moves;
    }
  }
}

}  // namespace

// ---- Starting and pausing ------------------------------------------------------

bool PlayCommand() {
  TApp& app = App();
  TGame& g = app.Game();
  const TConfig& c = app.Config;

  // The playability trials leave their last position in Current; the idle board
  // keeps showing (and holding) the pattern it had.
  const TPattern shown = g.Current;
  const bool playable = CheckBoardPlayable(*app.Engine);
  g.Current = shown;
  if (!playable) {
    Message(UnableToScrambleMessage);
    return false;
  }
  if (c.GameMode == ModeSingle && c.IPFromPuzzle && PatternsEqual(g.Puzzle.IP, g.Puzzle.OP)) {
    Message("Puzzle's IP and OP are equals. Plase verify its playability with the Puzzle Editor.");
    return false;
  }
  if (c.GameMode == ModeCampaign) {
    const std::string problem = CampaignProblem();
    if (!problem.empty()) {
      Message(problem);
      return false;
    }
  }

  TGameState& s = app.State;
  s.ComputerHurry = false;
  g.Level = 1;
  s.HumanTurn = c.GameMode == ModeComputer ? c.HumanPlaysFirst != 0 : true;
  if (c.GameMode == ModeSingle) {
    if (TGameWindows* w = GameWindows()) w->ShowSingleGameStart();
  }
  // The start windows of the game against the computer and of the campaign open here
  // once those modes are playable.
  return true;
}

void PauseCommand() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TGameWindows* windows = GameWindows();

  if (windows) {
    windows->StopClock();
    windows->StopComputerTimer();
  }
  const bool hideTiles = !app.KeepBoardVisible;
  const TPattern kept = g.Current;
  if (hideTiles) {
    ClearPattern(g.Current);
    DrawBoard(true);
    RepaintMain();
  }

  app.PauseResult = 1;
  if (windows) windows->ShowPause();
  LogLine("Game paused.", true);

  if (app.PauseResult == 2) {
    s.GameRunning = false;
    StopGameMusic();
    CloseObjectiveWindow();
    LogLine("Game aborted.", true);
    app.KeepBoardVisible = false;
    LogLine(" -", false);
    if (app.Config.GameMode == ModeCampaign) {
      // Back to the campaign's first level, as it stands before the campaign is played.
      const TCampaign& c = g.Campaign;
      if (LevelCount(c) > 0) {
        try {
          auto puzzle = std::make_unique<TPuzzle>();
          LoadPuzzle(LevelPuzzlePath(c.Levels[0].Str()), *puzzle);
          auto board = std::make_unique<TBoard>();
          LoadBoard(app.Path("\\Boards\\" + puzzle->BoardName.Str() + ".BRD"), *board);
          g.Puzzle = *puzzle;
          g.Board = *board;
        } catch (const EInOutError& e) {
          ReportInOutError(e);
        } catch (const EBadGameFile& e) {
          Message(e.what());
        }
      }
      g.Current = g.Puzzle.OP;
      if (windows) windows->FitMainToBoard();
    } else {
      ShowIdlePattern();
    }
    return;
  }

  if (windows) {
    windows->StartClock();
    if (!s.HumanTurn) windows->StartComputerTimer();
  }
  if (hideTiles) {
    g.Current = kept;
    DrawBoard(true);
    RepaintMain();
  }
  LogLine("Game continued.", true);
  app.KeepBoardVisible = false;
}

TSingleGameSetup PrepareSingleGame() {
  TApp& app = App();
  TGame& g = app.Game();
  const TConfig& c = app.Config;
  TSingleGameSetup setup;
  setup.OPFromPuzzle = c.OPFromPuzzle != 0;
  setup.IPFromPuzzle = c.IPFromPuzzle != 0;

  g.OP = setup.OPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern;
  if (setup.IPFromPuzzle) {
    g.Current = g.Puzzle.IP;
  } else {
    g.Current = g.OP;
    setup.ScrambleFailed = !ScrambleFromCurrent(*app.Engine, c.ComputerAccuracy);
  }
  g.TimeLimit = c.TLFromPuzzle && g.Puzzle.TimeLimit != 0 ? g.Puzzle.TimeLimit : 0;
  g.MovesLimit = c.MLFromPuzzle && g.Puzzle.MovesLimit != 0 ? g.Puzzle.MovesLimit : 0;
  if (TFormOP* op = FormOP()) op->DrawObjective(g.OP, g.Board);
  return setup;
}

void BeginPlay() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const bool againstComputer = app.Config.GameMode == ModeComputer;

  s.GameRunning = true;
  g.Moves = 0;
  g.Seconds = 0;
  s.StepCount = 0;
  s.LostByLimit = false;
  if (!againstComputer || g.Level == 1) {
    s.OpponentTime = 0;
    s.OpponentMoves = 0;
  }
  if (againstComputer) {
    g.TimeLimit = 0;
    g.MovesLimit = 0;
  }
  DrawBoard(true);
  if (TGameWindows* w = GameWindows()) {
    w->ForgetTileDrag();
    w->RepaintMain();
    w->StartClock();
    if (againstComputer && !s.HumanTurn) w->StartComputerTimer(1000);
  }
  StartMusicSoon();
}

// ---- Clock and limits ------------------------------------------------------------

void UpdateCounters() {
  DrawCounters(MainPicture());
  if (TGameWindows* w = GameWindows()) w->RepaintStatusBar();
}

void TimerGameTick() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const TConfig& c = app.Config;
  if (!s.GameRunning) return;

  ++g.Seconds;
  UpdateCounters();
  if (g.Seconds == g.TimeLimit) {
    LoseByLimit(TLimitKind::Time, TLimitSource::Own);
    return;
  }
  if (g.Seconds == s.OpponentTime && c.UseOpponentTime) {
    if (c.UseOpponentMoves && c.OpponentAnd && g.Moves < s.OpponentMoves) return;
    if (TGameWindows* w = GameWindows()) w->HideHands();
    LoseByLimit(TLimitKind::Time, TLimitSource::Opponent);
  }
}

void CheckMoveLimits() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const TConfig& c = app.Config;

  if (g.MovesLimit != 0 && g.MovesLimit == g.Moves) LoseByLimit(TLimitKind::Moves, TLimitSource::Own);
  if (g.Moves == s.OpponentMoves && s.OpponentMoves != 0 && c.UseOpponentMoves) {
    if (c.UseOpponentTime && c.OpponentAnd && g.Seconds < s.OpponentTime) return;
    if (TGameWindows* w = GameWindows()) w->HideHands();
    LoseByLimit(TLimitKind::Moves, TLimitSource::Opponent);
  }
}

std::string LimitReachedText(TLimitKind kind, std::int32_t seconds, std::int32_t moves) {
  if (kind == TLimitKind::Time) return "Time limit reached in \r" + std::to_string(seconds) + " Seconds.";
  return "Moves limit reached in \r" + std::to_string(moves) + " Moves.";
}

// ---- End of a game ---------------------------------------------------------------

std::string SolvedText(std::int32_t moves, std::int32_t seconds) {
  return "Puzzle solved in " + std::to_string(moves) + " Moves\rand " + std::to_string(seconds) + " Seconds.";
}

void PuzzleSolved() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TGameWindows* windows = GameWindows();

  s.GameRunning = false;
  if (windows) {
    windows->StopClock();
    windows->StopComputerTimer();
  }
  StopGameMusic();
  CloseObjectiveWindow();
  ShowPlayButton();

  PlayEffect(TEffect::Solved);

  if (windows) windows->SetEndOfGame("CONGRATULATIONS !", SolvedText(g.Moves, g.Seconds));
  LogLine("Puzzle solved in " + std::to_string(g.Moves) + " Moves and " + std::to_string(g.Seconds) + " Seconds.",
          true);
  if (windows) {
    windows->ShowEndOfGame();
    windows->HideHands();
  }

  if (app.Config.GameMode == ModeSingle) SingleGameRecords();
  // The turn change against the computer and the next campaign level follow here once
  // those modes are playable.
}

void SingleGameRecords() {
  TApp& app = App();
  TGame& g = app.Game();
  const TConfig& c = app.Config;
  if (app.CheatsEnabled) {
    LogLine(" -", false);
    return;
  }
  const bool puzzle = c.IPFromPuzzle != 0;
  TRecordTable& table = puzzle ? g.Puzzle.Records : g.Board.Records;
  const TRecordsUpdate update = UpdateRecordTable(table, TRecordOrder::Ascending, g.Seconds, g.Moves, c.PlayerName.Str());
  if (!update.Changed()) {
    LogLine(" -", false);
    return;
  }
  try {
    if (puzzle)
      StorePuzzle(app.Path("\\Puzzles\\" + c.PuzzleName.Str() + ".PZZ"), g.Puzzle);
    else
      StoreBoard(app.Path("\\Boards\\" + c.BoardName.Str() + ".BRD"), g.Board);
  } catch (const EInOutError& e) {
    ReportInOutError(e);
    return;
  }
  const TRecordsReport report = RecordsReport(update, false);
  if (TFormInfoRecords* info = FormInfoRecords())
    info->LabelInfo->setText(ShownText(report.Message));
  LogLine(report.LogLine, true);
  LogLine(" -", false);
  if (TFormInfoRecords* info = FormInfoRecords()) info->exec();
}

void ShowIdlePattern() {
  TGame& g = App().Game();
  g.Current = App().Config.IPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern;
  DrawBoard(true);
  RepaintMain();
}

namespace {
TGameWindows* TheGameWindows = nullptr;
}  // namespace

void SetGameWindows(TGameWindows* windows) { TheGameWindows = windows; }
TGameWindows* GameWindows() { return TheGameWindows; }

}  // namespace pav
