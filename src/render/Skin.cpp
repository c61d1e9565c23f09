#include "render/Skin.h"

namespace pav {

TSkin& Skin() {
  static TSkin skin;
  return skin;
}

}  // namespace pav
