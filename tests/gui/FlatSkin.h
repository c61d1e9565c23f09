// A skin of flat colours for the window tests: every skin bitmap gets its own
// colour, so a test can tell from one pixel which piece was drawn where.
#pragma once

#include <QRgb>

namespace pav::test {

// The key colour of the synthetic glyphs and the colour of their strokes.
constexpr QRgb FlatGlyphKey = 0xFFFF00FF;
constexpr QRgb FlatGlyphInk = 0xFFFFFFFF;

// Fills Skin() with flat pieces of the right sizes. Glyphs 32..127 of both fonts are
// drawn in FlatGlyphInk on FlatGlyphKey, the key in their left column and bottom row
// (so the bottom-left pixel is the key); the space glyph is all key.
void FillFlatSkin();

}  // namespace pav::test
