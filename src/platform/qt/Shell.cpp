#include "platform/qt/Shell.h"

#include <QDesktopServices>

#include "app/AppState.h"
#include "platform/Paths.h"

namespace pav {

namespace {

TUrlOpener& Opener() {
  static TUrlOpener opener;
  return opener;
}

}  // namespace

QUrl HelpFileUrl(const QString& section) {
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(App().Path("\\Pavilore Help.HTML")));
  if (!section.isEmpty()) url.setFragment(section);
  return url;
}

void OpenHelpFile() {
  if (!FileExists(App().Path("\\Pavilore Help.HTML"))) return;
  OpenUrl(HelpFileUrl());
}

bool OpenUrl(const QUrl& url) {
  if (!url.isValid()) return false;
  if (Opener()) return Opener()(url);
  return QDesktopServices::openUrl(url);
}

void SetUrlOpener(TUrlOpener opener) { Opener() = std::move(opener); }

}  // namespace pav
