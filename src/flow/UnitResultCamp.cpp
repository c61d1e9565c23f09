#include "flow/UnitResultCamp.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "app/AppState.h"
#include "flow/Campaign.h"
#include "flow/UnitInfoCamp.h"
#include "platform/qt/ShownText.h"
#include "render/DialogLabels.h"
#include "render/Skin.h"

namespace pav {

namespace {

TFormResultCamp* TheFormResultCamp = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 5;
constexpr int SideMargin = 12;
constexpr int EndMargin = 10;
constexpr int GaugeWidth = 180;
constexpr int GaugeHeight = 18;
constexpr int MinButtonWidth = 96;

}  // namespace

TFormResultCamp* FormResultCamp() { return TheFormResultCamp; }

TFormResultCamp::TFormResultCamp(QWidget* parent)
    : TSkinnedDialog(parent, "GAME OVER", MinCols, MinRows),
      LabelCampaign(MakeLabel(Panel(), "LabelCampaign", QString(), Qt::AlignHCenter)),
      LabelTurn(MakeLabel(Panel(), "LabelTurn", QString(), Qt::AlignHCenter)),
      Gauge(new QProgressBar(Panel())),
      LabelTT(MakeLabel(nullptr, "LabelTT", QString(), Qt::AlignLeft)),
      LabelTM(MakeLabel(nullptr, "LabelTM", QString(), Qt::AlignLeft)),
      ButtonOK(MakeCloseButton(this, Panel(), "ButtonOK", "OK")),
      Totals(new QWidget(Panel())) {
  setObjectName(QStringLiteral("FormResultCamp"));
  setWindowTitle(QStringLiteral("Campaign Results"));
  setModal(true);
  MakeBold(LabelCampaign);
  MakeBold(LabelTurn);
  Gauge->setObjectName(QStringLiteral("Gauge"));
  Gauge->setRange(0, 100);
  Gauge->setFormat(QStringLiteral("%p%"));
  Gauge->setAlignment(Qt::AlignCenter);

  auto* grid = new QGridLayout(Totals);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(5);
  grid->setVerticalSpacing(2);
  grid->addWidget(MakeLabel(Totals, "LabelTTText", QStringLiteral("Total Time :"), Qt::AlignRight), 0, 0);
  grid->addWidget(MakeLabel(Totals, "LabelTMText", QStringLiteral("Total Moves :"), Qt::AlignRight), 1, 0);
  grid->addWidget(LabelTT, 0, 1);
  grid->addWidget(LabelTM, 1, 1);
  for (QLabel* value : {LabelTT, LabelTM}) MakeBold(value);

  TheFormResultCamp = this;
}

TFormResultCamp::~TFormResultCamp() {
  if (TheFormResultCamp == this) TheFormResultCamp = nullptr;
}

void TFormResultCamp::FormShow() {
  TApp& app = App();
  const TGame& g = app.Game();
  const TFormInfoCamp* level = FormInfoCamp();
  LabelCampaign->setText(level ? level->LabelCampaign->text() : ShownText(g.Campaign.Title.Str()));
  if (g.Level == 0) {
    SetTitle("GAME OVER");
    Gauge->setValue(level ? level->Gauge->value() : 0);
    LabelTurn->setText(ShownText("Campaign\rNot Completed"));
  } else {
    SetTitle("CONGRATULATIONS !");
    Gauge->setValue(100);
    LabelTurn->setText(ShownText("Campaign\rCompleted !"));
  }
  LabelTT->setText(QString::fromStdString(std::to_string(app.State.CampaignSeconds) + " S"));
  LabelTM->setText(QString::fromStdString(std::to_string(app.State.CampaignMoves) + " M"));

  Totals->adjustSize();
  const QSize totals = Totals->sizeHint();
  const int campaignHeight = LabelCampaign->sizeHint().height();
  const int turnHeight = LabelTurn->sizeHint().height();
  const QSize button = ButtonOK->sizeHint().expandedTo(QSize(MinButtonWidth, 0));
  const int contentHeight = campaignHeight + 4 + turnHeight + 8 + GaugeHeight + 10 + totals.height() + 12 +
                            button.height();
  const int contentWidth = std::max({LabelCampaign->sizeHint().width(), LabelTurn->sizeHint().width(), GaugeWidth,
                                     totals.width(), button.width()});
  const int cols = std::max(MinCols, (contentWidth + 2 * SideMargin + 16 + CellSize - 1) / CellSize);
  const int rows = std::max(MinRows, (contentHeight + 2 * EndMargin + 64 + CellSize - 1) / CellSize);
  SetCells(cols, rows);

  const int panelWidth = Panel()->width();
  int top = (Panel()->height() - contentHeight) / 2;
  LabelCampaign->setGeometry(SideMargin, top, panelWidth - 2 * SideMargin, campaignHeight);
  top += campaignHeight + 4;
  LabelTurn->setGeometry(SideMargin, top, panelWidth - 2 * SideMargin, turnHeight);
  top += turnHeight + 8;
  Gauge->setGeometry((panelWidth - GaugeWidth) / 2, top, GaugeWidth, GaugeHeight);
  top += GaugeHeight + 10;
  Totals->setGeometry((panelWidth - totals.width()) / 2, top, totals.width(), totals.height());
  top += totals.height() + 12;
  ButtonOK->setGeometry((panelWidth - button.width()) / 2, top, button.width(), button.height());
  ButtonOK->setFocus();
}

void TFormResultCamp::done(int result) {
  const bool wasShown = isVisible();
  TSkinnedDialog::done(result);
  if (wasShown) ShowFirstCampaignLevel(true);
}

void TFormResultCamp::keyPressEvent(QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    event->accept();
    done(Accepted);
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

}  // namespace pav
