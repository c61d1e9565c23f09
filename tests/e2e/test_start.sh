#!/usr/bin/env bash
# Starts the real game on a fresh installation under a virtual X server: the splash,
# the welcome window of a first run, the main window sized to the configured board
# and drawn, a second copy that is refused, then the close button of the side panel.
# Afterwards the player's log holds the start and the end of the run and the
# configuration file is whole.
#
#   bash tests/e2e/test_start.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts.
set -euo pipefail

build=$(cd "${1:?usage: test_start.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_start
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

json_field() {  # FILE FIELD
  json "$1" "d['$2']"
}
board=$(json_field "$cfg" boardName)
board_file=$(find "$app/Boards" -maxdepth 1 -iname "$board.BRD" | head -n 1)
[ -n "$board_file" ] || fail "the configured board '$board' is not installed"
width=$(json_field "$board_file" width)
height=$(json_field "$board_file" height)
show_welcome=$(json_field "$cfg" showWelcome)
want_w=$(((width + 1) * 48))
want_h=$(((height + 1) * 48))
echo "board '$board': $width x $height cells, window $want_w x $want_h expected"

start_xvfb

"$game" >"$artifacts/test_start-game.out" 2>"$artifacts/test_start-game.err" &
game_pid=$!

# The splash: 384 x 144, up while the windows are created.
splash=$(find_window '^Loading Pavilore$' 20) || true
[ -n "$splash" ] || fail "no splash window"
eval "$(xdotool getwindowgeometry --shell "$splash")"
[ "$WIDTH" = 384 ] && [ "$HEIGHT" = 144 ] || fail "splash is ${WIDTH}x$HEIGHT, not 384x144"
import -window root "$tmp/splash-root.png"
convert "$tmp/splash-root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/test_start-splash.png"

main=$(find_window '^Pavilore$' 30) || true
[ -n "$main" ] || fail "the main window did not appear"

# A first run asks for the player's name.
player="E2E Player"
if [ "$show_welcome" = True ]; then
  welcome=$(find_window '^Welcome' 20) || true
  [ -n "$welcome" ] || fail "no welcome window on a first run"
  import -window root "$artifacts/test_start-welcome.png"
  timeout 10 xdotool windowfocus --sync "$welcome" || true
  xdotool type --delay 20 "$player"
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Welcome' >/dev/null 2>&1 || break
    sleep 0.1
  done
  ! xdotool search --onlyvisible --name '^Welcome' >/dev/null 2>&1 || fail "the welcome window did not close"
else
  player=$(json_field "$cfg" playerName)
fi

# The main window: sized to the board with the side panel, and drawn.
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = "$want_w" ] && [ "$HEIGHT" = "$want_h" ] ||
  fail "main window is ${WIDTH}x$HEIGHT, expected ${want_w}x$want_h"
sleep 0.3
import -window root "$artifacts/test_start-screen.png"
convert "$artifacts/test_start-screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
  "$artifacts/test_start-main.png"
colours=$(convert "$artifacts/test_start-main.png" -format %k info:)
echo "main window: ${WIDTH}x$HEIGHT at $X,$Y, $colours colours"
[ "$colours" -ge 16 ] || fail "the main window looks blank ($colours colours)"

# A second copy on the same installation says that the game runs already and ends
# with its files untouched, without a splash of its own.
cfg_before=$(md5sum <"$cfg")
"$game" >"$artifacts/test_start-second.out" 2>"$artifacts/test_start-second.err" &
second_pid=$!
box=""
for _ in $(seq 200); do
  for w in $(xdotool search --onlyvisible --name '^Pavilore$' 2>/dev/null); do
    [ "$w" = "$main" ] || box=$w
  done
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || { kill "$second_pid" 2>/dev/null; fail "the second copy showed no message"; }
import -window root "$artifacts/test_start-second.png"
# It says so before its splash would show: no splash is up beside its message.
if xdotool search --onlyvisible --name '^Loading Pavilore$' >/dev/null 2>&1; then
  kill "$second_pid" 2>/dev/null
  fail "the second copy showed its splash"
fi
press_key "$box" Return
status=0
for _ in $(seq 100); do
  kill -0 "$second_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$second_pid" 2>/dev/null && { kill "$second_pid"; fail "the second copy did not end"; }
wait "$second_pid" || status=$?
[ "$status" = 1 ] || fail "the second copy ended with status $status, not 1"
[ "$(md5sum <"$cfg")" = "$cfg_before" ] || fail "the second copy changed System/Pavilore.CFG"

eval "$(xdotool getwindowgeometry --shell "$main")"
main_x=$X main_y=$Y main_w=$WIDTH
close_game

# The player's log got the run; the configuration is whole and remembers the player.
log=$app/Players/$player.TXT
[ -f "$log" ] || fail "no log file $log"
cp "$log" "$artifacts/test_start-log.txt"
[ "$(grep -c ' : Application Started\.$' "$log")" = 1 ] || fail "not one 'Application Started.' in the log"
grep -q ' : Application Terminated\.$' "$log" || fail "no 'Application Terminated.' in the log"
[ "$(stat -c %s "$cfg")" = 772 ] || fail "System/Pavilore.CFG is $(stat -c %s "$cfg") bytes, not 772"
[ "$(json_field "$cfg" playerName)" = "$player" ] || fail "the configuration does not name the player"
[ "$(json_field "$cfg" showWelcome)" = False ] || fail "the welcome window would come back"
[ -z "$(ls "$app/Players" | grep -v '\.TXT$')" ] || fail "stray files in Players: $(ls "$app/Players")"

echo "PASS: started, drawn, closed; screenshots in $artifacts"
