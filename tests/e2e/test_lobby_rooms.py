"""The lobby around rooms and the own identity, with real clients on one
server: the first start asks for the personal information before any
connection, the id cannot be edited while connected, a records request is
answered by the other client, entering another room during the own game is
refused, a newcomer to the game's room watches it and "퇴실 하기" takes the
watcher back to the waiting room."""

import os
import re
import sys
import tempfile
import time

from client_driver import VERSION_SECTION, Client
from harness import Server
from test_game_two_clients import ask_for_game, login, meet_in_room, report, retry, user_row, wait_game, \
    wait_terminal


def fresh_ini(srv, gibo):
    """Settings that know the servers but hold no user yet (a first start)."""
    return (VERSION_SECTION +
            "\n[ADV%%20%%26%%20Host%%20Info]\nadvhost=%s\nadvport=%d\nngohost=1\nzelhost1=%s\nzelport1=%d\n"
            "nadfile=0\n" % (srv.host, srv.config_port, srv.host, srv.game_port) +
            "\n[Critical%%20Info]\ngibodir=%s\n" % gibo)


def widget(client, name):
    return dict(f.split("=", 1) for f in client.cmd("widget " + name).split()[1:] if "=" in f)


def first_start(srv, home, shots):
    client = Client(home, fresh_ini(srv, os.path.join(home, "Gibo")))
    client.wait_event(r"event dialog=TMyInfoForm", 15)
    # Nothing connects while the window is open.
    time.sleep(1.5)
    assert client.state()["state"] == "0", client.state()
    assert not any(re.search(r"accept conn=\d+ port=(config|game)", l) for l in srv.lines), srv.lines[-5:]
    client.cmd("screenshot %s TMyInfoForm" % os.path.join(shots, "e2e_first_start_info.png"))
    client.cmd("set eUser tester1")
    client.cmd("set eAlias 테스터일")
    client.cmd("click btnOk")
    client.wait_event(r"event dialog=TLoginForm", 20)
    client.cmd("click btnOk")
    srv.wait_for(r"login conn=\d+ user=\d+ id=tester1", 10)
    client.wait_state(lambda s: s["check"] == "1", 15)
    return client


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
            tempfile.TemporaryDirectory(prefix="zel-b-") as home_b, \
            tempfile.TemporaryDirectory(prefix="zel-c-") as home_c:
        try:
            a = first_start(srv, home_a, shots)
            clients.append(a)

            # While connected the id stays what the connection logged in with.
            mark = a.mark()
            a.cmd("click sbInfo")
            a.wait_event(r"event dialog=TMyInfoForm", 10, mark)
            got = retry(lambda: widget(a, "eUser"))
            assert got["enabled"] == "0" and got["readonly"] == "1" and got["text"] == "tester1", got
            a.cmd("screenshot %s TMyInfoForm" % os.path.join(shots, "e2e_info_while_connected.png"))
            a.cmd("reject")

            b, _ = login(srv, home_b, "tester2", "테스터이")
            clients.append(b)
            meet_in_room(a, b, "전적과 관전")
            room = re.search(r"### (\d+)번 방에 들어 왔습니다!", a.cmd("terminal")).group(1)

            # "전적 요청" from the user menu: the other client answers.
            a.cmd("usermenu %d 3" % user_row(a, "tester2"))
            wait_terminal(a, "테스터이(tester2) :: 총 0전 0승 0패 0무")

            ask_for_game(a, b)
            for c in (a, b):
                wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0", "game start")

            # A double click on the waiting room during the own game is refused.
            start = srv.mark()
            mark = a.mark()
            a.cmd("enterroom 0")
            a.wait_event(r"event notice=대국 중에는 다른 방에 들어갈 수 없습니다.", 5, mark)
            time.sleep(0.5)
            assert not any("code=24030" in l for l in srv.lines[start:]), srv.lines[start:]
            assert game(a)["open"] == "1"

            # A newcomer watches the running game; "퇴실 하기" takes it back to
            # the waiting room.
            c, _ = login(srv, home_c, "tester3", "테스터삼")
            clients.append(c)
            c.cmd("type /" + room)
            wait_terminal(c, "### %s번 방에 들어 왔습니다!" % room)
            wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0", "watching")
            c.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_newcomer_watching.png"))
            start = srv.mark()
            retry(lambda: c.cmd("gamecmd 퇴실 하기"))
            wait_game(c, lambda g: g["open"] == "0", "watching ended")
            srv.wait_for(r"recv conn=\d+ code=24030 len=8", 10, start)
            wait_terminal(c, "### 대기실 입니다!")
            wait_terminal(a, "테스터삼(tester3)님 퇴실")
            assert game(a)["open"] == "1"
        except Exception:
            report(clients, "gamestate")
            raise
        finally:
            for cl in clients:
                cl.kill()
    print("lobby rooms: ok")
    return 0


def game(client):
    return dict(f.split("=", 1) for f in client.cmd("gamestate").split()[1:] if "=" in f)


if __name__ == "__main__":
    sys.exit(main())
