// The end-of-game message window: "CONGRATULATIONS !" or "GAME OVER" with one
// line of text, both set by whoever ends the game. Closing it puts the idle
// pattern back on the board.
#pragma once

#include <string>

#include "render/Skinning.h"

class QLabel;
class QPushButton;

namespace pav {

class TFormSolved : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormSolved(QWidget* parent = nullptr);
  ~TFormSolved() override;

  void ButtonOKClick();
  // The outcome in the title row and its message (a text of the game), set before the
  // window is shown.
  void SetOutcome(const std::string& title, const std::string& text);

  // The message, set before the window is shown (lines separated by '\n').
  QLabel* LabelInfo;
  QPushButton* ButtonOK;

 public slots:
  // Every way of closing the window (button, Enter, Esc) shows the idle pattern.
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  // Window height from the message, the message and the button on the panel.
  void Arrange();
};

// The one end-of-game message window, once it is created.
TFormSolved* FormSolved();

}  // namespace pav
