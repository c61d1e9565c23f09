#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "BoardBuilder.h"

using namespace pav;
using pav::test::TestGame;
using Rows = std::vector<std::string>;
using Steps = std::vector<std::vector<int>>;

namespace {

// A ring of twelve tiles around a 2 x 2 block whose corners carry corner pieces.
TestGame RingBoard() {
  TestGame g({
      "######",
      "#1234#",
      "#c##5#",
      "#b##6#",
      "#a987#",
      "######",
  });
  g.AddTurn(3, 3, 1);
  g.AddTurn(4, 3, 2);
  g.AddTurn(4, 4, 3);
  g.AddTurn(3, 4, 4);
  return g;
}

}  // namespace

TEST(TryPushRows, RowAdvancesIntoTheFirstEmptyCell) {
  TestGame g({
      "#######",
      "#123..#",
      "#######",
  });
  g.S->GrabX = 2;
  g.S->GrabY = 2;
  ASSERT_TRUE(g.Push(2, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{"#######", "#.123.#", "#######"}));
  EXPECT_EQ(g.Steps(), (Steps{{5, 2, DirLeft, 0}}));
  // The held tile hands the grab cell along the row to where its last tile lands.
  EXPECT_EQ(g.S->GrabX, 5);
  EXPECT_EQ(g.S->GrabY, 2);
  // Pushing from the recorded cell in the recorded direction undoes the row.
  ASSERT_TRUE(g.Push(5, 2, DirLeft));
  EXPECT_EQ(g.Rows(), (Rows{"#######", "#123..#", "#######"}));
}

TEST(TryPushRows, EmptyOrSolidStartAndBadInputAreRefusedSilently) {
  TestGame g({
      "#####",
      "#1..#",
      "#####",
  });
  const TPattern before = g.Current();
  for (auto [x, y, d] : std::vector<std::tuple<int, int, int>>{
           {3, 2, DirRight}, {1, 2, DirRight}, {2, 2, 0}, {2, 2, 5}, {0, 2, 2}, {21, 2, 1}, {2, 16, 1}, {2, 0, 1}}) {
    EXPECT_FALSE(g.Push(x, y, d)) << x << "," << y << " dir " << d;
    EXPECT_EQ(g.E->LastResult.Refusal, TPushRefusal::Silent);
    EXPECT_TRUE(g.Hooks.Calls.empty());
  }
  EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before), 0);
  EXPECT_EQ(g.S->StepCount, 0);
}

TEST(TryPushRows, BlockedByAPlainWallMarksTheSolidCellWithTheDirection) {
  TestGame g({
      "#####",
      "#...#",
      "#.1.#",
      "#...#",
      "#####",
  });
  g.S->GameRunning = true;
  const struct {
    int dir, x, y;
    Rows layout;
  } cases[] = {
      {DirLeft, 1, 2, {"#####", "#1..#", "#...#", "#...#", "#####"}},
      {DirRight, 5, 2, {"#####", "#..1#", "#...#", "#...#", "#####"}},
      {DirUp, 2, 1, {"#####", "#1..#", "#...#", "#...#", "#####"}},
      {DirDown, 2, 5, {"#####", "#...#", "#...#", "#1..#", "#####"}},
  };
  for (const auto& c : cases) {
    TestGame t(c.layout);
    const int tx = c.dir == DirLeft || c.dir == DirRight ? (c.dir == DirLeft ? 2 : 4) : 2;
    const int ty = c.dir == DirUp ? 2 : c.dir == DirDown ? 4 : 2;
    const int wx = tx + StepX(c.dir), wy = ty + StepY(c.dir);
    const TPattern before = t.Current();
    EXPECT_FALSE(t.Push(tx, ty, c.dir));
    EXPECT_EQ(t.Hooks.Calls, (std::vector<std::string>{"mark " + std::to_string(c.dir) + " " + std::to_string(wx) +
                                                       "," + std::to_string(wy)}));
    EXPECT_EQ(t.E->LastResult.Refusal, TPushRefusal::Mark);
    EXPECT_EQ(t.E->LastResult.MarkKind, c.dir);
    EXPECT_EQ(std::memcmp(&before, &t.Current(), sizeof before), 0);
    // A silent trial draws nothing but still knows why it failed.
    EXPECT_FALSE(t.Push(tx, ty, c.dir, false));
    EXPECT_TRUE(t.Hooks.Calls.empty());
    EXPECT_EQ(t.E->LastResult.MarkKind, c.dir);
    EXPECT_EQ(t.E->LastResult.MarkX, wx);
    EXPECT_EQ(t.E->LastResult.MarkY, wy);
  }
}

TEST(TryPushRows, SideEffectsComeInOrderAndOnlyForARunningGame) {
  TestGame g({
      "######",
      "#12..#",
      "######",
  });
  ClearPattern(g.S->Game.OP);  // an objective these pushes never reach
  ASSERT_TRUE(g.Push(2, 2, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"sound", "floor", "highlight"}));
  EXPECT_EQ(g.S->Game.Moves, 0);  // no game runs: nothing is counted

  g.S->GameRunning = true;
  g.S->StepCount = 0;
  ASSERT_TRUE(g.Push(3, 2, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"sound", "counters", "floor", "highlight", "limits"}));
  EXPECT_EQ(g.S->Game.Moves, 1);

  // A refused push changes no counter and calls only the mark.
  g.S->StepCount = 0;
  EXPECT_FALSE(g.Push(4, 2, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"mark 2 6,2"}));
  EXPECT_EQ(g.S->Game.Moves, 1);
  EXPECT_EQ(g.S->StepCount, 0);
}

TEST(TryPushRows, SolvingPushEndsTheGameInsteadOfCheckingLimits) {
  TestGame g({
      "######",
      "#12..#",
      "######",
  });
  g.S->GameRunning = true;
  ClearPattern(g.S->Game.OP);
  g.S->Game.OP.Tiles[3][2] = 1;
  g.S->Game.OP.Tiles[4][2] = 2;
  ASSERT_TRUE(g.Push(2, 2, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"sound", "counters", "floor", "highlight", "solved"}));
  EXPECT_EQ(g.S->Game.Moves, 1);
  // Silent pushes of a running game still count and still end it.
  g.Current() = g.Board().Pattern;
  g.S->StepCount = 0;
  ASSERT_TRUE(g.Push(2, 2, DirRight, false));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"solved"}));
  EXPECT_EQ(g.S->Game.Moves, 2);
}

TEST(TryPushRings, ClosedRingTurnsByOneCellWithoutVacatingAnything) {
  TestGame g = RingBoard();
  g.S->GrabX = 2;
  g.S->GrabY = 2;
  ASSERT_TRUE(g.Push(2, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{
                          "######",
                          "#c123#",
                          "#b##4#",
                          "#a##5#",
                          "#9876#",
                          "######",
                      }));
  EXPECT_EQ(g.Steps(), (Steps{{2, 2, DirDown, 1}}));
  // The used corner pieces of all three bends are reported for the highlight.
  EXPECT_NE(g.E->UsedTurns.FindTriple(4, 3, 2), 0);
  EXPECT_NE(g.E->UsedTurns.FindTriple(4, 4, 3), 0);
  EXPECT_NE(g.E->UsedTurns.FindTriple(3, 4, 4), 0);
  // The grab cell follows the ring all the way round to the tile before the start.
  EXPECT_EQ(g.S->GrabX, 2);
  EXPECT_EQ(g.S->GrabY, 2);
  // The recorded step turns it back.
  ASSERT_TRUE(g.Push(2, 2, DirDown));
  EXPECT_EQ(g.Rows(), RingBoard().Rows());
}

TEST(TryPushRings, StepsPerMoveTwoTurnsTheRingTwiceForOneMove) {
  TestGame g = RingBoard();
  g.Board().StepsPerMove = 2;
  g.S->GameRunning = true;
  std::memset(&g.S->Game.OP, 0, sizeof g.S->Game.OP);
  ASSERT_TRUE(g.Gesture(2, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{
                          "######",
                          "#bc12#",
                          "#a##3#",
                          "#9##4#",
                          "#8765#",
                          "######",
                      }));
  EXPECT_EQ(g.S->Game.Moves, 1);
  EXPECT_EQ(std::count(g.Hooks.Calls.begin(), g.Hooks.Calls.end(), "sound"), 1);
  EXPECT_EQ(ListLength(g.S->Game.History), 1);
}

TEST(TryPushRows, StepsPerMoveTwoRowLeavesItsStartEmptySoTheSecondPushFails) {
  TestGame g({
      "######",
      "#12..#",
      "######",
  },
             2);
  g.S->GameRunning = true;
  ASSERT_TRUE(g.Gesture(2, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{"######", "#.12.#", "######"}));
  EXPECT_EQ(g.StepCountAfterGesture, 1);
  EXPECT_EQ(g.S->Game.Moves, 0);
  EXPECT_EQ(std::count(g.Hooks.Calls.begin(), g.Hooks.Calls.end(), "sound"), 0);
  EXPECT_EQ(g.S->StepCount, 0);
}

TEST(TryPushLinks, GluedPairPushedSidewaysMovesBothRowsAndTheirLink) {
  TestGame g({
      "######",
      "#1...#",
      "#2...#",
      "######",
  });
  g.AddLink(2, 2, 2, 3);
  ASSERT_TRUE(g.Push(2, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{"######", "#.1..#", "#.2..#", "######"}));
  const TLink& l = g.Current().Links[0];
  EXPECT_EQ((std::vector<int>{l.X1, l.Y1, l.X2, l.Y2}), (std::vector<int>{3, 2, 3, 3}));
  // The pushed tile is glued, so its row is traced a second time.
  EXPECT_EQ(g.Steps(), (Steps{{3, 2, DirLeft, 0}, {3, 2, DirLeft, 0}, {3, 3, DirLeft, 0}}));
  FilterSteps(g.E->StepRecord);
  EXPECT_EQ(ListLength(g.E->StepRecord), 3);
}

TEST(TryPushLinks, GluedChainPushedAlongItselfMovesAsOneBody) {
  TestGame g({
      "#######",
      "#123..#",
      "#######",
  });
  g.AddLink(2, 2, 3, 2);
  g.AddLink(3, 2, 4, 2);
  ASSERT_TRUE(g.Push(3, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{"#######", "#.123.#", "#######"}));
  EXPECT_EQ(CountLinks(g.Current()), 2);
  EXPECT_TRUE(IsLinkEnd(g.Current(), 3, 2));
  EXPECT_TRUE(IsLinkEnd(g.Current(), 5, 2));
  EXPECT_FALSE(IsLinkEnd(g.Current(), 2, 2));
  ASSERT_TRUE(g.Push(5, 2, DirRight));
  EXPECT_EQ(g.Rows(), (Rows{"#######", "#..123#", "#######"}));
  // Against the wall the whole body stays put, even pushed from its tail.
  EXPECT_FALSE(g.Push(4, 2, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"mark 2 7,2"}));
}

TEST(TryPushLinks, GroupsAreGatheredInLinkOrderFromEachGatheredCell) {
  TPattern p;
  ClearPattern(p);
  // (2,2)-(3,2), (5,5)-(4,4), (3,2)-(4,4), (4,4)-(2,6)
  p.Links[0] = {2, 2, 3, 2};
  p.Links[1] = {5, 5, 4, 4};
  p.Links[2] = {3, 2, 4, 4};
  p.Links[3] = {4, 4, 2, 6};
  TCellList c;
  ASSERT_TRUE(GatherGroup(p, 2, 2, c));
  std::vector<std::pair<int, int>> got;
  for (int i = 0; i < c.Count; ++i) got.emplace_back(c.X[i], c.Y[i]);
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{2, 2}, {3, 2}, {4, 4}, {5, 5}, {2, 6}}));
  EXPECT_TRUE(InSameGroup(p, 2, 2, 2, 6));
  EXPECT_FALSE(InSameGroup(p, 2, 2, 2, 2));
  EXPECT_FALSE(InSameGroup(p, 2, 2, 7, 7));
  // A link after the end of the list does not glue.
  p.Links[4] = {0, 0, 0, 0};
  p.Links[5] = {2, 6, 9, 9};
  EXPECT_FALSE(InSameGroup(p, 2, 2, 9, 9));

  TTripleList list;
  list.AddTriple(4, 4, 3);
  ASSERT_TRUE(CollectGroup(p, 2, 2, 1, false, list));
  EXPECT_EQ(list.Count, 5);
  EXPECT_EQ(list[1].Dir, 3);  // kept
  EXPECT_EQ(list[2].X, 2);
  ASSERT_TRUE(CollectGroup(p, 2, 2, 4, true, list));
  for (int i = 1; i <= list.Count; ++i) EXPECT_EQ(list[i].Dir, 4);
}

TEST(TryPushLinks, RowsConvergingOnOneCellAreRefusedWithMarkFive) {
  TestGame g({
      "#######",
      "#.1...#",
      "#..2#.#",
      "#...#.#",
      "#.....#",
      "#######",
  });
  g.AddLink(3, 2, 4, 3);
  g.AddTurn(5, 4, 1);
  const TPattern before = g.Current();
  g.S->GrabX = 3;
  g.S->GrabY = 2;
  EXPECT_FALSE(g.Push(3, 2, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"mark 5 4,2"}));
  EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before), 0);
  // The refused landing keeps the step count and grab cell the placing gave them.
  EXPECT_EQ(g.S->StepCount, 1);
  EXPECT_EQ(g.S->GrabX, 4);
  EXPECT_EQ(g.S->GrabY, 2);
}

TEST(TryPushLinks, MoreThan120MovingTilesIsRefusedSilently) {
  // Column 2 is one glued chain; every row of tiles is pushed along with it.
  auto make = [](int rowsOfTiles) {
    Rows rows(15, std::string(20, '#'));
    for (int y = 2; y <= 14; ++y) rows[y - 1] = "#" + std::string(18, '.') + "#";
    for (int y = 2; y < 2 + rowsOfTiles; ++y)
      for (int x = 2; x <= 18; ++x) rows[y - 1][x - 1] = '1';
    TestGame g(rows);
    for (int y = 2; y < 1 + rowsOfTiles; ++y) g.AddLink(2, y, 2, y + 1);
    return g;
  };
  TestGame six = make(6);  // 6 rows of 17 tiles + 6 vacated cells: 108 entries
  ASSERT_TRUE(six.Push(2, 2, DirRight));
  EXPECT_EQ(CountTiles(six.Current()), 6 * 17);
  EXPECT_EQ(six.Current().Tiles[19][7], 1);

  TestGame thirteen = make(13);
  const TPattern before = thirteen.Current();
  EXPECT_FALSE(thirteen.Push(2, 2, DirRight));
  EXPECT_EQ(thirteen.E->LastResult.Refusal, TPushRefusal::Silent);
  EXPECT_TRUE(thirteen.Hooks.Calls.empty());
  EXPECT_EQ(std::memcmp(&before, &thirteen.Current(), sizeof before), 0);
  EXPECT_EQ(thirteen.S->StepCount, 0);
}

TEST(TryPushBends, BlockedTileTurnsAtACornerPieceAndPushesItsNewRow) {
  const Rows layout = {
      "#####",
      "#...#",
      "#5#.#",
      "#1..#",
      "#...#",
      "#####",
  };
  TestGame g(layout);
  g.AddTurn(3, 3, 4);
  ASSERT_TRUE(g.Push(2, 4, DirLeft));
  EXPECT_EQ(g.Rows(), (Rows{"#####", "#5..#", "#1#.#", "#...#", "#...#", "#####"}));
  EXPECT_EQ(g.Steps(), (Steps{{2, 2, DirDown, 0}}));
  // Both corner pieces of the choice are listed, whether or not each exists.
  EXPECT_NE(g.E->UsedTurns.FindTriple(1, 5, 2), 0);
  EXPECT_NE(g.E->UsedTurns.FindTriple(3, 3, 4), 0);
}

TEST(TryPushBends, FirstChoiceWinsWhenBothChoicesHaveCornerPieces) {
  TestGame g({
      "#####",
      "#...#",
      "#.#.#",
      "#1..#",
      "#.#.#",
      "#...#",
      "#####",
  });
  g.AddTurn(3, 3, 4);  // up
  g.AddTurn(3, 5, 1);  // down
  ASSERT_TRUE(g.Push(2, 4, DirLeft));
  EXPECT_EQ(g.Current().Tiles[2][3], 1);
  // With only the second choice present the tile goes down.
  TestGame h({
      "#####",
      "#...#",
      "#.#.#",
      "#1..#",
      "#.#.#",
      "#...#",
      "#####",
  });
  h.AddTurn(3, 5, 1);
  ASSERT_TRUE(h.Push(2, 4, DirLeft));
  EXPECT_EQ(h.Current().Tiles[2][5], 1);
}

TEST(TryPushBends, EveryDirectionBendsByTheTable) {
  // For each direction d and each of the four corner pieces, the tile at the centre
  // of a 3 x 3 floor pushed into the wall turns the way the corner piece says.
  struct Case {
    int d, px, py, tx, ty, corner, e;
  };
  // Centre P = (3,3) of a 5 x 5 board is pushed toward the frame two cells away,
  // so instead use P next to the wall: P = (2,3) for left, (4,3) right, (3,2) up, (3,4) down.
  const Case cases[] = {
      {DirLeft, 2, 3, 1, 4, 2, DirUp},     {DirLeft, 2, 3, 3, 2, 4, DirUp},
      {DirLeft, 2, 3, 1, 2, 3, DirDown},   {DirLeft, 2, 3, 3, 4, 1, DirDown},
      {DirRight, 4, 3, 5, 4, 1, DirUp},    {DirRight, 4, 3, 3, 2, 3, DirUp},
      {DirRight, 4, 3, 5, 2, 4, DirDown},  {DirRight, 4, 3, 3, 4, 2, DirDown},
      {DirUp, 3, 2, 2, 1, 3, DirRight},    {DirUp, 3, 2, 4, 3, 1, DirRight},
      {DirUp, 3, 2, 4, 1, 4, DirLeft},     {DirUp, 3, 2, 2, 3, 2, DirLeft},
      {DirDown, 3, 4, 2, 5, 2, DirRight},  {DirDown, 3, 4, 4, 3, 4, DirRight},
      {DirDown, 3, 4, 4, 5, 1, DirLeft},   {DirDown, 3, 4, 2, 3, 3, DirLeft},
  };
  for (const Case& c : cases) {
    Rows rows = {"#####", "#...#", "#...#", "#...#", "#####"};
    rows[c.py - 1][c.px - 1] = '1';
    rows[c.ty - 1][c.tx - 1] = '#';
    TestGame g(rows);
    g.AddTurn(c.tx, c.ty, c.corner);
    SCOPED_TRACE("d=" + std::to_string(c.d) + " corner " + std::to_string(c.tx) + "," + std::to_string(c.ty) + "," +
                 std::to_string(c.corner));
    ASSERT_TRUE(g.Push(c.px, c.py, c.d));
    EXPECT_EQ(g.Current().Tiles[c.px + StepX(c.e)][c.py + StepY(c.e)], 1);
    EXPECT_EQ(g.Current().Tiles[c.px][c.py], 0);
  }
}

TEST(TryPushBends, TileGluedToTheTileBehindDoesNotBend) {
  TestGame g({
      "#####",
      "#...#",
      "#.#.#",
      "#12.#",
      "#...#",
      "#####",
  });
  g.AddTurn(3, 3, 4);
  g.AddLink(2, 4, 3, 4);
  const TPattern before = g.Current();
  EXPECT_FALSE(g.Push(2, 4, DirLeft));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"mark 1 1,4"}));
  EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before), 0);
  // Glued to a tile beside it (not behind), it bends and takes its partner's row along.
  TestGame h({
      "#####",
      "#...#",
      "#.#.#",
      "#1..#",
      "#2..#",
      "#...#",
      "#####",
  });
  h.AddTurn(3, 3, 4);
  h.AddLink(2, 4, 2, 5);
  ASSERT_TRUE(h.Push(2, 4, DirLeft));
  EXPECT_EQ(h.Rows(), (Rows{"#####", "#...#", "#1#.#", "#2..#", "#...#", "#...#", "#####"}));
}

TEST(TryPushBends, RowsMeetingAtABendCellPassOtherwiseMarkSix) {
  Rows rows = {
      "#######",
      "#.....#",
      "#.5...#",
      "#.2...#",
      "##3#..#",
      "#.4#..#",
      "#.....#",
      "#######",
  };
  // Without a corner piece facing (3,4), the second row crossing it is refused.
  TestGame g(rows);
  g.AddLink(3, 4, 3, 6);
  g.AddTurn(2, 5, 3);
  const TPattern before = g.Current();
  EXPECT_FALSE(g.Push(3, 4, DirRight));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"mark 6 3,4"}));
  EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before), 0);

  // With one, the rows pass each other there. Here the second row goes on through
  // the tile above and would leave a copy of it behind: the push is refused
  // silently and nothing changes.
  TestGame h(rows);
  h.AddLink(3, 4, 3, 6);
  h.AddTurn(2, 5, 3);
  h.AddTurn(4, 5, 1);
  h.S->GrabX = 3;
  h.S->GrabY = 4;
  h.S->GameRunning = true;
  EXPECT_FALSE(h.Push(3, 4, DirRight));
  EXPECT_EQ(h.E->LastResult.Refusal, TPushRefusal::Silent);
  EXPECT_TRUE(h.Hooks.Calls.empty());
  EXPECT_EQ(std::memcmp(&before, &h.Current(), sizeof before), 0);
  EXPECT_EQ(h.S->StepCount, 0);
  EXPECT_EQ(h.S->GrabX, 3);
  EXPECT_EQ(h.S->GrabY, 4);
  EXPECT_EQ(h.S->Game.Moves, 0);

  // When nothing lies beyond the crossing, the rows pass and the push is made.
  rows[2] = "#.....#";
  TestGame k(rows);
  k.AddLink(3, 4, 3, 6);
  k.AddTurn(2, 5, 3);
  k.AddTurn(4, 5, 1);
  ASSERT_TRUE(k.Push(3, 4, DirRight));
  EXPECT_EQ(k.Rows(), (Rows{"#######", "#.....#", "#.....#", "#.32..#", "##4#..#", "#..#..#", "#.....#",
                            "#######"}));
  EXPECT_EQ(CountTiles(k.Current()), 3);
}

TEST(TryPushJumps, TileEntersOneMouthAndLeavesThePartnerPushingItsRow) {
  TestGame g({
      "#######",
      "#..7..#",
      "#1....#",
      "#.....#",
      "#######",
  });
  g.AddJump(1, 3, DirRight, 4, 1, DirDown);
  ASSERT_TRUE(g.Push(2, 3, DirLeft));
  EXPECT_EQ(g.Rows(), (Rows{"#######", "#..1..#", "#..7..#", "#.....#", "#######"}));
  EXPECT_EQ(g.Steps(), (Steps{{4, 3, DirUp, 0}}));
  EXPECT_NE(g.E->UsedJumps.FindTriple(1, 3, DirRight), 0);
  EXPECT_NE(g.E->UsedJumps.FindTriple(4, 1, DirDown), 0);
  // Back through the same jump.
  ASSERT_TRUE(g.Push(4, 3, DirUp));
  EXPECT_EQ(g.Rows(), (Rows{"#######", "#..7..#", "#1....#", "#.....#", "#######"}));
}

TEST(TryPushJumps, GluedTileNeverJumpsAndAMouthFacingElsewhereIsAWall) {
  TestGame g({
      "#######",
      "#.....#",
      "#12...#",
      "#.....#",
      "#######",
  });
  g.AddJump(1, 3, DirRight, 4, 1, DirDown);
  g.AddLink(2, 3, 3, 3);
  EXPECT_FALSE(g.Push(2, 3, DirLeft));
  EXPECT_EQ(g.Hooks.Calls, (std::vector<std::string>{"mark 1 1,3"}));

  TestGame h({
      "#######",
      "#.....#",
      "#1....#",
      "#.....#",
      "#######",
  });
  h.AddJump(1, 3, DirUp, 4, 1, DirDown);  // this mouth opens upward, not toward the tile
  EXPECT_FALSE(h.Push(2, 3, DirLeft));
  EXPECT_EQ(h.Hooks.Calls, (std::vector<std::string>{"mark 1 1,3"}));
}

TEST(TryPushJumps, LaterEntryAnswersForAMouthListedTwice) {
  TBoard b{};
  b.Jumps[0] = {1, 3, 2, 4, 1, 4};
  b.Jumps[1] = {6, 5, 1, 1, 3, 2};
  b.Jumps[2] = {0, 0, 0, 0, 0, 0};
  b.Jumps[3] = {1, 3, 2, 9, 9, 9};  // after the end: ignored
  const TTriple t = JumpPartner(b, 1, 3, 2);
  EXPECT_EQ((std::vector<int>{t.X, t.Y, t.Dir}), (std::vector<int>{6, 5, 1}));
  const TTriple u = JumpPartner(b, 4, 1, 4);
  EXPECT_EQ((std::vector<int>{u.X, u.Y, u.Dir}), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(JumpPartner(b, 4, 1, 3).X, 0);
}

TEST(TryPushOverflow, RowCirclingARingItDoesNotStartOnOverflows) {
  // A tail tile pushes into a ring; the row then circles the ring for ever. The
  // engine skips the repeated laps: the refusal must be the one of the full count,
  // with a ring of plain tiles and with glued tiles that start rows of their own.
  const Rows rows = {
      "########",
      "########",
      "#1abcd##",
      "##e##f##",
      "##g##h##",
      "##ijkl##",
      "########",
      "########",
  };
  const std::vector<std::vector<int>> linkSets = {{}, {3, 4, 3, 5}, {4, 3, 5, 3, 6, 4, 6, 5}};
  for (const std::vector<int>& links : linkSets) {
    SCOPED_TRACE(testing::Message() << links.size() / 4 << " links");
    auto make = [&] {
      TestGame g(rows);
      g.AddTurn(4, 4, 1);
      g.AddTurn(5, 4, 2);
      g.AddTurn(5, 5, 3);
      g.AddTurn(4, 5, 4);
      for (std::size_t i = 0; i + 3 < links.size(); i += 4)
        g.AddLink(links[i], links[i + 1], links[i + 2], links[i + 3]);
      return g;
    };
    TestGame g = make(), full = make();
    full.E->SkipRepeatedLaps = false;
    const TPattern before = g.Current();
    EXPECT_FALSE(g.Push(2, 3, DirRight));
    EXPECT_FALSE(full.Push(2, 3, DirRight));
    ASSERT_EQ(g.Hooks.Calls.size(), 1u);
    EXPECT_EQ(g.Hooks.Calls[0].rfind("overflow Overflow error : ", 0), 0u) << g.Hooks.Calls[0];
    EXPECT_EQ(g.Hooks.Calls, full.Hooks.Calls);
    EXPECT_EQ(g.E->LastResult.Refusal, TPushRefusal::Overflow);
    EXPECT_EQ((std::vector<int>{g.E->LastRowX, g.E->LastRowY}),
              (std::vector<int>{full.E->LastRowX, full.E->LastRowY}));
    for (auto list : {&TMoveEngine::MovingCells, &TMoveEngine::LinkedStarts, &TMoveEngine::UsedJumps,
                      &TMoveEngine::UsedTurns}) {
      EXPECT_TRUE(SameTriples(*g.E.*list, *full.E.*list));
    }
    EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before), 0);
    // A silent push never opens the message.
    EXPECT_FALSE(g.Push(2, 3, DirRight, false));
    EXPECT_TRUE(g.Hooks.Calls.empty());
    EXPECT_EQ(g.E->LastResult.Refusal, TPushRefusal::Overflow);
  }
}
