// pavilore-tool show, push, record and solve.
#pragma once

#include <string>
#include <vector>

namespace pav::tool {

// Bad input: the one line printed on stderr names the file and what is wrong.
struct ToolError {
  std::string Message;
};

int RunShow(const std::vector<std::string>& args);
int RunPush(const std::vector<std::string>& args);
int RunRecord(const std::vector<std::string>& args);
int RunSolve(const std::vector<std::string>& args);

}  // namespace pav::tool
