#include "flow/GameClock.h"

#include "app/AppState.h"
#include "app/Log.h"
#include "flow/Campaign.h"
#include "flow/ComputerMatch.h"
#include "flow/FlowShared.h"
#include "flow/GameWindows.h"
#include "media/Effects.h"
#include "render/Renderer.h"

namespace pav {

namespace {

enum class TLimitSource { Own, Opponent };

// The common ending of the four limits. The opponent's limits end the second turn
// against the computer: the computer stops too, and the match is finished.
void LoseByLimit(TLimitKind kind, TLimitSource source) {
  TGameState& s = App().State;
  TGame& g = s.Game;
  const int mode = App().Config.GameMode;
  TGameWindows* windows = GameWindows();

  if (source == TLimitSource::Opponent && windows) windows->HideHands();
  StopRunningGame(source == TLimitSource::Opponent);
  PlayEffect(TEffect::GameOver);

  if (windows) windows->SetEndOfGame("GAME OVER", LimitReachedText(kind, g.Seconds, g.Moves));
  LogLine(kind == TLimitKind::Time
              ? "Game over : Time limit reached in " + std::to_string(g.Seconds) + " Seconds."
              : "Game over : Moves limit reached in " + std::to_string(g.Moves) + " Moves.",
          true);
  if (source == TLimitSource::Own) {
    if (mode == ModeCampaign) LogLine("Campaign not completed.", true);
    if (mode == ModeSingle || mode == ModeCampaign) LogLine(" -", false);
  }
  if (windows) windows->ShowEndOfGame();

  if (source == TLimitSource::Opponent) {
    s.LostByLimit = true;
    FinishMatch();
  } else if (mode == ModeCampaign) {
    CampaignLevelLost(kind == TLimitKind::Moves);
  }
}

}  // namespace

void UpdateCounters() {
  DrawCounters(MainPicture());
  if (TGameWindows* w = GameWindows()) w->RepaintStatusBar();
}

void TimerGameTick() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const TConfig& c = app.Config;
  if (!s.GameRunning) return;

  ++g.Seconds;
  UpdateCounters();
  if (g.Seconds == g.TimeLimit) {
    LoseByLimit(TLimitKind::Time, TLimitSource::Own);
    return;
  }
  if (g.Seconds == s.OpponentTime && c.UseOpponentTime) {
    // With "And" both of the first player's figures must be reached.
    if (c.UseOpponentMoves && c.OpponentAnd && g.Moves < s.OpponentMoves) return;
    LoseByLimit(TLimitKind::Time, TLimitSource::Opponent);
  }
}

void CheckMoveLimits() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const TConfig& c = app.Config;

  if (g.MovesLimit != 0 && g.MovesLimit == g.Moves) LoseByLimit(TLimitKind::Moves, TLimitSource::Own);
  if (g.Moves == s.OpponentMoves && s.OpponentMoves != 0 && c.UseOpponentMoves) {
    if (c.UseOpponentTime && c.OpponentAnd && g.Seconds < s.OpponentTime) return;
    LoseByLimit(TLimitKind::Moves, TLimitSource::Opponent);
  }
}

std::string LimitReachedText(TLimitKind kind, std::int32_t seconds, std::int32_t moves) {
  if (kind == TLimitKind::Time) return "Time limit reached in \r" + std::to_string(seconds) + " Seconds.";
  return "Moves limit reached in \r" + std::to_string(moves) + " Moves.";
}

}  // namespace pav
