// Small painting helpers shared by every picture of the asset generator:
// colours, deterministic noise and the one light that shades everything.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>

namespace assetgen {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

inline Rgb FromHex(std::uint32_t hex) {
  return {double((hex >> 16) & 0xff), double((hex >> 8) & 0xff), double(hex & 0xff)};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double f);
Rgb Add(Rgb c, double amount);
QRgb ToQRgb(Rgb c);
Rgb FromQRgb(QRgb c);

// Hash of integer coordinates to [0, 1); the same inputs always give the same value.
double Hash01(int x, int y, std::uint32_t seed);

// Smooth value noise in [0, 1) with lattice spacing `cell` pixels that repeats
// every `repeat` pixels in both directions (repeat a multiple of cell).
double PeriodicNoise(double x, double y, int cell, int repeat, std::uint32_t seed);
// The same with different lattice spacings across and down (both dividing repeat).
double PeriodicNoise2(double x, double y, int cellX, int cellY, int repeat, std::uint32_t seed);

// Sum of octaves of PeriodicNoise, cell halving each octave, normalised to [0, 1).
double PeriodicFbm(double x, double y, int cell, int repeat, int octaves, std::uint32_t seed);

// Shades a surface colour under the game's single light, which comes from the
// upper left, above the picture. (sx, sy) is the slope of the surface: the
// direction in the picture plane toward which the surface falls away, scaled
// by its steepness (0, 0 for a flat surface, which keeps `base` unchanged).
Rgb Shade(Rgb base, double sx, double sy, double specular = 0.35);

// The height profile of a bevel: slope at `depth` pixels in from an edge of
// a band `width` pixels wide (steep at the edge, flat at the inner end).
double BevelSlope(double depth, double width, double steepness);

// A QImage filled with one colour, in the opaque 32-bit format used throughout.
QImage Filled(int w, int h, Rgb c);

// Copies `src` into `dst` with its top-left corner at (x, y).
void Blit(QImage &dst, const QImage &src, int x, int y);

}  // namespace assetgen
