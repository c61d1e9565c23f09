// The start window of each turn of a game against the computer: scrambles the
// position of the player whose turn it is when it is shown, shows it beside the
// objective with the computer's settings, the first player's figures and whose
// turn it is, and starts the turn when it closes.
#pragma once

#include "render/StartWindow.h"

class QWidget;

namespace pav {

class TFormInfoBot : public TStartWindow {
  Q_OBJECT
 public:
  explicit TFormInfoBot(QWidget* parent = nullptr);
  ~TFormInfoBot() override;

  QLabel* LabelSpeedText;
  QLabel* LabelSpeed;
  QLabel* LabelAccuracyText;
  QLabel* LabelAccuracy;
  QLabel* LabelOppTimeText;
  QLabel* LabelOppTime;
  QLabel* LabelOppMovesText;
  QLabel* LabelOppMoves;
  QLabel* LabelTurn;

 protected:
  bool PrepareGame() override;
  void ShowPrepared() override;
  void BeginGame() override;

 private:
  void Arrange();

  QWidget* Figures;  // the settings and the opponent's figures, in two columns
};

// The one start window of the turns against the computer, once it is created.
TFormInfoBot* FormInfoBot();

}  // namespace pav
