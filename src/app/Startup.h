// Start-up and exit of the game: the installation folder, the configuration file,
// the pointer shapes, the repairs of stale choices, loading the configured board,
// puzzle and campaign, and writing the configuration back at exit. The steps run
// inside the main window's creation but need no window, so each one can be run
// on its own.
#pragma once

#include <QCursor>
#include <optional>
#include <string>

#include "files/Records.h"
#include "platform/RecordFile.h"

namespace pav {

// ---- Installation folder --------------------------------------------------

// The settings store: $XDG_CONFIG_HOME/Pavilore.conf (default ~/.config/Pavilore.conf).
std::string SettingsFilePath();
// The value AppFolder of the settings store, without a trailing separator; empty when
// there is none.
std::string ReadAppFolder();

// ---- Configuration file ---------------------------------------------------

// "\System\Pavilore.CFG"
constexpr const char* ConfigRelativePath = "\\System\\Pavilore.CFG";


// ---- Pointer shapes -------------------------------------------------------

enum TPointerShape {
  ColoPoint = 15,
  ColoFlat = 16,
  ColoGrab = 17,
  ColoLeftRight = 18,
  ColoUpDown = 19,
  ColoArrow = 20,
  ColoMove = 21,
};
// Draws and registers the seven shapes (in the order ColoPoint, ColoFlat, ColoGrab,
// ColoUpDown, ColoLeftRight, ColoArrow, ColoMove); the move shape becomes the one of
// every dialog's skin.
void RegisterPointerShapes();
// A registered shape (15..21); the platform's arrow for any other number or before
// the shapes are registered.
QCursor PointerShape(int number);
// The application-wide pointer shape: 0 drops the override so every area shows its
// own shape again; a shape number sets it; -1 is the platform's pointing hand.
void SetPointerOverride(int number);
// The flat and the grabbing hand of the pointer as 32 x 32 pictures: the computer
// shows them over the board while it plays.
QPixmap HandPicture(bool grabbing);
constexpr int PointerDefault = 0;
constexpr int PointerHand = -1;

// ---- The steps of the main window's creation -------------------------------

// Takes the lock of AppFolder for the life of the process: one copy of the game per
// data folder. When another running copy holds it: "Pavilore is already running with
// the data folder '...'.", termination requested, false, and no file touched. No
// AppFolder, one without the configuration file, or a folder where no lock file can
// be made, goes on without the lock.
bool LockAppFolder();
// Reads AppFolder (on a player's first start, with none stored yet, the installation
// image beside the program is installed for the player first, as pavilore-tool
// install does), takes its lock (LockAppFolder) and reads Config. A missing
// configuration file shows "The configuration file : '..\System\Pavilore.CFG' is
// missing."; a file that cannot be read whole, or holds unusable values, shows a
// message naming the file and the reason. Both request termination and return false.
bool ReadConfiguration();
// Board graphics or tile set with neither ".BMP" nor ".JPG" in "\Graphics\": back to
// "GB - Default" / "TS - Default" (the latter also drops the custom picture).
void RepairGraphicsChoice();
// The skin bitmaps, the wall background, the graphics set and the custom picture.
void LoadSkin();
// A board, puzzle or campaign named by Config that is missing: Config falls back to
// a single game on the first board of the folder. With no boards at all:
// "There aren't any boards in the 'Boards' folder.", termination requested, false.
bool ValidateGameFiles();
// Reads the board, the campaign and the puzzle into Game; Current = the puzzle's
// objective when IPFromPuzzle, else the board's own pattern. A file that cannot be
// loaded is reported (the file and the rule it breaks) and Config falls back to a
// single game on the first board that loads; when none loads, termination is
// requested and the result is false.
bool LoadGameData();
// The process-wide state of a fresh run, then the music: a missing music file
// switches the music off.
void InitialiseProcessState();
// Everything above in order; false when the program must end.
bool RunStartup();
// Set when a start-up step asked the program to end.
bool TerminationRequested();
void ClearTerminationRequest();

// The first log lines of a run: " -", 24 hyphens, " -", "Application Started.", " -".
void LogApplicationStarted();

// ---- Exit -------------------------------------------------------------------

// Writes Config as the whole configuration file. A failure is reported and leaves the
// file on disk exactly as it was; returns false then.
bool SaveConfiguration();
// The exit steps: Config written back, the media players closed, "Application
// Terminated." logged and the log written to the current player's file.
void RunExitSteps();

}  // namespace pav
