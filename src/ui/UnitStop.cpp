#include "ui/UnitStop.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "media/Effects.h"
#include "media/Music.h"

namespace pav {

namespace {

TFormStop* TheFormStop = nullptr;

constexpr int StopCols = 5;
constexpr int StopRows = 4;
constexpr int MinButtonWidth = 96;

bool OnKeypad(const QKeyEvent* event) { return (event->modifiers() & Qt::KeypadModifier) != 0; }

}  // namespace

TFormStop* FormStop() { return TheFormStop; }

TFormStop::TFormStop(QWidget* parent)
    : TSkinnedDialog(parent, "GAME PAUSED", StopCols, StopRows),
      RadioButtonContinue(new QRadioButton(QStringLiteral("Back to Game"), Panel())),
      RadioButtonAbort(new QRadioButton(QStringLiteral("Abort Game"), Panel())),
      ButtonOK(new QPushButton(QStringLiteral("OK"), Panel())) {
  setObjectName(QStringLiteral("FormStop"));
  setWindowTitle(QStringLiteral("Game Paused"));
  setModal(true);

  RadioButtonContinue->setObjectName(QStringLiteral("RadioButtonContinue"));
  RadioButtonAbort->setObjectName(QStringLiteral("RadioButtonAbort"));
  RadioButtonContinue->setChecked(true);

  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  MakeOwnKeyButton(ButtonOK);
  ButtonOK->setMinimumWidth(MinButtonWidth);
  connect(ButtonOK, &QPushButton::pressed, this, &TFormStop::ButtonOKMouseDown);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormStop::ButtonOKClick);

  for (QWidget* control : {static_cast<QWidget*>(RadioButtonContinue), static_cast<QWidget*>(RadioButtonAbort),
                           static_cast<QWidget*>(ButtonOK)})
    control->installEventFilter(this);

  // The two choices one under the other, left-aligned as a block in the middle,
  // and the button under them.
  auto* choices = new QVBoxLayout;
  choices->setSpacing(6);
  choices->addWidget(RadioButtonContinue);
  choices->addWidget(RadioButtonAbort);
  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(0);
  layout->addStretch(1);
  layout->addLayout(choices);
  layout->setAlignment(choices, Qt::AlignHCenter);
  layout->addStretch(1);
  layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);
  layout->addStretch(1);

  TheFormStop = this;
}

TFormStop::~TFormStop() {
  if (TheFormStop == this) TheFormStop = nullptr;
}

void TFormStop::FormShow() {
  PauseGameMusic();
  RadioButtonContinue->setChecked(true);
  ButtonOK->setFocus();
}

void TFormStop::FormActivate() { RadioButtonContinue->setChecked(true); }

bool TFormStop::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return TSkinnedDialog::event(e);
}

void TFormStop::ButtonOKMouseDown() { PlayEffect(RadioButtonAbort->isChecked() ? TEffect::GameOver : TEffect::Click); }

void TFormStop::ButtonOKClick() { done(Accepted); }

void TFormStop::done(int result) {
  App().PauseResult = RadioButtonAbort->isChecked() ? 2 : 1;
  if (App().PauseResult == 1) ResumeGameMusic();
  TSkinnedDialog::done(result);
}

bool TFormStop::FormKeyDown(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
      break;
    case Qt::Key_B:
    case Qt::Key_F10:
      RadioButtonContinue->setChecked(true);
      break;
    case Qt::Key_A:
      RadioButtonAbort->setChecked(true);
      PlayEffect(TEffect::GameOver);
      break;
    case Qt::Key_2:
      if (!OnKeypad(event)) return false;
      RadioButtonContinue->setChecked(true);
      break;
    case Qt::Key_1:
      if (!OnKeypad(event)) return false;
      RadioButtonAbort->setChecked(true);
      PlayEffect(TEffect::GameOver);
      break;
    default: return false;
  }
  done(Accepted);
  return true;
}

void TFormStop::keyPressEvent(QKeyEvent* event) {
  if (FormKeyDown(event)) {
    event->accept();
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

bool TFormStop::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isVisible() && FormKeyDown(static_cast<QKeyEvent*>(event))) return true;
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
