"""TaviMenu2 as the end-to-end tests see it: its files and its bar window."""

from __future__ import annotations

import unittest
from dataclasses import dataclass
from typing import Iterable, Optional

import harness

BAR_CLASS = "TaviMenu2"
TIP_CLASS = "TaviMenu2Tip"  # the bar's own tooltips
TRIGGER_CLASS = "frmActiveDummy"
TOOLBAR_CLASS = "TaviButtonStrip"  # the bar's own buttons, answering the toolbar queries
APPBAR_CALLBACK = 1124
ABN_FULLSCREENAPP = 2
WM_KEYDOWN, WM_MOUSEWHEEL = 0x100, 0x20A
WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP = 0x200, 0x203, 0x204, 0x205
MK_RBUTTON = 0x2
VK_F1, VK_F2, VK_F5 = 0x70, 0x71, 0x74
I_IMAGENONE = -2  # a button without a picture, as TB_GETBUTTON gives it
GENERIC_PICTURE = 1  # the stock "Nothing" picture, which a button shows until its own has come from a worker
TRAY_TIP_PREFIX = "たびめにゅ～２ "  # as TB_GETBUTTON hands it back, 16 bits
TRAY_TIP_PREFIXES = (TRAY_TIP_PREFIX, "TaviMenu2 ")  # in Japanese and in English

# IniBuff digits: topmost, 0, edge code, tooltips, horizontal, save on exit,
# icon size, auto-hide, auto-hide delay.
INIBUFF_DEFAULT = "103101011"
INIBUFF_LEFT_SHOWN = "103101001"    # left edge, auto-hide off
INIBUFF_RIGHT = "102101011"
INIBUFF_TOP = "102111011"
INIBUFF_BOTTOM = "103111011"

# Launch.ini records most tests start from.
NOTEPAD = ("Notepad", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0")
EMPTY = ("", "", "", "", "", "")


def cp932_lines(lines: Iterable[str]) -> bytes:
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def launch_ini(entries: Iterable[tuple]) -> bytes:
    """Launch.ini bytes from (title, path, command, run type, icon path, icon index) records."""
    lines = []
    for entry in entries:
        lines.extend(entry)
    return cp932_lines(lines)


def settings_ini(ini_buff: str, **options: str) -> bytes:
    lines = ["[IniBuff]", f"IniBuff={ini_buff}"]
    if options:
        lines.append("[Option]")
        lines.extend(f"{key}={value}" for key, value in options.items())
    return cp932_lines(lines)


@dataclass
class Bar:
    """One running TaviMenu2 and its bar window."""
    session: harness.Session
    folder: harness.ProgramFolder
    pid: int
    hwnd: int
    toolbar: int

    @classmethod
    def start(cls, session: harness.Session, folder: harness.ProgramFolder, timeout: float = 30) -> "Bar":
        pid = session.start_program(folder.file("TaviMenu2.exe"), cwd=folder.path)
        return cls.attach(session, folder, pid, timeout)

    @classmethod
    def attach(cls, session: harness.Session, folder: harness.ProgramFolder, pid: int, timeout: float = 30) -> "Bar":
        """The bar of a program started otherwise (by its setup), once it has its buttons."""
        bar = session.wait_window(pid, cls=BAR_CLASS, hidden=True, timeout=timeout)
        toolbar = harness.wait_until(
            lambda: next((w for w in session.windows(pid, hidden=True, children=True)
                          if w["class"] == TOOLBAR_CLASS), None), 10, "the bar's toolbar")
        started = cls(session, folder, pid, bar["hwnd"], toolbar["hwnd"])
        harness.wait_until(lambda: started.buttons(tips=False), 10, "the bar's buttons")
        return started

    def window(self) -> dict:
        return self.session.window(self.hwnd)

    def buttons(self, tips: bool = True) -> list:
        """The buttons; with `tips` their tooltip texts too (which makes the
        bar create its tooltip window, as a pointer resting on it would)."""
        return self.session.call("toolbar_buttons", hwnd=self.toolbar, tips=tips)["buttons"]

    def buttons_drawn(self, tips: bool = True, timeout: float = 10) -> list:
        """The buttons once none shows the generic picture: for lists whose
        documents all have programs, where "Nothing" means a picture still coming."""
        def drawn():
            shown = self.buttons(tips)
            return shown if all(b["image"] != GENERIC_PICTURE for b in shown) else None
        return harness.wait_until(drawn, timeout, "the buttons' own pictures")

    def tips(self) -> list:
        return [b["tip"] for b in self.buttons()]

    def trigger(self) -> Optional[dict]:
        return next(iter(self.session.windows(self.pid, cls=TRIGGER_CLASS, hidden=True)), None)

    def click(self, position: int) -> None:
        """A real left click on the button at 0-based `position`."""
        left, top, right, bottom = self.buttons()[position]["rect"]
        self.session.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1")

    def right_click(self, position: int) -> dict:
        """A right press on the button at `position`, with the pointer on it; returns
        the entry menu's window. The press is posted to the toolbar rather than
        made in X: Wine loses an X press now and then right after a menu closed
        (its pointer grab outlives the menu), and a release that overtakes the
        menu would close it at once."""
        left, top, right, bottom = self.buttons()[position]["rect"]
        x, y = (left + right) // 2, (top + bottom) // 2
        self.session.xdotool("mousemove", str(x), str(y))
        origin = self.session.window(self.toolbar)["client"]
        point = ((y - origin[1]) << 16) | (x - origin[0])
        self.session.call("post", hwnd=self.toolbar, msg=WM_RBUTTONDOWN, wparam=MK_RBUTTON, lparam=point)
        try:
            return self.session.wait_popup_menu(self.pid)
        finally:
            self.session.call("post", hwnd=self.toolbar, msg=WM_RBUTTONUP, wparam=0, lparam=point)

    def entry_menu(self, position: int) -> list:
        """The entry menu of the button at `position`, read from the menu itself, then closed."""
        popup = self.right_click(position)
        items = self.session.menu_items(popup["hwnd"])
        self.close_menus()
        return items

    def choose(self, position: int, *captions: str) -> None:
        """Chooses an item of the entry menu of the button at `position`."""
        self.right_click(position)
        self.session.choose_menu(self.pid, self.hwnd, *captions)

    def tray_icon(self) -> dict:
        return harness.wait_until(
            lambda: next((i for i in self.session.tray_icons() if (i["tip"] or "").startswith(TRAY_TIP_PREFIXES)), None),
            10, "the tray icon")

    def tray_menu(self) -> dict:
        """Opens the tray menu; returns its window. An icon left by a bar that has
        gone has the same tip: a click on it makes the tray drop it, and the click
        is made again on the icon found then."""
        def opened():
            self.session.call("post", hwnd=self.tray_icon()["hwnd"], msg=WM_RBUTTONDOWN, wparam=0, lparam=0)
            try:
                return self.session.wait_popup_menu(self.pid, 4)
            except harness.WaitTimeout:
                return None
        return harness.wait_until(opened, 20, "the tray menu")

    def close_menus(self) -> None:
        """Closes open menus with a click on a part of the screen no menu covers
        (a menu opens at the pointer, which may rest where the last click was),
        posted to the bar whose menu loop takes it, as click_menu_item does."""
        menus = [m["rect"] for m in self.session.popup_menus(self.pid)]
        bar = self.window()["rect"]
        for x, y in ((900, 700), (400, 300), (1200, 150), (300, 900)):
            if not any(l <= x < r and t <= y < b for l, t, r, b in menus + [bar]):
                break
        self.session.call("cursor", x=x, y=y)
        origin = self.window()["client"]
        point = (((y - origin[1]) & 0xFFFF) << 16) | ((x - origin[0]) & 0xFFFF)
        self.session.call("post", hwnd=self.hwnd, msg=harness.WM_LBUTTONDOWN, wparam=harness.MK_LBUTTON, lparam=point)
        self.session.call("post", hwnd=self.hwnd, msg=harness.WM_LBUTTONUP, wparam=0, lparam=point)
        harness.wait_until(lambda: not self.session.popup_menus(self.pid), 10, "the menus to close")

    def dialog(self, caption: str, timeout: float = 10) -> dict:
        """A dialog box of the program with this caption, with its controls by id."""
        window = self.session.wait_window(self.pid, cls="#32770", caption=caption, timeout=timeout)
        texts = self.session.call("dialog_texts", hwnd=window["hwnd"])
        return {"hwnd": window["hwnd"], "controls": {c["id"]: c for c in texts["controls"]}}

    def key(self, virtual_key: int) -> None:
        self.session.call("post", hwnd=self.toolbar, msg=WM_KEYDOWN, wparam=virtual_key, lparam=0)

    def wheel(self, notches: int) -> None:
        """One notch away from the user is +1."""
        delta = (120 * notches) & 0xFFFF
        self.session.call("post", hwnd=self.hwnd, msg=WM_MOUSEWHEEL, wparam=delta << 16, lparam=0)

    def close(self, timeout: float = 20) -> int:
        return self.session.close_and_wait(self.hwnd, self.pid, timeout)

    def stop(self) -> None:
        """Ends the program whatever state it is in (tearDown)."""
        if self.session.alive(self.pid):
            self.session.call("close", hwnd=self.hwnd, check=False)
            try:
                self.session.wait_exit(self.pid, 10)
            except harness.WaitTimeout:
                self.session.call("kill", pid=self.pid, check=False)


class BarTestCase(unittest.TestCase):
    """Tests that start bars: every bar a test starts is ended afterwards.
    The module sets `session` on the class before the tests run."""
    session: harness.Session

    def setUp(self):
        self.bars = []

    def tearDown(self):
        for bar in self.bars:
            bar.stop()

    def bar_folder(self, name: str, entries: Optional[Iterable[tuple]] = None, ini_buff: str = INIBUFF_LEFT_SHOWN,
                   exes: Iterable = (), members: bytes = b"", **options: str) -> harness.ProgramFolder:
        """A program folder with the program, its settings and, when given, its
        list and group members: the start of most tests."""
        folder = self.session.program_folder(name, [harness.PROGRAM_EXE, *exes])
        folder.write_bytes("TaviLaunch.ini", settings_ini(ini_buff, **options))
        if entries is not None:
            folder.write_bytes("Launch.ini", launch_ini(entries))
        if members:
            folder.write_bytes("TaviMenu2.INI", members)
        return folder

    def start(self, folder: harness.ProgramFolder) -> Bar:
        bar = Bar.start(self.session, folder)
        self.bars.append(bar)
        return bar
