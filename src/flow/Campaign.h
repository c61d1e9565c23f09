// Campaigns: the levels of a campaign played one after the other, each a puzzle on
// its own board with its own limits, with running totals of time and moves; the end
// of a campaign, completed or not, with its records; and its first level shown on the
// board before and after.
#pragma once

namespace pav {

// The gauge of the level window before level `level` of `count`: the share of the
// levels done, in percent, truncated.
int CampaignGauge(int level, int count);

// Run when the level window is shown, for level Game.Level: the level's puzzle and
// board (both read whole before anything changes), the tile set its board asks for,
// the main window sized to the board, the objective, the initial position and the
// limits. False when the puzzle or the board could not be read or was refused: the
// game is left as it was, and the problem waits for CampaignLevelRefused.
bool PrepareCampaignLevel();
// The level window closed on a level that could not be loaded: the problem is
// reported in a message box naming the file, the campaign ends, and its first level
// is shown again.
void CampaignLevelRefused();
// Run when the level window is confirmed: the level's clock and counters start; at
// level 1 the campaign's totals too.
void BeginCampaignLevel();

// A level was solved: its time and moves join the totals, and the next level's window
// opens, or after the last one the campaign is completed and enters its records.
void CampaignLevelSolved();
// A level was lost by a limit (after the game-over window): the campaign is not
// completed; a level lost by its moves limit counts in the totals.
void CampaignLevelLost(bool byMoves);

// The campaign's first level on the board, as it stands before the campaign is played;
// with the tile set its board asks for when `chooseTileSet`.
void ShowFirstCampaignLevel(bool chooseTileSet);

}  // namespace pav
