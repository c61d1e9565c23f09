#include "files/SavedGameFiles.h"

#include "files/GameFiles.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"

namespace pav {

namespace {

constexpr int ModeSingle = 1;
constexpr int ModeCampaign = 3;

// Reads a file the saved game names; a file that is gone or unreadable is reported
// against the saved game.
template <class Load>
void ReadNamed(const std::string& savedGame, const std::string& what, Load load) {
  try {
    load();
  } catch (const EInOutError& e) {
    throw EBadGameFile(savedGame, "the " + what + " it names can't be read (" + e.Reason + ")");
  }
}

}  // namespace

std::string BoardFileIn(const std::string& appFolder, const std::string& name) {
  return GamePath(appFolder, "\\Boards\\" + name + ".BRD");
}
std::string PuzzleFileIn(const std::string& appFolder, const std::string& name) {
  return GamePath(appFolder, "\\Puzzles\\" + name + ".PZZ");
}
std::string CampaignFileIn(const std::string& appFolder, const std::string& name) {
  return GamePath(appFolder, "\\Campaigns\\" + name + ".CPN");
}
std::string LevelPuzzleFileIn(const std::string& appFolder, const std::string& name) {
  const std::string direct = PuzzleFileIn(appFolder, name);
  if (FileExists(direct)) return direct;
  return GamePath(appFolder, "\\Puzzles\\Campaign Levels\\" + name + ".PZZ");
}

void ReadSavedGame(const std::string& appFolder, const std::string& path, TLoadedGame& l) {
  LoadSavedGame(path, *l.Saved);
  const TSavedGame& s = *l.Saved;
  if (auto err = CheckSavedGameState(s)) throw EBadGameFile(path, *err);
  const int mode = s.GameMode;
  if (mode < ModeSingle || mode > ModeCampaign) return;

  if (mode == ModeSingle && !s.PuzzleName.Empty()) {
    l.Puzzle = std::make_unique<TPuzzle>();
    ReadNamed(path, "puzzle '" + s.PuzzleName.Str() + "'",
              [&] { LoadPuzzle(PuzzleFileIn(appFolder, s.PuzzleName.Str()), *l.Puzzle); });
  }
  std::string boardName = s.BoardName.Str();
  if (mode == ModeCampaign) {
    const std::string campaign = s.CampaignName.Str();
    l.Campaign = std::make_unique<TCampaign>();
    ReadNamed(path, "campaign '" + campaign + "'",
              [&] { LoadCampaign(CampaignFileIn(appFolder, campaign), *l.Campaign); });
    const int levels = LevelCount(*l.Campaign);
    if (s.Level > levels)
      throw EBadGameFile(path, "its level " + std::to_string(s.Level) + " is past the end of the campaign '" +
                                   campaign + "' of " + std::to_string(levels) + " levels");
    const std::string levelName = l.Campaign->Levels[s.Level - 1].Str();
    l.Puzzle = std::make_unique<TPuzzle>();
    ReadNamed(path, "puzzle '" + levelName + "'",
              [&] { LoadPuzzle(LevelPuzzleFileIn(appFolder, levelName), *l.Puzzle); });
    l.LevelInPuzzles = FileExists(PuzzleFileIn(appFolder, levelName));
    boardName = l.Puzzle->BoardName.Str();
    auto first = std::make_unique<TPuzzle>();
    const std::string firstName = l.Campaign->Levels[0].Str();
    ReadNamed(path, "puzzle '" + firstName + "'", [&] { LoadPuzzle(LevelPuzzleFileIn(appFolder, firstName), *first); });
    l.FirstLevelBoard = first->BoardName.Str();
  }
  ReadNamed(path, "board '" + boardName + "'", [&] { LoadBoard(BoardFileIn(appFolder, boardName), *l.Board); });
  if (auto err = CheckSavedGameFits(s, *l.Board)) throw EBadGameFile(path, *err);
}

}  // namespace pav
