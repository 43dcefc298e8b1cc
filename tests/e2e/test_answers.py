"""The bar answers whatever its files hold, under Wine: a member file of
10,000 full groups read at its start, a button whose icon
file is a shortcut that never reads to its end, a folder menu over a folder
holding it, a folder menu over a folder that never answers at all (from its
first opening on), and a search row whose picture lies on that folder, never
stop the bar answering a round trip from another program, at its start and
while the menus open again and again; a folder elsewhere still lists its
files. A click on a program on the folder that never answers, by a short
path or one past MAX_PATH, does not stop the bar either, the next entry
still starts, and the program's properties show what the bar knows without
its file."""

from __future__ import annotations

import os
import time
import unittest
from typing import Optional

import harness
import silent_folder
import tavi

SESSION: harness.Session

WM_NULL, WM_KEYDOWN, VK_ESCAPE = 0x0, 0x100, 0x1B
WM_PAINT, LVM_GETITEMCOUNT = 0x0F, 0x1004
SEARCH_CAPTION = "ｴﾝﾄﾘｰの検索"
SEARCH_ITEM = "ｴﾝﾄﾘｰの検索(&Q)..."
MENU_RUN_TYPE = "3"
STUCK_DRIVE = "s"
SILENT_DRIVE = "t"
# The bar answers every message within this; its start comes within the
# harness's usual wait for a bar with buttons.
ANSWER_LIMIT_MS = 200
IDC_FILEINFO_PLACE0 = 1557
START_LIMIT_S = 15


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class BarAnswersTest(tavi.BarTestCase):
    def held_shortcut(self, folder) -> str:
        """A FIFO named like a shortcut, held open here: Wine's read of it
        waits until it is let go. It lies on a drive of its own (a link in
        the prefix, a fixed drive to Wine), so that it stops only that drive."""
        stuck = folder.path / "stuck"
        stuck.mkdir()
        (stuck / "note.txt").write_bytes(b"x")
        fifo = stuck / "held.lnk"
        os.mkfifo(fifo)
        holder = os.open(fifo, os.O_RDWR | os.O_NONBLOCK)
        self.addCleanup(os.close, holder)
        link = harness.PREFIX_DIR / "dosdevices" / f"{STUCK_DRIVE}:"
        if link.is_symlink():
            link.unlink()
        link.symlink_to(stuck)
        self.addCleanup(link.unlink)
        return f"{STUCK_DRIVE.upper()}:\\"

    def silent_folder(self) -> Optional[str]:
        """A folder whose listing never comes (a lookup that is never
        answered), on a drive of its own; none where FUSE is not at hand
        (root and /dev/fuse), and the test goes on without it."""
        if not silent_folder.available():
            print("\nno folder that never answers: it needs root and /dev/fuse")
            return None
        silent = self.enterContext(silent_folder.SilentFolder(harness.E2E_DIR / "silent"))
        link = harness.PREFIX_DIR / "dosdevices" / f"{SILENT_DRIVE}:"
        if link.is_symlink():
            link.unlink()
        link.symlink_to(silent.path)
        self.addCleanup(link.unlink)
        return f"{SILENT_DRIVE.upper()}:\\dead"

    def search_rows_drawn(self, bar: tavi.Bar, text: str) -> None:
        """Opens the search box from the tray, finds `text`, has its one row
        drawn (its picture asked for) and closes the box."""
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, SEARCH_ITEM)

        def box_shown():
            return next((w for w in SESSION.windows(bar.pid, caption=SEARCH_CAPTION) if w["visible"]), None)
        box = harness.wait_until(box_shown, 10, "the search box")
        children = [w for w in SESSION.windows(bar.pid, children=True) if w["parent"] == box["hwnd"]]
        edit = next(w for w in children if w["class"].lower() == "edit")
        rows = next(w for w in children if w["class"] == "SysListView32")
        SESSION.call("set_text", hwnd=edit["hwnd"], text=text)
        harness.wait_until(
            lambda: SESSION.call("send", hwnd=rows["hwnd"], msg=LVM_GETITEMCOUNT)["result"] == 1, 10, f"{text} found")
        SESSION.call("send", hwnd=rows["hwnd"], msg=WM_PAINT)
        SESSION.screenshot("answers-search")
        SESSION.call("post", hwnd=box["hwnd"], msg=harness.WM_COMMAND, wparam=harness.IDCANCEL)
        harness.wait_until(lambda: not box_shown(), 10, "the search box closed")

    def open_menu(self, bar: tavi.Bar, position: int) -> list:
        """Clicks the folder button, reads its menu's captions, closes it."""
        bar.click(position)
        popup = SESSION.wait_popup_menu(bar.pid)
        captions = [item["text"] for item in SESSION.menu_items(popup["hwnd"])]

        def closed():
            shown = SESSION.popup_menus(bar.pid)
            if shown:
                SESSION.call("post", hwnd=shown[-1]["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
            return not shown
        harness.wait_until(closed, 10, "the menu to close")
        return captions

    def test_a_stuck_icon_file_and_a_stuck_shortcut_in_a_folder_menu_never_stop_the_bar_answering(self):
        folder = self.bar_folder("answers")
        stuck_root = self.held_shortcut(folder)
        silent = self.silent_folder()
        other = folder.path / "other"
        other.mkdir()
        for name in ("one.txt", "two.txt"):
            (other / name).write_bytes(b"x")
        other_root = SESSION.to_windows(other) + "\\"
        notepad = "C:\\windows\\notepad.exe"
        folder.write_bytes("Launch.ini", tavi.launch_ini([
            ("止まる", stuck_root, "", MENU_RUN_TYPE, stuck_root, "0"),
            ("ほか", other_root, "", MENU_RUN_TYPE, other_root, "0"),
            ("メモ", notepad, "", "0", stuck_root + "held.lnk", "0"),
        ] + ([("Silent", silent, "", MENU_RUN_TYPE, silent + "\\icon.ico", "0")] if silent else []) + [
            ("Groups", "[Groups]", "", "0", "", "0")]))
        # A member file of 10,000 full groups (7 MiB), read at the start.
        folder.write_bytes("TaviMenu2.INI", tavi.cp932_lines(
            line for n in range(10000) for line in [f"[ExMenu{n:02d}]"] + [
                line for slot in range(8) for line in (
                    f"{slot:02d}ExTitle=Memo {slot}", f"{slot:02d}ExPathName=C:\\windows\\notepad.exe",
                    f"{slot:02d}ExCommand=", f"{slot:02d}ExRunType=0")]))

        began = time.monotonic()
        pid = SESSION.start_program(folder.file("TaviMenu2.exe"), cwd=folder.path)
        SESSION.call("watch_answers", pid=pid, **{"class": tavi.BAR_CLASS}, limit_ms=ANSWER_LIMIT_MS)
        try:
            bar = tavi.Bar.attach(SESSION, folder, pid, timeout=START_LIMIT_S)
            self.bars.append(bar)
            shown_after = time.monotonic() - began
            self.assertLess(shown_after, START_LIMIT_S, "the bar shows with its buttons")
            SESSION.screenshot("answers-start")

            # The first opening waits no longer than any other.
            for opening in range(3 if silent else 0):
                self.assertEqual(self.open_menu(bar, 3), ["(応答がありません)"], f"silent opening {opening + 1}")
            for opening in range(5):
                self.assertEqual(self.open_menu(bar, 0), ["held", "note.txt"], f"opening {opening + 1}")
            self.assertEqual(self.open_menu(bar, 1), ["one.txt", "two.txt"],
                             "a folder elsewhere still lists its files")
            # A search row whose picture lies on the silent drive.
            if silent:
                self.search_rows_drawn(bar, "Silent")
            self.assertEqual(bar.entry_menu(2)[0]["text"], "新規登録(&N)...\tCtrl+N", "the bar goes on as before")
        finally:
            watched = SESSION.call("watch_answers_stop")
        print(f"\nbar with its buttons {shown_after:.1f} s after its start; {watched['asked']} round trips,"
              f" slowest {watched['slowest_ms']} ms")
        self.assertGreater(watched["asked"], 20, "round trips asked throughout")
        self.assertEqual(watched["late"], 0,
                         f"every round trip answered within {ANSWER_LIMIT_MS} ms; slowest {watched['slowest_ms']} ms")
        self.assertEqual(bar.close(), 0, "the bar ends as ever, its stuck workers with it")

    def test_a_program_that_never_answers_neither_starts_nor_shows_its_properties_by_holding_the_bar(self):
        silent = self.silent_folder()
        if not silent:
            self.skipTest("no folder that never answers")
        self.addCleanup(self.close_notepads)
        # A path past MAX_PATH is shortened by asking its folder first.
        deep = silent + "".join(f"\\{level}" + "x" * 60 for level in range(5)) + "\\tool.exe"
        folder = self.bar_folder("answers-start", entries=[
            ("Silent", silent + "\\tool.exe", "", "0", "", "0"),
            ("Deep", deep, "", "0", "", "0"),
            tavi.NOTEPAD,
        ])
        bar = self.start(folder)
        bar.buttons_drawn()
        SESSION.call("watch_answers", pid=bar.pid, **{"class": tavi.BAR_CLASS}, limit_ms=ANSWER_LIMIT_MS)
        try:
            for _ in range(3):
                bar.click(0)
            bar.click(1)
            bar.click(2)
            SESSION.wait_window(cls="Notepad", timeout=15)
        finally:
            watched = SESSION.call("watch_answers_stop")
        print(f"\n{watched['asked']} round trips while the silent program was clicked, slowest {watched['slowest_ms']} ms")
        # Its properties open without the file, and the bar answers while they are up.
        bar.choose(0, "ﾌﾟﾛﾊﾟﾃｨ(&R)...")
        properties = bar.dialog("tool.exeのﾌﾟﾛﾊﾟﾃｨ", timeout=5)
        size = properties["controls"][IDC_FILEINFO_PLACE0 + 2]["text"]
        SESSION.call("send", hwnd=bar.hwnd, msg=WM_NULL, wparam=0, lparam=0, timeout_ms=ANSWER_LIMIT_MS)
        SESSION.press(properties["hwnd"], id=harness.IDOK)
        harness.wait_until(lambda: not [w for w in SESSION.windows(bar.pid, cls="#32770") if w["visible"]], 10,
                           "the properties closed")
        self.assertEqual(size, "<不明>", "the properties show without their file")
        self.assertGreater(watched["asked"], 5, "round trips asked throughout")
        self.assertEqual(watched["late"], 0, f"every round trip answered within {ANSWER_LIMIT_MS} ms")
        self.assertFalse([w for w in SESSION.windows(bar.pid, cls="#32770") if w["visible"]],
                         "no report: the silent start never came back")
        self.assertEqual(bar.close(), 0, "the bar ends as ever, its stuck start with it")

    def close_notepads(self):
        for window in SESSION.windows(cls="Notepad", hidden=True):
            SESSION.call("close", hwnd=window["hwnd"], check=False)
        harness.wait_until(lambda: not SESSION.windows(cls="Notepad", hidden=True), 10, "every notepad closed")


if __name__ == "__main__":
    unittest.main()
