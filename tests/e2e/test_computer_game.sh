#!/usr/bin/env bash
# Matches against the computer at its fastest speed under a virtual X server, on a board
# with a single tile. First the computer plays first and is watched to the end: every
# screenshot of its turn shows its hand over the one cell that holds the tile, never
# anywhere else. In the last match C hurries it, and its time is the simulated one. The
# human's turns are played with real drags. Afterwards the player's log tells every
# match, and the board's difference records agree with it.
#
#   bash tests/e2e/test_computer_game.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts (test_computer_game-*).
set -euo pipefail

build=$(cd "${1:?usage: test_computer_game.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_computer_game
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# --- The installation: a 6 x 4 floor with tile 1 in its upper left corner. ------------

player="E2E Player"
board_name="E2E Lone Tile"
board_w=8
board_h=6
board_file=$app/Boards/$board_name.BRD
cat >"$tmp/board.txt" <<TXT
kind board
title "$board_name"
author "Pavilore Tests"
tile-set "TS - Default"
size $board_w $board_h
steps-per-move 1
grid
## ## ## ## ## ## ## ##
##  1 .. .. .. .. .. ##
## .. .. .. .. .. .. ##
## .. .. .. .. .. .. ##
## .. .. .. .. .. .. ##
## ## ## ## ## ## ## ##
end
TXT
"$tool" pack "$tmp/board.txt" -o "$board_file" || fail "the board text does not pack"
# The computer first, fast, with a long script (a poor accuracy doubles its scramble).
configure game-mode 2 board-name "\"$board_name\"" computer-speed 2 computer-accuracy 0 human-plays-first no \
  use-opponent-time no use-opponent-moves no player-name "\"$player\"" write-log yes sounds-on no music-on no \
  show-welcome no

# The main window's picture as raw RGB bytes.
grab() {  # FILE
  import -window root -crop "${main_w}x${main_h}+${main_x}+${main_y}" +repage -depth 8 "rgb:$1"
}

# Which floor cells of a picture of the main window are not bare floor, and whether
# something (a hand) lies over the tile there: "X Y HAND" lines. The floor reference
# holds every cell bare; the tile reference holds the tile at (2, 2).
cat >"$tmp/cells.py" <<'PY'
import sys
w, h, bw, bh = map(int, sys.argv[1:5])
floor, tile, frame = (open(p, "rb").read() for p in sys.argv[5:8])

def differing(a, ax, ay, b, bx, by):
    n = 0
    for dy in range(48):
        ra = ((ay + dy) * w + ax) * 3
        rb = ((by + dy) * w + bx) * 3
        if a[ra:ra + 48 * 3] == b[rb:rb + 48 * 3]:
            continue
        for dx in range(0, 48 * 3, 3):
            if max(abs(a[ra + dx + k] - b[rb + dx + k]) for k in range(3)) > 48:
                n += 1
    return n

for y in range(2, bh):
    for x in range(2, bw):
        px, py = (x - 1) * 48, (y - 1) * 48
        if differing(frame, px, py, floor, px, py) > 40:
            hand = differing(frame, px, py, tile, 48, 48) > 40
            print(x, y, int(hand))
PY
cells() {  # FRAME
  python3 "$tmp/cells.py" "$main_w" "$main_h" "$board_w" "$board_h" "$tmp/floor.rgb" "$tmp/tile.rgb" "$1"
}

end_window_up() { xdotool search --onlyvisible --name '^CONGRATULATIONS !' >/dev/null 2>&1; }

# The computer's turn, from "Watch .." to the congratulations: screenshots as fast as
# they come, each checked. Sets hand_shots.
watch_computer() {  # NAME
  local n=0 frame occupied
  hand_shots=0
  while ! end_window_up; do
    frame=$tmp/frame.rgb
    grab "$frame"
    # A frame taken while the end window came up is not the board alone.
    end_window_up && break
    occupied=$(cells "$frame")
    n=$((n + 1))
    [ "$(echo "$occupied" | wc -l)" = 1 ] ||
      { cp "$frame" "$prefix-$1-bad.rgb"; fail "screenshot $n of the computer's turn: cells off the floor: $occupied"; }
    if [ "$(echo "$occupied" | cut -d' ' -f3)" = 1 ]; then
      hand_shots=$((hand_shots + 1))
      if ((hand_shots <= 3)); then
        convert -size "${main_w}x$main_h" -depth 8 "rgb:$frame" "$prefix-$1-hand$hand_shots.png"
      fi
    fi
    ((n < 400)) || fail "the computer's turn did not end"
  done
  echo "$1: $n screenshots of the computer's turn, $hand_shots with its hand over the tile"
}

# The human's turn: the tile is found on the board and dragged along its row to column
# 2, then up its column to row 2, where the objective has it.
human_solves() {
  local at x y
  sleep 0.5
  grab "$tmp/frame.rgb"
  at=$(cells "$tmp/frame.rgb")
  [ "$(echo "$at" | wc -l)" = 1 ] || fail "the human's position does not show one tile: $at"
  read -r x y _ <<<"$at"
  echo "the human's tile is at $x,$y"
  if ((x != 2)); then drag "$x" "$y" 2 "$y"; fi
  if ((y != 2)); then drag 2 "$y" 2 2; fi
}

confirm() {  # NAME-PATTERN SHOT-NAME
  local w
  w=$(find_window "$1" 20) || true
  [ -n "$w" ] || fail "no window '$1'"
  [ -z "$2" ] || shot "$2" "$main" "$w"
  press_key "$w" Return
  wait_gone "$1" 10 || fail "Return did not close '$1'"
}

# The end of a match: the human's congratulations, the results, the records if any.
finish_match() {  # NAME
  confirm '^CONGRATULATIONS !' ""
  confirm '^Game Results$' "$1-results"
  if find_window '^Records Information$' 3 >/dev/null; then
    confirm '^Records Information$' "$1-records"
  fi
}

# --- The virtual screen and the game. -----------------------------------------------

start_xvfb
start_game
sleep 0.5
grab "$tmp/tile.rgb"

# --- The computer watched at its own pace. --------------------------------------------
# Its script is as long as the scramble made it, and a scramble of a lone tile can end
# a move or two from the objective: matches are played until a turn long enough to
# watch came up, at most four.

for match in 1 2 3 4; do
  press_play
  start=$(find_window '^Game Against Computer$' 20) || true
  [ -n "$start" ] || fail "the play button did not open the start window of the game against the computer"
  shot "watched$match-start" "$main" "$start"
  press_key "$start" Return
  wait_gone '^Game Against Computer$' 10 || fail "Return did not close the start window"
  # Before the computer's first step (a second after the start) the board shows its
  # scrambled position and no hand: the floor reference of every cell but the tile's
  # comes from the idle board, that of the tile's cell from here.
  grab "$tmp/scrambled.rgb"
  python3 - "$main_w" "$tmp/tile.rgb" "$tmp/scrambled.rgb" "$tmp/floor.rgb" <<'PY'
import sys
w = int(sys.argv[1])
idle, scrambled = bytearray(open(sys.argv[2], "rb").read()), open(sys.argv[3], "rb").read()
for dy in range(48):
    row = ((48 + dy) * w + 48) * 3
    idle[row:row + 48 * 3] = scrambled[row:row + 48 * 3]
open(sys.argv[4], "wb").write(idle)
PY
  watch_computer "watched$match"
  confirm '^CONGRATULATIONS !' ""
  confirm '^Game Against Computer$' "watched$match-human-start"
  human_solves
  finish_match "watched$match"
  ((hand_shots >= 3)) && break
done
((hand_shots >= 3)) || fail "four watched turns were too short to see the computer's hand at work"
watched=$match

# --- Match 2: C hurries the computer. --------------------------------------------------

press_play
confirm '^Game Against Computer$' ""
press_key "$main" c
hurried_at=$(date +%s%N)
find_window '^CONGRATULATIONS !' 30 >/dev/null || fail "the hurried computer did not finish"
hurried_ms=$((($(date +%s%N) - hurried_at) / 1000000))
echo "the hurried turn took $hurried_ms ms"
confirm '^CONGRATULATIONS !' ""
confirm '^Game Against Computer$' ""
human_solves
finish_match hurried
shot board-after "$main"

close_game

# --- The player's log and the board's records. ---------------------------------------

log=$app/Players/$player.TXT
[ -f "$log" ] || fail "no log file $log"
cp "$log" "$prefix-log.txt"
"$tool" show "$board_file" --json >"$prefix-board.json" || fail "the board file no longer reads"
python3 - "$log" "$prefix-board.json" "$board_name" <<'EOF' || fail "the log or the records do not tell the matches (above)"
import json, re, sys
path, board_json, title = sys.argv[1:]
texts = []
for line in open(path, encoding="cp1252").read().splitlines():
    m = re.match(r"^ +\S.*? : (.*)$", line)
    texts.append(m.group(1) if m else line.strip())
started = [i for i, t in enumerate(texts) if t == f"Game against computer started. Board : {title}."]
if len(started) < 2:
    sys.exit(f"{len(started)} matches started in the log, not at least 2")
bot = json.load(open(board_json))["botRecords"][2][0]  # fast, poor
entered = []
for number, first in enumerate(started, 1):
    t = texts[first:first + 8]
    def solved(line):
        m = re.match(r"^Puzzle solved in (\d+) Moves and (\d+) Seconds\.$", line)
        if not m:
            sys.exit(f"match {number}: '{line}' is not a solve")
        return int(m.group(1)), int(m.group(2))
    if t[1] != "Computer's game started. Speed : Fast - Accuracy : Poor.":
        sys.exit(f"match {number}: '{t[1]}' does not start the computer's turn")
    cm, cs = solved(t[2])
    if t[3] != "Player's game started.":
        sys.exit(f"match {number}: '{t[3]}' does not start the player's turn")
    hm, hs = solved(t[4])
    if number == len(started):
        simulated = 0.0
        for _ in range(cm):
            simulated += 0.3
        if cs != int(simulated):
            sys.exit(f"the hurried computer took {cs} s for {cm} moves, not the simulated {int(simulated)}")
    def winner(h, c):
        return "E2E Player" if h < c else "TIE" if h == c else "Computer"
    results = f"Results : 'Fewest Moves' Winner : {winner(hm, cm)} - 'Fastest Time' Winner : {winner(hs, cs)}."
    if t[5] != results:
        sys.exit(f"match {number}: '{t[5]}' is not '{results}'")
    if cm - hm > 0 or cs - hs > 0:
        if not t[6].startswith("Position "):
            sys.exit(f"match {number}: a positive difference without a records line")
        entered.append((cm - hm, cs - hs))
    elif t[6] != "-":
        sys.exit(f"match {number}: '{t[6]}' after the results of a match that entered no records")
    print(f"match {number}: computer {cm} M {cs} S, player {hm} M {hs} S")
moves = sorted((m for m, _ in entered if m > 0), reverse=True)
times = sorted((s for _, s in entered if s > 0), reverse=True)
if [e["value"] for e in bot["moves"][:len(moves)]] != moves or [e["value"] for e in bot["time"][:len(times)]] != times:
    sys.exit(f"the board's records {bot} do not hold the differences {entered}")
EOF

echo "PASS: $((watched + 1)) matches against the computer, one watched with its hand on the tile, one hurried;" \
  "screenshots in $artifacts"
