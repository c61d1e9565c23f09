// The board renderer: paints the main picture (board, walls, tiles, markers,
// frame, status bar, side panel) from the skin bitmaps. It reads the game data,
// the configuration and the flags of App(); it never changes them.
#pragma once

#include <QImage>
#include <string>

namespace pav {

// The main window's whole face: (Width+1)*48 x (Height+1)*48 pixels.
QImage& MainPicture();

// Paints `pic` from App().Game().Board / Current and the flags; with full false
// only the floor cells of the playing area are repainted.
void DrawBoard(QImage& pic, bool full);
inline void DrawBoard(bool full) { DrawBoard(MainPicture(), full); }

// A text in the status row of a picture whose board area is columns x rows cells.
// Slots 7 8 9 / 4 5 6 / 1 2 3 (upper, middle, lower line; left, centre, right).
void DrawStatusText(QImage& target, int columns, int rows, const std::string& text, int slot);

// The status texts of the game state (the texts DrawBoard(true) writes): the
// player, mode and counters during a game, else the name and author lines.
void DrawStatusTexts(QImage& pic);
// The counters during a game: the two status-bar cells under them, the moves and,
// unless the computer is playing out its turn in a hurry, the seconds.
void DrawCounters(QImage& pic);
// After SidePanelShown changed: the right frame column, the two right corners,
// the rightmost status-bar cell and the status texts (only the counters during a game).
void DrawSidePanelShown(QImage& pic);

// The four side-panel cells in their rest state.
void RedrawSidePanel(QImage& pic);
// Every jump mouth and corner piece of the board in its plain state.
void DrawFlowMarkers(QImage& pic);
void DrawJumpMarker(QImage& pic, int x, int y, int side, int state);
void DrawTurnMarker(QImage& pic, int x, int y, int corner, int state);
// Inverts the rectangles of a refused-move mark (kinds 1..8) in cell (x, y).
void InvertMark(QImage& pic, int x, int y, int kind);

// Opaque and colour-keyed copies (the key is the source's bottom-left pixel),
// clipped to the target.
void Blit(QImage& target, int x, int y, const QImage& src);
void BlitKeyed(QImage& target, int x, int y, const QImage& src);

}  // namespace pav
