"""Folder-menu benchmark: from a left click on a folder entry shown as a menu
to its menu on screen, for a folder of 500 files (documents of five types)
and one of 500 shortcuts, whose pictures are read from each file.

  python3 tests/e2e/bench_folder_menu.py [rounds]

The driver posts the click to the bar's buttons and spins until the popup
window is visible, so the figure includes the listing on its worker, the
items with their pictures, and Wine's showing of a menu of 500 items. The
first opening makes the pictures; the others find them kept. Not a test: it
prints figures.
"""

from __future__ import annotations

import statistics
import sys

import harness
import tavi

WM_KEYDOWN, VK_ESCAPE = 0x100, 0x1B
TYPES = (".txt", ".ini", ".log", ".csv", ".bmp")


def shortcut(target: str) -> bytes:
    """The smallest shell link: its header and the target's path as a string."""
    header = bytearray(76)
    header[0:4] = (76).to_bytes(4, "little")
    header[4:20] = bytes.fromhex("0114020000000000c000000000000046")
    header[20:24] = (0x80 | 0x8).to_bytes(4, "little")  # HasRelativePath, IsUnicode
    name = target.encode("utf-16-le")
    return bytes(header) + (len(target)).to_bytes(2, "little") + name


def time_opening(session: harness.Session, bar: tavi.Bar, position: int) -> float:
    left, top, right, bottom = bar.buttons(tips=False)[position]["rect"]
    origin = session.window(bar.toolbar)["client"]
    x, y = (left + right) // 2 - origin[0], (top + bottom) // 2 - origin[1]
    reply = session.call("time_popup", hwnd=bar.toolbar, x=x, y=y, button="left", timeout_ms=20000, timeout=60)
    session.call("post", hwnd=reply["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
    harness.wait_until(lambda: not session.popup_menus(bar.pid), 10, "the menu to close")
    return reply["ms"]


def main(rounds: int) -> None:
    with harness.Session() as session:
        folder = session.program_folder("bench-folder-menu", [harness.PROGRAM_EXE])
        documents = folder.path / "500 files"
        links = folder.path / "500 shortcuts"
        documents.mkdir()
        links.mkdir()
        for i in range(500):
            (documents / f"file{i}{TYPES[i % len(TYPES)]}").write_bytes(b"x")
            (links / f"link{i}.lnk").write_bytes(shortcut(f"file{i}.txt"))
        entries = [(path.name, session.to_windows(path) + "\\", "", "3", session.to_windows(path) + "\\", "0")
                   for path in (documents, links)]
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        bar = tavi.Bar.start(session, folder)
        try:
            for position, (name, *_rest) in enumerate(entries):
                times = [time_opening(session, bar, position) for _ in range(rounds + 1)]
                print(f"{name}: first {times[0]:.1f} ms, then median {statistics.median(times[1:]):.1f} ms, "
                      f"max {max(times[1:]):.1f} ms over {rounds}")
        finally:
            bar.stop()


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 10)
