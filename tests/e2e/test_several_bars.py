"""Several bars, one per program folder, on one edge under Wine's shell: they
stand side by side without pushing each other, a second start from one folder
is refused, and a bar that closes or is killed leaves no hole."""

from __future__ import annotations

import time
import unittest
from pathlib import Path

import harness
import tavi
from tavi import NOTEPAD

SESSION: harness.Session

ALREADY_RUNNING = "既に起動中です　二重起動はできません"
# Long enough to see a fight between bars: each round of appbar notices takes
# well under a second even on a loaded machine.
STILL_S = 3.0


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class SeveralBarsTest(tavi.BarTestCase):
    def rect(self, hwnd: int) -> list:
        return SESSION.window(hwnd)["rect"]

    def wait_left(self, hwnd: int, left: int, what: str) -> list:
        return harness.wait_until(lambda: (lambda r: r if r[0] == left else None)(self.rect(hwnd)), 15, what)

    def assert_still(self, hwnds: list) -> None:
        """The windows keep their places for a while: nobody moves anybody."""
        before = [self.rect(h) for h in hwnds]
        deadline = time.monotonic() + STILL_S
        while time.monotonic() < deadline:
            self.assertEqual([self.rect(h) for h in hwnds], before, "the bars moved each other")

    def test_two_folders_give_two_bars_side_by_side_and_one_folder_gives_one(self):
        first = self.start(self.bar_folder("bars-first", [NOTEPAD]))
        left = self.wait_left(first.hwnd, 0, "the first bar at the edge")
        second = self.start(self.bar_folder("bars-second", [NOTEPAD]))
        self.wait_left(second.hwnd, left[2], "the second bar beside the first")
        self.assert_still([first.hwnd, second.hwnd])
        SESSION.screenshot("several-bars")
        self.assertEqual(self.rect(first.hwnd)[0], 0, "the first started stays nearest the edge")

        # The first folder again, by the same path and by another spelling of it.
        for exe in (first.folder.file("TaviMenu2.exe"), Path(str(first.folder.path).upper()) / "TAVIMENU2.EXE"):
            pid = SESSION.start_program(exe)
            box = SESSION.wait_message_box(pid, 20)
            self.assertEqual(box.message, ALREADY_RUNNING)
            SESSION.press(box.hwnd, text="OK")
            SESSION.wait_exit(pid, 20)

        # The bar at the edge closes: the other takes its place.
        self.assertEqual(first.close(), 0)
        self.wait_left(second.hwnd, 0, "the second bar at the edge")
        self.assert_still([second.hwnd])

    def test_a_killed_bar_leaves_no_hole(self):
        first = self.start(self.bar_folder("killed-first", [NOTEPAD]))
        self.wait_left(first.hwnd, 0, "the first bar at the edge")
        second = self.start(self.bar_folder("killed-second", [NOTEPAD]))
        self.wait_left(second.hwnd, self.rect(first.hwnd)[2], "the second bar beside the first")
        SESSION.call("kill", pid=first.pid)
        self.wait_left(second.hwnd, 0, "the second bar at the edge once the first is gone")

    def test_another_programs_appbar_and_our_bar_settle_after_one_move_each(self):
        pid = SESSION.start_program(harness.TOOLS_DIR / "appbar.exe")
        appbar = SESSION.wait_window(pid, cls="TestAppBar")
        harness.wait_until(lambda: SESSION.window(appbar["hwnd"])["caption"] == "appbar moves 1", 10,
                           "the appbar docked")
        try:
            bar = self.start(self.bar_folder("with-appbar", [NOTEPAD]))
            self.wait_left(bar.hwnd, self.rect(appbar["hwnd"])[2], "our bar beside the other appbar")
            self.assert_still([appbar["hwnd"], bar.hwnd])
            self.assertEqual(SESSION.window(appbar["hwnd"])["caption"], "appbar moves 1", "ours never moved it")
        finally:
            SESSION.close_and_wait(appbar["hwnd"], pid)
        self.wait_left(bar.hwnd, 0, "our bar at the edge once the appbar is gone")


if __name__ == "__main__":
    unittest.main()
