// The window system the game asks for: X11 through XWayland where a Wayland desktop
// offers it, unless the player named a platform; otherwise Qt's own choice.
#include <gtest/gtest.h>

#include "platform/qt/Platform.h"

namespace pav::test {
namespace {

TEST(PlatformChoiceTest, XWaylandIsPreferredOnlyWhereBothDisplaysAreThereAndNothingWasChosen) {
  struct TCase {
    const char* Qpa;
    const char* Wayland;
    const char* X11;
    bool Argument;
    const char* Expected;
  };
  const TCase cases[] = {
      {nullptr, "wayland-0", ":0", false, "xcb;wayland"},  // a Wayland desktop with XWayland
      {"", "wayland-0", ":0", false, "xcb;wayland"},       // set but empty counts as unset
      {"wayland", "wayland-0", ":0", false, ""},           // the player's choice stands
      {"xcb", "wayland-0", ":0", false, ""},
      {nullptr, "wayland-0", ":0", true, ""},              // -platform on the command line
      {nullptr, "wayland-0", nullptr, false, ""},          // Wayland only
      {nullptr, "wayland-0", "", false, ""},
      {nullptr, nullptr, ":0", false, ""},                 // X11 only
      {nullptr, "", ":0", false, ""},
      {nullptr, nullptr, nullptr, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "QT_QPA_PLATFORM=" << (c.Qpa ? c.Qpa : "(unset)") << " WAYLAND_DISPLAY="
                                      << (c.Wayland ? c.Wayland : "(unset)") << " DISPLAY="
                                      << (c.X11 ? c.X11 : "(unset)") << " argument=" << c.Argument);
    EXPECT_EQ(PreferredPlatform(c.Qpa, c.Wayland, c.X11, c.Argument), c.Expected);
  }
}

}  // namespace
}  // namespace pav::test
