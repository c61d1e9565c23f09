// The end of a campaign: "Completed !" with the gauge full, or "Not Completed" with
// the progress before the lost level, and the campaign's total time and moves.
// Closing it shows the campaign's first level again.
#pragma once

#include "render/Skinning.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pav {

class TFormResultCamp : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormResultCamp(QWidget* parent = nullptr);
  ~TFormResultCamp() override;

  QLabel* LabelCampaign;
  QLabel* LabelTurn;
  QProgressBar* Gauge;
  QLabel* LabelTT;
  QLabel* LabelTM;
  QPushButton* ButtonOK;

 public slots:
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  QWidget* Totals;
};

// The one campaign result window, once it is created.
TFormResultCamp* FormResultCamp();

}  // namespace pav
