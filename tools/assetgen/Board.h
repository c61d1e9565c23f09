// A stand-in for the game's board renderer: it cuts the skin from a graphics
// set exactly as the game does and assembles boards, status texts and dialog
// skins by the same rules, so that the pictures can be checked and looked at.
#pragma once

#include "Layout.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct SkinSet {
  QImage boardGraphics;  // the "GB - " picture
  QImage background;     // the "BK - " picture, or null
  std::array<QImage, 51> tiles;  // TilePicture[1..50]

  QImage Piece(const Rect &r) const { return boardGraphics.copy(r.x, r.y, r.w, r.h); }
};

// Cuts the tile pictures the way the game loads a set: the floor, then the set
// drawn keyed by its bottom-left pixel; a set 240 pixels wide takes the
// other columns from the default set, drawn opaque.
SkinSet LoadSkinSet(const QImage &boardGraphics, const QImage &background, const QImage &tileSet,
                    const QImage &defaultTileSet);

struct SampleBoard {
  int width = 0, height = 0;                             // cells, frame ring included
  std::array<std::array<std::uint8_t, 17>, 22> cells{};  // [x][y], 1-based inside
  std::array<std::array<std::uint8_t, 17>, 22> tiles{};
  std::vector<std::string> text;  // text rows from the top, 8 x 8 text cells
  std::vector<std::array<int, 6>> jumps;  // X1, Y1, Side1, X2, Y2, Side2
  std::vector<std::array<int, 3>> turns;  // X, Y, Corner
};

struct StatusText {
  int slot;
  std::string text;
};

// The main picture: walls, frame, inscriptions, markers, status bar and side
// panel, status texts and tiles, in the game's order. `lit` draws the markers
// in their lit state.
QImage DrawBoard(const SkinSet &skin, const SampleBoard &board, bool sidePanelShown,
                 const std::vector<StatusText> &texts, bool gameRunning = false, bool lit = false);

// Only the walls of DrawBoard (step 2), on black: for comparing wall assembly.
QImage DrawWalls(const SkinSet &skin, const SampleBoard &board, bool useBackground);

void DrawStatusText(QImage &target, const SkinSet &skin, int columns, int rows, const std::string &text, int slot);

// A dialog's background dressed in the skin, with its title in the title row.
QImage SkinWindow(const SkinSet &skin, int width, int height, const std::string &title);

// Opaque copy of `piece` keyed by its bottom-left pixel.
void DrawKeyed(QImage &target, const QImage &piece, int x, int y);

}  // namespace assetgen
