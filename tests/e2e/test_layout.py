"""Every window the program opens, laid out right at 96 and 144 dpi: the
layout rows of the Windows tests (EveryWindow/DialogLayout) run in a prefix
at each scale, checking fonts, overlaps and texts from inside, while each
window is photographed to build/e2e/dialogs/<name>-<dpi>.png.

TAVI_LAYOUT_DPIS=96,120,144,192 checks other scales too."""

from __future__ import annotations

import os
import unittest

import dialog_shots
import harness

SESSION: harness.Session
DPIS = [int(d) for d in os.environ.get("TAVI_LAYOUT_DPIS", "96,144").split(",")]


def setUpModule():
    global SESSION
    SESSION = harness.Session(tools=("tavidriver.exe",)).start()


def tearDownModule():
    try:
        if SESSION.driver is not None:
            SESSION.set_dpi(96)  # the prefix is shared with the other test modules
    finally:
        SESSION.stop()


class LayoutTest(unittest.TestCase):
    def test_every_window_fits_its_texts_and_fonts_at_each_scale(self):
        for dpi in DPIS:
            with self.subTest(dpi=dpi):
                SESSION.set_dpi(dpi)
                shots = dialog_shots.shoot(SESSION, harness.E2E_DIR / "dialogs")
                self.assertEqual(shots.dpi, dpi)
                self.assertEqual(shots.missing, [], "every window was opened and photographed")
                self.assertEqual(shots.returncode, 0, f"layout faults at {dpi} dpi:\n{shots.failures}")


if __name__ == "__main__":
    unittest.main()
