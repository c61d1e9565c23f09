#!/usr/bin/env bash
# The game on a Wayland desktop, under a headless Weston. With Wayland alone
# (QT_QPA_PLATFORM=wayland) the game starts, runs, and SIGTERM closes it as its close
# button does: status 0, the configuration and the player's log written. On a Wayland
# session that also offers X11 (WAYLAND_DISPLAY and DISPLAY, XDG_SESSION_TYPE=wayland,
# no platform chosen) the game goes to X11, where it places its own windows; a player
# who names a platform gets that one.
#
#   bash tests/e2e/test_wayland.sh BUILD_DIR
#
# Needs weston and Qt's Wayland platform (qt6-wayland), and for the X11 side Xvfb,
# xdotool, ImageMagick and python3 as every end-to-end test.
set -euo pipefail

build=$(cd "${1:?usage: test_wayland.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_wayland
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

command -v weston >/dev/null || fail "weston is missing (Debian package: weston)"
weston_pid=""
end_weston() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  cleanup
}
trap end_weston EXIT

# The compositor, headless; its socket lies in XDG_RUNTIME_DIR (lib.sh made it private).
socket=pavilore-test-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$prefix-weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start: $(tail -n 5 "$prefix-weston.log")"

player="Wayland Player"
log_file=$app/Players/$player.TXT

# Runs the game for 5 seconds with the environment given, then SIGTERM; checks that it
# ran all along, ended with status 0, wrote the configuration and the log, and said
# nothing about its platform on stderr.
run_and_end() {  # NAME [NAME=VALUE ...]
  local name=$1 status=0
  shift
  # A music choice the game repairs at start-up shows that the configuration is written at the end.
  configure player-name "\"$player\"" write-log yes sounds-on no music-on no show-welcome no \
    music-file '"No Such Piece"'
  rm -f "$log_file"
  env "$@" "$game" >"$prefix-$name.out" 2>"$prefix-$name.err" &
  game_pid=$!
  sleep 5
  kill -0 "$game_pid" 2>/dev/null || {
    wait "$game_pid" || status=$?
    game_pid=""
    fail "$name: the game ended by itself with status $status: $(head -n 5 "$prefix-$name.err")"
  }
  if [ -n "$xvfb_pid" ] && xdotool search --name '^Pavilore$' >/dev/null 2>&1; then
    fail "$name: the game went to X11 although Wayland was chosen"
  fi
  kill -s TERM "$game_pid"
  for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "$name: SIGTERM did not end the game"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "$name: the game ended with status $status after SIGTERM"
  ! grep -E 'qt\.qpa|[Pp]lugin|[Ww]ayland|xcb|wl_' "$prefix-$name.err" ||
    fail "$name: the platform complained on stderr (above)"
  [ -z "$(json "$cfg" "d['musicFile']")" ] || fail "$name: the configuration was not written at the end"
  tail -n 1 "$log_file" 2>/dev/null | grep -q "Application Terminated\." ||
    fail "$name: the player's log does not end with the end of the run"
  echo "$name: ran 5 s, ended with status 0 after SIGTERM, configuration and log written"
}

# Wayland alone: no X11 display at all.
run_and_end wayland -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland

# A Wayland session with XWayland, no platform chosen: the main window comes up on X11.
start_xvfb
unset QT_QPA_PLATFORM
configure player-name "\"$player\"" show-welcome no sounds-on no music-on no
start_game WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland
echo "with XWayland the main window is on X11"
close_game

# The player's choice stands: QT_QPA_PLATFORM=wayland goes to Wayland although X11 is there.
run_and_end chosen WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland

echo "PASS: runs on Wayland alone, prefers XWayland when it is there; artefacts in $artifacts"
