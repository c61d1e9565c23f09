#include "platform/qt/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/Text.h"

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
  // The game's texts use a lone carriage return as a line break.
  QString body = QString::fromStdString(Cp1252ToUtf8(text));
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
  QMessageBox box(qicon, QStringLiteral("Pavilore"), body, QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

}  // namespace pav
