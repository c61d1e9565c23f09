// One copy of the game per data folder. The running copy holds an exclusive lock on
// "Pavilore.lock" in its data folder for as long as it lives; the kernel drops the
// lock when the process ends, however it ends, so a file left behind by a copy that
// was killed is simply taken over by the next one. The file itself holds nothing and
// is never removed.
#pragma once

#include <string>

namespace pav {

constexpr const char* InstanceLockName = "Pavilore.lock";

enum class TLockOutcome {
  Taken,          // this process holds the folder now
  HeldElsewhere,  // another process holds it
  Unavailable,    // no lock file could be opened or locked there (a read-only folder...)
};

class TInstanceLock {
 public:
  TInstanceLock() = default;
  ~TInstanceLock();
  TInstanceLock(const TInstanceLock&) = delete;
  TInstanceLock& operator=(const TInstanceLock&) = delete;

  // Tries the lock of `folder` without waiting; a lock held before is let go first.
  // A refused or failed try leaves the lock file as it was.
  TLockOutcome Take(const std::string& folder);
  // Lets the lock go; nothing when none is held.
  void Release();

  bool Held() const { return Fd >= 0; }
  // The folder whose lock is held; empty when none.
  const std::string& Folder() const { return HeldFolder; }
  // Why the last try was Unavailable: the lock file and the system's reason.
  const std::string& Failure() const { return LastFailure; }

 private:
  int Fd = -1;
  std::string HeldFolder;
  std::string LastFailure;
};

}  // namespace pav
