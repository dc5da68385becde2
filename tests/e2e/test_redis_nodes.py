"""Two zelserver nodes as one service through one redis-server: a zelcli user
on node 1 sees a user arriving on node 2 and they chat in one room; two real
clients on different nodes play a game to the count with identical records; after
node 2 is killed its users log in again on node 1 and keep their numbers;
once the store itself is gone node 1 refuses new logins and keeps its users."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from harness import ACCEPTED, BYE, LOBBY_ENTERED, LOGIN, RELOGIN, RawClient, Server, free_port, login_record
from zelcli_driver import Cli
import test_game_two_clients as two


def start_redis():
    port = free_port()
    proc = subprocess.Popen(["redis-server", "--port", str(port), "--bind", "127.0.0.1", "--save", "",
                             "--appendonly", "no"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        try:
            RawClient(port=port, greet=False).close()
            return proc, port
        except OSError:
            time.sleep(0.1)
    proc.kill()
    raise TimeoutError("redis-server did not start")


def node(port, n, grace_ms=60000, conf_lines=()):
    return Server(grace_ms=grace_ms, conf_lines=conf_lines,
                  extra_args=["--redis", "127.0.0.1:%d" % port, "--node", str(n)])


def client_on_node2(n2, home):
    """A real client that logs in on node 2; node 2's server list names node 1
    second, so the client knows where else the service is."""
    c, _ = two.login(n2, home, "tester3", "테스터삼")
    user = int(n2.wait_for(r"login conn=\d+ user=(\d+) id=tester3", 10).group(1))
    return c, user


def client_fails_over(n1, c, user):
    """After node 2's death the client's own reconnection reaches node 1 and
    logs in again with its number, without a notice of a lost connection."""
    n1.wait_for(r"relogin conn=\d+ user=%d room=" % user, 20)
    c.wait_state(lambda s: s["check"] == "1", 15)
    assert not any("접속이 끊겼습니다" in e for e in c.events), c.events[-10:]


def chat_across_nodes(n1, n2):
    a = Cli(n1, "alice", "앨리스", level=20)
    b = Cli(n2, "bobby", "밥", level=13)
    a.expect(r"^arrive user=%d id=bobby nick=밥$" % b.user)
    assert a.user != b.user
    b.expect(r"^enter user=%d id=alice room=0$" % a.user)

    a.send("make 두 서버 방")
    room = int(a.expect(r"^enter user=%d id=alice room=(\d+)$" % a.user).group(1))
    b.expect(r"^enter user=%d id=alice room=%d$" % (a.user, room))
    b.send("enter %d" % room)
    for x in (a, b):
        x.expect(r"^enter user=%d id=bobby room=%d$" % (b.user, room))
    for x in (a, b):
        x.send("rooms")
        x.expect(r"^room %d state=10 people=2 owner=%d members=alice,bobby title=두 서버 방" % (room, a.user))
    marks = [x.mark() for x in (a, b)]
    a.send("say 안녕하세요")
    b.send("say 반갑습니다")
    # Both texts reach both users; the two nodes may interleave them either way.
    for x, mark in zip((a, b), marks):
        for line in (r"^room from=%d 앨리스 \[3D\] : 안녕하세요$" % a.user,
                     r"^room from=%d 밥 \[5K\] : 반갑습니다$" % b.user):
            x.cursor = mark
            x.expect(line)
    a.send("tell bobby 비밀")
    b.expect(r"^private from=%d memo=0 비밀$" % a.user)
    return a, b


def game_across_nodes(n1, n2, home_a, home_b, clients):
    a, gibo_a = two.login(n1, home_a, "tester1", "테스터일")
    clients.append(a)
    b, gibo_b = two.login(n2, home_b, "tester2", "테스터이")
    clients.append(b)
    two.meet_in_room(a, b, "두 노드 대국")
    two.ask_for_game(a, b)
    for c in (a, b):
        two.wait_game(c, lambda g: g["open"] == "1" and g["kind"] == "0", "game start")
    two.wait_game(a, lambda g: g["turn"] == "1", "black to move")
    moves = [(a, b, 4, 4), (b, a, 16, 16), (a, b, 3, 16), (b, a, 17, 4), (a, b, 10, 10)]
    for n, (mover, other, x, y) in enumerate(moves, 1):
        two.play(mover, other, x, y, n)
    # Played to the count: asking, marking and agreeing all cross the nodes.
    two.count_by_request(b, a)
    done = {}
    for name, c in (("b", b), ("a", a)):
        two.wait_dialog(c, "TCNotifyForm")
        done[name] = two.game(c)
    for c in (a, b):
        c.cmd("accept")
    assert done["a"]["result"] and done["a"]["result"] == done["b"]["result"], done
    assert done["a"]["record"] and done["a"]["record"] == done["b"]["record"], done
    rec_a = open(os.path.join(gibo_a, done["a"]["record"]), "rb").read()
    rec_b = open(os.path.join(gibo_b, done["b"]["record"]), "rb").read()
    assert rec_a == rec_b, (rec_a, rec_b)
    assert rec_a.count(b"\r\nPM") == 5, rec_a


def relogin_after_node_death(n1, n2, a, b):
    """bobby's node dies; bobby comes back on node 1 with its number, and
    alice, who stayed, still sees bobby in the room."""
    n2.proc.kill()
    n2.proc.wait()
    r = RawClient(n1)
    info = r.login("bobby", "밥", level=13, code=RELOGIN, user=b.user, room=0)
    assert info["code"] == ACCEPTED and info["user"] == b.user, info
    r.expect(LOBBY_ENTERED, timeout=5)
    a.send("users")
    a.expect(r"bobby")
    # A fresh login of another node-2 user after its grace: still one table.
    c = Cli(n1, "carol", "캐롤", level=30)
    assert c.user not in (a.user, b.user)
    r.close()
    return c


def store_lost(redis, n1, a):
    """Without the store node 1 takes no new logins and keeps alice served."""
    redis.kill()
    redis.wait()
    n1.wait_for(r"^store lost", 10)
    late = RawClient(n1)
    late.send_raw(login_record(LOGIN, "erin", "에린"))
    late.expect(BYE, timeout=5)
    assert late.closed(5)
    a.send("say 아직 있어요")
    a.expect(r"^room from=%d 앨리스 \[3D\] : 아직 있어요$" % a.user)


def main():
    if shutil.which("redis-server") is None:
        print("redis-server is not installed: skipped")
        return 0
    redis, port = start_redis()
    clients = []
    try:
        with node(port, 1) as n1, node(port, 2, conf_lines=["gameserver = %s:%d" % (n1.host, n1.game_port)]) as n2, \
                tempfile.TemporaryDirectory(prefix="zel-a-") as home_a, \
                tempfile.TemporaryDirectory(prefix="zel-b-") as home_b, \
                tempfile.TemporaryDirectory(prefix="zel-c-") as home_c:
            a, b = chat_across_nodes(n1, n2)
            try:
                game_across_nodes(n1, n2, home_a, home_b, clients)
            except Exception:
                two.report(clients, "gamestate")
                raise
            finally:
                for c in clients:
                    c.kill()
            c, c_user = client_on_node2(n2, home_c)
            try:
                relogin_after_node_death(n1, n2, a, b)
                client_fails_over(n1, c, c_user)
            except Exception:
                two.report([c], "state")
                raise
            finally:
                c.kill()
            # A node that did not see the logins cannot know the lobby: it does not start.
            late = subprocess.run([n1.binary, "--game-port", "0", "--config-port", "0", "--redis",
                                   "127.0.0.1:%d" % port, "--node", "3"], capture_output=True, text=True,
                                  timeout=10)
            assert late.returncode != 0 and "already has users" in late.stderr, late
            store_lost(redis, n1, a)
    finally:
        if redis.poll() is None:
            redis.kill()
            redis.wait()
    print("two nodes through redis: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
