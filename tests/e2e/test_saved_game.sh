#!/usr/bin/env bash
# Saves a game and takes it up in a later run under a virtual X server: the cheat word
# typed in the game configuration window enables the cheats, one move is played, Ctrl+S
# saves the game and shows its name, the close button ends the program. The next run
# enables the cheats again, Ctrl+L opens the load window, the saved game is picked and
# the last move solves the puzzle with the move counted on from the saved one.
#
#   bash tests/e2e/test_saved_game.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts (test_saved_game-*).
set -euo pipefail

build=$(cd "${1:?usage: test_saved_game.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_saved_game
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

player="E2E Saver"
install_two_move_puzzle
configure game-mode 1 board-name "\"$board_name\"" puzzle-name "\"$puzzle_name\"" \
  ip-from-puzzle yes op-from-puzzle yes tl-from-puzzle yes ml-from-puzzle yes wheel-moves no \
  player-name "\"$player\"" write-log yes sounds-on no music-on no show-welcome no

# F2, the cheat word typed into the game configuration window, Return.
enable_cheats() {
  press_key "$main" F2
  local config
  config=$(find_window '^Game Configuration$' 20) || true
  [ -n "$config" ] || fail "F2 did not open the game configuration window"
  sleep 0.3
  xdotool type --delay 40 ZEPHYRMOVE
  shot "cheats-$1" "$config"
  press_key "$config" Return
  wait_gone '^Game Configuration$' 10 || fail "Return did not close the game configuration window"
}

start_xvfb

# --- The first run: one move, then Ctrl+S. ------------------------------------------

start_game
enable_cheats first
sleep 0.3
press_play
start=$(find_window '^Single Game$' 20) || true
[ -n "$start" ] || fail "the play button did not open the single game start window"
press_key "$start" Return
wait_gone '^Single Game$' 10 || fail "Return did not close the start window"
sleep 0.3
drag 4 3 3 3 # tile 5 left: one move from the objective
press_key "$main" ctrl+s
saved=$(find_window '^Game Saved$' 20) || true
[ -n "$saved" ] || fail "Ctrl+S did not show the saved-game window"
shot saved "$main" "$saved"
press_key "$saved" Return
wait_gone '^Game Saved$' 10 || fail "Return did not close the saved-game window"
close_game

files=("$app/Saved Games/"*.SGM)
[ "${#files[@]}" = 1 ] && [ -f "${files[0]}" ] || fail "not one saved game in $app/Saved Games: ${files[*]}"
name=$(basename "${files[0]}" .SGM)
echo "saved as '$name'"
case $name in
*"Single Game, Puzzle '$puzzle_name'") ;;
*) fail "the saved game's name '$name' does not end with the game it holds" ;;
esac
[[ $name != */* && $name != *:* ]] || fail "the saved game's name '$name' holds a slash or colon"

# --- The second run: Ctrl+L, the saved game, the last move. -------------------------

start_game
enable_cheats second
press_key "$main" ctrl+l
load=$(find_window '^Load Game$' 20) || true
[ -n "$load" ] || fail "Ctrl+L did not open the load window"
press_key "$load" Down
shot load "$main" "$load"
press_key "$load" Return
wait_gone '^Load Game$' 10 || fail "Return did not close the load window"
shot loaded "$main"
drag 4 4 4 3 # tile 6 up: solved

solved=$(find_window '^CONGRATULATIONS !$' 20) || true
[ -n "$solved" ] || fail "no 'CONGRATULATIONS !' window after the move that solves the loaded game"
shot solved "$main" "$solved"
press_key "$solved" Return
wait_gone '^CONGRATULATIONS !$' 10 || fail "Return did not close the congratulations window"
close_game

# --- The player's log tells both runs. ----------------------------------------------

log=$app/Players/$player.TXT
[ -f "$log" ] || fail "no log file $log"
cp "$log" "$prefix-log.txt"
python3 - "$log" "$name" <<'EOF' || fail "the player's log does not tell the saved and loaded game (above)"
import re, sys
path, name = sys.argv[1:]
texts = []
for line in open(path, encoding="cp1252").read().splitlines():
    m = re.match(r"^ +\S.*? : (.*)$", line)
    texts.append(m.group(1) if m else line)
wanted = ["*  Cheats enabled  *", "Game saved.", "*  Cheats enabled  *", f"Game loaded : '{name}'.",
          "Puzzle solved in 2 Moves"]
at = 0
for text in texts:
    if at < len(wanted) and text.startswith(wanted[at]):
        at += 1
if at < len(wanted):
    print(f"missing or out of order: {wanted[at]!r}", file=sys.stderr)
    print("\n".join(texts), file=sys.stderr)
    sys.exit(1)
EOF
echo "saved game e2e: ok"
