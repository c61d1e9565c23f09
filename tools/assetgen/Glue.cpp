#include "Glue.h"

#include "TileArt.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

double ClaspAt(const Clasp &k, double x, double y, Rgb &c) {
  // Each side in its own frame: u across the side from its midpoint, v in
  // from the cell's border; (ax, ay) points along +u, (ix, iy) inward.
  struct Side {
    double u, v, ax, ay, ix, iy;
  };
  const Side sides[4] = {{x - 24, y, 1, 0, 0, 1},
                         {x - 24, 48 - y, 1, 0, 0, -1},
                         {y - 24, x, 0, 1, 1, 0},
                         {y - 24, 48 - x, 0, 1, -1, 0}};
  for (const Side &s : sides) {
    if (s.v < 0 || s.v > k.reach) continue;
    const double t = s.v / k.reach;
    const double half = 0.5 * (k.waist + (k.tail - k.waist) * t);
    if (std::fabs(s.u) > half) continue;
    const double nu = s.u / half;
    double su = 0, sv = 0;
    if (k.raised) {
      // A bar with rounded long edges whose inner end rounds down to the tile.
      su = nu * nu * nu * 1.5;
      const double cap = s.v - (k.reach - 1.8);
      if (cap > 0) sv = cap / 1.8 * 1.6;
    }
    Rgb col = Shade(k.metal, su * s.ax + sv * s.ix, su * s.ay + sv * s.iy, 0.9);
    if (!k.raised) {
      // Inlaid flush: a dark line where it meets the surface round it, a
      // sheen that fades inward.
      const double rim = std::min(half - std::fabs(s.u), k.reach - s.v);
      col = rim < 0.9 ? Scale(k.metal, 0.45) : Add(col, 14.0 * (1.0 - t) - 4.0 * nu);
    }
    if (k.rivet) {
      const double ru = s.u, rv = s.v - (k.reach - 3.8);
      const double rr = std::sqrt(ru * ru + rv * rv), r = 1.9;
      if (rr < r) {
        const double fu = 1.3 * ru / r, fv = 1.3 * rv / r;
        col = Shade(Scale(k.metal, 0.85), fu * s.ax + fv * s.ix, fu * s.ay + fv * s.iy, 1.2);
        if (rr > r - 0.5) col = Scale(k.metal, 0.4);
      }
    }
    c = col;
    return 1.0;
  }
  return 0.0;
}

namespace {

struct SeamPoint {
  double across;  // signed distance from the seam's line (negative inside)
  double along;   // signed distance along the line (clockwise) from the nearest stitch's centre
  double nx, ny;  // outward normal of the line
};

SeamPoint Locate(const Seam &s, double x, double y) {
  const double hx = s.hx - s.inset, hy = s.hy - s.inset, r = std::max(0.5, s.radius - s.inset);
  SeamPoint p;
  p.across = RoundedBox(x, y, s.cx, s.cy, hx, hy, r, p.nx, p.ny);
  // Position along the line, clockwise from the left end of the top side.
  const double ax = hx - r, ay = hy - r, q = M_PI * r / 2;
  const double px = x - s.cx, py = y - s.cy;
  const double qx = std::fabs(px) - ax, qy = std::fabs(py) - ay;
  double along;
  if (qx > 0 && qy > 0) {
    const double a = std::atan2(py < 0 ? -qy : qy, px < 0 ? -qx : qx);
    if (px >= 0 && py < 0) along = 2 * ax + r * (a + M_PI / 2);
    else if (px >= 0) along = 2 * ax + q + 2 * ay + r * a;
    else if (py >= 0) along = 4 * ax + 2 * q + 2 * ay + r * (a - M_PI / 2);
    else along = 4 * ax + 3 * q + 4 * ay + r * (a + M_PI);
  } else if (qx > qy) {
    along = px >= 0 ? 2 * ax + q + (py + ay) : 4 * ax + 3 * q + 2 * ay + (ay - py);
  } else {
    along = py < 0 ? px + ax : 2 * ax + 2 * q + 2 * ay + (ax - px);
  }
  // Stitches evenly round, a multiple of four so that each corner has one in
  // the middle of its bend.
  const double perimeter = 4 * ax + 4 * ay + 4 * q;
  const int n = std::max(4, 4 * int(std::lround(perimeter / (4 * s.pitch))));
  const double period = perimeter / n;
  double phase = std::fmod(along - (perimeter - q / 2) + 10 * perimeter, period);
  p.along = phase <= period / 2 ? phase : phase - period;
  return p;
}

bool OnSeam(const Seam &s, const SeamPoint &p) {
  if (s.dots) return p.along * p.along + p.across * p.across <= s.width * s.width / 4;
  return std::fabs(p.across) <= s.width / 2 && std::fabs(p.along) <= s.dash / 2;
}

}  // namespace

double SeamAt(const Seam &s, double x, double y) { return OnSeam(s, Locate(s, x, y)) ? 1.0 : 0.0; }

Rgb SeamOver(const Seam &s, double x, double y, Rgb face, Rgb thread) {
  const SeamPoint p = Locate(s, x, y);
  if (OnSeam(s, p)) {
    // Round in section (a dot round all over): the side toward the light is lighter.
    const double half = s.width / 2;
    const double along = s.dots ? p.along / half : 0.0, across = p.across / half;
    const double fx = 1.3 * (along * -p.ny + across * p.nx), fy = 1.3 * (along * p.nx + across * p.ny);
    return Shade(thread, fx, fy, 0.6);
  }
  if (OnSeam(s, Locate(s, x - 0.8, y - 0.9))) return Scale(face, 0.62);
  return face;
}

}  // namespace assetgen
