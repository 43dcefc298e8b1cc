"""The options dialog, the file properties, the memory meter and the
update-check registration of TaviMenu2 under Wine, opened from the tray and
entry menus and read by control id."""

from __future__ import annotations

import hashlib
import os
import re
import subprocess
import time
import unittest
from pathlib import Path

import harness
import tavi

SESSION: harness.Session

IDOK, IDCANCEL = 1, 2
WM_NULL, WM_KEYDOWN, WM_CHAR = 0x0, 0x100, 0x102
VK_ESCAPE, VK_RIGHT = 0x1B, 0x27
BM_GETCHECK, BM_CLICK, BST_CHECKED = 0xF0, 0xF5, 1
CB_SETCURSEL = 0x14E
WS_DISABLED = 0x08000000

OPTIONS = "ｵﾌﾟｼｮﾝ"
OPTIONS_ITEM = "ｵﾌﾟｼｮﾝ(&O)..."
IDC_OPTION_TAB, IDC_OPTION_SMALL_ICON = 1401, 1411
IDC_OPTION_POSITION_TOP, IDC_OPTION_POSITION_LEFT = 1415, 1417
IDC_OPTION_HOUR0, IDC_OPTION_MINUTE0 = 1480, 1490
IDC_OPTION_EX_MENU_COUNT = 1441
IDC_OPTION_CLEAR_USES = 1429
TIMER_PAGE = 2

PROPERTIES_ITEM = "ﾌﾟﾛﾊﾟﾃｨ(&R)..."
IDC_FILEINFO_NAME, IDC_FILEINFO_PLACE0, IDC_FILEINFO_ACSESS0, IDC_FILEINFO_ATTRIBUTE0 = 1553, 1557, 1564, 1569

METER = "ﾒﾓﾘ使用量"
METER_ITEM = "ﾒﾓﾘ使用量(&E)"
IDC_MEMORY_BAR0, IDC_MEMORY_TOTAL, IDC_MEMORY_AVAIL = 1601, 1610, 1612
METER_REFRESH_S = 5.0        # the meter reads the system again every 5 s
# OK lays the bar out again and writes the settings before the dialog's call
# returns, and no command here waits for anything: this limit only allows for
# a loaded machine.
AT_ONCE_S = 5.0
# A dialog, and the registration made right after the bar has come up.
DIALOG_S = 10.0
NAVY = (0, 0, 128)           # the bars' filled part

UPCHECK_ROOT = "HKCU\\Software\\Upcheck"
UPCHECK_PROGRAM = UPCHECK_ROOT + "\\tavi@example.jp\\TaviMenu2"  # a record the checker keeps

# A 32x32 bar on the left of a 1280x1024 screen; with 16x16 icons it is 24 + 1
# pixels thick and its buttons are the icon and a 7-pixel margin.
LEFT_BAR_32 = [0, 0, 41, 1025]
LEFT_BAR_16 = [0, 0, 25, 1025]
TOP_BAR_32 = [0, 0, 1282, 41]
BUTTON_16 = 16 + 7
WEEKDAYS = "月火水木金土日"  # time.struct_tm counts from Monday


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


# ---- helpers ------------------------------------------------------------------

def ini_values(data: bytes) -> dict:
    """'Section/Key' -> value of a settings file."""
    values, section = {}, ""
    for line in data.decode("cp932").splitlines():
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line:
            key, value = line.split("=", 1)
            values[f"{section}/{key}"] = value
    return values


def program_build() -> int:
    """The build the program reports to the checker: major*10000 + minor*100 + revision
    of the version resource, which takes them from project(VERSION)."""
    major, minor, revision = harness.program_version()
    return major * 10000 + minor * 100 + revision


def wine(*args: str) -> subprocess.CompletedProcess:
    return SESSION.wine(*args)


def reg_values(key: str):
    return SESSION.reg_values(key)


def reg_delete_tree(key: str) -> None:
    """Deletes a key and all below it. On a loaded machine Wine's reg.exe has
    been seen to fail once and succeed when asked again, so it is asked until
    the key is gone or the limit of a dialog's wait is reached."""
    failures = []

    def gone() -> bool:
        if reg_values(key) is None:
            return True
        result = wine("reg", "delete", key, "/f")
        if result.returncode != 0:
            failures.append(f"{result.returncode}: {result.stderr.decode('cp932', errors='replace').strip()}")
        return reg_values(key) is None

    try:
        harness.wait_until(gone, DIALOG_S, f"{key} deleted")
    except harness.WaitTimeout as timeout:
        raise harness.HarnessError(f"could not delete {key}: {failures[-3:]}") from timeout


def screen_frame() -> bytes:
    """The whole screen as raw RGB bytes, row by row."""
    env = dict(os.environ, DISPLAY=SESSION.display)
    return subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=env, timeout=30,
                          capture_output=True, check=True).stdout


def settled_screenshot(name: str) -> Path:
    """A screenshot once two frames in a row are the same: a page switch paints its
    controls one by one. A blinking caret never settles; the picture is taken anyway."""
    frames = []

    def settled():
        frames.append(hashlib.sha1(screen_frame()).digest())
        return len(frames) > 1 and frames[-1] == frames[-2]

    try:
        harness.wait_until(settled, 5, "the screen to settle", interval=0.1)
    except harness.WaitTimeout:
        pass
    return SESSION.screenshot(name)


def local_stamp(seconds: float) -> str:
    """A file time as the properties show it: 2003年4月5日 土曜日 9:5:7."""
    t = time.localtime(seconds)
    return (f"{t.tm_year}年{t.tm_mon}月{t.tm_mday}日 {WEEKDAYS[t.tm_wday]}曜日 "
            f"{t.tm_hour}:{t.tm_min}:{t.tm_sec}")


def kilobytes(text: str) -> int:
    match = re.fullmatch(r"(\d{1,3}(?:,\d{3})*) KB", text)
    if not match:
        raise AssertionError(f"{text!r} is not a whole number of kilobytes in groups of three")
    return int(match.group(1).replace(",", ""))


class OptionsBase(tavi.BarTestCase):
    NOTEPAD = ("Notepad", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")

    def folder(self, name: str, entries=(NOTEPAD,)) -> harness.ProgramFolder:
        folder = SESSION.program_folder(name, [harness.PROGRAM_EXE])
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        return folder

    def text(self, hwnd: int) -> str:
        return SESSION.call("get_text", hwnd=hwnd)["text"]

    def wait_dialog_closed(self, bar: tavi.Bar, caption: str) -> None:
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770", caption=caption, hidden=True), DIALOG_S,
                           f"the {caption} window gone")

    def wait_settings(self, folder: harness.ProgramFolder, expected: dict) -> dict:
        """Waits for TaviLaunch.ini to hold the expected values; returns all of its values."""
        def written():
            values = ini_values(folder.read_bytes("TaviLaunch.ini"))
            return values if all(values.get(key) == value for key, value in expected.items()) else None
        return harness.wait_until(written, AT_ONCE_S, f"TaviLaunch.ini with {expected}")

    def settle(self, bar: tavi.Bar) -> None:
        """Returns once the bar's thread has finished what it was doing and takes messages again."""
        SESSION.call("send", hwnd=bar.hwnd, msg=WM_NULL, wparam=0, lparam=0, timeout_ms=int(DIALOG_S * 1000))


# ---- the options dialog -------------------------------------------------------

class OptionsDialogTest(OptionsBase):
    def open_options(self, bar: tavi.Bar) -> dict:
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, OPTIONS_ITEM)
        return bar.dialog(OPTIONS)

    def choose(self, dialog: dict, control: int, caption: str) -> None:
        """Clicks an option button. BM_CLICK, not an X click: Wine may drop an X press
        that follows the closing of a menu (tests/e2e/README.md)."""
        button = dialog["controls"][control]
        self.assertEqual(button["text"], caption)
        SESSION.call("send", hwnd=button["hwnd"], msg=BM_CLICK, wparam=0, lparam=0)
        harness.wait_until(lambda: SESSION.call("send", hwnd=button["hwnd"], msg=BM_GETCHECK, wparam=0,
                                                lparam=0)["result"] == BST_CHECKED, AT_ONCE_S,
                           f"{caption} chosen")

    def show_page(self, dialog: dict, page: int) -> None:
        """Steps the tabs right with the arrow key, as a user would from the first tab."""
        tab = dialog["controls"][IDC_OPTION_TAB]["hwnd"]
        for _ in range(page):
            SESSION.call("post", hwnd=tab, msg=WM_KEYDOWN, wparam=VK_RIGHT, lparam=0)

    def ok(self, bar: tavi.Bar, dialog: dict) -> None:
        SESSION.press(dialog["hwnd"], id=IDOK)
        self.wait_dialog_closed(bar, OPTIONS)

    def test_choosing_top_moves_the_bar_at_once_and_writes_the_settings(self):
        folder = self.folder("options-top")
        bar = self.start(folder)
        self.assertEqual(bar.window()["rect"], LEFT_BAR_32)
        dialog = self.open_options(bar)
        self.choose(dialog, IDC_OPTION_POSITION_TOP, "上端")
        settled_screenshot("options-top-chosen")
        self.ok(bar, dialog)
        harness.wait_until(lambda: bar.window()["rect"] == TOP_BAR_32, AT_ONCE_S, "the bar along the top edge")
        probe = [0, 0, SESSION.width, 100]
        self.assertEqual(SESSION.call("appbar_query", edge="top", rect=probe)["rect"], [0, 41, SESSION.width, 100],
                         "the top strip reserved for the bar")
        buttons = bar.buttons()
        self.assertEqual({b["rect"][1] for b in buttons}, {0}, "one row of buttons")
        self.assertEqual(buttons[0]["tip"], "Notepad")
        # IniBuff: topmost 1, 0, edge code 2, tooltips 1, horizontal 1, save on exit 1,
        # icon size 0, auto-hide 0, delay 1.
        written = self.wait_settings(folder, {"IniBuff/IniBuff": "102111001", "Place/SaveX": "0",
                                              "Place/SaveY": "0"})
        self.assertEqual(written["Option/ExMenuCount"], "10", "the other settings written as they were")
        settled_screenshot("options-top-docked")

    def test_a_smaller_icon_size_lays_the_bar_out_again(self):
        folder = self.folder("options-icon-size")
        bar = self.start(folder)
        before = bar.buttons_drawn()
        self.assertEqual({(b["rect"][2] - b["rect"][0], b["rect"][3] - b["rect"][1]) for b in before}, {(39, 39)})
        dialog = self.open_options(bar)
        combo = dialog["controls"][IDC_OPTION_SMALL_ICON]["hwnd"]
        SESSION.call("send", hwnd=combo, msg=CB_SETCURSEL, wparam=1, lparam=0)
        self.assertEqual(self.text(combo), "16×16")
        self.ok(bar, dialog)
        harness.wait_until(lambda: bar.window()["rect"] == LEFT_BAR_16, AT_ONCE_S, "a bar 25 pixels thick")
        after = bar.buttons_drawn()
        self.assertEqual({(b["rect"][2] - b["rect"][0], b["rect"][3] - b["rect"][1]) for b in after},
                         {(BUTTON_16, BUTTON_16)}, "every button the new size")
        tops = [b["rect"][1] for b in after]
        self.assertEqual(tops, [tops[0] + BUTTON_16 * i for i in range(len(after))], "one column, no gaps")
        self.assertLessEqual(tops[-1] + BUTTON_16, LEFT_BAR_16[3], "the last button inside the bar")
        self.assertGreater(len(after), len(before), "more buttons fit")
        self.assertEqual((after[0]["tip"], after[0]["image"]), (before[0]["tip"], before[0]["image"]))
        self.wait_settings(folder, {"IniBuff/IniBuff": "103101101"})
        settled_screenshot("options-icon-16")

    def test_cancel_changes_neither_the_file_nor_the_bar(self):
        folder = self.folder("options-cancel")
        bar = self.start(folder)
        settings = folder.read_bytes("TaviLaunch.ini")
        window, buttons = bar.window()["rect"], bar.buttons()
        dialog = self.open_options(bar)
        self.choose(dialog, IDC_OPTION_POSITION_TOP, "上端")
        SESSION.call("send", hwnd=dialog["controls"][IDC_OPTION_SMALL_ICON]["hwnd"], msg=CB_SETCURSEL,
                     wparam=1, lparam=0)
        SESSION.press(dialog["hwnd"], id=IDCANCEL)
        self.wait_dialog_closed(bar, OPTIONS)
        self.settle(bar)
        self.assertEqual(bar.window()["rect"], window)
        self.assertEqual(bar.buttons(), buttons)
        self.assertEqual(folder.read_bytes("TaviLaunch.ini"), settings)
        again = self.open_options(bar)
        left = SESSION.call("send", hwnd=again["controls"][IDC_OPTION_POSITION_LEFT]["hwnd"], msg=BM_GETCHECK,
                            wparam=0, lparam=0)["result"]
        self.assertEqual((left, again["controls"][IDC_OPTION_SMALL_ICON]["text"]), (BST_CHECKED, "32×32"),
                         "the next opening shows the settings as they were")
        SESSION.press(again["hwnd"], id=IDCANCEL)
        self.wait_dialog_closed(bar, OPTIONS)

    def test_clear_use_counts_empties_this_pcs_file_at_once(self):
        folder = self.folder("options-clear-uses")
        name = SESSION.wine("cmd", "/c", "echo %COMPUTERNAME%").stdout.decode("cp932").strip()
        pc_file = f"TaviMenu2.{name}.pc"
        folder.write_text(pc_file, "TaviMenu2 pc 1\n[Uses]\n29948154\t3\tc:\\windows\\notepad.exe\t\n")
        cleared = b"TaviMenu2 pc 1\r\n[Uses]\r\n"
        bar = self.start(folder)
        dialog = self.open_options(bar)
        button = dialog["controls"][IDC_OPTION_CLEAR_USES]
        self.assertEqual(button["text"], "使用回数をｸﾘｱ(&U)")
        self.assertFalse(button["style"] & WS_DISABLED, "uses to clear")
        SESSION.call("send", hwnd=button["hwnd"], msg=BM_CLICK, wparam=0, lparam=0)
        harness.wait_until(lambda: folder.read_bytes(pc_file) == cleared, AT_ONCE_S, "the uses cleared in the file")
        self.assertTrue(bar.dialog(OPTIONS)["controls"][IDC_OPTION_CLEAR_USES]["style"] & WS_DISABLED,
                        "nothing left to clear")
        SESSION.press(dialog["hwnd"], id=IDCANCEL)
        self.wait_dialog_closed(bar, OPTIONS)
        self.assertEqual(folder.read_bytes(pc_file), cleared, "Cancel brings nothing back")

    def test_an_alarm_typed_with_a_leading_space_comes_back_as_07_30(self):
        folder = self.folder("options-alarm")
        bar = self.start(folder)
        dialog = self.open_options(bar)
        self.show_page(dialog, TIMER_PAGE)
        hour, minute = dialog["controls"][IDC_OPTION_HOUR0]["hwnd"], dialog["controls"][IDC_OPTION_MINUTE0]["hwnd"]
        harness.wait_until(lambda: SESSION.window(hour)["visible"], AT_ONCE_S, "the timer page")
        # Typed: the characters go through the dialog's keyboard handling and the boxes' filters.
        for box, typed in ((hour, " 7"), (minute, "30")):
            for character in typed:
                SESSION.call("post", hwnd=box, msg=WM_CHAR, wparam=ord(character), lparam=0)
        harness.wait_until(lambda: (self.text(hour), self.text(minute)) == (" 7", "30"), AT_ONCE_S, "the typed time")
        settled_screenshot("options-alarm-typed")
        self.ok(bar, dialog)
        # Kept with its space, " 730" would lose the space when read back and every
        # slot would move one character: 07:30 would come back as 73:00.
        harness.wait_until(lambda: ini_values(folder.read_bytes("TaviLaunch.ini")).get("Time/Time", "")
                           .startswith("0730"), AT_ONCE_S, "Time written as 0730")
        self.assertEqual(bar.close(), 0)
        self.assertEqual(ini_values(folder.read_bytes("TaviLaunch.ini"))["Time/Time"], "0730" + "0" * 36)

        bar = self.start(folder)
        dialog = self.open_options(bar)
        self.show_page(dialog, TIMER_PAGE)
        hour, minute = dialog["controls"][IDC_OPTION_HOUR0]["hwnd"], dialog["controls"][IDC_OPTION_MINUTE0]["hwnd"]
        self.assertEqual((self.text(hour), self.text(minute)), ("07", "30"))
        self.assertEqual([self.text(dialog["controls"][IDC_OPTION_HOUR0 + i]["hwnd"]) for i in range(1, 10)],
                         [""] * 9, "the empty slots stay empty")
        harness.wait_until(lambda: SESSION.window(hour)["visible"], AT_ONCE_S, "the timer page")
        settled_screenshot("options-alarm-reopened")
        SESSION.press(dialog["hwnd"], id=IDCANCEL)
        self.wait_dialog_closed(bar, OPTIONS)

    def test_ok_over_settings_held_since_the_start_writes_none_of_the_defaults_shown(self):
        folder = self.folder("options-held")
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(
            tavi.INIBUFF_LEFT_SHOWN, ExMenuCount="20", Monitor="\\\\.\\DISPLAY7") + tavi.cp932_lines(
            ["[DragDrop]", "DragDrop=0", "[Time]", "Time=0730121500000000000000000000000000000000", "WaveFile=C:\\ｱﾗｰﾑ.wav"]))
        before = folder.read_bytes("TaviLaunch.ini")
        held = SESSION.call("file_hold", path=folder.win_file("TaviLaunch.ini"))["handle"]
        try:
            bar = self.start(folder)
            box = SESSION.wait_message_box(bar.pid, DIALOG_S * 2)
            self.assertIn("TaviLaunch.ini", box.message)
            SESSION.press(box.hwnd, text="OK")
            dialog = self.open_options(bar)
            self.assertEqual(dialog["controls"][IDC_OPTION_EX_MENU_COUNT]["text"], "10", "the defaults shown")
            SESSION.press(dialog["hwnd"], id=IDOK)
            box = SESSION.wait_message_box(bar.pid, DIALOG_S, other_than=dialog["hwnd"])
            self.assertIn("オプションを保存できません", box.message)
            SESSION.press(box.hwnd, text="OK")
        finally:
            SESSION.call("file_release", handle=held)
        self.assertEqual(folder.read_bytes("TaviLaunch.ini"), before, "nothing written while held")
        self.assertTrue(SESSION.windows(bar.pid, cls="#32770", caption=OPTIONS), "the options stay open")

        SESSION.press(dialog["hwnd"], id=IDOK)
        box = SESSION.wait_message_box(bar.pid, DIALOG_S, other_than=dialog["hwnd"])
        self.assertIn("読み直しました", box.message)
        SESSION.press(box.hwnd, text="OK")
        harness.wait_until(lambda: self.text(dialog["controls"][IDC_OPTION_EX_MENU_COUNT]["hwnd"]) == "20",
                           AT_ONCE_S, "the file's values shown")
        self.ok(bar, dialog)
        self.assertEqual(bar.close(), 0)
        values = ini_values(folder.read_bytes("TaviLaunch.ini"))
        self.assertEqual({key: values.get(key) for key in ("Option/ExMenuCount", "DragDrop/DragDrop", "Option/Monitor",
                                                          "Time/Time", "Time/WaveFile")},
                         {"Option/ExMenuCount": "20", "DragDrop/DragDrop": "0", "Option/Monitor": "\\\\.\\DISPLAY7",
                          "Time/Time": "0730121500000000000000000000000000000000", "Time/WaveFile": "C:\\ｱﾗｰﾑ.wav"})


# ---- file properties ----------------------------------------------------------

class FilePropertiesTest(OptionsBase):
    DOC_CLASS = "TaviMenu2.TestDocument"
    DOC_TYPE = "たびﾃｽﾄ文書"

    def register_type(self) -> None:
        classes = "HKLM\\Software\\Classes"
        for key, value in ((f"{classes}\\.tavidoc", self.DOC_CLASS), (f"{classes}\\{self.DOC_CLASS}", self.DOC_TYPE)):
            SESSION._wine_quietly("reg", "add", key, "/ve", "/d", value, "/f")
            self.addCleanup(reg_delete_tree, key)

    def test_the_properties_show_exact_size_times_and_type(self):
        self.register_type()
        folder = SESSION.program_folder("properties", [harness.PROGRAM_EXE])
        modified = time.mktime((2003, 4, 5, 9, 5, 7, 0, 0, -1))
        accessed = time.mktime((2004, 11, 22, 23, 58, 1, 0, 0, -1))
        small = folder.write_bytes("日本語の資料.tavidoc", b"\x81\x40" * 617283 + b"!")  # 1,234,567 bytes
        os.utime(small, (accessed, modified))
        small.chmod(0o444)
        # Sparse files just past the signed 32-bit limit and past 4 GB.
        files = [(small, 1234567, self.DOC_TYPE, True)]
        for name, size in (("境目の大きさ.tavibig", 2 ** 31 + 1), ("とても大きい.tavibig", 6 * 2 ** 30 + 5)):
            subprocess.run(["truncate", "-s", str(size), str(folder.path / name)], check=True)
            self.addCleanup(os.remove, folder.path / name)
            files.append((folder.path / name, size, "TAVIBIG ﾌｧｲﾙ", False))
        # The bar takes its pictures from notepad: the files themselves are never read,
        # so their access times stay as they are.
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
        folder.write_bytes("Launch.ini", tavi.launch_ini(
            (path.stem, SESSION.to_windows(path), "", "0", "C:\\windows\\notepad.exe", "0") for path, *_ in files))
        bar = self.start(folder)
        for position, (path, size, type_name, read_only) in enumerate(files):
            with self.subTest(file=path.name):
                bar.choose(position, PROPERTIES_ITEM)
                caption = path.name + "のﾌﾟﾛﾊﾟﾃｨ"

                def read(caption=caption):
                    # Read by a worker: the dialog may show a moment before its file answers.
                    shown = bar.dialog(caption)
                    return shown if shown["controls"][IDC_FILEINFO_PLACE0 + 2]["text"] != "<不明>" else None
                dialog = harness.wait_until(read, 10, "the file's details")
                values = {i: c["text"] for i, c in dialog["controls"].items()}
                enabled = [not dialog["controls"][IDC_FILEINFO_ATTRIBUTE0 + i]["style"] & WS_DISABLED
                           for i in range(5)]
                settled_screenshot(f"properties-{position}")
                SESSION.press(dialog["hwnd"], id=IDOK)
                self.wait_dialog_closed(bar, caption)
                stat = path.stat()
                short = wine("winepath", "-s", str(path)).stdout.decode("cp932").strip()
                self.assertEqual(
                    [values[IDC_FILEINFO_NAME], *(values[IDC_FILEINFO_PLACE0 + i] for i in range(3)),
                     *(values[IDC_FILEINFO_ACSESS0 + i] for i in range(4))],
                    [path.name, type_name, folder.win_path, f"{size:,}ﾊﾞｲﾄ", re.split(r"[\\/]", short)[-1],
                     # Wine on Linux has no birth time and reports the last change as the creation.
                     local_stamp(stat.st_mtime), local_stamp(stat.st_mtime), local_stamp(stat.st_atime)])
                # Read-only, hidden, archive, system, compressed: Wine marks every file for archiving.
                self.assertEqual(enabled, [read_only, False, True, False, False])
        self.assertEqual(local_stamp(modified), "2003年4月5日 土曜日 9:5:7")
        self.assertEqual(small.stat().st_atime, accessed, "opening the properties did not read the file")


# ---- the memory meter ---------------------------------------------------------

class MemoryMeterTest(OptionsBase):
    def open_meter(self, bar: tavi.Bar) -> dict:
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, METER_ITEM)
        dialog = bar.dialog(METER)
        harness.wait_until(lambda: self.text(dialog["controls"][IDC_MEMORY_TOTAL]["hwnd"]), AT_ONCE_S, "the figures")
        return dialog

    def bar_fill(self, client: list) -> int:
        """Navy pixels along the top row of a bar's inside: the text sits lower, in its middle."""
        left, top, right, _ = client
        frame, width = screen_frame(), SESSION.width
        row = [tuple(frame[(top * width + x) * 3:(top * width + x) * 3 + 3]) for x in range(left, right)]
        return sum(1 for pixel in row if pixel == NAVY)

    def test_the_meter_shows_the_load_and_physical_memory_of_the_system(self):
        bar = self.start(self.folder("meter-figures"))
        first = SESSION.call("memory_status")
        dialog = self.open_meter(bar)
        controls = dialog["controls"]
        total = kilobytes(self.text(controls[IDC_MEMORY_TOTAL]["hwnd"]))
        available = kilobytes(self.text(controls[IDC_MEMORY_AVAIL]["hwnd"]))
        last = SESSION.call("memory_status")
        self.assertEqual(total, last["total_phys"] // 1024)
        with open("/proc/meminfo") as meminfo:
            mem_total = int(re.search(r"MemTotal:\s+(\d+) kB", meminfo.read()).group(1))
        self.assertLess(abs(total - mem_total), 1024, "the machine's own memory, within a megabyte")
        # Free memory moves while others work: between the readings before and after, with slack.
        slack = total // 20
        low = min(first["avail_phys"], last["avail_phys"]) // 1024 - slack
        high = max(first["avail_phys"], last["avail_phys"]) // 1024 + slack
        self.assertTrue(low <= available <= high, f"{available} KB free, the system had {low + slack}..{high - slack}")

        # The load bar fills its share of the width; the shown figure moves as the load does.
        client = SESSION.window(controls[IDC_MEMORY_BAR0]["hwnd"])["client"]
        width = client[2] - client[0]

        def matches_load():
            loads = [first["load"], SESSION.call("memory_status")["load"]]
            filled = self.bar_fill(client)
            return any(abs(filled - round(width * load / 100)) <= 1
                       for load in range(max(min(loads) - 1, 0), max(loads) + 2))
        harness.wait_until(matches_load, 2 * METER_REFRESH_S, "the load bar filled as the system's load")
        settled_screenshot("meter")

    def test_escape_closes_the_meter(self):
        bar = self.start(self.folder("meter-escape"))
        dialog = self.open_meter(bar)
        # Posted, the key reaches the bar's own message loop without X focus; only the
        # loop's IsDialogMessage turns Escape into the meter's Cancel.
        SESSION.call("post", hwnd=dialog["controls"][IDOK]["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
        self.wait_dialog_closed(bar, METER)
        self.assertTrue(SESSION.alive(bar.pid))
        self.open_meter(bar)  # and it opens again


# ---- the update-check registration ----------------------------------------------

class UpdateCheckTest(OptionsBase):
    def setUp(self):
        super().setUp()
        self.assertIsNone(reg_values(UPCHECK_ROOT), "no checker left by an earlier test")

    def install_checker(self, **builds: int) -> None:
        self.addCleanup(reg_delete_tree, UPCHECK_ROOT)
        SESSION._wine_quietly("reg", "add", UPCHECK_ROOT, "/f")
        for name, build in builds.items():
            SESSION._wine_quietly("reg", "add", UPCHECK_PROGRAM, "/v", name, "/t", "REG_DWORD", "/d", str(build), "/f")

    def test_a_build_given_no_address_tells_the_checker_nothing(self):
        # The update checker installed and knowing a newer build: a program
        # built without its addresses (TAVI_SUPPORT_MAIL, TAVI_UPDATE_URL) has
        # no information file to point it to, so it registers nothing and
        # announces nothing. The registration itself is the Windows tests'.
        self.install_checker(LatestBuild=program_build() + 1)
        bar = self.start(self.folder("upcheck-no-address"))
        self.settle(bar)
        self.assertEqual([w["caption"] for w in SESSION.windows(bar.pid, cls="#32770", hidden=True)], [])
        self.assertEqual(bar.close(), 0)
        self.assertEqual(set(reg_values(UPCHECK_PROGRAM)), {"LatestBuild"}, "nothing written beside the checker's own value")

    def test_without_the_checker_nothing_is_written(self):
        bar = self.start(self.folder("upcheck-absent"))
        # The registration runs before the message loop that handles WM_CLOSE.
        self.assertEqual(bar.close(), 0)
        self.assertIsNone(reg_values(UPCHECK_ROOT))
        export = SESSION.program_folder("upcheck-export").path / "hkcu.reg"
        self.assertEqual(wine("reg", "export", "HKCU", SESSION.to_windows(export), "/y").returncode, 0)
        text = export.read_bytes().decode("utf-16").lower()
        self.assertNotIn("tavimenu2.example", text)
        self.assertNotIn("upcheck", text)


if __name__ == "__main__":
    unittest.main()
