// The top-10 lists of games against the computer: the board's table for the
// configured computer speed and accuracy, best differences first.
#pragma once

#include "files/UnitRecords.h"

namespace pav {

// "Slow", "Medium", "Fast" for speeds 0..2 and "Poor", "Medium", "High" for
// accuracies 0..2; an empty text for anything else.
QString ComputerSpeedText(int speed);
QString ComputerAccuracyText(int accuracy);

// Caption "Records", title "TOP 10 SCORES".
class TFormRecordsBot : public TRecordListWindow {
  Q_OBJECT
 public:
  explicit TFormRecordsBot(QWidget* parent = nullptr);
  ~TFormRecordsBot() override;

  QLabel* LabelSpeedHead;     // "Computer Speed : "
  QLabel* LabelSpeed;
  QLabel* LabelAccuracyHead;  // "Computer Accuracy : "
  QLabel* LabelAccuracy;

 protected:
  const TRecordTable& ChooseTable() override;
  // A difference of 0 or less never enters a list: 0 marks an empty position.
  std::int32_t EmptyValue() const override { return 0; }
};

// The game's one records window of games against the computer, once it has been created.
TFormRecordsBot* FormRecordsBot();

}  // namespace pav
