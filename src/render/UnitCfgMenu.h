// The configuration menu: game, options, graphics, sounds and music, with the keys
// F2 to F6; F12 goes over to the information menu. The game configuration cannot
// be chosen while a game runs.
#pragma once

#include "render/MenuWindow.h"

namespace pav {

class TFormCfgMenu : public TMenuDialog {
  Q_OBJECT
 public:
  explicit TFormCfgMenu(QWidget* parent = nullptr);
  ~TFormCfgMenu() override;

  TMenuButton* ButtonGame;
  TMenuButton* ButtonOptions;
  TMenuButton* ButtonGraphics;
  TMenuButton* ButtonSounds;
  TMenuButton* ButtonMusic;
  QLabel* LabelF2;
  QLabel* LabelF3;
  QLabel* LabelF4;
  QLabel* LabelF5;
  QLabel* LabelF6;

 protected:
  bool EntryAvailable(int index) const override;
};

// The one configuration menu, once it is created.
TFormCfgMenu* FormCfgMenu();
// Shows it, not modally (side panel's configuration button, F11).
void ShowCfgMenu();

}  // namespace pav
