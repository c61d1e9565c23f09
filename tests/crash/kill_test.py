#!/usr/bin/env python3
"""Kills the game in the middle of its writes and checks what is left on disk.

For each kind of write (the configuration, the records of a puzzle, a saved game,
the player's log) the driver starts the game on a data folder of its own and then
writes in a loop; it is killed with SIGKILL a random time after it says it is ready.
After each kill:
  - the written file is there and whole: exactly the content of the last write
    finished ("old") or of the write going on ("new"), compared byte for byte;
    the log is its header and whole batches of lines, as many as one of the two
    writes leaves;
  - every other new file in the folder is a leftover of the interrupted write, by
    its name: "<file>.XXXXXX" beside a record file, the log's scratch file;
  - the leftovers are made two minutes old, and the next start of the game (the
    driver's next run, or a last start-up alone) must remove those of the record
    files and go through without any message box.

Usage: kill_test.py DRIVER [--kills N] [--max-delay-ms MS] [--seed S] [--keep]
"""

import argparse
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

KINDS = ["config", "records", "savedgame", "log"]
TEMP_SUFFIX = re.compile(rb"^[A-Za-z0-9]{6}$")
LOG_SCRATCH = b"ThisIsATemporalTextFile.TXT"
LOG_BATCH_LINES = 3
LOG_HEADER_LINES = 6
LEFTOVER_AGE = 120  # seconds: older than the start-up's sweep waits for


class Failure(Exception):
    pass


def driver_env(folder):
    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
    env["QT_QPA_PLATFORM"] = "offscreen"
    # No sound device is opened: the audio does not matter here.
    env["SDL_AUDIODRIVER"] = "none"
    return env


def files_of(folder):
    found = set()
    for root, _dirs, names in os.walk(os.fsencode(folder)):
        for name in names:
            found.add(os.path.relpath(os.path.join(root, name), os.fsencode(folder)))
    return found


def run_quiet(cmd, env, what):
    done = subprocess.run(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    if done.returncode != 0:
        raise Failure(f"{what} failed ({done.returncode}): {done.stderr.decode(errors='replace')}")
    return done.stdout.decode()


class Kind:
    def __init__(self, name, driver, work, rng, max_delay):
        self.name = name
        self.driver = driver
        self.rng = rng
        self.max_delay = max_delay
        self.folder = os.path.realpath(os.path.join(work, name))
        self.progress = os.path.join(work, name + ".progress")
        self.env = driver_env(self.folder)
        os.makedirs(self.folder)
        run_quiet([driver, "setup", self.folder], self.env, "setting the folder up")
        self.known = files_of(self.folder) | {b"Pavilore.lock"}
        self.aged = []  # leftovers made old, which the next start must remove
        self.counts = dict(kills=0, during=0, old=0, new=0, leftovers=0, swept=0, scratch=0)

    def progress_counters(self):
        with open(self.progress, "rb") as f:
            return struct.unpack("<QQ", f.read(16))

    def start_and_wait_ready(self):
        self.stderr = tempfile.TemporaryFile()
        proc = subprocess.Popen([self.driver, "run", self.name, self.folder, self.progress], env=self.env,
                                stdout=subprocess.PIPE, stderr=self.stderr)
        info = {}
        while True:
            line = proc.stdout.readline()
            if not line:
                proc.wait()
                raise Failure(f"the driver ended before it was ready ({proc.returncode}): {self.driver_stderr()}")
            line = line.rstrip(b"\n")
            if line == b"ready":
                break
            key, _, value = line.partition(b" ")
            info[key] = value
        self.target = info[b"file"]
        self.versions = [bytes.fromhex(info[b"A"].decode()), bytes.fromhex(info[b"B"].decode())] if b"A" in info else None
        return proc

    def driver_stderr(self):
        self.stderr.seek(0)
        return self.stderr.read().decode(errors="replace")

    def check_swept(self):
        for path in self.aged:
            # The log's scratch file has one name, which the write that follows the
            # start may already have made again: only the old file must be gone.
            if os.path.lexists(path) and os.lstat(path).st_mtime < time.time() - LEFTOVER_AGE / 2:
                raise Failure(f"the start-up left {path!r}, an old leftover of an interrupted write")
        self.counts["swept"] += len(self.aged)
        self.aged = []

    def kill_once(self):
        proc = self.start_and_wait_ready()
        try:
            # The start-up that has just gone through had to take the old leftovers away.
            self.check_swept()
            time.sleep(self.rng.uniform(0, self.max_delay))
        finally:
            proc.kill()
            proc.wait()
        if proc.returncode != -signal.SIGKILL:
            raise Failure(f"the driver ended on its own ({proc.returncode}): {self.driver_stderr()}")
        begun, finished = self.progress_counters()
        if begun not in (finished, finished + 1):
            raise Failure(f"the progress counters make no sense: {begun}, {finished}")
        self.counts["kills"] += 1
        if begun != finished:
            self.counts["during"] += 1
        path = os.path.join(os.fsencode(self.folder), self.target)
        try:
            with open(path, "rb") as f:
                content = f.read()
        except FileNotFoundError:
            raise Failure(f"{self.target!r} is missing after a kill (write {begun})")
        if self.versions:
            whole = [self.versions[finished % 2], self.versions[begun % 2]]
            if content == whole[0]:
                self.counts["old"] += 1
            elif content == whole[1]:
                self.counts["new"] += 1
            else:
                raise Failure(f"{self.target!r} is torn after a kill during write {begun}: "
                              f"{len(content)} bytes, neither of the whole versions")
        else:
            batches = self.log_batches(content)
            if batches == finished:
                self.counts["old"] += 1
            elif batches == begun:
                self.counts["new"] += 1
            else:
                raise Failure(f"{self.target!r} holds {batches} batches after a kill during write {begun}")
        self.check_leftovers()

    def log_batches(self, content):
        """The number of whole batches in the log; a Failure when it is not a whole file."""
        if not content.endswith(b"\n"):
            raise Failure(f"{self.target!r} does not end with a whole line ({len(content)} bytes)")
        lines = content[:-1].split(b"\n")
        if len(lines) < LOG_HEADER_LINES or lines[1] != b" Pavilore's log file for the player 'Tester'" \
                or not lines[4].endswith(b" : Player's log file created."):
            raise Failure(f"{self.target!r} lost its header: {lines[:LOG_HEADER_LINES]!r}")
        body = lines[LOG_HEADER_LINES:]
        if len(body) % LOG_BATCH_LINES:
            raise Failure(f"{self.target!r} ends in the middle of a batch ({len(body)} lines)")
        for i, line in enumerate(body):
            batch, n = divmod(i, LOG_BATCH_LINES)
            want = f"Batch {batch + 1}, line {n + 1} of {LOG_BATCH_LINES}.".encode()
            if line != want:
                raise Failure(f"{self.target!r} line {LOG_HEADER_LINES + i + 1} is {line!r}, not {want!r}")
        return len(body) // LOG_BATCH_LINES

    def check_leftovers(self):
        folder = os.fsencode(self.folder)
        target_dir, target_name = os.path.split(self.target)
        now = time.time()
        for rel in sorted(files_of(self.folder) - self.known - {self.target}):
            rel_dir, name = os.path.split(rel)
            if self.versions and rel_dir == target_dir and name.startswith(target_name + b".") \
                    and TEMP_SUFFIX.match(name[len(target_name) + 1:]):
                self.counts["leftovers"] += 1
                path = os.path.join(folder, rel)
                os.utime(path, (now - LEFTOVER_AGE, now - LEFTOVER_AGE))
                self.aged.append(path)
            elif not self.versions and rel_dir == target_dir and name == LOG_SCRATCH:
                # Nothing reads it; the next start removes it.
                self.counts["scratch"] += 1
                self.aged.append(os.path.join(folder, rel))
            else:
                raise Failure(f"a kill left {rel!r}, which is no leftover of the write")

    def finish(self):
        run_quiet([self.driver, "start", self.folder], self.env, "the last start-up")
        self.check_swept()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("driver")
    parser.add_argument("--kills", type=int, default=100, help="kills per kind of write")
    parser.add_argument("--max-delay-ms", type=float, default=20.0, help="longest wait between ready and the kill")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--kinds", default=",".join(KINDS))
    parser.add_argument("--keep", action="store_true", help="keep the data folders")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 32)
    rng = random.Random(seed)
    print(f"seed {seed}, {args.kills} kills per kind, 0..{args.max_delay_ms:g} ms after ready", flush=True)
    work = tempfile.mkdtemp(prefix="pavilore-kill-")
    ok = True
    try:
        for name in args.kinds.split(","):
            started = time.monotonic()
            kind = Kind(name, args.driver, work, rng, args.max_delay_ms / 1000.0)
            try:
                for _ in range(args.kills):
                    kind.kill_once()
                kind.finish()
            except Failure as e:
                ok = False
                print(f"FAIL {name} after {kind.counts['kills']} kills: {e}", flush=True)
            c = kind.counts
            print(f"{name:10} kills {c['kills']:5}  during a write {c['during']:5}  old {c['old']:5}  new {c['new']:5}  "
                  f"leftovers {c['leftovers']:4} (swept {c['swept']:4})  log scratch {c['scratch']:4}  "
                  f"{time.monotonic() - started:.1f} s", flush=True)
    finally:
        if args.keep or not ok:
            print(f"data folders kept in {work}")
        else:
            shutil.rmtree(work)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
