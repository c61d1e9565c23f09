#include "flow/Campaign.h"

#include <exception>
#include <memory>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "files/UnitGameSelection.h"
#include "flow/FlowShared.h"
#include "flow/GameWindows.h"
#include "render/Graphics.h"

namespace pav {

namespace {

// Why the last level could not be loaded, until it is reported.
std::exception_ptr LevelProblem;

// Reads level `level` (1-based) of the configured campaign whole: its puzzle, then the
// board it names. Throws what the reading throws.
void ReadLevel(int level, TPuzzle& puzzle, TBoard& board) {
  const TCampaign& c = App().Game().Campaign;
  if (level < 1 || level > LevelCount(c))
    throw EBadGameFile(CampaignFile(App().Config.CampaignName.Str()), "it has no level " + std::to_string(level));
  LoadPuzzle(LevelPuzzleFile(c.Levels[level - 1].Str()), puzzle);
  LoadBoard(BoardFile(puzzle.BoardName.Str()), board);
}

}  // namespace

int CampaignGauge(int level, int count) {
  if (count <= 0) return 0;
  return static_cast<int>(static_cast<double>(level - 1) / count * 100);
}

bool PrepareCampaignLevel() {
  TApp& app = App();
  TGame& g = app.Game();
  TGameWindows* windows = GameWindows();
  const int level = g.Level;
  LevelProblem = nullptr;
  auto puzzle = std::make_unique<TPuzzle>();
  auto board = std::make_unique<TBoard>();
  try {
    ReadLevel(level, *puzzle, *board);
  } catch (const EInOutError&) {
    LevelProblem = std::current_exception();
    return false;
  } catch (const EBadGameFile&) {
    LevelProblem = std::current_exception();
    return false;
  }

  g.Puzzle = *puzzle;
  g.Board = *board;
  g.Current = g.Puzzle.IP;
  ChooseBoardTileSet(g.Board);
  if (windows) windows->FitMainToLevel();
  g.OP = g.Puzzle.OP;
  g.IP = g.Puzzle.IP;
  if (windows) windows->DrawObjective();
  g.TimeLimit = g.Puzzle.TimeLimit;
  g.MovesLimit = g.Puzzle.MovesLimit;
  return true;
}

void CampaignLevelRefused() {
  TGame& g = App().Game();
  if (LevelProblem) {
    const std::exception_ptr problem = LevelProblem;
    LevelProblem = nullptr;
    LoadReported([&] { std::rethrow_exception(problem); });
  }
  // Levels were played: the campaign ends as not completed.
  if (g.Level > 1) {
    LogLine("Campaign not completed.", true);
    LogLine(" -", false);
    g.Level = 0;
    ShowFirstCampaignLevel(true);
  }
}

void BeginCampaignLevel() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  BeginPlay();
  if (g.Level == 1) {
    LogLine("Campaign game started. Campaign : " + g.Campaign.Title.Str() + ".", true);
    s.CampaignSeconds = 0;
    s.CampaignMoves = 0;
  }
  LogLine("Level " + std::to_string(g.Level) + " of " + std::to_string(LevelCount(g.Campaign)) + " started.", true);
}

void CampaignLevelSolved() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TGameWindows* windows = GameWindows();
  ++g.Level;
  s.CampaignSeconds += g.Seconds;
  s.CampaignMoves += g.Moves;
  if (g.Level != LevelCount(g.Campaign) + 1) {
    if (windows) windows->ShowCampaignLevel();
    return;
  }
  LogLine("Campaign completed in " + std::to_string(s.CampaignMoves) + " Moves and " +
              std::to_string(s.CampaignSeconds) + " Seconds.",
          true);
  if (windows) windows->ShowCampaignResult();
  if (app.CheatsEnabled) {
    LogLine(" -", false);
    return;
  }
  const TConfig& c = app.Config;
  const TRecordsUpdate update = UpdateRecordTable(g.Campaign.Records, TRecordOrder::Ascending, s.CampaignSeconds,
                                                  s.CampaignMoves, c.PlayerName.Str());
  ReportRecords(update, false, [&] { StoreCampaign(CampaignFile(c.CampaignName.Str()), g.Campaign); });
}

void CampaignLevelLost(bool byMoves) {
  TGameState& s = App().State;
  TGame& g = s.Game;
  g.Level = 0;
  if (byMoves) {
    s.CampaignSeconds += g.Seconds;
    s.CampaignMoves += g.Moves;
  }
  if (TGameWindows* w = GameWindows()) w->ShowCampaignResult();
}

void ShowFirstCampaignLevel(bool chooseTileSet) {
  TGame& g = App().Game();
  if (LevelCount(g.Campaign) > 0) {
    auto puzzle = std::make_unique<TPuzzle>();
    auto board = std::make_unique<TBoard>();
    if (LoadReported([&] { ReadLevel(1, *puzzle, *board); })) {
      g.Puzzle = *puzzle;
      g.Board = *board;
      if (chooseTileSet) ChooseBoardTileSet(g.Board);
    }
  }
  g.Current = g.Puzzle.OP;
  if (TGameWindows* w = GameWindows()) w->FitMainToBoard();
}

}  // namespace pav
