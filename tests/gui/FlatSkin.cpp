#include "gui/FlatSkin.h"

#include <QImage>

#include "render/Skin.h"

namespace pav::test {

namespace {

// Distinct colours: the blue channel counts the pieces, so it never reaches the glyphs' 255.
int NextPiece = 0;

void Flat(QImage& piece, int width, int height) {
  ++NextPiece;
  piece = QImage(width, height, QImage::Format_RGB32);
  piece.fill(qRgb((NextPiece * 53) % 200 + 20, (NextPiece * 97) % 220 + 10, NextPiece % 240));
}

QImage Glyph(bool blank) {
  QImage glyph(8, 8, QImage::Format_RGB32);
  glyph.fill(FlatGlyphKey);
  if (!blank)
    for (int y = 0; y < 7; ++y)
      for (int x = 1; x < 8; ++x) glyph.setPixel(x, y, FlatGlyphInk);
  return glyph;
}

}  // namespace

void FillFlatSkin() {
  NextPiece = 0;
  TSkin& s = Skin();
  Flat(s.WallFace, 48, 48);
  for (QImage* p : {&s.WallOuterTL, &s.WallOuterTR, &s.WallOuterBL, &s.WallOuterBR, &s.WallInnerTL,
                    &s.WallInnerTR, &s.WallInnerBL, &s.WallInnerBR, &s.WallLeftGoesDown, &s.WallRightGoesDown,
                    &s.WallLeftGoesUp, &s.WallRightGoesUp, &s.WallTopGoesRight, &s.WallTopGoesLeft,
                    &s.WallBottomGoesRight, &s.WallBottomGoesLeft})
    Flat(*p, 8, 8);
  Flat(s.WallEdgeL, 8, 32);
  Flat(s.WallEdgeR, 8, 32);
  Flat(s.WallEdgeT, 32, 8);
  Flat(s.WallEdgeB, 32, 8);
  Flat(s.Floor, 48, 48);
  for (int k = 1; k <= 50; ++k) Flat(s.TilePicture[k], 48, 48);
  for (auto& column : s.BackgroundPiece)
    for (QImage& piece : column) Flat(piece, 48, 48);
  for (int state = 1; state <= 2; ++state) {
    Flat(s.JumpMarker[1][state], 8, 16);
    Flat(s.JumpMarker[2][state], 8, 16);
    Flat(s.JumpMarker[3][state], 16, 8);
    Flat(s.JumpMarker[4][state], 16, 8);
    for (int corner = 1; corner <= 4; ++corner) Flat(s.TurnMarker[corner][state], 8, 8);
  }
  for (QImage* p : {&s.FrameCornerTL, &s.FrameCornerTR, &s.FrameCornerBR, &s.FrameCornerBL, &s.FrameLeftTop,
                    &s.FrameLeftBottom, &s.FrameRightTop, &s.FrameRightBottom, &s.FrameTopLeft, &s.FrameTopRight,
                    &s.FrameBottomLeft, &s.FrameBottomRight, &s.JoinCornerBR, &s.JoinCornerTRPanel,
                    &s.JoinCornerBRPanel, &s.JoinCornerBL, &s.JoinRightTopPanel, &s.JoinRightBottomPanel,
                    &s.JoinBottomLeft, &s.JoinBottomRight})
    Flat(*p, 8, 8);
  Flat(s.FrameEdgeL, 8, 32);
  Flat(s.FrameEdgeR, 8, 32);
  Flat(s.JoinEdgeRPanel, 8, 32);
  Flat(s.FrameEdgeT, 32, 8);
  Flat(s.FrameEdgeB, 32, 8);
  Flat(s.JoinEdgeB, 32, 8);
  for (QImage* p : {&s.StatusLeft, &s.StatusMiddle, &s.StatusRight, &s.StatusRightPanel, &s.StatusCorner,
                    &s.PanelBottom, &s.PanelFiller, &s.PanelTop})
    Flat(*p, 48, 48);
  for (int state = 0; state <= 2; ++state) {
    for (QImage* set : {s.ButtonPlay, s.ButtonStop, s.ButtonConfig, s.ButtonInfo}) Flat(set[state], 48, 48);
    if (state > 0)
      for (QImage* set : {s.ButtonMinimize, s.ButtonClose, s.ButtonPanel}) Flat(set[state], 48, 48);
  }
  for (int c = 32; c <= 127; ++c) {
    s.WallFont[c] = Glyph(c == ' ');
    s.StatusFont[c] = Glyph(c == ' ');
  }
}

}  // namespace pav::test
