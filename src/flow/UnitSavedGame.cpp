#include "flow/UnitSavedGame.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "render/DialogLabels.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormSavedGame* TheFormSavedGame = nullptr;

constexpr int WindowCols = 8;
constexpr int WindowRows = 4;
constexpr int Margin = 12;
constexpr int ButtonWidth = 96;

}  // namespace

TFormSavedGame* FormSavedGame() { return TheFormSavedGame; }

TFormSavedGame::TFormSavedGame(QWidget* parent)
    : TSkinnedDialog(parent, "GAME SAVED", WindowCols, WindowRows),
      LabelCaption(MakeLabel(Panel(), "LabelCaption", QStringLiteral("Game Saved as : "), Qt::AlignLeft)),
      LabelInfo(MakeLabel(Panel(), "LabelInfo", QString(), Qt::AlignCenter)),
      ButtonOK(MakeCloseButton(this, Panel(), "ButtonOK", "OK")) {
  setObjectName(QStringLiteral("FormSavedGame"));
  setWindowTitle(QStringLiteral("Game Saved"));
  setModal(true);
  LabelInfo->setWordWrap(true);
  MakeBold(LabelInfo);
  TheFormSavedGame = this;
}

TFormSavedGame::~TFormSavedGame() {
  if (TheFormSavedGame == this) TheFormSavedGame = nullptr;
}

void TFormSavedGame::FormShow() {
  const int width = WindowCols * CellSize - 16 - 2 * Margin;
  const int captionHeight = LabelCaption->sizeHint().height();
  const int infoHeight = std::max(LabelInfo->heightForWidth(width), LabelInfo->fontMetrics().height() * 2);
  const QSize button = ButtonOK->sizeHint().expandedTo(QSize(ButtonWidth, 0));
  const int content = captionHeight + 6 + infoHeight + 12 + button.height();
  SetCells(WindowCols, std::max(WindowRows, (content + 2 * Margin + 64 + CellSize - 1) / CellSize));
  const int top = (Panel()->height() - content) / 2;
  LabelCaption->setGeometry(Margin, top, width, captionHeight);
  LabelInfo->setGeometry(Margin, top + captionHeight + 6, width, infoHeight);
  ButtonOK->setGeometry((Panel()->width() - button.width()) / 2, top + captionHeight + 6 + infoHeight + 12,
                        button.width(), button.height());
  ButtonOK->setFocus();
}

void TFormSavedGame::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
