"""Three zelcli clients against the real server: arrivals, rooms, room and
private texts, a long Korean message through the text message queue, and a
room invitation that moves the invitee."""

import os
import re
import sys
import time

from harness import Server
from zelcli_driver import Cli


def lobby_scenario(srv):
    a = Cli(srv, "alice", "앨리스", level=20)
    b = Cli(srv, "bobby", "밥", level=13)
    a.expect(r"^arrive user=%d id=bobby nick=밥$" % b.user)
    c = Cli(srv, "carol", "캐롤", level=30)
    a.expect(r"^arrive user=%d id=carol" % c.user)
    b.expect(r"^arrive user=%d id=carol" % c.user)
    for who in ("alice", "bobby"):
        c.expect(r"^enter user=\d+ id=%s room=0$" % who)
    clients = (a, b, c)

    # alice makes a room, bobby enters it; everyone sees both moves.
    a.send("make 첫 방")
    room = int(a.expect(r"^enter user=%d id=alice room=(\d+)$" % a.user).group(1))
    assert room > 0
    for x in (b, c):
        x.expect(r"^enter user=%d id=alice room=%d$" % (a.user, room))
    b.send("enter %d" % room)
    for x in clients:
        x.expect(r"^enter user=%d id=bobby room=%d$" % (b.user, room))
    a.send("rooms")
    a.expect(r"^room %d state=10 people=2 owner=%d members=alice,bobby title=첫 방 line=방장 :: 앨리스" % (room, a.user))

    # A room text reaches the room (the sender included) and nobody else.
    mark_c = c.mark()
    a.send("say 안녕하세요")
    for x in (a, b):
        x.expect(r"^room from=%d 앨리스 \[3D\] : 안녕하세요$" % a.user)
    # A private text reaches only its addressee.
    marks = [x.mark() for x in clients]
    a.send("tell carol 비밀 이야기")
    c.expect(r"^private from=%d memo=0 비밀 이야기$" % a.user)
    assert not any("안녕하세요" in l for l in c.lines_since(mark_c)), "room text leaked out of the room"

    # 2,000 bytes of Korean through the queue: whole at bobby, not back at alice.
    text = "".join(chr(0xAC00 + (i * 37) % 2350) for i in range(1000))
    assert len(text.encode("cp949", "replace")) == 2000
    text = text.encode("cp949", "replace").decode("cp949")
    a.send("queue " + text)
    got = b.expect(r"^queue (.*)$", timeout=10).group(1)
    assert got == text, "queued message changed on the way (%d vs %d chars)" % (len(got), len(text))
    time.sleep(1.0)
    for x in (a, b):
        x.send("echo sync")
        x.expect(r"^sync$")
    for x, mark in zip(clients, marks):
        lines = x.lines_since(mark)
        if x is not c:
            assert not any("비밀 이야기" in l for l in lines), "%s saw the private text" % x.name
        assert sum(l.startswith("queue ") for l in lines) == (1 if x is b else 0), x.name

    # A room invitation, accepted, moves carol into the room.
    a.send("invite carol")
    c.expect(r"^invitation code=31020 앨리스\(alice\)  3D 님이 / %d번 방에서 초대합니다\.$" % room)
    a.expect(r"^print    ### 초대 메시지를 보냈습니다\.$")
    c.send("accept")
    c.expect(r"^invitation closed$")
    for x in clients:
        x.expect(r"^enter user=%d id=carol room=%d$" % (c.user, room))
    c.send("users")
    c.expect(r"^user %d id=carol nick=캐롤 rank= 1P room=%d" % (c.user, room))

    for x in clients:
        assert x.quit() == 0, "%s ended with %s" % (x.name, x.proc.returncode)
    srv.wait_for(r"leave user=%d" % c.user, timeout=5)


def main():
    if not os.environ.get("ZEL_CLI") and not os.path.exists(os.path.join(os.environ.get("ZEL_BUILD", "build"), "tools/zelcli/zelcli")):
        print("zelcli not built")
        return 1
    failures = 0
    with Server(table_size=50) as srv:
        for test in (lobby_scenario,):
            try:
                test(srv)
                print("PASS", test.__name__)
            except Exception as exc:
                failures += 1
                print("FAIL", test.__name__, repr(exc))
                print("\n".join(srv.lines[-30:]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
