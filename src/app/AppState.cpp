#include "app/AppState.h"

#include "platform/Paths.h"

namespace pav {

namespace {
std::unique_ptr<TApp> TheApp;
}

TApp::TApp() : Engine(std::make_unique<TMoveEngine>(State)) {}

std::string TApp::Path(const std::string& relative) const { return GamePath(AppFolder, relative); }

TApp& App() {
  if (!TheApp) TheApp = std::make_unique<TApp>();
  return *TheApp;
}

void ResetApp() { TheApp = std::make_unique<TApp>(); }

}  // namespace pav
