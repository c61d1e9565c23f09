"""pavilore-tool install and check, on installations made byte by byte here."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamefiles as gf  # noqa: E402

TOOL = None

CLASSIC = ["#####", "#123#", "#456#", "#78.#", "#####"]
SCRAMBLED = ["#####", "#123#", "#456#", "#7.8#", "#####"]


def bmp(width, height):
    row = (width * 3 + 3) // 4 * 4
    pixels = bytes(row * height)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    dib = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + dib + pixels


def jpeg(width, height):
    """Only the markers a size reader looks at: SOI, an APP0 segment, SOF0, EOI."""
    app0 = b"\xff\xe0" + struct.pack(">H", 16) + b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
    sof = b"\xff\xc0" + struct.pack(">HBHHB", 11, 8, height, width, 1) + b"\x01\x11\x00"
    return b"\xff\xd8" + app0 + sof + b"\xff\xd9"


def wave(samples=100):
    fmt = struct.pack("<4sIHHIIHH", b"fmt ", 16, 1, 1, 22050, 44100, 2, 16)
    data = struct.pack("<4sI", b"data", samples * 2) + bytes(samples * 2)
    body = b"WAVE" + fmt + data
    return struct.pack("<4sI", b"RIFF", len(body)) + body


def midi(tracks=1):
    out = struct.pack(">4sIHHH", b"MThd", 6, 1 if tracks > 1 else 0, tracks, 96)
    events = b"\x00\xff\x2f\x00"
    for _ in range(tracks):
        out += struct.pack(">4sI", b"MTrk", len(events)) + events
    return out


def config(board="Classic", puzzle="", campaign="", mode=1, music="Theme", sounds=("Click", "Move", "Solved", "Over"),
           graphics="GB - Default", tile_set="TS - Default", speed=1, music_mode=2):
    c = bytearray(gf.CONFIG_SIZE)
    c[0] = mode
    c[1:52] = gf.short_string(board, 50)
    c[52:103] = gf.short_string(puzzle, 50)
    c[103:154] = gf.short_string(campaign, 50)
    c[158] = speed
    c[159] = 1
    c[160] = 1
    c[213] = 1
    c[235:238] = b"\x01\x01\x01"
    c[238:289] = gf.short_string(graphics, 50)
    c[289:340] = gf.short_string(tile_set, 50)
    c[340:391] = gf.short_string(tile_set, 50)
    for i, s in enumerate(sounds):
        c[392 + 51 * i:443 + 51 * i] = gf.short_string(s, 50)
    c[596] = 1
    c[597:648] = gf.short_string(music, 50)
    c[648] = music_mode
    c[649] = 1
    c[756:764] = struct.pack("<ii", 1, 1)
    c[768] = 1
    return bytes(c)


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_installation(root):
    """A small, complete installation that check accepts."""
    write(f"{root}/Boards/Classic.BRD", gf.board(CLASSIC, title="Classic"))
    write(f"{root}/Puzzles/Swap.PZZ", gf.puzzle("Classic", SCRAMBLED, CLASSIC))
    write(f"{root}/Puzzles/Campaign Levels/Level One.PZZ", gf.puzzle("classic", SCRAMBLED, CLASSIC))
    write(f"{root}/Campaigns/Tour.CPN", gf.campaign(["Swap", "Level One"]))
    write(f"{root}/Graphics/GB - Default.BMP", bmp(480, 192))
    write(f"{root}/Graphics/TS - Default.BMP", bmp(480, 240))
    write(f"{root}/Graphics/TS - Half.JPG", jpeg(240, 240))
    write(f"{root}/Graphics/BK - Default.JPG", jpeg(320, 240))
    for s in ("Click", "Move", "Solved", "Over"):
        write(f"{root}/Sounds/{s}.WAV", wave())
    write(f"{root}/Music/Theme.MID", midi(2))
    write(f"{root}/System/Pavilore.CFG", config())
    os.makedirs(f"{root}/Saved Games")
    os.makedirs(f"{root}/Players")


def run(*args, env=None):
    return subprocess.run([TOOL, *args], capture_output=True, text=True, env=env)


class Check(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = os.path.join(self.tmp.name, "Pavilore")
        make_installation(self.root)

    def tearDown(self):
        self.tmp.cleanup()

    def problems(self):
        p = run("check", self.root)
        self.assertEqual(p.returncode, 2, p.stdout)
        lines = p.stdout.splitlines()
        self.assertTrue(lines[-1].endswith("problem") or lines[-1].endswith("problems"), lines)
        return lines[:-1]

    def assertProblem(self, rel, words):
        lines = self.problems()
        wanted = f"{self.root}/{rel}: "
        self.assertTrue(any(l.startswith(wanted) and words in l for l in lines), (wanted, words, lines))

    def test_a_complete_installation_passes(self):
        p = run("check", self.root)
        self.assertEqual(p.returncode, 0, p.stdout + p.stderr)
        self.assertIn("1 boards, 2 puzzles, 1 campaigns, 4 pictures, 4 sounds, 1 pieces of music", p.stdout)
        self.assertIn("no problems", p.stdout)

    def test_each_puzzle_is_solved_against_its_moves_limit(self):
        # SCRAMBLED is one move from CLASSIC; a puzzle whose IP cannot reach its OP at all
        # (two tiles in a corridor never pass each other), and limits on either side of the
        # fewest moves.
        write(f"{self.root}/Boards/Line.BRD", gf.board(["######", "#12..#", "######"], title="Line"))
        cases = [
            # puzzle, moves limit, par line, problem words (None: no problem)
            (gf.puzzle("Classic", SCRAMBLED, CLASSIC, moves_limit=1), "par 1, moves limit 1", None),
            (gf.puzzle("Classic", CLASSIC, SCRAMBLED), "par 1, no moves limit", None),
            (gf.puzzle("Line", ["######", "#12..#", "######"], ["######", "#.21.#", "######"]), "no solution",
             "the objective pattern cannot be reached from the initial pattern"),
            (gf.puzzle("Classic", ["#####", "#123#", "#.56#", "#478#", "#####"], CLASSIC, moves_limit=1),
             "par 2, moves limit 1", "the moves limit 1 is below the fewest moves (2): the puzzle cannot be won"),
        ]
        for puzzle, par, words in cases:
            with self.subTest(par):
                write(f"{self.root}/Puzzles/Swap.PZZ", puzzle)
                p = run("check", self.root)
                self.assertIn(f"Puzzles/Swap.PZZ: {par}\n", p.stdout)
                if words is None:
                    self.assertEqual(p.returncode, 0, p.stdout)
                else:
                    self.assertProblem("Puzzles/Swap.PZZ", words)
        self.assertNotIn("par", run("check", self.root, "--no-solve").stdout)
        os.remove(f"{self.root}/Boards/Line.BRD")

    def test_bad_arguments_and_missing_folder(self):
        for args in ([], ["a", "b"], [os.path.join(self.root, "nothing")]):
            p = run("check", *args)
            self.assertEqual(p.returncode, 2)
            self.assertEqual(len(p.stderr.strip().splitlines()), 1, p.stderr)

    def test_game_files(self):
        cases = [
            # a record cut short
            ("Boards/Classic.BRD", gf.board(CLASSIC)[:1000], "Boards/Classic.BRD", ""),
            # the frame has a hole: the game refuses the board
            ("Boards/Classic.BRD", gf.board(["#####", "#123.", "#456#", "#78.#", "#####"]), "Boards/Classic.BRD", "frame"),
            # full: nothing can move
            ("Boards/Classic.BRD", gf.board(["#####", "#123#", "#456#", "#789#", "#####"]), "Boards/Classic.BRD",
             "cannot be scrambled"),
            ("Puzzles/Swap.PZZ", gf.puzzle("Classic", CLASSIC, CLASSIC), "Puzzles/Swap.PZZ", "equal"),
            ("Puzzles/Swap.PZZ", gf.puzzle("Gone", SCRAMBLED, CLASSIC), "Puzzles/Swap.PZZ", "'Gone' is missing"),
            ("Campaigns/Tour.CPN", gf.campaign(["Swap", "Nowhere"]), "Campaigns/Tour.CPN", "level 2 'Nowhere'"),
            ("Campaigns/Tour.CPN", gf.campaign([]), "Campaigns/Tour.CPN", "no levels"),
        ]
        for rel, data, where, words in cases:
            with self.subTest(rel=rel, words=words):
                original = read(f"{self.root}/{rel}")
                write(f"{self.root}/{rel}", data)
                self.assertProblem(where, words)
                write(f"{self.root}/{rel}", original)

    def test_a_campaign_level_whose_puzzle_repeats_its_objective(self):
        write(f"{self.root}/Puzzles/Campaign Levels/Level One.PZZ", gf.puzzle("Classic", CLASSIC, CLASSIC))
        lines = self.problems()
        self.assertTrue(any("Campaigns/Tour.CPN: level 2 'Level One': the initial and objective" in l for l in lines))

    def test_an_endless_push_is_found(self):
        # Tile 1 pushed right meets a wall; the corner piece above the wall turns it
        # down, into the wall below, where the same corner piece turns it right again:
        # the game would stop this push with its overflow box.
        rows = ["#####", "#1#.#", "##..#", "#...#", "#####"]
        write(f"{self.root}/Boards/Ring.BRD", gf.board(rows, turns=[(3, 1, 4)]))
        lines = self.problems()
        self.assertTrue(any(l.startswith(f"{self.root}/Boards/Ring.BRD: the push of") and "never ends" in l
                            for l in lines), lines)

    def test_configuration(self):
        cases = [
            (config(mode=4), "GameMode is 4"),
            (config(speed=3), "ComputerSpeed is 3"),
            (config(music_mode=0), "MusicMode is 0"),
            (config(board="Elsewhere"), "the board 'Elsewhere' is missing"),
            (config(puzzle="Lost"), "the puzzle 'Lost' is missing"),
            (config(campaign="Lost", mode=3), "the campaign 'Lost' is missing"),
            (config(graphics="GB - Wood"), "the picture 'GB - Wood' is missing"),
            (config(graphics="Wood"), "does not begin with \"GB - \""),
            (config(tile_set="TS - Glass"), "the picture 'TS - Glass' is missing"),
            (config(sounds=("Click", "Move", "Bang", "Over")), "the sound 'Bang' is missing"),
            (config(music="Waltz"), "the music 'Waltz' is missing"),
            (config()[:700], ""),
        ]
        for data, words in cases:
            with self.subTest(words=words):
                write(f"{self.root}/System/Pavilore.CFG", data)
                self.assertProblem("System/Pavilore.CFG", words)
        os.remove(f"{self.root}/System/Pavilore.CFG")
        self.assertProblem("System/Pavilore.CFG", "is missing")

    def test_without_media_only_the_game_files_count(self):
        for folder in ("Graphics", "Sounds", "Music"):
            shutil.rmtree(f"{self.root}/{folder}")
        self.assertProblem("Graphics", "missing")
        p = run("check", self.root, "--no-media")
        self.assertEqual(p.returncode, 0, p.stdout)
        self.assertIn("1 campaigns, the configuration: no problems", p.stdout)
        write(f"{self.root}/System/Pavilore.CFG", config(board="Gone"))
        p = run("check", "--no-media", self.root)
        self.assertEqual(p.returncode, 2)
        self.assertIn("the board 'Gone' is missing", p.stdout)

    def test_none_as_a_sound_name_needs_no_file(self):
        write(f"{self.root}/System/Pavilore.CFG", config(sounds=("[None]", "Move", "Solved", "[None]")))
        self.assertEqual(run("check", self.root).returncode, 0)

    def test_pictures(self):
        cases = [
            ("Graphics/GB - Default.BMP", bmp(479, 192), "at least 480 x 192"),
            ("Graphics/GB - Default.BMP", b"XX" + bmp(480, 192)[2:], "no BM header"),
            ("Graphics/TS - Default.BMP", bmp(480, 239), "480 (or 240) wide"),
            ("Graphics/TS - Default.BMP", bmp(300, 240), "480 (or 240) wide"),
            ("Graphics/TS - Half.JPG", jpeg(200, 240), "480 (or 240) wide"),
            ("Graphics/TS - Half.JPG", b"\xff\xd8\xff\xd9", "no JPEG frame header"),
            ("Graphics/TS - Half.JPG", b"GIF89a", "not a JPEG"),
            ("Graphics/BK - Default.JPG", jpeg(240, 100), "at least 240 x 240"),
        ]
        for rel, data, words in cases:
            with self.subTest(rel=rel, words=words):
                original = read(f"{self.root}/{rel}")
                write(f"{self.root}/{rel}", data)
                self.assertProblem(rel, words)
                write(f"{self.root}/{rel}", original)
        os.remove(f"{self.root}/Graphics/GB - Default.BMP")
        self.assertProblem("Graphics/GB - Default.BMP", "is missing")
        write(f"{self.root}/Graphics/GB - Default.JPG", jpeg(480, 192))  # a JPEG serves as well
        self.assertEqual(run("check", self.root).returncode, 0)

    def test_sounds_and_music(self):
        good_wave = wave()
        cases = [
            ("Sounds/Click.WAV", b"RIFX" + good_wave[4:], "not a RIFF/WAVE"),
            ("Sounds/Click.WAV", good_wave[:36] + b"junk" + good_wave[40:], "no data chunk"),
            ("Sounds/Click.WAV", good_wave[:-10], "past the end"),
            ("Sounds/Move.WAV", b"RIFF" + struct.pack("<I", 20) + b"WAVE" + struct.pack("<4sI", b"fmt ", 8) + bytes(8),
             "too short"),
            ("Music/Theme.MID", b"MTrk" + midi()[4:], "no MThd"),
            ("Music/Theme.MID", midi(2)[:-12], "announced"),
            ("Music/Theme.MID", midi(1) + b"\x00", "stray bytes"),
        ]
        for rel, data, words in cases:
            with self.subTest(rel=rel, words=words):
                original = read(f"{self.root}/{rel}")
                write(f"{self.root}/{rel}", data)
                self.assertProblem(rel, words)
                write(f"{self.root}/{rel}", original)


class Install(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        t = self.tmp.name
        self.image = os.path.join(t, "image")
        make_installation(self.image)
        self.env = dict(os.environ, HOME=os.path.join(t, "home"), XDG_CONFIG_HOME=os.path.join(t, "config"),
                        XDG_DATA_HOME=os.path.join(t, "data"))
        self.settings = os.path.join(t, "config", "Pavilore.conf")

    def tearDown(self):
        self.tmp.cleanup()

    def install(self, *args, ok=True):
        p = run("install", *args, "--from", self.image, env=self.env)
        if ok:
            self.assertEqual(p.returncode, 0, p.stderr)
        return p

    def tree(self, root):
        out = {}
        for d, _, files in os.walk(root):
            for f in files:
                path = os.path.join(d, f)
                out[os.path.relpath(path, root)] = read(path)
        return out

    def test_default_folder_and_settings(self):
        self.install()
        target = os.path.join(self.tmp.name, "data", "Pavilore")
        self.assertEqual(self.tree(target), self.tree(self.image))
        for empty in ("Saved Games", "Players"):
            self.assertTrue(os.path.isdir(os.path.join(target, empty)))
        self.assertEqual(read(self.settings, "r"), f"[General]\nAppFolder={target}\n")
        self.assertEqual(run("check", target).returncode, 0)

    def test_without_xdg_the_home_folders_are_used(self):
        env = dict(self.env)
        del env["XDG_CONFIG_HOME"]
        env["XDG_DATA_HOME"] = ""
        p = run("install", "--from", self.image, env=env)
        self.assertEqual(p.returncode, 0, p.stderr)
        home = self.env["HOME"]
        self.assertTrue(os.path.isfile(f"{home}/.local/share/Pavilore/Boards/Classic.BRD"))
        with open(f"{home}/.config/Pavilore.conf") as f:
            self.assertIn(f"AppFolder={home}/.local/share/Pavilore", f.read())

    def test_a_second_install_keeps_the_players_files(self):
        target = os.path.join(self.tmp.name, "games")
        first = self.install(target)
        self.assertNotIn("kept", first.stdout)
        board = os.path.join(target, "Boards", "Classic.BRD")
        records = gf.board(CLASSIC, title="Classic", records=gf.record_table(times=[("Ann", 12)]))
        write(board, records)
        os.remove(os.path.join(target, "Puzzles", "Swap.PZZ"))
        os.rename(os.path.join(target, "Campaigns"), os.path.join(target, "campaigns"))
        write(os.path.join(target, "Players", "Ann.TXT"), b"log")
        second = self.install(target)
        self.assertEqual(read(board), records)                   # not replaced
        self.assertIn("kept Boards/Classic.BRD (already there)", second.stdout)
        self.assertTrue(os.path.isfile(os.path.join(target, "Puzzles", "Swap.PZZ")))  # put back
        self.assertFalse(os.path.exists(os.path.join(target, "Campaigns")))  # the same folder, other case
        self.assertIn("kept Campaigns/Tour.CPN (already there)", second.stdout)
        self.assertEqual(read(os.path.join(target, "Players", "Ann.TXT")), b"log")
        self.assertIn("1 files copied", second.stdout)

    def test_other_settings_are_kept(self):
        os.makedirs(os.path.dirname(self.settings))
        old = "; made by hand\n[General]\nFoo=bar\nAppFolder=/old/place\n\n[Window]\nAppFolder=elsewhere\nx=1\n"
        write(self.settings, old.encode())
        target = os.path.join(self.tmp.name, "games")
        self.install(target)
        self.assertEqual(read(self.settings, "r"), old.replace("/old/place", target))
        os.remove(self.settings)
        write(self.settings, b"[Window]\nx=1\n")
        self.install(target)
        self.assertEqual(read(self.settings, "r"), f"[General]\nAppFolder={target}\n\n[Window]\nx=1\n")
        write(self.settings, b"[General]\nFoo=bar\n\n[Window]\nx=1\n")
        self.install(target)
        self.assertEqual(read(self.settings, "r"), f"[General]\nFoo=bar\nAppFolder={target}\n\n[Window]\nx=1\n")

    def test_special_characters_are_escaped_as_the_settings_store_reads_them(self):
        cases = [
            ("a\\b", "{}/a\\\\b"),
            ('say "hi"', '{}/say \\"hi\\"'),
            ("comma, semi; eq=", '"{}/comma, semi; eq="'),
            ("tab\there", "{}/tab\\there"),
            ("Zoë", "{}/Zo\\xeb"),
            ("ü1", "{}/\\xfc\\x31"),          # a hex digit after an escape is escaped too
            ("smile 😀", "{}/smile \\xd83d\\xde00"),
            ("end ", '"{}/end "'),
        ]
        for name, expected in cases:
            with self.subTest(name=name):
                target = os.path.join(self.tmp.name, name)
                self.install(target)
                with open(self.settings, encoding="ascii") as f:
                    text = f.read()
                self.assertEqual(text,
                                 "[General]\nAppFolder=" + expected.format(self.tmp.name) + "\n")

    def test_failures(self):
        p = run("install", os.path.join(self.tmp.name, "x"), "--from", os.path.join(self.tmp.name, "none"), env=self.env)
        self.assertEqual(p.returncode, 2)
        self.assertEqual(len(p.stderr.strip().splitlines()), 1)
        blocker = os.path.join(self.tmp.name, "file")
        write(blocker, b"x")
        p = self.install(blocker, ok=False)
        self.assertEqual(p.returncode, 2)
        self.assertEqual(len(p.stderr.strip().splitlines()), 1, p.stderr)
        p = self.install("--bogus", ok=False)
        self.assertEqual(p.returncode, 2)


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main()
