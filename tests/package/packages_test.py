"""The three Debian packages built from this build directory: each holds its
programs and files (and no other package's programs), declares what it needs,
and lintian finds no error in them."""

import glob
import os
import re
import subprocess
import sys

BUILD = os.environ.get("ZEL_BUILD", "build")
SOURCE = os.environ.get("ZEL_SOURCE", "../..")
APP = "kr.zel.zelclient"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
VOICE = ["count%d.wav" % n for n in range(1, 11)] + ["lastperiod.wav"]


def expected():
    """Package -> (programs in usr/bin, other paths it must hold)."""
    client_files = ["usr/share/zel/" + f for f in
                    ("Convert.tbl", "ZelE00.FNT", "ZelH00.FNT", "ZelSBS.FNT", "ZelKSS.FNT", "help.html")]
    if os.environ.get("ZEL_HAS_VOICE") == "1":
        client_files += ["usr/share/zel/voice/" + f for f in VOICE]
    for picture in glob.glob(os.path.join(BUILD, "src/client/help/*.png")):
        client_files.append("usr/share/zel/help/" + os.path.basename(picture))
    client_files += ["usr/share/applications/%s.desktop" % APP, "usr/share/metainfo/%s.metainfo.xml" % APP,
                     "usr/share/mime/packages/%s.xml" % APP, "usr/share/man/man6/zelclient.6.gz",
                     "usr/share/doc/zel-client/guide.md"]
    client_files += ["usr/share/icons/hicolor/%dx%d/apps/%s.png" % (n, n, APP) for n in ICON_SIZES]
    tools = ["zelprint", "zel2sgf", "sgf2zel", "zelcli", "zelgtp"]
    tool_pages = ["usr/share/man/man1/%s.1.gz" % t for t in tools]
    if os.environ.get("ZEL_HAS_ZELBOT") == "1":
        tools.append("zelbot")
        tool_pages.append("usr/share/man/man6/zelbot.6.gz")
    server_files = ["lib/systemd/system/zel-server.service", "etc/zel/zelserver.conf", "etc/default/zel-server",
                    "usr/share/man/man8/zelserver.8.gz"]
    table = {
        "zel-client": (["zelclient"], client_files),
        "zel-server": (["zelserver"], server_files),
        "zel-tools": (tools, tool_pages),
    }
    for name, (_, files) in table.items():
        files += ["usr/share/doc/%s/copyright" % name, "usr/share/doc/%s/changelog.gz" % name]
    return table


def run(*args, check=True):
    p = subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if check and p.returncode != 0:
        raise AssertionError("%s failed (%d):\n%s" % (" ".join(args), p.returncode, p.stdout))
    return p.stdout


def contents(deb):
    """The paths a package holds, without the leading "./", mapped to their modes."""
    out = {}
    for line in run("dpkg-deb", "-c", deb).splitlines():
        fields = line.split()
        path = fields[5].lstrip(".").lstrip("/")
        out[path.rstrip("/")] = fields[0]
    return out


def field(deb, name):
    return run("dpkg-deb", "-f", deb, name).strip()


def check_contents(debs):
    for name, (programs, files) in expected().items():
        held = contents(debs[name])
        bins = sorted(p[len("usr/bin/"):] for p in held if p.startswith("usr/bin/") and p != "usr/bin")
        assert bins == sorted(programs), "%s holds programs %s, expected %s" % (name, bins, sorted(programs))
        for program in programs:
            assert held["usr/bin/" + program] == "-rwxr-xr-x", (name, program, held["usr/bin/" + program])
        missing = [f for f in files if f not in held]
        assert not missing, "%s lacks %s" % (name, missing)
        strays = [p for p in held if p.startswith(("usr/local", "home", "tmp", "opt"))]
        assert not strays, "%s installs outside the system directories: %s" % (name, strays)


def check_control(debs):
    client, server, tools = debs["zel-client"], debs["zel-server"], debs["zel-tools"]
    depends = field(client, "Depends")
    for need in ("libqt6widgets6", "libqt6network6", "libqt6multimedia6", "libqt6printsupport6",
                 "fonts-nanum", "fonts-nanum-coding", "fonts-liberation", "libstdc++6"):
        assert need in re.split(r"[ ,]+", depends), "zel-client does not depend on %s: %s" % (
            need, depends)
    assert "gnugo" in field(client, "Recommends"), field(client, "Recommends")
    assert "libqt6printsupport6" in field(tools, "Depends"), field(tools, "Depends")
    assert "adduser" in field(server, "Depends"), field(server, "Depends")
    assert "qt6" not in field(server, "Depends"), "the server needs no Qt: " + field(server, "Depends")
    conffiles = run("dpkg-deb", "-I", server, "conffiles").split()
    assert sorted(conffiles) == ["/etc/default/zel-server", "/etc/zel/zelserver.conf"], conffiles
    info = run("dpkg-deb", "-I", server)
    for script in ("postinst", "prerm", "postrm"):
        assert re.search(r"\b\d+ bytes,\s+\d+ lines\s+\*\s+%s\b" % script, info), "%s missing or not executable:\n%s" % (
            script, info)
    postinst = run("dpkg-deb", "-I", server, "postinst")
    assert "adduser --system" in postinst and "zel-server.service" in postinst, postinst


def check_lintian(debs):
    out = run("lintian", "--tag-display-limit", "0", "--display-info", *debs.values(), check=False)
    errors = [line for line in out.splitlines() if line.startswith("E:")]
    for line in out.splitlines():
        print(line)
    assert not errors, "lintian errors:\n" + "\n".join(errors)


def main():
    out = subprocess.run([os.path.join(SOURCE, "scripts/package")], env=dict(os.environ, ZEL_BUILD_DIR=BUILD),
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    assert out.returncode == 0, "scripts/package failed:\n" + out.stderr[-4000:]
    debs = {}
    for path in (p for p in out.stdout.split() if p.endswith(".deb")):
        name = os.path.basename(path).split("_")[0]
        debs[name] = path
    assert sorted(debs) == ["zel-client", "zel-server", "zel-tools"], out.stdout
    for name, path in debs.items():
        assert field(path, "Package") == name and field(path, "Version"), path
    check_contents(debs)
    check_control(debs)
    check_lintian(debs)
    print("packages: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
