#include "app/Log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/AppState.h"
#include "files/ConfigValues.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"

namespace pav {

namespace {

const std::string FreeSlot = "#";

// The session's lines not yet in the player's file. It holds LogBufferSize lines
// between two writes, and more while the file cannot be written.
struct TLogBuffer {
  std::vector<std::string> Lines;
  // The failure of a write was shown to the player in this session: the lines of
  // the session then wait in the buffer without a box at each write.
  bool FailureShown = false;
};

TLogBuffer& Buffer() {
  static TLogBuffer buffer;
  return buffer;
}

std::string ErrnoText(int err) { return std::strerror(err); }

// The lines of a text file; a line ends at CR, LF or CR LF, and a last line
// without its end still counts.
std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInOutError(path, ErrnoText(errno));
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EInOutError(path, "the file could not be read");
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

// Writes the lines into a new scratch file; a scratch file left by an earlier
// run is replaced, never followed if it is a link. A failure names the player's
// file, the one the player knows.
void WriteScratch(const std::string& path, const std::string& target, const std::vector<std::string>& lines) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw EInOutError(target, ErrnoText(errno));
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) throw EInOutError(target, ErrnoText(errno));
  std::string text;
  for (const auto& l : lines) {
    text += l;
    text += '\n';
  }
  std::size_t put = 0;
  int err = 0;
  while (put < text.size()) {
    const ssize_t n = ::write(fd, text.data() + put, text.size() - put);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    put += static_cast<std::size_t>(n);
  }
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) {
    ::unlink(path.c_str());
    throw EInOutError(target, ErrnoText(err));
  }
}

std::vector<std::string> NewFileHeader(const std::string& name) {
  const std::string title = " Pavilore's log file for the player '" + name + "'";
  return {" -",
          title,
          " " + Dashes(static_cast<int>(title.size()) - 1),
          " -",
          StampedLine("Player's log file created."),
          " -"};
}

}  // namespace

std::string Dashes(int n) {
  if (n < 0) n = 0;
  if (n > 255) n = 255;
  return std::string(static_cast<std::size_t>(n), '-');
}

std::string LongTimeFormatWithoutZone(const std::string& format) {
  // Quoted text is literal: a 't' inside quotes is not the zone. A quote doubled
  // inside or outside quotes is a literal quote; the scan only has to stay in step.
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '\'') {
      quoted = !quoted;
      out += c;
      continue;
    }
    if (quoted || c != 't') {
      out += c;
      continue;
    }
    // The zone field (a run of 't'), with the spaces and brackets around it.
    while (i + 1 < format.size() && format[i + 1] == 't') ++i;
    while (!out.empty() && (out.back() == ' ' || out.back() == '(' || out.back() == '[')) out.pop_back();
    while (i + 1 < format.size() && (format[i + 1] == ' ' || format[i + 1] == ')' || format[i + 1] == ']')) ++i;
    // A zone in the middle leaves one space between its neighbours.
    if (!out.empty() && i + 1 < format.size()) out += ' ';
  }
  return out;
}

std::string StampedLine(const std::string& text) {
  const QLocale locale = QLocale::system();
  const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
  const QString timeFormat = QString::fromStdString(
      LongTimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat).toStdString()));
  const QString time = locale.toString(QTime::currentTime(), timeFormat);
  return " " + Utf8ToCp1252(date.toStdString()) + " " + Utf8ToCp1252(time.toStdString()) + " : " + text;
}

void ResetLogBuffer() {
  TLogBuffer& b = Buffer();
  b.Lines.clear();
  b.FailureShown = false;
}

int LogBufferCount() { return static_cast<int>(Buffer().Lines.size()); }

const std::string& LogBufferLine(int i) {
  const TLogBuffer& b = Buffer();
  if (i < 0 || i >= LogBufferCount()) return FreeSlot;
  return b.Lines[static_cast<std::size_t>(i)];
}

void LogLine(const std::string& text, bool stamped) {
  if (!App().Config.WriteLog) return;
  TLogBuffer& b = Buffer();
  // A full buffer is written first; while that fails, it is tried again each time
  // another LogBufferSize lines have come.
  if (!b.Lines.empty() && b.Lines.size() % LogBufferSize == 0) WritePlayerLog(App().Config.PlayerName.Str());
  b.Lines.push_back(stamped ? StampedLine(text) : text);
}

bool WritePlayerLog(const std::string& name) {
  try {
    FlushPlayerLog(name);
    return true;
  } catch (const EInOutError& e) {
    TLogBuffer& b = Buffer();
    if (!b.FailureShown) {
      b.FailureShown = true;
      ReportInOutError(e);
    }
    return false;
  }
}

std::string TypedPlayerNameProblem(const std::string& utf8) {
  // Each character on its own: a character that Windows-1252 has comes back unchanged.
  const QString typed = QString::fromStdString(utf8);
  for (qsizetype i = 0; i < typed.size();) {
    const qsizetype len = typed[i].isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
    const std::string one = typed.mid(i, len).toStdString();
    if (Cp1252ToUtf8(Utf8ToCp1252(one)) != one) {
      // The message box shows Windows-1252 text, so the character goes by its number.
      const QString code = QString::number(typed.mid(i, len).toUcs4().value(0), 16).toUpper().rightJustified(4, '0');
      return "Player's name can't contain the character U+" + code.toStdString() + ": it can't be stored.";
    }
    i += len;
  }
  return PlayerNameProblem(Utf8ToCp1252(utf8));
}

void FlushPlayerLog(const std::string& name) {
  if (!App().Config.WriteLog) return;
  const std::string folder = App().Path("\\Players");
  if (!FolderExists(folder)) {
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) throw EInOutError(folder, ErrnoText(errno));
  }
  const std::string scratch = App().Path(std::string("\\Players\\") + LogScratchName);
  const std::string unknown = App().Path(std::string("\\Players\\") + UnknownPlayerName);
  // A name that would leave the folder writes to the fallback file as its own.
  const std::string target =
      PlayerNameProblem(name).empty() ? App().Path("\\Players\\" + name + ".TXT") : unknown;

  std::vector<std::string> lines;
  if (FileExists(target)) {
    // Old lines are kept as they were, so none drifts to the right over the runs.
    lines = ReadLines(target);
  } else {
    lines = NewFileHeader(name);
  }
  TLogBuffer& b = Buffer();
  lines.insert(lines.end(), b.Lines.begin(), b.Lines.end());

  WriteScratch(scratch, target, lines);
  // The rename replaces the old file in one step: at every moment the player's file
  // is there, whole, the old one or the new one. When it cannot be put in place the
  // lines stay in the buffer for the next write.
  if (::rename(scratch.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(scratch.c_str());
    throw EInOutError(target, ErrnoText(err));
  }
  b.Lines.clear();
}

}  // namespace pav
