#include "files/UnitGame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "media/Effects.h"
#include "platform/Paths.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "ui/UnitMain.h"

namespace pav {

namespace {

TFormGame* TheFormGame = nullptr;

constexpr int PreviewScale = 8;
// Room for the largest board, 20 x 15 cells, at scale 8 (120 x 90), with a margin.
constexpr int BevelWidth = 132;
constexpr int BevelHeight = 102;
constexpr int MinButtonWidth = 96;
constexpr int ListWidthChars = 18;

QRadioButton* MakeRadio(QWidget* parent, const char* name, const char* caption) {
  auto* radio = new QRadioButton(QString::fromLatin1(caption), parent);
  radio->setObjectName(QString::fromLatin1(name));
  return radio;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QComboBox* MakeList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setEditable(false);
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list->setMinimumContentsLength(ListWidthChars);
  return list;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* caption) {
  auto* group = new QGroupBox(QString::fromLatin1(caption), parent);
  group->setObjectName(QString::fromLatin1(name));
  return group;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

// Two choices one under the other.
void PairLayout(QGroupBox* group, QRadioButton* first, QRadioButton* second) {
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(8, 4, 8, 6);
  layout->setSpacing(2);
  layout->addWidget(first);
  layout->addWidget(second);
}

}  // namespace

TFormGame* FormGame() { return TheFormGame; }

TFormGame::TFormGame(QWidget* parent) : TSkinnedDialog(parent, "GAME CONFIGURATION", 13, 10) {
  setObjectName(QStringLiteral("FormGame"));
  setWindowTitle(QStringLiteral("Game Configuration"));
  setModal(true);
  QWidget* panel = Panel();

  GroupBoxMode = MakeGroup(panel, "GroupBoxMode", " Game Mode ");
  RadioButtonSingle = MakeRadio(GroupBoxMode, "RadioButtonSingle", "Single Game");
  RadioButtonBot = MakeRadio(GroupBoxMode, "RadioButtonBot", "Against Computer");
  RadioButtonCamp = MakeRadio(GroupBoxMode, "RadioButtonCamp", "Campaign Mode");

  GroupBoxFiles = MakeGroup(panel, "GroupBoxFiles", " Game Files ");
  Label1 = MakeLabel(GroupBoxFiles, "Label1", "Board File : ");
  ComboBoxBoard = MakeList(GroupBoxFiles, "ComboBoxBoard");
  Label2 = MakeLabel(GroupBoxFiles, "Label2", "Puzzle File : ");
  ComboBoxPuzzle = MakeList(GroupBoxFiles, "ComboBoxPuzzle");
  Label3 = MakeLabel(GroupBoxFiles, "Label3", "Campaign File : ");
  ComboBoxCampaign = MakeList(GroupBoxFiles, "ComboBoxCampaign");
  BevelPreview = new QFrame(GroupBoxFiles);
  BevelPreview->setObjectName(QStringLiteral("BevelPreview"));
  BevelPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  BevelPreview->setFixedSize(BevelWidth, BevelHeight);
  ImagePreview = new QLabel(BevelPreview);
  ImagePreview->setObjectName(QStringLiteral("ImagePreview"));
  ImagePreview->setScaledContents(true);
  ImagePreview->hide();

  GroupBoxIP = MakeGroup(panel, "GroupBoxIP", " Initial Pattern ");
  RadioButtonIPRandom = MakeRadio(GroupBoxIP, "RadioButtonIPRandom", "Random");
  RadioButtonIPFromPuzzle = MakeRadio(GroupBoxIP, "RadioButtonIPFromPuzzle", "From Puzzle File");
  GroupBoxOP = MakeGroup(panel, "GroupBoxOP", " Objective Pattern ");
  RadioButtonOPFromBoard = MakeRadio(GroupBoxOP, "RadioButtonOPFromBoard", "From Board File");
  RadioButtonOPFromPuzzle = MakeRadio(GroupBoxOP, "RadioButtonOPFromPuzzle", "From Puzzle File");
  GroupBoxTL = MakeGroup(panel, "GroupBoxTL", " Time Limit ");
  RadioButtonTLNone = MakeRadio(GroupBoxTL, "RadioButtonTLNone", "None");
  RadioButtonTLFromPuzzle = MakeRadio(GroupBoxTL, "RadioButtonTLFromPuzzle", "From Puzzle File");
  GroupBoxML = MakeGroup(panel, "GroupBoxML", " Moves Limit ");
  RadioButtonMLNone = MakeRadio(GroupBoxML, "RadioButtonMLNone", "None");
  RadioButtonMLFromPuzzle = MakeRadio(GroupBoxML, "RadioButtonMLFromPuzzle", "From Puzzle File");

  GroupBoxComputer = MakeGroup(panel, "GroupBoxComputer", " Game Against Computer ");
  Label4 = MakeLabel(GroupBoxComputer, "Label4", "Computer Speed : ");
  ComboBoxSpeed = MakeList(GroupBoxComputer, "ComboBoxSpeed");
  ComboBoxSpeed->setMinimumContentsLength(14);
  ComboBoxSpeed->addItems({QStringLiteral("Level 1 : Slow"), QStringLiteral("Level 2 : Medium"),
                           QStringLiteral("Level 3 : Fast")});
  Label5 = MakeLabel(GroupBoxComputer, "Label5", "Computer Accuracy :");
  ComboBoxAccuracy = MakeList(GroupBoxComputer, "ComboBoxAccuracy");
  ComboBoxAccuracy->setMinimumContentsLength(14);
  ComboBoxAccuracy->addItems({QStringLiteral("Level 1 : Poor"), QStringLiteral("Level 2 : Medium"),
                              QStringLiteral("Level 3 : High")});
  CheckBoxTurn = MakeCheck(GroupBoxComputer, "CheckBoxTurn", "Human Plays First");
  CheckBoxOpoTime = MakeCheck(GroupBoxComputer, "CheckBoxOpoTime", "Use Opponent's Time as Time Limit");
  CheckBoxOpoMoves = MakeCheck(GroupBoxComputer, "CheckBoxOpoMoves", "Use Opponent's Moves as Moves Limit");
  RadioButtonOpoAnd = MakeRadio(GroupBoxComputer, "RadioButtonOpoAnd", "And");
  RadioButtonOpoOr = MakeRadio(GroupBoxComputer, "RadioButtonOpoOr", "Or");

  LabelCheats = MakeLabel(panel, "LabelCheats", "Cheats Enabled !");
  QFont bold = LabelCheats->font();
  bold.setBold(true);
  LabelCheats->setFont(bold);
  LabelCheats->hide();
  ButtonOK = new QPushButton(QStringLiteral("OK"), panel);
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  ButtonOK->setMinimumWidth(MinButtonWidth);
  // Enter and Esc are the window's, whatever has the focus.
  MakeOwnKeyButton(ButtonOK);

  // The state before the first showing.
  RadioButtonSingle->setChecked(true);
  RadioButtonIPRandom->setChecked(true);
  RadioButtonOPFromBoard->setChecked(true);
  RadioButtonTLNone->setChecked(true);
  RadioButtonMLNone->setChecked(true);
  RadioButtonOpoOr->setChecked(true);
  ComboBoxSpeed->setCurrentIndex(0);
  ComboBoxAccuracy->setCurrentIndex(0);

  BuildLayout();

  // A radio's handler runs when it becomes selected, by the player or by the program.
  auto onSelect = [this](QRadioButton* radio, void (TFormGame::*handler)()) {
    connect(radio, &QRadioButton::toggled, this, [this, handler](bool on) {
      if (on) (this->*handler)();
    });
  };
  for (QRadioButton* mode : {RadioButtonSingle, RadioButtonBot, RadioButtonCamp}) onSelect(mode, &TFormGame::ModeClick);
  onSelect(RadioButtonIPRandom, &TFormGame::IPRandomClick);
  onSelect(RadioButtonIPFromPuzzle, &TFormGame::IPFromPuzzleClick);
  onSelect(RadioButtonOPFromBoard, &TFormGame::OPFromBoardClick);
  onSelect(RadioButtonOPFromPuzzle, &TFormGame::OPFromPuzzleClick);
  // The lists react to the player's picks only.
  connect(ComboBoxBoard, &QComboBox::activated, this, &TFormGame::ComboBoxBoardChange);
  connect(ComboBoxPuzzle, &QComboBox::activated, this, &TFormGame::ComboBoxPuzzleChange);
  connect(ComboBoxCampaign, &QComboBox::activated, this, &TFormGame::ComboBoxCampaignChange);
  connect(CheckBoxOpoTime, &QCheckBox::clicked, this, &TFormGame::CheckBoxOpoClick);
  connect(CheckBoxOpoMoves, &QCheckBox::clicked, this, &TFormGame::CheckBoxOpoClick);
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, &TFormGame::ButtonOKClick);

  // The window sees the keys of its controls before they do, except those of the
  // opponent's limits and their And / Or.
  for (QWidget* control : panel->findChildren<QWidget*>())
    if (control->focusPolicy() != Qt::NoFocus && SeesKeysOf(control)) control->installEventFilter(this);

  TheFormGame = this;
}

TFormGame::~TFormGame() {
  if (TheFormGame == this) TheFormGame = nullptr;
}

void TFormGame::BuildLayout() {
  auto* modeLayout = new QVBoxLayout(GroupBoxMode);
  modeLayout->setContentsMargins(10, 4, 10, 6);
  modeLayout->setSpacing(2);
  for (QRadioButton* r : {RadioButtonSingle, RadioButtonBot, RadioButtonCamp}) modeLayout->addWidget(r);

  auto* filesLayout = new QGridLayout(GroupBoxFiles);
  filesLayout->setContentsMargins(10, 6, 10, 8);
  filesLayout->setHorizontalSpacing(6);
  filesLayout->setVerticalSpacing(6);
  filesLayout->addWidget(Label1, 0, 0);
  filesLayout->addWidget(ComboBoxBoard, 0, 1);
  filesLayout->addWidget(Label2, 1, 0);
  filesLayout->addWidget(ComboBoxPuzzle, 1, 1);
  filesLayout->addWidget(Label3, 2, 0);
  filesLayout->addWidget(ComboBoxCampaign, 2, 1);
  filesLayout->addWidget(BevelPreview, 3, 0, 1, 2, Qt::AlignHCenter);
  filesLayout->setRowMinimumHeight(3, BevelHeight + 4);
  filesLayout->setColumnStretch(1, 1);

  PairLayout(GroupBoxIP, RadioButtonIPRandom, RadioButtonIPFromPuzzle);
  PairLayout(GroupBoxOP, RadioButtonOPFromBoard, RadioButtonOPFromPuzzle);
  PairLayout(GroupBoxTL, RadioButtonTLNone, RadioButtonTLFromPuzzle);
  PairLayout(GroupBoxML, RadioButtonMLNone, RadioButtonMLFromPuzzle);

  auto* computerLayout = new QGridLayout(GroupBoxComputer);
  computerLayout->setContentsMargins(10, 6, 10, 8);
  computerLayout->setHorizontalSpacing(6);
  computerLayout->setVerticalSpacing(4);
  computerLayout->addWidget(Label4, 0, 0);
  computerLayout->addWidget(ComboBoxSpeed, 0, 1);
  computerLayout->addWidget(Label5, 1, 0);
  computerLayout->addWidget(ComboBoxAccuracy, 1, 1);
  computerLayout->addWidget(CheckBoxTurn, 2, 0, 1, 2);
  computerLayout->addWidget(CheckBoxOpoTime, 3, 0, 1, 2);
  computerLayout->addWidget(CheckBoxOpoMoves, 4, 0, 1, 2);
  auto* andOr = new QHBoxLayout;
  andOr->setSpacing(16);
  andOr->addSpacing(20);
  andOr->addWidget(RadioButtonOpoAnd);
  andOr->addWidget(RadioButtonOpoOr);
  andOr->addStretch(1);
  computerLayout->addLayout(andOr, 5, 0, 1, 2);
  computerLayout->setColumnStretch(1, 1);

  auto* left = new QVBoxLayout;
  left->setSpacing(8);
  left->addWidget(GroupBoxMode);
  left->addWidget(GroupBoxFiles, 1);

  auto* sources = new QGridLayout;
  sources->setSpacing(8);
  sources->addWidget(GroupBoxIP, 0, 0);
  sources->addWidget(GroupBoxOP, 0, 1);
  sources->addWidget(GroupBoxTL, 1, 0);
  sources->addWidget(GroupBoxML, 1, 1);
  auto* right = new QVBoxLayout;
  right->setSpacing(8);
  right->addLayout(sources);
  right->addWidget(GroupBoxComputer, 1);

  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(LabelCheats);
  bottom->addStretch(1);
  bottom->addWidget(ButtonOK);

  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(10, 8, 10, 8);
  layout->setSpacing(8);
  layout->addLayout(columns, 1);
  layout->addLayout(bottom);

  // Whole cells round what the controls need: the panel is 16 narrower and 64 lower.
  const QSize need = layout->sizeHint();
  SetCells((need.width() + 16 + CellSize - 1) / CellSize, (need.height() + 64 + CellSize - 1) / CellSize);
  layout->activate();
}

int TFormGame::SelectedMode() const {
  if (RadioButtonBot->isChecked()) return 2;
  if (RadioButtonCamp->isChecked()) return 3;
  return 1;
}

void TFormGame::FormShow() {
  TPreviewHold hold(this);
  const TApp& app = App();
  const TConfig& c = app.Config;
  ShownBoardName = c.BoardName.Str();
  FillFileList(ComboBoxBoard, "\\Boards", ".BRD", c.BoardName.Str());
  FillFileList(ComboBoxPuzzle, "\\Puzzles", ".PZZ", c.PuzzleName.Str());
  FillFileList(ComboBoxCampaign, "\\Campaigns", ".CPN", c.CampaignName.Str());

  (c.GameMode == 2 ? RadioButtonBot : c.GameMode == 3 ? RadioButtonCamp : RadioButtonSingle)->setChecked(true);
  (c.IPFromPuzzle ? RadioButtonIPFromPuzzle : RadioButtonIPRandom)->setChecked(true);
  (c.OPFromPuzzle ? RadioButtonOPFromPuzzle : RadioButtonOPFromBoard)->setChecked(true);
  (c.TLFromPuzzle ? RadioButtonTLFromPuzzle : RadioButtonTLNone)->setChecked(true);
  (c.MLFromPuzzle ? RadioButtonMLFromPuzzle : RadioButtonMLNone)->setChecked(true);
  ComboBoxSpeed->setCurrentIndex(std::min<int>(c.ComputerSpeed, 2));
  ComboBoxAccuracy->setCurrentIndex(std::min<int>(c.ComputerAccuracy, 2));
  CheckBoxTurn->setChecked(c.HumanPlaysFirst != 0);
  CheckBoxOpoTime->setChecked(c.UseOpponentTime != 0);
  CheckBoxOpoMoves->setChecked(c.UseOpponentMoves != 0);
  (c.OpponentAnd ? RadioButtonOpoAnd : RadioButtonOpoOr)->setChecked(true);
  UpdateAndOr();
  LabelCheats->setVisible(app.CheatsEnabled);
  // A configured puzzle that is gone leaves nothing to take patterns or limits from.
  if (SelectedMode() == 1 && ComboBoxPuzzle->currentIndex() < 0) ApplyPuzzleOptionRule();
  ApplyModeRules();
  RefreshPreview();
  CheatWordBuffer.Reset();
  // The keyboard starts on the file the mode plays: the campaign, the puzzle when one
  // is chosen, else the board.
  QComboBox* first = SelectedMode() == 3                                                   ? ComboBoxCampaign
                     : SelectedMode() == 1 && ComboBoxPuzzle->currentIndex() >= 0 ? ComboBoxPuzzle
                                                                                          : ComboBoxBoard;
  first->setFocus();
}

// ---- Rules ------------------------------------------------------------------------

void TFormGame::ModeClick() {
  TPreviewHold hold(this);
  ApplyPuzzleOptionRule();
  ApplyModeRules();
}

void TFormGame::ApplyModeRules() {
  TPreviewHold hold(this);
  const int mode = SelectedMode();
  const bool single = mode == 1, bot = mode == 2, campaign = mode == 3;
  Label1->setEnabled(!campaign);
  ComboBoxBoard->setEnabled(!campaign);
  Label2->setEnabled(single);
  ComboBoxPuzzle->setEnabled(single);
  Label3->setEnabled(campaign);
  ComboBoxCampaign->setEnabled(campaign);
  for (QRadioButton* r : {RadioButtonIPRandom, RadioButtonOPFromBoard, RadioButtonTLNone, RadioButtonMLNone})
    r->setEnabled(!campaign);
  const bool puzzle = ComboBoxPuzzle->currentIndex() >= 0;
  for (QRadioButton* r :
       {RadioButtonIPFromPuzzle, RadioButtonOPFromPuzzle, RadioButtonTLFromPuzzle, RadioButtonMLFromPuzzle}) {
    if (campaign || bot)
      r->setEnabled(campaign);
    else if (puzzle)
      r->setEnabled(true);
  }
  GroupBoxComputer->setEnabled(bot);
  if (bot) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, ComboBoxSpeed, Label5, ComboBoxAccuracy, CheckBoxTurn,
                                                      CheckBoxOpoTime, CheckBoxOpoMoves})
      w->setEnabled(true);
    UpdateAndOr();
    SelectDefaultSources();
  }
  if (campaign)
    for (QRadioButton* r :
         {RadioButtonIPFromPuzzle, RadioButtonOPFromPuzzle, RadioButtonTLFromPuzzle, RadioButtonMLFromPuzzle})
      r->setChecked(true);
}

void TFormGame::SelectDefaultSources() {
  for (QRadioButton* r : {RadioButtonIPRandom, RadioButtonOPFromBoard, RadioButtonTLNone, RadioButtonMLNone})
    r->setChecked(true);
}

void TFormGame::ApplyPuzzleOptionRule() {
  TPreviewHold hold(this);
  const bool puzzle = ComboBoxPuzzle->currentIndex() >= 0;
  for (QRadioButton* r :
       {RadioButtonIPFromPuzzle, RadioButtonOPFromPuzzle, RadioButtonTLFromPuzzle, RadioButtonMLFromPuzzle}) {
    r->setEnabled(puzzle);
    if (puzzle) r->setChecked(true);
  }
  if (!puzzle) SelectDefaultSources();
}

void TFormGame::ResetPuzzleChoice() {
  TPreviewHold hold(this);
  SelectEntry(ComboBoxPuzzle, "");
  SelectEntry(ComboBoxCampaign, "");
  SelectDefaultSources();
  ApplyPuzzleOptionRule();
}

void TFormGame::UpdateAndOr() {
  const bool both = CheckBoxOpoTime->isChecked() && CheckBoxOpoMoves->isChecked();
  RadioButtonOpoAnd->setEnabled(both);
  RadioButtonOpoOr->setEnabled(both);
}

void TFormGame::CheckBoxOpoClick() { UpdateAndOr(); }

void TFormGame::IPRandomClick() { RadioButtonOPFromBoard->setChecked(true); }

void TFormGame::IPFromPuzzleClick() { RadioButtonOPFromPuzzle->setChecked(true); }

void TFormGame::OPFromBoardClick() {
  TPreviewHold hold(this);
  RadioButtonIPRandom->setChecked(true);
  RadioButtonTLNone->setChecked(true);
  RadioButtonMLNone->setChecked(true);
  RadioButtonTLFromPuzzle->setEnabled(false);
  RadioButtonMLFromPuzzle->setEnabled(false);
  RefreshPreview();
}

void TFormGame::OPFromPuzzleClick() {
  TPreviewHold hold(this);
  RadioButtonIPFromPuzzle->setChecked(true);
  for (QRadioButton* r : {RadioButtonTLFromPuzzle, RadioButtonMLFromPuzzle}) {
    r->setEnabled(true);
    r->setChecked(true);
  }
  RefreshPreview();
}

// ---- Preview ----------------------------------------------------------------------------

void TFormGame::RefreshPreview() {
  if (PreviewHolds > 0) {
    PreviewWanted = true;
    return;
  }
  PreviewWanted = false;
  // Clearing a choice below asks for refreshes of its own: this one goes on instead.
  struct TQuiet {
    TFormGame* F;
    explicit TQuiet(TFormGame* f) : F(f) { ++F->PreviewHolds; }
    ~TQuiet() {
      --F->PreviewHolds;
      F->PreviewWanted = false;
    }
  } quiet(this);

  const std::string boardName = ListText(ComboBoxBoard);
  if (boardName.empty()) {
    ImagePreview->hide();
    return;
  }
  auto board = std::make_unique<TBoard>();
  if (!LoadReported([&] { LoadBoard(BoardFile(boardName), *board); })) {
    SelectEntry(ComboBoxBoard, "");
    ResetPuzzleChoice();
    ImagePreview->hide();
    return;
  }
  const int mode = SelectedMode();
  std::string puzzlePath;
  if (mode == 3) {
    const std::string campaignName = ListText(ComboBoxCampaign);
    if (campaignName.empty()) {
      ImagePreview->hide();
      return;
    }
    auto campaign = std::make_unique<TCampaign>();
    if (!LoadReported([&] { LoadCampaign(CampaignFile(campaignName), *campaign); })) {
      ResetPuzzleChoice();
      ImagePreview->hide();
      return;
    }
    if (!campaign->Levels[0].Empty()) puzzlePath = LevelPuzzleFile(campaign->Levels[0].Str());
  } else if (const std::string puzzleName = ListText(ComboBoxPuzzle); !puzzleName.empty()) {
    puzzlePath = PuzzleFile(puzzleName);
  }
  ImagePreview->show();
  std::unique_ptr<TPuzzle> puzzle;
  if (!puzzlePath.empty()) {
    puzzle = std::make_unique<TPuzzle>();
    if (!LoadReported([&] { LoadPuzzle(puzzlePath, *puzzle); })) {
      puzzle.reset();
      ResetPuzzleChoice();
    }
  }
  ApplyRecommendedTileSet(*board);
  const bool fromPuzzle = puzzle && (RadioButtonOPFromPuzzle->isChecked() || SelectedMode() == 3);
  DrawPreview(ImagePreview, 0, 0, PreviewScale, fromPuzzle ? puzzle->IP : board->Pattern, *board,
              BevelPreview->height(), BevelPreview->width());
}

void TFormGame::ApplyRecommendedTileSet(const TBoard& board) {
  if (!ChooseBoardTileSet(board, ListText(ComboBoxBoard) != ShownBoardName)) return;
  DrawBoard(true);
  if (QWidget* main = MainWindow()) main->update();
  Reskin();
}

// ---- Keys ----------------------------------------------------------------------------------

bool TFormGame::SeesKeysOf(const QObject* control) const {
  return control != CheckBoxOpoTime && control != CheckBoxOpoMoves && control != RadioButtonOpoAnd &&
         control != RadioButtonOpoOr;
}

void TFormGame::CheatKey(int code) {
  if (!CheatWordBuffer.Add(code)) return;
  TApp& app = App();
  app.CheatsEnabled = !app.CheatsEnabled;
  PlayEffect(TEffect::Solved);
  LabelCheats->setVisible(app.CheatsEnabled);
  LogLine(app.CheatsEnabled ? "*  Cheats enabled  *" : "*  Cheats disabled  *", true);
  LogLine(" -", false);
}

bool TFormGame::FormKeyDown(const QKeyEvent* event) {
  if (IsDialogCloseKey(event->key())) {
    done(Accepted);
    return true;
  }
  const int code = CheatKeyCode(event->key());
  if (code >= 0) CheatKey(code);
  return false;
}

void TFormGame::keyPressEvent(QKeyEvent* event) {
  event->accept();
  // A control's keys were seen on their way to it, or are not seen at all.
  const QWidget* focus = focusWidget();
  if (focus != nullptr && focus != this) return;
  FormKeyDown(event);
}

bool TFormGame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isVisible() && SeesKeysOf(watched) &&
      FormKeyDown(static_cast<QKeyEvent*>(event)))
    return true;
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
