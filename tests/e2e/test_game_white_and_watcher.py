"""A game asked for with "백 돌" between two real clients: the requester plays
white, the other black, and both records name them so. Mid-game a third
client enters the room and asks to watch: it gets the game's state, shows
every stone already played and the clocks, follows every further move with
a board equal to the players', and examines the moves on its own copy."""

import os
import re
import sys
import tempfile

from harness import Server
from test_game_two_clients import (answer_dialog, fields, game, login, meet_in_room, report, retry, user_row,
                                   wait_dialog, wait_game, wait_terminal)


def board(client):
    return fields(client.cmd("gameboard"))


def ask_as_white(a, b):
    """A asks B from the member list choosing "백 돌"; B accepts."""
    retry(lambda: a.cmd("usermenu %d 0" % user_row(a, "tester2")) == "ok" or None)
    wait_dialog(a, "TGameSetForm")
    a.cmd("click rbWhite")
    a.cmd("click OkButton")
    wait_dialog(b, "TGameRequestForm")
    b.cmd("click OkButton")


def play(mover, others, x, y, count):
    mover.cmd("board %d %d" % (x, y))
    for c in [mover] + others:
        wait_game(c, lambda g: g["moves"] == str(count), "move %d" % count)


def room_number(client):
    m = re.search(r"(\d+)번 방에 들어 왔습니다!", client.cmd("terminal"))
    assert m, "no room number"
    return int(m.group(1))


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
            meet_in_room(a, b, "백으로 둡니다")
            room = room_number(a)

            # A asked to play white: B is black and moves first.
            ask_as_white(a, b)
            for c in (a, b):
                wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0", "game start")
                got = board(c)
                assert got["blackid"] == "tester2" and got["whiteid"] == "tester1", got
            wait_game(b, lambda g: g["turn"] == "1", "black (B) to move")
            assert game(a)["turn"] == "0", game(a)

            moves = [(b, a, 4, 4), (a, b, 16, 16), (b, a, 4, 16), (a, b, 16, 4)]
            for n, (mover, other, x, y) in enumerate(moves, 1):
                play(mover, [other], x, y, n)

            # C enters the room mid-game and asks to watch.
            c, _ = login(srv, home_c, "tester3", "테스터삼")
            clients.append(c)
            c.cmd("type /j %d" % room)
            wait_terminal(c, "번 방에 들어 왔습니다!")
            wait_terminal(a, "테스터삼(tester3)님 입실")
            c.cmd("type /v")
            wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0" and g["moves"] == "4", "watching")
            shown = board(c)
            assert shown["black"] == "2" and shown["white"] == "2", shown
            assert shown["blackid"] == "tester2" and shown["whiteid"] == "tester1", shown
            assert shown["strip"] != "0", shown
            assert fields(c.cmd("gamewin"))["layout"] == "2"
            c.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_observer_board.png"))

            # The watcher follows every further move: its board equals the players'.
            further = [(b, a, 10, 10), (a, b, 3, 3), (b, a, 17, 17)]
            for n, (mover, other, x, y) in enumerate(further, 5):
                play(mover, [other, c], x, y, n)
                want = {k: board(a)[k] for k in ("black", "white")}
                assert {k: board(b)[k] for k in want} == want, (board(b), want)
                retry(lambda: {k: board(c)[k] for k in want} == want or None)

            # Examining: the watcher steps back on its own copy, then returns.
            c.cmd("click NavButton12")
            retry(lambda: fields(c.cmd("gamewin"))["mode"] == "8" or None)
            assert fields(c.cmd("gamewin"))["layout"] == "7"
            c.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_observer_examining.png"))
            assert c.cmd("gamecmd 검토 마침") == "ok"
            retry(lambda: fields(c.cmd("gamewin"))["mode"] == "0" or None)
            assert fields(c.cmd("gamewin"))["layout"] == "2"
            assert board(c)["black"] == board(a)["black"] and board(c)["white"] == board(a)["white"]

            # White (A), to move, resigns: black wins, both records name B black.
            a.cmd("gamecmd 불계 선언")
            answer_dialog(a, "TConfirmForm")
            answer_dialog(b, "TCNotifyForm")
            answer_dialog(c, "TCNotifyForm")
            results = {}
            for name, cl in (("a", a), ("b", b)):
                results[name] = wait_game(cl, lambda g: g["open"] == "0" and g["record"], "resignation")
            assert results["a"]["record"] == results["b"]["record"], results
            assert results["a"]["result"] == results["b"]["result"], results
            name = results["a"]["record"]
            assert "tester2tester1" in name, name
            rec_a = open(os.path.join(gibo_a, name), "rb").read()
            rec_b = open(os.path.join(gibo_b, name), "rb").read()
            assert rec_a == rec_b, (rec_a, rec_b)
            header = rec_a.split(b"\r\n", 1)[0].decode("cp949")
            black_label, white_label = header[4:].split("\\#")[:2]
            assert "테스터이" in black_label and "테스터일" in white_label, header
            assert "흑 불계승" in header, header
        except Exception:
            report(clients, "gamestate")
            report(clients, "gameboard")
            raise
        finally:
            for cl in clients:
                cl.kill()
    print("game with the requester as white, watched by a third client: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
