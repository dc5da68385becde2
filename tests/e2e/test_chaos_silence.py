"""The server sends nothing to black for 20 s in the middle of a game (admin
"silence"), while white plays a move. After 15 s without a word black's
client checks the connection on a second one; the server says it is alive,
so black stays logged in. The move white played in the silence reaches black
when white's client sends it again, and the game ends with the same record
on both clients."""

import sys

from chaos_game import Scenario, game, main, play, resign_as_white, start_game, wait_game
from harness import Server

SILENCE_MS = 20000
ALIVE = 3


def run():
    with Server() as srv, Scenario("server silent towards black") as sc:
        a, gibo_a, b, gibo_b = start_game(srv, sc.home_a, sc.home_b, "한판 두어요", sc.clients)
        for n, (mover, other, x, y) in enumerate([(a, b, 4, 4), (b, a, 16, 16), (a, b, 4, 16)], 1):
            play(mover, other, x, y, n)

        start, events = srv.mark(), a.mark()
        assert srv.admin("silence tester1 %d" % SILENCE_MS).startswith("ok")
        b.cmd("board 16 4")
        wait_game(b, lambda g: g["moves"] == "4", "white's move")
        assert game(a)["moves"] == "3"
        # The check after 15 s of silence: probe, verdict "alive", still connected.
        srv.wait_for(r"probe conn=\d+ user=\d+ verdict=%d" % ALIVE, 25, start)
        a.wait_event(r"event state=4", 2, events)
        a.wait_event(r"event state=3", 10, events)
        assert not [line for line in srv.lines[start:] if "relogin" in line or " login " in line]
        wait_game(a, lambda g: g["moves"] == "4" and g["turn"] == "1", "white's move after the silence", 45)
        assert a.state()["check"] == "1"
        play(a, b, 10, 10, 5)
        resign_as_white(a, b, gibo_a, gibo_b, 5)


if __name__ == "__main__":
    sys.exit(main(run, "silence"))
