"""The lobby and the game window docked as tabs of one window, with two real
clients on one server: the game window comes up docked at its first show,
moves are played in the docked window, the windows are taken apart and docked
again by dragging the lobby into the middle of the game window, and the end of
the game leaves both tabs in place with the lobby's in front. Screenshots of
the docked and undocked windows go to $ZEL_SCREENSHOTS."""

import os
import sys
import tempfile
import time

from harness import Server
from test_game_two_clients import answer_dialog, ask_for_game, login, meet_in_room, play, report, wait_game

LOBBY_CAPTION = "가온하루미 벨다 베타 1.8 c"


def dock(client):
    head, _, tabs = client.cmd("dockstate").partition(" tabs=")
    d = dict(f.split("=", 1) for f in head.split()[1:] if "=" in f)
    d["tabs"] = tabs.split("|") if tabs else []
    return d


def wait_dock(client, pred, what, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        d = dock(client)
        if pred(d):
            return d
        if time.monotonic() > deadline:
            raise TimeoutError("%s never happened: %s" % (what, d))
        time.sleep(0.1)


def gamewin(client):
    return dict(f.split("=", 1) for f in client.cmd("gamewin").split()[1:] if "=" in f)


def rect(text):
    return tuple(int(v) for v in text.split(","))


def zone_of(site):
    left, top, width, height = site
    x0, y0 = (width + 4) // 5, (height + 4) // 5
    return (left + x0, top + y0, width * 4 // 5 - x0, height * 4 // 5 - y0)


def windows(client):
    """The program's main windows shown now (notices left out)."""
    main_windows = ("TTabDockHost", "TZel4HvnForm", "TZelGoMainForm")
    return [n for n in (w.split(":", 1)[0] for w in client.cmd("dialogs")[3:].split(";")) if n in main_windows]


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
            assert dock(a)["docked"] == "0"

            meet_in_room(a, b, "같이 둬요")
            ask_for_game(a, b)
            for c in (a, b):
                wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0", "game start")

            # The game window's first show docks it with the lobby, its tab in front.
            for c in (a, b):
                d = wait_dock(c, lambda d: d["docked"] == "1", "docking at the first show")
                assert d["pages"] == "2" and d["current"] == "1", d
                assert d["tabs"] == [LOBBY_CAPTION, "벨다 바둑"], d
                assert windows(c) == ["TTabDockHost"], windows(c)
            wait_game(a, lambda g: g["turn"] == "1", "black to move")
            play(a, b, 4, 4, 1)
            play(b, a, 16, 16, 2)
            a.cmd("screenshot %s TTabDockHost" % os.path.join(shots, "e2e_dock_game_docked.png"))

            # The lobby's tab in front hides the board; the game goes on.
            a.cmd("docktab 0")
            assert gamewin(a)["visible"] == "0"
            a.cmd("screenshot %s TTabDockHost" % os.path.join(shots, "e2e_dock_lobby_tab.png"))
            a.cmd("docktab 1")
            assert gamewin(a)["visible"] == "1"

            # Apart again: two windows, and the game plays on in its own.
            a.cmd("undock")
            d = dock(a)
            assert d["docked"] == "0" and d["pages"] == "0", d
            assert sorted(windows(a)) == ["TZel4HvnForm", "TZelGoMainForm"], windows(a)
            assert gamewin(a)["visible"] == "1"
            play(a, b, 4, 16, 3)
            a.cmd("screenshot %s" % os.path.join(shots, "e2e_dock_undocked_lobby.png"))
            a.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_dock_undocked_game.png"))

            # Dragging the lobby into the middle of the game window docks both again.
            site = rect(dock(a)["site"])
            assert site[2] > 0 and site[3] > 0, site
            cx, cy = site[0] + site[2] // 2, site[1] + site[3] // 2
            a.cmd("dragover %d %d" % (site[0] + 2, cy))
            d = dock(a)
            assert d["docked"] == "0" and d["preview"] == "0", d
            a.cmd("dragover %d %d" % (cx, cy))
            d = dock(a)
            assert d["preview"] == "1" and rect(d["zone"]) == zone_of(site), (d, zone_of(site))
            a.cmd("drop %d %d" % (cx, cy))
            d = wait_dock(a, lambda d: d["docked"] == "1", "docking by the drop")
            assert d["current"] == "0" and d["preview"] == "0", d
            # Where the game window was, kept on the screen.
            assert rect(d["host"])[2:] == site[2:], (d, site)
            a.cmd("screenshot %s TTabDockHost" % os.path.join(shots, "e2e_dock_dropped.png"))
            a.cmd("docktab 1")
            play(b, a, 16, 4, 4)
            play(a, b, 10, 10, 5)
            wait_game(b, lambda g: g["turn"] == "1", "white to move")

            # White resigns: the game windows hide, which only brings the lobby forward.
            b.cmd("gamecmd 불계 선언")
            answer_dialog(b, "TConfirmForm")
            answer_dialog(a, "TCNotifyForm")
            for c in (a, b):
                wait_game(c, lambda g: g["result"] != "", "resignation")
                d = wait_dock(c, lambda d: d["current"] == "0", "the lobby in front after the game")
                assert d["docked"] == "1" and d["pages"] == "2", d
            for c in (a, b):
                c.cmd("quit")
                assert c.wait_exit(10) == 0
        except Exception:
            report(clients, "dockstate")
            raise
        finally:
            for c in clients:
                c.kill()
    print("game window docking: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
