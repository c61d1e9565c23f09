#include <gtest/gtest.h>

#include <cstring>

#include "BoardBuilder.h"

using namespace pav;
using pav::test::TestGame;
using Rows = std::vector<std::string>;

namespace {

TestGame Classic4x4() {
  return TestGame({
      "######",
      "#1234#",
      "#5678#",
      "#9abc#",
      "#def.#",
      "######",
  });
}

// Replays the history the way the computer does: entries whose tile is gone are
// dropped, the others are pushed StepsPerMove times.
void Replay(TestGame& g) {
  TMoveList& h = g.S->Game.History;
  for (int i = 0; i < ListLength(h); ++i) {
    while (i < ListLength(h) && g.Current().Tiles[h.X[i]][h.Y[i]] == 0) DeleteEntry(h, i + 1);
    if (i >= ListLength(h)) break;
    for (int k = 0; k < g.Board().StepsPerMove; ++k) g.E->TryPush(false, false, h.X[i], h.Y[i], h.Dir[i]);
  }
}

}  // namespace

TEST(Playable, BoardWithAnyUsefulPushIsPlayable) {
  TestGame g = Classic4x4();
  EXPECT_TRUE(CheckBoardPlayable(*g.E));
  EXPECT_TRUE(g.Hooks.Calls.empty());  // silent trials
}

TEST(Playable, FullBoardWithoutRingsOrEmptyCellsIsNot) {
  TestGame g({
      "#####",
      "#123#",
      "#456#",
      "#####",
  });
  EXPECT_FALSE(CheckBoardPlayable(*g.E));
  TestGame empty({
      "#####",
      "#...#",
      "#####",
  });
  EXPECT_FALSE(CheckBoardPlayable(*empty.E));
}

TEST(Playable, RingOfEqualTilesChangesNothing) {
  // Every push turns the ring, but all its tiles look alike.
  TestGame g({
      "######",
      "#1111#",
      "#1##1#",
      "#1##1#",
      "#1111#",
      "######",
  });
  g.AddTurn(3, 3, 1);
  g.AddTurn(4, 3, 2);
  g.AddTurn(4, 4, 3);
  g.AddTurn(3, 4, 4);
  EXPECT_FALSE(CheckBoardPlayable(*g.E));
  std::mt19937 rng(1);
  const TPattern before = g.Current();
  EXPECT_FALSE(ScrambleFromCurrent(*g.E, rng, 1));
  EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before), 0);
}

TEST(Scramble, LengthFollowsTheTileCountAndTheComputersAccuracy) {
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    TestGame g = Classic4x4();
    std::mt19937 rng(seed);
    ASSERT_TRUE(ScrambleFromCurrent(*g.E, rng, 1));
    EXPECT_GE(g.S->ScrambleLength, 55);
    EXPECT_LE(g.S->ScrambleLength, 65);
    EXPECT_EQ(ListLength(g.S->Game.History), g.S->ScrambleLength);
    EXPECT_FALSE(PatternsEqual(g.Current(), g.S->Game.OP));

    TestGame poor = Classic4x4();
    poor.S->HumanTurn = false;
    ASSERT_TRUE(ScrambleFromCurrent(*poor.E, rng, 0));
    EXPECT_GE(poor.S->ScrambleLength, 110);
    EXPECT_LE(poor.S->ScrambleLength, 130);

    TestGame high = Classic4x4();
    high.S->HumanTurn = false;
    ASSERT_TRUE(ScrambleFromCurrent(*high.E, rng, 2));
    EXPECT_GE(high.S->ScrambleLength, 16);
    EXPECT_LE(high.S->ScrambleLength, 19);
  }
}

TEST(Scramble, TwoTilesStillGetAtLeastFivePushes) {
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    TestGame g({
        "#####",
        "#12.#",
        "#...#",
        "#####",
    });
    std::mt19937 rng(seed);
    ASSERT_TRUE(ScrambleFromCurrent(*g.E, rng, 1));
    EXPECT_GE(g.S->ScrambleLength, 5);
    EXPECT_LE(g.S->ScrambleLength, 13);
  }
}

TEST(Scramble, HistoryReadForwardLeadsBackToTheObjective) {
  // Straight rows, rows round a block, a jump and two steps per move: positions
  // where every push has an exact way back. (A row that bends at a wall beside
  // open floor, or glued tiles that shoved rows of their own, are not undone by
  // their recorded steps.)
  std::vector<TestGame> boards;
  boards.push_back(Classic4x4());
  {
    TestGame g({
        "######",
        "#1234#",
        "#b##5#",
        "#a##6#",
        "#.987#",
        "######",
    });
    g.AddTurn(3, 3, 1);
    g.AddTurn(4, 3, 2);
    g.AddTurn(4, 4, 3);
    g.AddTurn(3, 4, 4);
    boards.push_back(std::move(g));
  }
  {
    TestGame g({
        "#######",
        "#..7..#",
        "#12...#",
        "#..3..#",
        "#######",
    });
    g.AddJump(1, 3, DirRight, 4, 1, DirDown);
    boards.push_back(std::move(g));
  }
  {
    TestGame g(
        {
            "######",
            "#123.#",
            "#45..#",
            "######",
        },
        2);
    boards.push_back(std::move(g));
  }
  for (TestGame& g : boards) {
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
      g.Current() = g.Board().Pattern;
      g.S->Game.OP = g.Board().Pattern;
      std::mt19937 rng(seed);
      ASSERT_TRUE(ScrambleFromCurrent(*g.E, rng, 1));
      const TPattern scrambled = g.Current();
      Replay(g);
      EXPECT_TRUE(PatternsEqual(g.Current(), g.S->Game.OP)) << "board " << (&g - boards.data()) << " seed " << seed;
      g.Current() = scrambled;
    }
  }
}

TEST(Scramble, GluedTilesScrambleToo) {
  TestGame g({
      "#######",
      "#12..3#",
      "#4...5#",
      "#67..8#",
      "#######",
  });
  g.AddLink(2, 2, 3, 2);
  g.AddLink(2, 4, 2, 3);
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    g.Current() = g.Board().Pattern;
    std::mt19937 rng(seed);
    ASSERT_TRUE(ScrambleFromCurrent(*g.E, rng, 1));
    EXPECT_FALSE(PatternsEqual(g.Current(), g.S->Game.OP));
    EXPECT_EQ(CountTiles(g.Current()), 8);
    EXPECT_EQ(CountLinks(g.Current()), 2);
    EXPECT_GE(ListLength(g.S->Game.History), 5);
  }
}

TEST(Scramble, SilentPushesNeverCountOrShow) {
  TestGame g = Classic4x4();
  std::mt19937 rng(7);
  ASSERT_TRUE(ScrambleFromCurrent(*g.E, rng, 1));
  EXPECT_EQ(g.S->Game.Moves, 0);
  EXPECT_TRUE(g.Hooks.Calls.empty());
}

TEST(Scramble, TwoFloorCellsAndOneTileScramble) {
  // The smallest board there is: every scramble ends after an odd number of
  // pushes or runs again, and some run always does.
  for (unsigned seed = 1; seed <= 50; ++seed) {
    TestGame g({
        "####",
        "#1.#",
        "####",
    });
    g.S->Game.OP = g.Current();
    std::mt19937 rng(seed);
    ASSERT_TRUE(ScrambleFromCurrent(*g.E, rng, 1)) << "seed " << seed;
    EXPECT_FALSE(PatternsEqual(g.Current(), g.S->Game.OP));
  }
}

TEST(Scramble, GivesUpAfterItsBoundOfCandidatePushes) {
  // The classic board needs 55 to 65 changing pushes: a bound of 40 candidates
  // cannot make them, in one run or in reruns, and leaves the position as it was.
  struct Case {
    long maxTries;
    bool made;
  };
  for (const Case c : {Case{40, false}, Case{64, false}, Case{100000, true}}) {
    TestGame g = Classic4x4();
    const TPattern before = g.Current();
    std::mt19937 rng(3);
    EXPECT_EQ(ScrambleFromCurrent(*g.E, rng, 1, c.maxTries), c.made) << c.maxTries;
    EXPECT_EQ(std::memcmp(&before, &g.Current(), sizeof before) == 0, !c.made) << c.maxTries;
    EXPECT_EQ(ListLength(g.S->Game.History) == 0, !c.made) << c.maxTries;
  }
}
