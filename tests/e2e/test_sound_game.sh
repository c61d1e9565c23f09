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
install_two_move_puzzle

# The configuration: a single game of that puzzle, for a known player, with the shipped
# sounds and the selected piece of music.
configure game-mode 1 board-name "\"$board_name\"" puzzle-name "\"$puzzle_name\"" \
  ip-from-puzzle yes op-from-puzzle yes tl-from-puzzle yes ml-from-puzzle yes wheel-moves no \
  player-name "\"$player\"" write-log yes show-welcome no \
  sounds-on yes click-sound '"Click"' move-sound '"Tile Move"' solved-sound '"Puzzle Solved"' \
  game-over-sound '"Game Over"' music-on yes music-mode 1 music-file '"Morning Tiles"'

[ "$(json "$cfg" 'd["puzzleName"]')" = "$puzzle_name" ] || fail "the configuration does not name the puzzle"
[ "$(json "$cfg" 'd["musicFile"]')" = "Morning Tiles" ] || fail "the configuration does not name the music"
[ -f "$app/Music/Morning Tiles.MID" ] || fail "the installation has no 'Morning Tiles' music"
[ -f "$app/Sounds/Tile Move.WAV" ] || fail "the installation has no 'Tile Move' sound"

# --- The virtual screen and the game. -----------------------------------------------

start_xvfb

# What the player would hear goes into a file: 16-bit stereo samples at 44.1 kHz.
heard=$tmp/heard.raw
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$heard"

# --- Play: the start window. --------------------------------------------------------

sleep 0.5
press_play

start=$(find_window '^Single Game$' 20) || true
[ -n "$start" ] || fail "the play button did not open the single game start window"
list_windows >"$prefix-windows-start.txt"
shot start "$main" "$start"
press_key "$start" Return
wait_gone '^Single Game$' 10 || fail "Return did not close the start window"

# --- The moves: drag a tile into the neighbouring cell. ------------------------------

# The music follows the start of the game after a quarter of a second: let it play.
sleep 2.5
drag 4 3 3 3  # tile 5 left
shot board-mid-game "$main"
drag 4 4 4 3  # tile 6 up: solved

solved=$(find_window '^CONGRATULATIONS !$' 20) || true
[ -n "$solved" ] || fail "no 'CONGRATULATIONS !' window after the two moves (the puzzle was not solved)"
list_windows >"$prefix-windows-solved.txt"
shot solved "$main" "$solved"
press_key "$solved" Return
wait_gone '^CONGRATULATIONS !$' 10 || fail "Return did not close the congratulations window"

info=$(find_window '^Records Information$' 20) || true
[ -n "$info" ] && press_key "$info" Return
wait_gone '^Records Information$' 10 || fail "Return did not close the records-obtained window"
sleep 0.5

close_game

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
