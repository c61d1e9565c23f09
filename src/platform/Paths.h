// The game builds its paths as AppFolder + "\Boards\" + name + ".BRD". These map
// such paths to native ones; names are case-insensitive in the game, so each
// component is matched without regard to case when the exact name does not exist.
#pragma once

#include <string>
#include <vector>

namespace pav {

// AppFolder + a relative game path beginning with a backslash (or slash).
std::string GamePath(const std::string& appFolder, const std::string& relative);
// Resolves a native path component by component, matching case-insensitively
// where the exact name is missing. Missing components are kept as given.
std::string ResolvePath(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Names (without folder) of the regular files in `folder` whose names end with
// `extension` (case-insensitive, e.g. ".BRD"), sorted by name without regard to case.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension);

bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace pav
