"""The entry menu and the tray menu of TaviMenu2 under Wine: their items as the
menus themselves hold them, the registration dialog, delete, cut and paste,
the icon picker, the desktop list and the system commands."""

from __future__ import annotations

import stat
import subprocess
import unittest

import harness
import tavi
from tavi import NOTEPAD

SESSION: harness.Session

SEP = None
# (caption, enabled on a registered entry, enabled on a free button, submenu).
# A submenu of None is a run-time list whose items depend on the machine.
SETTINGS_SUBMENU = [
    ("画面(&G)...", True, True, [("ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...", True, True, [])]),
    ("ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ(&C)...", True, True, []),
    ("ﾌﾟﾘﾝﾀ設定(&P)...", True, True, []),
    ("ｲﾝｽﾄｰﾙ(&I)...", True, True, []),
    ("ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの割当て(&Z)...", True, True, []),
    ("ﾈｯﾄﾜｰｸﾄﾞｲﾌﾞの切断(&W)...", True, True, []),
]
CD_SUBMENU = [
    ("CD-ROMﾄﾚｲのﾄﾞｱを開く(&M)", True, True, []),
    ("CD-ROMﾄﾚｲのﾄﾞｱを閉じる(&L)", True, True, []),
]
ENTRY_MENU = [
    ("新規登録(&N)...\tCtrl+N", False, True, []),
    ("編集(&E)...", True, False, []),
    ("削除(&D)", True, False, []),
    ("同列内で移動(&V)", True, False, []),
    ("切り取り(&C)", True, False, []),
    ("貼り付け(&P)", False, False, []),      # nothing has been cut
    ("元に戻す(&U)\tCtrl+Z", False, False, []),  # nothing changed yet
    ("やり直し(&Y)\tCtrl+Y", False, False, []),
    ("ﾌｫﾙﾀﾞ(&A)...", True, True, []),
    ("ﾌﾟﾛﾊﾟﾃｨ(&R)...", True, False, []),
    SEP,
    ("ｵﾌﾟｼｮﾝ(&O)...", True, True, []),
    ("再表示(&W)\tF5", True, True, []),
    ("ﾌｧｲﾙの検索(&I)...", False, False, []),  # no TaviSearch.exe in the folder
    ("ﾍﾙﾌﾟ(&H)...", True, True, []),
    SEP,
    ("ﾃﾞｽｸﾄｯﾌﾟ(&T)...", True, True, None),
    ("ｴｸｽﾌﾟﾛｰﾗ(&L)...", True, True, None),
    ("設定...", True, True, SETTINGS_SUBMENU),
    ("ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)...", True, True, []),
    ("CD-ROMﾄﾚｲの開閉(&M)...", True, True, CD_SUBMENU),
    ("MO取り出し(&B)", False, False, []),     # no removable drive in the prefix
    SEP,
    ("ｼｬｯﾄﾀﾞｳﾝ(&S)...", True, True, []),
    ("終了(&X)", True, True, []),
]
TRAY_MENU = [
    ("ｵﾌﾟｼｮﾝ(&O)...", True, True, []),
    ("ｴﾝﾄﾘｰの検索(&Q)...", True, True, []),
    ("ﾌｧｲﾙの検索(&I)...", False, False, []),
    ("ﾍﾙﾌﾟ(&H)...", True, True, []),
    ("ｼｮｰﾄｶｯﾄの取り込み(&J)...", True, True, []),
    ("ﾊﾞｯｸｱｯﾌﾟ(&K)...", True, True, []),
    SEP,
    ("ﾌｫﾙﾀﾞ(&A)...", True, True, []),
    ("ﾃﾞｽｸﾄｯﾌﾟ(&T)...", True, True, None),
    ("ｴｸｽﾌﾟﾛｰﾗ(&L)...", True, True, None),
    ("ｽｸﾘｰﾝｾｲﾊﾞｰ(&V)...", True, True, None),
    ("壁紙(&W)...", True, True, None),
    ("ﾒﾓﾘ使用量(&E)", True, True, []),
    ("設定...", True, True, SETTINGS_SUBMENU),
    SEP,
    ("ﾃﾞｨｽｸﾌｫｰﾏｯﾄ(&F)...", True, True, []),
    ("CD-ROMﾄﾚｲの開閉(&M)...", True, True, CD_SUBMENU),
    ("MO取り出し(&B)", False, False, []),
    SEP,
    ("ｼｬｯﾄﾀﾞｳﾝ(&S)...", True, True, []),
    ("終了(&X)", True, True, []),
]

NEW_APP = "ｱﾌﾟﾘｹｰｼｮﾝの登録"
ICON_CHANGE = "ｱｲｺﾝの変更"
IDOK, IDCANCEL = 1, 2
IDC_PATH, IDC_TITLE, IDC_COMMAND, IDC_RUN_SIZE = 1106, 1109, 1111, 1113
IDC_KIND_FILE, IDC_KIND_FOLDER, IDC_KIND_GROUP, IDC_BROWSE, IDC_CHANGE_ICON = 1103, 1104, 1105, 1107, 1115
BST_CHECKED, WS_DISABLED = 1, 0x08000000
CB_SETCURSEL, BM_GETCHECK = 0x14E, 0xF0


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def flatten(items: list, expected: list, registered: bool, where: str = "") -> tuple:
    """(got, want) as lists of (path, caption, enabled) for comparison, run-time lists left out."""
    got, want = [], []
    real = list(items)
    if len(real) != len(expected):
        return [(where, i["text"]) for i in real], [(where, e[0] if e else "-") for e in expected]
    for item, spec in zip(real, expected):
        if spec is SEP:
            got.append((where, "-" if item["separator"] else item["text"]))
            want.append((where, "-"))
            continue
        caption, on_registered, on_free, children = spec
        got.append((where, item["text"], item["enabled"]))
        want.append((where, caption, on_registered if registered else on_free))
        if children:
            sub_got, sub_want = flatten(item.get("items", []), children, registered, where + "/" + caption)
            if caption == "画面(&G)...":  # display modes follow item 0 on some machines
                sub_got = sub_got[:1]
            got.extend(sub_got)
            want.extend(sub_want)
    return got, want


class MenuTestCase(tavi.BarTestCase):
    def folder(self, name: str, entries: list, ini_buff: str = tavi.INIBUFF_LEFT_SHOWN,
               exes=()) -> harness.ProgramFolder:
        return self.bar_folder(name, entries, ini_buff, exes)

    def wait_list(self, folder: harness.ProgramFolder, entries: list, what: str) -> None:
        expected = tavi.launch_ini(entries)
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == expected, 10, what)


WINHLP = ("Help", "C:\\windows\\winhlp32.exe", "-x", "2", "C:\\windows\\winhlp32.exe", "0")


class MenuItemsTest(MenuTestCase):
    def test_entry_menu_on_a_used_and_a_free_button_is_exactly_the_table(self):
        bar = self.start(self.folder("entry-menu", [NOTEPAD]))
        for position, registered in ((0, True), (3, False)):
            with self.subTest(position=position):
                got, want = flatten(bar.entry_menu(position), ENTRY_MENU, registered)
                self.assertEqual(got, want)
        SESSION.screenshot("menus-entry")

    def test_tray_menu_is_exactly_the_table(self):
        bar = self.start(self.folder("tray-menu", [NOTEPAD]))
        popup = bar.tray_menu()
        got, want = flatten(SESSION.menu_items(popup["hwnd"]), TRAY_MENU, True)
        SESSION.screenshot("menus-tray")
        bar.close_menus()
        self.assertEqual(got, want)

    def test_while_a_dialog_of_ours_is_open_the_tray_starts_nothing(self):
        bar = self.start(self.folder("tray-busy", [NOTEPAD]))
        bar.choose(0, "編集(&E)...")
        dialog = bar.dialog(NEW_APP)
        popup = bar.tray_menu()
        items = SESSION.menu_items(popup["hwnd"])
        self.assertEqual([i["text"] for i in items if not i["separator"] and i["enabled"]], [],
                         "every command waits for the open dialog")
        bar.close_menus()
        SESSION.press(dialog["hwnd"], id=IDCANCEL)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the dialog closed")
        items = SESSION.menu_items(bar.tray_menu()["hwnd"])
        bar.close_menus()
        self.assertIn("ﾍﾙﾌﾟ(&H)...", [i["text"] for i in items if i["enabled"]], "commands back once it closed")

    def test_the_desktop_list_shows_the_items_of_the_desktop_folder(self):
        desktop = SESSION.program_folder("desktop", [])
        desktop.write_bytes("Mail.lnk", b"L\0\0\0")
        desktop.write_bytes("notes.txt", b"notes")
        desktop.write_bytes("old.pif", b"")
        (desktop.path / "Work").mkdir()
        key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"
        SESSION._wine_quietly("reg", "add", key, "/v", "Desktop", "/t", "REG_EXPAND_SZ",
                              "/d", desktop.win_path, "/f")
        try:
            bar = self.start(self.folder("desktop-list", [NOTEPAD]))
            items = bar.entry_menu(0)
            desk = next(i for i in items if i["text"] == "ﾃﾞｽｸﾄｯﾌﾟ(&T)...")
            self.assertEqual(sorted(i["text"] for i in desk["items"]), ["Mail", "Work", "notes.txt", "old"])
            self.assertTrue(all(i["enabled"] for i in desk["items"]))
            tray = SESSION.menu_items(bar.tray_menu()["hwnd"])
            bar.close_menus()
            tray_desk = next(i for i in tray if i["text"] == "ﾃﾞｽｸﾄｯﾌﾟ(&T)...")
            self.assertEqual([i["text"] for i in tray_desk["items"]], [i["text"] for i in desk["items"]],
                             "both menus list the same items in the same order")
        finally:
            SESSION._wine_quietly("reg", "delete", key, "/v", "Desktop", "/f")


class EntryCommandsTest(MenuTestCase):
    def test_registering_a_new_entry_through_the_dialog(self):
        folder = self.folder("register", [NOTEPAD], exes=[harness.TOOLS_DIR / "marker.exe"])
        bar = self.start(folder)
        bar.choose(2, "新規登録(&N)...\tCtrl+N")
        dialog = bar.dialog(NEW_APP)
        controls = dialog["controls"]
        self.assertTrue(controls[IDOK]["style"] & WS_DISABLED, "OK waits for a path")
        marker = folder.win_file("marker.exe")
        SESSION.call("set_text", hwnd=controls[IDC_PATH]["hwnd"], text=marker)
        SESSION.call("set_text", hwnd=controls[IDC_TITLE]["hwnd"], text="ﾏｰｶｰ 日本語")
        SESSION.call("set_text", hwnd=controls[IDC_COMMAND]["hwnd"], text="/a \"b c\"")
        SESSION.call("send", hwnd=controls[IDC_RUN_SIZE]["hwnd"], msg=CB_SETCURSEL, wparam=2, lparam=0)
        harness.wait_until(lambda: not SESSION.window(controls[IDOK]["hwnd"])["style"] & WS_DISABLED, 5,
                           "OK enabled by the path")
        SESSION.screenshot("menus-new-app")
        SESSION.press(dialog["hwnd"], id=IDOK)
        self.wait_list(folder, [NOTEPAD, ("", "", "", "", "", ""),
                                ("ﾏｰｶｰ 日本語", marker, "/a \"b c\"", "2", marker, "0")], "the new entry's six lines")
        harness.wait_until(lambda: bar.tips()[2] == "ﾏｰｶｰ 日本語", 10, "the new button's tip")
        self.assertNotEqual(bar.buttons()[2]["image"], tavi.I_IMAGENONE, "the new button has a picture")

        bar.click(2)
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the new entry started")[0]
        self.assertEqual(record["args"], "/a \"b c\"")
        self.assertEqual(record["show_window"], str(harness.SW_SHOWMAXIMIZED))

    def test_editing_a_group_shows_its_name_without_brackets(self):
        group = ("Tools", "[Tools]", "", "0", "", "0")
        bar = self.start(self.folder("edit-group", [group]))
        bar.choose(0, "編集(&E)...")
        dialog = bar.dialog(NEW_APP)
        controls = dialog["controls"]
        self.assertEqual(SESSION.call("get_text", hwnd=controls[IDC_PATH]["hwnd"])["text"], "Tools")
        self.assertEqual(SESSION.call("get_text", hwnd=controls[IDC_TITLE]["hwnd"])["text"], "Tools")
        checked = SESSION.call("send", hwnd=controls[IDC_KIND_GROUP]["hwnd"], msg=BM_GETCHECK, wparam=0, lparam=0)
        self.assertEqual(checked["result"], BST_CHECKED, "the group option is chosen")
        self.assertTrue(controls[IDC_BROWSE]["style"] & WS_DISABLED, "nothing to browse for a group")
        SESSION.press(dialog["hwnd"], id=IDCANCEL)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the dialog closed")

    def test_delete_asks_with_the_entrys_title_and_empties_the_slot(self):
        folder = self.folder("delete", [NOTEPAD, WINHLP])
        bar = self.start(folder)
        bar.choose(0, "削除(&D)")
        box = SESSION.wait_message_box(bar.pid)
        self.assertEqual(box.message, "\"Notepad\" を削除します　よろしいですか")
        self.assertEqual(box.caption, "たびめにゅ～２")
        self.assertEqual(box.icon, "warning")
        self.assertEqual(box.button_ids, [harness.IDOK, harness.IDCANCEL])
        SESSION.press(box.hwnd, id=harness.IDCANCEL)
        self.assertEqual(bar.tips()[0], "Notepad", "cancel keeps the entry")

        bar.choose(0, "削除(&D)")
        SESSION.press(SESSION.wait_message_box(bar.pid).hwnd, id=harness.IDOK)
        self.wait_list(folder, [("", "", "", "", "", ""), WINHLP], "the emptied slot")
        harness.wait_until(lambda: bar.buttons()[0]["image"] == tavi.I_IMAGENONE and bar.tips()[0] == "", 10,
                           "an empty button")

    def test_cut_and_paste_move_an_entry(self):
        folder = self.folder("cut-paste", [NOTEPAD, WINHLP])
        bar = self.start(folder)
        bar.choose(0, "切り取り(&C)")
        self.wait_list(folder, [("", "", "", "", "", ""), WINHLP], "the cut entry out of the list")
        paste = next(i for i in bar.entry_menu(4) if i["text"] == "貼り付け(&P)")
        self.assertTrue(paste["enabled"], "paste offered once something is cut")
        bar.choose(4, "貼り付け(&P)")
        empty = ("", "", "", "", "", "")
        self.wait_list(folder, [empty, WINHLP, empty, empty, NOTEPAD], "the entry at its new place")
        harness.wait_until(lambda: bar.tips()[4] == "Notepad", 10, "the pasted button's tip")

    def test_a_cut_entry_is_not_lost_when_the_program_ends(self):
        folder = self.folder("cut-exit", [NOTEPAD, WINHLP])
        bar = self.start(folder)
        bar.choose(1, "切り取り(&C)")
        self.wait_list(folder, [NOTEPAD], "the cut entry out of the list")
        bar.close()
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini([NOTEPAD, WINHLP]),
                         "the cut entry back in its own slot")

    def test_the_icon_picker_shows_a_files_icons_and_stores_the_one_chosen(self):
        folder = self.folder("icons", [NOTEPAD], exes=[harness.TOOLS_DIR / "iconlib.exe"])
        library = folder.win_file("icons.dll")
        pid = SESSION.start_program(folder.file("iconlib.exe"), args=f"\"{library}\" 11")
        self.assertEqual(SESSION.wait_exit(pid, 30), 0, "the icon library written")
        entry = ("Icons", "C:\\windows\\notepad.exe", "", "0", library, "0")
        folder.write_bytes("Launch.ini", tavi.launch_ini([entry]))
        bar = self.start(folder)
        bar.choose(0, "編集(&E)...")
        dialog = bar.dialog(NEW_APP)
        SESSION.press(dialog["hwnd"], id=IDC_CHANGE_ICON)
        picker = bar.dialog(ICON_CHANGE)
        strip = harness.wait_until(lambda: next((w for w in SESSION.windows(bar.pid, hidden=False, children=True)
                                                 if w["class"] == "TaviIconStrip"), None), 10, "the icon strip")
        left, top, right, bottom = strip["rect"]
        cell = (right - left) // 8
        shot = SESSION.screenshot("menus-icon-picker")
        for i in range(8):
            x, y = left + cell * i + cell // 2, top + (bottom - top) // 2
            self.assertIn(icon_colour(i), nearby_colours(shot, x, y), f"icon {i} drawn in cell {i}")
        SESSION.xdotool("mousemove", str(left + cell * 5 + cell // 2), str(top + (bottom - top) // 2), "click", "1")
        SESSION.press(picker["hwnd"], id=IDOK)
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770", caption=ICON_CHANGE), 10,
                           "the picker closed")
        SESSION.press(dialog["hwnd"], id=IDOK)
        self.wait_list(folder, [("Icons", "C:\\windows\\notepad.exe", "", "0", library, "5")],
                       "icon number 5 stored")


def icon_colour(i: int) -> tuple:
    """The colour iconlib.exe gives icon i."""
    return ((40 + 17 * i) % 256, (250 - 21 * i) % 256, (90 + 53 * i) % 256)


def nearby_colours(png, x: int, y: int, radius: int = 6) -> set:
    """The colours of a small square of a screenshot around (x, y)."""
    out = subprocess.run(["convert", str(png), "-crop", f"{2 * radius}x{2 * radius}+{x - radius}+{y - radius}",
                          "txt:-"], capture_output=True, text=True, check=True).stdout
    colours = set()
    for line in out.splitlines()[1:]:
        rgb = line.split("(")[1].split(")")[0].split(",")[:3]
        colours.add(tuple(int(float(v)) for v in rgb))
    return colours


class SystemCommandsTest(MenuTestCase):
    def test_help_opens_our_page_through_the_shell(self):
        folder = self.folder("help", [NOTEPAD])
        folder.copy_in(harness.WINDOWS_BUILD / "TaviMenu2.html")
        record = folder.path / "browser.txt"
        browser = folder.path / "browser.sh"
        browser.write_text(f"#!/bin/sh\necho \"$@\" >> '{record}'\n")
        browser.chmod(browser.stat().st_mode | stat.S_IEXEC)
        SESSION._wine_quietly("reg", "add", "HKCU\\Software\\Wine\\WineBrowser", "/v", "Browsers",
                              "/d", str(browser), "/f")
        # Pages open in the user's browser. This prefix maps no extension to
        # "htmlfile" (Wine registers it with its Gecko viewer, which the harness
        # leaves out), so .html is mapped to it here; it opens with winebrowser.
        extension = "HKLM\\Software\\Classes\\.html"
        SESSION._wine_quietly("reg", "add", extension, "/ve", "/d", "htmlfile", "/f")
        self.addCleanup(SESSION._wine_quietly, "reg", "delete", extension, "/f")
        bar = self.start(folder)
        bar.choose(0, "ﾍﾙﾌﾟ(&H)...")
        address = harness.wait_until(lambda: record.exists() and record.read_text().strip(), 20,
                                     "the stand-in browser given an address")
        self.assertTrue(address.startswith("file://"), address)
        self.assertTrue(address.endswith("/TaviMenu2.html"), address)
        self.assertIn(folder.path.name, address, "the page beside the program")

    def test_shutdown_closes_the_program_manager(self):
        folder = self.folder("shutdown", [NOTEPAD], exes=[harness.TOOLS_DIR / "progman.exe"])
        progman = SESSION.start_program(folder.file("progman.exe"))
        SESSION.wait_window(progman, cls="Progman", hidden=True)
        bar = self.start(folder)
        bar.choose(0, "ｼｬｯﾄﾀﾞｳﾝ(&S)...")
        self.assertEqual(SESSION.wait_exit(progman, 15), 0)
        self.assertEqual(folder.read_text("progman.txt"), "closed\n")
        self.assertTrue(SESSION.alive(bar.pid), "the bar itself stays; the shell asks the user")

    def test_control_panel_and_add_remove_programs_open_their_windows(self):
        bar = self.start(self.folder("control-panel", [NOTEPAD]))
        for captions, window in ((("設定...", "ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ(&C)..."), "Wine コントロール パネル"),
                                 (("設定...", "ｲﾝｽﾄｰﾙ(&I)..."), "プログラムの追加と削除")):
            with self.subTest(window=window):
                bar.choose(0, *captions)
                shown = SESSION.wait_window(caption=window, timeout=30)
                SESSION.screenshot(f"menus-{window}")
                SESSION.call("close", hwnd=shown["hwnd"])
                harness.wait_until(lambda: not SESSION.windows(caption=window), 15, f"{window} closed")

    def test_printer_setup_shows_the_systems_dialog_or_its_message(self):
        bar = self.start(self.folder("printer", [NOTEPAD]))
        bar.choose(0, "設定...", "ﾌﾟﾘﾝﾀ設定(&P)...")
        # Without a printer Wine answers with a box captioned "印刷"; with one, "印刷設定".
        shown = harness.wait_until(lambda: next((w for w in SESSION.windows(bar.pid, cls="#32770")
                                                 if w["caption"] in ("印刷", "印刷設定")), None), 15,
                                   "the printer dialog or its message")
        SESSION.screenshot("menus-printer")
        SESSION.call("close", hwnd=shown["hwnd"])
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls="#32770"), 10, "the box closed")


if __name__ == "__main__":
    unittest.main()
