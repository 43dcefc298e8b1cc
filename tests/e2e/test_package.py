"""The packages a Windows user downloads (scripts/package.sh), under Wine: the
setup installs the program for the user alone, the installed bar writes its
lists beside itself, follows the dark app mode and registers itself to start
with Windows, and the uninstaller takes the program away and keeps the lists."""

from __future__ import annotations

import os
import subprocess
import unittest
import zipfile
from pathlib import Path

import harness
import tavi

SESSION: harness.Session

VERSION = ".".join(str(n) for n in harness.program_version())
PACKAGE_DIR = harness.BUILD / "package"
SETUP = PACKAGE_DIR / f"TaviMenu2-{VERSION}-setup.exe"
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
START_WITH_WINDOWS = "Windows の起動時に実行する(&W)"
IDOK, IDC_OPTION_TAB, IDC_OPTION_START_WITH_WINDOWS = 1, 1401, 1453
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
        for key, value in ((RUN_KEY, "TaviMenu2"), (PERSONALIZE_KEY, "AppsUseLightTheme")):
            SESSION.wine("reg", "delete", key, "/v", value, "/f")
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

    def install(self) -> harness.ProgramFolder:
        pid = SESSION.start_program(SETUP, "/S")
        self.assertEqual(SESSION.wait_exit(pid, INSTALL_S), 0, "the silent setup's exit code")
        return harness.ProgramFolder(SESSION, self.install_dir)

    def uninstall(self, folder: harness.ProgramFolder) -> None:
        pid = SESSION.start_program(folder.file("uninstall.exe"), "/S")
        # The uninstaller copies itself to the temporary folder and returns at
        # once: the files going is the sign, not the process.
        SESSION.wait_exit(pid, INSTALL_S)
        harness.wait_until(lambda: not folder.exists("uninstall.exe"), INSTALL_S, "the uninstaller to finish")

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
                         f'"{folder.win_file("uninstall.exe")}" /s'.lower())

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
        self.uninstall(folder)
        for name in PROGRAM_FILES:
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

        # Back to the light app mode: the system announces it, and the bar redraws.
        SESSION.wine("reg", "add", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d", "1", "/f")
        pid = SESSION.start_program(harness.TOOLS_DIR / "broadcast.exe", "ImmersiveColorSet")
        self.assertEqual(SESSION.wait_exit(pid, AT_ONCE_S), 0)
        harness.wait_until(lambda: light(pixels([free[0], free[1], free[0] + 1, free[1] + 1])[0]), AT_ONCE_S,
                           "the strip light again")
        SESSION.screenshot("package-light-again")
        self.assertEqual(bar.close(), 0)

    def test_the_start_with_windows_box_writes_and_removes_the_run_value(self):
        folder = self.install()
        bar = self.start_installed(folder)
        expected = f'"{folder.win_file("TaviMenu2.exe")}"'

        def set_box(ticked: bool) -> None:
            bar.tray_menu()
            SESSION.choose_menu(bar.pid, bar.hwnd, OPTIONS_ITEM)
            dialog = bar.dialog(OPTIONS)
            box = dialog["controls"][IDC_OPTION_START_WITH_WINDOWS]
            self.assertEqual(box["text"], START_WITH_WINDOWS)
            # The behaviour page, one step right of the first, as a user reaches it.
            SESSION.call("post", hwnd=dialog["controls"][IDC_OPTION_TAB]["hwnd"], msg=WM_KEYDOWN, wparam=VK_RIGHT,
                         lparam=0)
            harness.wait_until(lambda: SESSION.window(box["hwnd"])["visible"], AT_ONCE_S, "the behaviour page")
            state = lambda: SESSION.call("send", hwnd=box["hwnd"], msg=BM_GETCHECK, wparam=0, lparam=0)["result"]
            self.assertEqual(state() == BST_CHECKED, not ticked, "the box shows the registry as it is")
            SESSION.call("send", hwnd=box["hwnd"], msg=BM_CLICK, wparam=0, lparam=0)
            harness.wait_until(lambda: (state() == BST_CHECKED) == ticked, AT_ONCE_S, "the box clicked")
            SESSION.screenshot(f"package-start-with-windows-{'on' if ticked else 'off'}")
            SESSION.press(dialog["hwnd"], id=IDOK)
            harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770", caption=OPTIONS, hidden=True),
                               AT_ONCE_S, "the options closed")

        set_box(True)
        value = harness.wait_until(lambda: (SESSION.reg_values(RUN_KEY) or {}).get("TaviMenu2"), AT_ONCE_S,
                                   "the Run value")
        self.assertEqual(value.lower(), expected.lower())
        set_box(False)  # shown ticked, as the value names this program
        harness.wait_until(lambda: "TaviMenu2" not in (SESSION.reg_values(RUN_KEY) or {}), AT_ONCE_S,
                           "the Run value removed")
        self.assertEqual(bar.close(), 0)


if __name__ == "__main__":
    unittest.main()
