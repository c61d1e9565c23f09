// The glue mark. Tiles glued together move as one body; the shipped sets show
// it on faces 41 to 50, which boards give to glued tiles only. Every set marks
// those faces in its own materials, always the same way: a band along all four
// edges (stitches or rivets) and, across the middle of each side, a clasp that
// runs out to the cell's border, so that two glued tiles side by side look
// clasped together.
#pragma once

#include "Paint.h"

namespace assetgen {

inline constexpr int kFirstGluedFace = 41;
inline constexpr bool IsGluedFace(int k) { return k >= kFirstGluedFace && k <= 50; }

// A clasp across the middle of each side of a cell: `waist` pixels wide (half
// each way) at the cell's border, `tail` wide where it ends `reach` pixels in
// (a dovetail when tail > waist). Raised clasps are shaded as bars of metal
// with a rivet near their inner end; flush ones are inlaid, with a dark rim.
struct Clasp {
  double waist, tail, reach;
  Rgb metal;
  bool raised;
  bool rivet;
};

// Coverage (0 or 1) of the clasps of a cell at sample (x, y) of its 48 x 48
// square, and their colour there.
double ClaspAt(const Clasp &clasp, double x, double y, Rgb &c);

// Stitches or rivets along the outline of a rounded box (centre, half sizes,
// corner radius), `inset` pixels inside it: dashes `width` wide and `dash`
// long, or round dots of that width when `dots`, about every `pitch` pixels
// (adjusted so that they go round evenly).
struct Seam {
  double cx, cy, hx, hy, radius;
  double inset, width, dash, pitch;
  bool dots;
};

// Coverage (0 or 1) of the seam at (x, y).
double SeamAt(const Seam &seam, double x, double y);

// A seam drawn over `face` at (x, y): the thread (or rivet) in `thread`, lit
// from the upper left, with its shadow falling to the lower right. Returns
// `face` where the seam is not.
Rgb SeamOver(const Seam &seam, double x, double y, Rgb face, Rgb thread);

}  // namespace assetgen
