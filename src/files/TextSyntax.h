// What the text forms of game files and of the configuration share: the names of
// corners, sides, speeds and accuracies, strings between quotes, lines of words and
// strings, whole numbers, and the `raw` lines that keep the bytes no directive gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pav::text {

inline constexpr const char* CornerNames[5] = {"", "top-left", "top-right", "bottom-right", "bottom-left"};
inline constexpr const char* SideNames[5] = {"", "left", "right", "up", "down"};
inline constexpr const char* SpeedNames[3] = {"slow", "medium", "fast"};
inline constexpr const char* AccuracyNames[3] = {"poor", "medium", "high"};

inline constexpr int MaxRawBytesPerLine = 32;

std::string Num(long long v);
// Two upper-case hexadecimal digits.
std::string Hex2(unsigned v);
// 0..15, or -1 for a character that is not a hexadecimal digit.
int HexValue(char c);
// A string between double quotes: printable ASCII as it is, Windows-1252 letters as
// UTF-8, the rest as \xHH.
std::string Quote(const std::string& bytes);

struct TToken {
  std::string Text;
  bool Quoted = false;
};

// Words and quoted strings; a word beginning with '#' starts a comment. A mistake
// raises ETextFormatError with the line's number.
std::vector<TToken> Tokenize(const std::string& text, int line);
// The words of a line, split at spaces and tabs.
std::vector<std::string> Words(const std::string& text);
// A whole number in decimal, with an optional minus sign and nothing else.
std::optional<long long> ParseNumber(const std::string& s);

// A `raw` line (`raw OFFSET HEX`, three tokens) written over `bytes`. A mistake raises
// ETextFormatError with the line's number.
void ApplyRawLine(const std::vector<TToken>& t, int line, std::vector<std::uint8_t>& bytes);

// Appends `raw` lines for every byte where `got` (the packed text) differs from `orig`.
std::string AppendRawLines(std::string text, const std::vector<std::uint8_t>& got, const std::uint8_t* orig,
                           const std::function<std::string(std::size_t)>& describe);

}  // namespace pav::text
