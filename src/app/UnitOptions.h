// The general options window: the player and the five switches of the game
// (the log, the board's tile set, the wheel, the flow elements, the invalidations).
#pragma once

#include <string>
#include <vector>

#include "render/Skinning.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace pav {

class TFormOptions : public TSkinnedDialog {
  Q_OBJECT
 public:
  static constexpr int MaxNameLength = 12;
  // Longer file names in "Players" are not offered as players.
  static constexpr int MaxListedNameLength = 50;

  // Writes the first log lines of the run.
  explicit TFormOptions(QWidget* parent = nullptr);
  ~TFormOptions() override;

  // Checks the typed name; when it is acceptable, stores the switches, writes the
  // log switch and the player change with their log lines, and returns true.
  // False (with a message) keeps the window open with the typed text.
  bool FormCloseQuery();
  void ButtonOKClick();

  QLabel* LabelPlayer;
  QComboBox* ComboBoxPlayer;
  QCheckBox* CheckBoxLog;
  QCheckBox* CheckBoxAutoSkin;
  QCheckBox* CheckBoxWheel;
  QCheckBox* CheckBoxElem;
  QCheckBox* CheckBoxInvalid;
  QPushButton* ButtonOK;

 public slots:
  // Every way of closing the window goes through the close query.
  void done(int result) override;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
  // Enter and Esc close the window whichever control has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The controls from Config and the player list from "Players".
  void FormActivate();
  // Enter, Return and Esc: swallowed, and the window closes.
  bool FormKeyPress(const QKeyEvent* event);
  // The switch of the log, with its lines, when the box differs from Config.
  void ApplyLogSwitch();
  // A new, another listed or the same player, with the lines of the change.
  void ApplyPlayer(const std::string& name);
};

// The one general options window, once it is created.
TFormOptions* FormOptions();

// The players (8-bit names): the files "\Players\*.TXT" without their extension,
// sorted, leaving out names beginning with "." and names longer than 50 characters,
// and names that the game's 8-bit strings cannot hold.
std::vector<std::string> ListPlayers();

// Why a name typed in the window (UTF-8) is refused ("" when it is accepted).
std::string OptionsNameMessage(const std::string& typed);

}  // namespace pav
