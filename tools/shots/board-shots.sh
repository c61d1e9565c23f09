#!/bin/sh
# Draws every board of the installation image in every pairing of board
# graphics and tile set with the game's own renderer, one PNG file for each,
# so that all of them can be looked at side by side.
#
#   tools/shots/board-shots.sh OUT [BUILD]
#
# OUT is the folder for the pictures (made if missing); BUILD the build folder
# (default: build), which must hold the GUI tests and the installation image
# share/pavilore. Files are named "<board graphics> + <tile set> - <board>.png";
# for the first board also the top-left and bottom-right corners, enlarged.
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 OUT [BUILD]" >&2
  exit 2
fi
out=$1
build=${2:-build}
tests="$build/tests/pavilore_gui_tests"
share="$build/share/pavilore"

if [ ! -x "$tests" ]; then
  echo "$0: no $tests; build the project with its tests first" >&2
  exit 1
fi
if [ ! -d "$share/Graphics" ] || [ ! -d "$share/Boards" ]; then
  echo "$0: no installation image in $share; build the target pavilore_data" >&2
  exit 1
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
share=$(cd "$share" && pwd)

PAVILORE_SHARE_DIR=$share PAVILORE_RENDER_DIR=$out QT_QPA_PLATFORM=offscreen \
  "$tests" --gtest_filter=ShippedBoardsTest.RenderEveryBoardInEveryGraphicsSet --gtest_brief=1 >&2

count=$(find "$out" -maxdepth 1 -name '*.png' | wc -l)
echo "$count pictures in $out"
