// What follows a change of the skin or of the tile pictures while the game runs:
// the board on the main window, the objective window's preview and the dress of
// the dialogs on screen; and the tile pictures put back from the tile set alone.
#pragma once

namespace pav {

// Draws the main window's board again (full: everything, else the floor cells
// only) and repaints the window.
void RepaintMainBoard(bool full);
// The objective window's preview drawn again from the configured objective:
// the puzzle's OP when Config.OPFromPuzzle, else the board's own pattern.
void RedrawObjectivePreview();
// Re-dresses the objective window and every other skinned dialog on screen.
void ReskinDialogs();
// The 50 tile pictures from the tile-set file alone (the custom picture taken off),
// then the board's floor and the objective preview.
void RestoreTiles();

}  // namespace pav
