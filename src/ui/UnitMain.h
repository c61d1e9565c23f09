// The main window: borderless, its whole client area the main picture that the
// renderer paints. Its creation runs the game's start-up; closing it runs the exit.
// Everything the pointer does on it is decided by hit-testing against the board.
#pragma once

#include <QWidget>
#include <cstdint>

class QTimer;

namespace pav {

// ---- Hit areas of the main picture (W = the board's width in cells) ----------

// The side-panel column: W*48 < x < (W+1)*48 and 0 < y < 192.
bool InSidePanelColumn(int boardWidth, int x, int y);
// The button cell under y in that column, 1..4.
int SidePanelCell(int y);
// The command of the top cell under (x, y): 1 minimise (upper left), 2 close (upper
// right), 3 show / hide the side panel (lower part); 0 outside it and on its middle
// lines x = (W+1)*48 - 24 (upper part) and y = 24.
int TopCellCommand(int boardWidth, int x, int y);
// The tile zone: 24 < x < W*48 - 24 and 24 < y < H*48 - 24.
bool InTileZone(int boardWidth, int boardHeight, int x, int y);

// The main window's size for a board: (W + 1 if the side panel is shown) * 48 by (H + 1) * 48.
QSize MainWindowSize(int boardWidth, int boardHeight, bool sidePanelShown);

class TFormMain : public QWidget {
  Q_OBJECT
 public:
  static constexpr int ButtonsOffMilliseconds = 500;

  // Runs FormCreate unless told not to (tests drive the window without an installation).
  explicit TFormMain(bool runFormCreate = true, QWidget* parent = nullptr);
  ~TFormMain() override;

  // The start-up; when it fails the program is to end (TerminationRequested()).
  void FormCreate();
  // Shows the welcome window while Config.ShowWelcome.
  void FormActivate();
  // The exit steps; never refuses.
  bool FormCloseQuery();

  // Hides first (hide), redraws (redraw), sizes the window to the board and the side
  // panel, centres it on the screen (centre), shows it again (hide).
  void ResizeMainWindow(bool hide, bool centre, bool redraw);
  // After SidePanelShown changed: repaints what depends on it and sets the width.
  void ApplySidePanelShown();

  void ImageMainMouseDown(Qt::MouseButton button, int x, int y);
  void ImageMainMouseMove(int x, int y);
  void ImageMainMouseUp(Qt::MouseButton button, int x, int y);
  void TimerButtsOffTimer();
  // Runs the side-panel command in PanelCommand.
  void DispatchPanelCommand();

  // The side-panel command whose button is held down; 0 = none.
  std::uint8_t PanelCommand = 0;
  bool WindowDragging = false;
  QTimer* TimerButtsOff;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void closeEvent(QCloseEvent*) override;
  bool event(QEvent*) override;

 private:
  // Draws the picture of a command (1..3) over the top cell: hover or pressed.
  void DrawTopCellButton(int command, bool pressed);
  void RepaintSidePanel();
  void RedrawSidePanelNow();

  int DragAnchorX = 0, DragAnchorY = 0;  // pointer at the press, client coordinates
  int DragLeft = 0, DragTop = 0;         // the window at the last step, screen coordinates
  bool ExitDone = false;
  bool WelcomeShowing = false;
};

// The main window, once it is created.
TFormMain* FormMain();

}  // namespace pav
