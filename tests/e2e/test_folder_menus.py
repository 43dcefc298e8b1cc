"""Folders that open as menus, under Wine: a folder entry with run type 3
opens the system's popup menu of its contents beside its button, subfolders
first as submenus listed when they open, files in the explorer's order
without regard to case, hidden files left out and "&" shown as itself; a
file chosen by the keys inside a submenu is opened by the shell."""

from __future__ import annotations

import unittest

import harness
import tavi

SESSION: harness.Session

WM_KEYDOWN = 0x100
VK_RETURN, VK_ESCAPE, VK_HOME, VK_RIGHT = 0x0D, 0x1B, 0x24, 0x27
MENU_RUN_TYPE = "3"


def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def folder_records(bar: tavi.Bar) -> list:
    """What the marker program in the menu's folder recorded."""
    record = bar.folder.path / "メニュー" / "Alpha" / "marker.txt"
    return harness.parse_marker_records(record.read_bytes().decode("utf-8")) if record.exists() else []


class FolderMenuTest(tavi.BarTestCase):
    def folder_bar(self, name: str) -> tuple:
        """A bar whose only entry is the folder "メニュー" shown as a menu:
        subfolders "beta" and "Alpha" (which holds a marker program and
        zulu.txt), files "charlie.txt", "Bravo.txt", "R&D.txt" and a hidden
        "secret.txt". Returns the bar and the folder's Linux path."""
        folder = self.bar_folder(name)
        root = folder.path / "メニュー"
        for sub in ("beta", "Alpha"):
            (root / sub).mkdir(parents=True)
        for name_ in ("charlie.txt", "Bravo.txt", "R&D.txt", "secret.txt", "beta/one.txt", "Alpha/zulu.txt"):
            (root / name_).write_bytes(b"x")
        folder.copy_in(harness.TOOLS_DIR / "marker.exe", "メニュー/Alpha/marker.exe")
        self.hide(root / "secret.txt")
        win_root = SESSION.to_windows(root) + "\\"
        folder.write_bytes("Launch.ini", tavi.launch_ini([("メニュー", win_root, "", MENU_RUN_TYPE, win_root, "0")]))
        return self.start(folder), root

    def hide(self, path) -> None:
        win_path = SESSION.to_windows(path)
        SESSION.wine("cmd", "/c", "attrib", "+h", win_path)
        shown = SESSION.wine("cmd", "/c", "attrib", win_path).stdout.decode("cp932", errors="replace")
        attributes = shown[:shown.find(win_path[:2])] if win_path[:2] in shown else ""
        self.assertIn("H", attributes, f"the file is hidden for Windows programs: {shown!r}")

    def popups(self, bar: tavi.Bar) -> list:
        return SESSION.popup_menus(bar.pid)

    def close_menus(self, bar: tavi.Bar) -> None:
        """Escape, one menu level at a time, until none is up."""
        def closed():
            shown = self.popups(bar)
            if shown:
                SESSION.call("post", hwnd=shown[-1]["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
            return not shown
        harness.wait_until(closed, 10, "the menus to close")

    def test_a_click_opens_the_folder_beside_its_button_subfolders_first_and_files_without_case(self):
        bar, _ = self.folder_bar("folder-menu-click")
        button = bar.buttons()[0]["rect"]
        bar.click(0)
        popup = SESSION.wait_popup_menu(bar.pid)
        items = SESSION.menu_items(popup["hwnd"])
        SESSION.screenshot("folder-menu")
        # "R&&D.txt" is how a menu holds the text it shows as "R&D.txt"; the
        # hidden secret.txt is left out.
        self.assertEqual([i["text"] for i in items], ["Alpha", "beta", "Bravo.txt", "charlie.txt", "R&&D.txt"])
        self.assertEqual([i.get("items") for i in items], [[], [], None, None, None],
                         "the subfolders are submenus, listed only when they open")
        # The pictures come from workers and fill in the open menu.
        def with_pictures():
            shown = SESSION.menu_items(popup["hwnd"])
            return shown if all(item["bitmap_bits"] == 32 for item in shown) else None
        items = harness.wait_until(with_pictures, 10, "each item's icon as its bitmap")
        for item in items:
            self.assertFalse(item["owner_drawn"], f"{item['text']} keeps its text for screen readers")
        bar_rect = bar.window()["rect"]
        self.assertEqual(popup["rect"][:2], [bar_rect[2], button[1]],
                         "beside the left bar, in line with the button")

        # A right click asks the shell for the item's context menu. Wine's
        # menus do not pass the click on (no WM_MENURBUTTONUP): there the menu
        # must simply stay and go on following the pointer.
        def centre(rect):
            return str((rect[0] + rect[2]) // 2), str((rect[1] + rect[3]) // 2)
        SESSION.xdotool("mousemove", *centre(items[2]["rect"]), "click", "3")
        context = harness.wait_until(lambda: self.popups(bar), 10, "the menus after the right click")
        if len(context) > 1:
            self.assertTrue(SESSION.menu_items(context[-1]["hwnd"]), "the shell's context menu has items")
            SESSION.call("post", hwnd=context[-1]["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
        SESSION.xdotool("mousemove", *centre(items[3]["rect"]))
        harness.wait_until(lambda: SESSION.menu_items(popup["hwnd"])[3]["hilite"], 10,
                           "the menu following the pointer onto charlie.txt")
        self.close_menus(bar)
        self.assertEqual(folder_records(bar), [], "nothing was started")
        self.assertEqual(bar.entry_menu(0)[0]["text"], "新規登録(&N)...\tCtrl+N", "the bar goes on as before")

        # Closed while its folder's menu is up, the program ends as ever.
        listed = bar.folder.read_bytes("Launch.ini")
        bar.click(0)
        SESSION.wait_popup_menu(bar.pid)
        self.assertEqual(bar.close(), 0)
        self.assertEqual(bar.folder.read_bytes("Launch.ini"), listed)

    def test_enter_opens_it_and_a_file_chosen_by_keys_in_a_subfolder_is_opened_by_the_shell(self):
        bar, root = self.folder_bar("folder-menu-keys")
        bar.key(VK_HOME)
        bar.key(VK_RETURN)
        popup = SESSION.wait_popup_menu(bar.pid)
        # From the keyboard the first item, "Alpha", is selected: Right opens
        # its submenu with its own first item selected.
        SESSION.call("post", hwnd=popup["hwnd"], msg=WM_KEYDOWN, wparam=VK_RIGHT, lparam=0)
        submenu = harness.wait_until(
            lambda: next((m for m in self.popups(bar) if m["hwnd"] != popup["hwnd"]), None), 10, "Alpha's submenu")
        self.assertEqual([i["text"] for i in SESSION.menu_items(submenu["hwnd"])], ["marker.exe", "zulu.txt"])
        SESSION.screenshot("folder-menu-submenu")
        SESSION.call("post", hwnd=submenu["hwnd"], msg=WM_KEYDOWN, wparam=VK_RETURN, lparam=0)
        record = harness.wait_until(lambda: folder_records(bar), 10, "the marker program's record")[0]
        self.assertEqual(record["long_cwd"].rstrip("\\").lower(), SESSION.to_windows(root / "Alpha").lower(),
                         "started in its own folder, as an entry is")
        harness.wait_until(lambda: not self.popups(bar), 10, "the menu gone once an item was chosen")


if __name__ == "__main__":
    unittest.main()
