// The game's 8 x 8 bitmap font, drawn by hand: one 5-pixel-wide glyph per
// character code 32..127, capitals 7 pixels high, descenders one row lower.
#pragma once

namespace assetgen {

// Row r (0..7, top to bottom) of the glyph of character code c (32..127) as a
// bit mask of 5 columns: bit 4 is the leftmost column, bit 0 the rightmost.
// Codes outside 32..127 give an empty glyph.
unsigned GlyphRow(int c, int r);

}  // namespace assetgen
