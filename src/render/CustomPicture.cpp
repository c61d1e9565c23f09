#include "render/CustomPicture.h"

#include <QApplication>
#include <QWidget>

#include "app/AppState.h"
#include "render/Graphics.h"
#include "render/Renderer.h"
#include "render/Skinning.h"
#include "render/UnitOP.h"

namespace pav {

void RepaintMainBoard(bool full) {
  DrawBoard(full);
  if (QWidget* main = MainWindow()) main->update();
}

void RedrawObjectivePreview() {
  TFormOP* op = FormOP();
  if (op == nullptr) return;
  TGame& g = App().Game();
  op->DrawObjective(App().Config.OPFromPuzzle ? g.Puzzle.OP : g.Board.Pattern, g.Board);
}

void ReskinDialogs() {
  if (TFormOP* op = FormOP()) op->Reskin();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<TSkinnedDialog*>(w);
    if (dialog != nullptr && dialog != FormOP() && dialog->isVisible()) dialog->Reskin();
  }
}

void RestoreTiles() {
  LoadTileSet();
  RepaintMainBoard(false);
  RedrawObjectivePreview();
}

}  // namespace pav
