// The window before each level of a campaign: which level comes of how many, the
// progress gauge, the level's objective and initial position side by side with its
// limits. Showing it loads the level; closing it starts the level. Under cheats,
// Ctrl+N skips to the next level.
#pragma once

#include "render/StartWindow.h"

class QProgressBar;

namespace pav {

class TFormInfoCamp : public TStartWindow {
  Q_OBJECT
 public:
  explicit TFormInfoCamp(QWidget* parent = nullptr);
  ~TFormInfoCamp() override;

  QLabel* LabelCampaign;
  QLabel* LabelTurn;
  QProgressBar* Gauge;
  TLimitLabels Limits;
  QLabel* LabelTL;
  QLabel* LabelML;

 protected:
  bool PrepareGame() override;
  void ShowPrepared() override;
  void BeginGame() override;
  void Refused() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  void Arrange();
};

// The one campaign level window, once it is created.
TFormInfoCamp* FormInfoCamp();

}  // namespace pav
