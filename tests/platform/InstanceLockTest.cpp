// The lock of a data folder: one holder at a time across processes, released by the
// kernel however the holder ends, a left-over lock file taken over, and a folder
// where no lock file can be made told apart from a folder that is taken.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/InstanceLock.h"
#include "platform/LockHolder.h"

using namespace pav;
using pav::test::TLockHolder;
namespace fs = std::filesystem;

extern char** environ;

namespace {

class LockFolder {
 public:
  LockFolder() {
    std::string t = (fs::temp_directory_path() / "pavilore-lock-XXXXXX").string();
    if (!::mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
    Path = t;
  }
  ~LockFolder() {
    std::error_code ec;
    fs::permissions(Path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Path, ec);
  }
  LockFolder(const LockFolder&) = delete;
  LockFolder& operator=(const LockFolder&) = delete;
  std::string operator/(const std::string& rel) const { return Path + "/" + rel; }
  std::string Path;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// What a try of the lock of `folder` got in a child process that runs as an
// unprivileged user (root passes every permission check); nothing when the child
// could not drop its privileges.
std::optional<TLockOutcome> TakeUnprivileged(const std::string& folder) {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    char got = 'x';
    if (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
      TInstanceLock lock;
      got = static_cast<char>(lock.Take(folder));
    }
    (void)!::write(fds[1], &got, 1);
    ::_exit(0);
  }
  ::close(fds[1]);
  char got = 'x';
  const bool read = ::read(fds[0], &got, 1) == 1;
  ::close(fds[0]);
  ::waitpid(pid, nullptr, 0);
  if (!read || got == 'x') return std::nullopt;
  return static_cast<TLockOutcome>(got);
}

}  // namespace

TEST(InstanceLock, OneHolderAtATimeAndTheKernelFreesTheFolderHoweverTheHolderEnds) {
  for (const int endSignal : {0, SIGKILL}) {
    SCOPED_TRACE(endSignal == 0 ? "orderly exit" : "killed");
    LockFolder dir;
    TInstanceLock mine;
    TLockHolder other(dir.Path);
    ASSERT_EQ(other.Outcome(), TLockOutcome::Taken);
    const std::string lockFile = dir / InstanceLockName;
    struct stat before {};
    ASSERT_EQ(::stat(lockFile.c_str(), &before), 0);

    EXPECT_EQ(mine.Take(dir.Path), TLockOutcome::HeldElsewhere);
    EXPECT_FALSE(mine.Held());
    EXPECT_TRUE(mine.Folder().empty());
    // The refused try left the file as it was.
    struct stat after {};
    ASSERT_EQ(::stat(lockFile.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_size, 0);
    EXPECT_EQ(Entries(dir.Path), std::vector<std::string>{InstanceLockName});

    other.End(endSignal);
    ASSERT_EQ(mine.Take(dir.Path), TLockOutcome::Taken);
    EXPECT_TRUE(mine.Held());
    EXPECT_EQ(mine.Folder(), dir.Path);

    // Now the other way round, and free again once let go.
    EXPECT_EQ(TLockHolder(dir.Path).Outcome(), TLockOutcome::HeldElsewhere);
    mine.Release();
    EXPECT_FALSE(mine.Held());
    EXPECT_EQ(TLockHolder(dir.Path).Outcome(), TLockOutcome::Taken);
  }
}

TEST(InstanceLock, ALeftOverLockFileIsTakenOverAsItIs) {
  // Written by a copy that was killed, whatever its name's case; no second file is made.
  for (const char* name : {"Pavilore.lock", "PAVILORE.LOCK"}) {
    SCOPED_TRACE(name);
    LockFolder dir;
    { std::ofstream(dir / name) << "4242\n"; }
    TInstanceLock mine;
    ASSERT_EQ(mine.Take(dir.Path), TLockOutcome::Taken);
    EXPECT_EQ(Entries(dir.Path), std::vector<std::string>{name});
    EXPECT_EQ(ReadAll(dir / name), "4242\n");
    EXPECT_EQ(TLockHolder(dir.Path).Outcome(), TLockOutcome::HeldElsewhere);
  }
}

TEST(InstanceLock, AFolderWithoutRoomForTheLockFileIsUnavailableNotTaken) {
  LockFolder dir;
  fs::create_directory(dir / "Taken by a folder");
  fs::create_directory(dir / "Taken by a folder/" + InstanceLockName);
  const struct {
    std::string Folder;
    const char* Why;
  } cases[] = {
      {dir / "Missing", "No such file"},
      {dir / "Taken by a folder", "Is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    TInstanceLock mine;
    EXPECT_EQ(mine.Take(c.Folder), TLockOutcome::Unavailable);
    EXPECT_FALSE(mine.Held());
    EXPECT_NE(mine.Failure().find(c.Folder + "/" + InstanceLockName), std::string::npos) << mine.Failure();
    EXPECT_NE(mine.Failure().find(c.Why), std::string::npos) << mine.Failure();
  }
  EXPECT_FALSE(fs::exists(dir / "Missing"));
}

TEST(InstanceLock, AReadOnlyFolderIsLockedThroughALockFileAlreadyThere) {
  LockFolder dir;
  fs::permissions(dir.Path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
  fs::create_directory(dir / "Plain");
  fs::create_directory(dir / "Installed");
  const std::string installedLock = dir / "Installed/" + InstanceLockName;
  { std::ofstream(installedLock) << ""; }
  const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(installedLock, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  for (const char* sub : {"Plain", "Installed"}) fs::permissions(dir / sub, readOnly);

  const auto plain = TakeUnprivileged(dir / "Plain");
  if (!plain) GTEST_SKIP() << "no unprivileged user to run as";
  EXPECT_EQ(*plain, TLockOutcome::Unavailable);
  EXPECT_EQ(TakeUnprivileged(dir / "Installed"), TLockOutcome::Taken);
  // And it is a real lock.
  TLockHolder other(dir / "Installed");
  ASSERT_EQ(other.Outcome(), TLockOutcome::Taken);
  EXPECT_EQ(TakeUnprivileged(dir / "Installed"), TLockOutcome::HeldElsewhere);
}

TEST(InstanceLock, ProgramsStartedByTheHolderDoNotKeepTheFolderLocked) {
  LockFolder dir;
  TInstanceLock mine;
  ASSERT_EQ(mine.Take(dir.Path), TLockOutcome::Taken);
  pid_t sleeper = 0;
  char arg0[] = "sleep", arg1[] = "30";
  char* argv[] = {arg0, arg1, nullptr};
  ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, argv, environ), 0);
  mine.Release();
  EXPECT_EQ(TLockHolder(dir.Path).Outcome(), TLockOutcome::Taken);
  ::kill(sleeper, SIGKILL);
  ::waitpid(sleeper, nullptr, 0);
}
