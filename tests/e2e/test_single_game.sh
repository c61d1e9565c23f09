#!/usr/bin/env bash
# Plays a whole single game on a small prepared installation under a virtual X server:
# the play button opens the start window, two tile drags solve the puzzle, the
# congratulations window and the records-obtained window follow, and the close button
# ends the program. Afterwards the puzzle file holds the new records and the player's
# log tells the story of the game.
#
#   bash tests/e2e/test_single_game.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts (test_single_game-*).
set -euo pipefail

build=$(cd "${1:?usage: test_single_game.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_single_game
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# --- The installation: a 3 x 3 floor and a puzzle two moves from its objective. ------

player="E2E Player"
install_two_move_puzzle

# The configuration: a single game of that puzzle, for a known player, in silence.
configure game-mode 1 board-name "\"$board_name\"" puzzle-name "\"$puzzle_name\"" \
  ip-from-puzzle yes op-from-puzzle yes tl-from-puzzle yes ml-from-puzzle yes wheel-moves no \
  player-name "\"$player\"" write-log yes sounds-on no music-on no show-welcome no

[ "$(json "$cfg" 'd["puzzleName"]')" = "$puzzle_name" ] || fail "the configuration does not name the puzzle"
[ "$(json "$cfg" 'd["playerName"]')" = "$player" ] || fail "the configuration does not name the player"
[ "$(json "$puzzle_file" 'd["records"]["moves"][0]["value"]')" = 65000 ] ||
  fail "the new puzzle's records are not empty"

# --- The virtual screen and the game. -----------------------------------------------

start_xvfb
start_game
[ "$main_w" = $(((board_w + 1) * 48)) ] && [ "$main_h" = $(((board_h + 1) * 48)) ] ||
  fail "main window is ${main_w}x$main_h, not sized to the $board_w x $board_h board with its side panel"

# --- Play: the start window. --------------------------------------------------------

sleep 0.5
press_play

start=$(find_window '^Single Game$' 20) || true
[ -n "$start" ] || fail "the play button did not open the single game start window"
list_windows >"$prefix-windows-start.txt"
shot start "$main" "$start"
press_key "$start" Return
started_at=$(date +%s)
wait_gone '^Single Game$' 10 || fail "Return did not close the start window"

# --- The moves: drag a tile into the neighbouring cell. ------------------------------

sleep 0.3
drag 4 3 3 3  # tile 5 left
shot board-mid-game "$main"
drag 4 4 4 3  # tile 6 up: solved

solved=$(find_window '^CONGRATULATIONS !$' 20) || true
[ -n "$solved" ] || fail "no 'CONGRATULATIONS !' window after the two moves (the puzzle was not solved)"
solved_at=$(date +%s)
list_windows >"$prefix-windows-solved.txt"
shot solved "$main" "$solved"
press_key "$solved" Return
wait_gone '^CONGRATULATIONS !$' 10 || fail "Return did not close the congratulations window"

info=$(find_window '^Records Information$' 20) || true
[ -n "$info" ] || fail "no records-obtained window after a first solve of a puzzle with empty records"
eval "$(xdotool getwindowgeometry --shell "$info")"
((WIDTH > 0 && HEIGHT > 0)) || fail "the records-obtained window has no size"
shot records "$main" "$info"
colours=$(convert "$prefix-records.png" -format %k info:)
[ "$colours" -ge 16 ] || fail "the records-obtained window looks blank ($colours colours)"
press_key "$info" Return
wait_gone '^Records Information$' 10 || fail "Return did not close the records-obtained window"
shot board-solved "$main"

# --- Close with the side panel's close button. -------------------------------------

close_game

# --- The puzzle's records and the player's log. ------------------------------------

"$tool" show "$puzzle_file" --json >"$prefix-puzzle.json" || fail "the puzzle file no longer reads"
IFS=$'\t' read -r time_name time_value moves_name moves_value second_time second_moves < <(python3 - "$prefix-puzzle.json" <<'EOF'
import json, sys
r = json.load(open(sys.argv[1]))["records"]
print("\t".join(str(v) for v in (r["time"][0]["name"], r["time"][0]["value"], r["moves"][0]["name"],
                                 r["moves"][0]["value"], r["time"][1]["value"], r["moves"][1]["value"])))
EOF
) || fail "the puzzle's records do not read"
[ "$time_name" = "$player" ] || fail "position 1 of 'Fastest Times' holds '$time_name', not '$player'"
[ "$moves_name" = "$player" ] || fail "position 1 of 'Fewest Moves' holds '$moves_name', not '$player'"
[ "$moves_value" = 2 ] || fail "position 1 of 'Fewest Moves' holds $moves_value moves, not 2"
[ "$second_time" = 65000 ] && [ "$second_moves" = 65000 ] || fail "position 2 of the puzzle's lists is no longer empty"
# The clock ticks once a second at most: it cannot have counted more than the time between
# the start and the congratulations.
((time_value >= 0 && time_value <= solved_at - started_at + 1)) ||
  fail "position 1 of 'Fastest Times' holds $time_value seconds, for a game of $((solved_at - started_at)) s"
[ "$(json "$board_file" 'd["records"]["moves"][0]["value"]')" = 65000 ] ||
  fail "the board's records changed although the game was played on the puzzle's"

log=$app/Players/$player.TXT
[ -f "$log" ] || fail "no log file $log"
cp "$log" "$prefix-log.txt"
python3 - "$log" "$puzzle_title" "$time_value" <<'EOF' || fail "the player's log does not tell the game (above)"
import re, sys
path, title, seconds = sys.argv[1:]
lines = open(path, encoding="cp1252").read().splitlines()
# A time-stamped line: a space, the date, a space, the time, " : " and the text.
stamped = {}
for number, line in enumerate(lines):
    m = re.match(r"^ +\S.*? : (.*)$", line)
    if m and m.group(1) not in stamped:
        stamped[m.group(1)] = number
wanted = [f"Single game started. Puzzle : {title}.",
          f"Puzzle solved in 2 Moves and {seconds} Seconds.",
          "Position 1 obtained in the 'Fewest Moves' records, and 1 in the 'Fastest Times' records."]
missing = [text for text in wanted if text not in stamped]
if missing:
    sys.exit("no time-stamped line " + ", ".join(f"'{t}'" for t in missing) + " in the log")
numbers = [stamped[text] for text in wanted]
if numbers != sorted(numbers):
    sys.exit(f"the start, the solve and the records are out of order in the log (lines {numbers})")
after = numbers[-1] + 1
if after >= len(lines) or lines[after].strip() != "-":
    sys.exit("the records line in the log is not followed by ' -'")
EOF

echo "PASS: a single game played, solved in 2 moves and $time_value s, records and log written;" \
  "screenshots in $artifacts"
