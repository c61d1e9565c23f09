// The single game's start window: prepares the game when it is shown (objective,
// initial position, limits), shows both positions side by side with the limits
// under them, and starts the game when it closes.
#pragma once

#include "render/Skinning.h"

class QLabel;
class QPushButton;

namespace pav {

class TFormInfoSingle : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormInfoSingle(QWidget* parent = nullptr);
  ~TFormInfoSingle() override;

  void ButtonPlayClick();

  // Whether the last showing started the game; false when the board could not be
  // scrambled and the window closed on its own.
  bool Started = false;

  QLabel* LabelOP;
  QLabel* LabelIP;
  QLabel* ImageOP;
  QLabel* ImageIP;
  QLabel* LabelTimeLimit;
  QLabel* LabelTimeValue;
  QLabel* LabelMovesLimit;
  QLabel* LabelMovesValue;
  QPushButton* ButtonPlay;

 public slots:
  // Every way of closing the window (button, Enter, Esc) starts the prepared game.
  void done(int result) override;

 protected:
  void FormShow() override;
  void showEvent(QShowEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  // Window size from the previews and texts, every control placed on the panel.
  void Arrange();
  // The prepared game was refused by the scramble: say so and close, nothing started.
  void ScrambleRefused();

  bool Prepared = false;        // shown with a game ready to begin
  bool ScrambleFailed = false;  // shown with no game to begin
};

// The one single game start window, once it is created.
TFormInfoSingle* FormInfoSingle();

}  // namespace pav
