"""Click benchmark: from a left click on a button to the bar's shell call,
which should come within one 16 ms frame.

  python3 tests/e2e/bench_click.py [rounds]

The bar runs with TAVI_TRACE_STARTUP set, so it writes a "shell call" line
with the performance counter reading at the moment it hands the entry to the
shell. The driver posts the press and release to the toolbar and reports its
own counter reading just before; the counter is shared by every process of
the session, so the difference is the time from the click to the call. The
entry starts marker.exe, and each round waits for the marker's record before
the next click. Not a test: it prints figures.
"""

from __future__ import annotations

import statistics
import sys

import harness
import tavi


def shell_calls(folder: harness.ProgramFolder) -> list:
    if not folder.exists("TaviMenu2.trace"):
        return []
    lines = folder.read_bytes("TaviMenu2.trace").decode("utf-8").splitlines()
    return [int(line.split("\t")[3]) for line in lines if line.startswith("shell call\t")]


def main(rounds: int) -> None:
    with harness.Session() as session:
        folder = session.program_folder("bench-click", [harness.PROGRAM_EXE, harness.TOOLS_DIR / "marker.exe"])
        marker = folder.win_file("marker.exe")
        entries = [(f"ﾏｰｶｰ{i}", marker, f"/round {i}", "0", marker, "0") for i in range(50)]
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        pid = session.call("start", exe=folder.win_file("TaviMenu2.exe"), cwd=folder.win_path,
                           env={"TAVI_TRACE_STARTUP": "1"})["pid"]
        bar_window = session.wait_window(pid, cls=tavi.BAR_CLASS, timeout=30)
        toolbar = next(w for w in session.windows(pid, hidden=True, children=True) if w["class"] == tavi.TOOLBAR_CLASS)
        bar = tavi.Bar(session, folder, pid, bar_window["hwnd"], toolbar["hwnd"])
        try:
            left, top, right, bottom = bar.buttons()[0]["rect"]
            origin = session.window(bar.toolbar)["client"]
            x, y = (left + right) // 2 - origin[0], (top + bottom) // 2 - origin[1]
            session.call("cursor", x=(left + right) // 2, y=(top + bottom) // 2)
            times = []
            for round_number in range(rounds):
                calls_before = len(shell_calls(folder))
                records_before = len(folder.marker_records())
                click = session.call("time_click", hwnd=bar.toolbar, x=x, y=y)
                calls = harness.wait_until(lambda: (c := shell_calls(folder))[calls_before:] and c, 10,
                                           "the shell call")
                times.append(1000.0 * (calls[calls_before] - click["ticks"]) / click["frequency"])
                harness.wait_until(lambda: len(folder.marker_records()) > records_before, 20, "the marker's record")
            times.sort()
            print(f"{rounds} clicks, click to shell call: median {statistics.median(times):.2f} ms, "
                  f"90th {times[max(0, int(len(times) * 0.9) - 1)]:.2f} ms, min {times[0]:.2f}, max {times[-1]:.2f} ms")
        finally:
            bar.stop()


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 20)
