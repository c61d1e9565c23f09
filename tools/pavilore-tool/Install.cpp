#include "Install.h"

#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "platform/Installation.h"

namespace pav::tool {

namespace {

// The installation image beside the tool, or the one given.
std::string ImageFolder(const std::string& from) {
  if (!from.empty()) return from;
  try {
    return InstallationImageFolder();
  } catch (const EInstallError& e) {
    throw ToolError{std::string("install: ") + e.what() + "; give --from IMAGE"};
  }
}

}  // namespace

int RunInstall(const std::vector<std::string>& args) {
  const std::string usage = "usage: pavilore-tool install [DIR] [--from IMAGE]";
  std::string dir, from;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--from") {
      if (i + 1 >= args.size() || !from.empty() || args[i + 1].empty()) throw ToolError{usage};
      from = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw ToolError{"unknown option " + args[i] + "; " + usage};
    } else if (dir.empty() && !args[i].empty()) {
      dir = args[i];
    } else {
      throw ToolError{usage};
    }
  }
  const std::string image = ImageFolder(from);
  TInstallResult result;
  try {
    result = InstallDefaultData(image, dir);
  } catch (const EInstallError& e) {
    std::string why = e.what();
    if (why == image + ": no installation image there") why += " (build the project, or give --from IMAGE)";
    throw ToolError{why};
  }
  std::cout << "Installed Pavilore into " << result.Folder << ": " << result.Copied << " files copied";
  if (!result.Kept.empty()) std::cout << ", " << result.Kept.size() << " kept as they were";
  std::cout << ".\n";
  for (const std::string& k : result.Kept) std::cout << "  kept " << k << " (already there)\n";
  std::cout << "AppFolder stored in " << result.Settings << "\n";
  return 0;
}

}  // namespace pav::tool
