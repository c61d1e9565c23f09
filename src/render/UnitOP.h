// The objective window: the objective pattern drawn small on the board, with the
// limits of the game below it. Always on top; Space or a right click closes it.
#pragma once

#include <string>

#include "render/Skinning.h"

class QLabel;

namespace pav {

// The limits line of the objective window for the current game:
// "Limits : None", "Limit : 40 M", "Limit : 50 S" or "Limits :" + line break + "40 M or 50 S".
// Against the computer the limits are the opponent's moves and time, each counted only
// while the configuration uses it, joined by " M and " when both must be reached.
std::string ObjectiveLimitsText();

class TFormOP : public TSkinnedDialog {
  Q_OBJECT
 public:
  explicit TFormOP(QWidget* parent = nullptr);
  ~TFormOP() override;

  // The objective at scale 4, centred in the panel's area above the limits line.
  // Whoever changes the objective calls this (game start, graphics or picture change).
  void DrawObjective(const TPattern& pattern, const TBoard& board);

  QLabel* ImagePreview;
  QLabel* LabelInfo;

 protected:
  void FormShow() override;
  void PlaceOnShow() override;
  void keyPressEvent(QKeyEvent*) override;
  void wheelEvent(QWheelEvent*) override;

 private:
  // Window size from the preview, the preview and the limits line on the panel.
  void Arrange();
};

// The game's one objective window, once it has been created.
TFormOP* FormOP();

}  // namespace pav
