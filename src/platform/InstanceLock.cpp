#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Paths.h"

namespace pav {

namespace {

int OpenLockFile(const std::string& path) {
  // Close-on-exec: a program the game starts (the help viewer...) must not keep the
  // folder locked after the game has ended.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
  // A lock file that cannot be written is still good for locking.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  return fd;
}

}  // namespace

TInstanceLock::~TInstanceLock() { Release(); }

void TInstanceLock::Release() {
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
  HeldFolder.clear();
}

TLockOutcome TInstanceLock::Take(const std::string& folder) {
  Release();
  LastFailure.clear();
  const std::string path = GamePath(folder, std::string("\\") + InstanceLockName);
  const int fd = OpenLockFile(path);
  if (fd < 0) {
    LastFailure = path + ": " + std::strerror(errno);
    return TLockOutcome::Unavailable;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return TLockOutcome::HeldElsewhere;
    LastFailure = path + ": " + std::strerror(err);
    return TLockOutcome::Unavailable;
  }
  Fd = fd;
  HeldFolder = folder;
  return TLockOutcome::Taken;
}

}  // namespace pav
