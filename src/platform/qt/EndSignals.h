// The desktop's requests to end the program: SIGTERM when the session ends or a
// task manager asks, SIGINT for Ctrl+C in a terminal. The first one is handed to
// the event loop, so the game can close as its close button does and write what
// it keeps; a second one, while that is under way or stuck, ends the process at once.
#pragma once

#include <functional>

namespace pav {

// Installs the handlers of SIGTERM and SIGINT; `onRequest` runs in the event loop
// of the calling (main) thread after the first signal. Installing again replaces
// the function.
void WatchEndSignals(std::function<void()> onRequest);

}  // namespace pav
