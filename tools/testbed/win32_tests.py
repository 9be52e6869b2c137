#!/usr/bin/python3
"""Runs the Win32 side's own tests (orvane_win32_tests.exe of the build Wine
drives here) inside the tests' Wine prefix and Xvfb display, beside what
their cases reach: the test product server and a proxy that never answers,
on loopback, the stand-in installer and the planted DLLs. Arguments go to the
program (--gtest_filter=Files.* and the like); exits with its exit code."""

import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import harness
from download_probe import windows_path
from never_accepts import NeverAccepts
from product_server import ProductServer

PROGRAM = harness.BUILD / "orvane_win32_tests.exe"
TIME_LIMIT = 300
BODY_SIZE = 2_000_000  # some 490 blocks of 4096 bytes: more than a fetch's ring holds
# Wine's own WinINet, XmlLite and the like load first unless told to prefer a
# DLL found on the search path, as Windows does for DLLs it doesn't know.
PREFER_PLANTED = "mscoree,mshtml=;xmllite=n,b"


def serve(root):
    """The files the fetches ask for: each byte tells its place and its block
    (ServedBytes in win32/test_support.cpp makes the same)."""
    body = bytes((i // 4096 + i) % 251 for i in range(BODY_SIZE))
    for name in ("whole.bin", "ranged.bin", "local.bin", "stalled.bin"):
        (root / name).write_bytes(body)


def main(arguments):
    with tempfile.TemporaryDirectory(prefix="orvane-win32-") as scratch, \
            harness.wine_session() as (_, wine), NeverAccepts() as unreachable:
        scratch = Path(scratch)
        (scratch / "served").mkdir()
        serve(scratch / "served")
        with ProductServer(scratch / "served") as server:
            server.set_mode("/busy.bin", "normal", size=10, unavailable=1000, retry_after=7)
            server.set_mode("/silent.bin", "normal", silent=True)
            server.set_mode("/stalled.bin", "normal", cut_after=100_000, cut_by="stall")
            # A folder of the test's own: a DLL of a system name is planted
            # beside the program, and the stand-in notes its starts beside itself.
            program = shutil.copy2(PROGRAM, scratch)
            shutil.copy2(harness.BUILD / "planted" / "xmllite.dll", scratch)
            (scratch / "Program Files").mkdir()
            stand_in = shutil.copy2(harness.STAND_INS / "install.exe", scratch / "Program Files")
            settings = {"ORVANE_TEST_SERVER": f"127.0.0.1:{server.http_port}",
                        "ORVANE_TEST_UNREACHABLE": unreachable.address,
                        "ORVANE_TEST_STAND_IN": windows_path(stand_in),
                        "WINEDLLOVERRIDES": PREFER_PLANTED}
            try:
                return subprocess.run(wine.command(program, *arguments), cwd=scratch,
                                      timeout=TIME_LIMIT, env={**wine.env(), **settings}).returncode
            except subprocess.TimeoutExpired:
                print(f"orvane_win32_tests.exe: no end after {TIME_LIMIT} s", flush=True)
                return 124


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
