#!/usr/bin/env bash
# The game on HiDPI screens: started at QT_SCALE_FACTOR 1, 2 and 1.5 on a large
# virtual screen, with the main window and the about window (F9) photographed at each.
# At 2 the pixel art is to stay sharp: the main window is the 1x one with each pixel
# repeated 2 x 2, exactly, and so is the about window's skin (its frame and title row;
# the texts inside are drawn by the system font at full resolution). At 1.5 the
# windows are smoothed, one and a half times as large, and in their places: the
# main window is the 1x one enlarged, nothing cut off. At every scale the about window
# stands where the game puts it: its right edge 72 logical pixels left of the main
# window's, its top 24 below the main window's; and the game's own pointer over the
# board keeps its size, drawn for the scale with its hot spot in the same place.
#
#   bash tests/e2e/test_hidpi.sh BUILD_DIR
#
# Needs Xvfb, xdotool, ImageMagick (import, convert), python3 and libXfixes (the
# pointer's picture, read from the X server). The screenshots are
# kept in BUILD_DIR/e2e-artifacts.
set -euo pipefail

build=$(cd "${1:?usage: test_hidpi.sh BUILD_DIR}" && pwd)
prefix=$build/e2e-artifacts/test_hidpi
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# A screen large enough for the windows at twice their size.
start_xvfb 2560x1600x24
unset QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING

configure player-name '"HiDPI Player"' show-welcome no sounds-on no music-on no

# The pointer the X server shows now: its size, hot spot and opaque pixels on one line
# of FILE, and its picture over grey in FILE.ppm.
read_pointer() {  # FILE
  python3 - "$1" <<'PY'
import ctypes, sys

class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong))]

x11, xfixes = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXfixes.so.3")
x11.XOpenDisplay.restype = ctypes.c_void_p
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
display = x11.XOpenDisplay(None)
image = xfixes.XFixesGetCursorImage(display).contents
w, h = image.width, image.height
argb = [image.pixels[i] & 0xFFFFFFFF for i in range(w * h)]
opaque = sum(1 for p in argb if p >> 24 > 127)
with open(sys.argv[1], "w") as f:
    print(w, h, image.xhot, image.yhot, opaque, file=f)
with open(sys.argv[1] + ".ppm", "wb") as f:  # premultiplied: over grey, c + (255 - a) / 2
    f.write(b"P6 %d %d 255\n" % (w, h))
    f.write(bytes(min(255, ((p >> s) & 255) + (255 - (p >> 24)) // 2) for p in argb for s in (16, 8, 0)))
PY
}

# Starts the game at a scale factor, photographs the main window and the about window,
# and closes the game. Sets about_x, about_y for the about window.
photograph() {  # SCALE
  local scale=$1
  start_game QT_SCALE_FACTOR="$scale"
  shot "main-$scale" "$main"
  xdotool mousemove "$(cell_x 1)" "$(cell_y 1)"
  sleep 0.4
  read_pointer "$prefix-pointer-$scale.txt" || fail "could not read the pointer at scale $scale"
  press_key "$main" F9
  local about
  about=$(find_window '^About Pavilore$' 10) || true
  [ -n "$about" ] || fail "F9 did not open the about window at scale $scale"
  eval "$(xdotool getwindowgeometry --shell "$about")"
  about_x=$X about_y=$Y
  echo "about window ${WIDTH}x$HEIGHT at $X,$Y"
  shot "about-$scale" "$about"
  press_key "$about" Return
  wait_gone '^About Pavilore$' 10 || fail "the about window stays up at scale $scale"
  close_game
}

declare -A place
for scale in 1 2 1.5; do
  photograph "$scale"
  place[$scale]="$main_x $main_y $main_w $main_h $about_x $about_y"
done

# The comparisons: pixel for pixel at 2, close at 1.5; and the placements.
python3 - "$prefix" "${place[1]}" "${place[2]}" "${place[1.5]}" <<'PY' || fail "the windows at 2x or 1.5x are not the 1x ones enlarged"
import subprocess, sys

prefix = sys.argv[1]
places = {s: list(map(int, p.split())) for s, p in zip(("1", "2", "1.5"), sys.argv[2:])}

def load(name, scale=None, sharp=True):
    args = ["convert", f"{prefix}-{name}.png"]
    if scale:
        # -scale repeats pixels at a whole factor; -resize smooths.
        args += ["-scale" if sharp else "-resize", f"{scale * 100:g}%"]
    data = subprocess.run(args + ["-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    head, rest = data.split(b"\n", 1)
    size, rest = rest.split(b"\n", 1)
    _, pixels = rest.split(b"\n", 1)
    w, h = map(int, size.split())
    return w, h, pixels

def differences(a, b, rows=None, skip=None):
    """Pixels that differ between two images of one size, in the rows given, outside
    the rectangle `skip` (left, top, right, bottom)."""
    w, h = a[0], a[1]
    count, worst = 0, 0
    for y in rows if rows is not None else range(h):
        ra, rb = a[2][y * w * 3:(y + 1) * w * 3], b[2][y * w * 3:(y + 1) * w * 3]
        if ra == rb:
            continue
        for x in range(w):
            if skip and skip[0] <= x < skip[2] and skip[1] <= y < skip[3]:
                continue
            d = max(abs(ra[3 * x + i] - rb[3 * x + i]) for i in range(3))
            if d:
                count += 1
                worst = max(worst, d)
    return count, worst

failed = False
def check(ok, text):
    global failed
    print(("ok: " if ok else "FAIL: ") + text)
    failed |= not ok

# Scale 2: the 1x windows with each pixel repeated, exactly.
for name in ("main", "about"):
    one, two = load(f"{name}-1", 2), load(f"{name}-2")
    check(one[:2] == two[:2], f"{name} at 2x is {two[0]}x{two[1]}, twice the 1x size {one[0] // 2}x{one[1] // 2}")
    if one[:2] != two[:2]:
        continue
    # The about window's panel holds system-font texts, drawn at full resolution: only
    # the skin around it (8 pixels of frame, the 48-pixel title row) is pixel art.
    skip = (16, 16, two[0] - 16, two[1] - 112) if name == "about" else None
    count, worst = differences(one, two, skip=skip)
    check(count == 0, f"{name} at 2x against the 1x one repeated 2 x 2: {count} pixels differ (at most by {worst})")

# Scale 1.5: one and a half times the size, the main window close to the 1x one
# enlarged smoothly (only resampling differences, nothing missing or shifted).
main1, main15 = load("main-1", 1.5, sharp=False), load("main-1.5")
check(main1[:2] == main15[:2], f"main at 1.5x is {main15[0]}x{main15[1]}, the 1x one enlarged is {main1[0]}x{main1[1]}")
if main1[:2] == main15[:2]:
    w, h = main1[:2]
    total = 0
    for y in range(h):
        ra, rb = main1[2][y * w * 3:(y + 1) * w * 3], main15[2][y * w * 3:(y + 1) * w * 3]
        total += sum(abs(p - q) for p, q in zip(ra, rb))
    mean = total / (w * h * 3)
    check(mean < 12, f"main at 1.5x against the 1x one enlarged: mean difference {mean:.1f} of 255")
about1, about15 = load("about-1"), load("about-1.5")
check((round(about1[0] * 1.5), round(about1[1] * 1.5)) == about15[:2],
      f"about at 1.5x is {about15[0]}x{about15[1]}, 1.5 times {about1[0]}x{about1[1]}")

# Placement: the about window's right edge 72 logical pixels left of the main
# window's right edge (the side panel shown), 24 below its top, at every scale.
for scale, p in places.items():
    f = float(scale)
    main_x, main_y, main_w, main_h, about_x, about_y = p
    about_w = {"1": about1[0], "2": about1[0] * 2, "1.5": about15[0]}[scale]
    right_gap = (main_x + main_w) - (about_x + about_w)
    top_gap = about_y - main_y
    check(abs(right_gap - 72 * f) <= 1 and abs(top_gap - 24 * f) <= 1,
          f"about at {scale}x: right edge {right_gap} left of the main window's, top {top_gap} below (want {72 * f:g}, {24 * f:g})")

# The pointer over the board: 32 x 32 logical pixels at every scale, its hot spot in
# the middle, and about as much of it opaque (a shape drawn small in a large picture,
# or a 1x picture at 2x, fails).
pointers = {s: list(map(int, open(f"{prefix}-pointer-{s}.txt").read().split())) for s in places}
for scale, (w, h, xhot, yhot, opaque) in pointers.items():
    f = float(scale)
    side, hot = round(32 * f), round(16 * f)
    share = opaque / (w * h) / (pointers["1"][4] / (32 * 32))
    check((w, h, xhot, yhot) == (side, side, hot, hot) and 0.8 < share < 1.25,
          f"pointer at {scale}x: {w}x{h}, hot spot {xhot},{yhot}, {share:.2f} times the 1x share opaque"
          f" (want {side}x{side}, {hot},{hot})")
sys.exit(1 if failed else 0)
PY

echo "PASS: sharp at 2x, smoothed and in place at 1.5x, pointers to scale; screenshots in $artifacts"
