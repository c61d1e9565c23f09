#include "files/TextSyntax.h"

#include <charconv>
#include <cstdio>

#include "files/TextFormat.h"
#include "platform/Text.h"

namespace pav::text {

namespace {

// Strings: printable ASCII as it is, Windows-1252 letters as UTF-8, the rest \xHH.

bool UndefinedInCp1252(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

// One UTF-8 character starting at s[i] (a byte of 0x80 or above) as a Windows-1252 byte.
char Utf8CharToCp1252(const std::string& s, std::size_t& i, int line) {
  const auto lead = static_cast<unsigned char>(s[i]);
  int extra = 0;
  std::uint32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07u;
  } else {
    throw ETextFormatError(line, "the text is not valid UTF-8 (byte \\x" + Hex2(lead) + " in a string)");
  }
  if (i + static_cast<std::size_t>(extra) >= s.size())
    throw ETextFormatError(line, "the text is not valid UTF-8 (a character is cut short in a string)");
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((c & 0xC0u) != 0x80u) throw ETextFormatError(line, "the text is not valid UTF-8 (a broken character in a string)");
    cp = (cp << 6) | (c & 0x3Fu);
  }
  const std::string one = s.substr(i, static_cast<std::size_t>(extra) + 1);
  i += static_cast<std::size_t>(extra) + 1;
  const std::string b = cp <= 0xFFFF ? Utf8ToCp1252(one) : std::string("?");
  if (b.size() != 1 || b[0] == '?') {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    throw ETextFormatError(line, std::string("the character ") + buf +
                                     " has no Windows-1252 byte; write the byte you mean as \\xHH");
  }
  return b[0];
}

// Reads a quoted string starting at line[i] == '"'; i ends after the closing quote.
std::string ReadQuoted(const std::string& text, std::size_t& i, int line) {
  std::string out;
  ++i;
  for (;;) {
    if (i >= text.size()) throw ETextFormatError(line, "the string has no closing quote");
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (c == '"') {
      ++i;
      return out;
    }
    if (c == '\\') {
      if (i + 1 >= text.size()) throw ETextFormatError(line, "the string has no closing quote");
      const char e = text[i + 1];
      if (e == '"' || e == '\\') {
        out += e;
        i += 2;
      } else if (e == 'x') {
        const int hi = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        const int lo = i + 3 < text.size() ? HexValue(text[i + 3]) : -1;
        if (hi < 0 || lo < 0) throw ETextFormatError(line, "\\x must be followed by two hexadecimal digits");
        out += static_cast<char>(hi * 16 + lo);
        i += 4;
      } else {
        throw ETextFormatError(line, std::string("unknown escape \\") + e + " in a string (use \\\", \\\\ or \\xHH)");
      }
    } else if (u < 0x20 || u == 0x7F) {
      throw ETextFormatError(line, "a control character in a string; write it as \\xHH");
    } else if (u < 0x80) {
      out += c;
      ++i;
    } else {
      out += Utf8CharToCp1252(text, i, line);
    }
  }
}

// Lines of directives

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string Num(long long v) { return std::to_string(v); }

std::string Hex2(unsigned v) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  return {Digits[(v >> 4) & 15], Digits[v & 15]};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Quote(const std::string& bytes) {
  std::string out = "\"";
  for (const unsigned char b : bytes) {
    if (b == '"' || b == '\\') {
      out += '\\';
      out += static_cast<char>(b);
    } else if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
    } else if ((b >= 0x80 && b < 0xA0 && !UndefinedInCp1252(b)) || (b > 0xA0 && b != 0xAD)) {
      // No-break space and soft hyphen look like other characters: they stay escaped.
      out += Cp1252ToUtf8(std::string(1, static_cast<char>(b)));
    } else {
      out += "\\x" + Hex2(b);
    }
  }
  out += '"';
  return out;
}

std::vector<TToken> Tokenize(const std::string& text, int line) {
  std::vector<TToken> out;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i >= text.size() || text[i] == '#') break;
    if (text[i] == '"') {
      out.push_back({ReadQuoted(text, i, line), true});
      if (i < text.size() && !IsSpace(text[i]))
        throw ETextFormatError(line, "a space must follow the closing quote of a string");
    } else {
      std::size_t j = i;
      while (j < text.size() && !IsSpace(text[j])) ++j;
      std::string word = text.substr(i, j - i);
      if (word.find('"') != std::string::npos)
        throw ETextFormatError(line, "a quote inside the word '" + word + "'; strings stand alone between quotes");
      out.push_back({std::move(word), false});
      i = j;
    }
  }
  return out;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i >= text.size()) break;
    std::size_t j = i;
    while (j < text.size() && !IsSpace(text[j])) ++j;
    out.push_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

std::optional<long long> ParseNumber(const std::string& s) {
  long long v = 0;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (s.empty() || s[0] == '+') return std::nullopt;
  const auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return v;
}

void ApplyRawLine(const std::vector<TToken>& t, int line, std::vector<std::uint8_t>& bytes) {
  const long long last = static_cast<long long>(bytes.size()) - 1;
  const std::optional<long long> off = t[1].Quoted ? std::nullopt : ParseNumber(t[1].Text);
  if (!off || *off < 0 || *off > last)
    throw ETextFormatError(line, "the offset must be a whole number 0.." + Num(last) + ", not '" + t[1].Text + "'");
  const std::string& hex = t[2].Text;
  if (t[2].Quoted || hex.empty() || hex.size() % 2 != 0)
    throw ETextFormatError(line, "the bytes of 'raw' are pairs of hexadecimal digits");
  const std::size_t n = hex.size() / 2;
  if (static_cast<std::size_t>(*off) + n > bytes.size())
    throw ETextFormatError(line, "the bytes run past the end of the record (" + Num(last + 1) + " bytes)");
  for (std::size_t i = 0; i < n; ++i) {
    const int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) throw ETextFormatError(line, "the bytes of 'raw' are pairs of hexadecimal digits");
    bytes[static_cast<std::size_t>(*off) + i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
}

std::string AppendRawLines(std::string text, const std::vector<std::uint8_t>& got, const std::uint8_t* orig,
                           const std::function<std::string(std::size_t)>& describe) {
  const std::size_t n = got.size();
  bool header = false;
  std::size_t i = 0;
  while (i < n) {
    if (got[i] == orig[i]) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    std::size_t end = i + 1;
    for (std::size_t j = i + 1; j < n && j - start < MaxRawBytesPerLine && j - end < 4; ++j)
      if (got[j] != orig[j]) end = j + 1;
    if (!header) {
      text += "# bytes the directives above do not give\n";
      header = true;
    }
    std::string hex;
    for (std::size_t k = start; k < end; ++k) hex += Hex2(orig[k]);
    text += "raw " + Num(static_cast<long long>(start)) + " " + hex + "  # " + describe(start) + "\n";
    i = end;
  }
  return text;
}

}  // namespace pav::text
