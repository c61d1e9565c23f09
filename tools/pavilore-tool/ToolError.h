// The tool's one kind of failure.
#pragma once

#include <string>

namespace pav::tool {

// Bad input: the one line printed on stderr names the file and what is wrong.
struct ToolError {
  std::string Message;
};

}  // namespace pav::tool
