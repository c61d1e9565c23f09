#include "app/UnitSplash.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace pav {

namespace {

// A text drawn twice, one pixel apart: the dark copy is its shadow.
void ShadowedText(QPainter& p, const QRect& box, int flags, const QString& text, const QColor& colour) {
  p.setPen(QColor(0, 0, 0, 200));
  p.drawText(box.translated(1, 1), flags, text);
  p.setPen(colour);
  p.drawText(box, flags, text);
}

void Tile(QPainter& p, const QRectF& r, const QColor& face, int number) {
  QPainterPath path;
  path.addRoundedRect(r, 5, 5);
  QLinearGradient g(r.topLeft(), r.bottomRight());
  g.setColorAt(0, face.lighter(135));
  g.setColorAt(1, face.darker(130));
  p.fillPath(path, g);
  p.setPen(QPen(face.darker(180), 1));
  p.drawPath(path);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(static_cast<int>(r.height() * 0.5));
  p.setFont(f);
  p.setPen(QColor(255, 255, 255, 230));
  p.drawText(r, Qt::AlignCenter, QString::number(number));
}

const unsigned char* Prerendered = nullptr;

// The picture of this start: the one drawn at build time on a screen of one device
// pixel per pixel (it saves the first use of the fonts before the splash is up).
QImage StartPicture() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
  if (Prerendered && ratio == 1.0)
    return QImage(Prerendered, TFormSplash::SplashWidth, TFormSplash::SplashHeight, TFormSplash::SplashWidth * 4,
                  QImage::Format_RGB32);
  // A screen of more pixels gets the picture drawn for it, sharp.
  return TFormSplash::DrawPicture(ratio);
}

}  // namespace

void TFormSplash::SetPrerendered(const unsigned char* pixels) { Prerendered = pixels; }

QImage TFormSplash::DrawPicture(qreal ratio) {
  QImage img(qRound(SplashWidth * ratio), qRound(SplashHeight * ratio), QImage::Format_RGB32);
  img.setDevicePixelRatio(ratio);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, SplashWidth, SplashHeight);
  sky.setColorAt(0, QColor(18, 32, 74));
  sky.setColorAt(0.55, QColor(28, 86, 122));
  sky.setColorAt(1, QColor(36, 132, 120));
  p.fillRect(QRect(0, 0, SplashWidth, SplashHeight), sky);

  // Faint grid of cells over the whole picture.
  p.setPen(QColor(255, 255, 255, 18));
  for (int x = 0; x < SplashWidth; x += 24) p.drawLine(x, 0, x, SplashHeight);
  for (int y = 0; y < SplashHeight; y += 24) p.drawLine(0, y, SplashWidth, y);

  // A small board of tiles with one gap, a tile half way into it.
  const QRectF board(14, 14, 116, 116);
  QPainterPath frame;
  frame.addRoundedRect(board, 8, 8);
  p.fillPath(frame, QColor(10, 18, 40, 170));
  const QColor faces[3] = {QColor(214, 120, 46), QColor(72, 160, 92), QColor(70, 120, 210)};
  int n = 1;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col, ++n) {
      if (row == 2 && col == 2) continue;
      qreal x = board.left() + 6 + col * 36;
      const qreal y = board.top() + 6 + row * 36;
      if (row == 2 && col == 1) x += 14;  // sliding towards the gap
      Tile(p, QRectF(x, y, 32, 32), faces[(row + col) % 3], n);
    }

  QFont title = p.font();
  title.setPixelSize(34);
  title.setBold(true);
  p.setFont(title);
  ShadowedText(p, QRect(146, 14, 230, 42), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pavilore"),
               QColor(255, 236, 170));

  QFont text = p.font();
  text.setPixelSize(15);
  text.setBold(false);
  p.setFont(text);
  ShadowedText(p, QRect(148, 58, 230, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("The sliding puzzle platform"), QColor(235, 240, 250));
  ShadowedText(p, QRect(148, 78, 230, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Version 1.0"),
               QColor(235, 240, 250));

  QFont loading = p.font();
  loading.setPixelSize(12);
  loading.setBold(true);
  p.setFont(loading);
  p.setPen(QColor(190, 230, 220));
  p.drawText(QRect(148, 108, 230, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("L O A D I N G . . ."));

  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, SplashWidth - 1, SplashHeight - 1));
  p.end();
  return img;
}

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Timer(new QTimer(this)),
      Image(StartPicture()) {
  setWindowTitle(QStringLiteral("Loading Pavilore"));
  setFixedSize(SplashWidth, SplashHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move(s.x() + (s.width() - SplashWidth) / 2, s.y() + (s.height() - SplashHeight) / 2);
  }
  // A coarse timer may fire up to 5 % early; the splash stays the full three seconds.
  Timer->setTimerType(Qt::PreciseTimer);
  Timer->setInterval(SplashMilliseconds);
  connect(Timer, &QTimer::timeout, this, &TFormSplash::TimerSplashTimer);
  Timer->start();
}

void TFormSplash::TimerSplashTimer() {
  Timer->stop();
  Fired = true;
}

void TFormSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Image);
  WasPainted = true;
}

void TFormSplash::closeEvent(QCloseEvent* e) {
  if (Fired)
    e->accept();
  else
    e->ignore();
}

}  // namespace pav
