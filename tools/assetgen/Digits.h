// Bold rounded digits for the numbered tiles, drawn as pen strokes so that
// they need no installed font and look the same on every machine.
#pragma once

#include <QPainterPath>

namespace assetgen {

// The filled outline of the decimal number n (0..99) as a monoline stroke of
// width `stroke`, its ink `height` pixels high, centred on (0, 0).
QPainterPath NumberOutline(int n, double height, double stroke);

}  // namespace assetgen
