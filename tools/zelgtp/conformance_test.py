#!/usr/bin/env python3
"""Drives zelgtp the way GTP controllers do and checks every reply.

Usage: conformance_test.py ZELGTP RECORD_DIR
Commands go out with and without ids, mixed with comments and empty lines,
sometimes several at once; each reply must be "=" or "?" with the id,
one blank and a text, ended by an empty line.
"""
import os
import subprocess
import sys

zelgtp, records = sys.argv[1], sys.argv[2]
game = os.path.join(records, "gnugo-h2.sgf")

# (line sent, expected reply text or None for "any", success expected)
session = [
    ("# a controller's greeting", "skip", None),
    ("", "skip", None),
    ("1 protocol_version", "2", True),
    ("2 name", "zelgtp", True),
    ("version", None, True),
    ("3 list_commands", None, True),
    ("4 known_command final_status_list", "true", True),
    ("5 boardsize 13", "unacceptable size", False),
    ("6 boardsize 19", "", True),
    ("7 clear_board", "", True),
    ("8 komi 6.5", "", True),
    ("9 play black D4", "", True),
    ("10 play white Q16  # with a comment", "", True),
    ("11 play black Z99", "invalid color or coordinate", False),
    ("12 undo", "", True),
    ("13 play white R17", "", True),
    ("14 genmove black", "cannot", False),
    ("15 frobnicate", "unknown command", False),
    (f"16 loadsgf {game}", "white", True),
    ("17 showboard", None, True),
    ("18 final_status_list dead", None, True),
    ("19 estimate_score", None, True),
    ("20 fixed_handicap 3", "board not empty", False),
    ("21 quit", "", True),
]

lines = "".join(line + "\n" for line, _, _ in session)
out = subprocess.run([zelgtp], input=lines.encode(), capture_output=True, timeout=60).stdout.decode()
if not out.endswith("\n\n"):
    sys.exit(f"output does not end with an empty line: {out[-40:]!r}")
replies = out[:-2].split("\n\n")
expected = [s for s in session if s[1] != "skip"]
if len(replies) != len(expected):
    sys.exit(f"{len(replies)} replies to {len(expected)} commands:\n{out}")
failures = []
for reply, (line, text, ok) in zip(replies, expected):
    words = line.split()
    want_id = words[0] if words[0].isdigit() else ""
    head = ("=" if ok else "?") + want_id + " "
    if not reply.startswith(head):
        failures.append(f"{line!r}: {reply!r} does not start with {head!r}")
    elif text is not None and reply[len(head):] != text:
        failures.append(f"{line!r}: {reply!r}, expected text {text!r}")
board = replies[[s[0] for s in expected].index("17 showboard")]
if board.count("\n") != 22 or " X " not in board or " O " not in board:
    failures.append(f"showboard: {board!r}")
score = replies[-3]
if not (score[4:].startswith(("B+", "W+")) or score[4:] == "0"):
    failures.append(f"estimate_score: {score!r}")
if failures:
    sys.exit("\n".join(failures))
print(f"{len(expected)} replies as expected")
