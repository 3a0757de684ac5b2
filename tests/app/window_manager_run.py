#!/usr/bin/python3
"""VexmoraU.exe under a window manager, beside another program, clicked and
typed at as a person does.

A window manager that does not manage the program's windows still takes the
keyboard when one of them goes, and gives it to the program that had it last;
a program that is not a Wine program holding the keyboard looks, from inside
Wine, like nobody holding it. Only real input shows where the keyboard lands.
Starts openbox on the display, a terminal that writes every line typed into
it to a file (the other program), the program with the example drives, and
then, through xdotool:
- No to the close question, three times, and Cancel in the e-mail dialog
  each leave the keyboard in the main window;
- while the close question or a test mail's box waits, a line typed into
  the terminal lands there whole, and the box stays open;
- a click into the terminal 0.3 s after a box was answered keeps the
  keyboard there;
- a test mail's three boxes, answered by Return, each have the keyboard when
  they open; Yes to the close question ends the program.
Then the program again, asking to shut down at its first poll: the question
opens while the terminal is being typed into, takes no key, waits, and has the
keyboard once the person clicks the main window. Last, under the same
manager, the app tests of the e-mail dialog's keyboard.

Usage: window_manager_run.py WINE_RUN PROGRAM DRIVES APP_TESTS
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "mail"))
import smtp_integration  # noqa: E402

SETTINGS_KEY = r"HKCU\SOFTWARE\Larpok corporation"
MON_KEY = SETTINGS_KEY + r"\Vexmora\Mon"
WDC_KEY = MON_KEY + r"\WDC WD10EADS-00L5B1"
SHUTDOWN_ATTRIBUTE = "Reallocated Sector Count"
MAIN_TITLE = "Zantipelle Vexmora Ultimate "
BOX_TITLE = "^Vexmora$"
DIALOG_TITLE = "^SMTP server setting$"
OTHER_TITLE = "other-program"

# Places a person clicks, from the top left corner of their window.
DRIVE_ROW = (239, 51)
CLOSE_BUTTON = (658, 13)
PREFERENCE_ITEM = (50, 126)
MAIL_BUTTON = (467, 357)
DIALOG_SERVER = (192, 146)
DIALOG_PORT = (140, 172)
DIALOG_SUBJECT = (192, 198)
DIALOG_FROM = (192, 226)
DIALOG_TO = (192, 253)
DIALOG_TEST = (50, 325)
DIALOG_CANCEL = (242, 325)
BOX_CAPTION = (60, 10)
MIDDLE = None


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


def click(place, offset=MIDDLE):
    if offset is MIDDLE:
        offset = (place[3] // 2, place[4] // 2)
    xdotool("mousemove", str(place[1] + offset[0]), str(place[2] + offset[1]), "click", "1")


def keyboard_holder():
    return xdotool("getwindowname", xdotool("getwindowfocus", "-f"))


def reg(wine_run, *arguments):
    return subprocess.run([wine_run, "reg", *arguments], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=60).returncode


class OtherProgram:
    """A terminal on the same screen that writes every line typed into it to a file."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "typed.txt")
        open(self.path, "w").close()
        self.process = subprocess.Popen(
            ["xterm", "-geometry", "60x8+0+800", "-T", OTHER_TITLE, "-e", "sh", "-c", 'exec cat >>"$0"',
             self.path], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.place = wait_for(lambda: window("^%s$" % OTHER_TITLE))

    def lines(self):
        with open(self.path) as f:
            return f.read().splitlines()

    def type_line(self, line):
        """Types the line and Return wherever the keyboard is; true when the terminal got it whole."""
        xdotool("type", "--delay", "20", line)
        xdotool("key", "Return")
        return wait_for(lambda: line in self.lines(), 2) is not None

    def stop(self):
        self.process.terminate()
        self.process.wait()


class Run:
    def __init__(self, wine_run, other):
        self.wine_run = wine_run
        self.failures = []
        self.other = other
        self.lines = 0

    def expect(self, what, good):
        print(("ok    " if good else "FAIL  ") + what, flush=True)
        if not good:
            self.failures.append(what)
        return good

    def keyboard_with(self, what, title, settle=0.0):
        # A window manager may take it a moment after a window went.
        time.sleep(settle)
        holder = keyboard_holder()
        return self.expect("%s: the keyboard is with %r (it is with %r)" % (what, title, holder), holder == title)

    def box_has_keyboard(self, what):
        # The box shows a moment before it is given the keyboard.
        holder = wait_for(lambda: (lambda h: h if h == "Vexmora" else None)(keyboard_holder()), 0.5)
        return self.expect("%s has the keyboard (it is with %r)" % (what, holder or keyboard_holder()),
                           holder is not None)

    def keyboard_in_main(self, what, settle=1.5):
        return self.keyboard_with(what, MAIN_TITLE.strip(), settle)

    def typed_elsewhere(self, what):
        """The person clicks into the other program and types a line with spaces: it lands there whole."""
        click(self.other.place)
        self.lines += 1
        line = "echo line %d typed while %s" % (self.lines, what)
        return self.expect("%s: a line typed into the other program lands there" % what, self.other.type_line(line))

    def box(self, other_than=None, seconds=10):
        return wait_for(lambda: (lambda b: b if b and b[0] != other_than else None)(window(BOX_TITLE)), seconds)

    def close_question(self, main, answer):
        click(main, CLOSE_BUTTON)
        box = self.box()
        if not box:
            self.expect("the close question came", False)
            return
        # Yes stands left of No.
        xdotool("mousemove", str(box[1] + box[3] * (1 if answer == "Yes" else 2) // 3),
                str(box[2] + box[4] - 20), "click", "1")
        wait_for(lambda: not window(BOX_TITLE), 5)

    def close_question_waits(self, main):
        click(main, CLOSE_BUTTON)
        box = self.box()
        if not self.expect("the close question came", box is not None):
            return
        self.typed_elsewhere("the close question waits")
        if not self.expect("the close question still waits", window(BOX_TITLE) is not None):
            return
        click(box, BOX_CAPTION)
        self.box_has_keyboard("the close question clicked")
        self.close_question(main, "No")
        time.sleep(0.3)
        self.typed_elsewhere("a box was answered 0.3 s before")
        self.keyboard_with("a second after", OTHER_TITLE, 1.0)

    def test_mail(self, main, port):
        click(main, MAIL_BUTTON)
        dialog = wait_for(lambda: window(DIALOG_TITLE))
        if not self.expect("the e-mail dialog opened again", dialog is not None):
            return
        for place, text in ((DIALOG_SERVER, "127.0.0.1"), (DIALOG_PORT, str(port)), (DIALOG_SUBJECT, "Test"),
                            (DIALOG_FROM, "monitor@example.com"), (DIALOG_TO, "admin@example.com")):
            click(dialog, place)
            xdotool("key", "End", *["BackSpace"] * 8)
            xdotool("type", text)
        click(dialog, DIALOG_TEST)
        box = self.box()
        if not self.expect("the test mail's first box came", box is not None):
            return
        self.box_has_keyboard("the test mail's box 1")
        self.typed_elsewhere("a test mail's box waits")
        if not self.expect("the test mail's box still waits", window(BOX_TITLE) is not None):
            return
        click(box, BOX_CAPTION)
        for n in (2, 3):
            time.sleep(0.2)
            xdotool("key", "Return")
            box = self.box(other_than=box[0])
            if not self.expect("the test mail's box %d came" % n, box is not None):
                return
            self.box_has_keyboard("the test mail's box %d" % n)
        xdotool("key", "Return")
        wait_for(lambda: not window(BOX_TITLE), 5)
        self.keyboard_with("the test mail's boxes answered", "SMTP server setting", 1.0)
        click(dialog, DIALOG_CANCEL)
        wait_for(lambda: not window(DIALOG_TITLE), 5)

    def shutdown_question_while_typing(self, main):
        """The question comes at the first poll, while the other program is being typed into."""
        click(self.other.place)
        opened_at = None
        for n in range(60):
            self.lines += 1
            line = "echo line %d typed as the question comes" % self.lines
            if not self.expect("line %d typed into the other program lands there" % self.lines,
                               self.other.type_line(line)):
                return
            if opened_at is None and window(BOX_TITLE):
                opened_at = n
            if opened_at is not None and n >= opened_at + 3:
                break
        if not self.expect("the shutdown question came while the other program was typed into",
                           opened_at is not None):
            return
        self.expect("the shutdown question still waits", window(BOX_TITLE) is not None)
        # The main window that the question holds: the person came back.
        click(main, DRIVE_ROW)
        self.box_has_keyboard("the shutdown question, once the main window is clicked,")
        # The next poll would ask again.
        reg(self.wine_run, "add", WDC_KEY, "/v", SHUTDOWN_ATTRIBUTE, "/d", "Nothing", "/f")
        # Return answers Cancel, the question's default button.
        xdotool("key", "Return")
        wait_for(lambda: not window(BOX_TITLE), 5)
        self.keyboard_in_main("the shutdown question cancelled", 0.5)


def start(wine_run, program, drives, folder):
    started = subprocess.Popen([wine_run, program, "--drives", "Z:" + drives.replace("/", "\\")], cwd=folder,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    main_window = wait_for(lambda: window("^" + MAIN_TITLE + "$"), 60)
    # Started by the person, it comes with the keyboard, a moment after it shows.
    wait_for(lambda: keyboard_holder() == MAIN_TITLE.strip(), 5)
    return started, main_window


def stop(started):
    if started.poll() is None:
        started.kill()
        started.wait()


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    wine_run, program, drives, app_tests = sys.argv[1:5]
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    server = smtp_integration.RealServer()
    with tempfile.TemporaryDirectory() as folder:
        # The settings as they were, to be put back.
        saved = os.path.join(folder, "settings.reg")
        existed = reg(wine_run, "export", SETTINGS_KEY, "Z:" + saved.replace("/", "\\"), "/y") == 0
        time.sleep(1)
        other = OtherProgram(folder)
        run = Run(wine_run, other)
        try:
            if not other.place:
                sys.exit("the other program never showed")
            started, main_window = start(wine_run, program, drives, folder)
            try:
                if not main_window:
                    sys.exit("the main window never came")
                click(main_window, DRIVE_ROW)
                for n in range(1, 4):
                    run.close_question(main_window, "No")
                    run.keyboard_in_main("No to the close question (%d)" % n)
                run.close_question_waits(main_window)
                click(main_window, PREFERENCE_ITEM)
                time.sleep(0.5)
                click(main_window, MAIL_BUTTON)
                dialog = wait_for(lambda: window(DIALOG_TITLE))
                run.expect("the e-mail dialog opened", dialog is not None)
                if dialog:
                    run.keyboard_with("the e-mail dialog opened", "SMTP server setting")
                    click(dialog, DIALOG_CANCEL)
                    wait_for(lambda: not window(DIALOG_TITLE), 5)
                    run.keyboard_in_main("Cancel in the e-mail dialog")
                run.test_mail(main_window, server.port)
                run.close_question(main_window, "Yes")
                run.expect("Yes to the close question ends the program", started.wait(20) == 0)
            finally:
                stop(started)

            # A drive whose failing attribute asks to shut down, polled soon after the start.
            reg(wine_run, "add", WDC_KEY, "/v", SHUTDOWN_ATTRIBUTE, "/d", "Shutdown Computer", "/f")
            reg(wine_run, "add", MON_KEY, "/v", "RTimer", "/t", "REG_DWORD", "/d", "2000", "/f")
            started, main_window = start(wine_run, program, drives, folder)
            try:
                if run.expect("the main window came again", main_window is not None):
                    run.shutdown_question_while_typing(main_window)
            finally:
                stop(started)
            run.expect("no shutdown was asked for", not os.path.exists(os.path.join(folder, "VexmoraPower.log")))

            tests = subprocess.run([wine_run, app_tests, "--gtest_brief=1", "--gtest_filter=MailDialog.*"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                   timeout=120)
            sys.stdout.write(tests.stdout.decode("latin-1"))
            run.expect("the e-mail dialog's keyboard tests", tests.returncode == 0)
        finally:
            other.stop()
            server.stop()
            manager.terminate()
            manager.wait()
            reg(wine_run, "delete", SETTINGS_KEY, "/f")
            if existed:
                reg(wine_run, "import", "Z:" + saved.replace("/", "\\"))
    sys.exit(1 if run.failures else 0)


if __name__ == "__main__":
    main()
