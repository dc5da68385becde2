"""A multi-game room with real clients: the host makes the room with "다면기
방", two guests come in and each asks the host for a game. The host plays
both boards at once, each guest's move bringing up that guest's board; one
game ends by resignation while the other goes on, the other by counting.
Every guest's record equals the host's byte for byte."""

import os
import re
import sys
import tempfile

from harness import Server
from test_game_two_clients import (answer_dialog, count_by_request, fields, game, login, report, retry, user_row,
                                   wait_dialog, wait_game, wait_terminal)

HOST, G1, G2 = "tester1", "tester2", "tester3"


def room_number(client):
    m = re.search(r"(\d+)번 방에 들어 왔습니다!", client.cmd("terminal"))
    assert m, "no room number"
    return int(m.group(1))


def ask_host(host, guest):
    """The guest asks the host from the member list with "자동(호선)"; the host accepts."""
    retry(lambda: guest.cmd("usermenu %d 0" % user_row(guest, HOST)) == "ok" or None)
    wait_dialog(guest, "TGameSetForm")
    guest.cmd("click OkButton")
    wait_dialog(host, "TGameRequestForm")
    host.cmd("click OkButton")
    return wait_game(guest, lambda g: g["open"] == "1" and g["kind"] == "0", "guest's game start")


def guest_moves(host, guest, x, y, count):
    """The guest plays; the host's window then shows that guest's board."""
    key = game(guest)["key"]
    guest.cmd("board %d %d" % (x, y))
    wait_game(guest, lambda g: g["moves"] == str(count), "guest move %d" % count)
    return wait_game(host, lambda g: g["key"] == key and g["moves"] == str(count) and g["turn"] == "1",
                     "host shows move %d of %s" % (count, key))


def host_answers(host, guest, x, y, count):
    host.cmd("board %d %d" % (x, y))
    wait_game(guest, lambda g: g["moves"] == str(count) and g["turn"] == "1", "host's answer %d" % count)


def stones(client):
    b = fields(client.cmd("gameboard"))
    return b["black"], b["white"]


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-h-") as home_h, \
            tempfile.TemporaryDirectory(prefix="zel-1-") as home_1, \
            tempfile.TemporaryDirectory(prefix="zel-2-") as home_2:
        try:
            host, gibo_h = login(srv, home_h, HOST, "테스터일")
            clients.append(host)
            g1, gibo_1 = login(srv, home_1, G1, "테스터이")
            clients.append(g1)
            g2, gibo_2 = login(srv, home_2, G2, "테스터삼")
            clients.append(g2)

            # The host makes a multi-game room.
            host.cmd("click sbRoom")
            wait_dialog(host, "TMakeRoomForm")
            host.cmd("set eTitle 다면기 지도")
            host.cmd("click cbMulti")
            host.cmd("click btnOk")
            wait_terminal(host, "번 방에 들어 왔습니다!")
            wait_terminal(host, "님의 다면기 지도대국방 입니다!")
            room = room_number(host)
            for g, nick, uid in ((g1, "테스터이", G1), (g2, "테스터삼", G2)):
                g.cmd("type /j %d" % room)
                wait_terminal(g, "번 방에 들어 왔습니다!")
                wait_terminal(g, "테스터일(tester1) ")
                wait_terminal(g, "님의 다면기 지도대국방 입니다!")
                wait_terminal(host, "%s(%s)님 입실" % (nick, uid))

            # Each guest asks for a game; the host is told the request waits
            # and the black guest announces its game to the room.
            ask_host(host, g1)
            retry(lambda: "대국 신청을 처리 중입니다" in g1.cmd("terminal") or None)
            retry(lambda: "흑: 테스터이(tester2)" in host.cmd("terminal") or None)
            ask_host(host, g2)
            wait_game(host, lambda g: g["boards"] == "2", "two boards")
            retry(lambda: "흑: 테스터삼(tester3)" in g1.cmd("terminal") or None)
            keys = {game(g1)["key"], game(g2)["key"]}
            assert len(keys) == 2, keys

            # Moves on both boards, the host answering each guest in turn.
            script = [(g1, 4, 4, 16, 16), (g2, 4, 16, 16, 4), (g1, 16, 4, 4, 16), (g2, 3, 3, 17, 17),
                      (g1, 10, 10, 3, 16), (g2, 10, 11, 17, 4)]
            counts = {G1: 0, G2: 0}
            for guest, x, y, hx, hy in script:
                uid = G1 if guest is g1 else G2
                counts[uid] += 1
                guest_moves(host, guest, x, y, counts[uid])
                # The host's board is that guest's alone.
                retry(lambda: stones(host) == (str((counts[uid] + 1) // 2), str(counts[uid] // 2)) or None)
                counts[uid] += 1
                host_answers(host, guest, hx, hy, counts[uid])
                retry(lambda: stones(host) == stones(guest) or None)
            host.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_multi_game_host.png"))
            assert fields(host.cmd("gamewin"))["layout"] == "1"

            # Guest 1 resigns; the host's session goes on with guest 2's board.
            g1.cmd("gamecmd 불계 선언")
            answer_dialog(g1, "TConfirmForm")
            answer_dialog(host, "TCNotifyForm")
            r1 = wait_game(g1, lambda g: g["open"] == "0" and g["record"], "guest 1's record")
            h = wait_game(host, lambda g: g["boards"] == "1" and g["open"] == "1", "one board left")
            rec_h = open(os.path.join(gibo_h, r1["record"]), "rb").read()
            rec_1 = open(os.path.join(gibo_1, r1["record"]), "rb").read()
            assert rec_h == rec_1, (rec_h, rec_1)
            assert "백 불계승" in rec_1.split(b"\r\n", 1)[0].decode("cp949"), rec_1
            assert rec_1.count(b"\r\nPM") == 6, rec_1

            # Guest 2 moves once more, then asks to count; both mark, the
            # host counts too.
            counts[G2] += 1
            guest_moves(host, g2, 5, 5, counts[G2])
            counts[G2] += 1
            host_answers(host, g2, 15, 15, counts[G2])
            count_by_request(g2, host, "guest 2 marks")
            for c in (g2, host):
                wait_dialog(c, "TCNotifyForm")
            r2, h2 = game(g2), game(host)
            for c in (g2, host):
                c.cmd("accept")
            assert r2["record"] and r2["record"] == h2["record"], (r2, h2)
            assert r2["result"] == h2["result"], (r2, h2)
            rec_h = open(os.path.join(gibo_h, r2["record"]), "rb").read()
            rec_2 = open(os.path.join(gibo_2, r2["record"]), "rb").read()
            assert rec_h == rec_2, (rec_h, rec_2)
            assert rec_2.count(b"\r\nPM") == 8, rec_2
            assert "집" in rec_2.split(b"\r\n", 1)[0].decode("cp949"), rec_2
            # The last board ended: the host's session closes with it.
            wait_game(host, lambda g: g["open"] == "0" and g["boards"] == "0", "host's session closed")
        except Exception:
            report(clients, "gamestate")
            report(clients, "modals")
            raise
        finally:
            for cl in clients:
                cl.kill()
    print("multi-game room, a host against two guests: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
