#include "Preview.h"

#include "Files.h"
#include "Paint.h"

#include <QDir>
#include <QPainter>

namespace assetgen {

namespace {

QImage Decode(const GeneratedFile &f) {
  if (f.name.toUpper().endsWith(QLatin1String(".JPG"))) return DecodeJpeg(f.bytes);
  QImage img;
  img.loadFromData(f.bytes, "BMP");
  return img.convertToFormat(QImage::Format_RGB32);
}

const GeneratedFile *Find(const std::vector<GeneratedFile> &files, const QString &name) {
  for (const GeneratedFile &f : files)
    if (f.name.compare(name, Qt::CaseInsensitive) == 0) return &f;
  return nullptr;
}

QImage Picture(const std::vector<GeneratedFile> &files, const QString &base) {
  for (const char *ext : {".JPG", ".BMP"}) {
    if (const GeneratedFile *f = Find(files, base + QLatin1String(ext))) return Decode(*f);
  }
  return {};
}

QImage Zoom(const QImage &img, int factor) {
  return img.scaled(img.width() * factor, img.height() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The inside of a dialog as the game's panel would show it, for the preview.
void FillDialogPanel(QImage &img) {
  QPainter p(&img);
  const QRect r(8, 8, img.width() - 16, img.height() - 64);
  p.fillRect(r, QColor(0x3a, 0x3f, 0x47));
  p.setPen(QColor(0x1c, 0x1f, 0x24));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(QColor(0x5a, 0x61, 0x6c));
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

SampleBoard DemoBoard() {
  SampleBoard b;
  b.width = 11;
  b.height = 9;
  const char *rows[9] = {
      "AAAAAAAAAAA",  //
      "A....A....A",  //
      "A....A..B.A",  //
      "A.AA...BB.A",  //
      "A.A.......A",  //
      "A...AA....A",  //
      "A...AA..BBA",  //
      "A.........A",  //
      "AAAAAAAAAAA",
  };
  for (int y = 1; y <= 9; ++y)
    for (int x = 1; x <= 11; ++x) {
      const char c = rows[y - 1][x - 1];
      b.cells[size_t(x)][size_t(y)] = c == 'A' ? 1 : c == 'B' ? 2 : 0;
    }
  const int tiles[][3] = {{2, 2, 1},  {3, 2, 2},  {4, 2, 3},  {5, 2, 4},  {7, 2, 5},  {8, 2, 6},  {2, 3, 11},
                          {3, 3, 12}, {4, 3, 13}, {2, 5, 21}, {4, 5, 22}, {5, 5, 23}, {7, 5, 31}, {8, 5, 32},
                          {9, 5, 33}, {2, 7, 41}, {3, 7, 42}, {4, 8, 43}, {7, 8, 50}, {10, 2, 10}, {10, 3, 20},
                          {10, 4, 30}, {10, 5, 40}, {8, 7, 9}};
  for (const auto &t : tiles) b.tiles[size_t(t[0])][size_t(t[1])] = std::uint8_t(t[2]);
  b.text.assign(54, std::string(66, ' '));
  const std::string title = "PAVILORE";
  b.text[2].replace(size_t(33 - 4), title.size(), title);
  const std::string floorText = "Push 1 to 50 home";
  b.text[51].replace(size_t(33 - 8), floorText.size(), floorText);
  b.jumps.push_back({6, 3, 4, 11, 5, 1});
  b.turns.push_back({3, 4, 1});
  b.turns.push_back({5, 7, 4});
  b.turns.push_back({9, 7, 1});
  return b;
}

SkinSet LoadFromFiles(const std::vector<GeneratedFile> &files, const QString &boardGraphics,
                      const QString &tileSet) {
  const QString suffix = boardGraphics.mid(5);
  return LoadSkinSet(Picture(files, boardGraphics), Picture(files, QStringLiteral("BK - ") + suffix),
                     Picture(files, tileSet), Picture(files, QStringLiteral("TS - Default")));
}

QImage MainPreview(const std::vector<GeneratedFile> &files) {
  const SkinSet skin = LoadFromFiles(files, QStringLiteral("GB - Default"), QStringLiteral("TS - Default"));
  return DrawBoard(skin, DemoBoard(), true,
                   {{7, "Ada"}, {1, "Single Game"}, {3, "125 S"}, {9, "42 M"}}, true);
}

bool WriteSheets(const std::vector<GeneratedFile> &files, const QString &dir) {
  QDir().mkpath(dir);
  bool ok = true;
  auto save = [&](const QImage &img, const QString &name) {
    ok = img.save(dir + QLatin1Char('/') + name, "PNG") && ok;
  };
  for (const GeneratedFile &f : files) {
    const QImage img = Decode(f);
    QString name = f.name;
    name.replace(QLatin1Char(' '), QString()).replace(QLatin1Char('.'), QLatin1Char('_'));
    save(Zoom(img, img.width() > 240 ? 3 : 4), name + QStringLiteral("-x3.png"));
  }
  const SampleBoard demo = DemoBoard();
  save(MainPreview(files), QStringLiteral("board-default.png"));
  save(Zoom(MainPreview(files), 2), QStringLiteral("board-default-x2.png"));
  {
    const SkinSet skin = LoadFromFiles(files, QStringLiteral("GB - Default"), QStringLiteral("TS - Default"));
    save(DrawBoard(skin, demo, false, {{8, "Board : Garden Walls"}, {2, "By The Pavilore Team"}}, false, true),
         QStringLiteral("board-default-nopanel-lit.png"));
    QImage dialog = SkinWindow(skin, 336, 240, "GRAPHICS CONFIGURATION");
    FillDialogPanel(dialog);
    save(Zoom(dialog, 2), QStringLiteral("dialog-default-x2.png"));
  }
  {
    const SkinSet skin = LoadFromFiles(files, QStringLiteral("GB - Slate"), QStringLiteral("TS - Marble"));
    save(DrawBoard(skin, demo, true, {{5, "Board : Garden Walls"}}, false), QStringLiteral("board-slate-marble.png"));
    QImage dialog = SkinWindow(skin, 240, 240, "OBJECTIVE");
    FillDialogPanel(dialog);
    save(Zoom(dialog, 2), QStringLiteral("dialog-slate-x2.png"));
  }
  {
    const SkinSet skin = LoadFromFiles(files, QStringLiteral("GB - Default"), QStringLiteral("TS - Dots"));
    save(DrawBoard(skin, demo, true, {{7, "Ada"}, {1, "Vs. Computer"}, {3, "7 S"}, {9, "3 M"}}, true),
         QStringLiteral("board-default-dots.png"));
  }
  {
    // The half set: its other columns come from the default set.
    const SkinSet skin = LoadFromFiles(files, QStringLiteral("GB - Slate"), QStringLiteral("TS - Pips"));
    save(DrawBoard(skin, demo, true, {{5, "Board : Garden Walls"}}, false), QStringLiteral("board-slate-pips.png"));
  }
  {
    const SkinSet skin = LoadFromFiles(files, QStringLiteral("GB - Slate"), QStringLiteral("TS - Default"));
    save(DrawBoard(skin, demo, true, {{8, "Campaign : First Steps"}, {2, "By The Pavilore Team"}}, false),
         QStringLiteral("board-slate-default.png"));
  }
  return ok;
}

}  // namespace assetgen
