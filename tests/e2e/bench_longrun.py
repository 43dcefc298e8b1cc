"""Long-run benchmark: the bar's working set over thousands of page turns and
auto-hide cycles, which must stay flat.

  python3 tests/e2e/bench_longrun.py [cycles]

The bar (auto-hide on, 1000 entries of the start-up benchmark's realistic
list) is driven as fast as it answers: each cycle turns one page forwards or
back (F2/F1, new pictures each time) and hides and shows the bar once, by
moving the pointer and sending the auto-hide timer's ticks (each sent tick is
a whole tick, so no waiting on the clock). The working set is read every
`SAMPLE_EVERY` cycles; the script prints the samples and the least-squares
slope in KiB per 1000 cycles, after the first samples (start-up growth) are
left out. Not a test: it prints figures.
"""

from __future__ import annotations

import statistics
import sys

import bench_startup
import harness
import tavi

WM_TIMER, TIMER1 = 0x113, 1
SAMPLE_EVERY = 100
WARM_UP_SAMPLES = 2


def slope(points: list) -> float:
    """Least-squares slope of (x, y) points."""
    mean_x = statistics.fmean(x for x, _ in points)
    mean_y = statistics.fmean(y for _, y in points)
    spread = sum((x - mean_x) ** 2 for x, _ in points)
    return sum((x - mean_x) * (y - mean_y) for x, y in points) / spread if spread else 0.0


def main(cycles: int) -> None:
    with harness.Session() as session:
        documents = session.program_folder("longrun-documents", [])
        for n in range(4):
            for pattern in bench_startup.DOCUMENTS:
                documents.write_text(pattern.format(n), "たびめにゅ～２\n")
            documents.write_text(f"作業{n}.bat", "@echo off\n")
        entries, groups = bench_startup.realistic_list(documents.win_path)
        folder = session.program_folder("longrun", [harness.PROGRAM_EXE])
        folder.write_bytes("Launch.ini", tavi.launch_ini(entries))
        folder.write_bytes("TaviMenu2.INI", bench_startup.members_ini(groups))
        folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_DEFAULT))
        bar = tavi.Bar.start(session, folder)
        screen = session.call("screen")

        def visible() -> bool:
            return session.window(bar.hwnd)["visible"]

        def tick_until(wanted: bool) -> None:
            for _ in range(50):
                session.call("send", hwnd=bar.hwnd, msg=WM_TIMER, wparam=TIMER1, lparam=0)
                if visible() == wanted:
                    return
            raise harness.WaitTimeout(f"the bar did not become {'visible' if wanted else 'hidden'}")

        samples = []
        forwards = True
        try:
            for cycle in range(cycles + 1):
                if cycle % SAMPLE_EVERY == 0:
                    size = session.call("working_set", pid=bar.pid)["working_set"]
                    samples.append((cycle, size))
                    print(f"  cycle {cycle:6d}: working set {size / 1048576:7.2f} MiB", flush=True)
                if cycle == cycles:
                    break
                # A page turn; the first button's tip says the page changed.
                before = bar.tips()[0]
                bar.key(tavi.VK_F2 if forwards else tavi.VK_F1)
                harness.wait_until(lambda: bar.tips()[0] != before, 10, "the page to turn")
                if cycle % 30 == 29:
                    forwards = not forwards
                session.call("cursor", x=screen["width"] // 2, y=screen["height"] // 2)
                tick_until(False)
                session.call("cursor", x=0, y=screen["height"] // 2)
                tick_until(True)
        finally:
            bar.stop()
        steady = samples[WARM_UP_SAMPLES:] if len(samples) > WARM_UP_SAMPLES + 1 else samples
        per_thousand = slope(steady) * 1000 / 1024
        print(f"{cycles} cycles: first {samples[0][1] / 1048576:.2f} MiB, last {samples[-1][1] / 1048576:.2f} MiB, "
              f"slope after cycle {steady[0][0]}: {per_thousand:+.1f} KiB per 1000 cycles")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 2000)
