"""The lobby's life cycle against the real server: configuration exchange,
login, lobby entry, reconnection after a kick, the connection check after
15 s of silence, and leaving with the Exit button."""

import os
import sys
import tempfile

from client_driver import Client, settings_ini
from harness import Server


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        client = Client(home, settings_ini("tester1", "테스터", srv.host, srv.game_port, srv.config_port))
        try:
            # Configuration exchange, then the login dialog.
            srv.wait_for(r"config conn=\d+ flag=1 files=\d+ answer=", 10)
            client.wait_event(r"event dialog=TLoginForm", 10)
            client.cmd("click btnOk")

            login = srv.wait_for(r"login conn=(\d+) user=(\d+) id=tester1", 10)
            conn, user = login.group(1), login.group(2)
            srv.wait_for(r"send conn=%s code=25020" % conn, 10)
            s = client.wait_state(lambda s: s["check"] == "1", 10)
            assert s["state"] == "3" and s["connected"] == "1", s
            assert s["user"] == user, (s, user)
            room = s["room"]
            assert s["panels"][2] == "대기실" and s["panels"][4] == "일반 대화", s
            assert s["panels"][1].startswith("방 "), s
            client.cmd("screenshot %s" % os.path.join(shots, "lobby.png"))

            # The close box is refused while not exiting.
            mark = client.mark()
            client.cmd("close")
            client.wait_event(r"event notice='종료' 버튼을 사용하세요!", 5, start=mark)
            assert client.state()["state"] == "3"

            # A dropped connection comes back with a re-login under the same numbers.
            start = srv.mark()
            print(srv.admin("kick tester1"))
            relogin = srv.wait_for(r"relogin conn=(\d+) user=(\d+) room=(\d+)", 10, start)
            assert relogin.group(2) == user and relogin.group(3) == room, relogin.group(0)
            srv.wait_for(r"recv conn=%s code=20020 len=38 .*user=%s room=%s" % (relogin.group(1), user, room),
                         5, start)
            s = client.wait_state(lambda s: s["state"] == "3" and s["loggedin"] == "1", 10)
            assert s["user"] == user and s["room"] == room, s

            # 15 s of silence: the probe asks, the server says alive, nothing changes.
            start = srv.mark()
            probe = srv.wait_for(r"probe conn=\d+ user=%s verdict=(\d+)" % user, 25, start)
            assert probe.group(1) == "3", probe.group(0)
            s = client.wait_state(lambda s: s["state"] == "3", 5)
            assert s["connected"] == "1" and s["user"] == user, s

            # Exit: the leave packet, the server closes, the window closes.
            start = srv.mark()
            client.cmd("click sbExit")
            srv.wait_for(r"recv conn=\d+ code=21020 len=6 arg=%s" % user, 5, start)
            try:
                client.wait_event(r"event dialog=TCNotifyForm", 6)
                client.cmd("accept")
            except TimeoutError:
                pass
            code = client.wait_exit(10)
            assert code == 0, code
        finally:
            client.kill()
    print("lobby life cycle: ok")


if __name__ == "__main__":
    sys.exit(main())
