"""Servers that misbehave never crash or hang the client: a garbled
configuration reply, a game server that accepts and never speaks, and a
refused connection each end in the login dialog or the notice, and the
client keeps answering throughout."""

import socket
import sys
import tempfile
import threading

from client_driver import Client, settings_ini
from harness import HOST

NOT_CONNECTED = "연결이 되지 않았습니다. 잠시후에..."


def listener():
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind((HOST, 0))
    s.listen(4)
    return s


def garbled_config_server(sock, held):
    conn, _ = sock.accept()
    conn.sendall(b"garbage!!!\0trailing")
    held.append(conn)


def silent_game_server(sock, held):
    """Accepts one connection and never speaks; later connections are refused."""
    conn, _ = sock.accept()
    held.append(conn)
    sock.close()


def main():
    held = []
    config_sock, game_sock = listener(), listener()
    config_port, game_port = config_sock.getsockname()[1], game_sock.getsockname()[1]
    threading.Thread(target=garbled_config_server, args=(config_sock, held), daemon=True).start()
    threading.Thread(target=silent_game_server, args=(game_sock, held), daemon=True).start()

    with tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        client = Client(home, settings_ini("tester2", "bad", HOST, game_port, config_port))
        try:
            # Garbled configuration reply: the 15 s wait still opens the login dialog.
            # State 8 comes twice (start, then the refused reply): wait for the
            # state itself rather than racing the first event.
            client.wait_event(r"event state=8", 5)
            client.wait_state(lambda s: s["state"] == "8", 5)
            client.wait_event(r"event dialog=TLoginForm", 20)

            # A game server that accepts and never greets: given up after 15 s.
            client.cmd("click btnOk")
            client.wait_state(lambda s: s["state"] == "3", 5)
            mark = client.mark()
            client.wait_event(r"event dialog=TCNotifyForm text=" + NOT_CONNECTED, 20, start=mark)
            s = client.state()  # answers while the notice is up
            assert s["connected"] == "0", s
            client.cmd("accept")
            client.wait_state(lambda s: s["state"] == "0", 5)

            # Connect again: the port is closed now, the connection is refused.
            mark = client.mark()
            client.cmd("click sbConn")
            client.wait_event(r"event dialog=TLoginForm", 5, start=mark)
            client.cmd("click btnOk")
            client.wait_event(r"event dialog=TCNotifyForm text=" + NOT_CONNECTED, 15, start=mark)
            client.cmd("accept")
            s = client.wait_state(lambda s: s["state"] == "0", 5)
            assert s["connected"] == "0" and s["loggedin"] == "0", s

            client.cmd("click sbExit")
            code = client.wait_exit(10)
            assert code == 0, code
        finally:
            client.kill()
            for c in held:
                c.close()
    print("bad servers: ok")


if __name__ == "__main__":
    sys.exit(main())
