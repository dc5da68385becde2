#!/usr/bin/env python3
"""Writes GNU Go's dead stones for the final position of every counted game.

Usage: make_gnugo_dead.py GAMES_DIR OUT [LEVEL]
One line per game: the file name, a colon, then the dead stones as GTP
vertices separated by blanks. analysis_bench reads the result.
"""
import os
import subprocess
import sys


def dead_stones(gnugo, path, level):
    session = f"loadsgf {path}\nfinal_status_list dead\nquit\n"
    out = subprocess.run([gnugo, "--mode", "gtp", "--level", str(level)], input=session,
                         capture_output=True, text=True, timeout=600).stdout
    replies = [r for r in out.split("\n\n") if r.strip()]
    if len(replies) < 2 or not replies[1].startswith("="):
        raise RuntimeError(f"{path}: {out!r}")
    return replies[1][1:].split()


def main():
    games, out = sys.argv[1], sys.argv[2]
    level = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    gnugo = os.environ.get("GNUGO", "/usr/games/gnugo")
    with open(out, "w") as f:
        for name in sorted(n for n in os.listdir(games) if n.endswith(".sgf")):
            stones = dead_stones(gnugo, os.path.join(games, name), level)
            f.write(f"{name}: {' '.join(stones)}\n")
            f.flush()


if __name__ == "__main__":
    main()
