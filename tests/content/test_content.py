"""The shipped boards, puzzles, campaigns and configuration.

argv: the tool, the data folder (texts) and the installation image they were packed into.
Every puzzle is won by the pushes its scramble recorded and by the fewest moves the
solver finds, both replayed as gestures through `pavilore-tool push`; its limits leave a
margin over those fewest moves, and the help page lists them. Every text packs again to
the very bytes of the image.
"""
import glob
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

TOOL = DATA = SHARE = None
BOARD_SIZE, PUZZLE_SIZE, CAMPAIGN_SIZE, CONFIG_SIZE = 15736, 4676, 13396, 772


def run(*args):
    p = subprocess.run([TOOL, *args], capture_output=True, text=True)
    assert p.returncode == 0, (args, p.stderr)
    return p.stdout


def short_string(b, at, n):
    return b[at + 1:at + 1 + min(b[at], n)].decode("cp1252")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def texts(folder):
    return sorted(glob.glob(os.path.join(DATA, folder, "*.txt")))


def name_of(path):
    return os.path.splitext(os.path.basename(path))[0]


def glue_faults(tiles, links):
    """Cells where a tile's face says glued (41 to 50) and its links say otherwise."""
    ends = {tuple(link[k:k + 2]) for link in links for k in (0, 2)}
    return [(x, y, face) for (x, y), face in tiles.items() if face and (face > 40) != ((x, y) in ends)]


def on_bevel(solid, col, row):
    """Whether the 8 x 8 character at text position (col, row), 0-based, lies on the
    bevelled border of its block, where the wall is drawn with its edge pieces."""
    x, y, i, j = col // 6 + 1, row // 6 + 1, col % 6, row % 6
    dx, dy = (i == 5) - (i == 0), (j == 5) - (j == 0)
    return any(dx * a or dy * c for a, c in ((1, 0), (0, 1), (1, 1)) if not solid(x + dx * a, y + dy * c))


class Content(unittest.TestCase):
    def test_every_text_is_installed_byte_for_byte(self):
        folders = {"Boards": "BRD", "Puzzles": "PZZ", "Puzzles/Campaign Levels": "PZZ", "Campaigns": "CPN",
                   "System": "CFG"}
        with tempfile.TemporaryDirectory() as tmp:
            for folder, ext in folders.items():
                for t in texts(folder):
                    with self.subTest(text=t):
                        out = os.path.join(tmp, "out." + ext)
                        run("pack", t, "-o", out, "--boards", os.path.join(SHARE, "Boards"))
                        self.assertEqual(read(out), read(os.path.join(SHARE, folder, name_of(t) + "." + ext)))

    def test_boards_cover_every_rule(self):
        boards = {name_of(t): read(os.path.join(SHARE, "Boards", name_of(t) + ".BRD")) for t in texts("Boards")}
        self.assertGreaterEqual(len(boards), 14)
        seen = set()
        for name, b in boards.items():
            with self.subTest(board=name):
                self.assertEqual(len(b), BOARD_SIZE)
                w, h = b[0], b[1]
                title = short_string(b, 15641, 20)
                self.assertTrue(0 < len(title) <= 20)
                self.assertEqual(short_string(b, 15662, 20), "Pavilore")
                tile_set = short_string(b, 15683, 50)
                # A recommended tile set is one of the shipped pictures.
                self.assertTrue(tile_set == "" or tile_set.startswith("TS - ") and any(
                    os.path.exists(os.path.join(SHARE, "Graphics", tile_set + ext)) for ext in (".BMP", ".JPG")), tile_set)
                cells = lambda x, y: b[2 + x * 17 + y]  # noqa: E731
                solid = lambda x, y: 1 <= x <= w and 1 <= y <= h and cells(x, y)  # noqa: E731
                tiles = [b[376 + x * 17 + y] for x in range(1, 21) for y in range(1, 16)]
                links = b[750] != 0
                jumps = b[11750] != 0
                turns = b[12050] != 0
                # Inscriptions lie inside the raised blocks, clear of their bevelled borders.
                text = [(c, r) for c in range(120) for r in range(90) if b[950 + c * 90 + r] not in (0, 32)]
                for c, r in text:
                    self.assertTrue(solid(c // 6 + 1, r // 6 + 1) and not on_bevel(solid, c, r), (name, c + 1, r + 1))
                # Both mouths of a jump bear the same label, and no two jumps share one.
                label = lambda x, y: "".join(chr(b[950 + c * 90 + r]) for r in range(6 * y - 6, 6 * y)  # noqa: E731
                                             for c in range(6 * x - 6, 6 * x) if b[950 + c * 90 + r] not in (0, 32))
                pairs = [b[11750 + 6 * i:11756 + 6 * i] for i in range(50) if b[11750 + 6 * i]]
                labels = [label(m[0], m[1]) for m in pairs]
                self.assertEqual(labels, [label(m[3], m[4]) for m in pairs], name)
                self.assertEqual(len(set(labels)), len(labels), name)
                self.assertNotIn("", labels, name)
                # Glued tiles, and only they, bear the faces the tile sets mark with glue.
                self.assertEqual(glue_faults({(x, y): b[376 + x * 17 + y] for x in range(1, 21) for y in range(1, 16)},
                                             [b[750 + 4 * i:754 + 4 * i] for i in range(50) if b[750 + 4 * i]]), [])
                # Tiles lie on the floor.
                for x in range(1, w + 1):
                    for y in range(1, h + 1):
                        if b[376 + x * 17 + y]:
                            self.assertEqual(cells(x, y), 0, (name, x, y))
                if (w, h, sum(1 for t in tiles if t)) in ((5, 5, 8), (6, 6, 15), (7, 7, 24)) and not (links or turns or jumps):
                    seen.add(f"classic {w - 2}")
                if len(set(t for t in tiles if t)) < sum(1 for t in tiles if t):
                    seen.add("interchangeable tiles")
                inner_solid = any(cells(x, y) for x in range(2, w) for y in range(2, h))
                seen.update(k for k, v in (("links", links), ("jumps", jumps), ("turns", turns), ("walls inside", inner_solid),
                                           ("inscriptions", text), ("tile set", tile_set)) if v)
                if b[15640] == 2:
                    seen.add("two steps per move")
                if (w, h) == (20, 15):
                    seen.add("largest")
                if links and sum(1 for i in range(50) if b[750 + 4 * i]) >= 2:
                    # a chain: one tile glued at both ends
                    ends = [tuple(b[750 + 4 * i:752 + 4 * i]) for i in range(50) if b[750 + 4 * i]] + \
                           [tuple(b[752 + 4 * i:754 + 4 * i]) for i in range(50) if b[750 + 4 * i]]
                    if any(ends.count(e) > 1 for e in ends):
                        seen.add("chains")
                # Jump mouths open on more than one side.
                sides = {b[11750 + 6 * i + k] for i in range(50) if b[11750 + 6 * i] for k in (2, 5)}
                if len(sides) == 4:
                    seen.add("mouths on every side")
        for rule in ("classic 3", "classic 4", "classic 5", "links", "chains", "jumps", "mouths on every side", "turns",
                     "walls inside", "inscriptions", "tile set", "two steps per move", "largest", "interchangeable tiles"):
            self.assertIn(rule, seen)

    def test_every_puzzle_is_won_in_its_fewest_moves_within_its_limits(self):
        help_page = open(os.path.join(DATA, "help", "help.src.html"), encoding="utf-8").read()
        count = 0
        with tempfile.TemporaryDirectory() as tmp:
            for folder in ("Puzzles", "Puzzles/Campaign Levels"):
                for t in texts(folder):
                    with self.subTest(puzzle=t):
                        out = os.path.join(tmp, "p.PZZ")
                        recorded = run("pack", t, "-o", out, "--boards", os.path.join(SHARE, "Boards"), "--solution").split()
                        p = json.loads(run("show", out, "--json"))
                        self.assertNotEqual(p["ip"]["tiles"], p["op"]["tiles"])
                        for pattern in (p["ip"], p["op"]):
                            grid = {(x + 1, y + 1): f for y, row in enumerate(pattern["tiles"]) for x, f in enumerate(row)}
                            self.assertEqual(glue_faults(grid, pattern["links"]), [])
                        self.assertEqual(p["title"], name_of(t))
                        self.assertEqual(p["author"], "Pavilore")
                        board = os.path.join(SHARE, "Boards", p["boardName"] + ".BRD")
                        # The solver stops once it has proved the fewest moves; the bound
                        # is only there so that a loaded machine never fails the proof.
                        best = json.loads(run("solve", "--board", board, "--puzzle", out, "--json", "--seconds", "120"))
                        self.assertEqual(best["status"], "optimal")
                        par = best["moves"]
                        # The scramble's recorded pushes and the fewest moves both win, each
                        # only with its last push.
                        for gestures in (recorded, [",".join(map(str, g)) for g in best["solution"]]):
                            r = json.loads(run("push", "--board", board, "--puzzle", out, "--json", *gestures))
                            solved = [i for i, g in enumerate(r["pushes"]) if g["solved"]]
                            self.assertEqual(solved, [len(gestures) - 1], "solved only by the last push")
                            self.assertEqual(r["tiles"], p["op"]["tiles"])
                        self.assertEqual(r["moves"], par)
                        # A limit leaves a fair margin over the fewest moves.
                        if p["movesLimit"]:
                            self.assertGreaterEqual(p["movesLimit"], par + 3)
                        if p["timeLimit"]:
                            self.assertGreaterEqual(p["timeLimit"], 5 * par)
                        # The help page lists the puzzle with its fewest moves and its limits.
                        row = re.search(r"<tr><td>%s</td><td>[^<]*</td><td>(\d+)</td><td>(\d+|none)</td><td>(\d+ s|none)</td>(?:<td>[^<]*</td>)*</tr>"
                                        % re.escape(name_of(t)), help_page)
                        self.assertIsNotNone(row, "the help page lists " + name_of(t))
                        self.assertEqual(row.groups(), (str(par), str(p["movesLimit"] or "none"),
                                                        "%d s" % p["timeLimit"] if p["timeLimit"] else "none"))
                        count += 1
        self.assertGreaterEqual(len(texts("Puzzles")), 16)
        self.assertGreaterEqual(count, 30)
        limits = [json.loads(run("show", f, "--json")) for f in glob.glob(os.path.join(SHARE, "Puzzles", "*.PZZ"))]
        self.assertTrue(any(p["timeLimit"] and not p["movesLimit"] for p in limits))
        self.assertTrue(any(p["movesLimit"] and not p["timeLimit"] for p in limits))
        self.assertTrue(any(p["movesLimit"] and p["timeLimit"] for p in limits))

    def test_campaigns(self):
        lengths = []
        for t in texts("Campaigns"):
            with self.subTest(campaign=t):
                c = json.loads(run("show", os.path.join(SHARE, "Campaigns", name_of(t) + ".CPN"), "--json"))
                self.assertEqual(c["author"], "Pavilore")
                for level in c["levels"]:
                    found = [f for f in (os.path.join(SHARE, "Puzzles", level + ".PZZ"),
                                         os.path.join(SHARE, "Puzzles", "Campaign Levels", level + ".PZZ"))
                             if os.path.isfile(f)]
                    self.assertTrue(found, level)
                lengths.append(c["levelCount"])
        self.assertIn(5, lengths)
        self.assertTrue(any(n >= 10 for n in lengths))

    def test_configuration_for_a_first_run(self):
        c = read(os.path.join(SHARE, "System", "Pavilore.CFG"))
        self.assertEqual(len(c), CONFIG_SIZE)
        self.assertEqual(c[0], 1)
        self.assertTrue(os.path.isfile(os.path.join(SHARE, "Boards", short_string(c, 1, 50) + ".BRD")))
        self.assertEqual((short_string(c, 52, 50), short_string(c, 103, 50)), ("", ""))
        self.assertEqual(bytes(c[154:161]), bytes([0, 0, 0, 0, 1, 1, 1]))
        self.assertEqual(bytes(c[161:212]), bytes(51))
        self.assertEqual((c[212], c[213], short_string(c, 214, 20), c[235], c[236], c[237]), (0, 1, "", 1, 1, 1))
        self.assertEqual([short_string(c, o, 50) for o in (238, 289, 340)], ["GB - Default", "TS - Default", "TS - Default"])
        self.assertEqual(c[391], 0)
        self.assertEqual([short_string(c, 392 + 51 * i, 50) for i in range(4)],
                         ["Click", "Tile Move", "Puzzle Solved", "Game Over"])
        self.assertEqual((c[596], c[648], c[649]), (1, 2, 1))
        self.assertTrue(short_string(c, 597, 50))
        self.assertEqual((short_string(c, 650, 100), c[751], c[752]), ("", 0, 0))
        self.assertEqual(struct.unpack("<ii", c[756:764]), (1, 1))
        self.assertEqual(bytes(c[764:772]), bytes([0, 0, 0, 0, 1, 0, 0, 0]))

    def test_empty_folders_and_empty_records(self):
        for folder in ("Saved Games", "Players"):
            self.assertEqual(os.listdir(os.path.join(SHARE, folder)), [])
        for f in glob.glob(os.path.join(SHARE, "**", "*.*"), recursive=True):
            ext = f[-4:].upper()
            if ext not in (".BRD", ".PZZ", ".CPN"):
                continue
            j = json.loads(run("show", f, "--json"))
            tables = [j["records"]]
            for t in tables:
                self.assertTrue(all(e == {"name": "", "value": 65000} for e in t["time"] + t["moves"]), f)
            for row in j.get("botRecords", []):
                for t in row:
                    self.assertTrue(all(e == {"name": "", "value": 0} for e in t["time"] + t["moves"]), f)


if __name__ == "__main__":
    TOOL, DATA, SHARE = sys.argv[1:4]
    del sys.argv[1:4]
    unittest.main()
