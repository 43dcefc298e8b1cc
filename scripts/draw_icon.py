#!/usr/bin/env python3
"""Draws the program's icon: a blue tile holding a white bar of three coloured
buttons beside three menu lines, the bar the program puts on the screen.

    scripts/draw_icon.py OUT.ico [--png FOLDER]

Writes every size Windows asks for (16, 20, 24, 32, 40, 48, 64 and 256 px)
into one .ico file, the 256 px picture as PNG, the others as 32-bit bitmaps
with their mask. The tile's mid blue and its dark rim stand out on light
and dark backgrounds alike. Small sizes put every edge on a whole pixel so
they stay sharp. The output depends on nothing but this file, so a build
makes the same bytes every time. --png also writes each size as a PNG to
look at.
"""

from __future__ import annotations

import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
UNITS = 256.0  # the drawing's own coordinates; every size scales them

# (left, top, right, bottom, corner radius) in units, with the colour.
TILE = (16, 16, 240, 240, 44)
TILE_TOP, TILE_BOTTOM, RIM = (52, 132, 232), (26, 82, 178), (14, 44, 108)
BAR = ((40, 36, 108, 220, 16), (248, 249, 252))
BUTTONS = (((54, 52, 94, 92, 9), (250, 196, 56)),
           ((54, 108, 94, 148, 9), (238, 100, 84)),
           ((54, 164, 94, 204, 9), (84, 186, 104)))
LINES = (((128, 60, 214, 84, 12), (190, 222, 252)),
         ((128, 116, 196, 140, 12), (190, 222, 252)),
         ((128, 172, 206, 196, 12), (190, 222, 252)))
# The same picture laid out on whole pixels of 16 px, for the two smallest sizes.
SMALL_UNITS = 16.0
SMALL_TILE = (1, 1, 15, 15, 3)
SMALL_BAR = ((3, 3, 7, 13, 1), BAR[1])
SMALL_BUTTONS = tuple(((4, 4 + 3 * i, 6, 6 + 3 * i, 0), colour) for i, (_, colour) in enumerate(BUTTONS))
SMALL_LINES = (((9, 4, 13, 5, 0), LINES[0][1]), ((9, 7, 12, 8, 0), LINES[1][1]), ((9, 10, 13, 11, 0), LINES[2][1]))


def place(shape, size: int, units: float = UNITS):
    """A shape's box in pixels; below 64 px its edges on whole pixels, at least one pixel wide."""
    scale = size / units
    left, top, right, bottom, radius = (value * scale for value in shape)
    if size < 64:
        # Position and size rounded each on its own, so that equal shapes stay equal.
        whole = lambda v: float(math.floor(v + 0.5))
        width, height = max(1.0, whole(right - left)), max(1.0, whole(bottom - top))
        left, top = whole(left), whole(top)
        right, bottom = left + width, top + height
        # A square of a few pixels with rounded corners reads as a cross.
        radius = max(1.0, whole(radius)) if radius >= 0.5 and min(width, height) >= 4 else 0.0
    return left, top, right, bottom, min(radius, (right - left) / 2, (bottom - top) / 2)


def coverage(box, x: float, y: float) -> float:
    """How much of the pixel centred on (x, y) the rounded box covers, from its signed distance."""
    left, top, right, bottom, radius = box
    half_w, half_h = (right - left) / 2, (bottom - top) / 2
    qx = abs(x - (left + half_w)) - (half_w - radius)
    qy = abs(y - (top + half_h)) - (half_h - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    distance = outside + min(max(qx, qy), 0.0) - radius
    return min(1.0, max(0.0, 0.5 - distance))


def draw(size: int) -> list[tuple[int, int, int, int]]:
    """The icon at `size` px, rows from the top, as (r, g, b, a)."""
    pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]  # premultiplied

    def paint(box, colour_at) -> None:
        left, top, right, bottom, _ = box
        for y in range(max(0, int(top) - 1), min(size, int(math.ceil(bottom)) + 1)):
            for x in range(max(0, int(left) - 1), min(size, int(math.ceil(right)) + 1)):
                alpha = coverage(box, x + 0.5, y + 0.5)
                if alpha <= 0.0:
                    continue
                r, g, b = colour_at(y)
                pixel = pixels[y * size + x]
                keep = 1.0 - alpha
                pixel[0] = r / 255 * alpha + pixel[0] * keep
                pixel[1] = g / 255 * alpha + pixel[1] * keep
                pixel[2] = b / 255 * alpha + pixel[2] * keep
                pixel[3] = alpha + pixel[3] * keep

    small = size < 24
    units = SMALL_UNITS if small else UNITS
    tile = place(SMALL_TILE if small else TILE, size, units)
    rim = max(1.0, round(size / 40))
    inner = (tile[0] + rim, tile[1] + rim, tile[2] - rim, tile[3] - rim, max(0.0, tile[4] - rim))

    def gradient(y: int):
        t = min(1.0, max(0.0, (y + 0.5 - inner[1]) / max(1.0, inner[3] - inner[1])))
        return tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))

    paint(tile, lambda y: RIM)
    paint(inner, gradient)
    shapes = (SMALL_BAR,) + SMALL_BUTTONS + SMALL_LINES if small else (BAR,) + BUTTONS + LINES
    for shape, colour in shapes:
        paint(place(shape, size, units), lambda y, c=colour: c)

    result = []
    for r, g, b, a in pixels:
        if a <= 0.0:
            result.append((0, 0, 0, 0))
        else:
            result.append(tuple(min(255, round(c / a * 255)) for c in (r, g, b)) + (min(255, round(a * 255)),))
    return result


def png(size: int, pixels) -> bytes:
    def chunk(kind: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(v for p in pixels[y * size:(y + 1) * size] for v in p) for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def dib(size: int, pixels) -> bytes:
    """A 32-bit bitmap, bottom row first, and its mask (set where nothing is drawn)."""
    colour = b"".join(bytes((b, g, r, a)) for y in reversed(range(size)) for r, g, b, a in pixels[y * size:(y + 1) * size])
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if pixels[y * size + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + bytes(mask)


def ico(images: list[tuple[int, bytes]]) -> bytes:
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        side = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return directory + body


def main(argv: list[str]) -> int:
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--png"):
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    images = []
    previews = Path(argv[3]) if len(argv) == 4 else None
    for size in SIZES:
        pixels = draw(size)
        images.append((size, png(size, pixels) if size >= 256 else dib(size, pixels)))
        if previews:
            previews.mkdir(parents=True, exist_ok=True)
            (previews / f"TaviMenu2-{size}.png").write_bytes(png(size, pixels))
    target = Path(argv[1])
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(ico(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
