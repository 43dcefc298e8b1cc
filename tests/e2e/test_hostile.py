"""Hostile paths and survival: entries whose paths and parameters hold what a
command interpreter or the system's path limits would trip over start as
typed, and the bar lives through the shell restarting, the display changing
and a drive going away while its menus and dialogs are open."""

from __future__ import annotations

import subprocess
import unittest
from pathlib import Path

import harness
import tavi

SESSION: harness.Session

WM_NULL, WM_DISPLAYCHANGE = 0x0, 0x7E
NEW_APP = "ｱﾌﾟﾘｹｰｼｮﾝの登録"
OPTIONS = "ｵﾌﾟｼｮﾝ"
OPTIONS_ITEM = "ｵﾌﾟｼｮﾝ(&O)..."
FORMAT = "ﾃﾞｨｽｸﾌｫｰﾏｯﾄ"
FORMAT_ITEM = "ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)..."
EDIT_ITEM = "編集(&E)..."
EXPLORER_ITEM = "ｴｸｽﾌﾟﾛｰﾗ(&L)..."
DOCKED_LEFT = [0, 0, 41, 1025]        # the bar on the left edge at 1280 x 1024, as test_bar measures it
PROBE_LEFT = [0, 0, 100, 1024]        # what a new appbar on the left asks for
WS_DISABLED = 0x08000000
DOC_EXTENSION = ".tavihostile"
DOC_CLASS = "TaviHostileDocument"
# The bar answers a sent message within this once its thread is free; a hung
# bar does not. Far above what a loaded machine needs for one message.
RESPONSIVE_S = 10.0

# One name per class of hostile text: blanks and everything cmd.exe reads as
# an operator, escape, separator or variable, and percent signs around a
# variable that exists in every environment.
SPECIAL_FOLDER = "a b&c^d!e(f);g,h'i=j[k]"
PERCENT_FOLDER = "100%PATH%x"
LONG_SEGMENT = "長いフォルダ名" + "x" * 53  # 60 characters


def deep_folder(base: Path, depth: int = 5) -> Path:
    """A folder under `base` whose Windows path is well past MAX_PATH (260)."""
    folder = base
    for level in range(depth):
        folder = folder / f"{level}{LONG_SEGMENT}"
    folder.mkdir(parents=True, exist_ok=True)
    return folder


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def wine_reg(*args: str) -> None:
    result = subprocess.run(["wine", "reg", *args], env=SESSION.env, timeout=60, capture_output=True)
    if result.returncode != 0:
        raise harness.HarnessError(f"wine reg {' '.join(args)} failed: {result.stderr.decode(errors='replace')}")


class HostileTestCase(tavi.BarTestCase):
    def bar_folder(self, name: str, **options: str) -> harness.ProgramFolder:
        return super().bar_folder(name, exes=[harness.TOOLS_DIR / "marker.exe"], **options)

    def marker_in(self, folder: Path) -> str:
        """A copy of marker.exe in `folder`; its Windows path."""
        folder.mkdir(parents=True, exist_ok=True)
        target = folder / "marker.exe"
        target.write_bytes((harness.TOOLS_DIR / "marker.exe").read_bytes())
        return SESSION.to_windows(target)

    def records_in(self, folder: Path, count: int = 1) -> list:
        text = lambda: (folder / "marker.txt").read_text("utf-8") if (folder / "marker.txt").exists() else ""
        return harness.wait_until(lambda: len(harness.parse_marker_records(text())) >= count
                                  and harness.parse_marker_records(text()), 15, f"{count} start(s) in {folder.name}")

    def associate_with_marker(self, marker: str) -> None:
        """Documents ending in DOC_EXTENSION open with `marker`, as an installed program registers itself."""
        wine_reg("add", f"HKCR\\{DOC_EXTENSION}", "/ve", "/d", DOC_CLASS, "/f")
        wine_reg("add", f"HKCR\\{DOC_CLASS}\\shell\\open\\command", "/ve",
                 "/d", f"\"{marker}\" \"%1\"", "/f")
        self.addCleanup(wine_reg, "delete", f"HKCR\\{DOC_EXTENSION}", "/f")
        self.addCleanup(wine_reg, "delete", f"HKCR\\{DOC_CLASS}", "/f")

    def open_folders_with_marker(self, marker: str) -> None:
        """Folders open with `marker` instead of through Wine's window-less folder DDE server."""
        saved = harness.E2E_DIR / "folder-class.reg"
        wine_reg("export", "HKCR\\Folder", SESSION.to_windows(saved), "/y")
        self.addCleanup(wine_reg, "import", SESSION.to_windows(saved))
        wine_reg("delete", "HKCR\\Folder\\shell\\open\\ddeexec", "/f")
        wine_reg("add", "HKCR\\Folder\\shell\\open\\command", "/ve", "/d", f"\"{marker}\" \"%1\"", "/f")
        self.addCleanup(wine_reg, "delete", "HKCR\\Folder\\shell\\open\\command", "/f")


class HostilePathTest(HostileTestCase):
    def test_programs_start_with_their_parameters_exactly_whatever_their_paths_hold(self):
        folder = self.bar_folder("hostile-programs")
        special = folder.path / SPECIAL_FOLDER
        percent = folder.path / PERCENT_FOLDER
        deep = deep_folder(folder.path / "deep")
        cases = [
            # folder, parameters as typed, the arguments the program must see
            (special, "\"x y\" a&b ^c !d! (e) f,g;h \"say \\\"hi\\\"\" ^& | > <",
             ["x y", "a&b", "^c", "!d!", "(e)", "f,g;h", "say \"hi\"", "^&", "|", ">", "<"]),
            (percent, "%PATH% %TEMP%x 50% \"%~dp0\" %%", ["%PATH%", "%TEMP%x", "50%", "%~dp0", "%%"]),
            (deep, "\"long path\" %PATH%", ["long path", "%PATH%"]),
        ]
        entries = []
        for where, parameters, _ in cases:
            marker = self.marker_in(where)
            entries.append((where.name[:20], marker, parameters, "0", marker, "0"))
        self.assertGreater(len(SESSION.to_windows(deep / "marker.exe")), 300, "the long path is past MAX_PATH")
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        bar = self.start(folder)
        for position, (where, parameters, arguments) in enumerate(cases):
            with self.subTest(folder=where.name[:30]):
                bar.click(position)
                record = self.records_in(where)[0]
                self.assertEqual(record["arg"], arguments)
                self.assertEqual(record["args"], parameters, "the command line's tail as typed")
                self.assertEqual(record["long_cwd"].rstrip("\\").lower(), SESSION.to_windows(where).lower(),
                                 "started in its own folder")
        self.assertFalse(SESSION.windows(bar.pid, cls="#32770"), "no failure reported")
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini(entries), "the entries kept as they were")

    def test_a_group_member_starts_as_a_bar_entry_does(self):
        folder = self.bar_folder("hostile-member")
        where = deep_folder(folder.path / SPECIAL_FOLDER, depth=4) / PERCENT_FOLDER
        marker = self.marker_in(where)
        parameters = "\"x y\" %PATH% a&b ^c !d!"
        lines = ["[ExMenu00]", "00ExTitle=ﾏｰｶｰ", f"00ExPathName={marker}", f"00ExCommand={parameters}", "00ExRunType=0"]
        folder.write_bytes("TaviMenu2.INI", tavi.cp932_lines(lines))
        folder.write_bytes("Launch.ini", tavi.launch_ini([("Tools", "[Tools]", "", "0", "", "0")]))
        bar = self.start(folder)
        bar.click(0)
        box = SESSION.wait_window(bar.pid, cls="frmRectangle")
        SESSION.press(box["hwnd"], id=100)  # the first member's button
        record = self.records_in(where)[0]
        self.assertEqual(record["arg"], ["x y", "%PATH%", "a&b", "^c", "!d!"])
        self.assertEqual(record["long_cwd"].rstrip("\\").lower(), SESSION.to_windows(where).lower())
        self.assertFalse(SESSION.windows(bar.pid, cls="#32770"), "no failure reported")

    def test_documents_open_with_their_program_whatever_their_paths_hold(self):
        folder = self.bar_folder("hostile-documents")
        handler = folder.path / "handler"
        self.associate_with_marker(self.marker_in(handler))
        plain = folder.write_bytes(f"文書 a&b^c!(d);e,f 100% sure\\memo x&y{DOC_EXTENSION}".replace("\\", "/"), b"x")
        deep = deep_folder(folder.path / "deep")
        long_document = deep / f"memo{DOC_EXTENSION}"
        long_document.write_bytes(b"x")
        documents = [plain, long_document]
        entries = [(p.name, SESSION.to_windows(p), "", "0", SESSION.to_windows(p), "0") for p in documents]
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        bar = self.start(folder)
        for position, document in enumerate(documents):
            with self.subTest(document=SESSION.to_windows(document)[-40:]):
                bar.click(position)
                record = self.records_in(handler, position + 1)[position]
                self.assertEqual(record["long_arg"], [SESSION.to_windows(document)], "the document, as one argument")
                self.assertEqual(record["long_cwd"].rstrip("\\").lower(), SESSION.to_windows(document.parent).lower())
        self.assertFalse(SESSION.windows(bar.pid, cls="#32770"), "no failure reported")

    def test_a_folder_past_max_path_opens_in_the_shell(self):
        folder = self.bar_folder("hostile-folder")
        handler = folder.path / "handler"
        self.open_folders_with_marker(self.marker_in(handler))
        deep = deep_folder(folder.path / "deep", depth=4) / SPECIAL_FOLDER
        deep.mkdir()
        path = SESSION.to_windows(deep) + "\\"
        self.assertGreater(len(path), 260)
        folder.write_bytes("Launch.ini", tavi.launch_ini([("deep", path, "", "0", path, "0")]))
        bar = self.start(folder)
        bar.click(0)
        record = self.records_in(handler)[0]
        self.assertEqual([a.rstrip("\\") for a in record["long_arg"]], [path.rstrip("\\")], "the folder itself")
        self.assertEqual(record["long_cwd"].rstrip("\\").lower(), path.rstrip("\\").lower(), "opened in itself")
        self.assertFalse(SESSION.windows(bar.pid, cls="#32770"), "no failure reported")

    def test_a_file_dropped_on_an_entry_reaches_its_program_as_one_argument(self):
        folder = self.bar_folder("hostile-drop", TargetDrop="1")
        folder.copy_in(harness.TOOLS_DIR / "dragsource.exe")
        marker = folder.win_file("marker.exe")
        entries = [("ﾏｰｶｰ", marker, "/p", "0", marker, "0")]
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        hostile = folder.write_bytes("x&y ^z !w! (1);2,3 %PATH% 100%.txt", b"x")
        deep = deep_folder(folder.path / "deep") / "long.txt"
        deep.write_bytes(b"x")
        files = [SESSION.to_windows(hostile), SESSION.to_windows(deep)]
        bar = self.start(folder)
        left, top, right, bottom = bar.buttons()[0]["rect"]
        args = f"{(left + right) // 2} {(top + bottom) // 2} " + " ".join(f"\"{f}\"" for f in files)
        pid = SESSION.start_program(folder.file("dragsource.exe"), args=args)
        self.assertEqual(SESSION.wait_exit(pid, 30), 0, "the files taken")
        records = self.records_in(folder.path, 2)
        self.assertEqual(sorted(r["arg"][1] for r in records), sorted(files))
        for record in records:
            self.assertEqual(record["arg"][0], "/p", "the entry's own parameters first")
            self.assertEqual(len(record["arg"]), 2, record["args"])
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini(entries), "nothing registered")



class SurvivalTestCase(HostileTestCase):
    """A bar with a marker entry, and the checks that it came back usable."""

    def usable_bar(self, name: str) -> tavi.Bar:
        folder = self.bar_folder(name)
        marker = folder.win_file("marker.exe")
        self.entries = [("ﾏｰｶｰ", marker, "/alive", "0", marker, "0"),
                        ("Notepad", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")]
        folder.write_bytes("Launch.ini", tavi.launch_ini(self.entries))
        self.folder = folder
        self.starts = 0
        bar = self.start(folder)
        bar.tray_icon()
        return bar

    def responsive(self, bar: tavi.Bar) -> None:
        """The bar's thread takes a sent message: it neither hangs nor has gone."""
        self.assertTrue(SESSION.alive(bar.pid), "the program is still running")
        SESSION.call("send", hwnd=bar.hwnd, msg=WM_NULL, wparam=0, lparam=0, timeout_ms=int(RESPONSIVE_S * 1000))

    def our_tray_icons(self, bar: tavi.Bar) -> list:
        return [i for i in SESSION.tray_icons() if (i["tip"] or "").startswith(tavi.TRAY_TIP_PREFIX)]

    def reserved_left(self) -> int:
        return SESSION.call("appbar_query", edge="left", rect=PROBE_LEFT)["rect"][0]

    def check_usable(self, bar: tavi.Bar, what: str, full: bool = True) -> None:
        """Docked, reserved, one tray icon and the entries kept; in full also the
        menu opens and a button starts its entry. (Each next state opens a menu
        anyway, so the loops check in full only after the last.)"""
        self.responsive(bar)
        harness.wait_until(lambda: bar.window()["rect"] == DOCKED_LEFT and bar.window()["visible"], 10,
                           f"the bar docked and shown after {what}")
        harness.wait_until(lambda: self.reserved_left() == DOCKED_LEFT[2], 10, f"its strip reserved after {what}")
        harness.wait_until(lambda: len(self.our_tray_icons(bar)) == 1, 10, f"one tray icon after {what}")
        self.assertEqual(self.folder.read_bytes("Launch.ini"), tavi.launch_ini(self.entries), f"entries after {what}")
        self.assertEqual(bar.tips()[:2], ["ﾏｰｶｰ", "Notepad"], f"the buttons after {what}")
        if not full:
            return
        self.assertTrue(any(i["text"] == EDIT_ITEM for i in bar.entry_menu(0)), f"the entry menu after {what}")
        bar.click(0)
        self.starts += 1
        harness.wait_until(lambda: len(self.folder.marker_records()) == self.starts, 15,
                           f"the entry started by its button after {what}")

    # What is open when the system's notice arrives: how to open it and how to close it.
    def open_entry_menu(self, bar: tavi.Bar):
        bar.right_click(0)
        return lambda: SESSION.popup_menus(bar.pid) and bar.close_menus()

    def open_tray_menu(self, bar: tavi.Bar):
        bar.tray_menu()
        return lambda: SESSION.popup_menus(bar.pid) and bar.close_menus()

    def open_registration(self, bar: tavi.Bar):
        bar.choose(0, EDIT_ITEM)
        return self.closer(bar, bar.dialog(NEW_APP)["hwnd"])

    def open_options(self, bar: tavi.Bar):
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, OPTIONS_ITEM)
        return self.closer(bar, bar.dialog(OPTIONS)["hwnd"])

    def closer(self, bar: tavi.Bar, dialog: int):
        def close():
            SESSION.press(dialog, id=harness.IDCANCEL)
            harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the dialog closed")
        return close

    def states(self):
        return [("the entry menu", self.open_entry_menu), ("the tray menu", self.open_tray_menu),
                ("the registration dialog", self.open_registration), ("the options dialog", self.open_options)]


class ShellAndDisplayTest(SurvivalTestCase):
    def test_the_shell_restarting_under_open_menus_and_dialogs(self):
        bar = self.usable_bar("survive-shell")
        taskbar_created = SESSION.call("register_message", name="TaskbarCreated")["id"]
        for what, open_it in self.states():
            with self.subTest(open=what):
                close = open_it(bar)
                # The old shell took the icon and the reservation with it.
                SESSION.call("tray_delete", hwnd=bar.hwnd, uid=1)
                SESSION.call("appbar_remove", hwnd=bar.hwnd)
                harness.wait_until(lambda: not self.our_tray_icons(bar), 10, "the icon gone with the old shell")
                SESSION.call("post", hwnd=bar.hwnd, msg=taskbar_created, wparam=0, lparam=0)
                harness.wait_until(lambda: len(self.our_tray_icons(bar)) == 1, 10,
                                   f"the icon back with {what} open")
                self.responsive(bar)
                SESSION.screenshot("hostile-shell-" + what.split()[1])
                close()
                self.check_usable(bar, f"a shell restart under {what}", full=what == self.states()[-1][0])

    def test_the_display_changing_under_open_menus_and_dialogs(self):
        bar = self.usable_bar("survive-display")
        for what, open_it in self.states():
            with self.subTest(open=what):
                close = open_it(bar)
                # The reservation is dropped first, so only a re-dock can bring it back.
                SESSION.call("appbar_remove", hwnd=bar.hwnd)
                SESSION.call("post", hwnd=bar.hwnd, msg=WM_DISPLAYCHANGE, wparam=32,
                             lparam=(SESSION.height << 16) | SESSION.width)
                harness.wait_until(lambda: self.reserved_left() == DOCKED_LEFT[2], 10,
                                   f"the bar docked again with {what} open")
                self.responsive(bar)
                close()
                self.check_usable(bar, f"a display change under {what}", full=what == self.states()[-1][0])



    def test_a_real_change_of_the_screen_size(self):
        """In one of Wine's virtual desktops, where a mode change is real,
        modechange.exe starts the bar, changes the screen's size under it and back."""
        folder = self.bar_folder("survive-mode")
        marker = folder.win_file("marker.exe")
        entries = [("ﾏｰｶｰ", marker, "", "0", marker, "0")]
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        tool = folder.copy_in(harness.TOOLS_DIR / "modechange.exe")
        report = folder.path / "modechange.txt"
        explorer = harness.PREFIX_DIR / "drive_c" / "windows" / "explorer.exe"
        pid = SESSION.start_program(explorer, args=f"/desktop=TaviHostile,{SESSION.width}x{SESSION.height} "
                                    f"\"{SESSION.to_windows(tool)}\" \"{folder.win_file('TaviMenu2.exe')}\" "
                                    f"\"{SESSION.to_windows(report)}\"")
        harness.wait_until(lambda: report.exists() and report.read_text("utf-8").endswith("\n")
                           and "exit_code=" in report.read_text("utf-8"), 120, "the mode change report")
        SESSION.wait_exit(pid, 30)
        seen = dict(line.split("=", 1) for line in report.read_text("utf-8").splitlines())
        self.assertNotIn("error", seen, seen)
        width, height = (int(n) for n in seen["screen_changed"].split("x"))
        self.assertNotEqual((width, height), (SESSION.width, SESSION.height))
        self.assertEqual(seen["rect_before"], f"0,0,41,{SESSION.height + 1}")
        self.assertEqual(seen["rect_changed"], f"0,0,41,{height + 1}", "docked along the new screen's edge")
        self.assertEqual(seen["reserved_changed"].split(",")[0], "41", "its strip reserved on the new screen")
        self.assertEqual(seen["answered_changed"], "1")
        self.assertEqual(seen["rect_back"], seen["rect_before"], "docked again on the old screen")
        self.assertEqual(seen["exit_code"], "0", "the bar closed normally")
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini(entries), "the entries kept")


class DriveGoneTest(SurvivalTestCase):
    """A removable drive A: that is taken away while its menu or dialog is open.
    drivechange.exe has Wine's mount manager define the drive before each test
    and forget it during the test (it is gone for every program at once), and
    tells every window, as the system does."""
    LETTER = "A"
    MEDIA = harness.E2E_DIR / "media" / "hostile-removable"

    def drive_change(self, *args: str) -> None:
        tool = harness.E2E_DIR / "drivechange.exe"
        tool.write_bytes((harness.TOOLS_DIR / "drivechange.exe").read_bytes())
        pid = SESSION.start_program(tool, args=" ".join(args))
        self.assertEqual(SESSION.wait_exit(pid, 30), 0, f"drivechange {' '.join(args)}")

    def setUp(self):
        super().setUp()
        self.MEDIA.mkdir(parents=True, exist_ok=True)
        self.drive_change("add", self.LETTER, f"\"{self.MEDIA}\"")
        self.addCleanup(lambda: (harness.PREFIX_DIR / "dosdevices" / f"{self.LETTER.lower()}:").is_symlink()
                        and self.drive_change("remove", self.LETTER))

    def take_drive_away(self) -> None:
        self.drive_change("remove", self.LETTER)

    def test_choosing_a_drive_that_went_away_while_its_menu_was_open(self):
        bar = self.usable_bar("drive-menu")
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, EXPLORER_ITEM)
        drive = harness.wait_until(lambda: next(
            (i["text"] for m in SESSION.popup_menus(bar.pid) for i in SESSION.menu_items(m["hwnd"])
             if "A:" in i["text"] and "rect" in i), None), 10, "the floppy drive in the open menu")
        before = {w["hwnd"] for w in SESSION.windows(hidden=True)}
        self.take_drive_away()
        SESSION.choose_menu(bar.pid, bar.hwnd, drive)
        harness.wait_until(lambda: not SESSION.popup_menus(bar.pid), 10, "the menu closed by the choice")
        self.responsive(bar)  # the choice has been carried out when the bar answers
        self.assertFalse(SESSION.windows(bar.pid, cls="#32770"), "no message about the drive")
        self.check_usable(bar, "choosing a vanished drive")
        self.assertFalse([w for w in SESSION.windows() if w["hwnd"] not in before and "A:" in w["caption"]],
                         "no window opened on the vanished drive")
        items = SESSION.menu_items(bar.tray_menu()["hwnd"])
        bar.close_menus()
        drives = next(i for i in items if i["text"] == EXPLORER_ITEM)["items"]
        self.assertFalse([i for i in drives if "A:" in i["text"]], "the drive left the list")

    def test_the_format_dialog_lets_a_drive_that_went_away_go(self):
        bar = self.usable_bar("drive-format")
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, FORMAT_ITEM)
        dialog = bar.dialog(FORMAT)
        combo = lambda: next(c for c in SESSION.call("dialog_texts", hwnd=dialog["hwnd"])["controls"]
                             if c["class"].lower() == "combobox")
        ok = lambda: next(c for c in SESSION.call("dialog_texts", hwnd=dialog["hwnd"])["controls"]
                          if c["id"] == harness.IDOK)
        self.assertEqual(combo()["text"], "(0)A:\\ ドライブ")
        self.assertFalse(ok()["style"] & WS_DISABLED)
        self.take_drive_away()
        harness.wait_until(lambda: combo()["text"] == "" and ok()["style"] & WS_DISABLED, 10,
                           "the drive gone from the dialog and OK disabled")
        self.assertTrue(combo()["style"] & WS_DISABLED, "nothing left to choose")
        self.responsive(bar)
        self.closer(bar, dialog["hwnd"])()
        self.check_usable(bar, "a drive gone under the format dialog")


if __name__ == "__main__":
    unittest.main()
