// Loading a saved game as the game does: the input is the content of a saved-game
// file in a small data folder. The record is read, checked, and every board,
// puzzle and campaign it names is read from the folder and checked too. A game
// that loads has everything its mode needs, its position fits its board, and the
// names it holds stay inside the folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "SampleFolder.h"
#include "files/GameFiles.h"
#include "files/SavedGameFiles.h"
#include "platform/RecordFile.h"

using namespace pav;
using namespace pav::fuzz;

namespace {

// No name the game turns into a path may lead out of its folder.
void CheckStaysInside(const std::string& name) { PAV_FUZZ_CHECK(!FileNameProblem(name)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  static const std::string folder = [] {
    const std::string f = file.Sibling("data");
    WriteSampleFolder(f);
    return f;
  }();
  const std::string path = folder + "/Saved Games/Game.SGM";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("cannot write the saved game");
    if (size != 0 && std::fwrite(data, 1, size, f) != size) Fail("cannot write the saved game");
    std::fclose(f);
  }

  TLoadedGame l;
  try {
    ReadSavedGame(folder, path, l);
  } catch (const EInOutError& e) {
    PAV_FUZZ_CHECK(e.File == path);
    PAV_FUZZ_CHECK(size < sizeof(TSavedGame));
    return 0;
  } catch (const EBadGameFile& e) {
    PAV_FUZZ_CHECK(e.File == path);
    PAV_FUZZ_CHECK(!e.Rule.empty());
    return 0;
  }

  const TSavedGame& s = *l.Saved;
  PAV_FUZZ_CHECK(!CheckSavedGame(s));
  PAV_FUZZ_CHECK(!CheckSavedGameState(s));
  const int mode = s.GameMode;
  if (mode < 1 || mode > 3) return 0;
  PAV_FUZZ_CHECK(!CheckBoard(*l.Board));
  PAV_FUZZ_CHECK(!CheckSavedGameFits(s, *l.Board));
  CheckStaysInside(s.BoardName.Str());
  if (mode == 1) {
    PAV_FUZZ_CHECK((l.Puzzle != nullptr) == !s.PuzzleName.Empty());
    if (l.Puzzle) CheckStaysInside(s.PuzzleName.Str());
  }
  if (mode == 3) {
    PAV_FUZZ_CHECK(l.Campaign && l.Puzzle);
    CheckStaysInside(s.CampaignName.Str());
    PAV_FUZZ_CHECK(s.Level >= 1 && s.Level <= LevelCount(*l.Campaign));
    for (int i = 0; i < LevelCount(*l.Campaign); ++i) CheckStaysInside(l.Campaign->Levels[i].Str());
    CheckStaysInside(l.Puzzle->BoardName.Str());
    CheckStaysInside(l.FirstLevelBoard);
  }
  return 0;
}
