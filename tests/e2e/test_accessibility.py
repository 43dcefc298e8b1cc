"""The bar as screen readers see it: its button strip read through the
accessibility interfaces inside the program's own process."""

from __future__ import annotations

import unittest

import harness
import tavi

SESSION: harness.Session

ROLE_PUSHBUTTON, ROLE_BUTTONMENU = 0x2B, 0x39
STATE_UNAVAILABLE, STATE_FOCUSED = 0x1, 0x4
WM_KEYDOWN, VK_F2 = 0x100, 0x71
CTRL_ALT_T = "1620"  # the hot-key control's word for Ctrl+Alt+T
KEYWINDOW_EXE = harness.TOOLS_DIR / "keywindow.exe"


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class StripTreeTest(tavi.BarTestCase):
    def test_the_strip_names_its_buttons_by_their_titles_page_by_page(self):
        folder = SESSION.program_folder("accessible", [harness.PROGRAM_EXE, harness.TOOLS_DIR / "marker.exe"])
        marker = folder.win_file("marker.exe")
        first = [
            ("ﾏｰｶｰ", marker, "", "0", marker, "0"),
            ("", marker, "", "0", marker, "0"),  # named by its file
            ("ゲーム", "[遊び]", "", "0", "", "0"),
            ("", "", "", "", "", ""),  # a free slot
            ("日本語の名前", marker, "", "0", marker, "0"),
        ]
        later = [(f"項目{i}", marker, "", "0", marker, "0") for i in range(len(first), 30)]
        entries = first + later
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        bar = self.start(folder)
        page = len(bar.buttons(tips=False))
        self.assertLess(page, len(entries), "the entries fill more than one page")

        def expected_names(offset: int) -> list:
            names = []
            for position in range(page):
                index = offset + position
                if index >= len(entries) or not entries[index][1]:
                    names.append("")
                else:
                    names.append(entries[index][0] or (entries[index][1].rsplit("\\", 1)[-1]))
            return names

        # The program answers with its own object once its start is done.
        tree = harness.wait_until(lambda: (lambda t: t if t["count"] == page else None)(
            SESSION.accessible_tree(bar.toolbar)), 15, "the strip's accessible buttons")
        names = [child["name"] for child in tree["children"]]
        self.assertEqual(names, expected_names(0))
        self.assertEqual(names[1], "marker.exe")
        roles = [child["role"] for child in tree["children"]]
        self.assertEqual(roles[:5], [ROLE_PUSHBUTTON, ROLE_PUSHBUTTON, ROLE_BUTTONMENU, ROLE_PUSHBUTTON,
                                     ROLE_PUSHBUTTON])
        unavailable = [bool(child["state"] & STATE_UNAVAILABLE) for child in tree["children"]]
        self.assertEqual(unavailable[:5], [False, False, False, True, False])
        self.assertIsNone(tree["focus"], "no button has the keyboard focus")

        # The next page renames the same buttons.
        SESSION.call("post", hwnd=bar.hwnd, msg=WM_KEYDOWN, wparam=VK_F2, lparam=0)
        harness.wait_until(lambda: [c["name"] for c in SESSION.accessible_tree(bar.toolbar)["children"]]
                           == expected_names(page), 10, "the second page's names")
        tree = SESSION.accessible_tree(bar.toolbar)
        self.assertEqual(tree["count"], page)
        self.assertTrue(all(c["state"] & STATE_UNAVAILABLE for c in tree["children"][len(entries) - page:]),
                        "the slots past the last entry are free")


class FocusTreeTest(tavi.BarTestCase):
    def setUp(self):
        super().setUp()
        self.others = []

    def tearDown(self):
        super().tearDown()
        for pid in self.others:
            if SESSION.alive(pid):
                SESSION.call("kill", pid=pid, check=False)

    def focused(self, bar: tavi.Bar) -> tuple:
        """The focused child as the strip reports it, and the children whose state says focused."""
        tree = SESSION.accessible_tree(bar.toolbar)
        return tree["focus"], [i + 1 for i, c in enumerate(tree["children"]) if c["state"] & STATE_FOCUSED]

    def test_the_focused_child_follows_the_arrow_keys(self):
        folder = SESSION.program_folder("accessible-focus", [harness.PROGRAM_EXE, harness.TOOLS_DIR / "marker.exe"])
        marker = folder.win_file("marker.exe")
        entries = [(f"項目{i}", marker, "", "0", marker, "0") for i in range(5)]
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN, HotKey=CTRL_ALT_T))
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        bar = self.start(folder)
        harness.wait_until(lambda: SESSION.accessible_tree(bar.toolbar)["count"] > 4, 15,
                           "the strip's accessible buttons")
        self.assertEqual(self.focused(bar), (None, []), "no button has the focus before the key")

        # Wine matches a global key only in key events that reach one of its windows.
        pid = SESSION.start_program(KEYWINDOW_EXE, args="TaviFocusTarget")
        self.others.append(pid)
        other = SESSION.wait_window(pid, caption="TaviFocusTarget")
        x_window = harness.wait_until(
            lambda: SESSION.xdotool("search", "--name", "TaviFocusTarget").split(), 10, "the X window")[0]
        SESSION.xdotool("windowfocus", x_window)
        harness.wait_until(lambda: SESSION.call("focus", tid=other["tid"])["foreground"] == other["hwnd"], 10,
                           "the other program in front")
        SESSION.xdotool("key", "ctrl+alt+t")
        harness.wait_until(lambda: SESSION.call("focus", tid=bar.window()["tid"])["focus"] == bar.toolbar, 10,
                           "the buttons' focus")
        harness.wait_until(lambda: self.focused(bar) == (1, [1]), 10, "the first button focused")

        SESSION.xdotool("key", "Down", "Down")  # a left-edge bar runs downwards
        harness.wait_until(lambda: self.focused(bar) == (3, [3]), 10, "the third button focused")
        SESSION.xdotool("key", "Up")
        harness.wait_until(lambda: self.focused(bar) == (2, [2]), 10, "the second button focused")

        SESSION.xdotool("key", "Escape")
        harness.wait_until(lambda: self.focused(bar) == (None, []), 10, "the focus given back")
        self.assertEqual(folder.marker_records(), [], "moving the focus started nothing")


if __name__ == "__main__":
    unittest.main()
