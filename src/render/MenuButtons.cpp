#include "render/MenuButtons.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <cmath>

namespace pav {

namespace {

const QColor Ink(44, 44, 52);
const QColor Paper(250, 250, 246);

// Every picture is drawn on a 16 x 16 grid; lines sit on half pixels to stay crisp.
void DrawGame(QPainter& p) {
  p.setPen(QPen(Ink, 1));
  p.setBrush(QColor(92, 84, 76));
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
  p.setPen(QPen(QColor(120, 72, 16), 1));
  p.setBrush(QColor(236, 178, 64));
  for (const QPointF at : {QPointF(2.5, 2.5), QPointF(8.5, 2.5), QPointF(2.5, 8.5)})
    p.drawRect(QRectF(at, QSizeF(5, 5)));
  // The empty cell the tiles slide into.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 54, 50));
  p.drawRect(QRectF(9, 9, 5, 5));
}

void DrawOptions(QPainter& p) {
  for (int row = 0; row < 2; ++row) {
    const qreal top = 1.5 + row * 7;
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(0.5, top, 6, 6));
    p.drawLine(QPointF(9, top + 3), QPointF(15.5, top + 3));
    if (row == 0) {
      p.setPen(QPen(QColor(24, 130, 48), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({QPointF(2, top + 3), QPointF(3.3, top + 4.6), QPointF(5.4, top + 1.4)}));
    }
  }
}

void DrawGraphics(QPainter& p) {
  p.setPen(QPen(Ink, 1));
  p.setBrush(QColor(150, 200, 240));
  p.drawRect(QRectF(0.5, 2.5, 15, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 204, 40));
  p.drawEllipse(QPointF(11.5, 6), 1.8, 1.8);
  p.setBrush(QColor(52, 140, 64));
  p.drawPolygon(QPolygonF({QPointF(1, 13), QPointF(5.5, 6.5), QPointF(8.5, 10), QPointF(10.5, 8.5), QPointF(15, 13)}));
}

void DrawSounds(QPainter& p) {
  p.setPen(QPen(Ink, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(84, 92, 110));
  p.drawPolygon(QPolygonF(
      {QPointF(1.5, 5.5), QPointF(4.5, 5.5), QPointF(8.5, 1.5), QPointF(8.5, 14.5), QPointF(4.5, 10.5), QPointF(1.5, 10.5)}));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(40, 96, 190), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
  p.drawArc(QRectF(6, 2, 9, 12), -60 * 16, 120 * 16);
}

void DrawMusic(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(Ink);
  // Two notes joined by a beam.
  p.drawEllipse(QPointF(3.5, 12.5), 2.5, 2);
  p.drawEllipse(QPointF(12, 11), 2.5, 2);
  p.setPen(QPen(Ink, 1.4));
  p.drawLine(QPointF(5.4, 12.3), QPointF(5.4, 3));
  p.drawLine(QPointF(13.9, 10.8), QPointF(13.9, 1.5));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({QPointF(4.7, 2.4), QPointF(14.6, 0.8), QPointF(14.6, 3.6), QPointF(4.7, 5.2)}));
}

// A round badge with a sign in it (help and about).
void DrawBadge(QPainter& p, const QColor& colour, const QString& sign, bool serif) {
  p.setPen(QPen(colour.darker(150), 1));
  p.setBrush(colour);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, 16, 16.5), Qt::AlignCenter, sign);
}

void DrawShortCuts(QPainter& p) {
  // A key cap seen from above: its sloping sides and its face with a letter.
  p.setPen(QPen(Ink, 1));
  p.setBrush(QColor(176, 176, 184));
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
  p.setPen(QPen(QColor(150, 150, 160), 1));
  p.setBrush(QColor(236, 236, 240));
  p.drawRoundedRect(QRectF(2.5, 1.5, 11, 10), 1.5, 1.5);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(9);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Ink);
  p.drawText(QRectF(2.5, 1.5, 11, 10), Qt::AlignCenter, QStringLiteral("F"));
}

void DrawRecords(QPainter& p) {
  const QColor gold(230, 176, 30);
  const QColor rim(150, 104, 10);
  p.setPen(QPen(rim, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(0.8, 2.5, 5, 5.5), 90 * 16, 180 * 16);
  p.drawArc(QRectF(10.2, 2.5, 5, 5.5), -90 * 16, 180 * 16);
  p.setPen(QPen(rim, 1));
  p.setBrush(gold);
  QPainterPath cup;
  cup.moveTo(3.5, 1.5);
  cup.lineTo(12.5, 1.5);
  cup.cubicTo(12.5, 7.5, 10.5, 9.5, 8, 9.5);
  cup.cubicTo(5.5, 9.5, 3.5, 7.5, 3.5, 1.5);
  p.drawPath(cup);
  p.drawRect(QRectF(7, 9.5, 2, 2.5));
  p.drawRect(QRectF(4.5, 12.5, 7, 2.5));
}

void DrawIcon(QPainter& p, TMenuIcon icon) {
  switch (icon) {
    case TMenuIcon::Game: DrawGame(p); break;
    case TMenuIcon::Options: DrawOptions(p); break;
    case TMenuIcon::Graphics: DrawGraphics(p); break;
    case TMenuIcon::Sounds: DrawSounds(p); break;
    case TMenuIcon::Music: DrawMusic(p); break;
    case TMenuIcon::Help: DrawBadge(p, QColor(40, 104, 200), QStringLiteral("?"), false); break;
    case TMenuIcon::ShortCuts: DrawShortCuts(p); break;
    case TMenuIcon::Records: DrawRecords(p); break;
    case TMenuIcon::About: DrawBadge(p, QColor(24, 140, 120), QStringLiteral("i"), true); break;
  }
}

}  // namespace

QIcon MenuIcon(TMenuIcon icon, int size) {
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  const int pixels = static_cast<int>(std::ceil(size * ratio));
  QPixmap pixmap(pixels, pixels);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(pixels / 16.0, pixels / 16.0);
    DrawIcon(p, icon);
  }
  pixmap.setDevicePixelRatio(ratio);
  return QIcon(pixmap);
}

TMenuButton::TMenuButton(const QString& caption, TMenuIcon icon, QWidget* parent)
    : QPushButton(caption, parent), PictureKind(icon), IconImage(MenuIcon(icon, IconSize)) {
  setAutoDefault(false);
  setDefault(false);
}

void TMenuButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  // The style draws the bevel and the focus; the picture and the words are placed here.
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButton, option);

  int shiftX = 0;
  int shiftY = 0;
  if (isDown() || isChecked()) {
    shiftX = style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this);
    shiftY = style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this);
  }
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  const QRect iconRect(IconLeft + shiftX, (height() - IconSize) / 2 + shiftY, IconSize, IconSize);
  IconImage.paint(&painter, iconRect, Qt::AlignCenter, mode);

  const QRect textRect(TextLeft + shiftX, shiftY, width() - TextLeft - 4, height());
  style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                        text().trimmed(), QPalette::ButtonText);
}

}  // namespace pav
