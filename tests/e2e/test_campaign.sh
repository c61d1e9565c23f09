#!/usr/bin/env bash
# Plays the shipped campaign "First Steps" from its first level to "Completed !" under a
# virtual X server, every move a real pointer drag: the pushes that take each level
# back to its objective come from the level's text through pavilore-tool. Each level
# window is checked for its turn and the main window for the level's board size.
# Afterwards the campaign file holds the player's records and the log tells the
# campaign level by level.
#
#   bash tests/e2e/test_campaign.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert) and python3. Screenshots and the
# game's output are kept in BUILD_DIR/e2e-artifacts (test_campaign-*).
set -euo pipefail

build=$(cd "${1:?usage: test_campaign.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_campaign
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
data=$(cd "$(dirname "$0")/../../data" && pwd)

player="E2E Player"
campaign="First Steps"
campaign_file=$app/Campaigns/$campaign.CPN
first_board=$(json "$app/Puzzles/Campaign Levels/Warm Up.PZZ" 'd["boardName"]')
configure game-mode 3 campaign-name "\"$campaign\"" board-name "\"$first_board\"" ip-from-puzzle yes \
  puzzle-name '""' player-name "\"$player\"" write-log yes sounds-on no music-on no show-welcome no
mapfile -t levels < <(json "$campaign_file" '"\n".join(d["levels"])')
((${#levels[@]} == 5)) || fail "the campaign has ${#levels[@]} levels, not 5"

# A push as a player drags it: the tile grabbed in the middle of its cell, the pointer
# moved 8 pixels at a time until the game sees the next cell (8 pixels before its edge).
gesture() {  # X Y DIRECTION
  local x y dx=0 dy=0 n step
  x=$(cell_x "$1")
  y=$(cell_y "$2")
  case $3 in
    1) dx=-1 n=33 ;;
    2) dx=1 n=16 ;;
    3) dy=-1 n=33 ;;
    4) dy=1 n=16 ;;
  esac
  xdotool mousemove "$x" "$y"
  sleep 0.05
  xdotool mousedown 1
  sleep 0.05
  for step in 8 16 24 32 33; do
    ((step <= n)) || break
    xdotool mousemove $((x + dx * step)) $((y + dy * step))
    sleep 0.03
  done
  xdotool mouseup 1
  sleep 0.08
}

start_xvfb
start_game

press_play
total_moves=0
for l in "${!levels[@]}"; do
  level=$((l + 1))
  name=${levels[$l]}
  window=$(find_window '^Campaign Mode$' 20) || true
  [ -n "$window" ] || fail "no level window before level $level"
  shot "level$level" "$main" "$window"
  # The main window has taken the level's board.
  text=$data/Puzzles/Campaign\ Levels/$name.txt
  [ -f "$text" ] || text=$data/Puzzles/$name.txt
  board=$(json "$app/Puzzles/Campaign Levels/$name.PZZ" 'd["boardName"]')
  width=$(json "$app/Boards/$board.BRD" 'd["width"]')
  height=$(json "$app/Boards/$board.BRD" 'd["height"]')
  eval "$(xdotool getwindowgeometry --shell "$main")"
  main_x=$X main_y=$Y main_w=$WIDTH main_h=$HEIGHT
  [ "$main_w" = $(((width + 1) * 48)) ] && [ "$main_h" = $(((height + 1) * 48)) ] ||
    fail "level $level: the main window is ${main_w}x$main_h, not sized to the $width x $height board"
  press_key "$window" Return
  wait_gone '^Campaign Mode$' 10 || fail "Return did not close the level window of level $level"
  sleep 0.3
  read -ra pushes < <("$tool" pack "$text" -o "$tmp/level.PZZ" --boards "$app/Boards" --solution) ||
    fail "no solution for level $level"
  echo "level $level ($name): ${#pushes[@]} moves"
  for p in "${pushes[@]}"; do
    gesture ${p//,/ }
  done
  total_moves=$((total_moves + ${#pushes[@]}))
  solved=$(find_window '^CONGRATULATIONS !' 20) || true
  [ -n "$solved" ] || fail "level $level was not solved by its ${#pushes[@]} drags"
  press_key "$solved" Return
  wait_gone '^CONGRATULATIONS !' 10 || fail "Return did not close the congratulations of level $level"
done

result=$(find_window '^Campaign Results$' 20) || true
[ -n "$result" ] || fail "no campaign result window after the last level"
shot completed "$main" "$result"
press_key "$result" Return
wait_gone '^Campaign Results$' 10 || fail "Return did not close the campaign result window"
info=$(find_window '^Records Information$' 20) || true
[ -n "$info" ] || fail "no records-obtained window after a first completion of the campaign"
shot records "$main" "$info"
press_key "$info" Return
wait_gone '^Records Information$' 10 || fail "Return did not close the records-obtained window"
sleep 0.3
shot first-level-again "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
main_x=$X main_y=$Y main_w=$WIDTH main_h=$HEIGHT
close_game

# --- The campaign's records and the player's log. -----------------------------------

[ "$(json "$campaign_file" 'd["records"]["moves"][0]["name"]')" = "$player" ] ||
  fail "position 1 of the campaign's 'Fewest Moves' does not hold the player"
[ "$(json "$campaign_file" 'd["records"]["moves"][0]["value"]')" = "$total_moves" ] ||
  fail "position 1 of the campaign's 'Fewest Moves' does not hold the $total_moves moves played"
log=$app/Players/$player.TXT
cp "$log" "$prefix-log.txt"
python3 - "$log" "$total_moves" "${levels[@]}" <<'EOF' || fail "the player's log does not tell the campaign (above)"
import re, sys
path, total, names = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
texts = []
for line in open(path, encoding="cp1252").read().splitlines():
    m = re.match(r"^ +\S.*? : (.*)$", line)
    texts.append(m.group(1) if m else line.strip())
start = texts.index("Campaign game started. Campaign : First Steps.")
t = texts[start + 1:]
for level in range(1, len(names) + 1):
    if t[2 * level - 2] != f"Level {level} of {len(names)} started.":
        sys.exit(f"'{t[2 * level - 2]}' is not the start of level {level}")
    if not re.match(r"^Puzzle solved in \d+ Moves and \d+ Seconds\.$", t[2 * level - 1]):
        sys.exit(f"'{t[2 * level - 1]}' is not the solve of level {level}")
end = t[2 * len(names)]
m = re.match(r"^Campaign completed in (\d+) Moves and (\d+) Seconds\.$", end)
if not m or int(m.group(1)) != total:
    sys.exit(f"'{end}' does not complete the campaign in {total} moves")
if not t[2 * len(names) + 1].startswith("Position 1 obtained in the 'Fewest Moves' records"):
    sys.exit(f"'{t[2 * len(names) + 1]}' does not report the campaign's records")
EOF

echo "PASS: the campaign '$campaign' played through in $total_moves drags; screenshots in $artifacts"
