#!/usr/bin/env bash
# Names that try to lead out of the data folder never make the game write outside it.
# The data folder lies deep inside a sandbox folder, with the home folder in the
# sandbox too, so that a name such as "../../../x" would land in the sandbox where it
# can be seen; a valid file waits at each place a hostile name points to. The real
# game is started under a virtual X server once for each hostile configuration: a
# puzzle, board or campaign name holding "..", a campaign whose level is such a name,
# a player's name that is a path, graphics, sound and music names holding "..". Each
# run presses Play, or solves a puzzle so that its records are written, and ends the
# game by its close button. Then every path of the sandbox that changed lies inside
# the data folder, and no file named after a hostile name appeared anywhere else.
#
#   bash tests/e2e/test_hostile_names.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert), python3 and find. Screenshots
# and the game's output are kept in BUILD_DIR/e2e-artifacts (test_hostile_names-*).
set -euo pipefail

build=$(cd "${1:?usage: test_hostile_names.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_hostile_names
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# Every hostile name carries this word, so a file made from one is found by its name.
token=pvesc
sandbox=$tmp/sandbox
app=$sandbox/a/b/c/d/AppFolder
cfg=$app/System/Pavilore.CFG
export HOME=$sandbox/home XDG_DATA_HOME=$sandbox/home/.local/share XDG_CONFIG_HOME=$sandbox/home/.config
# Caches of the libraries the game uses (fonts) are theirs, not the game's.
export XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
"$tool" install "$app" >/dev/null || fail "pavilore-tool install $app failed"
install_two_move_puzzle

# The places the hostile names point to, each holding a valid file of its kind.
# From "Puzzles" (or "Campaigns"), "../../../N" is $sandbox/a/b/c/N; from "Boards",
# "../../N" is $sandbox/a/b/c/d/N: all outside the data folder.
cp "$puzzle_file" "$sandbox/a/b/c/$token-puzzle.PZZ"
cp "$puzzle_file" "$sandbox/a/b/c/$token-level.PZZ"
cp "$board_file" "$sandbox/a/b/c/d/$token-board.BRD"
cp "$board_file" "$sandbox/a/b/c/$token-board.BRD"
# A campaign of the two-move puzzle, outside; and one inside whose level leads out.
campaign() {  # FILE LEVEL-NAME
  python3 - "$1" "$2" <<'PY'
import sys
path, level = sys.argv[1], sys.argv[2].encode()
c = bytearray(13396)
c[0:1 + len(level)] = bytes([len(level)]) + level
title = b"E2E Hostile"
c[13352:13353 + len(title)] = bytes([len(title)]) + title
open(path, "wb").write(c)
PY
}
campaign "$sandbox/a/b/c/$token-campaign.CPN" "$puzzle_name"
campaign "$app/Campaigns/E2E Level Out.CPN" "../../../$token-level"
# A graphics name "GB - ../../../../N" is a path when a folder "GB - .." is there:
# "Graphics/GB - ../../../../N" is then $sandbox/a/b/c/d/N.
mkdir -p "$app/Graphics/GB - .." "$app/Graphics/TS - .."
cp "$app/Graphics/GB - Default.BMP" "$sandbox/a/b/c/d/$token-gb.BMP"
cp "$app/Graphics/TS - Default.BMP" "$sandbox/a/b/c/d/$token-ts.BMP"
# From "Sounds" and "Music", "../../../N" is $sandbox/a/b/c/N.
sounds=("$app/Sounds/"*.WAV)
music=("$app/Music/"*.MID)
cp "${sounds[0]}" "$sandbox/a/b/c/$token-click.WAV"
cp "${music[0]}" "$sandbox/a/b/c/$token-music.MID"

# The sandbox as it is: every path with its size and time of change.
listing() {
  find "$sandbox" -printf '%p\t%y\t%s\t%T@\n' | sort
}

# Each run starts from the installed configuration: a name the game cleared keeps its
# old bytes past its length, which a text made from the file would bring back.
cp "$cfg" "$tmp/installed.CFG"
configure_run() {  # KEY VALUE ...
  cp "$tmp/installed.CFG" "$cfg"
  configure "${plain[@]}" "$@"
}

plain=(game-mode 1 board-name "\"$board_name\"" puzzle-name "\"$puzzle_name\"" campaign-name '""'
  ip-from-puzzle yes op-from-puzzle yes tl-from-puzzle yes ml-from-puzzle yes
  board-graphics '"GB - Default"' tile-set '"TS - Default"' user-tile-set '"TS - Default"'
  player-name '"E2E Hostile"' write-log yes sounds-on no music-on no show-welcome no wheel-moves no)

# Presses Play and confirms the start window, whatever mode it opens.
play() {
  press_play
  local start
  start=$(find_window '^(Single Game|Campaign Mode|Game Against Computer|Level 1)$' 20) || true
  [ -n "$start" ] || fail "$1: the play button opened no start window"
  press_key "$start" Return
  sleep 0.5
}

# The game started with the messages of its start-up answered: Return on each small
# window called Pavilore (a message box) until the main window, the large one, is up.
start_answering() {  # WHAT
  env "$game" >>"$prefix-game.out" 2>>"$prefix-game.err" &
  game_pid=$!
  local _ w answered=0
  main=""
  for _ in $(seq 200); do
    for w in $(xdotool search --onlyvisible --name '^Pavilore$' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      if ((WIDTH >= 240 && HEIGHT >= 240)) && ! xdotool search --onlyvisible --name '^Loading Pavilore$' >/dev/null 2>&1; then
        main=$w
      elif ((WIDTH < 240 || HEIGHT < 240)); then
        shot "$1-message" "$w"
        press_key "$w" Return
        answered=$((answered + 1))
      fi
    done
    [ -n "$main" ] && break
    sleep 0.2
  done
  list_windows >"$prefix-$1-windows.txt"
  [ -n "$main" ] || fail "$1: the main window did not appear"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  main_x=$X main_y=$Y main_w=$WIDTH
  echo "$1: main window ${WIDTH}x$HEIGHT, $answered message(s) answered"
}

marker=$tmp/marker
touch "$marker"
sleep 1  # times of change after the marker's
before=$(listing)
start_xvfb

# --- Graphics, sounds and music named out of the folder; a solve writes records. ----
configure_run board-graphics "\"GB - ../../../../$token-gb\"" tile-set "\"TS - ../../../../$token-ts\"" \
  user-tile-set "\"TS - ../../../../$token-ts\"" music-file "\"../../../$token-music\"" music-on yes \
  sounds-on yes click-sound "\"../../../$token-click\"" move-sound "\"../$token-move\"" \
  solved-sound "\"..\\\\$token-solved\""
start_game
play media
drag 4 3 3 3 # tile 5 left
drag 4 4 4 3 # tile 6 up: solved
solved=$(find_window '^CONGRATULATIONS !$' 20) || true
[ -n "$solved" ] || fail "media: the puzzle was not solved"
shot media-solved "$main" "$solved"
press_key "$solved" Return
wait_gone '^CONGRATULATIONS !$' 10 || fail "media: Return did not close the congratulations window"
sleep 0.5
for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
  [ "$w" = "$main" ] || press_key "$w" Return  # the records window, when the result made one
done
close_game
# The pictures and the music the names point to were not taken.
[ "$(json "$cfg" "d['boardGraphics']") / $(json "$cfg" "d['tileSet']")" = "GB - Default / TS - Default" ] ||
  fail "media: the graphics named out of the folder were kept"
[ "$(json "$cfg" "d['musicOn']")" = False ] || fail "media: the music named out of the folder stayed on"
python3 - "$puzzle_file" <<'PY' || fail "media: the solve wrote no record into the puzzle"
import sys
data = open(sys.argv[1], "rb").read()
assert data[4288 + 304:4288 + 308] != (65000).to_bytes(4, "little"), "no moves record"
PY

# --- Puzzle, board and campaign names that lead out: stale, a game on the first board. ---
stale_run() {  # WHAT KEY VALUE ...
  local what=$1
  shift
  configure_run "$@"
  start_game
  play "$what"
  close_game
}
stale_run puzzle puzzle-name "\"../../../$token-puzzle\""
stale_run puzzle-backslash puzzle-name "\"..\\\\..\\\\..\\\\$token-puzzle\""
stale_run board board-name "\"../../$token-board\""
stale_run board-deeper board-name "\"../../../$token-board\""
stale_run campaign game-mode 3 campaign-name "\"../../../$token-campaign\""

# --- A campaign whose level leads out: refused at start-up with a message. ------------
configure_run game-mode 3 campaign-name '"E2E Level Out"' puzzle-name '""'
start_answering level
play level
close_game

# --- A player's name that is a path: the welcome window asks for another. ------------
configure_run player-name "\"../../$token-player\""
start_answering player
welcome=$(find_window '^Welcome$' 20) || true
[ -n "$welcome" ] || fail "player: no welcome window for a player's name that is a path"
timeout 10 xdotool windowfocus --sync "$welcome" || true
xdotool type --delay 20 "E2E Named"
xdotool key Return
wait_gone '^Welcome$' 10 || fail "player: the welcome window stays"
play player
close_game
[ -f "$app/Players/E2E Named.TXT" ] || fail "player: no log for the name typed in the welcome window"

# --- Nothing changed outside the data folder. -----------------------------------------
after=$(listing)
changed=$(diff <(echo "$before") <(echo "$after") | sed -n 's/^[<>] //p' | cut -f1 | sort -u || true)
[ -n "$changed" ] || fail "nothing changed at all: the runs wrote no records, log or configuration"
outside=$(grep -v -F -x "$app" <<<"$changed" | grep -v -F "$app/" || true)
[ -z "$outside" ] || fail "paths outside the data folder changed: $outside"
echo "$(wc -l <<<"$changed") paths changed, all inside the data folder"
stray=$(find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path "$app" \) -prune -o \
  -newer "$marker" -name "*$token*" -print 2>/dev/null || true)
[ -z "$stray" ] || fail "files named after a hostile name appeared: $stray"
echo "hostile names e2e: ok"
