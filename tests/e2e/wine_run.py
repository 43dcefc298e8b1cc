"""Runs things under the harness's Wine session from the command line.

  python3 tests/e2e/wine_run.py tests EXE [ARGS...]
      Runs a Windows test program (the Windows test level) in the session's
      prefix on its virtual display; exits with the program's exit code.

  python3 tests/e2e/wine_run.py bar SCREENSHOT
      Starts TaviMenu2.exe in a fresh program folder on a virtual display,
      waits until the bar has its buttons, saves a screenshot and closes it.
"""

from __future__ import annotations

import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import harness
import tavi


def run_tests(exe: str, args: list) -> int:
    with harness.Session() as session:
        with tempfile.TemporaryDirectory(prefix="tavi-wintests-") as work:
            return subprocess.run(["wine", str(Path(exe).resolve()), *args], env=session.env, cwd=work).returncode


def run_bar(screenshot: str) -> int:
    # scripts/run.sh builds the program and the driver only.
    with harness.Session(tools=("tavidriver.exe",)) as session:
        folder = session.program_folder("run", [harness.PROGRAM_EXE])
        pid = session.start_program(folder.file("TaviMenu2.exe"), cwd=folder.path)
        bar = session.wait_window(pid, cls="TaviMenu2", timeout=30)
        harness.wait_until(lambda: _has_buttons(session, pid), 15, "the bar's buttons")
        shot = session.screenshot("run-bar")
        Path(screenshot).parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(shot, screenshot)
        print(f"bar {bar['rect']} on a virtual {session.width}x{session.height} display; screenshot {screenshot}")
        session.close_and_wait(bar["hwnd"], pid, timeout=15)
        return 0


def _has_buttons(session: harness.Session, pid: int) -> bool:
    toolbars = [w for w in session.windows(pid, children=True) if w["class"] == tavi.TOOLBAR_CLASS]
    return bool(toolbars) and bool(session.call("toolbar_buttons", hwnd=toolbars[0]["hwnd"])["buttons"])


def main(argv: list) -> int:
    if len(argv) >= 2 and argv[0] == "tests":
        return run_tests(argv[1], argv[2:])
    if len(argv) == 2 and argv[0] == "bar":
        return run_bar(argv[1])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
