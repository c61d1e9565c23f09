# What the end-to-end tests share: a private home with a fresh installation, a
# virtual X server, finding windows, and the end of the game through its close button.
# Sourced by tests/e2e/test_*.sh after they set `build` (the build folder) and
# `prefix` (the artefacts' path prefix, e.g. BUILD_DIR/e2e-artifacts/test_start).
#
# Needs Xvfb, xdotool, ImageMagick (import, convert), python3 and timeout.

game=$build/src/pavilore
tool=$build/tools/pavilore-tool
artifacts=$(dirname "$prefix")
mkdir -p "$artifacts"
rm -f "$prefix"-*

tmp=$(mktemp -d)
xvfb_pid=""
game_pid=""

# The visible windows with their names and geometry, one per line.
list_windows() {
  local w
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "$w '$(xdotool getwindowname "$w" 2>/dev/null)' $(xdotool getwindowgeometry "$w" 2>/dev/null | tr '\n' ' ')"
  done
}

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ]; then
    import -window root "$prefix-failure.png" 2>/dev/null || true
    list_windows >"$prefix-failure-windows.txt" 2>/dev/null || true
    echo "screen at the failure: $prefix-failure.png" >&2
  fi
  exit 1
}

cleanup() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

for cmd in Xvfb xdotool import convert python3 timeout; do
  command -v "$cmd" >/dev/null || fail "$cmd is missing (Debian packages: xvfb xdotool imagemagick python3)"
done
[ -x "$game" ] || fail "no game at $game"
[ -x "$tool" ] || fail "no pavilore-tool at $tool"

# A home of its own: the settings store and the installation live in it.
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$tool" install >/dev/null || fail "pavilore-tool install failed"
app=$XDG_DATA_HOME/Pavilore
cfg=$app/System/Pavilore.CFG
[ -f "$cfg" ] || fail "the installation has no System/Pavilore.CFG"

# The virtual screen; it tells its display number once it is ready.
# -noreset: the server stays as it is when its last client goes, so a game started
# again at once never finds it in the middle of a reset. SIZE defaults to 1280x1024x24.
start_xvfb() {  # [SIZE]
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
  xvfb_pid=$!
  local _
  for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
  done
  [ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
  export DISPLAY=:$(head -n 1 "$tmp/display")
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
}

# xdotool's own waiting (--sync) can end early, with nothing, when a window it is
# reading goes away meanwhile (the splash closing as the main window comes up), so
# search again until the time is up.
find_window() {  # NAME-PATTERN SECONDS
  local end=$((SECONDS + $2)) w
  while :; do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# Presses the close button of the side panel's top cell (its upper right quarter) of
# the main window and waits for the game to end with status 0.
close_game() {
  press_at "$((main_x + main_w - 12))" "$((main_y + 12))"
  local _ status=0
  for _ in $(seq 150); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after its close button"
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "the game ended with status $status"
}

# A search that finds nothing is quiet; one that fails (the display unreachable for a
# moment) says why, and proves nothing gone.
wait_gone() {  # NAME-PATTERN SECONDS
  local _ err
  for _ in $(seq $(($2 * 10))); do
    if ! err=$(xdotool search --onlyvisible --name "$1" 2>&1 >/dev/null); then
      [ -z "$err" ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# Screenshot of the windows given, cropped to the rectangle that holds them all.
shot() {  # NAME WINDOW...
  local name=$1 left=100000 top=100000 right=0 bottom=0 w
  shift
  sleep 0.4  # let the last repaint reach the screen
  for w in "$@"; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    ((X < left)) && left=$X
    ((Y < top)) && top=$Y
    ((X + WIDTH > right)) && right=$((X + WIDTH))
    ((Y + HEIGHT > bottom)) && bottom=$((Y + HEIGHT))
  done
  import -window root "$tmp/root.png"
  convert "$tmp/root.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$prefix-$name.png"
  echo "screenshot $prefix-$name.png"
}

# Keys go to the window that has the input focus; there is no window manager to give it.
press_key() {  # WINDOW KEY
  timeout 10 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
  sleep 0.2
  xdotool key "$2"
}

# A press and release of the left button at a screen position.
press_at() {  # X Y
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.15
  xdotool mouseup 1
}

json() {  # FILE PYTHON-EXPRESSION-ON-d
  "$tool" show "$1" --json | python3 -c 'import json,sys; d=json.load(sys.stdin); print(eval(sys.argv[1]))' "$2"
}

# Sets fields of the installed configuration, named as in its text form: configure
# game-mode 1 board-name '"Classic 4 x 4"' ...
configure() {  # KEY VALUE ...
  "$tool" unpack "$cfg" -o "$tmp/config.txt" || fail "the installed configuration does not unpack"
  python3 - "$tmp/config.txt" "$@" <<'PY' || fail "the configuration text cannot be edited"
import sys
path, pairs = sys.argv[1], sys.argv[2:]
wanted = dict(zip(pairs[0::2], pairs[1::2]))
out = []
for line in open(path, encoding="utf-8").read().splitlines():
    words = line.split(None, 1)
    if words and words[0] in wanted:
        out.append(f"{words[0]} {wanted.pop(words[0])}")
    else:
        out.append(line)
out += [f"{key} {value}" for key, value in wanted.items()]
open(path, "w", encoding="utf-8").write("\n".join(out) + "\n")
PY
  "$tool" pack "$tmp/config.txt" -o "$cfg" || fail "the edited configuration does not pack"
}

# A 3 x 3 floor and a puzzle two moves from its objective: tile 5 slides left into the
# hole, then tile 6 slides up into the hole it left. Sets board_name, puzzle_name,
# puzzle_title, board_w, board_h, board_file and puzzle_file.
install_two_move_puzzle() {
  board_name="E2E Square"
  puzzle_name="E2E Two Moves"
  puzzle_title="Two Step Slide"
  board_w=5
  board_h=5
  board_file=$app/Boards/$board_name.BRD
  puzzle_file=$app/Puzzles/$puzzle_name.PZZ
  cat >"$tmp/board.txt" <<TXT
kind board
title "$board_name"
author "Pavilore Tests"
tile-set "TS - Default"
size $board_w $board_h
steps-per-move 1
grid
## ## ## ## ##
##  1  2  3 ##
##  4  5  6 ##
##  7  8 .. ##
## ## ## ## ##
end
TXT
  cat >"$tmp/puzzle.txt" <<TXT
kind puzzle
title "$puzzle_title"
author "Pavilore Tests"
board "$board_name"
time-limit 900
moves-limit 20
ip
## ## ## ## ##
##  1  2  3 ##
##  4 ..  5 ##
##  7  8  6 ##
## ## ## ## ##
end
op board
TXT
  "$tool" pack "$tmp/board.txt" -o "$board_file" || fail "the board text does not pack"
  "$tool" pack "$tmp/puzzle.txt" -o "$puzzle_file" --boards "$app/Boards" || fail "the puzzle text does not pack"
}

# Starts the game, with the environment given, and waits for its main window with the
# splash gone. Sets main, main_x, main_y, main_w and main_h.
start_game() {  # [NAME=VALUE ...]
  env "$@" "$game" >>"$prefix-game.out" 2>>"$prefix-game.err" &
  game_pid=$!
  main=$(find_window '^Pavilore$' 40) || true
  [ -n "$main" ] || fail "the main window did not appear"
  # The splash goes once the windows are made; wait for it so that it hides nothing.
  wait_gone '^Loading Pavilore$' 20 || fail "the splash window stays up"
  ! xdotool search --onlyvisible --name '^Welcome' >/dev/null 2>&1 ||
    fail "the welcome window came up although the configuration turns it off"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  main_x=$X
  main_y=$Y
  main_w=$WIDTH
  main_h=$HEIGHT
  echo "main window ${WIDTH}x$HEIGHT at $main_x,$main_y"
}

# The play button, second cell of the side panel.
press_play() {
  press_at "$((main_x + main_w - 24))" "$((main_y + 48 + 24))"
}

cell_x() { echo $((main_x + ($1 - 1) * 48 + 24)); }
cell_y() { echo $((main_y + ($1 - 1) * 48 + 24)); }

# Grabs the tile of a cell and drags it into the cell given, 8 pixels at a time.
drag() {  # FROM-X FROM-Y TO-X TO-Y (cells)
  local x y tx ty dx dy
  x=$(cell_x "$1")
  y=$(cell_y "$2")
  tx=$(cell_x "$3")
  ty=$(cell_y "$4")
  dx=$(((tx > x) - (tx < x)))
  dy=$(((ty > y) - (ty < y)))
  xdotool mousemove "$x" "$y"
  sleep 0.15
  xdotool mousedown 1
  sleep 0.15
  while [ "$x" != "$tx" ] || [ "$y" != "$ty" ]; do
    x=$((x + 8 * dx))
    y=$((y + 8 * dy))
    xdotool mousemove "$x" "$y"
    sleep 0.05
  done
  sleep 0.1
  xdotool mouseup 1
  sleep 0.3
}
