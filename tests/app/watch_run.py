#!/usr/bin/python3
"""VexmoraU.exe watching simulated drives, against real servers on loopback.

Starts the distribution's aiosmtpd with AUTH LOGIN (as the mail tests do)
writing every message and login it takes into a spool folder, and a server
that accepts connections and never says a word; then runs the ProgramWatch
tests of app_tests under Wine with their ports and the spool in the
environment.

The tests write the current user's settings of the tests' prefix; they must
leave them exactly as they found them. A marker drive key is added first,
and the whole settings key must read back the same after the run.

Usage: watch_run.py WINE_RUN APP_TESTS_EXE
"""

import os
import socket
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "mail"))
import smtp_integration  # noqa: E402


SETTINGS_KEY = r"HKCU\SOFTWARE\Larpok corporation"
MARKER_KEY = SETTINGS_KEY + r"\Vexmora\Mon\WATCH RUN MARKER"


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def reg(wine_run, *arguments):
    return subprocess.run([wine_run, "reg", *arguments], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=60).returncode


def exported_settings(wine_run, folder):
    """The settings key as the registry tool writes it out."""
    path = os.path.join(folder, "settings.reg")
    if reg(wine_run, "export", SETTINGS_KEY, windows_path(path), "/y") != 0:
        return None
    with open(path, "rb") as f:
        text = f.read()
    os.remove(path)
    return text


class SpoolRecorder(smtp_integration.Recorder):
    """Keeps each message as N.eml and each login as a line of logins.txt."""

    def __init__(self, spool):
        super().__init__()
        self.spool = spool
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        reply = await super().handle_DATA(server, session, envelope)
        with self.lock:
            number = len(self.messages)
            temporary = os.path.join(self.spool, "%d.part" % number)
            with open(temporary, "wb") as f:
                f.write(envelope.original_content)
            # Whole or not at all for the reader on the other side.
            os.rename(temporary, os.path.join(self.spool, "%d.eml" % number))
        return reply

    def __call__(self, server, session, envelope, mechanism, auth_data):
        result = super().__call__(server, session, envelope, mechanism, auth_data)
        with self.lock, open(os.path.join(self.spool, "logins.txt"), "ab") as f:
            f.write(auth_data.login + b":" + auth_data.password + b"\n")
        return result


class SilentServer:
    """Accepts every connection and keeps it open without a word."""

    def __init__(self, spool):
        self.spool = spool
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.connections = []
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            self.connections.append(conn)
            open(os.path.join(self.spool, "silent-connected"), "w").close()

    def stop(self):
        self.listener.close()
        for conn in self.connections:
            conn.close()


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    wine_run, app_tests = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as spool, tempfile.TemporaryDirectory() as exports:
        existed = reg(wine_run, "query", SETTINGS_KEY) == 0
        reg(wine_run, "add", MARKER_KEY, "/v", "CreateReg", "/t", "REG_DWORD", "/d", "1", "/f")
        before = exported_settings(wine_run, exports)
        if before is None:
            sys.exit("could not write the settings key out before the run")
        real = smtp_integration.RealServer()
        # Each connection's protocol object takes the server's recorder then.
        real.recorder = SpoolRecorder(spool)
        silent = SilentServer(spool)
        env = dict(os.environ, VEXMORA_SMTP_PORT=str(real.port), VEXMORA_SILENT_SMTP_PORT=str(silent.port),
                   VEXMORA_MAIL_SPOOL=windows_path(spool))
        try:
            with tempfile.TemporaryFile() as output:
                code = subprocess.run([wine_run, app_tests, "--gtest_brief=1", "--gtest_filter=ProgramWatch.*"],
                                      stdout=output, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                      env=env, timeout=280).returncode
                output.seek(0)
                sys.stdout.write(output.read().decode("latin-1"))
        finally:
            silent.stop()
            real.stop()
        after = exported_settings(wine_run, exports)
        if after != before:
            sys.stdout.write("The run changed the current user's settings; before:\n%s\nafter:\n%s\n" %
                             (before.decode("utf-16", "replace"),
                              after.decode("utf-16", "replace") if after else "(no key)"))
            code = code or 1
        reg(wine_run, "delete", MARKER_KEY if existed else SETTINGS_KEY, "/f")
    sys.exit(code)


if __name__ == "__main__":
    main()
