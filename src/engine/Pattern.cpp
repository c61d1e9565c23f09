#include "engine/Pattern.h"

#include <algorithm>
#include <cstring>

namespace pav {

void ClearPattern(TPattern& p) { std::memset(&p, 0, sizeof p); }

void CopyPattern(const TPattern& src, TPattern& dst) { std::memcpy(&dst, &src, sizeof dst); }

bool PatternsEqual(const TPattern& a, const TPattern& b) {
  for (int x = 1; x <= MaxCols; ++x)
    if (std::memcmp(&a.Tiles[x][1], &b.Tiles[x][1], MaxRows) != 0) return false;
  return true;
}

int CountTiles(const TPattern& p) {
  int n = 0;
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      if (p.Tiles[x][y] != 0) ++n;
  return n;
}

int CountLinks(const TPattern& p) {
  int n = 0;
  while (n < MaxLinks && p.Links[n].X1 != 0) ++n;
  return n;
}

bool IsLinkEnd(const TPattern& p, int x, int y) {
  if (x < 0 || x > MaxCols || y < 0 || y > MaxRows) return false;
  for (int i = 0; i < MaxLinks; ++i) {
    const TLink& l = p.Links[i];
    if (l.X1 == 0) break;
    if ((l.X1 == x && l.Y1 == y) || (l.X2 == x && l.Y2 == y)) return true;
  }
  return false;
}

void ClearList(TMoveList& l) { std::memset(&l, 0, sizeof l); }

int ListLength(const TMoveList& l) {
  const void* end = std::memchr(l.X, 0, MoveListSize);
  return end ? static_cast<int>(static_cast<const std::uint8_t*>(end) - l.X) : MoveListSize;
}

void AppendEntry(TMoveList& l, int x, int y, int dir, int kind) {
  const int n = ListLength(l);
  if (n >= MoveListSize) return;
  l.X[n] = static_cast<std::uint8_t>(x);
  l.Y[n] = static_cast<std::uint8_t>(y);
  l.Dir[n] = static_cast<std::uint8_t>(dir);
  l.Kind[n] = static_cast<std::uint8_t>(kind);
}

void AppendList(TMoveList& a, const TMoveList& b) {
  const int na = ListLength(a);
  const int nb = ListLength(b);
  const int n = std::min(nb, MoveListSize - na);
  if (n <= 0) return;
  std::memcpy(a.X + na, b.X, static_cast<std::size_t>(n));
  std::memcpy(a.Y + na, b.Y, static_cast<std::size_t>(n));
  std::memcpy(a.Dir + na, b.Dir, static_cast<std::size_t>(n));
  std::memcpy(a.Kind + na, b.Kind, static_cast<std::size_t>(n));
}

void DeleteEntry(TMoveList& l, int i) {
  if (i < 1 || i > MoveListSize) return;
  const std::size_t from = static_cast<std::size_t>(i);  // 0-based index of entry i+1
  const std::size_t count = MoveListSize - from;
  std::uint8_t* rows[] = {l.X, l.Y, l.Dir, l.Kind};
  for (std::uint8_t* r : rows) {
    std::memmove(r + from - 1, r + from, count);
    r[MoveListSize - 1] = 0;
  }
}

void ReverseList(TMoveList& l) {
  const int n = ListLength(l);
  std::reverse(l.X, l.X + n);
  std::reverse(l.Y, l.Y + n);
  std::reverse(l.Dir, l.Dir + n);
  std::reverse(l.Kind, l.Kind + n);
}

void FilterSteps(TMoveList& l) {
  const int n = ListLength(l);
  int rings = 0;
  int plain = 0;
  for (int i = 0; i < n; ++i) {
    if (l.Kind[i] == 1) ++rings;
    if (l.Kind[i] == 0) ++plain;
  }
  if (rings > 0 && plain > 0) {
    for (int i = n; i >= 1; --i)
      if (l.Kind[i - 1] == 1) DeleteEntry(l, i);
  } else if (rings > 1 && rings == n) {
    for (int i = n; i >= 2; --i) DeleteEntry(l, i);
  }
}

void TTripleList::ClearTriples() {
  // Entries past Count are always zero, so only the used ones need clearing.
  std::memset(Items, 0, sizeof(TTriple) * static_cast<std::size_t>(Count > 0 ? Count : TripleListSize));
  Count = 0;
}

int TTripleList::FindTriple(int x, int y, int dir) const {
  for (int i = 0; i < Count; ++i)
    if (Items[i].X == x && Items[i].Y == y && Items[i].Dir == dir) return i + 1;
  return 0;
}

int TTripleList::FindCell(int x, int y) const {
  for (int i = 0; i < Count; ++i)
    if (Items[i].X == x && Items[i].Y == y) return i + 1;
  return 0;
}

unsigned TTripleList::DirsAt(int x, int y) const {
  unsigned dirs = 0;
  for (int i = 0; i < Count; ++i)
    if (Items[i].X == x && Items[i].Y == y) dirs |= 1u << (Items[i].Dir & 7u);
  return dirs;
}

bool TTripleList::AddTriple(int x, int y, int dir) {
  if (FindTriple(x, y, dir) != 0) return true;
  if (Count >= TripleListSize) return false;
  Items[Count++] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(dir)};
  return true;
}

bool SameTriples(const TTripleList& a, const TTripleList& b) {
  return a.Count == b.Count &&
         std::memcmp(a.Items, b.Items, sizeof(TTriple) * static_cast<std::size_t>(a.Count)) == 0;
}

}  // namespace pav
