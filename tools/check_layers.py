#!/usr/bin/env python3
"""Refuses an include that points up the layers: a class-library layer
including a higher one, or a folder including one it stands below.
Run by the build; exits non-zero and names file, line and include."""
import pathlib
import re
import sys

# What each place may include of the project, besides itself.
CLASSLIB = {
    "core": set(),
    "net": {"core"},
    "graphics": {"core"},
    "services": {"core"},
    "windows": {"core", "graphics"},
    "stdctrls": {"core", "graphics", "windows"},
}
EVERY_CLASSLIB = {f"classlib/{layer}" for layer in CLASSLIB}
VISUAL = EVERY_CLASSLIB
FOLDERS = {
    "platform": {"classlib/core"},
    "engine": {"platform", "classlib/core"},
    "mail": {"classlib/core", "classlib/net"},
    "foundation": VISUAL,
    "notify": {"foundation"} | VISUAL,
    "controls": {"foundation"} | VISUAL,
    "toolbar": {"foundation"} | VISUAL,
    "skins": {"toolbar", "controls", "foundation"} | VISUAL,
}
# The program, benchmarks and tools may include everything.
EVERYTHING = None

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def place_of(path):
    """The place a project path belongs to: "classlib/windows", "mail", ..."""
    parts = path.split("/")
    if parts[0] == "classlib" and len(parts) > 2:
        return "classlib/" + parts[1]
    return parts[0]


def allowed_for(place):
    if place.startswith("classlib/"):
        return {f"classlib/{layer}" for layer in CLASSLIB.get(place[9:], ())}
    return FOLDERS.get(place, EVERYTHING)


def check(root):
    faults = []
    sources = [p for p in root.rglob("*") if p.suffix in (".h", ".cpp") and "build" not in p.parts]
    for source in sorted(sources):
        relative = source.relative_to(root).as_posix()
        # A test may include what the folder it tests may include.
        subject = relative[len("tests/"):] if relative.startswith("tests/") else relative
        place = place_of(subject)
        allowed = allowed_for(place)
        if allowed is None:
            continue
        for number, line in enumerate(source.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            if target.startswith("tests/") or "/" not in target:
                continue
            target_place = place_of(target)
            if target_place == place or target_place in allowed:
                continue
            if not (root / target).exists():
                continue  # not a project header
            faults.append(f"{relative}:{number}: {place} may not include {target}")
    return faults


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = check(root)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"{len(faults)} include(s) point up a layer", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
