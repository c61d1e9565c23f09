#include "ui/UnitMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/UnitWelcome.h"
#include "engine/MoveEngine.h"
#include "flow/ComputerMatch.h"
#include "flow/GameClock.h"
#include "flow/GameEnd.h"
#include "flow/GameStart.h"
#include "flow/GameWindows.h"
#include "media/Effects.h"
#include "media/Music.h"
#include "render/UnitCfgMenu.h"
#include "render/UnitInfoMenu.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/Platform.h"
#include "render/PixelScale.h"
#include "render/Renderer.h"
#include "render/UnitOP.h"
#include "render/Skin.h"
#include "render/Skinning.h"
#include "ui/UnitStop.h"

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

int TileZonePointerShape(bool wheelMoves, bool buttonDown) {
  if (wheelMoves) return buttonDown ? ColoLeftRight : ColoUpDown;
  return buttonDown ? ColoGrab : ColoFlat;
}

// What a push shows on the main window: marks, counters, the floor, the lit flow
// elements, the move sound, and the hand-over to the end of the game.
class TMainHooks : public EngineHooks {
 public:
  explicit TMainHooks(TFormMain& form) : Form(form) {}

  void ShowInvalidMark(int x, int y, int kind) override { Form.ShowInvalidMark(x, y, kind); }
  void OverflowMessage(const std::string& text) override { ShowMessage(text, TMessageIcon::Error); }
  void PlayMoveSound() override { PlayEffect(TEffect::Move); }
  void RedrawCounters() override { UpdateCounters(); }
  void RedrawFloor() override { Form.RepaintBoard(); }
  void HighlightFlowElements(const TTripleList& usedJumps, const TTripleList& usedTurns) override {
    if (!App().Config.HighlightElements) return;
    QImage& pic = MainPicture();
    const TBoard& b = App().Game().Board;
    DrawFlowMarkers(pic);
    for (int i = 0; i < usedJumps.Count; ++i) {
      const TTriple& t = usedJumps.Items[i];
      DrawJumpMarker(pic, t.X, t.Y, t.Dir, 2);
    }
    for (int i = 0; i < usedTurns.Count; ++i) {
      const TTriple& t = usedTurns.Items[i];
      if (HasTurn(b, t.X, t.Y, t.Dir)) DrawTurnMarker(pic, t.X, t.Y, t.Dir, 2);
    }
    // The markers stand on solid cells of the board: only the board area changed.
    Form.update(QRect(0, 0, b.Width * Cell, b.Height * Cell));
    Form.TimerJumpsNTurns->stop();
    Form.TimerJumpsNTurns->start();
  }
  void PuzzleSolved() override { pav::PuzzleSolved(); }
  void CheckLimits() override { CheckMoveLimits(); }

 private:
  TFormMain& Form;
};

namespace {

QTimer* MakeTimer(QObject* owner, int ms) {
  auto* t = new QTimer(owner);
  t->setInterval(ms);
  return t;
}

// One of the computer's hands: a 32 x 32 picture over the board, hidden until used.
QLabel* MakeHand(QWidget* owner, bool grabbing) {
  auto* hand = new QLabel(owner);
  hand->setObjectName(grabbing ? QStringLiteral("ImageGrab") : QStringLiteral("ImageFlat"));
  hand->setPixmap(HandPicture(grabbing));
  hand->setFixedSize(32, 32);
  hand->setAttribute(Qt::WA_TransparentForMouseEvents);
  hand->hide();
  return hand;
}

}  // namespace

TFormMain::TFormMain(bool runFormCreate, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      TimerButtsOff(MakeTimer(this, ButtonsOffMilliseconds)),
      TimerGame(MakeTimer(this, GameMilliseconds)),
      TimerBot(MakeTimer(this, GameMilliseconds)),
      TimerInvalid(MakeTimer(this, InvalidMilliseconds)),
      TimerJumpsNTurns(MakeTimer(this, JumpsNTurnsMilliseconds)),
      TimerMusic(MakeTimer(this, MusicMilliseconds)),
      TimerHand(MakeTimer(this, HandMilliseconds)),
      ImageFlat(MakeHand(this, false)),
      ImageGrab(MakeHand(this, true)),
      Hooks(new TMainHooks(*this)),
      Windows(MakeMainGameWindows(*this)) {
  TheMainForm = this;
  SetMainWindow(this);
  setWindowTitle(QStringLiteral("Pavilore"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  connect(TimerButtsOff, &QTimer::timeout, this, &TFormMain::TimerButtsOffTimer);
  connect(TimerGame, &QTimer::timeout, this, &TFormMain::TimerGameTimer);
  connect(TimerBot, &QTimer::timeout, this, &TFormMain::TimerBotTimer);
  connect(TimerHand, &QTimer::timeout, this, &TFormMain::TimerHandTimer);
  connect(TimerInvalid, &QTimer::timeout, this, &TFormMain::TimerInvalidTimer);
  connect(TimerJumpsNTurns, &QTimer::timeout, this, &TFormMain::TimerJumpsNTurnsTimer);
  TimerMusic->setSingleShot(true);
  connect(TimerMusic, &QTimer::timeout, this, &TFormMain::TimerMusicTimer);
  SetMusicTimer(TimerMusic);
  GameMusicPlayer().OnNotify = [this] { MediaPlayerMainNotify(); };
  App().Engine->SetHooks(Hooks);
  SetGameWindows(Windows.get());
  if (runFormCreate) FormCreate();
}

TFormMain::~TFormMain() {
  if (TheMainForm == this) TheMainForm = nullptr;
  GameMusicPlayer().OnNotify = nullptr;
  if (App().Engine) App().Engine->SetHooks(nullptr);
  delete Hooks;
  if (GameWindows() == Windows.get()) SetGameWindows(nullptr);
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
  // A start-up that ended the program has nothing to write back: the files may be
  // another running copy's.
  if (!ExitDone && !TerminationRequested()) {
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

int TFormMain::PanelCommandAt(int x, int y) const {
  switch (SidePanelCell(y)) {
    case 1: return TopCellCommand(BoardWidth(), x, y);
    case 2: return App().State.GameRunning ? 5 : 4;
    case 3: return 6;
    case 4: return 7;
    default: return 0;
  }
}

void TFormMain::DrawPanelButton(int command, bool pressed) {
  const TSkin& s = Skin();
  const int state = pressed ? 2 : 1;
  const QImage* picture = nullptr;
  int cell = 1;
  switch (command) {
    case 1: picture = &s.ButtonMinimize[state]; break;
    case 2: picture = &s.ButtonClose[state]; break;
    case 3: picture = &s.ButtonPanel[state]; break;
    case 4: picture = &s.ButtonPlay[state]; cell = 2; break;
    case 5: picture = &s.ButtonStop[state]; cell = 2; break;
    case 6: picture = &s.ButtonConfig[state]; cell = 3; break;
    case 7: picture = &s.ButtonInfo[state]; cell = 4; break;
    default: return;
  }
  Blit(MainPicture(), BoardWidth() * Cell, (cell - 1) * Cell, *picture);
  RepaintSidePanel();
}

void TFormMain::RepaintStatusBar() { update(QRect(0, BoardHeight() * Cell, width(), Cell)); }

void TFormMain::RepaintBoard() {
  DrawBoard(MainPicture(), false);
  update(QRect(0, 0, BoardWidth() * Cell, BoardHeight() * Cell));
}

void TFormMain::GesturePush(int x, int y, int dir) {
  TApp& app = App();
  TMoveEngine& engine = *app.Engine;
  engine.SetHooks(Hooks);
  const std::uint32_t game = app.GamesBegun;
  if (!engine.TryPush(true, true, x, y, dir)) return;
  TGame& g = app.Game();
  FilterSteps(engine.StepRecord);
  AppendList(g.History, engine.StepRecord);
  for (int i = 1; i < g.Board.StepsPerMove; ++i) {
    // A move that ended the game ends the gesture: the board already shows the
    // position the finished game leaves, or the next turn or level its end began.
    if (!app.State.GameRunning || app.GamesBegun != game) break;
    engine.TryPush(true, true, x, y, dir);
  }
}

void TFormMain::ImageMainMouseDown(Qt::MouseButton button, int x, int y, Qt::MouseButtons buttons) {
  buttons |= button;
  // A press anywhere on the main window closes the menus.
  if (TFormCfgMenu* menu = FormCfgMenu()) menu->hide();
  if (TFormInfoMenu* menu = FormInfoMenu()) menu->hide();
  const int w = BoardWidth();
  TGameState& state = App().State;
  if (InTileZone(w, BoardHeight(), x, y) && state.GameRunning && state.HumanTurn) {
    const int column = (x + 8) / Cell + 1;
    const int row = (y + 8) / Cell + 1;
    const bool wheel = App().Config.WheelMoves != 0;
    SetPointerOverride(TileZonePointerShape(wheel, buttons & (Qt::LeftButton | Qt::RightButton)));
    if (TileDragging || wheel) return;
    TileDragging = true;
    DragX = static_cast<std::uint8_t>(column);
    DragY = static_cast<std::uint8_t>(row);
    state.GrabX = DragX;
    state.GrabY = DragY;
    return;
  }
  if (InSidePanelColumn(w, x, y)) {
    RedrawSidePanelNow();
    PanelCommand = 0;
    PlayEffect(TEffect::Click);
    PanelCommand = static_cast<std::uint8_t>(PanelCommandAt(x, y));
    DrawPanelButton(PanelCommand, true);
    return;
  }
  RedrawSidePanelNow();
  SetPointerOverride(PointerDefault);
  if (button != Qt::RightButton) {
    // Where the compositor alone moves windows, it takes the whole drag.
    if (StartCompositorMove(this)) return;
    DragAnchorX = x;
    DragAnchorY = y;
    DragLeft = this->x();
    DragTop = this->y();
    WindowDragging = true;
  }
}

void TFormMain::ImageMainMouseMove(int x, int y, Qt::MouseButtons buttons) {
  if (WindowDragging) {
    const int dx = DragAnchorX - x;
    const int dy = DragAnchorY - y;
    if (dx != 0 || dy != 0) move(dx != 0 ? DragLeft - dx : this->x(), dy != 0 ? DragTop - dy : this->y());
    DragLeft = this->x();
    DragTop = this->y();
  }
  const int w = BoardWidth();
  TGameState& state = App().State;
  if (InTileZone(w, BoardHeight(), x, y)) {
    if (!state.GameRunning || !state.HumanTurn) return;
    const int column = (x + 8) / Cell + 1;
    const int row = (y + 8) / Cell + 1;
    SetPointerOverride(
        TileZonePointerShape(App().Config.WheelMoves != 0, buttons & (Qt::LeftButton | Qt::RightButton)));
    state.GrabX = DragX;
    state.GrabY = DragY;
    if (!TileDragging) return;
    // One move per pointer event: the first test that holds decides, and a diagonal
    // step moves horizontally.
    if (DragX > column)
      GesturePush(column + 1, row, 1);
    else if (DragX < column)
      GesturePush(column - 1, row, 2);
    else if (row < DragY)
      GesturePush(column, row + 1, 3);
    else if (row > DragY)
      GesturePush(column, row - 1, 4);
    DragX = static_cast<std::uint8_t>(column);
    DragY = static_cast<std::uint8_t>(row);
    App().State.StepCount = 0;
    return;
  }
  if (InSidePanelColumn(w, x, y) && PanelCommand == 0) {
    RedrawSidePanelNow();
    SetPointerOverride(PointerHand);
    DrawPanelButton(PanelCommandAt(x, y), false);
    TimerButtsOff->stop();
    TimerButtsOff->start();
    return;
  }
  if (PanelCommand == 0) {
    RedrawSidePanelNow();
    SetPointerOverride(PointerDefault);
  }
}

void TFormMain::ImageMainMouseUp(Qt::MouseButton /*button*/, int x, int y, Qt::MouseButtons /*buttons*/) {
  RedrawSidePanelNow();
  WindowDragging = false;
  if (InSidePanelColumn(BoardWidth(), x, y) && PanelCommand != 0) DispatchPanelCommand();
  PanelCommand = 0;
  TileDragging = false;
  const TGameState& state = App().State;
  if (state.GameRunning && state.HumanTurn) SetPointerOverride(App().Config.WheelMoves ? ColoUpDown : ColoFlat);
}

void TFormMain::WheelPush(Qt::MouseButtons buttons, int x, int y, bool up) {
  TApp& app = App();
  if (!app.Config.WheelMoves || !app.State.GameRunning || !app.State.HumanTurn) return;
  // No zone test: a cell off the board goes to the engine, which refuses it.
  const int column = (x + 8) / Cell + 1;
  const int row = (y + 8) / Cell + 1;
  app.State.GrabX = static_cast<std::uint8_t>(column);
  app.State.GrabY = static_cast<std::uint8_t>(row);
  const bool sideways = buttons & (Qt::LeftButton | Qt::RightButton);
  const int dir = up ? (sideways ? 1 : 3) : (sideways ? 2 : 4);
  GesturePush(column, row, dir);
  app.State.StepCount = 0;
}

void TFormMain::FormMouseWheelUp(Qt::MouseButtons buttons, int x, int y) { WheelPush(buttons, x, y, true); }
void TFormMain::FormMouseWheelDown(Qt::MouseButtons buttons, int x, int y) { WheelPush(buttons, x, y, false); }

void TFormMain::TimerButtsOffTimer() {
  TimerButtsOff->stop();
  RedrawSidePanelNow();
}

void TFormMain::ShowInvalidMark(int x, int y, int kind) {
  if (App().Config.ShowInvalid) {
    InvertMark(MainPicture(), x, y, kind);
    update((x - 1) * Cell, (y - 1) * Cell, Cell, Cell);
  }
  TimerInvalid->stop();
  TimerInvalid->start();
}

void TFormMain::TimerInvalidTimer() {
  TimerInvalid->stop();
  DrawBoard(MainPicture(), true);
  update();
}

void TFormMain::TimerJumpsNTurnsTimer() {
  TimerJumpsNTurns->stop();
  DrawFlowMarkers(MainPicture());
  update(QRect(0, 0, BoardWidth() * Cell, BoardHeight() * Cell));
}

void TFormMain::TimerGameTimer() { TimerGameTick(); }

void TFormMain::TimerBotTimer() { ComputerStep(); }

void TFormMain::TimerHandTimer() {
  TimerHand->stop();
  HideHands();
}

void TFormMain::ShowHand(bool grabbing, int x, int y) {
  QLabel* shown = grabbing ? ImageGrab : ImageFlat;
  (grabbing ? ImageFlat : ImageGrab)->hide();
  shown->move((x - 1) * Cell + 8, (y - 1) * Cell + 8);
  shown->show();
  shown->raise();
}

void TFormMain::HideHands() {
  ImageFlat->hide();
  ImageGrab->hide();
}

void TFormMain::TimerMusicTimer() {
  TimerMusic->stop();
  PlayNextMusic();
}

void TFormMain::MediaPlayerMainNotify() {
  const TFormStop* stop = FormStop();
  if (App().State.GameRunning && !(stop && stop->isVisible())) StartMusicSoon();
}

void TFormMain::DispatchPanelCommand() {
  switch (PanelCommand) {
    case 1: showMinimized(); break;
    case 2: close(); break;
    case 3:
      App().SidePanelShown = !App().SidePanelShown;
      ApplySidePanelShown();
      break;
    case 4:
      // Stopped at one of its messages, the command stays for the caller to clear.
      if (!PlayCommand()) return;
      break;
    case 5: PauseCommand(); break;
    case 6: ShowCfgMenu(); break;
    case 7: ShowInfoMenu(); break;
    default:
      // The configuration and information menus open here once they exist.
      break;
  }
  PanelCommand = 0;
}

void TFormMain::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  SetPictureScaling(p);
  const QImage& picture = MainPicture();
  // The whole picture under the clip of the region to repaint: smoothed at a
  // fractional screen ratio, the edges of the region take their neighbours' pixels
  // as a full repaint does, and no seam shows where two repaints meet.
  p.drawImage(0, 0, picture);
  // Outside the picture (before the first drawing) the window stays black.
  const QRect covered = picture.rect();
  if (!covered.contains(e->rect())) {
    const QRegion rest = QRegion(e->rect()) - covered;
    for (const QRect& r : rest) p.fillRect(r, Qt::black);
  }
}

void TFormMain::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ImageMainMouseDown(e->button(), p.x(), p.y(), e->buttons());
}

void TFormMain::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ImageMainMouseMove(p.x(), p.y(), e->buttons());
}

void TFormMain::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  ImageMainMouseUp(e->button(), p.x(), p.y(), e->buttons());
}

void TFormMain::wheelEvent(QWheelEvent* e) {
  // One push per notch; a fine-grained wheel collects its turn into notches.
  WheelRest += e->angleDelta().y();
  const QPoint p = e->position().toPoint();
  while (WheelRest >= 120) {
    WheelRest -= 120;
    FormMouseWheelUp(e->buttons(), p.x(), p.y());
  }
  while (WheelRest <= -120) {
    WheelRest += 120;
    FormMouseWheelDown(e->buttons(), p.x(), p.y());
  }
  e->ignore();
}

void TFormMain::keyPressEvent(QKeyEvent* e) {
  const int key = VirtualKey(e->key());
  if (key == 0) {
    QWidget::keyPressEvent(e);
    return;
  }
  FormKeyDown(key, e->modifiers());
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
