"""One player's client process is killed in the middle of a game and started
again. Its fresh login ends the old one on the server, so the other player's
client sees the opponent leave and keeps the game as an interrupted one;
black invites white back, asks for a game, agrees to go on with the kept
game, and the game ends with the same record on both clients."""

import sys

from chaos_game import Scenario, login, main, play, resign_as_white, resume_by_request, retry, start_game, \
    user_row, wait_game, wait_terminal
from harness import Server


def run():
    with Server() as srv, Scenario("client killed and started again") as sc:
        a, gibo_a, b, gibo_b = start_game(srv, sc.home_a, sc.home_b, "한판 두어요", sc.clients)
        for n, (mover, other, x, y) in enumerate([(a, b, 4, 4), (b, a, 16, 16), (a, b, 4, 16), (b, a, 16, 4)], 1):
            play(mover, other, x, y, n)

        b.kill()
        srv.wait_for(r"grace user=\d+", 5)
        start = srv.mark()
        b2, _ = login(srv, sc.home_b, "tester2", "테스터이")
        sc.replace(b, b2)
        srv.wait_for(r"leave user=\d+", 5, start)
        wait_game(a, lambda g: g["open"] == "0", "black sets the game aside")
        wait_terminal(a, "대국이 중단되고 기보가 저장되었습니다.")

        # Black brings white back into the room (the user list still shows
        # everybody) and resumes the kept game.
        a.cmd("usermenu %d 1" % user_row(a, "tester2"))
        retry(lambda: b2.cmd("click btnAccept"))
        wait_terminal(a, "테스터이(tester2)님 입실")
        resume_by_request(a, b2, 4)
        play(a, b2, 10, 10, 5)
        resign_as_white(a, b2, gibo_a, gibo_b, 5)


if __name__ == "__main__":
    sys.exit(main(run, "client restart"))
