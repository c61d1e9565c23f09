// The window system the game runs on. The game places its own windows: the main
// window where the player drags it, each dialog beside the board. A Wayland
// compositor places windows itself and lets no program move them, so where the
// desktop also offers X11 (XWayland) the game asks for it; where only Wayland is
// there, the compositor moves the windows on the game's request.
#pragma once

#include <string>

class QWidget;

namespace pav {

// The platform the game asks Qt for, given QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY (null when unset) and whether the command line names one (-platform):
// "xcb;wayland" (X11 first, Wayland should XWayland fail) when both displays are
// there and the player chose nothing, else "" (Qt's own choice, or the player's, stands).
std::string PreferredPlatform(const char* qpaPlatform, const char* waylandDisplay, const char* x11Display,
                              bool platformArgument);
// Sets QT_QPA_PLATFORM from PreferredPlatform for this process's environment and
// command line; to be called before the application object is created.
void ChoosePlatform(int argc, char** argv);

// True on a window system that places and moves windows itself (Wayland).
bool CompositorMovesWindows();
// Hands the drag of `window`'s top-level window to the compositor, on a window
// system that moves windows itself; false when the game is to move it.
bool StartCompositorMove(QWidget* window);

}  // namespace pav
