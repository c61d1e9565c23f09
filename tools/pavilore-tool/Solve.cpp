// pavilore-tool solve: the fewest moves of a puzzle, proven, or honest bounds.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "CommandLine.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "solver/Solver.h"

namespace pav::tool {

namespace {

const char* const Usage =
    "usage: pavilore-tool solve P.PZZ | --board B.BRD [--puzzle P.PZZ] [--start board|ip|op] "
    "[--objective board|op] [--seconds S] [--max-memory MB] [--json]";

// The board a puzzle file names, in the installation the puzzle lies in
// (its folder is Puzzles or Puzzles/Campaign Levels).
std::string BoardBeside(const std::string& puzzlePath) {
  auto p = std::make_unique<TPuzzle>();
  Load(puzzlePath, [&] { LoadPuzzle(puzzlePath, *p); });
  const std::string name = p->BoardName.Str();
  if (name.empty()) throw ToolError{puzzlePath + ": the puzzle names no board"};
  namespace fs = std::filesystem;
  fs::path dir = fs::absolute(fs::path(puzzlePath)).parent_path();
  for (int up = 0; up < 3 && !dir.empty(); ++up, dir = dir.parent_path()) {
    if (!FolderExists((dir / "Boards").string())) continue;
    const std::string board = GamePath(dir.string(), "/Boards/" + name + ".BRD");
    if (!FileExists(board))
      throw ToolError{puzzlePath + ": the board '" + Cp1252ToUtf8(name) + "' is missing from " + dir.string() + "/Boards"};
    return board;
  }
  throw ToolError{puzzlePath + ": no installation with a Boards folder around it; name the board with --board"};
}

double ParseSeconds(const std::string& s) {
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(s.c_str(), &end);
  if (s.empty() || *end != '\0' || errno != 0 || !std::isfinite(v) || v <= 0)
    throw ToolError{"--seconds: '" + s + "' is not a positive number"};
  return v;
}

}  // namespace

int RunSolve(const std::vector<std::string>& argv) {
  Args a = ParseArgs(argv, {"--board", "--puzzle", "--start", "--objective", "--seconds", "--max-memory"}, {"--json"});
  std::optional<std::string> puzzlePath;
  if (a.Words.size() > 1 || (a.Words.size() == 1 && a.Get("--puzzle"))) throw ToolError{Usage};
  if (a.Words.size() == 1) {
    puzzlePath = a.Words[0];
    if (!a.Get("--board")) a.Options.emplace_back("--board", BoardBeside(*puzzlePath));
  }
  TSolveLimits limits;
  if (const auto s = a.Get("--seconds")) limits.Seconds = ParseSeconds(*s);
  if (const auto m = a.Get("--max-memory")) {
    const auto mb = ParseInt(*m);
    if (!mb || *mb <= 0) throw ToolError{"--max-memory: '" + *m + "' is not a positive whole number of MB"};
    limits.MaxBytes = static_cast<std::size_t>(*mb) << 20;
  }
  auto state = std::make_unique<TGameState>();
  TGame& g = state->Game;
  LoadPlayingField(a, g, Usage, puzzlePath);

  const TSolveResult r = Solve(g.Board, g.Current, g.OP, limits);

  if (a.Has("--json")) {
    JsonWriter j;
    j.BeginObject().Key("status").String(StatusName(r.Status));
    j.Key("moves");
    if (r.Moves >= 0)
      j.Int(r.Moves);
    else
      j.Null();
    j.Key("solution").BeginArray();
    for (const TSolveGesture& ge : r.Solution) j.BeginArray().Int(ge.X).Int(ge.Y).Int(ge.Dir).EndArray();
    j.EndArray();
    j.Key("lowerBound");
    if (r.LowerBound >= 0)
      j.Int(r.LowerBound);
    else
      j.Null();
    j.EndObject();
    Print(j);
    return 0;
  }

  std::cout << StatusName(r.Status);
  if (r.Status == TSolveStatus::Optimal) std::cout << ": " << r.Moves << (r.Moves == 1 ? " move" : " moves");
  if (r.Status == TSolveStatus::NotProven) {
    std::cout << " (the " << r.StoppedBy << " limit stopped the search): at least " << r.LowerBound << " moves";
    if (r.Moves >= 0) std::cout << ", at most " << r.Moves;
  }
  std::cout << "\n";
  if (!r.Solution.empty()) {
    for (std::size_t i = 0; i < r.Solution.size(); ++i)
      std::cout << (i ? " " : "") << r.Solution[i].X << "," << r.Solution[i].Y << "," << r.Solution[i].Dir;
    std::cout << "\n";
  }
  char stats[160];
  std::snprintf(stats, sizeof stats, "%llu positions, %llu pushes, %.2f s, %.1f MB\n",
                static_cast<unsigned long long>(r.Positions), static_cast<unsigned long long>(r.Pushes), r.Seconds,
                static_cast<double>(r.PeakBytes) / (1 << 20));
  std::cout << stats;
  return 0;
}

}  // namespace pav::tool
