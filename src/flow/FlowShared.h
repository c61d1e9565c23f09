// What the parts of a game's course share: the game modes, the beginning of play in
// every mode, stopping a running game, the records of a finished one, and the board
// the idle main window shows.
#pragma once

#include <functional>
#include <string>

#include "files/RecordsTable.h"

namespace pav {

constexpr int ModeSingle = 1;
constexpr int ModeComputer = 2;
constexpr int ModeCampaign = 3;

// A message box of the game's course: caption "Pavilore", an exclamation icon.
void FlowMessage(const std::string& text);

void RepaintMain();

// Run when a start window is confirmed: the game runs, its counters start at 0, the
// board is redrawn and the clock starts; on the computer's turn its timer starts too,
// its first step pointing at a tile.
void BeginPlay();

// The first steps of every end of a game: no game runs, the clock stops (and the
// computer's timer with it when asked), the music stops, the objective window
// closes and the side panel offers the play button again.
void StopRunningGame(bool stopComputer);

// After the lists of a finished game were tried: nothing changed logs the separator
// only; a change stores the file (store), then logs its line and the separator and
// shows the records-obtained window. A file that cannot be written is reported in a
// message box naming it, and the rest is skipped; the tables in memory keep the entry.
void ReportRecords(const TRecordsUpdate& update, bool againstComputer, const std::function<void()>& store);

// The pattern the idle main window shows: the puzzle's objective when the
// configuration takes the IP from the puzzle, else the board's own pattern.
void ShowIdlePattern();

}  // namespace pav
