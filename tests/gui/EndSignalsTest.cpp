// SIGTERM and SIGINT: the first reaches the event loop, a second ends the process at
// once. Each case runs in a child process of its own, since it installs handlers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <cstdlib>

#include "platform/qt/EndSignals.h"

namespace pav::test {
namespace {

// Runs the event loop until the request came, for at most two seconds.
bool RequestSeen(const bool& seen) {
  QElapsedTimer t;
  t.start();
  while (!seen && t.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return seen;
}

TEST(EndSignalsDeathTest, TheFirstSignalIsARequestAndASecondOneEndsTheProgramAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const int sig : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(sig);
    // The request arrives in the event loop, not in the handler; the program goes on.
    EXPECT_EXIT(
        {
          bool seen = false;
          WatchEndSignals([&seen] { seen = true; });
          std::raise(sig);
          const bool before = seen;
          std::exit(!before && RequestSeen(seen) ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "");
    // Whatever the game does with the request, a second signal ends it: the process's
    // status is that of the signal.
    EXPECT_EXIT(
        {
          WatchEndSignals([] {});
          std::raise(sig);
          std::raise(sig);
          std::exit(1);
        },
        ::testing::ExitedWithCode(128 + sig), "");
  }
}

}  // namespace
}  // namespace pav::test
