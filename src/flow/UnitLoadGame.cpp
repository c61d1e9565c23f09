#include "flow/UnitLoadGame.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include "flow/SavedGames.h"
#include "media/Effects.h"
#include "platform/qt/ShownText.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormLoadGame* TheFormLoadGame = nullptr;

constexpr int WindowCols = 9;
constexpr int WindowRows = 4;
constexpr int Margin = 12;
constexpr int ButtonWidth = 96;
constexpr int ButtonGap = 16;

}  // namespace

TFormLoadGame* FormLoadGame() { return TheFormLoadGame; }

TFormLoadGame::TFormLoadGame(QWidget* parent)
    : TSkinnedDialog(parent, "LOAD GAME", WindowCols, WindowRows),
      ComboBoxFile(new QComboBox(Panel())),
      ButtonOK(MakeDialogButton(Panel(), "ButtonOK", "&OK")),
      ButtonCancel(MakeDialogButton(Panel(), "ButtonCancel", "&Cancel")) {
  setObjectName(QStringLiteral("FormLoadGame"));
  setWindowTitle(QStringLiteral("Load Game"));
  setModal(true);
  ComboBoxFile->setObjectName(QStringLiteral("ComboBoxFile"));
  ComboBoxFile->setEditable(false);
  ComboBoxFile->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  for (QPushButton* button : {ButtonOK, ButtonCancel})
    connect(button, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, [this] {
    LoadAnswer = true;
    done(Accepted);
  });
  connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(Rejected); });
  TheFormLoadGame = this;
}

TFormLoadGame::~TFormLoadGame() {
  if (TheFormLoadGame == this) TheFormLoadGame = nullptr;
}

void TFormLoadGame::FormShow() {
  ComboBoxFile->clear();
  for (const std::string& name : SavedGameNames()) ComboBoxFile->addItem(ShownText(name), QByteArray::fromStdString(name));
  ComboBoxFile->setCurrentIndex(-1);
  LoadAnswer = false;

  const int width = WindowCols * CellSize - 16 - 2 * Margin;
  const int comboHeight = ComboBoxFile->sizeHint().height();
  const QSize button = ButtonOK->sizeHint().expandedTo(ButtonCancel->sizeHint()).expandedTo(QSize(ButtonWidth, 0));
  const int top = (Panel()->height() - comboHeight - 16 - button.height()) / 2;
  ComboBoxFile->setGeometry(Margin, top, width, comboHeight);
  const int left = (Panel()->width() - 2 * button.width() - ButtonGap) / 2;
  ButtonOK->setGeometry(left, top + comboHeight + 16, button.width(), button.height());
  ButtonCancel->setGeometry(left + button.width() + ButtonGap, top + comboHeight + 16, button.width(),
                            button.height());
  ComboBoxFile->setFocus();
}

void TFormLoadGame::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
    event->accept();
    LoadAnswer = key != Qt::Key_Escape;
    done(LoadAnswer ? Accepted : Rejected);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

void TFormLoadGame::done(int result) {
  const bool wasShown = isVisible();
  const bool load = LoadAnswer && ComboBoxFile->currentIndex() >= 0;
  const std::string name = ComboBoxFile->currentData().toByteArray().toStdString();
  LoadAnswer = false;
  TSkinnedDialog::done(result);
  if (wasShown && load) LoadGame(name);
}

}  // namespace pav
