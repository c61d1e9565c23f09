// pavilore-tool pack and unpack: the text form of boards, puzzles and campaigns.
#pragma once

#include <string>
#include <vector>

namespace pav::tool {

// args are the words after the command name. Returns the exit status.
int RunPack(const std::vector<std::string>& args);
int RunUnpack(const std::vector<std::string>& args);

}  // namespace pav::tool
