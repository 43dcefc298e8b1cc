"""Running-watch benchmark: what the bar spends learning of other programs'
windows, in system calls and CPU time, beside a bare Win32 window over the
same stretch, and how soon its button says the program runs.

  python3 tests/e2e/bench_running.py [COUNT]

Two programs started outside the bar, each marked and then closed: notepad,
and windowstorm.exe opening COUNT windows (1000 by default) at once and
closing them all. The stretch runs from the start of the program until it
has ended and the bar has settled; how soon the mark came is timed
in a run of its own where the bar is asked, and its CPU time in another,
untraced (tracing makes every system call dear). Not a test: it prints figures.
"""

from __future__ import annotations

import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import harness
import tavi

RUNNING = "実行中"
SETTLE = 2.0  # seconds the bar is given to finish with what it was told


def cpu_seconds(pid: int) -> float:
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Traced:
    """System calls of a Linux process while the block runs."""

    def __init__(self, pid: int):
        self.pid = pid
        self.out = tempfile.NamedTemporaryFile(suffix=".strace")

    def __enter__(self) -> "Traced":
        self.tracer = subprocess.Popen(["strace", "-c", "-f", "-p", str(self.pid), "-o", self.out.name],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)  # strace attaches to every thread before the stretch begins
        return self

    def __exit__(self, *exc) -> None:
        self.tracer.send_signal(signal.SIGINT)
        self.tracer.wait(30)
        total = re.search(r"^\s*100\.00\s+\S+\s+\S+\s+\S+\s+(\d+)", Path(self.out.name).read_text(), re.M)
        self.calls = int(total.group(1)) if total else 0
        self.out.close()


def main(count: int) -> None:
    with harness.Session() as session:
        session.call("cursor", x=640, y=900)
        folder = session.program_folder("bench-running", [harness.PROGRAM_EXE, harness.TOOLS_DIR / "windowstorm.exe",
                                                          harness.TOOLS_DIR / "barewindow.exe"])
        storm = folder.win_file("windowstorm.exe")
        folder.write_bytes("Launch.ini", tavi.launch_ini([tavi.NOTEPAD, ("Storm", storm, "", "0", storm, "0")]))
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        bare = session.start_program(folder.file("barewindow.exe"))
        session.wait_window(bare, cls="BareWindow")
        bar = tavi.Bar.start(session, folder)
        harness.wait_until(lambda: session.accessible_tree(bar.toolbar)["count"] >= 2, 15, "the buttons")
        bar_pid = session.linux_pid("TaviMenu2.exe", folder.win_path)
        bare_pid = session.linux_pid("barewindow.exe", folder.win_path)
        time.sleep(3)  # deferred start-up work done before any stretch

        def description(position: int) -> str:
            return session.accessible_tree(bar.toolbar)["children"][position].get("description", "")

        def run(name: str, position: int, exe: str, args: str, cls: str, asked: bool) -> float:
            """Starts the program and closes it again; returns how soon it was marked.
            Unasked, the bar's accessible object is not read (it would run in the
            bar): the stretch waits for the windows and lets the bar settle instead."""
            started = time.monotonic()
            pid = session.call("start", exe=exe, args=args)["pid"]
            if asked:
                harness.wait_until(lambda: description(position) == RUNNING, 120, f"{name} marked")
            else:
                harness.wait_until(lambda: len([w for w in session.windows(pid, cls=cls) if w["visible"]]) ==
                                   (count if cls == "WindowStorm" else 1), 120, f"{name}'s windows")
                time.sleep(SETTLE)
            marked = time.monotonic() - started
            window = session.wait_window(pid, cls=cls)
            session.call("post", hwnd=window["hwnd"], msg=0x10, wparam=0, lparam=0)  # WM_CLOSE
            session.wait_exit(pid, 120)
            if asked:
                harness.wait_until(lambda: description(position) == "", 120, f"{name}'s mark gone")
            else:
                time.sleep(SETTLE)
            return marked

        print(f"{'program started elsewhere':<26}{'marked after':>13}{'bar calls':>11}{'bar CPU ms':>12}"
              f"{'bare calls':>12}{'bare CPU ms':>13}")
        for name, position, exe, args, cls in (("notepad", 0, tavi.NOTEPAD[1], "", "Notepad"),
                                               (f"{count} windows", 1, storm, str(count), "WindowStorm")):
            marked = run(name, position, exe, args, cls, asked=True)
            # CPU time untraced (tracing makes every call dear), the calls traced.
            bar_cpu, bare_cpu = cpu_seconds(bar_pid), cpu_seconds(bare_pid)
            run(name, position, exe, args, cls, asked=False)
            bar_cpu, bare_cpu = cpu_seconds(bar_pid) - bar_cpu, cpu_seconds(bare_pid) - bare_cpu
            with Traced(bar_pid) as bar_calls, Traced(bare_pid) as bare_calls:
                run(name, position, exe, args, cls, asked=False)
            print(f"{name:<26}{marked:>12.2f}s{bar_calls.calls:>11}{bar_cpu * 1000:>12.0f}"
                  f"{bare_calls.calls:>12}{bare_cpu * 1000:>13.0f}")

if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 1000)
