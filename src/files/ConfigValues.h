// Values of the configuration that the windows never write but a damaged or
// hand-edited file may hold; start-up puts them right before anything uses them.
#pragma once

#include <string>

#include "files/Records.h"

namespace pav {

// Whether a player's name (8-bit) can name a file of its own in the "Players" folder:
// not empty, no leading or trailing space, no leading dot, no "..", no path separator
// ("/" or "\"), no control character. Returns "" when it can, else the message that
// names the problem.
std::string PlayerNameProblem(const std::string& name);

// The custom picture's rectangle: width and height 1..20 (else 5), left and top
// -18..5 (else 1). A player's name that is too long for its field or that could not
// name a log file is cleared, and the welcome window asks for one.
void RepairConfigValues(TConfig& c);

}  // namespace pav
