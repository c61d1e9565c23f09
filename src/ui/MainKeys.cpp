// The main window's keyboard: the function keys that open the settings and
// information windows and start or pause a game, Esc for the side panel, Space
// for the objective, the letters that switch options, H for the hint, and Ctrl with
// Z, M, T, R and W for the corrections of a player with cheats enabled.
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <optional>
#include <string>

#include "app/AppState.h"
#include "app/Startup.h"
#include "flow/CheatKeys.h"
#include "flow/ComputerMatch.h"
#include "flow/SavedGames.h"
#include "flow/UnitLoadGame.h"
#include "flow/UnitSavedGame.h"
#include "media/Music.h"
#include "platform/qt/ShownText.h"
#include "render/Renderer.h"
#include "render/UnitOP.h"
#include "render/WindowTargets.h"
#include "ui/UnitMain.h"

namespace pav {

namespace {

constexpr int VkEscape = 27;
constexpr int VkSpace = 32;
constexpr int VkF1 = 112;

int FunctionKey(int vk) { return vk >= VkF1 && vk <= VkF1 + 11 ? vk - VkF1 + 1 : 0; }

// H: the cells where the objective wants the tile under the pointer blink like the
// mark of a refused push, until TimerInvalid redraws the board.
void ShowHint(TFormMain& form) {
  const TGame& g = App().Game();
  const QPoint pointer = QCursor::pos() - form.mapToGlobal(QPoint(0, 0));
  const THint hint = HintAt(g.Current, g.OP, g.Board.Width, g.Board.Height, pointer.x() / CellPixels + 1,
                            pointer.y() / CellPixels + 1);
  if (hint.Tile == 0) return;
  for (const TBoardCell& c : hint.Cells) form.ShowInvalidMark(c.X, c.Y, 8);
  // With no place for the tile the board still gets its redraw.
  form.TimerInvalid->stop();
  form.TimerInvalid->start();
}

// Ctrl with Z, M, T, R or W: true when the key is one of them, whether or not the
// game allows its command now.
bool CheatKey(TFormMain& form, int key) {
  TApp& app = App();
  const bool allowed = app.State.GameRunning && app.CheatsEnabled;
  const bool playersTurn = allowed && app.State.HumanTurn;
  switch (key) {
    case 'Z':
      if (playersTurn) TakeBackMove();
      return true;
    case 'M':
      if (playersTurn) LowerMovesCounter();
      return true;
    case 'T':
      if (playersTurn) LowerSecondsCounter();
      return true;
    case 'R':
      if (playersTurn) OneMoveFromSolution();
      return true;
    case 'W':
      // The pause that leaves the tiles on the board.
      if (allowed) {
        app.KeepBoardVisible = true;
        form.PanelCommand = 5;
        form.DispatchPanelCommand();
      }
      return true;
    default: return false;
  }
}

}  // namespace

int TFormMain::VirtualKey(int qtKey) {
  if (qtKey == Qt::Key_Escape) return VkEscape;
  if (qtKey == Qt::Key_Space) return VkSpace;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return VkF1 + (qtKey - Qt::Key_F1);
  // Letters arrive as their capitals whatever the Shift state; digits as themselves.
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  return 0;
}

void TFormMain::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key < VkEscape || key > VkF1 + 11) return;
  TApp& app = App();
  const bool running = app.State.GameRunning;
  const bool ctrl = shift & Qt::ControlModifier;
  switch (FunctionKey(key)) {
    case 1: OpenWindowTarget(TWindowTarget::Help); return;
    case 2:
      if (!running) OpenWindowTarget(TWindowTarget::Game);
      return;
    case 3: OpenWindowTarget(TWindowTarget::Options); return;
    case 4:
      if (!(shift & Qt::AltModifier)) OpenWindowTarget(TWindowTarget::Graphics);
      return;
    case 5: OpenWindowTarget(TWindowTarget::Sounds); return;
    case 6: OpenWindowTarget(TWindowTarget::Music); return;
    case 7: OpenWindowTarget(TWindowTarget::ShortCuts); return;
    case 8: OpenWindowTarget(TWindowTarget::Records); return;
    case 9: OpenWindowTarget(TWindowTarget::About); return;
    case 10:
    case 11:
    case 12: {
      const int f = FunctionKey(key);
      PanelCommand = static_cast<std::uint8_t>(f == 10 ? (running ? 5 : 4) : (f == 11 ? 6 : 7));
      DispatchPanelCommand();
      // A Play that stopped at one of its messages leaves the command for the release
      // of a side-panel button to clear; a key has no release there, so it is cleared here.
      PanelCommand = 0;
      return;
    }
    default: break;
  }
  if (ctrl && CheatKey(*this, key)) return;
  switch (key) {
    case VkEscape:
      app.SidePanelShown = !app.SidePanelShown;
      ApplySidePanelShown();
      return;
    case VkSpace:
      // The objective window during a game; the keyboard stays here.
      if (!running) return;
      if (TFormOP* op = FormOP()) {
        if (op->isVisible())
          op->hide();
        else
          op->show();
        activateWindow();
      }
      return;
    case 'H':
      if (running) ShowHint(*this);
      return;
    case 'M':
      if (!ctrl) MusicOnOffKey();
      return;
    case 'S':
      if (!ctrl)
        app.Config.SoundsOn = app.Config.SoundsOn ? 0 : 1;
      else if (running && app.CheatsEnabled)
        SaveGameKey();
      return;
    case 'L':
      if (ctrl && !running && app.CheatsEnabled) LoadGameKey();
      return;
    case 'W':
      if (ctrl) return;
      app.Config.WheelMoves = app.Config.WheelMoves ? 0 : 1;
      if (running && app.State.HumanTurn) SetPointerOverride(app.Config.WheelMoves ? ColoUpDown : ColoFlat);
      return;
    case 'P': OpenWindowTarget(TWindowTarget::CustomPicture); return;
    case 'C': HurryComputer(); return;
    default: return;
  }
}

void TFormMain::MusicOnOffKey() { MusicOnOffCommand(); }

void TFormMain::SaveGameKey() {
  const std::optional<std::string> name = SaveGame();
  TFormSavedGame* saved = FormSavedGame();
  if (!name || !saved) return;
  saved->SetTitle("GAME SAVED");
  saved->LabelInfo->setText(ShownText(*name));
  saved->exec();
}

void TFormMain::LoadGameKey() {
  if (TFormLoadGame* load = FormLoadGame()) {
    load->SetTitle("LOAD GAME");
    load->exec();
  }
}

}  // namespace pav
