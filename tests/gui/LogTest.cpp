// The player's log: the buffer of 256 lines, the files in the "Players" folder,
// the header of a new player's file and the rewrite that keeps the old lines.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/ConfigValues.h"
#include "gui/TempInstallation.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"

namespace pav::test {
namespace {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App().AppFolder = Inst.Folder();
    App().Config.WriteLog = 1;
    App().Config.PlayerName.Assign("Tester");
    ResetLogBuffer();
  }
  std::vector<std::string> Players() const {
    QStringList names = QDir(QString::fromStdString(Inst.File("Players"))).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    std::vector<std::string> out;
    for (const auto& n : names) out.push_back(n.toStdString());
    return out;
  }
  TempInstallation Inst;
};

// ---- The buffer ----------------------------------------------------------------

TEST_F(LogTest, BufferKeepsLinesInOrderAndFreeSlotsReadHash) {
  EXPECT_EQ(LogBufferCount(), 0);
  EXPECT_EQ(LogBufferLine(0), "#");
  LogLine("first", false);
  LogLine("second", false);
  ASSERT_EQ(LogBufferCount(), 2);
  EXPECT_EQ(LogBufferLine(0), "first");
  EXPECT_EQ(LogBufferLine(1), "second");
  EXPECT_EQ(LogBufferLine(2), "#");
  EXPECT_EQ(LogBufferLine(255), "#");
  ResetLogBuffer();
  EXPECT_EQ(LogBufferCount(), 0);
  EXPECT_EQ(LogBufferLine(0), "#");
}

TEST_F(LogTest, StampedLineIsSpaceDateSpaceTimeColonText) {
  const std::string line = StampedLine("Game paused.");
  const std::string date = Utf8ToCp1252(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString());
  ASSERT_EQ(line.rfind(" " + date + " ", 0), 0u) << line;
  const std::string tail = " : Game paused.";
  ASSERT_GE(line.size(), tail.size());
  EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
  // The time sits between the date and the colon.
  EXPECT_GT(line.size(), 1 + date.size() + 1 + tail.size());

  LogLine("Game paused.", true);
  const std::string stored = LogBufferLine(0);
  EXPECT_EQ(stored.substr(stored.size() - tail.size()), tail);
  LogLine("plain", false);
  EXPECT_EQ(LogBufferLine(1), "plain");
}

TEST_F(LogTest, TheTimeOfAStampHasNoZone) {
  // In the tests' locale: hours, minutes and seconds, nothing after them.
  const std::string date = Utf8ToCp1252(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString());
  const std::string line = StampedLine("Game paused.");
  ASSERT_EQ(line.rfind(" " + date + " ", 0), 0u) << line;
  const std::string time = line.substr(date.size() + 2, line.size() - date.size() - 2 - std::string(" : Game paused.").size());
  const QRegularExpression clock(QStringLiteral("^\\d{1,2}:\\d{2}:\\d{2}( [AaPp][Mm])?$"));
  EXPECT_TRUE(clock.match(QString::fromStdString(time)).hasMatch()) << "[" << time << "]";

  // The formats of several locales, the zone before, after and inside brackets.
  const struct {
    const char* Format;
    const char* Expected;
  } formats[] = {
      {"HH:mm:ss t", "HH:mm:ss"},
      {"h:mm:ss AP t", "h:mm:ss AP"},
      {"t HH:mm:ss", "HH:mm:ss"},
      {"H:mm:ss (t)", "H:mm:ss"},
      {"HH:mm:ss tttt", "HH:mm:ss"},
      {"HH:mm:ss [t]", "HH:mm:ss"},
      {"HH 'h' mm 'min' ss 's' t", "HH 'h' mm 'min' ss 's'"},
      {"H:mm:ss '\xD1\x87'. t", "H:mm:ss '\xD1\x87'."},
      {"tah:mm:ss", "ah:mm:ss"},
      {"AP h:mm t ss", "AP h:mm ss"},
      {"'at' HH:mm:ss", "'at' HH:mm:ss"},
      {"HH:mm:ss 'o''t' t", "HH:mm:ss 'o''t'"},
      {"HH:mm:ss", "HH:mm:ss"},
  };
  for (const auto& f : formats) EXPECT_EQ(LongTimeFormatWithoutZone(f.Format), f.Expected) << f.Format;
  // And every locale Qt knows: its long time without the zone shows no zone name.
  const QTime noon(12, 34, 56);
  const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
  for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
    const QString format = QString::fromStdString(LongTimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat).toStdString()));
    const QString shown = locale.toString(noon, format);
    EXPECT_FALSE(shown.contains(QStringLiteral("UTC")) || shown.contains(QStringLiteral("GMT")) ||
                 (!zone.isEmpty() && shown.contains(zone)) || shown != shown.trimmed())
        << locale.name().toStdString() << " [" << shown.toStdString() << "]";
  }
}

TEST_F(LogTest, DashesAreClampedToTheStringRange) {
  EXPECT_EQ(Dashes(0), "");
  EXPECT_EQ(Dashes(3), "---");
  EXPECT_EQ(Dashes(-4), "");
  EXPECT_EQ(Dashes(300).size(), 255u);
}

TEST_F(LogTest, The257thLineFirstWritesThe256Buffered) {
  for (int i = 1; i <= LogBufferSize; ++i) LogLine("line " + std::to_string(i), false);
  EXPECT_EQ(LogBufferCount(), LogBufferSize);
  EXPECT_FALSE(Inst.Exists("Players/Tester.TXT"));

  LogLine("line 257", false);
  ASSERT_TRUE(Inst.Exists("Players/Tester.TXT"));
  const auto lines = Inst.ReadLines("Players/Tester.TXT");
  ASSERT_EQ(lines.size(), 6u + LogBufferSize);
  EXPECT_EQ(lines[6], "line 1");
  EXPECT_EQ(lines.back(), "line 256");
  ASSERT_EQ(LogBufferCount(), 1);
  EXPECT_EQ(LogBufferLine(0), "line 257");
}

TEST_F(LogTest, LoggingOffBuffersNothingAndWritesNothing) {
  LogLine("kept", false);
  App().Config.WriteLog = 0;
  LogLine("dropped", true);
  EXPECT_EQ(LogBufferCount(), 1);
  FlushPlayerLog("Tester");
  EXPECT_EQ(LogBufferCount(), 1);
  EXPECT_EQ(LogBufferLine(0), "kept");
  EXPECT_TRUE(Players().empty());
  // A full buffer is not written either.
  for (int i = 0; i < 300; ++i) LogLine("x", false);
  EXPECT_TRUE(Players().empty());
}

// ---- The files ----------------------------------------------------------------

TEST_F(LogTest, NewPlayersFileStartsWithTheHeader) {
  for (const std::string name : {"Bo", "TwelveChars!"}) {
    ResetLogBuffer();
    LogLine("Application Started.", true);
    LogLine(" -", false);
    FlushPlayerLog(name);
    const auto lines = Inst.ReadLines("Players/" + name + ".TXT");
    ASSERT_EQ(lines.size(), 8u) << name;
    EXPECT_EQ(lines[0], " -");
    EXPECT_EQ(lines[1], " Pavilore's log file for the player '" + name + "'");
    // The rule is a space and hyphens, exactly as long as the title.
    EXPECT_EQ(lines[2], " -------------------------------------" + Dashes(static_cast<int>(name.size())));
    EXPECT_EQ(lines[2].size(), lines[1].size());
    EXPECT_EQ(lines[3], " -");
    EXPECT_EQ(lines[4].rfind(' ', 0), 0u);
    EXPECT_NE(lines[4].find(" : Player's log file created."), std::string::npos);
    EXPECT_EQ(lines[5], " -");
    EXPECT_NE(lines[6].find(" : Application Started."), std::string::npos);
    EXPECT_EQ(lines[7], " -");
    EXPECT_EQ(LogBufferCount(), 0);
  }
  // No scratch file is left behind.
  EXPECT_FALSE(Inst.Exists(std::string("Players/") + LogScratchName));
}

TEST_F(LogTest, RewritesKeepOldLinesExactlyAsTheyWere) {
  // Run after run the file only grows at its end; no old line moves.
  std::vector<std::string> expected;
  for (int run = 1; run <= 5; ++run) {
    LogLine(" -", false);
    LogLine("run " + std::to_string(run), true);
    LogLine("plain " + std::to_string(run), false);
    const std::vector<std::string> batch = {LogBufferLine(0), LogBufferLine(1), LogBufferLine(2)};
    FlushPlayerLog("Ann");
    const auto lines = Inst.ReadLines("Players/Ann.TXT");
    if (run == 1) {
      ASSERT_EQ(lines.size(), 9u);
      expected.assign(lines.begin(), lines.begin() + 6);  // the header
      EXPECT_EQ(expected[0], " -");
      EXPECT_EQ(expected[1], " Pavilore's log file for the player 'Ann'");
    }
    expected.insert(expected.end(), batch.begin(), batch.end());
    ASSERT_EQ(lines, expected) << "after run " << run;
  }
}

TEST_F(LogTest, OldLinesEndingInCarriageReturnsAreKeptOneByOne) {
  Inst.WriteBytes("Players/Win.TXT", "one\r\ntwo\rthree\n\nfive");
  LogLine("six", false);
  FlushPlayerLog("Win");
  const auto lines = Inst.ReadLines("Players/Win.TXT");
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "", "five", "six"}));
}

TEST_F(LogTest, NamesThatWouldLeaveThePlayersFolderAreRefused) {
  const struct {
    std::string Name;
    std::string Message;  // "" when the name is a file name of its own
  } cases[] = {
      {"../escape", "Player's name can't begin with a dot."},
      {"a/b", "Player's name can't contain '/' or '\\'."},
      {"a\\b", "Player's name can't contain '/' or '\\'."},
      {"..", "Player's name can't begin with a dot."},
      {".hidden", "Player's name can't begin with a dot."},
      {"x..y", "Player's name can't contain '..'."},
      {"bad\x01name", "Player's name can't contain control characters (such as a tab)."},
      {"del\x7f", "Player's name can't contain control characters (such as a tab)."},
      {"", "Player's name can't be empty."},
      {" Ann", "Player's name can't begin or end with a space."},
      {"Ann ", "Player's name can't begin or end with a space."},
      {" ", "Player's name can't begin or end with a space."},
      {"Ann", ""},
      {"Jean-Luc", ""},
      {"O'Brien", ""},
      {"d.a.n", ""},
      {"Zo\xEB 2", ""},
      {"Ann.", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PlayerNameProblem(c.Name), c.Message) << c.Name;
  // As typed: what Windows-1252 cannot hold is refused by its number; what it holds
  // goes on to the 8-bit rule.
  EXPECT_EQ(TypedPlayerNameProblem("\xE5\x90\x8D"), "Player's name can't contain the character U+540D: it can't be stored.");
  EXPECT_EQ(TypedPlayerNameProblem("Ann\xF0\x9F\x98\x80"),
            "Player's name can't contain the character U+1F600: it can't be stored.");
  EXPECT_EQ(TypedPlayerNameProblem("\xE2\x82\xAC uro"), "");  // the euro sign is in the code page
  EXPECT_EQ(TypedPlayerNameProblem("Zo\xC3\xAB"), "");
  EXPECT_EQ(TypedPlayerNameProblem("a/\xC3\xAB"), "Player's name can't contain '/' or '\\'.");

  const std::string parent = Inst.Folder();
  for (const std::string name : {"../escape", "../../escape", "a/b", "sub\\..\\..\\x", ".hidden"}) {
    LogLine("line for " + name, false);
    FlushPlayerLog(name);
    EXPECT_EQ(LogBufferCount(), 0);
  }
  // Everything went to the fallback file, one batch after the other.
  EXPECT_EQ(Players(), (std::vector<std::string>{UnknownPlayerName}));
  const auto lines = Inst.ReadLines(std::string("Players/") + UnknownPlayerName);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "line for .hidden");
  EXPECT_FALSE(Inst.Exists("escape.TXT"));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(parent + "/../escape.TXT")));
  EXPECT_FALSE(Inst.Exists("Players/a"));
}

TEST_F(LogTest, AFailedWriteIsShownOnceAndItsLinesWaitForTheNextWrite) {
  const std::string file = Inst.File("Players/Tester.TXT");
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const struct {
    const char* What;
    int Errno;  // the reason the box gives
    std::function<void()> Break;
    std::function<void()> Mend;
    bool NeedsAUser = false;  // root writes into a read-only folder all the same
  } cases[] = {
      {"a folder under the player's file's name", EISDIR, [&] { ::mkdir(file.c_str(), 0777); },
       [&] { ::rmdir(file.c_str()); }},
      {"a file named Players", ENOTDIR,
       [&] {
         QDir(QString::fromStdString(Inst.File("Players"))).removeRecursively();
         Inst.WriteBytes("Players", "not a folder");
       },
       [&] { Inst.Remove("Players"); }},
      {"a full disk", EFBIG,
       [&] {
         struct rlimit small = saved;
         small.rlim_cur = 100;
         ::setrlimit(RLIMIT_FSIZE, &small);
       },
       [&] { ::setrlimit(RLIMIT_FSIZE, &saved); }},
      {"a read-only Players folder", EACCES, [&] { ::chmod(Inst.File("Players").c_str(), 0555); },
       [&] { ::chmod(Inst.File("Players").c_str(), 0755); }, true},
  };
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  for (const auto& c : cases) {
    if (c.NeedsAUser && ::geteuid() == 0) continue;
    SCOPED_TRACE(c.What);
    ResetLogBuffer();
    Inst.Remove("Players/Tester.TXT");
    MessageCatcher messages;
    c.Break();
    // The game's writes: a player's change, two full buffers, the exit.
    std::vector<std::string> written;
    auto log = [&](int n) {
      for (int i = 0; i < n; ++i) {
        written.push_back("line " + std::to_string(written.size() + 1));
        LogLine(written.back(), false);
      }
    };
    log(3);
    EXPECT_FALSE(WritePlayerLog("Tester"));
    log(2 * LogBufferSize + 5);
    EXPECT_FALSE(WritePlayerLog("Tester"));
    c.Mend();
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Text(), "Input/output error on the file '" + file + "' : " + std::strerror(c.Errno) + ".");
    EXPECT_EQ(messages.Icon(), TMessageIcon::Error);
    ASSERT_EQ(LogBufferCount(), static_cast<int>(written.size()));
    EXPECT_EQ(LogBufferLine(0), "line 1");
    EXPECT_EQ(LogBufferLine(LogBufferCount() - 1), written.back());

    // The problem gone, the next write puts every kept line in the file, in order.
    ASSERT_TRUE(WritePlayerLog("Tester"));
    EXPECT_EQ(LogBufferCount(), 0);
    auto lines = Inst.ReadLines("Players/Tester.TXT");
    ASSERT_EQ(lines.size(), 6u + written.size());
    lines.erase(lines.begin(), lines.begin() + 6);
    EXPECT_EQ(lines, written);
    EXPECT_FALSE(Inst.Exists(std::string("Players/") + LogScratchName));
    EXPECT_FALSE(Inst.Exists(std::string("Players/") + UnknownPlayerName));
    EXPECT_EQ(messages.Messages.size(), 1u);
  }
  std::signal(SIGXFSZ, previous);
}

TEST_F(LogTest, ThePlayersFileIsReplacedByOneRenameNeverEmptiedOrDeleted) {
  Inst.WriteBytes("Players/Tester.TXT", "old line\n");
  // Another name for the old file: it keeps what the old file held.
  const std::string other = Inst.File("old link.TXT");
  ASSERT_EQ(::link(Inst.File("Players/Tester.TXT").c_str(), other.c_str()), 0);
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, Inst.File("Players").c_str(), IN_DELETE | IN_MODIFY | IN_MOVED_TO),
            0);
  LogLine("new line", false);
  FlushPlayerLog("Tester");

  // What happened to the entry "Tester.TXT" in the folder.
  std::vector<std::string> events;
  alignas(inotify_event) char buf[8192];
  ssize_t n;
  while ((n = ::read(watch, buf, sizeof buf)) > 0) {
    for (char* p = buf; p < buf + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      if (e->len > 0 && std::string(e->name) == "Tester.TXT") {
        if (e->mask & IN_DELETE) events.push_back("deleted");
        if (e->mask & IN_MODIFY) events.push_back("written in place");
        if (e->mask & IN_MOVED_TO) events.push_back("renamed over");
      }
      p += sizeof(inotify_event) + e->len;
    }
  }
  ::close(watch);
  EXPECT_EQ(events, std::vector<std::string>{"renamed over"});
  EXPECT_EQ(Inst.ReadBytes("old link.TXT"), "old line\n");
  EXPECT_EQ(Inst.ReadLines("Players/Tester.TXT"), (std::vector<std::string>{"old line", "new line"}));
}

TEST_F(LogTest, AScratchFileLinkIsReplacedNotFollowed) {
  const std::string outside = Inst.File("outside.txt");
  Inst.WriteBytes("outside.txt", "precious\n");
  ASSERT_EQ(::symlink(outside.c_str(), Inst.File(std::string("Players/") + LogScratchName).c_str()), 0);
  LogLine("line", false);
  FlushPlayerLog("Tester");
  EXPECT_EQ(Inst.ReadBytes("outside.txt"), "precious\n");
  EXPECT_EQ(Inst.ReadLines("Players/Tester.TXT").back(), "line");
}

TEST_F(LogTest, AMissingPlayersFolderIsCreated) {
  QDir(QString::fromStdString(Inst.File("Players"))).removeRecursively();
  LogLine("line", false);
  FlushPlayerLog("Tester");
  EXPECT_EQ(Inst.ReadLines("Players/Tester.TXT").back(), "line");
}

TEST_F(LogTest, AFailedFlushRaisesAnInOutErrorOnThePlayersFileAndShowsNothing) {
  // "Players" is a file: nothing can be written into it.
  QDir(QString::fromStdString(Inst.File("Players"))).removeRecursively();
  Inst.WriteBytes("Players", "not a folder");
  MessageCatcher messages;
  LogLine("kept", false);
  try {
    FlushPlayerLog("Tester");
    ADD_FAILURE() << "no EInOutError";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.File, Inst.File("Players/Tester.TXT"));
    EXPECT_EQ(e.Reason, std::strerror(ENOTDIR));
  }
  ASSERT_EQ(LogBufferCount(), 1);
  EXPECT_EQ(LogBufferLine(0), "kept");
  EXPECT_TRUE(messages.Empty());
}

}  // namespace
}  // namespace pav::test
