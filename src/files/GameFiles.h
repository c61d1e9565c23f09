// Loading and storing the game files, with the checks that keep broken files
// away from the engine.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "files/Records.h"
#include "platform/RecordFile.h"

namespace pav {

// A game file that was read whole but breaks a rule the game relies on.
class EBadGameFile : public std::runtime_error {
 public:
  EBadGameFile(std::string file, std::string rule)
      : std::runtime_error(file + ": " + rule), File(std::move(file)), Rule(std::move(rule)) {}
  std::string File;
  std::string Rule;
};

// Why a name stored in a game file or the configuration cannot become a file name in
// its folder: a "/" or "\", "..", a control character, or a byte that Windows-1252
// leaves undefined. Nothing for a name that can.
std::optional<std::string> FileNameProblem(const std::string& name);

// The first rule a record breaks, or nothing when it can be used.
std::optional<std::string> CheckBoard(const TBoard& b);
std::optional<std::string> CheckPattern(const TPattern& p, const std::string& what);
std::optional<std::string> CheckPuzzle(const TPuzzle& p);
std::optional<std::string> CheckCampaign(const TCampaign& c);
std::optional<std::string> CheckSavedGame(const TSavedGame& g);
// What the game needs besides readable patterns to take a saved game up: names that
// are file names, a move list on the grid, counters that are not negative, the turn or
// level of its mode, and a puzzle named when a single game takes anything from one.
std::optional<std::string> CheckSavedGameState(const TSavedGame& g);
// The first field of a configuration that the game cannot start with: the game mode,
// or the computer's speed or accuracy, out of range.
std::optional<std::string> CheckConfigRecord(const TConfig& c);
// Whether a saved game's position lies on the board it names.
std::optional<std::string> CheckSavedGameFits(const TSavedGame& g, const TBoard& b);

// Read one whole record (EInOutError when missing, unreadable or short) and check
// it (EBadGameFile); a game file is refused too when another file beside it has the
// same name in other letter case. Nothing is written to `out` unless all succeed.
void LoadBoard(const std::string& path, TBoard& out);
void LoadPuzzle(const std::string& path, TPuzzle& out);
void LoadCampaign(const std::string& path, TCampaign& out);
void LoadSavedGame(const std::string& path, TSavedGame& out);
void LoadConfig(const std::string& path, TConfig& out);

// Write one whole record atomically (EInOutError on failure).
void StoreBoard(const std::string& path, const TBoard& b);
void StorePuzzle(const std::string& path, const TPuzzle& p);
void StoreCampaign(const std::string& path, const TCampaign& c);
void StoreSavedGame(const std::string& path, const TSavedGame& g);
void StoreConfig(const std::string& path, const TConfig& c);

}  // namespace pav
