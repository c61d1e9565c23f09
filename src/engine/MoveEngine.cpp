#include "engine/MoveEngine.h"

#include <cstring>

namespace pav {

namespace {

EngineHooks NoHooks;

// Cells a row may examine before the push is refused as an overflow.
constexpr int OverflowLimit = 10000;
// Rows this long are watched for repeating laps (no row that ends is near it).
constexpr int FirstLapMark = 256;

constexpr bool InPlay(int x, int y) { return x >= 1 && x <= MaxCols && y >= 1 && y <= MaxRows; }

// One bend choice: the new direction and its two corner pieces (x, y, corner).
struct BendChoice {
  int E;
  int T[2][3];
};

// The two bend choices for a row travelling in direction d whose blocked tile is P.
void BendChoices(int d, int px, int py, BendChoice out[2]) {
  switch (d) {
    case DirLeft:
      out[0] = {DirUp, {{px - 1, py + 1, 2}, {px + 1, py - 1, 4}}};
      out[1] = {DirDown, {{px - 1, py - 1, 3}, {px + 1, py + 1, 1}}};
      break;
    case DirRight:
      out[0] = {DirUp, {{px + 1, py + 1, 1}, {px - 1, py - 1, 3}}};
      out[1] = {DirDown, {{px + 1, py - 1, 4}, {px - 1, py + 1, 2}}};
      break;
    case DirUp:
      out[0] = {DirRight, {{px - 1, py - 1, 3}, {px + 1, py + 1, 1}}};
      out[1] = {DirLeft, {{px + 1, py - 1, 4}, {px - 1, py + 1, 2}}};
      break;
    default:  // DirDown
      out[0] = {DirRight, {{px - 1, py + 1, 2}, {px + 1, py - 1, 4}}};
      out[1] = {DirLeft, {{px + 1, py + 1, 1}, {px - 1, py - 1, 3}}};
      break;
  }
}

void ClearUsedEntries(TMoveList& l) {
  const int n = ListLength(l);
  const std::size_t len = static_cast<std::size_t>(n);
  std::memset(l.X, 0, len);
  std::memset(l.Y, 0, len);
  std::memset(l.Dir, 0, len);
  std::memset(l.Kind, 0, len);
}

}  // namespace

TGameState::TGameState() { std::memset(&Game, 0, sizeof Game); }

bool HasTurn(const TBoard& b, int x, int y, int corner) {
  if (x < 1 || x > MaxCols || y < 1 || y > MaxRows) return false;
  for (const TTurn& t : b.Turns) {
    if (t.X == 0) break;
    if (t.X == x && t.Y == y && t.Corner == corner) return true;
  }
  return false;
}

TTriple JumpPartner(const TBoard& b, int x, int y, int side) {
  int n = 0;
  while (n < MaxJumps && b.Jumps[n].X1 != 0) ++n;
  for (int i = n - 1; i >= 0; --i) {
    const TJump& j = b.Jumps[i];
    if (j.X1 == x && j.Y1 == y && j.Side1 == side) return {j.X2, j.Y2, j.Side2};
    if (j.X2 == x && j.Y2 == y && j.Side2 == side) return {j.X1, j.Y1, j.Side1};
  }
  return {0, 0, 0};
}

bool IsBendCell(const TBoard& b, int x, int y) {
  return HasTurn(b, x + 1, y + 1, 1) || HasTurn(b, x - 1, y + 1, 2) || HasTurn(b, x - 1, y - 1, 3) ||
         HasTurn(b, x + 1, y - 1, 4);
}

bool GatherGroup(const TPattern& p, int x, int y, TCellList& out) {
  out.Count = 0;
  out.X[0] = static_cast<std::uint8_t>(x);
  out.Y[0] = static_cast<std::uint8_t>(y);
  out.Count = 1;
  const int links = CountLinks(p);
  for (int i = 0; i < out.Count; ++i) {
    const int cx = out.X[i];
    const int cy = out.Y[i];
    for (int k = 0; k < links; ++k) {
      const TLink& l = p.Links[k];
      int ox, oy;
      if (l.X1 == cx && l.Y1 == cy) {
        ox = l.X2;
        oy = l.Y2;
      } else if (l.X2 == cx && l.Y2 == cy) {
        ox = l.X1;
        oy = l.Y1;
      } else {
        continue;
      }
      bool known = false;
      for (int j = 0; j < out.Count && !known; ++j) known = out.X[j] == ox && out.Y[j] == oy;
      if (known) continue;
      if (out.Count >= TripleListSize) return false;
      out.X[out.Count] = static_cast<std::uint8_t>(ox);
      out.Y[out.Count] = static_cast<std::uint8_t>(oy);
      ++out.Count;
    }
  }
  return true;
}

bool CollectGroup(const TPattern& p, int x, int y, int dir, bool overwrite, TTripleList& list) {
  TCellList group;
  if (!GatherGroup(p, x, y, group)) return false;
  for (int i = 0; i < group.Count; ++i) {
    const int pos = list.FindCell(group.X[i], group.Y[i]);
    if (pos != 0) {
      if (overwrite) list[pos].Dir = static_cast<std::uint8_t>(dir);
    } else if (!list.AddTriple(group.X[i], group.Y[i], dir)) {
      return false;
    }
  }
  return true;
}

bool InSameGroup(const TPattern& p, int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) return false;
  TCellList group;
  GatherGroup(p, x1, y1, group);
  for (int i = 0; i < group.Count; ++i)
    if (group.X[i] == x2 && group.Y[i] == y2) return true;
  return false;
}

TMoveEngine::TMoveEngine(TGameState& state, EngineHooks* hooks) : S(state), Hooks(hooks ? hooks : &NoHooks) {
  ClearList(StepRecord);
  std::memset(Arrivals, 0, sizeof Arrivals);
}

void TMoveEngine::SetHooks(EngineHooks* hooks) { Hooks = hooks ? hooks : &NoHooks; }

TMoveEngine::TraceEnd TMoveEngine::Refuse(bool show, int kind, int x, int y) {
  LastResult.Refusal = TPushRefusal::Mark;
  LastResult.MarkKind = kind;
  LastResult.MarkX = x;
  LastResult.MarkY = y;
  if (show) Hooks->ShowInvalidMark(x, y, kind);
  return TraceEnd::Failed;
}

TMoveEngine::TraceEnd TMoveEngine::RefuseSilently() {
  LastResult.Refusal = TPushRefusal::Silent;
  return TraceEnd::Failed;
}

void TMoveEngine::MarkLap(int n, int x, int y, int dir) {
  Lap.X = x;
  Lap.Y = y;
  Lap.Dir = dir;
  Lap.N = n;
  Lap.Moving = MovingCells;
  Lap.Linked = LinkedStarts;
  Lap.Jumps = UsedJumps;
  Lap.Turns = UsedTurns;
}

bool TMoveEngine::LapRepeats(int x, int y, int dir) const {
  return x == Lap.X && y == Lap.Y && dir == Lap.Dir && SameTriples(MovingCells, Lap.Moving) &&
         SameTriples(LinkedStarts, Lap.Linked) && SameTriples(UsedJumps, Lap.Jumps) &&
         SameTriples(UsedTurns, Lap.Turns);
}

TMoveEngine::TraceEnd TMoveEngine::TraceRow(bool show, int sx, int sy, int dir) {
  const TBoard& board = S.Game.Board;
  const TPattern& cur = S.Game.Current;
  int cx = sx, cy = sy, d = dir;
  int n = 0;
  // Each step depends only on the cell, the direction and the work lists, so once
  // all of them are as they were some cells ago the row repeats that lap until the
  // limit. Marks are taken at 256, 512, 1024... cells, so any lap is caught.
  bool watching = SkipRepeatedLaps;
  int nextMark = FirstLapMark;
  for (;;) {
    if (watching && n >= FirstLapMark) {
      if (n == nextMark) {
        MarkLap(n, cx, cy, d);
        nextMark *= 2;
      } else if (LapRepeats(cx, cy, d)) {
        const int lap = n - Lap.N;
        n += (OverflowLimit - 1 - n) / lap * lap;
        watching = false;
      }
    }
    LastRowX = cx;
    LastRowY = cy;
    ++n;
    if (board.Cells[cx][cy] != 0) {
      // The tile on the previous cell is blocked by a solid cell: bend, jump or fail.
      const int px = cx - StepX(d), py = cy - StepY(d);
      const int bx = px - StepX(d), by = py - StepY(d);
      BendChoice choices[2];
      BendChoices(d, px, py, choices);
      bool bent = false;
      for (const BendChoice& c : choices) {
        const bool hasPiece = HasTurn(board, c.T[0][0], c.T[0][1], c.T[0][2]) ||
                              HasTurn(board, c.T[1][0], c.T[1][1], c.T[1][2]);
        if (!hasPiece || InSameGroup(cur, px, py, bx, by)) continue;
        for (const auto& t : c.T)
          if (t[0] >= 0 && t[1] >= 0) UsedTurns.AddTriple(t[0], t[1], t[2]);
        if (const int pos = MovingCells.FindTriple(px, py, d)) MovingCells[pos].Dir = static_cast<std::uint8_t>(c.E);
        if (const int pos = LinkedStarts.FindTriple(px, py, d)) {
          LinkedStarts[pos].Dir = static_cast<std::uint8_t>(c.E);
          if (!CollectGroup(cur, px, py, c.E, true, LinkedStarts)) return RefuseSilently();
        }
        cx = px + StepX(c.E);
        cy = py + StepY(c.E);
        d = c.E;
        bent = true;
        break;
      }
      if (!bent) {
        if (IsLinkEnd(cur, px, py)) return Refuse(show, d, cx, cy);  // a glued tile never jumps
        const TTriple j = JumpPartner(board, cx, cy, Opposite(d));
        if (j.X == 0) return Refuse(show, d, cx, cy);
        UsedJumps.AddTriple(cx, cy, Opposite(d));
        UsedJumps.AddTriple(j.X, j.Y, j.Dir);
        cx = j.X + StepX(j.Dir);
        cy = j.Y + StepY(j.Dir);
        d = j.Dir;
      }
    } else if (cur.Tiles[cx][cy] == 0) {
      if (!MovingCells.AddTriple(sx, sy, DirVacate)) return RefuseSilently();
      AppendEntry(StepRecord, cx, cy, Opposite(d), 0);
      return TraceEnd::Done;
    } else if (cx == sx && cy == sy && n != 1) {
      AppendEntry(StepRecord, cx, cy, Opposite(d), 1);  // a closed ring turns
      return TraceEnd::Done;
    } else {
      // A cell already in the row is passed again: only a bend cell may be
      // crossed in another direction. (One scan of the list: a looping row
      // comes here for up to 10000 cells.)
      const unsigned dirs = MovingCells.DirsAt(cx, cy) & 0x1Eu;  // directions 1..4
      const bool listed = dirs != 0;
      if ((dirs & ~(1u << d)) != 0 && !IsBendCell(board, cx, cy)) return Refuse(show, 6, cx, cy);
      if (IsLinkEnd(cur, cx, cy) && !CollectGroup(cur, cx, cy, d, false, LinkedStarts)) return RefuseSilently();
      if (!listed && !MovingCells.AddTriple(cx, cy, d)) return RefuseSilently();
      cx += StepX(d);
      cy += StepY(d);
    }
    // Rows only run over the playing grid; a cursor leaving it means the data is broken.
    if (!InPlay(cx, cy)) return RefuseSilently();
    if (n >= OverflowLimit) {
      LastResult.Refusal = TPushRefusal::Overflow;
      LastResult.Message =
          "Overflow error : " + std::to_string(cx) + "," + std::to_string(cy) + " Dir " + std::to_string(d);
      if (show) Hooks->OverflowMessage(LastResult.Message);
      return TraceEnd::Failed;
    }
  }
}

bool TMoveEngine::TryPush(bool show, bool sound, int x, int y, int dir) {
  LastResult = TPushResult{};
  TGame& g = S.Game;
  if (!InPlay(x, y) || dir < 1 || dir > 4) {
    LastResult.Refusal = TPushRefusal::Silent;
    return false;
  }
  if (g.Board.Cells[x][y] != 0 || g.Current.Tiles[x][y] == 0) {
    LastResult.Refusal = TPushRefusal::Silent;
    return false;
  }

  MovingCells.ClearTriples();
  UsedJumps.ClearTriples();
  UsedTurns.ClearTriples();
  LinkedStarts.ClearTriples();
  ClearUsedEntries(StepRecord);

  if (TraceRow(show, x, y, dir) == TraceEnd::Failed) return false;
  for (int i = 1; i <= LinkedStarts.Count; ++i) {
    const TTriple t = LinkedStarts[i];
    if (TraceRow(show, t.X, t.Y, t.Dir) == TraceEnd::Failed) return false;
  }

  // Place the tiles.
  const std::uint8_t stepCountBefore = S.StepCount;
  const std::uint8_t grabXBefore = S.GrabX, grabYBefore = S.GrabY;
  S.StepCount = static_cast<std::uint8_t>(S.StepCount + 1);
  CopyPattern(g.Current, New);
  std::memset(Arrivals, 0, sizeof Arrivals);
  const TPattern& cur = g.Current;

  auto undo = [&] {
    S.StepCount = stepCountBefore;
    S.GrabX = grabXBefore;
    S.GrabY = grabYBefore;
    LastResult.Refusal = TPushRefusal::Silent;
    return false;
  };

  bool twoOnOneCell = false;
  for (int i = 1; i <= MovingCells.Count; ++i) {
    const TTriple& m = MovingCells[i];
    if (m.Dir == DirVacate) New.Tiles[m.X][m.Y] = 0;
  }
  for (int i = 1; i <= MovingCells.Count; ++i) {
    const TTriple& m = MovingCells[i];
    if (m.Dir < 1 || m.Dir > 4) continue;
    int tx = m.X + StepX(m.Dir), ty = m.Y + StepY(m.Dir);
    if (!InPlay(tx, ty)) return undo();
    if (g.Board.Cells[tx][ty] != 0) {
      const TTriple j = JumpPartner(g.Board, tx, ty, Opposite(m.Dir));
      tx = j.X + StepX(j.Dir);
      ty = j.Y + StepY(j.Dir);
      if (j.X == 0 || !InPlay(tx, ty)) return undo();
    }
    New.Tiles[tx][ty] = cur.Tiles[m.X][m.Y];
    if (++Arrivals[tx][ty] > 1 && InPlay(tx, ty)) twoOnOneCell = true;
    if (m.X == S.GrabX && m.Y == S.GrabY) {
      S.GrabX = static_cast<std::uint8_t>(tx);
      S.GrabY = static_cast<std::uint8_t>(ty);
    }
    if (IsLinkEnd(cur, m.X, m.Y)) {
      for (int k = 0; k < MaxLinks; ++k) {
        const TLink& l = cur.Links[k];
        if (l.X1 == m.X && l.Y1 == m.Y) {
          New.Links[k].X1 = static_cast<std::uint8_t>(l.X1 + StepX(m.Dir));
          New.Links[k].Y1 = static_cast<std::uint8_t>(l.Y1 + StepY(m.Dir));
        }
        if (l.X2 == m.X && l.Y2 == m.Y) {
          New.Links[k].X2 = static_cast<std::uint8_t>(l.X2 + StepX(m.Dir));
          New.Links[k].Y2 = static_cast<std::uint8_t>(l.Y2 + StepY(m.Dir));
        }
      }
    }
  }

  // Landing check: two tiles on one cell (counted as they were placed).
  if (twoOnOneCell) {
    Refuse(show, 5, LastRowX, LastRowY);
    return false;
  }

  // A push never creates or destroys a tile; rows that pass one tile twice at a
  // bend cell could otherwise leave a copy behind.
  // Only cells whose tile changed can tell: the faces that left them must be the
  // faces that arrived on them.
  std::int16_t faces[256] = {};
  bool changed = false;
  for (int cx = 1; cx <= MaxCols; ++cx)
    for (int cy = 1; cy <= MaxRows; ++cy) {
      const int a = cur.Tiles[cx][cy], b = New.Tiles[cx][cy];
      if (a == b) continue;
      changed = true;
      if (a) ++faces[a];
      if (b) --faces[b];
    }
  if (changed)
    for (int cx = 1; cx <= MaxCols; ++cx)
      for (int cy = 1; cy <= MaxRows; ++cy) {
        const int a = cur.Tiles[cx][cy], b = New.Tiles[cx][cy];
        if (a != b && (faces[a] != 0 || faces[b] != 0)) return undo();
      }

  CopyPattern(New, g.Current);
  const int stepsPerMove = g.Board.StepsPerMove;
  const bool moveComplete = S.StepCount == stepsPerMove;
  if (sound && moveComplete) Hooks->PlayMoveSound();
  if (S.GameRunning && moveComplete) {
    ++g.Moves;
    if (show) Hooks->RedrawCounters();
  }
  if (show) {
    Hooks->RedrawFloor();
    Hooks->HighlightFlowElements(UsedJumps, UsedTurns);
  }
  if (S.GameRunning && PatternsEqual(g.Current, g.OP)) {
    Hooks->PuzzleSolved();
    return true;
  }
  if (S.GameRunning && moveComplete) Hooks->CheckLimits();
  return true;
}

}  // namespace pav
