"""A review room on the real server: the host opens a record with "기보 복기",
the two others in the room join by themselves (one from its own copy, one
after fetching the host's record), follow the host's moves, leave and resume
following with "자율 진행"/"동시 진행", answer "참여 확인", and see the host
end the review."""

import os
import sys
import tempfile

from harness import Server
from test_game_two_clients import fields, login, meet_in_room, report, retry, wait_terminal
from test_game_view_record import record_text, wait_gamewin
from test_game_white_and_watcher import room_number

NAME = "20261207kimlee.zel"


def moves(client):
    return fields(client.cmd("gamewin"))["moves"]


def follow(clients, count):
    for c in clients:
        wait_gamewin(c, lambda g: g["moves"] == str(count))


def plain_record():
    """The viewing test's record without its commentary, so each step forward is one move."""
    return "".join(l + "\r\n" for l in record_text().split("\r\n") if l and not l.startswith("VH"))


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
            tempfile.TemporaryDirectory(prefix="zel-b-") as home_b, \
            tempfile.TemporaryDirectory(prefix="zel-c-") as home_c:
        try:
            a, gibo_a = login(srv, home_a, "tester1", "테스터일")
            clients.append(a)
            b, gibo_b = login(srv, home_b, "tester2", "테스터이")
            clients.append(b)
            c, gibo_c = login(srv, home_c, "tester3", "테스터삼")
            clients.append(c)
            meet_in_room(a, b, "함께 복기")
            c.cmd("type /j %d" % room_number(a))
            wait_terminal(a, "테스터삼(tester3)님 입실")

            # The host and B have the record; C has none.
            for gibo in (gibo_a, gibo_b):
                os.makedirs(gibo, exist_ok=True)
                with open(os.path.join(gibo, NAME), "w", encoding="ascii", newline="") as f:
                    f.write(plain_record())
            assert not os.path.exists(os.path.join(gibo_c, NAME))

            a.cmd("recordpick " + os.path.join(gibo_a, NAME))
            got = a.cmd("click sbStudy")
            assert got == "ok", got
            host = wait_gamewin(a, lambda g: g["visible"] == "1" and g["mode"] == "5")
            assert host["layout"] == "6", host
            for joiner in (b, c):
                wait_gamewin(joiner, lambda g: g["visible"] == "1" and g["mode"] == "5" and g["layout"] == "6")
            # C got the host's record: the same moves (commentary stays with its owners).
            got = open(os.path.join(gibo_c, NAME), "rb").read().decode("ascii")
            assert [l for l in got.split("\r\n") if l.startswith("PM")] == \
                [l for l in plain_record().split("\r\n") if l.startswith("PM")], got

            for _ in range(3):
                a.cmd("click NavButton13")
            follow([a, b, c], 3)
            a.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_review_host.png"))
            c.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_review_joiner.png"))

            # B reviews freely for a while: the host's moves no longer move B's board.
            assert b.cmd("gamecmd 자율 진행") == "ok"
            a.cmd("click NavButton13")
            follow([a, c], 4)
            a.cmd("click NavButton13")
            follow([a, c], 5)
            assert moves(b) == "3", moves(b)
            assert b.cmd("gamecmd 동시 진행") == "ok"
            a.cmd("click NavButton13")
            follow([a, b, c], 6)

            # "참여 확인": every participant answers the host.
            assert a.cmd("gamecmd 참여 확인") == "ok"
            wait_terminal(a, "참여: 테스터이(tester2)")
            wait_terminal(a, "참여: 테스터삼(tester3)")

            assert a.cmd("gamecmd 복기 마침") == "ok"
            wait_gamewin(a, lambda g: g["mode"] == "0" and g["visible"] == "0")
            retry(lambda: "마침: 테스터일(tester1)" in b.cmd("gamechat") or None)
        except Exception:
            report(clients, "gamewin")
            report(clients, "terminal")
            raise
        finally:
            for cl in clients:
                cl.kill()
    print("review room with a host and two participants: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
