"""Undo and redo of changes to the entries of TaviMenu2 under Wine: the entry
menu's 元に戻す(&U) and やり直し(&Y) write the list back byte for byte."""

from __future__ import annotations

import unittest

import harness
import tavi
from tavi import EMPTY, NOTEPAD

SESSION: harness.Session

WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, MK_LBUTTON = 0x201, 0x200, 0x202, 0x1
UNDO, REDO = "元に戻す(&U)\tCtrl+Z", "やり直し(&Y)\tCtrl+Y"

WINHLP = ("Help", "C:\\windows\\winhlp32.exe", "-x", "2", "C:\\windows\\winhlp32.exe", "3")


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class UndoTest(tavi.BarTestCase):
    def states(self, bar: tavi.Bar) -> tuple:
        items = {i["text"]: i["enabled"] for i in bar.entry_menu(0)}
        return items[UNDO], items[REDO]

    def wait_bytes(self, folder: harness.ProgramFolder, expected: bytes, what: str) -> None:
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == expected, 10, what)

    def drag(self, bar: tavi.Bar, source: int, target: int) -> None:
        """A press, a move and a release posted to the toolbar, as the drag tests do."""
        origin = SESSION.window(bar.toolbar)["client"]

        def point(position):
            left, top, right, bottom = bar.buttons()[position]["rect"]
            return ((((top + bottom) // 2 - origin[1]) & 0xFFFF) << 16) | (((left + right) // 2 - origin[0]) & 0xFFFF)

        SESSION.call("post", hwnd=bar.toolbar, msg=WM_LBUTTONDOWN, wparam=MK_LBUTTON, lparam=point(source))
        SESSION.call("post", hwnd=bar.toolbar, msg=WM_MOUSEMOVE, wparam=MK_LBUTTON, lparam=point(target))
        SESSION.call("post", hwnd=bar.toolbar, msg=WM_LBUTTONUP, wparam=0, lparam=point(target))

    def test_a_confirmed_delete_is_undone_to_the_same_bytes_and_redone(self):
        folder = self.bar_folder("undo-delete", [NOTEPAD, WINHLP])
        bar = self.start(folder)
        before = folder.read_bytes("Launch.ini")
        self.assertEqual(self.states(bar), (False, False), "nothing to undo or redo at the start")

        bar.choose(1, "削除(&D)")
        box = SESSION.wait_message_box(bar.pid)
        self.assertEqual(box.message, "\"Help\" を削除します　よろしいですか")
        SESSION.press(box.hwnd, id=harness.IDOK)
        deleted = tavi.launch_ini([NOTEPAD])
        self.wait_bytes(folder, deleted, "the entry deleted")
        self.assertEqual(self.states(bar), (True, False))

        bar.choose(0, UNDO)
        self.wait_bytes(folder, before, "the list as it was before the delete")
        harness.wait_until(lambda: bar.tips()[1] == "Help", 10, "the button shows the entry again")
        self.assertEqual(self.states(bar), (False, True))

        bar.choose(0, REDO)
        self.wait_bytes(folder, deleted, "the delete done again")
        harness.wait_until(lambda: bar.tips()[1] == "", 10, "the button empty again")

    def test_a_drag_move_is_undone(self):
        folder = self.bar_folder("undo-drag", [NOTEPAD, WINHLP])
        bar = self.start(folder)
        before = folder.read_bytes("Launch.ini")
        self.drag(bar, 0, 3)
        box = SESSION.wait_message_box(bar.pid)
        SESSION.press(box.hwnd, id=harness.IDOK)
        self.wait_bytes(folder, tavi.launch_ini([EMPTY, WINHLP, EMPTY, NOTEPAD]), "the moved entry")

        bar.choose(0, UNDO)
        self.wait_bytes(folder, before, "the entry back at its first place")
        harness.wait_until(lambda: bar.tips()[:2] == ["Notepad", "Help"], 10, "the buttons as before")

    def test_ctrl_z_and_ctrl_y_on_the_bar_undo_and_redo(self):
        folder = self.bar_folder("undo-keys", [NOTEPAD, WINHLP])
        bar = self.start(folder)
        before = folder.read_bytes("Launch.ini")
        bar.choose(0, "切り取り(&C)")
        cut = tavi.launch_ini([EMPTY, WINHLP])
        self.wait_bytes(folder, cut, "the entry cut")
        # The bar has the keyboard once its menu has closed.
        SESSION.xdotool("key", "ctrl+z")
        self.wait_bytes(folder, before, "Ctrl+Z undoes the cut")
        SESSION.xdotool("key", "ctrl+y")
        self.wait_bytes(folder, cut, "Ctrl+Y cuts again")
        paste = next(i for i in bar.entry_menu(3) if i["text"] == "貼り付け(&P)")
        self.assertTrue(paste["enabled"], "the cut done again can be pasted")


if __name__ == "__main__":
    unittest.main()
