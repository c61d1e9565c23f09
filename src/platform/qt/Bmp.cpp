#include "platform/qt/Bmp.h"

#include <QFile>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Jpeg.h"

namespace pav {

namespace {

// The largest file read: the largest picture allowed at 32 bits a pixel, with
// room for the largest header, masks and palette.
constexpr qint64 MaxFile = MaxPicturePixels * 4 + 64 * 1024;

enum : std::uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiJpeg = 4, BiPng = 5, BiAlphaBitfields = 6 };

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const unsigned char* p) { return static_cast<std::int32_t>(U32(p)); }

// One colour channel given by a bit mask, scaled to 0..255.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  std::uint32_t Max = 0;

  explicit TChannel(std::uint32_t mask = 0) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Max = mask >> Shift;
  }
  int Value(std::uint32_t px) const {
    if (Max == 0) return 0;
    const std::uint64_t v = (px & Mask) >> Shift;
    return static_cast<int>((v * 255 + Max / 2) / Max);
  }
};

QImage Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return QImage();
}

// Run-length compressed pixels (8 or 4 bits per index) into one index per pixel,
// row 0 being the bottom row. Pixels the data skips keep index 0.
bool DecodeRle(const unsigned char* p, std::size_t n, int width, int height, bool four,
               std::vector<std::uint8_t>& idx, std::string* error) {
  idx.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  std::size_t i = 0;
  int x = 0, y = 0;
  auto put = [&](std::uint8_t v) {
    if (x < width && y < height) idx[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = v;
    ++x;
  };
  // Data that stops before the end of the picture leaves rows unread: the
  // picture would be drawn as a fragment, so it is refused.
  auto cutShort = [error]() {
    if (error) *error = "the compressed pixel data is cut short";
    return false;
  };
  while (y < height) {
    if (i + 2 > n) return cutShort();
    const int count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(static_cast<std::uint8_t>(four ? ((k % 2 == 0) ? value >> 4 : value & 15) : value));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // delta
      if (i + 2 > n) return cutShort();
      x += p[i];
      y += p[i + 1];
      i += 2;
    } else {  // absolute run of `value` indices, padded to a 16-bit boundary
      const std::size_t bytes = four ? static_cast<std::size_t>((value + 1) / 2) : static_cast<std::size_t>(value);
      if (i + bytes > n) return cutShort();
      for (int k = 0; k < value; ++k) {
        const std::uint8_t b = p[i + static_cast<std::size_t>(four ? k / 2 : k)];
        put(static_cast<std::uint8_t>(four ? ((k % 2 == 0) ? b >> 4 : b & 15) : b));
      }
      i += bytes + (bytes & 1);
    }
  }
  return true;
}

// The picture's sides from the start of a file of fileSize bytes (the first
// `size` of them at f): false with *error set when the start is no bitmap header
// or the picture is larger than the game reads. Height is negative for a
// top-down picture.
bool HeaderSides(const unsigned char* f, std::size_t size, std::size_t fileSize, std::int64_t& width,
                 std::int64_t& height, std::string* error) {
  auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (size < 2 || f[0] != 'B' || f[1] != 'M') return fail("not a bitmap file");
  if (size < 14 + 12) return fail("the file is too short for a bitmap header");
  const std::uint32_t hdrSize = U32(f + 14);
  const unsigned char* h = f + 14;
  if (hdrSize < 12 || hdrSize > fileSize - 14 || (hdrSize != 12 && hdrSize < 16))
    return fail("the bitmap header is damaged");
  if (hdrSize == 12) {  // core header: 16-bit sides
    width = U16(h + 4);
    height = static_cast<std::int16_t>(U16(h + 6));
  } else {
    width = I32(h + 4);
    height = I32(h + 8);
  }
  const std::string problem = PictureSizeProblem(width, height < 0 ? -height : height);
  return problem.empty() || fail(problem);
}

}  // namespace

QImage ReadBmp(const QByteArray& data, std::string* error) {
  const auto* f = reinterpret_cast<const unsigned char*>(data.constData());
  const std::size_t size = static_cast<std::size_t>(data.size());
  std::int64_t width = 0, height = 0;
  if (!HeaderSides(f, size, size, width, height, error)) return QImage();
  const std::uint32_t offBits = U32(f + 10);
  const std::uint32_t hdrSize = U32(f + 14);
  const unsigned char* h = f + 14;

  int bpp = 0;
  std::uint32_t compression = BiRgb, clrUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (hdrSize == 12) {  // core header: 3-byte palette entries
    bpp = U16(h + 10);
    paletteEntrySize = 3;
  } else {
    bpp = U16(h + 14);
    if (hdrSize >= 20) compression = U32(h + 16);
    if (hdrSize >= 36) clrUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return Fail(error, "unsupported colour depth of " + std::to_string(bpp) + " bits");
  if (compression == BiJpeg || compression == BiPng)
    return Fail(error, "bitmaps with embedded JPEG or PNG data are not supported");
  if (compression != BiRgb && compression != BiRle8 && compression != BiRle4 && compression != BiBitfields &&
      compression != BiAlphaBitfields)
    return Fail(error, "unknown compression " + std::to_string(compression));
  if ((compression == BiRle8 && bpp != 8) || (compression == BiRle4 && bpp != 4))
    return Fail(error, "the compression does not fit the colour depth");
  if ((compression == BiRle8 || compression == BiRle4) && topDown)
    return Fail(error, "a compressed bitmap cannot be stored top-down");
  if ((compression == BiBitfields || compression == BiAlphaBitfields) && bpp != 16 && bpp != 32)
    return Fail(error, "colour masks need 16 or 32 bits per pixel");

  // Colour masks: inside the V2..V5 headers, or right after a 40-byte header.
  std::size_t afterHeader = 14 + hdrSize;
  std::uint32_t masks[3] = {0, 0, 0};
  if (bpp == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (bpp == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (compression == BiBitfields || compression == BiAlphaBitfields) {
    const std::size_t at = 14 + 40;
    if (at + 12 > size) return Fail(error, "the colour masks are missing");
    for (int i = 0; i < 3; ++i) masks[i] = U32(f + at + 4 * static_cast<std::size_t>(i));
    if (hdrSize == 40) afterHeader += compression == BiAlphaBitfields ? 16 : 12;
  }

  // Palette: as many entries as the header says (all of them when it says 0),
  // but never past the pixel data or the end of the file; the others are black.
  std::array<QRgb, 256> palette;
  palette.fill(qRgb(0, 0, 0));
  if (bpp <= 8) {
    std::size_t entries = clrUsed == 0 || clrUsed > (1u << bpp) ? (1u << bpp) : clrUsed;
    std::size_t end = size;
    if (offBits >= afterHeader && offBits <= size) end = offBits;
    if (afterHeader < end) entries = std::min(entries, (end - afterHeader) / paletteEntrySize);
    else entries = 0;
    for (std::size_t i = 0; i < entries; ++i) {
      const unsigned char* e = f + afterHeader + i * paletteEntrySize;
      palette[i] = qRgb(e[2], e[1], e[0]);
    }
  }

  std::size_t pixelsAt = offBits;
  if (offBits == 0) {
    pixelsAt = afterHeader + (bpp <= 8 ? (clrUsed == 0 || clrUsed > (1u << bpp) ? (1u << bpp) : clrUsed) * paletteEntrySize : 0);
  }
  if (pixelsAt < 14 + 12 || pixelsAt > size) return Fail(error, "the pixel data offset lies outside the file");
  const unsigned char* px = f + pixelsAt;
  const std::size_t avail = size - pixelsAt;
  const int w = static_cast<int>(width), ht = static_cast<int>(height);

  // The picture is made only once the file is known to hold its pixels.
  if (compression == BiRle8 || compression == BiRle4) {
    std::vector<std::uint8_t> idx;
    if (!DecodeRle(px, avail, w, ht, compression == BiRle4, idx, error)) return QImage();
    QImage img(w, ht, QImage::Format_RGB32);
    if (img.isNull()) return Fail(error, "not enough memory for the picture");
    for (int row = 0; row < ht; ++row) {
      auto* out = reinterpret_cast<QRgb*>(img.scanLine(ht - 1 - row));
      const std::uint8_t* in = idx.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(w);
      for (int x = 0; x < w; ++x) out[x] = palette[in[x]];
    }
    return img;
  }

  const std::size_t rowBits = static_cast<std::size_t>(w) * static_cast<std::size_t>(bpp);
  const std::size_t stride = (rowBits + 31) / 32 * 4;
  const std::size_t lastRow = (rowBits + 7) / 8;
  if (avail < stride * static_cast<std::size_t>(ht - 1) + lastRow) return Fail(error, "the pixel data is cut short");
  QImage img(w, ht, QImage::Format_RGB32);
  if (img.isNull()) return Fail(error, "not enough memory for the picture");

  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
  const bool plain32 = bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
  for (int row = 0; row < ht; ++row) {
    const unsigned char* in = px + stride * static_cast<std::size_t>(row);
    auto* out = reinterpret_cast<QRgb*>(img.scanLine(topDown ? row : ht - 1 - row));
    switch (bpp) {
      case 1:
      case 2:
      case 4: {
        const int perByte = 8 / bpp, mask = (1 << bpp) - 1;
        for (int x = 0; x < w; ++x) {
          const int b = in[x / perByte];
          const int shift = 8 - bpp * (x % perByte + 1);
          out[x] = palette[static_cast<std::size_t>((b >> shift) & mask)];
        }
        break;
      }
      case 8:
        for (int x = 0; x < w; ++x) out[x] = palette[in[x]];
        break;
      case 16:
        for (int x = 0; x < w; ++x) {
          const std::uint32_t v = U16(in + 2 * x);
          out[x] = qRgb(red.Value(v), green.Value(v), blue.Value(v));
        }
        break;
      case 24:
        for (int x = 0; x < w; ++x) out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
        break;
      case 32:
        if (plain32) {
          for (int x = 0; x < w; ++x) out[x] = qRgb(in[4 * x + 2], in[4 * x + 1], in[4 * x]);
        } else {
          for (int x = 0; x < w; ++x) {
            const std::uint32_t v = U32(in + 4 * x);
            out[x] = qRgb(red.Value(v), green.Value(v), blue.Value(v));
          }
        }
        break;
    }
  }
  return img;
}

QImage LoadBmp(const std::string& path, std::string* error) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return Fail(error, "the file cannot be opened");
  const qint64 fileSize = file.size();
  // The header first: a picture larger than the game reads is refused before
  // its pixels are read or any memory is taken for them.
  const QByteArray head = file.read(14 + 16);
  std::int64_t width = 0, height = 0;
  if (!HeaderSides(reinterpret_cast<const unsigned char*>(head.constData()), static_cast<std::size_t>(head.size()),
                   static_cast<std::size_t>(fileSize), width, height, error))
    return QImage();
  if (fileSize > MaxFile)
    return Fail(error, "the file is " + std::to_string(fileSize / (1024 * 1024)) + " MB; the game reads at most " +
                           std::to_string(MaxFile / (1024 * 1024)) + " MB for a bitmap");
  if (!file.seek(0)) return Fail(error, "the file cannot be read");
  const QByteArray data = file.readAll();
  if (data.size() != fileSize) return Fail(error, "the file cannot be read");
  return ReadBmp(data, error);
}

}  // namespace pav
