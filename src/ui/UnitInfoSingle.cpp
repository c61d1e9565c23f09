#include "ui/UnitInfoSingle.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <string>

#include "app/AppState.h"
#include "app/Log.h"
#include "engine/Scramble.h"
#include "flow/GameFlow.h"
#include "media/Effects.h"
#include "platform/qt/MessageBox.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormInfoSingle* TheFormInfoSingle = nullptr;

constexpr int PreviewScale = 8;
constexpr int MinCols = 6;
constexpr int MinRows = 5;
constexpr int SideMargin = 12;   // panel edge to the widest row
constexpr int EndMargin = 10;    // panel edge to the first and the last row
constexpr int ColumnGap = 16;    // between the two preview columns
constexpr int ColumnPadding = 8;  // around the wider of a column's label and preview
constexpr int CaptionGap = 4;    // position label to its preview
constexpr int SectionGap = 12;   // previews to limits, limits to the button
constexpr int LineGap = 2;       // between the two limits
constexpr int MinButtonWidth = 96;

// The player's values stand out in maroon.
const QColor HumanColour(128, 0, 0);

// An invalid colour gives the label back the panel's own text colour.
void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette;
  if (colour.isValid()) palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

void MakeBold(QLabel* label) {
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(align | Qt::AlignVCenter);
  return label;
}

// A limit of 0 is no limit: "None" in the panel's own text colour.
void ShowLimit(QLabel* label, std::int32_t value, const char* unit) {
  if (value != 0) {
    label->setText(QString::fromStdString(std::to_string(value) + unit));
    SetTextColour(label, HumanColour);
  } else {
    label->setText(QStringLiteral("None"));
    SetTextColour(label, QColor());
  }
}

}  // namespace

TFormInfoSingle* FormInfoSingle() { return TheFormInfoSingle; }

TFormInfoSingle::TFormInfoSingle(QWidget* parent)
    : TSkinnedDialog(parent, "SINGLE GAME", MinCols, MinRows),
      LabelOP(MakeLabel(Panel(), "LabelOP", QStringLiteral("OP : From Board"), Qt::AlignHCenter)),
      LabelIP(MakeLabel(Panel(), "LabelIP", QStringLiteral("IP : Random"), Qt::AlignHCenter)),
      ImageOP(new QLabel(Panel())),
      ImageIP(new QLabel(Panel())),
      LabelTimeLimit(MakeLabel(Panel(), "LabelTimeLimit", QStringLiteral("Time Limit : "), Qt::AlignRight)),
      LabelTimeValue(MakeLabel(Panel(), "LabelTimeValue", QStringLiteral("None"), Qt::AlignLeft)),
      LabelMovesLimit(MakeLabel(Panel(), "LabelMovesLimit", QStringLiteral("Moves Limit : "), Qt::AlignRight)),
      LabelMovesValue(MakeLabel(Panel(), "LabelMovesValue", QStringLiteral("None"), Qt::AlignLeft)),
      ButtonPlay(new QPushButton(QStringLiteral("Play !"), Panel())) {
  setObjectName(QStringLiteral("FormInfoSingle"));
  setWindowTitle(QStringLiteral("Single Game"));
  setModal(true);

  ImageOP->setObjectName(QStringLiteral("ImageOP"));
  ImageIP->setObjectName(QStringLiteral("ImageIP"));
  for (QLabel* image : {ImageOP, ImageIP}) {
    image->setScaledContents(true);
    image->resize(0, 0);
  }
  for (QLabel* caption : {LabelOP, LabelIP}) MakeBold(caption);
  for (QLabel* value : {LabelTimeValue, LabelMovesValue}) MakeBold(value);

  ButtonPlay->setObjectName(QStringLiteral("ButtonPlay"));
  // Enter and Esc are the window's own keys, handled alike whatever has the focus.
  MakeOwnKeyButton(ButtonPlay);
  connect(ButtonPlay, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonPlay, &QPushButton::clicked, this, &TFormInfoSingle::ButtonPlayClick);

  TheFormInfoSingle = this;
}

TFormInfoSingle::~TFormInfoSingle() {
  if (TheFormInfoSingle == this) TheFormInfoSingle = nullptr;
}

void TFormInfoSingle::FormShow() {
  Started = false;
  ScrambleFailed = false;
  Prepared = false;
  setWindowOpacity(1.0);

  const TSingleGameSetup setup = PrepareSingleGame();
  ScrambleFailed = setup.ScrambleFailed;
  if (ScrambleFailed) {
    // Nothing to show: the window stays unseen until it closes itself.
    setWindowOpacity(0.0);
    return;
  }
  Prepared = true;

  TGame& g = App().Game();
  LabelOP->setText(setup.OPFromPuzzle ? QStringLiteral("OP : From Puzzle") : QStringLiteral("OP : From Board"));
  LabelIP->setText(setup.IPFromPuzzle ? QStringLiteral("IP : From Puzzle") : QStringLiteral("IP : Random"));
  ShowLimit(LabelTimeValue, g.TimeLimit, " S");
  ShowLimit(LabelMovesValue, g.MovesLimit, " M");
  // PrepareSingleGame has drawn the objective into the objective window already.
  Arrange();
  ButtonPlay->setFocus();
}

void TFormInfoSingle::Arrange() {
  TGame& g = App().Game();
  const int previewWidth = g.Board.Width * CellSize / PreviewScale;
  const int previewHeight = g.Board.Height * CellSize / PreviewScale;

  const QFontMetrics captionFont(LabelOP->font());
  const QFontMetrics limitFont(LabelTimeLimit->font());
  const QFontMetrics valueFont(LabelTimeValue->font());
  const int captionHeight = captionFont.height();
  const int limitHeight = std::max(limitFont.height(), valueFont.height());

  const int columnWidth =
      std::max({previewWidth, captionFont.horizontalAdvance(LabelOP->text()),
                captionFont.horizontalAdvance(LabelIP->text())}) +
      ColumnPadding;
  const int columnsWidth = 2 * columnWidth + ColumnGap;
  const int captionsWidth = std::max(limitFont.horizontalAdvance(LabelTimeLimit->text()),
                                     limitFont.horizontalAdvance(LabelMovesLimit->text()));
  const int valuesWidth = std::max(valueFont.horizontalAdvance(LabelTimeValue->text()),
                                   valueFont.horizontalAdvance(LabelMovesValue->text())) +
                          2;
  const int limitsWidth = captionsWidth + valuesWidth;
  const QSize button = ButtonPlay->sizeHint().expandedTo(QSize(MinButtonWidth, 0));

  const int contentHeight = captionHeight + CaptionGap + previewHeight + SectionGap + 2 * limitHeight + LineGap +
                            SectionGap + button.height();
  const int panelWidthNeeded = std::max({columnsWidth, limitsWidth, button.width()}) + 2 * SideMargin;
  const int panelHeightNeeded = contentHeight + 2 * EndMargin;
  // The panel is 16 pixels narrower and 64 lower than the window.
  const int cols = std::max(MinCols, (panelWidthNeeded + 16 + CellSize - 1) / CellSize);
  const int rows = std::max(MinRows, (panelHeightNeeded + 64 + CellSize - 1) / CellSize);
  SetCells(cols, rows);

  const int panelWidth = Panel()->width();
  const int panelHeight = Panel()->height();
  const int top = (panelHeight - contentHeight) / 2;
  const int left = (panelWidth - columnsWidth) / 2;
  const int rightColumn = left + columnWidth + ColumnGap;

  LabelOP->setGeometry(left, top, columnWidth, captionHeight);
  LabelIP->setGeometry(rightColumn, top, columnWidth, captionHeight);
  const int previewTop = top + captionHeight + CaptionGap;
  DrawPreview(ImageOP, left, previewTop, PreviewScale, g.OP, g.Board, previewHeight, columnWidth);
  DrawPreview(ImageIP, rightColumn, previewTop, PreviewScale, g.Current, g.Board, previewHeight, columnWidth);

  // The limits' colons one above the other, the pair centred under the previews.
  const int limitsLeft = (panelWidth - limitsWidth) / 2;
  const int timeTop = previewTop + previewHeight + SectionGap;
  const int movesTop = timeTop + limitHeight + LineGap;
  LabelTimeLimit->setGeometry(limitsLeft, timeTop, captionsWidth, limitHeight);
  LabelTimeValue->setGeometry(limitsLeft + captionsWidth, timeTop, valuesWidth, limitHeight);
  LabelMovesLimit->setGeometry(limitsLeft, movesTop, captionsWidth, limitHeight);
  LabelMovesValue->setGeometry(limitsLeft + captionsWidth, movesTop, valuesWidth, limitHeight);

  ButtonPlay->setGeometry((panelWidth - button.width()) / 2, movesTop + limitHeight + SectionGap, button.width(),
                          button.height());
}

void TFormInfoSingle::showEvent(QShowEvent* event) {
  TSkinnedDialog::showEvent(event);
  // The showing handles pending events on its way (FlushPaints): the refusal is
  // posted only now, so that it reaches the window's own loop and ends it.
  if (ScrambleFailed && !event->spontaneous())
    QMetaObject::invokeMethod(this, &TFormInfoSingle::ScrambleRefused, Qt::QueuedConnection);
}

void TFormInfoSingle::ScrambleRefused() {
  if (!ScrambleFailed || !isVisible()) return;
  ShowMessage(UnableToScrambleMessage, TMessageIcon::Exclamation);
  reject();
}

void TFormInfoSingle::ButtonPlayClick() {
  done(Accepted);
}

void TFormInfoSingle::done(int result) {
  const bool begin = Prepared;
  Prepared = false;
  TSkinnedDialog::done(result);
  if (!begin) return;

  BeginPlay();
  Started = true;
  const TApp& app = App();
  if (app.Config.IPFromPuzzle)
    LogLine("Single game started. Puzzle : " + app.State.Game.Puzzle.Title.Str() + ".", true);
  else
    LogLine("Single game started. Board : " + app.State.Game.Board.Title.Str() + ".", true);
}

void TFormInfoSingle::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
