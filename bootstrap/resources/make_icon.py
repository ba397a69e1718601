#!/usr/bin/env python3
"""Draws Reader.exe's icon (16x16 and 32x32, 32-bit colour) and writes reader.ico.

The picture: a blue box with a white arrow pointing down into it, for "unpack and install".
Run it from this folder to rewrite reader.ico; the output is committed beside it.
"""
import struct
import sys


def pixel(x, y, size):
    """Colour (b, g, r, a) of the pixel at x, y counted from the top left."""
    s = size / 32.0
    box_top, box_left, box_right, box_bottom = 14 * s, 4 * s, 28 * s, 29 * s
    in_box = box_left <= x < box_right and box_top <= y < box_bottom
    border = in_box and (x < box_left + 2 * s or x >= box_right - 2 * s or y >= box_bottom - 2 * s)
    cx = size / 2.0
    shaft = abs(x + 0.5 - cx) < 2.5 * s and 2 * s <= y < 17 * s
    head = 17 * s <= y < 24 * s and abs(x + 0.5 - cx) < (24 * s - y)
    if shaft or head:
        return (255, 255, 255, 255)
    if border:
        return (120, 60, 20, 255)
    if in_box:
        return (215, 140, 40, 255)
    return (0, 0, 0, 0)


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):  # bitmaps are stored bottom-up
        rows.append(b"".join(struct.pack("<BBBB", *pixel(x, y, size)) for x in range(size)))
    mask_row = b"\0" * (((size + 31) // 32) * 4)  # alpha decides; the AND mask is all zero
    return header + b"".join(rows) + mask_row * size


def icon(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "reader.ico"
    with open(target, "wb") as f:
        f.write(icon([16, 32]))
