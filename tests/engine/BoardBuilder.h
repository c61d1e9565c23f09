// Hand-drawn boards for the engine tests.
//
// Each row string holds one character per cell, column 1 first:
//   '#' solid, '.' empty floor, '1'..'9' a tile of that face, 'a'..'z' faces 10..35.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/MoveEngine.h"
#include "engine/Scramble.h"

namespace pav::test {

inline int FaceOf(char c) {
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  return 0;
}

inline char CharOf(const TBoard& b, const TPattern& p, int x, int y) {
  const int f = p.Tiles[x][y];
  if (f == 0) return b.Cells[x][y] ? '#' : '.';
  if (f <= 9) return static_cast<char>('0' + f);
  return static_cast<char>('a' + f - 10);
}

// Records every side effect of a push, in order.
class RecordingHooks : public EngineHooks {
 public:
  std::vector<std::string> Calls;
  void ShowInvalidMark(int x, int y, int kind) override {
    Calls.push_back("mark " + std::to_string(kind) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OverflowMessage(const std::string& text) override { Calls.push_back("overflow " + text); }
  void PlayMoveSound() override { Calls.push_back("sound"); }
  void RedrawCounters() override { Calls.push_back("counters"); }
  void RedrawFloor() override { Calls.push_back("floor"); }
  void HighlightFlowElements(const TTripleList&, const TTripleList&) override { Calls.push_back("highlight"); }
  void PuzzleSolved() override { Calls.push_back("solved"); }
  void CheckLimits() override { Calls.push_back("limits"); }
};

struct TestGame {
  std::unique_ptr<TGameState> S = std::make_unique<TGameState>();
  RecordingHooks Hooks;
  std::unique_ptr<TMoveEngine> E;

  explicit TestGame(const std::vector<std::string>& rows, int stepsPerMove = 1) {
    TBoard& b = S->Game.Board;
    b.Height = static_cast<std::uint8_t>(rows.size());
    b.Width = static_cast<std::uint8_t>(rows.empty() ? 0 : rows[0].size());
    b.StepsPerMove = static_cast<std::uint8_t>(stepsPerMove);
    for (int y = 1; y <= static_cast<int>(rows.size()); ++y)
      for (int x = 1; x <= static_cast<int>(rows[y - 1].size()); ++x) {
        const char c = rows[y - 1][x - 1];
        b.Cells[x][y] = c == '#' ? 1 : 0;
        b.Pattern.Tiles[x][y] = static_cast<std::uint8_t>(FaceOf(c));
      }
    S->Game.Current = b.Pattern;
    S->Game.OP = b.Pattern;
    E = std::make_unique<TMoveEngine>(*S, &Hooks);
  }

  // The engine holds the address of Hooks, so a moved game gets an engine of its own.
  TestGame(TestGame&& o) noexcept
      : S(std::move(o.S)), Hooks(std::move(o.Hooks)), E(std::make_unique<TMoveEngine>(*S, &Hooks)) {}
  TestGame& operator=(TestGame&&) = delete;

  TBoard& Board() { return S->Game.Board; }
  TPattern& Current() { return S->Game.Current; }

  void AddTurn(int x, int y, int corner) {
    for (TTurn& t : Board().Turns)
      if (t.X == 0) {
        t = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(corner)};
        return;
      }
  }
  void AddJump(int x1, int y1, int s1, int x2, int y2, int s2) {
    for (TJump& j : Board().Jumps)
      if (j.X1 == 0) {
        j = {static_cast<std::uint8_t>(x1), static_cast<std::uint8_t>(y1), static_cast<std::uint8_t>(s1),
             static_cast<std::uint8_t>(x2), static_cast<std::uint8_t>(y2), static_cast<std::uint8_t>(s2)};
        return;
      }
  }
  // Glues two tiles of the current position (and of the board's pattern).
  void AddLink(int x1, int y1, int x2, int y2) {
    for (TPattern* p : {&Current(), &Board().Pattern})
      for (TLink& l : p->Links)
        if (l.X1 == 0) {
          l = {static_cast<std::uint8_t>(x1), static_cast<std::uint8_t>(y1), static_cast<std::uint8_t>(x2),
               static_cast<std::uint8_t>(y2)};
          break;
        }
  }

  // The current position drawn like the input rows.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    const TBoard& b = S->Game.Board;
    for (int y = 1; y <= b.Height; ++y) {
      std::string r;
      for (int x = 1; x <= b.Width; ++x) r += CharOf(b, S->Game.Current, x, y);
      out.push_back(r);
    }
    return out;
  }

  bool Push(int x, int y, int dir, bool show = true) {
    Hooks.Calls.clear();
    return E->TryPush(show, show, x, y, dir);
  }

  // One pointer gesture as the game makes it: the grab cell is the pushed tile,
  // the step record goes to the history, the remaining pushes of the move follow.
  bool Gesture(int x, int y, int dir) {
    S->GrabX = static_cast<std::uint8_t>(x);
    S->GrabY = static_cast<std::uint8_t>(y);
    Hooks.Calls.clear();
    const bool ok = E->TryPush(true, true, x, y, dir);
    if (ok) {
      FilterSteps(E->StepRecord);
      AppendList(S->Game.History, E->StepRecord);
      for (int i = 1; i < Board().StepsPerMove; ++i) E->TryPush(true, true, x, y, dir);
    }
    StepCountAfterGesture = S->StepCount;
    S->StepCount = 0;
    return ok;
  }
  int StepCountAfterGesture = 0;

  std::vector<std::vector<int>> Steps() const {
    std::vector<std::vector<int>> out;
    const TMoveList& l = E->StepRecord;
    for (int i = 0; i < ListLength(l); ++i) out.push_back({l.X[i], l.Y[i], l.Dir[i], l.Kind[i]});
    return out;
  }
};

}  // namespace pav::test
