"""Earlier versions of the entry list under Wine: a change keeps the list as it
was in the backup folder beside the program, and the tray menu opens that folder."""

from __future__ import annotations

import re
import unittest

import harness
import tavi
from tavi import EMPTY, NOTEPAD

SESSION: harness.Session

WINHLP = ("Help", "C:\\windows\\winhlp32.exe", "-x", "2", "C:\\windows\\winhlp32.exe", "0")
KEPT_LIST = re.compile(r"^Launch_\d{8}_\d{4}\.ini$")


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class BackupsTest(tavi.BarTestCase):
    def test_a_deleted_entry_leaves_the_earlier_list_in_the_backup_folder(self):
        folder = self.bar_folder("backups-delete", [NOTEPAD, WINHLP])
        earlier = folder.read_bytes("Launch.ini")
        bar = self.start(folder)
        bar.choose(0, "削除(&D)")
        SESSION.press(SESSION.wait_message_box(bar.pid).hwnd, id=harness.IDOK)
        changed = tavi.launch_ini([EMPTY, WINHLP])
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == changed, 10, "the list without the entry")
        backup = folder.path / "backup"
        copies = sorted(p.name for p in backup.iterdir())
        self.assertTrue(copies and all(KEPT_LIST.match(name) for name in copies), copies)
        # The copy is the list as it was, byte for byte (a start that rewrote
        # it in another hour would have kept one more).
        self.assertIn(earlier, [(backup / name).read_bytes() for name in copies])
        self.assertNotIn(changed, [(backup / name).read_bytes() for name in copies])

    def test_the_tray_item_makes_and_opens_the_backup_folder(self):
        folder = self.bar_folder("backups-open", [NOTEPAD])
        bar = self.start(folder)
        self.assertFalse((folder.path / "backup").exists(), "no change yet, no copy")
        before = {w["pid"] for w in SESSION.windows(hidden=True)}
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, "ﾊﾞｯｸｱｯﾌﾟ(&K)...")
        # Wine's explorer.exe opens a window of its own, named for the folder.
        window = harness.wait_until(
            lambda: next((w for w in SESSION.windows() if w["pid"] not in before and w["visible"]
                          and "backup" in w["caption"]), None), 15, "an explorer window on the backup folder")
        self.assertTrue((folder.path / "backup").is_dir())
        SESSION.screenshot("backups-backup-folder")
        SESSION.call("close", hwnd=window["hwnd"])


if __name__ == "__main__":
    unittest.main()
