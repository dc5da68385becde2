"""zelprint turns a 250-move record with commentaries into PDF files in each
printing method; their pages become PNG pictures for a look by eye and their
text is searched for the titles, the header block and the commentaries."""

import os
import re
import subprocess
import sys
import tempfile

from print_record import record_bytes


def run(args):
    return subprocess.run([os.environ["ZEL_PRINT"]] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=120)


def text_of(pdf):
    out = subprocess.run(["pdftotext", "-layout", pdf, "-"], stdout=subprocess.PIPE, check=True).stdout
    # Text extraction keeps one blank of a run of blanks.
    return re.sub(r" +", " ", out.decode("utf-8"))


def main():
    shots = os.path.join(os.environ.get("ZEL_SCREENSHOTS", tempfile.gettempdir()), "print")
    os.makedirs(shots, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="zelprint-") as work:
        record = os.path.join(work, "20261207kimblee.zel")
        with open(record, "wb") as f:
            f.write(record_bytes())

        jobs = {
            "whole": (["--method", "1"], 1),
            "range": (["--method", "2", "--from", "100", "--to", "180"], 1),
            "split1": (["--method", "4", "--per-page", "1"], 5),
            "split2": (["--method", "4", "--per-page", "2"], 3),
            "split4": (["--method", "4", "--per-page", "4", "--split", "50"], 2),
            "commentaries": (["--method", "5"], 1),
        }
        texts = {}
        for name, (args, pages) in jobs.items():
            pdf = os.path.join(work, name + ".pdf")
            r = run([record, pdf] + args)
            assert r.returncode == 0, (name, r.stderr)
            prefix = os.path.join(shots, "zelprint_" + name)
            for old in os.listdir(shots):
                if old.startswith("zelprint_" + name + "-"):
                    os.remove(os.path.join(shots, old))
            subprocess.run(["pdftoppm", "-r", "50", "-png", pdf, prefix], check=True)
            made = [p for p in os.listdir(shots) if p.startswith("zelprint_" + name + "-")]
            assert len(made) == pages, (name, made)
            texts[name] = text_of(pdf)

        for first in range(1, 250, 50):
            title = "[부분보 : %d 수 ~ %d 수]" % (first, first + 49)
            for name in ("split1", "split2", "split4"):
                assert title in texts[name], (name, title)
        whole = texts["whole"]
        for line in ("총보 : 1 ~ 250", "흑 : 김흑(kimb) 3D", "백 : 이백(leew) 2D", "방법 : 호선(흑 6집 반 공제)",
                     "결과 : 백 6집 반승", "일시 : 2026-12-07 21:30", "가온하루미 벨다대국", "20261207kimblee.zel"):
            assert line in whole, line
        assert "부분보 : 100 ~ 180" in texts["range"]
        info = subprocess.run(["pdfinfo", os.path.join(work, "whole.pdf")], stdout=subprocess.PIPE, check=True)
        assert re.search(r"^Title:\s+HvnZel Gibo$", info.stdout.decode("utf-8"), re.M), info.stdout
        comments = texts["commentaries"]
        assert "[30 번째 수에 대한 참고도]" in comments
        assert "[120 번째 수에 대한 참고도]" in comments
        assert "[60 번째" not in comments  # the malformed commentary is left out
        assert "<< 해설 >>" in comments and "중앙이 중요합니다." in comments and ":: 김흑" in comments

        # Nothing to print: no file, and the tool says why.
        for args in (["--from", "0", "--to", "0"], ["--from", "abc", "--to", "10"], ["--method", "3"]):
            pdf = os.path.join(work, "none.pdf")
            r = run([record, pdf] + args)
            assert r.returncode != 0 and not os.path.exists(pdf), (args, r.returncode)
            assert r.stderr, args
    print("zelprint: every method printed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
