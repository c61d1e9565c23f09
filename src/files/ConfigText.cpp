#include "files/ConfigText.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>

#include "files/TextFormat.h"
#include "files/TextSyntax.h"

namespace pav {

using namespace text;

namespace {

// One line per field of the record.
enum class TFieldType { Byte, Flag, Int32, String };
struct TConfigField {
  const char* Name;
  std::size_t Offset;
  TFieldType Type;
  int Capacity;  // strings
};

#define PAV_FIELD(name, field, type) {name, offsetof(TConfig, field), TFieldType::type, 0}
#define PAV_STRING(name, field) {name, offsetof(TConfig, field), TFieldType::String, decltype(TConfig::field)::Capacity}
const TConfigField ConfigFields[] = {
    PAV_FIELD("game-mode", GameMode, Byte),
    PAV_STRING("board-name", BoardName),
    PAV_STRING("puzzle-name", PuzzleName),
    PAV_STRING("campaign-name", CampaignName),
    PAV_FIELD("ip-from-puzzle", IPFromPuzzle, Flag),
    PAV_FIELD("op-from-puzzle", OPFromPuzzle, Flag),
    PAV_FIELD("tl-from-puzzle", TLFromPuzzle, Flag),
    PAV_FIELD("ml-from-puzzle", MLFromPuzzle, Flag),
    PAV_FIELD("computer-speed", ComputerSpeed, Byte),
    PAV_FIELD("computer-accuracy", ComputerAccuracy, Byte),
    PAV_FIELD("human-plays-first", HumanPlaysFirst, Flag),
    PAV_FIELD("wheel-moves", WheelMoves, Flag),
    PAV_FIELD("auto-tile-set", AutoTileSet, Flag),
    PAV_STRING("player-name", PlayerName),
    PAV_FIELD("write-log", WriteLog, Flag),
    PAV_FIELD("show-invalid", ShowInvalid, Flag),
    PAV_FIELD("highlight-elements", HighlightElements, Flag),
    PAV_STRING("board-graphics", BoardGraphics),
    PAV_STRING("tile-set", TileSet),
    PAV_STRING("user-tile-set", UserTileSet),
    PAV_FIELD("user-picture-on", UserPictureOn, Flag),
    PAV_STRING("click-sound", ClickSound),
    PAV_STRING("move-sound", MoveSound),
    PAV_STRING("solved-sound", SolvedSound),
    PAV_STRING("game-over-sound", GameOverSound),
    PAV_FIELD("sounds-on", SoundsOn, Flag),
    PAV_STRING("music-file", MusicFile),
    PAV_FIELD("music-mode", MusicMode, Byte),
    PAV_FIELD("music-on", MusicOn, Flag),
    PAV_STRING("picture-path", PicturePath),
    PAV_FIELD("picture-w", PictureW, Byte),
    PAV_FIELD("picture-h", PictureH, Byte),
    PAV_FIELD("picture-x", PictureX, Int32),
    PAV_FIELD("picture-y", PictureY, Int32),
    PAV_FIELD("picture-on", PictureOn, Flag),
    PAV_FIELD("use-opponent-time", UseOpponentTime, Flag),
    PAV_FIELD("use-opponent-moves", UseOpponentMoves, Flag),
    PAV_FIELD("opponent-and", OpponentAnd, Flag),
    PAV_FIELD("show-welcome", ShowWelcome, Flag),
};
#undef PAV_FIELD
#undef PAV_STRING

std::size_t FieldSize(const TConfigField& f) {
  switch (f.Type) {
    case TFieldType::Byte:
    case TFieldType::Flag: return 1;
    case TFieldType::Int32: return 4;
    case TFieldType::String: return static_cast<std::size_t>(f.Capacity) + 1;
  }
  return 0;
}

std::string DescribeConfigByte(std::size_t off) {
  for (const TConfigField& f : ConfigFields)
    if (off >= f.Offset && off < f.Offset + FieldSize(f)) return f.Name;
  if (off >= offsetof(TConfig, Reserved) && off < offsetof(TConfig, Reserved) + sizeof(TConfig::Reserved))
    return "reserved";
  return "padding";
}

std::vector<std::uint8_t> PackConfigLines(const std::string& text) {
  TConfig c;
  std::memset(&c, 0, sizeof c);
  auto* bytes = reinterpret_cast<std::uint8_t*>(&c);
  std::map<std::string, int> seen;
  std::vector<std::pair<int, std::vector<TToken>>> raw;
  bool kind = false;
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  int line = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string l = text.substr(start, end - start);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    ++line;
    start = end + 1;
    const std::vector<TToken> t = Tokenize(l, line);
    if (!t.empty()) {
      if (t[0].Quoted) throw ETextFormatError(line, "a line begins with a directive, not with a string");
      const std::string& d = t[0].Text;
      if (!kind) {
        if (t.size() != 2 || d != "kind" || t[1].Quoted || t[1].Text != "config")
          throw ETextFormatError(line, "a configuration text begins with 'kind config'");
        kind = true;
      } else if (d == "kind") {
        throw ETextFormatError(line, "'kind' is given twice");
      } else if (d == "raw") {
        if (t.size() != 3) throw ETextFormatError(line, "'raw' takes an offset and hexadecimal bytes");
        raw.emplace_back(line, t);
      } else {
        const TConfigField* f = nullptr;
        for (const TConfigField& cand : ConfigFields)
          if (d == cand.Name) f = &cand;
        if (!f) throw ETextFormatError(line, "unknown directive '" + d + "' in a config text");
        const auto [it, fresh] = seen.emplace(d, line);
        if (!fresh) throw ETextFormatError(line, "'" + d + "' is given twice (first on line " + Num(it->second) + ")");
        if (t.size() != 2) throw ETextFormatError(line, "'" + d + "' takes one value");
        const TToken& v = t[1];
        std::uint8_t* at = bytes + f->Offset;
        switch (f->Type) {
          case TFieldType::Flag:
            if (!v.Quoted && (v.Text == "yes" || v.Text == "no")) {
              *at = v.Text == "yes" ? 1 : 0;
              break;
            }
            [[fallthrough]];
          case TFieldType::Byte: {
            const auto n = v.Quoted ? std::nullopt : ParseNumber(v.Text);
            if (!n || *n < 0 || *n > 255)
              throw ETextFormatError(line, d + " must be " + (f->Type == TFieldType::Flag ? "yes, no or " : "") +
                                               "a whole number 0..255, not '" + v.Text + "'");
            *at = static_cast<std::uint8_t>(*n);
            break;
          }
          case TFieldType::Int32: {
            const auto n = v.Quoted ? std::nullopt : ParseNumber(v.Text);
            if (!n || *n < INT32_MIN || *n > INT32_MAX)
              throw ETextFormatError(line, d + " must be a whole number, not '" + v.Text + "'");
            const auto i = static_cast<std::int32_t>(*n);
            std::memcpy(at, &i, sizeof i);
            break;
          }
          case TFieldType::String: {
            if (!v.Quoted) throw ETextFormatError(line, d + " is written between double quotes");
            if (v.Text.size() > static_cast<std::size_t>(f->Capacity))
              throw ETextFormatError(line, d + " has " + Num(static_cast<long long>(v.Text.size())) +
                                               " characters; at most " + Num(f->Capacity) + " fit");
            at[0] = static_cast<std::uint8_t>(v.Text.size());
            std::memcpy(at + 1, v.Text.data(), v.Text.size());
            break;
          }
        }
      }
    }
    if (end == text.size()) break;
  }
  if (!kind) throw ETextFormatError(line, "the text is empty; it must begin with 'kind config'");
  std::vector<std::uint8_t> out(bytes, bytes + sizeof c);
  for (const auto& [rl, t] : raw) ApplyRawLine(t, rl, out);
  return out;
}

}  // namespace

bool IsConfigText(const std::string& text) {
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  int line = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string l = text.substr(start, end - start);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    std::vector<TToken> t;
    try {
      t = Tokenize(l, ++line);
    } catch (const ETextFormatError&) {
      return false;
    }
    if (!t.empty()) return t.size() == 2 && !t[0].Quoted && t[0].Text == "kind" && !t[1].Quoted && t[1].Text == "config";
    if (end == text.size()) break;
    start = end + 1;
  }
  return false;
}

std::vector<std::uint8_t> PackConfigText(const std::string& text) { return PackConfigLines(text); }

std::string UnpackConfig(const TConfig& c) {
  std::string out = "# Pavilore configuration. Flags are yes or no; names are files without folder and extension.\n";
  out += "kind config\n";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&c);
  for (const TConfigField& f : ConfigFields) {
    const std::uint8_t* at = bytes + f.Offset;
    std::string value;
    switch (f.Type) {
      case TFieldType::Flag: value = *at == 0 ? "no" : *at == 1 ? "yes" : Num(*at); break;
      case TFieldType::Byte: value = Num(*at); break;
      case TFieldType::Int32: {
        std::int32_t i;
        std::memcpy(&i, at, sizeof i);
        value = Num(i);
        break;
      }
      case TFieldType::String: {
        const int len = std::min<int>(at[0], f.Capacity);
        value = Quote(std::string(reinterpret_cast<const char*>(at + 1), static_cast<std::size_t>(len)));
        break;
      }
    }
    out += std::string(f.Name) + " " + value + "\n";
  }
  std::vector<std::uint8_t> packed;
  try {
    packed = PackConfigLines(out);
  } catch (const ETextFormatError& e) {
    throw std::logic_error(std::string("the unpacked text does not pack: ") + e.what());
  }
  return AppendRawLines(std::move(out), packed, bytes, &DescribeConfigByte);
}

}  // namespace pav
