// Unpacking: a record of a board, puzzle or campaign as its text, with `raw` lines
// for the bytes the directives do not give.
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "files/GameFiles.h"
#include "files/TextFormat.h"
#include "files/TextSyntax.h"

namespace pav {

using namespace text;

namespace {

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
// Directives

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

}  // namespace

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
