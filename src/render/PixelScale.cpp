#include "render/PixelScale.h"

#include <QPainter>
#include <QTransform>
#include <cmath>

namespace pav {

namespace {

// How many device pixels one logical pixel covers under the painter's transform.
qreal PainterRatio(const QPainter& painter) {
  const QTransform t = painter.deviceTransform();
  return std::hypot(t.m11(), t.m12());
}

}  // namespace

bool WholePixelRatio(qreal ratio) { return ratio >= 1 && std::abs(ratio - std::round(ratio)) < 1e-6; }

void SetPictureScaling(QPainter& painter) {
  painter.setRenderHint(QPainter::SmoothPixmapTransform, !WholePixelRatio(PainterRatio(painter)));
}

QPixmap DevicePixmap(const QImage& picture, QSize size, qreal ratio) {
  if (picture.isNull() || size.isEmpty()) return QPixmap();
  if (ratio <= 0) ratio = 1;
  const QSize device(qRound(size.width() * ratio), qRound(size.height() * ratio));
  const bool whole = device.width() % picture.width() == 0 && device.height() % picture.height() == 0;
  QPixmap pixmap = QPixmap::fromImage(
      device == picture.size()
          ? picture
          : picture.scaled(device, Qt::IgnoreAspectRatio, whole ? Qt::FastTransformation : Qt::SmoothTransformation));
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

}  // namespace pav
