// The shortcut list: every key of the main window with what it does, in three
// columns. "&OK", Enter and Esc close it.
#pragma once

#include <vector>

#include "render/Skinning.h"

class QLabel;
class QPushButton;

namespace pav {

struct TShortCut {
  const char* Key;
  const char* Text;
  int Column;  // 0, 1 or 2
};

// The keys in the order the list shows them, column by column.
const std::vector<TShortCut>& ShortCutList();

class TFormShortCut : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormShortCut(QWidget* parent = nullptr);
  ~TFormShortCut() override;

  void ButtonOKClick();

  // One key label and one description label per entry of ShortCutList(), in its order.
  std::vector<QLabel*> LabelKeys;
  std::vector<QLabel*> LabelTexts;
  QPushButton* ButtonOK;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The columns side by side, the button under the short last column; the font
  // shrinks a little where the desktop's font would not fit the panel.
  void Arrange();
};

// The one shortcut list, once it is created.
TFormShortCut* FormShortCut();

}  // namespace pav
