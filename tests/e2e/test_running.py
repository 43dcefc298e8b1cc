"""The bar knows what runs: a running program's button says so to screen
readers and draws a mark, and with BringToFront a click brings its window
forward instead of starting another copy."""

from __future__ import annotations

import subprocess
import unittest

import harness
import tavi

SESSION: harness.Session
RUNNING = "実行中"  # the session runs in Japanese, and so does the bar
KEYWINDOW_EXE = harness.TOOLS_DIR / "keywindow.exe"
OTHER_TITLE = "Elsewhere"
GROUP = ("Tools", "[Tools]", "", "0", "", "0")


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class RunningTest(tavi.BarTestCase):
    def setUp(self):
        super().setUp()
        self.addCleanup(self.close_notepads)

    def close_notepads(self):
        # Closed, not killed: the driver kills only what it started itself.
        for window in SESSION.windows(cls="Notepad", hidden=True):
            SESSION.call("close", hwnd=window["hwnd"], check=False)
        harness.wait_until(lambda: not SESSION.windows(cls="Notepad", hidden=True), 10, "every notepad closed")

    def notepads(self) -> list:
        return sorted({w["pid"] for w in SESSION.windows(cls="Notepad") if w["visible"]})

    def description(self, bar: tavi.Bar) -> str:
        return SESSION.accessible_tree(bar.toolbar)["children"][0].get("description", "")

    def test_a_started_program_is_marked_running_until_its_window_closes(self):
        bar = self.start(self.bar_folder("running-mark", entries=[tavi.NOTEPAD]))
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 0, 15, "the strip's buttons")
        self.assertEqual(self.description(bar), "", "nothing runs yet")
        bar.click(0)
        # Notepad's first start in a fresh prefix alone can take seconds: the 3 s count from its window.
        SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: self.description(bar) == RUNNING, 3, "the running description")
        SESSION.screenshot("running-mark")
        window = SESSION.wait_window(cls="Notepad")
        SESSION.call("close", hwnd=window["hwnd"])
        harness.wait_until(lambda: self.description(bar) == "", 5, "the mark gone with the window")

    def test_a_running_entrys_menu_begins_with_its_own_items_and_closes_its_windows(self):
        bar = self.start(self.bar_folder("running-menu", entries=[tavi.NOTEPAD]))
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 0, 15, "the strip's buttons")
        self.assertEqual(bar.entry_menu(0)[0]["text"], "新規登録(&N)...\tCtrl+N", "nothing runs: the menu as ever")
        bar.click(0)
        window = SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: self.description(bar) == RUNNING, 3, "the running description")
        SESSION.call("move", hwnd=window["hwnd"], x=300, y=200)
        items = bar.entry_menu(0)
        self.assertEqual([(i["text"], i["enabled"]) for i in items[:3]],
                         [("前面に表示(&G)", True), ("もう一つ起動(&K)", True), ("ウィンドウを閉じる(&Q)", True)])
        self.assertTrue(items[3]["separator"])
        self.assertEqual(items[4]["text"], "新規登録(&N)...\tCtrl+N", "the usual items follow")
        bar.choose(0, "ウィンドウを閉じる(&Q)")
        harness.wait_until(lambda: not self.notepads(), 5, "notepad closed from the menu")
        harness.wait_until(lambda: self.description(bar) == "", 5, "the mark gone with the window")

    def test_a_group_member_whose_program_runs_is_marked_in_its_box(self):
        members = tavi.cp932_lines(["[ExMenu01]", "00ExTitle=Memo", f"00ExPathName={tavi.NOTEPAD[1]}",
                                    "00ExCommand=", "00ExRunType=0"])
        bar = self.start(self.bar_folder("running-group", entries=[tavi.NOTEPAD, GROUP], members=members))
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 1, 15, "the strip's buttons")
        before = self.marked_pixels_of_member(bar)
        bar.click(0)
        window = SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: self.description(bar) == RUNNING, 3, "the running description")
        SESSION.call("move", hwnd=window["hwnd"], x=500, y=300)
        self.assertGreater(self.marked_pixels_of_member(bar), before, "the member's mark under its picture")

        # The box stays open (the pointer rests on it) while its member's program ends and starts again.
        box, member = self.open_box(bar)
        left, top, right, bottom = member["rect"]
        SESSION.call("cursor", x=(left + right) // 2, y=(top + bottom) // 2)
        said = lambda: SESSION.accessible_tree(member["hwnd"]).get("description", "")
        self.assertEqual(said(), RUNNING, "the member says its program runs")
        SESSION.call("close", hwnd=window["hwnd"])
        harness.wait_until(lambda: said() == "", 5, "the member's mark gone with notepad, the box open")
        SESSION.call("start", exe=tavi.NOTEPAD[1])
        SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: said() == RUNNING, 3, "the member marked again, the box open")
        self.assertTrue(SESSION.windows(bar.pid, cls="frmRectangle"), "the box stayed open throughout")
        self.close_box(bar, box)

    def open_box(self, bar: tavi.Bar) -> tuple:
        """Opens the group box of the second button: the box and its first member."""
        bar.click(1)
        box = SESSION.wait_window(bar.pid, cls="frmRectangle")
        member = harness.wait_until(
            lambda: next((w for w in SESSION.windows(bar.pid, children=True) if w["parent"] == box["hwnd"]
                          and w["class"] == "Button" and w["caption"]), None), 10, "the member's button")
        return box, member

    def close_box(self, bar: tavi.Bar, box: dict) -> None:
        SESSION.call("close", hwnd=box["hwnd"])
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="frmRectangle"), 5, "the box closed")

    def marked_pixels_of_member(self, bar: tavi.Bar) -> int:
        """Opens the group box and counts the pixels of its first member in the
        mark's colour (the light scheme's), then closes it."""
        box, member = self.open_box(bar)
        left, top, right, bottom = member["rect"]
        shot = SESSION.screenshot("running-group")
        pixels = subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                                 "txt:-"], capture_output=True, timeout=30, check=True).stdout.decode()
        self.close_box(bar, box)
        return pixels.count("#000080")

    def test_a_shortcut_to_a_running_program_is_marked(self):
        folder = self.bar_folder("running-shortcut", exes=[harness.TOOLS_DIR / "dragsource.exe"])
        link = folder.win_file("メモ帳.lnk")
        maker = SESSION.start_program(folder.file("dragsource.exe"),
                                      args=f"--make-shortcut \"{link}\" \"{tavi.NOTEPAD[1]}\"")
        self.assertEqual(SESSION.wait_exit(maker, 30), 0, "the shortcut made")
        folder.write_bytes("Launch.ini", tavi.launch_ini([("Memo", link, "", "0", link, "0")]))
        bar = self.start(folder)
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 0, 15, "the strip's buttons")
        bar.click(0)
        SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: self.description(bar) == RUNNING, 3, "the running description")

    def test_a_program_started_elsewhere_is_marked_too(self):
        bar = self.start(self.bar_folder("running-elsewhere", entries=[tavi.NOTEPAD]))
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 0, 15, "the strip's buttons")
        SESSION.call("start", exe=tavi.NOTEPAD[1])
        window = SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: self.description(bar) == RUNNING, 3, "the running description")
        SESSION.call("close", hwnd=window["hwnd"])
        harness.wait_until(lambda: self.description(bar) == "", 5, "the mark gone with the window")

    def test_with_bring_to_front_a_second_click_brings_the_window_and_shift_starts_another(self):
        bar = self.start(self.bar_folder("running-front", entries=[tavi.NOTEPAD], BringToFront="1"))
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 0, 15, "the strip's buttons")
        bar.click(0)
        first = SESSION.wait_window(cls="Notepad", timeout=15)
        harness.wait_until(lambda: self.description(bar) == RUNNING, 3, "the running description")
        # Notepad opens over the bar, where the next clicks would land on it; and
        # another program takes the front, so that bringing notepad there is seen.
        SESSION.call("move", hwnd=first["hwnd"], x=300, y=200)
        other = self.other_in_front()
        bar.click(0)
        harness.wait_until(lambda: SESSION.call("focus", tid=0)["foreground"] == first["hwnd"], 5,
                           "notepad brought to the foreground")
        self.assertEqual(len(self.notepads()), 1, "no second copy")
        SESSION.call("move", hwnd=other["hwnd"], x=600, y=600)
        left, top, right, bottom = bar.buttons()[0]["rect"]
        SESSION.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2),
                        "keydown", "shift", "click", "1", "keyup", "shift")
        harness.wait_until(lambda: len(self.notepads()) == 2, 10, "a second notepad from Shift+click")

    def other_in_front(self) -> dict:
        """A window of another program, in front and holding the X focus."""
        pid = SESSION.start_program(KEYWINDOW_EXE, args=OTHER_TITLE)
        self.addCleanup(SESSION.call, "kill", pid=pid, check=False)
        other = SESSION.wait_window(pid, caption=OTHER_TITLE)
        x_window = harness.wait_until(
            lambda: SESSION.xdotool("search", "--name", OTHER_TITLE).split(), 10, "the X window")[0]
        SESSION.xdotool("windowfocus", x_window)
        harness.wait_until(lambda: SESSION.call("focus", tid=0)["foreground"] == other["hwnd"], 10,
                           "the other program in front")
        return other

if __name__ == "__main__":
    unittest.main()
