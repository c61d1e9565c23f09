// Tile positions, move lists and the small triple lists the move engine works with.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pav {

// Grids are indexed [X][Y] with X 0..21 and Y 0..16 (column-major: byte X*17+Y),
// so the neighbours of every board cell can always be read. Only X 1..20 and
// Y 1..15 carry data.
constexpr int GridW = 22;
constexpr int GridH = 17;
constexpr int MaxCols = 20;
constexpr int MaxRows = 15;
constexpr int MaxLinks = 50;
constexpr int MaxTileFace = 50;
constexpr int CellPixels = 48;

using TGrid = std::uint8_t[GridW][GridH];

// Directions: 1 left, 2 right, 3 up, 4 down. 5 marks a vacated start cell.
enum : int { DirLeft = 1, DirRight = 2, DirUp = 3, DirDown = 4, DirVacate = 5 };

// Odd directions give d+1, even ones d-1.
constexpr int Opposite(int d) { return (d % 2 != 0) ? d + 1 : d - 1; }
constexpr int StepX(int d) { return d == DirLeft ? -1 : d == DirRight ? 1 : 0; }
constexpr int StepY(int d) { return d == DirUp ? -1 : d == DirDown ? 1 : 0; }

struct TLink {
  std::uint8_t X1, Y1, X2, Y2;
};

// One position of tiles: 0 = no tile, 1..50 = face number; links glue pairs of tiles.
struct TPattern {
  std::uint8_t Tiles[GridW][GridH];
  TLink Links[MaxLinks];  // ends at the first entry whose X1 is 0
};
static_assert(sizeof(TPattern) == 574);

void ClearPattern(TPattern& p);
void CopyPattern(const TPattern& src, TPattern& dst);
// Same face numbers on every cell X 1..20, Y 1..15; links are not compared.
bool PatternsEqual(const TPattern& a, const TPattern& b);
// Non-zero tiles in X 1..20, Y 1..15.
int CountTiles(const TPattern& p);
// Entries before the first X1 = 0.
int CountLinks(const TPattern& p);
// (X, Y) is an end of a link before the end of the list; false outside X 0..20, Y 0..15.
bool IsLinkEnd(const TPattern& p, int x, int y);

// Four parallel rows of 1024 bytes; entry i (1-based) is column i-1 of every row.
constexpr int MoveListSize = 1024;
struct TMoveList {
  std::uint8_t X[MoveListSize];
  std::uint8_t Y[MoveListSize];
  std::uint8_t Dir[MoveListSize];
  std::uint8_t Kind[MoveListSize];
};
static_assert(sizeof(TMoveList) == 4096);

void ClearList(TMoveList& l);
int ListLength(const TMoveList& l);
void AppendEntry(TMoveList& l, int x, int y, int dir, int kind);
void AppendList(TMoveList& a, const TMoveList& b);
void DeleteEntry(TMoveList& l, int i);  // i is 1-based
void ReverseList(TMoveList& l);
void FilterSteps(TMoveList& l);

// Up to 120 (X, Y, Dir) triples, ended by the first triple whose X is 0.
constexpr int TripleListSize = 120;
struct TTriple {
  std::uint8_t X, Y, Dir;
};
struct TTripleList {
  TTriple Items[TripleListSize];
  int Count = 0;  // entries before the end; kept in step with Items

  TTripleList() { ClearTriples(); }
  void ClearTriples();
  // 1-based position of an exact match, 0 when absent.
  int FindTriple(int x, int y, int dir) const;
  // 1-based position of the first entry on (x, y) whatever its direction, 0 when absent.
  int FindCell(int x, int y) const;
  // Bit k set for every entry on (x, y) with direction k (0..7).
  unsigned DirsAt(int x, int y) const;
  // Appends unless the exact triple is present. Returns false only when the
  // triple is new and all 120 places are taken (nothing is added then).
  bool AddTriple(int x, int y, int dir);
  const TTriple& operator[](int pos) const { return Items[pos - 1]; }
  TTriple& operator[](int pos) { return Items[pos - 1]; }
};
// The same entries in the same order.
bool SameTriples(const TTripleList& a, const TTripleList& b);

}  // namespace pav
