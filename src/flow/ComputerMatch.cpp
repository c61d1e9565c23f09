#include "flow/ComputerMatch.h"

#include <chrono>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/GameFiles.h"
#include "flow/FlowShared.h"
#include "flow/GameWindows.h"
#include "media/Effects.h"

namespace pav {

namespace {

std::mt19937& ComputerRandom() {
  static std::mt19937 rng(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return rng;
}

int Draw(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// The speed as a level 0..2, whatever the configuration holds.
int SpeedLevel(int speed) { return speed < 0 ? 0 : speed > 2 ? 2 : speed; }

bool OnBoard(int x, int y) { return x >= 1 && x <= MaxCols && y >= 1 && y <= MaxRows; }

// The computer's script ran out before its position reached the objective: its turn
// ends as not finished, and the match ends as after a limit.
void ComputerCouldNotFinish() {
  TGameWindows* windows = GameWindows();
  if (windows) windows->HideHands();
  StopRunningGame(true);
  PlayEffect(TEffect::GameOver);
  const std::string text = "The computer could not finish its puzzle.";
  if (windows) windows->SetEndOfGame("GAME OVER", text);
  LogLine("Game over : " + text, true);
  if (windows) windows->ShowEndOfGame();
  App().State.LostByLimit = true;
  FinishMatch();
}

void MatchRecords() {
  TApp& app = App();
  const TGameState& s = app.State;
  const TConfig& c = app.Config;
  if (app.CheatsEnabled || s.LostByLimit) {
    LogLine(" -", false);
    return;
  }
  TBoard& board = app.Game().Board;
  TRecordTable& table = board.BotRecords[SpeedLevel(c.ComputerSpeed)][SpeedLevel(c.ComputerAccuracy)];
  const TRecordsUpdate update =
      UpdateRecordTable(table, TRecordOrder::Descending, s.ComputerSeconds - s.HumanSeconds,
                        s.ComputerMoves - s.HumanMoves, c.PlayerName.Str());
  ReportRecords(update, true, [&] { StoreBoard(app.Path("\\Boards\\" + c.BoardName.Str() + ".BRD"), board); });
}

TMatchWinner Winner(std::int32_t human, std::int32_t computer, const std::string& name) {
  if (human < computer) return {name, TMatchSide::Human};
  if (human == computer) return {"TIE", TMatchSide::Tie};
  return {"Computer", TMatchSide::Computer};
}

}  // namespace

int ComputerInterval(std::mt19937& rng, int speed, bool hurry) {
  if (hurry) return 10;
  const int r = Draw(rng, 0, 2 - SpeedLevel(speed));
  const int j = Draw(rng, 0, 200);
  return r == 0 ? 150 + j - 100 : 700 + j - 100;
}

std::int32_t ComputerTurnTime(std::mt19937& rng, std::int32_t moves, int speed) {
  double sum = 0;
  for (std::int32_t i = 0; i < moves; ++i) sum += Draw(rng, 0, 2 - SpeedLevel(speed)) == 0 ? 0.3 : 1.4;
  return static_cast<std::int32_t>(sum);
}

std::int32_t ComputerTurnTime(std::int32_t moves, int speed) { return ComputerTurnTime(ComputerRandom(), moves, speed); }

void ComputerStep() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  TGameWindows* windows = GameWindows();
  if (!s.GameRunning || s.HumanTurn) {
    if (windows) windows->StopComputerTimer();
    return;
  }
  const int interval = ComputerInterval(ComputerRandom(), app.Config.ComputerSpeed, s.ComputerHurry);
  TMoveList& script = g.History;
  const int i = g.Moves + 1;

  if (app.BotPointing) {
    // Entries whose tile an earlier push already took away are passed over.
    while (i <= ListLength(script)) {
      const int x = script.X[i - 1], y = script.Y[i - 1];
      if (OnBoard(x, y) && g.Current.Tiles[x][y] != 0) break;
      DeleteEntry(script, i);
    }
    if (i > ListLength(script)) {
      ComputerCouldNotFinish();
      return;
    }
    if (windows) {
      windows->ShowFlatHand(script.X[i - 1], script.Y[i - 1]);
      windows->StartComputerTimer(interval);
    }
    app.BotPointing = false;
    return;
  }

  if (i > ListLength(script)) {
    ComputerCouldNotFinish();
    return;
  }
  const int x = script.X[i - 1], y = script.Y[i - 1], dir = script.Dir[i - 1];
  s.GrabX = static_cast<std::uint8_t>(x);
  s.GrabY = static_cast<std::uint8_t>(y);
  if (windows) windows->ShowGrabHand(x + StepX(dir), y + StepY(dir));
  const std::int32_t movesBefore = g.Moves;
  const std::uint32_t game = app.GamesBegun;
  const int steps = g.Board.StepsPerMove > 0 ? g.Board.StepsPerMove : 1;
  for (int k = 0; k < steps; ++k) {
    // A push that ended the turn ends the move: the board keeps the position reached,
    // or shows the human's turn that the end of this one began.
    if (k > 0 && (!s.GameRunning || app.GamesBegun != game)) break;
    app.Engine->TryPush(true, true, x, y, dir);
  }
  // Solved, or stopped by a limit: the turn is over (and the next one may run already).
  if (app.GamesBegun != game) return;
  s.StepCount = 0;
  if (!s.GameRunning) return;
  // A push that could not be made is passed over, so the script always comes to an end.
  if (g.Moves == movesBefore) DeleteEntry(script, i);
  if (windows) windows->StartComputerTimer(interval);
  app.BotPointing = true;
}

void HurryComputer() {
  TGameState& s = App().State;
  if (s.GameRunning && !s.HumanTurn) s.ComputerHurry = true;
}

void ComputerTurnSolved() {
  TApp& app = App();
  TGameState& s = app.State;
  TGame& g = s.Game;
  const TConfig& c = app.Config;
  if (s.HumanTurn) {
    s.HumanSeconds = g.Seconds;
    s.HumanMoves = g.Moves;
  } else {
    s.ComputerSeconds = g.Seconds;
    s.ComputerMoves = g.Moves;
  }
  ++g.Level;
  if (g.Level == 2) {
    if (c.UseOpponentTime) s.OpponentTime = g.Seconds;
    if (c.UseOpponentMoves) s.OpponentMoves = g.Moves;
    s.HumanTurn = !s.HumanTurn;
    if (TGameWindows* w = GameWindows()) w->ShowComputerTurnStart();
  } else if (g.Level == 3) {
    FinishMatch();
  }
}

void FinishMatch() {
  LogLine(MatchResults().LogLine, true);
  if (TGameWindows* w = GameWindows()) w->ShowMatchResults();
  MatchRecords();
}

TMatchResults MatchResults() {
  const TApp& app = App();
  const TGameState& s = app.State;
  const std::string name = app.Config.PlayerName.Str();
  auto seconds = [](std::int32_t v) { return std::to_string(v) + " S"; };
  auto moves = [](std::int32_t v) { return std::to_string(v) + " M"; };

  TMatchResults r{seconds(s.HumanSeconds), moves(s.HumanMoves), seconds(s.ComputerSeconds), moves(s.ComputerMoves),
                  Winner(s.HumanSeconds, s.ComputerSeconds, name), Winner(s.HumanMoves, s.ComputerMoves, name),
                  moves(s.ComputerMoves - s.HumanMoves) + " , " + seconds(s.ComputerSeconds - s.HumanSeconds), {}};
  if (s.LostByLimit) {
    // The player whose turn it was did not finish: no score of his counts, and the
    // other player wins both lists. When that was the first turn, the other player
    // never played either.
    const bool humanStopped = s.HumanTurn;
    const bool firstTurn = s.Game.Level < 2;
    if (humanStopped || firstTurn) r.HumanTime = r.HumanMoves = "-";
    if (!humanStopped || firstTurn) r.ComputerTime = r.ComputerMoves = "-";
    const TMatchWinner other = humanStopped ? TMatchWinner{"Computer", TMatchSide::Computer}
                                            : TMatchWinner{name, TMatchSide::Human};
    r.TimeWinner = r.MovesWinner = other;
    r.Difference = "-";
  }
  r.LogLine = "Results : 'Fewest Moves' Winner : " + r.MovesWinner.Text + " - 'Fastest Time' Winner : " +
              r.TimeWinner.Text + ".";
  return r;
}

}  // namespace pav
