// Packing: the text of a board, puzzle or campaign into its record.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "files/GameFiles.h"
#include "files/PuzzleScramble.h"
#include "files/RecordsTable.h"
#include "files/TextFormat.h"
#include "files/TextSyntax.h"
#include "platform/Text.h"

namespace pav {

using namespace text;

namespace {

// A scramble records at least one step per push in a move list of 1024 entries.
constexpr int MaxScramblePushes = 500;

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
    for (const auto& [line, t] : Raw) ApplyRawLine(t, line, bytes);
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

}  // namespace pav
