#include "TileSets.h"

#include "Glue.h"
#include "Layout.h"
#include "Paint.h"
#include "TileArt.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

QImage DefaultTiles() {
  QImage img(kTileSetWidth, kTileSetHeight, QImage::Format_RGB32);
  img.fill(kDefaultTileKey);
  const Rgb key = FromQRgb(kDefaultTileKey);
  // Glued faces: brass staples across each side, cream stitches round the edge.
  const Clasp staple{7.0, 7.0, 7.0, FromHex(0xdcb44c), true, true};
  const Seam stitches{23.5, 23.5, 21.5, 21.5, 8.0, 4.3, 1.5, 2.8, 4.6, false};
  const Rgb thread = FromHex(0xf6edc9);
  for (int k = 1; k <= 50; ++k) {
    const Rect cell = TileCell(k);
    const Rgb base = Family(k);
    const Rgb rimColour = Scale(base, 0.32);
    const bool glued = IsGluedFace(k);
    PaintCell(img, cell.x, cell.y, kDefaultTileKey, true, [&](double x, double y, Rgb &c) -> double {
      if (glued && ClaspAt(staple, x, y, c) > 0) return 1.0;
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
      if (glued) {
        c = SeamOver(stitches, x, y, c, thread);
        Rgb unused;
        if (ClaspAt(staple, x - 0.9, y - 1.1, unused) > 0) c = Scale(c, 0.55);
      }
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
  // Glued faces: lead dovetail cramps set across the joints, as masons tie
  // blocks of stone together, and a ring of lead plugs round the slab.
  const Clasp cramp{5.0, 10.0, 6.5, FromHex(0x646c77), false, false};
  const Seam plugs{24.0, 24.0, 23.0, 23.0, 2.5, 4.6, 2.6, 2.6, 5.2, true};
  const Rgb lead = FromHex(0x5d646d);
  QImage img(kTileSetWidth, kTileSetHeight, QImage::Format_RGB32);
  img.fill(ToQRgb(grout));
  for (int k = 1; k <= 50; ++k) {
    const Rect cell = TileCell(k);
    const int f = (k - 1) / 10;
    const Rgb s = FromHex(stone[f]), v = FromHex(vein[f]);
    const bool glued = IsGluedFace(k);
    PaintCell(img, cell.x, cell.y, ToQRgb(grout), false, [&](double x, double y, Rgb &c) -> double {
      if (glued && ClaspAt(cramp, x, y, c) > 0) return 1.0;
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
      if (glued) c = SeamOver(plugs, x, y, c, lead);
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

}  // namespace assetgen
