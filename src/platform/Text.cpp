#include "platform/Text.h"

#include <cstdint>

namespace pav {

namespace {

// Code points of bytes 0x80..0x9F; 0 where the byte is undefined (kept as U+0080..U+009F).
constexpr std::uint16_t High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void PutUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::uint32_t CodePoint(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && High[b - 0x80] != 0) return High[b - 0x80];
  return b;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) PutUtf8(out, CodePoint(b));
  return out;
}

std::string Utf8ToCp1252(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp = c;
    std::size_t len = 1;
    // A sequence counts only when all its continuation bytes are there.
    auto follows = [&](std::size_t n) {
      if (i + n >= utf8.size()) return false;
      for (std::size_t k = 1; k <= n; ++k)
        if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0u) != 0x80u) return false;
      return true;
    };
    if (c >= 0xC0 && c < 0xE0 && follows(1)) {
      cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      len = 2;
    } else if (c >= 0xE0 && c < 0xF0 && follows(2)) {
      cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
      len = 3;
    } else if (c >= 0xF0 && follows(3)) {
      cp = 0x110000;  // outside the code page
      len = 4;
    }
    i += len;
    if (cp < 0x100 && !(cp >= 0x80 && cp < 0xA0 && High[cp - 0x80] != 0)) {
      out += static_cast<char>(cp);
      continue;
    }
    char b = '?';
    for (int k = 0; k < 32; ++k)
      if (High[k] == cp) b = static_cast<char>(0x80 + k);
    out += b;
  }
  return out;
}

bool GameNameOfFile(const std::string& utf8, std::string& name) {
  name = Utf8ToCp1252(utf8);
  return Cp1252ToUtf8(name) == utf8;
}

}  // namespace pav
