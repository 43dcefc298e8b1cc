"""A folder that never answers, as one on an unreachable network drive: a
tiny FUSE file system (spoken to through /dev/fuse directly, standard library
only) whose root answers and whose every name lookup is never replied to.
A program that asks for "<mount>/anything" waits in that one thread until
the file system goes; the rest of the program runs on. Needs root and
/dev/fuse. Keep the mount itself out of listed folders: Wine holds one
process-wide lock while it lists a folder, and a listing of the root looks
its names up.

    with SilentFolder(path) as silent:   # path: an empty folder to mount on
        ... silent.path / "dead" never answers ...

Run as a script (python3 silent_folder.py MOUNTPOINT) it serves the mount
until it is killed; the class runs it so.
"""

from __future__ import annotations

import ctypes
import os
import struct
import subprocess
import sys
from pathlib import Path

FUSE_LOOKUP, FUSE_GETATTR, FUSE_GETXATTR, FUSE_INIT = 1, 3, 22, 26
FUSE_OPENDIR, FUSE_READDIR, FUSE_RELEASEDIR, FUSE_ACCESS = 27, 28, 29, 34
ENOSYS, ENODATA = 38, 61
MS_NOSUID, MS_NODEV = 2, 4
S_IFDIR = 0o040000


def available() -> bool:
    return os.geteuid() == 0 and os.path.exists("/dev/fuse")


def _serve(mount: str) -> None:
    device = os.open("/dev/fuse", os.O_RDWR)
    libc = ctypes.CDLL(None, use_errno=True)
    options = f"fd={device},rootmode={S_IFDIR:o},user_id=0,group_id=0".encode()
    if libc.mount(b"silent", mount.encode(), b"fuse", MS_NOSUID | MS_NODEV, options) != 0:
        print(f"mount failed: {os.strerror(ctypes.get_errno())}", flush=True)
        sys.exit(1)
    print("mounted", flush=True)

    def reply(unique: int, payload: bytes = b"", error: int = 0) -> None:
        os.write(device, struct.pack("<IiQ", 16 + len(payload), -error, unique) + payload)

    def folder_attributes(node: int) -> bytes:
        # fuse_attr_out: valid for a second, then ino, sizes, times, mode, links, ids, block size.
        return struct.pack("<QII", 1, 0, 0) + struct.pack(
            "<QQQQQQIIIIIIIIII", node, 0, 0, 0, 0, 0, 0, 0, 0, S_IFDIR | 0o755, 2, 0, 0, 0, 4096, 0)

    while True:
        try:
            request = os.read(device, 1 << 20)
        except OSError:
            return  # unmounted
        _, opcode, unique, node = struct.unpack_from("<IIQQ", request)
        if opcode == FUSE_INIT:
            _, minor = struct.unpack_from("<II", request, 40)
            # fuse_init_out, protocol 7.x; no flags, one request at a time.
            reply(unique, struct.pack("<IIIIHHIIHHI", 7, min(minor, 31), 0, 0, 0, 0, 4096, 1, 0, 0, 0) + bytes(28))
        elif opcode == FUSE_LOOKUP:
            pass  # never answered: whoever asks for a name waits for good
        elif opcode == FUSE_GETATTR:
            reply(unique, folder_attributes(node))
        elif opcode == FUSE_OPENDIR:
            reply(unique, bytes(16))
        elif opcode in (FUSE_READDIR, FUSE_RELEASEDIR, FUSE_ACCESS):
            reply(unique)  # an empty root
        elif opcode == FUSE_GETXATTR:
            reply(unique, error=ENODATA)
        else:
            reply(unique, error=ENOSYS)


class SilentFolder:
    def __init__(self, mount: Path):
        self.path = Path(mount)
        self._server: subprocess.Popen | None = None

    def __enter__(self) -> "SilentFolder":
        self.path.mkdir(parents=True, exist_ok=True)
        self._server = subprocess.Popen([sys.executable, __file__, str(self.path)], stdout=subprocess.PIPE, text=True)
        line = self._server.stdout.readline().strip()
        if line != "mounted":
            self.__exit__()
            raise RuntimeError(f"the silent folder did not mount: {line or 'no answer'}")
        return self

    def __exit__(self, *exc) -> None:
        # Ending the server fails every waiting lookup, so a thread stuck on
        # the mount returns; then the mount goes.
        if self._server:
            self._server.kill()
            self._server.wait()
            self._server.stdout.close()
            self._server = None
        subprocess.run(["umount", "-l", str(self.path)], stderr=subprocess.DEVNULL, check=False)


if __name__ == "__main__":
    _serve(sys.argv[1])
