// What the game configuration window needs besides its controls: the pick lists of
// game files, the paths of the chosen files, loading them with every failure
// reported, whether the main window still fits on the screen, and the cheat word.
#pragma once

#include <QRect>
#include <QStringList>
#include <functional>
#include <string>

class QComboBox;

namespace pav {

// ---- File lists -------------------------------------------------------------

// The entries of a file list: every file of AppFolder + relativeFolder ending with
// `extension` whose name does not begin with "." and is shorter than 51 characters
// with its extension, without its last four characters, sorted without regard to case.
QStringList GameFileEntries(const std::string& relativeFolder, const std::string& extension);
// Empties the list, adds those entries and selects the one equal to `current`
// without regard to case (or none).
void FillFileList(QComboBox* list, const std::string& relativeFolder, const std::string& extension,
                  const std::string& current);
// Selects the entry equal to `name` without regard to case; none when there is no such entry.
void SelectEntry(QComboBox* list, const std::string& name);
// The selected entry's text, "" when nothing is selected.
std::string ListText(const QComboBox* list);

// ---- Paths ----------------------------------------------------------------------

std::string BoardFile(const std::string& name);     // "\Boards\" + name + ".BRD"
std::string PuzzleFile(const std::string& name);    // "\Puzzles\" + name + ".PZZ"
std::string CampaignFile(const std::string& name);  // "\Campaigns\" + name + ".CPN"
// A campaign level: "\Puzzles\" when the file is there, else "\Puzzles\Campaign Levels\".
std::string LevelPuzzleFile(const std::string& name);
// Whether the level's puzzle is in one of the two folders.
bool LevelPuzzleExists(const std::string& name);

// ---- Loading ---------------------------------------------------------------------

// Runs `load`. A file that cannot be read (EInOutError) or that is refused on loading
// (EBadGameFile) is reported in a message box naming the file and what is wrong;
// the result is then false.
bool LoadReported(const std::function<void()>& load);

// ---- The main window after a change of board ---------------------------------------

// The main window at (left, top) fits the screen with a board of w x h cells: left and
// top not negative, and the screen at least left + (w+1)*48 wide and top + (h+1)*48 high.
bool MainWindowFits(int left, int top, int boardWidth, int boardHeight, const QSize& screen);

// ---- Cheat word ----------------------------------------------------------------------

constexpr const char* CheatWord = "ZEPHYRMOVE";

// The last ten keys typed (spaces until ten were typed).
class TCheatWordBuffer {
 public:
  static constexpr int Size = 10;
  TCheatWordBuffer() { Reset(); }
  void Reset();
  // Adds one key code (32..255); true when the buffer then spells the cheat word
  // (letters compared in upper case).
  bool Add(int code);
  const std::string& Text() const { return Chars; }
  int Count() const { return Typed; }

 private:
  std::string Chars;
  int Typed = 0;
};

// The key code a key adds to the cheat word: character keys by their code (letters
// upper-case whatever the Shift state), the cursor and editing keys by the codes
// they had on the game's first platform (33..46); -1 for keys that add nothing.
int CheatKeyCode(int qtKey);

}  // namespace pav
