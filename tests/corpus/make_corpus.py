#!/usr/bin/env python3
"""Makes the corpus of malformed game files and pictures, and its manifest.

    python3 tests/corpus/make_corpus.py PAVILORE-TOOL

The valid files it starts from are text forms packed by the tool; every malformed
file is one of them with a few bytes changed, cut short, or given another file's
name. The output goes beside this script: valid/ (the files every entry is installed
with), files/ (the malformed ones) and manifest.tsv, one line per entry:

    name  kind  install  words  refused-by  also

name       the corpus file in files/ ("-" when the test makes it: a folder, a picture
           too big to store)
kind       board, puzzle, campaign, saved, config or picture
install    where it goes in the data folder
words      what the message must hold, separated by " | ": the file's name first,
           then the rule it breaks
refused-by the tool commands that refuse it: show, check, or both ("show,check");
           "game" when only the game's own loading refuses it (it needs other files)
also       other corpus files installed with it, as "file>install" separated by ";"
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
VALID = os.path.join(HERE, "valid")
FILES = os.path.join(HERE, "files")

BOARD_TEXT = """kind board
title "Corpus Board"
author "Corpus"
size 5 5
steps-per-move 1
grid
## ## ## ## ##
##  1  2  3 ##
##  4  5  6 ##
##  7  8 .. ##
## ## ## ## ##
end
"""

PUZZLE_TEXT = """kind puzzle
title "Corpus Puzzle"
author "Corpus"
board "Corpus Board"
time-limit 600
moves-limit 50
ip
## ## ## ## ##
##  1  2  3 ##
##  4 ..  5 ##
##  7  8  6 ##
## ## ## ## ##
end
op board
"""

CAMPAIGN_TEXT = """kind campaign
title "Corpus Campaign"
author "Corpus"
level "Corpus Puzzle"
level "Corpus Puzzle"
"""

CONFIG_TEXT = """kind config
game-mode 1
board-name "Corpus Board"
puzzle-name ""
campaign-name ""
computer-speed 1
computer-accuracy 1
human-plays-first yes
player-name "Corpus"
write-log no
board-graphics "GB - Default"
tile-set "TS - Default"
user-tile-set "TS - Default"
click-sound "[None]"
move-sound "[None]"
solved-sound "[None]"
game-over-sound "[None]"
music-mode 1
picture-w 5
picture-h 5
picture-x 1
picture-y 1
"""


def pack(tool, text, out, boards=None):
    with tempfile.TemporaryDirectory() as d:
        src = os.path.join(d, "in.txt")
        with open(src, "w", encoding="utf-8") as f:
            f.write(text)
        cmd = [tool, "pack", src, "-o", out] + (["--boards", boards] if boards else [])
        subprocess.run(cmd, check=True)
    with open(out, "rb") as f:
        return f.read()


def short_string(raw, n, length=None):
    raw = raw[:n]
    return bytes([len(raw) if length is None else length]) + raw + bytes(n - len(raw))


def put(data, offset, raw):
    b = bytearray(data)
    b[offset:offset + len(raw)] = raw
    return bytes(b)


def i32(v):
    return struct.pack("<i", v)


# ---- the saved game: the tool packs none, so it is laid out here -----------------

SAVED_SIZE = 5460
HISTORY = 1357


def saved_game(board, puzzle, mode=1, puzzle_name=b"Corpus Puzzle", campaign_name=b"", level=0):
    g = bytearray(SAVED_SIZE)
    g[0] = mode
    g[1:52] = short_string(b"Corpus Board", 50)
    g[52:103] = short_string(puzzle_name if mode == 1 else b"", 50)
    g[103:154] = short_string(campaign_name, 50)
    if mode == 1:
        g[154:157] = b"\x01\x01\x01"
    g[160:168] = struct.pack("<ii", 0, 12)
    g[168:742] = puzzle[51:625]    # the puzzle's initial pattern
    g[742:1316] = board[376:950]   # its objective, the board's pattern
    g[1318] = 1
    g[1356] = level
    return bytes(g)


def history(g, moves):
    """moves: (x, y, dir) of the move list; the scramble length stays 0."""
    for i, (x, y, d) in enumerate(moves):
        g = put(g, HISTORY + i, bytes([x]))
        g = put(g, HISTORY + 1024 + i, bytes([y]))
        g = put(g, HISTORY + 2048 + i, bytes([d]))
    return g


# ---- pictures ---------------------------------------------------------------------

def bmp(width, height, pixels=True):
    row = (width * 3 + 3) & ~3
    body = bytes(row * height) if pixels else b""
    header = b"BM" + struct.pack("<IHHI", 54 + row * height, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, row * height, 2835, 2835, 0, 0)
    return header + info + body


def jpeg(width, height):
    """A real JPEG from ImageMagick; None when it is not installed."""
    convert = shutil.which("convert")
    if not convert:
        return None
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "p.jpg")
        subprocess.run([convert, "-size", f"{width}x{height}", "gradient:gray-white", "-strip", out], check=True)
        with open(out, "rb") as f:
            return f.read()


def jpeg_header_only(width, height):
    """Start of image and a baseline frame header declaring the size, then nothing."""
    sof = b"\xff\xc0" + struct.pack(">HBHHB", 17, 8, height, width, 3) + b"\x01\x11\x00\x02\x11\x00\x03\x11\x00"
    return b"\xff\xd8" + sof + b"\xff\xd9"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    tool = os.path.abspath(sys.argv[1])
    for d in (VALID, FILES):
        shutil.rmtree(d, ignore_errors=True)
        os.makedirs(d)

    board = pack(tool, BOARD_TEXT, os.path.join(VALID, "Corpus Board.BRD"))
    puzzle = pack(tool, PUZZLE_TEXT, os.path.join(VALID, "Corpus Puzzle.PZZ"), boards=VALID)
    campaign = pack(tool, CAMPAIGN_TEXT, os.path.join(VALID, "Corpus Campaign.CPN"))
    config = pack(tool, CONFIG_TEXT, os.path.join(VALID, "Pavilore.CFG"))
    assert (len(board), len(puzzle), len(campaign), len(config)) == (15736, 4676, 13396, 772)
    saved = saved_game(board, puzzle)
    # The valid saved game is checked by the tests like the others: it must load.
    with open(os.path.join(VALID, "Corpus Saved.SGM"), "wb") as f:
        f.write(saved)

    rows = []

    def add(name, kind, data, words, refused="show,check", install=None, also=""):
        folder = {"board": "Boards", "puzzle": "Puzzles", "campaign": "Campaigns", "saved": "Saved Games",
                  "config": "System", "picture": "Graphics"}[kind]
        if install is None:
            install = f"{folder}/{name}" if kind != "config" else "System/Pavilore.CFG"
        if data is not None:
            with open(os.path.join(FILES, name), "wb") as f:
                f.write(data)
        file_name = os.path.basename(install)
        rows.append((name if data is not None else "-", kind, install, " | ".join([file_name] + words), refused,
                     also))

    def short(what):
        return [f"the file is shorter than one record ({what} bytes)"]

    # -- boards
    add("Short Board.BRD", "board", board[:100], short("100 of 15736"))
    add("Empty Board.BRD", "board", b"", short("0 of 15736"))
    add("One Byte Short.BRD", "board", board[:-1], short("15735 of 15736"))
    add("Campaign As Board.BRD", "board", campaign, short("13396 of 15736"))
    add("Text As Board.BRD", "board", BOARD_TEXT.encode(), short(f"{len(BOARD_TEXT)} of 15736"))
    for w in (0, 2, 21, 255):
        add(f"Width {w}.BRD", "board", put(board, 0, bytes([w])), [f"width {w} is outside 3..20"])
    for h in (0, 16):
        add(f"Height {h}.BRD", "board", put(board, 1, bytes([h])), [f"height {h} is outside 3..15"])
    add("Open Frame.BRD", "board", put(board, 2 + 1 * 17 + 3, b"\x00"),
        ["the frame cell (1,3) is floor; the outer ring must be solid"])
    add("No Steps.BRD", "board", put(board, 15640, b"\x00"), ["StepsPerMove is 0"])
    for face in (51, 255):
        add(f"Face {face}.BRD", "board", put(board, 376 + 2 * 17 + 2, bytes([face])),
            [f"pattern: the tile at (2,2) has face {face}, above 50"])
    add("Link Off Grid.BRD", "board", put(board, 376 + 374, bytes([2, 2, 21, 2])),
        ["pattern: link 1 has an end outside columns 1..20 and rows 1..15"])
    add("Link Row 0.BRD", "board", put(board, 376 + 374, bytes([2, 0, 3, 2])),
        ["pattern: link 1 has an end outside columns 1..20 and rows 1..15"])
    for side in (0, 5):
        add(f"Jump Side {side}.BRD", "board", put(board, 11750, bytes([1, 3, side, 5, 3, 1])),
            [f"jump 1 has a mouth side {side} outside 1..4"])
    add("Jump Off Board.BRD", "board", put(board, 11750, bytes([1, 3, 2, 9, 3, 1])),
        ["jump 1 has a mouth at (9,3) outside the board"])
    add("Jump Onto Frame.BRD", "board", put(board, 11750, bytes([1, 1, 2, 5, 3, 1])),
        ["jump 1 opens onto (2,1), outside the board's inner cells"])
    add("Board Folder.BRD", "board", None, ["Is a directory"], refused="show,check")
    add("ONE.BRD", "board", board, ["the file 'one.BRD' beside it has the same name in other letter case"],
        also="one.BRD>Boards/one.BRD")
    add("one.BRD", "board", board, ["the file 'ONE.BRD' beside it has the same name in other letter case"],
        also="ONE.BRD>Boards/ONE.BRD")

    # -- puzzles
    add("Short Puzzle.PZZ", "puzzle", puzzle[:51], short("51 of 4676"))
    add("Empty Puzzle.PZZ", "puzzle", b"", short("0 of 4676"))
    add("Config As Puzzle.PZZ", "puzzle", config, short("772 of 4676"))
    # Longer than a puzzle: the first bytes of a board or a saved game read as one.
    add("Board As Puzzle.PZZ", "puzzle", board, ["the board name '\\x05\\x00\\x00\\x00\\x00'",
                                                  "it holds a control character"])
    add("Saved As Puzzle.PZZ", "puzzle", saved, ["the board name '\\x0C'", "it holds a control character"])
    add("Time -1.PZZ", "puzzle", put(puzzle, 4280, i32(-1)), ["the time limit -1 is negative"])
    add("Moves Min.PZZ", "puzzle", put(puzzle, 4284, i32(-2**31)), [f"the moves limit {-2**31} is negative"])
    add("IP Face 51.PZZ", "puzzle", put(puzzle, 51 + 3 * 17 + 3, b"\x33"),
        ["initial pattern: the tile at (3,3) has face 51, above 50"])
    add("OP Face 200.PZZ", "puzzle", put(puzzle, 625 + 4 * 17 + 4, b"\xc8"),
        ["objective pattern: the tile at (4,4) has face 200, above 50"])
    add("IP Link Off.PZZ", "puzzle", put(puzzle, 51 + 374, bytes([2, 2, 2, 16])),
        ["initial pattern: link 1 has an end outside columns 1..20 and rows 1..15"])
    add("OP Link Off.PZZ", "puzzle", put(puzzle, 625 + 374, bytes([3, 99, 3, 2])),
        ["objective pattern: link 1 has an end outside columns 1..20 and rows 1..15"])
    hostile_boards = [
        ("Board Outside", b"../../../outside", "it holds \"..\""),
        ("Board Up", b"..", "it holds \"..\""),
        ("Board Slash", b"Boards/Corpus Board", "it holds a \"/\" or \"\\\""),
        ("Board Backslash", b"Sub\\Corpus Board", "it holds a \"/\" or \"\\\""),
        ("Board Absolute", b"/etc/passwd", "it holds a \"/\" or \"\\\""),
        ("Board Tab", b"Corpus\tBoard", "it holds a control character"),
        ("Board Delete", b"Corpus\x7fBoard", "it holds a control character"),
        ("Board Byte 81", b"Corpus\x81Board", "it holds the byte 129, which is no character"),
        ("Board Byte 9D", b"Corpus\x9dBoard", "it holds the byte 157, which is no character"),
    ]
    for name, raw, rule in hostile_boards:
        add(f"{name}.PZZ", "puzzle", put(puzzle, 0, short_string(raw, 50)), ["is no file name", rule])
    # A length byte past the 50 characters: the unused bytes, zeros, are read as the name.
    add("Board Length 200.PZZ", "puzzle", put(puzzle, 0, short_string(b"Corpus Board", 50, length=200)),
        ["the board name 'Corpus Board\\x00", "it holds a control character"])
    add("Puzzle Folder.PZZ", "puzzle", None, ["Is a directory"])

    # -- campaigns
    add("Short Campaign.CPN", "campaign", campaign[:13395], short("13395 of 13396"))
    add("Empty Campaign.CPN", "campaign", b"", short("0 of 13396"))
    add("Board As Campaign.CPN", "campaign", board, ["the name '\\x05\\x00\\x00\\x00\\x00' of level 1",
                                                      "it holds a control character"])
    hostile_levels = [
        ("Level Up", 1, b"../x", "it holds \"..\""),
        ("Level Deep", 2, b"../../../x", "it holds \"..\""),
        ("Level Slash", 1, b"Sub/Level", "it holds a \"/\" or \"\\\""),
        ("Level Windows", 2, b"C:\\Windows\\x", "it holds a \"/\" or \"\\\""),
        ("Level Control", 1, b"Level\x01", "it holds a control character"),
        ("Level Byte 8D", 2, b"Level\x8d", "it holds the byte 141, which is no character"),
        ("Level Byte 8F", 1, b"\x8f", "it holds the byte 143, which is no character"),
    ]
    for name, level, raw, rule in hostile_levels:
        data = put(campaign, (level - 1) * 51, short_string(raw, 50))
        add(f"{name}.CPN", "campaign", data, [f"of level {level} is no file name", rule])
    add("Level Length 255.CPN", "campaign", put(campaign, 51, short_string(b"Corpus Puzzle", 50, length=255)),
        ["the name 'Corpus Puzzle\\x00", "of level 2 is no file name", "it holds a control character"])
    add("Campaign Folder.CPN", "campaign", None, ["Is a directory"])

    # -- saved games
    add("Short Saved.SGM", "saved", saved[:5459], short("5459 of 5460"))
    add("Empty Saved.SGM", "saved", b"", short("0 of 5460"))
    add("Puzzle As Saved.SGM", "saved", puzzle[:1000], short("1000 of 5460"))
    add("Position Face 60.SGM", "saved", put(saved, 168 + 2 * 17 + 2, b"\x3c"),
        ["position: the tile at (2,2) has face 60, above 50"])
    add("Objective Link Off.SGM", "saved", put(saved, 742 + 374, bytes([2, 2, 22, 2])),
        ["objective pattern: link 1 has an end outside columns 1..20 and rows 1..15"])
    add("Direction 5.SGM", "saved", history(saved, [(3, 3, 2), (3, 3, 5)]),
        ["move 2 of the move list has a direction 5 outside 1..4"], refused="check")
    add("Direction 0.SGM", "saved", history(saved, [(3, 3, 0)]),
        ["move 1 of the move list has a direction 0 outside 1..4"], refused="check")
    add("Move Off Grid.SGM", "saved", history(saved, [(21, 3, 1)]),
        ["move 1 of the move list is at (21,3), outside columns 1..20 and rows 1..15"], refused="check")
    add("Scramble Past.SGM", "saved", put(history(saved, [(3, 3, 1)]), 5456, i32(5)),
        ["the scramble length 5 is outside 0..1"], refused="check")
    add("Moves -1.SGM", "saved", put(saved, 160, i32(-1)), ["the moves or seconds played are negative"],
        refused="check")
    add("Seconds Min.SGM", "saved", put(saved, 164, i32(-2**31)), ["the moves or seconds played are negative"],
        refused="check")
    match = saved_game(board, puzzle, mode=2, level=1)
    add("Turn 3.SGM", "saved", put(match, 1356, b"\x03"), ["the turn 3 is outside 1..2"], refused="check")
    add("Speed 3.SGM", "saved", put(match, 1316, b"\x03"), ["the computer's speed or accuracy is outside 0..2"],
        refused="check")
    add("Match Negative.SGM", "saved", put(match, 1320, i32(-5)), ["the match's times or moves are negative"],
        refused="check")
    level = saved_game(board, puzzle, mode=3, campaign_name=b"Corpus Campaign", level=1)
    add("Level 0.SGM", "saved", put(level, 1356, b"\x00"), ["the campaign level is 0"], refused="check")
    add("Level Past End.SGM", "saved", put(level, 1356, b"\x09"),
        ["its level 9 is past the end of the campaign 'Corpus Campaign' of 2 levels"], refused="check")
    add("Totals Negative.SGM", "saved", put(level, 1348, i32(-1)), ["the campaign's totals are negative"],
        refused="check")
    add("Saved Board Outside.SGM", "saved", put(saved, 1, short_string(b"../../../outside", 50)),
        ["the name '../../../outside' is no file name", "it holds \"..\""], refused="check")
    add("Saved Puzzle Slash.SGM", "saved", put(saved, 52, short_string(b"a/b", 50)),
        ["the name 'a/b' is no file name", "it holds a \"/\" or \"\\\""], refused="check")
    add("Saved Campaign Up.SGM", "saved", put(level, 103, short_string(b"..\\Campaigns\\x", 50)),
        ["is no file name", "it holds \"..\""], refused="check")
    add("Saved Board Missing.SGM", "saved", put(saved, 1, short_string(b"Corpus Nowhere", 50)),
        ["the board 'Corpus Nowhere' it names can't be read"], refused="check")
    add("Tile Off Board.SGM", "saved", put(saved, 168 + 7 * 17 + 7, b"\x01"),
        ["the position has a tile at (7,7), outside the board of 5 x 5"], refused="check")
    add("No Puzzle Named.SGM", "saved", put(saved, 52, short_string(b"", 50)),
        ["it takes patterns or limits from a puzzle but names none"], refused="check")
    add("Saved Folder.SGM", "saved", None, ["Is a directory"])

    # -- the configuration
    add("Short Config.CFG", "config", config[:100], short("100 of 772"))
    add("Empty Config.CFG", "config", b"", short("0 of 772"))
    for mode in (0, 4, 255):
        add(f"Mode {mode}.CFG", "config", put(config, 0, bytes([mode])), [f"the game mode is {mode}, outside 1..3"])
    add("Speed 3.CFG", "config", put(config, 158, b"\x03"), ["the computer's speed is 3, outside 0..2"])
    add("Accuracy 200.CFG", "config", put(config, 159, b"\xc8"), ["the computer's accuracy is 200, outside 0..2"])
    # Longer than a configuration: a board read as one has the game mode 5, its width.
    add("Board As Config.CFG", "config", board, ["the game mode is 5, outside 1..3"])

    # -- pictures: only that the game names the file; the reason is the picture reader's
    real_jpeg = jpeg(480, 240)
    good_bmp = bmp(480, 240)
    pictures = [
        ("GB - Corpus Jpeg Named Bmp.BMP", real_jpeg),
        ("GB - Corpus Bmp Named Jpeg.JPG", bmp(48, 48)),
        ("GB - Corpus Text.JPG", b"This is no picture.\n"),
        ("GB - Corpus Text.BMP", b"This is no picture either.\n"),
        ("GB - Corpus Empty.BMP", b""),
        ("GB - Corpus Cut.BMP", good_bmp[:2000]),
        ("GB - Corpus Header Only.BMP", good_bmp[:54]),
        ("GB - Corpus Cut.JPG", real_jpeg[:len(real_jpeg) // 2] if real_jpeg else None),
        ("GB - Corpus Cut Header.JPG", real_jpeg[:20] if real_jpeg else None),
        ("GB - Corpus Huge Header.JPG", jpeg_header_only(65000, 65000)),
        ("GB - Corpus Tiny.BMP", bmp(1, 1)),
        ("TS - Corpus Tiny.BMP", bmp(2, 2)),
        ("TS - Corpus Tiny.JPG", jpeg(8, 8)),
    ]
    for name, data in pictures:
        if data is not None:
            add(name, "picture", data, [], refused="check")
    # Too big to store: the test writes a bitmap header declaring 100000 x 100000 pixels.
    add("GB - Corpus Huge.BMP", "picture", None, [], refused="check")

    with open(os.path.join(HERE, "manifest.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# name\tkind\tinstall\twords\trefused-by\talso\n")
        for r in rows:
            f.write("\t".join(r) + "\n")
    print(f"{len(rows)} entries in {os.path.join(HERE, 'manifest.tsv')}")


if __name__ == "__main__":
    main()
