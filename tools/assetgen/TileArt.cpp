#include "TileArt.h"

#include "Digits.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetgen {

namespace {

const std::uint32_t kFamilies[5] = {0xd98a1e, 0x1f9a94, 0xd4553f, 0x5b5fd0, 0x4e9a3a};

}  // namespace

Rgb Family(int k) { return FromHex(kFamilies[std::clamp((k - 1) / 10, 0, 4)]); }

double RoundedBox(double x, double y, double cx, double cy, double hx, double hy, double r, double &nx, double &ny) {
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

QRgb AvoidKey(QRgb c, QRgb key) {
  if ((c | 0xff000000u) != (key | 0xff000000u)) return c;
  const int b = qBlue(c) < 255 ? qBlue(c) + 1 : qBlue(c) - 1;
  return qRgb(qRed(c), qGreen(c), b);
}

void DrawNumber(QImage &img, int k, double cx, double cy, double height, double stroke, QColor ink, QColor shadow,
                QPointF shadowOffset, QRgb key) {
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

}  // namespace assetgen
