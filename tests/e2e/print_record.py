"""A 250-move game record with commentaries for the printing tests, made
from a GNU Go self-play game of tests/data (Python standard library only)."""

import os
import re

SOURCE = os.environ.get("ZEL_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))
GAME = os.path.join(SOURCE, "tests", "data", "gnugo", "selfplay-004.sgf")


def code2(n):
    return chr(65 + n // 26) + chr(65 + n % 26)


def letter(v):
    return chr(65 + v)


def sgf_moves(path):
    text = open(path, encoding="utf-8", errors="replace").read()
    moves = []
    for colour, point in re.findall(r";\s*([BW])\[([a-s]{0,2}|tt)\]", text):
        if len(point) == 2 and point != "tt":
            moves.append((ord(point[0]) - 96, ord(point[1]) - 96))
        else:
            moves.append((0, 0))
    return moves


def commentary(number, variation, marks, lines, before):
    """A "VH" line: `before` is the point of move number - 1, `variation` the
    variation's moves, `marks` (x, y, letter) pairs, `lines` the comment."""
    points = [before] + variation
    body = code2(len(points)) + "".join(letter(x) + letter(y) for x, y in points) + "\\#"
    body += code2(len(marks)) + "".join(letter(x) + letter(y) + code2(600 + ord(c) - 65) for x, y, c in marks)
    body += "\\#" + "<< 해 설 >>  \\!" + "".join(line + "\\!" for line in lines) + ":: 김흑"
    return "VH" + code2(number) + body


def record_bytes(moves=250):
    game = sgf_moves(GAME)[:moves]
    assert len(game) == moves, len(game)
    header = "OOAA" + "김흑(kimb) 3D\\#" + "이백(leew) 2D\\#" + "AAAG\\#" + "2026-12-07 21:30\\#" + \
        "가온하루미 벨다대국\\#" + "백 6집 반승\\#"
    lines = [header]
    commentaries = {
        30: commentary(30, [(3, 3), (4, 3), (3, 4), (0, 0), (5, 5)], [(6, 6, "A"), (7, 7, "B")],
                       ["흑이 먼저 두면 백이 받아서 좋은 모양이 됩니다. 이 수가 급소입니다.", "", "   참고하세요."],
                       game[28]),
        # The variation's length does not match its count: left out.
        60: "VH" + code2(60) + code2(5) + "CCDD" + "\\#AA\\#broken\\!",
        120: commentary(120, [(10, 10), (11, 11)], [], ["중앙이 중요합니다."], game[118]),
    }
    for i, (x, y) in enumerate(game, 1):
        colour = "B" if i % 2 else "W"
        lines.append("PM" + code2(i) + colour + letter(x) + letter(y) + letter(y) + letter(x))
        if i in commentaries:
            lines.append(commentaries[i])
    return ("\r\n".join(lines) + "\r\n").encode("cp949")
