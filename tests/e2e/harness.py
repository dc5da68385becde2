"""End-to-end helpers: start a real zelserver and talk to it.

Python 3 standard library only. Importable from any tests/e2e/test_*.py
(the test's working directory is tests/e2e; the programs' paths come from
the environment set by tests/e2e/CMakeLists.txt: ZEL_SERVER, ZEL_CLIENT, ...).

Server
------
    srv = Server(table_size=1000, grace_ms=60000, config_flag=1, conf_lines=(),
                 binary=None, extra_args=())   # binary defaults to $ZEL_SERVER
    srv.start()                 # picks free ports, writes a temp config, waits for "ready"
    srv.host, srv.game_port, srv.config_port, srv.admin_port
    srv.mark()                  # index of the next log line (to wait only for newer lines)
    m = srv.wait_for(r"login conn=\\d+ user=(\\d+) id=alice", timeout=5, start=0)
                                # re.Match of the first log line at index >= start that
                                # matches; raises TimeoutError (with the log's tail) if none
    srv.lines                   # every log line so far (list of str)
    srv.admin("users")          # one admin command, returns its reply line ("ok ..."/"error ...")
    srv.kill()                  # SIGKILL, as a crash: ports and config are kept
    srv.restart()               # a new process on the same ports (after kill or stop)
    srv.stop()                  # also done at exit; `with Server() as srv:` works too

  The log lines (one per event, see README "zelserver"):
    ready game=P config=P admin=P
    accept conn=N port=game|config|admin     close conn=N
    recv conn=N code=C len=L arg=A [user=U room=R id=ID]   send conn=N code=C len=L arg=A
    login conn=N user=U id=ID handle=H       relogin conn=N user=U room=R
    probe conn=N user=U verdict=V            config conn=N flag=F files=K answer=X
    grace user=U ms=M   leave user=U   refuse conn=N   garbage conn=N   overflow conn=N
    idle conn=N   misaddressed user=U handle=H   uninvited user=U inviter=I   admin conn=N <reply>

  Admin commands: kick <id>, bye <id>, refuse <ms>, silence <id> <ms>, users, grace,
  notice <text>, quit.

fetch_config(srv, want_files=True) -> (flag, sizes, files)
                                # one configuration exchange; files[0] is the server list
                                # (CP949, fields ended by "\\#"), files[1:] the banner GIFs

RawClient
---------
    c = RawClient(srv)          # connects to the game port (or RawClient(port=P)) and waits
                                # for the greeting 21000 (greet=False: does not wait)
    info = c.login("alice", "Alice", level=20)   # waits for 21030 (or 20030)
    info -> {"code": 21030, "user": U, "room": R, "size": N}; c.user, c.handle are set
            (handle from the client's own member entry in the lobby snapshot);
            the snapshot packets (25030, 25040, 25020) stay queued for read()/drain()
    c.send(code, body=b"", arg=0)     # a packet; header built here: arg is offset 4,
                                      # the body starts at offset 6
    c.send_raw(bytes)                 # anything, for garbage tests
    p = c.read(timeout=2)             # next Packet or None; p.code, p.length, p.arg, p.data
                                      # (whole packet), p.u16(offset), p.i32(offset)
    p = c.expect(code, timeout=2, where=lambda p: True)
                                      # skips other packets until one matches; raises AssertionError
    c.drain(timeout=0.3)              # every packet that arrives within the time
    c.room_text("hi"), c.notice("hi"), c.private_text(user, handle, "hi", memo=0)
    c.make_room("title", state=10), c.enter_room(room), c.leave()
    c.closed(timeout=2)               # True once the server has closed the connection
    c.close()
  Texts passed as str are encoded to CP949; bytes go on the wire unchanged.
  Helpers: login_record(code, uid, nick, user=0, room=0, level=0, invite=20, profile=10),
  text_of(packet) (the text of a 23010/23020/23030 as str), member_entries(packet).
"""

import atexit
import os
import re
import socket
import struct
import subprocess
import tempfile
import threading
import time

HOST = "127.0.0.1"

GREETING, LOGIN, RELOGIN, DUPLICATE, BYE, PROBE, VERDICT = 21000, 20010, 20020, 20030, 20040, 20060, 20070
LEAVE, ACCEPTED, ARRIVES, MOVES = 21020, 21030, 22020, 22030
PRIVATE_TEXT, ROOM_TEXT, NOTICE_TEXT = 23010, 23020, 23030
MAKE_ROOM, ROOM_OPENED, ENTER_ROOM, ROOM_TITLE = 24010, 24020, 24030, 24050
LOBBY_RESET, LOBBY_ENTERED, ROOM_SNAPSHOT, ROOM_MEMBERS = 25010, 25020, 25030, 25040
USER_LEAVES = 50000


def free_port():
    s = socket.socket()
    s.bind((HOST, 0))
    port = s.getsockname()[1]
    s.close()
    return port


def cp949(text):
    return text if isinstance(text, (bytes, bytearray)) else text.encode("cp949")


def login_record(code, uid, nick, user=0, room=0, level=0, invite=20, profile=10):
    rec = bytearray(38)
    struct.pack_into("<HHBBB", rec, 0, code, 38, invite, profile, level)
    struct.pack_into("<HH", rec, 10, user, room)
    rec[20:20 + 8] = cp949(uid)[:8].ljust(8, b"\0")
    rec[28:28 + 10] = cp949(nick)[:10].ljust(10, b"\0")
    return bytes(rec)


class Packet:
    def __init__(self, data):
        self.data = bytes(data)
        self.code, self.length, self.arg = struct.unpack_from("<HHH", self.data, 0)

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def i32(self, offset):
        return struct.unpack_from("<i", self.data, offset)[0]

    def __repr__(self):
        return "Packet(%d len=%d arg=%d)" % (self.code, self.length, self.arg)


def text_of(p):
    start = 11 if p.code == PRIVATE_TEXT else 6
    raw = p.data[start:]
    if p.code == PRIVATE_TEXT:
        raw = raw.split(b"\0", 1)[0]
    return raw.decode("cp949", "replace")


def member_entries(p):
    """The entries of a 25040 as dicts: user, handle, id, nick, level, status."""
    count = p.u16(6)
    out = []
    for i in range(count):
        e = p.data[8 + 34 * i: 8 + 34 * (i + 1)]
        out.append({
            "user": struct.unpack_from("<H", e, 6)[0],
            "handle": struct.unpack_from("<H", e, 8)[0],
            "id": e[16:24].split(b"\0", 1)[0].decode("cp949", "replace"),
            "nick": e[24:34].split(b"\0", 1)[0].decode("cp949", "replace"),
            "level": e[2], "status": e[3],
        })
    return out


class LineLog:
    """The output lines of a child process (`self.proc`), kept as they come;
    `follow` starts reading a newly started process."""

    def __init__(self):
        self.lines = []
        self.proc = None
        self._cond = threading.Condition()

    def follow(self, proc):
        self.proc = proc
        self.lines = []
        threading.Thread(target=self._reader, args=(proc, self.lines), daemon=True).start()

    def _reader(self, proc, lines):
        for line in proc.stdout:
            with self._cond:
                lines.append(line.rstrip("\n"))
                self._cond.notify_all()
        with self._cond:
            self._cond.notify_all()

    def mark(self):
        with self._cond:
            return len(self.lines)

    def wait_for(self, regex, timeout=5.0, start=0):
        pattern = re.compile(regex)
        deadline = time.monotonic() + timeout
        index = start
        with self._cond:
            while True:
                while index < len(self.lines):
                    m = pattern.search(self.lines[index])
                    index += 1
                    if m:
                        return m
                left = deadline - time.monotonic()
                if left <= 0 or (self.proc.poll() is not None and index >= len(self.lines)):
                    tail = "\n".join(self.lines[-30:])
                    raise TimeoutError("no log line matches %r; last lines:\n%s" % (regex, tail))
                self._cond.wait(min(left, 0.1))


class Server(LineLog):
    def __init__(self, table_size=1000, grace_ms=60000, config_flag=1, conf_lines=(),
                 binary=None, extra_args=()):
        self.binary = binary or os.environ.get("ZEL_SERVER") or os.path.join(
            os.environ.get("ZEL_BUILD", "build"), "src/server/zelserver")
        self.table_size = table_size
        self.grace_ms = grace_ms
        self.config_flag = config_flag
        self.conf_lines = list(conf_lines)
        self.extra_args = list(extra_args)
        super().__init__()
        self.host = HOST
        self.game_port = self.config_port = self.admin_port = 0
        self._dir = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self, timeout=10, attempts=3):
        # A free port can be taken between the probe and the bind: retry with new ones.
        for attempt in range(attempts):
            self._launch()
            try:
                self.wait_for(r"^ready game=", timeout)
                return self
            except TimeoutError:
                if self.proc.poll() is None or attempt == attempts - 1:
                    raise
                self.stop()
        return self

    def _launch(self, same_ports=False):
        if not same_ports:
            self.game_port, self.config_port, self.admin_port = free_port(), free_port(), free_port()
        if self._dir is None:
            self._dir = tempfile.TemporaryDirectory(prefix="zelserver-")
        conf = os.path.join(self._dir.name, "zelserver.conf")
        with open(conf, "w", encoding="utf-8") as f:
            f.write("advhost = %s\nadvport = %d\n" % (self.host, self.config_port))
            f.write("gameserver = %s:%d\n" % (self.host, self.game_port))
            f.write("configflag = %d\ngracems = %d\n" % (self.config_flag, self.grace_ms))
            f.write("notemsg1 = 테스트 서버입니다\nnotemsg2 = 환영합니다\n")
            for line in self.conf_lines:
                f.write(line + "\n")
        args = [self.binary, "--host", self.host, "--game-port", str(self.game_port),
                "--config-port", str(self.config_port), "--admin-port", str(self.admin_port),
                "--table-size", str(self.table_size), "--conf", conf, "--log"] + self.extra_args
        self.follow(subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                     text=True, encoding="utf-8", errors="replace", bufsize=1))
        atexit.register(self.stop)

    def admin(self, command, timeout=5.0):
        with socket.create_connection((self.host, self.admin_port), timeout=timeout) as s:
            s.sendall(command.encode("utf-8") + b"\n")
            reply = b""
            while not reply.endswith(b"\n"):
                chunk = s.recv(4096)
                if not chunk:
                    break
                reply += chunk
        return reply.decode("utf-8", "replace").strip()

    def kill(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def restart(self, timeout=10, attempts=50):
        """A new server process on the ports of the old one; the ports may
        still be held for a moment after the old process died."""
        self.kill()
        for attempt in range(attempts):
            self._launch(same_ports=True)
            try:
                self.wait_for(r"^ready game=", timeout)
                return self
            except TimeoutError:
                if self.proc.poll() is None or attempt == attempts - 1:
                    raise
                time.sleep(0.1)
        return self

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        if self._dir:
            self._dir.cleanup()
            self._dir = None


def fetch_config(server, want_files=True, timeout=5.0):
    """One configuration exchange as the client does it.

    Returns (flag, sizes, files): the announced flag and sizes, and the files
    received (empty unless want_files and the flag is 1)."""
    with socket.create_connection((server.host, server.config_port), timeout=timeout) as s:
        head = b""
        while not head.endswith(b"\0"):
            chunk = s.recv(1)
            if not chunk:
                raise AssertionError("configuration announcement cut short: %r" % head)
            head += chunk
        fields = [int(head[i:i + 10]) for i in range(0, len(head) - 1, 10)]
        flag, sizes = fields[0], fields[2:2 + fields[1]]
        files = []
        if want_files and flag == 1:
            s.sendall(b"%10d%10d\0" % (500, 0))
            data = b""
            while len(data) < sum(sizes):
                chunk = s.recv(65536)
                if not chunk:
                    raise AssertionError("configuration files cut short")
                data += chunk
            at = 0
            for size in sizes:
                files.append(data[at:at + size])
                at += size
        s.sendall(b"%10d\0" % 0)
    return flag, sizes, files


class RawClient:
    def __init__(self, server=None, port=None, host=HOST, greet=True, timeout=5.0):
        self.sock = socket.create_connection((host, port or server.game_port), timeout=timeout)
        self.buf = b""
        self.user = None
        self.handle = None
        self.id = None
        self.backlog = []
        if greet:
            self.expect(GREETING, timeout)

    def send_raw(self, data):
        self.sock.sendall(data)

    def send(self, code, body=b"", arg=0):
        body = bytes(body)
        self.sock.sendall(struct.pack("<HHH", code, 6 + len(body), arg) + body)

    def _fill(self, timeout):
        self.sock.settimeout(max(timeout, 0.001))
        try:
            chunk = self.sock.recv(65536)
        except (socket.timeout, BlockingIOError):
            return True
        except OSError:
            return False
        if not chunk:
            return False
        self.buf += chunk
        return True

    def read(self, timeout=2.0):
        if self.backlog:
            return self.backlog.pop(0)
        return self._next(timeout)

    def _next(self, timeout):
        deadline = time.monotonic() + timeout
        while True:
            if len(self.buf) >= 6:
                length = struct.unpack_from("<H", self.buf, 2)[0]
                if length >= 6 and len(self.buf) >= length:
                    p, self.buf = Packet(self.buf[:length]), self.buf[length:]
                    return p
            left = deadline - time.monotonic()
            if left <= 0 or not self._fill(left):
                return None

    def expect(self, code, timeout=2.0, where=lambda p: True):
        deadline = time.monotonic() + timeout
        skipped = []
        while True:
            p = self.read(max(deadline - time.monotonic(), 0))
            if p is None:
                raise AssertionError("no packet %d within %.1fs (skipped %r)" % (code, timeout, skipped))
            if p.code == code and where(p):
                return p
            skipped.append(p)

    def drain(self, timeout=0.3):
        out = []
        while True:
            p = self.read(timeout)
            if p is None:
                return out
            out.append(p)

    def login(self, uid, nick, level=0, code=LOGIN, user=0, room=0, invite=20, profile=10, timeout=5.0):
        self.send_raw(login_record(code, uid, nick, user, room, level, invite, profile))
        deadline = time.monotonic() + timeout
        while True:
            p = self._next(max(deadline - time.monotonic(), 0))
            if p is None:
                raise AssertionError("no answer to login of %s" % uid)
            if p.code == DUPLICATE:
                return {"code": DUPLICATE}
            if p.code == ACCEPTED:
                break
        self.user, self.id = p.u16(4), uid
        info = {"code": ACCEPTED, "user": p.u16(4), "room": p.u16(6), "size": p.u16(8)}
        # The lobby follows; keep it in the backlog, note our own handle.
        while True:
            q = self._next(max(deadline - time.monotonic(), 0))
            if q is None:
                raise AssertionError("lobby snapshot did not end with 25020")
            self.backlog.append(q)
            if q.code == ROOM_MEMBERS:
                for e in member_entries(q):
                    if e["user"] == self.user:
                        self.handle = e["handle"]
            if q.code == LOBBY_ENTERED:
                return info

    def room_text(self, text):
        self.send(ROOM_TEXT, cp949(text), arg=self.user or 0)

    def notice(self, text):
        self.send(NOTICE_TEXT, cp949(text), arg=self.user or 0)

    def private_text(self, user, handle, text, memo=0):
        self.send(PRIVATE_TEXT, struct.pack("<HHB", handle, self.user or 0, memo) + cp949(text) + b"\0", arg=user)

    def make_room(self, title, state=10):
        body = bytearray(54)
        struct.pack_into("<H", body, 0, state)
        struct.pack_into("<ii", body, 10, -1, self.user or 0)
        body[22:22 + 32] = cp949(title)[:31].ljust(32, b"\0")
        self.send(MAKE_ROOM, body)

    def enter_room(self, room):
        self.send(ENTER_ROOM, struct.pack("<H", room), arg=self.user or 0)

    def leave(self):
        self.send(LEAVE, arg=self.user or 0)

    def closed(self, timeout=2.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self._fill(deadline - time.monotonic()):
                return True
        return False

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass
