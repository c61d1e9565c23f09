#include "solver/SomeSolution.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "engine/MoveEngine.h"
#include "solver/Gestures.h"
#include "solver/PositionSet.h"

namespace pav {

namespace {

constexpr int Cells = GridW * GridH;
constexpr std::uint16_t Far = 1000;

// For every face, the steps from each cell to the nearest cell holding that face in
// the objective; a step is to a neighbouring cell or through a jump.
class TFaceDistances {
 public:
  TFaceDistances(const TBoard& board, const TPattern& objective) {
    std::vector<std::vector<int>> next(Cells);
    auto link = [&](int x1, int y1, int x2, int y2) {
      const bool in1 = x1 >= 1 && x1 <= MaxCols && y1 >= 1 && y1 <= MaxRows;
      const bool in2 = x2 >= 1 && x2 <= MaxCols && y2 >= 1 && y2 <= MaxRows;
      if (!in1 || !in2) return;
      next[x1 * GridH + y1].push_back(x2 * GridH + y2);
      next[x2 * GridH + y2].push_back(x1 * GridH + y1);
    };
    for (int x = 1; x <= MaxCols; ++x)
      for (int y = 1; y <= MaxRows; ++y) {
        link(x, y, x + 1, y);
        link(x, y, x, y + 1);
      }
    for (const TJump& j : board.Jumps) {
      if (j.X1 == 0) break;
      link(j.X1 + StepX(j.Side1), j.Y1 + StepY(j.Side1), j.X2 + StepX(j.Side2), j.Y2 + StepY(j.Side2));
    }
    Steps.assign(static_cast<std::size_t>(MaxTileFace + 1) * Cells, Far);
    for (int face = 1; face <= MaxTileFace; ++face) {
      std::uint16_t* d = &Steps[static_cast<std::size_t>(face) * Cells];
      std::vector<int> queue;
      for (int x = 1; x <= MaxCols; ++x)
        for (int y = 1; y <= MaxRows; ++y)
          if (objective.Tiles[x][y] == face) {
            d[x * GridH + y] = 0;
            queue.push_back(x * GridH + y);
          }
      for (std::size_t i = 0; i < queue.size(); ++i)
        for (const int n : next[queue[i]])
          if (d[n] == Far) {
            d[n] = static_cast<std::uint16_t>(d[queue[i]] + 1);
            queue.push_back(n);
          }
    }
  }

  std::uint32_t Sum(const TPattern& p) const {
    std::uint32_t sum = 0;
    const auto* tiles = &p.Tiles[0][0];
    for (int x = 1; x <= MaxCols; ++x)
      for (int y = 1; y <= MaxRows; ++y) {
        const int c = x * GridH + y;
        if (tiles[c] != 0 && tiles[c] <= MaxTileFace) sum += Steps[static_cast<std::size_t>(tiles[c]) * Cells + c];
      }
    return sum;
  }

 private:
  std::vector<std::uint16_t> Steps;
};

struct TCandidate {
  std::uint32_t Score;
  std::uint32_t Node;
};

using Clock = std::chrono::steady_clock;

// One beam of the given width, for at most maxLayers gestures.
void RunBeam(const TBoard& board, const TPattern& start, const TPattern& objective, const TFaceDistances& distances,
             Clock::time_point deadline, std::size_t maxBytes, std::size_t beamWidth, int maxLayers,
             TSomeSolution& out) {
  const TPositionCodec codec(board, start);
  TPositionSet set(codec.KeySize());
  std::vector<std::uint8_t> key(codec.KeySize());
  codec.Pack(start, key.data());
  set.Add(key.data(), TPositionSet::Hash(key.data(), key.size()), TPositionSet::None, 0, 0);

  auto state = std::make_unique<TGameState>();
  state->Game.Board = board;
  TMoveEngine engine(*state);
  TGame& g = state->Game;
  TPattern base;
  std::vector<std::uint32_t> beam{0};
  std::vector<TCandidate> candidates;

  auto finish = [&](std::uint32_t parent, std::uint16_t last, std::uint32_t moves) {
    out.Moves = static_cast<int>(moves);
    out.Gestures.push_back({GestureX(last), GestureY(last), GestureDir(last)});
    for (std::uint32_t v = parent; set.Parent[v] != TPositionSet::None; v = set.Parent[v])
      out.Gestures.push_back({GestureX(set.Gesture[v]), GestureY(set.Gesture[v]), GestureDir(set.Gesture[v])});
    std::reverse(out.Gestures.begin(), out.Gestures.end());
  };

  for (int layer = 0; layer < maxLayers && !beam.empty(); ++layer) {
    candidates.clear();
    for (const std::uint32_t u : beam) {
      if (Clock::now() > deadline) return;
      codec.Unpack(set.Key(u), base);
      for (int x = 1; x <= MaxCols; ++x)
        for (int y = 1; y <= MaxRows; ++y) {
          if (base.Tiles[x][y] == 0 || board.Cells[x][y] != 0) continue;
          for (int dir = DirLeft; dir <= DirDown; ++dir) {
            CopyPattern(base, g.Current);
            const TGestureEnd end = PlayGesture(engine, objective, x, y, dir, out.Pushes);
            if (!end.Made) continue;
            const std::uint32_t moves = set.Moves[u] + (end.Counted ? 1 : 0);
            const std::uint16_t gesture = PackGesture(x, y, dir);
            if (end.Solved) {
              finish(u, gesture, moves);
              return;
            }
            codec.Pack(g.Current, key.data());
            const std::uint64_t hash = TPositionSet::Hash(key.data(), key.size());
            if (set.Find(key.data(), hash) != TPositionSet::None) continue;
            if (set.BytesDuringNextAdd() + 8 * candidates.capacity() * 2 > maxBytes) return;
            const std::uint32_t v = set.Add(key.data(), hash, u, gesture, moves);
            candidates.push_back({distances.Sum(g.Current) * 4 + moves, v});
          }
        }
    }
    const std::size_t keep = std::min(beamWidth, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(keep), candidates.end(),
                      [](const TCandidate& a, const TCandidate& b) {
                        return a.Score != b.Score ? a.Score < b.Score : a.Node < b.Node;
                      });
    beam.clear();
    for (std::size_t i = 0; i < keep; ++i) beam.push_back(candidates[i].Node);
  }
}

}  // namespace

TSomeSolution FindSomeSolution(const TBoard& board, const TPattern& start, const TPattern& objective,
                               double seconds, std::size_t maxBytes, std::size_t beamWidth) {
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  TSomeSolution out;
  const TFaceDistances distances(board, objective);
  // Narrow beams first: they are quick. Wider ones, while time is left, look for
  // shorter solutions.
  for (std::size_t width = 16; width <= beamWidth && Clock::now() < deadline; width *= 4) {
    TSomeSolution found;
    const int layers = out.Moves < 0 ? 400 : static_cast<int>(out.Gestures.size()) - 1;
    RunBeam(board, start, objective, distances, deadline, maxBytes, width, layers, found);
    found.Pushes += out.Pushes;
    if (found.Moves >= 0 && (out.Moves < 0 || found.Moves < out.Moves)) {
      out = std::move(found);
    } else {
      out.Pushes = found.Pushes;
    }
  }
  return out;
}

}  // namespace pav
