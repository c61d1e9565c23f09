#include "Paint.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace assetgen {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

Rgb Add(Rgb c, double amount) { return {c.r + amount, c.g + amount, c.b + amount}; }

static int Channel(double v) { return std::clamp(int(std::lround(v)), 0, 255); }

QRgb ToQRgb(Rgb c) { return qRgb(Channel(c.r), Channel(c.g), Channel(c.b)); }

Rgb FromQRgb(QRgb c) { return {double(qRed(c)), double(qGreen(c)), double(qBlue(c))}; }

double Hash01(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B1u;
  h ^= std::uint32_t(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= std::uint32_t(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return double(h >> 8) / double(1u << 24);
}

static double Smooth(double t) { return t * t * (3 - 2 * t); }

static int Wrap(int v, int n) { return ((v % n) + n) % n; }

double PeriodicNoise(double x, double y, int cell, int repeat, std::uint32_t seed) {
  return PeriodicNoise2(x, y, cell, cell, repeat, seed);
}

double PeriodicNoise2(double x, double y, int cellX, int cellY, int repeat, std::uint32_t seed) {
  const int nx = std::max(1, repeat / cellX), ny = std::max(1, repeat / cellY);
  const double fx = x / cellX, fy = y / cellY;
  const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
  const double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
  const int x0 = Wrap(ix, nx), x1 = Wrap(ix + 1, nx), y0 = Wrap(iy, ny), y1 = Wrap(iy + 1, ny);
  const double a = Hash01(x0, y0, seed), b = Hash01(x1, y0, seed);
  const double c = Hash01(x0, y1, seed), d = Hash01(x1, y1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double PeriodicFbm(double x, double y, int cell, int repeat, int octaves, std::uint32_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int o = 0; o < octaves && cell >= 1; ++o) {
    sum += weight * PeriodicNoise(x, y, cell, repeat, seed + 977u * std::uint32_t(o));
    total += weight;
    weight *= 0.5;
    cell /= 2;
  }
  return total > 0 ? sum / total : 0.5;
}

Rgb Shade(Rgb base, double sx, double sy, double specular) {
  // Light direction (toward the light) and the flat surface's response to it.
  static const double lx = -0.5270, ly = -0.5270, lz = 0.6325;
  const double len = std::sqrt(sx * sx + sy * sy + 1.0);
  const double nx = sx / len, ny = sy / len, nz = 1.0 / len;
  const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
  const double ambient = 0.30;
  const double factor = ambient + (1.0 - ambient) * diffuse / lz;
  // Blinn highlight relative to the flat surface, so that a flat face keeps its colour.
  const double hx = lx, hy = ly, hz = lz + 1.0;
  const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  const double nh = std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl);
  const double flat = std::pow(hz / hl, 24.0);
  const double spec = std::max(0.0, std::pow(nh, 24.0) - flat) * specular * 255.0;
  return Add(Scale(base, factor), spec);
}

double BevelSlope(double depth, double width, double steepness) {
  if (depth >= width) return 0.0;
  const double t = std::clamp(depth / width, 0.0, 1.0);
  return steepness * (1.0 - t) * (1.0 - t) + 0.15 * steepness * (1.0 - t);
}

QImage Filled(int w, int h, Rgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(ToQRgb(c));
  return img;
}

void Blit(QImage &dst, const QImage &src, int x, int y) {
  QPainter p(&dst);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(x, y, src);
}

}  // namespace assetgen
