#include "platform/RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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
  std::string tmpl = path + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  Fd fd(::mkstemp(name.data()));
  if (fd.Get() < 0) throw EInOutError(path, ErrnoText(errno));
  const std::string tmp(name.data());
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

}  // namespace pav
