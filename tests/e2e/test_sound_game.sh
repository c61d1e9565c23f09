#!/usr/bin/env bash
# Plays a single game with sounds and music on, under a virtual X server, with SDL's
# disk driver writing what the player would hear into a file: the game's music plays
# from the start of the game, the button presses click, the moves and the solve make
# their sounds. The recording must hold real sound, the game's standard error no
# noise of the audio libraries.
#
#   bash tests/e2e/test_sound_game.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts (test_sound_game-*).
set -euo pipefail

build=$(cd "${1:?usage: test_sound_game.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_sound_game
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# --- The installation: a 3 x 3 floor and a puzzle two moves from its objective. ------

player="E2E Player"
board_name="E2E Square"
puzzle_name="E2E Two Moves"
puzzle_title="Two Step Slide"
board_w=5
board_h=5
mkdir -p "$tmp/text"

cat >"$tmp/text/board.txt" <<EOF
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
EOF

# Tile 5 slides left into the hole, then tile 6 slides up into the hole it left.
cat >"$tmp/text/puzzle.txt" <<EOF
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
EOF

board_file=$app/Boards/$board_name.BRD
puzzle_file=$app/Puzzles/$puzzle_name.PZZ
"$tool" pack "$tmp/text/board.txt" -o "$board_file" || fail "the board text does not pack"
"$tool" pack "$tmp/text/puzzle.txt" -o "$puzzle_file" --boards "$app/Boards" ||
  fail "the puzzle text does not pack"

# The configuration: a single game of that puzzle, for a known player, with the shipped
# sounds and the selected piece of music.
"$tool" unpack "$cfg" -o "$tmp/text/config.txt" || fail "the installed configuration does not unpack"
python3 - "$tmp/text/config.txt" "$board_name" "$puzzle_name" "$player" <<'EOF'
import sys
path, board, puzzle, player = sys.argv[1:]
wanted = {
    "game-mode": "1",
    "board-name": f'"{board}"',
    "puzzle-name": f'"{puzzle}"',
    "ip-from-puzzle": "yes",
    "op-from-puzzle": "yes",
    "tl-from-puzzle": "yes",
    "ml-from-puzzle": "yes",
    "wheel-moves": "no",
    "player-name": f'"{player}"',
    "write-log": "yes",
    "sounds-on": "yes",
    "click-sound": '"Click"',
    "move-sound": '"Tile Move"',
    "solved-sound": '"Puzzle Solved"',
    "game-over-sound": '"Game Over"',
    "music-on": "yes",
    "music-mode": "1",
    "music-file": '"Morning Tiles"',
    "show-welcome": "no",
}
lines = open(path, encoding="utf-8").read().splitlines()
out = []
for line in lines:
    words = line.split(None, 1)
    if words and words[0] in wanted:
        out.append(f"{words[0]} {wanted.pop(words[0])}")
    else:
        out.append(line)
out += [f"{key} {value}" for key, value in wanted.items()]
open(path, "w", encoding="utf-8").write("\n".join(out) + "\n")
EOF
"$tool" pack "$tmp/text/config.txt" -o "$cfg" || fail "the edited configuration does not pack"

json() {  # FILE PYTHON-EXPRESSION-ON-d
  "$tool" show "$1" --json | python3 -c 'import json,sys; d=json.load(sys.stdin); print(eval(sys.argv[1]))' "$2"
}
[ "$(json "$cfg" 'd["puzzleName"]')" = "$puzzle_name" ] || fail "the configuration does not name the puzzle"
[ "$(json "$cfg" 'd["playerName"]')" = "$player" ] || fail "the configuration does not name the player"
[ "$(json "$cfg" 'd["musicFile"]')" = "Morning Tiles" ] || fail "the configuration does not name the music"
[ -f "$app/Music/Morning Tiles.MID" ] || fail "the installation has no 'Morning Tiles' music"
[ -f "$app/Sounds/Tile Move.WAV" ] || fail "the installation has no 'Tile Move' sound"

# --- The virtual screen and the game. -----------------------------------------------

start_xvfb

wait_gone() {  # NAME-PATTERN SECONDS
  local _
  for _ in $(seq $(($2 * 10))); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
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

# What the player would hear goes into a file: 16-bit stereo samples at 44.1 kHz.
heard=$tmp/heard.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$heard "$game" >"$prefix-game.out" 2>"$prefix-game.err" &
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
[ "$WIDTH" = $(((board_w + 1) * 48)) ] && [ "$HEIGHT" = $(((board_h + 1) * 48)) ] ||
  fail "main window is ${WIDTH}x$HEIGHT, not sized to the $board_w x $board_h board with its side panel"
echo "main window ${WIDTH}x$HEIGHT at $main_x,$main_y"

cell_x() { echo $((main_x + ($1 - 1) * 48 + 24)); }
cell_y() { echo $((main_y + ($1 - 1) * 48 + 24)); }

# --- Play: the start window. --------------------------------------------------------

sleep 0.5
xdotool mousemove "$((main_x + board_w * 48 + 24))" "$((main_y + 48 + 24))"
sleep 0.2
xdotool mousedown 1
sleep 0.15
xdotool mouseup 1

start=$(find_window '^Single Game$' 20) || true
[ -n "$start" ] || fail "the play button did not open the single game start window"
list_windows >"$prefix-windows-start.txt"
shot start "$main" "$start"
press_key "$start" Return
started_at=$(date +%s)
wait_gone '^Single Game$' 10 || fail "Return did not close the start window"

# --- The moves: drag a tile into the neighbouring cell. ------------------------------

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

# The music follows the start of the game after a quarter of a second: let it play.
sleep 2.5
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
[ -n "$info" ] && press_key "$info" Return
wait_gone '^Records Information$' 10 || fail "Return did not close the records-obtained window"
sleep 0.5

close_game "$main_x" "$main_y" "$board_w"

# --- What was heard. ---------------------------------------------------------------

[ -s "$heard" ] || fail "the disk driver recorded nothing at $heard"
python3 - "$heard" "$prefix-loudness.txt" <<'EOF' || fail "the recording is silent or too short (see $prefix-loudness.txt)"
import array, sys
samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    samples.frombytes(f.read())
stretch = 441 * 2  # 10 ms of stereo frames
peaks = [max(abs(v) for v in samples[i:i + stretch]) for i in range(0, len(samples) - stretch + 1, stretch)]
loud = sum(p > 1000 for p in peaks)
with open(sys.argv[2], "w") as out:
    out.write(f"{len(peaks)} stretches of 10 ms, {loud} of them louder than 1000\n")
    out.write(" ".join(str(p) for p in peaks) + "\n")
# The longest sounding run: an effect lasts a moment, the music goes on.
run = longest = 0
for p in peaks:
    run = run + 1 if p > 100 else 0
    longest = max(longest, run)
print(f"recording: {len(peaks) / 100:.1f} s, {loud / 100:.1f} s of it sounding, longest run {longest / 100:.1f} s")
# More than two seconds of music and effects in a game of some four seconds, and the
# music heard on its own between the start and the first move.
sys.exit(0 if loud >= 200 and longest >= 150 else 1)
EOF

if grep -Ei 'alsa lib|fluidsynth|sdl_|snd_' "$prefix-game.err" >/dev/null; then
  fail "the audio libraries talked on the terminal: $(head -n 5 "$prefix-game.err")"
fi
echo "PASS: a game with sound and music was heard"
