// The "LOAD GAME" window: the list of saved games; OK or Enter takes the chosen one
// up, Cancel or Esc leaves the game as it is.
#pragma once

#include "render/Skinning.h"

class QComboBox;
class QPushButton;

namespace pav {

class TFormLoadGame : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormLoadGame(QWidget* parent = nullptr);
  ~TFormLoadGame() override;

  QComboBox* ComboBoxFile;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;

 public slots:
  // Every way of closing the window: a load when OK or Enter closed it and a saved
  // game is selected.
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  bool LoadAnswer = false;
};

// The one load window, once it is created.
TFormLoadGame* FormLoadGame();

}  // namespace pav
