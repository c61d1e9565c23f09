#include "ui/UnitMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/UnitWelcome.h"
#include "render/Renderer.h"
#include "render/Skin.h"
#include "render/Skinning.h"

namespace pav {

namespace {

TFormMain* TheMainForm = nullptr;

constexpr int Cell = CellSize;
constexpr int Half = CellSize / 2;
constexpr int PanelCells = 4;

int BoardWidth() { return App().Game().Board.Width; }
int BoardHeight() { return App().Game().Board.Height; }

}  // namespace

TFormMain* FormMain() { return TheMainForm; }

bool InSidePanelColumn(int boardWidth, int x, int y) {
  return x > boardWidth * Cell && x < (boardWidth + 1) * Cell && y > 0 && y < PanelCells * Cell;
}

int SidePanelCell(int y) { return y / Cell + 1; }

int TopCellCommand(int boardWidth, int x, int y) {
  if (!InSidePanelColumn(boardWidth, x, y) || SidePanelCell(y) != 1) return 0;
  const int middle = (boardWidth + 1) * Cell - Half;
  if (y < Half) {
    if (x < middle) return 1;
    if (x > middle) return 2;
    return 0;
  }
  if (y > Half) return 3;
  return 0;
}

bool InTileZone(int boardWidth, int boardHeight, int x, int y) {
  return x > Half && x < boardWidth * Cell - Half && y > Half && y < boardHeight * Cell - Half;
}

QSize MainWindowSize(int boardWidth, int boardHeight, bool sidePanelShown) {
  return {(boardWidth + (sidePanelShown ? 1 : 0)) * Cell, (boardHeight + 1) * Cell};
}

TFormMain::TFormMain(bool runFormCreate, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), TimerButtsOff(new QTimer(this)) {
  TheMainForm = this;
  SetMainWindow(this);
  setWindowTitle(QStringLiteral("Pavilore"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  TimerButtsOff->setInterval(ButtonsOffMilliseconds);
  connect(TimerButtsOff, &QTimer::timeout, this, &TFormMain::TimerButtsOffTimer);
  if (runFormCreate) FormCreate();
}

TFormMain::~TFormMain() {
  if (TheMainForm == this) TheMainForm = nullptr;
}

void TFormMain::FormCreate() {
  if (!RunStartup()) return;
  setCursor(PointerShape(ColoMove));
  ResizeMainWindow(false, true, true);
}

void TFormMain::FormActivate() {
  if (!App().Config.ShowWelcome || WelcomeShowing) return;
  TFormWelcome* welcome = FormWelcome();
  if (!welcome || welcome->isVisible()) return;
  WelcomeShowing = true;
  welcome->exec();
  WelcomeShowing = false;
}

bool TFormMain::FormCloseQuery() {
  if (!ExitDone) {
    ExitDone = true;
    RunExitSteps();
  }
  return true;
}

void TFormMain::ResizeMainWindow(bool hide, bool centre, bool redraw) {
  if (hide) this->hide();
  if (redraw) DrawBoard(MainPicture(), true);
  const QSize size = MainWindowSize(BoardWidth(), BoardHeight(), App().SidePanelShown);
  setFixedSize(size);
  if (centre) {
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
      const QRect g = s->geometry();
      // Division toward zero, also when the window is larger than the screen.
      move(g.x() + (g.width() - size.width()) / 2, g.y() + (g.height() - size.height()) / 2);
    }
  }
  if (hide) show();
  update();
}

void TFormMain::ApplySidePanelShown() {
  // Only the right frame column, its corners, the rightmost status cell and the
  // status texts depend on the flag; the rest of the picture stays as it is.
  DrawSidePanelShown(MainPicture());
  update();
  FlushPaints();
  setFixedSize(MainWindowSize(BoardWidth(), BoardHeight(), App().SidePanelShown));
  FlushPaints();
}

void TFormMain::RepaintSidePanel() { update(QRect(BoardWidth() * Cell, 0, Cell, PanelCells * Cell)); }

void TFormMain::RedrawSidePanelNow() {
  RedrawSidePanel(MainPicture());
  RepaintSidePanel();
}

void TFormMain::DrawTopCellButton(int command, bool pressed) {
  const TSkin& s = Skin();
  const int state = pressed ? 2 : 1;
  const QImage* picture = nullptr;
  switch (command) {
    case 1: picture = &s.ButtonMinimize[state]; break;
    case 2: picture = &s.ButtonClose[state]; break;
    case 3: picture = &s.ButtonPanel[state]; break;
    default: return;
  }
  Blit(MainPicture(), BoardWidth() * Cell, 0, *picture);
  RepaintSidePanel();
}

void TFormMain::ImageMainMouseDown(Qt::MouseButton button, int x, int y) {
  // The configuration and information menus are hidden here once they exist.
  const int w = BoardWidth();
  const auto& state = App().State;
  if (InTileZone(w, BoardHeight(), x, y) && state.GameRunning && state.HumanTurn) {
    // Grabbing a tile: the tile gestures come here.
    return;
  }
  if (InSidePanelColumn(w, x, y)) {
    RedrawSidePanelNow();
    PanelCommand = 0;
    // The General Click sound plays here once the sound effects exist.
    if (SidePanelCell(y) == 1) {
      PanelCommand = static_cast<std::uint8_t>(TopCellCommand(w, x, y));
      DrawTopCellButton(PanelCommand, true);
    }
    // Cells 2 to 4 (play or stop, configuration, information) set their commands here.
    return;
  }
  RedrawSidePanelNow();
  SetPointerOverride(PointerDefault);
  if (button != Qt::RightButton) {
    DragAnchorX = x;
    DragAnchorY = y;
    DragLeft = this->x();
    DragTop = this->y();
    WindowDragging = true;
  }
}

void TFormMain::ImageMainMouseMove(int x, int y) {
  if (WindowDragging) {
    const int dx = DragAnchorX - x;
    const int dy = DragAnchorY - y;
    if (dx != 0 || dy != 0) move(dx != 0 ? DragLeft - dx : this->x(), dy != 0 ? DragTop - dy : this->y());
    DragLeft = this->x();
    DragTop = this->y();
  }
  const int w = BoardWidth();
  const auto& state = App().State;
  if (InTileZone(w, BoardHeight(), x, y)) {
    if (!state.GameRunning || !state.HumanTurn) return;
    // Dragging a tile: the tile gestures come here.
    return;
  }
  if (InSidePanelColumn(w, x, y) && PanelCommand == 0) {
    RedrawSidePanelNow();
    SetPointerOverride(PointerHand);
    if (SidePanelCell(y) == 1) DrawTopCellButton(TopCellCommand(w, x, y), false);
    // Cells 2 to 4 show their hover pictures here.
    TimerButtsOff->stop();
    TimerButtsOff->start();
    return;
  }
  if (PanelCommand == 0) {
    RedrawSidePanelNow();
    SetPointerOverride(PointerDefault);
  }
}

void TFormMain::ImageMainMouseUp(Qt::MouseButton /*button*/, int x, int y) {
  RedrawSidePanelNow();
  WindowDragging = false;
  if (InSidePanelColumn(BoardWidth(), x, y) && PanelCommand != 0) DispatchPanelCommand();
  PanelCommand = 0;
  // A tile drag ends here; in a game the pointer goes back to the tile shape.
}

void TFormMain::TimerButtsOffTimer() {
  TimerButtsOff->stop();
  RedrawSidePanelNow();
}

void TFormMain::DispatchPanelCommand() {
  switch (PanelCommand) {
    case 1: showMinimized(); break;
    case 2: close(); break;
    case 3:
      App().SidePanelShown = !App().SidePanelShown;
      ApplySidePanelShown();
      break;
    default:
      // Play, pause and the two menus are dispatched here once they exist.
      break;
  }
}

void TFormMain::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QImage& picture = MainPicture();
  p.drawImage(e->rect(), picture, e->rect());
  // Outside the picture (before the first drawing) the window stays black.
  const QRect covered = picture.rect();
  if (!covered.contains(e->rect())) {
    const QRegion rest = QRegion(e->rect()) - covered;
    for (const QRect& r : rest) p.fillRect(r, Qt::black);
  }
}

void TFormMain::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ImageMainMouseDown(e->button(), p.x(), p.y());
}

void TFormMain::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ImageMainMouseMove(p.x(), p.y());
}

void TFormMain::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ImageMainMouseUp(e->button(), p.x(), p.y());
}

void TFormMain::closeEvent(QCloseEvent* e) {
  FormCloseQuery();
  e->accept();
  // Closing the main window ends the program, whatever other window is still shown.
  QCoreApplication::quit();
}

bool TFormMain::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && App().Config.ShowWelcome && !WelcomeShowing) {
    // Shown once the activation is over, so the modal window does not run inside it.
    QTimer::singleShot(0, this, &TFormMain::FormActivate);
  }
  return QWidget::event(e);
}

}  // namespace pav
