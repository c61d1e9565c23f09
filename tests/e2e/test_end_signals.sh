#!/usr/bin/env bash
# The end of the session and Ctrl+C: SIGTERM and SIGINT close the real game as its
# close button does, also with a window open that waits for an answer or while the
# splash is still up, so the configuration and the player's log are written and the
# game ends with status 0.
#
#   bash tests/e2e/test_end_signals.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: test_end_signals.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_end_signals
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

player="Signal Player"
log_file=$app/Players/$player.TXT
start_xvfb

# The game with its welcome window up, as a first run shows it.
start_game_with_welcome() {
  "$game" >>"$prefix-game.out" 2>>"$prefix-game.err" &
  game_pid=$!
  main=$(find_window '^Pavilore$' 40) || true
  [ -n "$main" ] || fail "the main window did not appear"
}

for label in TERM INT TERM-WELCOME TERM-SPLASH; do
  sig=${label%%-*}
  welcome=no
  # A first run: the welcome window waits for a name and refuses to close without one.
  [ "$label" = TERM-WELCOME ] && welcome=yes
  # A music choice the game repairs at start-up shows that the configuration is
  # written again at the end.
  configure player-name "\"$player\"" write-log yes sounds-on no music-on no show-welcome "$welcome" \
    music-file "\"No Such Piece\""
  rm -f "$log_file"
  main=""
  if [ "$label" = TERM-SPLASH ]; then
    # The windows are prepared behind the splash, which stays three seconds; the sound
    # device is open by then (a device that opens, so that the sound library is there).
    SDL_AUDIODRIVER=dummy "$game" >>"$prefix-game.out" 2>>"$prefix-game.err" &
    game_pid=$!
    dialog=$(find_window '^Loading Pavilore$' 20) || true
    [ -n "$dialog" ] || fail "no splash window"
    sleep 1
  elif [ "$welcome" = yes ]; then
    start_game_with_welcome
    dialog=$(find_window '^Welcome' 10) || true
    [ -n "$dialog" ] || fail "the welcome window did not open"
  else
    start_game
    # The game configuration window (F2 from the main window) waits for an answer.
    press_key "$main" F2
    dialog=$(find_window '^Game Configuration$' 10) || true
    [ -n "$dialog" ] || fail "the game configuration window did not open"
  fi
  shot "sig$label-before" "${main:-$dialog}"
  kill -s "$sig" "$game_pid"
  status=0
  for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    if [ "$label" = TERM-SPLASH ] && xdotool search --onlyvisible --name '^Pavilore$' >/dev/null 2>&1; then
      fail "after SIG$sig during the splash the main window was shown"
    fi
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "SIG$sig did not end the game"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "after SIG$sig the game ended with status $status"
  music=$(json "$cfg" "d['musicFile']")
  [ -z "$music" ] || fail "after SIG$sig the configuration was not written (music file '$music')"
  [ -f "$log_file" ] || fail "after SIG$sig the player's log was not written"
  tail -n 1 "$log_file" | grep -q "Application Terminated\." ||
    fail "after SIG$sig the player's log does not end with the end of the run: $(tail -n 1 "$log_file")"
  echo "SIG$sig: the game closed, the configuration and the log were written"
done
