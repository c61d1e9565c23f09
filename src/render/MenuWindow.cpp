#include "render/MenuWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWheelEvent>
#include <algorithm>

#include "media/Effects.h"
#include "render/Skin.h"

namespace pav {

namespace {

constexpr int SideMargin = 12;  // panel edge to the buttons and to the key labels
constexpr int KeyGap = 10;      // button to its key label
constexpr int KeyWidth = 26;
constexpr int MaxButtonHeight = 26;
constexpr int ButtonGap = 3;

TMenuDialog* Menus[2] = {nullptr, nullptr};

TMenuDialog*& MenuSlot(TMenuKind kind) { return Menus[kind == TMenuKind::Cfg ? 0 : 1]; }

void ReturnFocusToMain() {
  QWidget* main = MainWindow();
  if (main == nullptr || !main->isVisible()) return;
  main->activateWindow();
  main->setFocus(Qt::OtherFocusReason);
}

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock: return true;
    default: return false;
  }
}

}  // namespace

void ShowMenuOfKind(TMenuKind kind) {
  if (TMenuDialog* menu = MenuSlot(kind)) menu->ShowMenu();
}

TMenuDialog::TMenuDialog(QWidget* parent, TMenuKind kind, const std::string& title, std::vector<TMenuEntry> entries,
                         TMenuKind other, int otherMenuKey)
    : TSkinnedDialog(parent, title, 4, 4),
      Entries(std::move(entries)),
      Kind(kind),
      OtherMenu(other),
      OtherMenuKey(otherMenuKey) {
  MenuSlot(Kind) = this;
  RightClickCloses = true;
  for (int i = 0; i < EntryCount(); ++i) {
    const TMenuEntry& entry = Entries[static_cast<std::size_t>(i)];
    auto* button = new TMenuButton(entry.Caption, entry.Icon, Panel());
    button->setObjectName(QStringLiteral("Button") + entry.Name);
    // The click is heard on the press; the choice is made on the release over the button.
    connect(button, &QPushButton::pressed, this, [] { PlayEffect(TEffect::Click); });
    connect(button, &QPushButton::clicked, this, [this, i] { ChooseEntry(i); });
    auto* label = new QLabel(entry.KeyText, Panel());
    label->setObjectName(QStringLiteral("Label") + entry.KeyText);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    for (QWidget* control : {static_cast<QWidget*>(button), static_cast<QWidget*>(label)}) {
      control->setMouseTracking(true);
      control->installEventFilter(this);
    }
    Buttons.push_back(button);
    KeyLabels.push_back(label);
  }
  Panel()->installEventFilter(this);
  Arrange();
}

TMenuDialog::~TMenuDialog() {
  if (MenuSlot(Kind) == this) MenuSlot(Kind) = nullptr;
}

void TMenuDialog::Arrange() {
  const int panelWidth = Panel()->width();
  const int panelHeight = Panel()->height();
  const int count = std::max(1, EntryCount());
  // As high as the panel allows, the column in the middle.
  const int buttonHeight = std::min(MaxButtonHeight, (panelHeight - 8 - (count - 1) * ButtonGap) / count);
  const int columnHeight = count * buttonHeight + (count - 1) * ButtonGap;
  const int top = (panelHeight - columnHeight) / 2;
  const int buttonWidth = panelWidth - 2 * SideMargin - KeyGap - KeyWidth;
  for (int i = 0; i < EntryCount(); ++i) {
    const int y = top + i * (buttonHeight + ButtonGap);
    Buttons[static_cast<std::size_t>(i)]->setGeometry(SideMargin, y, buttonWidth, buttonHeight);
    KeyLabels[static_cast<std::size_t>(i)]->setGeometry(SideMargin + buttonWidth + KeyGap, y, KeyWidth,
                                                        buttonHeight);
  }
}

bool TMenuDialog::EntryAvailable(int) const { return true; }

void TMenuDialog::ShowMenu() {
  const bool wasShown = isVisible();
  show();
  // Brought forward when it was up behind another window already.
  if (wasShown) raise();
  activateWindow();
  FormActivate();
}

void TMenuDialog::ChooseEntry(int index) {
  if (index < 0 || index >= EntryCount() || !EntryAvailable(index)) return;
  hide();
  FlushPaints();
  OpenWindowTarget(Entry(index).Target);
  // A role without a window leaves the keyboard where it was before the menu.
  if (QApplication::activeModalWidget() == nullptr && !isVisible()) ReturnFocusToMain();
}

void TMenuDialog::done(int result) {
  const bool wasShown = isVisible();
  TSkinnedDialog::done(result);
  if (wasShown) ReturnFocusToMain();
}

void TMenuDialog::FormShow() {
  FormActivate();
  for (TMenuButton* button : Buttons)
    if (button->isEnabled()) {
      button->setFocus();
      break;
    }
}

void TMenuDialog::FormActivate() {
  for (int i = 0; i < EntryCount(); ++i) {
    const bool available = EntryAvailable(i);
    Buttons[static_cast<std::size_t>(i)]->setEnabled(available);
    KeyLabels[static_cast<std::size_t>(i)]->setEnabled(available);
  }
}

bool TMenuDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  // Tab too is a key of the menu, not a step between its buttons.
  if (event->type() == QEvent::KeyPress) {
    FormKeyDown(static_cast<QKeyEvent*>(event));
    event->accept();
    return true;
  }
  return TSkinnedDialog::event(event);
}

bool TMenuDialog::FormKeyDown(const QKeyEvent* event) {
  const int key = event->key();
  if (IsModifierKey(key)) return false;
  if (key == OtherMenuKey) {
    hide();
    ShowMenuOfKind(OtherMenu);
    return true;
  }
  for (int i = 0; i < EntryCount(); ++i)
    if (Entry(i).Key == key) {
      // An unavailable entry's key does nothing at all; the menu stays.
      FormActivate();
      ChooseEntry(i);
      return true;
    }
  close();
  return true;
}

void TMenuDialog::wheelEvent(QWheelEvent* event) {
  event->accept();
  close();
}

bool TMenuDialog::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (isVisible()) {
        FormKeyDown(static_cast<QKeyEvent*>(event));
        return true;
      }
      break;
    case QEvent::Wheel:
      // A turn over any control of the menu closes it as one over its skin.
      event->accept();
      close();
      return true;
    case QEvent::MouseMove:
      if (watched != Panel()) RestoreNormalPointer();
      break;
    default: break;
  }
  return TSkinnedDialog::eventFilter(watched, event);
}

}  // namespace pav
