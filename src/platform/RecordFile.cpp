#include "platform/RecordFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>
#include <string_view>
#include <vector>

namespace pav {

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

class Fd {
 public:
  explicit Fd(int fd) : F(fd) {}
  ~Fd() {
    if (F >= 0) ::close(F);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return F; }
  int Release() {
    const int f = F;
    F = -1;
    return f;
  }

 private:
  int F;
};

// The six letters and digits at the end of a temporary file's name. Six letters of
// one case read as a word ("backup"), so the writer never makes such a name and the
// sweep never takes one.
constexpr std::size_t TempSuffixLength = 6;

bool IsTempSuffix(std::string_view s) {
  if (s.size() != TempSuffixLength) return false;
  bool lower = false, upper = false, digit = false;
  for (const char c : s) {
    if (c >= 'a' && c <= 'z') lower = true;
    else if (c >= 'A' && c <= 'Z') upper = true;
    else if (c >= '0' && c <= '9') digit = true;
    else return false;
  }
  return digit || (lower && upper);
}

// A new temporary suffix: random letters and digits, one place always a digit, so
// that whatever a kill leaves is a name the sweep knows. The file is created under
// its final name at once: a name tried and given back would be a moment in which a
// kill leaves a file no start-up removes.
std::string NewTempSuffix() {
  static constexpr std::string_view Chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  // Seeded again in a forked process, which would otherwise draw its parent's names.
  thread_local std::mt19937_64 generator;
  thread_local pid_t seededIn = 0;
  if (seededIn != ::getpid()) {
    seededIn = ::getpid();
    generator.seed((static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                   static_cast<std::uint64_t>(seededIn) ^ static_cast<std::uint64_t>(std::time(nullptr)));
  }
  std::string s(TempSuffixLength, '0');
  for (char& c : s) c = Chars[generator() % Chars.size()];
  s[generator() % TempSuffixLength] = static_cast<char>('0' + generator() % 10);
  return s;
}

// The extensions of the files written through WriteRecordFile.
constexpr std::array<std::string_view, 5> RecordExtensions = {"CFG", "BRD", "PZZ", "CPN", "SGM"};

bool IsRecordExtension(std::string_view ext) {
  for (const auto known : RecordExtensions) {
    if (ext.size() != known.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < ext.size() && same; ++i) {
      const char c = ext[i] >= 'a' && ext[i] <= 'z' ? static_cast<char>(ext[i] - 'a' + 'A') : ext[i];
      same = c == known[i];
    }
    if (same) return true;
  }
  return false;
}

// "<name>.<EXT>.XXXXXX": what WriteRecordFile leaves when it is stopped before its rename.
bool IsWriteLeftoverName(std::string_view name) {
  if (name.size() <= TempSuffixLength + 1) return false;
  const std::size_t dot = name.size() - TempSuffixLength - 1;
  if (name[dot] != '.' || !IsTempSuffix(name.substr(dot + 1))) return false;
  const std::string_view file = name.substr(0, dot);
  const std::size_t extDot = file.rfind('.');
  if (extDot == std::string_view::npos || extDot == 0) return false;
  return IsRecordExtension(file.substr(extDot + 1));
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

void ReadRecordFile(const std::string& path, void* record, std::size_t size) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) throw EInOutError(path, ErrnoText(errno));
  std::vector<unsigned char> buf(size);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd.Get(), buf.data() + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EInOutError(path, ErrnoText(errno));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < size)
    throw EInOutError(path, "the file is shorter than one record (" + std::to_string(got) + " of " +
                                std::to_string(size) + " bytes)");
  std::memcpy(record, buf.data(), size);
}

void WriteRecordFile(const std::string& path, const void* record, std::size_t size) {
  // A file that may not be written stays as it is: replacing it by a rename would
  // get around its protection.
  if (::faccessat(AT_FDCWD, path.c_str(), F_OK, AT_EACCESS) == 0 &&
      ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
    throw EInOutError(path, ErrnoText(errno));
  // "<path>.XXXXXX", created only if no such file is there, readable by its writer alone
  // until its permissions are set.
  std::string tmp;
  int opened = -1;
  for (int attempt = 0; attempt < 100 && opened < 0; ++attempt) {
    tmp = path + "." + NewTempSuffix();
    opened = ::open(tmp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (opened < 0 && errno != EEXIST) throw EInOutError(path, ErrnoText(errno));
  }
  if (opened < 0) throw EInOutError(path, "no name was found for the temporary file");
  Fd fd(opened);
  auto fail = [&](int err) {
    ::unlink(tmp.c_str());
    throw EInOutError(path, ErrnoText(err));
  };
  // Keep the old file's permissions, or those a new file normally gets, not mkstemp's 0600.
  struct stat old;
  if (::stat(path.c_str(), &old) == 0) {
    ::fchmod(fd.Get(), old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd.Get(), 0666 & ~mask);
  }
  const auto* p = static_cast<const unsigned char*>(record);
  std::size_t put = 0;
  while (put < size) {
    const ssize_t n = ::write(fd.Get(), p + put, size - put);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    put += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.Get()) != 0) fail(errno);
  if (::close(fd.Release()) != 0) fail(errno);
  if (::rename(tmp.c_str(), path.c_str()) != 0) fail(errno);
  // Make the rename itself durable.
  Fd dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

void RemoveWriteLeftovers(const std::string& folder) {
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dirFd < 0) return;
  DIR* dir = ::fdopendir(dirFd);
  if (!dir) {
    ::close(dirFd);
    return;
  }
  const std::time_t now = std::time(nullptr);
  while (const dirent* e = ::readdir(dir)) {
    if (!IsWriteLeftoverName(e->d_name)) continue;
    struct stat st;
    if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    // A file written this very minute may belong to a write still going on.
    if (now - st.st_mtime < WriteLeftoverMinAgeSeconds) continue;
    ::unlinkat(dirFd, e->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace pav
