// Saved games: a game in progress written to a file of "Saved Games" under its date,
// time and what is played, and taken up again later in any mode. A saved game names
// its board, puzzle or campaign; loading reads them again from their own files.
#pragma once

#include <QDateTime>
#include <optional>
#include <string>
#include <vector>

#include "files/Records.h"

namespace pav {

// What a saved game plays, as its file name says it: "Single Game, Puzzle '…'",
// "Single Game, Board '…'", "Game Against Computer, Board '…'" or
// "Campaign Mode, Campaign '…'" (Windows-1252).
std::string SavedGameDescription(const TConfig& c);
// A name that stays a file name in one folder: every "/" and ":", every other
// character a file name cannot hold ("\", control characters, <>"|?*), turned into ".".
std::string SanitizeFileName(const std::string& name);
// The name a game saved at `when` gets: the date in the short and the time in the
// long format of the user's locale, then the description, made a file name.
std::string SavedGameName(const QDateTime& when, const std::string& description);

// The record of the running game as the configuration and the game state make it.
// Fields its mode does not write keep what the previous save of this run put there.
const TSavedGame& FillSavedGame();

// Ctrl+S: writes the running game as "\Saved Games\" + name + ".SGM", whole or not
// at all, and logs "Game saved.". Returns the name, or nothing when the file could
// not be written (the failure is then reported in a message box naming the file).
std::optional<std::string> SaveGame(const QDateTime& when = QDateTime::currentDateTime());

// The names the load window lists: the files "\Saved Games\*.SGM" whose names do
// not begin with ".", without the extension, sorted.
std::vector<std::string> SavedGameNames();

// Loads "\Saved Games\" + name + ".SGM" and takes the game up in its mode. The saved
// game and every file it names are read and checked first: when anything is missing
// or damaged a message box names the file and what is wrong, nothing changes and
// the result is false.
bool LoadGame(const std::string& name);

}  // namespace pav
