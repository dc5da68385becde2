"""Shared steps of the fault scenarios: two real clients play on a real
server, something breaks, the game goes on and ends; both clients must then
hold the same record, byte for byte, and show the same result."""

import glob
import os
import sys
import tempfile
import time

from test_game_two_clients import (answer_dialog, fields, game, login, meet_in_room, play, report, retry, start_game,
                                   user_row, wait_dialog, wait_game, wait_terminal)

__all__ = ["answer_dialog", "fields", "game", "login", "meet_in_room", "play", "report", "retry", "start_game", "user_row",
           "wait_dialog", "wait_game", "wait_terminal", "Scenario", "records_in", "resume_by_request",
           "resign_as_white", "same_tmp"]


def records_in(gibo, pattern="*.zel"):
    return sorted(glob.glob(os.path.join(gibo, pattern)))


# The field of a kept game that holds both clocks: each side's own reading,
# a second apart at most; every other field must match byte for byte.
CLOCK_FIELD = 7


def same_tmp(gibo_a, gibo_b):
    """Both players kept the interrupted game, and kept the same one (the
    game key, players, moves, labels and komi)."""
    ta, tb = records_in(gibo_a, "*.tmp"), records_in(gibo_b, "*.tmp")
    assert len(ta) == 1 and len(tb) == 1, (ta, tb)
    assert os.path.basename(ta[0]) == os.path.basename(tb[0]), (ta, tb)
    da, db = open(ta[0], "rb").read(), open(tb[0], "rb").read()
    fa, fb = da.split(b"\\#"), db.split(b"\\#")
    assert len(fa) == len(fb) > CLOCK_FIELD, (da, db)
    assert fa[:CLOCK_FIELD] + fa[CLOCK_FIELD + 1:] == fb[:CLOCK_FIELD] + fb[CLOCK_FIELD + 1:], (da, db)
    return da


def resume_by_request(a, b, moves):
    """A asks B for a game; A's client finds the interrupted game and A agrees
    to go on with it; B's client joins from the state A sends to the room."""
    deadline = time.monotonic() + 15
    while a.cmd("usermenu %d 0" % user_row(a, "tester2")) != "ok":
        if time.monotonic() > deadline:
            raise TimeoutError("no game request menu")
        time.sleep(0.2)
    wait_dialog(a, "TGameSetForm")
    a.cmd("click OkButton")
    text = answer_dialog(a, "TConfirmForm")
    assert "이어두기" in text, text
    for c in (a, b):
        wait_game(c, lambda g: g["open"] == "1" and g["moves"] == str(moves), "resumed at move %d" % moves, 20)


def resign_as_white(a, b, gibo_a, gibo_b, moves, timeout=15.0):
    """White (B) resigns on its turn; both records must be the same file."""
    wait_game(b, lambda g: g["turn"] == "1", "white to move", timeout)
    b.cmd("gamecmd 불계 선언")
    answer_dialog(b, "TConfirmForm")
    notice = answer_dialog(a, "TCNotifyForm", timeout)
    assert "tester2" in notice, notice
    results = {}
    for name, c in (("a", a), ("b", b)):
        results[name] = wait_game(c, lambda g: bool(g["result"]) and g["open"] == "0", "resignation", timeout)
    assert results["a"]["result"] == results["b"]["result"], results
    assert results["a"]["record"] and results["a"]["record"] == results["b"]["record"], results
    name = results["a"]["record"]
    rec_a = open(os.path.join(gibo_a, name), "rb").read()
    rec_b = open(os.path.join(gibo_b, name), "rb").read()
    assert rec_a == rec_b, (rec_a, rec_b)
    assert rec_a.count(b"\r\nPM") == moves, rec_a
    # A finished game leaves no interrupted one behind.
    assert not records_in(gibo_a, "*.tmp") and not records_in(gibo_b, "*.tmp")
    return rec_a


class Scenario:
    """Temporary homes for both players and the list of running clients; on
    failure prints what each client shows, and always ends the clients."""

    def __init__(self, name):
        self.name = name
        self.clients = []
        self.started = time.monotonic()
        self._dirs = [tempfile.TemporaryDirectory(prefix="zel-%s-" % c) for c in "ab"]
        self.home_a, self.home_b = (d.name for d in self._dirs)

    def __enter__(self):
        return self

    def __exit__(self, kind, value, tb):
        if kind is not None:
            report(self.clients, "gamestate")
        for c in self.clients:
            c.kill()
        for d in self._dirs:
            d.cleanup()
        if kind is None:
            print("%s: ok (%.0f s)" % (self.name, time.monotonic() - self.started))
        return False

    def replace(self, old, new):
        self.clients[self.clients.index(old)] = new


def main(run, name):
    try:
        run()
    except Exception:
        print("%s: FAILED" % name, file=sys.stderr)
        raise
    return 0
