// Dialogs dressed in the board's skin, their placement and dragging, and the
// scaled-down previews of a board with a pattern.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <string>

#include "engine/Pattern.h"
#include "files/Records.h"

class QLabel;

namespace pav {

// Frame, title row and centred title on `image` (already sized to the dialog).
void SkinWindow(QImage& image, const std::string& title);
// The dialog's right edge 24 pixels left of the board's right edge, 24 below the main window's top.
void PlaceDialog(QWidget* dialog);
// Handles every pending repaint before returning.
void FlushPaints();

// Draws `board` with `pattern` shrunk by `scale` into the label `target` and centres
// the label in an area of areaWidth x areaHeight at (offsetLeft, offsetTop).
// App()'s game data and SidePanelShown are left exactly as they were.
void DrawPreview(QLabel* target, int offsetLeft, int offsetTop, int scale, const TPattern& pattern,
                 const TBoard& board, int areaHeight, int areaWidth);
// The picture DrawPreview shows, before scaling (Width*48 x Height*48).
QImage PreviewPicture(const TPattern& pattern, const TBoard& board);

// Base of every dialog: borderless, a whole number of cells, the skinned
// background with its title row, a lowered panel inside the frame, dragged by
// its skin. Subclasses put their controls on Panel().
class TSkinnedDialog : public QDialog {
  Q_OBJECT
 public:
  TSkinnedDialog(QWidget* parent, const std::string& title, int cols, int rows);
  QWidget* Panel() const { return PanelWidget; }
  void SetTitle(const std::string& title);
  void SetCells(int cols, int rows);
  // Re-dress after a graphics change.
  void Reskin();
  // A right-button press on the skin closes the configuration menu and the objective window only.
  bool RightClickCloses = false;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  std::string Title;
  QImage Background;
  QWidget* PanelWidget;
  bool Dragging = false;
  QPoint DragAnchor;
  QPoint WindowAnchor;
};

}  // namespace pav
