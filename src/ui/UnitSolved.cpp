#include "ui/UnitSolved.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "flow/GameEnd.h"
#include "media/Effects.h"
#include "platform/qt/ShownText.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormSolved* TheFormSolved = nullptr;

constexpr int SolvedCols = 6;
constexpr int MinRows = 4;
constexpr int SideMargin = 12;
constexpr int EndMargin = 10;
constexpr int ButtonGap = 12;  // message to the button
constexpr int MinButtonWidth = 96;

}  // namespace

TFormSolved* FormSolved() { return TheFormSolved; }

TFormSolved::TFormSolved(QWidget* parent)
    : TSkinnedDialog(parent, "GAME OVER", SolvedCols, MinRows),
      LabelInfo(new QLabel(Panel())),
      ButtonOK(new QPushButton(QStringLiteral("OK"), Panel())) {
  setObjectName(QStringLiteral("FormSolved"));
  setWindowTitle(QStringLiteral("Game Over"));
  setModal(true);

  LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
  LabelInfo->setTextFormat(Qt::PlainText);
  LabelInfo->setWordWrap(true);
  LabelInfo->setAlignment(Qt::AlignCenter);
  QFont font = LabelInfo->font();
  font.setBold(true);
  LabelInfo->setFont(font);

  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  MakeOwnKeyButton(ButtonOK);
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, &TFormSolved::ButtonOKClick);

  TheFormSolved = this;
}

TFormSolved::~TFormSolved() {
  if (TheFormSolved == this) TheFormSolved = nullptr;
}

void TFormSolved::FormShow() {
  // The caller names the outcome in the title row; the window's own name follows it.
  setWindowTitle(QString::fromStdString(Title()));
  Arrange();
  ButtonOK->setFocus();
}

void TFormSolved::Arrange() {
  const int panelWidth = SolvedCols * CellSize - 16;
  const int textWidth = panelWidth - 2 * SideMargin;
  const int textHeight = std::max(LabelInfo->heightForWidth(textWidth), LabelInfo->fontMetrics().height());
  const QSize button = ButtonOK->sizeHint().expandedTo(QSize(MinButtonWidth, 0));
  const int contentHeight = textHeight + ButtonGap + button.height();
  const int rows = std::max(MinRows, (contentHeight + 2 * EndMargin + 64 + CellSize - 1) / CellSize);
  SetCells(SolvedCols, rows);

  const int top = (Panel()->height() - contentHeight) / 2;
  LabelInfo->setGeometry(SideMargin, top, textWidth, textHeight);
  ButtonOK->setGeometry((panelWidth - button.width()) / 2, top + textHeight + ButtonGap, button.width(),
                        button.height());
}

void TFormSolved::ButtonOKClick() {
  done(Accepted);
}

void TFormSolved::SetOutcome(const std::string& title, const std::string& text) {
  SetTitle(title);
  LabelInfo->setText(ShownText(text));
}

void TFormSolved::done(int result) {
  const bool wasShown = isVisible();
  TSkinnedDialog::done(result);
  if (wasShown) ShowIdlePattern();
}

void TFormSolved::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
