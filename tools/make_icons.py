#!/usr/bin/env python3
"""Draws Tellbud's icons (16x16 and 32x32, 32-bit with alpha) and writes them as .ico files.

The pictures are simple shapes drawn on a grid so that they stay readable at both sizes:
a telephone handset for the program, coloured dots for online and offline contacts, and
the handset with a green, red or grey mark for the tray states.
"""
import math
import struct
import sys
from pathlib import Path


def blank(n):
    return [[(0, 0, 0, 0) for _ in range(n)] for _ in range(n)]


def disc(img, cx, cy, r, rgba):
    n = len(img)
    for y in range(n):
        for x in range(n):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r:
                img[y][x] = rgba


def handset(img, rgba):
    """A telephone handset: two ear pieces joined by a curved grip."""
    n = len(img)
    s = n / 32.0
    for y in range(n):
        for x in range(n):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            # The grip: a thick arc.
            d = math.hypot(fx - 16, fy - 20)
            on_arc = 9 <= d <= 14 and fy <= 20
            ear_left = math.hypot(fx - 6, fy - 21) <= 4.5
            ear_right = math.hypot(fx - 26, fy - 21) <= 4.5
            if on_arc or ear_left or ear_right:
                img[y][x] = rgba


def mark(img, kind):
    n = len(img)
    s = n / 32.0
    if kind == "ok":
        disc(img, 24 * s, 24 * s, 7 * s, (40, 170, 60, 255))
    elif kind == "nophone":
        disc(img, 24 * s, 24 * s, 7 * s, (200, 40, 40, 255))
        for i in range(-4, 5):
            for t in (-1, 0):
                for (ax, ay) in ((i, i + t), (i, -i + t)):
                    x, y = int(24 * s + ax * s), int(24 * s + ay * s)
                    if 0 <= x < n and 0 <= y < n:
                        img[y][x] = (255, 255, 255, 255)
    elif kind == "nodevice":
        for i in range(n):
            for w in (0, 1):
                x = min(n - 1, i + w)
                img[i][x] = (120, 120, 120, 255)


def picture(kind, n):
    img = blank(n)
    s = n / 32.0
    if kind == "online":
        disc(img, 16 * s, 16 * s, 11 * s, (40, 170, 60, 255))
    elif kind == "offline":
        disc(img, 16 * s, 16 * s, 11 * s, (150, 150, 150, 255))
    elif kind == "tellbud":
        disc(img, 16 * s, 16 * s, 15.5 * s, (30, 90, 170, 255))
        handset(img, (255, 255, 255, 255))
    else:
        colour = (90, 90, 90, 255) if kind == "nodevice" else (30, 90, 170, 255)
        handset(img, colour)
        mark(img, kind)
    return img


def dib(img):
    n = len(img)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(img) for (r, g, b, a) in row)
    mask_row = ((n + 31) // 32) * 4
    mask = bytes(mask_row * n)  # the alpha channel carries the shape; the AND mask is all zero
    return header + pixels + mask


def ico(kind):
    images = [dib(picture(kind, n)) for n in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main(folder):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    for kind in ("tellbud", "online", "offline", "ok", "nophone", "nodevice"):
        (folder / f"{kind}.ico").write_bytes(ico(kind))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/icons")
