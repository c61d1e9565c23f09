#include "Skin.h"

#include "Layout.h"
#include "PixelFont.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Directions in which a surface falls away, as bits.
constexpr unsigned kFallsLeft = 1, kFallsRight = 2, kFallsUp = 4, kFallsDown = 8;

// The nearest edges seen from a pixel: the smallest depth offered and every
// direction that reached it.
struct Nearest {
  int depth = 1 << 20;
  unsigned dirs = 0;
  void Offer(int d, unsigned dir) {
    if (d < depth) {
      depth = d;
      dirs = dir;
    } else if (d == depth) {
      dirs |= dir;
    }
  }
};

// The average of `base` shaded as falling toward each direction in `dirs`.
Rgb ShadeToward(Rgb base, unsigned dirs, double slope, double specular = 0.35) {
  Rgb sum;
  int n = 0;
  const int dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1};
  for (int i = 0; i < 4; ++i) {
    if (dirs & (1u << i)) {
      const Rgb c = Shade(base, dx[i] * slope, dy[i] * slope, specular);
      sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
      ++n;
    }
  }
  return n ? Scale(sum, 1.0 / n) : base;
}

int Wrap(int v, int n) { return ((v % n) + n) % n; }

Rgb BezelTexture(const Theme &t, int x, int y) {
  const double streak = Hash01(0, Wrap(y, 48), t.seed + 11) - 0.5;
  const double grain = Hash01(Wrap(x, 48), Wrap(y, 48), t.seed + 12) - 0.5;
  return Add(Scale(t.bezel, 1.0 + 0.06 * streak), grain * 3.0);
}

Rgb FloorTexture(const Theme &t, int x, int y) {
  const double n = PeriodicFbm(x, y, 12, 48, 3, t.seed + 21);
  const double grain = Hash01(x, y, t.seed + 22) - 0.5;
  Rgb c = Add(Mix(t.floor, t.floorAlt, n), grain * 5.0);
  // A shallow square recess per cell: its upper and left walls in shadow, the others lit.
  if (x == 0 || y == 0) c = Scale(c, 0.78);
  else if (x == 1 || y == 1) c = Scale(c, 0.92);
  else if (x == 47 || y == 47) c = Add(c, 7);
  return c;
}

// A flat image of `size` whose pixels come from f(x, y).
template <class F>
QImage Render(int w, int h, F f) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = 0; x < w; ++x) line[x] = f(x, y);
  }
  return img;
}

// Copies rectangle `from` of `src` to the rectangle `to` (same size) of `dst`.
void CopyRect(QImage &dst, const Rect &to, const QImage &src, int fx, int fy) {
  Blit(dst, src.copy(fx, fy, to.w, to.h), to.x, to.y);
}

// --- Buttons -------------------------------------------------------------

enum class Look { Rest, Hover, Pressed };

// A raised button shaped as a stadium: the points within r of the segment
// (x0, cy)-(x1, cy); a circle when x0 == x1. It sits in a dark socket.
void DrawDome(QImage &img, const Theme &t, double x0, double x1, double cy, double r, Look look) {
  for (int y = 0; y < img.height(); ++y) {
    auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double nx = std::clamp(px, x0, x1);
      double dx = px - nx, dy = py - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > r + 3.0) continue;
      Rgb bg = FromQRgb(line[x]);
      // Socket: a soft dark ring around the button, lit in the accent colour on hover.
      const double ring = std::clamp(1.0 - (d - r) / 3.0, 0.0, 1.0);
      Rgb socket = Mix(bg, t.bezelOutline, 0.75 * ring);
      if (look == Look::Hover) socket = Mix(socket, t.accent, 0.55 * ring * ring);
      const double cover = std::clamp(r + 0.5 - d, 0.0, 1.0);
      Rgb out = socket;
      if (cover > 0) {
        if (d > 1e-6) {
          dx /= d;
          dy /= d;
        } else {
          dx = dy = 0;
        }
        const double depth = r - d;
        double slope = BevelSlope(std::max(0.0, depth), 4.0, 1.5);
        if (look == Look::Pressed) slope = -slope;
        Rgb face = t.buttonFace;
        if (look == Look::Hover) face = Add(face, 14);
        if (look == Look::Pressed) face = Scale(face, 0.82);
        // The top of the dome catches a little more light toward the upper left.
        const double tilt = ((px - (x0 + x1) / 2) + (py - cy)) / (r + (x1 - x0) / 2);
        face = Add(face, (look == Look::Pressed ? 5.0 : -9.0) * tilt);
        Rgb dome = Shade(face, dx * slope, dy * slope, 0.45);
        if (depth < 1.0) dome = Mix(dome, t.bezelOutline, 0.55 * (1.0 - std::max(0.0, depth)));
        out = Mix(socket, dome, cover);
      }
      line[x] = ToQRgb(out);
    }
  }
}

enum class Icon { Play, Stop, Config, Info, Minimize, Close, Panel };

QPainterPath IconPath(Icon icon, double cx, double cy, double s) {
  QPainterPath p;
  p.setFillRule(Qt::OddEvenFill);
  QPainterPathStroker round;
  round.setCapStyle(Qt::RoundCap);
  round.setJoinStyle(Qt::RoundJoin);
  switch (icon) {
    case Icon::Play: {
      QPainterPath tri;
      tri.moveTo(cx - 0.26 * s, cy - 0.36 * s);
      tri.lineTo(cx + 0.40 * s, cy);
      tri.lineTo(cx - 0.26 * s, cy + 0.36 * s);
      tri.closeSubpath();
      round.setWidth(0.12 * s);
      p = tri.united(round.createStroke(tri));
      break;
    }
    case Icon::Stop:
      p.addRoundedRect(QRectF(cx - 0.3 * s, cy - 0.3 * s, 0.6 * s, 0.6 * s), 0.1 * s, 0.1 * s);
      break;
    case Icon::Config: {
      const int teeth = 8;
      const double ro = 0.48 * s, ri = 0.36 * s, hole = 0.15 * s;
      QPainterPath gear;
      for (int i = 0; i < teeth * 4; ++i) {
        const double a = (i - 0.5) * M_PI * 2 / (teeth * 4) - M_PI / 2;
        const double rr = ((i / 2) % 2 == 0) ? ro : ri;
        const QPointF pt(cx + rr * std::cos(a), cy + rr * std::sin(a));
        if (i == 0) gear.moveTo(pt);
        else gear.lineTo(pt);
      }
      gear.closeSubpath();
      round.setWidth(0.05 * s);
      gear = gear.united(round.createStroke(gear));
      QPainterPath centre;
      centre.addEllipse(QPointF(cx, cy), hole, hole);
      p = gear.subtracted(centre);
      break;
    }
    case Icon::Info:
      p.addEllipse(QPointF(cx, cy - 0.33 * s), 0.11 * s, 0.11 * s);
      p.addRoundedRect(QRectF(cx - 0.1 * s, cy - 0.12 * s, 0.2 * s, 0.52 * s), 0.06 * s, 0.06 * s);
      break;
    case Icon::Minimize:
      p.addRoundedRect(QRectF(cx - 0.3 * s, cy + 0.06 * s, 0.6 * s, 0.2 * s), 0.08 * s, 0.08 * s);
      break;
    case Icon::Close: {
      QPainterPath x;
      x.moveTo(cx - 0.24 * s, cy - 0.24 * s);
      x.lineTo(cx + 0.24 * s, cy + 0.24 * s);
      x.moveTo(cx + 0.24 * s, cy - 0.24 * s);
      x.lineTo(cx - 0.24 * s, cy + 0.24 * s);
      round.setWidth(0.2 * s);
      p = round.createStroke(x).simplified();
      break;
    }
    case Icon::Panel: {
      QPainterPath c;
      for (double off : {-0.22, 0.18}) {
        c.moveTo(cx + (off - 0.14) * s, cy - 0.26 * s);
        c.lineTo(cx + (off + 0.14) * s, cy);
        c.lineTo(cx + (off - 0.14) * s, cy + 0.26 * s);
      }
      round.setWidth(0.16 * s);
      p = round.createStroke(c).simplified();
      break;
    }
  }
  return p;
}

void DrawIcon(QImage &img, const Theme &t, Icon icon, double cx, double cy, double s, Look look, bool danger) {
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const double shift = look == Look::Pressed ? 1.0 : 0.0;
  const QPainterPath path = IconPath(icon, cx + shift, cy + shift, s);
  if (look != Look::Pressed) {
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawPath(path.translated(0.8, 1.0));
  }
  Rgb ink = t.iconInk;
  if (look == Look::Hover) ink = danger ? t.closeAccent : t.accent;
  if (look == Look::Pressed) ink = Scale(danger ? t.closeAccent : t.accent, 0.85);
  p.setBrush(QColor(ToQRgb(ink)));
  p.drawPath(path);
}

// --- Markers -------------------------------------------------------------

// A recess the size of the piece: a dark hole whose upper and left inner
// walls are in shadow and whose lower and right walls catch the light.
Rgb RecessPixel(const Theme &t, int x, int y, int w, int h, Rgb hole) {
  if (x == 0 || y == 0) return Mix(t.mouth, t.wallContact, 0.5);
  if (x == w - 1 || y == h - 1) return Shade(Mix(t.wall, t.mouth, 0.25), -1.2, -1.2, 0.2);
  return hole;
}

// Jump mouth opening toward `side` (1 left, 2 right, 3 up, 4 down).
QImage JumpMarkerImage(const Theme &t, int side, bool lit) {
  const bool across = side <= 2;
  const int w = across ? 8 : 16, h = across ? 16 : 8;
  const Rgb hole = lit ? Mix(t.mouth, t.markerLit, 0.28) : t.mouth;
  QImage img = Render(w, h, [&](int x, int y) { return ToQRgb(RecessPixel(t, x, y, w, h, hole)); });
  // The arrow, drawn for "left" in (along, across) coordinates and mapped.
  auto map = [&](double a, double c) -> QPointF {
    switch (side) {
      case 1: return {a, c};
      case 2: return {w - a, c};
      case 3: return {c, a};
      default: return {c, h - a};
    }
  };
  QPainterPath arrow;
  arrow.moveTo(map(1.6, 8.0));
  arrow.lineTo(map(6.4, 3.4));
  arrow.lineTo(map(6.4, 12.6));
  arrow.closeSubpath();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  if (lit) {
    p.setBrush(QColor(ToQRgb(t.markerLit)).lighter(100));
    p.setOpacity(0.35);
    QPainterPathStroker glow;
    glow.setWidth(2.4);
    glow.setJoinStyle(Qt::RoundJoin);
    p.drawPath(glow.createStroke(arrow));
    p.setOpacity(1.0);
  }
  p.setBrush(QColor(ToQRgb(lit ? t.markerLit : t.markerRest)));
  p.drawPath(arrow);
  return img;
}

// Corner piece marker of corner k (1 top-left, 2 top-right, 3 bottom-right,
// 4 bottom-left): a quarter disc whose round side faces that corner.
QImage TurnMarkerImage(const Theme &t, int corner, bool lit) {
  const double cx = (corner == 1 || corner == 4) ? 8.0 : 0.0;
  const double cy = (corner == 1 || corner == 2) ? 8.0 : 0.0;
  // Where the piece lies in its cell, so that its corner shows the wall face around it.
  const int ox = (corner == 1 || corner == 4) ? 8 : 32, oy = (corner == 1 || corner == 2) ? 8 : 32;
  const Rgb metal = lit ? t.markerLit : t.markerRest;
  return Render(8, 8, [&](int x, int y) {
    Rgb back = FromQRgb(WallPixel(t, Around{}, ox + x, oy + y));
    if (lit) back = Mix(back, t.markerLit, 0.3);
    double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double r = 7.2;
    const double cover = std::clamp(r + 0.5 - d, 0.0, 1.0);
    if (cover <= 0) return ToQRgb(back);
    dx /= d;
    dy /= d;
    const double slope = BevelSlope(std::max(0.0, r - d), 3.0, 1.4);
    Rgb disc = Shade(metal, dx * slope, dy * slope, 0.5);
    if (r - d < 1.0) disc = Mix(disc, t.mouth, 0.55);
    return ToQRgb(Mix(back, disc, cover));
  });
}

// --- Fonts ---------------------------------------------------------------

// A glyph cell on the key colour. Wall letters are cut into the stone (dark
// strokes, a lit lower-right lip); status letters are light with a shadow.
void DrawGlyph(QImage &img, const Rect &cell, int c, Rgb ink, Rgb edge, bool engraved) {
  auto inked = [&](int gx, int gy) {
    if (gx < 1 || gx > 5 || gy < 0 || gy > 7) return false;
    return ((GlyphRow(c, gy) >> (5 - gx)) & 1u) != 0;
  };
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      QRgb v = kFontKey;
      if (inked(x, y)) {
        // A slight fall of light down the stroke.
        v = ToQRgb(engraved ? ink : Add(ink, 10 - 4.0 * y));
      } else if (inked(x - 1, y - 1) && !(x == 0 && y == 7)) {
        v = ToQRgb(edge);
      }
      img.setPixel(cell.x + x, cell.y + y, v);
    }
  }
}

}  // namespace

const Theme &DefaultTheme() {
  static const Theme t = {
      "Default", 0x5eed01u, 0,
      FromHex(0x586a83), FromHex(0x687c97), FromHex(0x12161d), 0.9,
      FromHex(0x22262e), FromHex(0x2a2f38),
      FromHex(0x353b45), FromHex(0x0c0e12), FromHex(0x0b1418), FromHex(0xc8eeff), FromHex(0x020507),
      FromHex(0x4b5462), FromHex(0xe9eef4), FromHex(0xffbb4a), FromHex(0xff6352),
      FromHex(0x27303d), FromHex(0x98abc4),
      FromHex(0x0b0e13), FromHex(0x74b9dd), FromHex(0xfff27e),
  };
  return t;
}

const Theme &SlateTheme() {
  static const Theme t = {
      "Slate", 0x51a7e5u, 1,
      FromHex(0x48515e), FromHex(0x5a6574), FromHex(0x0f1115), 0.9,
      FromHex(0x5a5047), FromHex(0x645950),
      FromHex(0x3c342d), FromHex(0x0d0a08), FromHex(0x150f0b), FromHex(0xffd88e), FromHex(0x000000),
      FromHex(0x564a40), FromHex(0xf4e8d4), FromHex(0x86d6ff), FromHex(0xff6c52),
      FromHex(0x23282f), FromHex(0x8a95a5),
      FromHex(0x0a0b0e), FromHex(0xdba75c), FromHex(0xfff4b4),
  };
  return t;
}

Rgb WallTexture(const Theme &t, double x, double y, int repeat) {
  const double grain = Hash01(Wrap(int(x), repeat), Wrap(int(y), repeat), t.seed + 7) - 0.5;
  if (t.wallStyle == 0) {
    const double n = PeriodicFbm(x, y, 12, repeat, 3, t.seed + 5);
    return Add(Mix(t.wall, t.wallAlt, n), grain * 7.0);
  }
  // Slate: thin wavy layers with the odd lighter cleavage line.
  const double warp = 5.0 * (PeriodicNoise(x, y, repeat / 4, repeat, t.seed + 31) - 0.5);
  const double yy = y + warp;
  const double s = 0.55 * PeriodicNoise2(x, yy, repeat / 2, 8, repeat, t.seed + 32) +
                   0.30 * PeriodicNoise2(x, yy, repeat / 4, 4, repeat, t.seed + 33) +
                   0.15 * PeriodicNoise2(x, yy, repeat / 8, 2, repeat, t.seed + 34);
  Rgb c = Mix(t.wall, t.wallAlt, std::clamp((s - 0.5) * 2.2 + 0.5, 0.0, 1.0));
  const double band = std::fmod(s * 7.0, 1.0);
  if (std::fabs(band - 0.5) < 0.035) c = Add(c, 9);
  return Add(c, grain * 8.0);
}

QRgb WallPixel(const Theme &t, const Around &a, int lx, int ly) {
  Nearest n;
  const int rx = 47 - lx, by = 47 - ly;
  if (a.L) n.Offer(lx, kFallsLeft);
  if (a.R) n.Offer(rx, kFallsRight);
  if (a.U) n.Offer(ly, kFallsUp);
  if (a.D) n.Offer(by, kFallsDown);
  // Inner corners: the block goes on along both sides but not across the diagonal.
  auto inner = [&](bool sideA, bool sideB, bool diagonal, int da, unsigned dirA, int db, unsigned dirB) {
    if (sideA || sideB || !diagonal) return;
    n.Offer(std::max(da, db), da > db ? dirA : db > da ? dirB : (dirA | dirB));
  };
  inner(a.L, a.U, a.UL, lx, kFallsLeft, ly, kFallsUp);
  inner(a.R, a.U, a.UR, rx, kFallsRight, ly, kFallsUp);
  inner(a.L, a.D, a.DL, lx, kFallsLeft, by, kFallsDown);
  inner(a.R, a.D, a.DR, rx, kFallsRight, by, kFallsDown);
  const Rgb base = WallTexture(t, lx, ly, 48);
  if (n.depth >= kEdge) return ToQRgb(base);
  // A chamfer: a steady slope over most of the band, rounding off into the face.
  const double slope = n.depth < 6 ? t.wallSteepness : n.depth == 6 ? 0.55 * t.wallSteepness : 0.22 * t.wallSteepness;
  Rgb c = ShadeToward(base, n.dirs, slope, 0.45);
  if (n.depth == 0) c = Mix(c, t.wallContact, 0.6);
  return ToQRgb(c);
}

QImage BezelModel(const Theme &t, int w, int h, bool panel, bool status) {
  const int W = (w + (panel ? 1 : 0)) * kCell, H = (h + (status ? 1 : 0)) * kCell;
  // The board well and the status display, inclusive pixel bounds.
  const int wx0 = kEdge, wx1 = w * kCell - kEdge - 1, wy0 = kEdge, wy1 = h * kCell - kEdge - 1;
  const int dx0 = 7, dx1 = w * kCell - 8, dy0 = h * kCell + 9, dy1 = h * kCell + 38;
  auto towardRect = [](int x, int y, int x0, int x1, int y0, int y1, Nearest &n) {
    const int ddx = x < x0 ? x0 - x - 1 : x > x1 ? x - x1 - 1 : -1;
    const int ddy = y < y0 ? y0 - y - 1 : y > y1 ? y - y1 - 1 : -1;
    const unsigned hx = x < x0 ? kFallsRight : kFallsLeft, hy = y < y0 ? kFallsDown : kFallsUp;
    if (ddx > ddy) n.Offer(ddx, hx);
    else if (ddy > ddx) n.Offer(ddy, hy);
    else n.Offer(ddx, hx | hy);
  };
  return Render(W, H, [&](int x, int y) -> QRgb {
    if (x >= wx0 && x <= wx1 && y >= wy0 && y <= wy1) return qRgb(0, 0, 0);
    const Rgb base = BezelTexture(t, x, y);
    // The raised outer rim of the window.
    Nearest rim;
    rim.Offer(x, kFallsLeft);
    rim.Offer(W - 1 - x, kFallsRight);
    rim.Offer(y, kFallsUp);
    rim.Offer(H - 1 - y, kFallsDown);
    if (rim.depth < 3) {
      const double slope[3] = {2.0, 1.3, 0.45};
      Rgb c = ShadeToward(base, rim.dirs, slope[rim.depth], 0.5);
      if (rim.depth == 0) c = Mix(c, t.bezelOutline, 0.7);
      return ToQRgb(c);
    }
    // The lip where the plate drops into the board.
    if (x < W && y < h * kCell) {
      Nearest lip;
      towardRect(x, y, wx0, wx1, wy0, wy1, lip);
      if (lip.depth < 3) {
        const double slope[3] = {1.8, 1.2, 0.45};
        Rgb c = ShadeToward(base, lip.dirs, slope[lip.depth], 0.4);
        if (lip.depth == 0) c = Mix(c, t.bezelOutline, 0.65);
        return ToQRgb(c);
      }
    }
    // The status display, sunk into the plate, and its lip.
    if (status && y >= h * kCell) {
      if (x >= dx0 && x <= dx1 && y >= dy0 && y <= dy1) {
        const int row = y - dy0;
        Rgb c = t.display;
        if (row < 4) c = Add(c, 7 - 2 * row);  // a faint sheen under the lip
        c = Add(c, (Hash01(Wrap(x, 48), row, t.seed + 41) - 0.5) * 2.0);
        return ToQRgb(c);
      }
      Nearest lip;
      towardRect(x, y, dx0, dx1, dy0, dy1, lip);
      if (lip.depth < 2) {
        Rgb c = ShadeToward(base, lip.dirs, lip.depth == 0 ? 1.6 : 0.8, 0.4);
        if (lip.depth == 0) c = Mix(c, t.bezelOutline, 0.6);
        return ToQRgb(c);
      }
    }
    return ToQRgb(base);
  });
}

QImage WallBackground(const Theme &t) {
  return Render(kBackgroundSize, kBackgroundSize,
                [&](int x, int y) { return ToQRgb(WallTexture(t, x, y, kBackgroundSize)); });
}

QImage BoardGraphics(const Theme &t) {
  using namespace gb;
  // Parts of the picture that hold no piece stay black.
  QImage img = Filled(kBoardGraphicsWidth, kBoardGraphicsHeight, Rgb{});

  // Frame, joins, status bar and side-panel plates, cut from three model windows.
  const int w = 4, h = 6, R = w * kCell - kEdge, B = h * kCell - kEdge, S = h * kCell;
  const QImage shown = BezelModel(t, w, h, true, true);
  const QImage hidden = BezelModel(t, w, h, false, true);
  const QImage closed = BezelModel(t, w, h, false, false);
  struct Cut {
    Rect to;
    const QImage *from;
    int x, y;
  };
  const Cut cuts[] = {
      {FrameCornerTL, &hidden, 0, 0},       {FrameCornerTR, &hidden, R, 0},
      {FrameCornerBR, &closed, R, B},       {FrameCornerBL, &closed, 0, B},
      {FrameEdgeL, &hidden, 0, 56},         {FrameEdgeR, &hidden, R, 56},
      {FrameEdgeT, &hidden, 56, 0},         {FrameEdgeB, &closed, 56, B},
      {FrameLeftTop, &hidden, 0, 48},       {FrameLeftBottom, &hidden, 0, 88},
      {FrameRightTop, &hidden, R, 48},      {FrameRightBottom, &hidden, R, 88},
      {FrameTopLeft, &hidden, 48, 0},       {FrameTopRight, &hidden, 88, 0},
      {FrameBottomLeft, &closed, 48, B},    {FrameBottomRight, &closed, 88, B},
      {JoinCornerBR, &hidden, R, B},        {JoinCornerTRPanel, &shown, R, 0},
      {JoinCornerBRPanel, &shown, R, B},    {JoinCornerBL, &hidden, 0, B},
      {JoinEdgeRPanel, &shown, R, 56},      {JoinEdgeB, &hidden, 56, B},
      {JoinRightTopPanel, &shown, R, 48},   {JoinRightBottomPanel, &shown, R, 88},
      {JoinBottomLeft, &hidden, 48, B},     {JoinBottomRight, &hidden, 88, B},
      {StatusLeft, &hidden, 0, S},          {StatusMiddle, &hidden, 48, S},
      {StatusRight, &hidden, 144, S},       {StatusRightPanel, &shown, 144, S},
      {StatusCorner, &shown, 192, S},       {PanelTop, &shown, 192, 0},
      {PanelFiller, &shown, 192, 192},      {PanelBottom, &shown, 192, 240},
  };
  for (const Cut &c : cuts) CopyRect(img, c.to, *c.from, c.x, c.y);

  // Floor and walls.
  Blit(img, Render(48, 48, [&](int x, int y) { return ToQRgb(FloorTexture(t, x, y)); }), Floor.x, Floor.y);
  auto wallPiece = [&](const Rect &to, int lx, int ly, Around a) {
    for (int y = 0; y < to.h; ++y)
      for (int x = 0; x < to.w; ++x) img.setPixel(to.x + x, to.y + y, WallPixel(t, a, lx + x, ly + y));
  };
  // The unused corners of the wall-piece square show the face too.
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) img.setPixel(96 + x, y, WallPixel(t, Around{}, x, y));
  wallPiece(WallFace, 0, 0, {});
  Around a;
  a = {};  a.L = a.U = true;  wallPiece(WallOuterTL, 0, 0, a);
  a = {};  a.R = a.U = true;  wallPiece(WallOuterTR, 40, 0, a);
  a = {};  a.L = a.D = true;  wallPiece(WallOuterBL, 0, 40, a);
  a = {};  a.R = a.D = true;  wallPiece(WallOuterBR, 40, 40, a);
  a = {};  a.L = true;  wallPiece(WallEdgeL, 0, 8, a);
  a = {};  a.R = true;  wallPiece(WallEdgeR, 40, 8, a);
  a = {};  a.U = true;  wallPiece(WallEdgeT, 8, 0, a);
  a = {};  a.D = true;  wallPiece(WallEdgeB, 8, 40, a);
  a = {};  a.UL = true;  wallPiece(WallInnerTL, 0, 0, a);
  a = {};  a.UR = true;  wallPiece(WallInnerTR, 40, 0, a);
  a = {};  a.DL = true;  wallPiece(WallInnerBL, 0, 40, a);
  a = {};  a.DR = true;  wallPiece(WallInnerBR, 40, 40, a);
  a = {};  a.L = true;  wallPiece(WallLeftGoesDown, 0, 40, a);
  a = {};  a.R = true;  wallPiece(WallRightGoesDown, 40, 40, a);
  a = {};  a.L = true;  wallPiece(WallLeftGoesUp, 0, 0, a);
  a = {};  a.R = true;  wallPiece(WallRightGoesUp, 40, 0, a);
  a = {};  a.U = true;  wallPiece(WallTopGoesRight, 40, 0, a);
  a = {};  a.U = true;  wallPiece(WallTopGoesLeft, 0, 0, a);
  a = {};  a.D = true;  wallPiece(WallBottomGoesRight, 40, 40, a);
  a = {};  a.D = true;  wallPiece(WallBottomGoesLeft, 0, 40, a);

  // Markers, plain and lit.
  for (int k = 0; k < 4; ++k) {
    for (int s = 0; s < 2; ++s) {
      Blit(img, JumpMarkerImage(t, k + 1, s == 1), JumpMarker[k][s].x, JumpMarker[k][s].y);
      Blit(img, TurnMarkerImage(t, k + 1, s == 1), TurnMarker[k][s].x, TurnMarker[k][s].y);
    }
  }

  // Side-panel buttons.
  const QImage plate = shown.copy(192, 96, 48, 48);
  const double bx = 22.5, by = 24.0, br = 16.5, icon = 19.0;
  struct Big {
    const Rect *rects;
    Icon icon;
  };
  const Big bigs[] = {{ButtonPlay, Icon::Play}, {ButtonStop, Icon::Stop}, {ButtonConfig, Icon::Config},
                      {ButtonInfo, Icon::Info}};
  for (const Big &b : bigs) {
    const Look looks[3] = {Look::Rest, Look::Hover, Look::Pressed};
    for (int s = 0; s < 3; ++s) {
      QImage cell = plate;
      DrawDome(cell, t, bx, bx, by, br, looks[s]);
      DrawIcon(cell, t, b.icon, bx, by, icon, looks[s], false);
      Blit(img, cell, b.rects[s].x, b.rects[s].y);
    }
  }
  const QImage top = shown.copy(192, 0, 48, 48);
  auto topCell = [&](Look minimize, Look close, Look panel) {
    QImage cell = top;
    // Each button with its socket stays inside its own part of the cell.
    DrawDome(cell, t, 11.5, 11.5, 13.5, 7.5, minimize);
    DrawIcon(cell, t, Icon::Minimize, 11.5, 13.5, 9.0, minimize, false);
    DrawDome(cell, t, 35.0, 35.0, 13.5, 7.5, close);
    DrawIcon(cell, t, Icon::Close, 35.0, 13.5, 9.0, close, true);
    DrawDome(cell, t, 13.0, 32.0, 35.0, 6.5, panel);
    DrawIcon(cell, t, Icon::Panel, 22.5, 35.0, 9.0, panel, false);
    return cell;
  };
  Blit(img, topCell(Look::Rest, Look::Rest, Look::Rest), PanelTop.x, PanelTop.y);
  Blit(img, topCell(Look::Hover, Look::Rest, Look::Rest), ButtonMinimize[0].x, ButtonMinimize[0].y);
  Blit(img, topCell(Look::Pressed, Look::Rest, Look::Rest), ButtonMinimize[1].x, ButtonMinimize[1].y);
  Blit(img, topCell(Look::Rest, Look::Hover, Look::Rest), ButtonClose[0].x, ButtonClose[0].y);
  Blit(img, topCell(Look::Rest, Look::Pressed, Look::Rest), ButtonClose[1].x, ButtonClose[1].y);
  Blit(img, topCell(Look::Rest, Look::Rest, Look::Hover), ButtonPanel[0].x, ButtonPanel[0].y);
  Blit(img, topCell(Look::Rest, Look::Rest, Look::Pressed), ButtonPanel[1].x, ButtonPanel[1].y);

  // The foot of the panel carries the game's emblem: a small sliding puzzle
  // cut into the plate, one square missing.
  {
    QImage cell = img.copy(PanelBottom.x, PanelBottom.y, 48, 48);
    for (int i = 0; i < 9; ++i) {
      if (i == 8) continue;
      const int x0 = 11 + (i % 3) * 8, y0 = 12 + (i / 3) * 8;
      for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
          Rgb c = FromQRgb(cell.pixel(x0 + x, y0 + y));
          if (x == 0 || y == 0) c = Mix(c, t.bezelOutline, 0.55);
          else if (x == 6 || y == 6) c = Add(c, 22);
          else c = Add(c, 8);
          cell.setPixel(x0 + x, y0 + y, ToQRgb(c));
        }
      }
    }
    Blit(img, cell, PanelBottom.x, PanelBottom.y);
  }
  // A grip of raised dots in the bottom-right corner.
  {
    QImage cell = img.copy(StatusCorner.x, StatusCorner.y, 48, 48);
    for (int j = 0; j < 3; ++j) {
      for (int i = 0; i <= j; ++i) {
        const int x = 38 - 5 * i, y = 28 + 5 * j;
        cell.setPixel(x, y, ToQRgb(Add(t.bezel, 40)));
        cell.setPixel(x + 1, y + 1, ToQRgb(t.bezelOutline));
        cell.setPixel(x + 1, y, ToQRgb(Add(t.bezel, 18)));
        cell.setPixel(x, y + 1, ToQRgb(Scale(t.bezel, 0.6)));
      }
    }
    Blit(img, cell, StatusCorner.x, StatusCorner.y);
  }

  // Fonts.
  for (int c = 32; c <= 127; ++c) {
    DrawGlyph(img, Glyph(kWallFontTop, c), c, t.carve, t.carveLight, true);
    DrawGlyph(img, Glyph(kStatusFontTop, c), c, t.statusInk, t.statusShadow, false);
  }
  return img;
}

}  // namespace assetgen
