#include "flow/UnitInfoCamp.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "app/AppState.h"
#include "flow/Campaign.h"
#include "media/Effects.h"
#include "platform/qt/ShownText.h"
#include "render/DialogLabels.h"

namespace pav {

namespace {

TFormInfoCamp* TheFormInfoCamp = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 6;
constexpr int GaugeWidth = 180;
constexpr int GaugeHeight = 18;

}  // namespace

TFormInfoCamp* FormInfoCamp() { return TheFormInfoCamp; }

TFormInfoCamp::TFormInfoCamp(QWidget* parent)
    : TStartWindow(parent, "CAMPAIGN MODE", MinCols, MinRows),
      LabelCampaign(MakeLabel(Panel(), "LabelCampaign", QString(), Qt::AlignHCenter)),
      LabelTurn(MakeLabel(Panel(), "LabelTurn", QString(), Qt::AlignHCenter)),
      Gauge(new QProgressBar(Panel())),
      Limits(Panel(), "LabelTLText", "LabelTL", "LabelMLText", "LabelML"),
      LabelTL(Limits.TimeValue),
      LabelML(Limits.MovesValue) {
  setObjectName(QStringLiteral("FormInfoCamp"));
  setWindowTitle(QStringLiteral("Campaign Mode"));
  ImageOP->setObjectName(QStringLiteral("ImagePreviewOP"));
  ImageIP->setObjectName(QStringLiteral("ImagePreviewIP"));
  MakeBold(LabelCampaign);
  Gauge->setObjectName(QStringLiteral("Gauge"));
  Gauge->setRange(0, 100);
  Gauge->setTextVisible(true);
  Gauge->setFormat(QStringLiteral("%p%"));
  Gauge->setAlignment(Qt::AlignCenter);
  TheFormInfoCamp = this;
}

TFormInfoCamp::~TFormInfoCamp() {
  if (TheFormInfoCamp == this) TheFormInfoCamp = nullptr;
}

bool TFormInfoCamp::PrepareGame() { return PrepareCampaignLevel(); }

void TFormInfoCamp::ShowPrepared() {
  const TGame& g = App().Game();
  const int level = g.Level;
  const int count = LevelCount(g.Campaign);
  LabelOP->setText(QStringLiteral("OP : From Puzzle"));
  LabelIP->setText(QStringLiteral("IP : From Puzzle"));
  Limits.Show(g.TimeLimit, g.MovesLimit);
  LabelCampaign->setText(ShownText(g.Campaign.Title.Str()));
  Gauge->setValue(CampaignGauge(level, count));
  LabelTurn->setText(QString::fromStdString("Next Level : " + std::to_string(level) + " of " + std::to_string(count)));
  ButtonPlay->setText(QStringLiteral("Play !"));
  Arrange();
}

void TFormInfoCamp::Arrange() {
  const QFontMetrics campaignFont(LabelCampaign->font());
  const QFontMetrics turnFont(LabelTurn->font());
  const int campaignHeight = campaignFont.height();
  const int turnHeight = turnFont.height();
  const int headWidth = std::max({campaignFont.horizontalAdvance(LabelCampaign->text()),
                                  turnFont.horizontalAdvance(LabelTurn->text()), GaugeWidth});
  const QSize limits = Limits.Size();
  const QSize button = ButtonSize();
  const int previewsHeight = PreviewsHeight();
  const int headHeight = campaignHeight + LineGap + turnHeight + LineGap + 2 + GaugeHeight;
  const int contentHeight =
      headHeight + SectionGap + previewsHeight + SectionGap + limits.height() + SectionGap + button.height();
  FitCells(std::max({headWidth, PreviewsWidth(), limits.width(), button.width()}) + 2 * SideMargin,
           contentHeight + 2 * EndMargin);

  const int panelWidth = Panel()->width();
  int top = (Panel()->height() - contentHeight) / 2;
  LabelCampaign->setGeometry(SideMargin, top, panelWidth - 2 * SideMargin, campaignHeight);
  top += campaignHeight + LineGap;
  LabelTurn->setGeometry(SideMargin, top, panelWidth - 2 * SideMargin, turnHeight);
  top += turnHeight + LineGap + 2;
  Gauge->setGeometry((panelWidth - GaugeWidth) / 2, top, GaugeWidth, GaugeHeight);
  top += GaugeHeight + SectionGap;
  PlacePreviews(panelWidth, top);
  top += previewsHeight + SectionGap;
  Limits.Place(panelWidth, top);
  top += limits.height() + SectionGap;
  ButtonPlay->setGeometry((panelWidth - button.width()) / 2, top, button.width(), button.height());
}

void TFormInfoCamp::BeginGame() { BeginCampaignLevel(); }

void TFormInfoCamp::Refused() { CampaignLevelRefused(); }

void TFormInfoCamp::keyPressEvent(QKeyEvent* event) {
  TGame& g = App().Game();
  if (event->key() == Qt::Key_N && (event->modifiers() & Qt::ControlModifier)) {
    event->accept();
    // Under cheats the next level comes instead, as long as there is one.
    if (App().CheatsEnabled && g.Level < LevelCount(g.Campaign)) {
      ++g.Level;
      Refill();
      PlayEffect(TEffect::Solved);
    }
    return;
  }
  TStartWindow::keyPressEvent(event);
}

}  // namespace pav
