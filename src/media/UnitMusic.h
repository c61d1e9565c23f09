// The music window: the selection mode, the selected file with its preview, and
// the music switch. While it is shown the game's music is silent.
#pragma once

#include "render/Skinning.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pav {

class TFormMusic : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormMusic(QWidget* parent = nullptr);
  ~TFormMusic() override;

  // The list refilled from "\Music\*.MID", Config.MusicFile selected if present.
  void FillMusicList();

  // The enabling rules of the check box and the radio buttons.
  void CheckBoxMusicClick();
  void ComboBoxMusicChange();
  void ButtonPlayClick();
  void ButtonPauseClick();
  void ButtonStopClick();
  // The preview played to its end.
  void MediaPlayerNotify();
  // The mode of the checked radio button (1..3).
  int SelectedMode() const;

  QCheckBox* CheckBoxMusic;
  QRadioButton* RadioButtonSelected;
  QRadioButton* RadioButtonRandom;
  QRadioButton* RadioButtonAlphabetic;
  QLabel* LabelMusicFile;
  QComboBox* ComboBoxMusic;
  QPushButton* ButtonPlay;
  QPushButton* ButtonPause;
  QPushButton* ButtonStop;
  QPushButton* ButtonOK;

 public slots:
  void done(int result) override;

 protected:
  void FormShow() override;
  void showEvent(QShowEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  // The folder had no music: the window closes itself once it is up.
  bool Empty = false;
};

// The one music window, once it is created.
TFormMusic* FormMusic();

}  // namespace pav
