#include "platform/qt/ShownText.h"

#include "platform/Text.h"

namespace pav {

QString ShownText(const std::string& text) {
  QString shown = QString::fromStdString(Cp1252ToUtf8(text));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
  return shown;
}

}  // namespace pav
