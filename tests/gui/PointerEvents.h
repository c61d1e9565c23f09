// Pointer events sent straight to a window, in its client coordinates.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace pav::test {

inline void SendPress(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
  QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), b, b, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// A move with `held` the buttons that are down.
inline void SendMove(QWidget* w, int x, int y, Qt::MouseButtons held) {
  QMouseEvent e(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, held,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void SendRelease(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
  QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), b, Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

}  // namespace pav::test
