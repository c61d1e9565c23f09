#include "CommandLine.h"

#include <iostream>

#include "platform/Paths.h"

namespace pav::tool {

FileKind KindOf(const std::string& path) {
  const auto dot = path.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : path.substr(dot);
  if (SameTextIgnoringCase(ext, ".BRD")) return FileKind::Board;
  if (SameTextIgnoringCase(ext, ".PZZ")) return FileKind::Puzzle;
  if (SameTextIgnoringCase(ext, ".CPN")) return FileKind::Campaign;
  if (SameTextIgnoringCase(ext, ".SGM")) return FileKind::SavedGame;
  if (SameTextIgnoringCase(ext, ".CFG")) return FileKind::Config;
  throw ToolError{path + ": unknown file type (expected .BRD, .PZZ, .CPN, .SGM or .CFG)"};
}

std::optional<int> ParseInt(const std::string& s) {
  if (s.empty()) return std::nullopt;
  std::size_t i = 0;
  if (s[0] == '-' || s[0] == '+') i = 1;
  if (i == s.size()) return std::nullopt;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (s[0] == '-') v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
  return static_cast<int>(v);
}

std::vector<int> ParseIntList(const std::string& s, std::size_t count, const std::string& what) {
  std::vector<int> out;
  std::size_t start = 0;
  for (;;) {
    const auto comma = s.find(',', start);
    const auto v = ParseInt(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!v) break;
    out.push_back(*v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (out.size() != count) throw ToolError{what + ": '" + s + "' is not " + std::to_string(count) + " comma-separated integers"};
  return out;
}

Args ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags) {
  Args a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& w = args[i];
    if (w.size() > 2 && w.compare(0, 2, "--") == 0) {
      std::string name = w, value;
      const auto eq = w.find('=');
      bool hasValue = false;
      if (eq != std::string::npos) {
        name = w.substr(0, eq);
        value = w.substr(eq + 1);
        hasValue = true;
      }
      bool known = false;
      for (const auto& f : flags)
        if (f == name) known = true;
      if (known) {
        a.Options.emplace_back(name, "");
        continue;
      }
      for (const auto& v : valued)
        if (v == name) known = true;
      if (!known) throw ToolError{"unknown option " + name};
      if (!hasValue) {
        if (i + 1 >= args.size()) throw ToolError{"option " + name + " needs a value"};
        value = args[++i];
      }
      a.Options.emplace_back(name, value);
    } else {
      a.Words.push_back(w);
    }
  }
  return a;
}

void Print(const JsonWriter& j) { std::cout << j.Text() << '\n'; }

void LoadPlayingField(const Args& a, TGame& g, const std::string& usage, std::optional<std::string> puzzlePath) {
  const auto boardPath = a.Get("--board");
  if (!boardPath) throw ToolError{usage};
  Load(*boardPath, [&] { LoadBoard(*boardPath, g.Board); });
  if (!puzzlePath) puzzlePath = a.Get("--puzzle");
  if (puzzlePath) Load(*puzzlePath, [&] { LoadPuzzle(*puzzlePath, g.Puzzle); });

  const std::string start = a.Get("--start").value_or(puzzlePath ? "ip" : "board");
  const std::string objective = a.Get("--objective").value_or(puzzlePath ? "op" : "board");
  auto pick = [&](const std::string& which, const char* option) -> const TPattern& {
    if (which == "board") return g.Board.Pattern;
    if ((which == "ip" || which == "op") && !puzzlePath)
      throw ToolError{std::string(option) + " " + which + " needs --puzzle"};
    if (which == "ip" && std::string(option) == "--start") return g.Puzzle.IP;
    if (which == "op") return g.Puzzle.OP;
    throw ToolError{std::string(option) + ": unknown pattern '" + which + "'"};
  };
  CopyPattern(pick(start, "--start"), g.Current);
  CopyPattern(pick(objective, "--objective"), g.OP);
}

}  // namespace pav::tool
