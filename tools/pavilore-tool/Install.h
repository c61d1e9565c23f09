// pavilore-tool install and check: putting the default installation in place for a
// player, and validating an installation folder.
//
//   install [DIR] [--from IMAGE]
//       copies the installation image (IMAGE, by default <tool folder>/../share/pavilore)
//       into DIR (by default $XDG_DATA_HOME/Pavilore, else ~/.local/share/Pavilore).
//       Files the player already has are never replaced: their records live in them.
//       Then DIR is stored as AppFolder in the settings file the game reads,
//       $XDG_CONFIG_HOME/Pavilore.conf (else ~/.config/Pavilore.conf), keeping every
//       other line of that file.
//   check DIR [--no-media]
//       every game file, picture, sound and piece of music of an installation is
//       checked; each problem is one line naming the file. Exit 2 when there is any.
//       --no-media leaves out the pictures, sounds and music and the names of them
//       in the configuration.
#pragma once

#include <string>
#include <vector>

namespace pav::tool {

int RunInstall(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);

}  // namespace pav::tool
