#include "render/UnitLoadPic.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <string>

#include "app/AppState.h"
#include "media/Effects.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"
#include "render/CustomPicture.h"
#include "render/Graphics.h"
#include "render/Skin.h"
#include "render/UnitSkin.h"

namespace pav {

namespace {

TFormLoadPic* TheFormLoadPic = nullptr;

constexpr int LoadPicCols = 7;
constexpr int LoadPicRows = 5;
constexpr int MinButtonWidth = 88;
constexpr int PicturePathLength = 100;  // what the configuration holds
constexpr int PreviewSide = 20 * TFormLoadPic::PreviewCell;

QString OpenPictureDialog(QWidget* parent, const QString& startFolder) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Load Picture"), startFolder,
                                      QStringLiteral("All (*.bmp *.jpg);;JPEG Image File (*.jpg);;Bitmaps (*.bmp)"));
}

TPictureChooser& Chooser() {
  static TPictureChooser chooser = OpenPictureDialog;
  return chooser;
}

// The hourglass while pictures load and tiles are composed.
class TBusyPointer {
 public:
  TBusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyPointer() { QGuiApplication::restoreOverrideCursor(); }
  TBusyPointer(const TBusyPointer&) = delete;
  TBusyPointer& operator=(const TBusyPointer&) = delete;
};

// The bytes the configuration keeps for a path on the disk: Windows-1252 when it
// says the same, else the path's own bytes (which the loader also finds).
std::string StoredPath(const QString& path) {
  const std::string utf8 = path.toStdString();
  const std::string cp = Utf8ToCp1252(utf8);
  return Cp1252ToUtf8(cp) == utf8 ? cp : utf8;
}

// The path on the disk that the stored bytes name, or, for a file that is gone,
// the stored text as it reads.
QString ShownPathOf(const std::string& stored) {
  const std::string file = CustomPictureFile(stored);
  return QString::fromStdString(file.empty() ? Cp1252ToUtf8(stored) : file);
}

// The path after its last separator.
QString FileNameOf(const QString& path) {
  const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  return path.mid(cut + 1);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

QSpinBox* MakeUpDown(QWidget* parent, const char* name, int min, int max) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(min, max);
  spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  spin->setAlignment(Qt::AlignRight);
  spin->setFixedWidth(48);
  return spin;
}

}  // namespace

void SetPictureChooser(TPictureChooser chooser) { Chooser() = chooser ? std::move(chooser) : OpenPictureDialog; }

TFormLoadPic* FormLoadPic() { return TheFormLoadPic; }

TFormLoadPic::TFormLoadPic(QWidget* parent)
    : TSkinnedDialog(parent, "CUSTOM PICTURE", LoadPicCols, LoadPicRows),
      LabelPicture(MakeLabel(Panel(), "LabelPicture", QStringLiteral("Picture :"))),
      LabelFileName(MakeLabel(Panel(), "LabelFileName", QString())),
      ButtonBrowse(new QPushButton(QStringLiteral("&Browse .."), Panel())),
      CheckBoxEnabled(new QCheckBox(QStringLiteral("Custom Picture Enabled"), Panel())),
      LabelX(MakeLabel(Panel(), "LabelX", QStringLiteral("X :"))),
      LabelY(MakeLabel(Panel(), "LabelY", QStringLiteral("Y :"))),
      LabelW(MakeLabel(Panel(), "LabelW", QStringLiteral("W :"))),
      LabelH(MakeLabel(Panel(), "LabelH", QStringLiteral("H :"))),
      UpDownX(MakeUpDown(Panel(), "UpDownX", MinPlace, MaxPlace)),
      UpDownY(MakeUpDown(Panel(), "UpDownY", MinPlace, MaxPlace)),
      UpDownW(MakeUpDown(Panel(), "UpDownW", MinSize, MaxSize)),
      UpDownH(MakeUpDown(Panel(), "UpDownH", MinSize, MaxSize)),
      LabelXValue(MakeLabel(Panel(), "LabelXValue", QString())),
      LabelYValue(MakeLabel(Panel(), "LabelYValue", QString())),
      LabelWValue(MakeLabel(Panel(), "LabelWValue", QString())),
      LabelHValue(MakeLabel(Panel(), "LabelHValue", QString())),
      PanelBlock(new QWidget(Panel())),
      ImageBlock(new QLabel(PanelBlock)),
      ImagePicture(new QLabel(PanelBlock)),
      ButtonOK(new QPushButton(QStringLiteral("&OK"), Panel())),
      ButtonCancel(new QPushButton(QStringLiteral("&Cancel"), Panel())) {
  setObjectName(QStringLiteral("FormLoadPic"));
  setWindowTitle(QStringLiteral("Custom Picture"));
  setModal(true);

  QFont bold = LabelFileName->font();
  bold.setBold(true);
  LabelFileName->setFont(bold);
  for (QLabel* value : {LabelXValue, LabelYValue, LabelWValue, LabelHValue}) {
    value->setFont(bold);
    value->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("-18")) + 2);
  }
  CheckBoxEnabled->setObjectName(QStringLiteral("CheckBoxEnabled"));

  // The block preview: a one-pixel border around the 50 x 50 block; the picture
  // preview lies over it and is cut off at its edges.
  PanelBlock->setObjectName(QStringLiteral("PanelBlock"));
  PanelBlock->setFixedSize(5 * PreviewCell + 2, 5 * PreviewCell + 2);
  PanelBlock->setAutoFillBackground(true);
  QPalette border = PanelBlock->palette();
  border.setColor(QPalette::Window, QColor(24, 24, 24));
  PanelBlock->setPalette(border);
  ImageBlock->setObjectName(QStringLiteral("ImageBlock"));
  ImageBlock->setGeometry(1, 1, 5 * PreviewCell, 5 * PreviewCell);
  ImageBlock->setScaledContents(true);
  ImagePicture->setObjectName(QStringLiteral("ImagePicture"));
  ImagePicture->setScaledContents(true);

  ButtonBrowse->setObjectName(QStringLiteral("ButtonBrowse"));
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
  for (QPushButton* b : {ButtonBrowse, ButtonOK, ButtonCancel}) {
    MakeOwnKeyButton(b);
    connect(b, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  }
  for (QPushButton* b : {ButtonOK, ButtonCancel}) b->setMinimumWidth(MinButtonWidth);
  connect(ButtonBrowse, &QPushButton::clicked, this, &TFormLoadPic::ButtonBrowseClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormLoadPic::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormLoadPic::ButtonCancelClick);
  connect(CheckBoxEnabled, &QCheckBox::clicked, this, &TFormLoadPic::CheckBoxEnabledClick);
  for (QSpinBox* s : {UpDownX, UpDownY, UpDownW, UpDownH})
    connect(s, &QSpinBox::valueChanged, this, &TFormLoadPic::UpDownClick);

  // The file row, the box, the four values in two pairs beside the block preview,
  // and the buttons.
  auto* fileRow = new QHBoxLayout;
  fileRow->setSpacing(6);
  fileRow->addWidget(LabelPicture);
  fileRow->addWidget(LabelFileName, 1);
  fileRow->addWidget(ButtonBrowse);

  auto* values = new QGridLayout;
  values->setHorizontalSpacing(6);
  values->setVerticalSpacing(4);
  const struct {
    QLabel* Caption;
    QSpinBox* Spin;
    QLabel* Value;
    int Row, Column;
  } places[] = {{LabelX, UpDownX, LabelXValue, 0, 0},
                {LabelY, UpDownY, LabelYValue, 0, 4},
                {LabelW, UpDownW, LabelWValue, 1, 0},
                {LabelH, UpDownH, LabelHValue, 1, 4}};
  for (const auto& p : places) {
    p.Caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    values->addWidget(p.Caption, p.Row, p.Column);
    values->addWidget(p.Spin, p.Row, p.Column + 1);
    values->addWidget(p.Value, p.Row, p.Column + 2);
  }
  values->setColumnMinimumWidth(3, 8);

  auto* middle = new QHBoxLayout;
  middle->setSpacing(12);
  middle->addLayout(values);
  middle->addStretch(1);
  middle->addWidget(PanelBlock, 0, Qt::AlignVCenter);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(12);
  buttons->addStretch(1);
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(6);
  layout->addLayout(fileRow);
  layout->addWidget(CheckBoxEnabled);
  layout->addLayout(middle);
  layout->addStretch(1);
  layout->addLayout(buttons);

  TheFormLoadPic = this;
}

TFormLoadPic::~TFormLoadPic() {
  if (TheFormLoadPic == this) TheFormLoadPic = nullptr;
}

void TFormLoadPic::FillFromConfig() {
  const TConfig& c = App().Config;
  for (QSpinBox* s : {UpDownX, UpDownY, UpDownW, UpDownH}) s->blockSignals(true);
  UpDownX->setValue(c.PictureX);
  UpDownY->setValue(c.PictureY);
  UpDownW->setValue(c.PictureW);
  UpDownH->setValue(c.PictureH);
  for (QSpinBox* s : {UpDownX, UpDownY, UpDownW, UpDownH}) s->blockSignals(false);
  const QSignalBlocker quiet(CheckBoxEnabled);
  CheckBoxEnabled->setChecked(c.PictureOn != 0);
  ShowPath(ShownPathOf(c.PicturePath.Str()));
  ShowRectangle();
}

void TFormLoadPic::EnableControls() {
  const bool on = CheckBoxEnabled->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{UpDownX, UpDownY, UpDownW, UpDownH, LabelX, LabelY, LabelW, LabelH,
                                                   LabelXValue, LabelYValue, LabelWValue, LabelHValue, ButtonBrowse,
                                                   PanelBlock})
    w->setEnabled(on);
  PanelBlock->setVisible(on);
}

void TFormLoadPic::ShowRectangle() {
  LabelXValue->setNum(UpDownX->value());
  LabelYValue->setNum(UpDownY->value());
  LabelWValue->setNum(UpDownW->value());
  LabelHValue->setNum(UpDownH->value());
  ImagePicture->setGeometry((UpDownX->value() - 1) * PreviewCell + 1, (UpDownY->value() - 1) * PreviewCell + 1,
                            UpDownW->value() * PreviewCell, UpDownH->value() * PreviewCell);
}

void TFormLoadPic::ShowPath(const QString& path) {
  ShownPath = path;
  const QString name = FileNameOf(path);
  LabelFileName->setToolTip(path);
  LabelFileName->setText(name);
}

void TFormLoadPic::ShowPicturePreview() {
  if (Picture.isNull()) {
    ImagePicture->setPixmap(QPixmap());
    ImagePicture->hide();
    return;
  }
  // The preview is never larger than the largest rectangle (200 x 200), counted in
  // the screen's pixels so that a HiDPI screen shows it sharp.
  const int side = qRound(PreviewSide * ImagePicture->devicePixelRatioF());
  const QImage small = Picture.scaled(std::min(Picture.width(), side), std::min(Picture.height(), side),
                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  ImagePicture->setPixmap(QPixmap::fromImage(small));
  ImagePicture->show();
}

void TFormLoadPic::FormShow() {
  FillFromConfig();
  EnableControls();
  RestoreTiles();
  BaseBlock = BlockPicture();
  ImageBlock->setPixmap(QPixmap::fromImage(BaseBlock));
  Picture = QImage();
  ShowPicturePreview();
  ConfirmedMark = false;
  ChangedMark = false;
  if (!LabelFileName->text().isEmpty() && CheckBoxEnabled->isChecked()) {
    ComposeCustomPicture(true);
    ChangedMark = true;
  }
  ButtonOK->setFocus();
}

void TFormLoadPic::PlaceOnShow() {
  const TFormSkin* skin = FormSkin();
  if (skin != nullptr && skin->isVisible())
    move(skin->x() + skin->width() - width(), skin->y() + skin->height());
  else
    PlaceDialog(this);
}

void TFormLoadPic::ComposeCustomPicture(bool reload) {
  TBusyPointer busy;
  if (reload) {
    if (ShownPath.isEmpty() || !QFileInfo(ShownPath).isFile()) {
      ShowPath(QString());
      Picture = QImage();
      ShowPicturePreview();
      return;
    }
    std::string why;
    QImage loaded = LoadCustomPicture(ShownPath.toStdString(), &why);
    if (loaded.isNull()) {
      // Not a picture the game reads: the tiles stay as they are.
      ReportPictureProblem(ShownPath.toStdString(), why);
      Picture = QImage();
      ShowPicturePreview();
      return;
    }
    Picture = std::move(loaded);
    ShowPicturePreview();
  }
  if (Picture.isNull() || BaseBlock.isNull()) return;
  LayPictureOnBlock(BaseBlock, Picture, UpDownX->value(), UpDownY->value(), UpDownW->value(), UpDownH->value());
  RepaintMainBoard(false);
  RedrawObjectivePreview();
}

void TFormLoadPic::UpDownClick() {
  ShowRectangle();
  ChangedMark = true;
  ComposeCustomPicture(false);
}

void TFormLoadPic::ButtonBrowseClick() {
  const QString start = ShownPath.isEmpty() ? QDir::homePath() : QFileInfo(ShownPath).absolutePath();
  const QString chosen = Chooser()(this, start);
  if (chosen.isEmpty()) return;
  if (StoredPath(chosen).size() > static_cast<std::size_t>(PicturePathLength)) {
    // The configuration could keep only a part of it, which names no file.
    ShowMessage("The path of the picture '" + Utf8ToCp1252(FileNameOf(chosen).toStdString()) +
                    "' is longer than 100 characters. Move the picture to a shorter path.",
                TMessageIcon::Warning);
    return;
  }
  std::string why;
  QImage loaded;
  {
    TBusyPointer busy;
    loaded = LoadCustomPicture(chosen.toStdString(), &why);
  }
  if (loaded.isNull()) {
    ReportPictureProblem(chosen.toStdString(), why);
    return;
  }
  ShowPath(chosen);
  Picture = std::move(loaded);
  ShowPicturePreview();
  ChangedMark = true;
  // The picture just read is the one ComposeCustomPicture(true) would read again.
  ComposeCustomPicture(false);
}

void TFormLoadPic::CheckBoxEnabledClick() {
  ChangedMark = true;
  EnableControls();
  if (CheckBoxEnabled->isChecked())
    ComposeCustomPicture(true);
  else
    RestoreTiles();
}

void TFormLoadPic::ButtonOKClick() {
  ConfirmedMark = true;
  done(Accepted);
}

void TFormLoadPic::ButtonCancelClick() {
  ConfirmedMark = false;
  done(Rejected);
}

void TFormLoadPic::done(int result) {
  if (ChangedMark) {
    TConfig& c = App().Config;
    if (ConfirmedMark) {
      c.PicturePath.Assign(StoredPath(ShownPath).substr(0, PicturePathLength));
      c.PictureX = UpDownX->value();
      c.PictureY = UpDownY->value();
      c.PictureW = static_cast<std::uint8_t>(UpDownW->value());
      c.PictureH = static_cast<std::uint8_t>(UpDownH->value());
      c.PictureOn = c.UserPictureOn = CheckBoxEnabled->isChecked() ? 1 : 0;
      if (!CheckBoxEnabled->isChecked()) RestoreTiles();
    } else {
      FillFromConfig();
      EnableControls();
      // The block as the tile set has it first: a stored picture that is gone or
      // unreadable then leaves the tile set's own tiles, not the ones tried here.
      RestoreTiles();
      if (c.PictureOn) ComposeCustomPicture(true);
    }
    ChangedMark = false;
  }
  TSkinnedDialog::done(result);
}

void TFormLoadPic::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      ButtonOKClick();
      return;
    case Qt::Key_Escape:
      event->accept();
      ButtonCancelClick();
      return;
    default: TSkinnedDialog::keyPressEvent(event);
  }
}

}  // namespace pav
