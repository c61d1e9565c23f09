// The yardstick of the start-up measurement: a bare Qt 6 window of the splash's
// size that paints a flat colour and quits. measure_startup.sh launches it the same
// way as the game, so the two times from launch to a window on screen compare.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {

void Mark(const char* event) {
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  std::fprintf(stderr, "pavilore-measure %s %lld\n", event, static_cast<long long>(us));
  std::fflush(stderr);
}

class TBare : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(28, 86, 122));
    if (!Painted) {
      Painted = true;
      QTimer::singleShot(0, [] {
        Mark("window-painted");
        QCoreApplication::quit();
      });
    }
  }

 private:
  bool Painted = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Mark("start");
  TBare w;
  w.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  w.resize(384, 144);
  w.show();
  return app.exec();
}
