#include "TileSets.h"

#include "Digits.h"
#include "Layout.h"
#include "Paint.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// One colour per ten: amber, teal, coral, violet, green.
const std::uint32_t kFamilies[5] = {0xd98a1e, 0x1f9a94, 0xd4553f, 0x5b5fd0, 0x4e9a3a};

Rgb Family(int k) { return FromHex(kFamilies[std::clamp((k - 1) / 10, 0, 4)]); }

// Signed distance from (x, y) to a rounded box centred on (cx, cy) with half
// sizes (hx, hy) and corner radius r (negative inside), and the outward normal.
double RoundedBox(double x, double y, double cx, double cy, double hx, double hy, double r, double &nx,
                  double &ny) {
  const double px = x - cx, py = y - cy;
  const double qx = std::fabs(px) - (hx - r), qy = std::fabs(py) - (hy - r);
  const double sx = px < 0 ? -1 : 1, sy = py < 0 ? -1 : 1;
  if (qx > 0 && qy > 0) {
    const double l = std::sqrt(qx * qx + qy * qy);
    nx = sx * qx / l;
    ny = sy * qy / l;
    return l - r;
  }
  if (qx > qy) {
    nx = sx;
    ny = 0;
  } else {
    nx = 0;
    ny = sy;
  }
  return std::max(qx, qy) - r;
}

// Keeps tile art off the key colour: a pixel that would equal it is nudged.
QRgb AvoidKey(QRgb c, QRgb key) {
  if ((c | 0xff000000u) != (key | 0xff000000u)) return c;
  const int b = qBlue(c) < 255 ? qBlue(c) + 1 : qBlue(c) - 1;
  return qRgb(qRed(c), qGreen(c), b);
}

// Supersampled cell: f(x, y, colour&) returns the coverage of the art at the
// sample and its colour; uncovered samples show `back`. Pixels whose art
// covers less than a fifth stay exactly `back`.
template <class F>
void PaintCell(QImage &img, int ox, int oy, QRgb back, bool keyed, F f) {
  const int n = 4;
  const Rgb bg = FromQRgb(back);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      Rgb sum;
      double cover = 0;
      for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
          Rgb c;
          const double a = f(x + (i + 0.5) / n, y + (j + 0.5) / n, c);
          sum = {sum.r + c.r * a, sum.g + c.g * a, sum.b + c.b * a};
          cover += a;
        }
      }
      cover /= n * n;
      QRgb out = back;
      if (cover >= 0.2 || !keyed) {
        const Rgb art = cover > 0 ? Scale(sum, 1.0 / (cover * n * n)) : bg;
        out = ToQRgb(Mix(bg, art, cover));
        if (keyed) out = AvoidKey(out, back);
      }
      img.setPixel(ox + x, oy + y, out);
    }
  }
}

// Draws the number of tile k centred on (cx, cy) over its shadow; pixels that
// were art before stay off the key colour.
void DrawNumber(QImage &img, int k, double cx, double cy, double height, double stroke, QColor ink,
                QColor shadow, QPointF shadowOffset, QRgb key) {
  const QImage before = img;
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPainterPath path = NumberOutline(k, height, stroke).translated(cx, cy);
    p.setBrush(shadow);
    p.drawPath(path.translated(shadowOffset));
    p.setBrush(ink);
    p.drawPath(path);
  }
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((before.pixel(x, y) | 0xff000000u) != (key | 0xff000000u)) img.setPixel(x, y, AvoidKey(img.pixel(x, y), key));
}

}  // namespace

QImage DefaultTiles() {
  QImage img(kTileSetWidth, kTileSetHeight, QImage::Format_RGB32);
  img.fill(kDefaultTileKey);
  const Rgb key = FromQRgb(kDefaultTileKey);
  for (int k = 1; k <= 50; ++k) {
    const Rect cell = TileCell(k);
    const Rgb base = Family(k);
    const Rgb rimColour = Scale(base, 0.32);
    PaintCell(img, cell.x, cell.y, kDefaultTileKey, true, [&](double x, double y, Rgb &c) -> double {
      double nx, ny;
      const double d = RoundedBox(x, y, 23.5, 23.5, 21.5, 21.5, 8.0, nx, ny);
      if (d > 0) {
        // A soft shadow falling to the lower right onto the floor.
        double sx, sy;
        const double ds = RoundedBox(x - 1.6, y - 2.0, 23.5, 23.5, 21.5, 21.5, 8.0, sx, sy);
        const double a = std::clamp(0.55 - ds * 0.35, 0.0, 0.55);
        c = Mix(key, FromHex(0x05070a), 1.0);
        return ds < 0 ? 0.55 : a;
      }
      const double depth = -d;
      // Lighter toward the top of the face, a gentle gloss.
      Rgb face = Add(base, 16.0 - 0.7 * y);
      const double slope = BevelSlope(depth, 4.5, 1.7);
      c = Shade(face, nx * slope, ny * slope, 0.55);
      if (depth < 1.2) c = Mix(c, rimColour, 0.75 * (1.2 - depth) / 1.2 + 0.1);
      return 1.0;
    });
    QImage tile = img.copy(cell.x, cell.y, 48, 48);
    DrawNumber(tile, k, 23.5, 23.0, 20.0, 4.8, QColor(0xff, 0xfb, 0xf2), QColor(ToQRgb(Scale(base, 0.38))),
               QPointF(1.0, 1.3), kDefaultTileKey);
    Blit(img, tile, cell.x, cell.y);
  }
  return img;
}

QImage MarbleTiles() {
  static const std::uint32_t stone[5] = {0xece9e3, 0xf0d9d3, 0xd9e6d8, 0xeadcc2, 0xd6dde6};
  static const std::uint32_t vein[5] = {0x8e8b88, 0xa87f78, 0x6f8a72, 0xa48a63, 0x75829a};
  static const std::uint32_t letter[5] = {0x2c2a28, 0x5a2a26, 0x203f2a, 0x4a3518, 0x22304a};
  const Rgb grout = FromHex(0x24211f);
  QImage img(kTileSetWidth, kTileSetHeight, QImage::Format_RGB32);
  img.fill(ToQRgb(grout));
  for (int k = 1; k <= 50; ++k) {
    const Rect cell = TileCell(k);
    const int f = (k - 1) / 10;
    const Rgb s = FromHex(stone[f]), v = FromHex(vein[f]);
    PaintCell(img, cell.x, cell.y, ToQRgb(grout), false, [&](double x, double y, Rgb &c) -> double {
      double nx, ny;
      const double d = RoundedBox(x, y, 24.0, 24.0, 23.0, 23.0, 2.5, nx, ny);
      if (d > 0) {
        c = grout;
        return 1.0;
      }
      const double gx = cell.x + x, gy = cell.y + y;
      // Marble: a few long veins bent by turbulence, fainter hair veins, soft clouds.
      const double turb = PeriodicFbm(gx, gy, 64, 512, 5, 0x3a7b1e + f);
      const double wave = std::sin((gx * 0.012 + gy * 0.02 + 2.2 * turb) * M_PI * 2.0);
      const double hair = std::sin((gx * 0.05 - gy * 0.02 + 3.0 * PeriodicFbm(gx, gy, 32, 512, 4, 0x77 + f)) * M_PI);
      const double veinAmount =
          0.85 * std::pow(1.0 - std::fabs(wave), 14.0) + 0.35 * std::pow(1.0 - std::fabs(hair), 24.0);
      const double cloud = PeriodicFbm(gx, gy, 32, 512, 3, 0x51d0 + f) - 0.5;
      Rgb face = Add(Mix(s, v, std::min(1.0, veinAmount)), cloud * 22.0);
      const double depth = -d;
      const double slope = BevelSlope(depth, 3.5, 1.6);
      c = Shade(face, nx * slope, ny * slope, 0.6);
      return 1.0;
    });
    QImage tile = img.copy(cell.x, cell.y, 48, 48);
    // Letters cut into the stone: dark, with the lower lip of the cut catching the light.
    DrawNumber(tile, k, 24.0, 23.5, 19.0, 4.4, QColor(ToQRgb(FromHex(letter[f]))), QColor(255, 255, 250, 170),
               QPointF(0.9, 1.0), 0);
    Blit(img, tile, cell.x, cell.y);
  }
  return img;
}

QImage DotsTiles() {
  QImage img(kTileSetHeight, kTileSetHeight, QImage::Format_RGB32);
  img.fill(kDefaultTileKey);
  const Rgb key = FromQRgb(kDefaultTileKey);
  for (int k = 1; k <= 50; ++k) {
    if ((k - 1) % 10 >= 5) continue;
    const Rect cell = TileCell(k);
    const Rgb base = Family(k);
    PaintCell(img, cell.x, cell.y, kDefaultTileKey, true, [&](double x, double y, Rgb &c) -> double {
      const double r = 20.5, cx = 23.5, cy = 23.5;
      const double dx = x - cx, dy = y - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > r) {
        const double sx = dx - 1.6, sy = dy - 2.0;
        const double ds = std::sqrt(sx * sx + sy * sy) - r;
        c = Mix(key, FromHex(0x05070a), 1.0);
        return std::clamp(0.55 - ds * 0.3, 0.0, 0.55);
      }
      // A glossy ball: the light from the upper left, a white glint.
      const double nx = dx / r, ny = dy / r, nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
      const double lx = -0.5270, ly = -0.5270, lz = 0.6325;
      const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
      Rgb ball = Scale(base, 0.30 + 0.95 * diffuse);
      const double hx = lx, hy = ly, hz = lz + 1.0, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
      const double spec = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), 40.0);
      ball = Add(ball, spec * 170.0);
      // The white label in the middle.
      const double label = 12.0;
      if (d < label) {
        const double edge = label - d;
        Rgb white = Add(FromHex(0xf6f2e8), -10.0 * (ny + nx));
        if (edge < 1.0) white = Mix(Scale(base, 0.55), white, edge);
        ball = white;
      }
      if (r - d < 1.0) ball = Mix(ball, Scale(base, 0.25), 1.0 - (r - d));
      c = ball;
      return 1.0;
    });
    QImage tile = img.copy(cell.x, cell.y, 48, 48);
    const double h = k < 10 ? 14.0 : 12.0;
    DrawNumber(tile, k, 23.5, 23.5, h, 3.2, QColor(ToQRgb(Scale(base, 0.45))), QColor(0, 0, 0, 0),
               QPointF(0, 0), kDefaultTileKey);
    Blit(img, tile, cell.x, cell.y);
  }
  return img;
}

}  // namespace assetgen
