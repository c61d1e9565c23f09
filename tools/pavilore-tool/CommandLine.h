// The tool's command lines: options, numbers, file kinds, and the board and
// patterns that push and solve play on.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Json.h"
#include "ToolError.h"
#include "engine/GameData.h"
#include "files/GameFiles.h"

namespace pav::tool {

enum class FileKind { Board, Puzzle, Campaign, SavedGame, Config };

// The kind of a game file by its extension, without regard to case.
FileKind KindOf(const std::string& path);

// Runs a loader, turning its errors into the tool's one-line reports.
template <class F>
void Load(const std::string& path, F&& load) {
  try {
    load();
  } catch (const EInOutError& e) {
    throw ToolError{e.File + ": " + e.Reason};
  } catch (const EBadGameFile& e) {
    throw ToolError{e.File + ": " + e.Rule};
  }
  (void)path;
}

// A 32-bit integer, with an optional sign; nothing else.
std::optional<int> ParseInt(const std::string& s);
// Exactly count comma-separated integers.
std::vector<int> ParseIntList(const std::string& s, std::size_t count, const std::string& what);

// Splits args into positional words and --options with one value each.
struct Args {
  std::vector<std::string> Words;
  std::vector<std::pair<std::string, std::string>> Options;
  bool Has(const std::string& name) const {
    for (const auto& o : Options)
      if (o.first == name) return true;
    return false;
  }
  std::optional<std::string> Get(const std::string& name) const {
    std::optional<std::string> v;
    for (const auto& o : Options)
      if (o.first == name) v = o.second;
    return v;
  }
};

Args ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags);

void Print(const JsonWriter& j);

// --board, --puzzle, --start and --objective into the game: the board and puzzle are
// loaded, Current is the start pattern (default the board's pattern, or the puzzle's
// IP with a puzzle) and OP the objective (default the board's pattern, or the
// puzzle's OP). puzzlePath overrides --puzzle; usage is the message when --board is missing.
void LoadPlayingField(const Args& a, TGame& g, const std::string& usage,
                      std::optional<std::string> puzzlePath = std::nullopt);

}  // namespace pav::tool
