#include "platform/qt/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/RecordFile.h"
#include "platform/Text.h"
#include "platform/qt/ShownText.h"

namespace pav {

namespace {
TMessageHook Hook;
}

void SetMessageHook(TMessageHook hook) { Hook = std::move(hook); }

void ShowMessage(const std::string& text, TMessageIcon icon) {
  if (Hook) {
    Hook(text, icon);
    return;
  }
  QMessageBox::Icon qicon = QMessageBox::Information;
  switch (icon) {
    case TMessageIcon::Stop:
    case TMessageIcon::Error: qicon = QMessageBox::Critical; break;
    case TMessageIcon::Exclamation:
    case TMessageIcon::Warning: qicon = QMessageBox::Warning; break;
    case TMessageIcon::Information: qicon = QMessageBox::Information; break;
  }
  QMessageBox box(qicon, QStringLiteral("Pavilore"), ShownText(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

void ReportInOutError(const EInOutError& e) {
  ShowMessage("Input/output error on the file '" + Utf8ToCp1252(e.File) + "' : " + e.Reason + ".",
              TMessageIcon::Error);
}

}  // namespace pav
