// The results of a game against the computer: both scores, the winner of each list
// (the player in maroon, the computer in navy, or "TIE"), and the difference.
#pragma once

#include "render/Skinning.h"

class QLabel;
class QPushButton;

namespace pav {

class TFormResultBot : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormResultBot(QWidget* parent = nullptr);
  ~TFormResultBot() override;

  QLabel* LabelHumanTime;
  QLabel* LabelHumanMoves;
  QLabel* LabelComputerTime;
  QLabel* LabelComputerMoves;
  QLabel* LabelTimeWinner;
  QLabel* LabelMovesWinner;
  QLabel* LabelDifference;
  QPushButton* ButtonOK;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  QWidget* Table;
};

// The one results window, once it is created.
TFormResultBot* FormResultBot();

}  // namespace pav
