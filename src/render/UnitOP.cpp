#include "render/UnitOP.h"

#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QWheelEvent>
#include <algorithm>

#include "app/AppState.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormOP* TheFormOP = nullptr;

void ReturnFocusToMain() {
  QWidget* main = MainWindow();
  if (main == nullptr || !main->isVisible()) return;
  main->activateWindow();
  main->setFocus(Qt::OtherFocusReason);
}

}  // namespace

std::string ObjectiveLimitsText() {
  TApp& app = App();
  int moves = app.Game().MovesLimit;
  int seconds = app.Game().TimeLimit;
  std::string joint = " M or ";
  if (app.Config.GameMode == 2) {
    // A figure of the opponent the configuration does not use is no limit at all.
    moves = app.Config.UseOpponentMoves ? app.State.OpponentMoves : 0;
    seconds = app.Config.UseOpponentTime ? app.State.OpponentTime : 0;
    if (app.Config.OpponentAnd) joint = " M and ";
  }
  if (moves == 0 && seconds == 0) return "Limits : None";
  if (seconds == 0) return "Limit : " + std::to_string(moves) + " M";
  if (moves == 0) return "Limit : " + std::to_string(seconds) + " S";
  return "Limits :\n" + std::to_string(moves) + joint + std::to_string(seconds) + " S";
}

TFormOP::TFormOP(QWidget* parent)
    : TSkinnedDialog(parent, "OBJECTIVE", 3, 3), ImagePreview(new QLabel(Panel())), LabelInfo(new QLabel(Panel())) {
  setObjectName("FormOP");
  setWindowTitle("Objective");
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  // Shown beside the board while the player keeps the keyboard on the main window.
  setAttribute(Qt::WA_ShowWithoutActivating);
  RightClickCloses = true;

  ImagePreview->setObjectName("ImagePreview");
  ImagePreview->setScaledContents(true);
  ImagePreview->resize(0, 0);

  LabelInfo->setObjectName("LabelInfo");
  LabelInfo->setWordWrap(true);
  LabelInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  LabelInfo->setTextFormat(Qt::PlainText);

  TheFormOP = this;
}

TFormOP::~TFormOP() {
  if (TheFormOP == this) TheFormOP = nullptr;
}

TFormOP* FormOP() { return TheFormOP; }

void TFormOP::DrawObjective(const TPattern& pattern, const TBoard& board) {
  DrawPreview(ImagePreview, 0, 0, 4, pattern, board, Panel()->height() - 24, Panel()->width());
  if (isVisible()) {
    // A new board may need another size: lay the visible window out again.
    Arrange();
    Reskin();
  }
}

void TFormOP::FormShow() { Arrange(); }

void TFormOP::Arrange() {
  const int previewWidth = ImagePreview->width();
  const int previewHeight = ImagePreview->height();
  const int cols = std::max(3, (previewWidth + 16) / CellSize + 1);
  const int rows = (previewHeight + 88) / CellSize + 1;
  SetCells(cols, rows);

  const int panelWidth = Panel()->width();
  const int panelHeight = Panel()->height();
  const int previewTop = (panelHeight - previewHeight) / 2 - 12;
  ImagePreview->move((panelWidth - previewWidth) / 2, previewTop);

  const int labelTop = previewTop + previewHeight + 4;
  const int labelHeight = std::max(0, panelHeight - labelTop - 2);
  LabelInfo->setGeometry(0, labelTop, panelWidth, labelHeight);
  const QString text = QString::fromStdString(ObjectiveLimitsText());
  LabelInfo->setText(text);

  // The lowest preview row leaves about two lines' room: take the largest font that fits.
  const int lines = static_cast<int>(text.count(QChar('\n'))) + 1;
  QFont font = LabelInfo->font();
  font.setBold(true);
  for (int pixels = 12; pixels >= 8; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).lineSpacing() * lines <= labelHeight) break;
  }
  LabelInfo->setFont(font);
}

void TFormOP::PlaceOnShow() {
  TApp& app = App();
  if (!app.OPPlacementPending) return;
  app.OPPlacementPending = false;
  QWidget* main = MainWindow();
  if (main == nullptr) return;
  if (main->x() - width() < 0)
    move(main->x() + 24, main->y() + 24);
  else
    move(main->x() - width(), main->y());
}

void TFormOP::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (event->key() == Qt::Key_Space) close();
  ReturnFocusToMain();
}

void TFormOP::wheelEvent(QWheelEvent* event) {
  event->accept();
  ReturnFocusToMain();
}

}  // namespace pav
