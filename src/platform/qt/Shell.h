// The desktop shell: the help page, web addresses and mails opened with the
// desktop's own handlers. What opens them can be replaced, so that the tests see
// what would be opened without starting a browser.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <string>

namespace pav {

// The help page of the installation, AppFolder + "\Pavilore Help.HTML", as a file
// address; `section` names a part of the page (its anchor) or is empty.
QUrl HelpFileUrl(const QString& section = {});

// Opens the help page with the desktop's handler for HTML files. Nothing happens
// when the page is not installed or the desktop has no handler.
void OpenHelpFile();
// Opens an address with the desktop's handler; false when nothing could open it.
bool OpenUrl(const QUrl& url);

// What opens an address: QDesktopServices until a test sets its own (an empty
// opener puts the desktop's back).
using TUrlOpener = std::function<bool(const QUrl& url)>;
void SetUrlOpener(TUrlOpener opener);

}  // namespace pav
