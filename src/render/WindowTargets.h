// The windows that a menu entry or a function key opens. The menus and the main
// window's keys name a window by its role; the program says at start-up how each
// one opens, so neither the menus nor the keys depend on the windows themselves.
// A role with no window yet opens nothing.
#pragma once

#include <functional>

namespace pav {

enum class TWindowTarget {
  Help,           // F1: the help page
  Game,           // F2: game configuration
  Options,        // F3: general options
  Graphics,       // F4: graphics configuration
  Sounds,         // F5: sounds configuration
  Music,          // F6: music configuration
  ShortCuts,      // F7: shortcut list
  Records,        // F8: the top-10 records of the configured mode
  About,          // F9: about window
  CustomPicture,  // P: custom picture
};

using TWindowOpener = std::function<void()>;

// How a role opens (an empty opener: none).
void SetWindowOpener(TWindowTarget target, TWindowOpener opener);
// Whether a role has a window.
bool HasWindowOpener(TWindowTarget target);
// Opens the role's window (modally, when it is a dialog); nothing when it has none.
void OpenWindowTarget(TWindowTarget target);
// Forgets every opener (tests).
void ClearWindowOpeners();

}  // namespace pav
