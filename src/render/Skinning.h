// Dialogs dressed in the board's skin, their placement and dragging, and the
// scaled-down previews of a board with a pattern.
#pragma once

#include <QColor>
#include <QCursor>
#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QPalette>
#include <QPoint>
#include <string>

#include "engine/Pattern.h"
#include "files/Records.h"

class QLabel;
class QPushButton;

namespace pav {

// The application's main window, registered by the main window when it is created.
// Dialogs are placed relative to it and give the keyboard focus back to it.
void SetMainWindow(QWidget* window);
QWidget* MainWindow();

// The move pointer shape (`ColoMove`) that the skin of every dialog carries. The start-up
// code registers the game's own shape; until then it is the platform's four-way arrow.
void SetMoveCursor(const QCursor& cursor);
QCursor MoveCursor();
// Drops every application-wide override pointer shape, so each area shows its own again.
void RestoreNormalPointer();

// Frame, title row and centred title on `image`, which is already sized to the dialog
// (a whole number of 48-pixel cells each way). The inside of the frame is not painted.
void SkinWindow(QImage& image, const std::string& title);
// The dialog's right edge 24 pixels left of the board's right edge, 24 below the main window's top.
void PlaceDialog(QWidget* dialog);
// Enter, Return and Esc: the keys that close a game dialog whatever has the focus.
bool IsDialogCloseKey(int key);
// A button pressed only by itself: Enter and Esc belong to its window, not to the
// button that has the focus (no default or auto-default button).
void MakeOwnKeyButton(QPushButton* button);
// A button of a dialog's panel, named `name`, pressed only by itself.
QPushButton* MakeDialogButton(QWidget* parent, const char* name, const char* text);

// Handles every pending repaint of the application's windows before returning.
// A quit request met on the way is posted again and ends the flush.
void FlushPaints();

// Draws `board` with `pattern` shrunk by `scale` into the label `target` and centres
// the label in an area of areaWidth x areaHeight at (offsetLeft, offsetTop).
// App()'s Game.Board, Game.Current and SidePanelShown are left exactly as they were.
void DrawPreview(QLabel* target, int offsetLeft, int offsetTop, int scale, const TPattern& pattern,
                 const TBoard& board, int areaHeight, int areaWidth);
// The picture DrawPreview shows, before scaling (Width*48 x Height*48): the board drawn
// whole, its frame closed at the bottom, status bar and side panel cut off.
QImage PreviewPicture(const TPattern& pattern, const TBoard& board);

// The colour of the dialogs' panels, taken from the current skin: the floor's mean
// colour lifted towards white, so that dark and coloured texts read well on it.
QColor PanelColour();
// The colours of every dialog's controls, from the same skin: the panel's face, fields a
// lighter tint of it, buttons a deeper one, selections a dark tone of the skin's hue.
QPalette DialogPalette();

// The lowered panel every dialog puts its controls on. It takes the pointer events of
// its controls, so pressing them never drags the dialog, and a pointer move over it
// restores the normal pointer.
class TSkinPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TSkinPanel(QWidget* parent);
  // Takes its colours from the current skin.
  void Recolour();

 protected:
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
};

// Base of every dialog: borderless, a whole number of cells, the skinned
// background with its title row, a lowered panel inside the frame, dragged by
// its skin. Subclasses put their controls on Panel().
//
// On every show: FlushPaints, FormShow (the subclass's own preparation), the skin
// with the title, PlaceOnShow (PlaceDialog unless overridden), FlushPaints.
// On every hide: FlushPaints.
class TSkinnedDialog : public QDialog {
  Q_OBJECT
 public:
  TSkinnedDialog(QWidget* parent, const std::string& title, int cols, int rows);
  QWidget* Panel() const { return PanelWidget; }
  const std::string& Title() const { return TitleText; }
  // The title drawn in the title row, in capitals as given; re-dresses the window.
  void SetTitle(const std::string& title);
  // Client area cols*48 x rows*48; the panel follows (16 narrower, 64 lower).
  void SetCells(int cols, int rows);
  int Cols() const { return width() / 48; }
  int Rows() const { return height() / 48; }
  // Re-dress after a graphics change.
  void Reskin();
  // The dressed background (the whole client area).
  const QImage& Background() const { return BackgroundImage; }
  bool IsDragging() const { return Dragging; }
  // A right-button press on the skin closes the configuration menu and the objective window only.
  bool RightClickCloses = false;

 protected:
  // The subclass's show handler, run before the skin is drawn.
  virtual void FormShow() {}
  // Where the window goes on every show.
  virtual void PlaceOnShow();

  void showEvent(QShowEvent*) override;
  void hideEvent(QHideEvent*) override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  std::string TitleText;
  QImage BackgroundImage;
  TSkinPanel* PanelWidget;
  bool Dragging = false;
  QPoint DragAnchor;
  QPoint WindowAnchor;
};

}  // namespace pav
