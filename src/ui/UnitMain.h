// The main window: borderless, its whole client area the main picture that the
// renderer paints. Its creation runs the game's start-up; closing it runs the exit.
// Everything the pointer does on it is decided by hit-testing against the board.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

class QLabel;
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

class TMainHooks;
class TGameWindows;

// The pointer shape of the tile zone: by wheel mode and whether a left or right
// button is down.
int TileZonePointerShape(bool wheelMoves, bool buttonDown);

class TFormMain : public QWidget {
  Q_OBJECT
 public:
  static constexpr int ButtonsOffMilliseconds = 500;
  static constexpr int GameMilliseconds = 1000;
  static constexpr int InvalidMilliseconds = 200;
  static constexpr int JumpsNTurnsMilliseconds = 500;
  static constexpr int MusicMilliseconds = 250;
  static constexpr int HandMilliseconds = 1000;

  // Runs FormCreate unless told not to (tests drive the window without an installation).
  explicit TFormMain(bool runFormCreate = true, QWidget* parent = nullptr);
  ~TFormMain() override;

  // The start-up; when it fails the program is to end (TerminationRequested()).
  void FormCreate();
  // Shows the welcome window while Config.ShowWelcome.
  void FormActivate();
  // The exit steps, unless the start-up asked the program to end; never refuses.
  bool FormCloseQuery();

  // Hides first (hide), redraws (redraw), sizes the window to the board and the side
  // panel, centres it on the screen (centre), shows it again (hide).
  void ResizeMainWindow(bool hide, bool centre, bool redraw);
  // After SidePanelShown changed: repaints what depends on it and sets the width.
  void ApplySidePanelShown();

  // Pointer handlers; `buttons` are the buttons down (for a press, the pressed one
  // is added), in client pixels.
  void ImageMainMouseDown(Qt::MouseButton button, int x, int y, Qt::MouseButtons buttons = Qt::NoButton);
  void ImageMainMouseMove(int x, int y, Qt::MouseButtons buttons = Qt::NoButton);
  void ImageMainMouseUp(Qt::MouseButton button, int x, int y, Qt::MouseButtons buttons = Qt::NoButton);
  // One wheel notch up or down with the pointer at (x, y) of the client area.
  void FormMouseWheelUp(Qt::MouseButtons buttons, int x, int y);
  void FormMouseWheelDown(Qt::MouseButtons buttons, int x, int y);

  void TimerButtsOffTimer();
  // The mark of kind `kind` over cell (x, y) when marks are shown; either way the
  // board is redrawn clean when TimerInvalid fires.
  void ShowInvalidMark(int x, int y, int kind);
  void TimerInvalidTimer();
  void TimerJumpsNTurnsTimer();
  void TimerGameTimer();
  // One step of the computer's play.
  void TimerBotTimer();
  // A second after the end of a game against the computer: the hands leave the board.
  void TimerHandTimer();
  // The one-shot music timer fired: the next piece.
  void TimerMusicTimer();
  // The game's music player reached the end of its piece.
  void MediaPlayerMainNotify();
  // Runs the side-panel command in PanelCommand.
  void DispatchPanelCommand();
  // The keyboard commands of the main window, by virtual-key code (Esc 27, Space 32,
  // letters by their capital, F1 112 ... F12 123); any other code does nothing.
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);

  // The virtual-key code of a key event, 0 for keys the commands never look at.
  static int VirtualKey(int qtKey);
  // M: music on or off.
  void MusicOnOffKey();
  // Ctrl+S: the running game saved, and the name it got shown.
  void SaveGameKey();
  // Ctrl+L: the load window.
  void LoadGameKey();

  // Repaints the status row on screen (after the counters were drawn into the picture).
  void RepaintStatusBar();
  // Repaints the floor cells of the picture and the screen.
  void RepaintBoard();
  // The computer's hands: the flat one (grabbing false) or the grabbing one over
  // cell (x, y) of the board, the other one hidden; or both hidden.
  void ShowHand(bool grabbing, int x, int y);
  void HideHands();

  // The side-panel command whose button is held down; 0 = none.
  std::uint8_t PanelCommand = 0;
  bool WindowDragging = false;
  bool TileDragging = false;
  std::uint8_t DragX = 0, DragY = 0;  // the cell where the drag was last evaluated
  QTimer* TimerButtsOff;
  QTimer* TimerGame;
  QTimer* TimerBot;
  QTimer* TimerInvalid;
  QTimer* TimerJumpsNTurns;
  QTimer* TimerMusic;  // single-shot, started by StartMusicSoon
  QTimer* TimerHand;
  QLabel* ImageFlat;  // the computer's hands over the board
  QLabel* ImageGrab;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void closeEvent(QCloseEvent*) override;
  bool event(QEvent*) override;

 private:
  friend class TMainHooks;
  // Draws the hover or pressed picture of a side-panel command (1..7).
  void DrawPanelButton(int command, bool pressed);
  // The command of the side-panel cell under (x, y), by the sub-areas of the top cell.
  int PanelCommandAt(int x, int y) const;
  void RepaintSidePanel();
  void RedrawSidePanelNow();
  // The push of a tile gesture: with its bookkeeping and the repeats of StepsPerMove.
  void GesturePush(int x, int y, int dir);
  void WheelPush(Qt::MouseButtons buttons, int x, int y, bool up);

  int DragAnchorX = 0, DragAnchorY = 0;  // pointer at the press, client coordinates
  int DragLeft = 0, DragTop = 0;         // the window at the last step, screen coordinates
  int WheelRest = 0;                     // wheel turn not yet a whole notch
  bool ExitDone = false;
  bool WelcomeShowing = false;
  TMainHooks* Hooks;
  std::unique_ptr<TGameWindows> Windows;
};

// The main window, once it is created.
TFormMain* FormMain();

// The game's windows as the course of a game sees them: this main window with its
// clock, the computer's timer and hands, and the game's dialogs.
std::unique_ptr<TGameWindows> MakeMainGameWindows(TFormMain& form);

}  // namespace pav
