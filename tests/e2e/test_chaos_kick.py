"""The server cuts one player's connection (admin "kick") and refuses new
connections for five seconds, twice in one game: white in the middle of the
game, while white plays a move with the connection down, and black while the
dead stones are marked. Each time the client gets back in by itself, into
the same room; the move made during the cut reaches black, the marking goes
on, and both clients count the same result into the same record."""

import glob
import os
import sys

from chaos_game import (Scenario, answer_dialog, game, main, play, start_game, wait_dialog, wait_game)
from harness import Server

CUT_MS = 5000


def cut(srv, uid, client):
    """`uid` loses its connection for CUT_MS; returns once it is back."""
    start = srv.mark()
    assert srv.admin("refuse %d" % CUT_MS).startswith("ok"), "refuse"
    assert srv.admin("kick %s" % uid).startswith("ok"), "kick"
    srv.wait_for(r"recv conn=\d+ code=20020 len=38 arg=\d+ user=\d+ room=\d+ id=%s" % uid, CUT_MS / 1000 + 10, start)
    srv.wait_for(r"relogin conn=\d+ user=\d+ room=[1-9]", 5, start)
    client.wait_state(lambda s: s["check"] == "1", 10)


def run():
    with Server() as srv, Scenario("kick in play and in marking") as sc:
        a, gibo_a, b, gibo_b = start_game(srv, sc.home_a, sc.home_b, "한판 두어요", sc.clients)
        for n, (mover, other, x, y) in enumerate([(a, b, 4, 4), (b, a, 16, 16), (a, b, 4, 16)], 1):
            play(mover, other, x, y, n)

        # White is cut off and plays anyway: the move waits on its side.
        start = srv.mark()
        assert srv.admin("refuse %d" % CUT_MS).startswith("ok")
        assert srv.admin("kick tester2").startswith("ok")
        srv.wait_for(r"grace user=\d+", 5, start)
        b.cmd("board 16 4")
        wait_game(b, lambda g: g["moves"] == "4", "white's own move")
        srv.wait_for(r"relogin conn=\d+ user=\d+ room=[1-9]", CUT_MS / 1000 + 10, start)
        # Black hears of it once white's client sends it again.
        wait_game(a, lambda g: g["moves"] == "4" and g["turn"] == "1", "white's move after the cut", 45)
        play(a, b, 10, 10, 5)

        # White asks to count; black is cut off while white marks.
        b.cmd("gamecmd 계가 요청")
        answer_dialog(a, "TConfirmForm")
        answer_dialog(b, "TDMConfirmForm")
        wait_game(b, lambda g: g["dead"] == "1", "marking")
        cut(srv, "tester1", a)
        b.cmd("gamecmd 지정 마침")
        answer_dialog(a, "TConfirmForm", 45)
        answer_dialog(a, "TDMConfirmForm")
        a.cmd("gamecmd 지정 마침")
        answer_dialog(b, "TConfirmForm", 45)

        results = {}
        for name, c in (("b", b), ("a", a)):
            wait_dialog(c, "TCNotifyForm", 45)
            results[name] = game(c)
        for c in (a, b):
            c.cmd("accept")
        assert results["a"]["result"] and results["a"]["result"] == results["b"]["result"], results
        assert results["a"]["record"] and results["a"]["record"] == results["b"]["record"], results
        name = results["a"]["record"]
        rec_a = open(os.path.join(gibo_a, name), "rb").read()
        rec_b = open(os.path.join(gibo_b, name), "rb").read()
        assert rec_a == rec_b, (rec_a, rec_b)
        assert rec_a.count(b"\r\nPM") == 5, rec_a
        assert not glob.glob(os.path.join(gibo_a, "*.tmp")) and not glob.glob(os.path.join(gibo_b, "*.tmp"))


if __name__ == "__main__":
    sys.exit(main(run, "kick"))
