// The sounds window: the file of each of the four effects, and the master switch.
#pragma once

#include <array>

#include "media/Effects.h"
#include "render/Skinning.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace pav {

class TFormSounds : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormSounds(QWidget* parent = nullptr);
  ~TFormSounds() override;

  // The lists, labels and "Play" buttons follow the check box.
  void CheckBoxSoundsClick();
  // A "Play" button: its list's entry at once, unless it is "[None]".
  void ButtonPlayClick(TEffect effect);

  QCheckBox* CheckBoxSounds;
  QLabel* LabelClick;
  QLabel* LabelMove;
  QLabel* LabelSolved;
  QLabel* LabelGameOver;
  QComboBox* ComboBoxClick;
  QComboBox* ComboBoxMove;
  QComboBox* ComboBoxSolved;
  QComboBox* ComboBoxGameOver;
  QPushButton* ButtonPlayClickSound;
  QPushButton* ButtonPlayMove;
  QPushButton* ButtonPlaySolved;
  QPushButton* ButtonPlayGameOver;
  QPushButton* ButtonOK;

  // The row of an effect: its list and its "Play" button.
  QComboBox* List(TEffect effect) const;
  QPushButton* PlayButton(TEffect effect) const;

 public slots:
  // However the window closes, the lists and the check box are stored.
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
};

// The one sounds window, once it is created.
TFormSounds* FormSounds();

}  // namespace pav
