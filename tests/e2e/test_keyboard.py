"""The bar by the keyboard under Wine: the global key, keys on its buttons, a key another program holds."""

from __future__ import annotations

import unittest

import harness
import tavi

SESSION: harness.Session

WM_TIMER, TIMER1 = 0x113, 1
CTRL_ALT_T = "1620"  # the hot-key control's word: 'T' with HOTKEYF_CONTROL | HOTKEYF_ALT
KEYWINDOW_EXE = harness.TOOLS_DIR / "keywindow.exe"
# The default settings hide the bar 1 s (two ticks) after the pointer left.
HIDE_TICKS = 2
FIRST_MEMBER_ID = 100  # the group box's member slot s has id 100 + s
BOX_LEAVE_TIMER = 1  # the group box's mouse-leave timer
OPTIONS, OPTIONS_ITEM = "ｵﾌﾟｼｮﾝ", "ｵﾌﾟｼｮﾝ(&O)..."
IDOK, IDC_OPTION_TAB, IDC_OPTION_HOT_KEY = 1, 1401, 1452
WM_KEYDOWN, VK_RIGHT = 0x100, 0x27
HKM_SETHOTKEY, HKM_GETHOTKEY = 0x401, 0x402


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class KeyboardTestCase(tavi.BarTestCase):
    def setUp(self):
        super().setUp()
        self.others = []
        SESSION.call("cursor", x=640, y=500)  # away from the bar, so auto-hide hides it

    def tearDown(self):
        super().tearDown()
        for pid in self.others:
            if SESSION.alive(pid):
                SESSION.call("kill", pid=pid, check=False)

    def key_window(self, title: str, *args: str) -> dict:
        """A window of another program, shown (and holding its key, when given one)."""
        pid = SESSION.start_program(KEYWINDOW_EXE, args=" ".join([title, *args]))
        self.others.append(pid)
        return SESSION.wait_window(pid, caption=title)

    def focus(self, window: dict) -> dict:
        return SESSION.call("focus", tid=window["tid"])

    def tick(self, bar: tavi.Bar, count: int) -> None:
        # A sent WM_TIMER is one whole tick, done when the call returns.
        for _ in range(count):
            SESSION.call("send", hwnd=bar.hwnd, msg=WM_TIMER, wparam=TIMER1, lparam=0)

    def folder(self, name: str, hot_key: str, entries=()) -> harness.ProgramFolder:
        folder = self.bar_folder(name, None, tavi.INIBUFF_DEFAULT, [harness.TOOLS_DIR / "marker.exe"], HotKey=hot_key)
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries(folder) if callable(entries) else entries))
        return folder


    def focus_other(self, title: str) -> dict:
        """Another program's window with the X focus, where Wine matches global keys."""
        other = self.key_window(title)
        x_window = harness.wait_until(
            lambda: SESSION.xdotool("search", "--name", title).split(), 10, "the X window")[0]
        SESSION.xdotool("windowfocus", x_window)
        harness.wait_until(lambda: self.focus(other)["foreground"] == other["hwnd"], 10, "the other program in front")
        return other

    def shown_tips(self, bar: tavi.Bar) -> list:
        return [w["caption"] for w in SESSION.windows(bar.pid, cls=tavi.TIP_CLASS) if w["visible"]]

    def bring_up(self, bar: tavi.Bar) -> None:
        SESSION.xdotool("key", "ctrl+alt+t")
        harness.wait_until(lambda: self.focus(bar.window())["focus"] == bar.toolbar, 10, "the buttons' focus")


class HotKeyTest(KeyboardTestCase):
    def test_the_key_brings_up_the_hidden_bar_and_its_keys_start_the_second_entry(self):
        def entries(folder):
            marker = folder.win_file("marker.exe")
            return [("一つ目", marker, "first", "0", marker, "0"), ("二つ目", marker, "second", "0", marker, "0")]
        folder = self.folder("hotkey", CTRL_ALT_T, entries)
        bar = self.start(folder)
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide itself")
        other = self.key_window("TaviKeyTarget")
        # Wine matches a global key only in key events that reach one of its windows.
        x_window = harness.wait_until(
            lambda: SESSION.xdotool("search", "--name", "TaviKeyTarget").split(), 10, "the X window")[0]
        SESSION.xdotool("windowfocus", x_window)
        harness.wait_until(lambda: self.focus(other)["foreground"] == other["hwnd"], 10, "the other program in front")

        SESSION.xdotool("key", "ctrl+alt+t")
        harness.wait_until(lambda: bar.window()["visible"], 10, "the bar brought up by the key")
        harness.wait_until(lambda: self.focus(bar.window())["focus"] == bar.toolbar, 10, "the buttons' focus")
        self.assertEqual(self.focus(bar.window())["foreground"], bar.hwnd)
        harness.wait_until(lambda: self.shown_tips(bar) == ["一つ目"], 10, "the first button's tip")
        SESSION.screenshot("keyboard-hotkey")
        self.tick(bar, HIDE_TICKS + 2)
        self.assertTrue(bar.window()["visible"], "auto-hide waits while the keys choose")

        SESSION.xdotool("key", "Escape")
        harness.wait_until(lambda: self.focus(other)["foreground"] == other["hwnd"], 10,
                           "the focus back with the other program")
        self.tick(bar, HIDE_TICKS + 1)
        self.assertFalse(bar.window()["visible"], "auto-hide hides the bar again")
        self.assertEqual(self.shown_tips(bar), [], "the tip went with the focus")
        self.assertEqual(folder.marker_records(), [], "nothing started")

        SESSION.xdotool("key", "ctrl+alt+t")
        harness.wait_until(lambda: self.focus(bar.window())["focus"] == bar.toolbar, 10, "the buttons' focus again")
        SESSION.xdotool("key", "Down")  # a left-edge bar runs downwards
        harness.wait_until(lambda: self.shown_tips(bar) == ["二つ目"], 10, "the tip following the focus")
        SESSION.xdotool("key", "Return")
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the marker program's record")[0]
        self.assertEqual(record["args"], "second")

    def test_the_focused_buttons_tip_stands_beside_the_bar_in_front_and_level_with_it(self):
        entries = [("一つ目", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")]
        for edge, ini_buff in (("left", tavi.INIBUFF_DEFAULT), ("top", tavi.INIBUFF_TOP)):
            with self.subTest(edge=edge):
                folder = self.bar_folder(f"hotkey-tip-{edge}", entries, ini_buff, HotKey=CTRL_ALT_T)
                bar = self.start(folder)
                try:
                    self.focus_other(f"TaviTipTarget{edge}")
                    self.bring_up(bar)
                    tip = harness.wait_until(
                        lambda: next((w for w in SESSION.windows(bar.pid, cls=tavi.TIP_CLASS)
                                      if w["visible"] and w["caption"] == "一つ目"), None), 10, "the first button's tip")
                    SESSION.screenshot(f"keyboard-tip-{edge}")
                    window, button = bar.window()["rect"], bar.buttons(tips=False)[0]["rect"]
                    t = tip["rect"]
                    print(f"\n  {edge}: bar {window}, button {button}, tip {t}")
                    overlap = t[0] < window[2] and window[0] < t[2] and t[1] < window[3] and window[1] < t[3]
                    self.assertFalse(overlap, f"the tip {t} stands clear of the bar {window}")
                    if edge == "left":
                        self.assertGreaterEqual(t[0], window[2], "on the side away from the edge")
                        self.assertTrue(button[1] <= (t[1] + t[3]) // 2 <= button[3], "level with the button")
                    else:
                        self.assertGreaterEqual(t[1], window[3], "on the side away from the edge")
                        self.assertTrue(button[0] <= (t[0] + t[2]) // 2 <= button[2], "level with the button")
                    self.assertTrue(tip["topmost"], "in front of the bar")
                finally:
                    bar.close()  # the next bar takes the same key

    def test_a_typed_letter_and_the_menu_key_act_on_the_entry_they_reach(self):
        def entries(folder):
            marker = folder.win_file("marker.exe")
            return [("Alpha", marker, "first", "0", marker, "0"), ("Beta", marker, "second", "0", marker, "0"),
                    ("Gamma", marker, "third", "0", marker, "0")]
        folder = self.folder("hotkey-letters", CTRL_ALT_T, entries)
        bar = self.start(folder)
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide itself")
        self.focus_other("TaviLetterTarget")
        self.bring_up(bar)
        SESSION.xdotool("key", "End", "Home", "b", "Menu")
        popup = SESSION.wait_popup_menu(bar.pid)
        left, top, right, bottom = bar.buttons(tips=False)[1]["rect"]
        menu_left, menu_top = popup["rect"][:2]
        self.assertTrue(left <= menu_left < right and top <= menu_top < bottom,
                        f"the entry menu {popup['rect']} opens at the second button {[left, top, right, bottom]}")
        SESSION.screenshot("keyboard-entry-menu")
        bar.close_menus()
        harness.wait_until(lambda: not SESSION.popup_menus(bar.pid), 10, "the menu to close")
        SESSION.xdotool("key", "ctrl+alt+t")  # the key again lets go
        harness.wait_until(lambda: self.focus(bar.window())["foreground"] != bar.hwnd, 10, "the focus given back")
        self.bring_up(bar)  # a new hold starts on the first button again
        SESSION.xdotool("key", "--", "minus")  # a character no title begins with moves nothing
        SESSION.xdotool("key", "G", "Return")
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the marker program's record")[0]
        self.assertEqual(record["args"], "third", "a capital G finds Gamma from the first button")
        self.assertEqual(len(folder.marker_records()), 1, "the menu key started nothing")

    def test_enter_on_a_group_opens_its_box_where_the_same_keys_choose_a_member(self):
        def entries(folder):
            marker = folder.win_file("marker.exe")
            members = [("A", marker, "/a", "0"), ("B", marker, "/b", "0")]
            lines = ["[ExMenu01]"]
            for slot, (title, path, command, run) in enumerate(members):
                lines += [f"{slot:02d}ExTitle={title}", f"{slot:02d}ExPathName={path}",
                          f"{slot:02d}ExCommand={command}", f"{slot:02d}ExRunType={run}"]
            folder.write_bytes("TaviMenu2.INI", tavi.cp932_lines(lines))
            return [("Alpha", marker, "first", "0", marker, "0"), ("Tools", "[Tools]", "", "0", "", "0")]
        folder = self.folder("hotkey-group", CTRL_ALT_T, entries)
        bar = self.start(folder)
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide itself")
        self.focus_other("TaviGroupTarget")
        self.bring_up(bar)
        SESSION.xdotool("key", "Down", "Return")
        box = SESSION.wait_window(bar.pid, cls="frmRectangle")
        first_member = next(w for w in SESSION.windows(bar.pid, children=True)
                            if w["parent"] == box["hwnd"] and w["id"] == FIRST_MEMBER_ID)
        harness.wait_until(lambda: self.focus(box)["focus"] == first_member["hwnd"], 10, "the first member's focus")
        SESSION.xdotool("key", "End", "Home", "Right", "Return")
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the member started")[0]
        self.assertEqual(record["args"], "/b")

    def test_in_the_group_box_a_typed_letter_finds_a_member_whose_menu_opens_on_it(self):
        def entries(folder):
            marker = folder.win_file("marker.exe")
            members = [("Alpha", marker, "/a", "0"), ("Beta", marker, "/b", "0"), ("", marker, "/m", "0")]
            lines = ["[ExMenu00]"]
            for slot, (title, path, command, run) in enumerate(members):
                lines += [f"{slot:02d}ExTitle={title}", f"{slot:02d}ExPathName={path}",
                          f"{slot:02d}ExCommand={command}", f"{slot:02d}ExRunType={run}"]
            folder.write_bytes("TaviMenu2.INI", tavi.cp932_lines(lines))
            return [("Tools", "[Tools]", "", "0", "", "0")]
        folder = self.folder("hotkey-group-letters", CTRL_ALT_T, entries)
        bar = self.start(folder)
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide itself")
        self.focus_other("TaviTypeTarget")
        self.bring_up(bar)
        SESSION.xdotool("key", "Return")
        box = SESSION.wait_window(bar.pid, cls="frmRectangle")
        members = {w["id"]: w for w in SESSION.windows(bar.pid, children=True) if w["parent"] == box["hwnd"]}
        harness.wait_until(lambda: self.focus(box)["focus"] == members[FIRST_MEMBER_ID]["hwnd"], 10,
                           "the first member's focus")
        # The box's mouse-leave ticks, the pointer resting away from it since the box showed:
        # opened by keys, the box stays for the keys that follow.
        for _ in range(2):
            SESSION.call("send", hwnd=box["hwnd"], msg=WM_TIMER, wparam=BOX_LEAVE_TIMER, lparam=0)
        SESSION.xdotool("key", "m")  # the untitled member, by its file name
        untitled = members[FIRST_MEMBER_ID + 2]
        harness.wait_until(lambda: self.focus(box)["focus"] == untitled["hwnd"], 10, "the untitled member's focus")
        SESSION.xdotool("key", "Menu")
        popup = SESSION.wait_popup_menu(bar.pid)
        left, top, right, bottom = untitled["rect"]
        menu_left, menu_top = popup["rect"][:2]
        self.assertTrue(left <= menu_left < right and top <= menu_top < bottom,
                        f"the member's menu {popup['rect']} opens on it {untitled['rect']}")
        SESSION.xdotool("key", "Escape")
        harness.wait_until(lambda: not SESSION.popup_menus(bar.pid), 10, "the menu to close")
        SESSION.xdotool("key", "b", "Return")
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the member started")[0]
        self.assertEqual(record["args"], "/b")

    def test_a_key_held_by_another_program_is_reported_once_and_kept(self):
        self.key_window("TaviKeyHolder", CTRL_ALT_T)
        folder = self.folder("hotkey-held", CTRL_ALT_T)
        bar = self.start(folder)
        box = SESSION.wait_message_box(bar.pid)
        self.assertIn("「Ctrl+Alt+T」", box.message)
        self.assertIn("ほかのプログラム", box.message)
        self.assertEqual(box.icon, "warning")
        SESSION.screenshot("keyboard-hotkey-held")
        SESSION.press(box.hwnd, text="OK")
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the message to close")
        self.tick(bar, 3)
        self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "told once")
        bar.close()
        self.assertIn(f"HotKey={CTRL_ALT_T}", folder.read_text("TaviLaunch.ini"), "the setting stays")

    def test_a_value_that_is_no_key_is_reported_and_nothing_else_happens(self):
        bar = self.start(self.folder("hotkey-invalid", "12ab"))
        box = SESSION.wait_message_box(bar.pid)
        self.assertIn("「12ab」", box.message)
        SESSION.press(box.hwnd, text="OK")
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the message to close")
        self.tick(bar, 1)
        self.assertTrue(SESSION.alive(bar.pid))

    def test_a_key_set_in_the_options_dialog_brings_up_the_bar_at_once(self):
        def entries(folder):
            marker = folder.win_file("marker.exe")
            return [("一つ目", marker, "first", "0", marker, "0")]
        folder = self.folder("hotkey-options", "", entries)
        bar = self.start(folder)
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide itself")
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, OPTIONS_ITEM)
        dialog = bar.dialog(OPTIONS)
        control = dialog["controls"][IDC_OPTION_HOT_KEY]["hwnd"]
        self.assertEqual(SESSION.call("send", hwnd=control, msg=HKM_GETHOTKEY, wparam=0, lparam=0)["result"], 0,
                         "no key set")
        SESSION.call("send", hwnd=control, msg=HKM_SETHOTKEY, wparam=int(CTRL_ALT_T), lparam=0)
        # The behaviour page, where the control is, for the screenshot.
        SESSION.call("post", hwnd=dialog["controls"][IDC_OPTION_TAB]["hwnd"], msg=WM_KEYDOWN, wparam=VK_RIGHT, lparam=0)
        harness.wait_until(lambda: SESSION.window(control)["visible"], 10, "the behaviour page")
        SESSION.screenshot("keyboard-hotkey-options")
        SESSION.press(dialog["hwnd"], id=IDOK)
        harness.wait_until(lambda: f"HotKey={CTRL_ALT_T}" in folder.read_text("TaviLaunch.ini"), 10,
                           "the key in the settings")
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide itself again")
        self.focus_other("TaviOptionsKeyTarget")
        self.bring_up(bar)
        self.assertTrue(bar.window()["visible"], "the bar brought up by the key set a moment ago")
        self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "registered without a word")
        SESSION.xdotool("key", "Return")
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the marker program's record")[0]
        self.assertEqual(record["args"], "first")


if __name__ == "__main__":
    unittest.main()
