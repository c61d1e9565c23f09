// The game's strings are 8-bit, shown and typed as Windows-1252.
#pragma once

#include <string>

namespace pav {

std::string Cp1252ToUtf8(const std::string& bytes);
// Characters that Windows-1252 cannot hold become '?'. Invalid UTF-8 is taken byte by byte.
std::string Utf8ToCp1252(const std::string& utf8);
// The game's name of a file whose name on the disk is UTF-8: true with `name` set
// when every character has a Windows-1252 form, false for a name the game's
// strings cannot hold (it could never be found again from the stored name).
bool GameNameOfFile(const std::string& utf8, std::string& name);

}  // namespace pav
