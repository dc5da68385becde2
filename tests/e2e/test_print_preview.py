"""Printing from the game window: a record viewed from the command line,
"기보 인쇄" opens the print dialog; a range of "0".."0" is refused with a
notice, the preview shows the pages while the status cell says so, and the
system's print dialog opens for a real printer."""

import os
import sys
import tempfile
import time

from client_driver import Client, settings_ini
from print_record import record_bytes


def wait_gamewin(client, pred, timeout=10):
    end = time.time() + timeout
    while True:
        answer = client.cmd("gamewin")
        fields = dict(f.split("=", 1) for f in answer.split()[1:] if "=" in f)
        if pred(fields):
            return fields
        if time.time() > end:
            raise AssertionError("game window never reached the state: " + answer)
        time.sleep(0.1)


def wait_dialog(client, name, mark, timeout=10):
    return client.wait_event(r"event dialog=%s\b" % name, timeout=timeout, start=mark)


def main():
    shots = os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir())
    os.makedirs(shots, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="zelclient-") as home:
        path = os.path.join(home, "20261207kimblee.zel")
        with open(path, "wb") as f:
            f.write(record_bytes())
        client = Client(home, settings_ini("tester1", "tester", "127.0.0.1", 9, 9), args=[path])
        try:
            s = wait_gamewin(client, lambda g: g["visible"] == "1" and g["mode"] == "3")
            assert s["layout"] == "5", s

            mark = client.mark()
            client.cmd("click CommandButton4")  # "기보 인쇄" in the viewing layout
            wait_dialog(client, "VeskForm", mark)
            assert "VeskForm:기보 인쇄" in client.cmd("dialogs")
            assert client.cmd("widget edEPos").endswith("text=250")
            client.cmd("screenshot %s VeskForm" % os.path.join(shots, "e2e_print_dialog.png"))

            # A range of nothing: a notice, and the dialog stays.
            client.cmd("click rbMethod2")
            client.cmd("set edSPos 0")
            client.cmd("set edEPos 0")
            mark = client.mark()
            client.cmd("click btnOk")
            m = client.wait_event(r"event notice=(.*)", start=mark)
            assert "범위" in m.group(1), m.group(0)
            assert "VeskForm:" in client.cmd("dialogs")

            # The preview of the split pages; the status cell tells the job runs.
            client.cmd("click rbMethod4")
            mark = client.mark()
            client.cmd("click btnPreview")
            wait_dialog(client, "PrintPreview", mark)
            assert client.cmd("gamecell 0") == "ok 기보 인쇄중...", client.cmd("gamecell 0")
            time.sleep(1.0)  # the preview draws its pages
            client.cmd("screenshot %s PrintPreview" % os.path.join(shots, "e2e_print_preview.png"))
            client.cmd("reject")
            end = time.time() + 10
            while client.cmd("gamecell 0").strip() != "ok" and time.time() < end:
                time.sleep(0.1)
            assert client.cmd("gamecell 0").strip() == "ok", client.cmd("gamecell 0")

            # "확 인" goes to the system's print dialog.
            mark = client.mark()
            client.cmd("click CommandButton4")
            wait_dialog(client, "VeskForm", mark)
            mark = client.mark()
            client.cmd("click btnOk")
            wait_dialog(client, "PrintDialog", mark)
            client.cmd("screenshot %s PrintDialog" % os.path.join(shots, "e2e_print_system_dialog.png"))
            client.cmd("reject")
            wait_gamewin(client, lambda g: g["mode"] == "3")

            client.cmd("quit")
            client.wait_exit(10)
        finally:
            client.kill()
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
