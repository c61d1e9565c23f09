#include "flow/SavedGames.h"

#include <QLocale>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "files/SavedGameFiles.h"
#include "files/UnitGameSelection.h"
#include "flow/FlowShared.h"
#include "flow/GameWindows.h"
#include "media/Music.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"

namespace pav {

namespace {

const std::string SavedGamesFolder = "\\Saved Games";

// The record of the last save of this run; zero at the program's start.
TSavedGame& LastSaved() {
  static const auto record = std::make_unique<TSavedGame>();
  return *record;
}

// The disk path of a saved game's name.
std::string SavedGamePath(const std::string& name) {
  return App().Path(SavedGamesFolder + "\\" + name + ".SGM");
}

// The time of day in the user's long format, without the time zone some locales add.
QString LongTime(const QLocale& locale, const QTime& time) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return locale.toString(time, format.trimmed());
}

// A match's counters (from `counters` to `toCounters`) and its opponent options (from
// `options` to `toOptions`): the game state and the configuration on one side, the
// saved game on the other.
template <class C, class O, class TC, class TO>
void CopyMatch(const C& counters, const O& options, TC& toCounters, TO& toOptions) {
  toCounters.HumanSeconds = counters.HumanSeconds;
  toCounters.HumanMoves = counters.HumanMoves;
  toCounters.ComputerSeconds = counters.ComputerSeconds;
  toCounters.ComputerMoves = counters.ComputerMoves;
  toCounters.OpponentTime = counters.OpponentTime;
  toCounters.OpponentMoves = counters.OpponentMoves;
  toOptions.UseOpponentTime = options.UseOpponentTime ? 1 : 0;
  toOptions.UseOpponentMoves = options.UseOpponentMoves ? 1 : 0;
  toOptions.OpponentAnd = options.OpponentAnd ? 1 : 0;
}

// The game state of a single game taken up again.
void RestoreSingleGame(const TLoadedGame& l) {
  TApp& app = App();
  TConfig& c = app.Config;
  TGameState& st = app.State;
  TGame& g = st.Game;
  const TSavedGame& s = *l.Saved;
  c.BoardName.Assign(s.BoardName.Str());
  c.PuzzleName.Assign(s.PuzzleName.Str());
  c.CampaignName.Assign("");
  if (l.Puzzle) g.Puzzle = *l.Puzzle;
  g.OP = s.IPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern;
  g.MovesLimit = s.MLFromPuzzle ? g.Puzzle.MovesLimit : 0;
  g.TimeLimit = s.TLFromPuzzle ? g.Puzzle.TimeLimit : 0;
  c.IPFromPuzzle = s.IPFromPuzzle ? 1 : 0;
  c.OPFromPuzzle = c.IPFromPuzzle;
  c.TLFromPuzzle = s.TLFromPuzzle ? 1 : 0;
  c.MLFromPuzzle = s.MLFromPuzzle ? 1 : 0;
  st.HumanTurn = true;
  g.Level = 1;
}

// The game state of a game against the computer, at the turn it was saved in.
void RestoreComputerGame(const TLoadedGame& l) {
  TApp& app = App();
  TConfig& c = app.Config;
  TGameState& st = app.State;
  TGame& g = st.Game;
  const TSavedGame& s = *l.Saved;
  c.BoardName.Assign(s.BoardName.Str());
  c.PuzzleName.Assign("");
  c.CampaignName.Assign("");
  g.OP = g.Board.Pattern;
  g.MovesLimit = 0;
  g.TimeLimit = 0;
  c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 0;
  c.ComputerSpeed = s.ComputerSpeed;
  c.ComputerAccuracy = s.ComputerAccuracy;
  c.HumanPlaysFirst = s.HumanPlaysFirst ? 1 : 0;
  g.Level = s.Level;
  st.HumanTurn = (c.HumanPlaysFirst && g.Level == 1) || (!c.HumanPlaysFirst && g.Level == 2);
  CopyMatch(s, s, st, c);
}

// The game state of a campaign, at the level it was saved in with the totals of the
// levels before it.
void RestoreCampaign(const TLoadedGame& l) {
  TApp& app = App();
  TConfig& c = app.Config;
  TGameState& st = app.State;
  TGame& g = st.Game;
  const TSavedGame& s = *l.Saved;
  c.CampaignName.Assign(s.CampaignName.Str());
  g.Campaign = *l.Campaign;
  g.Level = s.Level;
  g.Puzzle = *l.Puzzle;
  c.PuzzleName.Assign(l.LevelInPuzzles ? g.Campaign.Levels[0].Str() : std::string());
  c.BoardName.Assign(l.FirstLevelBoard);
  g.OP = g.Puzzle.OP;
  g.IP = g.Puzzle.IP;
  g.MovesLimit = g.Puzzle.MovesLimit;
  g.TimeLimit = g.Puzzle.TimeLimit;
  c.IPFromPuzzle = c.OPFromPuzzle = c.TLFromPuzzle = c.MLFromPuzzle = 1;
  st.CampaignSeconds = s.CampaignSeconds;
  st.CampaignMoves = s.CampaignMoves;
  st.HumanTurn = true;
}

}  // namespace

std::string SavedGameDescription(const TConfig& c) {
  switch (c.GameMode) {
    case ModeSingle:
      return c.IPFromPuzzle ? "Single Game, Puzzle '" + c.PuzzleName.Str() + "'"
                            : "Single Game, Board '" + c.BoardName.Str() + "'";
    case ModeComputer: return "Game Against Computer, Board '" + c.BoardName.Str() + "'";
    case ModeCampaign: return "Campaign Mode, Campaign '" + c.CampaignName.Str() + "'";
    default: return {};
  }
}

std::string SanitizeFileName(const std::string& name) {
  std::string out = name;
  for (char& ch : out) {
    const auto u = static_cast<unsigned char>(ch);
    if (u < 32 || u == 127 || ch == '/' || ch == ':' || ch == '\\' || ch == '<' || ch == '>' || ch == '"' ||
        ch == '|' || ch == '?' || ch == '*')
      ch = '.';
  }
  return out;
}

std::string SavedGameName(const QDateTime& when, const std::string& description) {
  const QLocale locale = QLocale::system();
  const QString stamp = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') + LongTime(locale, when.time());
  return SanitizeFileName(Utf8ToCp1252(stamp.toStdString()) + " " + description);
}

const TSavedGame& FillSavedGame() {
  TApp& app = App();
  const TConfig& c = app.Config;
  const TGameState& st = app.State;
  const TGame& g = st.Game;
  TSavedGame& s = LastSaved();

  s.GameMode = 0;
  s.BoardName.Assign("");
  s.PuzzleName.Assign("");
  s.CampaignName.Assign("");
  s.IPFromPuzzle = s.MLFromPuzzle = s.TLFromPuzzle = 0;
  s.Moves = s.Seconds = 0;
  ClearPattern(s.Current);
  s.ComputerSpeed = s.ComputerAccuracy = 0;
  s.Level = 0;
  ClearList(s.History);
  s.HumanSeconds = s.HumanMoves = s.ComputerSeconds = s.ComputerMoves = 0;
  s.HumanPlaysFirst = 1;

  const int mode = c.GameMode;
  if (mode < ModeSingle || mode > ModeCampaign) return s;
  s.GameMode = static_cast<std::uint8_t>(mode);
  s.History = g.History;
  s.ScrambleLength = st.ScrambleLength;
  s.Moves = g.Moves;
  s.Seconds = g.Seconds;
  s.Current = g.Current;
  s.OP = g.OP;
  if (mode == ModeSingle) {
    s.BoardName.Assign(c.BoardName.Str());
    s.PuzzleName.Assign(c.PuzzleName.Str());
    s.IPFromPuzzle = c.IPFromPuzzle ? 1 : 0;
    s.MLFromPuzzle = c.MLFromPuzzle ? 1 : 0;
    s.TLFromPuzzle = c.TLFromPuzzle ? 1 : 0;
  } else if (mode == ModeComputer) {
    s.BoardName.Assign(c.BoardName.Str());
    s.ComputerSpeed = c.ComputerSpeed;
    s.ComputerAccuracy = c.ComputerAccuracy;
    s.HumanPlaysFirst = c.HumanPlaysFirst ? 1 : 0;
    s.Level = g.Level;
    CopyMatch(st, c, s, s);
  } else {
    s.BoardName.Assign(g.Puzzle.BoardName.Str());
    s.CampaignName.Assign(c.CampaignName.Str());
    s.Level = g.Level;
    s.CampaignSeconds = st.CampaignSeconds;
    s.CampaignMoves = st.CampaignMoves;
  }
  return s;
}

std::optional<std::string> SaveGame(const QDateTime& when) {
  TApp& app = App();
  const TSavedGame& record = FillSavedGame();
  const std::string name = SavedGameName(when, SavedGameDescription(app.Config));
  const std::string path = SavedGamePath(name);
  try {
    const std::string folder = app.Path(SavedGamesFolder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!FolderExists(folder)) throw EInOutError(folder, ec ? ec.message() : "it is not a folder");
    StoreSavedGame(path, record);
  } catch (const EInOutError& e) {
    ReportInOutError(e);
    return std::nullopt;
  }
  LogLine("Game saved.", true);
  return name;
}

std::vector<std::string> SavedGameNames() {
  std::vector<std::string> names;
  for (const std::string& file : ListFiles(App().Path(SavedGamesFolder), ".SGM")) {
    std::string name;
    if (file.empty() || file[0] == '.' || !GameNameOfFile(file.substr(0, file.size() - 4), name)) continue;
    names.push_back(name);
  }
  return names;
}

bool LoadGame(const std::string& name) {
  TLoadedGame loaded;
  if (!LoadReported([&] { ReadSavedGame(App().AppFolder, SavedGamePath(name), loaded); })) return false;

  TApp& app = App();
  TGameState& st = app.State;
  TGame& g = st.Game;
  const TSavedGame& s = *loaded.Saved;
  TGameWindows* windows = GameWindows();
  const int mode = s.GameMode;
  const bool known = mode >= ModeSingle && mode <= ModeCampaign;
  if (known) {
    const bool boardChanged = !SameTextIgnoringCase(app.Config.BoardName.Str(), s.BoardName.Str());
    app.Config.GameMode = static_cast<std::uint8_t>(mode);
    g.Board = *loaded.Board;
    if (mode == ModeSingle) RestoreSingleGame(loaded);
    if (mode == ModeComputer) RestoreComputerGame(loaded);
    if (mode == ModeCampaign) RestoreCampaign(loaded);
    g.Current = s.Current;
    g.Moves = s.Moves;
    g.Seconds = s.Seconds;
    g.History = s.History;
    st.ScrambleLength = s.ScrambleLength;
    st.GameRunning = true;
    ++app.GamesBegun;
    st.StepCount = 0;
    st.ComputerHurry = false;
    st.LostByLimit = false;
    app.BotPointing = true;
    ChooseBoardTileSet(g.Board, mode == ModeCampaign || boardChanged);
    if (windows) {
      windows->ForgetTileDrag();
      windows->FitMainToBoard(true);
      windows->StartClock();
      if (mode == ModeComputer && !st.HumanTurn) windows->StartComputerTimer(1000);
    }
    StartMusicSoon();
  }
  LogLine("Game loaded : '" + name + "'.", true);
  app.OPPlacementPending = true;
  if (windows) windows->DrawObjective();
  return true;
}

}  // namespace pav
