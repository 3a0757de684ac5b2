#!/usr/bin/env python3
"""Runs bench/mime_bench.exe under Wine beside the same work done by the
distribution's `base64` command and Python's binascii, on the same 16 MB of
random bytes, and prints each peer's throughput and our ratio to it
(above 1: we are faster).

    bench/mime_bench.py [BUILD_DIR] [--short]   (default: $VEXMORA_BUILD or build/)

--short works on 1 MB, once: enough to show that it runs.
"""
import binascii
import os
import pathlib
import random
import subprocess
import sys
import tempfile
import time

RUNS = 5
SIZE = 16 << 20


def best_seconds(work):
    best = float("inf")
    for _ in range(RUNS):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def command_seconds(arguments, source):
    def run():
        with open(source, "rb") as stdin:
            subprocess.run(arguments, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
    return best_seconds(run)


def mime_lines(data):
    return b"".join(binascii.b2a_base64(data[i:i + 57]) for i in range(0, len(data), 57))


def our_seconds(build, data_file):
    windows_name = "Z:" + str(data_file).replace("/", "\\")
    output = subprocess.run([str(build / "wine-run"), str(build / "bench" / "mime_bench.exe"), windows_name],
                            capture_output=True, text=True, check=True).stdout
    print(output.rstrip())
    seconds = {}
    for line in output.splitlines():
        fields = line.split()
        if len(fields) >= 3 and fields[2] == "s":
            seconds[fields[0]] = float(fields[1])
    return seconds


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    global RUNS, SIZE
    arguments = [a for a in sys.argv[1:] if a != "--short"]
    if "--short" in sys.argv[1:]:
        RUNS, SIZE = 1, 1 << 20
    build = pathlib.Path(arguments[0] if arguments else os.environ.get("VEXMORA_BUILD", root / "build"))
    data = random.Random(20240601).randbytes(SIZE)
    with tempfile.TemporaryDirectory() as folder:
        data_file = pathlib.Path(folder) / "data.bin"
        data_file.write_bytes(data)
        base64_file = pathlib.Path(folder) / "data.b64"
        with open(data_file, "rb") as stdin, open(base64_file, "wb") as stdout:
            subprocess.run(["base64"], stdin=stdin, stdout=stdout, check=True)

        ours = our_seconds(build, data_file)
        encoded = mime_lines(data)
        quoted = binascii.b2a_qp(data)
        peers = [
            ("base64-encode", "base64 command", command_seconds(["base64"], data_file)),
            ("base64-encode", "binascii", best_seconds(lambda: mime_lines(data))),
            ("base64-decode", "base64 command", command_seconds(["base64", "-d"], base64_file)),
            ("base64-decode", "binascii", best_seconds(lambda: binascii.a2b_base64(encoded))),
            ("qp-encode", "binascii", best_seconds(lambda: binascii.b2a_qp(data))),
            ("qp-decode", "binascii", best_seconds(lambda: binascii.a2b_qp(quoted))),
        ]

    megabytes = SIZE / (1 << 20)
    print()
    print("%-14s %-15s %10s %10s %7s" % ("work", "peer", "ours MB/s", "peer MB/s", "ratio"))
    for work, peer, seconds in peers:
        print("%-14s %-15s %10.1f %10.1f %7.2f" % (work, peer, megabytes / ours[work], megabytes / seconds,
                                                    seconds / ours[work]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
