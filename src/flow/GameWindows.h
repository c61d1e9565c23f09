// What the course of a game asks of the game's windows: the main window's clock,
// the computer's timer, its hands and repaints, the objective window, and the start,
// pause, end-of-game, results and records windows. The main window supplies it; the
// flow itself knows no window. Without it (tests of the flow alone) the game runs
// without windows.
#pragma once

#include <string>

namespace pav {

class TGameWindows {
 public:
  virtual ~TGameWindows() = default;

  // ---- The main window ----
  virtual void RepaintMain() = 0;
  // The status row on screen, after the counters were drawn into the picture.
  virtual void RepaintStatusBar() = 0;
  // Sized to the board in play, where it stands (or centred on the screen), and redrawn.
  virtual void FitMainToBoard(bool centre = false) = 0;
  // The same, and centred on the screen when it would not fit where it stands.
  virtual void FitMainToLevel() = 0;
  // A drag cut short by a window that ended the last game never carries over.
  virtual void ForgetTileDrag() = 0;
  // The game clock (TimerGame).
  virtual void StartClock() = 0;
  virtual void StopClock() = 0;
  // The computer's timer (TimerBot); a start keeps the interval unless one is given.
  virtual void StartComputerTimer(int intervalMs = 0) = 0;
  virtual void StopComputerTimer() = 0;
  // The computer's hands over the board: the flat hand over cell (x, y) before a push,
  // the grabbing hand over the cell a push goes to; showing one hides the other.
  virtual void ShowFlatHand(int x, int y) = 0;
  virtual void ShowGrabHand(int x, int y) = 0;
  virtual void HideHands() = 0;

  // ---- The objective window ----
  // Draws the objective Game.OP of the board in play into it.
  virtual void DrawObjective() = 0;
  virtual void CloseObjective() = 0;

  // ---- The game's windows, each shown modally ----
  virtual void ShowSingleGameStart() = 0;
  // The start window of one turn of a game against the computer.
  virtual void ShowComputerTurnStart() = 0;
  virtual void ShowPause() = 0;
  // The end-of-game window: its title and text (Windows-1252, carriage returns
  // between lines) are set first, then it is shown.
  virtual void SetEndOfGame(const std::string& title, const std::string& text) = 0;
  virtual void ShowEndOfGame() = 0;
  // The results of a finished game against the computer.
  virtual void ShowMatchResults() = 0;
  // The window before each campaign level, and the one at the end of a campaign.
  virtual void ShowCampaignLevel() = 0;
  virtual void ShowCampaignResult() = 0;
  // The records-obtained window with its message (Windows-1252).
  virtual void ShowRecordsObtained(const std::string& text) = 0;
};

// The windows of the game, or none.
void SetGameWindows(TGameWindows* windows);
TGameWindows* GameWindows();

}  // namespace pav
