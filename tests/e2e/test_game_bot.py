"""Games against zelbot, the computer player, on a real server.

1. A real client enters the bot's room, asks it for a game through the game
   settings dialog and plays by board clicks (its moves picked by a GNU Go of
   the test's own) until both pass; it asks to count, the suggested dead
   stones appear, one button applies them, the bot agrees and marks its
   part, and both sides count. The client's and the bot's records are the
   same bytes, and the result is GNU Go's `final_score` of the final game.
2. A handicap-4 game against a bot that resigns early when far behind ends
   by its resignation (or, should it stay close, by counting).
3. A bot whose engine dies in the middle of a game says so in the room and
   resigns, then accepts and plays the next game.
"""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from client_driver import Client, settings_ini  # noqa: F401
from harness import LineLog, Server
from test_game_two_clients import answer_dialog, fields, game, login, report, retry, user_row, wait_dialog, wait_game

COLUMNS = "ABCDEFGHJKLMNOPQRST"


def gnugo_path():
    for p in ("/usr/games/gnugo", shutil.which("gnugo") or ""):
        if p and os.access(p, os.X_OK):
            return p
    return None


class Bot(LineLog):
    """One zelbot process; its output lines are kept."""

    def __init__(self, srv, uid, data_dir, extra=()):
        super().__init__()
        binary = os.environ.get("ZEL_BOT") or os.path.join(os.environ.get("ZEL_BUILD", "build"),
                                                           "tools/zelbot/zelbot")
        self.data_dir = data_dir
        args = [binary, "--host", srv.host, "--port", str(srv.game_port), "--config-port", str(srv.config_port),
                "--id", uid, "--nick", "바둑봇", "--data-dir", data_dir] + list(extra)
        self.follow(subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                     encoding="utf-8", errors="replace", bufsize=1))

    def wait_for(self, regex, timeout=20.0, start=0):
        return super().wait_for(regex, timeout, start)

    def room(self):
        return int(self.wait_for(r"^room ([1-9]\d*)$").group(1))

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class Gtp:
    """A GNU Go of the test's own, spoken to over GTP."""

    def __init__(self, level):
        self.proc = subprocess.Popen([gnugo_path(), "--mode", "gtp", "--level", str(level)], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, bufsize=1)

    def cmd(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        out = []
        while True:
            row = self.proc.stdout.readline()
            if row in ("\n", ""):
                break
            out.append(row.rstrip("\n"))
        text = "\n".join(out)
        assert text.startswith("="), (line, text)
        return text[1:].strip()

    def setup(self, g):
        self.cmd("boardsize 19")
        self.cmd("clear_board")
        self.cmd("komi %s" % g["komi"])
        if g["handicap"]:
            self.cmd("set_free_handicap " + g["handicap"].replace(",", " "))
        for m in moves_of(g):
            self.cmd("play %s %s" % m)

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(5)


def until(fn, what, timeout=15.0):
    """Polls fn until it gives something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = fn()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(what)
        time.sleep(0.1)


def gtp_game(client):
    return fields(client.cmd("gamegtp"))


def moves_of(g):
    return [tuple(m.split(":")) for m in g["moves"].split(",")] if g["moves"] else []


def point(vertex):
    """A GTP vertex as the board's (x, y), y counted from the top."""
    return COLUMNS.index(vertex[0].upper()) + 1, 20 - int(vertex[1:])


def enter_bot_room(client, room):
    client.cmd("enterroom %d" % room)
    client.wait_state(lambda s: any(p.startswith("%d 번 방" % room) for p in s["panels"]), 10)


def ask_bot(client, uid, handicap=0):
    """The game settings dialog from the member list: black, `handicap` (combo index)."""
    retry(lambda: client.cmd("usermenu %d 0" % user_row(client, uid)) == "ok" or None)
    wait_dialog(client, "TGameSetForm")
    if handicap:
        assert client.cmd("combo cbHandi %d" % handicap).startswith("ok"), "handicap"
    client.cmd("click rbBlack")
    client.cmd("click OkButton")
    wait_game(client, lambda g: g["open"] == "1" and g["kind"] == "0", "game start", 20)


def next_turn(client, timeout=60.0):
    """Waits for the client's turn, the marking, the game's end or a notice
    (returned as None) and returns the game state."""
    deadline = time.monotonic() + timeout
    while True:
        if "TCNotifyForm:" in client.cmd("dialogs"):
            return None
        g = game(client)
        if g["turn"] == "1" or g["open"] == "0" or g["dead"] != "0":
            return g
        if time.monotonic() > deadline:
            raise TimeoutError("never our turn: %s" % g)
        time.sleep(0.1)


def play_out(client, helper, colour, limit):
    """Plays the client's moves (helper's choice) until both pass, the game
    ends or a notice comes up. Returns the move count, or None for a notice."""
    deadline = time.monotonic() + limit
    while True:
        g = next_turn(client)
        if g is None:
            return None
        if g["open"] == "0" or g["dead"] != "0":
            return int(g["moves"])
        n = int(g["moves"])
        gg = gtp_game(client)
        played = moves_of(gg)
        if len(played) >= 2 and played[-1][1] == "pass" and played[-2][1] == "pass":
            return n
        helper.setup(gg)
        vertex = helper.cmd("genmove %s" % colour)
        if vertex.lower() == "resign":
            vertex = "pass"
        if vertex.lower() == "pass" and played and played[-1][1] == "pass":
            # The bot passed and we have nothing to play either: we ask to count.
            return n
        if vertex.lower() == "pass":
            client.cmd("gamecmd 순서 넘김")
        else:
            x, y = point(vertex)
            client.cmd("board %d %d" % (x, y))
        wait_game(client, lambda s: int(s["moves"]) > n or s["open"] == "0", "move %d" % (n + 1), 20)
        assert time.monotonic() < deadline, "game too long"


def count_with_suggestion(client, bot, shots=None):
    """The bot passed and the client has nothing to play: the client asks to count, applies the suggestion, the bot
    agrees and marks, the client agrees. Returns (state, suggestion)."""
    wait_game(client, lambda s: s["turn"] == "1", "turn after both passed")
    client.cmd("gamecmd 계가 요청")
    answer_dialog(client, "TDMConfirmForm", 20)
    first = until(lambda: (lambda f: f if f["state"] == "2" else None)(fields(client.cmd("suggestion"))),
                  "no suggestion")
    # The second opinion, when one comes, replaces the first while nothing was marked.
    shown = until(lambda: (lambda f: f if f["state"] == "2" and f["final"] == "1" else None)(
        fields(client.cmd("suggestion"))), "no final suggestion", 60)
    assert shown["ms"] == first["ms"], (first, shown)
    assert shown["drawn"] == shown["count"], shown
    if shots:
        client.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_bot_suggestion.png"))
    assert client.cmd("gamecmd 자동 지정") == "ok"
    suggested = set(shown["points"].split(",")) if shown["points"] else set()
    until(lambda: suggested <= set(filter(None, gtp_game(client)["dead"].split(","))), "suggestion not applied")
    if shots:
        client.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "e2e_bot_applied.png"))
    mark = bot.mark()
    retry(lambda: client.cmd("gamecmd 지정 마침"))
    # The bot agrees and marks its part; the client agrees with it.
    bot.wait_for(r"question .* -> yes", 30, mark)
    answer_dialog(client, "TConfirmForm", 30)
    wait_dialog(client, "TCNotifyForm", 20)
    g = game(client)
    g["result"] = client.cmd("gamestate").split("result=", 1)[1]
    final = gtp_game(client)
    client.cmd("accept")
    return g, final, shown


def result_margin(text):
    """"흑 3.5 집 승! >> ..." as a margin for black; "무 승 부" as 0."""
    m = re.match(r"(흑|백) (\d+(?:\.5)?) 집 승", text)
    if not m:
        assert text.startswith("무"), text
        return 0.0
    v = float(m.group(2))
    return v if m.group(1) == "흑" else -v


def gtp_margin(score):
    if score == "0":
        return 0.0
    v = float(score[2:].split()[0])
    return v if score[0] in "Bb" else -v


def counted_game(srv, home, work, clients, bots, shots):
    bot = Bot(srv, "gobot", os.path.join(work, "bot1"), ["--gnugo-level", "0", "--no-resign"])
    bots.append(bot)
    room = bot.room()
    a, gibo_a = login(srv, home, "tester1", "테스터일")
    clients.append(a)
    enter_bot_room(a, room)
    ask_bot(a, "gobot")
    helper = Gtp(0)
    try:
        moves = play_out(a, helper, "B", 900)
        assert moves is not None and moves >= 60, moves
        g, final, shown = count_with_suggestion(a, bot, shots)
        assert int(shown["ms"]) < 1500, shown
        bot.wait_for(r"^record ", 20)
        # The same record on both sides.
        files_a = glob.glob(os.path.join(gibo_a, "*.zel"))
        files_b = glob.glob(os.path.join(bot.data_dir, "Gibo", "*.zel"))
        assert len(files_a) == 1 and len(files_b) == 1, (files_a, files_b)
        assert os.path.basename(files_a[0]) == os.path.basename(files_b[0]), (files_a, files_b)
        rec_a, rec_b = open(files_a[0], "rb").read(), open(files_b[0], "rb").read()
        assert rec_a == rec_b, (rec_a[:200], rec_b[:200])
        # GNU Go counts the same game the same, unless it judges the life of
        # some stones otherwise than the players agreed (the estimator's
        # judgement is measured by bench/suggestion_bench, not here).
        judge = Gtp(10)
        judge.setup(final)
        score = judge.cmd("final_score")
        if abs(result_margin(g["result"]) - gtp_margin(score)) >= 0.01:
            theirs = set(judge.cmd("final_status_list dead").split())
            seki = judge.cmd("final_status_list seki").split()
            ours = set(v.upper() for v in final["dead"].split(",") if v)
            assert theirs != ours or seki, ("same dead stones, another count", g["result"], score, final)
            print("GNU Go judges otherwise: dead %s against %s, seki %s; %s against %s; moves %s" %
                  (sorted(theirs), sorted(ours), seki, score, g["result"], final["moves"]))
        judge.close()
        print("counted game: %d moves, %s, GNU Go %s, suggestion %s ms by %s, second %s ms" %
              (moves, g["result"], score, shown["ms"], shown["by"], shown["secondms"]))
    finally:
        helper.close()
    return a


def handicap_game(srv, work, a, bots):
    bot = Bot(srv, "hcbot", os.path.join(work, "bot2"),
              ["--gnugo-level", "0", "--resign-from", "30", "--resign-margin", "20"])
    bots.append(bot)
    room = bot.room()
    wait_game(a, lambda g: g["open"] == "0", "first game closed")
    enter_bot_room(a, room)
    ask_bot(a, "hcbot", handicap=4)
    g = gtp_game(a)
    assert len(g["handicap"].split(",")) == 4, g
    helper = Gtp(8)
    try:
        moves = play_out(a, helper, "B", 240)
    finally:
        helper.close()
    if moves is None:
        a.cmd("accept")
    else:
        count_with_suggestion(a, bot)
    wait_game(a, lambda g: g["open"] == "0", "handicap game closed")
    result = a.cmd("gamestate").split("result=", 1)[1]
    assert result.startswith("흑"), result
    print("handicap game: %s" % result)


FAKE_ENGINE = r'''
import os, sys, time
flag = sys.argv[1]
points = [c + str(r) for r in (3, 17, 10, 5, 15) for c in "CRKEP"]
moves = 0
for line in sys.stdin:
    words = line.split()
    if not words:
        continue
    num = words[0] if words[0].isdigit() else ""
    cmd = words[1 if num else 0]
    if cmd == "genmove":
        if os.path.exists(flag):
            if open(flag).read().strip() == "hang":
                time.sleep(3600)
            os._exit(3)
        reply = points[moves % len(points)]
        moves += 1
    elif cmd == "final_status_list" or cmd == "estimate_score":
        reply = "" if cmd == "final_status_list" else "B+1"
    else:
        reply = ""
    sys.stdout.write("=%s %s\n\n" % (num, reply))
    sys.stdout.flush()
'''


def failing_engine_games(srv, work, a, bots):
    script = os.path.join(work, "engine.py")
    flag = os.path.join(work, "engine-fails")
    with open(script, "w") as f:
        f.write(FAKE_ENGINE)
    bot = Bot(srv, "failbot", os.path.join(work, "bot3"),
              ["--engine", "%s %s %s" % (sys.executable, script, flag), "--engine-timeout-ms", "1500"])
    bots.append(bot)
    room = bot.room()
    for how in ("die", "hang"):
        wait_game(a, lambda g: g["open"] == "0", "previous game closed", 30)
        enter_bot_room(a, room)
        ask_bot(a, "failbot")
        a.cmd("board 4 4")
        wait_game(a, lambda g: g["moves"] == "2", "the engine's first answer", 20)
        with open(flag, "w") as f:
            f.write(how)
        a.cmd("board 16 4")
        # The bot tells the room and resigns.
        bot.wait_for(r"say 엔진이 응답하지 않아 기권합니다", 30)
        notice = answer_dialog(a, "TCNotifyForm", 30)
        assert "failbot" in notice, notice
        until(lambda: "엔진이 응답하지 않아" in a.cmd("terminal"), "no notice in the room", 10)
        wait_game(a, lambda g: g["open"] == "0" and g["result"].startswith("흑"), "resigned")
        os.remove(flag)
    # The next request is taken and answered as usual.
    enter_bot_room(a, room)
    ask_bot(a, "failbot")
    a.cmd("board 4 4")
    wait_game(a, lambda g: g["moves"] == "2", "a move after the failures", 20)
    print("failing engine: resigned twice with a notice, then played on")


def main():
    if not gnugo_path():
        print("gnugo is not installed: skipped")
        return 0
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    clients, bots = [], []
    with Server() as srv, tempfile.TemporaryDirectory(prefix="zel-botgame-") as work:
        home = os.path.join(work, "home")
        os.makedirs(home)
        try:
            a = counted_game(srv, home, work, clients, bots, shots)
            handicap_game(srv, work, a, bots)
            failing_engine_games(srv, work, a, bots)
        except Exception:
            report(clients, "gamestate")
            for b in bots:
                print("bot:", "\n".join(b.lines[-20:]), file=sys.stderr)
            raise
        finally:
            for c in clients:
                c.kill()
            for b in bots:
                b.stop()
    print("games against the bot: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
