#!/usr/bin/env python3
"""Generates the GNU Go self-play games replayed by the engine's external check.

Run once by hand (the SGF files are kept in the repository):
    tests/data/gnugo/make_selfplay.py FIRST COUNT
Each game is GNU Go against itself at a low level with its own seed, up to two
passes in a row, a resignation or 300 moves."""
import subprocess
import sys
from pathlib import Path

LETTERS = "ABCDEFGHJKLMNOPQRST"


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
        if line.strip() != "":
            lines.append(line.strip())
    reply = " ".join(lines)
    if not reply.startswith("="):
        raise RuntimeError(command + ": " + reply)
    return reply[1:].strip()


def to_sgf(vertex):
    x = LETTERS.index(vertex[0].upper()) + 1
    y = 20 - int(vertex[1:])
    return chr(ord("a") + x - 1) + chr(ord("a") + y - 1)


def play_game(seed, out):
    proc = subprocess.Popen(["gnugo", "--mode", "gtp", "--level", "0", "--seed", str(seed)],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    gtp(proc, "boardsize 19")
    gtp(proc, "clear_board")
    gtp(proc, "komi 6.5")
    moves = []
    passes = 0
    colour = "B"
    while len(moves) < 300 and passes < 2:
        vertex = gtp(proc, "genmove " + ("black" if colour == "B" else "white"))
        if vertex.lower() == "resign":
            break
        if vertex.lower() == "pass":
            moves.append(colour + "[]")
            passes += 1
        else:
            moves.append(colour + "[" + to_sgf(vertex) + "]")
            passes = 0
        colour = "W" if colour == "B" else "B"
    gtp(proc, "quit")
    proc.wait()
    out.write_text("(;GM[1]FF[4]SZ[19]KM[6.5]PB[gnugo]PW[gnugo]\n;" + "\n;".join(moves) + ")\n")


def main():
    first, count = int(sys.argv[1]), int(sys.argv[2])
    here = Path(__file__).resolve().parent
    for seed in range(first, first + count):
        play_game(seed, here / ("selfplay-%03d.sgf" % seed))


if __name__ == "__main__":
    main()
