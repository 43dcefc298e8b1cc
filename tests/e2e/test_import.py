"""The tray menu's import of shortcuts under Wine: the shortcuts of the
prefix's Quick Launch folder become entries, a second time one group, and
an undo gives back the list byte for byte."""

from __future__ import annotations

import shutil
import unittest

import harness
import tavi

SESSION: harness.Session

IMPORT = "ｼｮｰﾄｶｯﾄの取り込み(&J)..."
UNDO = "元に戻す(&U)\tCtrl+Z"
DIALOG_CAPTION = "ｼｮｰﾄｶｯﾄの取り込み"
LB_GETCOUNT, LB_GETCURSEL = 0x18B, 0x188
ASK_EACH = ("ショートカットをそれぞれ別のエントリーとして登録しますか？\n\n"
            "「いいえ」を選ぶと、すべてを一つのグループにまとめて登録します。")
DONE_THREE = "ショートカットの取り込みが終わりました。\n\n取り込んだもの: 3 個\n取り込まなかったもの: 0 個"

NOTEPAD_EXE = "C:\\windows\\notepad.exe"
WINHLP_EXE = "C:\\windows\\winhlp32.exe"
REGEDIT_EXE = "C:\\windows\\regedit.exe"
NOTEPAD = ("Notepad", NOTEPAD_EXE, "", "0", NOTEPAD_EXE, "0")
# Name, target, arguments; imported in name order, the title from the name.
SHORTCUTS = [("ﾒﾓ帳", NOTEPAD_EXE, "/x y"), ("Help", WINHLP_EXE, ""), ("Registry", REGEDIT_EXE, "")]
IMPORTED = [("Help", WINHLP_EXE, "", "0", WINHLP_EXE, "0"),
            ("Registry", REGEDIT_EXE, "", "0", REGEDIT_EXE, "0"),
            ("ﾒﾓ帳", NOTEPAD_EXE, "/x y", "0", NOTEPAD_EXE, "0")]


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def quick_launch():
    """The Quick Launch folder of the prefix's user, made empty."""
    users = [p for p in (harness.PREFIX_DIR / "drive_c" / "users").iterdir() if p.name not in ("Public",)]
    roaming = next(p / "AppData" / "Roaming" for p in users if (p / "AppData" / "Roaming").is_dir())
    folder = roaming / "Microsoft" / "Internet Explorer" / "Quick Launch"
    if folder.exists():
        shutil.rmtree(folder)
    (folder / "User Pinned" / "TaskBar").mkdir(parents=True)
    return folder


def text(box: harness.MessageBox) -> str:
    return box.message.replace("\r\n", "\n")


class ImportTest(tavi.BarTestCase):
    def make_shortcuts(self, folder: harness.ProgramFolder, into) -> None:
        for name, target, arguments in SHORTCUTS:
            link = SESSION.to_windows(into) + f"\\{name}.lnk"
            args = f"--make-shortcut \"{link}\" {target}" + (f" \"{arguments}\"" if arguments else "")
            pid = SESSION.start_program(folder.file("dragsource.exe"), args=args)
            self.assertEqual(SESSION.wait_exit(pid, 30), 0, f"the shortcut {name} written")

    def members(self, folder: harness.ProgramFolder):
        """TaviMenu2.INI's bytes, None while there is none."""
        path = folder.path / "TaviMenu2.INI"
        return path.read_bytes() if path.exists() else None

    def wait_closed(self, bar: tavi.Bar, hwnd: int, what: str) -> None:
        harness.wait_until(lambda: hwnd not in [w["hwnd"] for w in SESSION.windows(bar.pid, cls="#32770")], 10, what)

    def run_import(self, bar: tavi.Bar, answer: int) -> str:
        """The tray item, the Quick Launch folder as offered, the answer to the
        question; returns the count shown at the end, once."""
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, IMPORT)
        dialog = SESSION.wait_window(bar.pid, cls="#32770", caption=DIALOG_CAPTION)
        controls = SESSION.call("dialog_texts", hwnd=dialog["hwnd"])["controls"]
        folders = next(c for c in controls if c["class"].lower() == "listbox")
        self.assertEqual(SESSION.call("send", hwnd=folders["hwnd"], msg=LB_GETCOUNT, wparam=0, lparam=0)["result"], 2,
                         "Quick Launch and the pinned items offered")
        self.assertEqual(SESSION.call("send", hwnd=folders["hwnd"], msg=LB_GETCURSEL, wparam=0, lparam=0)["result"], 0,
                         "Quick Launch selected first")
        SESSION.press(dialog["hwnd"], id=harness.IDOK)
        self.wait_closed(bar, dialog["hwnd"], "the folder choice closed")
        question = SESSION.wait_message_box(bar.pid)
        self.assertEqual(text(question), ASK_EACH)
        self.assertEqual(question.button_ids, [harness.IDYES, harness.IDNO])
        SESSION.press(question.hwnd, id=answer)
        self.wait_closed(bar, question.hwnd, "the question closed")
        done = SESSION.wait_message_box(bar.pid)
        count = text(done)
        SESSION.press(done.hwnd, id=harness.IDOK)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the count closed")
        # The import has returned (while a command runs every item is disabled),
        # and no second count came.
        items = SESSION.menu_items(bar.tray_menu()["hwnd"])
        self.assertTrue(next(i for i in items if i["text"] == IMPORT)["enabled"], "the import has ended")
        self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "the count is shown once")
        bar.close_menus()
        return count

    def test_three_shortcuts_are_imported_as_entries_then_as_one_group_and_undone(self):
        folder = self.bar_folder("import", [NOTEPAD], exes=[harness.TOOLS_DIR / "dragsource.exe"])
        self.make_shortcuts(folder, quick_launch())
        bar = self.start(folder)
        before = folder.read_bytes("Launch.ini")

        self.assertEqual(self.run_import(bar, harness.IDYES), DONE_THREE)
        entries = folder.read_bytes("Launch.ini")
        self.assertEqual(entries, tavi.launch_ini([NOTEPAD] + IMPORTED), "three entries after the one there")
        harness.wait_until(lambda: bar.tips()[1:4] == ["Help", "Registry", "ﾒﾓ帳"], 10, "their buttons' tips")
        members_before = self.members(folder)

        # The same shortcuts again, as a group: members are not kept out by the entries.
        self.assertEqual(self.run_import(bar, harness.IDNO), DONE_THREE)
        group = ("Quick Launch", "[Quick Launch]", "", "0", "", "0")
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini([NOTEPAD] + IMPORTED + [group]))
        members = folder.read_bytes("TaviMenu2.INI").decode("cp932").splitlines()
        self.assertIn("[ExMenu04]", members)
        for slot, (title, path, command, run, _, _) in enumerate(IMPORTED):
            for field, value in (("ExTitle", title), ("ExPathName", path), ("ExCommand", command),
                                 ("ExRunType", run)):
                self.assertIn(f"{slot:02d}{field}={value}", members)

        # One undo step each: back to the three entries, then to the list as it was.
        bar.choose(0, UNDO)
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == entries, 10, "the group undone")
        # No members as before; a file that was not there comes back empty, as an undo never deletes one.
        harness.wait_until(lambda: self.members(folder) == (members_before or b""), 10, "the members' file as it was")
        bar.choose(0, UNDO)
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == before, 10, "the list byte for byte as before")

    def test_a_shortcut_with_its_own_working_folder_starts_there_with_its_arguments(self):
        folder = self.bar_folder("import-working-folder", [NOTEPAD],
                                 exes=[harness.TOOLS_DIR / "dragsource.exe", harness.TOOLS_DIR / "marker.exe"])
        work = folder.path / "作業"
        work.mkdir()
        into = quick_launch()
        link = SESSION.to_windows(into) + "\\ﾏｰｶｰ.lnk"
        pid = SESSION.start_program(folder.file("dragsource.exe"), args=(
            f"--make-shortcut \"{link}\" {folder.win_file('marker.exe')} \"/w 1\" \"{folder.win_file('作業')}\""))
        self.assertEqual(SESSION.wait_exit(pid, 30), 0, "the shortcut written")
        bar = self.start(folder)
        self.assertEqual(self.run_import(bar, harness.IDYES),
                         "ショートカットの取り込みが終わりました。\n\n取り込んだもの: 1 個\n取り込まなかったもの: 0 個")
        marker = folder.win_file("marker.exe")
        self.assertEqual(folder.read_bytes("Launch.ini"),
                         tavi.launch_ini([NOTEPAD, ("ﾏｰｶｰ", link, "", "0", marker, "0")]),
                         "the shortcut itself, which alone can say where its program starts")
        harness.wait_until(lambda: bar.tips()[1] == "ﾏｰｶｰ", 10, "its button")
        bar.click(1)
        record = harness.wait_until(lambda: folder.marker_records(), 15, "the marker program's record")[0]
        self.assertEqual(record["args"], "/w 1")
        self.assertEqual(record["long_cwd"].rstrip("\\").lower(), folder.win_file("作業").rstrip("\\").lower())


if __name__ == "__main__":
    unittest.main()
