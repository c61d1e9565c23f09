// The filler of every pick list of file names: sound effects, music, graphics sets.
#pragma once

#include <string>
#include <vector>

class QComboBox;

namespace pav {

// The entry a list offers for "no file".
constexpr const char* NoneEntry = "[None]";

// The names a pick list offers for `mask`, a game path with a wildcard name such
// as "\Sounds\*.WAV": every file of that folder whose name ends like the mask
// (without regard to case), does not begin with "." and is shorter than 51
// characters, without its last four characters; sorted without regard to case.
std::vector<std::string> ListedNames(const std::string& mask);

// Fills `list`: emptied first when `clear` is set; the names of ListedNames(mask),
// then "[None]" when `addNone` is set; the list's entries kept sorted; then the first
// entry equal to `current` (without regard to case) is selected, or none.
// Names are Windows-1252 bytes, shown as such.
void ListFiles(QComboBox* list, const std::string& mask, const std::string& current, bool addNone, bool clear);

// The selected entry of a list as Windows-1252 bytes; empty when none is selected.
std::string ListedText(const QComboBox* list);

}  // namespace pav
