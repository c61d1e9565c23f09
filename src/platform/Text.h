// The game's strings are 8-bit, shown and typed as Windows-1252.
#pragma once

#include <string>

namespace pav {

std::string Cp1252ToUtf8(const std::string& bytes);
// Characters that Windows-1252 cannot hold become '?'. Invalid UTF-8 is taken byte by byte.
std::string Utf8ToCp1252(const std::string& utf8);

}  // namespace pav
