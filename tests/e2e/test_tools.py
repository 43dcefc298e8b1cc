"""The system tools of TaviMenu2 under Wine: display modes, wallpapers and their
rotation, screen savers, removable drives with the format dialog, the MO item
and ejection at closing."""

from __future__ import annotations

import unittest

import harness
import tavi
from tavi import NOTEPAD

SESSION: harness.Session

WM_TIMER, TIM_WALLPAPER = 0x113, 2
WINDOWS = harness.PREFIX_DIR / "drive_c" / "windows"


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def bitmap(colour: tuple) -> bytes:
    """A 2 x 2 24-bit bitmap file of one colour."""
    row = bytes(colour[::-1]) * 2 + b"\0\0"
    pixels = row * 2
    header = b"BM" + (54 + len(pixels)).to_bytes(4, "little") + b"\0\0\0\0" + (54).to_bytes(4, "little")
    info = ((40).to_bytes(4, "little") + (2).to_bytes(4, "little") + (2).to_bytes(4, "little") +
            (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + bytes(24))
    return header + info + pixels


def submenu(items: list, *path: str) -> list:
    for caption in path:
        items = next(i for i in items if i["text"] == caption)["items"]
    return items


class ToolsTestCase(tavi.BarTestCase):
    def start_bar(self, name: str, **options: str) -> tavi.Bar:
        folder = self.bar_folder(name, [NOTEPAD], **options)
        self.folder = folder
        return self.start(folder)

    def tray_items(self, bar: tavi.Bar) -> list:
        items = SESSION.menu_items(bar.tray_menu()["hwnd"])
        bar.close_menus()
        return items


class DisplayModeTest(ToolsTestCase):
    def test_the_display_submenu_lists_the_modes_wine_reports_with_the_current_one_checked(self):
        reported = SESSION.call("display_modes")
        distinct = {(m["width"], m["height"], m["bits"], m["frequency"]) for m in reported["modes"]}
        bar = self.start_bar("display-modes")
        for items in (bar.entry_menu(0), self.tray_items(bar)):
            listed = submenu(items, "設定...", "画面(&G)...")
            self.assertEqual(listed[0]["text"], "ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...")
            modes = [i for i in listed[1:] if not i["separator"]]
            self.assertEqual(len(modes), len(distinct), [i["text"] for i in modes])
            for width, height, _, _ in distinct:
                self.assertTrue(any(f"{width}x{height}" in i["text"] for i in modes), f"{width}x{height} listed")
            checked = [i["text"] for i in modes if i["checked"]]
            current = reported["current"]
            self.assertEqual(len(checked), 1, checked)
            self.assertIn(f"{current['width']}x{current['height']}", checked[0])


class WallpaperTest(ToolsTestCase):
    def setUp(self):
        super().setUp()
        self.before = SESSION.call("wallpaper")["path"]
        for name, colour in (("TaviA.bmp", (200, 30, 30)), ("TaviB.bmp", (30, 30, 200))):
            (WINDOWS / name).write_bytes(bitmap(colour))
            self.addCleanup((WINDOWS / name).unlink)
        self.addCleanup(lambda: SESSION.call("wallpaper", set=self.before))

    def wallpaper_items(self, bar: tavi.Bar) -> dict:
        return {i["text"]: i for i in submenu(self.tray_items(bar), "壁紙(&W)...")}

    def test_choosing_a_wallpaper_sets_it_and_checks_its_item(self):
        bar = self.start_bar("wallpaper")
        items = self.wallpaper_items(bar)
        self.assertIn("TaviA", items)
        self.assertIn("(なし)", items)
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, "壁紙(&W)...", "TaviA")
        harness.wait_until(lambda: SESSION.call("wallpaper")["path"].upper().endswith("TAVIA.BMP"), 10,
                           "the wallpaper set, as the system tells it")
        items = self.wallpaper_items(bar)
        self.assertEqual([t for t, i in items.items() if i["checked"]], ["TaviA"])

        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, "壁紙(&W)...", "(なし)")
        harness.wait_until(lambda: SESSION.call("wallpaper")["path"] == "", 10, "no wallpaper")
        self.assertEqual([t for t, i in self.wallpaper_items(bar).items() if i["checked"]], ["(なし)"])

    def test_the_wallpaper_rotates_on_its_timer(self):
        # Only our two bitmaps may rotate: the test expects A, B, A.
        others = [p.name for p in WINDOWS.glob("*.bmp") if p.name not in ("TaviA.bmp", "TaviB.bmp")]
        if others:
            self.skipTest(f"the prefix's Windows folder holds other bitmaps: {others}")
        SESSION.call("wallpaper", set="C:\\windows\\TaviA.bmp")
        bar = self.start_bar("rotation", WallPaperChenge="1", WallPaperChengeTimer="1")
        # The list the timer rotates through is built after the first paint;
        # the tray menu builds it again, so the ticks never find it empty.
        bar.tray_menu()
        bar.close_menus()
        seen = []
        for _ in range(2):
            # One sent WM_TIMER is one whole minute of the timer, done when the call returns.
            SESSION.call("send", hwnd=bar.hwnd, msg=WM_TIMER, wparam=TIM_WALLPAPER, lparam=0)
            seen.append(SESSION.call("wallpaper")["path"].upper().rsplit("\\", 1)[-1])
        self.assertEqual(seen, ["TAVIB.BMP", "TAVIA.BMP"])


class ScreenSaverTest(ToolsTestCase):
    def test_choosing_a_screen_saver_writes_system_ini_and_none_removes_it(self):
        # A name that is its own short (8.3) name, which the list keeps.
        saver = WINDOWS / "TaviSS.scr"
        saver.write_bytes(b"MZ")
        self.addCleanup(saver.unlink)
        system_ini = WINDOWS / "system.ini"
        original = system_ini.read_bytes() if system_ini.exists() else None
        self.addCleanup(lambda: system_ini.write_bytes(original) if original is not None else system_ini.unlink())

        bar = self.start_bar("screen-saver")
        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, "ｽｸﾘｰﾝｾｲﾊﾞｰ(&V)...", "TaviSS")
        harness.wait_until(lambda: b"scrnsave.exe=c:\\windows\\taviss.scr" in system_ini.read_bytes().lower(), 10,
                           "[boot] SCRNSAVE.EXE written")
        self.assertIn(b"[boot]", system_ini.read_bytes())
        checked = [i["text"] for i in submenu(self.tray_items(bar), "ｽｸﾘｰﾝｾｲﾊﾞｰ(&V)...") if i["checked"]]
        self.assertEqual(checked, ["TaviSS"])

        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, "ｽｸﾘｰﾝｾｲﾊﾞｰ(&V)...", "(なし)")
        harness.wait_until(lambda: b"scrnsave.exe" not in system_ini.read_bytes().lower(), 10,
                           "SCRNSAVE.EXE removed")


class RemovableDriveTest(ToolsTestCase):
    """With a floppy drive A: and a CD-ROM E: declared in the prefix."""

    @classmethod
    def setUpClass(cls):
        media = harness.E2E_DIR / "media"
        SESSION.declare_drive("a", "floppy", media / "floppy")
        SESSION.declare_drive("e", "cdrom", media / "cdrom")
        SESSION.restart()

    @classmethod
    def tearDownClass(cls):
        SESSION.forget_drive("a")
        SESSION.forget_drive("e")
        SESSION.restart()

    def test_the_format_dialog_lists_the_removable_drive_and_mo_eject_is_offered(self):
        bar = self.start_bar("removable")
        mo = next(i for i in bar.entry_menu(0) if i["text"] == "MO取り出し(&B)")
        self.assertTrue(mo["enabled"], "a removable drive to eject")
        tray_mo = next(i for i in self.tray_items(bar) if i["text"] == "MO取り出し(&B)")
        self.assertTrue(tray_mo["enabled"])

        bar.choose(0, "ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)...")
        window = SESSION.wait_window(bar.pid, cls="#32770", caption="ﾃﾞｨｽｸﾌｫｰﾏｯﾄ")
        texts = SESSION.call("dialog_texts", hwnd=window["hwnd"])
        combo = next(c for c in texts["controls"] if c["class"].lower() == "combobox")
        self.assertEqual(combo["text"], "(0)A:\\ ドライブ", "the floppy, numbered for the system's format dialog")
        ok = next(c for c in texts["controls"] if c["id"] == harness.IDOK)
        self.assertFalse(ok["style"] & 0x08000000, "OK enabled")
        SESSION.screenshot("tools-format")
        SESSION.press(window["hwnd"], id=harness.IDCANCEL)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the dialog closed")

        bar.choose(0, "MO取り出し(&B)")
        self.assertEqual(len(bar.buttons()), 25, "the bar goes on after the eject, whatever it answered")

    def test_closing_with_media_eject_on_ends_cleanly(self):
        bar = self.start_bar("eject-at-exit", MediaEject="1")
        self.assertEqual(bar.close(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()
