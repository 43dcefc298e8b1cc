"""Start-up benchmark: process start to the painted bar with 1000 entries,
against a bare Win32 window started the same way in the same run, and the
bar's working set.

  python3 tests/e2e/bench_startup.py [rounds]

The bar shows its window only after its buttons and pictures are made and
painted, so "visible" is the painted bar. Not a test: it prints figures.
"""

from __future__ import annotations

import statistics
import sys
import time

import harness
import tavi


def main(rounds: int) -> None:
    with harness.Session() as session:
        bare_folder = session.program_folder("bench-bare", [harness.TOOLS_DIR / "barewindow.exe"])
        entries = [(f"ｴﾝﾄﾘｰ{i}", "C:\\windows\\notepad.exe", f"/p {i}", "0", "C:\\windows\\notepad.exe", "0")
                   for i in range(1000)]
        results = {"bare window": [], "bar, splash shown": [], "bar, splash off": []}
        memory = {"bare window": [], "bar, splash off": []}
        for round_number in range(rounds):
            for name in results:
                if name == "bare window":
                    folder, exe, cls = bare_folder, "barewindow.exe", "BareWindow"
                else:
                    folder = session.program_folder(f"bench-bar-{round_number}", [harness.PROGRAM_EXE])
                    folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
                    options = {"SplashLogo": "1"} if name.endswith("off") else {}
                    folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN, **options))
                    exe, cls = "TaviMenu2.exe", tavi.BAR_CLASS
                reply = session.call("start_timed", exe=session.to_windows(folder.file(exe)),
                                     cwd=session.to_windows(folder.path), **{"class": cls}, timeout_ms=30000,
                                     timeout=60)
                results[name].append(reply["ms"])
                if name in memory:
                    time.sleep(2)  # settle before reading the working set
                    memory[name].append(session.call("working_set", pid=reply["pid"])["working_set"])
                session.close_and_wait(reply["hwnd"], reply["pid"], 20)
        bare = statistics.median(results["bare window"])
        print(f"{rounds} rounds, medians (min..max):")
        for name, times in results.items():
            print(f"  {name:20s} {statistics.median(times):8.1f} ms ({min(times):.1f}..{max(times):.1f})"
                  f"  ratio {statistics.median(times) / bare:5.2f}")
        for name, sizes in memory.items():
            print(f"  working set, {name:15s} {statistics.median(sizes) / 1048576:6.1f} MiB")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 5)
