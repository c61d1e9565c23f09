#include "files/UnitRecordsBot.h"

#include <QGridLayout>
#include <QLabel>
#include <algorithm>

#include "app/AppState.h"
#include "platform/Text.h"

namespace pav {

namespace {

TFormRecordsBot* TheFormRecordsBot = nullptr;

constexpr int RecordsBotCols = 8;
constexpr int RecordsBotRows = 9;

QLabel* NewInfoLabel(const QString& text, const QString& name, QWidget* parent, Qt::Alignment alignment,
                     bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment | Qt::AlignVCenter);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

// The configuration's figures as table indices; a damaged value counts as the highest.
int TableIndex(int value) { return std::clamp(value, 0, 2); }

}  // namespace

QString ComputerSpeedText(int speed) {
  switch (speed) {
    case 0: return QStringLiteral("Slow");
    case 1: return QStringLiteral("Medium");
    case 2: return QStringLiteral("Fast");
    default: return {};
  }
}

QString ComputerAccuracyText(int accuracy) {
  switch (accuracy) {
    case 0: return QStringLiteral("Poor");
    case 1: return QStringLiteral("Medium");
    case 2: return QStringLiteral("High");
    default: return {};
  }
}

TFormRecordsBot::TFormRecordsBot(QWidget* parent)
    : TRecordListWindow(parent, RecordsBotCols, RecordsBotRows, QStringLiteral("Highest Time Dif."),
                        QStringLiteral("Time Difference"), QStringLiteral("Highest Moves Dif."),
                        QStringLiteral("Moves Difference")) {
  setObjectName(QStringLiteral("FormRecordsBot"));
  LabelInfo->setText(QStringLiteral("Records of the Board :"));

  LabelSpeedHead = NewInfoLabel(QStringLiteral("Computer Speed : "), QStringLiteral("LabelSpeedHead"), Panel(),
                                Qt::AlignRight, false);
  LabelSpeed = NewInfoLabel({}, QStringLiteral("LabelSpeed"), Panel(), Qt::AlignLeft, true);
  LabelAccuracyHead = NewInfoLabel(QStringLiteral("Computer Accuracy : "), QStringLiteral("LabelAccuracyHead"),
                                   Panel(), Qt::AlignRight, false);
  LabelAccuracy = NewInfoLabel({}, QStringLiteral("LabelAccuracy"), Panel(), Qt::AlignLeft, true);
  InfoGrid->addWidget(LabelSpeedHead, 1, 0);
  InfoGrid->addWidget(LabelSpeed, 1, 1);
  InfoGrid->addWidget(LabelAccuracyHead, 2, 0);
  InfoGrid->addWidget(LabelAccuracy, 2, 1);

  TheFormRecordsBot = this;
}

TFormRecordsBot::~TFormRecordsBot() {
  if (TheFormRecordsBot == this) TheFormRecordsBot = nullptr;
}

TFormRecordsBot* FormRecordsBot() { return TheFormRecordsBot; }

const TRecordTable& TFormRecordsBot::ChooseTable() {
  TApp& app = App();
  const int speed = TableIndex(app.Config.ComputerSpeed);
  const int accuracy = TableIndex(app.Config.ComputerAccuracy);
  LabelFile->setText(QString::fromStdString(Cp1252ToUtf8(app.Game().Board.Title.Str())));
  LabelSpeed->setText(ComputerSpeedText(speed));
  LabelAccuracy->setText(ComputerAccuracyText(accuracy));
  return app.Game().Board.BotRecords[speed][accuracy];
}

}  // namespace pav
