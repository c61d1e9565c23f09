// The player's log as the tests read it: the lines of the buffer without their time
// stamps (" date time : text" -> "text"; lines without a stamp as they are).
#pragma once

#include <string>
#include <vector>

#include "app/Log.h"

namespace pav::test {

inline std::vector<std::string> LogTexts() {
  std::vector<std::string> texts;
  for (int i = 0; i < LogBufferCount(); ++i) {
    const std::string l = LogBufferLine(i);
    const auto at = l.find(" : ");
    texts.push_back(at == std::string::npos ? l : l.substr(at + 3));
  }
  return texts;
}

}  // namespace pav::test
