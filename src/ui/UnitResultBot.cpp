#include "ui/UnitResultBot.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "flow/ComputerMatch.h"
#include "platform/qt/ShownText.h"
#include "render/Skin.h"
#include "render/DialogLabels.h"

namespace pav {

namespace {

TFormResultBot* TheFormResultBot = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 5;
constexpr int SideMargin = 12;
constexpr int EndMargin = 10;
constexpr int ButtonGap = 12;
constexpr int MinButtonWidth = 96;

QColor SideColour(TMatchSide side) {
  switch (side) {
    case TMatchSide::Human: return HumanColour;
    case TMatchSide::Computer: return ComputerColour;
    default: return QColor();  // the panel's own text colour
  }
}

void ShowWinner(QLabel* label, const TMatchWinner& winner) {
  label->setText(ShownText(winner.Text));
  SetTextColour(label, SideColour(winner.Side));
}

}  // namespace

TFormResultBot* FormResultBot() { return TheFormResultBot; }

TFormResultBot::TFormResultBot(QWidget* parent)
    : TSkinnedDialog(parent, "GAME RESULTS", MinCols, MinRows),
      LabelHumanTime(MakeLabel(nullptr, "LabelHumanTime", QString(), Qt::AlignRight)),
      LabelHumanMoves(MakeLabel(nullptr, "LabelHumanMoves", QString(), Qt::AlignRight)),
      LabelComputerTime(MakeLabel(nullptr, "LabelComputerTime", QString(), Qt::AlignRight)),
      LabelComputerMoves(MakeLabel(nullptr, "LabelComputerMoves", QString(), Qt::AlignRight)),
      LabelTimeWinner(MakeLabel(nullptr, "LabelTimeWinner", QString(), Qt::AlignLeft)),
      LabelMovesWinner(MakeLabel(nullptr, "LabelMovesWinner", QString(), Qt::AlignLeft)),
      LabelDifference(MakeLabel(nullptr, "LabelDifference", QString(), Qt::AlignLeft)),
      ButtonOK(MakeCloseButton(this, Panel(), "ButtonOK", "OK")),
      Table(new QWidget(Panel())) {
  setObjectName(QStringLiteral("FormResultBot"));
  setWindowTitle(QStringLiteral("Game Results"));
  setModal(true);

  auto* grid = new QGridLayout(Table);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(14);
  grid->setVerticalSpacing(3);
  auto caption = [&](const char* name, const char* text, int row) {
    QLabel* label = MakeLabel(Table, name, QString::fromLatin1(text), Qt::AlignLeft);
    grid->addWidget(label, row, 0);
    return label;
  };
  auto head = [&](const char* name, const char* text, int column) {
    QLabel* label = MakeLabel(Table, name, QString::fromLatin1(text), Qt::AlignRight);
    label->setEnabled(false);
    grid->addWidget(label, 0, column);
  };
  head("LabelTimeHead", "Time", 1);
  head("LabelMovesHead", "Moves", 2);
  caption("LabelHumanScore", "Your Score", 1);
  caption("LabelComputerScore", "Computer's Score", 2);
  grid->addWidget(LabelHumanTime, 1, 1);
  grid->addWidget(LabelHumanMoves, 1, 2);
  grid->addWidget(LabelComputerTime, 2, 1);
  grid->addWidget(LabelComputerMoves, 2, 2);
  grid->setRowMinimumHeight(3, 8);
  caption("LabelTimeWinnerText", "'Fastest Time'  Winner : ", 4);
  caption("LabelMovesWinnerText", "'Fewest Moves'  Winner : ", 5);
  caption("LabelDifferenceText", "Score Difference :", 6);
  grid->addWidget(LabelTimeWinner, 4, 1, 1, 2);
  grid->addWidget(LabelMovesWinner, 5, 1, 1, 2);
  grid->addWidget(LabelDifference, 6, 1, 1, 2);
  for (QLabel* value : {LabelHumanTime, LabelHumanMoves, LabelComputerTime, LabelComputerMoves, LabelTimeWinner,
                        LabelMovesWinner, LabelDifference})
    MakeBold(value);
  SetTextColour(LabelHumanTime, HumanColour);
  SetTextColour(LabelHumanMoves, HumanColour);
  SetTextColour(LabelComputerTime, ComputerColour);
  SetTextColour(LabelComputerMoves, ComputerColour);

  TheFormResultBot = this;
}

TFormResultBot::~TFormResultBot() {
  if (TheFormResultBot == this) TheFormResultBot = nullptr;
}

void TFormResultBot::FormShow() {
  const TMatchResults r = MatchResults();
  LabelHumanTime->setText(QString::fromStdString(r.HumanTime));
  LabelHumanMoves->setText(QString::fromStdString(r.HumanMoves));
  LabelComputerTime->setText(QString::fromStdString(r.ComputerTime));
  LabelComputerMoves->setText(QString::fromStdString(r.ComputerMoves));
  ShowWinner(LabelTimeWinner, r.TimeWinner);
  ShowWinner(LabelMovesWinner, r.MovesWinner);
  LabelDifference->setText(QString::fromStdString(r.Difference));

  Table->adjustSize();
  const QSize table = Table->sizeHint();
  const QSize button = ButtonOK->sizeHint().expandedTo(QSize(MinButtonWidth, 0));
  const int contentHeight = table.height() + ButtonGap + button.height();
  const int cols = std::max(MinCols, (table.width() + 2 * SideMargin + 16 + CellSize - 1) / CellSize);
  const int rows = std::max(MinRows, (contentHeight + 2 * EndMargin + 64 + CellSize - 1) / CellSize);
  SetCells(cols, rows);

  const int panelWidth = Panel()->width();
  const int top = (Panel()->height() - contentHeight) / 2;
  Table->setGeometry((panelWidth - table.width()) / 2, top, table.width(), table.height());
  ButtonOK->setGeometry((panelWidth - button.width()) / 2, top + table.height() + ButtonGap, button.width(),
                        button.height());
  ButtonOK->setFocus();
}

void TFormResultBot::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
