"""The bar at 150 % display scale (144 dpi) under Wine: flush with its edge,
as thick as the strip it reserves, with larger buttons than at 96 dpi."""

from __future__ import annotations

import unittest

import harness
import tavi

SESSION: harness.Session
LEFT_SHOWN, RIGHT_SHOWN = "103101001", "102101001"  # auto-hide off: the whole bar is reserved


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    try:
        if SESSION.driver is not None:
            SESSION.set_dpi(96)  # the prefix is shared with the other test modules
    finally:
        SESSION.stop()


class ScalingTest(tavi.BarTestCase):
    def docked(self, name: str, ini_buff: str, edge: str, probe: list) -> dict:
        folder = SESSION.program_folder(name, [harness.PROGRAM_EXE])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(ini_buff))
        bar = self.start(folder)
        reserved = SESSION.call("appbar_query", edge=edge, rect=probe)["rect"]
        result = {"window": bar.window()["rect"], "reserved": reserved,
                  "button": bar.buttons()[0]["rect"], "dpi": SESSION.screen()["dpi"]}
        SESSION.screenshot(f"scaling-{name}")
        bar.close()
        return result

    def measure(self) -> dict:
        width = SESSION.width
        left = self.docked("left", LEFT_SHOWN, "left", [0, 0, 300, SESSION.height])
        right = self.docked("right", RIGHT_SHOWN, "right", [width - 300, 0, width, SESSION.height])
        return {"left": left, "right": right}

    def test_bars_at_144_dpi_are_flush_reserve_their_thickness_and_grow(self):
        at96 = self.measure()
        SESSION.set_dpi(144)
        at144 = self.measure()
        width = SESSION.width
        self.assertEqual(at144["left"]["dpi"], 144)
        print(f"\n  96 dpi: {at96}\n  144 dpi: {at144}")

        for name, bars in (("96 dpi", at96), ("144 dpi", at144)):
            left, right = bars["left"], bars["right"]
            with self.subTest(name, edge="left"):
                self.assertEqual(left["window"][0], 0, "flush with the left edge")
                # The probe is cut where the bar's reservation ends: at the window's inner side.
                self.assertEqual(left["reserved"][0], left["window"][2], "reserves exactly its own width")
            with self.subTest(name, edge="right"):
                self.assertGreaterEqual(right["window"][2], width, "flush with the right edge")
                self.assertEqual(right["reserved"][2], right["window"][0], "reserves exactly what it shows")

        for edge in ("left", "right"):
            thick96 = at96[edge]["window"][2] - at96[edge]["window"][0]
            thick144 = at144[edge]["window"][2] - at144[edge]["window"][0]
            self.assertGreater(thick144, thick96 * 1.4, f"{edge} bar scaled with the display")
            b96, b144 = at96[edge]["button"], at144[edge]["button"]
            self.assertGreater(b144[3] - b144[1], (b96[3] - b96[1]) * 1.4, f"{edge} buttons scaled")


if __name__ == "__main__":
    unittest.main()
