#include "ui/UnitInfoBot.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/UnitRecordsBot.h"
#include "flow/GameStart.h"
#include "render/DialogLabels.h"

namespace pav {

namespace {

TFormInfoBot* TheFormInfoBot = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 6;
constexpr int ColumnGap = 20;  // between the settings and the opponent's figures

}  // namespace

TFormInfoBot* FormInfoBot() { return TheFormInfoBot; }

TFormInfoBot::TFormInfoBot(QWidget* parent)
    : TStartWindow(parent, "GAME AGAINST COMPUTER", MinCols, MinRows), Figures(new QWidget(Panel())) {
  setObjectName(QStringLiteral("FormInfoBot"));
  setWindowTitle(QStringLiteral("Game Against Computer"));

  LabelSpeedText = MakeLabel(Figures, "LabelSpeedText", QStringLiteral("Speed :"), Qt::AlignRight);
  LabelSpeed = MakeLabel(Figures, "LabelSpeed", QString(), Qt::AlignLeft);
  LabelAccuracyText = MakeLabel(Figures, "LabelAccuracyText", QStringLiteral("Accuracy :"), Qt::AlignRight);
  LabelAccuracy = MakeLabel(Figures, "LabelAccuracy", QString(), Qt::AlignLeft);
  LabelOppTimeText = MakeLabel(Figures, "LabelOppTimeText", QStringLiteral("Opp. Time :"), Qt::AlignRight);
  LabelOppTime = MakeLabel(Figures, "LabelOppTime", QString(), Qt::AlignLeft);
  LabelOppMovesText = MakeLabel(Figures, "LabelOppMovesText", QStringLiteral("Opp. Moves :"), Qt::AlignRight);
  LabelOppMoves = MakeLabel(Figures, "LabelOppMoves", QString(), Qt::AlignLeft);
  LabelTurn = MakeLabel(Panel(), "LabelTurn", QString(), Qt::AlignHCenter);
  for (QLabel* value : {LabelSpeed, LabelAccuracy, LabelOppTime, LabelOppMoves, LabelTurn}) MakeBold(value);
  for (QLabel* value : {LabelOppTime, LabelOppMoves}) {
    // Hidden on the first turn, the columns keep their places.
    QSizePolicy policy = value->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    value->setSizePolicy(policy);
    value->setMinimumWidth(QFontMetrics(value->font()).horizontalAdvance(QStringLiteral(" 9999 M")));
  }

  auto* grid = new QGridLayout(Figures);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(5);
  grid->setVerticalSpacing(LineGap);
  grid->setColumnMinimumWidth(2, ColumnGap);
  grid->addWidget(LabelSpeedText, 0, 0);
  grid->addWidget(LabelSpeed, 0, 1);
  grid->addWidget(LabelAccuracyText, 1, 0);
  grid->addWidget(LabelAccuracy, 1, 1);
  grid->addWidget(LabelOppTimeText, 0, 3);
  grid->addWidget(LabelOppTime, 0, 4);
  grid->addWidget(LabelOppMovesText, 1, 3);
  grid->addWidget(LabelOppMoves, 1, 4);

  TheFormInfoBot = this;
}

TFormInfoBot::~TFormInfoBot() {
  if (TheFormInfoBot == this) TheFormInfoBot = nullptr;
}

bool TFormInfoBot::PrepareGame() { return PrepareComputerTurn(); }

void TFormInfoBot::ShowPrepared() {
  const TApp& app = App();
  const TGameState& s = app.State;
  const bool human = s.HumanTurn;
  LabelOP->setText(QStringLiteral("OP : From Board"));
  LabelIP->setText(QStringLiteral("IP : Random"));

  LabelSpeed->setText(ComputerSpeedText(app.Config.ComputerSpeed));
  LabelAccuracy->setText(ComputerAccuracyText(app.Config.ComputerAccuracy));
  // The computer's settings matter on its own turn only.
  for (QLabel* label : {LabelSpeedText, LabelSpeed, LabelAccuracyText, LabelAccuracy}) label->setEnabled(!human);

  // On the second turn the first player's result: the computer's in navy for the
  // human, the human's in maroon for the computer.
  const bool second = s.Game.Level == 2;
  for (QLabel* caption : {LabelOppTimeText, LabelOppMovesText}) caption->setEnabled(second);
  LabelOppTime->setVisible(second);
  LabelOppMoves->setVisible(second);
  if (second) {
    const std::int32_t seconds = human ? s.ComputerSeconds : s.HumanSeconds;
    const std::int32_t moves = human ? s.ComputerMoves : s.HumanMoves;
    LabelOppTime->setText(QString::fromStdString(std::to_string(seconds) + " S"));
    LabelOppMoves->setText(QString::fromStdString(std::to_string(moves) + " M"));
    for (QLabel* value : {LabelOppTime, LabelOppMoves}) SetTextColour(value, human ? ComputerColour : HumanColour);
  }

  LabelTurn->setText(human ? QStringLiteral("It's Your Turn") : QStringLiteral("It's Computer's Turn"));
  SetTextColour(LabelTurn, human ? HumanColour : ComputerColour);
  ButtonPlay->setText(human ? QStringLiteral("Play !") : QStringLiteral("Watch .."));
  Arrange();
}

void TFormInfoBot::Arrange() {
  Figures->adjustSize();
  const QSize figures = Figures->sizeHint();
  const int turnHeight = QFontMetrics(LabelTurn->font()).height();
  const QSize button = ButtonSize();
  const int previewsHeight = PreviewsHeight();
  const int contentHeight =
      previewsHeight + SectionGap + figures.height() + SectionGap + turnHeight + SectionGap + button.height();
  FitCells(std::max({PreviewsWidth(), figures.width(), button.width()}) + 2 * SideMargin,
           contentHeight + 2 * EndMargin);

  const int panelWidth = Panel()->width();
  const int top = (Panel()->height() - contentHeight) / 2;
  PlacePreviews(panelWidth, top);
  const int figuresTop = top + previewsHeight + SectionGap;
  Figures->setGeometry((panelWidth - figures.width()) / 2, figuresTop, figures.width(), figures.height());
  const int turnTop = figuresTop + figures.height() + SectionGap;
  LabelTurn->setGeometry(SideMargin, turnTop, panelWidth - 2 * SideMargin, turnHeight);
  ButtonPlay->setGeometry((panelWidth - button.width()) / 2, turnTop + turnHeight + SectionGap, button.width(),
                          button.height());
}

void TFormInfoBot::BeginGame() {
  BeginPlay();
  const TApp& app = App();
  if (app.State.Game.Level == 1)
    LogLine("Game against computer started. Board : " + app.State.Game.Board.Title.Str() + ".", true);
  if (app.State.HumanTurn)
    LogLine("Player's game started.", true);
  else
    LogLine("Computer's game started. Speed : " + ComputerSpeedText(app.Config.ComputerSpeed).toStdString() +
                " - Accuracy : " + ComputerAccuracyText(app.Config.ComputerAccuracy).toStdString() + ".",
            true);
}

}  // namespace pav
