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
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
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

find_window() {  # NAME-PATTERN SECONDS
  timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Presses the close button of the side panel's top cell (its upper right quarter) of
# a main window at (X, Y) over a board WIDTH cells wide, and waits for the game to end
# with status 0.
close_game() {  # X Y WIDTH
  xdotool mousemove "$(($1 + $3 * 48 + 36))" "$(($2 + 12))"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.15
  xdotool mouseup 1
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
