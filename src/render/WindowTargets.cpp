#include "render/WindowTargets.h"

#include <array>

namespace pav {

namespace {

constexpr std::size_t TargetCount = static_cast<std::size_t>(TWindowTarget::CustomPicture) + 1;

std::array<TWindowOpener, TargetCount>& Openers() {
  static std::array<TWindowOpener, TargetCount> openers;
  return openers;
}

}  // namespace

void SetWindowOpener(TWindowTarget target, TWindowOpener opener) {
  Openers()[static_cast<std::size_t>(target)] = std::move(opener);
}

bool HasWindowOpener(TWindowTarget target) { return static_cast<bool>(Openers()[static_cast<std::size_t>(target)]); }

void OpenWindowTarget(TWindowTarget target) {
  // A copy: the window may replace openers while it is open.
  const TWindowOpener opener = Openers()[static_cast<std::size_t>(target)];
  if (opener) opener();
}

void ClearWindowOpeners() {
  for (auto& o : Openers()) o = nullptr;
}

}  // namespace pav
