// Picture files for the tests, written byte by byte: bitmaps of every form the
// reader knows (palette, run-length, masks, header kinds), and the small helpers
// the picture tests share for files and pixels.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace pav::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put(Bytes& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct TBmpSpec {
  int W = 5, H = 3, Bpp = 24, HeaderSize = 40;
  std::uint32_t Compression = 0, ClrUsed = 0;
  bool TopDown = false, MasksAfterHeader = false;
  std::vector<QRgb> Palette;
  std::vector<std::uint32_t> Masks;
  std::function<std::uint32_t(int x, int y)> Value;  // index, raw 16/32-bit value, or RGB for 24 bits
  Bytes Compressed;                                   // run-length pixel data as it is
};

inline Bytes EncodeBmp(const TBmpSpec& s) {
  Bytes h;
  const bool core = s.HeaderSize == 12;
  Put(h, static_cast<std::uint32_t>(s.HeaderSize), 4);
  Put(h, static_cast<std::uint32_t>(s.W), core ? 2 : 4);
  Put(h, static_cast<std::uint32_t>(s.TopDown ? -s.H : s.H), core ? 2 : 4);
  Put(h, 1, 2);
  Put(h, static_cast<std::uint32_t>(s.Bpp), 2);
  if (!core) {
    for (std::uint32_t v : {s.Compression, 0u, 2835u, 2835u, s.ClrUsed, 0u}) Put(h, v, 4);
    if (s.HeaderSize >= 52 && !s.MasksAfterHeader)
      for (std::uint32_t m : s.Masks) Put(h, m, 4);
    h.resize(static_cast<std::size_t>(s.HeaderSize), 0);
    if (s.MasksAfterHeader)
      for (std::uint32_t m : s.Masks) Put(h, m, 4);
  }
  for (QRgb c : s.Palette) Put(h, c & 0xFFFFFF, core ? 3 : 4);
  Bytes px = s.Compressed;
  const std::size_t stride = (static_cast<std::size_t>(s.W) * static_cast<std::size_t>(s.Bpp) + 31) / 32 * 4;
  if (s.Compressed.empty())
    for (int r = 0; r < s.H; ++r) {
      Bytes row;
      const int y = s.TopDown ? r : s.H - 1 - r;
      for (int x = 0; x < s.W; ++x) {
        const std::uint32_t v = s.Value(x, y);
        if (s.Bpp < 8) {
          if (x % (8 / s.Bpp) == 0) row.push_back(0);
          row.back() |= static_cast<std::uint8_t>(v << (8 - s.Bpp * (x % (8 / s.Bpp) + 1)));
        } else {
          Put(row, s.Bpp == 24 ? (v & 0xFFFFFF) : v, s.Bpp / 8);  // 24 bits: blue, green, red
        }
      }
      row.resize(stride, 0);
      px.insert(px.end(), row.begin(), row.end());
    }
  Bytes f = {'B', 'M'};
  Put(f, static_cast<std::uint32_t>(14 + h.size() + px.size()), 4);
  Put(f, 0, 4);
  Put(f, static_cast<std::uint32_t>(14 + h.size()), 4);
  f.insert(f.end(), h.begin(), h.end());
  f.insert(f.end(), px.begin(), px.end());
  return f;
}

inline Bytes BmpOf(const QImage& img) {
  TBmpSpec s;
  s.W = img.width();
  s.H = img.height();
  s.Value = [&img](int x, int y) { return static_cast<std::uint32_t>(img.pixel(x, y)); };
  return EncodeBmp(s);
}

inline QByteArray Qb(const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())); }

inline void WriteFile(const std::string& path, const Bytes& b) {
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
  f.write(Qb(b));
}

inline Bytes ReadAll(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray a = f.readAll();
  return Bytes(a.begin(), a.end());
}


inline QImage Flat(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}
inline bool Near(QRgb a, QRgb b, int t) {
  return std::abs(qRed(a) - qRed(b)) <= t && std::abs(qGreen(a) - qGreen(b)) <= t && std::abs(qBlue(a) - qBlue(b)) <= t;
}
inline bool AllPixels(const QImage& img, QRgb c) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != c) return false;
  return true;
}

}  // namespace pav::test
