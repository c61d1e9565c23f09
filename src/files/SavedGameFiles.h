// The files of a data folder by their game names, and a saved game read whole:
// the record and every file it names, checked before the game takes any of it.
#pragma once

#include <memory>
#include <string>

#include "files/Records.h"

namespace pav {

// AppFolder + "\Boards\" + name + ".BRD", and the same for puzzles and campaigns.
std::string BoardFileIn(const std::string& appFolder, const std::string& name);
std::string PuzzleFileIn(const std::string& appFolder, const std::string& name);
std::string CampaignFileIn(const std::string& appFolder, const std::string& name);
// A campaign level's puzzle: in "\Puzzles\" when it is there, else in
// "\Puzzles\Campaign Levels\".
std::string LevelPuzzleFileIn(const std::string& appFolder, const std::string& name);

// Everything a saved game needs.
struct TLoadedGame {
  std::unique_ptr<TSavedGame> Saved = std::make_unique<TSavedGame>();
  std::unique_ptr<TBoard> Board = std::make_unique<TBoard>();
  std::unique_ptr<TPuzzle> Puzzle;  // the puzzle (mode 1) or the level's puzzle (mode 3)
  std::unique_ptr<TCampaign> Campaign;
  std::string FirstLevelBoard;  // the board of the campaign's first level
  bool LevelInPuzzles = false;  // the level's puzzle is in "\Puzzles\" itself
};

// Reads the saved game at `path` and the board, puzzle and campaign it names from
// `appFolder`. Raises EInOutError for the saved game itself, and EBadGameFile
// naming the saved game when it, or a file it names, cannot be used. A game of an
// unknown mode is read without its files.
void ReadSavedGame(const std::string& appFolder, const std::string& path, TLoadedGame& l);

}  // namespace pav
