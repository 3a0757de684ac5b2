#!/usr/bin/env python3
"""Turns a page trace of the program into app/startup_order.ld.

usage: write_order.py NM PROGRAM_DEBUG_FILE OUTPUT TRACE...

In the traced build every function starts a page of its own, so a page
touched names the function section that holds it. Only the sections the
compiler made per function (.text$NAME) can be ordered; a page of a library's
plain .text is left to the libraries' own block.
"""
import bisect
import subprocess
import sys

HEADER = """\
/* The program's function sections that ran in the first seconds of a start
   with the example drives (a first start, then one that finds its log and
   settings), in name order. The program's link puts them ahead of the rest
   of its code (app/CMakeLists.txt), so that a start touches few pages.
   Written by tools/startup_order/make_startup_order: a function that is
   missing here, or a name that no longer exists, costs only memory. */
"""


def code_sections(nm, program):
    """(address, name) of every code section symbol, by address."""
    listing = subprocess.run([nm, "-n", program], check=True, capture_output=True, text=True).stdout
    sections = []
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] in "tT" and fields[2].startswith(".text"):
            sections.append((int(fields[0], 16), fields[2]))
    return sections


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    nm, program, output = sys.argv[1:4]
    sections = code_sections(nm, program)
    starts = [address for address, _ in sections]
    names = set()
    for trace in sys.argv[4:]:
        with open(trace) as pages:
            for line in pages:
                page = int(line, 16)
                at = bisect.bisect_right(starts, page) - 1
                if at >= 0 and sections[at][1].startswith(".text$"):
                    names.add(sections[at][1])
    if not names:
        sys.exit("the trace names no function section of the program")
    with open(output, "w") as out:
        out.write(HEADER)
        for name in sorted(names):
            out.write(f"*({name})\n")
    print(f"{len(names)} function sections written to {output}")


if __name__ == "__main__":
    main()
