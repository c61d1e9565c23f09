#!/usr/bin/env bash
# Starts the real game on a fresh installation under a virtual X server: the splash,
# the welcome window of a first run, the main window sized to the configured board
# and drawn, then the close button of the side panel. Afterwards the player's log
# holds the start and the end of the run and the configuration file is whole.
#
#   bash tests/e2e/test_start.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts.
set -euo pipefail

build=$(cd "${1:?usage: test_start.sh BUILD_DIR}" && pwd)
game=$build/src/pavilore
tool=$build/tools/pavilore-tool
artifacts=$build/e2e-artifacts
mkdir -p "$artifacts"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for cmd in Xvfb xdotool import convert python3; do
  command -v "$cmd" >/dev/null || fail "$cmd is missing (Debian packages: xvfb xdotool imagemagick python3)"
done
[ -x "$game" ] || fail "no game at $game"
[ -x "$tool" ] || fail "no pavilore-tool at $tool"

tmp=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# A home of its own: the settings store and the installation live in it.
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$tool" install >/dev/null || fail "pavilore-tool install failed"
app=$XDG_DATA_HOME/Pavilore
cfg=$app/System/Pavilore.CFG
[ -f "$cfg" ] || fail "the installation has no System/Pavilore.CFG"

json_field() {  # FILE FIELD
  "$tool" show "$1" --json | python3 -c 'import json,sys; print(json.load(sys.stdin)[sys.argv[1]])' "$2"
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

# The virtual screen; it tells its display number once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.1
done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=:$(head -n 1 "$tmp/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

find_window() {  # NAME-PATTERN SECONDS
  timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

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

# The close button: the upper right quarter of the side panel's top cell.
xdotool mousemove --window "$main" $((width * 48 + 36)) 10
sleep 0.2
xdotool click 1
status=0
for _ in $(seq 150); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after its close button"
wait "$game_pid" || status=$?
game_pid=""
[ "$status" = 0 ] || fail "the game ended with status $status"

# The player's log got the run; the configuration is whole and remembers the player.
log=$app/Players/$player.TXT
[ -f "$log" ] || fail "no log file $log"
cp "$log" "$artifacts/test_start-log.txt"
grep -q ' : Application Started\.$' "$log" || fail "no 'Application Started.' in the log"
grep -q ' : Application Terminated\.$' "$log" || fail "no 'Application Terminated.' in the log"
[ "$(stat -c %s "$cfg")" = 772 ] || fail "System/Pavilore.CFG is $(stat -c %s "$cfg") bytes, not 772"
[ "$(json_field "$cfg" playerName)" = "$player" ] || fail "the configuration does not name the player"
[ "$(json_field "$cfg" showWelcome)" = False ] || fail "the welcome window would come back"
[ -z "$(ls "$app/Players" | grep -v '\.TXT$')" ] || fail "stray files in Players: $(ls "$app/Players")"

echo "PASS: started, drawn, closed; screenshots in $artifacts"
