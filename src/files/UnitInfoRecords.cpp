#include "files/UnitInfoRecords.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "files/UnitRecords.h"
#include "files/UnitRecordsBot.h"
#include "media/Effects.h"

namespace pav {

namespace {

TFormInfoRecords* TheFormInfoRecords = nullptr;

constexpr int InfoCols = 6;
constexpr int InfoRows = 5;

}  // namespace

TFormInfoRecords::TFormInfoRecords(QWidget* parent)
    : TSkinnedDialog(parent, "RECORD(S) OBTAINED", InfoCols, InfoRows) {
  setObjectName(QStringLiteral("FormInfoRecords"));
  setWindowTitle(QStringLiteral("Records Information"));
  setModal(true);

  LabelInfo = new QLabel(Panel());
  LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
  LabelInfo->setTextFormat(Qt::PlainText);
  LabelInfo->setWordWrap(true);
  LabelInfo->setAlignment(Qt::AlignCenter);

  ButtonOK = new QPushButton(QStringLiteral("OK"), Panel());
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  Button1 = new QPushButton(QStringLiteral("See &Records .."), Panel());
  Button1->setObjectName(QStringLiteral("Button1"));
  // Enter and Esc are the window's own keys: they press OK wherever the focus is.
  for (QPushButton* button : {ButtonOK, Button1}) {
    MakeOwnKeyButton(button);
    button->setMinimumWidth(96);
  }
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, [this] { accept(); });
  connect(Button1, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(12);
  buttons->addStretch(1);
  buttons->addWidget(ButtonOK);
  buttons->addWidget(Button1);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(12, 8, 12, 10);
  layout->setSpacing(8);
  layout->addWidget(LabelInfo, 1);
  layout->addLayout(buttons);

  TheFormInfoRecords = this;
}

TFormInfoRecords::~TFormInfoRecords() {
  if (TheFormInfoRecords == this) TheFormInfoRecords = nullptr;
}

TFormInfoRecords* FormInfoRecords() { return TheFormInfoRecords; }

void TFormInfoRecords::Button1Click() {
  // This window closes, but stays up until the lists are closed, so that they open
  // beside it.
  TRecordListWindow* lists = nullptr;
  if (App().Config.GameMode == 2)
    lists = FormRecordsBot();
  else
    lists = FormRecords();
  if (lists != nullptr) lists->ExecBeside(this);
  accept();
}

void TFormInfoRecords::FormShow() { ButtonOK->setFocus(Qt::OtherFocusReason); }

void TFormInfoRecords::PlaceOnShow() { PlaceDialog(this); }

void TFormInfoRecords::keyPressEvent(QKeyEvent* e) {
  if (IsDialogCloseKey(e->key())) {
    e->accept();
    ButtonOK->click();
    return;
  }
  TSkinnedDialog::keyPressEvent(e);
}

}  // namespace pav
