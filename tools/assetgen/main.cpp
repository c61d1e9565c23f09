// pavilore-assetgen: draws the graphics sets of the default installation.
//
//   pavilore-assetgen --out DIR          write the pictures into DIR (the Graphics folder)
//   pavilore-assetgen --preview OUT.png  a sample board assembled from the pictures
//   pavilore-assetgen --sheets DIR       zoomed PNG copies of every picture and sample views
#include "Files.h"
#include "Generator.h"
#include "Preview.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Qt's notes about the desktop session (no runtime folder on a build machine)
// say nothing about the pictures; everything else goes to stderr.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
  if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char **argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietMessages);
  QGuiApplication app(argc, argv);

  QString out, preview, sheets;
  for (int i = 1; i < argc; ++i) {
    const bool more = i + 1 < argc;
    if (std::strcmp(argv[i], "--out") == 0 && more) out = QString::fromLocal8Bit(argv[++i]);
    else if (std::strcmp(argv[i], "--preview") == 0 && more) preview = QString::fromLocal8Bit(argv[++i]);
    else if (std::strcmp(argv[i], "--sheets") == 0 && more) sheets = QString::fromLocal8Bit(argv[++i]);
    else {
      std::fprintf(stderr, "usage: pavilore-assetgen [--out DIR] [--preview OUT.png] [--sheets DIR]\n");
      return 2;
    }
  }
  if (out.isEmpty() && preview.isEmpty() && sheets.isEmpty()) {
    std::fprintf(stderr, "usage: pavilore-assetgen [--out DIR] [--preview OUT.png] [--sheets DIR]\n");
    return 2;
  }

  const std::vector<assetgen::GeneratedFile> files = assetgen::GenerateGraphics();
  if (!out.isEmpty()) {
    if (!QDir().mkpath(out)) {
      std::fprintf(stderr, "pavilore-assetgen: cannot create %s\n", qPrintable(out));
      return 1;
    }
    for (const assetgen::GeneratedFile &f : files) {
      if (f.bytes.isEmpty() || !assetgen::WriteFile(out + QLatin1Char('/') + f.name, f.bytes)) {
        std::fprintf(stderr, "pavilore-assetgen: cannot write %s/%s\n", qPrintable(out), qPrintable(f.name));
        return 1;
      }
    }
  }
  if (!preview.isEmpty() && !(QFileInfo(preview).dir().mkpath(QStringLiteral(".")) &&
                              assetgen::MainPreview(files).save(preview, "PNG"))) {
    std::fprintf(stderr, "pavilore-assetgen: cannot write %s\n", qPrintable(preview));
    return 1;
  }
  if (!sheets.isEmpty() && !assetgen::WriteSheets(files, sheets)) {
    std::fprintf(stderr, "pavilore-assetgen: cannot write the sheets in %s\n", qPrintable(sheets));
    return 1;
  }
  return 0;
}
