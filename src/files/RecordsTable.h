// Top-10 lists kept inside the board, puzzle and campaign files.
#pragma once

#include <cstdint>
#include <string>

#include "files/Records.h"

namespace pav {

enum class TRecordOrder { Ascending, Descending };

// Enters `value` with `name` (cut to 12 characters) into one list; returns the
// position obtained, 1..10, or 11 when the value does not enter.
int EnterRecord(TName12 (&names)[RecordPositions], std::int32_t (&values)[RecordPositions], TRecordOrder order,
                std::int32_t value, const std::string& name);

struct TRecordsUpdate {
  int TimePosition = 11;   // 11: not entered
  int MovesPosition = 11;
  bool Changed() const { return TimePosition <= 10 || MovesPosition <= 10; }
};

// Tries both lists of a table, time list first.
TRecordsUpdate UpdateRecordTable(TRecordTable& table, TRecordOrder order, std::int32_t seconds,
                                 std::int32_t moves, const std::string& playerName);

// The texts of a change: the records-obtained window's message and the log line.
// Against the computer the lists are the differences. Empty when nothing changed.
struct TRecordsReport {
  std::string Message;
  std::string LogLine;
};
TRecordsReport RecordsReport(const TRecordsUpdate& u, bool againstComputer);

// An empty table: names empty, values 65000 (ascending) or 0 (descending).
void ClearRecordTable(TRecordTable& t, TRecordOrder order);

}  // namespace pav
