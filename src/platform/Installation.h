// Putting the default installation in place for a player: the installation image
// (the game's data as it is shipped) copied into the player's data folder without
// replacing anything the player has, and the folder stored as AppFolder in the
// settings file the game reads. Used by the game on its first start and by
// pavilore-tool install.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace pav {

// A failure of the installation; the text names the file or folder and the reason.
class EInstallError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The installation image beside a program: <program folder>/../share/pavilore.
std::string InstallationImageFolder();
// The settings file: $XDG_CONFIG_HOME/Pavilore.conf, else ~/.config/Pavilore.conf.
std::string SettingsFile();
// The default data folder: $XDG_DATA_HOME/Pavilore, else ~/.local/share/Pavilore.
std::string DefaultDataFolder();

struct TInstallResult {
  std::string Folder;             // the data folder, absolute, no trailing slash
  std::string Settings;           // the settings file where it was stored
  int Copied = 0;                 // files copied
  std::vector<std::string> Kept;  // files already there, kept as they were (relative paths)
};

// Copies `image` into `folder` ("" for DefaultDataFolder()) and stores the folder as
// AppFolder in SettingsFile(), every other line of that file kept.
TInstallResult InstallDefaultData(const std::string& image, const std::string& folder = {});

// The settings file's text with AppFolder set to `folder` in [General], every other
// line kept as it is. `folder` is UTF-8; it is written escaped the way the settings
// store of the game (QSettings, INI form) writes and reads values.
std::string SetAppFolder(const std::string& iniText, const std::string& folder);
// A value escaped for the INI form of the settings store.
std::string IniEscapedValue(const std::string& utf8);

}  // namespace pav
