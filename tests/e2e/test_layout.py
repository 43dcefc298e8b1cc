"""Every window the program opens, laid out right at 96 and 144 dpi in
Japanese and in English: the layout rows of the Windows tests
(EveryWindow/DialogLayout) run in a prefix at each scale and in each
user-interface language, checking fonts, overlaps and texts from inside,
while each window is photographed to build/e2e/dialogs/<name>-<dpi>.png
(English: build/e2e/dialogs/en/).

TAVI_LAYOUT_DPIS=96,120,144,192 checks other scales too,
TAVI_LAYOUT_LANGUAGES=en one language only."""

from __future__ import annotations

import os
import unittest

import dialog_shots
import harness

SESSION: harness.Session
DPIS = [int(d) for d in os.environ.get("TAVI_LAYOUT_DPIS", "96,144").split(",")]
LANGUAGES = os.environ.get("TAVI_LAYOUT_LANGUAGES", "ja,en").split(",")


def setUpModule():
    global SESSION
    SESSION = harness.Session(tools=("tavidriver.exe",)).start()


def tearDownModule():
    try:
        if SESSION.driver is not None:
            SESSION.ui_language = "ja"
            SESSION.set_dpi(96)  # the prefix is shared with the other test modules
    finally:
        SESSION.stop()


class LayoutTest(unittest.TestCase):
    def test_every_window_fits_its_texts_and_fonts_at_each_scale_in_each_language(self):
        for language in LANGUAGES:
            SESSION.ui_language = language
            out = harness.E2E_DIR / "dialogs" / ("" if language == "ja" else language)
            for dpi in DPIS:
                with self.subTest(language=language, dpi=dpi):
                    SESSION.set_dpi(dpi)
                    shots = dialog_shots.shoot(SESSION, out)
                    self.assertEqual(shots.dpi, dpi)
                    self.assertEqual(shots.missing, [], "every window was opened and photographed")
                    self.assertEqual(shots.returncode, 0,
                                     f"layout faults in {language} at {dpi} dpi:\n{shots.failures}")


if __name__ == "__main__":
    unittest.main()
