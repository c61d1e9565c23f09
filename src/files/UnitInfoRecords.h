// The records-obtained window: tells the player which positions a finished game
// obtained and leads on to the lists.
#pragma once

#include "render/Skinning.h"

class QKeyEvent;
class QLabel;
class QPushButton;

namespace pav {

// Caption "Records Information", title "RECORD(S) OBTAINED".
class TFormInfoRecords : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormInfoRecords(QWidget* parent = nullptr);
  ~TFormInfoRecords() override;

  // "See &Records ..": the lists of the game just finished open beside this window,
  // to its left; when they are closed, this window closes too.
  void Button1Click();

  QLabel* LabelInfo;  // the message, set by whoever opens the window
  QPushButton* ButtonOK;
  QPushButton* Button1;

 protected:
  void FormShow() override;
  void PlaceOnShow() override;
  void keyPressEvent(QKeyEvent* e) override;
};

// The game's one records-obtained window, once it has been created.
TFormInfoRecords* FormInfoRecords();

}  // namespace pav
