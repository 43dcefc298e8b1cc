"""Entry-menu benchmark: from the right press on a button to the menu on
screen, with 50 items on the desktop, the drives of the prefix and the
screen savers listed, all rebuilt at every press.

  python3 tests/e2e/bench_menu.py [rounds]

The driver posts the press to the toolbar and spins until the popup window
is visible, so the figure includes the list building, the menu's creation
and Wine's showing of it. Not a test: it prints figures.
"""

from __future__ import annotations

import statistics
import sys

import harness
import tavi

KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"


def main(rounds: int) -> None:
    with harness.Session() as session:
        desktop = session.program_folder("bench-desktop", [])
        for i in range(25):
            desktop.write_bytes(f"ショートカット{i}.lnk", b"L\0\0\0")
            (desktop.path / f"フォルダ{i}").mkdir()
        session._wine_quietly("reg", "add", KEY, "/v", "Desktop", "/t", "REG_EXPAND_SZ", "/d", desktop.win_path, "/f")
        try:
            folder = session.program_folder("bench-menu", [harness.PROGRAM_EXE])
            folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
            folder.write_bytes("Launch.ini", tavi.launch_ini(
                [("Notepad", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")]))
            bar = tavi.Bar.start(session, folder)
            left, top, right, bottom = session.call("toolbar_buttons", hwnd=bar.toolbar)["buttons"][0]["rect"]
            toolbar = session.window(bar.toolbar)["rect"]
            x, y = (left + right) // 2 - toolbar[0], (top + bottom) // 2 - toolbar[1]
            times = []
            for _ in range(rounds):
                reply = session.call("time_popup", hwnd=bar.toolbar, x=x, y=y)
                times.append(reply["ms"])
                items = session.menu_items(reply["hwnd"])
                bar.close_menus()
            desk = next(i for i in items if i["text"] == "ﾃﾞｽｸﾄｯﾌﾟ(&T)...")
            times.sort()
            print(f"{rounds} presses, {len(desk['items'])} desktop items: median {statistics.median(times):.1f} ms, "
                  f"90th {times[int(len(times) * 0.9) - 1]:.1f} ms, min {times[0]:.1f}, max {times[-1]:.1f} ms")
            bar.stop()
        finally:
            session._wine_quietly("reg", "delete", KEY, "/v", "Desktop", "/f")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 20)
