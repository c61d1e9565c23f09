// The skin of the window benchmarks: every skin bitmap at its size in a flat colour
// of its own, glyphs with a key. A flat piece costs the renderer what a real one does.
#pragma once

#include <QImage>

#include "render/Graphics.h"
#include "render/Skin.h"

namespace pav {

inline void FillSkin() {
  CreateSkinBitmaps();
  TSkin& s = Skin();
  int n = 0;
  auto paint = [&n](QImage& img) {
    ++n;
    img.fill(qRgb((n * 37) % 256, (n * 91) % 256, (n * 13) % 256));
  };
  for (QImage* img : {&s.WallFace, &s.Floor, &s.WallOuterTL, &s.WallOuterTR, &s.WallOuterBL, &s.WallOuterBR,
                      &s.WallEdgeL, &s.WallEdgeR, &s.WallEdgeT, &s.WallEdgeB, &s.StatusLeft, &s.StatusMiddle,
                      &s.StatusRight, &s.StatusRightPanel, &s.StatusCorner, &s.PanelBottom, &s.PanelFiller,
                      &s.PanelTop})
    paint(*img);
  for (int k = 1; k <= 50; ++k) paint(s.TilePicture[k]);
  for (auto& column : s.BackgroundPiece)
    for (QImage& piece : column) paint(piece);
  for (int c = 32; c <= 127; ++c)
    for (QImage* font : {&s.WallFont[c], &s.StatusFont[c]}) {
      font->fill(qRgb(255, 0, 255));
      if (c != 32)
        for (int y = 0; y < 7; ++y)
          for (int x = 1; x < 8; ++x)
            if ((x + y + c) % 3 != 0) font->setPixel(x, y, qRgb(255, 255, 255));
    }
}

}  // namespace pav
