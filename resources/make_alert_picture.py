#!/usr/bin/env python3
"""Draws the desktop alerts' picture: a hard disk with a yellow warning
triangle over its bottom right corner, 32 x 32, and writes it as
alert_picture.bmp next to this script. The background is magenta, which the
alert leaves out (it is the bottom-left pixel), so the picture sits on the
alert's gradient. Edges are hard on purpose: a blended edge would keep a
magenta fringe. Run it again after changing the drawing; the .bmp is kept in
the tree so the build needs no Python."""
import math
import os
import struct

SIZE = 32
# Colours as (B, G, R).
BACKGROUND = (0xFF, 0x00, 0xFF)
OUTLINE = (0x30, 0x30, 0x30)
CASE = (0xB8, 0xB4, 0xB0)
PLATTER = (0xE0, 0xDA, 0xD4)
PLATTER_RING = (0x90, 0x8C, 0x88)
HUB = (0x50, 0x50, 0x50)
ARM = (0x40, 0x48, 0x60)
WARNING = (0x00, 0xC8, 0xF8)
WARNING_EDGE = (0x00, 0x50, 0x90)
MARK = (0x10, 0x10, 0x10)


def in_triangle(u, v, a, b, c):
    def side(p, q):
        return (u - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (v - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def near_segment(u, v, a, b, width):
    (x1, y1), (x2, y2) = a, b
    dx, dy = x2 - x1, y2 - y1
    t = max(0.0, min(1.0, ((u - x1) * dx + (v - y1) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(u - (x1 + t * dx), v - (y1 + t * dy)) <= width


def warning(u, v):
    """The triangle's colour at a point, or None outside it."""
    outer = ((23.0, 13.0), (32.5, 31.0), (13.5, 31.0))
    inner = ((23.0, 16.2), (30.0, 29.5), (16.0, 29.5))
    if not in_triangle(u, v, *outer):
        return None
    if not in_triangle(u, v, *inner):
        return WARNING_EDGE
    stroke = near_segment(u, v, (23.0, 19.5), (23.0, 24.5), 1.1)
    dot = math.hypot(u - 23.0, v - 27.2) <= 1.1
    return MARK if stroke or dot else WARNING


def disk(u, v):
    """The disk's colour at a point, or None outside it."""
    left, top, right, bottom, r = 1.0, 3.0, 27.0, 27.0, 3.0
    cx = min(max(u, left + r), right - r)
    cy = min(max(v, top + r), bottom - r)
    corner = math.hypot(u - cx, v - cy)
    if corner > r:
        return None
    if corner > r - 1.2 or u < left + 1.2 or u > right - 1.2 or v < top + 1.2 or v > bottom - 1.2:
        return OUTLINE
    if near_segment(u, v, (23.5, 7.0), (16.0, 16.5), 1.0):
        return ARM
    d = math.hypot(u - 13.0, v - 14.5)
    if d < 2.0:
        return HUB
    if d < 10.0:
        return PLATTER_RING if 6.0 <= d < 6.8 or d >= 9.2 else PLATTER
    return CASE


def pixel(x, y):
    u, v = x + 0.5, y + 0.5
    return warning(u, v) or disk(u, v) or BACKGROUND


def bitmap():
    stride = (SIZE * 3 + 3) & ~3
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = b"".join(struct.pack("3B", *pixel(x, y)) for x in range(SIZE))
        rows.append(row + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    assert pixel(0, SIZE - 1) == BACKGROUND, "the bottom-left pixel names the transparent colour"
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "alert_picture.bmp"), "wb") as f:
        f.write(bitmap())


if __name__ == "__main__":
    main()
