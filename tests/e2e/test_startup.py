"""Start-up, settings and the entry list of TaviMenu2, checked from outside."""

from __future__ import annotations

import unittest

import harness
import tavi

SESSION: harness.Session


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


FIRST_RUN_LIST = tavi.cp932_lines([
    "C:\\", "C:\\", "", "0", "C:\\", "0",
    "ｴｸｽﾌﾟﾛｰﾗ", "C:\\windows\\EXPLORER.EXE", "", "0", "C:\\windows\\EXPLORER.EXE", "0",
])

DEFAULT_SETTINGS = tavi.cp932_lines([
    "[IniBuff]", "IniBuff=103101011",
    "[Place]", "SaveX=0", "SaveY=0",
    "[ToolBox]", "ToolBox=10",
    "[DragDrop]", "DragDrop=1",
    "[Time]", "WaveFile=", "Time=",
    "[Option]", "DispType=1", "TargetDrop=0", "SplashLogo=0", "WallPaperChenge=0",
    "WallPaperChengeTimer=0", "MediaEject=0", "ButtonFlat=1", "ExMenuCount=10",
])


ICON_CACHE = "TaviMenu2.icons"


class StartupTest(tavi.BarTestCase):
    def test_first_start_writes_the_first_run_entries_and_closing_writes_every_setting(self):
        folder = SESSION.program_folder("first-run", [harness.PROGRAM_EXE])
        bar = self.start(folder)
        harness.wait_until(lambda: folder.exists("Launch.ini"), 10, "Launch.ini")
        self.assertEqual(folder.read_bytes("Launch.ini"), FIRST_RUN_LIST)
        self.assertEqual(bar.tips()[:2], ["C:\\", "ｴｸｽﾌﾟﾛｰﾗ"])
        self.assertFalse(folder.exists("TaviLaunch.ini"), "settings are written at exit, not at start")

        self.assertEqual(bar.close(), 0)
        self.assertEqual(folder.read_bytes("TaviLaunch.ini"), DEFAULT_SETTINGS)
        self.assertEqual(folder.read_bytes("Launch.ini"), FIRST_RUN_LIST, "nothing is written to the list at exit")

    def test_the_icon_cache_is_written_once_used_again_and_a_damaged_one_is_replaced(self):
        notepad, regedit = "C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe"
        folder = SESSION.program_folder("icon-cache", [harness.PROGRAM_EXE])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        folder.write_bytes("Launch.ini", tavi.launch_ini([
            ("メモ帳", notepad, "", "0", notepad, "0"), ("レジストリ", regedit, "", "0", regedit, "0")]))
        folder.write_bytes(ICON_CACHE, b"TaviIco1" + b"\xff" * 40)  # cut short, as a crash might leave it
        def own_pictures():
            return [b["image"] for b in bar.buttons_drawn(tips=False)[:2]]

        bar = self.start(folder)
        pictures = own_pictures()
        self.assertNotIn(tavi.I_IMAGENONE, pictures, "the programs' own pictures, drawn from the programs")
        harness.wait_until(lambda: len(folder.read_bytes(ICON_CACHE)) > 2 * 32 * 32 * 4, 10,
                           "the damaged cache replaced by the page's pictures")
        self.assertEqual(bar.close(), 0)
        written = folder.file(ICON_CACHE).stat().st_mtime_ns, folder.read_bytes(ICON_CACHE)

        bar = self.start(folder)
        # In the order they came, which the workers decide.
        self.assertEqual(sorted(own_pictures()), sorted(pictures))
        bar.tray_icon()  # the work after the first paint is done
        self.assertEqual(bar.close(), 0)
        self.assertEqual((folder.file(ICON_CACHE).stat().st_mtime_ns, folder.read_bytes(ICON_CACHE)), written,
                         "every picture came from the cache: the file is not written again")

    def test_with_save_on_exit_off_the_settings_file_is_untouched(self):
        folder = SESSION.program_folder("no-save", [harness.PROGRAM_EXE])
        hand_written = tavi.cp932_lines(["; 手で書いた設定", "[IniBuff]", "IniBuff=103100001",
                                         "[Place]", "SaveX=1234", "Width=12abc"])
        folder.write_bytes("TaviLaunch.ini", hand_written)
        bar = self.start(folder)
        self.assertEqual(bar.close(), 0)
        self.assertEqual(folder.read_bytes("TaviLaunch.ini"), hand_written)

    def test_a_second_copy_is_refused_while_the_first_runs_on(self):
        folder = SESSION.program_folder("second-copy", [harness.PROGRAM_EXE])
        first = self.start(folder)
        list_before = folder.read_bytes("Launch.ini")

        second = SESSION.start_program(folder.file("TaviMenu2.exe"), cwd=folder.path)
        box = SESSION.wait_message_box(second)
        self.assertEqual(box.message, "既に起動中です　二重起動はできません")
        self.assertEqual(box.icon, "error")
        self.assertEqual(box.buttons, ["OK"])
        self.assertEqual(SESSION.windows(second, cls=tavi.BAR_CLASS, hidden=True), [], "no bar for the second copy")
        SESSION.screenshot("startup-second-copy")
        SESSION.press(box.hwnd, text="OK")
        self.assertEqual(SESSION.wait_exit(second, 10), 0)

        # The system's restart of a crashed bar ends quietly beside the
        # user's: a message box would keep it from ending.
        restarted = SESSION.start_program(folder.file("TaviMenu2.exe"), args="/restarted", cwd=folder.path)
        self.assertEqual(SESSION.wait_exit(restarted, 10), 0)

        self.assertTrue(SESSION.alive(first.pid))
        self.assertTrue(first.window()["visible"])
        self.assertEqual(folder.read_bytes("Launch.ini"), list_before)
        self.assertFalse(folder.exists("TaviLaunch.ini"), "the refused copy writes nothing")

    def test_a_hand_written_list_loads_and_is_saved_back_with_nothing_lost(self):
        folder = SESSION.program_folder("hand-written", [harness.PROGRAM_EXE])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        entries = [
            ("ﾒﾓ帳", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0"),
            ("", "", "", "", "", ""),                       # an empty slot in the middle
            ("消えたﾌﾟﾛｸﾞﾗﾑ", "C:\\どこにもない\\gone.exe", "/x", "0", "C:\\どこにもない\\gone.ico", "2"),
            ("", "", "", "", "", ""),
            ("日本語ﾌｫﾙﾀﾞ", "C:\\windows\\", "", "0", "C:\\windows\\", "0"),
        ]
        short_last = ["最後", "C:\\windows\\regedit.exe", "-m"]  # fewer than six lines
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries) + tavi.cp932_lines(short_last))

        bar = self.start(folder)
        self.assertEqual(bar.tips()[:6], ["ﾒﾓ帳", "", "消えたﾌﾟﾛｸﾞﾗﾑ", "", "日本語ﾌｫﾙﾀﾞ", "最後"])
        SESSION.screenshot("startup-hand-written-list")

        # A failed start of the missing program rewrites the list.
        bar.click(2)
        box = SESSION.wait_message_box(bar.pid)
        self.assertEqual(box.message, "C:\\どこにもない\\gone.exe起動失敗 ｴﾝﾄﾘｰを削除しますか")
        SESSION.press(box.hwnd, text="はい")
        expected = list(entries)
        expected[2] = ("", "", "", "", "C:\\どこにもない\\gone.ico", "2")
        expected.append(tuple(short_last) + ("", "", ""))
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == tavi.launch_ini(expected), 10,
                           "the rewritten Launch.ini")
        self.assertEqual(bar.tips()[2], "")
        self.assertEqual(bar.buttons()[2]["image"], tavi.I_IMAGENONE, "the emptied slot's picture is cleared")


if __name__ == "__main__":
    unittest.main()
