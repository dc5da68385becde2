#!/usr/bin/env python3
"""Generates the GNU Go self-play games used by the record conversion tests.

Run once by hand; the SGF files are kept in the repository:
    tests/data/record/make_games.py
Each game is GNU Go against itself at level 0 with its own seed and handicap,
until two passes in a row, a resignation or the move limit. The handicap
stones are those GNU Go places (fixed_handicap); the file layout follows GNU
Go's own SGF output (one property per line in the root, several moves a line)."""
import shutil
import subprocess
from pathlib import Path

GNUGO = shutil.which("gnugo") or "/usr/games/gnugo"
GAMES = [  # name, seed, handicap, move limit
    ("gnugo-even-1.sgf", 11, 0, 220),
    ("gnugo-even-2.sgf", 12, 0, 160),
    ("gnugo-h2.sgf", 14, 2, 150),
    ("gnugo-h4.sgf", 15, 4, 120),
]


def gtp(proc, command):
    proc.stdin.write(command + "\n")
    proc.stdin.flush()
    lines = []
    while True:
        line = proc.stdout.readline()
        if line == "":
            raise RuntimeError("gnugo closed")
        if line.strip() == "" and lines:
            break
        if line.strip():
            lines.append(line.strip())
    reply = " ".join(lines)
    if not reply.startswith("="):
        raise RuntimeError(command + ": " + reply)
    return reply[1:].strip()


LETTERS = "ABCDEFGHJKLMNOPQRST"


def to_sgf(vertex):
    if vertex.lower() == "pass":
        return ""
    x = LETTERS.index(vertex[0].upper())
    y = 19 - int(vertex[1:])
    return chr(ord("a") + x) + chr(ord("a") + y)


def play(name, seed, handicap, limit):
    proc = subprocess.Popen([GNUGO, "--mode", "gtp", "--level", "0", "--seed", str(seed)],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    gtp(proc, "boardsize 19")
    gtp(proc, "clear_board")
    gtp(proc, "komi " + ("0.5" if handicap else "6.5"))
    colour = "black"
    stones = []
    if handicap:
        stones = gtp(proc, "fixed_handicap %d" % handicap).split()
        colour = "white"
    moves, passes, result = [], 0, ""
    while len(moves) < limit and passes < 2:
        vertex = gtp(proc, "genmove " + colour)
        if vertex.lower() == "resign":
            result = ("B" if colour == "white" else "W") + "+R"
            break
        passes = passes + 1 if vertex.lower() == "pass" else 0
        moves.append(("B" if colour == "black" else "W", to_sgf(vertex)))
        colour = "white" if colour == "black" else "black"
    if not result:
        result = gtp(proc, "final_score")
    gtp(proc, "quit")
    proc.wait()
    root = ["(;GM[1]FF[4]", "SZ[19]", "PB[GNU Go]", "PW[GNU Go]",
            "KM[%s]" % ("0.5" if handicap else "6.5"), "RE[%s]" % result, "AP[GNU Go:3.8]"]
    if handicap:
        root.append("HA[%d]AB" % handicap + "".join("[%s]" % to_sgf(v) for v in stones))
    body = ["".join(";%s[%s]" % m for m in moves[i:i + 8]) for i in range(0, len(moves), 8)]
    Path(__file__).with_name(name).write_text("\n".join(root + body) + ")\n")


if __name__ == "__main__":
    for game in GAMES:
        play(*game)
