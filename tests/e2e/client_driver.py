"""Drives a real zelclient through its test hook (ZEL_TEST_HOOK=1).

    c = Client(settings_dir, ini_text)   # writes HvnZel.ini, starts the client offscreen
    c.cmd("state")                       # -> "ok ..." (raises on "error ...")
    c.wait_event(r"event dialog=TLoginForm", timeout=20)
    c.state()                            # -> dict of the state line's fields
    c.wait_state(lambda s: s["check"] == "1", timeout=10)
    c.wait_exit(timeout=10)              # -> exit code
"""

import os
import queue
import re
import subprocess
import threading
import time

VERSION_SECTION = "[HvnZel%20Complie%20Info]\nversion=000308A\n"


def settings_ini(userid, nickname, host, game_port, config_port, extra=""):
    return (VERSION_SECTION +
            "\n[Login%%20Info]\nuserid=%s\nnickname=%s\n" % (userid, nickname) +
            "\n[ADV%%20%%26%%20Host%%20Info]\nadvhost=%s\nadvport=%d\nngohost=1\nzelhost1=%s\nzelport1=%d\n"
            "nadfile=0\n" % (host, config_port, host, game_port) + extra)


class Client:
    def __init__(self, settings_dir, ini_text, args=()):
        with open(os.path.join(settings_dir, "HvnZel.ini"), "w", encoding="utf-8") as f:
            f.write(ini_text)
        binary = os.environ.get("ZEL_CLIENT") or os.path.join(
            os.environ.get("ZEL_BUILD", "build"), "src/client/zelclient")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ZEL_SETTINGS_DIR=settings_dir,
                   ZEL_TEST_HOOK="1")
        self.proc = subprocess.Popen([binary] + list(args), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, env=env, text=True, encoding="utf-8",
                                     errors="replace", bufsize=1)
        self.events = []
        self._answers = queue.Queue()
        self._cond = threading.Condition()
        threading.Thread(target=self._reader, daemon=True).start()
        self.wait_event(r"^event hook ready", 10)

    def _reader(self):
        for line in self.proc.stdout:
            line = line.rstrip("\n")
            if line.startswith("event "):
                with self._cond:
                    self.events.append(line)
                    self._cond.notify_all()
            elif line.startswith("ok") or line.startswith("error"):
                self._answers.put(line)
        with self._cond:
            self._cond.notify_all()
        self._answers.put(None)

    def cmd(self, line, timeout=5.0):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        try:
            answer = self._answers.get(timeout=timeout)
        except queue.Empty:
            raise TimeoutError("no answer to %r; events: %s" % (line, self.events[-10:]))
        if answer is None:
            raise RuntimeError("client ended while answering %r" % line)
        if not answer.startswith("ok"):
            raise AssertionError("%r -> %s" % (line, answer))
        return answer

    def wait_event(self, regex, timeout=10.0, start=0):
        pattern = re.compile(regex)
        deadline = time.monotonic() + timeout
        index = start
        with self._cond:
            while True:
                while index < len(self.events):
                    m = pattern.search(self.events[index])
                    index += 1
                    if m:
                        return m
                left = deadline - time.monotonic()
                if left <= 0 or self.proc.poll() is not None and index >= len(self.events):
                    raise TimeoutError("no event %r; last: %s" % (regex, self.events[-10:]))
                self._cond.wait(min(left, 0.2))

    def mark(self):
        with self._cond:
            return len(self.events)

    def state(self):
        line = self.cmd("state")
        fields = dict(re.findall(r"(\w+)=(\S*)", line.split(" panels=")[0]))
        fields["panels"] = line.split(" panels=", 1)[1].split("|") if " panels=" in line else []
        return fields

    def wait_state(self, predicate, timeout=10.0):
        deadline = time.monotonic() + timeout
        while True:
            s = self.state()
            if predicate(s):
                return s
            if time.monotonic() > deadline:
                raise TimeoutError("state never matched; last %s" % s)
            time.sleep(0.1)

    def wait_exit(self, timeout=10.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("client did not exit; events: %s" % self.events[-10:])

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
