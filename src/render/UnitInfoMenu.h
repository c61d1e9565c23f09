// The information menu: help, shortcut list, records and about, with the keys F1
// and F7 to F9; F11 goes over to the configuration menu.
#pragma once

#include "render/MenuWindow.h"

namespace pav {

class TFormInfoMenu : public TMenuDialog {
  Q_OBJECT
 public:
  explicit TFormInfoMenu(QWidget* parent = nullptr);
  ~TFormInfoMenu() override;

  TMenuButton* ButtonHelp;
  TMenuButton* ButtonShortCuts;
  TMenuButton* ButtonRecords;
  TMenuButton* ButtonAbout;
  QLabel* LabelF1;
  QLabel* LabelF7;
  QLabel* LabelF8;
  QLabel* LabelF9;
};

// The one information menu, once it is created.
TFormInfoMenu* FormInfoMenu();
// Shows it, not modally (side panel's information button, F12).
void ShowInfoMenu();

}  // namespace pav
