"""The packages unpacked into a scratch root: the menu entry, record type,
metainfo and icons are well formed and agree with each other; the unpacked
zelserver serves the unpacked zelclient, which reads its fonts and help page
from the installed data directory and shows the lobby; and a record opened
through the menu entry's command line comes up in viewing mode."""

import configparser
import glob
import os
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from client_driver import Client, settings_ini  # noqa: E402
from harness import Server, free_port  # noqa: E402
from test_game_view_record import record_text, wait_gamewin  # noqa: E402

BUILD = os.environ.get("ZEL_BUILD", "build")
APP = "kr.zel.zelclient"
RECORD_TYPE = "application/x-zel-record"
FONT_FAILURE = "글꼴 파일을 읽지 못했습니다"


def unpack(root):
    debs = sorted(glob.glob(os.path.join(BUILD, "packages", "*.deb")))
    assert len(debs) == 3, debs
    for deb in debs:
        subprocess.run(["dpkg", "-x", deb, root], check=True)


def desktop_entry(root):
    path = os.path.join(root, "usr/share/applications/%s.desktop" % APP)
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return path, parser["Desktop Entry"]


def validate(root):
    path, entry = desktop_entry(root)
    if shutil.which("desktop-file-validate"):
        out = subprocess.run(["desktop-file-validate", path], stdout=subprocess.PIPE, text=True)
        assert out.returncode == 0 and "error" not in out.stdout, out.stdout
    metainfo = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % APP)
    if shutil.which("appstreamcli"):
        out = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo], stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, text=True)
        assert out.returncode == 0, out.stdout
    assert entry["Categories"].split(";")[:2] == ["Game", "BoardGame"], entry["Categories"]
    assert entry["Name"] and entry["Name[ko]"], dict(entry)
    assert RECORD_TYPE in entry["MimeType"].split(";"), entry["MimeType"]

    # A file manager finds the record type of "*.zel" in the database built
    # from the installed type, and that type leads to the menu entry.
    mime = os.path.join(root, "usr/share/mime")
    if shutil.which("update-mime-database"):
        subprocess.run(["update-mime-database", mime], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(os.path.join(mime, "globs2"), encoding="utf-8") as f:
            globs = [line.strip().split(":") for line in f if not line.startswith("#")]
        assert [g[1] for g in globs if g[2] == "*.zel"] == [RECORD_TYPE], globs

    # Every icon is a PNG of the size its directory names.
    icons = glob.glob(os.path.join(root, "usr/share/icons/hicolor/*/apps/%s.png" % APP))
    assert len(icons) >= 4, icons
    for icon in icons:
        size = os.path.basename(os.path.dirname(os.path.dirname(icon)))
        with open(icon, "rb") as f:
            head = f.read(24)
        assert head[:8] == b"\x89PNG\r\n\x1a\n", icon
        width, height = struct.unpack(">II", head[16:24])
        assert "%dx%d" % (width, height) == size, (icon, width, height)
    return entry


def service_command(root):
    """The unit's command line with the defaults file's options, as systemd
    would run it, with the scratch root's paths; the unit's user is the one
    the maintainer script adds."""
    unit = configparser.ConfigParser(interpolation=None, strict=False)
    unit.optionxform = str
    unit.read(os.path.join(root, "lib/systemd/system/zel-server.service"), encoding="utf-8")
    service = unit["Service"]
    postinst = subprocess.run(["dpkg-deb", "-I", glob.glob(os.path.join(BUILD, "packages", "zel-server_*.deb"))[0],
                               "postinst"], stdout=subprocess.PIPE, text=True, check=True).stdout
    assert " --gecos \"Zel game server\" %s" % service["User"] in postinst, (service["User"], postinst)
    defaults = {}
    with open(os.path.join(root, service["EnvironmentFile"].lstrip("-").lstrip("/")), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                key, value = line.split("=", 1)
                defaults[key] = shlex.split(value)[0] if value else ""
    argv = []
    for word in shlex.split(service["ExecStart"]):
        if word.startswith("$"):
            argv += defaults[word[1:]].split()
        elif word.startswith("/"):
            argv.append(os.path.join(root, word.lstrip("/")))
        else:
            argv.append(word)
    return argv


def installed_service(root):
    """The service's command line starts the unpacked server with the packaged
    configuration (on free ports here: later options win)."""
    argv = service_command(root) + ["--game-port", str(free_port()), "--config-port", str(free_port()), "--log"]
    assert os.path.isfile(argv[0]) and argv[0].endswith("usr/bin/zelserver"), argv
    proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        first = proc.stdout.readline()
        assert first.startswith("ready game="), (argv, first, proc.stdout.read() if proc.poll() is not None else "")
    finally:
        proc.terminate()
        proc.wait(5)


def installed_lobby(root, shots):
    data = os.path.join(root, "usr/share/zel")
    os.environ["ZEL_CLIENT"] = os.path.join(root, "usr/bin/zelclient")
    with Server(binary=os.path.join(root, "usr/bin/zelserver")) as srv, \
            tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        client = Client(home, settings_ini("pkgtest", "설치", srv.host, srv.game_port, srv.config_port))
        try:
            srv.wait_for(r"config conn=\d+ flag=1 files=\d+ answer=", 10)
            client.wait_event(r"event dialog=TLoginForm", 10)
            # A font that cannot be read is reported in the terminal at start,
            # before the lobby's lines push it out of view.
            terminal = client.cmd("terminal")
            assert FONT_FAILURE not in terminal, terminal
            client.cmd("click btnOk")
            srv.wait_for(r"login conn=\d+ user=\d+ id=pkgtest", 10)
            s = client.wait_state(lambda s: s["check"] == "1", 10)
            assert s["state"] == "3" and s["connected"] == "1", s
            client.cmd("screenshot %s" % os.path.join(shots, "package-lobby.png"))

            # The help page is the installed one.
            mark = client.mark()
            client.cmd("click sbHelp")
            client.wait_event(r"event opened=file://%s/help\.html$" % data, 5, start=mark)
            client.cmd("quit")
            client.wait_exit(10)
        finally:
            client.kill()


def record_from_menu(root, entry, shots):
    """Runs the entry's Exec line as a desktop does for a file (%f: one local
    path), with the scratch root's programs first on PATH."""
    argv = shlex.split(entry["Exec"])
    assert argv.count("%f") + argv.count("%F") == 1, entry["Exec"]
    with tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        folder = os.path.join(home, "내 기보")
        os.makedirs(folder)
        record = os.path.join(folder, "2026 12 07 kim lee.zel")
        with open(record, "w", encoding="ascii", newline="") as f:
            f.write(record_text())
        args = [record if a in ("%f", "%F") else a for a in argv]
        program = shutil.which(args[0], path=os.path.join(root, "usr/bin"))
        assert program and program.startswith(root), (args[0], program)
        os.environ["ZEL_CLIENT"] = program
        client = Client(home, settings_ini("pkgtest", "설치", "127.0.0.1", 9, 9), args=args[1:])
        try:
            s = wait_gamewin(client, lambda g: g["visible"] == "1" and g["mode"] == "3")
            assert s["moves"] == "0", s
            assert client.state()["connected"] == "0"
            client.cmd("click NavButton15")
            wait_gamewin(client, lambda g: g["moves"] == "8")
            client.cmd("screenshot %s TZelGoMainForm" % os.path.join(shots, "package-record.png"))
            client.cmd("quit")
            client.wait_exit(10)
        finally:
            client.kill()


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="zel-root-") as root:
        unpack(root)
        entry = validate(root)
        installed_service(root)
        installed_lobby(root, shots)
        record_from_menu(root, entry, shots)
    print("installed packages: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
