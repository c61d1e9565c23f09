// The renderer and graphics tests' skin: every skin bitmap a flat colour of its
// own, so one pixel tells which piece landed where. The table below is the
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

// Every piece of the board-graphics picture, glyphs excluded.
inline std::vector<TPieceSpec> BoardGraphicsTable() {
  TSkin& s = Skin();
  std::vector<TPieceSpec> t;
  auto add = [&](const char* name, QImage& img, int l, int tp, int w, int h) { t.push_back({name, &img, l, tp, w, h}); };
  add("FrameCornerTL", s.FrameCornerTL, 0, 0, 8, 8);
  add("FrameCornerTR", s.FrameCornerTR, 40, 0, 8, 8);
  add("FrameCornerBR", s.FrameCornerBR, 40, 40, 8, 8);
  add("FrameCornerBL", s.FrameCornerBL, 0, 40, 8, 8);
  add("FrameEdgeL", s.FrameEdgeL, 0, 8, 8, 32);
  add("FrameEdgeR", s.FrameEdgeR, 40, 8, 8, 32);
  add("FrameEdgeT", s.FrameEdgeT, 8, 0, 32, 8);
  add("FrameEdgeB", s.FrameEdgeB, 8, 40, 32, 8);
  add("FrameLeftTop", s.FrameLeftTop, 8, 16, 8, 8);
  add("FrameLeftBottom", s.FrameLeftBottom, 8, 24, 8, 8);
  add("FrameRightTop", s.FrameRightTop, 32, 16, 8, 8);
  add("FrameRightBottom", s.FrameRightBottom, 32, 24, 8, 8);
  add("FrameTopLeft", s.FrameTopLeft, 16, 8, 8, 8);
  add("FrameTopRight", s.FrameTopRight, 24, 8, 8, 8);
  add("FrameBottomLeft", s.FrameBottomLeft, 16, 32, 8, 8);
  add("FrameBottomRight", s.FrameBottomRight, 24, 32, 8, 8);
  add("JoinCornerBR", s.JoinCornerBR, 40, 56, 8, 8);
  add("JoinCornerTRPanel", s.JoinCornerTRPanel, 56, 0, 8, 8);
  add("JoinCornerBRPanel", s.JoinCornerBRPanel, 56, 40, 8, 8);
  add("JoinCornerBL", s.JoinCornerBL, 0, 56, 8, 8);
  add("JoinEdgeRPanel", s.JoinEdgeRPanel, 56, 8, 8, 32);
  add("JoinEdgeB", s.JoinEdgeB, 8, 56, 32, 8);
  add("JoinRightTopPanel", s.JoinRightTopPanel, 48, 16, 8, 8);
  add("JoinRightBottomPanel", s.JoinRightBottomPanel, 48, 24, 8, 8);
  add("JoinBottomLeft", s.JoinBottomLeft, 16, 48, 8, 8);
  add("JoinBottomRight", s.JoinBottomRight, 24, 48, 8, 8);
  add("Floor", s.Floor, 48, 48, 48, 48);
  add("WallFace", s.WallFace, 144, 0, 48, 48);
  add("WallOuterTL", s.WallOuterTL, 96, 0, 8, 8);
  add("WallOuterTR", s.WallOuterTR, 136, 0, 8, 8);
  add("WallOuterBL", s.WallOuterBL, 96, 40, 8, 8);
  add("WallOuterBR", s.WallOuterBR, 136, 40, 8, 8);
  add("WallEdgeL", s.WallEdgeL, 96, 8, 8, 32);
  add("WallEdgeR", s.WallEdgeR, 136, 8, 8, 32);
  add("WallEdgeT", s.WallEdgeT, 104, 0, 32, 8);
  add("WallEdgeB", s.WallEdgeB, 104, 40, 32, 8);
  add("WallInnerTL", s.WallInnerTL, 112, 16, 8, 8);
  add("WallInnerTR", s.WallInnerTR, 120, 16, 8, 8);
  add("WallInnerBL", s.WallInnerBL, 112, 24, 8, 8);
  add("WallInnerBR", s.WallInnerBR, 120, 24, 8, 8);
  add("WallLeftGoesDown", s.WallLeftGoesDown, 112, 8, 8, 8);
  add("WallRightGoesDown", s.WallRightGoesDown, 120, 8, 8, 8);
  add("WallLeftGoesUp", s.WallLeftGoesUp, 112, 32, 8, 8);
  add("WallRightGoesUp", s.WallRightGoesUp, 120, 32, 8, 8);
  add("WallTopGoesRight", s.WallTopGoesRight, 104, 16, 8, 8);
  add("WallTopGoesLeft", s.WallTopGoesLeft, 128, 16, 8, 8);
  add("WallBottomGoesRight", s.WallBottomGoesRight, 104, 24, 8, 8);
  add("WallBottomGoesLeft", s.WallBottomGoesLeft, 128, 24, 8, 8);
  add("Jump1a", s.JumpMarker[1][1], 104, 64, 8, 16);
  add("Jump2a", s.JumpMarker[2][1], 128, 64, 8, 16);
  add("Jump3a", s.JumpMarker[3][1], 112, 56, 16, 8);
  add("Jump4a", s.JumpMarker[4][1], 112, 80, 16, 8);
  add("Jump1b", s.JumpMarker[1][2], 152, 64, 8, 16);
  add("Jump2b", s.JumpMarker[2][2], 176, 64, 8, 16);
  add("Jump3b", s.JumpMarker[3][2], 160, 56, 16, 8);
  add("Jump4b", s.JumpMarker[4][2], 160, 80, 16, 8);
  add("Turn1a", s.TurnMarker[1][1], 104, 56, 8, 8);
  add("Turn2a", s.TurnMarker[2][1], 128, 56, 8, 8);
  add("Turn3a", s.TurnMarker[3][1], 128, 80, 8, 8);
  add("Turn4a", s.TurnMarker[4][1], 104, 80, 8, 8);
  add("Turn1b", s.TurnMarker[1][2], 152, 56, 8, 8);
  add("Turn2b", s.TurnMarker[2][2], 176, 56, 8, 8);
  add("Turn3b", s.TurnMarker[3][2], 176, 80, 8, 8);
  add("Turn4b", s.TurnMarker[4][2], 152, 80, 8, 8);
  add("StatusLeft", s.StatusLeft, 0, 96, 48, 48);
  add("StatusMiddle", s.StatusMiddle, 48, 96, 48, 48);
  add("StatusRight", s.StatusRight, 96, 96, 48, 48);
  add("StatusRightPanel", s.StatusRightPanel, 144, 96, 48, 48);
  add("StatusCorner", s.StatusCorner, 192, 96, 48, 48);
  add("PanelBottom", s.PanelBottom, 192, 48, 48, 48);
  add("PanelFiller", s.PanelFiller, 288, 144, 48, 48);
  add("PanelTop", s.PanelTop, 192, 0, 48, 48);
  add("MinimizeHover", s.ButtonMinimize[1], 240, 0, 48, 48);
  add("MinimizePressed", s.ButtonMinimize[2], 288, 0, 48, 48);
  add("CloseHover", s.ButtonClose[1], 240, 48, 48, 48);
  add("ClosePressed", s.ButtonClose[2], 288, 48, 48, 48);
  add("PanelHover", s.ButtonPanel[1], 240, 96, 48, 48);
  add("PanelPressed", s.ButtonPanel[2], 288, 96, 48, 48);
  const char* states[3] = {"Rest", "Hover", "Pressed"};
  const std::pair<const char*, QImage*> buttons[4] = {
      {"Play", s.ButtonPlay}, {"Stop", s.ButtonStop}, {"Config", s.ButtonConfig}, {"Info", s.ButtonInfo}};
  for (int r = 0; r < 4; ++r)
    for (int st = 0; st < 3; ++st)
      t.push_back({std::string(buttons[r].first) + states[st], &buttons[r].second[st], 336 + 48 * st, 48 * r, 48, 48});
  return t;
}

// Glyph colours: the key is magenta; the ink's red channel is the character code.
constexpr QRgb GlyphKey = 0xFFFF00FF;
inline QRgb WallInk(int c) { return qRgb(c, 200, 50); }
inline QRgb StatusInk(int c) { return qRgb(c, 220, 60); }
inline bool IsStatusInk(QRgb p) { return qGreen(p) == 220 && qBlue(p) == 60; }
inline bool IsWallInk(QRgb p) { return qGreen(p) == 200 && qBlue(p) == 50; }

// A glyph: key in its left column and bottom row, ink elsewhere; the space is all key.
inline QImage Glyph(int c, QRgb ink) {
  QImage g(8, 8, QImage::Format_RGB32);
  g.fill(GlyphKey);
  if (c != 32)
    for (int y = 0; y < 7; ++y)
      for (int x = 1; x < 8; ++x) g.setPixel(x, y, ink);
  return g;
}

// Flat colours: blue is 100 for the board-graphics pieces, 140 for tiles, 180
// for background pieces; red and green count.
inline QRgb PieceColour(int i, int group) { return qRgb(10 + (i * 7) % 240, 10 + i / 34 * 20, group); }

class TTestSkin {
 public:
  std::map<QRgb, std::string> Names;

  // Fills Skin() with the flat pieces.
  void Fill() {
    Names.clear();
    int i = 0;
    for (const TPieceSpec& p : BoardGraphicsTable()) Set(*p.Target, p.Width, p.Height, PieceColour(i++, 100), p.Name);
    TSkin& s = Skin();
    for (int k = 1; k <= 50; ++k) Set(s.TilePicture[k], 48, 48, PieceColour(k, 140), "Tile" + std::to_string(k));
    for (int a = 0; a < 5; ++a)
      for (int b = 0; b < 5; ++b)
        Set(s.BackgroundPiece[a][b], 48, 48, PieceColour(a * 5 + b, 180),
            "Background" + std::to_string(a) + std::to_string(b));
    for (int c = 32; c <= 127; ++c) {
      s.WallFont[c] = Glyph(c, WallInk(c));
      s.StatusFont[c] = Glyph(c, StatusInk(c));
    }
    s.ButtonMinimize[0] = s.ButtonClose[0] = s.ButtonPanel[0] = QImage();
  }

  // The piece whose colour the pixel has, "?" for anything else.
  std::string At(const QImage& pic, int x, int y) const {
    const QRgb p = pic.pixel(x, y);
    const auto it = Names.find(p);
    if (it != Names.end()) return it->second;
    if (IsWallInk(p)) return "WallInk" + std::to_string(qRed(p));
    if (IsStatusInk(p)) return "StatusInk" + std::to_string(qRed(p));
    return "?";
  }

 private:
  void Set(QImage& img, int w, int h, QRgb colour, const std::string& name) {
    img = QImage(w, h, QImage::Format_RGB32);
    img.fill(colour);
    Names[colour] = name;
  }
};

}  // namespace pav::rtest
