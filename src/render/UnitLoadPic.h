// The custom-picture window: the player's own picture laid over the right half
// of the tile set (the 5 x 5 block of tiles 6-10 ... 46-50), with its rectangle
// of cells, a small preview and the board on the main window showing the result
// at once. OK keeps the choice; Cancel puts back the tiles of the stored one.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "render/Skinning.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace pav {

// Asks the player for a picture file ("" when cancelled). The game opens the
// "Load Picture" file dialog; tests put their own chooser in its place.
using TPictureChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;
void SetPictureChooser(TPictureChooser chooser);

class TFormLoadPic : public TSkinnedDialog {
  Q_OBJECT
 public:
  static constexpr int MinPlace = -18, MaxPlace = 5;  // X and Y
  static constexpr int MinSize = 1, MaxSize = 20;     // W and H
  static constexpr int PreviewCell = 10;              // block preview pixels per cell

  explicit TFormLoadPic(QWidget* parent = nullptr);
  ~TFormLoadPic() override;

  // The live preview: the shown picture (loaded again from the shown path when
  // reload is set) laid over the block as the spin controls say, on the board and
  // in the objective window at once.
  void ComposeCustomPicture(bool reload);
  void ButtonBrowseClick();
  void ButtonOKClick();
  void ButtonCancelClick();
  void CheckBoxEnabledClick();
  void UpDownClick();

  // The path shown in the window (the file on the disk, UTF-8).
  const QString& PicturePath() const { return ShownPath; }
  bool Confirmed() const { return ConfirmedMark; }
  bool Changed() const { return ChangedMark; }

  QLabel* LabelPicture;
  QLabel* LabelFileName;
  QPushButton* ButtonBrowse;
  QCheckBox* CheckBoxEnabled;
  QLabel* LabelX;
  QLabel* LabelY;
  QLabel* LabelW;
  QLabel* LabelH;
  QSpinBox* UpDownX;
  QSpinBox* UpDownY;
  QSpinBox* UpDownW;
  QSpinBox* UpDownH;
  QLabel* LabelXValue;
  QLabel* LabelYValue;
  QLabel* LabelWValue;
  QLabel* LabelHValue;
  QWidget* PanelBlock;    // holds both previews
  QLabel* ImageBlock;     // the 5 x 5 block, 50 x 50
  QLabel* ImagePicture;   // the picture over its rectangle
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;

 public slots:
  // Closing keeps or takes back the changes (see the window's rules).
  void done(int result) override;

 protected:
  void FormShow() override;
  void PlaceOnShow() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  // The controls from the configuration, without running their handlers.
  void FillFromConfig();
  // Spin controls, their labels, the browse button and the previews usable only
  // while the box is checked (the previews hidden otherwise).
  void EnableControls();
  // The value labels and the picture preview's place and size from the spins.
  void ShowRectangle();
  void ShowPath(const QString& path);
  void ShowPicturePreview();

  QString ShownPath;
  QImage Picture;     // the picture loaded last
  QImage BaseBlock;   // the block of the tile set's own pictures, made on showing
  bool ConfirmedMark = false;
  bool ChangedMark = false;
};

// The game's one custom-picture window, once it has been created.
TFormLoadPic* FormLoadPic();

}  // namespace pav
