// The splash window shown while the game starts: 384 x 144, borderless, centred,
// a picture drawn in code with the game's texts. It agrees to close only once its
// timer has fired, so it stays at least three seconds.
#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

namespace pav {

class TFormSplash : public QWidget {
  Q_OBJECT
 public:
  static constexpr int SplashWidth = 384;
  static constexpr int SplashHeight = 144;
  static constexpr int SplashMilliseconds = 3000;

  explicit TFormSplash(QWidget* parent = nullptr);

  // Yes once TimerSplash has fired.
  bool FormCloseQuery() const { return Fired; }
  void TimerSplashTimer();
  QTimer* TimerSplash() const { return Timer; }
  // The picture the window shows.
  const QImage& Picture() const { return Image; }
  // Set by the first paint of the window.
  bool Painted() const { return WasPainted; }

  // The picture at `ratio` device pixels per pixel (its device pixel ratio set).
  static QImage DrawPicture(qreal ratio = 1.0);
  // The picture drawn once when the game was built (SplashWidth x SplashHeight pixels
  // of QImage::Format_RGB32, rows top-down), shown instead of drawing it again at
  // every start when the screen has one device pixel per pixel. Null draws it.
  static void SetPrerendered(const unsigned char* pixels);

 protected:
  void paintEvent(QPaintEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  QTimer* Timer;
  QImage Image;
  bool Fired = false;
  bool WasPainted = false;
};

}  // namespace pav
