// Entering a result into a records list.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "files/RecordsTable.h"

using namespace pav;

namespace {

// A full ascending table (10, 20, ..., 100): a new value of 55 enters at
// position 6 and moves five entries down. The table is put back before each
// entry (a 344-byte copy, included in the time).
void BM_EnterRecord(benchmark::State& state) {
  TRecordTable full;
  ClearRecordTable(full, TRecordOrder::Ascending);
  for (int i = 0; i < RecordPositions; ++i) {
    full.TimeNames[i].Assign("Player " + std::to_string(i + 1));
    full.TimeValues[i] = 10 * (i + 1);
  }
  const std::string name = "A long player name";
  TRecordTable t;
  for (auto _ : state) {
    std::memcpy(&t, &full, sizeof t);
    benchmark::DoNotOptimize(EnterRecord(t.TimeNames, t.TimeValues, TRecordOrder::Ascending, 55, name));
    benchmark::ClobberMemory();
  }
  if (t.TimeValues[5] != 55) state.SkipWithError("the value did not enter at position 6");
}
BENCHMARK(BM_EnterRecord);

// A value that enters no list: ten comparisons.
void BM_EnterRecordRefused(benchmark::State& state) {
  TRecordTable t;
  ClearRecordTable(t, TRecordOrder::Descending);
  const std::string name = "Player";
  for (auto _ : state) {
    benchmark::DoNotOptimize(EnterRecord(t.MoveNames, t.MoveValues, TRecordOrder::Descending, -3, name));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EnterRecordRefused);

}  // namespace
