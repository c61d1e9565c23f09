// Drawing helpers shared by the tile sets: the supersampled cell painter, the
// rounded box every raised tile is made of, and the numbers.
#pragma once

#include "Paint.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRgb>

namespace assetgen {

// The colour of tile k's ten: amber, teal, coral, violet, green.
Rgb Family(int k);

// Signed distance from (x, y) to a rounded box centred on (cx, cy) with half
// sizes (hx, hy) and corner radius r (negative inside), and the outward normal.
double RoundedBox(double x, double y, double cx, double cy, double hx, double hy, double r, double &nx, double &ny);

// Keeps tile art off the key colour: a pixel that would equal it is nudged.
QRgb AvoidKey(QRgb c, QRgb key);

// Supersampled cell: f(x, y, colour&) returns the coverage of the art at the
// sample and its colour; uncovered samples show `back`. When `keyed`, pixels
// whose art covers less than a fifth stay exactly `back` and no other pixel
// takes that colour.
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
void DrawNumber(QImage &img, int k, double cx, double cy, double height, double stroke, QColor ink, QColor shadow,
                QPointF shadowOffset, QRgb key);

}  // namespace assetgen
