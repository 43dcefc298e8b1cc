"""English beside Japanese: under Wine with an English user-interface
language and the ANSI code page still 932 (harness.Session's ui_language),
the bar's title, its tray icon and menus, the entry menu and the options
dialog speak English while the titles of a Shift-JIS list show unchanged;
the options dialog's 日本語 makes the next start of the same folder speak
Japanese, and the list's bytes are the same after both runs."""

from __future__ import annotations

import unittest

import harness
import tavi

SESSION: harness.Session

ENTRIES = [
    ("メモ帳", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0"),
    ("ﾃﾞｰﾀ 【２０２４】", "C:\\windows\\notepad.exe", "", "0", "C:\\windows\\notepad.exe", "0"),
]
TITLES = ["メモ帳", "ﾃﾞｰﾀ 【２０２４】"]

IDOK, IDCANCEL = 1, 2
IDC_OPTION_LANGUAGE_LABEL, IDC_OPTION_LANGUAGE, IDC_OPTION_LANGUAGE_NOTE = 1426, 1427, 1428
CB_GETCURSEL, CB_SETCURSEL = 0x147, 0x14E
LANGUAGE_ITEMS = {"auto": 0, "ja": 1, "en": 2}  # 自動 / Automatic, 日本語, English

# What each language shows, as its table res/lang/<code>/texts.txt has it.
SPOKEN = {
    "en": dict(title="TaviMenu2", tray_tip="TaviMenu2 ", options_item="&Options...", options="Options",
               tray_items=["&Options...", "Search &entries...", "&Help...", "E&xit"],
               entry_items=["&Edit...", "&Delete", "Propert&ies...", "E&xit"],
               language_label="&Language:", note="(at the next start)", ok="OK", cancel="Cancel"),
    "ja": dict(title="たびめにゅ～２－【多機能ランチャー】", tray_tip="たびめにゅ～２ ", options_item="ｵﾌﾟｼｮﾝ(&O)...",
               options="ｵﾌﾟｼｮﾝ", tray_items=["ｵﾌﾟｼｮﾝ(&O)...", "ｴﾝﾄﾘｰの検索(&Q)...", "ﾍﾙﾌﾟ(&H)...", "終了(&X)"],
               entry_items=["編集(&E)...", "削除(&D)", "ﾌﾟﾛﾊﾟﾃｨ(&R)...", "終了(&X)"],
               language_label="言語(&L)", note="※次回起動時有効", ok="&OK", cancel="ｷｬﾝｾﾙ(&C)"),
}
AT_ONCE_S = 10.0


def setUpModule():
    global SESSION
    SESSION = harness.Session(ui_language="en").start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


class LanguageTest(tavi.BarTestCase):
    def texts(self, items: list) -> list:
        return [i["text"] for i in items if not i["separator"]]

    def selected(self, combo: dict) -> int:
        return SESSION.call("send", hwnd=combo["hwnd"], msg=CB_GETCURSEL, wparam=0, lparam=0)["result"]

    def check_speaks(self, bar: tavi.Bar, code: str, picture: str) -> dict:
        """The bar's title, tray icon, both menus and the options dialog in
        one language; returns the options dialog, still open."""
        spoken = SPOKEN[code]
        self.assertEqual(bar.window()["caption"], spoken["title"])
        self.assertEqual(bar.tips()[:2], TITLES, "the list's titles as they are")
        self.assertTrue(bar.tray_icon()["tip"].startswith(spoken["tray_tip"]), bar.tray_icon()["tip"])

        tray = self.texts(SESSION.menu_items(bar.tray_menu()["hwnd"]))
        SESSION.screenshot(f"language-{picture}-tray-menu")
        bar.close_menus()
        for item in spoken["tray_items"]:
            self.assertIn(item, tray)
        entry = self.texts(bar.entry_menu(0))
        for item in spoken["entry_items"]:
            self.assertIn(item, entry)

        bar.tray_menu()
        SESSION.choose_menu(bar.pid, bar.hwnd, spoken["options_item"])
        dialog = bar.dialog(spoken["options"])
        controls = dialog["controls"]
        self.assertEqual((controls[IDOK]["text"], controls[IDCANCEL]["text"]), (spoken["ok"], spoken["cancel"]))
        self.assertEqual((controls[IDC_OPTION_LANGUAGE_LABEL]["text"], controls[IDC_OPTION_LANGUAGE_NOTE]["text"]),
                         (spoken["language_label"], spoken["note"]))
        SESSION.screenshot(f"language-{picture}-options")
        return dialog

    def test_english_windows_speaks_english_until_the_options_choose_japanese(self):
        folder = self.bar_folder("language", ENTRIES)
        listed = folder.read_bytes("Launch.ini")

        bar = self.start(folder)
        dialog = self.check_speaks(bar, "en", "english")
        language = dialog["controls"][IDC_OPTION_LANGUAGE]
        self.assertEqual((language["text"], self.selected(language)), ("Automatic", LANGUAGE_ITEMS["auto"]))
        SESSION.call("send", hwnd=language["hwnd"], msg=CB_SETCURSEL, wparam=LANGUAGE_ITEMS["ja"], lparam=0)
        SESSION.press(dialog["hwnd"], id=IDOK)
        # The re-dock after OK writes the settings; the language waits for the next start.
        harness.wait_until(lambda: "\nLanguage=ja\r\n" in folder.read_text("TaviLaunch.ini"), AT_ONCE_S,
                           "Language=ja in TaviLaunch.ini")
        self.assertEqual(bar.window()["caption"], SPOKEN["en"]["title"])
        self.assertEqual(bar.close(), 0)
        self.assertEqual(folder.read_bytes("Launch.ini"), listed, "the list in code page 932, unchanged")

        bar = self.start(folder)
        dialog = self.check_speaks(bar, "ja", "japanese")
        language = dialog["controls"][IDC_OPTION_LANGUAGE]
        self.assertEqual((language["text"], self.selected(language)), ("日本語", LANGUAGE_ITEMS["ja"]))
        SESSION.press(dialog["hwnd"], id=IDCANCEL)
        self.assertEqual(bar.close(), 0)
        self.assertEqual(folder.read_bytes("Launch.ini"), listed, "the list in code page 932, unchanged")


if __name__ == "__main__":
    unittest.main()
