#include "Digits.h"

#include <QPainterPathStroker>
#include <QRectF>
#include <QTransform>

#include <string>

namespace assetgen {

namespace {

// Centre line of digit d in a unit box (x 0..1 right, y 0..1 down).
QPainterPath DigitCentreLine(int d) {
  QPainterPath p;
  switch (d) {
    case 0:
      p.moveTo(0, 0.36);
      p.cubicTo(0, -0.12, 1, -0.12, 1, 0.36);
      p.lineTo(1, 0.64);
      p.cubicTo(1, 1.12, 0, 1.12, 0, 0.64);
      p.closeSubpath();
      break;
    case 1:
      p.moveTo(0.12, 0.2);
      p.lineTo(0.58, 0.0);
      p.lineTo(0.58, 1.0);
      p.moveTo(0.12, 1.0);
      p.lineTo(1.0, 1.0);
      break;
    case 2:
      p.moveTo(0.0, 0.27);
      p.cubicTo(0.04, -0.08, 0.98, -0.1, 0.98, 0.3);
      p.cubicTo(0.98, 0.52, 0.6, 0.62, 0.0, 1.0);
      p.lineTo(1.0, 1.0);
      break;
    case 3:
      p.moveTo(0.02, 0.16);
      p.cubicTo(0.2, -0.05, 0.95, -0.06, 0.95, 0.24);
      p.cubicTo(0.95, 0.42, 0.72, 0.46, 0.42, 0.46);
      p.cubicTo(0.78, 0.46, 1.0, 0.54, 1.0, 0.74);
      p.cubicTo(1.0, 1.06, 0.2, 1.08, 0.0, 0.84);
      break;
    case 4:
      p.moveTo(0.74, 1.0);
      p.lineTo(0.74, 0.0);
      p.lineTo(0.0, 0.7);
      p.lineTo(1.0, 0.7);
      break;
    case 5:
      p.moveTo(0.92, 0.0);
      p.lineTo(0.1, 0.0);
      p.lineTo(0.05, 0.44);
      p.cubicTo(0.3, 0.34, 1.0, 0.3, 1.0, 0.68);
      p.cubicTo(1.0, 1.06, 0.2, 1.08, 0.0, 0.86);
      break;
    case 6:
      p.moveTo(0.86, 0.04);
      p.cubicTo(0.4, -0.1, 0.0, 0.2, 0.0, 0.66);
      p.moveTo(0.0, 0.68);
      p.cubicTo(0.0, 0.3, 1.0, 0.3, 1.0, 0.68);
      p.cubicTo(1.0, 1.08, 0.0, 1.08, 0.0, 0.68);
      break;
    case 7:
      p.moveTo(0.0, 0.0);
      p.lineTo(1.0, 0.0);
      p.cubicTo(0.62, 0.4, 0.42, 0.66, 0.36, 1.0);
      break;
    case 8:
      p.moveTo(0.5, 0.45);
      p.cubicTo(-0.02, 0.45, -0.02, 0.0, 0.5, 0.0);
      p.cubicTo(1.02, 0.0, 1.02, 0.45, 0.5, 0.45);
      p.cubicTo(-0.06, 0.45, -0.06, 1.0, 0.5, 1.0);
      p.cubicTo(1.06, 1.0, 1.06, 0.45, 0.5, 0.45);
      break;
    case 9:
      p.moveTo(0.14, 0.96);
      p.cubicTo(0.6, 1.1, 1.0, 0.8, 1.0, 0.34);
      p.moveTo(1.0, 0.32);
      p.cubicTo(1.0, 0.7, 0.0, 0.7, 0.0, 0.32);
      p.cubicTo(0.0, -0.08, 1.0, -0.08, 1.0, 0.32);
      break;
    default:
      break;
  }
  return p;
}

// Width of each digit's centre-line box relative to its height.
double DigitAspect(int d) { return d == 1 ? 0.46 : 0.52; }

}  // namespace

QPainterPath NumberOutline(int n, double height, double stroke) {
  const std::string text = std::to_string(n);
  const double lineHeight = height - stroke;  // the pen adds half a stroke above and below
  const double gap = stroke * 0.55;
  QPainterPath lines;
  double x = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const int d = text[i] - '0';
    // A lone digit has the room to stand a little wider.
    const double w = DigitAspect(d) * lineHeight * (text.size() == 1 ? 1.15 : 1.0);
    QTransform t;
    t.translate(x, 0);
    t.scale(w, lineHeight);
    lines.addPath(t.map(DigitCentreLine(d)));
    x += w + stroke + gap;
  }
  const double total = x - stroke - gap;
  QPainterPathStroker stroker;
  stroker.setWidth(stroke);
  stroker.setCapStyle(Qt::RoundCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  QPainterPath outline = stroker.createStroke(lines).simplified();
  return QTransform::fromTranslate(-total / 2, -lineHeight / 2).map(outline);
}

}  // namespace assetgen
