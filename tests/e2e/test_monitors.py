"""The bar on the monitor its settings name, under Wine with two monitors
(Xvfb with Xinerama: \\\\.\\DISPLAY1 is 1280x1024 and primary, \\\\.\\DISPLAY2 is
1024x768, both at the origin)."""

from __future__ import annotations

import subprocess
import unittest

import harness
import tavi

SESSION: harness.Session
RIGHT_SHOWN = "102101001"  # right edge, auto-hide off: the whole bar is reserved
OPTIONS, OPTIONS_ITEM = "ｵﾌﾟｼｮﾝ", "ｵﾌﾟｼｮﾝ(&O)..."
IDOK, IDC_OPTION_MONITOR = 1, 1425
WM_CHAR, WM_COMMAND, CBN_SELCHANGE = 0x102, 0x111, 1
CB_GETCOUNT, CB_SETCURSEL = 0x146, 0x14E
# OK lays the bar out again before the dialog's call returns; the limit only
# allows for a loaded machine.
AT_ONCE_S = 5.0
X11_KEY = "HKCU\\Software\\Wine\\X11 Driver"


def wine_reg(*args: str) -> None:
    subprocess.run(["wine", "reg", *args], env=SESSION.env, timeout=60, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def setUpModule():
    global SESSION
    SESSION = harness.Session(xvfb_args=["+xinerama", "-screen", "1", "1024x768x24"]).start()
    # Wine reads the monitors from Xinerama only when RandR is off; the
    # setting takes effect with a new wineserver.
    wine_reg("add", X11_KEY, "/v", "UseXRandR", "/d", "N", "/f")
    SESSION.restart()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    try:
        if SESSION.driver is not None:
            wine_reg("delete", X11_KEY, "/v", "UseXRandR", "/f")  # the prefix is shared
    finally:
        SESSION.stop()


class MonitorTest(tavi.BarTestCase):
    def docked_right(self, name: str, monitor: str, right_edge: int, height: int) -> tuple:
        folder = SESSION.program_folder(name, [harness.PROGRAM_EXE])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(RIGHT_SHOWN, Monitor=monitor))
        bar = self.start(folder)
        rect = harness.wait_until(lambda: (lambda r: r if r[2] > r[0] else None)(bar.window()["rect"]),
                                  10, "the bar laid out")
        reserved = SESSION.call("appbar_query", edge="right", rect=[right_edge - 300, 0, right_edge, height])["rect"]
        print(f"\n  Monitor={monitor}: window {rect}, reserved cuts a probe to {reserved}")
        self.assertEqual(reserved[2], rect[0], "reserves exactly what it shows")
        bar.close()
        return rect, folder

    def test_the_second_monitor_named_takes_the_bar_to_its_right_edge(self):
        rect, _ = self.docked_right("second", "\\\\.\\DISPLAY2", 1024, 768)
        self.assertGreaterEqual(rect[2], 1024, "flush with the second monitor's right edge")
        self.assertLess(rect[2], 1280, "not on the primary's right edge")
        self.assertLess(rect[0], 1024)

    def test_a_monitor_that_is_not_there_leaves_the_bar_on_the_primary_and_the_key_kept(self):
        rect, folder = self.docked_right("third", "\\\\.\\DISPLAY3", 1280, 1024)
        self.assertGreaterEqual(rect[2], 1280, "docked on the primary's right edge")
        self.assertLess(rect[0], 1280)
        self.assertIn("Monitor=\\\\.\\DISPLAY3", folder.read_text("TaviLaunch.ini"))

    def choose_in_options(self, bar: tavi.Bar, index: int) -> list:
        """Opens the options dialog, reads its monitor list item by item, selects
        item `index` and confirms; returns the items."""
        popup = bar.tray_menu()
        self.assertIn(OPTIONS_ITEM, [item["text"] for item in SESSION.menu_items(popup["hwnd"])])
        # With the two heads of Xinerama a click posted on a menu item closes the
        # menu without choosing it; the item's access key, typed into the menu
        # loop, does choose it.
        SESSION.call("post", hwnd=bar.hwnd, msg=WM_CHAR, wparam=ord("o"), lparam=0)
        dialog = bar.dialog(OPTIONS)
        combo = dialog["controls"][IDC_OPTION_MONITOR]["hwnd"]
        items = []
        for i in range(SESSION.call("send", hwnd=combo, msg=CB_GETCOUNT, wparam=0, lparam=0)["result"]):
            SESSION.call("send", hwnd=combo, msg=CB_SETCURSEL, wparam=i, lparam=0)
            items.append(SESSION.call("get_text", hwnd=combo)["text"])
        SESSION.call("send", hwnd=combo, msg=CB_SETCURSEL, wparam=index, lparam=0)
        # What the list tells the dialog when the user picks an item.
        SESSION.call("send", hwnd=dialog["hwnd"], msg=WM_COMMAND, wparam=(CBN_SELCHANGE << 16) | IDC_OPTION_MONITOR,
                     lparam=combo)
        self.assertEqual(SESSION.call("get_text", hwnd=combo)["text"], items[index])
        SESSION.screenshot(f"options-monitor-{index + 1}")
        SESSION.press(dialog["hwnd"], id=IDOK)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770", caption=OPTIONS, hidden=True),
                           AT_ONCE_S, "the options dialog closed")
        return items

    def test_the_options_dialog_lists_both_monitors_and_ok_moves_the_bar_between_them(self):
        folder = SESSION.program_folder("options", [harness.PROGRAM_EXE])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(RIGHT_SHOWN))
        bar = self.start(folder)
        laid_out = lambda: (lambda r: r if r[2] > r[0] else None)(bar.window()["rect"])
        before = harness.wait_until(laid_out, 10, "the bar laid out")
        self.assertGreaterEqual(before[2], 1280, "on the primary's right edge")

        items = self.choose_in_options(bar, 1)
        self.assertEqual(items, ["1: 1280×1024 (プライマリ)", "2: 1024×768"])
        second = harness.wait_until(lambda: (lambda r: r if r and r[2] < 1280 else None)(laid_out()),
                                    AT_ONCE_S, "the bar on the second monitor")
        self.assertGreaterEqual(second[2], 1024, "flush with the second monitor's right edge")
        self.assertLessEqual(second[3] - second[1], 768 + 1, "as tall as the second monitor")
        # The re-dock writes the file right after it has moved the bar.
        harness.wait_until(lambda: "Monitor=\\\\.\\DISPLAY2" in folder.read_text("TaviLaunch.ini"), AT_ONCE_S,
                           "the second monitor in the settings")

        self.choose_in_options(bar, 0)
        back = harness.wait_until(lambda: (lambda r: r if r and r[2] >= 1280 else None)(laid_out()),
                                  AT_ONCE_S, "the bar back on the primary")
        print(f"\n  options: primary {before}, second {second}, back {back}")
        self.assertEqual(back, before)
        harness.wait_until(lambda: "Monitor" not in folder.read_text("TaviLaunch.ini"), AT_ONCE_S,
                           "the key gone: the primary is no key")


if __name__ == "__main__":
    unittest.main()
