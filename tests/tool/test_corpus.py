"""pavilore-tool on the corpus of malformed files (tests/corpus): `show` and `check`
refuse each file with a status of 2 and a message naming the file and the rule it
breaks, and never crash or hang."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

CORPUS = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "corpus")
TOOL = None
TIMEOUT = 5  # seconds for one file; the slowest takes a fraction of one


def manifest():
    entries = []
    with open(os.path.join(CORPUS, "manifest.tsv"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, kind, install, words, refused, also = line.rstrip("\n").split("\t")
            entries.append({"name": name, "kind": kind, "install": install, "words": words.split(" | "),
                            "refused": refused.split(","), "also": [a.split(">") for a in also.split(";") if a]})
    return entries


def install(root, entry):
    """The entry's file (or folder) at its place under root, with its companions."""
    target = os.path.join(root, entry["install"])
    os.makedirs(os.path.dirname(target), exist_ok=True)
    if entry["name"] == "-":
        if entry["kind"] == "picture":
            with open(target, "wb") as f:
                f.write(huge_bmp_header())
        else:
            os.makedirs(target)
    else:
        shutil.copyfile(os.path.join(CORPUS, "files", entry["name"]), target)
    for name, place in entry["also"]:
        shutil.copyfile(os.path.join(CORPUS, "files", name), os.path.join(root, place))
    return target


def huge_bmp_header():
    import struct
    header = b"BM" + struct.pack("<IHHI", 54, 0, 0, 54)
    return header + struct.pack("<IiiHHIIiiII", 40, 100000, 100000, 1, 24, 0, 0, 2835, 2835, 0, 0)


def valid_installation(root):
    """The files every entry is installed with: the board, puzzle and campaign it may name."""
    for folder, name in (("Boards", "Corpus Board.BRD"), ("Puzzles", "Corpus Puzzle.PZZ"),
                         ("Campaigns", "Corpus Campaign.CPN"), ("System", "Pavilore.CFG")):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        shutil.copyfile(os.path.join(CORPUS, "valid", name), os.path.join(root, folder, name))
    os.makedirs(os.path.join(root, "Saved Games"), exist_ok=True)


def run(*args):
    try:
        p = subprocess.run([TOOL, *args], capture_output=True, timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        raise AssertionError(f"pavilore-tool {' '.join(args)} ran past {TIMEOUT} s")
    if p.returncode < 0:
        raise AssertionError(f"pavilore-tool {' '.join(args)} ended on signal {signal.Signals(-p.returncode).name}")
    return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8", "replace")


class Corpus(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def test_the_corpus_is_large_and_its_valid_files_pass(self):
        self.assertGreaterEqual(len(manifest()), 60)
        for name in ("Corpus Board.BRD", "Corpus Puzzle.PZZ", "Corpus Campaign.CPN", "Pavilore.CFG",
                     "Corpus Saved.SGM"):
            status, _, err = run("show", os.path.join(CORPUS, "valid", name), "--json")
            self.assertEqual(status, 0, (name, err))

    def test_show_refuses_each_file_naming_it_and_its_rule(self):
        for entry in manifest():
            if "show" not in entry["refused"]:
                continue
            with self.subTest(entry["install"]):
                root = os.path.join(self.root, str(len(os.listdir(self.root))))
                target = install(root, entry)
                status, out, err = run("show", target, "--json")
                self.assertEqual(status, 2, err)
                self.assertEqual(out, "")
                lines = err.strip().splitlines()
                self.assertEqual(len(lines), 1, err)
                for word in entry["words"]:
                    self.assertIn(word, lines[0])

    def test_check_names_each_file_and_its_rule(self):
        # Game files side by side in one installation; the configurations one at a time.
        game_files = [e for e in manifest() if "check" in e["refused"] and e["kind"] not in ("config",)]
        valid_installation(self.root)
        for entry in game_files:
            install(self.root, entry)
        status, out, _ = run("check", self.root)
        self.assertEqual(status, 2)
        lines = out.splitlines()
        for entry in game_files:
            with self.subTest(entry["install"]):
                mine = [l for l in lines if l.startswith(f"{self.root}/{entry['install']}: ")]
                self.assertTrue(mine, f"no problem named for {entry['install']}")
                # The rule as the game words it; pictures are named only.
                if entry["kind"] != "picture":
                    self.assertTrue(any(all(w in l for w in entry["words"][1:]) for l in mine), mine)

    def test_check_refuses_each_configuration(self):
        for entry in manifest():
            if entry["kind"] != "config":
                continue
            with self.subTest(entry["name"]):
                root = os.path.join(self.root, str(len(os.listdir(self.root))))
                valid_installation(root)
                install(root, entry)
                status, out, _ = run("check", root, "--no-media")
                self.assertEqual(status, 2, out)
                self.assertIn(f"{root}/System/Pavilore.CFG: ", out)


if __name__ == "__main__":
    TOOL = os.path.abspath(sys.argv.pop(1))
    unittest.main()
