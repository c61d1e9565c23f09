// The platform helpers under the game files: whole-record files, the mapping of
// the game's case-insensitive paths, and the 8-bit text of the game's strings.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/Text.h"

using namespace pav;
namespace fs = std::filesystem;

namespace {

class TempDir {
 public:
  TempDir() {
    std::string t = (fs::temp_directory_path() / "pavilore-platform-XXXXXX").string();
    if (!::mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
    Path = t;
  }
  ~TempDir() {
    std::error_code ec;
    // A test may leave a folder read-only; open everything again before removing.
    for (auto it = fs::recursive_directory_iterator(Path, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
      if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& rel) const { return Path + "/" + rel; }
  std::string Path;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<unsigned char> v(n);
  for (auto& b : v) b = static_cast<unsigned char>(rng());
  return v;
}

std::string AsString(const std::vector<unsigned char>& v) { return std::string(v.begin(), v.end()); }

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `body` in a child process that, when we run as root, first becomes an
// unprivileged user: root passes every permission check, so a test of a
// protected file or folder means nothing as root. The body answers "" when all
// went as expected, else what went wrong; a child that cannot drop its
// privileges answers "skip".
std::string RunUnprivileged(const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  const pid_t pid = ::fork();
  if (pid < 0) return "fork failed";
  if (pid == 0) {
    ::close(fds[0]);
    std::string answer;
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      answer = "skip";
    } else {
      try {
        answer = body();
      } catch (const std::exception& e) {
        answer = std::string("unexpected exception: ") + e.what();
      }
    }
    const ssize_t n = ::write(fds[1], answer.data(), answer.size());
    ::_exit(n == static_cast<ssize_t>(answer.size()) ? 0 : 1);
  }
  ::close(fds[1]);
  std::string answer;
  char buf[256];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0) answer.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child process failed: " + answer;
  return answer;
}

// What WriteRecordFile of `bytes` to `path` raised, "" when it raised nothing.
std::string WriteError(const std::string& path, const std::vector<unsigned char>& bytes) {
  try {
    WriteRecordFile(path, bytes.data(), bytes.size());
  } catch (const EInOutError& e) {
    if (e.File != path) return "EInOutError names " + e.File;
    return e.what();
  }
  return "";
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading one record

TEST(ReadRecordFile, ReadsTheFirstRecordAndIgnoresTheRest) {
  TempDir dir;
  const auto record = RandomBytes(772, 1);
  WriteAll(dir / "x.CFG", AsString(record) + "trailing bytes of a longer file");
  std::vector<unsigned char> got(772, 0);
  ReadRecordFile(dir / "x.CFG", got.data(), got.size());
  EXPECT_EQ(got, record);
}

TEST(ReadRecordFile, MissingShortOrUnreadableFilesRaiseAndLeaveTheRecordUntouched) {
  TempDir dir;
  WriteAll(dir / "short.BRD", AsString(RandomBytes(99, 2)));
  WriteAll(dir / "empty.BRD", "");
  fs::create_directory(dir / "folder.BRD");
  for (const std::string name : {"missing.BRD", "short.BRD", "empty.BRD", "folder.BRD"}) {
    SCOPED_TRACE(name);
    const std::string path = dir / name;
    std::vector<unsigned char> got(100, 0xA5);
    try {
      ReadRecordFile(path, got.data(), got.size());
      ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.File, path);
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      EXPECT_FALSE(e.Reason.empty());
    }
    EXPECT_EQ(got, std::vector<unsigned char>(100, 0xA5));
  }
}

// ---------------------------------------------------------------------------
// Writing one record

TEST(WriteRecordFile, ReplacesTheWholeFileWithTheRecord) {
  TempDir dir;
  const std::string path = dir / "x.PZZ";
  WriteAll(path, AsString(RandomBytes(9000, 3)));  // an older, longer file
  const auto record = RandomBytes(4676, 4);
  WriteRecordFile(path, record.data(), record.size());
  EXPECT_EQ(ReadAll(path), AsString(record));
  EXPECT_EQ(Entries(dir.Path), std::vector<std::string>{"x.PZZ"});

  // A new file in an existing folder.
  WriteRecordFile(dir / "new.PZZ", record.data(), record.size());
  EXPECT_EQ(ReadAll(dir / "new.PZZ"), AsString(record));
  EXPECT_EQ(Entries(dir.Path), (std::vector<std::string>{"new.PZZ", "x.PZZ"}));
}

TEST(WriteRecordFile, KeepsThePermissionsOfAnExistingFile) {
  TempDir dir;
  const std::string path = dir / "x.BRD";
  WriteAll(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const auto record = RandomBytes(64, 5);
  WriteRecordFile(path, record.data(), record.size());
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A new file gets what the process's umask allows, not a private temporary's 0600.
  const mode_t old = ::umask(022);
  WriteRecordFile(dir / "new.BRD", record.data(), record.size());
  ::umask(old);
  ASSERT_EQ(::stat((dir / "new.BRD").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(WriteRecordFile, AFailedWriteRaisesAndLeavesTheOldFileWholeWithoutLeftovers) {
  TempDir dir;
  const auto old = RandomBytes(300, 6);
  const auto record = RandomBytes(15736, 7);

  // A folder that does not exist, and a "folder" that is a file.
  WriteAll(dir / "plain", AsString(old));
  for (const std::string& path : {dir / "Missing Folder/x.BRD", dir / "plain/x.BRD"}) {
    SCOPED_TRACE(path);
    const std::string err = WriteError(path, record);
    EXPECT_NE(err.find(path), std::string::npos) << err;
  }
  EXPECT_EQ(ReadAll(dir / "plain"), AsString(old));

  // A folder standing where the file should be: the final rename fails.
  fs::create_directory(dir / "folder.BRD");
  EXPECT_FALSE(WriteError(dir / "folder.BRD", record).empty());
  EXPECT_TRUE(fs::is_directory(dir / "folder.BRD"));

  // The disk refuses the data half-way (a file size limit below the record size).
  const std::string path = dir / "x.BRD";
  WriteAll(path, AsString(old));
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string err = WriteError(path, record);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_NE(err.find(path), std::string::npos) << err;
  EXPECT_EQ(ReadAll(path), AsString(old));

  EXPECT_EQ(Entries(dir.Path), (std::vector<std::string>{"folder.BRD", "plain", "x.BRD"}));
}

TEST(WriteRecordFile, AReadOnlyFolderOrFileIsNotWritten) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.Path.c_str(), 0755), 0);
  const auto old = RandomBytes(200, 8);
  const auto record = RandomBytes(772, 9);

  // A folder nobody may write into, holding a writable file.
  const std::string roFolder = dir / "ro";
  fs::create_directory(roFolder);
  WriteAll(roFolder + "/x.CFG", AsString(old));
  ASSERT_EQ(::chmod((roFolder + "/x.CFG").c_str(), 0666), 0);
  ASSERT_EQ(::chmod(roFolder.c_str(), 0555), 0);

  // A folder everybody may write into, holding a file nobody may write.
  const std::string rwFolder = dir / "rw";
  fs::create_directory(rwFolder);
  ASSERT_EQ(::chmod(rwFolder.c_str(), 0777), 0);
  WriteAll(rwFolder + "/x.CFG", AsString(old));
  ASSERT_EQ(::chmod((rwFolder + "/x.CFG").c_str(), 0444), 0);

  const std::string answer = RunUnprivileged([&]() -> std::string {
    for (const std::string& path : {roFolder + "/x.CFG", rwFolder + "/x.CFG"}) {
      const std::string err = WriteError(path, record);
      if (err.find(path) == std::string::npos) return path + ": expected an EInOutError naming it, got '" + err + "'";
      if (ReadAll(path) != AsString(old)) return path + ": the old file was changed";
    }
    if (Entries(rwFolder) != std::vector<std::string>{"x.CFG"}) return "a temporary file was left behind";
    return "";
  });
  if (answer == "skip") GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_EQ(answer, "");
}

// ---------------------------------------------------------------------------
// Leftovers of interrupted writes

namespace {

// Dates the entry back an hour, links included, so the sweep treats it as old.
void Age(const std::string& path) {
  const struct timespec times[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

}  // namespace

TEST(RemoveWriteLeftovers, TakesOnlyOldTemporaryFilesOfTheGamesRecords) {
  enum Kind { File, Folder, Link, FreshFile };
  const struct {
    const char* Name;
    Kind What;
    bool Removed;
  } cases[] = {
      {"Pavilore.CFG.a1B2c3", File, true},
      {"One Move.PZZ.Xy7Qz0", File, true},
      {"Classic.BRD.000000", File, true},
      {"The Tour.CPN.AbCdEf", File, true},
      {"2026-12-09 10.15 Ann.SGM.q9W8e7", File, true},
      {"lower.brd.k2J3h4", File, true},
      {"Pavilore.CFG", File, false},
      {"notes.CFG.backup", File, false},
      {"notes.CFG.BACKUP", File, false},
      {"Pavilore.CFG.12345", File, false},
      {"Pavilore.CFG.1234567", File, false},
      {"Pavilore.CFG.a1-B2c", File, false},
      {"Pavilore.TXT.a1B2c3", File, false},
      {"Pavilore.JPG.a1B2c3", File, false},
      {".CFG.a1B2c3", File, false},
      {"CFG.a1B2c3", File, false},
      {"Pavilore.CFGa1B2c3", File, false},
      {"Folder.BRD.a1B2c3", Folder, false},
      {"Link.BRD.a1B2c3", Link, false},
      {"Busy.BRD.a1B2c3", FreshFile, false},
  };
  TempDir dir;
  WriteAll(dir / "target", "the link's target");
  std::vector<std::string> expected = {"target"};
  for (const auto& c : cases) {
    const std::string path = dir / c.Name;
    if (c.What == Folder) fs::create_directory(path);
    else if (c.What == Link) fs::create_symlink(dir / "target", path);
    else WriteAll(path, c.Name);
    if (c.What != FreshFile) Age(path);
    if (!c.Removed) expected.push_back(c.Name);
  }
  std::sort(expected.begin(), expected.end());
  RemoveWriteLeftovers(dir.Path);
  EXPECT_EQ(Entries(dir.Path), expected);
  EXPECT_EQ(ReadAll(dir / "target"), "the link's target");

  // A folder that is missing, or a link to a folder, is left alone.
  RemoveWriteLeftovers(dir / "Missing");
  fs::create_directory(dir / "real");
  WriteAll(dir / "real/x.BRD.a1B2c3", "leftover");
  Age(dir / "real/x.BRD.a1B2c3");
  fs::create_directory_symlink(dir / "real", dir / "linked");
  RemoveWriteLeftovers(dir / "linked");
  EXPECT_TRUE(fs::exists(dir / "real/x.BRD.a1B2c3"));
}

TEST(RemoveWriteLeftovers, TakesWhatAKilledWriteLeft) {
  // Each write is stopped half-way by the file size limit's signal, as by a kill:
  // the temporary file stays beside the old one, under a name the sweep knows.
  TempDir dir;
  const std::string path = dir / "Pavilore.CFG";
  const auto old = RandomBytes(300, 10);
  const auto record = RandomBytes(15736, 11);
  WriteAll(path, AsString(old));
  for (int run = 0; run < 40; ++run) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const struct rlimit noCore {0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      struct rlimit small {};
      ::getrlimit(RLIMIT_FSIZE, &small);
      small.rlim_cur = 1000;
      ::setrlimit(RLIMIT_FSIZE, &small);
      std::signal(SIGXFSZ, SIG_DFL);
      try {
        WriteRecordFile(path, record.data(), record.size());
      } catch (...) {
      }
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "run " << run;
  }
  const auto names = Entries(dir.Path);
  ASSERT_EQ(names.size(), 41u);
  for (const auto& n : names) Age(dir / n);
  RemoveWriteLeftovers(dir.Path);
  EXPECT_EQ(Entries(dir.Path), std::vector<std::string>{"Pavilore.CFG"});
  EXPECT_EQ(ReadAll(path), AsString(old));
}

// ---------------------------------------------------------------------------
// Game paths

TEST(GamePath, MatchesEachComponentWithoutRegardToCase) {
  TempDir dir;
  fs::create_directories(dir / "boards");
  WriteAll(dir / "boards/ABC.brd", "b");
  EXPECT_EQ(GamePath(dir.Path, "\\Boards\\abc.BRD"), dir / "boards/ABC.brd");
  EXPECT_EQ(GamePath(dir.Path, "/BOARDS/Abc.Brd"), dir / "boards/ABC.brd");

  // Folders several levels down, with spaces in their names.
  fs::create_directories(dir / "PUZZLES/campaign levels");
  WriteAll(dir / "PUZZLES/campaign levels/Level One.pzz", "p");
  EXPECT_EQ(GamePath(dir.Path, "\\Puzzles\\Campaign Levels\\LEVEL ONE.PZZ"),
            dir / "PUZZLES/campaign levels/Level One.pzz");
}

TEST(GamePath, AnExactMatchWins) {
  TempDir dir;
  fs::create_directories(dir / "Boards");
  fs::create_directories(dir / "boards");
  WriteAll(dir / "Boards/abc.BRD", "exact");
  WriteAll(dir / "Boards/ABC.brd", "other case");
  WriteAll(dir / "boards/abc.BRD", "other folder");
  EXPECT_EQ(GamePath(dir.Path, "\\Boards\\abc.BRD"), dir / "Boards/abc.BRD");
  EXPECT_EQ(GamePath(dir.Path, "\\boards\\abc.BRD"), dir / "boards/abc.BRD");
}

TEST(GamePath, KeepsMissingComponentsAsGiven) {
  TempDir dir;
  EXPECT_EQ(GamePath(dir.Path, "\\Saved Games\\a b.SGM"), dir / "Saved Games/a b.SGM");
  // An existing folder in another case is used; the missing file keeps its name.
  fs::create_directories(dir / "saved games");
  EXPECT_EQ(GamePath(dir.Path, "\\Saved Games\\a b.SGM"), dir / "saved games/a b.SGM");
  // An empty installation folder starts at the root.
  EXPECT_EQ(GamePath("", "\\System\\No Such Pavilore Folder\\Pavilore.CFG"),
            "/System/No Such Pavilore Folder/Pavilore.CFG");
}

// The game's names are Windows-1252; the files on the disk are named in UTF-8.
TEST(GamePath, AWindows1252NameFindsItsUtf8FileAndABytewiseOneOnlyWhenNoneExists) {
  TempDir dir;
  fs::create_directories(dir / "Boards");
  // "Zoë" in Windows-1252 names the UTF-8 file, existing or not (a new file is made so).
  EXPECT_EQ(GamePath(dir.Path, "\\Boards\\Zo\xEB.BRD"), dir / "Boards/Zo\xC3\xAB.BRD");
  WriteAll(dir / "Boards/Zo\xEB.BRD", "bytes as stored");
  EXPECT_EQ(GamePath(dir.Path, "\\Boards\\Zo\xEB.BRD"), dir / "Boards/Zo\xEB.BRD");
  WriteAll(dir / "Boards/Zo\xC3\xAB.BRD", "utf-8");
  EXPECT_EQ(GamePath(dir.Path, "\\Boards\\Zo\xEB.BRD"), dir / "Boards/Zo\xC3\xAB.BRD");
  // A name stored as UTF-8 bytes by an older configuration still finds its file.
  EXPECT_EQ(GamePath(dir.Path, "\\Boards\\Zo\xC3\xAB.BRD"), dir / "Boards/Zo\xC3\xAB.BRD");
}

TEST(Text, AFileNameIsAGameNameOnlyWhenWindows1252HoldsEveryCharacter) {
  const struct {
    const char* File;
    bool Held;
    const char* Name;
  } cases[] = {
      {"Plain", true, "Plain"},
      {"Zo\xC3\xAB", true, "Zo\xEB"},
      {"\xE2\x82\xAC 5", true, "\x80 5"},           // the euro sign
      {"\xCE\xB1\xCE\xB2", false, nullptr},          // Greek letters
      {"Zo\xEB", false, nullptr},                     // not UTF-8 at all
  };
  for (const auto& c : cases) {
    std::string name;
    EXPECT_EQ(GameNameOfFile(c.File, name), c.Held) << c.File;
    if (c.Held) {
      EXPECT_EQ(name, c.Name) << c.File;
    }
  }
}

TEST(ResolvePath, ResolvesRelativePaths) {
  TempDir dir;
  fs::create_directories(dir / "Music");
  WriteAll(dir / "Music/Tune.MID", "m");
  const fs::path cwd = fs::current_path();
  fs::current_path(dir.Path);
  const std::string resolved = ResolvePath("music/TUNE.mid");
  fs::current_path(cwd);
  EXPECT_EQ(resolved, "Music/Tune.MID");
}

TEST(ListFiles, FiltersByExtensionWithoutRegardToCaseAndSorts) {
  TempDir dir;
  for (const char* n : {"b.BRD", "a.brd", "C.Brd", "puzzle.PZZ", "x.BRDX", "BRD", "c.BRD.tmp"})
    WriteAll(dir / n, "x");
  fs::create_directory(dir / "folder.BRD");
  EXPECT_EQ(ListFiles(dir.Path, ".BRD"), (std::vector<std::string>{"a.brd", "b.BRD", "C.Brd"}));
  EXPECT_EQ(ListFiles(dir.Path, ".pzz"), std::vector<std::string>{"puzzle.PZZ"});
  EXPECT_TRUE(ListFiles(dir / "Missing", ".BRD").empty());
}

TEST(ListFiles, SortsAlphabeticallyWithoutRegardToCase) {
  TempDir dir;
  for (const char* n : {"zeta.MID", "Alpha.MID", "beta.MID", "Gamma.MID"}) WriteAll(dir / n, "x");
  EXPECT_EQ(ListFiles(dir.Path, ".MID"),
            (std::vector<std::string>{"Alpha.MID", "beta.MID", "Gamma.MID", "zeta.MID"}));
}

TEST(SameTextIgnoringCase, ComparesLettersWithoutCase) {
  EXPECT_TRUE(SameTextIgnoringCase("Campaign Levels", "CAMPAIGN levels"));
  EXPECT_FALSE(SameTextIgnoringCase("Boards", "Board"));
  EXPECT_FALSE(SameTextIgnoringCase("a-b", "a_b"));
}

// ---------------------------------------------------------------------------
// Windows-1252 text

namespace {
// The characters of bytes 0x80..0x9F, as UTF-8; "" where the byte is unassigned.
const char* const Cp1252High[32] = {
    "€", "",  "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š", "‹", "Œ", "", "Ž", "",
    "",  "‘", "’", "“", "”", "•", "–", "—", "˜", "™", "š", "›", "œ", "", "ž", "Ÿ",
};
}  // namespace

TEST(Text, MapsTheUpperHalfOfWindows1252) {
  for (int b = 0x80; b <= 0x9F; ++b) {
    SCOPED_TRACE(b);
    const std::string byte(1, static_cast<char>(b));
    const std::string expected = Cp1252High[b - 0x80];
    if (!expected.empty()) {
      EXPECT_EQ(Cp1252ToUtf8(byte), expected);
    }
  }
  // 0xA0..0xFF are the Latin-1 characters of the same number.
  EXPECT_EQ(Cp1252ToUtf8("\xA0"), "\u00A0");
  EXPECT_EQ(Cp1252ToUtf8("\xA9"), "©");
  EXPECT_EQ(Cp1252ToUtf8("\xC9t\xE9"), "Été");
  EXPECT_EQ(Cp1252ToUtf8("\xDF\xFF"), "ßÿ");
  EXPECT_EQ(Cp1252ToUtf8("Plain ASCII ~"), "Plain ASCII ~");
  for (int b = 0xA0; b <= 0xFF; ++b) {
    const std::string u = Cp1252ToUtf8(std::string(1, static_cast<char>(b)));
    ASSERT_EQ(u.size(), 2u) << b;
    EXPECT_EQ(((static_cast<unsigned char>(u[0]) & 0x1F) << 6) | (static_cast<unsigned char>(u[1]) & 0x3F), b);
  }
}

TEST(Text, EveryByteComesBackUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  for (int b = 0x80; b <= 0x9F; ++b) {
    if (*Cp1252High[b - 0x80]) {
      EXPECT_EQ(Utf8ToCp1252(Cp1252High[b - 0x80]), std::string(1, static_cast<char>(b)));
    }
  }
}

TEST(Text, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\u0100b"), "a?b");         // Ā
  EXPECT_EQ(Utf8ToCp1252("\u4E2D\u6587"), "??");      // two characters of three bytes
  EXPECT_EQ(Utf8ToCp1252("x\U0001F600y"), "x?y");     // four bytes
  EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");          // the control U+0080: its byte means €
  EXPECT_EQ(Utf8ToCp1252("caf\u00E9 \u20AC5"), "caf\xE9 \x80" "5");
}

TEST(Text, InvalidUtf8IsTakenByteByByte) {
  // A lead byte that is not followed by continuation bytes does not swallow the next characters.
  EXPECT_EQ(Utf8ToCp1252("\xC3" "AB"), "\xC3" "AB");
  EXPECT_EQ(Utf8ToCp1252("\xE2" "abc"), "\xE2" "abc");
  EXPECT_EQ(Utf8ToCp1252("\xF0" "abcd"), "\xF0" "abcd");
  // A sequence cut off at the end of the text.
  EXPECT_EQ(Utf8ToCp1252("ok\xC3"), "ok\xC3");
}
