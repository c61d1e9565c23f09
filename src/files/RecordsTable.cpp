#include "files/RecordsTable.h"

#include <cstring>

namespace pav {

int EnterRecord(TName12 (&names)[RecordPositions], std::int32_t (&values)[RecordPositions], TRecordOrder order,
                std::int32_t value, const std::string& name) {
  int p = 1;
  for (; p <= RecordPositions; ++p) {
    const std::int32_t v = values[p - 1];
    if (order == TRecordOrder::Ascending ? value < v : v < value) break;
  }
  if (p > RecordPositions) return 11;
  // Entries p..9 move down one place, the whole name field with its value.
  for (int i = RecordPositions - 1; i >= p; --i) {
    std::memcpy(&names[i], &names[i - 1], sizeof(TName12));
    values[i] = values[i - 1];
  }
  values[p - 1] = value;
  names[p - 1].Assign(name.substr(0, 12));
  return p;
}

TRecordsUpdate UpdateRecordTable(TRecordTable& table, TRecordOrder order, std::int32_t seconds,
                                 std::int32_t moves, const std::string& playerName) {
  TRecordsUpdate u;
  u.TimePosition = EnterRecord(table.TimeNames, table.TimeValues, order, seconds, playerName);
  u.MovesPosition = EnterRecord(table.MoveNames, table.MoveValues, order, moves, playerName);
  return u;
}

TRecordsReport RecordsReport(const TRecordsUpdate& u, bool againstComputer) {
  const std::string timeList = againstComputer ? "Highest Time Difference" : "Fastest Times";
  const std::string movesList = againstComputer ? "Highest Moves Difference" : "Fewest Moves";
  const std::string t = std::to_string(u.TimePosition), m = std::to_string(u.MovesPosition);
  const bool time = u.TimePosition <= 10, moves = u.MovesPosition <= 10;
  TRecordsReport r;
  if (time && moves) {
    r.Message = "You got the position number " + m + " in the '" + movesList + "' Records..\r\r..And number " + t +
                " in the '" + timeList + "' Records.";
    r.LogLine = "Position " + m + " obtained in the '" + movesList + "' records, and " + t + " in the '" + timeList +
                "' records.";
  } else if (time) {
    r.Message = "You got the position number " + t + " in the '" + timeList + "' Records !";
    r.LogLine = "Position " + t + " obtained in the '" + timeList + "' records.";
  } else if (moves) {
    r.Message = "You got the position number " + m + " in the '" + movesList + "' Records !";
    r.LogLine = "Position " + m + " obtained in the '" + movesList + "' records.";
  }
  return r;
}

void ClearRecordTable(TRecordTable& t, TRecordOrder order) {
  std::memset(&t, 0, sizeof t);
  const std::int32_t empty = order == TRecordOrder::Ascending ? EmptyRecord : 0;
  for (int i = 0; i < RecordPositions; ++i) {
    t.TimeValues[i] = empty;
    t.MoveValues[i] = empty;
  }
}

}  // namespace pav
