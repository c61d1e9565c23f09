// The game's texts as the windows show them.
#pragma once

#include <QString>
#include <string>

namespace pav {

// A text of the game (Windows-1252 bytes, a lone carriage return or CR LF between
// its lines) as a label or a message box shows it.
QString ShownText(const std::string& text);

}  // namespace pav
