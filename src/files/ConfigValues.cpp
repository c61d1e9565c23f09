#include "app/ConfigRepairs.h"

#include "app/Log.h"

namespace pav {

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
