// What the start windows of a game have in common: the game is prepared when the
// window is shown, the objective and the initial position are shown side by side,
// and every way of closing the window (its button, Enter, Esc) begins the game.
// When the game cannot be prepared (a board that cannot be scrambled) the window
// closes unseen, says why, and nothing begins.
#pragma once

#include <cstdint>

#include "render/Skinning.h"

class QLabel;
class QPushButton;

namespace pav {

// The two limits a start window shows under its previews: the captions right-aligned
// one above the other, the values beside them in maroon, or "None".
struct TLimitLabels {
  // The labels' names: the time caption, the time value, the moves caption, the moves value.
  TLimitLabels(QWidget* panel, const char* timeCaption, const char* timeValue, const char* movesCaption,
               const char* movesValue);
  void Show(std::int32_t timeLimit, std::int32_t movesLimit);
  QSize Size() const;
  // Centred in a panel `panelWidth` wide, at `top`.
  void Place(int panelWidth, int top);

  QLabel* TimeCaption;
  QLabel* TimeValue;
  QLabel* MovesCaption;
  QLabel* MovesValue;
};

class TStartWindow : public TSkinnedDialog {
  Q_OBJECT
 public:
  TStartWindow(QWidget* parent, const std::string& title, int minCols, int minRows);

  void ButtonPlayClick();

  // Whether the last showing began the game.
  bool Started = false;

  QLabel* LabelOP;
  QLabel* LabelIP;
  QLabel* ImageOP;
  QLabel* ImageIP;
  QPushButton* ButtonPlay;

 public slots:
  void done(int result) override;

 protected:
  static constexpr int PreviewScale = 8;
  static constexpr int SideMargin = 12;  // panel edge to the widest row
  static constexpr int EndMargin = 10;   // panel edge to the first and the last row
  static constexpr int SectionGap = 12;  // between the previews, the texts below and the button
  static constexpr int LineGap = 2;      // between two lines of texts
  static constexpr int MinButtonWidth = 96;

  // Prepares the game; false when it cannot be.
  virtual bool PrepareGame() = 0;
  // The game could not be prepared and the window has closed: by default the message
  // of a board that cannot be scrambled.
  virtual void Refused();
  // Fills and arranges the window for the prepared game.
  virtual void ShowPrepared() = 0;
  // The window closed on a prepared game.
  virtual void BeginGame() = 0;

  // The two captions over their previews, side by side.
  int PreviewsWidth() const;
  int PreviewsHeight() const;
  // Places captions and previews (of Game.OP and Game.Current) centred at `top` of
  // a panel `panelWidth` wide.
  void PlacePreviews(int panelWidth, int top);
  // Sets the window's cells from the panel size its content needs.
  void FitCells(int panelWidthNeeded, int panelHeightNeeded);
  QSize ButtonSize() const;

  void FormShow() override;
  // Prepares and fills the window again while it is shown (another game to start).
  void Refill();
  void showEvent(QShowEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  void CloseRefused();

  int LeastCols, LeastRows;  // the window never gets smaller
  bool Prepared = false;        // shown with a game ready to begin
  bool Unprepared = false;      // shown with no game to begin
};

}  // namespace pav
