#!/usr/bin/env bash
# Installs a build into a temporary prefix, as `cmake --install` does for a package,
# and checks what lands there: the two programs and their --version, the installation
# image that the installed pavilore-tool finds beside itself, the desktop entry, the
# icon at each size of the theme, the AppStream metadata and the manual pages, each
# with the validator the desktop uses.
#
#   bash tests/package/test_install.sh BUILD_DIR VERSION APP_ID
#
# Needs desktop-file-validate (desktop-file-utils), appstreamcli (appstream), groff
# (groff-base) and python3.
set -euo pipefail

build=${1:?usage: test_install.sh BUILD_DIR VERSION APP_ID}
version=${2:?usage: test_install.sh BUILD_DIR VERSION APP_ID}
id=${3:?usage: test_install.sh BUILD_DIR VERSION APP_ID}

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for cmd in desktop-file-validate appstreamcli groff python3; do
  command -v "$cmd" >/dev/null || { echo "FAIL: $cmd is missing (scripts/deps installs it)" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log" >&2; exit 1; }

# The programs. --version needs no display: no window may be opened for it.
for program in pavilore pavilore-tool; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
expect_output() {  # EXPECTED COMMAND...
  local out status=0
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "${@:2}" 2>"$tmp/stderr") || status=$?
  [ "$status" = 0 ] || fail "${*:2} ended with status $status: $(cat "$tmp/stderr")"
  [ "$out" = "$1" ] || fail "${*:2} printed '$out', not '$1'"
}
expect_output "Pavilore $version" "$prefix/bin/pavilore" --version
expect_output "pavilore-tool $version" "$prefix/bin/pavilore-tool" --version
"$prefix/bin/pavilore-tool" --help 2>/dev/null | grep -q '^usage: pavilore-tool' ||
  fail "pavilore-tool --help prints no usage on standard output"
"$prefix/bin/pavilore" --help 2>/dev/null | grep -q '^usage: pavilore' ||
  fail "pavilore --help prints no usage on standard output"

# The installation image, whole, and found by the installed tool on its own.
image=$prefix/share/pavilore
"$prefix/bin/pavilore-tool" check "$image" || fail "the installed image does not pass pavilore-tool check"
mkdir -p "$tmp/home" "$tmp/data" "$tmp/config"
HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config \
  "$prefix/bin/pavilore-tool" install >"$tmp/player-install.log" 2>&1 ||
  fail "the installed pavilore-tool does not find its image: $(cat "$tmp/player-install.log")"
(cd "$image" && find . -type f | sort) >"$tmp/image.list"
(cd "$tmp/data/Pavilore" && find . -type f | sort) >"$tmp/player.list" 2>/dev/null || true
cmp -s "$tmp/image.list" "$tmp/player.list" || fail "the player's installation differs from the image"

# The desktop entry: valid, starting the installed program, with the icon's name.
desktop=$prefix/share/applications/$id.desktop
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" >"$tmp/desktop.log" 2>&1 || true
  [ ! -s "$tmp/desktop.log" ] || fail "desktop-file-validate: $(cat "$tmp/desktop.log")"
  grep -qx 'Exec=pavilore' "$desktop" || fail "the desktop entry does not start pavilore"
  grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
  grep -qx 'Categories=Game;LogicGame;' "$desktop" || fail "the desktop entry is not in Game;LogicGame;"
else
  fail "no desktop entry share/applications/$id.desktop"
fi

# The icon: a PNG of each size of the theme, its pixel size read from its header,
# and the SVG.
python3 - "$prefix/share/icons/hicolor" "$id" <<'PY' || fail "the icon's pictures are not as the theme wants them"
import struct, sys, xml.etree.ElementTree as ET
theme, name = sys.argv[1], sys.argv[2]
bad = False
for size in (16, 22, 24, 32, 48, 64, 128, 256):
    path = f"{theme}/{size}x{size}/apps/{name}.png"
    try:
        head = open(path, "rb").read(24)
    except OSError as e:
        print(f"{path}: {e.strerror}", file=sys.stderr); bad = True; continue
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        print(f"{path}: not a PNG", file=sys.stderr); bad = True; continue
    w, h = struct.unpack(">II", head[16:24])
    if (w, h) != (size, size):
        print(f"{path}: {w}x{h}, not {size}x{size}", file=sys.stderr); bad = True
svg = f"{theme}/scalable/apps/{name}.svg"
try:
    root = ET.parse(svg).getroot()
    if root.tag != "{http://www.w3.org/2000/svg}svg":
        print(f"{svg}: not an SVG picture", file=sys.stderr); bad = True
except (OSError, ET.ParseError) as e:
    print(f"{svg}: {e}", file=sys.stderr); bad = True
sys.exit(1 if bad else 0)
PY

# The AppStream metadata, valid and launching the installed desktop entry.
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$tmp/appstream.log")"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
else
  fail "no AppStream metadata share/metainfo/$id.metainfo.xml"
fi

# The manual pages render with no warning.
for page in man1/pavilore-tool.1 man6/pavilore.6; do
  file=$prefix/share/man/$page
  if [ -f "$file" ]; then
    groff -man -Tutf8 -ww -z "$file" 2>"$tmp/groff.log" || fail "$page does not render"
    [ ! -s "$tmp/groff.log" ] || fail "$page: $(cat "$tmp/groff.log")"
  else
    fail "no manual page share/man/$page"
  fi
done

[ -f "$prefix/share/doc/pavilore/copyright" ] || fail "no share/doc/pavilore/copyright"

if [ "$failures" -gt 0 ]; then
  echo "$failures problems in the installation" >&2
  exit 1
fi
echo "installation under $prefix: programs, image, desktop entry, icons, metadata and manual pages valid"
