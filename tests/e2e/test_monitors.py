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


if __name__ == "__main__":
    unittest.main()
