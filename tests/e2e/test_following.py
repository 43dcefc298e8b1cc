"""The bar follows its files under Wine: a list another program replaces is
shown without a word, and a change made by another program and one made on
the bar at the same moment both stay."""

from __future__ import annotations

import os
import time
import unittest

import harness
import tavi

SESSION: harness.Session

DELETE = "削除(&D)"
# The quiet time the bar waits for a sync tool's writes to settle, plus a
# loaded machine's reading and painting.
SHOWN_WITHIN = 3.0


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def entry(title: str) -> tuple:
    return (title, "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")


def replace_as_a_sync_tool_does(folder: harness.ProgramFolder, name: str, data: bytes) -> None:
    """Writes a temporary file beside it and renames it over the file."""
    temporary = folder.write_bytes(name + ".sync-tmp", data)
    os.replace(temporary, folder.file(name))


class FollowingTest(tavi.BarTestCase):
    def test_a_list_replaced_by_another_program_is_shown_without_a_word(self):
        entries = [entry(f"ﾒﾓ{i}") for i in range(3)]
        folder = self.bar_folder("follow-replaced", entries)
        bar = self.start(folder)
        outside = tavi.launch_ini([entries[0], entry("ﾘﾓｰﾄ"), entries[2], entry("ﾌｫﾛｰ")])
        written = time.monotonic()
        replace_as_a_sync_tool_does(folder, "Launch.ini", outside)
        harness.wait_until(lambda: bar.tips()[:4] == ["ﾒﾓ0", "ﾘﾓｰﾄ", "ﾒﾓ2", "ﾌｫﾛｰ"], SHOWN_WITHIN,
                           "the other program's list shown")
        print(f"\n  outside write to shown: {time.monotonic() - written:.2f} s")
        self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "nothing was lost: nothing to tell")
        self.assertEqual(bar.close(), 0)
        self.assertEqual(folder.read_bytes("Launch.ini"), outside, "never written over")

    def test_an_entry_added_by_another_program_and_one_deleted_on_the_bar_at_once_both_stay(self):
        entries = [entry(f"ﾒﾓ{i}") for i in range(3)]
        folder = self.bar_folder("follow-both", entries)
        bar = self.start(folder)
        replace_as_a_sync_tool_does(folder, "Launch.ini", tavi.launch_ini([*entries, entry("ﾘﾓｰﾄ")]))
        bar.choose(0, DELETE)
        question = SESSION.wait_message_box(bar.pid, 10)  # delete it?
        SESSION.press(question.hwnd, text="OK")
        harness.wait_until(lambda: bar.tips()[:4] == ["", "ﾒﾓ1", "ﾒﾓ2", "ﾘﾓｰﾄ"], 10, "both changes shown")
        self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "nothing refused")
        self.assertEqual(bar.close(), 0)
        lines = folder.read_bytes("Launch.ini").decode("cp932").split("\r\n")
        self.assertEqual(lines[0:24:6], ["", "ﾒﾓ1", "ﾒﾓ2", "ﾘﾓｰﾄ"], "both changes on disk")


if __name__ == "__main__":
    unittest.main()
