"""The server seen through raw sockets: login, lobby, rooms, texts, switches."""

import struct
import sys
import time

from harness import (ARRIVES, BYE, DUPLICATE, LOBBY_ENTERED, LOBBY_RESET, MOVES, NOTICE_TEXT, PRIVATE_TEXT,
                     PROBE, RELOGIN, ROOM_MEMBERS, ROOM_OPENED, ROOM_SNAPSHOT, ROOM_TEXT, USER_LEAVES, VERDICT,
                     RawClient, Server, fetch_config, login_record, member_entries, text_of)


def login_and_lobby(srv):
    a = RawClient(srv)
    info = a.login("alice", "앨리스", level=20)
    assert info["code"] == 21030 and info["room"] == 0 and info["size"] == srv.table_size, info
    snapshot = a.drain(0.2)
    members = [e for p in snapshot if p.code == ROOM_MEMBERS for e in member_entries(p)]
    assert [m["id"] for m in members] == ["alice"] and members[0]["nick"] == "앨리스"
    assert any(p.code == ROOM_SNAPSHOT and p.u16(4) == 0 for p in snapshot)

    b = RawClient(srv)
    b.login("bob", "밥")
    arrival = a.expect(ARRIVES)
    assert arrival.u16(10) == b.user and arrival.data[20:23] == b"bob"
    ids = sorted(e["id"] for p in b.drain(0.2) if p.code == ROOM_MEMBERS for e in member_entries(p))
    assert ids == ["alice", "bob"], ids

    dup = RawClient(srv)
    assert dup.login("alice", "x")["code"] == DUPLICATE
    assert dup.closed()
    a.close()
    b.close()


def rooms_and_texts(srv):
    a, b, c = RawClient(srv), RawClient(srv), RawClient(srv)
    a.login("ann", "ann")
    b.login("ben", "ben")
    c.login("cat", "cat")
    for x in (a, b, c):
        x.drain(0.2)
    a.make_room("바둑 한 판")
    opened = c.expect(ROOM_OPENED)
    room = opened.u16(4)
    assert room > 0 and opened.i32(20) == a.user
    assert opened.data[28:60].split(b"\0")[0].decode("cp949") == "바둑 한 판"
    b.enter_room(room)
    moved = c.expect(MOVES)
    assert (moved.u16(4), moved.u16(6)) == (b.user, room)
    members = b.expect(ROOM_MEMBERS, where=lambda p: p.u16(4) == room)
    assert sorted(e["id"] for e in member_entries(members)) == ["ann", "ben"]
    for x in (a, b, c):
        x.drain(0.2)

    # Room text reaches the room, sender included, with the sender filled in by the server.
    a.send(ROOM_TEXT, "안녕".encode("cp949"), arg=999)
    for x in (a, b):
        p = x.expect(ROOM_TEXT)
        assert text_of(p) == "안녕" and p.u16(4) == a.user
    assert not [p for p in c.drain(0.3) if p.code == ROOM_TEXT]

    # Private text only to the addressed handle; a wrong handle goes nowhere.
    b.private_text(c.user, c.handle, "psst")
    p = c.expect(PRIVATE_TEXT)
    assert text_of(p) == "psst" and p.u16(8) == b.user
    b.private_text(c.user, (c.handle + 1) & 0xFFFF, "wrong")
    assert not [p for x in (a, b, c) for p in x.drain(0.3) if p.code == PRIVATE_TEXT]

    c.notice("공지")
    for x in (a, b, c):
        assert text_of(x.expect(NOTICE_TEXT)) == "공지"

    # The owner leaves: everyone hears it, the room stays with ben.
    a.leave()
    assert a.closed()
    assert b.expect(USER_LEAVES).arg == a.user
    assert c.expect(USER_LEAVES).arg == a.user
    for x in (b, c):
        x.close()


def kick_relogin_and_probe(srv):
    a, watcher = RawClient(srv), RawClient(srv)
    a.login("dora", "dora")
    watcher.login("eve", "eve")
    watcher.drain(0.2)
    a.make_room("방")
    room = a.expect(ROOM_OPENED).u16(4)
    user = a.user
    assert srv.admin("kick dora") == "ok kick dora"
    assert a.closed()
    srv.wait_for(r"grace user=%d " % user)

    probe = RawClient(srv)
    probe.send_raw(login_record(PROBE, "dora", "dora", user=user, room=room))
    assert probe.expect(VERDICT).arg == 2
    probe.close()

    back = RawClient(srv)
    info = back.login("dora", "dora", code=RELOGIN, user=user, room=room)
    assert (info["user"], info["room"]) == (user, room), info
    assert any(p.code == LOBBY_RESET for p in back.backlog)
    srv.wait_for(r"relogin conn=\d+ user=%d room=%d" % (user, room))
    # Nobody else saw a departure.
    assert not [p for p in watcher.drain(0.3) if p.code == USER_LEAVES]

    for uid, u, verdict in (("dora", user, 3), ("dora", user + 100, 1), ("nobody", user, 1)):
        probe = RawClient(srv)
        probe.send_raw(login_record(PROBE, uid, uid, user=u))
        assert probe.expect(VERDICT).arg == verdict, (uid, u)
        probe.close()

    assert srv.admin("bye eve") == "ok bye eve"
    watcher.expect(BYE)
    back.close()
    watcher.close()


def garbage_and_refuse(srv):
    g = RawClient(srv)
    g.send_raw(struct.pack("<HHH", 22020, 40, 0) + b"\0" * 34)  # a server-only code
    assert g.closed()
    g = RawClient(srv)
    g.login("gary", "gary")
    g.send(ROOM_TEXT, b"\0" * 3000)  # beyond the bound of a room text
    assert g.closed()

    assert srv.admin("refuse 1500").startswith("ok")
    r = RawClient(srv, greet=False)
    assert r.closed(), "a refused connection is closed at once"
    time.sleep(1.6)
    RawClient(srv).close()  # greeted again
    assert srv.admin("nonsense").startswith("error")


def config_exchange(srv):
    flag, sizes, files = fetch_config(srv)
    assert flag == 1 and len(sizes) == len(files) == 5, sizes
    assert [len(f) for f in files] == sizes
    listing = files[0].decode("cp949").split("\\#")
    assert listing[:5] == [srv.host, str(srv.config_port), "1", srv.host, str(srv.game_port)], listing
    assert "환영합니다" in listing
    for gif in files[1:]:
        assert gif[:6] == b"GIF89a" and gif[-1] == 0x3B
    srv.wait_for(r"config conn=\d+ flag=1 files=5 answer=500")
    assert fetch_config(srv, want_files=False)[2] == []
    srv.wait_for(r"config conn=\d+ flag=1 files=5 answer=0")


def main():
    failures = 0
    with Server(table_size=50, grace_ms=30000) as srv:
        for test in (login_and_lobby, rooms_and_texts, kick_relogin_and_probe, garbage_and_refuse, config_exchange):
            try:
                test(srv)
                print("PASS", test.__name__)
            except Exception as exc:  # report every case, fail at the end
                failures += 1
                print("FAIL", test.__name__, repr(exc))
                print("\n".join(srv.lines[-40:]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
