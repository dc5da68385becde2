"""The lobby's chat, rooms, invitations, memos and find between two real
clients and a zelcli on one server; five equal lines end a client."""

import os
import sys
import tempfile
import time

from client_driver import Client, settings_ini
from harness import Server
from zelcli_driver import Cli


def terminal(client):
    return client.cmd("terminal")[3:]


def wait_terminal(client, text, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        screen = terminal(client)
        if text in screen:
            return screen
        if time.monotonic() > deadline:
            raise TimeoutError("%r not in the terminal: %s" % (text, screen))
        time.sleep(0.1)


def wait_rows(client, listname, text, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        rows = client.cmd("rows " + listname)
        if text in rows:
            return rows
        if time.monotonic() > deadline:
            raise TimeoutError("%r not in %s: %s" % (text, listname, rows))
        time.sleep(0.1)


def login(srv, home, uid, nick):
    client = Client(home, settings_ini(uid, nick, srv.host, srv.game_port, srv.config_port))
    client.wait_event(r"event dialog=TLoginForm", 15)
    client.cmd("click btnOk")
    srv.wait_for(r"login conn=\d+ user=\d+ id=%s" % uid, 10)
    client.wait_state(lambda s: s["check"] == "1", 15)
    return client


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
            tempfile.TemporaryDirectory(prefix="zel-b-") as home_b:
        cli = None
        try:
            a = login(srv, home_a, "tester1", "테스터일")
            clients.append(a)
            b = login(srv, home_b, "tester2", "테스터이")
            clients.append(b)
            cli = Cli(srv, "carol", "캐롤", level=20)

            # Room chat in the waiting room reaches both terminals.
            a.cmd("type 안녕하세요 여러분")
            line = "테스터일 [18K] : 안녕하세요 여러분"
            wait_terminal(a, line)
            wait_terminal(b, line)

            # "/f id" prints where the user is.
            b.cmd("type /f carol")
            wait_terminal(b, "찾기결과 :: 캐롤")
            wait_terminal(b, "님 >> 대기실")

            # "/m title" makes a room that the other client lists.
            a.cmd("type /m 즐거운 바둑")
            wait_terminal(a, "번 방에 들어 왔습니다!")
            wait_rows(b, "SlotLBox", "즐거운 바둑")

            # A room invitation from the member menu, accepted by the invitee.
            a.cmd("click sbMyRI")  # member view off: every free user
            rows = wait_rows(a, "UserLBox", "(tester2)")
            entries = rows.split(" ", 2)[2].split(" | ")
            row = next(i for i, r in enumerate(entries) if "(tester2)" in r)
            a.cmd("usermenu %d 1" % row)
            deadline = time.monotonic() + 10
            while True:
                try:
                    b.cmd("click btnAccept")
                    break
                except AssertionError:
                    if time.monotonic() > deadline:
                        raise
                    time.sleep(0.1)
            wait_terminal(b, "번 방에 들어 왔습니다!")
            wait_terminal(a, "테스터이(tester2)님 입실")

            # A memo opens a memo window at the receiver.
            cli.send("memo tester1 메모 시험입니다")
            deadline = time.monotonic() + 10
            while "메모 시험입니다" not in a.cmd("memos"):
                if time.monotonic() > deadline:
                    raise TimeoutError(a.cmd("memos"))
                time.sleep(0.1)
            assert "캐롤님 메모창" in a.cmd("memos")
            a.cmd("screenshot %s" % os.path.join(shots, "lobby_two_clients.png"))

            # Five equal lines within two seconds: the client leaves and quits.
            start = srv.mark()
            for _ in range(5):
                b.cmd("type 도배")
                time.sleep(0.05)
            srv.wait_for(r"recv conn=\d+ code=21020 len=6", 10, start)
            try:
                b.wait_event(r"event dialog=TCNotifyForm", 6)
                b.cmd("accept")
            except TimeoutError:
                pass
            code = b.wait_exit(15)
            assert code == 0, code
        finally:
            for c in clients:
                c.kill()
            if cli:
                cli.proc.kill()
    print("lobby chat: ok")


if __name__ == "__main__":
    sys.exit(main())
