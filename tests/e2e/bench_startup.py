"""Start-up benchmark: process start to the painted bar, against a bare Win32
window started the same way in the same run, and the working sets.

  python3 tests/e2e/bench_startup.py [rounds] [--trace]

Beside the bare window it starts minilauncher.exe, the least a launcher bar
built on the common controls does (an appbar with a toolbar of 25 icons and a
tray icon): the floor the bar stood on until it drew its own buttons. The bar holds a realistic list: 1000 entries of different programs of the
prefix, documents, folders, batch files and 100 groups with members in
"TaviMenu2.INI". Each round starts the bare window, the bar with its splash
(the default) and the bar with the splash off, each from a fresh folder
holding the icon cache an earlier start left ("TaviMenu2.icons", as a user's
every start but the first finds it), and the bar's first start without it; the
figures are medians over the rounds, and the ratio against the bare window of
the same run is what counts on a busy machine.

The bar shows its window with the buttons of the first page, so "visible"
is the painted bar; their pictures come from workers (each button shows a
generic picture until its own has come). The working set is read once the
process has settled (the bar after its deferred start work), the pointer
away from it: what waits for the pointer (the drop target, the menus' lists,
the tooltips) is not in it. One more figure gives the default bar once the
pointer has rested on a button for two seconds.

TAVI_BENCH_EXE=<path> times another build of the program instead;
TAVI_BENCH_BEFORE=<path> times one more build in the same rounds (the figures
before a change, under the same load). --trace adds rounds with TAVI_TRACE_STARTUP set and prints the median time of
each of the program's phases since its process began. Not a test: it prints
figures.
"""

from __future__ import annotations

import os
import statistics
import sys
import time
from collections import defaultdict
from pathlib import Path

import harness
import tavi

PROGRAMS = [
    "C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows\\explorer.exe",
    "C:\\windows\\winhlp32.exe", "C:\\windows\\system32\\winecfg.exe", "C:\\windows\\system32\\winemine.exe",
    "C:\\windows\\system32\\taskmgr.exe", "C:\\windows\\system32\\cmd.exe", "C:\\windows\\system32\\control.exe",
    "C:\\windows\\system32\\winefile.exe", "C:\\windows\\system32\\clock.exe", "C:\\windows\\system32\\progman.exe",
    "C:\\windows\\system32\\oleview.exe", "C:\\windows\\system32\\write.exe", "C:\\windows\\system32\\msiexec.exe",
    "C:\\windows\\system32\\dxdiag.exe", "C:\\windows\\system32\\winver.exe", "C:\\windows\\hh.exe",
]
DOCUMENTS = ["メモ{}.txt", "設定{}.ini", "作業{}.log"]
FOLDERS = ["C:\\windows\\", "C:\\windows\\system32\\", "C:\\users\\Public\\", "C:\\Program Files\\"]
ENTRIES = 1000
# Another build of the program to time instead, and one to time beside it in
# the same rounds (the figures before a change, under the same load).
PROGRAM = Path(os.environ.get("TAVI_BENCH_EXE", harness.PROGRAM_EXE))
BEFORE = Path(os.environ["TAVI_BENCH_BEFORE"]) if os.environ.get("TAVI_BENCH_BEFORE") else None
GROUP_EVERY = 10  # 100 groups
ICON_CACHE = "TaviMenu2.icons"


def realistic_list(documents_folder: str) -> tuple[list, list]:
    """(entries, groups): a page of ten kinds of button repeated, every tenth a group."""
    entries, groups = [], []
    for i in range(ENTRIES):
        kind = i % GROUP_EVERY
        if kind == GROUP_EVERY - 1:
            entries.append((f"ｸﾞﾙｰﾌﾟ{i}", f"[ｸﾞﾙｰﾌﾟ{i}]", "", "0", "", "0"))
            groups.append(i)
        elif kind in (0, 1, 3, 4, 6):
            program = PROGRAMS[(i * 7 + kind) % len(PROGRAMS)]
            entries.append((f"ﾌﾟﾛｸﾞﾗﾑ{i}", program, f"/n {i}", str(i % 3), program, "0"))
        elif kind in (2, 7):
            document = f"{documents_folder}\\{DOCUMENTS[i % len(DOCUMENTS)].format(i % 4)}"
            entries.append((f"文書{i}", document, "", "0", document, "0"))
        elif kind == 5:
            folder = FOLDERS[i % len(FOLDERS)]
            entries.append((f"ﾌｫﾙﾀﾞ{i}", folder, "", "0", folder, "0"))
        else:
            batch = f"{documents_folder}\\作業{i % 4}.bat"
            entries.append((f"ﾊﾞｯﾁ{i}", batch, "", "0", batch, "0"))
    return entries, groups


def members_ini(groups: list) -> bytes:
    """Ten members for each group, in the sections the program reads them from."""
    lines = []
    for index in groups:
        lines.append(f"[ExMenu{index:02d}]" if index < 100 else f"[ExMenu{index}]")
        if index >= 100:
            lines.append(f"EntryIndex={index}")
        for slot in range(10):
            program = PROGRAMS[(index + slot) % len(PROGRAMS)]
            lines += [f"{slot:02d}ExTitle=ﾒﾝﾊﾞｰ{slot}", f"{slot:02d}ExPathName={program}",
                      f"{slot:02d}ExCommand=/m {slot}", f"{slot:02d}ExRunType=0"]
    return tavi.cp932_lines(lines)


def trace_lines(folder: harness.ProgramFolder) -> list:
    if not folder.exists("TaviMenu2.trace"):
        return []
    rows = []
    for line in folder.read_bytes("TaviMenu2.trace").decode("utf-8").splitlines():
        name, since_start, _since_previous, ticks = line.split("\t")
        rows.append((name, float(since_start), int(ticks)))
    return rows


def main(rounds: int, trace: bool) -> None:
    with harness.Session() as session:
        bare_folder = session.program_folder("bench-bare", [harness.TOOLS_DIR / "barewindow.exe",
                                                            harness.TOOLS_DIR / "minilauncher.exe"])
        documents = session.program_folder("bench-documents", [])
        for n in range(4):
            for pattern in DOCUMENTS:
                documents.write_text(pattern.format(n), "たびめにゅ～２\n")
            documents.write_text(f"作業{n}.bat", "@echo off\n")
        entries, groups = realistic_list(documents.win_path)
        launch, members = tavi.launch_ini(entries), members_ini(groups)

        icon_cache = b""
        # The pointer rests away from the bar, as it does while nobody reaches for it.
        session.call("cursor", x=session.width // 2, y=session.height // 2)

        def bar_folder(name: str, splash: bool, program: Path = PROGRAM) -> harness.ProgramFolder:
            folder = session.program_folder(name, [])
            folder.copy_in(program, "TaviMenu2.exe")
            folder.write_bytes("Launch.ini", launch)
            folder.write_bytes("TaviMenu2.INI", members)
            options = {} if splash else {"SplashLogo": "1"}
            folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN, **options))
            if icon_cache:
                folder.write_bytes(ICON_CACHE, icon_cache)
            return folder

        def start(folder, exe, cls, env=None) -> dict:
            request = dict(exe=session.to_windows(folder.file(exe)), cwd=session.to_windows(folder.path),
                           timeout_ms=30000, timeout=60, **{"class": cls})
            if env:
                request["env"] = env
            return session.call("start_timed", **request)

        # One start leaves the cache the measured ones find.
        warm = bar_folder("bench-warm", False)
        reply = start(warm, "TaviMenu2.exe", tavi.BAR_CLASS)
        harness.wait_until(lambda: warm.exists(ICON_CACHE), 20, "the icon cache of a first start")
        session.close_and_wait(reply["hwnd"], reply["pid"], 20)
        icon_cache = warm.read_bytes(ICON_CACHE)

        names = ["bare window", "minimal launcher", "bar, splash shown", "bar, splash off", "bar, first start"]
        if BEFORE:
            names += ["before, splash shown", "before, splash off"]
        results = {name: [] for name in names}
        memory = {name: [] for name in names}
        buttons = []
        in_use = []  # the default bar once the pointer has rested on a button
        for round_number in range(rounds):
            for name in names:
                if name == "bare window":
                    reply = start(bare_folder, "barewindow.exe", "BareWindow")
                elif name == "minimal launcher":
                    reply = start(bare_folder, "minilauncher.exe", "MiniLauncher")
                else:
                    folder = bar_folder(f"bench-bar-{round_number}", name.endswith("shown"),
                                        BEFORE if name.startswith("before") else PROGRAM)
                    if name == "bar, first start":
                        folder.file(ICON_CACHE).unlink()
                    reply = start(folder, "TaviMenu2.exe", tavi.BAR_CLASS)
                results[name].append(reply["ms"])
                time.sleep(2)  # settle: the bar finishes its deferred start work
                memory[name].append(session.call("working_set", pid=reply["pid"])["working_set"])
                if name.startswith("bar,") and not buttons:
                    windows = session.windows(reply["pid"], hidden=True, children=True)
                    toolbar = next((w for w in windows if w["class"] == tavi.TOOLBAR_CLASS), None)
                    if toolbar is None:
                        raise harness.HarnessError(f"{name}: no toolbar among {windows}")
                    buttons = session.call("toolbar_buttons", hwnd=toolbar["hwnd"])["buttons"]
                if name == "bar, splash shown":
                    # What the pointer brings: it rests on a button until the tooltip has shown.
                    left, top, right, bottom = buttons[min(3, len(buttons) - 1)]["rect"]
                    session.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2))
                    time.sleep(2)
                    in_use.append(session.call("working_set", pid=reply["pid"])["working_set"])
                    session.call("cursor", x=session.width // 2, y=session.height // 2)
                session.close_and_wait(reply["hwnd"], reply["pid"], 20)

        phases = defaultdict(list)
        if trace:
            for round_number in range(rounds):
                for splash in (True, False):
                    folder = bar_folder(f"bench-trace-{round_number}", splash)
                    reply = start(folder, "TaviMenu2.exe", tavi.BAR_CLASS, {"TAVI_TRACE_STARTUP": "1"})
                    harness.wait_until(lambda: any(n == "deferred done" for n, _, _ in trace_lines(folder)), 20,
                                       "the deferred start work")
                    session.close_and_wait(reply["hwnd"], reply["pid"], 20)
                    label = "splash" if splash else "no splash"
                    phases[(label, "driver: visible")].append(reply["ms"])
                    for name, since_start, ticks in trace_lines(folder):
                        phases[(label, name)].append(since_start)
                        if name == "painted":
                            phases[(label, "painted, driver's clock")].append(
                                1000.0 * (ticks - reply["began"]) / reply["frequency"])

        bare = statistics.median(results["bare window"])
        print(f"{rounds} rounds, {len(entries)} entries, {len(groups)} groups, "
              f"{len(buttons)} buttons on the first page; medians (min..max):")
        for name, times in results.items():
            print(f"  {name:20s} {statistics.median(times):8.1f} ms ({min(times):.1f}..{max(times):.1f})"
                  f"  ratio {statistics.median(times) / bare:5.2f}")
        bare_memory = statistics.median(memory["bare window"])
        for name, sizes in memory.items():
            print(f"  working set, {name:20s} {statistics.median(sizes) / 1048576:6.2f} MiB"
                  f"  (+{(statistics.median(sizes) - bare_memory) / 1048576:.2f})")
        if in_use:
            print(f"  working set, {'bar, pointer on it':20s} {statistics.median(in_use) / 1048576:6.2f} MiB"
                  f"  (+{(statistics.median(in_use) - bare_memory) / 1048576:.2f}; the tooltips, drop target and"
                  f" lists that wait for the pointer)")
        if phases:
            print("phases, ms since the process began (medians):")
            for label in ("splash", "no splash"):
                for (which, name), values in phases.items():
                    if which == label:
                        print(f"  {label:10s} {name:28s} {statistics.median(values):8.1f}")


if __name__ == "__main__":
    arguments = [a for a in sys.argv[1:] if not a.startswith("--")]
    main(int(arguments[0]) if arguments else 7, "--trace" in sys.argv)
