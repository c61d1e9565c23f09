// The graphics window: the board graphics (with their wall background) and the
// tile set, each chosen from the pictures in "Graphics" and applied at once to the
// board, the objective window and every dialog on screen; the way to the custom picture.
#pragma once

#include "render/Skinning.h"

class QComboBox;
class QGroupBox;
class QPushButton;

namespace pav {

class TFormSkin : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormSkin(QWidget* parent = nullptr);
  ~TFormSkin() override;

  // Both pick lists filled from the "Graphics" folder, the configured names selected.
  void FormActivate();
  void ComboGBChange();
  void ComboTSChange();
  void ButtonPictureClick();
  void ButtonOKClick();

  QGroupBox* GroupGB;
  QComboBox* ComboGB;
  QGroupBox* GroupTS;
  QComboBox* ComboTS;
  QPushButton* ButtonPicture;
  QPushButton* ButtonOK;

 protected:
  void FormShow() override;
  void changeEvent(QEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  // Loads the configured set and shows it everywhere; false when a picture failed.
  bool ApplyGraphics(bool withBackground);
};

// The game's one graphics window, once it has been created.
TFormSkin* FormSkin();

}  // namespace pav
