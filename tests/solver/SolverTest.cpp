// The solver against an exhaustive search written here: every position reachable
// from the start is visited through the game's own gestures and move counter, and
// the fewest counted moves to each objective are compared with what Solve proves.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/BoardBuilder.h"
#include "solver/Solver.h"

namespace pav {
namespace {

using test::TestGame;
using Rows = std::vector<std::string>;

// Ends the game on a solve, as the game and the tool's replay do.
class EndOnSolve : public EngineHooks {
 public:
  explicit EndOnSolve(TGameState& s) : S(s) {}
  void PuzzleSolved() override {
    S.GameRunning = false;
    Solved = true;
  }
  bool Solved = false;

 private:
  TGameState& S;
};

std::string KeyOf(const TPattern& p) { return std::string(reinterpret_cast<const char*>(&p), sizeof p); }

TPattern PatternOf(const std::string& key) {
  TPattern p;
  std::memcpy(&p, key.data(), sizeof p);
  return p;
}

// One gesture from `from` in a running game whose objective is `objective`:
// the moves it counted and whether it solved; false when its first push is refused.
bool PlayInGame(TestGame& g, EndOnSolve& hooks, const TPattern& from, const TPattern& objective, int x, int y,
                int dir, int& moves, bool& solved) {
  CopyPattern(from, g.Current());
  CopyPattern(objective, g.S->Game.OP);
  g.S->GameRunning = true;
  g.S->Game.Moves = 0;
  hooks.Solved = false;
  const bool ok = g.Gesture(x, y, dir);
  moves = g.S->Game.Moves;
  solved = hooks.Solved;
  return ok;
}

// Every position reachable from the start by single pushes (for one push a move,
// by gestures).
std::vector<TPattern> Reachable(TestGame& g, EndOnSolve& hooks, const TPattern& start) {
  const auto steps = g.Board().StepsPerMove;
  g.Board().StepsPerMove = 1;
  TPattern nowhere;
  ClearPattern(nowhere);
  std::map<std::string, bool> seen{{KeyOf(start), true}};
  std::vector<TPattern> out{start};
  for (std::size_t i = 0; i < out.size(); ++i)
    for (int x = 1; x <= g.Board().Width; ++x)
      for (int y = 1; y <= g.Board().Height; ++y)
        for (int d = 1; d <= 4; ++d) {
          int moves;
          bool solved;
          const TPattern from = out[i];
          if (!PlayInGame(g, hooks, from, nowhere, x, y, d, moves, solved)) continue;
          if (seen.emplace(KeyOf(g.Current()), true).second) out.push_back(g.Current());
        }
  g.Board().StepsPerMove = steps;
  return out;
}

// The fewest counted moves from start until a push solves, over every reachable
// position (-1 when none solves).
int Fewest(TestGame& g, EndOnSolve& hooks, const TPattern& start, const TPattern& objective) {
  if (PatternsEqual(start, objective)) return 0;
  std::map<std::string, int> dist{{KeyOf(start), 0}};
  std::deque<std::pair<std::string, int>> open{{KeyOf(start), 0}};
  int best = -1;
  while (!open.empty()) {
    const auto [key, d] = open.front();
    open.pop_front();
    if (dist[key] < d) continue;
    const TPattern from = PatternOf(key);
    for (int x = 1; x <= g.Board().Width; ++x)
      for (int y = 1; y <= g.Board().Height; ++y)
        for (int dir = 1; dir <= 4; ++dir) {
          int moves;
          bool solved;
          if (!PlayInGame(g, hooks, from, objective, x, y, dir, moves, solved)) continue;
          if (solved) {
            if (best < 0 || d + moves < best) best = d + moves;
            continue;
          }
          const std::string next = KeyOf(g.Current());
          const auto it = dist.find(next);
          if (it != dist.end() && it->second <= d + moves) continue;
          dist[next] = d + moves;
          if (moves == 0)
            open.emplace_front(next, d);
          else
            open.emplace_back(next, d + moves);
        }
  }
  return best;
}

// Replays a solution in a running game: the moves counted when a push solved, or -1.
int Replay(TestGame& g, EndOnSolve& hooks, const TPattern& start, const TPattern& objective,
           const std::vector<TSolveGesture>& solution) {
  CopyPattern(start, g.Current());
  CopyPattern(objective, g.S->Game.OP);
  g.S->GameRunning = true;
  g.S->Game.Moves = 0;
  hooks.Solved = false;
  if (PatternsEqual(start, objective)) return 0;
  for (const TSolveGesture& ge : solution) {
    g.Gesture(ge.X, ge.Y, ge.Dir);
    if (hooks.Solved) return g.S->Game.Moves;
  }
  return -1;
}

struct Case {
  const char* Name;
  Rows Board;
  int StepsPerMove;
  void (*Decorate)(TestGame&);
  int Longest;  // the most moves any objective takes
};

void Plain(TestGame&) {}
void Ring(TestGame& g) {
  g.AddTurn(3, 3, 1);
  g.AddTurn(4, 3, 2);
  g.AddTurn(4, 4, 3);
  g.AddTurn(3, 4, 4);
}
void Glued(TestGame& g) { g.AddLink(2, 2, 3, 2); }
void Jumps(TestGame& g) { g.AddJump(1, 2, DirRight, 6, 3, DirLeft); }

const Case Cases[] = {
    {"rows", {"#####", "#12.#", "#345#", "#####"}, 1, Plain, 17},
    // A lone tile slid into the gap leaves its cell empty: the second push fails, no move counts.
    {"rows, two pushes a move", {"#####", "#12.#", "#345#", "#####"}, 2, Plain, 0},
    {"ring with bends", {"######", "#12.4#", "#c##5#", "#b##.#", "#a987#", "######"}, 1, Ring, 7},
    // A full ring turns twice a move; the turn in between solves without counting.
    {"full ring, two pushes a move", {"######", "#1234#", "#c##5#", "#b##6#", "#a987#", "######"}, 2, Ring, 3},
    {"glued pair", {"#####", "#12.#", "#3.4#", "#####"}, 1, Glued, 8},
    {"jump", {"######", "#12..#", "#3.4.#", "######"}, 1, Jumps, 8},
};

// Solve agrees with the exhaustive search on the fewest moves to every position
// reachable from the start (and to its own start), and each of its solutions,
// replayed in a running game, solves with exactly that many moves.
TEST(Solver, FewestMovesMatchExhaustiveSearch) {
  for (const Case& c : Cases) {
    SCOPED_TRACE(c.Name);
    TestGame g(c.Board, c.StepsPerMove);
    c.Decorate(g);
    EndOnSolve hooks(*g.S);
    g.E->SetHooks(&hooks);
    const TPattern start = g.Board().Pattern;
    const std::vector<TPattern> all = Reachable(g, hooks, start);
    ASSERT_GT(all.size(), 10u);
    int zeroCostSeen = 0, longest = 0, unreachable = 0;
    const std::size_t stride = all.size() / 40 + 1;
    for (std::size_t i = 0; i < all.size(); i += stride) {
      const int expected = Fewest(g, hooks, start, all[i]);
      const TSolveResult r = Solve(g.Board(), start, all[i]);
      if (expected < 0) {
        EXPECT_EQ(r.Status, TSolveStatus::NoSolution) << "position " << i;
        ++unreachable;
        continue;
      }
      ASSERT_EQ(r.Status, TSolveStatus::Optimal) << "position " << i;
      ASSERT_EQ(r.Moves, expected) << "position " << i;
      EXPECT_EQ(r.LowerBound, expected);
      EXPECT_EQ(Replay(g, hooks, start, all[i], r.Solution), expected) << "position " << i;
      if (static_cast<int>(r.Solution.size()) > r.Moves) ++zeroCostSeen;
      longest = std::max(longest, expected);
    }
    EXPECT_EQ(longest, c.Longest);
    EXPECT_EQ(unreachable, 0);
    // With two pushes a move, some of the fewest-move solutions use gestures that count nothing.
    if (c.StepsPerMove == 2) {
      EXPECT_GT(zeroCostSeen, 0);
    }
  }
}

TEST(Solver, UnreachableObjectiveIsNoSolutionAfterTheWholeSearch) {
  TestGame g({"######", "#12..#", "######"});
  TPattern swapped = g.Board().Pattern;
  std::swap(swapped.Tiles[2][2], swapped.Tiles[3][2]);
  const TSolveResult r = Solve(g.Board(), g.Board().Pattern, swapped);
  EXPECT_EQ(r.Status, TSolveStatus::NoSolution);
  EXPECT_EQ(r.Moves, -1);
  EXPECT_TRUE(r.Solution.empty());
  EXPECT_EQ(r.Positions, 6u);  // the two tiles keep their order on the row
}

// A search stopped by a limit proves only what it has seen: its lower bound never
// passes a known solution, and any solution it gives still solves.
TEST(Solver, LimitsGiveHonestBounds) {
  TestGame g({"#######", "#12345#", "#6789a#", "#bcdef#", "#ghijk#", "#lmno.#", "#######"});
  EndOnSolve hooks(*g.S);
  g.E->SetHooks(&hooks);
  const TPattern start = g.Board().Pattern;
  // Twelve moves, each picked among the gestures that move tiles: the objective is
  // at most twelve moves away.
  int made = 0;
  for (int step = 0; step < 12; ++step) {
    const TPattern before = g.Current();
    std::vector<TSolveGesture> moving;
    for (int x = 2; x <= 6; ++x)
      for (int y = 2; y <= 6; ++y)
        for (int d = 1; d <= 4; ++d) {
          if (g.Gesture(x, y, d)) moving.push_back({x, y, d});
          g.Current() = before;
        }
    const TSolveGesture& pick = moving[(step * 5 + 3) % moving.size()];
    made += g.Gesture(pick.X, pick.Y, pick.Dir) ? 1 : 0;
  }
  ASSERT_EQ(made, 12);
  const TPattern objective = g.Current();

  struct Limit {
    TSolveLimits Limits;
    const char* StoppedBy;
  } limits[] = {{{0.05, std::size_t{1} << 31}, "time"}, {{0, std::size_t{1} << 18}, "memory"}};
  for (const Limit& l : limits) {
    SCOPED_TRACE(l.StoppedBy);
    const TSolveResult r = Solve(g.Board(), start, objective, l.Limits);
    ASSERT_EQ(r.Status, TSolveStatus::NotProven);
    EXPECT_EQ(r.StoppedBy, l.StoppedBy);
    EXPECT_GE(r.LowerBound, 1);
    EXPECT_LE(r.LowerBound, 12);
    if (r.Moves >= 0) {
      EXPECT_GE(r.Moves, r.LowerBound);
      EXPECT_EQ(Replay(g, hooks, start, objective, r.Solution), r.Moves);
    }
  }
}

}  // namespace
}  // namespace pav
