// Answers the modal windows a test opens. A modal window runs its own event loop,
// so the test cannot act on it after exec() is called; the driver watches for the
// active modal window from a timer and answers it from inside that loop.
//
//   ModalDriver driver;
//   driver.Then(ModalDriver::Click("OK"));
//   dialog.exec();  // returns once the driver pressed "OK"
//   EXPECT_TRUE(driver.Done());
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace pav::test {

class ModalDriver : public QObject {
 public:
  using Answer = std::function<void(QWidget* modal)>;

  // Each answer waits `delayMs` after its window became the active modal window.
  // After `timeoutMs` without the expected windows the driver closes whatever
  // modal window it is waiting on, so a test fails instead of hanging.
  explicit ModalDriver(int delayMs = 30, int timeoutMs = 5000);
  ~ModalDriver() override;

  // Queues the answer to the next modal window that opens (a window already modal
  // when the driver was made is left alone). Answers run in the order queued.
  ModalDriver& Then(Answer answer);

  // All queued answers were given.
  bool Done() const { return Queue.empty(); }
  bool TimedOut() const { return TimedOutFlag; }
  // What the driver answered: window titles (or class names when untitled), in order.
  const QStringList& Seen() const { return SeenWindows; }

  // Ready-made answers.
  static Answer Close();                        // close() the window (a dialog rejects)
  static Answer Accept();                       // QDialog::accept()
  static Answer Reject();                       // QDialog::reject()
  static Answer Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});
  static Answer Click(const QString& buttonText);  // a button's text, '&' ignored
  // The same button pressed and released by the pointer, as a player presses it.
  static Answer Press(const QString& buttonText);
  // Runs `inspect` on the window, then `answer`.
  static Answer Inspect(std::function<void(QWidget*)> inspect, Answer answer);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Poll();

  int DelayMs;
  QTimer PollTimer;
  QTimer Deadline;
  std::deque<Answer> Queue;
  QPointer<QWidget> Baseline;   // modal before the driver was made
  QPointer<QWidget> Answering;  // the window answered last, until it hides
  bool Scheduled = false;
  bool TimedOutFlag = false;
  QStringList SeenWindows;
};

}  // namespace pav::test
