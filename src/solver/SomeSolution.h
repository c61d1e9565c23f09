// A solution found without proof that it has the fewest moves, for positions too
// far apart for the proven search: a beam search led by how far each tile stands
// from the nearest cell where the objective has its face.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/Records.h"
#include "solver/Gestures.h"

namespace pav {

struct TSomeSolution {
  int Moves = -1;  // counted moves; -1 when none was found
  std::vector<TSolveGesture> Gestures;
  std::uint64_t Pushes = 0;
};

TSomeSolution FindSomeSolution(const TBoard& board, const TPattern& start, const TPattern& objective,
                               double seconds, std::size_t maxBytes, std::size_t beamWidth = 4096);

}  // namespace pav
