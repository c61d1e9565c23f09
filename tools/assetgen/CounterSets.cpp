// The two sets of counters: glossy balls ("TS - Dots") and ivory pieces
// marked with pips ("TS - Pips", half width).
#include "Glue.h"
#include "Layout.h"
#include "Paint.h"
#include "TileArt.h"
#include "TileSets.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// The light of every picture, as a unit vector toward it.
constexpr double kLx = -0.5270, kLy = -0.5270, kLz = 0.6325;

// A surface colour lit on a sphere whose normal is (nx, ny, nz), with a glint.
Rgb OnSphere(Rgb base, double nx, double ny, double nz, double glint) {
  const double diffuse = std::max(0.0, nx * kLx + ny * kLy + nz * kLz);
  const double hx = kLx, hy = kLy, hz = kLz + 1.0, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  const double spec = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), 40.0);
  return Add(Scale(base, 0.30 + 0.95 * diffuse), spec * glint);
}

// The shadow a piece throws to the lower right onto the floor: its coverage
// at a distance ds outside the shadow's outline.
double FloorShadow(double ds) { return ds < 0 ? 0.55 : std::clamp(0.55 - ds * 0.3, 0.0, 0.55); }

}  // namespace

QImage DotsTiles() {
  QImage img(kTileSetWidth, kTileSetHeight, QImage::Format_RGB32);
  img.fill(kDefaultTileKey);
  const Rgb key = FromQRgb(kDefaultTileKey), shadow = Mix(key, FromHex(0x05070a), 1.0);
  // Glued balls: a gold collar with rivets, and gold rods out to the four
  // sides, as in a model of a molecule.
  const Rgb gold = FromHex(0xe2bb4e);
  const Clasp rod{6.0, 6.0, 6.0, gold, true, false};
  for (int k = 1; k <= 50; ++k) {
    const Rect cell = TileCell(k);
    const Rgb base = Family(k);
    const bool glued = IsGluedFace(k);
    PaintCell(img, cell.x, cell.y, kDefaultTileKey, true, [&](double x, double y, Rgb &c) -> double {
      const double r = 20.5, cx = 23.5, cy = 23.5;
      const double dx = x - cx, dy = y - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (glued && ClaspAt(rod, x, y, c) > 0) return 1.0;
      if (d > r) {
        const double sx = dx - 1.6, sy = dy - 2.0;
        c = shadow;
        return FloorShadow(std::sqrt(sx * sx + sy * sy) - r);
      }
      // A glossy ball: the light from the upper left, a white glint.
      const double nx = dx / r, ny = dy / r, nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
      Rgb ball = OnSphere(base, nx, ny, nz, 170.0);
      if (glued && d > 15.0 && d < 18.6) {
        ball = OnSphere(gold, nx, ny, nz, 120.0);
        // Twelve rivets round the collar.
        const double a = std::atan2(dy, dx), step = M_PI / 6;
        const double along = (a - step * std::round(a / step)) * 16.8, across = d - 16.8;
        if (along * along + across * across < 1.1 * 1.1) ball = Scale(gold, 0.35);
        if (std::fabs(d - 15.0) < 0.5 || std::fabs(d - 18.6) < 0.5) ball = Scale(gold, 0.3);
      }
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
    DrawNumber(tile, k, 23.5, 23.5, h, 3.2, QColor(ToQRgb(Scale(base, 0.45))), QColor(0, 0, 0, 0), QPointF(0, 0),
               kDefaultTileKey);
    Blit(img, tile, cell.x, cell.y);
  }
  return img;
}

QImage PipsTiles() {
  QImage img(kTileSetWidth / 2, kTileSetHeight, QImage::Format_RGB32);
  img.fill(kDefaultTileKey);
  const Rgb key = FromQRgb(kDefaultTileKey), shadow = Mix(key, FromHex(0x05070a), 1.0);
  const Rgb ivory = FromHex(0xf0e7cf), rim = FromHex(0x6b5d45);
  // Glued pieces: dark red stitches round the edge, bronze staples across each side.
  const Clasp staple{7.0, 7.0, 7.0, FromHex(0xa87434), true, true};
  const Seam stitches{23.5, 23.5, 21.0, 21.0, 5.5, 3.8, 1.5, 2.8, 4.6, false};
  const Rgb thread = FromHex(0xa3262a);
  for (int k = 1; k <= 50; ++k) {
    if ((k - 1) % 10 >= 5) continue;
    const Rect cell = TileCell(k);
    const Rgb ink = Family(k);
    const int pips = (k - 1) / 10 + 1;  // one pip for the first ten, two for the second, ...
    const bool glued = IsGluedFace(k);
    PaintCell(img, cell.x, cell.y, kDefaultTileKey, true, [&](double x, double y, Rgb &c) -> double {
      if (glued && ClaspAt(staple, x, y, c) > 0) return 1.0;
      double nx, ny;
      const double d = RoundedBox(x, y, 23.5, 23.5, 21.0, 21.0, 5.5, nx, ny);
      if (d > 0) {
        double sx, sy;
        c = shadow;
        return FloorShadow(RoundedBox(x - 1.6, y - 2.0, 23.5, 23.5, 21.0, 21.0, 5.5, sx, sy));
      }
      const double depth = -d;
      // Ivory, a little warmer toward the bottom, with a narrow rounded edge.
      Rgb face = Add(ivory, 8.0 - 0.35 * y);
      const double slope = BevelSlope(depth, 3.0, 1.9);
      c = Shade(face, nx * slope, ny * slope, 0.4);
      if (depth < 1.0) c = Mix(c, rim, 0.8 * (1.0 - depth) + 0.1);
      // The pips: a row of small hollows in the ten's colour under the number.
      for (int i = 0; i < pips; ++i) {
        const double px = 23.5 + (i - (pips - 1) / 2.0) * 6.5, py = 35.0, r = 2.5;
        const double ex = x - px, ey = y - py, e = std::sqrt(ex * ex + ey * ey);
        if (e < r) c = Shade(ink, -1.1 * ex / r, -1.1 * ey / r, 0.2);  // hollow: lit on its far side
        if (e >= r - 0.6 && e < r) c = Scale(ink, 0.45);
      }
      if (glued) {
        c = SeamOver(stitches, x, y, c, thread);
        Rgb unused;
        if (ClaspAt(staple, x - 0.9, y - 1.1, unused) > 0) c = Scale(c, 0.6);
      }
      return 1.0;
    });
    QImage tile = img.copy(cell.x, cell.y, 48, 48);
    DrawNumber(tile, k, 23.5, 20.5, 17.0, 4.2, QColor(0x2d, 0x27, 0x22), QColor(255, 255, 255, 150),
               QPointF(0.8, 0.9), kDefaultTileKey);
    Blit(img, tile, cell.x, cell.y);
  }
  return img;
}

}  // namespace assetgen
