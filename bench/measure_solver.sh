#!/usr/bin/env bash
# Solves every puzzle of an installation and prints a table for docs/performance.md:
# the answer, the time and the peak memory of each solve.
#   bench/measure_solver.sh BUILD_DIR [INSTALLATION] [SECONDS]
set -euo pipefail
build=${1:?usage: bench/measure_solver.sh BUILD_DIR [INSTALLATION] [SECONDS]}
share=${2:-$build/share/pavilore}
seconds=${3:-10}
tool=$build/tools/pavilore-tool
echo "| puzzle | answer | fewest moves | time (s) | peak memory (MiB) |"
echo "|---|---|---|---|---|"
for p in "$share"/Puzzles/*.PZZ "$share"/Puzzles/Campaign\ Levels/*.PZZ; do
  [ -e "$p" ] || continue
  stats=$(mktemp)
  json=$(/usr/bin/time -f "%e %M" -o "$stats" "$tool" solve "$p" --seconds "$seconds" --json)
  read -r elapsed kib < "$stats"
  rm -f "$stats"
  python3 - "$p" "$share" "$json" "$elapsed" "$kib" <<'PY'
import json, os, sys
path, share, text, elapsed, kib = sys.argv[1:]
j = json.loads(text)
if j["status"] == "optimal":
    fewest = str(j["moves"])
elif j["status"] == "not proven":
    fewest = f'{j["lowerBound"]} to {j["moves"]}' if j["moves"] is not None else f'at least {j["lowerBound"]}'
else:
    fewest = "-"
name = os.path.relpath(path, share)[len("Puzzles/"):-4]
print(f'| {name} | {j["status"]} | {fewest} | {float(elapsed):.2f} | {int(kib) / 1024:.0f} |')
PY
done
