"""Start-up benchmark of lists of every size: process start to the painted
bar (and to the first page's pictures, which workers fetch), and the
working set once settled (and its peak), for a 1000-entry list,
a 32 MiB list of empty lines and a 100,000-entry list, beside a bare Win32
window started the same way, in one run.

  python3 tests/e2e/bench_big_lists.py [rounds]

Each round starts each of them from a fresh folder; the figures are medians
over the rounds. Not a test: it prints figures.
"""

from __future__ import annotations

import statistics
import sys
import time

import harness
import tavi

PROGRAMS = ["C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows\\system32\\cmd.exe",
            "C:\\windows\\system32\\winemine.exe"]


def entries(count: int) -> bytes:
    return tavi.launch_ini((f"ﾌﾟﾛｸﾞﾗﾑ{i}", PROGRAMS[i % len(PROGRAMS)], f"/n {i}", "0",
                            PROGRAMS[i % len(PROGRAMS)], "0") for i in range(count))


LISTS = {
    "1000 entries": lambda: entries(1000),
    "32 MiB of empty lines": lambda: b"\r\n" * (16 * 1024 * 1024),
    "100,000 entries": lambda: entries(100_000),
}


def main(rounds: int) -> None:
    with harness.Session() as session:
        bare_folder = session.program_folder("bench-lists-bare", [harness.TOOLS_DIR / "barewindow.exe"])
        session.call("cursor", x=session.width // 2, y=session.height // 2)
        lists = {name: make() for name, make in LISTS.items()}

        def start(folder, exe, cls) -> dict:
            return session.call("start_timed", exe=session.to_windows(folder.file(exe)),
                                cwd=session.to_windows(folder.path), timeout_ms=60000, timeout=90,
                                **{"class": cls})

        def wait_for_pictures(pid: int) -> None:
            """Until no button shows the generic picture (polled across the pipe)."""
            toolbar = harness.wait_until(
                lambda: next((w for w in session.windows(pid, hidden=True, children=True)
                              if w["class"] == tavi.TOOLBAR_CLASS), None), 10, "the toolbar")
            harness.wait_until(
                lambda: all(b["image"] != tavi.GENERIC_PICTURE
                            for b in session.call("toolbar_buttons", hwnd=toolbar["hwnd"], tips=False)["buttons"]),
                20, "the buttons' pictures")

        names = ["bare window", *lists]
        pictures = {name: [] for name in lists}
        times = {name: [] for name in names}
        memory = {name: [] for name in names}
        peaks = {name: [] for name in names}
        for round_number in range(rounds):
            for name in names:
                if name == "bare window":
                    reply = start(bare_folder, "barewindow.exe", "BareWindow")
                else:
                    folder = session.program_folder(f"bench-lists-{round_number}", [harness.PROGRAM_EXE])
                    folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN, SplashLogo="1"))
                    folder.write_bytes("Launch.ini", lists[name])
                    reply = start(folder, "TaviMenu2.exe", tavi.BAR_CLASS)
                times[name].append(reply["ms"])
                if name != "bare window":
                    shown = time.monotonic()
                    wait_for_pictures(reply["pid"])
                    pictures[name].append(reply["ms"] + 1000 * (time.monotonic() - shown))
                time.sleep(3)  # settle: the deferred start work
                figures = session.call("working_set", pid=reply["pid"])
                memory[name].append(figures["working_set"])
                peaks[name].append(figures["peak_working_set"])
                session.close_and_wait(reply["hwnd"], reply["pid"], 30)

        bare_time = statistics.median(times["bare window"])
        bare_memory = statistics.median(memory["bare window"])
        print(f"{rounds} rounds; medians (min..max):")
        for name in names:
            ms = statistics.median(times[name])
            ws, peak = statistics.median(memory[name]), statistics.median(peaks[name])
            drawn = f", pictures in {statistics.median(pictures[name]):.0f} ms" if name in pictures else ""
            print(f"  {name:22s} {ms:8.1f} ms ({min(times[name]):.1f}..{max(times[name]):.1f}) ratio {ms / bare_time:5.2f}"
                  f"{drawn}  working set {ws / 1048576:6.2f} MiB (+{(ws - bare_memory) / 1048576:.2f})"
                  f"  peak {peak / 1048576:6.2f} MiB")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 3)
