#!/usr/bin/python3
"""VexmoraU.exe started where no window can be made: a session without a
display, as before the desktop is up or after it ended. It must say so on its
error output with the system's reason and end with the start-failure exit
code after trying for a short while, never through an uncaught exception.

Usage: no_window_run.py WINE_RUN PROGRAM DRIVE_SET
"""

import os
import subprocess
import sys
import time

START_FAILED = 1
SAID = b"VexmoraU: Vexmora could not create its window: "


def main():
    wine_run, program, drives = sys.argv[1:4]
    environment = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    started = time.monotonic()
    run = subprocess.run([wine_run, program, "--drives", drives], stdin=subprocess.DEVNULL,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=environment, timeout=120)
    took = time.monotonic() - started
    errors = []
    if run.returncode != START_FAILED:
        errors.append("exit code %d, not %d" % (run.returncode, START_FAILED))
    at = run.stderr.find(SAID)
    if at < 0:
        errors.append("no %r on the error output" % SAID)
    elif not run.stderr[at + len(SAID):].split(b"\r\n")[0].strip():
        errors.append("no reason after %r" % SAID)
    # A few seconds of trying, not a hang.
    if took > 30:
        errors.append("took %.1f s" % took)
    for error in errors:
        print(error, file=sys.stderr)
    if errors:
        print("error output:\n" + run.stderr.decode("latin-1"), file=sys.stderr)
        return 1
    print("ended with %d after %.1f s: %s" % (run.returncode, took, run.stderr[at:].split(b"\r\n")[0].decode("latin-1")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
