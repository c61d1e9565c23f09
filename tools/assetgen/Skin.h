// Board-graphics pictures: walls, floor, frame, status bar, side panel,
// markers and the two fonts, in the colours of one theme.
#pragma once

#include "Paint.h"

#include <QImage>

#include <cstdint>

namespace assetgen {

struct Theme {
  const char *name;
  std::uint32_t seed;
  int wallStyle;  // 0: fine-grained stone; 1: layered slate
  Rgb wall, wallAlt, wallContact;
  double wallSteepness;
  Rgb floor, floorAlt;
  Rgb bezel, bezelOutline, display, statusInk, statusShadow;
  Rgb buttonFace, iconInk, accent, closeAccent;
  Rgb carve, carveLight;
  Rgb mouth, markerRest, markerLit;
};

const Theme &DefaultTheme();
const Theme &SlateTheme();

// Colour key of the font glyphs in every board-graphics picture we draw.
inline constexpr QRgb kFontKey = 0xffff00ff;

// Which of a wall cell's eight neighbours hold a different Cells value.
struct Around {
  bool L = false, R = false, U = false, D = false, UL = false, UR = false, DL = false, DR = false;
};

// The wall surface at pixel (lx, ly) of a 48 x 48 solid cell: the face, or
// the bevel that falls toward the neighbours that differ. Every wall piece of
// the picture is cut from this one function, so that pieces set side by side
// by the renderer continue each other exactly.
QRgb WallPixel(const Theme &theme, const Around &around, int lx, int ly);

// The wall face texture at (x, y); it repeats every `repeat` pixels.
Rgb WallTexture(const Theme &theme, double x, double y, int repeat);

// The bezel around a board of w x h cells (frame ring, the status row below it
// when `status`, the side-panel column at its right when `panel`), the board
// area itself left black. Frame, join, status and panel pieces are cut from it.
QImage BezelModel(const Theme &theme, int w, int h, bool panel, bool status);

// The whole 480 x 192 board-graphics picture.
QImage BoardGraphics(const Theme &theme);

// A 240 x 240 wall background that repeats seamlessly (layered slate).
QImage WallBackground(const Theme &theme);

}  // namespace assetgen
