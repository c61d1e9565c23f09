// pavilore-icon: draws the game's icon, a slate board of numbered tiles with one
// hole, as PNG pictures for the icon theme's fixed sizes and as one SVG.
//
//   pavilore-icon --out DIR --id ID
//
// writes DIR/hicolor/<N>x<N>/apps/ID.png for N = 16, 22, 24, 32, 48, 64, 128, 256
// and DIR/hicolor/scalable/apps/ID.svg. Every size is laid out on whole pixels:
// the small sizes show a 2 x 2 board (three tiles), 32 pixels and up a 3 x 3
// board (eight tiles), with the digits of a 3 x 5 pixel font scaled by a whole
// factor, so no edge is blurred. The SVG is the 256-pixel layout.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

const int Sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// A filled rectangle; `radius` rounds its corners.
struct TShape {
  int X, Y, W, H;
  QColor Colour;
  int Radius = 0;
};

const QColor Outline(0x1a, 0x20, 0x29);
const QColor Frame(0x3b, 0x4a, 0x5e);
const QColor Floor(0x1f, 0x27, 0x33);
const QColor TileFace(0xf2, 0xc1, 0x4e);
const QColor TileLight(0xfb, 0xe3, 0xa0);
const QColor TileDark(0xb8, 0x86, 0x2b);
const QColor Digit(0x4a, 0x2c, 0x0a);

// Rows of the digits 0..9, three columns each, bit 2 the leftmost.
const unsigned char Glyphs[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

// The icon at `size` pixels as rectangles, drawn in order.
std::vector<TShape> Layout(int size) {
  const int n = size < 32 ? 2 : 3;             // cells per side
  const int margin = size / 32;                // transparent border
  const int outline = size >= 32 ? std::max(1, size / 64) : 0;
  const int frame = std::max(1, size / 16);    // the board's raised rim, outline included
  const int inner = size - 2 * margin - 2 * frame;
  int gap = std::max(1, size / 64);            // floor between two tiles
  const int tile = (inner - (n - 1) * gap) / n;
  // The pixels left over widen the gaps first, then the rim, so the board stays even.
  int spare = inner - n * tile - (n - 1) * gap;
  gap += spare / (n - 1);
  spare %= n - 1;
  const int bevel = tile >= 8 ? std::max(1, tile / 10) : 0;
  const int scale = std::max(1, static_cast<int>(std::lround(0.55 * tile / 5)));

  std::vector<TShape> shapes;
  const int board = size - 2 * margin;
  shapes.push_back({margin, margin, board, board, Outline, frame});
  shapes.push_back({margin + outline, margin + outline, board - 2 * outline, board - 2 * outline, Frame,
                    std::max(0, frame - outline)});
  const int first = margin + frame + spare / 2;
  const int floorSize = n * tile + (n - 1) * gap;
  shapes.push_back({first, first, floorSize, floorSize, Floor});
  for (int row = 0; row < n; ++row) {
    for (int col = 0; col < n; ++col) {
      const int number = row * n + col + 1;
      if (number == n * n) continue;  // the hole
      const int x = first + col * (tile + gap);
      const int y = first + row * (tile + gap);
      if (bevel > 0) {
        shapes.push_back({x, y, tile, tile, TileDark});
        shapes.push_back({x, y, tile - bevel, tile - bevel, TileLight});
        shapes.push_back({x + bevel, y + bevel, tile - 2 * bevel, tile - 2 * bevel, TileFace});
      } else {
        shapes.push_back({x, y, tile, tile, TileFace});
      }
      const int gx = x + (tile - 3 * scale + 1) / 2;
      const int gy = y + (tile - 5 * scale + 1) / 2;
      for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
          if (Glyphs[number][r] & (4u >> c)) shapes.push_back({gx + c * scale, gy + r * scale, scale, scale, Digit});
    }
  }
  return shapes;
}

// How far row `i` (0 at the edge) of a corner of radius `r` stays in from the side.
int CornerInset(int r, int i) {
  const double dy = r - i;
  return r - static_cast<int>(std::lround(std::sqrt(std::max(0.0, double(r) * r - dy * dy))));
}

void Fill(QImage& image, const TShape& s) {
  const QRgb colour = s.Colour.rgba();
  for (int y = s.Y; y < s.Y + s.H; ++y) {
    const int fromTop = y - s.Y, fromBottom = s.Y + s.H - 1 - y;
    const int edge = std::min(fromTop, fromBottom);
    const int inset = edge < s.Radius ? CornerInset(s.Radius, edge) : 0;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = s.X + inset; x < s.X + s.W - inset; ++x) line[x] = colour;
  }
}

QImage Draw(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (const TShape& s : Layout(size)) Fill(image, s);
  return image;
}

std::string Svg(int size) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(size) + "\" height=\"" +
      std::to_string(size) + "\" viewBox=\"0 0 " + std::to_string(size) + " " + std::to_string(size) +
      "\" shape-rendering=\"crispEdges\">\n";
  for (const TShape& s : Layout(size)) {
    out += "  <rect x=\"" + std::to_string(s.X) + "\" y=\"" + std::to_string(s.Y) + "\" width=\"" +
           std::to_string(s.W) + "\" height=\"" + std::to_string(s.H) + "\"";
    if (s.Radius > 0) out += " rx=\"" + std::to_string(s.Radius) + "\"";
    out += " fill=\"" + s.Colour.name().toStdString() + "\"/>\n";
  }
  out += "</svg>\n";
  return out;
}

bool WriteText(const QString& path, const std::string& text) {
  std::ofstream f(path.toStdString(), std::ios::binary | std::ios::trunc);
  f << text;
  return static_cast<bool>(f.flush());
}

}  // namespace

int main(int argc, char** argv) {
  QString out, id;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--out") == 0) out = QString::fromLocal8Bit(argv[i + 1]);
    else if (std::strcmp(argv[i], "--id") == 0) id = QString::fromLocal8Bit(argv[i + 1]);
  }
  if (out.isEmpty() || id.isEmpty() || argc != 5) {
    std::fprintf(stderr, "usage: pavilore-icon --out DIR --id ID\n");
    return 2;
  }
  for (int size : Sizes) {
    const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
    const QString file = dir + QLatin1Char('/') + id + QStringLiteral(".png");
    if (!QDir().mkpath(dir) || !Draw(size).save(file, "PNG")) {
      std::fprintf(stderr, "%s: cannot be written\n", qPrintable(file));
      return 1;
    }
  }
  const QString dir = out + QStringLiteral("/hicolor/scalable/apps");
  const QString file = dir + QLatin1Char('/') + id + QStringLiteral(".svg");
  if (!QDir().mkpath(dir) || !WriteText(file, Svg(256))) {
    std::fprintf(stderr, "%s: cannot be written\n", qPrintable(file));
    return 1;
  }
  return 0;
}
