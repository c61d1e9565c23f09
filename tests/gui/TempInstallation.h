// A small installation of the game in a temporary folder, for the start-up, log
// and window tests: the settings store points at it, and it holds a configuration
// file, boards, puzzles, a campaign and the default pictures, each made here.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/Records.h"
#include "platform/qt/MessageBox.h"

namespace pav::test {

// A width x height board: a solid ring around floor, tile 1 on the second row.
std::unique_ptr<TBoard> MakeBoard(int width, int height, const std::string& title);
std::unique_ptr<TPuzzle> MakePuzzle(const std::string& boardName, const std::string& title);
// The configuration a fresh installation could ship: a single game on `board`,
// logging on for "Tester", default pictures, no music, no welcome window.
TConfig MakeConfig(const std::string& board);

// Collects the message boxes instead of showing them, for as long as it lives.
class MessageCatcher {
 public:
  MessageCatcher();
  ~MessageCatcher();
  std::vector<std::pair<std::string, TMessageIcon>> Messages;
  bool Empty() const { return Messages.empty(); }
  const std::string& Text(std::size_t i = 0) const { return Messages.at(i).first; }
  TMessageIcon Icon(std::size_t i = 0) const { return Messages.at(i).second; }
};

class TempInstallation {
 public:
  // Folders, the default pictures and the settings store naming the folder; no
  // configuration file and no game files yet. The game's state is reset.
  TempInstallation();
  ~TempInstallation();

  const std::string& Folder() const { return Root; }
  // Folder() + "/" + relative ("Boards/A.BRD").
  std::string File(const std::string& relative) const;

  void WriteConfig(const TConfig& c);
  TConfig ReadConfig() const;
  void AddBoard(const std::string& name, const TBoard& b);
  void AddBoard(const std::string& name, const std::string& title);
  void AddPuzzle(const std::string& relativeFolder, const std::string& name, const TPuzzle& p);
  void AddCampaign(const std::string& name, const std::vector<std::string>& levels, const std::string& title);
  // A picture of the given size in "Graphics", as a bitmap file.
  void AddPicture(const std::string& fileName, int width, int height);
  void WriteBytes(const std::string& relative, const std::string& bytes);
  std::string ReadBytes(const std::string& relative) const;
  std::vector<std::string> ReadLines(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void Remove(const std::string& relative);
  // Every effect of `c` is the one sound "Beep" (a file of the installation), sounds on.
  void UseOneSound(TConfig& c);
  // The settings store with no value AppFolder.
  void ForgetAppFolder();

 private:
  QTemporaryDir Dir;
  std::string Root;
  std::string OldXdg;
  bool HadXdg = false;
};

}  // namespace pav::test
