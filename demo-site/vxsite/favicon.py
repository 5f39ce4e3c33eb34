"""Draws the site's favicon (the logo's three rising bars) as a 32x32 PNG inside an ICO."""

import struct
import zlib

SIZE = 32
BLUE = (31, 95, 214, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)
BARS = ((7, 17), (14, 12), (21, 8))  # (left, top) of each bar, 4 wide, down to y = 25


def _pixel(x, y):
    # Rounded tile: cut the four corners on a radius of 6.
    cx = min(max(x, 6), SIZE - 7)
    cy = min(max(y, 6), SIZE - 7)
    if (x - cx) ** 2 + (y - cy) ** 2 > 36:
        return CLEAR
    for left, top in BARS:
        if left <= x < left + 4 and top <= y < 25:
            return WHITE
    return BLUE


def _png():
    raw = b"".join(b"\x00" + b"".join(bytes(_pixel(x, y)) for x in range(SIZE))
                   for y in range(SIZE))

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def favicon_bytes():
    png = _png()
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(png), 6 + 16)
    return header + entry + png
