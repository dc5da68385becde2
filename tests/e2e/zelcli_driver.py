"""Drives zelcli processes from end-to-end tests (standard library only).

    c = Cli(srv, "alice", "앨리스", level=20)   # starts zelcli --utf8, logs in, waits for "lobby";
                                                 # expect() then starts right after the login line
    c.send("make 방")                            # one command line
    m = c.expect(r"enter user=(\\d+) id=alice room=(\\d+)", timeout=5)
                                                 # first output line from the cursor on that matches;
                                                 # the cursor moves past it; AssertionError on time-out
    c.mark(); c.lines_since(mark)                # output lines
    c.quit()                                     # "quit", waits for the process to end
"""

import os
import re
import subprocess
import threading
import time


class Cli:
    def __init__(self, srv, uid, nick, level=18, binary=None, login=True):
        self.binary = binary or os.environ.get("ZEL_CLI") or os.path.join(
            os.environ.get("ZEL_BUILD", "build"), "tools/zelcli/zelcli")
        self.name = uid
        self.lines = []
        self.cursor = 0
        self._cond = threading.Condition()
        self.proc = subprocess.Popen(
            [self.binary, "--host", srv.host, "--port", str(srv.game_port), "--utf8"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            text=True, encoding="utf-8", errors="replace", bufsize=1)
        threading.Thread(target=self._reader, daemon=True).start()
        self.user = None
        if login:
            self.send("login %s %s %d" % (uid, nick, level))
            self.user = int(self.expect(r"^login user=(\d+)").group(1))
            after_login = self.cursor
            self.expect(r"^lobby$")
            self.cursor = after_login  # the lobby snapshot stays visible to expect()

    def _reader(self):
        for line in self.proc.stdout:
            with self._cond:
                self.lines.append(line.rstrip("\n"))
                self._cond.notify_all()
        with self._cond:
            self._cond.notify_all()

    def send(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()

    def mark(self):
        with self._cond:
            return len(self.lines)

    def lines_since(self, mark):
        with self._cond:
            return list(self.lines[mark:])

    def expect(self, regex, timeout=5.0):
        pattern = re.compile(regex)
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                while self.cursor < len(self.lines):
                    line = self.lines[self.cursor]
                    self.cursor += 1
                    m = pattern.search(line)
                    if m:
                        return m
                left = deadline - time.monotonic()
                if left <= 0 or (self.proc.poll() is not None and self.cursor >= len(self.lines)):
                    tail = "\n".join(l[:300] for l in self.lines[-25:])
                    raise AssertionError("%s: no line matches %r; last lines:\n%s" % (self.name, regex, tail))
                self._cond.wait(min(left, 0.1))

    def quit(self, timeout=10):
        if self.proc.poll() is None:
            try:
                self.send("quit")
                self.proc.stdin.close()
            except (BrokenPipeError, ValueError):
                pass
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        return self.proc.returncode
