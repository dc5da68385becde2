"""The environment window, the banners and the help page against the real
server: every page of the window opened from the lobby's button, a new
background colour seen in the lobby at once and stored, the animated top
banner moving, banner clicks opening only web addresses, and the help button
opening the program's help page. The screenshots of the lobby and of the
window also become the help page's pictures in the build's data directory."""

import os
import shutil
import struct
import sys
import tempfile
import time
import zlib

from client_driver import Client, settings_ini
from harness import Server

LINKS = ["http://zel.example/help", "file:///etc/passwd", "http://zel.example/logo",
         "https://zel.example/banner", "http://zel.example/game"]


def png_pixels(path):
    """The colours of an 8-bit RGB or RGBA PNG as '#rrggbb' strings."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, width, height, kind = 8, b"", 0, 0, 0
    while pos < len(data):
        length, tag = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if tag == b"IHDR":
            width, height, depth, kind, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and kind in (2, 6) and interlace == 0, (depth, kind, interlace)
        elif tag == b"IDAT":
            idat += body
        pos += 12 + length
    bpp = 3 if kind == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return ["#%02x%02x%02x" % (r[i], r[i + 1], r[i + 2]) for r in rows for i in range(0, stride, bpp)]


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    build = os.environ.get("ZEL_BUILD", "build")
    help_pictures = os.path.join(build, "src/client/help")
    os.makedirs(help_pictures, exist_ok=True)
    conf = ["link = %s" % link for link in LINKS]
    with Server(conf_lines=conf) as srv, tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        banners = os.path.join(home, "ADVH")
        extra = "\n[Critical%%20Info]\nadvhdir=%s\ngibodir=%s\n" % (banners, os.path.join(home, "Gibo"))
        client = Client(home, settings_ini("envtest", "환경", srv.host, srv.game_port, srv.config_port, extra))
        try:
            srv.wait_for(r"config conn=\d+ flag=1 files=\d+ answer=", 10)
            client.wait_event(r"event dialog=TLoginForm", 10)
            client.cmd("click btnOk")
            client.wait_state(lambda s: s["check"] == "1", 10)
            lobby_before = os.path.join(shots, "env-lobby-before.png")
            client.cmd("screenshot %s" % lobby_before)
            shutil.copy(lobby_before, os.path.join(help_pictures, "lobby.png"))

            # The animated top banner: two moments half a second apart differ.
            frames = [os.path.join(shots, "env-banner-%d.png" % i) for i in (1, 2)]
            client.cmd("screenshot %s BannerImage" % frames[0])
            time.sleep(0.5)
            client.cmd("screenshot %s BannerImage" % frames[1])
            first, second = (png_pixels(f) for f in frames)
            assert len(set(first)) > 2, "the banner shows a picture"
            assert first != second, "the banner did not move"

            # Banner clicks: the top banner (file 4) opens its web page; the
            # logo panel's address (file 2) is no web page and opens nothing.
            mark = client.mark()
            client.cmd("press LogoImage")
            client.cmd("press BannerImage")
            client.wait_event(r"event opened=https://zel\.example/banner$", 5, start=mark)
            time.sleep(0.3)
            assert client.cmd("opened") == "ok https://zel.example/banner", client.cmd("opened")

            # Help: the program's own page.
            mark = client.mark()
            client.cmd("click sbHelp")
            m = client.wait_event(r"event opened=(file://\S+/help\.html)$", 5, start=mark)
            page = m.group(1)[len("file://"):]
            assert os.path.isfile(page), page
            with open(page, encoding="utf-8") as f:
                assert "환경 설정" in f.read()

            # The environment window, page by page.
            client.cmd("click sbEnvS")
            client.wait_event(r"event dialog=TEnvSetForm", 5)
            names = ["colour", "macro", "other", "board"]
            for index, name in enumerate(names):
                client.cmd("tab Pages %d" % index)
                shot = os.path.join(shots, "env-page-%s.png" % name)
                client.cmd("screenshot %s TEnvSetForm" % shot)
                if name in ("colour", "board"):
                    shutil.copy(shot, os.path.join(help_pictures, "envset-%s.png" % name))

            # The third swatch, then OK: the lobby shows colour 12 at once.
            client.cmd("tab Pages 0")
            client.cmd("press ColorBtn3")
            client.cmd("click OkBtn")
            deadline = time.monotonic() + 5
            while "TEnvSetForm" in client.cmd("dialogs"):
                assert time.monotonic() < deadline, "the window stayed open"
                time.sleep(0.1)
            lobby_after = os.path.join(shots, "env-lobby-colour12.png")
            client.cmd("screenshot %s" % lobby_after)
            before, after = png_pixels(lobby_before), png_pixels(lobby_after)
            old, new = "#002c5a", "#004080"  # palette colours 10 and 12
            assert before.count(old) > 5000 and before.count(new) == 0, (before.count(old), before.count(new))
            assert after.count(new) > 5000, after.count(new)
            assert after.count(old) < before.count(old) // 20, (after.count(old), before.count(old))
            with open(os.path.join(home, "HvnZel.ini"), encoding="utf-8") as f:
                assert "basecolor=12" in f.read()
        finally:
            client.kill()
    print("environment window, banners and help: ok")


if __name__ == "__main__":
    sys.exit(main())
