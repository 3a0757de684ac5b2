#!/usr/bin/env python3
"""Runs bench/smtp_bench.exe under Wine beside Python's smtplib, both sending
200 small mails and then one 10 MB mail over one session to the same loopback
aiosmtpd server (the distribution's, in a process of its own), and prints
messages per second, MB/s and our ratio to smtplib (above 1: we are faster).

    bench/smtp_bench.py [BUILD_DIR] [--short]   (default: $VEXMORA_BUILD or build/)

--short sends 20 small mails and one of 1 MB: enough to show that it runs.
"""
import os
import pathlib
import smtplib
import subprocess
import sys
import tempfile
import time

SERVER = r"""
import asyncio, sys
from aiosmtpd.smtp import SMTP

class Discard:
    async def handle_DATA(self, server, session, envelope):
        return "250 OK"

async def main():
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(Discard(), hostname="bench"), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await loop.run_in_executor(None, sys.stdin.read)

asyncio.run(main())
"""


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def our_seconds(build, port, small_file, big_file, short):
    # Output through a file, not a pipe: Wine's services, started by the first
    # program of a session, would keep a pipe open long after ours ends.
    with tempfile.TemporaryFile(mode="w+") as stdout:
        subprocess.run([str(build / "wine-run"), str(build / "bench" / "smtp_bench.exe"), str(port),
                        windows_path(small_file), windows_path(big_file)] + (["--short"] if short else []),
                       stdout=stdout, stdin=subprocess.DEVNULL, check=True)
        stdout.seek(0)
        output = stdout.read()
    seconds = {}
    for line in output.splitlines():
        fields = line.split()
        if len(fields) == 4 and fields[3] == "s":
            seconds[fields[0]] = float(fields[2])
    return seconds


def smtplib_seconds(port, small, big, count):
    with smtplib.SMTP("127.0.0.1", port) as client:
        client.ehlo()
        start = time.perf_counter()
        for _ in range(count):
            client.sendmail("monitor@example.com", ["admin@example.com"], small)
        small_seconds = time.perf_counter() - start
        start = time.perf_counter()
        client.sendmail("monitor@example.com", ["admin@example.com"], big)
        big_seconds = time.perf_counter() - start
    return {"small": small_seconds, "big": big_seconds}


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    arguments = [a for a in sys.argv[1:] if a != "--short"]
    short = "--short" in sys.argv[1:]
    build = pathlib.Path(arguments[0] if arguments else os.environ.get("VEXMORA_BUILD", root / "build"))
    count = 20 if short else 200
    server = subprocess.Popen(["/usr/bin/python3", "-c", SERVER], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True)
    try:
        port = int(server.stdout.readline())
        with tempfile.TemporaryDirectory() as folder:
            small_file = pathlib.Path(folder) / "small.eml"
            big_file = pathlib.Path(folder) / "big.eml"
            ours = our_seconds(build, port, small_file, big_file, short)
            small, big = small_file.read_bytes(), big_file.read_bytes()
        peer = smtplib_seconds(port, small, big, count)
    finally:
        server.stdin.close()
        server.wait(10)

    megabytes = len(big) / (1 << 20)
    print("%-26s %12s %12s %7s" % ("work", "ours", "smtplib", "ratio"))
    print("%-26s %12.1f %12.1f %7.2f" % ("%d small mails (mails/s)" % count, count / ours["small"],
                                         count / peer["small"], peer["small"] / ours["small"]))
    print("%-26s %12.1f %12.1f %7.2f" % ("one %.0f MB mail (MB/s)" % megabytes, megabytes / ours["big"],
                                         megabytes / peer["big"], peer["big"] / ours["big"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
