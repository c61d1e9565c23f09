// The top-10 lists kept in the board, puzzle and campaign files: entering a
// result, both lists of a table, and the texts that report a new record.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "files/Records.h"
#include "files/RecordsTable.h"

using namespace pav;

namespace {

using Names = TName12[RecordPositions];
using Values = std::int32_t[RecordPositions];

// A list with the given values; the name of position p is "P<p>", and every byte of
// the name field past it is filled with a mark of that position, so that a move
// of the entry can be followed byte for byte.
struct List {
  Names N;
  Values V;
  explicit List(const std::vector<std::int32_t>& values) {
    for (int i = 0; i < RecordPositions; ++i) {
      std::memset(&N[i], 0xA0 + i, sizeof N[i]);
      N[i].Assign("P" + std::to_string(i + 1));
      V[i] = values.at(static_cast<std::size_t>(i));
    }
  }
  int Enter(TRecordOrder order, std::int32_t value, const std::string& name = "New") {
    return EnterRecord(N, V, order, value, name);
  }
  bool SameBytes(const List& o) const {
    return std::memcmp(N, o.N, sizeof N) == 0 && std::memcmp(V, o.V, sizeof V) == 0;
  }
  std::vector<std::int32_t> ValuesNow() const { return {std::begin(V), std::end(V)}; }
  std::vector<std::string> NamesNow() const {
    std::vector<std::string> n;
    for (const auto& s : N) n.push_back(s.Str());
    return n;
  }
};

constexpr std::int32_t E = EmptyRecord;

}  // namespace

// ---------------------------------------------------------------------------
// EnterRecord

TEST(EnterRecord, AnEqualResultGoesAfterTheEntriesItEquals) {
  List l({10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
  const List before = l;
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 30), 4);
  EXPECT_EQ(l.ValuesNow(), (std::vector<std::int32_t>{10, 20, 30, 30, 40, 50, 60, 70, 80, 90}));
  EXPECT_EQ(l.NamesNow(), (std::vector<std::string>{"P1", "P2", "P3", "New", "P4", "P5", "P6", "P7", "P8", "P9"}));
  // Positions 1..3 are untouched and 4..9 moved to 5..10 with their whole name field,
  // the unused character bytes included.
  EXPECT_EQ(std::memcmp(&l.N[0], &before.N[0], 3 * sizeof(TName12)), 0);
  EXPECT_EQ(std::memcmp(&l.N[4], &before.N[3], 6 * sizeof(TName12)), 0);

  List d({90, 80, 70, 70, 60, 0, 0, 0, 0, 0});
  EXPECT_EQ(d.Enter(TRecordOrder::Descending, 70), 5);
  EXPECT_EQ(d.ValuesNow(), (std::vector<std::int32_t>{90, 80, 70, 70, 70, 60, 0, 0, 0, 0}));
  EXPECT_EQ(d.NamesNow()[4], "New");
  EXPECT_EQ(d.NamesNow()[5], "P5");
}

TEST(EnterRecord, FirstAndLastPositionsAndResultsThatDoNotEnter) {
  List l({10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
  const List before = l;
  // Equal to the last entry, or worse: nothing changes at all.
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 100), 11);
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 5000), 11);
  EXPECT_TRUE(l.SameBytes(before));

  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 99), 10);
  EXPECT_EQ(l.ValuesNow().back(), 99);
  EXPECT_EQ(l.NamesNow().back(), "New");
  EXPECT_EQ(std::memcmp(&l.N[0], &before.N[0], 9 * sizeof(TName12)), 0);

  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 1, "Best"), 1);
  EXPECT_EQ(l.ValuesNow(), (std::vector<std::int32_t>{1, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
  EXPECT_EQ(l.NamesNow().front(), "Best");
  EXPECT_EQ(std::memcmp(&l.N[1], &before.N[0], 9 * sizeof(TName12)), 0);
}

TEST(EnterRecord, EmptyPositionsOfAnAscendingList) {
  List l({E, E, E, E, E, E, E, E, E, E});
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 65000), 11);
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 70000), 11);
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 64999), 1);
  EXPECT_EQ(l.Enter(TRecordOrder::Ascending, 0), 1);

  List part({5, 7, E, E, E, E, E, E, E, E});
  EXPECT_EQ(part.Enter(TRecordOrder::Ascending, 64999), 3);
  EXPECT_EQ(part.ValuesNow(), (std::vector<std::int32_t>{5, 7, 64999, E, E, E, E, E, E, E}));
  EXPECT_EQ(part.Enter(TRecordOrder::Ascending, 65000), 11);
}

TEST(EnterRecord, ADifferenceOfZeroOrLessNeverEntersADescendingList) {
  List l({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  const List before = l;
  EXPECT_EQ(l.Enter(TRecordOrder::Descending, 0), 11);
  EXPECT_EQ(l.Enter(TRecordOrder::Descending, -1), 11);
  EXPECT_EQ(l.Enter(TRecordOrder::Descending, std::numeric_limits<std::int32_t>::min()), 11);
  EXPECT_TRUE(l.SameBytes(before));
  EXPECT_EQ(l.Enter(TRecordOrder::Descending, 1), 1);

  List part({30, 12, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(part.Enter(TRecordOrder::Descending, 20), 2);
  EXPECT_EQ(part.Enter(TRecordOrder::Descending, 3), 4);
  EXPECT_EQ(part.ValuesNow(), (std::vector<std::int32_t>{30, 20, 12, 3, 0, 0, 0, 0, 0, 0}));
}

TEST(EnterRecord, ComparesSigned32BitValues) {
  // A negative value read from a file is below every positive one, not above.
  List asc({5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
  EXPECT_EQ(asc.Enter(TRecordOrder::Ascending, -1), 1);
  List desc({10, -2, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(desc.Enter(TRecordOrder::Descending, 1), 2);
  List big({std::numeric_limits<std::int32_t>::max(), 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(big.Enter(TRecordOrder::Descending, 100000), 2);
}

TEST(EnterRecord, AListStoredOutOfOrderIsTakenLiterally) {
  // The first position that the new value beats wins, whatever follows it.
  List asc({50, 10, 20, E, E, E, E, E, E, E});
  EXPECT_EQ(asc.Enter(TRecordOrder::Ascending, 30), 1);
  EXPECT_EQ(asc.ValuesNow(), (std::vector<std::int32_t>{30, 50, 10, 20, E, E, E, E, E, E}));
  List asc2({10, 50, 20, E, E, E, E, E, E, E});
  EXPECT_EQ(asc2.Enter(TRecordOrder::Ascending, 30), 2);
  List desc({5, 50, 40, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(desc.Enter(TRecordOrder::Descending, 10), 1);
}

TEST(EnterRecord, StoresThePlayerNameCutToTwelveCharacters) {
  List l({E, E, E, E, E, E, E, E, E, E});
  l.Enter(TRecordOrder::Ascending, 3, "Bartholomew Quince");
  EXPECT_EQ(l.N[0].Len, 12);
  EXPECT_EQ(l.N[0].Str(), "Bartholomew ");
  l.Enter(TRecordOrder::Ascending, 2, "Twelve chars");
  EXPECT_EQ(l.N[0].Str(), "Twelve chars");
  l.Enter(TRecordOrder::Ascending, 1, "");
  EXPECT_EQ(l.N[0].Len, 0);
  EXPECT_EQ(l.NamesNow()[1], "Twelve chars");
  EXPECT_EQ(l.NamesNow()[2], "Bartholomew ");
  // 8-bit names are stored as they are.
  l.Enter(TRecordOrder::Ascending, 0, "J\xE9r\xF4me");
  EXPECT_EQ(l.N[0].Str(), "J\xE9r\xF4me");
}

// ---------------------------------------------------------------------------
// Both lists of a table

TEST(UpdateRecordTable, EntersTheSecondsInTheTimeListAndTheMovesInTheMovesList) {
  TRecordTable t;
  ClearRecordTable(t, TRecordOrder::Ascending);
  for (int i = 0; i < RecordPositions; ++i) {
    EXPECT_EQ(t.TimeNames[i].Len, 0);
    EXPECT_EQ(t.MoveNames[i].Len, 0);
  }
  TRecordsUpdate u = UpdateRecordTable(t, TRecordOrder::Ascending, 120, 45, "Ann");
  EXPECT_EQ(u.TimePosition, 1);
  EXPECT_EQ(u.MovesPosition, 1);
  EXPECT_TRUE(u.Changed());
  EXPECT_EQ(t.TimeValues[0], 120);
  EXPECT_EQ(t.MoveValues[0], 45);
  EXPECT_EQ(t.TimeNames[0].Str(), "Ann");
  EXPECT_EQ(t.MoveNames[0].Str(), "Ann");
  EXPECT_EQ(t.TimeValues[1], EmptyRecord);

  // Faster but with more moves: only the time list changes.
  u = UpdateRecordTable(t, TRecordOrder::Ascending, 100, 50, "Bob");
  EXPECT_EQ(u.TimePosition, 1);
  EXPECT_EQ(u.MovesPosition, 2);
  u = UpdateRecordTable(t, TRecordOrder::Ascending, 65000, 40, "Cy");
  EXPECT_EQ(u.TimePosition, 11);
  EXPECT_EQ(u.MovesPosition, 1);
  EXPECT_TRUE(u.Changed());
  EXPECT_EQ(t.TimeNames[2].Len, 0);
  EXPECT_EQ(t.MoveNames[0].Str(), "Cy");
}

TEST(UpdateRecordTable, DifferencesAgainstTheComputer) {
  TRecordTable t;
  ClearRecordTable(t, TRecordOrder::Descending);
  TRecordsUpdate u = UpdateRecordTable(t, TRecordOrder::Descending, -30, -4, "Loser");
  EXPECT_EQ(u.TimePosition, 11);
  EXPECT_EQ(u.MovesPosition, 11);
  EXPECT_FALSE(u.Changed());
  for (int i = 0; i < RecordPositions; ++i) {
    EXPECT_EQ(t.TimeValues[i], 0);
    EXPECT_EQ(t.MoveValues[i], 0);
  }
  u = UpdateRecordTable(t, TRecordOrder::Descending, 30, 0, "Winner");
  EXPECT_EQ(u.TimePosition, 1);
  EXPECT_EQ(u.MovesPosition, 11);
  u = UpdateRecordTable(t, TRecordOrder::Descending, 12, 7, "Second");
  EXPECT_EQ(u.TimePosition, 2);
  EXPECT_EQ(u.MovesPosition, 1);
  EXPECT_EQ(t.TimeNames[1].Str(), "Second");
}

// ---------------------------------------------------------------------------
// The texts of a new record

TEST(RecordsReport, SingleGameTexts) {
  TRecordsUpdate u;
  EXPECT_TRUE(RecordsReport(u, false).Message.empty());
  EXPECT_TRUE(RecordsReport(u, false).LogLine.empty());

  u.TimePosition = 3;
  TRecordsReport r = RecordsReport(u, false);
  EXPECT_EQ(r.Message, "You got the position number 3 in the 'Fastest Times' Records !");
  EXPECT_EQ(r.LogLine, "Position 3 obtained in the 'Fastest Times' records.");

  u.TimePosition = 11;
  u.MovesPosition = 10;
  r = RecordsReport(u, false);
  EXPECT_EQ(r.Message, "You got the position number 10 in the 'Fewest Moves' Records !");
  EXPECT_EQ(r.LogLine, "Position 10 obtained in the 'Fewest Moves' records.");

  u.TimePosition = 7;
  u.MovesPosition = 1;
  r = RecordsReport(u, false);
  EXPECT_EQ(r.Message,
            "You got the position number 1 in the 'Fewest Moves' Records..\r\r..And number 7 in the 'Fastest Times' "
            "Records.");
  EXPECT_EQ(r.LogLine, "Position 1 obtained in the 'Fewest Moves' records, and 7 in the 'Fastest Times' records.");
}

TEST(RecordsReport, TextsAgainstTheComputer) {
  TRecordsUpdate u;
  EXPECT_TRUE(RecordsReport(u, true).Message.empty());

  u.TimePosition = 2;
  TRecordsReport r = RecordsReport(u, true);
  EXPECT_EQ(r.Message, "You got the position number 2 in the 'Highest Time Difference' Records !");
  EXPECT_EQ(r.LogLine, "Position 2 obtained in the 'Highest Time Difference' records.");

  u.TimePosition = 11;
  u.MovesPosition = 5;
  r = RecordsReport(u, true);
  EXPECT_EQ(r.Message, "You got the position number 5 in the 'Highest Moves Difference' Records !");
  EXPECT_EQ(r.LogLine, "Position 5 obtained in the 'Highest Moves Difference' records.");

  u.TimePosition = 4;
  u.MovesPosition = 9;
  r = RecordsReport(u, true);
  EXPECT_EQ(r.Message,
            "You got the position number 9 in the 'Highest Moves Difference' Records..\r\r..And number 4 in the "
            "'Highest Time Difference' Records.");
  EXPECT_EQ(r.LogLine,
            "Position 9 obtained in the 'Highest Moves Difference' records, and 4 in the 'Highest Time Difference' "
            "records.");
}
