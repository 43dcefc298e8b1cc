"""What TaviMenu2 keeps on disk under Wine: paths the ANSI code page cannot
hold survive a restart and still start, and a save that fails keeps the old
file and says so once."""

from __future__ import annotations

import unittest

import harness
import tavi
from tavi import NOTEPAD

SESSION: harness.Session

SAVE_FAILED = "変更を保存できませんでした。"
UNREADABLE = "次のファイルを読み込めませんでした。"
REDRAW = "再表示(&W)\tF5"
DELETE = "削除(&D)"


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class PersistenceTest(tavi.BarTestCase):
    def folder(self, name: str, entries: list) -> harness.ProgramFolder:
        return self.bar_folder(name, entries, exes=[harness.TOOLS_DIR / "dragsource.exe"])

    def start_drop(self, bar: tavi.Bar, folder: harness.ProgramFolder, position: int, file: str) -> int:
        """Starts dropping a file on a button; returns the drag source's pid."""
        left, top, right, bottom = bar.buttons()[position]["rect"]
        return SESSION.start_program(folder.file("dragsource.exe"),
                                     args=f"{(left + right) // 2} {(top + bottom) // 2} \"{file}\"")

    def drop(self, bar: tavi.Bar, folder: harness.ProgramFolder, position: int, file: str) -> None:
        self.assertEqual(SESSION.wait_exit(self.start_drop(bar, folder, position, file), 30), 0, "the file taken")

    def test_a_program_whose_path_the_code_page_lacks_is_kept_across_a_restart_and_starts(self):
        folder = self.folder("unicode-path", [NOTEPAD])
        name = "도구 😀/편집기 café.exe"
        folder.copy_in(harness.TOOLS_DIR / "marker.exe", name)
        bar = self.start(folder)
        self.drop(bar, folder, 1, folder.win_file(name))
        path = folder.win_file(name)
        harness.wait_until(lambda: folder.exists("Launch.ini.utf8"), 15, "the UTF-8 copy of the list")
        self.assertIn(path, folder.read_bytes("Launch.ini.utf8").decode("utf-8"))
        self.assertNotIn(path, folder.read_text("Launch.ini"), "the list itself is what the system writes")
        self.assertEqual(bar.close(), 0)

        bar = self.start(folder)
        self.assertEqual(bar.tips()[1], "편집기 café.exe")
        bar.click(1)
        records = harness.wait_until(
            lambda: folder.exists("도구 😀/marker.txt") and harness.parse_marker_records(
                folder.read_bytes("도구 😀/marker.txt").decode("utf-8")), 15, "the program started")
        self.assertEqual(records[0]["exe"], path)

    def test_a_change_that_cannot_be_saved_is_not_made_is_told_once_and_the_next_one_is_saved(self):
        folder = self.folder("locked-list", [NOTEPAD])
        docs = [folder.write_bytes(f"文書{i}.txt", b"x") for i in range(3)]
        registered = [(d.name, folder.win_file(d.name), "", "", folder.win_file(d.name), "0") for d in docs]
        bar = self.start(folder)
        before = folder.read_bytes("Launch.ini")
        # Another program holds the list open without sharing it.
        held = SESSION.call("file_hold", path=folder.win_file("Launch.ini"))["handle"]
        try:
            source = self.start_drop(bar, folder, 1, folder.win_file(docs[0].name))
            box = SESSION.wait_message_box(bar.pid, 15)
            self.assertTrue(box.message.startswith(SAVE_FAILED), box.message)
            SESSION.press(box.hwnd, text="OK")
            self.assertEqual(SESSION.wait_exit(source, 30), 0)
            self.drop(bar, folder, 2, folder.win_file(docs[1].name))
            self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "told once, not at every save")
        finally:
            SESSION.call("file_release", handle=held)
        self.assertEqual(folder.read_bytes("Launch.ini"), before, "the old list is intact")
        self.assertEqual(bar.tips()[1:3], ["", ""], "the bar shows the list as it is on disk")
        self.drop(bar, folder, 3, folder.win_file(docs[2].name))
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == tavi.launch_ini(
            [NOTEPAD, tavi.EMPTY, tavi.EMPTY, registered[2]]), 15, "the next change saved")


    def dismiss_unreadable(self, bar: tavi.Bar, name: str) -> None:
        """The notice of a file that could not be read, told once the bar is up."""
        box = SESSION.wait_message_box(bar.pid, 20)
        self.assertTrue(box.message.startswith(UNREADABLE), box.message)
        self.assertIn(name, box.message)
        SESSION.press(box.hwnd, text="OK")

    def test_a_list_held_while_the_bar_starts_is_never_written_over_and_comes_back_on_redraw(self):
        entries = [(f"ﾒﾓ{i}", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0") for i in range(12)]
        folder = self.folder("held-at-start", entries)
        before = folder.read_bytes("Launch.ini")
        held = SESSION.call("file_hold", path=folder.win_file("Launch.ini"))["handle"]
        try:
            bar = self.start(folder)
            self.dismiss_unreadable(bar, "Launch.ini")
            self.assertEqual([t for t in bar.tips() if t], [], "an empty bar while the list is held")
        finally:
            SESSION.call("file_release", handle=held)
        self.assertEqual(folder.read_bytes("Launch.ini"), before, "no first-run list written over it")

        bar.choose(0, REDRAW)
        harness.wait_until(lambda: bar.tips()[:3] == ["ﾒﾓ0", "ﾒﾓ1", "ﾒﾓ2"], 15, "the twelve entries back")
        bar.choose(1, DELETE)
        SESSION.press(SESSION.wait_message_box(bar.pid, 10).hwnd, text="OK")
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == tavi.launch_ini(
            entries[:1] + [tavi.EMPTY] + entries[2:]), 15, "eleven entries left in the file")

    def test_settings_held_while_the_bar_starts_keep_every_value_through_the_exit(self):
        folder = self.folder("settings-held", [NOTEPAD])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(
            "100101011", ExMenuCount="20", HotKey="1620", Monitor="\\\\.\\DISPLAY7") + tavi.cp932_lines(
            ["[Time]", "Time=0730121500000000000000000000000000000000", "WaveFile=C:\\ｱﾗｰﾑ.wav"]))
        before = folder.read_bytes("TaviLaunch.ini")
        held = SESSION.call("file_hold", path=folder.win_file("TaviLaunch.ini"))["handle"]
        try:
            bar = self.start(folder)
            self.dismiss_unreadable(bar, "TaviLaunch.ini")
        finally:
            SESSION.call("file_release", handle=held)
        self.assertEqual(bar.close(), 0)
        self.assertEqual(folder.read_bytes("TaviLaunch.ini"), before, "every value kept through the exit")


if __name__ == "__main__":
    unittest.main()
