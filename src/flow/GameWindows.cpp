#include "flow/GameWindows.h"

namespace pav {

namespace {
TGameWindows* TheGameWindows = nullptr;
}  // namespace

void SetGameWindows(TGameWindows* windows) { TheGameWindows = windows; }
TGameWindows* GameWindows() { return TheGameWindows; }

}  // namespace pav
