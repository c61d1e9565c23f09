// The single game's start window: prepares the game when it is shown (objective,
// initial position, limits), shows both positions side by side with the limits
// under them, and starts the game when it closes.
#pragma once

#include "render/StartWindow.h"

namespace pav {

class TFormInfoSingle : public TStartWindow {
  Q_OBJECT
 public:
  explicit TFormInfoSingle(QWidget* parent = nullptr);
  ~TFormInfoSingle() override;

  TLimitLabels Limits;
  QLabel* LabelTimeLimit;
  QLabel* LabelTimeValue;
  QLabel* LabelMovesLimit;
  QLabel* LabelMovesValue;

 protected:
  bool PrepareGame() override;
  void ShowPrepared() override;
  void BeginGame() override;

 private:
  // Window size from the previews and texts, every control placed on the panel.
  void Arrange();

  bool OPFromPuzzle = false;
  bool IPFromPuzzle = false;
};

// The one single game start window, once it is created.
TFormInfoSingle* FormInfoSingle();

}  // namespace pav
