#include "solver/Solver.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "engine/MoveEngine.h"
#include "solver/Gestures.h"
#include "solver/PositionSet.h"
#include "solver/SomeSolution.h"

namespace pav {

namespace {

using Clock = std::chrono::steady_clock;

class TSearch {
 public:
  TSearch(const TBoard& board, const TPattern& start, const TPattern& objective, const TSolveLimits& limits)
      : Objective(objective), Limits(limits), Codec(board, start), Set(Codec.KeySize()) {
    State = std::make_unique<TGameState>();
    State->Game.Board = board;
    Engine = std::make_unique<TMoveEngine>(*State);
    Key.resize(Codec.KeySize());
    for (int x = 1; x <= MaxCols; ++x)
      for (int y = 1; y <= MaxRows; ++y)
        if (board.Cells[x][y] == 0) Starts.push_back(static_cast<std::uint16_t>(x * GridH + y));
    Codec.Pack(start, Key.data());
    Set.Add(Key.data(), TPositionSet::Hash(Key.data(), Key.size()), TPositionSet::None, 0, 0);
    Began = Clock::now();
  }

  TSolveResult Run(const TPattern& start) {
    TSolveResult r;
    if (PatternsEqual(start, Objective)) {
      r.Status = TSolveStatus::Optimal;
      r.Moves = r.LowerBound = 0;
      return Finish(r);
    }
    std::vector<std::uint32_t> layer{0}, next;
    for (std::uint32_t c = 0; !layer.empty(); ++c) {
      for (std::size_t i = 0; i < layer.size(); ++i) {
        const std::uint32_t u = layer[i];
        if (Set.Moves[u] != c) continue;  // reached later at fewer moves, and seen then
        if (!Expand(u, c, layer, next)) {
          r.StoppedBy = Stop;
          r.LowerBound = static_cast<int>(c);
          if (BestMoves >= 0) {
            r.Status = TSolveStatus::NotProven;
            TakeBest(r);
          } else {
            r.Status = TSolveStatus::NotProven;
          }
          return Finish(r);
        }
        if (BestMoves == static_cast<int>(c)) break;
      }
      // Every position at c moves is behind us: an objective found at c or c + 1 is the fewest.
      if (BestMoves >= 0) {
        r.Status = TSolveStatus::Optimal;
        TakeBest(r);
        r.LowerBound = r.Moves;
        return Finish(r);
      }
      layer.swap(next);
      next.clear();
    }
    r.Status = TSolveStatus::NoSolution;
    return Finish(r);
  }

 private:
  // Plays every gesture from position u (at c moves). False when a limit stops the search.
  bool Expand(std::uint32_t u, std::uint32_t c, std::vector<std::uint32_t>& layer,
              std::vector<std::uint32_t>& next) {
    if ((++Expanded & 255) == 0 && Limits.Seconds > 0 &&
        std::chrono::duration<double>(Clock::now() - Began).count() > Limits.Seconds) {
      Stop = "time";
      return false;
    }
    Codec.Unpack(Set.Key(u), Base);
    TGame& g = State->Game;
    const auto* baseTiles = &Base.Tiles[0][0];
    for (const std::uint16_t cell : Starts) {
      if (baseTiles[cell] == 0) continue;
      const int x = cell / GridH, y = cell % GridH;
      for (int dir = DirLeft; dir <= DirDown; ++dir) {
        CopyPattern(Base, g.Current);
        const TGestureEnd end = PlayGesture(*Engine, Objective, x, y, dir, Pushes);
        if (!end.Made) continue;
        const std::uint32_t cost = c + (end.Counted ? 1 : 0);
        const std::uint16_t gesture = PackGesture(x, y, dir);
        if (end.Solved) {
          if (BestMoves < 0 || static_cast<int>(cost) < BestMoves) {
            BestMoves = static_cast<int>(cost);
            BestParent = u;
            BestGesture = gesture;
          }
          if (cost == c) return true;  // nothing can beat it
          continue;
        }
        Codec.Pack(g.Current, Key.data());
        const std::uint64_t hash = TPositionSet::Hash(Key.data(), Key.size());
        const std::uint32_t v = Set.Find(Key.data(), hash);
        if (v == TPositionSet::None) {
          const std::size_t layers = 4 * (layer.capacity() + next.capacity());
          const std::size_t need = Set.BytesDuringNextAdd() + layers + 4 * std::max(layer.size(), next.size());
          PeakBytes = std::max(PeakBytes, need);
          if (need > Limits.MaxBytes) {
            Stop = "memory";
            return false;
          }
          const std::uint32_t added = Set.Add(Key.data(), hash, u, gesture, cost);
          (cost == c ? layer : next).push_back(added);
        } else if (Set.Moves[v] > cost) {
          Set.Moves[v] = cost;
          Set.Parent[v] = u;
          Set.Gesture[v] = gesture;
          layer.push_back(v);
        }
      }
    }
    return true;
  }

  void TakeBest(TSolveResult& r) const {
    r.Moves = BestMoves;
    std::vector<TSolveGesture> path{{GestureX(BestGesture), GestureY(BestGesture), GestureDir(BestGesture)}};
    for (std::uint32_t v = BestParent; Set.Parent[v] != TPositionSet::None; v = Set.Parent[v]) {
      const std::uint16_t g = Set.Gesture[v];
      path.push_back({GestureX(g), GestureY(g), GestureDir(g)});
    }
    std::reverse(path.begin(), path.end());
    r.Solution = std::move(path);
  }

  TSolveResult& Finish(TSolveResult& r) const {
    r.Pushes = Pushes;
    r.Positions = Set.Count();
    r.Seconds = std::chrono::duration<double>(Clock::now() - Began).count();
    r.PeakBytes = std::max(PeakBytes, Set.Bytes());
    return r;
  }

  const TPattern& Objective;
  TSolveLimits Limits;
  TPositionCodec Codec;
  TPositionSet Set;
  std::unique_ptr<TGameState> State;
  std::unique_ptr<TMoveEngine> Engine;
  std::vector<std::uint16_t> Starts;  // floor cells, where a gesture can grab a tile
  std::vector<std::uint8_t> Key;
  TPattern Base;
  Clock::time_point Began;
  std::uint64_t Pushes = 0;
  std::uint64_t Expanded = 0;
  std::size_t PeakBytes = 0;
  const char* Stop = "";
  int BestMoves = -1;
  std::uint32_t BestParent = 0;
  std::uint16_t BestGesture = 0;
};

}  // namespace

TSolveResult Solve(const TBoard& board, const TPattern& start, const TPattern& objective, const TSolveLimits& limits) {
  const auto began = Clock::now();
  // A quarter of the time is kept for finding some solution when the proof runs out.
  TSolveLimits proof = limits;
  if (limits.Seconds > 0) proof.Seconds = limits.Seconds * 0.75;
  TSolveResult r;
  {
    TSearch search(board, start, objective, proof);
    r = search.Run(start);
  }
  if (r.Status == TSolveStatus::NotProven && r.Moves < 0) {
    const double spent = std::chrono::duration<double>(Clock::now() - began).count();
    const double left = limits.Seconds > 0 ? limits.Seconds - spent : proof.Seconds + 10.0;
    const TSomeSolution some = FindSomeSolution(board, start, objective, left, limits.MaxBytes);
    r.Pushes += some.Pushes;
    if (some.Moves >= 0) {
      r.Moves = some.Moves;
      r.Solution = some.Gestures;
      // Found at the proven bound: nothing has fewer moves.
      if (r.Moves == r.LowerBound) r.Status = TSolveStatus::Optimal;
    }
  }
  r.Seconds = std::chrono::duration<double>(Clock::now() - began).count();
  return r;
}

int ReplaySolution(const TBoard& board, const TPattern& start, const TPattern& objective,
                   const std::vector<TSolveGesture>& gestures) {
  auto state = std::make_unique<TGameState>();
  state->Game.Board = board;
  CopyPattern(start, state->Game.Current);
  TMoveEngine engine(*state);
  std::uint64_t pushes = 0;
  int moves = 0;
  for (const TSolveGesture& ge : gestures) {
    const TGestureEnd end = PlayGesture(engine, objective, ge.X, ge.Y, ge.Dir, pushes);
    if (end.Counted) ++moves;
    if (end.Solved) return moves;
  }
  return -1;
}

const char* StatusName(TSolveStatus s) {
  switch (s) {
    case TSolveStatus::Optimal:
      return "optimal";
    case TSolveStatus::NotProven:
      return "not proven";
    case TSolveStatus::NoSolution:
      break;
  }
  return "no solution";
}

}  // namespace pav
