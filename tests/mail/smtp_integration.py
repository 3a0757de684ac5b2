#!/usr/bin/python3
"""The SMTP client against real servers on loopback.

Starts the distribution's aiosmtpd (on a port the system picks) and small
scripted servers for misbehaviour, runs the console probe under Wine once per
scenario and checks what the probe reports and what the server received.

Usage: smtp_integration.py WINE_RUN PROBE_EXE
"""

import asyncio
import datetime
import email
import email.policy
import logging
import os
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

WINE_RUN = None
PROBE = None
USER = "alice"
PASSWORD = "s3cret-word"


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def unescape(value):
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out.append({"r": "\r", "n": "\n", "\\": "\\"}[value[i + 1]])
            i += 2
        else:
            out.append(value[i])
            i += 1
    return "".join(out)


def run_probe(port, **options):
    """Runs one scenario; returns the probe's report as a dict."""
    args = [WINE_RUN, PROBE, "port=%d" % port]
    for key, value in options.items():
        for item in value if isinstance(value, list) else [value]:
            args.append("%s=%s" % (key, item))
    # Output through a file, not a pipe: Wine's services, started by the first
    # program of a session, would keep a pipe open long after the probe ends.
    with tempfile.TemporaryFile() as output:
        subprocess.run(args, stdout=output, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=120)
        output.seek(0)
        text = output.read().decode("latin-1")
    report = {}
    for line in text.splitlines():
        key, sep, value = line.partition("=")
        if sep:
            report[key] = unescape(value)
    return report


class Recorder:
    """aiosmtpd handler and authenticator that keep what they were given."""

    def __init__(self):
        self.messages = []
        self.logins = []

    async def handle_DATA(self, server, session, envelope):
        self.messages.append(envelope)
        return "250 OK delivered"

    def __call__(self, server, session, envelope, mechanism, auth_data):
        if isinstance(auth_data, LoginPassword):
            self.logins.append((auth_data.login, auth_data.password))
            ok = auth_data.login == USER.encode() and auth_data.password == PASSWORD.encode()
            return AuthResult(success=ok, handled=False)
        return AuthResult(success=False, handled=False)


class StrictSMTP(SMTP):
    """aiosmtpd takes "MAIL FROM: <a>" as readily as "MAIL FROM:<a>" and has
    no switch to refuse it; strict servers answer the blank after the colon
    with 501, and so does this one."""

    def _strip_command_keyword(self, keyword, arg):
        if arg[len(keyword):len(keyword) + 1].isspace():
            return None
        return super()._strip_command_keyword(keyword, arg)


class RealServer:
    """aiosmtpd on 127.0.0.1 with AUTH LOGIN allowed without TLS."""

    def __init__(self):
        self.recorder = Recorder()
        self.loop = asyncio.new_event_loop()
        self.thread = threading.Thread(target=self.loop.run_forever, daemon=True)
        self.thread.start()

        async def start():
            return await self.loop.create_server(
                lambda: StrictSMTP(self.recorder, authenticator=self.recorder, auth_require_tls=False,
                             hostname="mail.test"),
                "127.0.0.1", 0)

        self.server = asyncio.run_coroutine_threadsafe(start(), self.loop).result(10)
        self.port = self.server.sockets[0].getsockname()[1]

    def stop(self):
        async def close():
            self.server.close()
            await self.server.wait_closed()

        asyncio.run_coroutine_threadsafe(close(), self.loop).result(10)
        self.loop.call_soon_threadsafe(self.loop.stop)
        self.thread.join(10)
        self.loop.close()


class ScriptServer:
    """Accepts one connection and plays its steps: ("send", bytes),
    ("line",), ("data",), ("bytes", n), ("sleep", seconds), ("close",)."""

    def __init__(self, steps):
        self.steps = steps
        self.received = []
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        self.listener.settimeout(60)
        try:
            conn, _ = self.listener.accept()
        except OSError:
            return
        conn.settimeout(30)
        pending = b""

        def read_until(end):
            nonlocal pending
            while end not in pending:
                chunk = conn.recv(65536)
                if not chunk:
                    raise ConnectionError("closed")
                pending += chunk
            got, _, pending = pending.partition(end)
            return got

        try:
            for step in self.steps:
                kind = step[0]
                if kind == "send":
                    conn.sendall(step[1])
                elif kind == "line":
                    self.received.append(read_until(b"\r\n"))
                elif kind == "data":
                    self.received.append(read_until(b"\r\n.\r\n"))
                elif kind == "bytes":
                    while len(pending) < step[1]:
                        chunk = conn.recv(65536)
                        if not chunk:
                            raise ConnectionError("closed")
                        pending += chunk
                    self.received.append(pending[:step[1]])
                    pending = pending[step[1]:]
                elif kind == "sleep":
                    time.sleep(step[1])
                elif kind == "close":
                    break
        except (OSError, ConnectionError):
            pass
        finally:
            conn.close()
            self.listener.close()

    def join(self):
        self.thread.join(60)


def closed_port():
    with socket.create_server(("127.0.0.1", 0)) as s:
        return s.getsockname()[1]


HANDSHAKE = [("send", b"220 script ready\r\n"), ("line",), ("send", b"250 ok\r\n")]
ACCEPT_MAIL = [("line",), ("send", b"250 ok\r\n"), ("line",), ("send", b"250 ok\r\n")]


class RealServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = RealServer()
        cls.folder = tempfile.TemporaryDirectory()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.folder.cleanup()

    def setUp(self):
        self.server.recorder.messages.clear()
        self.server.recorder.logins.clear()

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def send(self, body=None, **options):
        """Sends one message; returns the report and the source the probe sent."""
        if body is not None:
            with open(self.path("body.txt"), "wb") as f:
                f.write(body)
            options["body"] = windows_path(self.path("body.txt"))
        options.setdefault("to", "admin@example.com")
        options["dump"] = windows_path(self.path("source.eml"))
        options.setdefault("timeout", "10")
        report = run_probe(self.server.port, raw="1", **options)
        with open(self.path("source.eml"), "rb") as f:
            source = f.read()
        return report, source

    def delivered(self):
        self.assertEqual(len(self.server.recorder.messages), 1)
        return self.server.recorder.messages[0]

    def without_date(self, content):
        """The content without its Date line, which must be there once and
        hold the time of sending; the message itself keeps no date."""
        dates = email.message_from_bytes(content, policy=email.policy.default).get_all("Date")
        self.assertEqual(len(dates), 1, content[:400])
        sent = dates[0].datetime
        self.assertIsNotNone(sent.tzinfo)
        self.assertLess(abs(datetime.datetime.now(datetime.timezone.utc) - sent), datetime.timedelta(minutes=5))
        line = re.search(rb"\r\nDate: [^\r\n]*\r\n", content.partition(b"\r\n\r\n")[0] + b"\r\n").group()
        return content.replace(line[2:], b"", 1)

    def test_plain_send_delivers_the_source_unchanged(self):
        report, source = self.send(b"Drive 0 is hot.\r\nSecond line.\r\n")
        self.assertEqual((report["connect"], report["send"], report["quit"]), ("1", "1", "1"))
        # The multi-line EHLO reply came whole, up to its last line.
        response = report["connect_response"]
        self.assertTrue(response.startswith("220 "))
        self.assertIn("250-mail.test\r\n", response)
        self.assertTrue(response.endswith("250 HELP\r\n"))
        self.assertTrue(report["quit_response"].startswith("221"))
        message = self.delivered()
        self.assertEqual(message.mail_from, "monitor@example.com")
        self.assertEqual(message.rcpt_tos, ["admin@example.com"])
        self.assertEqual(self.without_date(message.original_content), source)
        self.assertIn(b"\r\nMessage-ID: <", source)
        self.assertNotIn(b"\r\nDate:", source)

    def test_auth_login_sends_the_credentials_exactly(self):
        report, _ = self.send(user=USER, password=PASSWORD)
        self.assertEqual(report["connect"], "1")
        # Every reply of the handshake: greeting, EHLO, AUTH LOGIN, the
        # password prompt after the user name, and the acceptance.
        codes = [line[:4] for line in report["connect_response"].split("\r\n") if line]
        self.assertEqual(codes[0], "220 ")
        self.assertEqual(codes[-4:], ["250 ", "334 ", "334 ", "235 "])
        self.assertEqual(self.server.recorder.logins, [(USER.encode(), PASSWORD.encode())])
        self.assertEqual(report["send"], "1")

    def test_wrong_password_fails_and_a_second_connect_succeeds(self):
        report, _ = self.send(user=USER, password="wrong", retry_password=PASSWORD)
        self.assertEqual(report["connect"], "0")
        self.assertTrue(report["connect_response"].endswith("\r\n"))
        self.assertIn("535", report["connect_response"])
        self.assertEqual(report["connect2"], "1")
        self.assertEqual(report["send"], "1")
        self.assertEqual(self.server.recorder.logins,
                         [(USER.encode(), b"wrong"), (USER.encode(), PASSWORD.encode())])

    def test_eighty_byte_password_goes_on_one_line(self):
        global PASSWORD
        saved, PASSWORD = PASSWORD, "p" * 40 + "Q" * 40
        try:
            report, _ = self.send(user=USER, password=PASSWORD)
        finally:
            PASSWORD = saved
        self.assertEqual(report["connect"], "1")
        self.assertEqual(self.server.recorder.logins, [(USER.encode(), b"p" * 40 + b"Q" * 40)])

    def test_recipients_go_once_in_order_and_bcc_stays_hidden(self):
        report, source = self.send(to=["zed@example.com", "Amy@example.com", "ZED@example.com"],
                                   cc="carl@example.com", bcc="bea@example.com")
        self.assertEqual(report["send"], "1")
        message = self.delivered()
        self.assertEqual(message.rcpt_tos,
                         ["Amy@example.com", "bea@example.com", "carl@example.com", "zed@example.com"])
        content = self.without_date(message.original_content)
        self.assertNotIn(b"\nBcc:", content)
        self.assertIn(b"\r\nCc: <carl@example.com>\r\n", content)
        # Afterwards the message has its Bcc line again.
        self.assertIn(b"\r\nBcc: <bea@example.com>\r\n", source)
        self.assertEqual(content, source.replace(b"Bcc: <bea@example.com>\r\n", b""))

    def test_dot_lines_arrive_intact(self):
        bodies = [b".\r\n", b"..\r\n", b".\r\n.\r\n", b"text\r\n.", b".leading\r\n..two\r\n",
                  b"a\r\n.\r\nb\r\n"]
        for body in bodies:
            with self.subTest(body=body):
                self.setUp()
                report, source = self.send(body)
                self.assertEqual(report["send"], "1")
                expected = body if body.endswith(b"\r\n") else body + b"\r\n"
                content = self.without_date(self.delivered().original_content)
                self.assertTrue(content.endswith(b"\r\n\r\n" + expected), content)
                self.assertEqual(content, source if source.endswith(b"\r\n") else source + b"\r\n")

    def test_one_megabyte_message_arrives_whole(self):
        body = b"".join(b"line %06d of a long alert text\r\n" % i for i in range(32000))
        self.assertGreater(len(body), 1000000)
        report, source = self.send(body)
        self.assertEqual(report["send"], "1")
        self.assertEqual(self.without_date(self.delivered().original_content), source)


class MisbehavingServerTest(unittest.TestCase):
    def probe(self, script, **options):
        server = ScriptServer(script)
        options.setdefault("timeout", "10")
        options.setdefault("to", "admin@example.com")
        report = run_probe(server.port, **options)
        server.join()
        return report, server.received

    def test_refused_ehlo_falls_back_to_helo(self):
        report, received = self.probe(
            [("send", b"220 old server\r\n"), ("line",), ("send", b"502 what?\r\n"), ("line",),
             ("send", b"250 hello\r\n"), ("line",), ("send", b"221 bye\r\n")], steps="quit")
        self.assertEqual(report["connect"], "1")
        self.assertEqual(report["connect_response"], "220 old server\r\n502 what?\r\n250 hello\r\n")
        self.assertTrue(received[0].startswith(b"EHLO "))
        self.assertTrue(received[1].startswith(b"HELO "))
        self.assertEqual(received[2], b"QUIT")
        self.assertEqual(report["quit"], "1")

    def test_refused_auth_login_still_connects(self):
        report, received = self.probe(
            HANDSHAKE + [("line",), ("send", b"500 no auth here\r\n"), ("line",), ("send", b"221 bye\r\n")],
            user=USER, password=PASSWORD, steps="quit")
        self.assertEqual(report["connect"], "1")
        self.assertNotIn("500", report["connect_response"])
        self.assertEqual(received[1], b"AUTH LOGIN")

    def test_refusals_are_failures_with_the_reply_readable(self):
        cases = [(0, b"451 4.3.0 try again later\r\n"), (1, b"550 5.1.1 no such user\r\n"),
                 (2, b"554 5.7.1 not for you\r\n"), (3, b"452 4.3.1 out of space\r\n")]
        for accepted, refusal in cases:
            with self.subTest(refusal=refusal):
                steps = list(HANDSHAKE)
                answers = [b"250 ok\r\n", b"250 ok\r\n", b"354 go on\r\n"]
                for answer in answers[:accepted]:
                    steps += [("line",), ("send", answer)]
                steps += [("data",) if accepted == 3 else ("line",), ("send", refusal),
                          ("line",), ("send", b"250 reset\r\n"), ("line",), ("send", b"221 bye\r\n")]
                report, received = self.probe(steps)
                envelope = [b"MAIL FROM:<monitor@example.com>", b"RCPT TO:<admin@example.com>", b"DATA"]
                self.assertEqual(received[1:1 + min(accepted + 1, 3)], envelope[:accepted + 1])
                self.assertEqual(report["send"], "0")
                self.assertEqual(report["send_response"], refusal.decode())
                self.assertEqual(received[-2:], [b"RSET", b"QUIT"])
                self.assertEqual(report["quit"], "1")

    def test_421_greeting_fails_the_connect(self):
        report, _ = self.probe([("send", b"421 4.3.2 shutting down\r\n"), ("sleep", 0.5)])
        self.assertEqual(report["connect"], "0")
        self.assertEqual(report["connect_response"], "421 4.3.2 shutting down\r\n")
        self.assertEqual((report["send"], report["quit"]), ("0", "0"))

    def test_timeouts(self):
        cases = [
            ("no greeting", [("sleep", 3)], "0"),
            ("trickle under the time-out", [("send", b"22"), ("sleep", 0.6), ("send", b"0 slow"),
                                            ("sleep", 0.6), ("send", b" but alive\r\n"), ("line",),
                                            ("send", b"250 ok\r\n")], "1"),
            ("gap over the time-out", [("send", b"220 wai"), ("sleep", 2.5), ("send", b"t\r\n")], "0"),
        ]
        for name, script, connected in cases:
            with self.subTest(name):
                started = time.monotonic()
                report, _ = self.probe(script, timeout="1", steps="")
                self.assertEqual(report["connect"], connected)
                self.assertLess(time.monotonic() - started, 30)

    def test_server_closing_mid_dialogue_fails_the_send(self):
        cases = [
            ("after RCPT", HANDSHAKE + ACCEPT_MAIL + [("close",)]),
            ("inside DATA", HANDSHAKE + ACCEPT_MAIL + [("line",), ("send", b"354 go\r\n"), ("bytes", 10),
                                                        ("close",)]),
        ]
        for name, script in cases:
            with self.subTest(name):
                report, _ = self.probe(script)
                self.assertEqual(report["connect"], "1")
                self.assertEqual(report["send"], "0")
                self.assertEqual(report["quit"], "0")

    def test_connection_refused(self):
        report = run_probe(closed_port(), timeout="10", to="admin@example.com")
        self.assertEqual((report["connect"], report["send"], report["quit"]), ("0", "0", "0"))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    WINE_RUN, PROBE = sys.argv[1], sys.argv[2]
    logging.disable(logging.CRITICAL)
    warnings.simplefilter("ignore")
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
