#include "gui/ModalDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace pav::test {

namespace {

QString NameOf(const QWidget* w) {
  const QString title = w->windowTitle();
  return title.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : title;
}

QString WithoutAmpersands(QString text) { return text.remove(QChar('&')); }

}  // namespace

ModalDriver::ModalDriver(int delayMs, int timeoutMs)
    : DelayMs(delayMs), Baseline(QApplication::activeModalWidget()) {
  PollTimer.setInterval(10);
  connect(&PollTimer, &QTimer::timeout, this, &ModalDriver::Poll);
  Deadline.setSingleShot(true);
  Deadline.setInterval(timeoutMs);
  connect(&Deadline, &QTimer::timeout, this, [this] {
    TimedOutFlag = true;
    PollTimer.stop();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != Baseline) modal->close();
  });
}

ModalDriver::~ModalDriver() {
  PollTimer.stop();
  Deadline.stop();
  if (Answering) Answering->removeEventFilter(this);
}

ModalDriver& ModalDriver::Then(Answer answer) {
  Queue.push_back(std::move(answer));
  if (!PollTimer.isActive() && !TimedOutFlag) PollTimer.start();
  if (!Deadline.isActive() && !TimedOutFlag) Deadline.start();
  return *this;
}

void ModalDriver::Poll() {
  if (Queue.empty() || Scheduled) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (Baseline && modal != Baseline) Baseline = nullptr;  // it closed: a reopened window counts as new
  if (Answering) {
    if (modal == Answering && Answering->isVisible()) return;  // not closed yet
    Answering = nullptr;
  }
  if (modal == nullptr || modal == Baseline || !modal->isVisible()) return;

  Scheduled = true;
  Answering = modal;
  // Hiding ends the answer, even when the window is shown again before the next poll.
  modal->installEventFilter(this);
  QPointer<QWidget> target(modal);
  QTimer::singleShot(DelayMs, this, [this, target] {
    Scheduled = false;
    if (!target || Queue.empty()) return;
    Answer answer = std::move(Queue.front());
    Queue.pop_front();
    if (Queue.empty()) {
      PollTimer.stop();
      Deadline.stop();
    }
    SeenWindows << NameOf(target);
    // The answer may open another modal window and block here in its loop; the
    // timers keep polling meanwhile.
    answer(target);
  });
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide && watched == Answering) {
    watched->removeEventFilter(this);
    Answering = nullptr;
  }
  return false;
}

ModalDriver::Answer ModalDriver::Close() {
  return [](QWidget* w) { w->close(); };
}

ModalDriver::Answer ModalDriver::Accept() {
  return [](QWidget* w) {
    if (auto* dialog = qobject_cast<QDialog*>(w))
      dialog->accept();
    else
      w->close();
  };
}

ModalDriver::Answer ModalDriver::Reject() {
  return [](QWidget* w) {
    if (auto* dialog = qobject_cast<QDialog*>(w))
      dialog->reject();
    else
      w->close();
  };
}

ModalDriver::Answer ModalDriver::Key(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  return [key, modifiers, text](QWidget* w) {
    QPointer<QWidget> target(w->focusWidget() != nullptr ? w->focusWidget() : w);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    if (target) QCoreApplication::sendEvent(target, &release);
  };
}

ModalDriver::Answer ModalDriver::Click(const QString& buttonText) {
  return [buttonText](QWidget* w) {
    const QString wanted = WithoutAmpersands(buttonText).trimmed();
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
      if (WithoutAmpersands(button->text()).trimmed() == wanted) {
        button->click();
        return;
      }
    }
    ADD_FAILURE() << "no button \"" << buttonText.toStdString() << "\" on " << NameOf(w).toStdString();
    w->close();
  };
}

ModalDriver::Answer ModalDriver::Press(const QString& buttonText) {
  return [buttonText](QWidget* w) {
    const QString wanted = WithoutAmpersands(buttonText).trimmed();
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
      if (WithoutAmpersands(button->text()).trimmed() != wanted) continue;
      const QPointF at(button->width() / 2.0, button->height() / 2.0);
      QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(button, &press);
      QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                          Qt::NoModifier);
      QApplication::sendEvent(button, &release);
      return;
    }
    ADD_FAILURE() << "no button \"" << buttonText.toStdString() << "\" on " << NameOf(w).toStdString();
    w->close();
  };
}

ModalDriver::Answer ModalDriver::Inspect(std::function<void(QWidget*)> inspect, Answer answer) {
  return [inspect = std::move(inspect), answer = std::move(answer)](QWidget* w) {
    inspect(w);
    answer(w);
  };
}

}  // namespace pav::test
