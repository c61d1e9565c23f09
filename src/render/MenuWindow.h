// What the configuration and the information menus share: a column of picture
// buttons with the function key written beside each, shown beside the board while
// the main window stays usable (not modally).
//
// Choosing an entry, by its button or its key, hides the menu, lets the main window
// repaint, then opens the entry's window through its role (render/WindowTargets.h).
// The other menu's key goes over to the other menu. Any other key, a wheel turn and
// a right-button press on the skin close the menu.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "render/MenuButtons.h"
#include "render/Skinning.h"
#include "render/WindowTargets.h"

class QLabel;

namespace pav {

// The two menus, each of which goes over to the other.
enum class TMenuKind { Cfg, Info };

struct TMenuEntry {
  QString Caption;  // the button's text, spaces included
  TMenuIcon Icon;
  int Key;          // Qt::Key_F2 ...
  QString KeyText;  // "F2" ...
  TWindowTarget Target;
  QString Name;     // "Game": ButtonGame and LabelF2
};

class TMenuDialog : public TSkinnedDialog {
  Q_OBJECT
 public:
  // `otherMenuKey` hides this menu and shows the `other` one.
  TMenuDialog(QWidget* parent, TMenuKind kind, const std::string& title, std::vector<TMenuEntry> entries,
              TMenuKind other, int otherMenuKey);
  ~TMenuDialog() override;

  int EntryCount() const { return static_cast<int>(Entries.size()); }
  const TMenuEntry& Entry(int index) const { return Entries.at(static_cast<std::size_t>(index)); }
  TMenuButton* EntryButton(int index) const { return Buttons.at(static_cast<std::size_t>(index)); }
  QLabel* EntryKeyLabel(int index) const { return KeyLabels.at(static_cast<std::size_t>(index)); }

  // Shows the menu, not modally, in front and with the keyboard.
  void ShowMenu();
  // Hides the menu, flushes the repaints, then opens the entry's window; nothing
  // while the entry is unavailable.
  void ChooseEntry(int index);

 public slots:
  // Closing without a choice gives the keyboard back to the main window.
  void done(int result) override;

 protected:
  // Whether the entry can be chosen now; the others are always available.
  virtual bool EntryAvailable(int index) const;

  void FormShow() override;
  bool event(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // The menu's keys come first, whichever button has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Buttons and key labels follow the availability of their entries.
  void FormActivate();
  // False for a modifier pressed alone, which is no choice.
  bool FormKeyDown(const QKeyEvent* event);
  void Arrange();

  std::vector<TMenuEntry> Entries;
  std::vector<TMenuButton*> Buttons;
  std::vector<QLabel*> KeyLabels;
  TMenuKind Kind;
  TMenuKind OtherMenu;
  int OtherMenuKey;
};

// Shows the menu of that kind, not modally, when it exists.
void ShowMenuOfKind(TMenuKind kind);

}  // namespace pav
