#include "media/UnitSounds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "media/FileList.h"

namespace pav {

namespace {

TFormSounds* TheFormSounds = nullptr;

constexpr int SoundsCols = 8;
constexpr int SoundsRows = 6;
constexpr int MinButtonWidth = 96;
constexpr int PlayButtonWidth = 56;
constexpr const char* SoundsMask = "\\Sounds\\*.WAV";

constexpr std::array<TEffect, 4> AllEffects{TEffect::Click, TEffect::Move, TEffect::Solved, TEffect::GameOver};

TName50& ConfigName(TConfig& c, TEffect effect) {
  switch (effect) {
    case TEffect::Click: return c.ClickSound;
    case TEffect::Move: return c.MoveSound;
    case TEffect::Solved: return c.SolvedSound;
    case TEffect::GameOver: break;
  }
  return c.GameOverSound;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QComboBox* MakeList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list->setMinimumContentsLength(14);
  return list;
}

}  // namespace

TFormSounds* FormSounds() { return TheFormSounds; }

TFormSounds::TFormSounds(QWidget* parent)
    : TSkinnedDialog(parent, "SOUNDS CONFIGURATION", SoundsCols, SoundsRows),
      CheckBoxSounds(new QCheckBox(QStringLiteral("Sounds Enabled"), Panel())),
      LabelClick(MakeLabel(Panel(), "LabelClick", "General Click :")),
      LabelMove(MakeLabel(Panel(), "LabelMove", "Tile Move :")),
      LabelSolved(MakeLabel(Panel(), "LabelSolved", "Puzzle Solved :")),
      LabelGameOver(MakeLabel(Panel(), "LabelGameOver", "Game Over :")),
      ComboBoxClick(MakeList(Panel(), "ComboBoxClick")),
      ComboBoxMove(MakeList(Panel(), "ComboBoxMove")),
      ComboBoxSolved(MakeList(Panel(), "ComboBoxSolved")),
      ComboBoxGameOver(MakeList(Panel(), "ComboBoxGameOver")),
      ButtonPlayClickSound(MakeDialogButton(Panel(), "ButtonPlayClick", "Play")),
      ButtonPlayMove(MakeDialogButton(Panel(), "ButtonPlayMove", "Play")),
      ButtonPlaySolved(MakeDialogButton(Panel(), "ButtonPlaySolved", "Play")),
      ButtonPlayGameOver(MakeDialogButton(Panel(), "ButtonPlayGameOver", "Play")),
      ButtonOK(MakeDialogButton(Panel(), "ButtonOK", "OK")) {
  setObjectName(QStringLiteral("FormSounds"));
  setWindowTitle(QStringLiteral("Sounds Configuration"));
  setModal(true);
  CheckBoxSounds->setObjectName(QStringLiteral("CheckBoxSounds"));
  ButtonOK->setMinimumWidth(MinButtonWidth);

  connect(CheckBoxSounds, &QCheckBox::clicked, this, &TFormSounds::CheckBoxSoundsClick);
  for (TEffect effect : AllEffects) {
    QPushButton* play = PlayButton(effect);
    play->setFixedWidth(PlayButtonWidth);
    connect(play, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
    connect(play, &QPushButton::clicked, this, [this, effect] { ButtonPlayClick(effect); });
  }
  // The OK button's click is the click list's own entry, as it is chosen now.
  connect(ButtonOK, &QPushButton::pressed, this, [this] {
    if (CheckBoxSounds->isChecked()) PlayEffectFile(TEffect::Click, ListedText(ComboBoxClick));
  });
  connect(ButtonOK, &QPushButton::clicked, this, [this] { done(Accepted); });

  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(8);
  rows->setVerticalSpacing(6);
  const std::array<QLabel*, 4> labels{LabelClick, LabelMove, LabelSolved, LabelGameOver};
  for (int i = 0; i < 4; ++i) {
    rows->addWidget(labels[static_cast<std::size_t>(i)], i, 0);
    rows->addWidget(List(AllEffects[static_cast<std::size_t>(i)]), i, 1);
    rows->addWidget(PlayButton(AllEffects[static_cast<std::size_t>(i)]), i, 2);
  }
  rows->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(0);
  layout->addWidget(CheckBoxSounds, 0, Qt::AlignLeft);
  layout->addStretch(1);
  layout->addLayout(rows);
  layout->addStretch(1);
  layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);

  TheFormSounds = this;
}

TFormSounds::~TFormSounds() {
  if (TheFormSounds == this) TheFormSounds = nullptr;
}

QComboBox* TFormSounds::List(TEffect effect) const {
  switch (effect) {
    case TEffect::Click: return ComboBoxClick;
    case TEffect::Move: return ComboBoxMove;
    case TEffect::Solved: return ComboBoxSolved;
    case TEffect::GameOver: break;
  }
  return ComboBoxGameOver;
}

QPushButton* TFormSounds::PlayButton(TEffect effect) const {
  switch (effect) {
    case TEffect::Click: return ButtonPlayClickSound;
    case TEffect::Move: return ButtonPlayMove;
    case TEffect::Solved: return ButtonPlaySolved;
    case TEffect::GameOver: break;
  }
  return ButtonPlayGameOver;
}

void TFormSounds::FormShow() {
  TConfig& c = App().Config;
  for (TEffect effect : AllEffects) ListFiles(List(effect), SoundsMask, ConfigName(c, effect).Str(), true, true);
  CheckBoxSounds->setChecked(c.SoundsOn != 0);
  CheckBoxSoundsClick();
  ButtonOK->setFocus();
}

void TFormSounds::CheckBoxSoundsClick() {
  const bool on = CheckBoxSounds->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{LabelClick, LabelMove, LabelSolved, LabelGameOver})
    w->setEnabled(on);
  for (TEffect effect : AllEffects) {
    List(effect)->setEnabled(on);
    PlayButton(effect)->setEnabled(on);
  }
}

void TFormSounds::ButtonPlayClick(TEffect effect) {
  const std::string name = ListedText(List(effect));
  // No entry chosen: there is nothing to play.
  if (!name.empty()) PlayEffectFile(effect, name);
}

void TFormSounds::done(int result) {
  TConfig& c = App().Config;
  for (TEffect effect : AllEffects) ConfigName(c, effect).Assign(ListedText(List(effect)));
  c.SoundsOn = CheckBoxSounds->isChecked() ? 1 : 0;
  TSkinnedDialog::done(result);
}

void TFormSounds::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
