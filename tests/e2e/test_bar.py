"""The bar of TaviMenu2 under Wine: docking, buttons, paging, auto-hide, tray and shell notices."""

from __future__ import annotations

import os
import re
import time
import unittest

import harness
import tavi

SESSION: harness.Session

WM_SETTINGCHANGE, WM_DISPLAYCHANGE, SPI_SETWORKAREA = 0x1A, 0x7E, 0x2F
WM_TIMER, TIMER1 = 0x113, 1
# The two ticks of the 1 s delay that would bring the bar out.
ROLE_SYSTEM_TOOLTIP = 0x0D
CROSSING_TICKS_S = 1.0
TB_DELETEBUTTON = 0x416

TRAY_TIP = re.compile(r"^たびめにゅ～２ \d\d:\d\d:\d\d$")


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class BarTestCase(tavi.BarTestCase):
    def reserved(self, edge: str, probe: list) -> list:
        """The rectangle a new appbar is left with on `edge`: what the bar holds shows as a cut."""
        return SESSION.call("appbar_query", edge=edge, rect=probe)["rect"]

    def our_tray_icons(self) -> list:
        return [icon for icon in SESSION.tray_icons() if icon["tip"] and TRAY_TIP.match(icon["tip"])]


class DockingTest(BarTestCase):
    # Wine's shell reports a one-pixel taskbar along the bottom, [0, h-1, w, h].
    # The rectangles follow from the layout rules for that taskbar: a 32x32
    # bar is 39 + 32 twips wide (41 px), the taskbar's inset is 15 - 30 twips,
    # so a side bar runs one pixel past the bottom; 5 px stay reserved while
    # the bar hides itself.
    EDGES_1280x1024 = [
        # edge, IniBuff, window rectangle, buttons, probe rectangle, probe side, value the probe is cut to
        ("left", tavi.INIBUFF_DEFAULT, [0, 0, 41, 1025], 25, [0, 0, 100, 1024], 0, 5),
        ("right", tavi.INIBUFF_RIGHT, [1240, 0, 1281, 1025], 25, [1180, 0, 1280, 1024], 2, 1275),
        ("top", tavi.INIBUFF_TOP, [0, 0, 1282, 41], 31, [0, 0, 1280, 100], 1, 5),
        ("bottom", tavi.INIBUFF_BOTTOM, [0, 985, 1282, 1026], 31, [0, 924, 1280, 1024], 3, 1020),
    ]

    def check_docked(self, edge, ini_buff, window, count, probe, side, cut, shot):
        with self.subTest(edge=edge, screen=(SESSION.width, SESSION.height)):
            self.assertEqual(self.reserved(edge, probe), probe, "nothing reserved before the bar starts")
            bar = self.start(self.bar_folder(f"dock-{edge}", ini_buff=ini_buff))
            self.assertEqual(SESSION.screen()["taskbar"]["rect"], [0, SESSION.height - 1, SESSION.width, SESSION.height])
            self.assertEqual(bar.window()["rect"], window)
            self.assertEqual(len(bar.buttons()), count)
            expected = list(probe)
            expected[side] = cut
            self.assertEqual(self.reserved(edge, probe), expected, "the bar holds its strip as an appbar")
            SESSION.screenshot(shot)
            bar.close()
            self.assertEqual(self.reserved(edge, probe), probe, "closing gives the strip back")

    def test_each_edge_at_1280x1024(self):
        for edge, ini_buff, window, count, probe, side, cut in self.EDGES_1280x1024:
            self.check_docked(edge, ini_buff, window, count, probe, side, cut, f"bar-{edge}")

    def test_left_edge_at_1024x768(self):
        SESSION.restart(1024, 768)
        try:
            self.check_docked("left", tavi.INIBUFF_DEFAULT, [0, 0, 41, 769], 18, [0, 0, 100, 768], 0, 5,
                              "bar-left-1024x768")
        finally:
            SESSION.restart(1280, 1024)


class ButtonTest(BarTestCase):
    def test_clicking_an_entry_starts_it_with_its_parameters_folder_and_window_state(self):
        folder = SESSION.program_folder("click", [harness.PROGRAM_EXE, harness.TOOLS_DIR / "marker.exe"])
        marker = folder.win_file("marker.exe")
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        folder.write_bytes("Launch.ini", tavi.launch_ini([
            ("ﾏｰｶｰ", marker, "/p \"日本語 ファイル.txt\"", "1", marker, "0"),
        ]))
        bar = self.start(folder)
        self.assertNotEqual(bar.buttons()[0]["image"], tavi.I_IMAGENONE, "the program's own icon")
        bar.click(0)
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the marker program's record")[0]
        self.assertEqual(record["args"], "/p \"日本語 ファイル.txt\"")
        self.assertEqual(record["show_window"], str(harness.SW_SHOWMINIMIZED))
        self.assertEqual(record["cwd"].rstrip("\\").lower(), folder.win_path.rstrip("\\").lower())

    def test_a_resting_pointer_raises_the_button_and_shows_its_title_without_the_common_controls(self):
        notepad = "C:\\windows\\notepad.exe"
        SESSION.call("cursor", x=640, y=500)  # no pointer on the bar yet
        bar = self.start(self.bar_folder("hover", entries=[
            ("メモ帳", notepad, "", "0", notepad, "0"), ("二つ目", notepad, "", "0", notepad, "0")]))
        harness.wait_until(lambda: self.our_tray_icons(), 10, "the deferred start work (the tray icon)")
        modules = lambda: SESSION.call("modules", pid=bar.pid)["modules"]
        self.assertNotIn("comctl32.dll", modules(), "the bar paints and settles without the common controls")
        left, top, right, bottom = bar.buttons(tips=False)[1]["rect"]
        SESSION.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2))
        tip = harness.wait_until(
            lambda: next((w for w in SESSION.windows(bar.pid, cls=tavi.TIP_CLASS) if w["visible"]), None),
            10, "the button's tooltip")
        self.assertEqual(tip["caption"], "二つ目")
        self.assertEqual(SESSION.accessible_tree(tip["hwnd"])["role"], ROLE_SYSTEM_TOOLTIP, "a tooltip to screen readers")
        self.assertNotIn("comctl32.dll", modules(), "the tip is the bar's own")
        SESSION.screenshot("bar-tooltip")
        SESSION.call("cursor", x=640, y=500)

    def test_a_missing_target_offers_deletion_and_yes_empties_the_slot(self):
        folder = self.bar_folder("missing", entries=[
            ("Keep", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0"),
            ("Gone", "C:\\nowhere\\gone.exe", "-x", "2", "C:\\nowhere\\gone.exe", "0"),
        ])
        bar = self.start(folder)
        bar.click(1)
        box = SESSION.wait_message_box(bar.pid)
        self.assertEqual(box.message, "C:\\nowhere\\gone.exe起動失敗 ｴﾝﾄﾘｰを削除しますか")
        self.assertEqual(box.icon, "question")
        self.assertEqual([b.split("(")[0] for b in box.buttons], ["はい", "いいえ"])
        SESSION.screenshot("bar-launch-failed")
        SESSION.press(box.hwnd, text="はい")
        # The emptied slot is the last one now, so it is not written at all.
        expected = tavi.launch_ini([
            ("Keep", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0"),
        ])
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == expected, 10, "the rewritten list")
        self.assertEqual(bar.tips()[:2], ["Keep", ""])

    def test_clicking_a_free_slot_opens_the_explorer(self):
        folder = self.bar_folder("free-slot", entries=[
            ("Only", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")])
        bar = self.start(folder)
        before = {w["pid"] for w in SESSION.windows(hidden=True)}
        bar.click(3)
        # Wine's explorer.exe opens a window of its own for the drive.
        harness.wait_until(lambda: any(w["pid"] not in before and w["visible"] and "C:" in w["caption"]
                                       for w in SESSION.windows()), 15, "an explorer window on C:")
        SESSION.screenshot("bar-free-slot-explorer")


class PagingTest(BarTestCase):
    def test_keys_and_wheel_page_and_the_thousand_entry_limit_warns(self):
        entries = [(f"E{i}", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")
                   for i in range(1001)]
        bar = self.start(self.bar_folder("paging", entries=entries))
        first_tip = lambda: bar.tips()[0]
        self.assertEqual(first_tip(), "E0")
        def touchpad(delta):
            for _ in range(3):
                SESSION.call("post", hwnd=bar.hwnd, msg=tavi.WM_MOUSEWHEEL, wparam=(delta & 0xFFFF) << 16, lparam=0)

        paging = {w["caption"]: w["hwnd"] for w in SESSION.windows(bar.pid, children=True)
                  if w["class"] == "TaviCommandButton"}
        def press(caption):
            # Posted rather than clicked in X, which Wine now and then loses
            # while the previous test's windows go.
            for message, wparam in ((harness.WM_LBUTTONDOWN, harness.MK_LBUTTON), (harness.WM_LBUTTONUP, 0)):
                SESSION.call("post", hwnd=paging[caption], msg=message, wparam=wparam, lparam=(5 << 16) | 5)

        for action, expected in [(lambda: press("次へ(F2)"), "E25"), (lambda: press("前へ(F1)"), "E0"),
                                 (lambda: bar.key(tavi.VK_F2), "E25"), (lambda: bar.key(tavi.VK_F1), "E0"),
                                 (lambda: bar.wheel(-1), "E25"), (lambda: bar.wheel(+1), "E0"),
                                 (lambda: touchpad(-40), "E25"), (lambda: touchpad(+40), "E0")]:
            action()
            harness.wait_until(lambda: first_tip() == expected, 10, f"the page starting at {expected}")

        for _ in range(40):
            bar.key(tavi.VK_F2)
        harness.wait_until(lambda: first_tip() == "E1000", 30, "the page starting at entry 1000")
        bar.key(tavi.VK_F2)
        box = SESSION.wait_message_box(bar.pid)
        self.assertEqual(box.message, "現在の「たびめにゅ～２」は 登録アイテム数 1000 以下の仕様となっています")
        self.assertEqual(box.icon, "warning")
        SESSION.screenshot("bar-thousand-entry-limit")
        SESSION.press(box.hwnd, text="OK")
        self.assertEqual(first_tip(), "E1000", "the page did not move")
        bar.key(tavi.VK_F1)
        harness.wait_until(lambda: first_tip() == "E975", 10, "one page back")


class AutoHideTest(BarTestCase):
    def pointer_to_edge(self, bar: tavi.Bar) -> None:
        """The pointer onto the edge strip until the bar comes back, moved
        along it once a second: on a loaded machine X may map the strip only
        after the first move, which then went to the desktop beneath."""
        for step in range(5):
            SESSION.call("cursor", x=0, y=500 + step)
            try:
                harness.wait_until(lambda: bar.window()["visible"], 1, "the bar to come back")
                return
            except harness.WaitTimeout:
                continue
        raise harness.WaitTimeout("timed out after 5 s waiting for the bar to come back at the edge")

    def hide_and_show(self, bar: tavi.Bar) -> None:
        SESSION.call("cursor", x=640, y=500)
        harness.wait_until(lambda: not bar.window()["visible"], 5, "the bar to hide")
        harness.wait_until(lambda: bar.trigger()["visible"], 5, "the edge strip")
        self.pointer_to_edge(bar)
        harness.wait_until(lambda: not bar.trigger()["visible"], 5, "the edge strip to go")

    def test_the_bar_hides_when_the_pointer_leaves_and_returns_at_the_edge(self):
        bar = self.start(self.bar_folder("auto-hide", ini_buff=tavi.INIBUFF_DEFAULT))
        SESSION.call("cursor", x=10, y=500)
        harness.wait_until(lambda: bar.window()["visible"], 5, "the bar shown with the pointer on it")
        SESSION.call("cursor", x=640, y=500)
        harness.wait_until(lambda: not bar.window()["visible"], 5, "the bar to hide")
        strip = bar.trigger()
        self.assertTrue(strip["visible"])
        self.assertEqual(strip["rect"], [0, 0, 1, 1025], "a one-pixel strip along the left edge")
        SESSION.screenshot("bar-hidden")
        self.pointer_to_edge(bar)
        self.assertFalse(bar.trigger()["visible"])
        SESSION.screenshot("bar-shown-again")

    def test_a_pointer_that_only_crosses_the_edge_leaves_the_bar_hidden(self):
        bar = self.start(self.bar_folder("crossing", ini_buff=tavi.INIBUFF_DEFAULT))  # auto-hide, 1 s
        SESSION.call("cursor", x=640, y=500)
        harness.wait_until(lambda: not bar.window()["visible"], 5, "the bar to hide")
        # Over the edge strip and away, as a hand moves it: the strip's message
        # wakes the bar, and its own ticks find the pointer gone. (Ticks sent
        # at once would not do: within 100 ms of a move Wine answers the
        # pointer's place from its last event, which was on the strip.)
        SESSION.xdotool("mousemove", "0", "500")
        SESSION.xdotool("mousemove", "640", "500")
        watched_until = time.monotonic() + 3 * CROSSING_TICKS_S
        while time.monotonic() < watched_until:
            self.assertFalse(bar.window()["visible"], "a crossing does not bring the bar out")

    def test_hours_of_auto_hide_leak_no_windows_or_memory(self):
        # Wine 8 counts neither GDI and USER objects (GetGuiResources) nor
        # kernel handles (GetProcessHandleCount) of a process; windows and
        # memory can be watched from outside.
        cycles = int(os.environ.get("TAVI_E2E_HIDE_CYCLES", "12"))
        bar = self.start(self.bar_folder("leaks", ini_buff=tavi.INIBUFF_DEFAULT))

        def counts():
            return (len(SESSION.windows(bar.pid, hidden=True, children=True)),
                    SESSION.call("working_set", pid=bar.pid)["working_set"])

        self.hide_and_show(bar)
        self.hide_and_show(bar)
        windows_before, memory_before = counts()
        for _ in range(cycles):
            self.hide_and_show(bar)
        windows_after, memory_after = counts()
        print(f"\n  after {cycles} hide/show cycles: windows {windows_before}->{windows_after}, "
              f"working set {memory_before}->{memory_after}")
        self.assertEqual(windows_after, windows_before)
        self.assertLess(memory_after - memory_before, 1 << 20)


class TrayAndShellTest(BarTestCase):
    def test_tray_icon_tip_double_click_and_popup(self):
        folder = self.bar_folder("tray", ini_buff=tavi.INIBUFF_DEFAULT)
        bar = self.start(folder)
        icon = harness.wait_until(lambda: next(iter(self.our_tray_icons()), None), 10, "the tray icon")
        SESSION.call("cursor", x=640, y=500)
        harness.wait_until(lambda: not bar.window()["visible"], 5, "the bar to hide")
        SESSION.call("post", hwnd=icon["hwnd"], msg=tavi.WM_LBUTTONDBLCLK, wparam=0, lparam=0)
        harness.wait_until(lambda: bar.window()["visible"], 5, "the bar restored by a double click")

        def our_popup():
            return next(iter(SESSION.popup_menus(bar.pid)), None)

        SESSION.call("post", hwnd=icon["hwnd"], msg=tavi.WM_RBUTTONDOWN, wparam=0, lparam=0)
        harness.wait_until(our_popup, 10, "the tray popup")
        SESSION.xdotool("mousemove", "900", "700", "click", "1")
        harness.wait_until(lambda: our_popup() is None, 10, "the popup closed by a click elsewhere")

        SESSION.call("post", hwnd=icon["hwnd"], msg=tavi.WM_RBUTTONDOWN, wparam=0, lparam=0)
        popup = harness.wait_until(our_popup, 10, "the tray popup again")
        SESSION.screenshot("bar-tray-popup")
        # A click, not the access key: a key reaches the menu only once X has
        # given its window the focus, which a loaded machine may not have done yet.
        SESSION.click_menu_item(popup["hwnd"], bar.hwnd, "終了(&X)")
        self.assertEqual(SESSION.wait_exit(bar.pid, 15), 0)
        self.assertTrue(folder.exists("TaviLaunch.ini"), "leaving from the tray saves the settings")
        self.assertEqual(self.our_tray_icons(), [], "the icon goes with the program")

    def test_a_restarted_shell_gets_the_icon_the_registration_and_the_whole_layout_back(self):
        bar = self.start(self.bar_folder("shell-restart"))
        harness.wait_until(lambda: self.our_tray_icons(), 10, "the tray icon")
        buttons = bar.buttons_drawn()
        self.assertEqual(len(buttons), 25)
        # Take the toolbar apart, as a shell that restarted elsewhere would
        # leave it wrongly laid out: the notice must rebuild it, not only register.
        for _ in range(len(buttons) - 1):
            SESSION.call("send", hwnd=bar.toolbar, msg=TB_DELETEBUTTON, wparam=1, lparam=0)
        self.assertEqual(len(bar.buttons()), 1)
        probe = [0, 0, 100, 1024]
        self.assertEqual(self.reserved("left", probe)[0], 41, "the whole window is reserved without auto-hide")
        SESSION.call("tray_delete", hwnd=bar.hwnd, uid=1)
        SESSION.call("appbar_remove", hwnd=bar.hwnd)
        harness.wait_until(lambda: not self.our_tray_icons(), 10, "the icon gone with the old shell")
        self.assertEqual(self.reserved("left", probe), probe)

        taskbar_created = SESSION.call("register_message", name="TaskbarCreated")["id"]
        SESSION.call("post", hwnd=bar.hwnd, msg=taskbar_created, wparam=0, lparam=0)
        harness.wait_until(lambda: len(self.our_tray_icons()) == 1, 10, "the icon back, once")
        harness.wait_until(lambda: self.reserved("left", probe)[0] == 41, 10, "the strip reserved again")
        self.assertEqual(bar.window()["rect"], [0, 0, 41, 1025])
        harness.wait_until(lambda: len(bar.buttons()) == 25, 10, "every button laid out again")
        self.assertEqual([b["image"] for b in bar.buttons_drawn()], [b["image"] for b in buttons], "pictures back")

        # A second notice while the shell kept the icon must not add another one.
        SESSION.call("post", hwnd=bar.hwnd, msg=taskbar_created, wparam=0, lparam=0)
        SESSION.call("send", hwnd=bar.hwnd, msg=0, wparam=0, lparam=0)  # WM_NULL: the notice has been handled
        self.assertEqual(len(self.our_tray_icons()), 1)

    def test_a_display_change_docks_the_bar_again_and_our_own_work_area_change_does_not(self):
        bar = self.start(self.bar_folder("display-change"))
        probe = [0, 0, 100, 1024]
        SESSION.call("appbar_remove", hwnd=bar.hwnd)
        self.assertEqual(self.reserved("left", probe), probe)
        # A work-area change with the taskbar where it was must not re-register:
        # the bar's own reservation causes such notices.
        SESSION.call("send", hwnd=bar.hwnd, msg=WM_SETTINGCHANGE, wparam=SPI_SETWORKAREA, lparam=0)
        self.assertEqual(self.reserved("left", probe), probe)
        SESSION.call("send", hwnd=bar.hwnd, msg=WM_DISPLAYCHANGE, wparam=32, lparam=(1024 << 16) | 1280)
        harness.wait_until(lambda: self.reserved("left", probe)[0] == 41, 10, "the bar docked again")
        self.assertEqual(bar.window()["rect"], [0, 0, 41, 1025])
        self.assertTrue(bar.window()["visible"])

    def test_a_full_screen_program_keeps_the_hidden_bar_from_coming_out(self):
        bar = self.start(self.bar_folder("full-screen-hidden", ini_buff=tavi.INIBUFF_DEFAULT))  # auto-hide, 1 s
        SESSION.call("cursor", x=640, y=500)
        harness.wait_until(lambda: not bar.window()["visible"], 5, "the bar to hide")
        SESSION.call("send", hwnd=bar.hwnd, msg=tavi.APPBAR_CALLBACK, wparam=tavi.ABN_FULLSCREENAPP, lparam=1)
        SESSION.call("cursor", x=0, y=500)
        # Each sent WM_TIMER is one whole tick, done when the call returns: three
        # times the two ticks that would bring the bar out, whatever the load.
        for _ in range(6):
            SESSION.call("send", hwnd=bar.hwnd, msg=WM_TIMER, wparam=TIMER1, lparam=0)
        self.assertFalse(bar.window()["visible"], "the bar stayed hidden behind the full-screen program")
        SESSION.call("send", hwnd=bar.hwnd, msg=tavi.APPBAR_CALLBACK, wparam=tavi.ABN_FULLSCREENAPP, lparam=0)
        for _ in range(2):
            SESSION.call("send", hwnd=bar.hwnd, msg=WM_TIMER, wparam=TIMER1, lparam=0)
        self.assertTrue(bar.window()["visible"], "back at the edge once the program left")

    def test_a_topmost_bar_steps_behind_a_full_screen_program_and_returns(self):
        bar = self.start(self.bar_folder("full-screen"))
        harness.wait_until(lambda: bar.window()["topmost"], 5, "the bar topmost")
        SESSION.call("post", hwnd=bar.hwnd, msg=tavi.APPBAR_CALLBACK, wparam=tavi.ABN_FULLSCREENAPP, lparam=1)
        harness.wait_until(lambda: not bar.window()["topmost"], 5, "the bar behind the full-screen program")
        SESSION.call("post", hwnd=bar.hwnd, msg=tavi.APPBAR_CALLBACK, wparam=tavi.ABN_FULLSCREENAPP, lparam=0)
        harness.wait_until(lambda: bar.window()["topmost"], 5, "the bar in front again")


if __name__ == "__main__":
    unittest.main()
