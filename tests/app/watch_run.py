#!/usr/bin/python3
"""VexmoraU.exe watching simulated drives, against real servers on loopback.

Starts the distribution's aiosmtpd with AUTH LOGIN (as the mail tests do)
writing every message and login it takes into a spool folder, and a server
that accepts connections and never says a word; then runs the ProgramWatch
tests of app_tests under Wine with their ports and the spool in the
environment.

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


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


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
    with tempfile.TemporaryDirectory() as spool:
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
    sys.exit(code)


if __name__ == "__main__":
    main()
