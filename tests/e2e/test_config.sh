#!/usr/bin/env bash
# The settings and information windows under a virtual X server, reached with the keys
# of the main window: each opens, is photographed and closes with Escape, first in the
# "GB - Slate" board graphics, then again after the graphics window switched to
# "GB - Default" with the keyboard. Then F11 opens the configuration menu, its F2 the
# game configuration window, the keyboard picks another puzzle there, Enter applies it,
# and the play button starts that puzzle. Afterwards the configuration names the new
# puzzle and its board, and the log tells which puzzle was started.
#
#   bash tests/e2e/test_config.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts (test_config-*).
set -euo pipefail

build=$(cd "${1:?usage: test_config.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_config
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The shipped fifteen puzzle on its 4 x 4 board, in silence, for a known player. The
# sorted puzzle list runs "Fifteen", "Fifteen Sprint", "First Slide": two steps down
# lead to the eight-tile puzzle of the 3 x 3 board.
player="E2E Player"
configure game-mode 1 board-name '"Classic 4 x 4"' puzzle-name '"Fifteen"' \
  ip-from-puzzle yes op-from-puzzle yes tl-from-puzzle yes ml-from-puzzle yes wheel-moves no \
  player-name "\"$player\"" write-log yes sounds-on no music-on no show-welcome no \
  board-graphics '"GB - Slate"'
first_board=$(json "$app/Boards/Classic 4 x 4.BRD" '(d["width"], d["height"])')
next_board=$(json "$app/Boards/Classic 3 x 3.BRD" '(d["width"], d["height"])')
[ "$(json "$app/Puzzles/First Slide.PZZ" 'd["boardName"]')" = "Classic 3 x 3" ] ||
  fail "'First Slide' is no longer a puzzle of the 3 x 3 board"

start_xvfb
start_game
echo "the 4 x 4 board measures $first_board cells, the 3 x 3 board $next_board"

# Every window that a key of the main window opens: its key, its window name and the
# name of its screenshot.
windows=(
  "F11:Configuration:configuration-menu"
  "F12:Information:information-menu"
  "F2:Game Configuration:game-configuration"
  "F3:General Options:options"
  "F4:Graphics Configuration:graphics"
  "p:Custom Picture:custom-picture"
  "F5:Sounds Configuration:sounds"
  "F6:Music Configuration:music"
  "F7:ShortCut List:shortcut-list"
  "F8:Records:records"
  "F9:About Pavilore:about"
)

walk_windows() {  # GRAPHICS
  local entry key title name w colours
  for entry in "${windows[@]}"; do
    IFS=: read -r key title name <<<"$entry"
    press_key "$main" "$key"
    w=$(find_window "^$title\$" 10) || true
    [ -n "$w" ] || fail "$key on the main window did not open '$title' ($1)"
    shot "$1-$name" "$w"
    colours=$(convert "$prefix-$1-$name.png" -format %k info:)
    [ "$colours" -ge 16 ] || fail "'$title' looks blank in $1 ($colours colours)"
    press_key "$w" Escape
    wait_gone "^$title\$" 10 || fail "Escape did not close '$title' ($1)"
  done
}

sleep 0.5
shot slate-main "$main"
walk_windows slate

# The graphics window starts on its OK button; Tab leads to the board graphics list,
# whose entry above "GB - Slate" is "GB - Default": the board changes at once.
press_key "$main" F4
graphics=$(find_window '^Graphics Configuration$' 10) || true
[ -n "$graphics" ] || fail "F4 did not open the graphics window"
press_key "$graphics" Tab
press_key "$graphics" Up
sleep 0.5
shot default-main "$main"
press_key "$graphics" Return
wait_gone '^Graphics Configuration$' 10 || fail "Return did not close the graphics window"
[ "$(compare -metric AE "$prefix-slate-main.png" "$prefix-default-main.png" null: 2>&1 || true)" != 0 ] ||
  fail "the main window looks the same after the board graphics changed"
walk_windows default

# --- Another puzzle through the menu, with the keyboard alone. ---------------------

press_key "$main" F11
menu=$(find_window '^Configuration$' 10) || true
[ -n "$menu" ] || fail "F11 did not show the configuration menu"
press_key "$menu" F2
wait_gone '^Configuration$' 10 || fail "F2 did not close the configuration menu"
config=$(find_window '^Game Configuration$' 10) || true
[ -n "$config" ] || fail "F2 in the configuration menu did not open the game configuration window"
# The window starts on the puzzle list, the file a single game of a puzzle plays.
press_key "$config" Down
press_key "$config" Down
shot picked "$main" "$config"
press_key "$config" Return
wait_gone '^Game Configuration$' 10 || fail "Return did not close the game configuration window"

# The main window took the board of the new puzzle.
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
main_x=$X main_y=$Y main_w=$WIDTH main_h=$HEIGHT
read -r want_w want_h < <(python3 -c "w, h = $next_board; print((w + 1) * 48, (h + 1) * 48)")
[ "$main_w" = "$want_w" ] && [ "$main_h" = "$want_h" ] ||
  fail "the main window is ${main_w}x$main_h after the puzzle of the 3 x 3 board was chosen, not ${want_w}x$want_h"
shot new-board "$main"

press_play
start=$(find_window '^Single Game$' 10) || true
[ -n "$start" ] || fail "the play button did not open the single game start window"
shot start "$main" "$start"
press_key "$start" Return
wait_gone '^Single Game$' 10 || fail "Return did not close the start window"
sleep 0.5
close_game

[ "$(json "$cfg" 'd["puzzleName"]')" = "First Slide" ] || fail "the configuration does not name 'First Slide'"
[ "$(json "$cfg" 'd["boardName"]')" = "Classic 3 x 3" ] || fail "the configuration does not name its board"
[ "$(json "$cfg" 'd["boardGraphics"]')" = "GB - Default" ] || fail "the configuration kept the old board graphics"
log=$app/Players/$player.TXT
cp "$log" "$prefix-log.txt"
grep -q ' : Single game started\. Puzzle : First Slide\.$' "$log" ||
  fail "the log does not say that 'First Slide' was started"

echo "PASS: every settings window opened in both board graphics, another puzzle chosen and started;" \
  "screenshots in $artifacts"
