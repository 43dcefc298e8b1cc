"""Screenshots of every window the program opens, at several display scales,
for a person to look at.

  python3 tests/e2e/dialog_shots.py [--language en] [--out FOLDER] [--dark] [DPI ...]
      (default Japanese into build/e2e/dialogs, 96 144; English into build/e2e/dialogs/en)

The windows are the rows of the Windows test EveryWindow/DialogLayout
(tests/win/dialog_layout_win.cpp): adding a window there adds its picture
here. The tests run with TAVI_DIALOG_SHOTS set: each writes
<name>-<dpi>.shown (the window's rectangle) once its window is up and
checked, and waits for <name>-<dpi>.taken, which this script writes after
cropping the window out of a screenshot. For each dpi the prefix gets that
LogPixels and a new wineserver; it is set back to 96 at the end.
TAVI_SHOTS_ONLY=new_app,fd_format takes only those rows. --dark takes them in the
dark app mode (the user's AppsUseLightTheme 0), named <name>-<dpi>-dark.png.
test_layout.py runs the same at 96 and 144 dpi as part of the tests.
"""

from __future__ import annotations

import dataclasses
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

import harness

ONLY = [name for name in os.environ.get("TAVI_SHOTS_ONLY", "").split(",") if name]
FILTER = ":".join(f"EveryWindow/DialogLayout.*/{name}" for name in ONLY) or "EveryWindow/DialogLayout.*"
WIN_TESTS = harness.WINDOWS_BUILD / "win_tests.exe"


@dataclasses.dataclass
class Shots:
    dpi: int
    saved: list          # the pictures, <name>-<dpi>.png
    missing: list        # rows whose window was not photographed
    returncode: int      # of win_tests.exe: 0 when every window's layout held
    failures: str        # the layout test's report of what did not

    def names(self) -> set:
        return {re.sub(r"-\d+(-dark)?$", "", p.stem) for p in self.saved}


def window_names(session: harness.Session) -> list:
    """The rows of the layout test, as GoogleTest lists them."""
    listed = subprocess.run(["wine", str(WIN_TESTS), "--gtest_list_tests", f"--gtest_filter={FILTER}"],
                            env=session.env, capture_output=True, timeout=120, check=True)
    names = []
    for line in listed.stdout.decode("utf-8", "replace").splitlines():
        if line.startswith("  "):
            names.append(line.split("#")[0].strip().rsplit("/", 1)[-1])
    if not names:
        raise harness.HarnessError(f"win_tests.exe lists no {FILTER}")
    return names


def _waiting(folder: Path):
    """A window that is up and not yet photographed, or None."""
    return next((p for p in sorted(folder.glob("*.shown")) if not p.with_suffix(".taken").exists()), None)


def _failures(output: str) -> str:
    """The layout test's failure reports, without the passing rows."""
    blocks = re.findall(r"^.*(?:Failure|error)[^\n]*\n(?:(?!\[ {0,}(?:RUN|OK|FAILED)).*\n)*", output, re.MULTILINE)
    return "".join(blocks) or output[-4000:]


PERSONALIZE_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"


def shoot(session: harness.Session, out: Path, suffix: str = "") -> Shots:
    """Opens every window at the session's current dpi and photographs it."""
    out.mkdir(parents=True, exist_ok=True)
    names = window_names(session)
    saved = []
    dpi = session.screen()["dpi"]
    with tempfile.TemporaryDirectory(prefix="tavi-shots-") as work:
        folder = Path(work)
        env = dict(session.env, TAVI_DIALOG_SHOTS=session.to_windows(folder))
        tests = subprocess.Popen(["wine", str(WIN_TESTS), f"--gtest_filter={FILTER}"], env=env, cwd=work,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            while tests.poll() is None:
                shown = harness.wait_until(lambda: _waiting(folder) or tests.poll() is not None, 120, "a window")
                if shown is True:
                    break
                harness.wait_until(lambda: shown.read_text().strip(), 10, f"{shown.name} written")
                left, top, width, height = (int(v) for v in shown.read_text().split())
                screen = session.screenshot(f"dialog-shot-{shown.stem}")
                target = out / f"{shown.stem}{suffix}.png"
                subprocess.run(["convert", str(screen), "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                                str(target)], check=True, timeout=60)
                saved.append(target)
                shown.with_suffix(".taken").write_text("taken")
            output, _ = tests.communicate(timeout=120)
        finally:
            harness._stop_process(tests)
    text = output.decode("utf-8", "replace")
    shots = Shots(dpi, saved, [], tests.returncode, _failures(text) if tests.returncode else "")
    shots.missing = sorted(set(names) - shots.names())
    return shots


def main(argv: list) -> int:
    language = "ja"
    if len(argv) >= 2 and argv[0] == "--language":
        language, argv = argv[1], argv[2:]
    out = harness.E2E_DIR / "dialogs" / ("" if language == "ja" else language)
    if len(argv) >= 2 and argv[0] == "--out":
        out, argv = Path(argv[1]), argv[2:]
    dark = bool(argv) and argv[0] == "--dark"
    argv = argv[1:] if dark else argv
    dpis = [int(a) for a in argv] or [96, 144]
    status = 0
    with harness.Session(ui_language=language) as session:
        if dark:
            session.wine("reg", "add", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d", "0", "/f")
        try:
            for dpi in dpis:
                session.set_dpi(dpi)
                shots = shoot(session, out, "-dark" if dark else "")
                for path in shots.saved:
                    print(path)
                if shots.missing:
                    print(f"{dpi} dpi: no picture of {shots.missing}", file=sys.stderr)
                    status = 1
                if shots.returncode:
                    print(f"{dpi} dpi: layout faults\n{shots.failures}", file=sys.stderr)
                    status = 1
        finally:
            session.set_dpi(96)
            if dark:
                session.wine("reg", "delete", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/f")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
