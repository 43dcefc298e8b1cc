"""Idle benchmark: the system calls and CPU time of an untouched bar, hidden,
shown, and shown with the notepad it started running (marked on its button),
beside a bare Win32 window, over the same stretch of time.

  python3 tests/e2e/bench_idle.py [seconds]

Each program runs under Wine on Xvfb with the pointer far from it; its Linux
process (a Wine process is one, with its threads) is traced with
`strace -c -f` for the stretch (10 s by default), and its CPU time is read
from /proc before and after. Not a test: it prints figures.
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
from tavi import NOTEPAD


def cpu_seconds(pid: int) -> float:
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def measure(pid: int, seconds: float) -> tuple:
    """System calls and CPU seconds of `pid` over `seconds`."""
    with tempfile.NamedTemporaryFile(suffix=".strace") as out:
        cpu_before = cpu_seconds(pid)
        tracer = subprocess.Popen(["strace", "-c", "-f", "-p", str(pid), "-o", out.name],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(seconds)  # the stretch measured, not a wait for anything
        tracer.send_signal(signal.SIGINT)
        tracer.wait(30)
        cpu = cpu_seconds(pid) - cpu_before
        summary = Path(out.name).read_text()
    total = re.search(r"^\s*100\.00\s+\S+\s+\S+\s+\S+\s+(\d+)", summary, re.M)
    return (int(total.group(1)) if total else 0), cpu


def main(seconds: float) -> None:
    with harness.Session() as session:
        session.call("cursor", x=640, y=500)
        bare_folder = session.program_folder("idle-bare", [harness.TOOLS_DIR / "barewindow.exe"])
        bare = session.start_program(bare_folder.file("barewindow.exe"))
        session.wait_window(bare, cls="BareWindow")
        rows = [("bare window", session.linux_pid("barewindow.exe", bare_folder.win_path))]

        for name, ini_buff in (("bar hidden", tavi.INIBUFF_DEFAULT), ("bar shown", tavi.INIBUFF_LEFT_SHOWN)):
            folder = session.program_folder(f"idle-{name.split()[1]}", [harness.PROGRAM_EXE])
            folder.write_bytes("Launch.ini", tavi.launch_ini([NOTEPAD] * 12))
            folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(ini_buff))
            bar = tavi.Bar.start(session, folder)
            harness.wait_until(lambda: session.window(bar.hwnd)["visible"] == (name == "bar shown"), 10, name)
            rows.append((name, session.linux_pid("TaviMenu2.exe", folder.win_path)))

        folder = session.program_folder("idle-running", [harness.PROGRAM_EXE])
        folder.write_bytes("Launch.ini", tavi.launch_ini([NOTEPAD] * 12))
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        bar = tavi.Bar.start(session, folder)
        bar.click(0)
        harness.wait_until(
            lambda: session.accessible_tree(bar.toolbar)["children"][0].get("description") == "実行中", 30,
            "notepad marked running")
        session.call("cursor", x=640, y=500)
        rows.append(("bar, notepad", session.linux_pid("TaviMenu2.exe", folder.win_path)))

        # Everything has settled before the stretch starts: first paint, deferred work, hiding.
        time.sleep(3)
        print(f"{'program':<14}{'system calls':>14}{'CPU ms':>10}   over {seconds:.0f} s idle")
        for name, pid in rows:
            calls, cpu = measure(pid, seconds)
            print(f"{name:<14}{calls:>14}{cpu * 1000:>10.0f}")


if __name__ == "__main__":
    main(float(sys.argv[1]) if len(sys.argv) > 1 else 10.0)
