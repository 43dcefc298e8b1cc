"""The packages a Windows user downloads (scripts/package.sh), under Wine: the
setup installs the program for the user alone with its icon, closes and
starts again only the bar of its own folder, the installed bar writes its
lists beside itself, follows the dark app mode in every window and registers
itself to start with Windows beside another folder's bar, the uninstaller
takes the program away, keeps the lists and says how it ended, and the
package managers' manifests name the packages by their hashes."""

from __future__ import annotations

import hashlib
import json
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path
from typing import Optional

import harness
import tavi

SESSION: harness.Session

VERSION = ".".join(str(n) for n in harness.program_version())
PACKAGE_DIR = harness.BUILD / "package"
SETUP = PACKAGE_DIR / f"TaviMenu2-{VERSION}-win64-setup.exe"
ZIP = PACKAGE_DIR / f"TaviMenu2-{VERSION}-win64.zip"
README = "はじめにお読みください.txt"
ENGLISH_README = "README.txt"
PROGRAM_FILES = ["TaviMenu2.exe", "TaviMenu2.html", "TaviMenu2.en.html", README, ENGLISH_README, "LICENSE.txt",
                 "THIRD-PARTY-NOTICES.txt"]
USER_FILES = ["Launch.ini", "TaviLaunch.ini"]  # what a first run and its close write

UNINSTALL_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TaviMenu2"
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
PERSONALIZE_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"
SHORTCUT_NAME = "たびめにゅ～２.lnk"

# The setup and the uninstaller's copy of itself run for a second or two;
# these limits allow for a loaded machine.
INSTALL_S = 60.0
AT_ONCE_S = 10.0

OPTIONS, OPTIONS_ITEM = "ｵﾌﾟｼｮﾝ", "ｵﾌﾟｼｮﾝ(&O)..."
START_WITH_WINDOWS = "Windows の起動時に実行する(&U)"
IDOK, IDCANCEL, IDC_OPTION_TAB, IDC_OPTION_START_WITH_WINDOWS = 1, 2, 1401, 1453
IDC_OPTION_BUTTON_FLAT, IDC_OPTION_SMALL_ICON = 1410, 1411
ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
PUBLISHER = "TaviMenu2 developers"
SETUP_FAILED = 2  # the setup's and the uninstaller's exit code for "nothing was done"
WM_KEYDOWN, VK_RIGHT = 0x100, 0x27
BM_GETCHECK, BM_CLICK, BST_CHECKED = 0xF0, 0xF5, 1
COMMAND_BUTTON_CLASS = "TaviCommandButton"
WINE_TRAY_CAPTION = "Wine System Tray"  # Wine's stand-in for a taskbar's notification area
METER, METER_ITEM, IDC_MEMORY_BAR0 = "ﾒﾓﾘ使用量", "ﾒﾓﾘ使用量(&E)", 1601
UNINSTALL_CAPTION = "たびめにゅ～２ アンインストール"
SETUP_CAPTIONS = {"ja": "たびめにゅ～２ セットアップ", "en": "TaviMenu2 Setup"}
REMOVE_LISTS_BOX = "ボタンの一覧と設定も削除する (Launch.ini、TaviLaunch.ini、TaviMenu2.INI、backup フォルダー)"
NSIS_NEXT = 1  # the wizard's button that goes on: 次へ, アンインストール, 閉じる


def setUpModule():
    global SESSION
    for package in (SETUP, ZIP):
        if not package.exists():
            raise harness.HarnessError(f"{package} is missing: run scripts/package.sh first")
    # Wine's menu builder would copy the Start-menu shortcut into this
    # machine's own desktop menus.
    SESSION = harness.Session(env={"WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d"},
                              tools=("tavidriver.exe", "broadcast.exe")).start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def folder_of(variable: str) -> Path:
    """A folder the prefix's user has, by its environment variable (LOCALAPPDATA, APPDATA)."""
    result = SESSION.wine("cmd", "/c", "echo", f"%{variable}%")
    return SESSION.to_linux(result.stdout.decode("cp932").strip())


def pixels(rect: list) -> list:
    """The screen's (r, g, b) pixels inside [left, top, right, bottom], row by row."""
    left, top, right, bottom = rect
    env = dict(os.environ, DISPLAY=SESSION.display)
    data = subprocess.run(["import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                           "-depth", "8", "rgb:-"], env=env, timeout=30, capture_output=True, check=True).stdout
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]


def version_string(program: bytes, key: str) -> str:
    """A value of the version resource's string table: its key, NUL,
    padding to 4 bytes, then the value, NUL-ended, all UTF-16."""
    name = (key + "\0").encode("utf-16-le")
    start = program.find(name, program.find(struct.pack("<I", 0xFEEF04BD)))
    if start < 0:
        return ""
    start += len(name) + (4 - (start + len(name)) % 4) % 4
    end = start
    while program[end:end + 2] != b"\0\0":
        end += 2
    return program[start:end].decode("utf-16-le")


def dark(pixel: tuple) -> bool:
    return max(pixel) < 80


def light(pixel: tuple) -> bool:
    return min(pixel) > 180


class PackageTest(tavi.BarTestCase):
    def setUp(self):
        super().setUp()
        self.install_dir = folder_of("LOCALAPPDATA") / "Programs" / "TaviMenu2"
        self.shortcut = folder_of("APPDATA") / "Microsoft" / "Windows" / "Start Menu" / "Programs" / SHORTCUT_NAME
        self.assertFalse(self.install_dir.exists(), "no installation left by an earlier test")
        self.addCleanup(self.forget_installation)

    def forget_installation(self) -> None:
        for bar in self.bars:
            bar.stop()
        for name in self.run_values():
            SESSION.wine("reg", "delete", RUN_KEY, "/v", name, "/f")
        SESSION.wine("reg", "delete", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/f")
        SESSION.wine("reg", "delete", UNINSTALL_KEY, "/f")
        # The uninstaller's copy in the temporary folder may still be deleting.
        harness.wait_until(lambda: self.remove_tree(self.install_dir), AT_ONCE_S, "the installation removed")
        if self.shortcut.exists():
            self.shortcut.unlink()

    @staticmethod
    def remove_tree(path: Path) -> bool:
        for child in sorted(path.rglob("*"), reverse=True) if path.exists() else []:
            try:
                child.rmdir() if child.is_dir() else child.unlink()
            except FileNotFoundError:
                pass
        try:
            path.rmdir()
        except FileNotFoundError:
            pass
        return not path.exists()

    def install(self, expected: int = 0) -> harness.ProgramFolder:
        pid = SESSION.start_program(SETUP, "/S")
        self.assertEqual(SESSION.wait_exit(pid, INSTALL_S), expected, "the silent setup's exit code")
        return harness.ProgramFolder(SESSION, self.install_dir)

    def uninstall(self) -> int:
        """The uninstaller as a package manager runs it: the record's quiet
        command, which runs in place and ends when its work is done."""
        command = SESSION.reg_values(UNINSTALL_KEY)["QuietUninstallString"]
        exe, args = re.fullmatch(r'"([^"]+)" (.*)', command).groups()
        pid = SESSION.start_program(SESSION.to_linux(exe), args)
        code = SESSION.wait_exit(pid, INSTALL_S)
        # A copy of it removes its own file a moment after it has ended.
        if code == 0:
            harness.wait_until(lambda: not Path(SESSION.to_linux(exe)).exists(), AT_ONCE_S, "the uninstaller's file gone")
        return code

    def run_values(self) -> dict:
        return {name: value for name, value in (SESSION.reg_values(RUN_KEY) or {}).items()
                if name.lower().startswith("tavimenu2")}

    def other_bars(self, *known: int) -> list:
        return [w for w in SESSION.windows(cls=tavi.BAR_CLASS, hidden=True) if w["pid"] not in known]

    def start_installed(self, folder: harness.ProgramFolder) -> tavi.Bar:
        # A bar on the left that stays shown, as a user who set it so.
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        bar = self.start(folder)
        SESSION.call("cursor", x=900, y=700)  # no button under the pointer
        return bar

    # ---- the tests ----

    def test_the_zip_holds_the_program_its_help_the_notices_and_a_readme_in_each_language(self):
        with zipfile.ZipFile(ZIP) as archive:
            names = {info.filename: info for info in archive.infolist()}
            self.assertEqual(sorted(n for n in names if not n.endswith("/")),
                             sorted(f"TaviMenu2/{name}" for name in PROGRAM_FILES))
            self.assertTrue(names[f"TaviMenu2/{README}"].flag_bits & 0x800, "the Japanese name marked as UTF-8")
            self.assertEqual(archive.read("TaviMenu2/TaviMenu2.exe"), harness.PROGRAM_EXE.read_bytes())
            for name, version in ((README, f"バージョン {VERSION}"), (ENGLISH_README, f"version {VERSION}")):
                readme = archive.read(f"TaviMenu2/{name}").decode("utf-8-sig")
                self.assertIn(version, readme, name)
                self.assertIn("\r\n", readme, "line ends for Windows' editor")
            help_page = archive.read("TaviMenu2/TaviMenu2.en.html").decode("utf-8")
            self.assertIn('<html lang="en">', help_page)
            self.assertIn("MIT License", archive.read("TaviMenu2/LICENSE.txt").decode("ascii"))
            notices = archive.read("TaviMenu2/THIRD-PARTY-NOTICES.txt").decode("ascii")
            for part in ("GCC RUNTIME LIBRARY EXCEPTION", "mingw-w64", "winpthreads"):
                self.assertIn(part, notices)
        # The version resource says who made it, and the manifest the same version.
        program = harness.PROGRAM_EXE.read_bytes()
        strings = {key: version_string(program, key) for key in
                   ("CompanyName", "LegalCopyright", "FileDescription", "ProductName", "FileVersion", "ProductVersion")}
        self.assertEqual(strings, {"CompanyName": PUBLISHER, "LegalCopyright": f"Copyright (c) 2026 {PUBLISHER}",
                                   "FileDescription": "たびめにゅ～２－【多機能ランチャー】", "ProductName": "TaviMenu2",
                                   "FileVersion": VERSION, "ProductVersion": VERSION})
        self.assertIn(f'name="TaviMenu2" version="{VERSION}.0"'.encode(), program, "the manifest's version")
        for encoding in ("ascii", "utf-16-le"):
            self.assertNotIn("tavimenu2.example".encode(encoding), program.lower(), "no placeholder address")

    def test_the_installed_program_its_shortcut_and_the_setup_show_the_programs_icon(self):
        self.assertEqual(SESSION.call("icons", file=SESSION.to_windows(SETUP))["sizes"], ICON_SIZES, "the setup's icon")
        folder = self.install()
        exe = folder.win_file("TaviMenu2.exe")
        icons = SESSION.call("icons", file=exe)
        self.assertEqual(icons["sizes"], ICON_SIZES)
        self.assertGreaterEqual(icons["count"], 1, "the shell finds it")
        link = SESSION.call("shortcut", file=SESSION.to_windows(self.shortcut))
        self.assertEqual((link["target"].lower(), link["icon_path"].lower(), link["icon_index"]),
                         (exe.lower(), exe.lower(), 0), "the shortcut shows the program's first icon")
        record = SESSION.reg_values(UNINSTALL_KEY)
        self.assertEqual((record["DisplayIcon"].lower(), record["Publisher"]), (f'"{exe}",0'.lower(), PUBLISHER))

    def test_the_setup_installs_for_the_user_and_the_uninstaller_keeps_the_lists(self):
        folder = self.install()
        for name in PROGRAM_FILES + ["uninstall.exe"]:
            self.assertTrue(folder.exists(name), name)
        self.assertEqual(folder.read_bytes("TaviMenu2.exe"), harness.PROGRAM_EXE.read_bytes())
        exe = folder.win_file("TaviMenu2.exe")
        self.assertTrue(self.shortcut.exists(), "the Start-menu shortcut")
        link = self.shortcut.read_bytes().lower()
        self.assertTrue(exe.lower().encode("utf-16-le") in link or exe.lower().encode("cp932") in link,
                        f"the shortcut starts {exe}")
        record = SESSION.reg_values(UNINSTALL_KEY)
        self.assertEqual((record["DisplayName"], record["DisplayVersion"], record["InstallLocation"].lower()),
                         ("たびめにゅ～２", VERSION, folder.win_path.lower()))
        self.assertEqual(record["QuietUninstallString"].lower(),
                         f'"{folder.win_file("uninstall.exe")}" /s _?={folder.win_path}'.lower())

        # The installed program writes its lists beside itself.
        bar = self.start(folder)
        harness.wait_until(lambda: folder.exists("Launch.ini"), AT_ONCE_S, "Launch.ini beside the program")
        self.assertEqual(bar.tips()[:2], ["C:\\", "ｴｸｽﾌﾟﾛｰﾗ"], "the first run's entries")
        self.assertEqual(bar.close(), 0)
        self.assertTrue(folder.exists("TaviLaunch.ini"), "the settings written at exit")
        SESSION.screenshot("package-installed")
        lists = {name: folder.read_bytes(name) for name in USER_FILES}

        # Installed again over itself, the lists stay as they were.
        self.install()
        self.assertEqual({name: folder.read_bytes(name) for name in USER_FILES}, lists)

        # Registered to start with Windows, as the options dialog does it.
        SESSION.wine("reg", "add", RUN_KEY, "/v", "TaviMenu2", "/d", f'"{exe}"', "/f")
        self.assertEqual(self.uninstall(), 0, "the uninstaller's exit code")
        for name in PROGRAM_FILES + ["uninstall.exe"]:
            self.assertFalse(folder.exists(name), f"{name} removed")
        self.assertEqual({name: folder.read_bytes(name) for name in USER_FILES}, lists, "the lists kept")
        self.assertFalse(self.shortcut.exists(), "the shortcut removed")
        self.assertIsNone(SESSION.reg_values(UNINSTALL_KEY), "the uninstaller's record removed")
        self.assertNotIn("TaviMenu2", SESSION.reg_values(RUN_KEY) or {}, "the start with Windows removed")

    def test_the_setup_speaks_the_language_of_windows(self):
        self.addCleanup(SESSION.set_ui_language, "ja")
        for language, caption in SETUP_CAPTIONS.items():
            SESSION.set_ui_language(language)
            pid = SESSION.start_program(SETUP)
            harness.wait_until(lambda: [w for w in SESSION.windows(pid, cls="#32770") if w["caption"].strip() == caption],
                               INSTALL_S, f"the setup's first page in {language}")
            SESSION.screenshot(f"package-setup-{language}")
            SESSION.call("kill", pid=pid)
            SESSION.wait_exit(pid, AT_ONCE_S)

    def test_the_uninstallers_box_removes_the_lists_too(self):
        folder = self.install()
        bar = self.start(folder)
        harness.wait_until(lambda: folder.exists("Launch.ini"), AT_ONCE_S, "Launch.ini beside the program")
        self.assertEqual(bar.close(), 0)
        folder.write_bytes("backup/Launch_20261208_2042.ini", folder.read_bytes("Launch.ini"))

        SESSION.start_program(folder.file("uninstall.exe"))
        # Its copy in the temporary folder shows the pages: the confirmation, then the box.
        wizard = harness.wait_until(
            lambda: next((w["hwnd"] for w in SESSION.windows(cls="#32770") if w["caption"].strip() == UNINSTALL_CAPTION),
                         None), INSTALL_S, "the uninstaller's window")
        SESSION.press(wizard, id=NSIS_NEXT)

        def box():  # on the page, a dialog inside the wizard's
            return next((w for w in SESSION.windows(cls="Button", caption=REMOVE_LISTS_BOX, children=True)), None)
        found = harness.wait_until(box, AT_ONCE_S, "the box for the lists")
        state = lambda: SESSION.call("send", hwnd=found["hwnd"], msg=BM_GETCHECK, wparam=0, lparam=0)["result"]
        self.assertNotEqual(state(), BST_CHECKED, "the lists are kept unless the user asks")
        SESSION.call("send", hwnd=found["hwnd"], msg=BM_CLICK, wparam=0, lparam=0)
        harness.wait_until(lambda: state() == BST_CHECKED, AT_ONCE_S, "the box ticked")
        SESSION.screenshot("package-uninstall-lists")
        SESSION.press(wizard, id=NSIS_NEXT)
        harness.wait_until(lambda: not self.install_dir.exists(), INSTALL_S, "the program's folder gone with the lists")
        SESSION.call("close", hwnd=wizard)

    def test_in_the_dark_app_mode_the_strip_and_its_buttons_are_dark_and_follow_a_change(self):
        folder = self.install()
        SESSION.wine("reg", "add", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d", "0", "/f")
        bar = self.start_installed(folder)
        buttons = bar.buttons(tips=False)
        left, top, right, bottom = buttons[-1]["rect"]  # a free slot: nothing drawn on it
        free = [left + (right - left) // 2, top + (bottom - top) // 2]
        close = next(w for w in SESSION.windows(bar.pid, cls=COMMAND_BUTTON_CLASS, hidden=True, children=True)
                     if w["caption"] == "閉じる")

        def strip_dark():
            shown = pixels([free[0], free[1], free[0] + 1, free[1] + 1])[0]
            return dark(shown) and shown
        harness.wait_until(strip_dark, AT_ONCE_S, "a dark strip")
        # The buttons paint after the strip: their pixels are waited for too.
        seen = []

        def close_dark():
            # Wine's own tray window comes up where it likes, over the bar's top at times.
            for tray in SESSION.windows(caption=WINE_TRAY_CAPTION):
                SESSION.call("move", hwnd=tray["hwnd"], x=400, y=600)
            seen[:] = pixels(close["rect"])
            return seen if sum(map(dark, seen)) > len(seen) // 2 else None
        try:
            inside = harness.wait_until(close_dark, AT_ONCE_S, "a dark close button")
        except harness.WaitTimeout:
            SESSION.screenshot("package-dark-close")
            raise AssertionError(f"close button at {close['rect']}: {sum(map(dark, seen))} of {len(seen)} dark, "
                                 f"{sorted(set(seen))[:8]}")
        self.assertGreater(sum(map(light, inside)), 0, "with a light cross")

        # The memory meter: a dark window, its bars' empty part dark too.
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, METER_ITEM)
        meter = bar.dialog(METER)
        window = SESSION.window(meter["hwnd"])["client"]
        corner = [window[0] + 2, window[3] - 3, window[0] + 3, window[3] - 2]
        load = SESSION.window(meter["controls"][IDC_MEMORY_BAR0]["hwnd"])["client"]
        empty_end = [load[2] - 2, load[1] + 1, load[2] - 1, load[1] + 2]
        harness.wait_until(lambda: dark(pixels(corner)[0]) and dark(pixels(empty_end)[0]), AT_ONCE_S,
                           "a dark meter")
        SESSION.screenshot("package-dark")
        SESSION.call("close", hwnd=meter["hwnd"])

        # The options dialog: its page, tab strip, boxes and buttons dark, their captions light.
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, OPTIONS_ITEM)
        options = bar.dialog(OPTIONS)
        rect_of = lambda control: SESSION.window(options["controls"][control]["hwnd"])["rect"]
        page, ok, box, tabs = (SESSION.window(options["hwnd"])["client"], rect_of(IDOK), rect_of(IDC_OPTION_BUTTON_FLAT),
                               rect_of(IDC_OPTION_TAB))
        points = {"the page": (page[0] + 3, page[3] - 4), "the OK button's face": (ok[0] + 4, ok[1] + 4),
                  "a check box": (box[0] + 4, (box[1] + box[3]) // 2), "beside the tabs": (tabs[2] - 6, tabs[1] + 4)}
        shown = {}

        def options_dark():
            shown.update({name: pixels([x, y, x + 1, y + 1])[0] for name, (x, y) in points.items()})
            return all(map(dark, shown.values()))
        try:
            harness.wait_until(options_dark, AT_ONCE_S, "a dark options dialog")
        finally:
            SESSION.screenshot("package-dark-options")
        self.assertGreater(sum(map(light, pixels(box))), 0, f"the check box's caption light; {shown}")
        self.assertGreater(sum(map(light, pixels(ok))), 0, "the OK button's caption light")
        SESSION.press(options["hwnd"], id=IDCANCEL)

        # Back to the light app mode: the system announces it, and the bar redraws.
        SESSION.wine("reg", "add", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d", "1", "/f")
        pid = SESSION.start_program(harness.TOOLS_DIR / "broadcast.exe", "ImmersiveColorSet")
        self.assertEqual(SESSION.wait_exit(pid, AT_ONCE_S), 0)
        harness.wait_until(lambda: light(pixels([free[0], free[1], free[0] + 1, free[1] + 1])[0]), AT_ONCE_S,
                           "the strip light again")
        SESSION.screenshot("package-light-again")
        self.assertEqual(bar.close(), 0)

    def options_start_box(self, bar: tavi.Bar, ticked: Optional[bool]) -> bool:
        """Opens the options on the behaviour page, as a user reaches it; sets the
        start-with-Windows box (None: leaves it) and confirms. Returns how the box
        showed when the dialog opened."""
        bar.choose(0, OPTIONS_ITEM)  # from its entry menu: with two bars, their tray icons look alike
        dialog = bar.dialog(OPTIONS)
        box = dialog["controls"][IDC_OPTION_START_WITH_WINDOWS]
        self.assertEqual(box["text"], START_WITH_WINDOWS)
        SESSION.call("post", hwnd=dialog["controls"][IDC_OPTION_TAB]["hwnd"], msg=WM_KEYDOWN, wparam=VK_RIGHT, lparam=0)
        harness.wait_until(lambda: SESSION.window(box["hwnd"])["visible"], AT_ONCE_S, "the behaviour page")
        state = lambda: SESSION.call("send", hwnd=box["hwnd"], msg=BM_GETCHECK, wparam=0, lparam=0)["result"] == BST_CHECKED
        shown = state()
        if ticked is not None and ticked != shown:
            SESSION.call("send", hwnd=box["hwnd"], msg=BM_CLICK, wparam=0, lparam=0)
            harness.wait_until(lambda: state() == ticked, AT_ONCE_S, "the box clicked")
        SESSION.press(dialog["hwnd"], id=IDOK)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770", caption=OPTIONS, hidden=True),
                           AT_ONCE_S, "the options closed")
        return shown

    def test_each_folders_bar_starts_with_windows_by_its_own_run_value(self):
        folder = self.install()
        own = self.start_installed(folder)
        other = self.start(self.bar_folder("other-run"))
        own_exe, other_exe = f'"{folder.win_file("TaviMenu2.exe")}"', f'"{other.folder.win_file("TaviMenu2.exe")}"'

        def values_become(expected: dict) -> None:
            lower = lambda values: {k.lower(): v.lower() for k, v in values.items()}
            harness.wait_until(lambda: lower(self.run_values()) == lower(expected), AT_ONCE_S, f"Run values {expected}")

        self.assertFalse(self.options_start_box(other, True))
        values_become({"TaviMenu2": other_exe})
        self.assertFalse(self.options_start_box(own, True), "the other folder's value is not this bar's")
        values_become({"TaviMenu2": other_exe, "TaviMenu2 (2)": own_exe})
        self.assertTrue(self.options_start_box(other, False))
        values_become({"TaviMenu2 (2)": own_exe})

        # Edited by hand to start another program: no longer this bar's, and left as it is.
        notepad = "C:\\windows\\notepad.exe"
        SESSION.wine("reg", "add", RUN_KEY, "/v", "TaviMenu2 (2)", "/d", notepad, "/f")
        self.assertFalse(self.options_start_box(own, None))
        values_become({"TaviMenu2 (2)": notepad})
        self.assertFalse(self.options_start_box(own, True))
        values_become({"TaviMenu2": own_exe, "TaviMenu2 (2)": notepad})
        SESSION.screenshot("package-start-with-windows")

        # The uninstaller takes this folder's value only; the other bar runs on.
        self.assertFalse(self.options_start_box(other, True))
        values_become({"TaviMenu2": own_exe, "TaviMenu2 (2)": notepad, "TaviMenu2 (3)": other_exe})
        self.assertEqual(self.uninstall(), 0)
        values_become({"TaviMenu2 (2)": notepad, "TaviMenu2 (3)": other_exe})
        self.assertTrue(SESSION.alive(other.pid))
        self.assertEqual(other.close(), 0)

    def test_the_setup_and_the_uninstaller_close_only_their_own_folders_bar(self):
        other = self.start(self.bar_folder("other-setup"))
        folder = self.install()  # no bar of its own running
        own = self.start_installed(folder)

        # An upgrade closes this folder's bar, which saves on its way out, and starts it again.
        self.install()
        self.assertFalse(SESSION.alive(own.pid), "the installed bar was closed")
        restarted = harness.wait_until(lambda: next(iter(self.other_bars(own.pid, other.pid)), None), INSTALL_S,
                                       "the installed bar started again")
        again = tavi.Bar.attach(SESSION, folder, restarted["pid"])
        self.bars.append(again)
        self.assertTrue(SESSION.alive(other.pid), "the other folder's bar runs on")

        # The lists held by another program: the uninstaller removes the
        # program, keeps them, and says it succeeded.
        folder.write_bytes("TaviMenu2.INI", b"")
        held = [SESSION.call("file_hold", path=folder.win_file(name))["handle"] for name in ("Launch.ini", "TaviMenu2.INI")]
        try:
            self.assertEqual(self.uninstall(), 0, "the uninstaller's exit code")
        finally:
            for handle in held:
                SESSION.call("file_release", handle=handle)
        self.assertFalse(SESSION.alive(again.pid), "the installed bar was closed")
        for name in PROGRAM_FILES + ["uninstall.exe"]:
            self.assertFalse(folder.exists(name), f"{name} removed")
        self.assertTrue(folder.exists("Launch.ini") and folder.exists("TaviMenu2.INI"), "the lists kept")
        self.assertIsNone(SESSION.reg_values(UNINSTALL_KEY), "the record removed")
        self.assertTrue(SESSION.alive(other.pid), "the other folder's bar runs on")
        self.assertEqual(other.close(), 0)

    def test_a_bar_that_does_not_answer_stops_the_setup_before_anything_changes(self):
        folder = self.install()
        bar = self.start_installed(folder)
        folder.file("TaviMenu2.html").unlink()
        stopped = SESSION.linux_pid("TaviMenu2.exe", folder.win_path)
        os.kill(stopped, signal.SIGSTOP)
        try:
            self.install(expected=SETUP_FAILED)
        finally:
            os.kill(stopped, signal.SIGCONT)
        self.assertFalse(folder.exists("TaviMenu2.html"), "nothing was installed")
        self.assertTrue(SESSION.alive(bar.pid))
        self.assertEqual(bar.close(), 0)

    def test_the_manifests_name_the_packages_by_their_addresses_and_hashes(self):
        with tempfile.TemporaryDirectory(prefix="tavi-manifests-") as out:
            url = "https://example.org/TaviMenu2/v{version}/"
            subprocess.run([sys.executable, str(harness.REPO / "scripts" / "manifests.py"), VERSION, PUBLISHER, url,
                            str(ZIP), str(SETUP), out], check=True, capture_output=True)
            winget = {p.name: p.read_text(encoding="utf-8") for p in (Path(out) / "winget").iterdir()}
            self.assertEqual(sorted(winget), ["TaviMenu2.TaviMenu2.installer.yaml", "TaviMenu2.TaviMenu2.locale.ja-JP.yaml",
                                              "TaviMenu2.TaviMenu2.yaml"])
            # key: value lines, texts in quotes (the one list's items start with "- ").
            fields = {name: {key: json.loads(value) if value.startswith('"') else value
                             for key, value in re.findall(r"^(?:- )? *(\w+): (.*)$", text, re.M)}
                      for name, text in winget.items()}
            for name, values in fields.items():
                self.assertEqual((values["PackageIdentifier"], values["PackageVersion"]), ("TaviMenu2.TaviMenu2", VERSION),
                                 name)
                self.assertGreaterEqual(tuple(map(int, values["ManifestVersion"].split("."))), (1, 6, 0), name)
            installer = fields["TaviMenu2.TaviMenu2.installer.yaml"]
            self.assertEqual((installer["InstallerType"], installer["Scope"]), ("nullsoft", "user"))
            self.assertEqual(installer["InstallerUrl"], f"https://example.org/TaviMenu2/v{VERSION}/{SETUP.name}")
            self.assertEqual(installer["InstallerSha256"], hashlib.sha256(SETUP.read_bytes()).hexdigest().upper())
            locale = fields["TaviMenu2.TaviMenu2.locale.ja-JP.yaml"]
            self.assertEqual(locale["PackageLocale"], fields["TaviMenu2.TaviMenu2.yaml"]["DefaultLocale"])
            self.assertEqual({key: locale[key] for key in ("Publisher", "PackageName", "License")},
                             {"Publisher": PUBLISHER, "PackageName": "たびめにゅ～２", "License": "MIT"})
            self.assertTrue(locale["ShortDescription"])
            scoop = json.loads((Path(out) / "scoop" / "tavimenu2.json").read_text(encoding="utf-8"))
            self.assertEqual((scoop["version"], scoop["url"], scoop["hash"], scoop["bin"]),
                             (VERSION, f"https://example.org/TaviMenu2/v{VERSION}/{ZIP.name}",
                              hashlib.sha256(ZIP.read_bytes()).hexdigest(), "TaviMenu2.exe"))
            self.assertEqual(scoop["persist"], ["Launch.ini", "TaviLaunch.ini", "TaviMenu2.INI"])


if __name__ == "__main__":
    unittest.main()
