"""pavilore-tool show, push and record, driven through their command-line contract."""
import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamefiles as gf  # noqa: E402

TOOL = None

RING = [
    "######",
    "#1234#",
    "#c##5#",
    "#b##6#",
    "#a987#",
    "######",
]
RING_TURNS = [(3, 3, 1), (4, 3, 2), (4, 4, 3), (3, 4, 4)]


def run(*args, ok=True):
    p = subprocess.run([TOOL, *args], capture_output=True, text=True)
    if ok:
        assert p.returncode == 0, (args, p.returncode, p.stderr)
        return json.loads(p.stdout)
    return p


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, data):
        path = os.path.join(self.dir.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return path


class Show(ToolTest):
    def test_board_fields(self):
        path = self.write("ring.brd", gf.board(RING, turns=RING_TURNS, jumps=[(1, 2, 2, 6, 5, 1)],
                                               links=[(2, 2, 3, 2)], steps_per_move=2, title="Ring",
                                               tile_set="TS - Wood",
                                               records=gf.record_table(times=[("Ann", 12)])))
        j = run("show", path, "--json")
        self.assertEqual((j["width"], j["height"], j["stepsPerMove"]), (6, 6, 2))
        self.assertEqual((j["title"], j["author"], j["recommendedTileSet"]), ("Ring", "Tests", "TS - Wood"))
        self.assertEqual(len(j["cells"]), 15)
        self.assertTrue(all(len(r) == 20 for r in j["cells"]))
        self.assertEqual(j["cells"][0][:6], [1] * 6)       # row y=1
        self.assertEqual(j["cells"][2][:6], [1, 0, 1, 1, 0, 1])
        self.assertEqual(j["cells"][7], [0] * 20)           # beyond the board
        self.assertEqual(j["pattern"]["tiles"][1][:6], [0, 1, 2, 3, 4, 0])
        self.assertEqual(j["pattern"]["links"], [[2, 2, 3, 2]])
        self.assertEqual(j["jumps"], [[1, 2, 2, 6, 5, 1]])
        self.assertEqual(j["turns"], [list(t) for t in RING_TURNS])
        self.assertEqual(j["records"]["time"][0], {"name": "Ann", "value": 12})
        self.assertEqual(j["records"]["time"][1], {"name": "", "value": 65000})
        self.assertEqual(len(j["records"]["moves"]), 10)
        self.assertEqual(len(j["botRecords"]), 3)
        self.assertEqual(j["botRecords"][2][1]["moves"][9], {"name": "", "value": 0})

    def test_puzzle_campaign_and_names(self):
        pz = self.write("p.PZZ", gf.puzzle("Ring", RING, RING, time_limit=90, moves_limit=40, title="Caf\u00e9"))
        j = run("show", pz, "--json")
        self.assertEqual(j["boardName"], "Ring")
        self.assertEqual((j["timeLimit"], j["movesLimit"], j["title"]), (90, 40, "Caf\u00e9"))
        self.assertEqual(j["ip"]["tiles"][4][:6], [0, 10, 9, 8, 7, 0])
        self.assertEqual(j["op"]["links"], [])
        cp = self.write("c.Cpn", gf.campaign(["One", "Two", "", "Four"]))
        j = run("show", cp, "--json")
        self.assertEqual((j["levels"], j["levelCount"]), (["One", "Two"], 2))
        self.assertEqual(j["records"]["moves"][0]["value"], 65000)

    def test_configuration_and_saved_game(self):
        cfg = bytearray(gf.CONFIG_SIZE)
        cfg[0] = 3
        cfg[1:52] = gf.short_string("Ring", 50)
        cfg[214:235] = gf.short_string("Player One", 20)
        cfg[648] = 2
        cfg[756:764] = struct.pack("<ii", 3, -1)
        cfg[768] = 1
        j = run("show", self.write("Pavilore.CFG", bytes(cfg)), "--json")
        self.assertEqual((j["gameMode"], j["boardName"], j["playerName"]), (3, "Ring", "Player One"))
        self.assertEqual((j["musicMode"], j["pictureX"], j["pictureY"], j["showWelcome"]), (2, 3, -1, True))
        self.assertIs(j["soundsOn"], False)
        sg = bytearray(gf.SAVED_SIZE)
        sg[0] = 2
        sg[160:168] = struct.pack("<ii", 7, 33)
        sg[1357 + 0] = 4        # History X of entry 1
        sg[1357 + 1024] = 5     # Y
        sg[1357 + 2048] = 1     # Dir
        sg[5456:5460] = struct.pack("<i", 1)
        j = run("show", self.write("game.sgm", bytes(sg)), "--json")
        self.assertEqual((j["gameMode"], j["moves"], j["seconds"]), (2, 7, 33))
        self.assertEqual(j["history"], [[4, 5, 1, 0]])
        self.assertEqual(j["scrambleLength"], 1)

    def test_bad_input_exits_2_with_one_line(self):
        cases = {
            "short.brd": gf.board(RING)[:100],
            "x.txt": b"hello",
            "open.brd": gf.board(["######", "#....#", "#....#", "#....#", "######"])[:0]
            + gf.board(["######", ".....#", "#....#", "######"]),
        }
        for name, data in cases.items():
            p = run("show", self.write(name, data), "--json", ok=False)
            self.assertEqual(p.returncode, 2, name)
            self.assertEqual(p.stdout, "")
            lines = p.stderr.strip().splitlines()
            self.assertEqual(len(lines), 1, p.stderr)
            self.assertIn(name, lines[0])
        p = run("show", os.path.join(self.dir.name, "missing.BRD"), "--json", ok=False)
        self.assertEqual(p.returncode, 2)
        self.assertIn("missing.BRD", p.stderr)


class Push(ToolTest):
    def test_row_push_and_its_record(self):
        b = self.write("row.BRD", gf.board(["#######", "#123..#", "#######"]))
        j = run("push", "--board", b, "--json", "2,2,2", "2,2,2", "7,2,1", "5,2,2", "6,2,2")
        p = j["pushes"]
        self.assertEqual(p[0], {"x": 2, "y": 2, "dir": 2, "ok": True, "mark": None, "steps": [[5, 2, 1, 0]],
                                "grab": [5, 2], "moves": 1, "solved": False})
        self.assertEqual((p[1]["ok"], p[1]["mark"], p[1]["steps"], p[1]["grab"]), (False, None, [], [2, 2]))
        self.assertEqual(p[2]["mark"], None)          # a solid cell: refused silently
        self.assertEqual(p[3]["ok"], True)
        self.assertEqual(p[4]["mark"], {"kind": 2, "x": 7, "y": 2})
        self.assertEqual(p[4]["moves"], 2)
        self.assertEqual(j["tiles"][1][:7], [0, 0, 1, 2, 0, 3, 0])
        self.assertEqual(j["history"], [[5, 2, 1, 0], [6, 2, 1, 0]])
        self.assertEqual(j["moves"], 2)
        self.assertEqual(len(j["tiles"]), 15)

    def test_solving_ends_the_game(self):
        b = self.write("b.BRD", gf.board(["#######", "#12...#", "#######"]))
        pz = self.write("p.PZZ", gf.puzzle("b", ["#######", "#.12..#", "#######"],
                                           ["#######", "#..12.#", "#######"]))
        j = run("push", "--board", b, "--puzzle", pz, "--json", "2,2,2", "3,2,2", "4,2,2", "5,2,1")
        p = j["pushes"]
        self.assertEqual([x["ok"] for x in p], [False, True, True, True])
        self.assertEqual([x["solved"] for x in p], [False, True, False, False])
        self.assertEqual([x["moves"] for x in p], [0, 1, 1, 1])
        # The board's own pattern as start and objective.
        j = run("push", "--board", b, "--puzzle", pz, "--start", "board", "--objective", "op", "--json",
                "2,2,2", "3,2,2")
        self.assertEqual([x["solved"] for x in j["pushes"]], [False, True])

    def test_ring_with_two_steps_per_move(self):
        b = self.write("ring.BRD", gf.board(RING, turns=RING_TURNS, steps_per_move=2))
        j = run("push", "--board", b, "--json", "2,2,2")
        p = j["pushes"][0]
        self.assertEqual((p["ok"], p["steps"], p["moves"]), (True, [[2, 2, 4, 1]], 1))
        self.assertEqual(j["tiles"][1][:6], [0, 11, 12, 1, 2, 0])
        self.assertEqual(j["history"], [[2, 2, 4, 1]])

    def test_marks_of_bends_and_links(self):
        rows = ["#####", "#...#", "#.#.#", "#12.#", "#...#", "#####"]
        b = self.write("glued.BRD", gf.board(rows, turns=[(3, 3, 4)], links=[(2, 4, 3, 4)]))
        j = run("push", "--board", b, "--json", "2,4,1", "3,4,2")
        self.assertEqual(j["pushes"][0]["mark"], {"kind": 1, "x": 1, "y": 4})
        self.assertEqual(j["pushes"][1]["ok"], True)
        self.assertEqual(j["links"], [[3, 4, 4, 4]])
        # The pushed tile's row, again as a glued tile, then its partner's row.
        self.assertEqual(j["pushes"][1]["steps"], [[4, 4, 1, 0]] * 3)

    def test_overflow_is_reported(self):
        rows = ["########", "########", "#1abcd##", "##e##f##", "##g##h##", "##ijkl##", "########", "########"]
        b = self.write("loop.BRD", gf.board(rows, turns=[(4, 4, 1), (5, 4, 2), (5, 5, 3), (4, 5, 4)]))
        j = run("push", "--board", b, "--json", "2,3,2")
        self.assertEqual((j["pushes"][0]["ok"], j["pushes"][0]["mark"]), (False, "overflow"))

    def test_refused_boards_and_bad_gestures(self):
        b = self.write("b.BRD", gf.board(["#####", "#1..#", "#####"], steps_per_move=0))
        p = run("push", "--board", b, "--json", "2,2,2", ok=False)
        self.assertEqual(p.returncode, 2)
        self.assertIn("StepsPerMove", p.stderr)
        good = self.write("g.BRD", gf.board(["#####", "#1..#", "#####"]))
        for gesture in ["2,2", "a,b,c", "2,2,2,2", "300,2,1"]:
            p = run("push", "--board", good, "--json", gesture, ok=False)
            self.assertEqual(p.returncode, 2, gesture)
        j = run("push", "--board", good, "--json", "0,0,0", "25,2,1", "2,2,9")
        self.assertEqual([x["ok"] for x in j["pushes"]], [False] * 3)


class Record(ToolTest):
    def test_positions_and_untouched_bytes(self):
        recs = gf.record_table(times=[("A", 10), ("B", 20), ("C", 30)], moves=[("A", 5)])
        data = gf.board(RING, turns=RING_TURNS, records=recs)
        path = self.write("r.BRD", data)
        j = run("record", path, "--seconds", "20", "--moves", "5", "--name", "Someone With A Long Name", "--json")
        self.assertEqual(j, {"time": 3, "moves": 2, "written": True})
        with open(path, "rb") as f:
            new = f.read()
        self.assertEqual(len(new), gf.BOARD_SIZE)
        self.assertEqual(new[:12200], data[:12200])
        self.assertEqual(new[12544:], data[12544:])
        show = run("show", path, "--json")["records"]
        self.assertEqual([e["value"] for e in show["time"][:5]], [10, 20, 20, 30, 65000])
        self.assertEqual(show["time"][2]["name"], "Someone With")
        self.assertEqual(show["moves"][1], {"name": "Someone With", "value": 5})

    def test_not_entered_leaves_the_file_alone(self):
        path = self.write("p.PZZ", gf.puzzle("b", RING, RING))
        before = os.stat(path).st_mtime_ns
        j = run("record", path, "--seconds", "65000", "--moves", "70000", "--name", "X", "--json")
        self.assertEqual(j, {"time": 11, "moves": 11, "written": False})
        self.assertEqual(os.stat(path).st_mtime_ns, before)

    def test_bot_tables_keep_the_other_eight(self):
        data = gf.board(RING, turns=RING_TURNS)
        path = self.write("bot.BRD", data)
        j = run("record", path, "--seconds", "-3", "--moves", "4", "--name", "Ann", "--bot", "1,2", "--json")
        self.assertEqual(j, {"time": 11, "moves": 1, "written": True})
        with open(path, "rb") as f:
            new = f.read()
        off = 12544 + 1 * 1032 + 2 * 344
        self.assertEqual(new[:off], data[:off])
        self.assertEqual(new[off + 344:], data[off + 344:])
        self.assertEqual(struct.unpack_from("<i", new, off + 304)[0], 4)
        p = run("record", path, "--seconds", "1", "--moves", "1", "--name", "A", "--bot", "3,0", "--json", ok=False)
        self.assertEqual(p.returncode, 2)

    def test_campaign_records(self):
        path = self.write("c.CPN", gf.campaign(["One"]))
        j = run("record", path, "--seconds", "300", "--moves", "120", "--name", "Zed", "--json")
        self.assertEqual(j, {"time": 1, "moves": 1, "written": True})
        self.assertEqual(run("show", path, "--json")["records"]["time"][0], {"name": "Zed", "value": 300})


class Solve(ToolTest):
    """The fewest moves, with a solution that push replays to the objective."""

    RING_GAP = ["######", "#12.4#", "#c##5#", "#b##.#", "#a987#", "######"]

    def install(self, rows, ip, op, steps=1, turns=()):
        root = self.dir.name
        os.makedirs(os.path.join(root, "Boards"), exist_ok=True)
        os.makedirs(os.path.join(root, "Puzzles", "Campaign Levels"), exist_ok=True)
        board = self.write("Boards/Ring.BRD", gf.board(rows, turns=turns, steps_per_move=steps))
        puzzle = self.write("Puzzles/Campaign Levels/Turn.PZZ", gf.puzzle("Ring", ip, op))
        return board, puzzle

    def replay(self, board, puzzle, solution):
        return run("push", "--board", board, "--puzzle", puzzle, "--json",
                   *[f"{x},{y},{d}" for x, y, d in solution])

    def test_answers_replay_to_the_objective(self):
        turned = ["######", "#c12.#", "#b##4#", "#a##5#", "#987.#", "######"]
        full = ["######", "#1234#", "#c##5#", "#b##6#", "#a987#", "######"]
        three_turns = ["######", "#abc1#", "#9##2#", "#8##3#", "#7654#", "######"]
        cases = [
            # name, board rows, steps a move, IP, OP, fewest moves, gestures
            ("ring with a gap", self.RING_GAP, 1, self.RING_GAP, turned, 2, 2),
            # Two turns a move: the third turn, first of the second gesture, solves uncounted.
            ("full ring, two pushes a move", full, 2, full, three_turns, 1, 2),
        ]
        for name, rows, steps, ip, op, fewest, gestures in cases:
            with self.subTest(name):
                board, puzzle = self.install(rows, ip, op, steps, RING_TURNS)
                for args in (["--board", board, "--puzzle", puzzle], [puzzle]):
                    j = run("solve", *args, "--json")
                    self.assertEqual(list(j), ["status", "moves", "solution", "lowerBound"])
                    self.assertEqual((j["status"], j["moves"], j["lowerBound"]), ("optimal", fewest, fewest))
                    self.assertEqual(len(j["solution"]), gestures)
                    r = self.replay(board, puzzle, j["solution"])
                    self.assertTrue(r["pushes"][-1]["solved"], r)
                    self.assertEqual(r["moves"], fewest)

    def test_unreachable_objective_and_bad_input(self):
        line = ["#####", "#12.#", "#####"]
        board, puzzle = self.install(line, line, ["#####", "#21.#", "#####"])
        j = run("solve", puzzle, "--json")
        self.assertEqual(j, {"status": "no solution", "moves": None, "solution": [], "lowerBound": None})
        for args in (["--board", os.path.join(self.dir.name, "gone.BRD")], [puzzle, "--seconds", "soon"],
                     [puzzle, "--max-memory", "0"], [puzzle, "--puzzle", puzzle]):
            with self.subTest(args):
                p = run("solve", *args, "--json", ok=False)
                self.assertEqual(p.returncode, 2)
                self.assertEqual(len(p.stderr.strip().splitlines()), 1, p.stderr)


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main(verbosity=1)
