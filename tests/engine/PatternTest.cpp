#include <gtest/gtest.h>

#include <cstring>

#include "engine/MoveEngine.h"
#include "engine/Pattern.h"

using namespace pav;

namespace {

TMoveList ListOf(const std::vector<std::vector<int>>& entries) {
  TMoveList l;
  ClearList(l);
  for (const auto& e : entries) AppendEntry(l, e[0], e[1], e[2], e[3]);
  return l;
}

std::vector<std::vector<int>> Entries(const TMoveList& l) {
  std::vector<std::vector<int>> out;
  for (int i = 0; i < ListLength(l); ++i) out.push_back({l.X[i], l.Y[i], l.Dir[i], l.Kind[i]});
  return out;
}

}  // namespace

TEST(Pattern, OppositeFlipsPairs) {
  EXPECT_EQ(Opposite(1), 2);
  EXPECT_EQ(Opposite(2), 1);
  EXPECT_EQ(Opposite(3), 4);
  EXPECT_EQ(Opposite(4), 3);
}

TEST(Pattern, EqualityLooksAtTilesOfThePlayingGridOnly) {
  TPattern a, b;
  ClearPattern(a);
  ClearPattern(b);
  a.Tiles[3][4] = b.Tiles[3][4] = 7;
  a.Links[0] = {3, 4, 3, 5};  // links differ
  a.Tiles[0][4] = 9;          // outside X 1..20
  b.Tiles[21][2] = 9;
  a.Tiles[5][16] = 1;         // outside Y 1..15
  EXPECT_TRUE(PatternsEqual(a, b));
  b.Tiles[20][15] = 1;
  EXPECT_FALSE(PatternsEqual(a, b));
  EXPECT_EQ(CountTiles(a), 1);
  EXPECT_EQ(CountTiles(b), 2);
}

TEST(Pattern, LinkListsEndAtTheFirstZeroX1) {
  TPattern p;
  ClearPattern(p);
  p.Links[0] = {2, 2, 3, 2};
  p.Links[1] = {4, 0, 0, 5};  // second end in column 0
  p.Links[3] = {7, 7, 8, 7};  // after the end
  EXPECT_EQ(CountLinks(p), 2);
  EXPECT_TRUE(IsLinkEnd(p, 3, 2));
  EXPECT_TRUE(IsLinkEnd(p, 0, 5));  // column 0 is answered from the data
  EXPECT_FALSE(IsLinkEnd(p, 7, 7));
  EXPECT_FALSE(IsLinkEnd(p, 21, 2));
  EXPECT_FALSE(IsLinkEnd(p, 4, 16));
  for (int i = 0; i < MaxLinks; ++i) p.Links[i] = {1, 1, 1, 2};
  EXPECT_EQ(CountLinks(p), MaxLinks);
}

TEST(Pattern, TurnsAreFoundOnlyInsideTheGridAndBeforeTheEnd) {
  TBoard b{};
  b.Turns[0] = {0, 3, 1};   // ends the list at once
  b.Turns[1] = {4, 4, 2};
  EXPECT_FALSE(HasTurn(b, 4, 4, 2));
  EXPECT_FALSE(HasTurn(b, 0, 3, 1));
  b.Turns[0] = {5, 5, 3};
  EXPECT_TRUE(HasTurn(b, 4, 4, 2));
  EXPECT_FALSE(HasTurn(b, 4, 4, 3));
  // A corner piece on any diagonal neighbour facing the cell makes a bend cell.
  EXPECT_TRUE(IsBendCell(b, 5, 3));   // (4,4) corner 2 faces up-right
  EXPECT_TRUE(IsBendCell(b, 6, 6));   // (5,5) corner 3 faces down-right
  EXPECT_FALSE(IsBendCell(b, 4, 4));
  EXPECT_FALSE(IsBendCell(b, 3, 5));
}

TEST(MoveList, AppendDeleteReverse) {
  TMoveList l = ListOf({{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 1}});
  EXPECT_EQ(ListLength(l), 3);
  DeleteEntry(l, 2);
  EXPECT_EQ(Entries(l), (std::vector<std::vector<int>>{{1, 1, 1, 0}, {3, 3, 3, 1}}));
  ReverseList(l);
  EXPECT_EQ(Entries(l), (std::vector<std::vector<int>>{{3, 3, 3, 1}, {1, 1, 1, 0}}));
  DeleteEntry(l, 1);
  DeleteEntry(l, 1);
  EXPECT_EQ(ListLength(l), 0);
}

TEST(MoveList, AppendingPastTheEndKeepsOnlyWhatFits) {
  TMoveList a;
  ClearList(a);
  for (int i = 0; i < 1020; ++i) AppendEntry(a, 1 + i % 20, 1, 1, 0);
  TMoveList b = ListOf({{2, 2, 1, 0}, {3, 3, 1, 0}, {4, 4, 1, 0}, {5, 5, 1, 0}, {6, 6, 1, 0}, {7, 7, 1, 0}});
  AppendList(a, b);
  EXPECT_EQ(ListLength(a), MoveListSize);
  EXPECT_EQ(a.X[1019], 20);
  EXPECT_EQ(a.X[1020], 2);
  EXPECT_EQ(a.X[1023], 5);
  AppendEntry(a, 9, 9, 1, 0);  // full: nothing happens
  EXPECT_EQ(a.X[1023], 5);
  // A full list can still lose its last entry.
  DeleteEntry(a, MoveListSize);
  EXPECT_EQ(ListLength(a), MoveListSize - 1);
}

TEST(MoveList, FilterStepsKeepsPlainStepsOrOneRing) {
  TMoveList mixed = ListOf({{1, 1, 1, 1}, {2, 2, 2, 0}, {3, 3, 3, 1}, {4, 4, 4, 0}});
  FilterSteps(mixed);
  EXPECT_EQ(Entries(mixed), (std::vector<std::vector<int>>{{2, 2, 2, 0}, {4, 4, 4, 0}}));
  TMoveList rings = ListOf({{1, 1, 1, 1}, {2, 2, 2, 1}, {3, 3, 3, 1}});
  FilterSteps(rings);
  EXPECT_EQ(Entries(rings), (std::vector<std::vector<int>>{{1, 1, 1, 1}}));
  TMoveList plain = ListOf({{1, 1, 1, 0}, {2, 2, 2, 0}});
  FilterSteps(plain);
  EXPECT_EQ(ListLength(plain), 2);
}

TEST(TripleList, AddsOnceAndStopsAt120) {
  TTripleList t;
  EXPECT_TRUE(t.AddTriple(3, 4, 1));
  EXPECT_TRUE(t.AddTriple(3, 4, 1));
  EXPECT_EQ(t.Count, 1);
  EXPECT_TRUE(t.AddTriple(3, 4, 2));
  EXPECT_EQ(t.FindTriple(3, 4, 2), 2);
  EXPECT_EQ(t.FindTriple(3, 4, 3), 0);
  for (int i = 0; i < 200; ++i) t.AddTriple(1 + i % 20, 1 + i / 20, 3);
  EXPECT_EQ(t.Count, TripleListSize);
  EXPECT_FALSE(t.AddTriple(19, 15, 4));
  EXPECT_TRUE(t.AddTriple(3, 4, 1));  // already present
  t.ClearTriples();
  EXPECT_EQ(t.Count, 0);
  EXPECT_EQ(t.FindTriple(3, 4, 1), 0);
}
