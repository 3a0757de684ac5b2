#!/usr/bin/env python3
"""Draws the glyphs of the styled bit buttons' standard kinds (OK, Cancel,
Help, Yes, No, Close, Abort, Retry, Ignore, All) and the URL labels' hand
cursor, and writes them as glyph_*.bmp and hand.cur next to this script.
Each glyph is two 18 x 18 cells, enabled and disabled, on an olive
background that the buttons leave out (it is the bottom-left pixel). Run it
again after changing a drawing; the files are kept in the tree so the build
needs no Python."""
import math
import os
import struct

CELL = 18
BACKGROUND = (0x00, 0x80, 0x80)  # olive, as (B, G, R)
GREEN = (0x00, 0x80, 0x00)
RED = (0x00, 0x00, 0xC0)
BLUE = (0xC0, 0x40, 0x00)
DARK = (0x40, 0x40, 0x40)


def near_segment(u, v, a, b, width):
    (x1, y1), (x2, y2) = a, b
    dx, dy = x2 - x1, y2 - y1
    t = max(0.0, min(1.0, ((u - x1) * dx + (v - y1) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(u - (x1 + t * dx), v - (y1 + t * dy)) <= width


def in_triangle(u, v, a, b, c):
    def side(p, q):
        return (u - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (v - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def check(u, v):
    return near_segment(u, v, (3, 9), (7, 13), 1.4) or near_segment(u, v, (7, 13), (15, 4), 1.4)


def cross(u, v):
    return near_segment(u, v, (4, 4), (14, 14), 1.4) or near_segment(u, v, (14, 4), (4, 14), 1.4)


def ring(u, v):
    return 5.0 <= math.hypot(u - 9, v - 9) <= 7.0


def shape(kind, u, v):
    """The colour of a point of a kind's drawing, or None for background."""
    if kind == "ok" or kind == "yes":
        return GREEN if check(u, v) else None
    if kind == "cancel":
        return RED if cross(u, v) else None
    if kind == "no":
        return RED if ring(u, v) or near_segment(u, v, (5, 13), (13, 5), 1.2) else None
    if kind == "abort":
        return RED if ring(u, v) or near_segment(u, v, (6.5, 6.5), (11.5, 11.5), 1.0) \
            or near_segment(u, v, (11.5, 6.5), (6.5, 11.5), 1.0) else None
    if kind == "help":
        hook = 2.2 <= math.hypot(u - 9, v - 6) <= 3.6 and not (v > 6 and u < 9)
        stem = near_segment(u, v, (10.5, 8.5), (9, 11), 1.0)
        dot = math.hypot(u - 9, v - 14.5) <= 1.2
        return BLUE if hook or stem or dot else None
    if kind == "close":
        door = 4 <= u <= 12 and 2 <= v <= 16 and not (5.5 <= u <= 10.5 and 3.5 <= v <= 14.5)
        knob = math.hypot(u - 9.5, v - 9) <= 0.9
        arrow = near_segment(u, v, (11, 9), (16, 9), 0.9) or near_segment(u, v, (16, 9), (14, 7), 0.9) \
            or near_segment(u, v, (16, 9), (14, 11), 0.9)
        return DARK if door or knob else (GREEN if arrow else None)
    if kind == "retry":
        # A circle of arrow, open at the top right, its head pointing on.
        angle = math.degrees(math.atan2(v - 9, u - 9)) % 360
        arc = 4.5 <= math.hypot(u - 9, v - 9) <= 6.2 and not (280 <= angle <= 340)
        head = in_triangle(u, v, (8.5, 0.5), (8.5, 8.0), (13.0, 4.2))
        return GREEN if arc or head else None
    if kind == "ignore":
        return BLUE if any(near_segment(u, v, (x, 9), (x + 2, 9), 1.0) for x in (3, 8, 13)) else None
    if kind == "all":
        first = near_segment(u, v, (1, 9), (4, 13), 1.2) or near_segment(u, v, (4, 13), (10, 4), 1.2)
        second = near_segment(u, v, (7, 9), (10, 13), 1.2) or near_segment(u, v, (10, 13), (16, 4), 1.2)
        return GREEN if first or second else None
    raise ValueError(kind)


def grey(colour):
    level = 0x80 + sum(colour) // 12
    return (level, level, level)


def glyph_pixel(kind, x, y):
    cell, cx = divmod(x, CELL)
    colour = shape(kind, cx + 0.5, y + 0.5)
    if colour is None:
        return BACKGROUND
    return colour if cell == 0 else grey(colour)


def bitmap(kind):
    width, height = 2 * CELL, CELL
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = b"".join(struct.pack("3B", *glyph_pixel(kind, x, y)) for x in range(width))
        rows.append(row + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


# A pointing hand, 32 x 32: '#' black outline, '.' white fill, ' ' clear.
HAND = [
    "     ##                         ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..###                      ",
    "    #..#..###                   ",
    "    #..#..#..##                 ",
    " ## #..#..#..#.#                ",
    "#..##..#..#..#..#               ",
    "#...#........#..#               ",
    " #..#...........#               ",
    "  #.#...........#               ",
    "  #.............#               ",
    "   #............#               ",
    "   #...........#                ",
    "    #..........#                ",
    "    #.........#                 ",
    "     #........#                 ",
    "     #........#                 ",
    "     ##########                 ",
] + [" " * 32] * 11


def cursor():
    size = 32
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):  # bottom-up
        xor_bits = and_bits = 0
        for x in range(size):
            c = HAND[y][x]
            xor_bits = (xor_bits << 1) | (1 if c == "." else 0)
            and_bits = (and_bits << 1) | (1 if c == " " else 0)
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    data = info + palette + b"".join(xor_rows) + b"".join(and_rows)
    hotspot = (5, 0)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1], len(data), 6 + 16)
    return directory + entry + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for kind in ("ok", "cancel", "help", "yes", "no", "close", "abort", "retry", "ignore", "all"):
        with open(os.path.join(here, "glyph_%s.bmp" % kind), "wb") as f:
            f.write(bitmap(kind))
    with open(os.path.join(here, "hand.cur"), "wb") as f:
        f.write(cursor())


if __name__ == "__main__":
    main()
