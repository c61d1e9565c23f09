// TryPush: the only operation that moves tiles, with its rows, rings, glued
// groups, corner pieces and jumps.
#pragma once

#include <cstdint>

#include "engine/GameData.h"
#include "engine/Pattern.h"

namespace pav {

// Board lookups used by the tracer.
// True when the board's corner-piece list holds exactly (X, Y, Corner); false outside X 1..20, Y 1..15.
bool HasTurn(const TBoard& b, int x, int y, int corner);
// The other mouth of the last jump entry that has mouth (X, Y, Side); (0, 0, 0) when none.
TTriple JumpPartner(const TBoard& b, int x, int y, int side);
// A diagonal neighbour carries a corner piece whose rounded quarter faces (X, Y).
bool IsBendCell(const TBoard& b, int x, int y);

// Gathers the group of the tile at (X, Y) through the links of p, in the order
// the game gathers it. Returns false when the group has more than 120 cells.
struct TCellList {
  std::uint8_t X[TripleListSize];
  std::uint8_t Y[TripleListSize];
  int Count = 0;
};
bool GatherGroup(const TPattern& p, int x, int y, TCellList& out);
// Merges the group of (X, Y), each cell with direction Dir, into list: cells already
// listed keep their entry (and take Dir when overwrite is set), new cells are appended.
// Returns false when the group or the list would grow past 120 entries.
bool CollectGroup(const TPattern& p, int x, int y, int dir, bool overwrite, TTripleList& list);
bool InSameGroup(const TPattern& p, int x1, int y1, int x2, int y2);

class TMoveEngine {
 public:
  explicit TMoveEngine(TGameState& state, EngineHooks* hooks = nullptr);

  bool TryPush(bool show, bool sound, int x, int y, int dir);

  void SetHooks(EngineHooks* hooks);
  TGameState& State() { return S; }

  // Work lists of the last call, read right after it.
  TTripleList MovingCells;
  TTripleList LinkedStarts;
  TTripleList UsedJumps;
  TTripleList UsedTurns;
  TMoveList StepRecord;
  std::uint8_t Arrivals[GridW][GridH];
  TPattern New;  // the position being built by the last call
  // Why the last call refused its push (or None).
  TPushResult LastResult;
  // The cursor cell where the last traced row ended.
  int LastRowX = 0;
  int LastRowY = 0;
  // A row that runs round for ever comes back, lap after lap, to one cell in one
  // direction with the same work lists, and from then on each lap repeats the one
  // before. Such laps are skipped on the way to the overflow limit: the refusal,
  // its message and the work lists are those of the full count. Cleared only to
  // compare with the full count.
  bool SkipRepeatedLaps = true;

 private:
  // Where a row stood, with its work lists, after N cells.
  struct TLapMark {
    int X = 0, Y = 0, Dir = 0, N = 0;
    TTripleList Moving, Linked, Jumps, Turns;
  };
  TLapMark Lap;
  void MarkLap(int n, int x, int y, int dir);
  bool LapRepeats(int x, int y, int dir) const;

  enum class TraceEnd { Done, Failed };
  TraceEnd TraceRow(bool show, int sx, int sy, int dir);
  TraceEnd Refuse(bool show, int kind, int x, int y);
  TraceEnd RefuseSilently();

  TGameState& S;
  EngineHooks* Hooks;
};

}  // namespace pav
