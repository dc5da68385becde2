"""zelload against a real zelserver (and redis-server when installed): 50 users, rooms, 2 s of traffic.

Every user logs in and gets its lobby, every room text reaches every member of its room, every
private text its addressee, and nobody is dropped.
"""

import os
import re
import shutil
import subprocess
import sys
import time

from harness import Server, free_port

LOAD = os.path.join(os.environ.get("ZEL_BUILD", "../../build"), "tools", "zelload", "zelload")


def run(target, port, extra):
    out = subprocess.run([LOAD, "--target", target, "--port", str(port)] + extra, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, timeout=120)
    rows = {}
    for line in out.stdout.splitlines():
        parts = line.split()
        if parts:
            rows[parts[0]] = dict(kv.split("=", 1) for kv in parts[1:] if "=" in kv)
    return out.returncode, rows, out.stdout


def check(target, port):
    failures = 0
    cases = [
        ("room", ["--users", "50", "--rooms", "5", "--room-size", "10", "--traffic", "room", "--rate", "500"]),
        ("game", ["--users", "50", "--rooms", "25", "--room-size", "2", "--traffic", "game", "--rate", "200"]),
        ("private", ["--users", "50", "--traffic", "private", "--rate", "300"]),
    ]
    for name, args in cases:
        rc, rows, text = run(target, port, args + ["--seconds", "2", "--drain-ms", "3000"])
        step, traffic = rows.get("step", {}), rows.get("traffic", {})
        ok = (rc == 0 and step.get("logged_in") == "50" and step.get("dropped") == "0" and
              traffic.get("missing") == "0" and int(traffic.get("delivered", "0")) > 0)
        print(("PASS" if ok else "FAIL"), target, name)
        if not ok:
            failures += 1
            print(text)
    return failures


def redis(port):
    binary = shutil.which("redis-server")
    if not binary:
        return None
    proc = subprocess.Popen([binary, "--port", str(port), "--bind", "127.0.0.1", "--save", "", "--appendonly", "no"],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    deadline = time.time() + 10
    while time.time() < deadline:
        line = proc.stdout.readline()
        if not line or re.search(r"Ready to accept connections", line):
            break
    return proc


def main():
    failures = 0
    with Server(table_size=200) as srv:
        failures += check("zel", srv.game_port)
    port = free_port()
    proc = redis(port)
    if proc is None:
        print("SKIP redis: redis-server not installed")
    else:
        try:
            failures += check("redis", port)
        finally:
            proc.terminate()
            proc.wait(10)
    # Off loopback is refused before anything is sent.
    rc, _, _ = run("zel", 1, ["--host", "192.0.2.1"])
    print("PASS loopback only" if rc == 2 else "FAIL loopback only")
    failures += rc != 2
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
