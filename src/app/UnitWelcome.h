// The welcome window: asks for the player's name the first time the game runs.
#pragma once

#include <string>

#include "render/Skinning.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace pav {

class TFormWelcome : public TSkinnedDialog {
  Q_OBJECT
 public:
  static constexpr int MaxNameLength = 12;

  explicit TFormWelcome(QWidget* parent = nullptr);
  ~TFormWelcome() override;

  // Checks the typed name; on success it becomes the player, the log is written to
  // the player's file and the window will not come back. False keeps the window open.
  bool FormCloseQuery();
  void ButtonPlayClick();

  QLineEdit* EditName;
  QPushButton* ButtonPlay;
  QLabel* LabelWelcome;
  QLabel* LabelPrompt;

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public slots:
  void done(int result) override;
};

// The one welcome window, once it is created.
TFormWelcome* FormWelcome();

// Why a name typed in the window (UTF-8) is refused ("" when it is accepted): the
// game's own messages, or the message naming what keeps it from being a file name.
std::string WelcomeNameMessage(const std::string& typed);

}  // namespace pav
