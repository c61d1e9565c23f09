// The headers of the pictures the game reads, as the tool's check looks at them:
// a bitmap's or a JPEG's size, or why the file is no usable picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pav::tool {

inline std::uint32_t LE(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}
inline std::uint32_t BE(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

// Width and height of a bitmap, or a reason.
inline std::optional<std::string> BmpSize(const std::string& b, long& w, long& h) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return "not a bitmap (no BM header)";
  const std::uint32_t dib = LE(b, 14, 4);
  if (dib == 12) {
    w = LE(b, 18, 2);
    h = LE(b, 20, 2);
  } else if (dib >= 40 && b.size() >= 14 + static_cast<std::size_t>(40)) {
    w = static_cast<std::int32_t>(LE(b, 18, 4));
    h = static_cast<std::int32_t>(LE(b, 22, 4));
    if (h < 0) h = -h;
    const std::uint32_t bits = LE(b, 28, 2);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
      return "a bitmap of " + std::to_string(bits) + " bits per pixel";
  } else {
    return "a bitmap with an unknown header of " + std::to_string(dib) + " bytes";
  }
  if (LE(b, 10, 4) >= b.size()) return "the bitmap's pixels lie past the end of the file";
  if (w <= 0 || h <= 0) return "the bitmap has no pixels";
  // Uncompressed rows, each padded to 4 bytes, must all be there.
  if (dib >= 40 && LE(b, 30, 4) == 0) {
    const std::uint64_t bits = LE(b, 28, 2);
    const std::uint64_t need = LE(b, 10, 4) + (static_cast<std::uint64_t>(w) * bits + 31) / 32 * 4 *
                                                  static_cast<std::uint64_t>(h);
    if (need > b.size())
      return "the bitmap is cut short (" + std::to_string(b.size()) + " of " + std::to_string(need) + " bytes)";
  }
  return std::nullopt;
}

// A JPEG whose picture data begins (a start-of-scan marker after the frame header
// at `at`) and never ends: no end-of-image marker follows.
inline std::optional<std::string> JpegCut(const std::string& b, std::size_t at) {
  for (std::size_t i = at; i + 4 <= b.size();) {
    if (static_cast<unsigned char>(b[i]) != 0xFF) return std::nullopt;
    const unsigned m = static_cast<unsigned char>(b[i + 1]);
    if (m == 0xFF) {
      ++i;
      continue;
    }
    if (m == 0xD9) return std::nullopt;
    const std::uint32_t len = BE(b, i + 2, 2);
    if (len < 2 || i + 2 + len > b.size()) return "a JPEG segment runs past the end of the file";
    if (m == 0xDA) {
      if (b.find("\xFF\xD9", i + 2 + len) == std::string::npos)
        return "the JPEG picture is cut short (no end-of-image marker)";
      return std::nullopt;
    }
    i += 2 + len;
  }
  return std::nullopt;
}

// Width and height from a JPEG's start-of-frame marker.
inline std::optional<std::string> JpegSize(const std::string& b, long& w, long& h) {
  if (b.size() < 4 || static_cast<unsigned char>(b[0]) != 0xFF || static_cast<unsigned char>(b[1]) != 0xD8)
    return "not a JPEG picture (no start-of-image marker)";
  std::size_t i = 2;
  while (i + 4 <= b.size()) {
    if (static_cast<unsigned char>(b[i]) != 0xFF) return "a broken JPEG marker";
    const unsigned m = static_cast<unsigned char>(b[i + 1]);
    if (m == 0xFF) {
      ++i;
      continue;
    }
    if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
      i += 2;
      continue;
    }
    const std::uint32_t len = BE(b, i + 2, 2);
    if (len < 2 || i + 2 + len > b.size()) return "a JPEG segment runs past the end of the file";
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      if (len < 8) return "a short JPEG frame header";
      h = BE(b, i + 5, 2);
      w = BE(b, i + 7, 2);
      if (w <= 0 || h <= 0) return "the JPEG picture has no pixels";
      return JpegCut(b, i + 2 + len);
    }
    if (m == 0xDA || m == 0xD9) break;
    i += 2 + len;
  }
  return "no JPEG frame header before the picture data";
}

}  // namespace pav::tool
