"""A whole game between two real clients on one server: a request from the
user menu, the settings and request dialogs, moves by board clicks, an undo,
an end request with dead-stone marking by both players and counting; then a
second game with a commentary sent during play that ends by resignation. Both clients must write the same records
and show the same results."""

import glob
import os
import sys
import tempfile
import time

from client_driver import Client, settings_ini
from harness import Server


def fields(answer):
    return dict(f.split("=", 1) for f in answer.split()[1:] if "=" in f)


def game(client):
    return fields(client.cmd("gamestate"))


def wait_game(client, pred, what, timeout=15.0):
    deadline = time.monotonic() + timeout
    while True:
        g = game(client)
        if pred(g):
            return g
        if time.monotonic() > deadline:
            raise TimeoutError("%s never happened: %s; events %s" % (what, g, client.events[-6:]))
        time.sleep(0.1)


def wait_dialog(client, name, timeout=15.0):
    """Waits until `name` is the modal dialog on top and returns its text."""
    deadline = time.monotonic() + timeout
    while True:
        shown = client.cmd("dialogs")
        if (name + ":") in shown:
            for e in reversed(client.events):
                if e.startswith("event dialog=" + name):
                    return e
            return ""
        if time.monotonic() > deadline:
            raise TimeoutError("no %s: %s; events %s" % (name, shown, client.events[-6:]))
        time.sleep(0.1)


def answer_dialog(client, name, timeout=15.0):
    text = wait_dialog(client, name, timeout)
    got = client.cmd("accept")
    assert got == "ok " + name, got
    return text


def retry(action, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        try:
            return action()
        except AssertionError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def wait_terminal(client, text, timeout=10.0):
    deadline = time.monotonic() + timeout
    while text not in client.cmd("terminal"):
        if time.monotonic() > deadline:
            raise TimeoutError("%r not in the terminal" % text)
        time.sleep(0.1)


def login(srv, home, uid, nick):
    gibo = os.path.join(home, "Gibo")
    extra = "\n[Critical%%20Info]\ngibodir=%s\n" % gibo
    client = Client(home, settings_ini(uid, nick, srv.host, srv.game_port, srv.config_port, extra))
    client.wait_event(r"event dialog=TLoginForm", 15)
    client.cmd("click btnOk")
    srv.wait_for(r"login conn=\d+ user=\d+ id=%s" % uid, 10)
    client.wait_state(lambda s: s["check"] == "1", 15)
    return client, gibo


def user_row(client, uid):
    deadline = time.monotonic() + 10
    while True:
        rows = client.cmd("rows UserLBox")
        entries = rows.split(" ", 2)[2].split(" | ") if rows.count(" ") >= 2 else []
        for i, r in enumerate(entries):
            if "(%s)" % uid in r:
                return i
        if time.monotonic() > deadline:
            raise TimeoutError("%s not listed: %s" % (uid, rows))
        time.sleep(0.1)


def meet_in_room(a, b, title):
    """A makes a room with `title` and invites B, who accepts."""
    a.cmd("type /m " + title)
    wait_terminal(a, "번 방에 들어 왔습니다!")
    a.cmd("click sbMyRI")
    a.cmd("usermenu %d 1" % user_row(a, "tester2"))
    retry(lambda: b.cmd("click btnAccept"))
    wait_terminal(a, "테스터이(tester2)님 입실")


def ask_for_game(a, b):
    """A asks B for a game from the member list, playing black; B accepts."""
    retry(lambda: a.cmd("usermenu %d 0" % user_row(a, "tester2")) == "ok" or None)
    wait_dialog(a, "TGameSetForm")
    a.cmd("click rbBlack")
    a.cmd("click OkButton")
    wait_dialog(b, "TGameRequestForm")
    b.cmd("click OkButton")


def start_game(srv, home_a, home_b, title, clients):
    """Two players log in (appended to `clients` as they come), meet in a room
    titled `title`, and A asks B for a game as black; returns once black is to
    move: (a, gibo_a, b, gibo_b)."""
    a, gibo_a = login(srv, home_a, "tester1", "테스터일")
    clients.append(a)
    b, gibo_b = login(srv, home_b, "tester2", "테스터이")
    clients.append(b)
    meet_in_room(a, b, title)
    ask_for_game(a, b)
    for c in (a, b):
        wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0", "game start")
    wait_game(a, lambda g: g["turn"] == "1", "black to move")
    return a, gibo_a, b, gibo_b


def report(clients, verb):
    """After a failure: each client's answer to `verb` and its last events."""
    for c in clients:
        try:
            print(verb + ":", c.cmd(verb), "events:", c.events[-12:], file=sys.stderr)
        except Exception as e:
            print("no answer:", e, file=sys.stderr)


def expect_in(text, answer):
    assert text in answer, (text, answer)


def assert_window(client, **want):
    got = fields(client.cmd("gamewin"))
    for key, value in want.items():
        assert got.get(key) == value, (key, value, got)


def play(mover, other, x, y, count):
    mover.cmd("board %d %d" % (x, y))
    for c in (mover, other):
        wait_game(c, lambda g: g["moves"] == str(count), "move %d" % count)


def count_by_request(asker, other, what="marking"):
    """`asker` asks to count and `other` agrees; the asker marks first (one
    stone, already placed dead by the caller's game), then the other, and
    each agrees to the other's marking."""
    asker.cmd("gamecmd 계가 요청")
    answer_dialog(other, "TConfirmForm")
    answer_dialog(asker, "TDMConfirmForm")
    wait_game(asker, lambda g: g["dead"] == "1", what)
    retry(lambda: asker.cmd("gamecmd 지정 마침"))
    answer_dialog(other, "TConfirmForm")
    answer_dialog(other, "TDMConfirmForm")
    retry(lambda: other.cmd("gamecmd 지정 마침"))
    answer_dialog(asker, "TConfirmForm")


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients = []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
            tempfile.TemporaryDirectory(prefix="zel-b-") as home_b:
        try:
            # Both players in one room; A asks B from the member list.
            a, gibo_a, b, gibo_b = start_game(srv, home_a, home_b, "한판 두어요", clients)
            assert game(b)["turn"] == "0"

            # Room chat during the game shows in both game windows.
            a.cmd("type 잘 부탁합니다")
            for c in (a, b):
                retry(lambda: expect_in("잘 부탁합니다", c.cmd("gamechat")))

            moves = [(a, b, 4, 4), (b, a, 16, 16), (a, b, 4, 16), (b, a, 16, 4)]
            for n, (mover, other, x, y) in enumerate(moves, 1):
                play(mover, other, x, y, n)

            # Black takes back the last two moves with white's consent.
            a.cmd("gamecmd 물림 요청")
            answer_dialog(b, "TConfirmForm")
            for c in (a, b):
                wait_game(c, lambda g: g["moves"] == "2", "undo")
            play(a, b, 3, 16, 3)
            play(b, a, 17, 4, 4)
            play(a, b, 10, 10, 5)
            a.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_game_a_playing.png"))
            b.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_game_b_playing.png"))

            # White asks to end; black accepts and marks first, then white.
            count_by_request(b, a)

            # Counted on both sides: one result, one record. White counts
            # first; its agreement reaches black while white's result notice
            # is still open.
            results = {}
            for name, c in (("b", b), ("a", a)):
                wait_dialog(c, "TCNotifyForm")
                results[name] = game(c)
                c.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_game_%s_counted.png" % name))
            for c in (a, b):
                c.cmd("accept")
            ga, gb = results["a"], results["b"]
            assert ga["record"] and ga["record"] == gb["record"], (ga, gb)
            assert ga["result"] and ga["result"] == gb["result"], (ga, gb)
            files_a = glob.glob(os.path.join(gibo_a, "*.zel"))
            files_b = glob.glob(os.path.join(gibo_b, "*.zel"))
            assert len(files_a) == 1 and len(files_b) == 1, (files_a, files_b)
            assert os.path.basename(files_a[0]) == os.path.basename(files_b[0])
            data_a = open(files_a[0], "rb").read()
            data_b = open(files_b[0], "rb").read()
            assert data_a == data_b, (data_a, data_b)
            assert data_a.count(b"\r\nPM") == 5, data_a

            # A second game, this time ended by white's resignation.
            first_record = ga["record"]
            for c in (a, b):
                wait_game(c, lambda g: g["open"] == "0", "first game closed")
            ask_for_game(a, b)
            for c in (a, b):
                wait_game(c, lambda g: g["open"] == "1" and g["moves"] == "0", "second game start")
            wait_game(a, lambda g: g["turn"] == "1", "black to move again")
            play(a, b, 4, 4, 1)
            play(b, a, 16, 16, 2)
            play(a, b, 16, 4, 3)
            wait_game(b, lambda g: g["turn"] == "1", "white to move")

            # White writes a commentary with a variation and sends it; black
            # sees it on a copy of the board and keeps it for the record.
            assert b.cmd("gamecmd 참고 해설") == "ok"
            retry(lambda: assert_window(b, mode="1", layout="3"))
            b.cmd("board 3 3")
            b.cmd("board 17 17")
            retry(lambda: assert_window(b, moves="4"))
            assert b.cmd("gameedit 흑은 삼삼이 좋았다").startswith("ok")
            b.cmd("gamecmd 작성 마침")
            answer_dialog(b, "TConfirmVHForm")
            retry(lambda: assert_window(b, mode="0", layout="1"))
            answer_dialog(a, "TConfirmVHForm")
            retry(lambda: assert_window(a, mode="2", layout="4"))
            shown = a.cmd("gameedit")
            assert "흑은 삼삼이 좋았다" in shown and "테스터이" in shown, shown
            a.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_game_a_commentary.png"))
            assert a.cmd("gamecmd 보기 마침") == "ok"
            retry(lambda: assert_window(a, mode="0", layout="1", moves="3"))

            b.cmd("gamecmd 불계 선언")
            answer_dialog(b, "TConfirmForm")
            notice = answer_dialog(a, "TCNotifyForm")
            assert "tester2" in notice, notice
            second = {}
            for name, c in (("a", a), ("b", b)):
                second[name] = wait_game(c, lambda g: g["result"] and g["record"] != first_record, "resignation")
            assert second["a"]["result"] == second["b"]["result"], second
            assert second["a"]["record"] == second["b"]["record"], second
            name2 = second["a"]["record"]
            rec_a = open(os.path.join(gibo_a, name2), "rb").read()
            rec_b = open(os.path.join(gibo_b, name2), "rb").read()
            assert rec_a == rec_b, (rec_a, rec_b)
            assert rec_a.count(b"\r\nPM") == 3, rec_a
            # The commentary stands after the move it belongs to, once.
            assert rec_a.count(b"\r\nVH") == 1, rec_a
            assert "흑은 삼삼이 좋았다".encode("cp949") in rec_a, rec_a
        except Exception:
            report(clients, "gamestate")
            raise
        finally:
            for c in clients:
                c.kill()
    print("game between two clients: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
