#!/usr/bin/env python3
"""Draws the program icon (a hard disk with a green health light) at 16, 32
and 48 pixels and writes it as vexmora.ico. Run it again after changing the
drawing; the .ico is kept in the tree so the build needs no Python."""
import math
import struct
import sys


def pixel(size, x, y):
    """The BGRA colour of one pixel, drawn in a 16-unit square."""
    u = (x + 0.5) * 16.0 / size
    v = (y + 0.5) * 16.0 / size
    # The case: a rounded rectangle from (1, 2) to (15, 14).
    left, top, right, bottom, r = 1.0, 2.0, 15.0, 14.0, 1.5
    cx = min(max(u, left + r), right - r)
    cy = min(max(v, top + r), bottom - r)
    if math.hypot(u - cx, v - cy) > r:
        return (0, 0, 0, 0)
    edge = math.hypot(u - cx, v - cy) > r - 0.8 or u < left + 0.8 or u > right - 0.8 \
        or v < top + 0.8 or v > bottom - 0.8
    if edge:
        return (40, 40, 40, 255)
    # The platter and its hub.
    d = math.hypot(u - 7.0, v - 7.5)
    if d < 1.0:
        return (60, 60, 60, 255)
    if d < 4.6:
        shade = int(200 - d * 12)
        return (shade + 20, shade + 10, shade, 255)
    # The health light at the bottom right.
    if math.hypot(u - 12.5, v - 11.5) < 1.3:
        return (40, 200, 40, 255)
    return (150, 140, 130, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        rows.append(b"".join(struct.pack("4B", *pixel(size, x, y)) for x in range(size)))
    xor = b"".join(rows)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(size):
            if pixel(size, x, y)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "vexmora.ico")
