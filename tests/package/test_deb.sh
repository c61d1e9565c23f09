#!/usr/bin/env bash
# The Debian package on this machine: builds it (scripts/package), installs it with
# apt-get, runs /usr/games/pavilore --version, starts the game from the Exec line of the
# installed desktop entry for a player with no data folder yet (a fresh home) under a
# virtual X server and waits for the welcome window of a first run, then removes the
# package and checks that its programs are gone.
#
#   bash tests/package/test_deb.sh [BUILD_DIR]     (default build-pkg)
#
# It installs and removes system packages, so it is not part of the ctest suite; it
# needs root or sudo, Xvfb, xdotool and ImageMagick's import. The screen of the welcome
# window, or of a failure, and the game's output are kept in BUILD_DIR/package-artifacts.
set -euo pipefail
cd "$(dirname "$0")/../.."

dir=${1:-build-pkg}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

tmp=$(mktemp -d)
xvfb_pid=""
game_pid=""
installed=""
artifacts=""

fail() {
  echo "FAIL: $*" >&2
  if [ -n "$xvfb_pid" ] && [ -n "$artifacts" ]; then
    import -window root "$artifacts/failure.png" 2>/dev/null && echo "screen at the failure: $artifacts/failure.png" >&2
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
  # A failure half-way leaves no package behind.
  if [ -n "$installed" ]; then
    $SUDO apt-get remove -y -qq pavilore >/dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

for cmd in Xvfb xdotool import timeout apt-get dpkg-deb; do
  command -v "$cmd" >/dev/null || fail "$cmd is missing (scripts/deps installs it)"
done

echo "== Building the package"
deb=$(scripts/package "$dir" | tail -n 1)
[ -f "$deb" ] || fail "scripts/package gave no .deb ('$deb')"
version=$(dpkg-deb -f "$deb" Version)
artifacts=$(dirname "$deb")/package-artifacts
mkdir -p "$artifacts"
rm -f "$artifacts"/*
echo "$deb, version $version"

echo "== Installing it"
installed=yes
$SUDO apt-get install -y -qq "$deb" >"$artifacts/apt-install.log" 2>&1 ||
  fail "apt-get install $deb failed: $(tail -n 5 "$artifacts/apt-install.log")"
[ -x /usr/games/pavilore ] || fail "the package installs no /usr/games/pavilore"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/games/pavilore --version) || fail "/usr/games/pavilore --version failed"
[ "$out" = "Pavilore $version" ] || fail "/usr/games/pavilore --version printed '$out', not 'Pavilore $version'"
echo "/usr/games/pavilore --version: $out"

# The desktop entry the package installed, and the command its Exec line runs, without
# the field codes a launcher would fill in.
desktop=$(dpkg -L pavilore | grep '^/usr/share/applications/.*\.desktop$' | head -n 1)
[ -n "$desktop" ] || fail "the package installs no desktop entry"
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
read -r -a command <<<"${exec_line//%[fFuUick]/}"
[ ${#command[@]} -gt 0 ] || fail "$desktop has no Exec line"
echo "starting '${command[*]}' from $desktop"

# A player who never played: a home of its own with no data folder and no settings.
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.1
done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=:$(head -n 1 "$tmp/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

"${command[@]}" >"$artifacts/game.out" 2>"$artifacts/game.err" &
game_pid=$!

# The first start puts the default installation in place, then the welcome window of a
# first run asks for the player's name.
welcome=$(timeout 60 xdotool search --sync --onlyvisible --name '^Welcome' 2>/dev/null | head -n 1) || true
if [ -z "$welcome" ]; then
  windows=$(for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf "'%s' " "$(xdotool getwindowname "$w" 2>/dev/null)"
  done)
  kill -0 "$game_pid" 2>/dev/null && state="still running" || state="ended"
  fail "no welcome window within 60 s (the game has $state; windows: ${windows:-none}; stderr: $(head -c 600 "$artifacts/game.err"))"
fi
sleep 0.4
import -window root "$artifacts/welcome.png"
echo "welcome window on screen: $artifacts/welcome.png"
[ -f "$XDG_DATA_HOME/Pavilore/System/Pavilore.CFG" ] ||
  fail "the first start left no data folder at $XDG_DATA_HOME/Pavilore"

kill "$game_pid"
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -9 "$game_pid" 2>/dev/null || true
wait "$game_pid" 2>/dev/null || true
game_pid=""

echo "== Removing it"
$SUDO apt-get remove -y -qq pavilore >"$artifacts/apt-remove.log" 2>&1 ||
  fail "apt-get remove pavilore failed: $(tail -n 5 "$artifacts/apt-remove.log")"
installed=""
[ ! -e /usr/games/pavilore ] || fail "/usr/games/pavilore is still there after apt-get remove"
[ ! -e /usr/bin/pavilore-tool ] || fail "/usr/bin/pavilore-tool is still there after apt-get remove"
[ ! -e /usr/share/pavilore ] || fail "/usr/share/pavilore is still there after apt-get remove"
echo "PASS: installed, started to the welcome window of a first run, removed"
