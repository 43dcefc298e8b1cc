"""Screenshots of the dialogs and the group box at 96 and 144 dpi, for a person to look at.

  python3 tests/e2e/dialog_shots.py [OUT_FOLDER]     (default build/e2e/dialogs)

Runs the Windows tests that open the registration dialog, the icon picker,
frmReboot, the format dialog, the options dialog (each of its pages), the file
properties and the memory meter with TAVI_DIALOG_SHOTS set: each test writes <name>-<dpi>.shown (the dialog's
rectangle) once its dialog is up and waits for <name>-<dpi>.taken, which this
script writes after cropping the dialog out of a screenshot. Then the prefix
is switched to 144 dpi (LogPixels, a new wineserver) and the same is done
again; the prefix is set back to 96 dpi at the end.
"""

from __future__ import annotations

import subprocess
import sys
import tempfile
from pathlib import Path

import harness

TESTS = ("NewAppWin.*:IconChangeWin.*:FrmRebootWin.*:FDFormatWin.*:NewAppExWin.*:GroupBoxWin.TheBox*:"
         "OptionSetWin.EveryPageShowsItsControlsAndTheSettings:"
         "FileInfomationWin.AJapaneseNamedFileShowsItsExactTypeSizeTimesAndAttributes:"
         "MemorySpaceWin.ShowsThisSystemsMemoryAndClosesWithEscape")
NAMES = {"new_app", "new_app_group", "icon_change", "icon_change_library", "frm_reboot", "fd_format",
         "fd_format_empty", "option_set_display", "option_set_behaviour", "option_set_timer",
         "option_set_version", "file_infomation", "memory_space", "new_app_ex", "group_box"}


def set_dpi(session: harness.Session, dpi: int) -> None:
    subprocess.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                    "/d", str(dpi), "/f"], env=session.env, check=True, capture_output=True, timeout=60)
    session.restart()  # the dpi is read when the wineserver starts


def _waiting(folder: Path):
    """A dialog that is up and not yet photographed, or None."""
    return next((p for p in sorted(folder.glob("*.shown")) if not p.with_suffix(".taken").exists()), None)


def shoot(session: harness.Session, out: Path) -> list:
    saved = []
    with tempfile.TemporaryDirectory(prefix="tavi-shots-") as work:
        folder = Path(work)
        env = dict(session.env, TAVI_DIALOG_SHOTS=session.to_windows(folder))
        exe = str(harness.WINDOWS_BUILD / "win_tests.exe")
        tests = subprocess.Popen(["wine", exe, f"--gtest_filter={TESTS}"], env=env, cwd=work,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            while tests.poll() is None:
                shown = harness.wait_until(lambda: _waiting(folder) or tests.poll() is not None, 60, "a dialog")
                if shown is True:
                    break
                harness.wait_until(lambda: shown.read_text().strip(), 10, f"{shown.name} written")
                left, top, width, height = (int(v) for v in shown.read_text().split())
                screen = session.screenshot(f"dialog-shot-{shown.stem}")
                target = out / f"{shown.stem}.png"
                subprocess.run(["convert", str(screen), "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                                str(target)], check=True, timeout=60)
                saved.append(target)
                shown.with_suffix(".taken").write_text("taken")
            output, _ = tests.communicate(timeout=120)
        finally:
            harness._stop_process(tests)
        if tests.returncode != 0:
            print(output.decode("utf-8", "replace"), file=sys.stderr)
            raise harness.HarnessError(f"win_tests.exe ended with {tests.returncode}")
    missing = NAMES - {p.stem.rsplit("-", 1)[0] for p in saved}
    if missing:
        raise harness.HarnessError(f"no screenshot of {sorted(missing)}")
    return saved


def main(argv: list) -> int:
    out = Path(argv[0]) if argv else harness.E2E_DIR / "dialogs"
    out.mkdir(parents=True, exist_ok=True)
    with harness.Session() as session:
        saved = shoot(session, out)
        try:
            set_dpi(session, 144)
            saved += shoot(session, out)
        finally:
            set_dpi(session, 96)
    for path in saved:
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
