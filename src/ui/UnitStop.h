// The pause window: back to the game or abort it. The choice is left in
// App().PauseResult (1 back to the game, 2 abort) for the pause command.
#pragma once

#include "render/Skinning.h"

class QPushButton;
class QRadioButton;

namespace pav {

class TFormStop : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormStop(QWidget* parent = nullptr);
  ~TFormStop() override;

  // The press plays the game-over sound when "Abort Game" is chosen, else the click.
  void ButtonOKMouseDown();
  void ButtonOKClick();
  // "Back to Game" is chosen again on every activation.
  void FormActivate();

  QRadioButton* RadioButtonContinue;
  QRadioButton* RadioButtonAbort;
  QPushButton* ButtonOK;

 public slots:
  // Every way of closing the window records the choice.
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
  bool event(QEvent*) override;
  // The window's keys come first, whichever control has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Enter, Esc, Space, B, A, F10 and keypad 1 and 2; false for any other key.
  bool FormKeyDown(const QKeyEvent* event);
};

// The one pause window, once it is created.
TFormStop* FormStop();

}  // namespace pav
