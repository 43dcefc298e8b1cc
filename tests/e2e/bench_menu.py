"""Entry-menu benchmark: from the right press on the page's last button to
the menu on screen, with 50 items on the desktop, the drives of the prefix
and the screen savers listed; each press reads again whatever list changed.

  python3 tests/e2e/bench_menu.py [rounds] [--trace]

The driver posts the press to the toolbar and spins until the popup window
is visible, so the figure includes the list building, the menu's creation
and Wine's showing of it. Not a test: it prints figures. --trace runs the bar with its phase trace on
and adds the median of each step inside the program (list building, the
menu's creation).
"""

from __future__ import annotations

import os
import statistics
import sys
import time

import harness
import tavi

KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"


def step_medians(trace: bytes, replies: list) -> str:
    """The median time of each step of a press: from the posted press to the
    program's "entry menu" mark, each step inside the program, and from
    "menu built" to the popup seen on screen (the driver and the program read
    the same clock)."""
    steps: dict = {}
    marks = []
    for line in trace.decode("utf-8").splitlines():
        name, _since_start, since_previous, ticks = line.split("\t")
        marks.append((name, float(since_previous), int(ticks)))
    presses = [i for i, mark in enumerate(marks) if mark[0] == "entry menu"]
    for start, reply in zip(presses, replies):
        to_ms = 1000.0 / reply["frequency"]
        steps.setdefault("press to handler", []).append((marks[start][2] - reply["pressed"]) * to_ms)
        for name, since_previous, ticks in marks[start + 1:]:
            steps.setdefault(name, []).append(since_previous)
            if name == "menu built":
                steps.setdefault("built to shown", []).append((reply["shown"] - ticks) * to_ms)
                break
    return ", ".join(f"{name} {statistics.median(ms):.2f}" for name, ms in steps.items())


def main(rounds: int, trace: bool) -> None:
    with harness.Session(env={"TAVI_TRACE_STARTUP": "1"} if trace else None) as session:
        desktop = session.program_folder("bench-desktop", [])
        for i in range(25):
            desktop.write_bytes(f"ショートカット{i}.lnk", b"L\0\0\0")
            (desktop.path / f"フォルダ{i}").mkdir()
        # A desktop whose names changed a moment ago is read at every press;
        # a real one has stood for longer.
        an_hour_ago = time.time() - 3600
        os.utime(desktop.path, (an_hour_ago, an_hour_ago))
        session._wine_quietly("reg", "add", KEY, "/v", "Desktop", "/t", "REG_EXPAND_SZ", "/d", desktop.win_path, "/f")
        try:
            folder = session.program_folder("bench-menu", [harness.PROGRAM_EXE])
            folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
            folder.write_bytes("Launch.ini", tavi.launch_ini(
                [("Notepad", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")]))
            bar = tavi.Bar.start(session, folder)
            # The last button of the page: the one the press's hit test reaches last.
            buttons = session.call("toolbar_buttons", hwnd=bar.toolbar)["buttons"]
            left, top, right, bottom = buttons[-1]["rect"]
            toolbar = session.window(bar.toolbar)["rect"]
            x, y = (left + right) // 2 - toolbar[0], (top + bottom) // 2 - toolbar[1]
            times = []
            replies = []
            for _ in range(rounds):
                reply = session.call("time_popup", hwnd=bar.toolbar, x=x, y=y)
                times.append(reply["ms"])
                replies.append(reply)
                items = session.menu_items(reply["hwnd"])
                bar.close_menus()
                harness.wait_until(lambda: not session.popup_menus(bar.pid), 10, "the menu closed")
            desk = next(i for i in items if i["text"] == "ﾃﾞｽｸﾄｯﾌﾟ(&T)...")
            times.sort()
            print(f"{rounds} presses on button {len(buttons)}, {len(desk['items'])} desktop items: median {statistics.median(times):.1f} ms, "
                  f"90th {times[int(len(times) * 0.9) - 1]:.1f} ms, min {times[0]:.1f}, max {times[-1]:.1f} ms")
            bar.stop()
            if trace:
                print("steps (ms): " + step_medians(folder.read_bytes("TaviMenu2.trace"), replies))
        finally:
            session._wine_quietly("reg", "delete", KEY, "/v", "Desktop", "/f")


if __name__ == "__main__":
    arguments = [a for a in sys.argv[1:] if not a.startswith("--")]
    main(int(arguments[0]) if arguments else 20, "--trace" in sys.argv)
