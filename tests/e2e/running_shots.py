"""Pictures of the running mark for a person to look at: the bar with the
notepad it started marked on its button, and a group box whose notepad
member is marked, in the light and the dark app mode and in high contrast,
at 96 and 144 dpi.

  python3 tests/e2e/running_shots.py [DPI ...]
      (into build/e2e/running-<light|dark|contrast>-<dpi>.png)

Wine 8 refuses SPI_SETHIGHCONTRAST (error 1439) and its SPI_GETHIGHCONTRAST
answers "off" whatever the prefix holds, so for high contrast the prefix
gets the system colours of a black high-contrast scheme and the bar is
started with TAVI_HIGH_CONTRAST=1, which stands for the flag. The prefix is
set back to 96 dpi, the light mode and its own colours at the end.
Not a test: it prints the pictures' paths.
"""

from __future__ import annotations

import subprocess
import sys

import harness
import tavi

COLORS_KEY = "HKCU\\Control Panel\\Colors"
# A black high-contrast scheme, as "R G B".
CONTRAST_COLOURS = {
    "Background": "0 0 0", "Window": "0 0 0", "WindowText": "255 255 255", "WindowFrame": "255 255 255",
    "ButtonFace": "0 0 0", "ButtonText": "255 255 255", "ButtonShadow": "128 128 128",
    "ButtonHilight": "255 255 255", "ButtonLight": "255 255 255", "ButtonDkShadow": "255 255 255",
    "Hilight": "26 235 255", "HilightText": "0 0 0", "GrayText": "63 242 63", "HotTrackingColor": "255 255 0",
    "Menu": "0 0 0", "MenuText": "255 255 255", "InfoWindow": "0 0 0", "InfoText": "255 255 255",
}
PERSONALIZE_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"
GROUP = ("Tools", "[Tools]", "", "0", "", "0")
MEMBERS = tavi.cp932_lines(["[ExMenu01]", "00ExTitle=Memo", "00ExPathName=C:\\windows\\notepad.exe",
                            "00ExCommand=", "00ExRunType=0"])


def dark_mode(session: harness.Session, dark: bool) -> None:
    # Absent is light; a missing value to delete is no fault.
    if dark:
        session.wine("reg", "add", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d", "0", "/f")
    else:
        session.wine("reg", "delete", PERSONALIZE_KEY, "/v", "AppsUseLightTheme", "/f")


def set_colours(session: harness.Session, colours: dict) -> None:
    for name, value in colours.items():
        session.wine("reg", "add", COLORS_KEY, "/v", name, "/t", "REG_SZ", "/d", value, "/f")


def put_back_colours(session: harness.Session, own: dict) -> None:
    for name in CONTRAST_COLOURS:
        if name in own:
            session.wine("reg", "add", COLORS_KEY, "/v", name, "/t", "REG_SZ", "/d", own[name], "/f")
        else:
            session.wine("reg", "delete", COLORS_KEY, "/v", name, "/f")


def shoot(session: harness.Session, mode: str, dpi: int) -> str:
    folder = session.program_folder(f"running-{mode}-{dpi}", [harness.PROGRAM_EXE])
    folder.write_bytes("Launch.ini", tavi.launch_ini([tavi.NOTEPAD, GROUP]))
    folder.write_bytes("TaviLaunch.ini", tavi.settings_ini(tavi.INIBUFF_LEFT_SHOWN))
    folder.write_bytes("TaviMenu2.INI", MEMBERS)
    env = {"TAVI_HIGH_CONTRAST": "1"} if mode == "contrast" else {}
    pid = session.call("start", exe=session.to_windows(folder.file("TaviMenu2.exe")),
                       cwd=session.to_windows(folder.path), env=env)["pid"]
    bar = tavi.Bar.attach(session, folder, pid)
    try:
        bar.click(0)
        notepad = session.wait_window(cls="Notepad", timeout=30)
        session.call("move", hwnd=notepad["hwnd"], x=500, y=300)
        harness.wait_until(
            lambda: session.accessible_tree(bar.toolbar)["children"][0].get("description") == "実行中", 10,
            "notepad marked running")
        bar.click(1)
        box = session.wait_window(bar.pid, cls="frmRectangle", timeout=10)
        shot = session.screenshot(f"running-{mode}-{dpi}")
        right = max(bar.window()["rect"][2], box["rect"][2]) + 8
        bottom = max(b["rect"][3] for b in bar.buttons(tips=False)[:2]) + 8
        subprocess.run(["convert", str(shot), "-crop", f"{right}x{bottom}+0+0", "+repage", str(shot)], check=True,
                       timeout=30)
        return str(shot)
    finally:
        bar.stop()
        # Closed, not killed: the driver kills only what it started itself.
        for window in session.windows(cls="Notepad", hidden=True):
            session.call("close", hwnd=window["hwnd"], check=False)
        harness.wait_until(lambda: not session.windows(cls="Notepad", hidden=True), 10, "every notepad closed")


def main(argv: list) -> int:
    dpis = [int(a) for a in argv] or [96, 144]
    with harness.Session() as session:
        session.call("cursor", x=640, y=900)
        own_colours = session.reg_values(COLORS_KEY) or {}
        try:
            for dpi in dpis:
                session.set_dpi(dpi)
                for mode in ("light", "dark"):
                    dark_mode(session, mode == "dark")
                    print(shoot(session, mode, dpi))
                dark_mode(session, False)
                set_colours(session, CONTRAST_COLOURS)
                session.restart()  # each program reads the system colours as it starts
                print(shoot(session, "contrast", dpi))
                put_back_colours(session, own_colours)
        finally:
            put_back_colours(session, own_colours)
            dark_mode(session, False)
            session.set_dpi(96)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
