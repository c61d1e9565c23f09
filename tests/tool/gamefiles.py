"""Builds game files byte by byte for the tool tests, independently of the C++ code."""
import struct

BOARD_SIZE = 15736
PUZZLE_SIZE = 4676
CAMPAIGN_SIZE = 13396
SAVED_SIZE = 5460
CONFIG_SIZE = 772


def short_string(text, n):
    raw = text.encode("cp1252")[:n]
    return bytes([len(raw)]) + raw + bytes(n - len(raw))


def record_table(empty=65000, times=(), moves=()):
    """times / moves: lists of (name, value) for the first positions."""
    out = bytearray()
    names = [short_string(n, 12) for n, _ in times] + [short_string("", 12)] * (10 - len(times))
    out += b"".join(names) + bytes(2)
    out += struct.pack("<10i", *([v for _, v in times] + [empty] * (10 - len(times))))
    names = [short_string(n, 12) for n, _ in moves] + [short_string("", 12)] * (10 - len(moves))
    out += b"".join(names) + bytes(2)
    out += struct.pack("<10i", *([v for _, v in moves] + [empty] * (10 - len(moves))))
    assert len(out) == 344
    return bytes(out)


def face(c):
    if c.isdigit() and c != "0":
        return int(c)
    if "a" <= c <= "z":
        return ord(c) - ord("a") + 10
    return 0


def pattern(rows, links=()):
    """rows as in the engine tests: '#' or '.' no tile, digits and letters are tiles."""
    grid = bytearray(22 * 17)
    for y, row in enumerate(rows, start=1):
        for x, c in enumerate(row, start=1):
            grid[x * 17 + y] = face(c)
    lk = bytearray(200)
    for i, l in enumerate(links):
        lk[i * 4:i * 4 + 4] = bytes(l)
    return bytes(grid) + bytes(lk)


def board(rows, turns=(), jumps=(), links=(), steps_per_move=1, title="Test Board", author="Tests",
          tile_set="", records=None, bot=None):
    b = bytearray(BOARD_SIZE)
    b[0] = len(rows[0])
    b[1] = len(rows)
    for y, row in enumerate(rows, start=1):
        for x, c in enumerate(row, start=1):
            b[2 + x * 17 + y] = 1 if c == "#" else 0
    b[376:376 + 574] = pattern(rows, links)
    for i, j in enumerate(jumps):
        b[11750 + i * 6:11750 + i * 6 + 6] = bytes(j)
    for i, t in enumerate(turns):
        b[12050 + i * 3:12050 + i * 3 + 3] = bytes(t)
    b[12200:12544] = records or record_table()
    for s in range(3):
        for a in range(3):
            off = 12544 + s * 1032 + a * 344
            b[off:off + 344] = (bot or {}).get((s, a), record_table(empty=0))
    b[15640] = steps_per_move
    b[15641:15662] = short_string(title, 20)
    b[15662:15683] = short_string(author, 20)
    b[15683:15734] = short_string(tile_set, 50)
    return bytes(b)


def puzzle(board_name, ip_rows, op_rows, time_limit=0, moves_limit=0, title="Test Puzzle", author="Tests",
           records=None):
    p = bytearray(PUZZLE_SIZE)
    p[0:51] = short_string(board_name, 50)
    p[51:625] = pattern(ip_rows)
    p[625:1199] = pattern(op_rows)
    for i in range(1199, 4280):
        p[i] = (i * 7) & 0xFF  # reserved bytes: kept as read
    p[4280:4288] = struct.pack("<ii", time_limit, moves_limit)
    p[4288:4632] = records or record_table()
    p[4632:4653] = short_string(title, 20)
    p[4653:4674] = short_string(author, 20)
    return bytes(p)


def campaign(levels, title="Test Campaign", author="Tests"):
    c = bytearray(CAMPAIGN_SIZE)
    for i, name in enumerate(levels):
        c[i * 51:i * 51 + 51] = short_string(name, 50)
    c[13008:13352] = record_table()
    c[13352:13373] = short_string(title, 20)
    c[13373:13394] = short_string(author, 20)
    return bytes(c)
