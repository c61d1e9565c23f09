#include "files/GameFiles.h"

#include <dirent.h>

#include <memory>

#include "platform/Paths.h"

namespace pav {

namespace {

std::string Cell(int x, int y) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on a chain of
  // std::string concatenations that starts with a literal.
  std::string s = "(";
  s += std::to_string(x);
  s += ',';
  s += std::to_string(y);
  s += ')';
  return s;
}

// A name as a message shows it: a control character is written as \xHH, so that
// the message tells what the file holds instead of breaking its line.
std::string Shown(const std::string& name) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string s;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c == 127) {
      s += "\\x";
      s += Hex[c >> 4];
      s += Hex[c & 15];
    } else {
      s += ch;
    }
  }
  return s;
}

bool InGrid(int x, int y) { return x >= 1 && x <= MaxCols && y >= 1 && y <= MaxRows; }

// Another file in the same folder whose name differs from the file's only in letter
// case: the game names its files without regard to case, so the two stand for one
// name and neither can be told from the other.
std::optional<std::string> CaseTwin(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* d = ::opendir(folder.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> twin;
  while (const dirent* e = ::readdir(d)) {
    const std::string other = e->d_name;
    if (other != name && SameTextIgnoringCase(other, name) && FileExists(folder + "/" + other)) {
      twin = other;
      break;
    }
  }
  ::closedir(d);
  return twin;
}

template <class R>
void LoadChecked(const std::string& path, R& out, std::optional<std::string> (*check)(const R&)) {
  auto rec = std::make_unique<R>();
  ReadRecord(path, *rec);
  if (check) {
    if (auto err = check(*rec)) throw EBadGameFile(path, *err);
    if (auto twin = CaseTwin(path))
      throw EBadGameFile(path, "the file '" + *twin +
                                   "' beside it has the same name in other letter case, and names are read "
                                   "without regard to case");
  }
  out = *rec;
}

}  // namespace

std::optional<std::string> FileNameProblem(const std::string& name) {
  if (name.find("..") != std::string::npos) return "it holds \"..\"";
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (ch == '/' || ch == '\\') return "it holds a \"/\" or \"\\\"";
    if (c < 32 || c == 127) return "it holds a control character";
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
      return "it holds the byte " + std::to_string(c) + ", which is no character";
  }
  return std::nullopt;
}

int LevelCount(const TCampaign& c) {
  int n = 0;
  while (n < MaxLevels && !c.Levels[n].Empty()) ++n;
  return n;
}

std::optional<std::string> CheckPattern(const TPattern& p, const std::string& what) {
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      if (p.Tiles[x][y] > MaxTileFace)
        return what + ": the tile at " + Cell(x, y) + " has face " + std::to_string(p.Tiles[x][y]) +
               ", above " + std::to_string(MaxTileFace);
  for (int i = 0; i < MaxLinks; ++i) {
    const TLink& l = p.Links[i];
    if (l.X1 == 0) break;
    if (!InGrid(l.X1, l.Y1) || !InGrid(l.X2, l.Y2))
      return what + ": link " + std::to_string(i + 1) + " has an end outside columns 1..20 and rows 1..15";
  }
  return std::nullopt;
}

std::optional<std::string> CheckBoard(const TBoard& b) {
  if (b.Width < 3 || b.Width > MaxCols) return "width " + std::to_string(b.Width) + " is outside 3..20";
  if (b.Height < 3 || b.Height > MaxRows) return "height " + std::to_string(b.Height) + " is outside 3..15";
  for (int x = 1; x <= b.Width; ++x)
    for (int y = 1; y <= b.Height; ++y) {
      const bool ring = x == 1 || y == 1 || x == b.Width || y == b.Height;
      if (ring && b.Cells[x][y] == 0) return "the frame cell " + Cell(x, y) + " is floor; the outer ring must be solid";
    }
  if (b.StepsPerMove == 0) return "StepsPerMove is 0";
  if (auto err = CheckPattern(b.Pattern, "pattern")) return err;
  for (int i = 0; i < MaxJumps; ++i) {
    const TJump& j = b.Jumps[i];
    if (j.X1 == 0) break;
    const int mx[2] = {j.X1, j.X2}, my[2] = {j.Y1, j.Y2}, side[2] = {j.Side1, j.Side2};
    for (int e = 0; e < 2; ++e) {
      const std::string name = "jump " + std::to_string(i + 1);
      if (side[e] < 1 || side[e] > 4) return name + " has a mouth side " + std::to_string(side[e]) + " outside 1..4";
      if (mx[e] < 1 || mx[e] > b.Width || my[e] < 1 || my[e] > b.Height)
        return name + " has a mouth at " + Cell(mx[e], my[e]) + " outside the board";
      const int ex = mx[e] + StepX(side[e]), ey = my[e] + StepY(side[e]);
      if (ex < 2 || ex > b.Width - 1 || ey < 2 || ey > b.Height - 1)
        return name + " opens onto " + Cell(ex, ey) + ", outside the board's inner cells";
    }
  }
  return std::nullopt;
}

std::optional<std::string> CheckPuzzle(const TPuzzle& p) {
  // 0 is no limit; a negative one would show as a limit and never end a game.
  if (p.TimeLimit < 0) return "the time limit " + std::to_string(p.TimeLimit) + " is negative";
  if (p.MovesLimit < 0) return "the moves limit " + std::to_string(p.MovesLimit) + " is negative";
  if (auto err = FileNameProblem(p.BoardName.Str()))
    return "the board name '" + Shown(p.BoardName.Str()) + "' is no file name : " + *err;
  if (auto err = CheckPattern(p.IP, "initial pattern")) return err;
  return CheckPattern(p.OP, "objective pattern");
}

std::optional<std::string> CheckCampaign(const TCampaign& c) {
  const int levels = LevelCount(c);
  for (int l = 0; l < levels; ++l)
    if (auto err = FileNameProblem(c.Levels[l].Str()))
      return "the name '" + Shown(c.Levels[l].Str()) + "' of level " + std::to_string(l + 1) +
             " is no file name : " + *err;
  return std::nullopt;
}

std::optional<std::string> CheckSavedGame(const TSavedGame& g) {
  if (auto err = CheckPattern(g.Current, "position")) return err;
  return CheckPattern(g.OP, "objective pattern");
}

std::optional<std::string> CheckSavedGameState(const TSavedGame& g) {
  for (const TName50* name : {&g.BoardName, &g.PuzzleName, &g.CampaignName})
    if (auto err = FileNameProblem(name->Str()))
      return "the name '" + Shown(name->Str()) + "' is no file name : " + *err;
  const int n = ListLength(g.History);
  for (int i = 0; i < n; ++i) {
    if (!InGrid(g.History.X[i], g.History.Y[i]))
      return "move " + std::to_string(i + 1) + " of the move list is at " + Cell(g.History.X[i], g.History.Y[i]) +
             ", outside columns 1..20 and rows 1..15";
    if (g.History.Dir[i] < 1 || g.History.Dir[i] > 4)
      return "move " + std::to_string(i + 1) + " of the move list has a direction " +
             std::to_string(g.History.Dir[i]) + " outside 1..4";
  }
  if (g.ScrambleLength < 0 || g.ScrambleLength > n)
    return "the scramble length " + std::to_string(g.ScrambleLength) + " is outside 0.." + std::to_string(n);
  if (g.Moves < 0 || g.Seconds < 0) return "the moves or seconds played are negative";
  if (g.GameMode == 1 && g.PuzzleName.Empty() && (g.IPFromPuzzle || g.MLFromPuzzle || g.TLFromPuzzle))
    return "it takes patterns or limits from a puzzle but names none";
  if (g.GameMode == 2) {
    if (g.Level < 1 || g.Level > 2) return "the turn " + std::to_string(g.Level) + " is outside 1..2";
    if (g.ComputerSpeed > 2 || g.ComputerAccuracy > 2) return "the computer's speed or accuracy is outside 0..2";
    if (g.HumanSeconds < 0 || g.HumanMoves < 0 || g.ComputerSeconds < 0 || g.ComputerMoves < 0 ||
        g.OpponentTime < 0 || g.OpponentMoves < 0)
      return "the match's times or moves are negative";
  }
  if (g.GameMode == 3) {
    if (g.Level < 1) return "the campaign level is 0";
    if (g.CampaignSeconds < 0 || g.CampaignMoves < 0) return "the campaign's totals are negative";
  }
  return std::nullopt;
}

std::optional<std::string> CheckConfigRecord(const TConfig& c) {
  if (c.GameMode < 1 || c.GameMode > 3)
    return "the game mode is " + std::to_string(c.GameMode) + ", outside 1..3";
  if (c.ComputerSpeed > 2) return "the computer's speed is " + std::to_string(c.ComputerSpeed) + ", outside 0..2";
  if (c.ComputerAccuracy > 2)
    return "the computer's accuracy is " + std::to_string(c.ComputerAccuracy) + ", outside 0..2";
  return std::nullopt;
}

std::optional<std::string> CheckSavedGameFits(const TSavedGame& g, const TBoard& b) {
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      if (g.Current.Tiles[x][y] != 0 && (x > b.Width || y > b.Height))
        return "the position has a tile at " + Cell(x, y) + ", outside the board of " + std::to_string(b.Width) +
               " x " + std::to_string(b.Height);
  return std::nullopt;
}

void LoadBoard(const std::string& path, TBoard& out) { LoadChecked<TBoard>(path, out, &CheckBoard); }
void LoadPuzzle(const std::string& path, TPuzzle& out) { LoadChecked<TPuzzle>(path, out, &CheckPuzzle); }
void LoadCampaign(const std::string& path, TCampaign& out) { LoadChecked<TCampaign>(path, out, &CheckCampaign); }
void LoadSavedGame(const std::string& path, TSavedGame& out) { LoadChecked<TSavedGame>(path, out, &CheckSavedGame); }
void LoadConfig(const std::string& path, TConfig& out) { LoadChecked<TConfig>(path, out, nullptr); }

void StoreBoard(const std::string& path, const TBoard& b) { WriteRecord(path, b); }
void StorePuzzle(const std::string& path, const TPuzzle& p) { WriteRecord(path, p); }
void StoreCampaign(const std::string& path, const TCampaign& c) { WriteRecord(path, c); }
void StoreSavedGame(const std::string& path, const TSavedGame& g) { WriteRecord(path, g); }
void StoreConfig(const std::string& path, const TConfig& c) { WriteRecord(path, c); }

}  // namespace pav
