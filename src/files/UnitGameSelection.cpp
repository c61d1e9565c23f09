#include "files/UnitGameSelection.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <algorithm>

#include "app/AppState.h"
#include "app/Startup.h"
#include "files/GameFiles.h"
#include "files/SavedGameFiles.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"

namespace pav {

QStringList GameFileEntries(const std::string& relativeFolder, const std::string& extension) {
  QStringList names;
  for (const std::string& file : ListFiles(App().Path(relativeFolder), extension)) {
    // Entries show the name on the disk; the game stores its Windows-1252 form.
    std::string name;
    if (file.empty() || file[0] == '.' || file.size() < 4 || !GameNameOfFile(file.substr(0, file.size() - 4), name) ||
        name.size() > 46)
      continue;
    names << QString::fromStdString(file.substr(0, file.size() - 4));
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return names;
}

void FillFileList(QComboBox* list, const std::string& relativeFolder, const std::string& extension,
                  const std::string& current) {
  const QSignalBlocker quiet(list);
  list->clear();
  list->addItems(GameFileEntries(relativeFolder, extension));
  SelectEntry(list, current);
}

void SelectEntry(QComboBox* list, const std::string& name) {
  const QString wanted = QString::fromStdString(Cp1252ToUtf8(name));
  int found = -1;
  if (!name.empty())
    for (int i = 0; i < list->count(); ++i)
      if (list->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0) {
        found = i;
        break;
      }
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(found);
}

std::string ListText(const QComboBox* list) {
  return list->currentIndex() < 0 ? std::string() : Utf8ToCp1252(list->currentText().toStdString());
}

std::string BoardFile(const std::string& name) { return BoardFileIn(App().AppFolder, name); }
std::string PuzzleFile(const std::string& name) { return PuzzleFileIn(App().AppFolder, name); }
std::string CampaignFile(const std::string& name) { return CampaignFileIn(App().AppFolder, name); }
std::string LevelPuzzleFile(const std::string& name) { return LevelPuzzleFileIn(App().AppFolder, name); }

bool LevelPuzzleExists(const std::string& name) { return FileExists(LevelPuzzleFile(name)); }

bool LoadReported(const std::function<void()>& load) {
  try {
    load();
    return true;
  } catch (const EBadGameFile& e) {
    ShowMessage("The file '" + Utf8ToCp1252(e.File) + "' can't be used : " + e.Rule + ".", TMessageIcon::Warning);
  } catch (const EInOutError& e) {
    ReportInOutError(e);
  }
  return false;
}

bool MainWindowFits(int left, int top, int boardWidth, int boardHeight, const QSize& screen) {
  return left >= 0 && top >= 0 && screen.width() >= left + (boardWidth + 1) * 48 &&
         screen.height() >= top + (boardHeight + 1) * 48;
}

void TCheatWordBuffer::Reset() {
  Chars.assign(Size, ' ');
  Typed = 0;
}

bool TCheatWordBuffer::Add(int code) {
  const char c = static_cast<char>(static_cast<unsigned char>(code));
  if (Typed < Size) {
    Chars[static_cast<std::size_t>(Typed)] = c;
    ++Typed;
  } else {
    Chars.erase(0, 1);
    Chars.push_back(c);
  }
  std::string upper = Chars;
  for (char& ch : upper)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return upper == CheatWord;
}

int CheatKeyCode(int qtKey) {
  if (qtKey >= 32 && qtKey <= 255) return qtKey;
  switch (qtKey) {
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return -1;
  }
}

}  // namespace pav
