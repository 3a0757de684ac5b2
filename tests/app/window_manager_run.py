#!/usr/bin/python3
"""VexmoraU.exe under a window manager, clicked and typed at as a person does.

A window manager that does not manage the program's windows still takes the
keyboard when one of them goes; only real input shows where the keyboard
lands. Starts openbox on the display, the program with the example drives,
and then, through xdotool: No to the close question, three times, and Cancel
in the e-mail dialog each leave the keyboard in the main window. Yes to the
close question ends the program. Then, under the same manager, the app tests
of the e-mail dialog's keyboard.

Usage: window_manager_run.py WINE_RUN PROGRAM DRIVES APP_TESTS
"""

import os
import subprocess
import sys
import tempfile
import time

SETTINGS_KEY = r"HKCU\SOFTWARE\Larpok corporation"
MAIN_TITLE = "Zantipelle Vexmora Ultimate "
BOX_TITLE = "^Vexmora$"
DIALOG_TITLE = "^SMTP server setting$"

# Places a person clicks, from the top left corner of their window.
DRIVE_ROW = (239, 51)
CLOSE_BUTTON = (658, 13)
PREFERENCE_ITEM = (50, 126)
MAIL_BUTTON = (467, 357)
DIALOG_CANCEL = (242, 325)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          timeout=30).stdout.strip()


def window(title):
    """The visible window with this title (a pattern), as (id, x, y, width, height), or None."""
    for found in xdotool("search", "--onlyvisible", "--name", title).split():
        shape = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", found).splitlines())
        if int(shape["WIDTH"]) > 20:
            return found, int(shape["X"]), int(shape["Y"]), int(shape["WIDTH"]), int(shape["HEIGHT"])
    return None


def wait_for(check, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = check()
        if result:
            return result
        time.sleep(0.1)
    return None


def click(place, offset):
    xdotool("mousemove", str(place[1] + offset[0]), str(place[2] + offset[1]), "click", "1")


def keyboard_holder():
    return xdotool("getwindowname", xdotool("getwindowfocus", "-f"))


class Run:
    def __init__(self):
        self.failures = []

    def expect(self, what, good):
        print(("ok    " if good else "FAIL  ") + what, flush=True)
        if not good:
            self.failures.append(what)

    def keyboard_in_main(self, what):
        # The window manager may take it a moment after the window went.
        time.sleep(1.5)
        holder = keyboard_holder()
        self.expect("%s: the keyboard is in the main window (it is with %r)" % (what, holder),
                    holder == MAIN_TITLE.strip())

    def close_question(self, main, answer):
        click(main, CLOSE_BUTTON)
        box = wait_for(lambda: window(BOX_TITLE))
        if not box:
            self.expect("the close question came", False)
            return
        # Yes stands left of No.
        xdotool("mousemove", str(box[1] + box[3] * (1 if answer == "Yes" else 2) // 3),
                str(box[2] + box[4] - 20), "click", "1")
        wait_for(lambda: not window(BOX_TITLE), 5)


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    wine_run, program, drives, app_tests = sys.argv[1:5]
    existed = subprocess.run([wine_run, "reg", "query", SETTINGS_KEY], stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60).returncode == 0
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    run = Run()
    try:
        time.sleep(1)
        with tempfile.TemporaryDirectory() as folder:
            started = subprocess.Popen([wine_run, program, "--drives", "Z:" + drives.replace("/", "\\")],
                                       cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            try:
                main_window = wait_for(lambda: window("^" + MAIN_TITLE + "$"), 60)
                if not main_window:
                    sys.exit("the main window never came")
                click(main_window, DRIVE_ROW)
                for n in range(1, 4):
                    run.close_question(main_window, "No")
                    run.keyboard_in_main("No to the close question (%d)" % n)
                click(main_window, PREFERENCE_ITEM)
                time.sleep(0.5)
                click(main_window, MAIL_BUTTON)
                dialog = wait_for(lambda: window(DIALOG_TITLE))
                run.expect("the e-mail dialog opened", dialog is not None)
                if dialog:
                    run.expect("the e-mail dialog has the keyboard", keyboard_holder() == "SMTP server setting")
                    click(dialog, DIALOG_CANCEL)
                    wait_for(lambda: not window(DIALOG_TITLE), 5)
                    run.keyboard_in_main("Cancel in the e-mail dialog")
                run.close_question(main_window, "Yes")
                run.expect("Yes to the close question ends the program", started.wait(20) == 0)
            finally:
                if started.poll() is None:
                    started.kill()
                    started.wait()
        tests = subprocess.run([wine_run, app_tests, "--gtest_brief=1", "--gtest_filter=MailDialog.*"],
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               timeout=120)
        sys.stdout.write(tests.stdout.decode("latin-1"))
        run.expect("the e-mail dialog's keyboard tests", tests.returncode == 0)
    finally:
        manager.terminate()
        manager.wait()
        if not existed:
            subprocess.run([wine_run, "reg", "delete", SETTINGS_KEY, "/f"], stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    sys.exit(1 if run.failures else 0)


if __name__ == "__main__":
    main()
