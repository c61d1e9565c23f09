#include "ui/UnitInfoSingle.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "app/AppState.h"
#include "app/Log.h"
#include "flow/GameStart.h"
#include "ui/DialogLabels.h"

namespace pav {

namespace {

TFormInfoSingle* TheFormInfoSingle = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 5;

}  // namespace

TFormInfoSingle* FormInfoSingle() { return TheFormInfoSingle; }

TFormInfoSingle::TFormInfoSingle(QWidget* parent)
    : TStartWindow(parent, "SINGLE GAME", MinCols, MinRows),
      LabelTimeLimit(MakeLabel(Panel(), "LabelTimeLimit", QStringLiteral("Time Limit : "), Qt::AlignRight)),
      LabelTimeValue(MakeLabel(Panel(), "LabelTimeValue", QStringLiteral("None"), Qt::AlignLeft)),
      LabelMovesLimit(MakeLabel(Panel(), "LabelMovesLimit", QStringLiteral("Moves Limit : "), Qt::AlignRight)),
      LabelMovesValue(MakeLabel(Panel(), "LabelMovesValue", QStringLiteral("None"), Qt::AlignLeft)) {
  setObjectName(QStringLiteral("FormInfoSingle"));
  setWindowTitle(QStringLiteral("Single Game"));
  for (QLabel* value : {LabelTimeValue, LabelMovesValue}) MakeBold(value);
  TheFormInfoSingle = this;
}

TFormInfoSingle::~TFormInfoSingle() {
  if (TheFormInfoSingle == this) TheFormInfoSingle = nullptr;
}

bool TFormInfoSingle::PrepareGame() {
  const TSingleGameSetup setup = PrepareSingleGame();
  OPFromPuzzle = setup.OPFromPuzzle;
  IPFromPuzzle = setup.IPFromPuzzle;
  return !setup.ScrambleFailed;
}

void TFormInfoSingle::ShowPrepared() {
  const TGame& g = App().Game();
  LabelOP->setText(OPFromPuzzle ? QStringLiteral("OP : From Puzzle") : QStringLiteral("OP : From Board"));
  LabelIP->setText(IPFromPuzzle ? QStringLiteral("IP : From Puzzle") : QStringLiteral("IP : Random"));
  ShowLimit(LabelTimeValue, g.TimeLimit, " S");
  ShowLimit(LabelMovesValue, g.MovesLimit, " M");
  // The preparation has drawn the objective into the objective window already.
  Arrange();
}

void TFormInfoSingle::Arrange() {
  const QFontMetrics limitFont(LabelTimeLimit->font());
  const QFontMetrics valueFont(LabelTimeValue->font());
  const int limitHeight = std::max(limitFont.height(), valueFont.height());
  const int captionsWidth = std::max(limitFont.horizontalAdvance(LabelTimeLimit->text()),
                                     limitFont.horizontalAdvance(LabelMovesLimit->text()));
  const int valuesWidth = std::max(valueFont.horizontalAdvance(LabelTimeValue->text()),
                                   valueFont.horizontalAdvance(LabelMovesValue->text())) +
                          2;
  const int limitsWidth = captionsWidth + valuesWidth;
  const QSize button = ButtonSize();

  const int previewsHeight = PreviewsHeight();
  const int contentHeight =
      previewsHeight + SectionGap + 2 * limitHeight + LineGap + SectionGap + button.height();
  FitCells(std::max({PreviewsWidth(), limitsWidth, button.width()}) + 2 * SideMargin, contentHeight + 2 * EndMargin);

  const int panelWidth = Panel()->width();
  const int top = (Panel()->height() - contentHeight) / 2;
  PlacePreviews(panelWidth, top);

  // The limits' colons one above the other, the pair centred under the previews.
  const int limitsLeft = (panelWidth - limitsWidth) / 2;
  const int timeTop = top + previewsHeight + SectionGap;
  const int movesTop = timeTop + limitHeight + LineGap;
  LabelTimeLimit->setGeometry(limitsLeft, timeTop, captionsWidth, limitHeight);
  LabelTimeValue->setGeometry(limitsLeft + captionsWidth, timeTop, valuesWidth, limitHeight);
  LabelMovesLimit->setGeometry(limitsLeft, movesTop, captionsWidth, limitHeight);
  LabelMovesValue->setGeometry(limitsLeft + captionsWidth, movesTop, valuesWidth, limitHeight);

  ButtonPlay->setGeometry((panelWidth - button.width()) / 2, movesTop + limitHeight + SectionGap, button.width(),
                          button.height());
}

void TFormInfoSingle::BeginGame() {
  BeginPlay();
  const TApp& app = App();
  if (app.Config.IPFromPuzzle)
    LogLine("Single game started. Puzzle : " + app.State.Game.Puzzle.Title.Str() + ".", true);
  else
    LogLine("Single game started. Board : " + app.State.Game.Board.Title.Str() + ".", true);
}

}  // namespace pav
