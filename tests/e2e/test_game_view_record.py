"""A record file named on the command line: the client opens the game window
in viewing mode without connecting, walks the record with the navigation
buttons, replays it automatically and shows a commentary."""

import os
import sys
import tempfile
import time

from client_driver import Client, settings_ini


def code2(n):
    return chr(65 + n // 26) + chr(65 + n % 26)


def record_text():
    moves = [(16, 4), (4, 16), (16, 16), (4, 4), (3, 14), (17, 14), (14, 17), (6, 17)]
    lines = ["OOAAkim(kim) 3d\\#lee(lee) 2d\\#AAAG\\#2026-12-07 21:30\\#test\\#W+R\\#"]
    for i, (x, y) in enumerate(moves, 1):
        colour = "B" if i % 2 else "W"
        lines.append("PM%s%s%s%s%s%s" % (code2(i), colour, chr(65 + x), chr(65 + y), chr(65 + y), chr(65 + x)))
    # A commentary on move 4: two variation moves, the letter A on (3, 3).
    lines.insert(5, "VH" + code2(4) + code2(2) + "RRCQ" + "\\#" + code2(1) + "DD" + code2(600) + "\\#" +
                 "good\\!:: kim")
    return "\r\n".join(lines) + "\r\n"


def wait_gamewin(client, pred, timeout=10):
    end = time.time() + timeout
    while True:
        answer = client.cmd("gamewin")
        fields = dict(f.split("=", 1) for f in answer.split()[1:] if "=" in f)
        if pred(fields):
            return fields
        if time.time() > end:
            raise AssertionError("game window never reached the state: " + answer)
        time.sleep(0.1)


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        path = os.path.join(home, "20261207kimlee.zel")
        with open(path, "w", encoding="ascii", newline="") as f:
            f.write(record_text())
        before = open(path, "rb").read()
        ini = settings_ini("tester1", "tester", "127.0.0.1", 9, 9) + \
            "\n[Environment%20Info]\nautotimei=1\n"
        client = Client(home, ini, args=[path])
        try:
            s = wait_gamewin(client, lambda g: g["visible"] == "1" and g["mode"] == "3")
            assert s["layout"] == "5" and s["moves"] == "0", s
            assert client.state()["connected"] == "0"

            for _ in range(3):
                client.cmd("click NavButton13")
            wait_gamewin(client, lambda g: g["moves"] == "3")
            client.cmd("click NavButton13")
            client.cmd("click NavButton13")
            s = wait_gamewin(client, lambda g: g["mode"] == "2")
            assert s["layout"] == "4" and s["moves"] == "5", s
            client.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_gamewin_commentary.png"))
            client.cmd("click CommandButton5")
            wait_gamewin(client, lambda g: g["mode"] == "3" and g["moves"] == "4")

            # Automatic replay at one move a second runs to the last move.
            client.cmd("click CommandButton3")
            wait_gamewin(client, lambda g: g["moves"] == "8", timeout=15)
            client.cmd("click NavButton10")
            wait_gamewin(client, lambda g: g["moves"] == "1")
            client.cmd("click NavButton15")
            wait_gamewin(client, lambda g: g["moves"] == "8")
            client.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_gamewin_viewing.png"))

            # Ending the viewing writes the record back unchanged.
            client.cmd("click CommandButton5")
            wait_gamewin(client, lambda g: g["mode"] == "0")
            assert open(path, "rb").read() == before
            client.cmd("quit")
            client.wait_exit(10)
        finally:
            client.kill()
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
