#include "files/ConfigValues.h"

namespace pav {

std::string PlayerNameProblem(const std::string& name) {
  if (name.empty()) return "Player's name can't be empty.";
  if (name.front() == ' ' || name.back() == ' ') return "Player's name can't begin or end with a space.";
  if (name.front() == '.') return "Player's name can't begin with a dot.";
  if (name.find("..") != std::string::npos) return "Player's name can't contain '..'.";
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '/' || c == '\\') return "Player's name can't contain '/' or '\\'.";
    if (c < 32 || c == 127) return "Player's name can't contain control characters (such as a tab).";
  }
  return {};
}

void RepairConfigValues(TConfig& c) {
  if (c.PictureW < 1 || c.PictureW > 20) c.PictureW = 5;
  if (c.PictureH < 1 || c.PictureH > 20) c.PictureH = 5;
  if (c.PictureX < -18 || c.PictureX > 5) c.PictureX = 1;
  if (c.PictureY < -18 || c.PictureY > 5) c.PictureY = 1;
  if (c.PlayerName.Len > TName20::Capacity || !PlayerNameProblem(c.PlayerName.Str()).empty()) {
    c.PlayerName.Assign("");
    c.ShowWelcome = 1;
  }
}

}  // namespace pav
