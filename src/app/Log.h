// The player's log: lines collected in a buffer of 256 and written in batches
// to "\Players\" + name + ".TXT".
#pragma once

#include <string>

namespace pav {

constexpr int LogBufferSize = 256;

// Appends a line (time-stamped when asked); does nothing while Config.WriteLog is off.
void LogLine(const std::string& text, bool stamped);
// Writes the buffered lines to the player's file (rewritten through the scratch
// file); does nothing while Config.WriteLog is off.
void FlushPlayerLog(const std::string& name);
void ResetLogBuffer();
std::string Dashes(int n);
// " " + short date + " " + long time + " : " + text
std::string StampedLine(const std::string& text);
// Lines in use (tests).
int LogBufferCount();
const std::string& LogBufferLine(int i);

}  // namespace pav
