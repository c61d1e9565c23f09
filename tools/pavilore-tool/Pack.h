// pavilore-tool pack and unpack: the text form of boards, puzzles and campaigns
// (docs/text-format.md).
//
//   pack TEXT [-o OUT] [--boards DIR] [--solution]
//                         writes the game file a text describes; by default beside the
//                         text, with the extension of its kind (.BRD, .PZZ, .CPN or .CFG).
//                         A puzzle with `op board` or `ip scramble` finds its board in DIR,
//                         then in ../Boards and ../../Boards beside the text; --solution
//                         prints the pushes X,Y,D that lead a scrambled puzzle back
//   unpack FILE [-o OUT]  writes the text of a game file (also .CFG) to the standard
//                         output or OUT
//
// Bad input (an unreadable file, a mistake in a text with its line number, a board the
// game would refuse, an unknown extension) raises ToolError with one line naming the file.
#pragma once

#include <string>
#include <vector>

namespace pav::tool {

// args are the words after the command name. Returns the exit status.
int RunPack(const std::vector<std::string>& args);
int RunUnpack(const std::vector<std::string>& args);

}  // namespace pav::tool
