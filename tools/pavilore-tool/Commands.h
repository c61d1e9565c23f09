// pavilore-tool show, push, record and solve.
#pragma once

#include <string>
#include <vector>

#include "ToolError.h"

namespace pav::tool {

int RunShow(const std::vector<std::string>& args);
int RunPush(const std::vector<std::string>& args);
int RunRecord(const std::vector<std::string>& args);
int RunSolve(const std::vector<std::string>& args);

}  // namespace pav::tool
