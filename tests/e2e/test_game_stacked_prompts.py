"""Two prompts at once on one client: black asks to take back a move, and
while white's question is still open the server sends white away. The
connection notice opens over the question instead of replacing or answering
it, each dialog keeps its own text, and white's late "수 락" after the game
has stopped takes nothing back: both clients keep every move."""

import os
import sys
import tempfile
import time

from harness import Server
from test_game_two_clients import play, report, start_game, wait_dialog, wait_game


def modals(client):
    """The visible dialogs as (name, text, answering) tuples."""
    answer = client.cmd("modals")[3:]
    shown = []
    for entry in filter(None, answer.split(" | ")):
        name, _, text = entry.partition("=")
        shown.append((name.lstrip("*"), text, name.startswith("*")))
    return shown


def wait_modals(client, pred, what, timeout=15.0):
    deadline = time.monotonic() + timeout
    while True:
        shown = modals(client)
        if pred(shown):
            return shown
        if time.monotonic() > deadline:
            raise TimeoutError("%s never happened: %s" % (what, shown))
        time.sleep(0.1)


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
            tempfile.TemporaryDirectory(prefix="zel-b-") as home_b:
        try:
            a, _, b, _ = start_game(srv, home_a, home_b, "두 질문", clients)
            play(a, b, 4, 4, 1)
            play(b, a, 16, 16, 2)
            play(a, b, 4, 16, 3)
            play(b, a, 16, 4, 4)

            # Black asks to take back; white's question stays open.
            a.cmd("gamecmd 물림 요청")
            question = wait_dialog(b, "TConfirmForm")
            assert "물림요청" in question, question

            # Meanwhile the server sends white away: its notice stacks over
            # the question instead of replacing or answering it.
            assert srv.admin("bye tester2").startswith("ok")
            shown = wait_modals(b, lambda s: len(s) == 2, "two dialogs on white's side")
            names = sorted(n for n, _, _ in shown)
            assert names == ["TCNotifyForm", "TConfirmForm"], shown
            top = [entry for entry in shown if entry[2]]
            assert top and top[0][0] == "TCNotifyForm", shown
            under = [entry for entry in shown if entry[0] == "TConfirmForm"][0]
            assert "물림요청" in under[1], shown
            b.cmd("screenshotall %s" % os.path.join(shots, "e2e_stacked_prompts.png"))

            # The notice answered, the question is still there with its text.
            assert b.cmd("accept") == "ok TCNotifyForm"
            shown = wait_modals(b, lambda s: len(s) == 1, "notice closed")
            assert shown[0][0] == "TConfirmForm" and "물림요청" in shown[0][1] and shown[0][2], shown
            # The late consent takes nothing back: the game it belonged to is over.
            assert b.cmd("accept") == "ok TConfirmForm"
            wait_modals(b, lambda s: not s, "question closed")
            time.sleep(1.0)
            for c in (a, b):
                g = wait_game(c, lambda g: g["open"] == "0", "game stopped")
                assert g["moves"] == "4", g
        except Exception:
            report(clients, "gamestate")
            raise
        finally:
            for c in clients:
                c.kill()
    print("stacked prompts: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
