"""End-to-end harness: programs under Wine on Xvfb, driven from outside.

A Session owns one Wine prefix (build/e2e/prefix, made fresh once per run),
one Xvfb display and one running tavidriver.exe that answers JSON commands.
Everything it starts it also stops, by process id, even when a test fails.

Standard library only.
"""

from __future__ import annotations

import atexit
import dataclasses
import itertools
import json
import os
import re
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path
from typing import Any, Callable, Iterable, Optional

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
E2E_DIR = BUILD / "e2e"
WINDOWS_BUILD = BUILD / "windows"
TOOLS_DIR = WINDOWS_BUILD / "e2e"
PROGRAM_EXE = WINDOWS_BUILD / "TaviMenu2.exe"
PREFIX_DIR = E2E_DIR / "prefix"
PROGRAMS_DIR = E2E_DIR / "programs"
LOG_DIR = E2E_DIR / "logs"

# The prefix and the program folders are made fresh once per run (per Python
# process) and then reused.
_prefix_made_this_run = False
_programs_cleared_this_run = False

# Displays reserved for this harness; another Xvfb may hold any of them.
DISPLAY_NUMBERS = range(80, 90)

# Win32 constants the tests use by name.
IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = 1, 2, 3, 4, 5, 6, 7
SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED = 0, 1, 2, 3
SW_SHOWNOACTIVATE, SW_SHOW, SW_MINIMIZE, SW_SHOWMINNOACTIVE = 4, 5, 6, 7
STARTF_USESHOWWINDOW = 0x1
WM_CLOSE, WM_COMMAND, WM_LBUTTONUP, WM_RBUTTONUP = 0x10, 0x111, 0x202, 0x205
WM_LBUTTONDOWN, MK_LBUTTON = 0x201, 0x1


def program_version() -> tuple:
    """(major, minor, patch) of project(VERSION) in CMakeLists.txt, where the
    version resource and the packages take the program's version from."""
    text = (REPO / "CMakeLists.txt").read_text(encoding="utf-8")
    match = re.search(r"project\(TaviMenu2 VERSION (\d+)\.(\d+)\.(\d+)", text)
    if not match:
        raise RuntimeError("CMakeLists.txt names no project(TaviMenu2 VERSION x.y.z)")
    return tuple(int(v) for v in match.groups())


class HarnessError(RuntimeError):
    """The test environment could not be set up or torn down."""


class WaitTimeout(AssertionError):
    """A condition a test waited for did not come true in time (a test failure)."""


class DriverError(AssertionError):
    """The driver answered a command with ok=false."""


def wait_until(predicate: Callable[[], Any], timeout: float = 10.0, what: str = "a condition",
               interval: float = 0.05) -> Any:
    """Polls predicate until it returns something truthy and returns that; raises WaitTimeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def _stop_process(proc: Optional[subprocess.Popen], grace: float = 5.0) -> None:
    """Ends one process we started, by its pid: SIGTERM, then SIGKILL after grace."""
    if proc is None or proc.poll() is not None:
        return
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=grace)


# ---- Xvfb -------------------------------------------------------------------

class Xvfb:
    """One Xvfb server on a free display in DISPLAY_NUMBERS."""

    def __init__(self, width: int, height: int, depth: int = 24, extra_args: Iterable[str] = ()):
        self.width, self.height, self.depth = width, height, depth
        self.extra_args = list(extra_args)  # e.g. +xinerama and a second -screen
        self.proc: Optional[subprocess.Popen] = None
        self.number: Optional[int] = None

    @property
    def display(self) -> str:
        return f":{self.number}"

    def start(self, timeout: float = 15.0) -> None:
        LOG_DIR.mkdir(parents=True, exist_ok=True)
        tried = []
        for number in DISPLAY_NUMBERS:
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            tried.append(number)
            if self._try_start(number, timeout):
                return
        raise HarnessError(f"no Xvfb could start on displays {DISPLAY_NUMBERS.start}-"
                           f"{DISPLAY_NUMBERS.stop - 1} (tried {tried}); see {LOG_DIR / 'xvfb.log'}")

    def _try_start(self, number: int, timeout: float) -> bool:
        read_fd, write_fd = os.pipe()
        log = open(LOG_DIR / "xvfb.log", "ab")
        try:
            proc = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", f"{self.width}x{self.height}x{self.depth}",
                 *self.extra_args, "-nolisten", "tcp", "-displayfd", str(write_fd)],
                stdout=log, stderr=log, pass_fds=(write_fd,), start_new_session=True)
        finally:
            os.close(write_fd)
            log.close()
        # Xvfb writes the display number to the pipe once it accepts clients.
        ready = b""
        deadline = time.monotonic() + timeout
        try:
            while not ready.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or proc.poll() is not None:
                    break
                readable, _, _ = select.select([read_fd], [], [], min(remaining, 0.5))
                if readable:
                    chunk = os.read(read_fd, 64)
                    if not chunk:
                        break
                    ready += chunk
        finally:
            os.close(read_fd)
        if ready.strip() == str(number).encode():
            self.proc, self.number = proc, number
            return True
        _stop_process(proc)  # lost a race for this display, or failed: try the next one
        return False

    def stop(self) -> None:
        _stop_process(self.proc)
        self.proc = None


# ---- driver -----------------------------------------------------------------

class Driver:
    """tavidriver.exe under Wine: one JSON request line in, one reply line out."""

    def __init__(self, env: dict, exe: Path):
        LOG_DIR.mkdir(parents=True, exist_ok=True)
        self._log = open(LOG_DIR / "driver.log", "ab")
        self.proc = subprocess.Popen(["wine", str(exe)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=self._log, env=env, start_new_session=True)
        self._buffer = b""
        self._seqs = itertools.count(1)

    def call(self, cmd: str, timeout: float = 30.0, check: bool = True, **args: Any) -> dict:
        seq = next(self._seqs)
        line = json.dumps(dict(args, cmd=cmd, seq=seq), ensure_ascii=False) + "\n"
        try:
            self.proc.stdin.write(line.encode("utf-8"))
            self.proc.stdin.flush()
        except (BrokenPipeError, OSError) as e:
            raise HarnessError(f"driver is gone (exit code {self.proc.poll()}): {e}") from e
        reply = json.loads(self._read_line(timeout, cmd))
        if reply.get("seq") != seq:
            raise HarnessError(f"driver answered request {reply.get('seq')} to request {seq}: {reply}")
        if check and not reply.get("ok"):
            raise DriverError(f"driver command {cmd} {args} failed: {reply.get('error')}")
        return reply

    def send_raw(self, line: bytes, timeout: float = 30.0) -> dict:
        """Sends a line as it is (to test the driver's handling of bad input)."""
        self.proc.stdin.write(line + b"\n")
        self.proc.stdin.flush()
        return json.loads(self._read_line(timeout, repr(line)))

    def _read_line(self, timeout: float, what: str) -> str:
        deadline = time.monotonic() + timeout
        fd = self.proc.stdout.fileno()
        while b"\n" not in self._buffer:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise HarnessError(f"driver gave no reply to {what} within {timeout:.0f} s")
            readable, _, _ = select.select([fd], [], [], remaining)
            if readable:
                chunk = os.read(fd, 65536)
                if not chunk:
                    raise HarnessError(f"driver closed its output (exit code {self.proc.poll()}) during {what}")
                self._buffer += chunk
        line, self._buffer = self._buffer.split(b"\n", 1)
        return line.decode("utf-8")

    def quit(self, timeout: float = 10.0) -> None:
        if self.proc.poll() is None:
            try:
                self.call("quit", timeout=timeout)
                self.proc.wait(timeout=timeout)
            except (HarnessError, DriverError, subprocess.TimeoutExpired, ValueError):
                pass
        _stop_process(self.proc)
        for stream in (self.proc.stdin, self.proc.stdout):
            try:
                stream.close()
            except OSError:
                pass
        self._log.close()


# ---- program folders --------------------------------------------------------

class ProgramFolder:
    """A fresh folder for one test's program and its files."""

    def __init__(self, session: "Session", path: Path):
        self.session = session
        self.path = path

    @property
    def win_path(self) -> str:
        return self.session.to_windows(self.path)

    def file(self, name: str) -> Path:
        return self.path / name

    def win_file(self, name: str) -> str:
        return self.session.to_windows(self.path / name)

    def copy_in(self, source: Path, name: Optional[str] = None) -> Path:
        target = self.path / (name or Path(source).name)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)
        return target

    def exists(self, name: str) -> bool:
        return (self.path / name).exists()

    def read_bytes(self, name: str) -> bytes:
        return (self.path / name).read_bytes()

    def write_bytes(self, name: str, data: bytes) -> Path:
        target = self.path / name
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        return target

    def read_text(self, name: str) -> str:
        """Reads a file in the program's ANSI code page (932), line ends kept as they are."""
        return self.read_bytes(name).decode("cp932")

    def write_text(self, name: str, text: str, newline: str = "\r\n") -> Path:
        """Writes text in code page 932, each "\\n" written as `newline` (CR LF by default)."""
        return self.write_bytes(name, text.replace("\n", newline).encode("cp932"))

    def marker_records(self) -> list:
        """Records marker.exe appended to marker.txt here, oldest first."""
        if not self.exists("marker.txt"):
            return []
        return parse_marker_records(self.read_bytes("marker.txt").decode("utf-8"))


def parse_marker_records(text: str) -> list:
    """Splits marker.txt into complete records: dicts of key to value, 'arg' to a list."""
    records, current = [], None
    for line in text.split("\n"):
        if line == "[marker]":
            current = {"arg": [], "long_arg": []}
        elif line == "end" and current is not None:
            records.append(current)
            current = None
        elif current is not None and "=" in line:
            key, value = line.split("=", 1)
            if key in ("arg", "long_arg"):
                current[key].append(value)
            else:
                current[key] = value
    return records


# ---- message boxes ----------------------------------------------------------

@dataclasses.dataclass
class MessageBox:
    hwnd: int
    caption: str
    message: Optional[str]
    icon: str
    buttons: list          # button texts in order, e.g. ["はい(&Y)", "いいえ(&N)"]
    button_ids: list       # their control ids, e.g. [IDYES, IDNO]
    rect: list


# ---- session ----------------------------------------------------------------

class Session:
    """Wine prefix + Xvfb + driver for one test run."""

    def __init__(self, width: int = 1280, height: int = 1024, depth: int = 24,
                 fresh_prefix: Optional[bool] = None, env: Optional[dict] = None,
                 xvfb_args: Iterable[str] = (),
                 tools: Iterable[str] = ("tavidriver.exe", "marker.exe", "msgbox.exe")):
        # TAVI_E2E_REUSE_PREFIX=1 keeps an existing prefix, to iterate faster by hand.
        if fresh_prefix is None:
            fresh_prefix = os.environ.get("TAVI_E2E_REUSE_PREFIX") != "1"
        self.width, self.height, self.depth = width, height, depth
        self.fresh_prefix = fresh_prefix
        self.extra_env = dict(env or {})  # e.g. HOME with an ALSA configuration
        self.xvfb_args = list(xvfb_args)
        self.tools = tuple(tools)  # the tools this session needs built
        self.xvfb: Optional[Xvfb] = None
        self.driver: Optional[Driver] = None
        self.env: dict = {}
        self.timings: dict = {}
        self._folders = itertools.count(1)
        atexit.register(self.stop)

    # -- life cycle --

    def start(self) -> "Session":
        try:
            self._start()
        except BaseException:
            self.stop()
            raise
        return self

    def _start(self) -> None:
        for tool in self.tools:
            if not (TOOLS_DIR / tool).exists():
                raise HarnessError(f"{TOOLS_DIR / tool} is missing: build with "
                                   "`cmake --preset windows && cmake --build --preset windows`")
        E2E_DIR.mkdir(parents=True, exist_ok=True)
        began = time.monotonic()
        self.xvfb = Xvfb(self.width, self.height, self.depth, self.xvfb_args)
        self.xvfb.start()
        self.env = self._wine_env(self.xvfb.display)
        self.timings["xvfb"] = time.monotonic() - began
        prefix_missing = not (PREFIX_DIR / "system.reg").exists()
        if prefix_missing or (self.fresh_prefix and not _prefix_made_this_run):
            began = time.monotonic()
            self._make_prefix()
            self.timings["prefix"] = time.monotonic() - began
        began = time.monotonic()
        self.driver = Driver(self.env, TOOLS_DIR / "tavidriver.exe")
        acp = self.call("acp", timeout=60)["acp"]
        self.timings["driver"] = time.monotonic() - began
        if acp != 932:
            raise HarnessError(f"Wine's ANSI code page is {acp}, not 932: is the ja_JP.UTF-8 locale generated "
                               "(locale -a) and LC_ALL=ja_JP.UTF-8 reaching Wine?")

    def _wine_env(self, display: str, extras: bool = True) -> dict:
        env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "XAUTHORITY", "LANG", "LANGUAGE"):
            env.pop(name, None)
        env.update(WINEPREFIX=str(PREFIX_DIR), WINEARCH="win64", WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="ja_JP.UTF-8", DISPLAY=display)
        if extras:
            env.update(self.extra_env)
        return env

    def _make_prefix(self) -> None:
        global _prefix_made_this_run
        if self.fresh_prefix and PREFIX_DIR.exists():
            self._wineserver_kill()  # a server left by an interrupted run still holds the old prefix
            shutil.rmtree(PREFIX_DIR)
        # The prefix is made with the usual environment whatever this session
        # adds (another HOME would become the home of the prefix's user folders).
        boot_env = self._wine_env(self.env["DISPLAY"], extras=False)
        with open(LOG_DIR / "wineboot.log", "ab") as log:
            result = subprocess.run(["wineboot", "-i"], env=boot_env, stdout=log, stderr=log, timeout=180)
        if result.returncode != 0:
            raise HarnessError(f"wineboot -i failed with {result.returncode}; see {LOG_DIR / 'wineboot.log'}")
        # Xvfb has no window manager. Wine waits up to 2 s for one to withdraw each
        # managed window it hides; unmanaged windows hide at once, and Wine draws
        # their captions and frames itself, as Windows would.
        self._wine_quietly("reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f")
        # Debian's Wine keeps its own fonts (Marlett for frame-control glyphs,
        # Tahoma) where this build does not look; Windows has them in its Fonts folder.
        fonts = PREFIX_DIR / "drive_c" / "windows" / "Fonts"
        for font in Path("/usr/share/wine/fonts").glob("*.ttf"):
            if not (fonts / font.name).exists():
                shutil.copyfile(font, fonts / font.name)
        _prefix_made_this_run = True

    def wine(self, *args: str, timeout: float = 60) -> subprocess.CompletedProcess:
        """A Wine console program in this session's prefix; its output is code page 932."""
        return subprocess.run(["wine", *args], env=self.env, capture_output=True, timeout=timeout)

    def reg_values(self, key: str) -> Optional[dict]:
        """The values of a registry key as name -> text (as reg.exe prints them), or
        None when the key is missing."""
        result = self.wine("reg", "query", key)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.decode("cp932", errors="replace").splitlines():
            parts = line.strip().split("    ")
            if len(parts) == 3 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2]
        return values

    def _wine_quietly(self, *args: str) -> None:
        with open(LOG_DIR / "wineboot.log", "ab") as log:
            result = subprocess.run(["wine", *args], env=self.env, stdout=log, stderr=log, timeout=60)
        if result.returncode != 0:
            raise HarnessError(f"wine {' '.join(args)} failed with {result.returncode}")

    def _wineserver_kill(self) -> None:
        if not PREFIX_DIR.exists() or not self.env:
            return
        try:
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # -w returns once this prefix's server has exited.
            subprocess.run(["wineserver", "-w"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            pass

    def stop(self) -> None:
        """Quits the driver, ends every process of this prefix, then Xvfb. Safe to call twice."""
        if self.driver is not None:
            self.driver.quit()
            self.driver = None
        self._wineserver_kill()
        if self.xvfb is not None:
            self.xvfb.stop()
            self.xvfb = None

    def restart(self, width: Optional[int] = None, height: Optional[int] = None,
                depth: Optional[int] = None) -> None:
        """Starts over on a new Xvfb with another screen size, keeping the prefix."""
        self.stop()
        self.width = width or self.width
        self.height = height or self.height
        self.depth = depth or self.depth
        self.start()

    def declare_drive(self, letter: str, kind: str, folder: Path) -> None:
        """Makes `letter`: a drive of `kind` ("cdrom" or "floppy") on `folder`; call
        restart() afterwards, as Wine reads drive types when its server starts."""
        folder.mkdir(parents=True, exist_ok=True)
        link = PREFIX_DIR / "dosdevices" / f"{letter.lower()}:"
        if link.is_symlink():
            link.unlink()
        link.symlink_to(folder)
        self._wine_quietly("reg", "add", "HKLM\\Software\\Wine\\Drives", "/v", f"{letter.lower()}:",
                           "/t", "REG_SZ", "/d", kind, "/f")

    def forget_drive(self, letter: str) -> None:
        """Undoes declare_drive (then restart())."""
        link = PREFIX_DIR / "dosdevices" / f"{letter.lower()}:"
        if link.is_symlink():
            link.unlink()
        self._wine_quietly("reg", "delete", "HKLM\\Software\\Wine\\Drives", "/v", f"{letter.lower()}:", "/f")

    def set_dpi(self, dpi: int) -> None:
        """Sets the display scale of the prefix (LogPixels) and starts over so
        every program sees it; the prefix keeps it until set again."""
        self._wine_quietly("reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels",
                           "/t", "REG_DWORD", "/d", str(dpi), "/f")
        self.restart()

    def __enter__(self) -> "Session":
        return self.start()

    def __exit__(self, *exc) -> None:
        self.stop()

    @property
    def display(self) -> str:
        return self.xvfb.display

    # -- driver --

    def call(self, cmd: str, timeout: float = 30.0, check: bool = True, **args: Any) -> dict:
        if self.driver is None:
            raise HarnessError("the session is not started")
        return self.driver.call(cmd, timeout=timeout, check=check, **args)

    # -- paths --

    def _drives(self) -> list:
        """(letter, Linux folder) for each Wine drive, longest folder first."""
        drives = []
        dosdevices = PREFIX_DIR / "dosdevices"
        for entry in dosdevices.iterdir():
            name = entry.name.lower()
            if len(name) == 2 and name[1] == ":" and entry.is_symlink():
                drives.append((name[0].upper(), os.path.realpath(entry)))
        drives.sort(key=lambda d: len(d[1]), reverse=True)
        return drives

    def to_windows(self, path: os.PathLike | str) -> str:
        """Linux path to the Windows path Wine gives it (C: inside drive_c, else Z:)."""
        real = os.path.realpath(path)
        for letter, root in self._drives():
            if real == root or real.startswith(root.rstrip("/") + "/"):
                rest = real[len(root):].lstrip("/")
                return f"{letter}:\\" + rest.replace("/", "\\")
        raise HarnessError(f"{path} is on no Wine drive")

    def to_linux(self, win_path: str) -> Path:
        """Windows path (drive letter form) to its Linux path."""
        if len(win_path) < 2 or win_path[1] != ":":
            raise HarnessError(f"{win_path!r} is not a drive path")
        for letter, root in self._drives():
            if letter == win_path[0].upper():
                rest = win_path[2:].replace("\\", "/").lstrip("/")
                return Path(root) / rest
        raise HarnessError(f"no Wine drive {win_path[0]}:")

    # -- program folders --

    def program_folder(self, name: str, exes: Iterable[os.PathLike | str] = ()) -> ProgramFolder:
        """A fresh build/e2e/programs/<n>-<name>/ holding copies of the given exes."""
        global _programs_cleared_this_run
        if not _programs_cleared_this_run and PROGRAMS_DIR.exists():
            shutil.rmtree(PROGRAMS_DIR)
        _programs_cleared_this_run = True
        path = PROGRAMS_DIR / f"{next(self._folders):02d}-{name}"
        if path.exists():
            shutil.rmtree(path)
        path.mkdir(parents=True)
        folder = ProgramFolder(self, path)
        for exe in exes:
            folder.copy_in(Path(exe))
        return folder

    # -- processes --

    def start_program(self, exe: os.PathLike | str, args: str = "", cwd: Optional[os.PathLike | str] = None,
                      show: Optional[int | str] = None) -> int:
        """Starts a Linux-path exe through the driver (CreateProcessW); returns its pid."""
        request = {"exe": self.to_windows(exe), "args": args}
        if cwd is not None:
            request["cwd"] = self.to_windows(cwd)
        if show is not None:
            request["show"] = show
        try:
            return self.call("start", **request)["pid"]
        except DriverError as error:
            # Wine once failed a CreateProcess with ERROR_INTERNAL_ERROR (1359)
            # right after its mount manager had defined a drive, under load,
            # before any code of the program ran: asked once more.
            if "error 1359" not in str(error):
                raise
            return self.call("start", **request)["pid"]

    def wait_exit(self, pid: int, timeout: float = 10.0) -> int:
        """Waits for a process to end; returns its exit code, raises WaitTimeout."""
        reply = self.call("wait_exit", pid=pid, timeout_ms=int(timeout * 1000), timeout=timeout + 30)
        if not reply["exited"]:
            raise WaitTimeout(f"process {pid} still running after {timeout:.1f} s")
        return reply["exit_code"]

    def alive(self, pid: int) -> bool:
        return self.call("alive", pid=pid)["alive"]

    # -- windows --

    def windows(self, pid: Optional[int] = None, cls: Optional[str] = None, caption: Optional[str] = None,
                hidden: bool = False, children: bool = False) -> list:
        """Top-level windows (and children if asked), filtered by pid, class and caption."""
        request = {"hidden": hidden, "children": children}
        if pid is not None:
            request["pid"] = pid
        found = self.call("windows", **request)["windows"]
        return [w for w in found
                if (cls is None or w["class"] == cls) and (caption is None or w["caption"] == caption)]

    def wait_window(self, pid: Optional[int] = None, cls: Optional[str] = None, caption: Optional[str] = None,
                    hidden: bool = False, timeout: float = 10.0) -> dict:
        """Waits for a window matching pid/class/caption; returns the first one."""
        what = f"a window (pid={pid}, class={cls!r}, caption={caption!r})"
        return wait_until(lambda: next(iter(self.windows(pid, cls, caption, hidden)), None), timeout, what)

    def window(self, hwnd: int) -> dict:
        return self.call("window", hwnd=hwnd)["window"]

    def message_box(self, hwnd: int) -> MessageBox:
        d = self.call("dialog_texts", hwnd=hwnd)
        return MessageBox(hwnd=hwnd, caption=d["caption"], message=d["message"], icon=d["icon"],
                          buttons=[b["text"] for b in d["buttons"]], button_ids=[b["id"] for b in d["buttons"]],
                          rect=self.window(hwnd)["rect"])

    def wait_message_box(self, pid: int, timeout: float = 10.0) -> MessageBox:
        """Waits for a visible message box (#32770 with its text) of pid and reads it."""
        def ready():
            for w in self.windows(pid, cls="#32770"):
                box = self.message_box(w["hwnd"])
                if box.message is not None and box.buttons:
                    return box
            return None
        return wait_until(ready, timeout, f"a message box of process {pid}")

    def press(self, hwnd: int, text: Optional[str] = None, id: Optional[int] = None) -> dict:
        """Clicks a dialog button by its text ("はい" matches "はい(&Y)") or control id."""
        request = {"hwnd": hwnd}
        if text is not None:
            request["text"] = text
        if id is not None:
            request["id"] = id
        return self.call("press", **request)

    def close_and_wait(self, hwnd: int, pid: int, timeout: float = 10.0) -> int:
        """Posts WM_CLOSE to a window and waits for its process to exit; returns the exit code."""
        self.call("close", hwnd=hwnd)
        return self.wait_exit(pid, timeout)

    # -- shell --

    def tray_icons(self) -> list:
        return self.call("tray_icons")["icons"]

    def wait_tray_icon(self, tip: str, timeout: float = 10.0) -> dict:
        return wait_until(lambda: next((i for i in self.tray_icons() if i["tip"] == tip), None),
                          timeout, f"a tray icon with tip {tip!r}")

    def screen(self) -> dict:
        return self.call("screen")

    # -- popup menus --

    def popup_menus(self, pid: Optional[int] = None) -> list:
        """Popup menu windows (#32768) on screen, of one process if given."""
        return [m for m in self.call("popup_menus")["menus"] if pid is None or m["pid"] == pid]

    def wait_popup_menu(self, pid: int, timeout: float = 10.0) -> dict:
        return wait_until(lambda: next(iter(self.popup_menus(pid)), None), timeout, f"a popup menu of process {pid}")

    def menu_items(self, popup_hwnd: int) -> list:
        """The items of a shown popup menu, read in its own process: text, enabled, checked,
        separator, id, rect (screen pixels, shown items only) and items of submenus."""
        return self.call("menu_items", hwnd=popup_hwnd)["items"]

    def accessible_tree(self, hwnd: int) -> dict:
        """A window's accessible children as a screen reader in its own process reads
        them: count, children (name, role, state) and focus (child id or None)."""
        return self.call("accessible_tree", hwnd=hwnd)

    def click_menu_item(self, popup_hwnd: int, owner_hwnd: int, text: str) -> None:
        """Clicks the shown item captioned `text` of a menu tracked for `owner_hwnd`
        (the window given to TrackPopupMenu, which holds the capture): the pointer
        is put on the item and the button's press and release are posted to the
        owner, whose menu loop takes them. An X click could be lost right after
        another menu closed (Wine's pointer grab outlives it); a key needs X focus."""
        item = next((i for i in self.menu_items(popup_hwnd) if i["text"] == text), None)
        if item is None or "rect" not in item:
            raise HarnessError(f"no shown menu item {text!r}")
        left, top, right, bottom = item["rect"]
        x, y = (left + right) // 2, (top + bottom) // 2
        self.call("cursor", x=x, y=y)
        origin = self.window(owner_hwnd)["client"]
        point = (((y - origin[1]) & 0xFFFF) << 16) | ((x - origin[0]) & 0xFFFF)
        self.call("post", hwnd=owner_hwnd, msg=WM_LBUTTONDOWN, wparam=MK_LBUTTON, lparam=point)
        self.call("post", hwnd=owner_hwnd, msg=WM_LBUTTONUP, wparam=0, lparam=point)

    def choose_menu(self, pid: int, owner_hwnd: int, *captions: str, timeout: float = 10.0) -> None:
        """Clicks through the open popup menus of `pid`, tracked for `owner_hwnd`:
        each caption opens a submenu (which must then appear), the last one is chosen."""
        for caption in captions:
            def showing():
                for popup in self.popup_menus(pid):
                    try:
                        items = self.menu_items(popup["hwnd"])
                    except DriverError:
                        continue  # a menu that closed meanwhile
                    if any(i["text"] == caption and "rect" in i for i in items):
                        return popup
                return None
            popup = wait_until(showing, timeout, f"a menu showing {caption!r}")
            self.click_menu_item(popup["hwnd"], owner_hwnd, caption)

    # -- pictures --

    def screenshot(self, name: str) -> Path:
        """Saves the whole screen to build/e2e/<name>.png and returns the path."""
        target = E2E_DIR / f"{name}.png"
        target.parent.mkdir(parents=True, exist_ok=True)
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(["import", "-window", "root", str(target)], env=env, timeout=30,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if result.returncode != 0:
            raise HarnessError(f"import failed: {result.stderr.decode(errors='replace')}")
        return target

    def xdotool(self, *args: str) -> str:
        """Runs xdotool on this session's display; returns its output."""
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(["xdotool", *args], env=env, timeout=30, capture_output=True)
        if result.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(args)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode("utf-8")
