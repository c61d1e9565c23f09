// The top-10 lists of the records. TRecordListWindow is what the two list windows
// share: an information block, two pages of ten rows (position, name, value) and
// the OK button. TFormRecords shows the lists of the current single game or campaign.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "files/Records.h"
#include "render/Skinning.h"

class QGridLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTabWidget;

namespace pav {

// What a list shows for a value: empty for the table's empty value, else the number
// followed by the unit (" S" or " M").
QString RecordValueText(std::int32_t value, std::int32_t emptyValue, const char* unit);

class TRecordListWindow : public TSkinnedDialog {
  Q_OBJECT
 public:
  // Chooses the table from the configuration and shows it; the OK button gets the
  // keyboard focus. Runs on every show and every activation of the window.
  void FormActivate();
  // Shows the lists modally to the left of a window that is up (the records-obtained
  // window), its top beside that window's top.
  void ExecBeside(const QWidget* window);

  QLabel* LabelInfo;
  QLabel* LabelFile;
  QTabWidget* PageControl;
  QWidget* TabSheetTime;
  QWidget* TabSheetMoves;
  QLabel* LabelPosT;
  QLabel* LabelNameT;
  QLabel* LabelTime;
  QLabel* LabelPosM;
  QLabel* LabelNameM;
  QLabel* LabelMoves;
  // Rows 1..10 at indices 0..9.
  std::array<QLabel*, RecordPositions> TimeNameLabels{};
  std::array<QLabel*, RecordPositions> TimeValueLabels{};
  std::array<QLabel*, RecordPositions> MoveNameLabels{};
  std::array<QLabel*, RecordPositions> MoveValueLabels{};
  QPushButton* ButtonOK;

 protected:
  TRecordListWindow(QWidget* parent, int cols, int rows, const QString& timeTab, const QString& timeHead,
                    const QString& movesTab, const QString& movesHead);

  // The table to show and its empty value; sets the information labels on the way.
  virtual const TRecordTable& ChooseTable() = 0;
  virtual std::int32_t EmptyValue() const = 0;

  // The grid of the information block above the pages: LabelInfo and LabelFile on
  // its first row; a window may add rows of its own below.
  QGridLayout* InfoGrid;

  void FormShow() override;
  // Beside the window it was shown beside, to its left, while that window is up;
  // otherwise where every dialog goes.
  void PlaceOnShow() override;
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Fill(const TRecordTable& table, std::int32_t emptyValue);

  const QWidget* Beside = nullptr;
};

// Caption "Records", title "TOP 10 SCORES": the campaign's lists in a campaign,
// else the puzzle's when the initial pattern comes from it, else the board's.
class TFormRecords : public TRecordListWindow {
  Q_OBJECT
 public:
  explicit TFormRecords(QWidget* parent = nullptr);
  ~TFormRecords() override;

 protected:
  const TRecordTable& ChooseTable() override;
  std::int32_t EmptyValue() const override { return EmptyRecord; }
};

// The game's one records window, once it has been created.
TFormRecords* FormRecords();

}  // namespace pav
