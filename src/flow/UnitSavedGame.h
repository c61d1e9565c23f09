// The "GAME SAVED" window: the name the game was saved under, closed with OK,
// Enter or Esc.
#pragma once

#include "render/Skinning.h"

class QLabel;
class QPushButton;

namespace pav {

class TFormSavedGame : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormSavedGame(QWidget* parent = nullptr);
  ~TFormSavedGame() override;

  QLabel* LabelCaption;  // "Game Saved as : "
  QLabel* LabelInfo;     // the saved name, filled by the opener
  QPushButton* ButtonOK;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
};

// The one saved-game window, once it is created.
TFormSavedGame* FormSavedGame();

}  // namespace pav
