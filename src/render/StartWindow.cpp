#include "render/StartWindow.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "app/AppState.h"
#include "engine/Scramble.h"
#include "media/Effects.h"
#include "platform/qt/MessageBox.h"
#include "render/Skin.h"
#include "render/DialogLabels.h"

namespace pav {

namespace {

constexpr int ColumnGap = 16;     // between the two preview columns
constexpr int ColumnPadding = 8;  // around the wider of a column's caption and preview
constexpr int CaptionGap = 4;     // caption to its preview

}  // namespace

TLimitLabels::TLimitLabels(QWidget* panel, const char* timeCaption, const char* timeValue, const char* movesCaption,
                           const char* movesValue)
    : TimeCaption(MakeLabel(panel, timeCaption, QStringLiteral("Time Limit : "), Qt::AlignRight)),
      TimeValue(MakeLabel(panel, timeValue, QStringLiteral("None"), Qt::AlignLeft)),
      MovesCaption(MakeLabel(panel, movesCaption, QStringLiteral("Moves Limit : "), Qt::AlignRight)),
      MovesValue(MakeLabel(panel, movesValue, QStringLiteral("None"), Qt::AlignLeft)) {
  MakeBold(TimeValue);
  MakeBold(MovesValue);
}

void TLimitLabels::Show(std::int32_t timeLimit, std::int32_t movesLimit) {
  ShowLimit(TimeValue, timeLimit, " S");
  ShowLimit(MovesValue, movesLimit, " M");
}

QSize TLimitLabels::Size() const {
  const QFontMetrics captionFont(TimeCaption->font());
  const QFontMetrics valueFont(TimeValue->font());
  const int lineHeight = std::max(captionFont.height(), valueFont.height());
  const int captionsWidth = std::max(captionFont.horizontalAdvance(TimeCaption->text()),
                                     captionFont.horizontalAdvance(MovesCaption->text()));
  const int valuesWidth = std::max(valueFont.horizontalAdvance(TimeValue->text()),
                                   valueFont.horizontalAdvance(MovesValue->text())) +
                          2;
  return {captionsWidth + valuesWidth, 2 * lineHeight + 2};
}

void TLimitLabels::Place(int panelWidth, int top) {
  const QFontMetrics captionFont(TimeCaption->font());
  const int lineHeight = (Size().height() - 2) / 2;
  const int captionsWidth = std::max(captionFont.horizontalAdvance(TimeCaption->text()),
                                     captionFont.horizontalAdvance(MovesCaption->text()));
  const int width = Size().width();
  const int left = (panelWidth - width) / 2;
  const int movesTop = top + lineHeight + 2;
  TimeCaption->setGeometry(left, top, captionsWidth, lineHeight);
  TimeValue->setGeometry(left + captionsWidth, top, width - captionsWidth, lineHeight);
  MovesCaption->setGeometry(left, movesTop, captionsWidth, lineHeight);
  MovesValue->setGeometry(left + captionsWidth, movesTop, width - captionsWidth, lineHeight);
}

TStartWindow::TStartWindow(QWidget* parent, const std::string& title, int minCols, int minRows)
    : TSkinnedDialog(parent, title, minCols, minRows),
      LabelOP(MakeLabel(Panel(), "LabelOP", QStringLiteral("OP : From Board"), Qt::AlignHCenter)),
      LabelIP(MakeLabel(Panel(), "LabelIP", QStringLiteral("IP : Random"), Qt::AlignHCenter)),
      ImageOP(new QLabel(Panel())),
      ImageIP(new QLabel(Panel())),
      ButtonPlay(new QPushButton(QStringLiteral("Play !"), Panel())),
      LeastCols(minCols),
      LeastRows(minRows) {
  setModal(true);
  ImageOP->setObjectName(QStringLiteral("ImageOP"));
  ImageIP->setObjectName(QStringLiteral("ImageIP"));
  for (QLabel* image : {ImageOP, ImageIP}) {
    image->setScaledContents(true);
    image->resize(0, 0);
  }
  for (QLabel* caption : {LabelOP, LabelIP}) MakeBold(caption);

  ButtonPlay->setObjectName(QStringLiteral("ButtonPlay"));
  // Enter and Esc are the window's own keys, handled alike whatever has the focus.
  MakeOwnKeyButton(ButtonPlay);
  connect(ButtonPlay, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonPlay, &QPushButton::clicked, this, &TStartWindow::ButtonPlayClick);
}

void TStartWindow::FormShow() {
  Started = false;
  Unprepared = false;
  Prepared = false;
  setWindowOpacity(1.0);
  if (!PrepareGame()) {
    // Nothing to show: the window stays unseen until it closes itself.
    Unprepared = true;
    setWindowOpacity(0.0);
    return;
  }
  Prepared = true;
  ShowPrepared();
  ButtonPlay->setFocus();
}

void TStartWindow::Refill() {
  FormShow();
  PlaceOnShow();
  if (Unprepared) QMetaObject::invokeMethod(this, &TStartWindow::CloseRefused, Qt::QueuedConnection);
}

int TStartWindow::PreviewsWidth() const {
  const TBoard& b = App().Game().Board;
  const QFontMetrics captionFont(LabelOP->font());
  const int columnWidth = std::max({b.Width * CellSize / PreviewScale, captionFont.horizontalAdvance(LabelOP->text()),
                                    captionFont.horizontalAdvance(LabelIP->text())}) +
                          ColumnPadding;
  return 2 * columnWidth + ColumnGap;
}

int TStartWindow::PreviewsHeight() const {
  const TBoard& b = App().Game().Board;
  return QFontMetrics(LabelOP->font()).height() + CaptionGap + b.Height * CellSize / PreviewScale;
}

void TStartWindow::PlacePreviews(int panelWidth, int top) {
  const TGame& g = App().Game();
  const int previewHeight = g.Board.Height * CellSize / PreviewScale;
  const int captionHeight = QFontMetrics(LabelOP->font()).height();
  const int columnsWidth = PreviewsWidth();
  const int columnWidth = (columnsWidth - ColumnGap) / 2;
  const int left = (panelWidth - columnsWidth) / 2;
  const int rightColumn = left + columnWidth + ColumnGap;
  LabelOP->setGeometry(left, top, columnWidth, captionHeight);
  LabelIP->setGeometry(rightColumn, top, columnWidth, captionHeight);
  const int previewTop = top + captionHeight + CaptionGap;
  DrawPreview(ImageOP, left, previewTop, PreviewScale, g.OP, g.Board, previewHeight, columnWidth);
  DrawPreview(ImageIP, rightColumn, previewTop, PreviewScale, g.Current, g.Board, previewHeight, columnWidth);
}

void TStartWindow::FitCells(int panelWidthNeeded, int panelHeightNeeded) {
  // The panel is 16 pixels narrower and 64 lower than the window.
  const int cols = std::max(LeastCols, (panelWidthNeeded + 16 + CellSize - 1) / CellSize);
  const int rows = std::max(LeastRows, (panelHeightNeeded + 64 + CellSize - 1) / CellSize);
  SetCells(cols, rows);
}

QSize TStartWindow::ButtonSize() const { return ButtonPlay->sizeHint().expandedTo(QSize(MinButtonWidth, 0)); }

void TStartWindow::showEvent(QShowEvent* event) {
  TSkinnedDialog::showEvent(event);
  // The showing handles pending events on its way (FlushPaints): the refusal is
  // posted only now, so that it reaches the window's own loop and ends it.
  if (Unprepared && !event->spontaneous())
    QMetaObject::invokeMethod(this, &TStartWindow::CloseRefused, Qt::QueuedConnection);
}

void TStartWindow::CloseRefused() {
  if (!Unprepared || !isVisible()) return;
  Refused();
  reject();
}

void TStartWindow::Refused() { ShowMessage(UnableToScrambleMessage, TMessageIcon::Exclamation); }

void TStartWindow::ButtonPlayClick() { done(Accepted); }

void TStartWindow::done(int result) {
  const bool begin = Prepared;
  Prepared = false;
  TSkinnedDialog::done(result);
  if (!begin) return;
  Started = true;
  BeginGame();
}

void TStartWindow::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
