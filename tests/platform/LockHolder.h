// Another process trying the lock of a data folder, as a second copy of the game
// would: a child of the test that keeps what it got until it is told to end or is
// killed.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "platform/InstanceLock.h"

namespace pav::test {

class TLockHolder {
 public:
  explicit TLockHolder(const std::string& folder) {
    int report[2], hold[2];
    if (::pipe(report) != 0 || ::pipe(hold) != 0) throw std::runtime_error("pipe failed");
    Pid = ::fork();
    if (Pid < 0) throw std::runtime_error("fork failed");
    if (Pid == 0) {
      ::close(report[0]);
      ::close(hold[1]);
      TInstanceLock lock;
      const char got = static_cast<char>(lock.Take(folder));
      (void)!::write(report[1], &got, 1);
      char c;
      // Until the test closes its end or ends.
      while (::read(hold[0], &c, 1) > 0) {
      }
      ::_exit(0);
    }
    ::close(report[1]);
    ::close(hold[0]);
    Hold = hold[1];
    char got = -1;
    const bool reported = ::read(report[0], &got, 1) == 1;
    ::close(report[0]);
    if (!reported) throw std::runtime_error("the other process reported nothing");
    Got = static_cast<TLockOutcome>(got);
  }
  ~TLockHolder() { End(); }
  TLockHolder(const TLockHolder&) = delete;
  TLockHolder& operator=(const TLockHolder&) = delete;

  // What the other process got when it tried the lock.
  TLockOutcome Outcome() const { return Got; }
  // Ends the other process: an orderly exit, or killed by `signal` (SIGKILL...).
  // Returns once it is gone.
  void End(int signal = 0) {
    if (Pid <= 0) return;
    if (signal != 0) ::kill(Pid, signal);
    ::close(Hold);
    int status = 0;
    ::waitpid(Pid, &status, 0);
    Pid = -1;
  }

 private:
  pid_t Pid = -1;
  int Hold = -1;
  TLockOutcome Got = TLockOutcome::Unavailable;
};

}  // namespace pav::test
