// The player's log: lines collected in a buffer of 256 and written in batches
// to "\Players\" + name + ".TXT"; while the file cannot be written the buffer
// keeps every line of the session.
#pragma once

#include <string>

namespace pav {

constexpr int LogBufferSize = 256;

// Appends a line (time-stamped when asked); does nothing while Config.WriteLog is off.
// When the buffer is full it is first written to the current player's file, as by
// WritePlayerLog: a failure keeps the lines and the game goes on.
void LogLine(const std::string& text, bool stamped);
// Writes the buffered lines to the player's file (rewritten through the scratch
// file and put in place by one rename); does nothing while Config.WriteLog is off.
// Raises EInOutError naming the player's file when it cannot be written; the
// buffer then keeps its lines. Nothing is ever written outside AppFolder +
// "\Players": a name that would leave that folder is written to "Unknown Player.TXT".
void FlushPlayerLog(const std::string& name);
// FlushPlayerLog for the game: the first failure of the session is shown in the
// input/output error box, later ones are not. The lines of a failed write stay in
// the buffer, and the first write that works puts them all in the file. Answers
// whether the lines were written.
bool WritePlayerLog(const std::string& name);
// Empties the buffer at the start of a session; a failure is shown again.
void ResetLogBuffer();
std::string Dashes(int n);
// " " + short date + " " + long time + " : " + text; the long time without its zone.
std::string StampedLine(const std::string& text);
// A locale's time format (Qt's notation) without its time-zone field and the spaces
// and brackets around it; quoted text is kept as it is.
std::string LongTimeFormatWithoutZone(const std::string& format);
// Lines in use (tests).
int LogBufferCount();
const std::string& LogBufferLine(int i);

// Whether a name as typed (UTF-8) can be a player's: first a character that
// Windows-1252 cannot hold, then PlayerNameProblem (files/ConfigValues.h) of its
// 8-bit form.
std::string TypedPlayerNameProblem(const std::string& utf8);

// The scratch file and the fallback file, in the "Players" folder.
constexpr const char* LogScratchName = "ThisIsATemporalTextFile.TXT";
constexpr const char* UnknownPlayerName = "Unknown Player.TXT";

}  // namespace pav
