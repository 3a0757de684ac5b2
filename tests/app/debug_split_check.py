#!/usr/bin/env python3
"""Checks that the shipped program carries no debug information and finds it.

usage: debug_split_check.py PROGRAM

Wine maps a program's debug sections and reads them into private memory, so
PROGRAM must have none; they live in PROGRAM.debug beside it, which the
program's debug link names with the file's CRC, so that a debugger finds it.
"""
import os
import struct
import sys
import zlib


def sections(path):
    """Every section of a PE file: name -> raw bytes."""
    with open(path, "rb") as f:
        image = f.read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path} is no PE file")
    count, symbols_at, symbol_count, optional_size = struct.unpack_from("<2xH4xIIH", image, pe + 4)
    strings_at = symbols_at + 18 * symbol_count
    found = {}
    table = pe + 24 + optional_size
    for i in range(count):
        raw_name, raw_size, raw_at = struct.unpack_from("<8s8xII", image, table + 40 * i)
        name = raw_name.rstrip(b"\0")
        if name.startswith(b"/"):
            # A longer name lies in the string table after the symbols.
            offset = strings_at + int(name[1:])
            name = image[offset:image.index(b"\0", offset)]
        found[name.decode("ascii")] = image[raw_at:raw_at + raw_size]
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    program = sys.argv[1]
    debug_file = program + ".debug"
    shipped = sections(program)
    carried = sorted(name for name in shipped if name.startswith((".debug", ".zdebug")))
    if carried:
        sys.exit(f"{program} carries debug sections: {', '.join(carried)}")
    if ".debug_info" not in sections(debug_file):
        sys.exit(f"{debug_file} holds no debug information")
    link = shipped.get(".gnu_debuglink")
    if link is None:
        sys.exit(f"{program} has no debug link")
    name = link[:link.index(b"\0")].decode("ascii")
    # The name, padded with zeros to four bytes, then the CRC.
    crc_at = (len(name) + 4) // 4 * 4
    crc = struct.unpack_from("<I", link, crc_at)[0]
    if name != os.path.basename(debug_file):
        sys.exit(f"{program}'s debug link names {name}, not {os.path.basename(debug_file)}")
    with open(debug_file, "rb") as f:
        actual = zlib.crc32(f.read())
    if crc != actual:
        sys.exit(f"{program}'s debug link has CRC {crc:08x}; {debug_file} has {actual:08x}")


if __name__ == "__main__":
    main()
