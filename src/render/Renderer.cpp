#include "render/Renderer.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/AppState.h"
#include "render/Skin.h"

namespace pav {

namespace {

bool Is32Bit(QImage::Format f) {
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// The part of a w x h source placed at (x, y) that falls on the target.
struct TClip {
  int SrcX, SrcY, DstX, DstY, W, H;
};
bool ClipTo(const QImage& target, int x, int y, int w, int h, TClip& c) {
  c.SrcX = x < 0 ? -x : 0;
  c.SrcY = y < 0 ? -y : 0;
  c.DstX = x + c.SrcX;
  c.DstY = y + c.SrcY;
  c.W = std::min(w - c.SrcX, target.width() - c.DstX);
  c.H = std::min(h - c.SrcY, target.height() - c.DstY);
  return c.W > 0 && c.H > 0;
}

// The wall font's glyphs prepared for the text layer, which may draw thousands
// of them: for an 8 x 8 RGB32 glyph, its pixels and a bit per pixel that is not
// the key (so a glyph made only of its key colour draws nothing). Kept per glyph
// picture until that picture changes.
struct TGlyphCache {
  qint64 Key[128];
  bool Fast[128];
  std::uint64_t Mask[128];
  QRgb Pixels[128][64];
  TGlyphCache() { std::fill(std::begin(Key), std::end(Key), -1); }
  void Refresh(const QImage& g, int c) {
    if (g.cacheKey() == Key[c]) return;
    Key[c] = g.cacheKey();
    Fast[c] = g.width() == 8 && g.height() == 8 && g.format() == QImage::Format_RGB32;
    Mask[c] = 0;
    if (!Fast[c]) return;
    const QRgb key = g.pixel(0, 7) & 0xFFFFFF;
    for (int y = 0; y < 8; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(g.constScanLine(y));
      for (int x = 0; x < 8; ++x) {
        Pixels[c][y * 8 + x] = line[x];
        if ((line[x] & 0xFFFFFF) != key) Mask[c] |= std::uint64_t{1} << (y * 8 + x);
      }
    }
  }
  // Draws glyph c at (x, y), which lies wholly inside the RGB32 picture.
  void Draw(QImage& pic, const QImage& g, int c, int x, int y) {
    Refresh(g, c);
    if (!Fast[c]) {
      BlitKeyed(pic, x, y, g);
      return;
    }
    const std::uint64_t mask = Mask[c];
    if (mask == 0) return;
    uchar* base = pic.bits();
    const qsizetype line = pic.bytesPerLine();
    for (int row = 0; row < 8; ++row) {
      unsigned bits = static_cast<unsigned>(mask >> (row * 8)) & 0xFFu;
      if (bits == 0) continue;
      auto* out = reinterpret_cast<QRgb*>(base + (y + row) * line) + x;
      const QRgb* in = Pixels[c] + row * 8;
      for (int i = 0; bits != 0; ++i, bits >>= 1)
        if (bits & 1u) out[i] = in[i];
    }
  }
};
TGlyphCache WallGlyphs;

// Board cell values with everything outside the board reading as 0.
struct TCells {
  const TBoard& B;
  int W, H;
  int operator()(int x, int y) const { return (x < 1 || y < 1 || x > W || y > H) ? 0 : B.Cells[x][y]; }
};

int BoardWidth(const TBoard& b) { return std::min<int>(b.Width, MaxCols); }
int BoardHeight(const TBoard& b) { return std::min<int>(b.Height, MaxRows); }

std::string Cut(std::string s, std::size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

// Step 1 of DrawBoard: the picture is (Width+1) x (Height+1) cells, RGB32,
// keeping what it held; new parts start black.
void SizePicture(QImage& pic, int w, int h) {
  const QSize size((w + 1) * CellSize, (h + 1) * CellSize);
  if (pic.size() == size && pic.format() == QImage::Format_RGB32) return;
  QImage fresh(size, QImage::Format_RGB32);
  fresh.fill(Qt::black);
  if (!pic.isNull()) Blit(fresh, 0, 0, pic.format() == QImage::Format_RGB32 ? pic : pic.convertToFormat(QImage::Format_RGB32));
  pic = std::move(fresh);
}

void DrawWalls(QImage& pic, const TBoard& b, int w, int h, bool background) {
  const TSkin& s = Skin();
  const TCells cell{b, w, h};
  for (int x = 1; x <= w; ++x)
    for (int y = 1; y <= h; ++y) {
      const int v = cell(x, y);
      if (v == 0) continue;
      const int px = (x - 1) * CellSize, py = (y - 1) * CellSize;
      Blit(pic, px, py, background ? s.BackgroundPiece[x % 5][y % 5] : s.WallFace);
      const bool l = cell(x - 1, y) != v, r = cell(x + 1, y) != v;
      const bool u = cell(x, y - 1) != v, d = cell(x, y + 1) != v;
      const bool ul = cell(x - 1, y - 1) != v, ur = cell(x + 1, y - 1) != v;
      const bool dl = cell(x - 1, y + 1) != v, dr = cell(x + 1, y + 1) != v;
      if (l && u) Blit(pic, px, py, s.WallOuterTL);
      if (r && u) Blit(pic, px + 40, py, s.WallOuterTR);
      if (l && d) Blit(pic, px, py + 40, s.WallOuterBL);
      if (r && d) Blit(pic, px + 40, py + 40, s.WallOuterBR);
      if (l) Blit(pic, px, py + 8, s.WallEdgeL);
      if (r) Blit(pic, px + 40, py + 8, s.WallEdgeR);
      if (u) Blit(pic, px + 8, py, s.WallEdgeT);
      if (d) Blit(pic, px + 8, py + 40, s.WallEdgeB);
      if (!l && !u && ul) Blit(pic, px, py, s.WallInnerTL);
      if (!r && !u && ur) Blit(pic, px + 40, py, s.WallInnerTR);
      if (!l && !d && dl) Blit(pic, px, py + 40, s.WallInnerBL);
      if (!r && !d && dr) Blit(pic, px + 40, py + 40, s.WallInnerBR);
      if (l && !d) Blit(pic, px, py + 40, s.WallLeftGoesDown);
      if (r && !d) Blit(pic, px + 40, py + 40, s.WallRightGoesDown);
      if (l && !u) Blit(pic, px, py, s.WallLeftGoesUp);
      if (r && !u) Blit(pic, px + 40, py, s.WallRightGoesUp);
      if (u && !r) Blit(pic, px + 40, py, s.WallTopGoesRight);
      if (u && !l) Blit(pic, px, py, s.WallTopGoesLeft);
      if (d && !r) Blit(pic, px + 40, py + 40, s.WallBottomGoesRight);
      if (d && !l) Blit(pic, px, py + 40, s.WallBottomGoesLeft);
    }
}

// The right frame column (step 3, right part) and the two right corners (step 4).
void DrawRightFrame(QImage& pic, int w, int h, bool panel) {
  const TSkin& s = Skin();
  const int fx = w * CellSize - 8;
  for (int y = 1; y <= h; ++y) {
    const int py = (y - 1) * CellSize;
    Blit(pic, fx, py, panel ? s.JoinRightTopPanel : s.FrameRightTop);
    Blit(pic, fx, py + 8, panel ? s.JoinEdgeRPanel : s.FrameEdgeR);
    Blit(pic, fx, py + 40, panel ? s.JoinRightBottomPanel : s.FrameRightBottom);
  }
}
void DrawRightCorners(QImage& pic, int w, int h, bool panel) {
  const TSkin& s = Skin();
  Blit(pic, w * CellSize - 8, 0, panel ? s.JoinCornerTRPanel : s.FrameCornerTR);
  Blit(pic, w * CellSize - 8, h * CellSize - 8, panel ? s.JoinCornerBRPanel : s.JoinCornerBR);
}

void DrawFrame(QImage& pic, int w, int h, bool panel) {
  const TSkin& s = Skin();
  const int by = h * CellSize - 8;
  for (int x = 1; x <= w; ++x) {
    const int px = (x - 1) * CellSize;
    Blit(pic, px, 0, s.FrameTopLeft);
    Blit(pic, px + 8, 0, s.FrameEdgeT);
    Blit(pic, px + 40, 0, s.FrameTopRight);
    Blit(pic, px, by, s.JoinBottomLeft);
    Blit(pic, px + 8, by, s.JoinEdgeB);
    Blit(pic, px + 40, by, s.JoinBottomRight);
  }
  for (int y = 1; y <= h; ++y) {
    const int py = (y - 1) * CellSize;
    Blit(pic, 0, py, s.FrameLeftTop);
    Blit(pic, 0, py + 8, s.FrameEdgeL);
    Blit(pic, 0, py + 40, s.FrameLeftBottom);
  }
  DrawRightFrame(pic, w, h, panel);
  // Step 4: the corners.
  Blit(pic, 0, 0, s.FrameCornerTL);
  DrawRightCorners(pic, w, h, panel);
  Blit(pic, 0, by, s.JoinCornerBL);
}

void DrawTextLayer(QImage& pic, const TBoard& b, int w, int h) {
  const TSkin& s = Skin();
  const TCells cell{b, w, h};
  for (int cx = 1; cx <= CellTextCols; ++cx) {
    const int x = (cx - 1) / 6 + 1;
    if (x > w) break;
    for (int cy = 1; cy <= CellTextRows; ++cy) {
      const int c = b.CellText[cx - 1][cy - 1];
      if (c < 32 || c > 127) continue;
      const int y = (cy - 1) / 6 + 1;
      if (y > h) break;
      if (cell(x, y) == 0) continue;
      WallGlyphs.Draw(pic, s.WallFont[c], c, (cx - 1) * 8, (cy - 1) * 8);
    }
  }
}

void DrawMarkers(QImage& pic, const TBoard& b) {
  for (int i = 0; i < MaxJumps; ++i) {
    const TJump& j = b.Jumps[i];
    if (j.X1 == 0) break;
    DrawJumpMarker(pic, j.X1, j.Y1, j.Side1, 1);
    DrawJumpMarker(pic, j.X2, j.Y2, j.Side2, 1);
  }
  for (int i = 0; i < MaxTurns; ++i) {
    const TTurn& t = b.Turns[i];
    if (t.X == 0) break;
    DrawTurnMarker(pic, t.X, t.Y, t.Corner, 1);
  }
}

void DrawStatusBar(QImage& pic, int w, int h, bool panel) {
  const TSkin& s = Skin();
  const int sy = h * CellSize;
  Blit(pic, 0, sy, s.StatusLeft);
  for (int x = 2; x <= w - 1; ++x) Blit(pic, (x - 1) * CellSize, sy, s.StatusMiddle);
  Blit(pic, (w - 1) * CellSize, sy, panel ? s.StatusRightPanel : s.StatusRight);
  Blit(pic, w * CellSize, sy, s.StatusCorner);
  Blit(pic, w * CellSize, (h - 1) * CellSize, s.PanelBottom);
  for (int y = 5; y <= h - 1; ++y) Blit(pic, w * CellSize, (y - 1) * CellSize, s.PanelFiller);
  RedrawSidePanel(pic);
}

void DrawFloor(QImage& pic, const TGame& g, int w, int h) {
  const TSkin& s = Skin();
  for (int x = 2; x <= w - 1; ++x)
    for (int y = 2; y <= h - 1; ++y) {
      if (g.Board.Cells[x][y] != 0) continue;
      const int k = g.Current.Tiles[x][y];
      Blit(pic, (x - 1) * CellSize, (y - 1) * CellSize, k >= 1 && k <= MaxTileFace ? s.TilePicture[k] : s.Floor);
    }
}

std::string SecondsText() { return std::to_string(App().Game().Seconds) + " S"; }
std::string MovesText() { return std::to_string(App().Game().Moves) + " M"; }

}  // namespace

QImage& MainPicture() {
  static QImage picture;
  return picture;
}

void Blit(QImage& target, int x, int y, const QImage& src) {
  if (src.isNull() || target.isNull()) return;
  TClip c;
  if (!ClipTo(target, x, y, src.width(), src.height(), c)) return;
  if (Is32Bit(target.format()) && (src.format() == QImage::Format_RGB32 || src.format() == target.format())) {
    uchar* dst = target.bits();
    const qsizetype dstLine = target.bytesPerLine();
    const uchar* from = src.constBits();
    const qsizetype srcLine = src.bytesPerLine();
    const std::size_t bytes = static_cast<std::size_t>(c.W) * 4;
    for (int row = 0; row < c.H; ++row)
      std::memcpy(dst + (c.DstY + row) * dstLine + c.DstX * 4, from + (c.SrcY + row) * srcLine + c.SrcX * 4, bytes);
    return;
  }
  QPainter p(&target);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(x, y), src);
}

void BlitKeyed(QImage& target, int x, int y, const QImage& src) {
  if (src.isNull() || target.isNull()) return;
  TClip c;
  if (!ClipTo(target, x, y, src.width(), src.height(), c)) return;
  const QRgb key = src.pixel(0, src.height() - 1) & 0xFFFFFF;
  if (Is32Bit(target.format()) && src.format() == QImage::Format_RGB32) {
    uchar* dst = target.bits();
    const qsizetype dstLine = target.bytesPerLine();
    for (int row = 0; row < c.H; ++row) {
      auto* out = reinterpret_cast<QRgb*>(dst + (c.DstY + row) * dstLine) + c.DstX;
      const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(c.SrcY + row)) + c.SrcX;
      for (int i = 0; i < c.W; ++i)
        if ((in[i] & 0xFFFFFF) != key) out[i] = in[i];
    }
    return;
  }
  // Other forms: the key made transparent, then an ordinary blend.
  QImage masked = src.convertToFormat(QImage::Format_ARGB32);
  for (int row = 0; row < masked.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
    for (int i = 0; i < masked.width(); ++i)
      line[i] = (line[i] & 0xFFFFFF) == key ? 0 : (line[i] | 0xFF000000u);
  }
  QPainter p(&target);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(QPoint(x, y), masked);
}

void DrawStatusText(QImage& target, int columns, int rows, const std::string& text, int slot) {
  if (slot < 1 || slot > 9) return;
  const std::size_t limit = static_cast<std::size_t>(std::max(0, columns * 6 - 4));
  const int len = static_cast<int>(std::min(text.size(), limit));
  const int y = rows * CellSize + (slot >= 7 ? 15 : slot >= 4 ? 20 : 25);
  int x = 15;
  if (slot % 3 == 2) x = columns * 24 - len * 4;
  else if (slot % 3 == 0) x = columns * 48 - 15 - len * 8;
  const TSkin& s = Skin();
  for (int i = 0; i < len; ++i) {
    const int c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    if (c >= 32 && c <= 127) BlitKeyed(target, x + i * 8, y, s.StatusFont[c]);
  }
}

void DrawStatusTexts(QImage& pic) {
  TApp& app = App();
  const TGame& g = app.Game();
  const TConfig& cfg = app.Config;
  const int w = BoardWidth(g.Board), h = BoardHeight(g.Board);
  if (app.State.GameRunning) {
    const bool human = app.State.HumanTurn;
    DrawStatusText(pic, w, h, human ? cfg.PlayerName.Str() : std::string("Computer"), 7);
    switch (cfg.GameMode) {
      case 1: DrawStatusText(pic, w, h, "Single Game", 1); break;
      case 2: DrawStatusText(pic, w, h, human ? std::string("Vs. Computer") : Cut("Vs. " + cfg.PlayerName.Str(), 24), 1); break;
      case 3: DrawStatusText(pic, w, h, "Campaign L:" + std::to_string(g.Level), 1); break;
      default: break;
    }
    DrawStatusText(pic, w, h, SecondsText(), 3);
    DrawStatusText(pic, w, h, MovesText(), 9);
    return;
  }
  std::string name, author, nameLine, authorLine;
  if (cfg.GameMode == 3) {
    name = g.Campaign.Title.Str();
    author = g.Campaign.Author.Str();
    nameLine = Cut("Campaign : " + name, 31);
  } else if (cfg.IPFromPuzzle) {
    name = g.Puzzle.Title.Str();
    author = g.Puzzle.Author.Str();
    nameLine = Cut("Puzzle : " + name, 29);
  } else {
    name = g.Board.Title.Str();
    author = g.Board.Author.Str();
    nameLine = Cut("Board : " + name, 28);
  }
  authorLine = Cut("By " + author, 23);
  if (!name.empty() && !author.empty()) {
    DrawStatusText(pic, w, h, nameLine, 8);
    DrawStatusText(pic, w, h, authorLine, 2);
  } else if (!name.empty()) {
    DrawStatusText(pic, w, h, nameLine, 5);
  } else if (!author.empty()) {
    DrawStatusText(pic, w, h, authorLine, 5);
  }
}

void DrawCounters(QImage& pic) {
  TApp& app = App();
  const int w = BoardWidth(app.Game().Board), h = BoardHeight(app.Game().Board);
  const TSkin& s = Skin();
  Blit(pic, (w - 2) * CellSize, h * CellSize, s.StatusMiddle);
  Blit(pic, (w - 1) * CellSize, h * CellSize, app.SidePanelShown ? s.StatusRightPanel : s.StatusRight);
  DrawStatusText(pic, w, h, MovesText(), 9);
  if (!(!app.State.HumanTurn && app.State.ComputerHurry)) DrawStatusText(pic, w, h, SecondsText(), 3);
}

void DrawSidePanelShown(QImage& pic) {
  TApp& app = App();
  const int w = BoardWidth(app.Game().Board), h = BoardHeight(app.Game().Board);
  const bool panel = app.SidePanelShown;
  DrawRightFrame(pic, w, h, panel);
  DrawRightCorners(pic, w, h, panel);
  Blit(pic, (w - 1) * CellSize, h * CellSize, panel ? Skin().StatusRightPanel : Skin().StatusRight);
  if (app.State.GameRunning) DrawCounters(pic);
  else DrawStatusTexts(pic);
}

void RedrawSidePanel(QImage& pic) {
  TApp& app = App();
  const TSkin& s = Skin();
  const int px = BoardWidth(app.Game().Board) * CellSize;
  Blit(pic, px, 0, s.PanelTop);
  Blit(pic, px, 48, app.State.GameRunning ? s.ButtonStop[0] : s.ButtonPlay[0]);
  Blit(pic, px, 96, s.ButtonConfig[0]);
  Blit(pic, px, 144, s.ButtonInfo[0]);
}

void DrawFlowMarkers(QImage& pic) { DrawMarkers(pic, App().Game().Board); }

void DrawJumpMarker(QImage& pic, int x, int y, int side, int state) {
  if (side < 1 || side > 4 || state < 1 || state > 2) return;
  static constexpr int Offset[5][2] = {{0, 0}, {8, 16}, {32, 16}, {16, 8}, {16, 32}};
  Blit(pic, (x - 1) * CellSize + Offset[side][0], (y - 1) * CellSize + Offset[side][1], Skin().JumpMarker[side][state]);
}

void DrawTurnMarker(QImage& pic, int x, int y, int corner, int state) {
  if (corner < 1 || corner > 4 || state < 1 || state > 2) return;
  static constexpr int Offset[5][2] = {{0, 0}, {8, 8}, {32, 8}, {32, 32}, {8, 32}};
  Blit(pic, (x - 1) * CellSize + Offset[corner][0], (y - 1) * CellSize + Offset[corner][1],
       Skin().TurnMarker[corner][state]);
}

void InvertMark(QImage& pic, int x, int y, int kind) {
  struct TRect {
    int L, T, R, B;
  };
  static const TRect Kind1[] = {{32, 8, 40, 40}};
  static const TRect Kind2[] = {{8, 8, 16, 40}};
  static const TRect Kind3[] = {{8, 32, 40, 40}};
  static const TRect Kind4[] = {{8, 8, 40, 16}};
  static const TRect Kind5[] = {{8, 8, 40, 40}, {16, 16, 32, 32}};
  static const TRect Kind6[] = {{22, 8, 26, 40}, {8, 22, 40, 26}};
  static const TRect Kind7[] = {{16, 8, 32, 40}, {8, 16, 40, 32}};
  static const TRect Kind8[] = {{8, 8, 40, 40}, {16, 8, 32, 40}, {16, 20, 32, 28}};
  const TRect* rects = nullptr;
  int count = 0;
  switch (kind) {
    case 1: rects = Kind1; count = 1; break;
    case 2: rects = Kind2; count = 1; break;
    case 3: rects = Kind3; count = 1; break;
    case 4: rects = Kind4; count = 1; break;
    case 5: rects = Kind5; count = 2; break;
    case 6: rects = Kind6; count = 2; break;
    case 7: rects = Kind7; count = 2; break;
    case 8: rects = Kind8; count = 3; break;
    default: return;
  }
  if (pic.isNull()) return;
  if (!Is32Bit(pic.format())) pic = pic.convertToFormat(QImage::Format_RGB32);
  const int ox = (x - 1) * CellSize, oy = (y - 1) * CellSize;
  for (int i = 0; i < count; ++i) {
    const int l = std::max(0, ox + rects[i].L), t = std::max(0, oy + rects[i].T);
    const int r = std::min(pic.width(), ox + rects[i].R), b = std::min(pic.height(), oy + rects[i].B);
    for (int py = t; py < b; ++py) {
      auto* line = reinterpret_cast<QRgb*>(pic.scanLine(py));
      for (int px = l; px < r; ++px) line[px] ^= 0x00FFFFFFu;
    }
  }
}

void DrawBoard(QImage& pic, bool full) {
  TApp& app = App();
  const TGame& g = app.Game();
  const int w = BoardWidth(g.Board), h = BoardHeight(g.Board);
  SizePicture(pic, w, h);
  if (full) {
    const bool panel = app.SidePanelShown;
    DrawWalls(pic, g.Board, w, h, app.BackgroundLoaded);
    DrawFrame(pic, w, h, panel);
    DrawTextLayer(pic, g.Board, w, h);
    DrawMarkers(pic, g.Board);
    DrawStatusBar(pic, w, h, panel);
    DrawStatusTexts(pic);
  }
  DrawFloor(pic, g, w, h);
}

}  // namespace pav
