#include "media/UnitMusic.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "media/Effects.h"
#include "media/FileList.h"
#include "media/Music.h"
#include "platform/qt/MessageBox.h"

namespace pav {

namespace {

TFormMusic* TheFormMusic = nullptr;

constexpr int MusicCols = 8;
constexpr int MusicRows = 7;
constexpr int MinButtonWidth = 96;
constexpr int PreviewButtonWidth = 72;

QRadioButton* MakeRadio(QWidget* parent, const char* name, const char* text) {
  auto* radio = new QRadioButton(QString::fromLatin1(text), parent);
  radio->setObjectName(QString::fromLatin1(name));
  return radio;
}

}  // namespace

TFormMusic* FormMusic() { return TheFormMusic; }

TFormMusic::TFormMusic(QWidget* parent)
    : TSkinnedDialog(parent, "MUSIC CONFIGURATION", MusicCols, MusicRows),
      CheckBoxMusic(new QCheckBox(QStringLiteral("Music Enabled"), Panel())),
      RadioButtonSelected(MakeRadio(Panel(), "RadioButtonSelected", "Play Selected Music File")),
      RadioButtonRandom(MakeRadio(Panel(), "RadioButtonRandom", "Play All Music Files Randomly")),
      RadioButtonAlphabetic(MakeRadio(Panel(), "RadioButtonAlphabetic", "Play All Music Files in Alphabetic Order")),
      LabelMusicFile(new QLabel(QStringLiteral("Music File : "), Panel())),
      ComboBoxMusic(new QComboBox(Panel())),
      ButtonPlay(MakeDialogButton(Panel(), "ButtonPlay", "Play")),
      ButtonPause(MakeDialogButton(Panel(), "ButtonPause", "Pause")),
      ButtonStop(MakeDialogButton(Panel(), "ButtonStop", "Stop")),
      ButtonOK(MakeDialogButton(Panel(), "ButtonOK", "OK")) {
  setObjectName(QStringLiteral("FormMusic"));
  setWindowTitle(QStringLiteral("Music Configuration"));
  setModal(true);
  CheckBoxMusic->setObjectName(QStringLiteral("CheckBoxMusic"));
  LabelMusicFile->setObjectName(QStringLiteral("LabelMusicFile"));
  ComboBoxMusic->setObjectName(QStringLiteral("ComboBoxMusic"));
  ComboBoxMusic->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboBoxMusic->setMinimumContentsLength(16);
  ButtonOK->setMinimumWidth(MinButtonWidth);
  for (QPushButton* b : {ButtonPlay, ButtonPause, ButtonStop, ButtonOK})
    connect(b, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  auto* modes = new QButtonGroup(this);
  modes->addButton(RadioButtonSelected, 1);
  modes->addButton(RadioButtonRandom, 2);
  modes->addButton(RadioButtonAlphabetic, 3);

  connect(CheckBoxMusic, &QCheckBox::clicked, this, &TFormMusic::CheckBoxMusicClick);
  for (QRadioButton* radio : {RadioButtonSelected, RadioButtonRandom, RadioButtonAlphabetic})
    connect(radio, &QRadioButton::clicked, this, &TFormMusic::CheckBoxMusicClick);
  connect(ComboBoxMusic, &QComboBox::activated, this, &TFormMusic::ComboBoxMusicChange);
  connect(ButtonPlay, &QPushButton::clicked, this, &TFormMusic::ButtonPlayClick);
  connect(ButtonPause, &QPushButton::clicked, this, &TFormMusic::ButtonPauseClick);
  connect(ButtonStop, &QPushButton::clicked, this, &TFormMusic::ButtonStopClick);
  connect(ButtonOK, &QPushButton::clicked, this, [this] { done(Accepted); });
  PreviewMusicPlayer().OnNotify = [this] { MediaPlayerNotify(); };

  auto* file = new QHBoxLayout;
  file->setSpacing(8);
  file->addWidget(LabelMusicFile);
  file->addWidget(ComboBoxMusic, 1);
  auto* preview = new QHBoxLayout;
  preview->setSpacing(8);
  preview->addStretch(1);
  for (QPushButton* b : {ButtonPlay, ButtonPause, ButtonStop}) {
    b->setFixedWidth(PreviewButtonWidth);
    preview->addWidget(b);
  }
  preview->addStretch(1);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(4);
  layout->addWidget(CheckBoxMusic, 0, Qt::AlignLeft);
  layout->addSpacing(4);
  layout->addWidget(RadioButtonSelected);
  layout->addWidget(RadioButtonRandom);
  layout->addWidget(RadioButtonAlphabetic);
  layout->addStretch(1);
  layout->addLayout(file);
  layout->addSpacing(4);
  layout->addLayout(preview);
  layout->addStretch(1);
  layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);

  TheFormMusic = this;
  SetMusicWindowShown([this] { return isVisible(); });
}

TFormMusic::~TFormMusic() {
  if (PreviewMusicPlayer().OnNotify) PreviewMusicPlayer().OnNotify = nullptr;
  PreviewMusicPlayer().Close();
  if (TheFormMusic == this) {
    TheFormMusic = nullptr;
    SetMusicWindowShown(nullptr);
  }
}

void TFormMusic::FillMusicList() {
  ListFiles(ComboBoxMusic, "\\Music\\*.MID", App().Config.MusicFile.Str(), false, true);
}

void TFormMusic::FormShow() {
  TConfig& c = App().Config;
  Empty = false;
  FillMusicList();
  if (ComboBoxMusic->currentIndex() < 0) {
    if (ComboBoxMusic->count() == 0) {
      ShowMessage("There aren't any music files in the 'Music' folder.", TMessageIcon::Warning);
      Empty = true;
      return;
    }
    ComboBoxMusic->setCurrentIndex(0);
    c.MusicFile.Assign(ListedText(ComboBoxMusic));
    c.MusicMode = 2;
    GameMusicPlayer().FileName = MusicFilePath(c.MusicFile.Str());
  }
  // No game music while the window is up.
  GameMusicPlayer().Close();
  TMediaPlayer& preview = PreviewMusicPlayer();
  preview.FileName = MusicFilePath(ListedText(ComboBoxMusic));
  preview.Open();

  RadioButtonSelected->setChecked(c.MusicMode == 1);
  RadioButtonRandom->setChecked(c.MusicMode == 2);
  RadioButtonAlphabetic->setChecked(c.MusicMode == 3);
  CheckBoxMusic->setChecked(c.MusicOn != 0);
  ButtonPlay->setEnabled(true);
  ButtonPause->setEnabled(false);
  ButtonStop->setEnabled(false);
  CheckBoxMusicClick();
  ButtonOK->setFocus();
}

void TFormMusic::showEvent(QShowEvent* event) {
  TSkinnedDialog::showEvent(event);
  if (Empty && !event->spontaneous())
    QMetaObject::invokeMethod(
        this, [this] { if (Empty && isVisible()) done(Rejected); }, Qt::QueuedConnection);
}

int TFormMusic::SelectedMode() const {
  if (RadioButtonSelected->isChecked()) return 1;
  if (RadioButtonAlphabetic->isChecked()) return 3;
  if (RadioButtonRandom->isChecked()) return 2;
  return App().Config.MusicMode;
}

void TFormMusic::CheckBoxMusicClick() {
  const bool on = CheckBoxMusic->isChecked();
  for (QRadioButton* radio : {RadioButtonSelected, RadioButtonRandom, RadioButtonAlphabetic}) radio->setEnabled(on);
  const bool selectedFile = on && RadioButtonSelected->isChecked();
  LabelMusicFile->setEnabled(selectedFile);
  ComboBoxMusic->setEnabled(selectedFile);
  if (selectedFile) {
    ButtonPlay->setEnabled(true);
    return;
  }
  PreviewMusicPlayer().Rewind();
  ButtonPlay->setEnabled(false);
  ButtonPause->setEnabled(false);
  ButtonStop->setEnabled(false);
}

void TFormMusic::ComboBoxMusicChange() {
  TMediaPlayer& preview = PreviewMusicPlayer();
  preview.FileName = MusicFilePath(ListedText(ComboBoxMusic));
  preview.Open();
  ButtonPlay->setEnabled(true);
  ButtonPause->setEnabled(false);
  ButtonStop->setEnabled(false);
}

void TFormMusic::ButtonPlayClick() {
  if (ComboBoxMusic->currentIndex() < 0) return;
  PreviewMusicPlayer().Play();
  ButtonPlay->setEnabled(false);
  ButtonPause->setEnabled(true);
  ButtonStop->setEnabled(true);
}

void TFormMusic::ButtonPauseClick() {
  if (ComboBoxMusic->currentIndex() < 0) return;
  PreviewMusicPlayer().Stop();
  ButtonPlay->setEnabled(true);
  ButtonPause->setEnabled(false);
  ButtonStop->setEnabled(true);
}

void TFormMusic::ButtonStopClick() {
  if (ComboBoxMusic->currentIndex() < 0) return;
  PreviewMusicPlayer().Rewind();
  ButtonPlay->setEnabled(true);
  ButtonPause->setEnabled(false);
  ButtonStop->setEnabled(false);
}

void TFormMusic::MediaPlayerNotify() {
  if (!RadioButtonSelected->isChecked() || !CheckBoxMusic->isChecked()) return;
  ButtonPlay->setEnabled(true);
  ButtonPause->setEnabled(false);
  ButtonStop->setEnabled(false);
}

void TFormMusic::done(int result) {
  if (ComboBoxMusic->currentIndex() >= 0) {
    TConfig& c = App().Config;
    c.MusicFile.Assign(ListedText(ComboBoxMusic));
    c.MusicMode = static_cast<std::uint8_t>(SelectedMode());
    c.MusicOn = CheckBoxMusic->isChecked() ? 1 : 0;
    PreviewMusicPlayer().Close();
    // Hidden first, so the next piece is not held back by the window.
    TSkinnedDialog::done(result);
    if (App().State.GameRunning) StartMusicSoon();
    return;
  }
  TSkinnedDialog::done(result);
}

void TFormMusic::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
