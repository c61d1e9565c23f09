#include "files/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <utility>

#include "engine/MoveEngine.h"
#include "engine/Scramble.h"
#include "files/GameFiles.h"
#include "files/RecordsTable.h"
#include "platform/Text.h"

namespace pav {

namespace {

// ---------------------------------------------------------------------------
// Names used by the directives

constexpr const char* CornerNames[5] = {"", "top-left", "top-right", "bottom-right", "bottom-left"};
constexpr const char* SideNames[5] = {"", "left", "right", "up", "down"};
constexpr const char* SpeedNames[3] = {"slow", "medium", "fast"};
constexpr const char* AccuracyNames[3] = {"poor", "medium", "high"};

constexpr int MaxRawBytesPerLine = 32;
// A scramble records at least one step per push in a move list of 1024 entries.
constexpr int MaxScramblePushes = 500;

std::string Num(long long v) { return std::to_string(v); }

std::string Hex2(unsigned v) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  return {Digits[(v >> 4) & 15], Digits[v & 15]};
}

// ---------------------------------------------------------------------------
// Strings: printable ASCII as it is, Windows-1252 letters as UTF-8, the rest \xHH.

bool UndefinedInCp1252(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

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

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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

// ---------------------------------------------------------------------------
// Lines of directives

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

struct TToken {
  std::string Text;
  bool Quoted = false;
};

// Words and quoted strings; a word beginning with '#' starts a comment.
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

// ---------------------------------------------------------------------------
// Where a byte of a record lies, for the comments of `raw` lines

std::string Cell(int x, int y) { return "(" + Num(x) + "," + Num(y) + ")"; }

std::string DescribeTable(std::size_t off) {
  auto entry = [](std::size_t o, std::size_t size) { return Num(static_cast<long long>(o / size) + 1); };
  if (off < 130) return "time name " + entry(off, 13);
  if (off < 132) return "padding";
  if (off < 172) return "time value " + entry(off - 132, 4);
  if (off < 302) return "moves name " + entry(off - 172, 13);
  if (off < 304) return "padding";
  return "moves value " + entry(off - 304, 4);
}

std::string DescribePattern(std::size_t off) {
  if (off < sizeof(TGrid)) return "tile " + Cell(static_cast<int>(off / GridH), static_cast<int>(off % GridH));
  return "link slot " + Num(static_cast<long long>((off - sizeof(TGrid)) / sizeof(TLink)) + 1);
}

std::string DescribeBoardByte(std::size_t off) {
  if (off == offsetof(TBoard, Width)) return "width";
  if (off == offsetof(TBoard, Height)) return "height";
  if (off < offsetof(TBoard, Pattern)) {
    const std::size_t i = off - offsetof(TBoard, Cells);
    return "cell " + Cell(static_cast<int>(i / GridH), static_cast<int>(i % GridH));
  }
  if (off < offsetof(TBoard, CellText)) return "pattern " + DescribePattern(off - offsetof(TBoard, Pattern));
  if (off < offsetof(TBoard, Jumps)) {
    const std::size_t i = off - offsetof(TBoard, CellText);
    return "text " + Cell(static_cast<int>(i / CellTextRows) + 1, static_cast<int>(i % CellTextRows) + 1);
  }
  if (off < offsetof(TBoard, Turns))
    return "jump slot " + Num(static_cast<long long>((off - offsetof(TBoard, Jumps)) / sizeof(TJump)) + 1);
  if (off < offsetof(TBoard, Records))
    return "turn slot " + Num(static_cast<long long>((off - offsetof(TBoard, Turns)) / sizeof(TTurn)) + 1);
  if (off < offsetof(TBoard, BotRecords)) return "records, " + DescribeTable(off - offsetof(TBoard, Records));
  if (off < offsetof(TBoard, StepsPerMove)) {
    const std::size_t i = off - offsetof(TBoard, BotRecords);
    const std::size_t t = i / sizeof(TRecordTable);
    return std::string("bot records ") + SpeedNames[t / 3] + " " + AccuracyNames[t % 3] + ", " +
           DescribeTable(i % sizeof(TRecordTable));
  }
  if (off == offsetof(TBoard, StepsPerMove)) return "steps per move";
  if (off < offsetof(TBoard, Author)) return "title";
  if (off < offsetof(TBoard, RecommendedTileSet)) return "author";
  if (off < offsetof(TBoard, Pad)) return "tile set";
  return "padding";
}

std::string DescribePuzzleByte(std::size_t off) {
  if (off < offsetof(TPuzzle, IP)) return "board name";
  if (off < offsetof(TPuzzle, OP)) return "ip " + DescribePattern(off - offsetof(TPuzzle, IP));
  if (off < offsetof(TPuzzle, Reserved)) return "op " + DescribePattern(off - offsetof(TPuzzle, OP));
  if (off < offsetof(TPuzzle, TimeLimit)) return "reserved";
  if (off < offsetof(TPuzzle, MovesLimit)) return "time limit";
  if (off < offsetof(TPuzzle, Records)) return "moves limit";
  if (off < offsetof(TPuzzle, Title)) return "records, " + DescribeTable(off - offsetof(TPuzzle, Records));
  if (off < offsetof(TPuzzle, Author)) return "title";
  if (off < offsetof(TPuzzle, Pad)) return "author";
  return "padding";
}

std::string DescribeCampaignByte(std::size_t off) {
  if (off < offsetof(TCampaign, Pad1)) return "level slot " + Num(static_cast<long long>(off / sizeof(TName50)) + 1);
  if (off < offsetof(TCampaign, Records)) return "padding";
  if (off < offsetof(TCampaign, Title)) return "records, " + DescribeTable(off - offsetof(TCampaign, Records));
  if (off < offsetof(TCampaign, Author)) return "title";
  if (off < offsetof(TCampaign, Pad2)) return "author";
  return "padding";
}

std::string DescribeByte(TGameFileKind kind, std::size_t off) {
  switch (kind) {
    case TGameFileKind::Board: return DescribeBoardByte(off);
    case TGameFileKind::Puzzle: return DescribePuzzleByte(off);
    case TGameFileKind::Campaign: return DescribeCampaignByte(off);
  }
  return {};
}

// ---------------------------------------------------------------------------
// Packing

void ClearBoardTables(TBoard& b) {
  ClearRecordTable(b.Records, TRecordOrder::Ascending);
  for (auto& row : b.BotRecords)
    for (auto& t : row) ClearRecordTable(t, TRecordOrder::Descending);
}

struct TGridBlock {
  int Line = 0;  // 0: not given
  std::vector<std::pair<int, std::vector<std::string>>> Rows;
};

class TPacker {
 public:
  TPacker(const std::string& text, const TBoardLookup& findBoard) : FindBoard(findBoard) {
    std::size_t start = 0;
    // A byte-order mark is allowed at the very beginning.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string l = text.substr(start, end - start);
      if (!l.empty() && l.back() == '\r') l.pop_back();
      Lines.push_back(std::move(l));
      if (end == text.size()) break;
      start = end + 1;
    }
  }

  TPackedFile Run() {
    std::size_t k = 0;
    for (; k < Lines.size(); ++k) {
      const int line = static_cast<int>(k) + 1;
      std::vector<TToken> t = Tokenize(Lines[k], line);
      if (t.empty()) continue;
      if (!Kind) {
        StartKind(t, line);
        continue;
      }
      if (!t[0].Quoted && IsBlockName(t[0].Text)) {
        if (t.size() != 1 && *Kind == TGameFileKind::Puzzle) {
          PatternShortcut(t, line);
          continue;
        }
        if (t.size() != 1) throw ETextFormatError(line, "'" + t[0].Text + "' stands alone; its rows follow on the next lines");
        k = ReadBlock(k, BlockFor(t[0].Text, line));
        continue;
      }
      Directive(t, line);
    }
    if (!Kind) throw ETextFormatError(static_cast<int>(Lines.size()), "the text is empty; it must begin with 'kind board', 'kind puzzle' or 'kind campaign'");
    return Finish();
  }

 private:
  std::vector<std::string> Lines;
  std::optional<TGameFileKind> Kind;
  int KindLine = 0;
  std::unique_ptr<TBoard> Board;
  std::unique_ptr<TPuzzle> Puzzle;
  std::unique_ptr<TCampaign> Campaign;
  std::map<std::string, int> Seen;  // single directives and the line that gave them
  std::map<std::string, int> RecordSeen;
  TGridBlock BoardGrid, IPGrid, OPGrid;
  int BoardLinks = 0, IPLinks = 0, OPLinks = 0, Turns = 0, Jumps = 0, Levels = 0;
  int SizeLine = 0;
  std::vector<std::pair<int, std::vector<TToken>>> Raw;
  const TBoardLookup& FindBoard;
  // `op board` and `ip scramble SEED [PUSHES]`
  int OPBoardLine = 0;
  int ScrambleLine = 0;
  std::uint32_t ScrambleSeed = 0;
  int ScramblePushes = 0;
  int BoardNameLine = 0;
  int IPLinkLine = 0, OPLinkLine = 0;
  bool Scrambled = false;
  std::vector<TPushStep> Solution;

  // ---- the first directive

  void StartKind(const std::vector<TToken>& t, int line) {
    if (t.size() != 2 || t[0].Quoted || t[0].Text != "kind" || t[1].Quoted)
      throw ETextFormatError(line, "the text must begin with 'kind board', 'kind puzzle' or 'kind campaign'");
    KindLine = line;
    if (t[1].Text == "board") {
      Kind = TGameFileKind::Board;
      Board = std::make_unique<TBoard>();
      std::memset(Board.get(), 0, sizeof(TBoard));
      ClearBoardTables(*Board);
      Board->StepsPerMove = 1;
    } else if (t[1].Text == "puzzle") {
      Kind = TGameFileKind::Puzzle;
      Puzzle = std::make_unique<TPuzzle>();
      std::memset(Puzzle.get(), 0, sizeof(TPuzzle));
      ClearRecordTable(Puzzle->Records, TRecordOrder::Ascending);
    } else if (t[1].Text == "campaign") {
      Kind = TGameFileKind::Campaign;
      Campaign = std::make_unique<TCampaign>();
      std::memset(Campaign.get(), 0, sizeof(TCampaign));
      ClearRecordTable(Campaign->Records, TRecordOrder::Ascending);
    } else {
      throw ETextFormatError(line, "unknown kind '" + t[1].Text + "' (board, puzzle or campaign)");
    }
  }

  // ---- grid blocks

  bool IsBlockName(const std::string& w) const {
    if (*Kind == TGameFileKind::Board) return w == "grid";
    if (*Kind == TGameFileKind::Puzzle) return w == "ip" || w == "op";
    return false;
  }

  TGridBlock& BlockFor(const std::string& name, int line) {
    Once(name, line);
    if (name == "grid") return BoardGrid;
    return name == "ip" ? IPGrid : OPGrid;
  }

  // Reads the rows after the block's first line up to `end`; returns the index of the `end` line.
  std::size_t ReadBlock(std::size_t k, TGridBlock& block) {
    block.Line = static_cast<int>(k) + 1;
    for (std::size_t r = k + 1; r < Lines.size(); ++r) {
      std::vector<std::string> w = Words(Lines[r]);
      if (w.empty()) continue;
      if (w.size() == 1 && w[0] == "end") return r;
      block.Rows.emplace_back(static_cast<int>(r) + 1, std::move(w));
    }
    throw ETextFormatError(block.Line, "the grid that begins here has no 'end' line");
  }

  // `op board`, or `ip scramble SEED [PUSHES]`, in place of a grid.
  void PatternShortcut(const std::vector<TToken>& t, int line) {
    const std::string& name = t[0].Text;
    if (name == "op") {
      if (t.size() != 2 || t[1].Quoted || t[1].Text != "board")
        throw ETextFormatError(line, "'op' stands alone (a grid follows) or is 'op board'");
      Once(name, line);
      OPBoardLine = line;
      return;
    }
    if (t.size() < 3 || t.size() > 4 || t[1].Quoted || t[1].Text != "scramble")
      throw ETextFormatError(line, "'ip' stands alone (a grid follows) or is 'ip scramble SEED [PUSHES]'");
    Once(name, line);
    ScrambleLine = line;
    ScrambleSeed = static_cast<std::uint32_t>(Number(t[2], 0, 4294967295LL, "the seed", line));
    if (t.size() == 4) ScramblePushes = static_cast<int>(Number(t[3], 1, MaxScramblePushes, "the number of pushes", line));
  }

  // The board named by the `board` line, for `op board` and `ip scramble`.
  const TBoard& NeededBoard(int line) const {
    const std::string name = Puzzle->BoardName.Str();
    if (!BoardNameLine || name.empty())
      throw ETextFormatError(line, "this needs the puzzle's board: give its name with 'board \"NAME\"'");
    const TBoard* b = FindBoard ? FindBoard(name) : nullptr;
    if (!b) throw ETextFormatError(line, "the board '" + Cp1252ToUtf8(name) + "' is not found");
    if (const auto broken = CheckBoard(*b))
      throw ETextFormatError(line, "the board '" + Cp1252ToUtf8(name) + "' cannot be used: " + *broken);
    return *b;
  }

  void ApplyPuzzlePatterns() {
    TPuzzle& p = *Puzzle;
    ApplyPuzzleGrid(IPGrid, p.IP);
    ApplyPuzzleGrid(OPGrid, p.OP);
    if (OPBoardLine) {
      if (OPLinkLine) throw ETextFormatError(OPLinkLine, "'op-link' cannot go with 'op board': the links are the board's");
      CopyPattern(NeededBoard(OPBoardLine).Pattern, p.OP);
    }
    if (!ScrambleLine) return;
    if (IPLinkLine)
      throw ETextFormatError(IPLinkLine, "'ip-link' cannot go with 'ip scramble': the scramble carries the objective's links");
    const TBoard& board = NeededBoard(ScrambleLine);
    const TPuzzleScramble sc = ScramblePuzzle(board, p.OP, ScrambleSeed, ScramblePushes);
    if (!sc.Made)
      throw ETextFormatError(ScrambleLine, "no push changes the objective on this board; it cannot be scrambled");
    if (!ReplayScript(board, sc.IP, p.OP, sc.History, &Solution))
      throw ETextFormatError(ScrambleLine, "replaying the recorded pushes of the scramble with seed " + Num(ScrambleSeed) +
                                               " does not lead back to the objective; choose another seed");
    CopyPattern(sc.IP, p.IP);
    Scrambled = true;
  }

  // ---- helpers for arguments

  void Once(const std::string& name, int line) {
    const auto [it, fresh] = Seen.emplace(name, line);
    if (!fresh) throw ETextFormatError(line, "'" + name + "' is given twice (first on line " + Num(it->second) + ")");
  }

  static void Count(const std::vector<TToken>& t, std::size_t n, const std::string& usage, int line) {
    if (t.size() != n + 1) throw ETextFormatError(line, "'" + t[0].Text + "' takes " + usage);
  }

  static long long Number(const TToken& tok, long long lo, long long hi, const std::string& what, int line) {
    const std::optional<long long> v = tok.Quoted ? std::nullopt : ParseNumber(tok.Text);
    if (!v || *v < lo || *v > hi)
      throw ETextFormatError(line, what + " must be a whole number " + Num(lo) + ".." + Num(hi) + ", not '" + tok.Text + "'");
    return *v;
  }

  static std::uint8_t Byte(const TToken& tok, const std::string& what, int line, long long lo = 0) {
    return static_cast<std::uint8_t>(Number(tok, lo, 255, what, line));
  }

  static std::string String(const TToken& tok, std::size_t max, const std::string& what, int line) {
    if (!tok.Quoted) throw ETextFormatError(line, what + " is written between double quotes");
    if (tok.Text.size() > max)
      throw ETextFormatError(line, what + " has " + Num(static_cast<long long>(tok.Text.size())) +
                                       " characters; at most " + Num(static_cast<long long>(max)) + " fit");
    return tok.Text;
  }

  // A name from `names` (index 1..4) or a number 0..255.
  static std::uint8_t Named(const TToken& tok, const char* const (&names)[5], const std::string& what, int line) {
    for (int i = 1; i <= 4; ++i)
      if (!tok.Quoted && tok.Text == names[i]) return static_cast<std::uint8_t>(i);
    const std::optional<long long> v = tok.Quoted ? std::nullopt : ParseNumber(tok.Text);
    if (!v || *v < 0 || *v > 255)
      throw ETextFormatError(line, "unknown " + what + " '" + tok.Text + "' (" + names[1] + ", " + names[2] + ", " +
                                       names[3] + " or " + names[4] + ")");
    return static_cast<std::uint8_t>(*v);
  }

  template <int N>
  void SetString(TShortString<N>& s, const std::vector<TToken>& t, const std::string& what, int line) {
    Once(t[0].Text, line);
    Count(t, 1, "one string in double quotes", line);
    s.Assign(String(t[1], N, what, line));
  }

  // ---- directives

  [[noreturn]] void Unknown(const std::vector<TToken>& t, int line) const {
    if (t[0].Quoted) throw ETextFormatError(line, "a line begins with a directive, not with a string");
    throw ETextFormatError(line, "unknown directive '" + t[0].Text + "' in a " + KindName(*Kind) + " text");
  }

  void Directive(const std::vector<TToken>& t, int line) {
    if (t[0].Quoted) Unknown(t, line);
    const std::string& d = t[0].Text;
    if (d == "kind") throw ETextFormatError(line, "'kind' is given twice (first on line " + Num(KindLine) + ")");
    if (d == "raw") {
      if (t.size() != 3) throw ETextFormatError(line, "'raw' takes an offset and hexadecimal bytes");
      Raw.emplace_back(line, t);
      return;
    }
    if (d == "record") {
      RecordLine(t, 0, line);
      return;
    }
    switch (*Kind) {
      case TGameFileKind::Board: BoardDirective(t, line); break;
      case TGameFileKind::Puzzle: PuzzleDirective(t, line); break;
      case TGameFileKind::Campaign: CampaignDirective(t, line); break;
    }
  }

  void BoardDirective(const std::vector<TToken>& t, int line) {
    TBoard& b = *Board;
    const std::string& d = t[0].Text;
    if (d == "title") {
      SetString(b.Title, t, "the title", line);
    } else if (d == "author") {
      SetString(b.Author, t, "the author", line);
    } else if (d == "tile-set") {
      SetString(b.RecommendedTileSet, t, "the tile set", line);
    } else if (d == "size") {
      Once(d, line);
      Count(t, 2, "the width and the height", line);
      b.Width = Byte(t[1], "the width", line);
      b.Height = Byte(t[2], "the height", line);
      SizeLine = line;
    } else if (d == "steps-per-move") {
      Once(d, line);
      Count(t, 1, "one number", line);
      b.StepsPerMove = Byte(t[1], "steps per move", line);
    } else if (d == "link") {
      LinkLine(b.Pattern, BoardLinks, t, line);
    } else if (d == "turn") {
      Count(t, 3, "X Y CORNER", line);
      if (Turns == MaxTurns) throw ETextFormatError(line, "more than " + Num(MaxTurns) + " turns");
      TTurn& turn = b.Turns[Turns++];
      turn.X = Byte(t[1], "X", line, 1);
      turn.Y = Byte(t[2], "Y", line);
      turn.Corner = Named(t[3], CornerNames, "corner", line);
    } else if (d == "jump") {
      Count(t, 6, "X1 Y1 SIDE1 X2 Y2 SIDE2", line);
      if (Jumps == MaxJumps) throw ETextFormatError(line, "more than " + Num(MaxJumps) + " jumps");
      TJump& j = b.Jumps[Jumps++];
      j.X1 = Byte(t[1], "X1", line, 1);
      j.Y1 = Byte(t[2], "Y1", line);
      j.Side1 = Named(t[3], SideNames, "side", line);
      j.X2 = Byte(t[4], "X2", line);
      j.Y2 = Byte(t[5], "Y2", line);
      j.Side2 = Named(t[6], SideNames, "side", line);
    } else if (d == "text-fill") {
      Once(d, line);
      Count(t, 1, "one character in double quotes", line);
      const std::string s = String(t[1], 1, "the fill character", line);
      if (s.size() != 1) throw ETextFormatError(line, "the fill character is one character");
      TextFill = static_cast<std::uint8_t>(s[0]);
    } else if (d == "text") {
      Count(t, 3, "COLUMN ROW and a string", line);
      const int col = static_cast<int>(Number(t[1], 1, CellTextCols, "the column", line));
      const int row = static_cast<int>(Number(t[2], 1, CellTextRows, "the row", line));
      std::string s = String(t[3], static_cast<std::size_t>(CellTextCols - col + 1), "the text from column " + Num(col), line);
      if (s.empty()) throw ETextFormatError(line, "the text is empty");
      Texts.push_back({col, row, std::move(s)});
    } else if (d == "bot-record") {
      RecordLine(t, 2, line);
    } else {
      Unknown(t, line);
    }
  }
  // Inscriptions go onto the fill character, whatever the order of the lines.
  struct TText {
    int Col, Row;
    std::string Chars;
  };
  std::uint8_t TextFill = 0;
  std::vector<TText> Texts;

  void ApplyCellText() {
    TBoard& b = *Board;
    std::memset(b.CellText, TextFill, sizeof b.CellText);
    for (const TText& t : Texts)
      for (std::size_t i = 0; i < t.Chars.size(); ++i)
        b.CellText[t.Col - 1 + static_cast<int>(i)][t.Row - 1] = static_cast<std::uint8_t>(t.Chars[i]);
  }

  void PuzzleDirective(const std::vector<TToken>& t, int line) {
    TPuzzle& p = *Puzzle;
    const std::string& d = t[0].Text;
    if (d == "title") {
      SetString(p.Title, t, "the title", line);
    } else if (d == "author") {
      SetString(p.Author, t, "the author", line);
    } else if (d == "board") {
      SetString(p.BoardName, t, "the board name", line);
      BoardNameLine = line;
    } else if (d == "time-limit" || d == "moves-limit") {
      Once(d, line);
      Count(t, 1, "a number or 'none'", line);
      const std::int32_t v = (!t[1].Quoted && t[1].Text == "none")
                                 ? 0
                                 : static_cast<std::int32_t>(Number(t[1], INT32_MIN, INT32_MAX, d, line));
      (d == "time-limit" ? p.TimeLimit : p.MovesLimit) = v;
    } else if (d == "ip-link") {
      if (!IPLinkLine) IPLinkLine = line;
      LinkLine(p.IP, IPLinks, t, line);
    } else if (d == "op-link") {
      if (!OPLinkLine) OPLinkLine = line;
      LinkLine(p.OP, OPLinks, t, line);
    } else {
      Unknown(t, line);
    }
  }

  void CampaignDirective(const std::vector<TToken>& t, int line) {
    TCampaign& c = *Campaign;
    const std::string& d = t[0].Text;
    if (d == "title") {
      SetString(c.Title, t, "the title", line);
    } else if (d == "author") {
      SetString(c.Author, t, "the author", line);
    } else if (d == "level") {
      Count(t, 1, "a puzzle name in double quotes", line);
      if (Levels == MaxLevels) throw ETextFormatError(line, "more than " + Num(MaxLevels) + " levels");
      const std::string s = String(t[1], 50, "the puzzle name", line);
      if (s.empty()) throw ETextFormatError(line, "an empty level name would end the list of levels");
      c.Levels[Levels++].Assign(s);
    } else {
      Unknown(t, line);
    }
  }

  void LinkLine(TPattern& p, int& n, const std::vector<TToken>& t, int line) {
    Count(t, 4, "X1 Y1 X2 Y2", line);
    if (n == MaxLinks) throw ETextFormatError(line, "more than " + Num(MaxLinks) + " links");
    TLink& l = p.Links[n++];
    l.X1 = Byte(t[1], "X1", line, 1);
    l.Y1 = Byte(t[2], "Y1", line);
    l.X2 = Byte(t[3], "X2", line);
    l.Y2 = Byte(t[4], "Y2", line);
  }

  // record LIST POS "NAME" VALUE, or bot-record SPEED ACCURACY LIST POS "NAME" VALUE (skip = 2).
  void RecordLine(const std::vector<TToken>& t, std::size_t skip, int line) {
    const std::string usage = skip ? "SPEED ACCURACY time|moves POSITION \"NAME\" VALUE" : "time|moves POSITION \"NAME\" VALUE";
    Count(t, skip + 4, usage, line);
    TRecordTable* table = nullptr;
    std::string key;
    if (skip) {
      int s = -1, a = -1;
      for (int i = 0; i < 3; ++i) {
        if (!t[1].Quoted && t[1].Text == SpeedNames[i]) s = i;
        if (!t[2].Quoted && t[2].Text == AccuracyNames[i]) a = i;
      }
      if (s < 0) throw ETextFormatError(line, "unknown computer speed '" + t[1].Text + "' (slow, medium or fast)");
      if (a < 0) throw ETextFormatError(line, "unknown computer accuracy '" + t[2].Text + "' (poor, medium or high)");
      table = &Board->BotRecords[s][a];
      key = t[1].Text + " " + t[2].Text + " ";
    } else {
      table = *Kind == TGameFileKind::Board    ? &Board->Records
              : *Kind == TGameFileKind::Puzzle ? &Puzzle->Records
                                               : &Campaign->Records;
    }
    const TToken& list = t[skip + 1];
    if (list.Quoted || (list.Text != "time" && list.Text != "moves"))
      throw ETextFormatError(line, "unknown records list '" + list.Text + "' (time or moves)");
    const int pos = static_cast<int>(Number(t[skip + 2], 1, RecordPositions, "the position", line));
    key += list.Text + " " + Num(pos);
    const auto [it, fresh] = RecordSeen.emplace(key, line);
    if (!fresh) throw ETextFormatError(line, "position " + Num(pos) + " of this list is given twice (first on line " + Num(it->second) + ")");
    const std::string name = String(t[skip + 3], 12, "the player name", line);
    const auto value = static_cast<std::int32_t>(Number(t[skip + 4], INT32_MIN, INT32_MAX, "the value", line));
    if (list.Text == "time") {
      table->TimeNames[pos - 1].Assign(name);
      table->TimeValues[pos - 1] = value;
    } else {
      table->MoveNames[pos - 1].Assign(name);
      table->MoveValues[pos - 1] = value;
    }
  }

  // ---- the end: grids and raw bytes

  void ApplyBoardGrid() {
    TBoard& b = *Board;
    if (!SizeLine) throw ETextFormatError(KindLine, "a board needs 'size WIDTH HEIGHT'");
    const int cols = std::min<int>(b.Width, MaxCols), rows = std::min<int>(b.Height, MaxRows);
    if (cols == 0 || rows == 0) {
      if (BoardGrid.Line) throw ETextFormatError(BoardGrid.Line, "a board of size " + Num(b.Width) + " x " + Num(b.Height) + " has no grid");
      return;
    }
    if (!BoardGrid.Line) throw ETextFormatError(SizeLine, "the board needs a grid of " + Num(rows) + " rows of " + Num(cols) + " cells");
    if (static_cast<int>(BoardGrid.Rows.size()) != rows)
      throw ETextFormatError(BoardGrid.Line, "the grid has " + Num(static_cast<long long>(BoardGrid.Rows.size())) +
                                                 " rows; the board is " + Num(rows) + " rows high");
    for (int y = 1; y <= rows; ++y) {
      const auto& [line, cells] = BoardGrid.Rows[static_cast<std::size_t>(y - 1)];
      if (static_cast<int>(cells.size()) != cols)
        throw ETextFormatError(line, "the row has " + Num(static_cast<long long>(cells.size())) + " cells; the board is " +
                                         Num(cols) + " cells wide");
      for (int x = 1; x <= cols; ++x) {
        const std::string& c = cells[static_cast<std::size_t>(x - 1)];
        if (c == "##") {
          b.Cells[x][y] = 1;
        } else if (c != "..") {
          b.Pattern.Tiles[x][y] = TileNumber(c, line);
        }
      }
    }
  }

  static std::uint8_t TileNumber(const std::string& c, int line) {
    const std::optional<long long> v = ParseNumber(c);
    if (!v || *v < 1 || *v > 255)
      throw ETextFormatError(line, "'" + c + "' is not a cell: write ## (solid), .. (floor) or a tile number 1..255");
    return static_cast<std::uint8_t>(*v);
  }

  static void ApplyPuzzleGrid(const TGridBlock& g, TPattern& p) {
    if (!g.Line) return;
    if (g.Rows.empty()) throw ETextFormatError(g.Line, "the grid has no rows");
    if (g.Rows.size() > static_cast<std::size_t>(MaxRows))
      throw ETextFormatError(g.Rows[MaxRows].first, "a grid has at most " + Num(MaxRows) + " rows");
    const std::size_t cols = g.Rows[0].second.size();
    for (std::size_t y = 0; y < g.Rows.size(); ++y) {
      const auto& [line, cells] = g.Rows[y];
      if (cells.size() > static_cast<std::size_t>(MaxCols))
        throw ETextFormatError(line, "a row has at most " + Num(MaxCols) + " cells");
      if (cells.size() != cols)
        throw ETextFormatError(line, "the row has " + Num(static_cast<long long>(cells.size())) + " cells; the first row has " +
                                         Num(static_cast<long long>(cols)));
      for (std::size_t x = 0; x < cells.size(); ++x) {
        const std::string& c = cells[x];
        if (c == "##" || c == "..") continue;  // no tile; ## shows a solid cell of the board
        p.Tiles[x + 1][y + 1] = TileNumber(c, line);
      }
    }
  }

  void ApplyRaw(std::vector<std::uint8_t>& bytes) const {
    for (const auto& [line, t] : Raw) {
      const long long off = Number(t[1], 0, static_cast<long long>(bytes.size()) - 1, "the offset", line);
      const std::string& hex = t[2].Text;
      if (t[2].Quoted || hex.empty() || hex.size() % 2 != 0)
        throw ETextFormatError(line, "the bytes of 'raw' are pairs of hexadecimal digits");
      const std::size_t n = hex.size() / 2;
      if (static_cast<std::size_t>(off) + n > bytes.size())
        throw ETextFormatError(line, "the bytes run past the end of the record (" + Num(static_cast<long long>(bytes.size())) + " bytes)");
      for (std::size_t i = 0; i < n; ++i) {
        const int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) throw ETextFormatError(line, "the bytes of 'raw' are pairs of hexadecimal digits");
        bytes[static_cast<std::size_t>(off) + i] = static_cast<std::uint8_t>(hi * 16 + lo);
      }
    }
  }

  TPackedFile Finish() {
    TPackedFile out;
    out.Kind = *Kind;
    const void* rec = nullptr;
    switch (*Kind) {
      case TGameFileKind::Board:
        ApplyBoardGrid();
        ApplyCellText();
        rec = Board.get();
        break;
      case TGameFileKind::Puzzle:
        ApplyPuzzlePatterns();
        rec = Puzzle.get();
        out.Scrambled = Scrambled;
        out.Solution = Solution;
        break;
      case TGameFileKind::Campaign: rec = Campaign.get(); break;
    }
    const auto* p = static_cast<const std::uint8_t*>(rec);
    out.Bytes.assign(p, p + KindRecordSize(*Kind));
    ApplyRaw(out.Bytes);
    return out;
  }
};

// ---------------------------------------------------------------------------
// Unpacking

std::string GridToken(int tile) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%2d", tile);
  return buf;
}

void PutLinks(std::string& out, const char* directive, const TPattern& p) {
  for (int i = 0; i < MaxLinks && p.Links[i].X1 != 0; ++i) {
    const TLink& l = p.Links[i];
    out += std::string(directive) + " " + Num(l.X1) + " " + Num(l.Y1) + " " + Num(l.X2) + " " + Num(l.Y2) + "\n";
  }
}

std::string NameOr(const char* const (&names)[5], std::uint8_t v) { return v >= 1 && v <= 4 ? names[v] : Num(v); }

bool EmptyEntry(const TName12& name, std::int32_t value, std::int32_t empty) { return name.Len == 0 && value == empty; }

void PutTable(std::string& out, const std::string& prefix, const TRecordTable& t, std::int32_t empty) {
  for (int i = 0; i < RecordPositions; ++i)
    if (!EmptyEntry(t.TimeNames[i], t.TimeValues[i], empty))
      out += prefix + " time " + Num(i + 1) + " " + Quote(t.TimeNames[i].Str()) + " " + Num(t.TimeValues[i]) + "\n";
  for (int i = 0; i < RecordPositions; ++i)
    if (!EmptyEntry(t.MoveNames[i], t.MoveValues[i], empty))
      out += prefix + " moves " + Num(i + 1) + " " + Quote(t.MoveNames[i].Str()) + " " + Num(t.MoveValues[i]) + "\n";
}

void PutCellText(std::string& out, const TBoard& b) {
  // The most common byte is the background; ties go to 0.
  long counts[256] = {};
  for (const auto& col : b.CellText)
    for (const std::uint8_t c : col) ++counts[c];
  int fill = 0;
  for (int c = 1; c < 256; ++c)
    if (counts[c] > counts[fill]) fill = c;
  if (fill != 0) out += "text-fill " + Quote(std::string(1, static_cast<char>(fill))) + "\n";
  // Runs of other bytes, row by row. With a printable background, gaps of up to
  // three background characters stay inside one run ("HELLO WORLD" on spaces).
  const int maxGap = fill >= 0x20 && fill < 0x7F ? 3 : 0;
  for (int row = 0; row < CellTextRows; ++row) {
    int col = 0;
    while (col < CellTextCols) {
      if (b.CellText[col][row] == fill) {
        ++col;
        continue;
      }
      const int start = col;
      int end = col + 1;  // one past the last byte that is not the background
      for (int c = col + 1; c < CellTextCols && c - end <= maxGap; ++c)
        if (b.CellText[c][row] != fill) end = c + 1;
      std::string s;
      for (int c = start; c < end; ++c) s += static_cast<char>(b.CellText[c][row]);
      out += "text " + Num(start + 1) + " " + Num(row + 1) + " " + Quote(s) + "\n";
      col = end;
    }
  }
}

// Grid rows; `solid` (may be null) marks cells shown as ## when they hold no tile.
void PutGrid(std::string& out, const char* name, int cols, int rows, const std::uint8_t (*tiles)[GridH],
             const std::uint8_t (*solid)[GridH], int solidCols, int solidRows) {
  out += std::string(name) + "\n";
  for (int y = 1; y <= rows; ++y) {
    std::string row;
    for (int x = 1; x <= cols; ++x) {
      if (x > 1) row += ' ';
      if (tiles[x][y] != 0)
        row += GridToken(tiles[x][y]);
      else if (solid && x <= solidCols && y <= solidRows && solid[x][y] != 0)
        row += "##";
      else
        row += "..";
    }
    out += row + "\n";
  }
  out += "end\n";
}

// Appends `raw` lines for every byte where `got` (the packed text) differs from `orig`.
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

// Appends `raw` lines for every byte where the packed text differs from the record.
std::string WithRaw(std::string text, TGameFileKind kind, const void* record) {
  TPackedFile packed;
  try {
    packed = PackText(text, {});
  } catch (const ETextFormatError& e) {
    throw std::logic_error(std::string("the unpacked text does not pack: ") + e.what());
  }
  return AppendRawLines(std::move(text), packed.Bytes, static_cast<const std::uint8_t*>(record),
                        [kind](std::size_t off) { return DescribeByte(kind, off); });
}

// ---------------------------------------------------------------------------
// The configuration record, one line per field

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
  for (const auto& [rl, t] : raw) {
    const std::optional<long long> off = t[1].Quoted ? std::nullopt : ParseNumber(t[1].Text);
    if (!off || *off < 0 || *off >= static_cast<long long>(out.size()))
      throw ETextFormatError(rl, "the offset must be a whole number 0.." + Num(static_cast<long long>(out.size()) - 1));
    const std::string& hex = t[2].Text;
    if (t[2].Quoted || hex.empty() || hex.size() % 2 != 0)
      throw ETextFormatError(rl, "the bytes of 'raw' are pairs of hexadecimal digits");
    if (static_cast<std::size_t>(*off) + hex.size() / 2 > out.size())
      throw ETextFormatError(rl, "the bytes run past the end of the record (" + Num(static_cast<long long>(out.size())) + " bytes)");
    for (std::size_t i = 0; i < hex.size() / 2; ++i) {
      const int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
      if (hi < 0 || lo < 0) throw ETextFormatError(rl, "the bytes of 'raw' are pairs of hexadecimal digits");
      out[static_cast<std::size_t>(*off) + i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
  }
  return out;
}

}  // namespace

const char* KindName(TGameFileKind kind) {
  switch (kind) {
    case TGameFileKind::Board: return "board";
    case TGameFileKind::Puzzle: return "puzzle";
    case TGameFileKind::Campaign: return "campaign";
  }
  return "";
}

const char* KindExtension(TGameFileKind kind) {
  switch (kind) {
    case TGameFileKind::Board: return ".BRD";
    case TGameFileKind::Puzzle: return ".PZZ";
    case TGameFileKind::Campaign: return ".CPN";
  }
  return "";
}

std::size_t KindRecordSize(TGameFileKind kind) {
  switch (kind) {
    case TGameFileKind::Board: return sizeof(TBoard);
    case TGameFileKind::Puzzle: return sizeof(TPuzzle);
    case TGameFileKind::Campaign: return sizeof(TCampaign);
  }
  return 0;
}

TPackedFile PackText(const std::string& text, const TBoardLookup& findBoard) { return TPacker(text, findBoard).Run(); }

std::string UnpackBoard(const TBoard& b) {
  std::string out = "# Pavilore board. Grid: ## solid, .. floor, a number is a tile on the floor.\n";
  out += "kind board\n";
  out += "title " + Quote(b.Title.Str()) + "\n";
  out += "author " + Quote(b.Author.Str()) + "\n";
  if (b.RecommendedTileSet.Len != 0) out += "tile-set " + Quote(b.RecommendedTileSet.Str()) + "\n";
  out += "size " + Num(b.Width) + " " + Num(b.Height) + "\n";
  out += "steps-per-move " + Num(b.StepsPerMove) + "\n";
  const int cols = std::min<int>(b.Width, MaxCols), rows = std::min<int>(b.Height, MaxRows);
  if (cols > 0 && rows > 0) {
    out += "grid\n";
    for (int y = 1; y <= rows; ++y) {
      std::string row;
      for (int x = 1; x <= cols; ++x) {
        if (x > 1) row += ' ';
        row += b.Cells[x][y] != 0 ? "##" : b.Pattern.Tiles[x][y] != 0 ? GridToken(b.Pattern.Tiles[x][y]) : "..";
      }
      out += row + "\n";
    }
    out += "end\n";
  }
  PutLinks(out, "link", b.Pattern);
  for (int i = 0; i < MaxTurns && b.Turns[i].X != 0; ++i) {
    const TTurn& t = b.Turns[i];
    out += "turn " + Num(t.X) + " " + Num(t.Y) + " " + NameOr(CornerNames, t.Corner) + "\n";
  }
  for (int i = 0; i < MaxJumps && b.Jumps[i].X1 != 0; ++i) {
    const TJump& j = b.Jumps[i];
    out += "jump " + Num(j.X1) + " " + Num(j.Y1) + " " + NameOr(SideNames, j.Side1) + " " + Num(j.X2) + " " +
           Num(j.Y2) + " " + NameOr(SideNames, j.Side2) + "\n";
  }
  PutCellText(out, b);
  PutTable(out, "record", b.Records, EmptyRecord);
  for (int s = 0; s < 3; ++s)
    for (int a = 0; a < 3; ++a)
      PutTable(out, std::string("bot-record ") + SpeedNames[s] + " " + AccuracyNames[a], b.BotRecords[s][a], 0);
  return WithRaw(std::move(out), TGameFileKind::Board, &b);
}

std::string UnpackPuzzle(const TPuzzle& p, const TBoard* board, const std::string& boardNote) {
  std::string out = "# Pavilore puzzle. Grids: .. no tile, a number is a tile, ## a solid cell of the board.\n";
  out += "kind puzzle\n";
  out += "title " + Quote(p.Title.Str()) + "\n";
  out += "author " + Quote(p.Author.Str()) + "\n";
  out += "board " + Quote(p.BoardName.Str()) + "\n";
  if (!boardNote.empty()) out += "# " + boardNote + "\n";
  out += "time-limit " + (p.TimeLimit == 0 ? std::string("none") : Num(p.TimeLimit)) + "\n";
  out += "moves-limit " + (p.MovesLimit == 0 ? std::string("none") : Num(p.MovesLimit)) + "\n";
  // The grids cover the board and every tile.
  int tileCols = 0, tileRows = 0;
  for (const TPattern* pat : {&p.IP, &p.OP})
    for (int x = 1; x <= MaxCols; ++x)
      for (int y = 1; y <= MaxRows; ++y)
        if (pat->Tiles[x][y] != 0) {
          tileCols = std::max(tileCols, x);
          tileRows = std::max(tileRows, y);
        }
  int boardCols = 0, boardRows = 0;
  if (board) {
    boardCols = std::min<int>(board->Width, MaxCols);
    boardRows = std::min<int>(board->Height, MaxRows);
  }
  int cols = std::max(tileCols, boardCols), rows = std::max(tileRows, boardRows);
  if (cols == 0 || rows == 0) {
    cols = MaxCols;
    rows = MaxRows;
  }
  const std::uint8_t (*solid)[GridH] = board ? board->Cells : nullptr;
  PutGrid(out, "ip", cols, rows, p.IP.Tiles, solid, boardCols, boardRows);
  PutLinks(out, "ip-link", p.IP);
  PutGrid(out, "op", cols, rows, p.OP.Tiles, solid, boardCols, boardRows);
  PutLinks(out, "op-link", p.OP);
  PutTable(out, "record", p.Records, EmptyRecord);
  return WithRaw(std::move(out), TGameFileKind::Puzzle, &p);
}

std::string UnpackCampaign(const TCampaign& c) {
  std::string out = "# Pavilore campaign. The levels are puzzle names, in playing order.\n";
  out += "kind campaign\n";
  out += "title " + Quote(c.Title.Str()) + "\n";
  out += "author " + Quote(c.Author.Str()) + "\n";
  for (int i = 0; i < LevelCount(c); ++i) out += "level " + Quote(c.Levels[i].Str()) + "\n";
  PutTable(out, "record", c.Records, EmptyRecord);
  return WithRaw(std::move(out), TGameFileKind::Campaign, &c);
}

}  // namespace pav

namespace pav {

TPuzzleScramble ScramblePuzzle(const TBoard& board, const TPattern& op, std::uint32_t seed, int pushes) {
  TPuzzleScramble out;
  CopyPattern(op, out.IP);
  ClearList(out.History);
  auto state = std::make_unique<TGameState>();
  TGame& g = state->Game;
  g.Board = board;
  CopyPattern(op, g.OP);
  CopyPattern(op, g.Current);
  state->HumanTurn = true;
  TMoveEngine engine(*state);
  std::mt19937 rng(seed);
  out.Made = pushes > 0 ? ScrambleExactly(engine, rng, pushes) : ScrambleFromCurrent(engine, rng, 1);
  if (out.Made) {
    CopyPattern(g.Current, out.IP);
    out.History = g.History;
  }
  return out;
}

bool ReplayScript(const TBoard& board, const TPattern& ip, const TPattern& op, const TMoveList& script,
                  std::vector<TPushStep>* played) {
  auto state = std::make_unique<TGameState>();
  TGame& g = state->Game;
  g.Board = board;
  CopyPattern(ip, g.Current);
  CopyPattern(op, g.OP);
  g.History = script;
  state->GameRunning = true;
  state->HumanTurn = false;
  TMoveEngine engine(*state);
  const int steps = board.StepsPerMove > 0 ? board.StepsPerMove : 1;
  if (PatternsEqual(g.Current, g.OP)) return true;
  // Every round either pushes an entry or drops one; a round that does neither would
  // repeat for ever, as the computer would.
  for (int round = 0; round < 4 * MoveListSize; ++round) {
    const int i = g.Moves + 1;
    while (i <= ListLength(g.History) && g.Current.Tiles[g.History.X[i - 1]][g.History.Y[i - 1]] == 0)
      DeleteEntry(g.History, i);
    if (i > ListLength(g.History)) return false;
    const int x = g.History.X[i - 1], y = g.History.Y[i - 1], dir = g.History.Dir[i - 1];
    if (played) played->push_back({x, y, dir});
    const TPattern before = g.Current;
    const int movesBefore = g.Moves;
    state->GrabX = static_cast<std::uint8_t>(x);
    state->GrabY = static_cast<std::uint8_t>(y);
    for (int k = 0; k < steps; ++k) {
      engine.TryPush(false, false, x, y, dir);
      if (PatternsEqual(g.Current, g.OP)) return true;
    }
    state->StepCount = 0;
    if (g.Moves == movesBefore && PatternsEqual(g.Current, before)) return false;
  }
  return false;
}

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
