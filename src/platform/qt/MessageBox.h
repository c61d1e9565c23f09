// Modal message boxes with the caption "Pavilore".
#pragma once

#include <functional>
#include <string>

namespace pav {

enum class TMessageIcon { Stop, Exclamation, Warning, Error, Information };

// Shows the text (Windows-1252 bytes) in a modal box with an OK button.
void ShowMessage(const std::string& text, TMessageIcon icon);

class EInOutError;
// The input/output error box: the file and the reason, with an error icon.
void ReportInOutError(const EInOutError& e);

// Tests replace the box: every message then goes to the hook instead.
using TMessageHook = std::function<void(const std::string& text, TMessageIcon icon)>;
void SetMessageHook(TMessageHook hook);

}  // namespace pav
