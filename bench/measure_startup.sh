#!/usr/bin/env bash
# Measures the start of the game under a virtual X server, on a fresh installation
# in a temporary home, several runs in a row:
#   entry       from launching the process to its main function (loading the libraries);
#   splash      from launching the process to the splash painted on screen;
#   prepared    from the program's entry to every window created (start-up done),
#               the splash's three seconds left out;
#   shown       from launching to the main window's first paint (holds the splash's
#               minimum of three seconds);
#   rss         resident memory of the running game (VmRSS of /proc/PID/status) with
#               the main window shown, and its peak (VmHWM).
# The game prints its moments on stderr when PAVILORE_MEASURE=1.
#
#   bash bench/measure_startup.sh BUILD_DIR [RUNS]
set -euo pipefail

build=$(cd "${1:?usage: measure_startup.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
game=$build/src/pavilore
tool=$build/tools/pavilore-tool
for cmd in Xvfb xdotool python3; do
  command -v "$cmd" >/dev/null || { echo "$cmd is missing" >&2; exit 2; }
done

tmp=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$tool" install >/dev/null

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$tmp/display") QT_QPA_PLATFORM=xcb PAVILORE_MEASURE=1

results=$tmp/results
: >"$results"
for run in $(seq "$runs"); do
  launch=$(date +%s%6N)
  "$game" 2>"$tmp/err" >/dev/null &
  game_pid=$!
  for _ in $(seq 200); do grep -q ' main-painted ' "$tmp/err" && break; sleep 0.05; done
  # A first run asks for a name; answer it, then let the window settle.
  if welcome=$(timeout 5 xdotool search --sync --onlyvisible --name '^Welcome' 2>/dev/null | head -n 1) &&
    [ -n "$welcome" ]; then
    timeout 5 xdotool windowfocus --sync "$welcome" || true
    xdotool type "Bench"
    xdotool key Return
  fi
  sleep 1
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status")
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$game_pid/status")
  main=$(xdotool search --onlyvisible --name '^Pavilore$' | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$main")"
  width_cells=$((WIDTH / 48 - 1))
  xdotool mousemove --window "$main" $((width_cells * 48 + 36)) 10 click 1
  wait "$game_pid" || true
  game_pid=""
  python3 - "$launch" "$rss" "$hwm" "$tmp/err" >>"$results" <<'EOF'
import sys
launch, rss, hwm, err = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
t = {}
for line in open(err):
    parts = line.split()
    if len(parts) == 3 and parts[0] == "pavilore-measure":
        t[parts[1]] = int(parts[2])
print((t["start"] - launch) / 1000, (t["splash-painted"] - launch) / 1000, (t["main-prepared"] - t["start"]) / 1000,
      (t["main-painted"] - launch) / 1000, rss / 1024, hwm / 1024)
EOF
done

# The yardstick: a bare Qt 6 window of the splash's size, launched the same way.
bare=$build/bench/pavilore_bare_window
bare_results=$tmp/bare
: >"$bare_results"
if [ -x "$bare" ]; then
  for run in $(seq "$runs"); do
    launch=$(date +%s%6N)
    timeout 10 "$bare" 2>"$tmp/bare-err" >/dev/null || true
    python3 - "$launch" "$tmp/bare-err" >>"$bare_results" <<'EOF'
import sys
launch, err = int(sys.argv[1]), sys.argv[2]
t = {}
for line in open(err):
    parts = line.split()
    if len(parts) == 3 and parts[0] == "pavilore-measure":
        t[parts[1]] = int(parts[2])
print((t["start"] - launch) / 1000, (t["window-painted"] - launch) / 1000)
EOF
  done
fi

python3 - "$results" "$bare_results" <<'EOF'
import statistics, sys
rows = [list(map(float, l.split())) for l in open(sys.argv[1]) if l.strip()]
names = ["program entry (ms from launch)", "splash on screen (ms from launch)", "windows prepared (ms from entry, no splash wait)",
         "main window painted (ms from launch)", "resident memory VmRSS (MiB)", "peak VmHWM (MiB)"]
print(f"{len(rows)} runs")
for i, name in enumerate(names):
    col = [r[i] for r in rows]
    print(f"{name:50s} median {statistics.median(col):8.1f}  min {min(col):8.1f}  max {max(col):8.1f}")
bare = [list(map(float, l.split())) for l in open(sys.argv[2]) if l.strip()]
for i, name in enumerate(["bare Qt 6 window: entry (ms from launch)", "bare Qt 6 window: painted (ms from launch)"]):
    if bare:
        col = [r[i] for r in bare]
        print(f"{name:50s} median {statistics.median(col):8.1f}  min {min(col):8.1f}  max {max(col):8.1f}")
EOF
