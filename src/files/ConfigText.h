// The readable text form of the configuration file, "System/Pavilore.CFG"
// (pavilore-tool pack and unpack). docs/text-format.md describes every field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/Records.h"

namespace pav {

// A text whose first directive is `kind config`.
bool IsConfigText(const std::string& text);
// `kind config` and one line per field (docs/text-format.md), with `raw` lines for the
// bytes the fields do not show, so that packing the text gives back the same bytes.
std::string UnpackConfig(const TConfig& c);
// Raises ETextFormatError (TextFormat.h) on a mistake. Fields left out are 0 or empty.
std::vector<std::uint8_t> PackConfigText(const std::string& text);

}  // namespace pav
