#include "platform/Paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "platform/Text.h"

namespace pav {

namespace {

bool Exists(const std::string& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0;
}

// A name in `folder` equal to `name` without regard to case, or "" when none.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
  DIR* d = ::opendir(folder.empty() ? "/" : folder.c_str());
  if (!d) return {};
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (SameTextIgnoringCase(e->d_name, name)) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string ResolvePath(const std::string& path) {
  if (path.empty() || Exists(path)) return path;
  const bool absolute = path[0] == '/';
  auto join = [&](const std::string& sofar, const std::string& comp) {
    if (sofar.empty()) return absolute ? "/" + comp : comp;
    return sofar + "/" + comp;
  };
  std::string result;
  bool missing = false;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    const std::string comp = path.substr(i, j - i);
    i = j + 1;
    if (comp.empty()) continue;
    std::string cand = join(result, comp);
    if (!missing && !Exists(cand)) {
      const std::string folder = result.empty() ? (absolute ? "/" : ".") : result;
      const std::string m = MatchInFolder(folder, comp);
      if (!m.empty())
        cand = join(result, m);
      else
        missing = true;
    }
    result = cand;
  }
  return result;
}

std::string GamePath(const std::string& appFolder, const std::string& relative) {
  std::string rel = relative;
  std::replace(rel.begin(), rel.end(), '\\', '/');
  // The game's names are Windows-1252 and the file names on the disk UTF-8. A file
  // whose name holds those very bytes (copied from elsewhere, or chosen by an
  // older configuration) is still found when no UTF-8 one exists.
  const std::string converted = ResolvePath(appFolder + Cp1252ToUtf8(rel));
  if (std::all_of(rel.begin(), rel.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }) ||
      Exists(converted))
    return converted;
  const std::string raw = ResolvePath(appFolder + rel);
  return Exists(raw) ? raw : converted;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  DIR* d = ::opendir(folder.c_str());
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n.size() < extension.size()) continue;
    if (!SameTextIgnoringCase(n.substr(n.size() - extension.size()), extension)) continue;
    if (FileExists(folder + "/" + n)) names.push_back(n);
  }
  ::closedir(d);
  // Alphabetical without regard to case, as the game's names are; the bytes decide ties.
  auto folded = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    const std::string fa = folded(a), fb = folded(b);
    return fa != fb ? fa < fb : a < b;
  });
  return names;
}

}  // namespace pav
