#!/usr/bin/env python3
"""Checks that the program's link put the code a start runs first.

usage: startup_order_check.py NM PROGRAM_DEBUG_FILE STARTUP_ORDER_LD

The function sections app/startup_order.ld names must be the program's
first function sections, one run at the start of its code: were the list
left out of the link, a start would map most of the program's code again.
"""
import re
import subprocess
import sys


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    nm, program, order = sys.argv[1:]
    with open(order) as listing:
        listed = set(re.findall(r"^\*\((\.text\$\S+)\)$", listing.read(), re.MULTILINE))
    symbols = subprocess.run([nm, "-n", program], check=True, capture_output=True, text=True).stdout
    sections = [fields[2] for fields in (line.split() for line in symbols.splitlines())
                if len(fields) == 3 and fields[1] in "tT" and fields[2].startswith(".text$")]
    present = sum(1 for name in sections if name in listed)
    if len(listed) < 100 or present < len(listed) // 2:
        sys.exit(f"only {present} of the {len(listed)} listed function sections are in the program: "
                 "run tools/startup_order/make_startup_order")
    strays = [name for name in sections[:present] if name not in listed]
    if strays:
        sys.exit(f"{len(strays)} unlisted function sections lie among the first {present}, "
                 f"the first being {strays[0]}: the order list was not applied")
    print(f"the first {present} function sections are the listed ones ({len(listed)} listed)")


if __name__ == "__main__":
    main()
