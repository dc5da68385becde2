"""A record path on the command line (here split into two arguments by a
blank) opens no connection at all: nothing listens, and nothing is tried."""

import socket
import sys
import tempfile
import time

from client_driver import Client, settings_ini
from harness import HOST


def main():
    # Ports that would accept if the client tried them.
    config_sock, game_sock = socket.socket(), socket.socket()
    for s in (config_sock, game_sock):
        s.bind((HOST, 0))
        s.listen(1)
        s.settimeout(0.1)
    with tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        client = Client(home, settings_ini("tester3", "rec", HOST, game_sock.getsockname()[1],
                                           config_sock.getsockname()[1]),
                        args=[home + "/my", "game.zel"])
        try:
            time.sleep(2)
            s = client.state()
            assert s["state"] == "0" and s["connected"] == "0", s
            for sock in (config_sock, game_sock):
                try:
                    sock.accept()
                    raise AssertionError("the client connected")
                except socket.timeout:
                    pass
            assert not [e for e in client.events if "dialog=" in e], client.events
            # The viewed record comes up docked with the lobby: back to the lobby's tab.
            if "docked=1" in client.cmd("dockstate"):
                client.cmd("docktab 0")
            client.cmd("click sbExit")
            assert client.wait_exit(10) == 0
        finally:
            client.kill()
    print("record path: ok")


if __name__ == "__main__":
    sys.exit(main())
