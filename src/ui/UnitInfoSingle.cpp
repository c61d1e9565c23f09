#include "ui/UnitInfoSingle.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "app/AppState.h"
#include "app/Log.h"
#include "flow/GameStart.h"
#include "render/DialogLabels.h"

namespace pav {

namespace {

TFormInfoSingle* TheFormInfoSingle = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 5;

}  // namespace

TFormInfoSingle* FormInfoSingle() { return TheFormInfoSingle; }

TFormInfoSingle::TFormInfoSingle(QWidget* parent)
    : TStartWindow(parent, "SINGLE GAME", MinCols, MinRows),
      Limits(Panel(), "LabelTimeLimit", "LabelTimeValue", "LabelMovesLimit", "LabelMovesValue"),
      LabelTimeLimit(Limits.TimeCaption),
      LabelTimeValue(Limits.TimeValue),
      LabelMovesLimit(Limits.MovesCaption),
      LabelMovesValue(Limits.MovesValue) {
  setObjectName(QStringLiteral("FormInfoSingle"));
  setWindowTitle(QStringLiteral("Single Game"));
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
  Limits.Show(g.TimeLimit, g.MovesLimit);
  // The preparation has drawn the objective into the objective window already.
  Arrange();
}

void TFormInfoSingle::Arrange() {
  const QSize limits = Limits.Size();
  const QSize button = ButtonSize();
  const int previewsHeight = PreviewsHeight();
  const int contentHeight = previewsHeight + SectionGap + limits.height() + SectionGap + button.height();
  FitCells(std::max({PreviewsWidth(), limits.width(), button.width()}) + 2 * SideMargin, contentHeight + 2 * EndMargin);

  const int panelWidth = Panel()->width();
  const int top = (Panel()->height() - contentHeight) / 2;
  PlacePreviews(panelWidth, top);
  const int limitsTop = top + previewsHeight + SectionGap;
  Limits.Place(panelWidth, limitsTop);
  ButtonPlay->setGeometry((panelWidth - button.width()) / 2, limitsTop + limits.height() + SectionGap, button.width(),
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
