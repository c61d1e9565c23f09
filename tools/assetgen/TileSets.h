// Tile-set pictures: 48 x 48 numbered tiles in a grid of ten columns, drawn
// over the floor with the colour of the picture's bottom-left pixel as the key.
// Faces 41 to 50 of every set carry the glue mark (Glue.h).
#pragma once

#include <QImage>
#include <QRgb>

namespace assetgen {

// The key of the default set: a dark blue-grey that looks like the default floor,
// so that the set still looks right where the game draws it without keying.
inline constexpr QRgb kDefaultTileKey = 0xff262a33;

// 480 x 240: rounded raised tiles, a colour for each ten, bold white numbers.
QImage DefaultTiles();

// 480 x 240, stored as JPEG: square marble slabs filling their cells, with a
// dark grout line round each; the key is a grout pixel.
QImage MarbleTiles();

// 480 x 240: glossy balls with white labels, a colour for each ten.
QImage DotsTiles();

// 240 x 240, half a set: ivory pieces with dark numbers and a row of pips,
// one pip for each ten, for tiles 1-5, 11-15, 21-25, 31-35, 41-45; the game
// takes the others from the default set.
QImage PipsTiles();

}  // namespace assetgen
