#include "platform/qt/Platform.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <cstring>

namespace pav {

namespace {

bool Given(const char* value) { return value != nullptr && value[0] != '\0'; }

}  // namespace

std::string PreferredPlatform(const char* qpaPlatform, const char* waylandDisplay, const char* x11Display,
                              bool platformArgument) {
  if (Given(qpaPlatform) || platformArgument) return {};
  return Given(waylandDisplay) && Given(x11Display) ? "xcb;wayland" : "";
}

void ChoosePlatform(int argc, char** argv) {
  bool argument = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) argument = true;
  const std::string platform = PreferredPlatform(std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"),
                                                 std::getenv("DISPLAY"), argument);
  if (!platform.empty()) setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
}

bool CompositorMovesWindows() { return QGuiApplication::platformName() == QLatin1String("wayland"); }

bool StartCompositorMove(QWidget* window) {
  if (window == nullptr || !CompositorMovesWindows()) return false;
  QWindow* handle = window->window()->windowHandle();
  return handle != nullptr && handle->startSystemMove();
}

}  // namespace pav
