"""Groups and drag and drop on the bar of TaviMenu2 under Wine: the group box
beside its button, its members, moving entries by dragging, and files dropped
from another program."""

from __future__ import annotations

import time
import unittest

import harness
import tavi
from tavi import EMPTY, NOTEPAD

SESSION: harness.Session

BOX_CLASS = "frmRectangle"
EXIT_ID, FIRST_MEMBER_ID = 1, 100
WM_KEYDOWN, VK_ESCAPE, WM_NULL = 0x100, 0x1B, 0x0
WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, MK_LBUTTON = 0x201, 0x200, 0x202, 0x1
NEW_APP = "ｱﾌﾟﾘｹｰｼｮﾝの登録"
IDC_EX_TITLE, IDC_EX_PROGRAM, IDC_EX_COMMAND = 1653, 1655, 1659



def setUpModule():
    global SESSION
    SESSION = harness.Session().start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def members_ini(section: str, members: list) -> bytes:
    """TaviMenu2.INI with one group section: (title, path, command, run type) per slot."""
    lines = [f"[{section}]"]
    for slot, (title, path, command, run) in enumerate(members):
        lines += [f"{slot:02d}ExTitle={title}", f"{slot:02d}ExPathName={path}",
                  f"{slot:02d}ExCommand={command}", f"{slot:02d}ExRunType={run}"]
    return tavi.cp932_lines(lines)


class GroupTestCase(tavi.BarTestCase):
    def folder(self, name: str, entries: list, ini_buff: str = tavi.INIBUFF_LEFT_SHOWN, members: bytes = b"",
               **options: str) -> harness.ProgramFolder:
        return self.bar_folder(name, entries, ini_buff, [harness.TOOLS_DIR / "marker.exe"], members, **options)

    def open_box(self, bar: tavi.Bar, position: int) -> dict:
        bar.click(position)
        return SESSION.wait_window(bar.pid, cls=BOX_CLASS)

    def box_controls(self, box: dict) -> dict:
        children = SESSION.windows(box["pid"], hidden=True, children=True)
        return {w["id"]: w for w in children if w["parent"] == box["hwnd"]}

    def wait_closed(self, bar: tavi.Bar, timeout: float = 10) -> float:
        began = time.monotonic()
        harness.wait_until(lambda: not SESSION.windows(bar.pid, cls=BOX_CLASS), timeout, "the group box to close")
        return time.monotonic() - began


class GroupBoxTest(GroupTestCase):
    def test_the_box_opens_beside_the_groups_button_for_a_left_and_a_right_bar(self):
        group = ("Tools", "[Tools]", "", "0", "", "0")
        for edge, ini_buff in (("left", tavi.INIBUFF_LEFT_SHOWN), ("right", "102101001")):
            with self.subTest(edge=edge):
                bar = self.start(self.folder(f"box-{edge}", [NOTEPAD, group], ini_buff))
                button = bar.buttons()[1]["rect"]
                window = bar.window()["rect"]
                box = self.open_box(bar, 1)
                size = button[3] - button[1]
                length = 10 * size + 33  # ten slots (ExMenuCount "10") and the close button, 495 twips
                expected_left = window[2] if edge == "left" else window[0] - length
                self.assertEqual(box["rect"], [expected_left, button[1], expected_left + length, button[1] + size])
                SESSION.screenshot(f"groups-box-{edge}")
                SESSION.call("post", hwnd=box["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
                self.wait_closed(bar)
                bar.stop()

    def test_a_chosen_member_starts_and_escape_chooses_nothing(self):
        folder = self.folder("members", [NOTEPAD, ("Tools", "[Tools]", "", "0", "", "0")])
        marker = folder.win_file("marker.exe")
        folder.write_bytes("TaviMenu2.INI", members_ini("ExMenu01", [("ﾏｰｶｰ", marker, "/m 1", "1")]))
        bar = self.start(folder)

        box = self.open_box(bar, 1)
        SESSION.call("post", hwnd=box["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
        self.wait_closed(bar)
        self.assertEqual(folder.marker_records(), [], "Escape starts nothing")

        box = self.open_box(bar, 1)
        member = self.box_controls(box)[FIRST_MEMBER_ID]
        SESSION.press(box["hwnd"], id=FIRST_MEMBER_ID)
        self.wait_closed(bar)
        record = harness.wait_until(lambda: folder.marker_records(), 10, "the member started")[0]
        self.assertEqual(record["args"], "/m 1")
        self.assertEqual(record["show_window"], str(harness.SW_SHOWMINIMIZED))
        self.assertTrue(member["visible"])

    def test_adding_a_member_writes_its_four_keys(self):
        folder = self.folder("add-member", [NOTEPAD, ("Tools", "[Tools]", "", "0", "", "0")])
        bar = self.start(folder)
        box = self.open_box(bar, 1)
        SESSION.press(box["hwnd"], id=FIRST_MEMBER_ID + 2)  # an empty slot registers a member
        dialog = bar.dialog(NEW_APP)
        controls = dialog["controls"]
        SESSION.call("set_text", hwnd=controls[IDC_EX_PROGRAM]["hwnd"], text="C:\\windows\\notepad.exe")
        SESSION.call("set_text", hwnd=controls[IDC_EX_TITLE]["hwnd"], text="メモ帳")
        SESSION.call("set_text", hwnd=controls[IDC_EX_COMMAND]["hwnd"], text="\"a b.txt\"")
        SESSION.screenshot("groups-new-member")
        SESSION.press(dialog["hwnd"], id=harness.IDOK)
        ini = lambda: folder.read_text("TaviMenu2.INI") if folder.exists("TaviMenu2.INI") else ""
        # A value in quotes is written in a second pair: the profile functions
        # take one pair off when they read it, so it reads back as typed. The
        # keys are written one by one: wait for the last.
        keys = ("02ExTitle=メモ帳", "02ExPathName=C:\\windows\\notepad.exe", "02ExCommand=\"\"a b.txt\"\"",
                "02ExRunType=0")
        harness.wait_until(lambda: all(key in ini() for key in keys), 10, "the member's four keys written")
        self.assertIn("[ExMenu01]", ini())
        self.assertTrue(SESSION.windows(bar.pid, cls=BOX_CLASS), "adding keeps the box open")
        SESSION.call("post", hwnd=box["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
        self.wait_closed(bar)

    def test_the_box_closes_when_the_pointer_leaves_and_auto_hide_runs_again(self):
        bar = self.start(self.folder("leave", [NOTEPAD, ("Tools", "[Tools]", "", "0", "", "0")],
                                     tavi.INIBUFF_DEFAULT))
        SESSION.call("cursor", x=10, y=500)
        harness.wait_until(lambda: bar.window()["visible"], 5, "the bar shown")
        box = self.open_box(bar, 1)
        left, top, right, bottom = box["rect"]
        SESSION.call("cursor", x=(left + right) // 2, y=(top + bottom) // 2)
        SESSION.call("cursor", x=900, y=700)
        took = self.wait_closed(bar, timeout=10)
        print(f"\n  the box closed {took:.2f} s after the pointer left")
        # Timer1 is back: the pointer is away from the bar, which hides.
        harness.wait_until(lambda: not bar.window()["visible"], 10, "the bar to hide again")


class DragMoveTest(GroupTestCase):
    def drag(self, bar: tavi.Bar, source: int, target: int) -> None:
        """Presses on one button, moves and releases on another, posted to the toolbar
        (an X press could be lost right after a menu closed)."""
        origin = SESSION.window(bar.toolbar)["client"]

        def point(position):
            left, top, right, bottom = bar.buttons()[position]["rect"]
            return ((((top + bottom) // 2 - origin[1]) & 0xFFFF) << 16) | (((left + right) // 2 - origin[0]) & 0xFFFF)

        SESSION.call("post", hwnd=bar.toolbar, msg=WM_LBUTTONDOWN, wparam=MK_LBUTTON, lparam=point(source))
        SESSION.call("post", hwnd=bar.toolbar, msg=WM_MOUSEMOVE, wparam=MK_LBUTTON, lparam=point(target))
        SESSION.call("post", hwnd=bar.toolbar, msg=WM_LBUTTONUP, wparam=0, lparam=point(target))

    def test_dragging_an_entry_onto_a_free_button_asks_and_moves_it_with_its_members(self):
        group = ("Tools", "[Tools]", "", "0", "", "0")
        folder = self.folder("drag-move", [NOTEPAD, group],
                             members=members_ini("ExMenu01", [("Memo", "C:\\windows\\notepad.exe", "", "0")]))
        bar = self.start(folder)
        self.drag(bar, 1, 3)
        box = SESSION.wait_message_box(bar.pid)
        self.assertEqual(box.message, "\"Tools\" を \"未定義3\" へ移動します")
        self.assertEqual(box.icon, "question")
        self.assertEqual(box.button_ids, [harness.IDOK, harness.IDCANCEL])
        SESSION.press(box.hwnd, id=harness.IDOK)
        expected = tavi.launch_ini([NOTEPAD, EMPTY, EMPTY, group])
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == expected, 10, "the moved entry")
        def section(name):
            text = folder.read_text("TaviMenu2.INI")
            return text.split(f"[{name}]")[1].split("[")[0] if f"[{name}]" in text else ""
        harness.wait_until(lambda: "00ExPathName=C:\\windows\\notepad.exe" in section("ExMenu03"), 10,
                           "the members moved with the group")
        harness.wait_until(lambda: "notepad" not in section("ExMenu01"), 10, "the members gone from the old place")

    def test_moving_a_group_while_its_list_is_held_is_refused_told_once_and_the_group_keeps_its_members(self):
        group = ("Tools", "[Tools]", "", "0", "", "0")
        folder = self.folder("drag-held", [NOTEPAD, group],
                             members=members_ini("ExMenu01", [("Memo", "C:\\windows\\notepad.exe", "", "0")]))
        bar = self.start(folder)
        files = ("Launch.ini", "TaviMenu2.INI")
        before = [folder.read_bytes(name) for name in files]
        # A sync tool holds the list: the move would write it and the members.
        held = SESSION.call("file_hold", path=folder.win_file("Launch.ini"))["handle"]
        try:
            for attempt in range(2):
                self.drag(bar, 1, 3)
                question = SESSION.wait_message_box(bar.pid)
                self.assertIn("へ移動します", question.message)
                SESSION.press(question.hwnd, id=harness.IDOK)
                if attempt == 0:
                    box = SESSION.wait_message_box(bar.pid, other_than=question.hwnd)
                    self.assertTrue(box.message.startswith("変更を保存できませんでした。"), box.message)
                    SESSION.press(box.hwnd, text="OK")
                else:
                    SESSION.call("send", hwnd=bar.hwnd, msg=WM_NULL, wparam=0, lparam=0, timeout_ms=10000)
                    self.assertEqual(SESSION.windows(bar.pid, cls="#32770"), [], "told once")
        finally:
            SESSION.call("file_release", handle=held)
        self.assertEqual([folder.read_bytes(name) for name in files], before, "neither file written")
        self.assertEqual(bar.tips()[1], "Tools", "the group where it was")
        box = self.open_box(bar, 1)
        self.assertTrue(self.box_controls(box)[FIRST_MEMBER_ID]["visible"], "its member with it")
        SESSION.call("post", hwnd=box["hwnd"], msg=WM_KEYDOWN, wparam=VK_ESCAPE, lparam=0)
        self.wait_closed(bar)

    def test_releasing_on_the_pressed_button_moves_nothing_and_the_click_starts_it(self):
        folder = self.folder("drag-same", [])
        marker = folder.win_file("marker.exe")
        entry = ("ﾏｰｶｰ", marker, "/same", "0", marker, "0")
        folder.write_bytes("Launch.ini", tavi.launch_ini([entry]))
        bar = self.start(folder)
        self.drag(bar, 0, 0)
        harness.wait_until(lambda: folder.marker_records(), 10, "the entry started by its click")
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini([entry]), "nothing moved")
        self.assertFalse(SESSION.windows(bar.pid, cls="#32770"), "no question asked")


class FileDropTest(GroupTestCase):
    def drop(self, bar: tavi.Bar, folder: harness.ProgramFolder, position: int, *files: str) -> int:
        left, top, right, bottom = bar.buttons()[position]["rect"]
        args = f"{(left + right) // 2} {(top + bottom) // 2} " + " ".join(f"\"{f}\"" for f in files)
        pid = SESSION.start_program(folder.file("dragsource.exe"), args=args)
        return SESSION.wait_exit(pid, 30)

    def folder_with_source(self, name: str, entries: list, **options: str) -> harness.ProgramFolder:
        folder = self.folder(name, entries, **options)
        folder.copy_in(harness.TOOLS_DIR / "dragsource.exe")
        return folder

    def test_three_files_dropped_on_a_free_button_register_there_and_on_the_next_two(self):
        folder = self.folder_with_source("drop-three", [NOTEPAD])
        docs = [folder.write_bytes(f"文書{i}.txt", b"x") for i in range(3)]
        bar = self.start(folder)
        self.assertEqual(self.drop(bar, folder, 2, *[folder.win_file(d.name) for d in docs]), 0, "the files taken")
        expected = [NOTEPAD, EMPTY] + [(d.name, folder.win_file(d.name), "", "", folder.win_file(d.name), "0")
                                       for d in docs]
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == tavi.launch_ini(expected), 15,
                           "the three files registered")
        harness.wait_until(lambda: bar.tips()[2:5] == [d.name for d in docs], 10, "their buttons' tips")

    def test_a_dropped_shortcut_registers_its_target(self):
        folder = self.folder_with_source("drop-shortcut", [NOTEPAD])
        link = folder.win_file("ﾒﾓ.lnk")
        pid = SESSION.start_program(folder.file("dragsource.exe"),
                                    args=f"--make-shortcut \"{link}\" C:\\windows\\notepad.exe \"/x y\"")
        self.assertEqual(SESSION.wait_exit(pid, 30), 0, "the shortcut written")
        bar = self.start(folder)
        self.assertEqual(self.drop(bar, folder, 1, link), 0)
        expected = [NOTEPAD, ("notepad.exe", "C:\\windows\\notepad.exe", "/x y", "0", "C:\\windows\\notepad.exe", "0")]
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == tavi.launch_ini(expected), 15,
                           "the shortcut's target registered")

    def test_with_target_drop_a_file_dropped_on_an_entry_starts_it_with_the_quoted_path(self):
        folder = self.folder_with_source("target-drop", [], TargetDrop="1")
        marker = folder.win_file("marker.exe")
        folder.write_bytes("Launch.ini", tavi.launch_ini([("ﾏｰｶｰ", marker, "/open", "0", marker, "0")]))
        document = folder.write_bytes("a b&c.txt", b"x")
        bar = self.start(folder)
        self.assertEqual(self.drop(bar, folder, 0, folder.win_file(document.name)), 0)
        record = harness.wait_until(lambda: folder.marker_records(), 15, "the entry started with the file")[0]
        self.assertEqual(record["args"], f"/open \"{folder.win_file(document.name)}\"")
        self.assertEqual(folder.read_bytes("Launch.ini"),
                         tavi.launch_ini([("ﾏｰｶｰ", marker, "/open", "0", marker, "0")]), "nothing registered")

    def test_a_drag_begun_away_from_the_bar_finds_it_ready_for_files(self):
        # The bar becomes a drop target only once a drag may be coming; a
        # button held anywhere is the sign, before the pointer reaches it.
        folder = self.folder_with_source("drop-press-first", [NOTEPAD])
        document = folder.write_bytes("遠くから.txt", b"x")
        SESSION.call("cursor", x=SESSION.width // 2, y=SESSION.height // 2)
        bar = self.start(folder)
        left, top, right, bottom = bar.buttons()[1]["rect"]
        pid = SESSION.start_program(folder.file("dragsource.exe"), args=f"--press-first {(left + right) // 2} "
                                    f"{(top + bottom) // 2} \"{folder.win_file(document.name)}\"")
        self.assertEqual(SESSION.wait_exit(pid, 30), 0, "taken, and not a drop target before the press")
        expected = [NOTEPAD, (document.name, folder.win_file(document.name), "", "", folder.win_file(document.name),
                              "0")]
        harness.wait_until(lambda: folder.read_bytes("Launch.ini") == tavi.launch_ini(expected), 15,
                           "the file registered")

    def test_a_drop_of_text_is_refused(self):
        folder = self.folder_with_source("drop-text", [NOTEPAD])
        bar = self.start(folder)
        left, top, right, bottom = bar.buttons()[2]["rect"]
        pid = SESSION.start_program(folder.file("dragsource.exe"),
                                    args=f"--text {(left + right) // 2} {(top + bottom) // 2} hello")
        self.assertEqual(SESSION.wait_exit(pid, 30), 1, "the bar refuses what is not files")
        self.assertEqual(folder.read_bytes("Launch.ini"), tavi.launch_ini([NOTEPAD]))


if __name__ == "__main__":
    unittest.main()
