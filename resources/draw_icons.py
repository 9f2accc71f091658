#!/usr/bin/env python3
"""Draws the module's icons into Resources/ as 20x20 PNG files (run once; the PNGs are committed).

Each icon is a shape given as a coverage function sampled 4x4 per pixel, in one colour on a
transparent background: grey for the normal look, white for buttons hovered on the blue
background, blue for the hovered pull-down arrow.
"""
import struct
import zlib
from pathlib import Path

SIZE = 20
GREY = (0x40, 0x40, 0x40)
WHITE = (0xFF, 0xFF, 0xFF)
BLUE = (0x00, 0xA0, 0xFE)


def plus(x, y):
    return (abs(x - 10) <= 1.5 and 3 <= y <= 17) or (abs(y - 10) <= 1.5 and 3 <= x <= 17)


def minus(x, y):
    return abs(y - 10) <= 1.5 and 3 <= x <= 17


def cross(x, y):
    inside = 4 <= x <= 16 and 4 <= y <= 16
    return inside and (abs(x - y) <= 1.6 or abs(x + y - 20) <= 1.6)


def triangle(x, y):
    return 7 <= y <= 13 and abs(x - 10) <= (13 - y) * 0.9


def png(shape, colour):
    rows = []
    for py in range(SIZE):
        row = bytearray([0])
        for px in range(SIZE):
            hits = sum(shape(px + (sx + 0.5) / 4, py + (sy + 0.5) / 4)
                       for sx in range(4) for sy in range(4))
            row += bytes(colour) + bytes([round(255 * hits / 16)])
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


ICONS = {
    "plus.png": (plus, GREY), "plus-w.png": (plus, WHITE),
    "minus.png": (minus, GREY), "minus-w.png": (minus, WHITE),
    "delete.png": (cross, GREY), "delete-w.png": (cross, WHITE),
    "pull-down.png": (triangle, GREY), "pull-down-blue.png": (triangle, BLUE),
}

if __name__ == "__main__":
    out = Path(__file__).resolve().parent / "Resources"
    out.mkdir(exist_ok=True)
    for name, (shape, colour) in ICONS.items():
        (out / name).write_bytes(png(shape, colour))
