#!/usr/bin/env python3
"""Converts the driver's 32-bit top-down BMP screenshot to PNG and fails when it is blank (a single
colour). Usage: tools/bmp-to-png.py IN.bmp OUT.png"""
import struct
import sys
import zlib


def main(source, target):
    with open(source, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise SystemExit(f"{source}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 32:
        raise SystemExit(f"{source}: {bits} bits per pixel, expected 32")
    top_down = height < 0
    height = abs(height)
    stride = width * 4
    rows = []
    colours = set()
    for y in range(height):
        row = y if top_down else height - 1 - y
        line = data[offset + row * stride: offset + (row + 1) * stride]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        if len(colours) < 2:
            colours.update(set(bytes(rgb[i:i + 3]) for i in range(0, len(rgb), 3 * 97)))
        rows.append(b"\0" + bytes(rgb))
    raw = zlib.compress(b"".join(rows), 6)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(target, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", raw))
        f.write(chunk(b"IEND", b""))
    if len(colours) < 2:
        raise SystemExit(f"{target}: the screenshot is blank")
    print(f"screenshot: {target} ({width}x{height})")


if __name__ == "__main__":
    main(*sys.argv[1:3])
