#include "platform/Installation.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/Paths.h"
#include "platform/RecordFile.h"

namespace fs = std::filesystem;

namespace pav {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// $XDG_<kind> when it is an absolute path, else $HOME/<fallback>.
fs::path XdgFolder(const char* variable, const char* fallback) {
  const std::string xdg = Env(variable);
  if (!xdg.empty() && xdg[0] == '/') return xdg;
  const std::string home = Env("HOME");
  if (home.empty()) throw EInstallError(std::string("install: neither ") + variable + " nor HOME is set");
  return fs::path(home) / fallback;
}

// UTF-8 to UTF-16 code units; false on a broken sequence.
bool DecodeUtf8(const std::string& s, std::vector<std::uint16_t>& out) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::uint32_t cp;
    int extra;
    if (b < 0x80) {
      cp = b;
      extra = 0;
    } else if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1Fu;
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0Fu;
      extra = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07u;
      extra = 3;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size() && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0u) != 0x80u) return false;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<std::uint16_t>(cp));
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

bool IsHexDigit(std::uint16_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string Hex(unsigned v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x", v);
  return buf;
}

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
  return s.substr(a, b - a);
}

struct TCopyResult {
  int Copied = 0;
  int Folders = 0;
  std::vector<std::string> Kept;  // relative paths
};

// Copies `from` into `to` without replacing anything: the new file is written
// under a temporary name and linked to its own name, which fails when a file of
// that name appeared meanwhile.
bool CopyNoReplace(const fs::path& from, const fs::path& to) {
  const fs::path tmp = to.parent_path() / (".pavilore-install-" + std::to_string(::getpid()) + ".tmp");
  std::error_code ec;
  fs::remove(tmp, ec);
  if (!fs::copy_file(from, tmp, ec) || ec) throw EInstallError(to.string() + ": cannot be written (" + ec.message() + ")");
  const int r = ::link(tmp.c_str(), to.c_str());
  const int err = errno;
  fs::remove(tmp, ec);
  if (r == 0) return true;
  if (err == EEXIST) return false;
  throw EInstallError(to.string() + ": cannot be written (" + std::strerror(err) + ")");
}

void CopyTree(const fs::path& from, const fs::path& to, const std::string& rel, TCopyResult& result) {
  std::error_code ec;
  fs::directory_iterator it(from, ec);
  if (ec) throw EInstallError(from.string() + ": cannot be read (" + ec.message() + ")");
  std::vector<fs::directory_entry> entries(it, fs::directory_iterator());
  std::sort(entries.begin(), entries.end());
  for (const fs::directory_entry& e : entries) {
    const std::string name = e.path().filename().string();
    const std::string here = rel.empty() ? name : rel + "/" + name;
    // The game matches names without regard to case: an existing "boards" folder
    // or "classic 4 x 4.brd" file is the one it uses.
    const fs::path target = ResolvePath((to / name).string());
    if (e.is_directory()) {
      if (!fs::is_directory(target)) {
        if (fs::exists(target)) throw EInstallError(target.string() + ": is in the way of a folder");
        if (!fs::create_directory(target, ec) && ec) throw EInstallError(target.string() + ": cannot be created (" + ec.message() + ")");
        ++result.Folders;
      }
      CopyTree(e.path(), target, here, result);
    } else if (e.is_regular_file()) {
      if (fs::exists(fs::symlink_status(target)) || !CopyNoReplace(e.path(), target))
        result.Kept.push_back(here);
      else
        ++result.Copied;
    }
  }
}

std::string ReadWhole(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw EInstallError(p.string() + ": " + std::strerror(errno));
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::string IniEscapedValue(const std::string& utf8) {
  std::vector<std::uint16_t> units;
  if (!DecodeUtf8(utf8, units)) throw EInstallError("install: the folder name is not valid UTF-8");
  std::string out;
  bool needsQuotes = false;
  bool escapeNextIfDigit = false;
  // A value beginning with '@' would be read as a typed value: it is doubled.
  if (!units.empty() && units[0] == '@') out += '@';
  for (const std::uint16_t ch : units) {
    if (ch == ';' || ch == ',' || ch == '=') needsQuotes = true;
    if (escapeNextIfDigit && IsHexDigit(ch)) {
      out += "\\x" + Hex(ch);
      continue;
    }
    escapeNextIfDigit = false;
    switch (ch) {
      case 0: out += "\\0"; escapeNextIfDigit = true; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\v': out += "\\v"; break;
      case '"':
      case '\\':
        out += '\\';
        out += static_cast<char>(ch);
        break;
      default:
        if (ch <= 0x1F || ch >= 0x7F) {
          out += "\\x" + Hex(ch);
          escapeNextIfDigit = true;
        } else {
          out += static_cast<char>(ch);
        }
    }
  }
  if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) out = "\"" + out + "\"";
  return out;
}

std::string SetAppFolder(const std::string& iniText, const std::string& folder) {
  const std::string entry = "AppFolder=" + IniEscapedValue(folder);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < iniText.size()) {
    std::size_t end = iniText.find('\n', start);
    if (end == std::string::npos) end = iniText.size();
    lines.push_back(iniText.substr(start, end - start));
    start = end + 1;
  }
  const bool crlf = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r';
  const std::string eol = crlf ? "\r" : "";
  int general = -1, lastKey = -1, sectionEnd = static_cast<int>(lines.size());
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    const std::string t = Trim(lines[static_cast<std::size_t>(i)]);
    if (!t.empty() && t[0] == '[') {
      if (general >= 0) {
        sectionEnd = i;
        break;
      }
      if (t == "[General]") general = i;
      continue;
    }
    if (general < 0 || t.empty() || t[0] == ';' || t[0] == '#') continue;
    lastKey = i;
    const std::size_t eq = t.find('=');
    if (eq != std::string::npos && Trim(t.substr(0, eq)) == "AppFolder") {
      lines[static_cast<std::size_t>(i)] = entry + eol;
      std::string out;
      for (const std::string& l : lines) out += l + "\n";
      return out;
    }
  }
  if (general < 0) {
    lines.insert(lines.begin(), {"[General]" + eol, entry + eol});
    if (lines.size() > 2) lines.insert(lines.begin() + 2, eol);  // a blank line before the old sections
  } else {
    const int at = lastKey >= 0 ? lastKey + 1 : general + 1;
    (void)sectionEnd;
    lines.insert(lines.begin() + at, entry + eol);
  }
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

std::string InstallationImageFolder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw EInstallError("cannot find the program's own folder (" + ec.message() + ")");
  return (self.parent_path() / ".." / "share" / "pavilore").lexically_normal().string();
}

std::string SettingsFile() { return (XdgFolder("XDG_CONFIG_HOME", ".config") / "Pavilore.conf").string(); }

std::string DefaultDataFolder() { return (XdgFolder("XDG_DATA_HOME", ".local/share") / "Pavilore").string(); }

TInstallResult InstallDefaultData(const std::string& image, const std::string& dir) {
  std::error_code ec;
  if (!fs::is_directory(image)) throw EInstallError(image + ": no installation image there");
  const fs::path target = fs::absolute(dir.empty() ? fs::path(DefaultDataFolder()) : fs::path(dir), ec).lexically_normal();
  if (ec) throw EInstallError(dir + ": " + ec.message());
  TInstallResult result;
  result.Folder = target.string();
  while (result.Folder.size() > 1 && result.Folder.back() == '/') result.Folder.pop_back();
  if (fs::equivalent(image, result.Folder, ec)) throw EInstallError(result.Folder + ": is the installation image itself");
  // The folder name must be one the settings store can hold.
  IniEscapedValue(result.Folder);

  fs::create_directories(result.Folder, ec);
  if (ec || !fs::is_directory(result.Folder))
    throw EInstallError(result.Folder + ": cannot be created (" + ec.message() + ")");
  TCopyResult copied;
  CopyTree(image, result.Folder, "", copied);
  result.Copied = copied.Copied;
  result.Kept = copied.Kept;

  const fs::path settings = SettingsFile();
  std::string ini;
  if (fs::exists(settings)) ini = ReadWhole(settings);
  fs::create_directories(settings.parent_path(), ec);
  const std::string text = SetAppFolder(ini, result.Folder);
  try {
    WriteRecordFile(settings.string(), text.data(), text.size());
  } catch (const EInOutError& e) {
    throw EInstallError(e.File + ": " + e.Reason);
  }
  result.Settings = settings.string();
  return result;
}

}  // namespace pav
