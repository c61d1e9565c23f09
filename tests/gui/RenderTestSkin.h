// The renderer and graphics tests' skin: every skin bitmap a flat colour of its
// own, so one pixel tells which piece landed where. The table is the
// board-graphics layout written out once more, independently of the game's, so
// the graphics tests can draw a board-graphics picture from it and check the cuts.
#pragma once

#include <QImage>
#include <QRgb>
#include <map>
#include <string>
#include <vector>

#include "render/Skin.h"

namespace pav::rtest {

struct TPieceSpec {
  std::string Name;
  QImage* Target;
  int Left, Top, Width, Height;
};

// Every piece of the board-graphics picture but the glyphs; named after its field.
inline std::vector<TPieceSpec> BoardGraphicsTable() {
  TSkin& s = Skin();
#define PAV_PIECE(field, l, t, w, h) TPieceSpec{#field, &s.field, l, t, w, h}
  return {
      PAV_PIECE(FrameCornerTL, 0, 0, 8, 8), PAV_PIECE(FrameCornerTR, 40, 0, 8, 8),
      PAV_PIECE(FrameCornerBR, 40, 40, 8, 8), PAV_PIECE(FrameCornerBL, 0, 40, 8, 8),
      PAV_PIECE(FrameEdgeL, 0, 8, 8, 32), PAV_PIECE(FrameEdgeR, 40, 8, 8, 32), PAV_PIECE(FrameEdgeT, 8, 0, 32, 8),
      PAV_PIECE(FrameEdgeB, 8, 40, 32, 8), PAV_PIECE(FrameLeftTop, 8, 16, 8, 8), PAV_PIECE(FrameLeftBottom, 8, 24, 8, 8),
      PAV_PIECE(FrameRightTop, 32, 16, 8, 8), PAV_PIECE(FrameRightBottom, 32, 24, 8, 8),
      PAV_PIECE(FrameTopLeft, 16, 8, 8, 8), PAV_PIECE(FrameTopRight, 24, 8, 8, 8),
      PAV_PIECE(FrameBottomLeft, 16, 32, 8, 8), PAV_PIECE(FrameBottomRight, 24, 32, 8, 8),
      PAV_PIECE(JoinCornerBR, 40, 56, 8, 8), PAV_PIECE(JoinCornerTRPanel, 56, 0, 8, 8),
      PAV_PIECE(JoinCornerBRPanel, 56, 40, 8, 8), PAV_PIECE(JoinCornerBL, 0, 56, 8, 8),
      PAV_PIECE(JoinEdgeRPanel, 56, 8, 8, 32), PAV_PIECE(JoinEdgeB, 8, 56, 32, 8),
      PAV_PIECE(JoinRightTopPanel, 48, 16, 8, 8), PAV_PIECE(JoinRightBottomPanel, 48, 24, 8, 8),
      PAV_PIECE(JoinBottomLeft, 16, 48, 8, 8), PAV_PIECE(JoinBottomRight, 24, 48, 8, 8),
      PAV_PIECE(Floor, 48, 48, 48, 48), PAV_PIECE(WallFace, 144, 0, 48, 48),
      PAV_PIECE(WallOuterTL, 96, 0, 8, 8), PAV_PIECE(WallOuterTR, 136, 0, 8, 8), PAV_PIECE(WallOuterBL, 96, 40, 8, 8),
      PAV_PIECE(WallOuterBR, 136, 40, 8, 8), PAV_PIECE(WallEdgeL, 96, 8, 8, 32), PAV_PIECE(WallEdgeR, 136, 8, 8, 32),
      PAV_PIECE(WallEdgeT, 104, 0, 32, 8), PAV_PIECE(WallEdgeB, 104, 40, 32, 8),
      PAV_PIECE(WallInnerTL, 112, 16, 8, 8), PAV_PIECE(WallInnerTR, 120, 16, 8, 8),
      PAV_PIECE(WallInnerBL, 112, 24, 8, 8), PAV_PIECE(WallInnerBR, 120, 24, 8, 8),
      PAV_PIECE(WallLeftGoesDown, 112, 8, 8, 8), PAV_PIECE(WallRightGoesDown, 120, 8, 8, 8),
      PAV_PIECE(WallLeftGoesUp, 112, 32, 8, 8), PAV_PIECE(WallRightGoesUp, 120, 32, 8, 8),
      PAV_PIECE(WallTopGoesRight, 104, 16, 8, 8), PAV_PIECE(WallTopGoesLeft, 128, 16, 8, 8),
      PAV_PIECE(WallBottomGoesRight, 104, 24, 8, 8), PAV_PIECE(WallBottomGoesLeft, 128, 24, 8, 8),
      PAV_PIECE(JumpMarker[1][1], 104, 64, 8, 16), PAV_PIECE(JumpMarker[2][1], 128, 64, 8, 16),
      PAV_PIECE(JumpMarker[3][1], 112, 56, 16, 8), PAV_PIECE(JumpMarker[4][1], 112, 80, 16, 8),
      PAV_PIECE(JumpMarker[1][2], 152, 64, 8, 16), PAV_PIECE(JumpMarker[2][2], 176, 64, 8, 16),
      PAV_PIECE(JumpMarker[3][2], 160, 56, 16, 8), PAV_PIECE(JumpMarker[4][2], 160, 80, 16, 8),
      PAV_PIECE(TurnMarker[1][1], 104, 56, 8, 8), PAV_PIECE(TurnMarker[2][1], 128, 56, 8, 8),
      PAV_PIECE(TurnMarker[3][1], 128, 80, 8, 8), PAV_PIECE(TurnMarker[4][1], 104, 80, 8, 8),
      PAV_PIECE(TurnMarker[1][2], 152, 56, 8, 8), PAV_PIECE(TurnMarker[2][2], 176, 56, 8, 8),
      PAV_PIECE(TurnMarker[3][2], 176, 80, 8, 8), PAV_PIECE(TurnMarker[4][2], 152, 80, 8, 8),
      PAV_PIECE(StatusLeft, 0, 96, 48, 48), PAV_PIECE(StatusMiddle, 48, 96, 48, 48),
      PAV_PIECE(StatusRight, 96, 96, 48, 48), PAV_PIECE(StatusRightPanel, 144, 96, 48, 48),
      PAV_PIECE(StatusCorner, 192, 96, 48, 48), PAV_PIECE(PanelBottom, 192, 48, 48, 48),
      PAV_PIECE(PanelFiller, 288, 144, 48, 48), PAV_PIECE(PanelTop, 192, 0, 48, 48),
      PAV_PIECE(ButtonMinimize[1], 240, 0, 48, 48), PAV_PIECE(ButtonMinimize[2], 288, 0, 48, 48),
      PAV_PIECE(ButtonClose[1], 240, 48, 48, 48), PAV_PIECE(ButtonClose[2], 288, 48, 48, 48),
      PAV_PIECE(ButtonPanel[1], 240, 96, 48, 48), PAV_PIECE(ButtonPanel[2], 288, 96, 48, 48),
      PAV_PIECE(ButtonPlay[0], 336, 0, 48, 48), PAV_PIECE(ButtonPlay[1], 384, 0, 48, 48),
      PAV_PIECE(ButtonPlay[2], 432, 0, 48, 48), PAV_PIECE(ButtonStop[0], 336, 48, 48, 48),
      PAV_PIECE(ButtonStop[1], 384, 48, 48, 48), PAV_PIECE(ButtonStop[2], 432, 48, 48, 48),
      PAV_PIECE(ButtonConfig[0], 336, 96, 48, 48), PAV_PIECE(ButtonConfig[1], 384, 96, 48, 48),
      PAV_PIECE(ButtonConfig[2], 432, 96, 48, 48), PAV_PIECE(ButtonInfo[0], 336, 144, 48, 48),
      PAV_PIECE(ButtonInfo[1], 384, 144, 48, 48), PAV_PIECE(ButtonInfo[2], 432, 144, 48, 48),
  };
#undef PAV_PIECE
}

// Glyphs: the key is magenta, the ink's red channel is the character code.
constexpr QRgb GlyphKey = 0xFFFF00FF;
inline QRgb WallInk(int c) { return qRgb(c, 200, 50); }
inline QRgb StatusInk(int c) { return qRgb(c, 220, 60); }
inline bool IsStatusInk(QRgb p) { return qGreen(p) == 220 && qBlue(p) == 60; }

// A glyph: key in its left column and bottom row, ink elsewhere; the space is all key.
inline QImage Glyph(int c, QRgb ink) {
  QImage g(8, 8, QImage::Format_RGB32);
  g.fill(GlyphKey);
  for (int y = 0; y < 7 && c != 32; ++y)
    for (int x = 1; x < 8; ++x) g.setPixel(x, y, ink);
  return g;
}

// Flat colours, told apart by blue: 100 board-graphics pieces, 140 tiles, 180 background.
inline QRgb PieceColour(int i, int group) { return qRgb(10 + (i * 7) % 240, 10 + i / 34 * 20, group); }

class TTestSkin {
 public:
  std::map<QRgb, std::string> Names;

  void Fill() {
    Names.clear();
    TSkin& s = Skin();
    int i = 0;
    for (const TPieceSpec& p : BoardGraphicsTable()) Set(*p.Target, p.Width, p.Height, PieceColour(i++, 100), p.Name);
    for (int k = 1; k <= 50; ++k) Set(s.TilePicture[k], 48, 48, PieceColour(k, 140), "Tile" + std::to_string(k));
    for (int a = 0; a < 5; ++a)
      for (int b = 0; b < 5; ++b)
        Set(s.BackgroundPiece[a][b], 48, 48, PieceColour(a * 5 + b, 180), "Bk" + std::to_string(a) + std::to_string(b));
    for (int c = 32; c <= 127; ++c) {
      s.WallFont[c] = Glyph(c, WallInk(c));
      s.StatusFont[c] = Glyph(c, StatusInk(c));
    }
  }
  // The piece whose colour the pixel has; ink as "Ink" + code; "?" for anything else.
  std::string At(const QImage& pic, int x, int y) const {
    const QRgb p = pic.pixel(x, y);
    const auto it = Names.find(p);
    if (it != Names.end()) return it->second;
    return (qGreen(p) == 200 && qBlue(p) == 50) ? "Ink" + std::to_string(qRed(p)) : "?";
  }

 private:
  void Set(QImage& img, int w, int h, QRgb colour, const std::string& name) {
    img = QImage(w, h, QImage::Format_RGB32);
    img.fill(colour);
    Names[colour] = name;
  }
};

}  // namespace pav::rtest
