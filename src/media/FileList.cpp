#include "media/FileList.h"

#include <QComboBox>
#include <QStringList>

#include "app/AppState.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace pav {

namespace {

constexpr std::size_t LongestName = 50;

}  // namespace

std::vector<std::string> ListedNames(const std::string& mask) {
  const std::size_t cut = mask.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? std::string() : mask.substr(0, cut);
  const std::string pattern = cut == std::string::npos ? mask : mask.substr(cut + 1);
  // "*.WAV": every name that ends in ".WAV".
  const std::string ending = pattern.size() > 0 && pattern[0] == '*' ? pattern.substr(1) : pattern;
  std::vector<std::string> names;
  for (const std::string& file : pav::ListFiles(App().Path(folder.empty() ? "\\" : folder), ending)) {
    std::string name;
    if (file.empty() || file[0] == '.' || file.size() < 4 || !GameNameOfFile(file.substr(0, file.size() - 4), name) ||
        name.size() + 4 > LongestName)
      continue;
    names.push_back(name);
  }
  return names;
}

void ListFiles(QComboBox* list, const std::string& mask, const std::string& current, bool addNone, bool clear) {
  if (clear) list->clear();
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
  for (const std::string& name : ListedNames(mask)) entries << QString::fromStdString(Cp1252ToUtf8(name));
  if (addNone) entries << QString::fromLatin1(NoneEntry);
  // A sorted list, as the game's pick lists are: "[None]" comes before the letters.
  std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  list->clear();
  list->addItems(entries);
  const QString wanted = QString::fromStdString(Cp1252ToUtf8(current));
  int selected = -1;
  for (int i = 0; i < list->count(); ++i) {
    if (QString::compare(list->itemText(i), wanted, Qt::CaseInsensitive) == 0) {
      selected = i;
      break;
    }
  }
  list->setCurrentIndex(selected);
}

std::string ListedText(const QComboBox* list) {
  if (list->currentIndex() < 0) return {};
  return Utf8ToCp1252(list->currentText().toStdString());
}

}  // namespace pav
