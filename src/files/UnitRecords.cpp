#include "files/UnitRecords.h"

#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "media/Effects.h"
#include "platform/Text.h"

namespace pav {

namespace {

TFormRecords* TheFormRecords = nullptr;

constexpr int RecordsCols = 8;
constexpr int RecordsRows = 9;

QLabel* NewLabel(const QString& text, const QString& name, QWidget* parent, Qt::Alignment alignment,
                 bool bold = false) {
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

// One page of a list: the heads, then ten rows of fixed position, name and value.
// `suffix` tells the rows of the two pages apart in their object names ("T" or "M").
QWidget* NewPage(QTabWidget* pages, const QString& sheetName, const QString& valueHead,
                 const QString& valueHeadName, const QString& suffix, QLabel*& posHead, QLabel*& nameHead,
                 QLabel*& valueHeadLabel, std::array<QLabel*, RecordPositions>& names,
                 std::array<QLabel*, RecordPositions>& values) {
  auto* sheet = new QWidget(pages);
  sheet->setObjectName(sheetName);
  auto* grid = new QGridLayout(sheet);
  grid->setContentsMargins(8, 6, 10, 6);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(1);

  posHead = NewLabel(QStringLiteral("Pos"), QStringLiteral("LabelPos") + suffix, sheet, Qt::AlignRight, true);
  nameHead = NewLabel(QStringLiteral("Name"), QStringLiteral("LabelName") + suffix, sheet, Qt::AlignLeft, true);
  valueHeadLabel = NewLabel(valueHead, valueHeadName, sheet, Qt::AlignRight, true);
  grid->addWidget(posHead, 0, 0);
  grid->addWidget(nameHead, 0, 1);
  grid->addWidget(valueHeadLabel, 0, 2);
  // A little air between the heads and the first row.
  grid->setRowMinimumHeight(0, valueHeadLabel->sizeHint().height() + 4);

  for (int p = 1; p <= RecordPositions; ++p) {
    const QString n = QString::number(p);
    grid->addWidget(NewLabel(n, QStringLiteral("LabelPos%1%2").arg(suffix, n), sheet, Qt::AlignRight), p, 0);
    names[p - 1] = NewLabel({}, QStringLiteral("LabelName%1%2").arg(suffix, n), sheet, Qt::AlignLeft);
    values[p - 1] = NewLabel({}, QStringLiteral("LabelValue%1%2").arg(suffix, n), sheet, Qt::AlignRight);
    grid->addWidget(names[p - 1], p, 1);
    grid->addWidget(values[p - 1], p, 2);
  }
  // The rows share the height of the page evenly.
  grid->setColumnStretch(1, 1);
  return sheet;
}

}  // namespace

QString RecordValueText(std::int32_t value, std::int32_t emptyValue, const char* unit) {
  if (value == emptyValue) return {};
  return QString::number(value) + QString::fromLatin1(unit);
}

// --- TRecordListWindow ---

TRecordListWindow::TRecordListWindow(QWidget* parent, int cols, int rows, const QString& timeTab,
                                     const QString& timeHead, const QString& movesTab, const QString& movesHead)
    : TSkinnedDialog(parent, "TOP 10 SCORES", cols, rows) {
  setWindowTitle(QStringLiteral("Records"));
  setModal(true);

  LabelInfo = NewLabel({}, QStringLiteral("LabelInfo"), Panel(), Qt::AlignRight);
  LabelFile = NewLabel({}, QStringLiteral("LabelFile"), Panel(), Qt::AlignLeft, true);
  InfoGrid = new QGridLayout;
  InfoGrid->setHorizontalSpacing(4);
  InfoGrid->setVerticalSpacing(2);
  InfoGrid->addWidget(LabelInfo, 0, 0);
  InfoGrid->addWidget(LabelFile, 0, 1);
  InfoGrid->setColumnStretch(1, 1);

  PageControl = new QTabWidget(Panel());
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setDocumentMode(false);
  TabSheetTime = NewPage(PageControl, QStringLiteral("TabSheetTime"), timeHead, QStringLiteral("LabelTime"),
                         QStringLiteral("T"), LabelPosT, LabelNameT, LabelTime, TimeNameLabels, TimeValueLabels);
  TabSheetMoves = NewPage(PageControl, QStringLiteral("TabSheetMoves"), movesHead, QStringLiteral("LabelMoves"),
                          QStringLiteral("M"), LabelPosM, LabelNameM, LabelMoves, MoveNameLabels, MoveValueLabels);
  PageControl->addTab(TabSheetTime, timeTab);
  PageControl->addTab(TabSheetMoves, movesTab);
  PageControl->setCurrentWidget(TabSheetTime);

  ButtonOK = new QPushButton(QStringLiteral("OK"), Panel());
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  // Enter and Esc are the window's own keys: they press OK wherever the focus is.
  MakeOwnKeyButton(ButtonOK);
  ButtonOK->setMinimumWidth(88);
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, [this] { accept(); });

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(10, 8, 10, 8);
  layout->setSpacing(6);
  layout->addLayout(InfoGrid);
  layout->addWidget(PageControl, 1);
  layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);
}

void TRecordListWindow::FormActivate() {
  Fill(ChooseTable(), EmptyValue());
  ButtonOK->setFocus(Qt::OtherFocusReason);
}

void TRecordListWindow::Fill(const TRecordTable& table, std::int32_t emptyValue) {
  for (int i = 0; i < RecordPositions; ++i) {
    // Names are shown as stored, even beside an empty value.
    TimeNameLabels[i]->setText(QString::fromStdString(Cp1252ToUtf8(table.TimeNames[i].Str())));
    TimeValueLabels[i]->setText(RecordValueText(table.TimeValues[i], emptyValue, " S"));
    MoveNameLabels[i]->setText(QString::fromStdString(Cp1252ToUtf8(table.MoveNames[i].Str())));
    MoveValueLabels[i]->setText(RecordValueText(table.MoveValues[i], emptyValue, " M"));
  }
}

void TRecordListWindow::FormShow() { FormActivate(); }

void TRecordListWindow::ExecBeside(const QWidget* window) {
  Beside = window;
  exec();
  Beside = nullptr;
}

void TRecordListWindow::PlaceOnShow() {
  if (Beside != nullptr && Beside->isVisible()) {
    move(Beside->x() - width(), Beside->y());
    return;
  }
  PlaceDialog(this);
}

bool TRecordListWindow::event(QEvent* e) {
  const bool handled = TSkinnedDialog::event(e);
  // The lists may have changed while the window was in the background.
  if (e->type() == QEvent::WindowActivate && isVisible()) FormActivate();
  return handled;
}

void TRecordListWindow::keyPressEvent(QKeyEvent* e) {
  if (IsDialogCloseKey(e->key())) {
    e->accept();
    ButtonOK->click();
    return;
  }
  TSkinnedDialog::keyPressEvent(e);
}

// --- TFormRecords ---

TFormRecords::TFormRecords(QWidget* parent)
    : TRecordListWindow(parent, RecordsCols, RecordsRows, QStringLiteral("  Fastest Times  "),
                        QStringLiteral("Time"), QStringLiteral("  Fewest Moves  "), QStringLiteral("Moves")) {
  setObjectName(QStringLiteral("FormRecords"));
  TheFormRecords = this;
}

TFormRecords::~TFormRecords() {
  if (TheFormRecords == this) TheFormRecords = nullptr;
}

TFormRecords* FormRecords() { return TheFormRecords; }

const TRecordTable& TFormRecords::ChooseTable() {
  TApp& app = App();
  TGame& game = app.Game();
  const TRecordTable* table = nullptr;
  QString info;
  std::string title;
  if (app.Config.GameMode == 3) {
    table = &game.Campaign.Records;
    info = QStringLiteral("Records of the Campaign : ");
    title = game.Campaign.Title.Str();
  } else if (app.Config.IPFromPuzzle) {
    table = &game.Puzzle.Records;
    info = QStringLiteral("Records of the Puzzle : ");
    title = game.Puzzle.Title.Str();
  } else {
    table = &game.Board.Records;
    info = QStringLiteral("Records of the Board : ");
    title = game.Board.Title.Str();
  }
  LabelInfo->setText(info);
  LabelFile->setText(QString::fromStdString(Cp1252ToUtf8(title)));
  return *table;
}

}  // namespace pav
