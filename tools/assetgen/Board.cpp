#include "Board.h"

#include "Paint.h"

#include <QPainter>

namespace assetgen {

void DrawKeyed(QImage &target, const QImage &piece, int x, int y) {
  const QRgb key = piece.pixel(0, piece.height() - 1) | 0xff000000u;
  for (int j = 0; j < piece.height(); ++j) {
    for (int i = 0; i < piece.width(); ++i) {
      const QRgb c = piece.pixel(i, j) | 0xff000000u;
      const int tx = x + i, ty = y + j;
      if (c != key && tx >= 0 && ty >= 0 && tx < target.width() && ty < target.height()) target.setPixel(tx, ty, c);
    }
  }
}

SkinSet LoadSkinSet(const QImage &boardGraphics, const QImage &background, const QImage &tileSet,
                    const QImage &defaultTileSet) {
  SkinSet s;
  s.boardGraphics = boardGraphics.convertToFormat(QImage::Format_RGB32);
  if (!background.isNull()) s.background = background.convertToFormat(QImage::Format_RGB32).copy(0, 0, 240, 240);
  QImage canvas(std::max(480, tileSet.width()), std::max(240, tileSet.height()), QImage::Format_RGB32);
  canvas.fill(qRgb(0, 0, 0));
  const QImage floor = s.Piece(gb::Floor);
  const bool half = tileSet.width() == 240;
  if (half) Blit(canvas, defaultTileSet.convertToFormat(QImage::Format_RGB32), 0, 0);
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < (half ? 5 : 10); ++col) Blit(canvas, floor, col * 48, row * 48);
  DrawKeyed(canvas, tileSet.convertToFormat(QImage::Format_RGB32), 0, 0);
  for (int k = 1; k <= 50; ++k) {
    const Rect r = TileCell(k);
    s.tiles[size_t(k)] = canvas.copy(r.x, r.y, r.w, r.h);
  }
  return s;
}

namespace {

int Cell(const SampleBoard &b, int x, int y) {
  if (x < 0 || y < 0 || x > 21 || y > 16) return 0;
  return b.cells[size_t(x)][size_t(y)];
}

void DrawWallCells(QImage &img, const SkinSet &skin, const SampleBoard &b, bool useBackground) {
  using namespace gb;
  const bool bk = useBackground && !skin.background.isNull();
  for (int x = 1; x <= b.width; ++x) {
    for (int y = 1; y <= b.height; ++y) {
      const int v = Cell(b, x, y);
      if (v == 0) continue;
      const int px = (x - 1) * 48, py = (y - 1) * 48;
      if (bk) Blit(img, skin.background.copy((x % 5) * 48, (y % 5) * 48, 48, 48), px, py);
      else Blit(img, skin.Piece(WallFace), px, py);
      const bool L = Cell(b, x - 1, y) != v, R = Cell(b, x + 1, y) != v;
      const bool U = Cell(b, x, y - 1) != v, D = Cell(b, x, y + 1) != v;
      const bool UL = Cell(b, x - 1, y - 1) != v, UR = Cell(b, x + 1, y - 1) != v;
      const bool DL = Cell(b, x - 1, y + 1) != v, DR = Cell(b, x + 1, y + 1) != v;
      auto put = [&](bool when, const Rect &r, int ox, int oy) {
        if (when) Blit(img, skin.Piece(r), px + ox, py + oy);
      };
      put(L && U, WallOuterTL, 0, 0);
      put(R && U, WallOuterTR, 40, 0);
      put(L && D, WallOuterBL, 0, 40);
      put(R && D, WallOuterBR, 40, 40);
      put(L, WallEdgeL, 0, 8);
      put(R, WallEdgeR, 40, 8);
      put(U, WallEdgeT, 8, 0);
      put(D, WallEdgeB, 8, 40);
      put(!L && !U && UL, WallInnerTL, 0, 0);
      put(!R && !U && UR, WallInnerTR, 40, 0);
      put(!L && !D && DL, WallInnerBL, 0, 40);
      put(!R && !D && DR, WallInnerBR, 40, 40);
      put(L && !D, WallLeftGoesDown, 0, 40);
      put(R && !D, WallRightGoesDown, 40, 40);
      put(L && !U, WallLeftGoesUp, 0, 0);
      put(R && !U, WallRightGoesUp, 40, 0);
      put(U && !R, WallTopGoesRight, 40, 0);
      put(U && !L, WallTopGoesLeft, 0, 0);
      put(D && !R, WallBottomGoesRight, 40, 40);
      put(D && !L, WallBottomGoesLeft, 0, 40);
    }
  }
}

}  // namespace

QImage DrawWalls(const SkinSet &skin, const SampleBoard &board, bool useBackground) {
  QImage img(board.width * 48, board.height * 48, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 0));
  DrawWallCells(img, skin, board, useBackground);
  return img;
}

void DrawStatusText(QImage &target, const SkinSet &skin, int columns, int rows, const std::string &text, int slot) {
  std::string t = text;
  const size_t limit = size_t(std::max(0, columns * 6 - 4));
  if (t.size() > limit) t.resize(limit);
  const int len = int(t.size());
  const int line = (slot - 1) / 3;  // 0 lower, 1 middle, 2 upper
  const int y = rows * 48 + (line == 2 ? 15 : line == 1 ? 20 : 25);
  const int col = (slot - 1) % 3;  // 0 left, 1 centre, 2 right
  const int x = col == 0 ? 15 : col == 1 ? columns * 24 - len * 4 : columns * 48 - 15 - len * 8;
  for (int i = 0; i < len; ++i) {
    const int c = static_cast<unsigned char>(t[size_t(i)]);
    if (c < 32 || c > 127) continue;
    DrawKeyed(target, skin.Piece(gb::Glyph(gb::kStatusFontTop, c)), x + i * 8, y);
  }
}

QImage DrawBoard(const SkinSet &skin, const SampleBoard &b, bool panel, const std::vector<StatusText> &texts,
                 bool gameRunning, bool lit) {
  using namespace gb;
  const int W = b.width, H = b.height;
  QImage img((W + 1) * 48, (H + 1) * 48, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 0));
  DrawWallCells(img, skin, b, true);
  auto put = [&](const Rect &r, int x, int y) { Blit(img, skin.Piece(r), x, y); };
  for (int x = 1; x <= W; ++x) {
    const int px = (x - 1) * 48;
    put(FrameTopLeft, px, 0);
    put(FrameEdgeT, px + 8, 0);
    put(FrameTopRight, px + 40, 0);
    put(JoinBottomLeft, px, H * 48 - 8);
    put(JoinEdgeB, px + 8, H * 48 - 8);
    put(JoinBottomRight, px + 40, H * 48 - 8);
  }
  for (int y = 1; y <= H; ++y) {
    const int py = (y - 1) * 48;
    put(FrameLeftTop, 0, py);
    put(FrameEdgeL, 0, py + 8);
    put(FrameLeftBottom, 0, py + 40);
    put(panel ? JoinRightTopPanel : FrameRightTop, W * 48 - 8, py);
    put(panel ? JoinEdgeRPanel : FrameEdgeR, W * 48 - 8, py + 8);
    put(panel ? JoinRightBottomPanel : FrameRightBottom, W * 48 - 8, py + 40);
  }
  put(FrameCornerTL, 0, 0);
  put(panel ? JoinCornerTRPanel : FrameCornerTR, W * 48 - 8, 0);
  put(panel ? JoinCornerBRPanel : JoinCornerBR, W * 48 - 8, H * 48 - 8);
  put(JoinCornerBL, 0, H * 48 - 8);
  // Inscriptions on solid cells.
  for (size_t cy = 0; cy < b.text.size() && cy < 90; ++cy) {
    for (size_t cx = 0; cx < b.text[cy].size() && cx < 120; ++cx) {
      const int c = static_cast<unsigned char>(b.text[cy][cx]);
      if (c < 32 || c > 127) continue;
      const int bx = int(cx) / 6 + 1, by = int(cy) / 6 + 1;
      if (bx > W || by > H || Cell(b, bx, by) == 0) continue;
      DrawKeyed(img, skin.Piece(Glyph(kWallFontTop, c)), int(cx) * 8, int(cy) * 8);
    }
  }
  const int state = lit ? 1 : 0;
  for (const auto &j : b.jumps) {
    if (j[0] == 0) break;
    for (int e = 0; e < 2; ++e) {
      const int x = j[size_t(e * 3)], y = j[size_t(e * 3 + 1)], side = j[size_t(e * 3 + 2)];
      if (side < 1 || side > 4) continue;
      const int px = (x - 1) * 48, py = (y - 1) * 48;
      const int ox[4] = {8, 32, 16, 16}, oy[4] = {16, 16, 8, 32};
      put(JumpMarker[side - 1][state], px + ox[side - 1], py + oy[side - 1]);
    }
  }
  for (const auto &t : b.turns) {
    if (t[0] == 0) break;
    const int corner = t[2];
    if (corner < 1 || corner > 4) continue;
    const int px = (t[0] - 1) * 48, py = (t[1] - 1) * 48;
    const int ox[4] = {8, 32, 32, 8}, oy[4] = {8, 8, 32, 32};
    put(TurnMarker[corner - 1][state], px + ox[corner - 1], py + oy[corner - 1]);
  }
  // Status bar and side panel.
  put(StatusLeft, 0, H * 48);
  for (int x = 2; x <= W - 1; ++x) put(StatusMiddle, (x - 1) * 48, H * 48);
  put(panel ? StatusRightPanel : StatusRight, (W - 1) * 48, H * 48);
  put(StatusCorner, W * 48, H * 48);
  put(PanelBottom, W * 48, (H - 1) * 48);
  for (int y = 5; y <= H - 1; ++y) put(PanelFiller, W * 48, (y - 1) * 48);
  put(PanelTop, W * 48, 0);
  put(gameRunning ? ButtonStop[0] : ButtonPlay[0], W * 48, 48);
  put(ButtonConfig[0], W * 48, 96);
  put(ButtonInfo[0], W * 48, 144);
  for (const StatusText &t : texts) DrawStatusText(img, skin, W, H, t.text, t.slot);
  // The playing area.
  for (int x = 2; x <= W - 1; ++x) {
    for (int y = 2; y <= H - 1; ++y) {
      if (Cell(b, x, y) != 0) continue;
      const int k = b.tiles[size_t(x)][size_t(y)];
      if (k >= 1 && k <= 50) Blit(img, skin.tiles[size_t(k)], (x - 1) * 48, (y - 1) * 48);
      else put(Floor, (x - 1) * 48, (y - 1) * 48);
    }
  }
  if (!panel) img = img.copy(0, 0, W * 48, (H + 1) * 48);
  return img;
}

QImage SkinWindow(const SkinSet &skin, int width, int height, const std::string &title) {
  using namespace gb;
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(qRgb(0x80, 0x80, 0x80));
  const int cols = width / 48, rows = height / 48 - 1;
  auto put = [&](const Rect &r, int x, int y) { Blit(img, skin.Piece(r), x, y); };
  for (int x = 1; x <= cols; ++x) {
    const int px = (x - 1) * 48;
    put(FrameTopLeft, px, 0);
    put(FrameEdgeT, px + 8, 0);
    put(FrameTopRight, px + 40, 0);
    put(JoinBottomLeft, px, rows * 48 - 8);
    put(JoinEdgeB, px + 8, rows * 48 - 8);
    put(JoinBottomRight, px + 40, rows * 48 - 8);
  }
  for (int y = 1; y <= rows; ++y) {
    const int py = (y - 1) * 48;
    put(FrameLeftTop, 0, py);
    put(FrameEdgeL, 0, py + 8);
    put(FrameLeftBottom, 0, py + 40);
    put(FrameRightTop, cols * 48 - 8, py);
    put(FrameEdgeR, cols * 48 - 8, py + 8);
    put(FrameRightBottom, cols * 48 - 8, py + 40);
  }
  put(FrameCornerTL, 0, 0);
  put(FrameCornerTR, cols * 48 - 8, 0);
  put(JoinCornerBR, cols * 48 - 8, rows * 48 - 8);
  put(JoinCornerBL, 0, rows * 48 - 8);
  put(StatusLeft, 0, rows * 48);
  for (int x = 2; x <= cols - 1; ++x) put(StatusMiddle, (x - 1) * 48, rows * 48);
  put(StatusRight, (cols - 1) * 48, rows * 48);
  DrawStatusText(img, skin, cols, rows, title, 5);
  return img;
}

}  // namespace assetgen
