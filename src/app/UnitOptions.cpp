#include "app/UnitOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "media/Effects.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"

namespace pav {

namespace {

TFormOptions* TheFormOptions = nullptr;

constexpr int MinCols = 6;
constexpr int MinRows = 5;
constexpr int PanelWidthLoss = 16;   // the dialog is this much wider than its panel
constexpr int PanelHeightLoss = 64;  // and this much higher
constexpr int MinButtonWidth = 96;
constexpr int MinComboWidth = 150;

const std::string TxtExtension = ".TXT";

QString Shown(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

// Writes the buffer to a player's file; a failure is reported once a session and
// the game goes on.
bool WriteLogOf(const std::string& name) { return WritePlayerLog(name); }

// " -", a space and 24 hyphens, " -", the stamped text, " -".
void LogFramed(const std::string& text) {
  LogLine(" -", false);
  LogLine(" " + Dashes(24), false);
  LogLine(" -", false);
  LogLine(text, true);
  LogLine(" -", false);
}

}  // namespace

TFormOptions* FormOptions() { return TheFormOptions; }

std::vector<std::string> ListPlayers() {
  std::vector<std::string> players;
  for (const std::string& file : ListFiles(App().Path("\\Players"), TxtExtension)) {
    // File names are UTF-8; a name the game's 8-bit strings cannot hold is no player.
    const std::string shown = file.substr(0, file.size() - TxtExtension.size());
    const std::string name = Utf8ToCp1252(shown);
    if (Cp1252ToUtf8(name) != shown) continue;
    if (name.empty() || name.front() == '.') continue;
    if (name.size() > static_cast<std::size_t>(TFormOptions::MaxListedNameLength)) continue;
    players.push_back(name);
  }
  return players;
}

std::string OptionsNameMessage(const std::string& typed) {
  const std::string name = Utf8ToCp1252(typed);
  if (name.size() > static_cast<std::size_t>(TFormOptions::MaxNameLength))
    return "Player's name can't be longer than 12 characters.";
  if (name.empty()) return "You must type a Player's name.";
  return TypedPlayerNameProblem(typed);
}

TFormOptions::TFormOptions(QWidget* parent)
    : TSkinnedDialog(parent, "GENERAL OPTIONS", MinCols, MinRows),
      LabelPlayer(new QLabel(QStringLiteral("Player Name :"), Panel())),
      ComboBoxPlayer(new QComboBox(Panel())),
      CheckBoxLog(MakeCheckBox(Panel(), "CheckBoxLog", "Write Player's Log File")),
      CheckBoxAutoSkin(MakeCheckBox(Panel(), "CheckBoxAutoSkin", "Auto-Load Board's Recomm. Tile Set")),
      CheckBoxWheel(MakeCheckBox(Panel(), "CheckBoxWheel", "Move Tiles Using Mouse Wheel")),
      CheckBoxElem(MakeCheckBox(Panel(), "CheckBoxElem", "Highlight Used Flow Elements")),
      CheckBoxInvalid(MakeCheckBox(Panel(), "CheckBoxInvalid", "Show Invalidations")),
      ButtonOK(new QPushButton(QStringLiteral("OK"), Panel())) {
  setObjectName(QStringLiteral("FormOptions"));
  setWindowTitle(QStringLiteral("General Options"));
  setModal(true);

  LabelPlayer->setObjectName(QStringLiteral("LabelPlayer"));
  LabelPlayer->setBuddy(ComboBoxPlayer);
  ComboBoxPlayer->setObjectName(QStringLiteral("ComboBoxPlayer"));
  ComboBoxPlayer->setEditable(true);
  // The list is the players' files; typing a name never adds to it (the name is
  // checked on closing, and a long one is refused there, not cut).
  ComboBoxPlayer->setInsertPolicy(QComboBox::NoInsert);
  ComboBoxPlayer->setMinimumWidth(MinComboWidth);

  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  MakeOwnKeyButton(ButtonOK);
  ButtonOK->setMinimumWidth(MinButtonWidth);
  connect(ButtonOK, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
  connect(ButtonOK, &QPushButton::clicked, this, &TFormOptions::ButtonOKClick);

  for (QWidget* control : {static_cast<QWidget*>(ComboBoxPlayer), static_cast<QWidget*>(ComboBoxPlayer->lineEdit()),
                           static_cast<QWidget*>(CheckBoxLog), static_cast<QWidget*>(CheckBoxAutoSkin),
                           static_cast<QWidget*>(CheckBoxWheel), static_cast<QWidget*>(CheckBoxElem),
                           static_cast<QWidget*>(CheckBoxInvalid), static_cast<QWidget*>(ButtonOK)})
    control->installEventFilter(this);

  // The player's row on top, the five switches left-aligned under it, the button
  // centred at the bottom.
  auto* player = new QHBoxLayout;
  player->setSpacing(8);
  player->addWidget(LabelPlayer);
  player->addWidget(ComboBoxPlayer, 1);
  auto* switches = new QVBoxLayout;
  switches->setSpacing(4);
  for (QCheckBox* box : {CheckBoxLog, CheckBoxAutoSkin, CheckBoxWheel, CheckBoxElem, CheckBoxInvalid})
    switches->addWidget(box);
  auto* layout = new QVBoxLayout(Panel());
  layout->setContentsMargins(14, 10, 14, 10);
  layout->setSpacing(0);
  layout->addLayout(player);
  layout->addSpacing(10);
  layout->addLayout(switches);
  layout->addStretch(1);
  layout->addSpacing(10);
  layout->addWidget(ButtonOK, 0, Qt::AlignHCenter);

  // As many whole cells as the controls need in this font and style.
  for (QWidget* control : Panel()->findChildren<QWidget*>()) control->ensurePolished();
  Panel()->ensurePolished();
  const QSize need = Panel()->sizeHint();
  SetCells(std::max(MinCols, (need.width() + PanelWidthLoss + 47) / 48),
           std::max(MinRows, (need.height() + PanelHeightLoss + 47) / 48));

  TheFormOptions = this;
  LogApplicationStarted();
}

TFormOptions::~TFormOptions() {
  if (TheFormOptions == this) TheFormOptions = nullptr;
}

// The window is shown modally and activated once per showing; a message box over
// it does not load the controls again, so a refused name stays as typed.
void TFormOptions::FormShow() { FormActivate(); }

void TFormOptions::FormActivate() {
  const TConfig& c = App().Config;
  const std::string current = c.PlayerName.Str();
  ComboBoxPlayer->clear();
  int selected = -1;
  for (const std::string& name : ListPlayers()) {
    if (selected < 0 && SameTextIgnoringCase(name, current)) selected = ComboBoxPlayer->count();
    ComboBoxPlayer->addItem(Shown(name));
  }
  ComboBoxPlayer->setCurrentIndex(selected);
  // The field shows the current player exactly, even when the entry it matches is
  // spelt in other letter case: merely opening the window never changes the player.
  ComboBoxPlayer->setEditText(Shown(current));

  CheckBoxLog->setChecked(c.WriteLog != 0);
  CheckBoxAutoSkin->setChecked(c.AutoTileSet != 0);
  CheckBoxWheel->setChecked(c.WheelMoves != 0);
  CheckBoxElem->setChecked(c.HighlightElements != 0);
  CheckBoxInvalid->setChecked(c.ShowInvalid != 0);

  // The player cannot change during a game.
  const bool free = !App().State.GameRunning;
  LabelPlayer->setEnabled(free);
  ComboBoxPlayer->setEnabled(free);

  (free ? static_cast<QWidget*>(ComboBoxPlayer) : static_cast<QWidget*>(ButtonOK))->setFocus();
  if (free) ComboBoxPlayer->lineEdit()->selectAll();
}

void TFormOptions::ButtonOKClick() { done(Accepted); }

bool TFormOptions::FormCloseQuery() {
  const std::string typed = ComboBoxPlayer->currentText().toStdString();
  const std::string refusal = OptionsNameMessage(typed);
  if (!refusal.empty()) {
    ShowMessage(refusal, TMessageIcon::Warning);
    return false;
  }
  TConfig& c = App().Config;
  c.WheelMoves = CheckBoxWheel->isChecked() ? 1 : 0;
  c.AutoTileSet = CheckBoxAutoSkin->isChecked() ? 1 : 0;
  c.HighlightElements = CheckBoxElem->isChecked() ? 1 : 0;
  c.ShowInvalid = CheckBoxInvalid->isChecked() ? 1 : 0;
  ApplyLogSwitch();
  ApplyPlayer(Utf8ToCp1252(typed));
  return true;
}

void TFormOptions::ApplyLogSwitch() {
  TConfig& c = App().Config;
  const bool on = CheckBoxLog->isChecked();
  if (on == (c.WriteLog != 0)) return;
  if (on) {
    c.WriteLog = 1;
    LogFramed("Log File Enabled.");
  } else {
    LogLine("Log File Disabled.", true);
    // Lines that cannot be written now never will be: they go with the switch.
    if (!WriteLogOf(c.PlayerName.Str())) ResetLogBuffer();
    c.WriteLog = 0;
  }
}

void TFormOptions::ApplyPlayer(const std::string& name) {
  TConfig& c = App().Config;
  const std::string old = c.PlayerName.Str();
  const std::vector<std::string> players = ListPlayers();
  const bool listed = std::find(players.begin(), players.end(), name) != players.end();
  if (listed && name == old) return;

  LogLine("Player changed to '" + name + "'", true);
  // The old player's lines never reach the new player's file, even when they
  // cannot be written to the old one.
  if (!WriteLogOf(old)) ResetLogBuffer();
  if (listed) {
    LogFramed("Player selected.");
    c.PlayerName.Assign(name);
    return;
  }
  // A new player's file is made at once, with its header, even with logging off.
  const std::uint8_t writeLog = c.WriteLog;
  c.WriteLog = 1;
  c.PlayerName.Assign(name);
  WriteLogOf(name);
  c.WriteLog = writeLog;
}

void TFormOptions::done(int result) {
  if (!FormCloseQuery()) return;
  TSkinnedDialog::done(result);
}

bool TFormOptions::FormKeyPress(const QKeyEvent* event) {
  if (!IsDialogCloseKey(event->key())) return false;
  done(Accepted);
  return true;
}

void TFormOptions::keyPressEvent(QKeyEvent* event) {
  if (FormKeyPress(event)) {
    event->accept();
    return;
  }
  TSkinnedDialog::keyPressEvent(event);
}

bool TFormOptions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isVisible() && FormKeyPress(static_cast<QKeyEvent*>(event))) return true;
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
