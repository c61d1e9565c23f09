#include "platform/qt/EndSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace pav {

namespace {

// The write end is used by the handler alone; one byte per signal.
int SignalPipe[2] = {-1, -1};
volatile std::sig_atomic_t Received = 0;
std::function<void()> OnRequest;
QSocketNotifier* Notifier = nullptr;

extern "C" void HandleEndSignal(int sig) {
  if (Received) {
    // The request was already made: the player (or the session) insists.
    ::_exit(128 + sig);
  }
  Received = 1;
  const char byte = static_cast<char>(sig);
  const int saved = errno;
  [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

void WatchEndSignals(std::function<void()> onRequest) {
  OnRequest = std::move(onRequest);
  if (Notifier) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, SignalPipe) != 0) return;
  Notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read);
  QObject::connect(Notifier, &QSocketNotifier::activated, [] {
    char buffer[16];
    while (::read(SignalPipe[0], buffer, sizeof buffer) > 0) {
    }
    if (OnRequest) OnRequest();
  });
  struct sigaction action {};
  action.sa_handler = HandleEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace pav
