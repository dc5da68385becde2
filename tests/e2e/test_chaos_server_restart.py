"""The server process dies (SIGKILL) in the middle of a game and a new one
starts on the same port. Both clients log in again by themselves; the new
server knows neither them nor their room, so each client keeps the game as
an interrupted one; they meet again, black asks for a game, agrees to go on
with the interrupted one, and the game ends with the same record on both."""

import os
import sys
import tempfile

from chaos_game import (Scenario, main, meet_in_room, play, resign_as_white, resume_by_request, same_tmp, start_game,
                        wait_game)
from harness import Server


def run():
    with Server() as srv, Scenario("server killed and restarted") as sc:
        a, gibo_a, b, gibo_b = start_game(srv, sc.home_a, sc.home_b, "한판 두어요", sc.clients)
        for n, (mover, other, x, y) in enumerate([(a, b, 4, 4), (b, a, 16, 16), (a, b, 4, 16), (b, a, 16, 4)], 1):
            play(mover, other, x, y, n)

        srv.kill()
        srv.restart()
        # Both log in again through the connection logic: nobody clicks.
        for uid in ("tester1", "tester2"):
            srv.wait_for(r"login conn=\d+ user=\d+ id=%s" % uid, 20)
        for c in (a, b):
            c.wait_state(lambda s: s["check"] == "1", 20)
            wait_game(c, lambda g: g["open"] == "0", "the game set aside", 20)
        state = same_tmp(gibo_a, gibo_b)
        assert state.count(b"\\#") > 3, state

        meet_in_room(a, b, "다시 둡시다")
        resume_by_request(a, b, 4)
        shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
        os.makedirs(shots, exist_ok=True)
        b.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_chaos_resumed_b.png"))
        play(a, b, 10, 10, 5)
        resign_as_white(a, b, gibo_a, gibo_b, 5)


if __name__ == "__main__":
    sys.exit(main(run, "server restart"))
