"""A room invitation between two real clients on one server: the invited
user's dialog shows who invites, the refusal text and the automatic-refusal
gauge; a refusal with an edited text reaches the inviter, and an accepted
second invitation brings the invited user into the room."""

import os
import sys
import tempfile
import time

from harness import Server
from test_game_two_clients import login, report, retry, user_row, wait_terminal


def wait_invitation(client, timeout=15.0):
    deadline = time.monotonic() + timeout
    while True:
        shown = client.cmd("dialogs")
        if "TInviteForm:확인 하세요" in shown:
            return shown
        if time.monotonic() > deadline:
            raise TimeoutError("no invitation dialog: %s; events %s" % (shown, client.events[-6:]))
        time.sleep(0.1)


def invite(a, b):
    a.cmd("usermenu %d 1" % user_row(a, "tester2"))
    wait_invitation(b)


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
            tempfile.TemporaryDirectory(prefix="zel-b-") as home_b:
        try:
            a, _ = login(srv, home_a, "tester1", "테스터일")
            clients.append(a)
            b, _ = login(srv, home_b, "tester2", "테스터이")
            clients.append(b)

            a.cmd("type /m 초대 시험")
            wait_terminal(a, "번 방에 들어 왔습니다!")
            a.cmd("click sbMyRI")

            # First invitation: refused with a text typed into the dialog.
            invite(a, b)
            b.cmd("screenshot %s TInviteForm" % os.path.join(shots, "e2e_invitation_dialog.png"))
            b.cmd("set eReject 지금은 바빠요")
            b.cmd("click btnRefuse")
            wait_terminal(a, "테스터이 님이 초대에 응하지 않았습니다(지금은 바빠요).")
            wait_terminal(b, "님의 초대를 거부 했습니다.")
            assert "TInviteForm" not in b.cmd("dialogs")

            # Second invitation: accepted, the invited user enters the room.
            invite(a, b)
            retry(lambda: b.cmd("click btnAccept"))
            wait_terminal(a, "테스터이(tester2)님 입실")
            wait_terminal(b, "번 방에 들어 왔습니다!")
        except Exception:
            report(clients, "terminal")
            raise
        finally:
            for c in clients:
                c.kill()
    print("invitation between two clients: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
