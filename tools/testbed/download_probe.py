"""Runs download_probe.exe (the real DownloadFile, or the bare read loop) in
the tests' Wine prefix and returns what it reports; shared by the download
tests and scripts/bench-download."""

import json
import subprocess
from pathlib import Path

import harness

PROGRAM = harness.BUILD / "download_probe.exe"


def windows_path(path):
    """A Linux path as Wine's Z: drive names it."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def keep_wineserver_running(wine, linger_seconds=30):
    """Keeps the prefix's wineserver and its service processes up between
    runs, which otherwise pay some 3 s each to start them again. They are
    started here with no pipe of ours, so a later run's output ends when
    that run does. The session's wineserver -k still ends them all, and
    without it they go linger_seconds after the last program."""
    quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL,
             "stderr": subprocess.DEVNULL}
    subprocess.run(["wineserver", f"-p{linger_seconds}"], env=wine.env(), timeout=30, **quiet)
    # A probe run that fails at once (nothing listens there) still makes the
    # window, so the desktop process starts here too.
    subprocess.run(wine.command(PROGRAM, "http://127.0.0.1:9", "/", "NUL", ":", "--ping-ms", "0"),
                   env=wine.env(), timeout=120, **quiet)


class Probe:
    def __init__(self, wine, program=PROGRAM):
        self.wine = wine
        self.program = program

    def env(self):
        # Wine's WinINet takes a proxy from these when the system settings
        # are asked for; the tests choose the proxy themselves.
        return {k: v for k, v in self.wine.env().items() if "proxy" not in k.lower()}

    def run(self, *args, timeout=120):
        result = subprocess.run(self.wine.command(self.program, *args), env=self.env(),
                                capture_output=True, text=True, timeout=timeout)
        lines = result.stdout.strip().splitlines()
        if result.returncode != 0 or not lines:
            raise AssertionError(f"download_probe {args} failed ({result.returncode}):\n"
                                 f"{result.stdout}\n{result.stderr[-3000:]}")
        return json.loads(lines[-1])

    def download(self, base, path, target, proxy=":", captions=False, options=(), timeout=120):
        """DownloadFile with the main window showing its progress."""
        args = [base, path, windows_path(target), proxy, *options]
        if captions:
            args.append("--captions")
        return self.run(*args, timeout=timeout)

    def bare(self, base, path, target, proxy=":", options=(), timeout=120):
        """The 4096-byte read loop with file writes and nothing else."""
        return self.run(base, path, windows_path(target), proxy, "--bare", *options,
                        timeout=timeout)

    def cached(self, url):
        """Whether WinINet's cache holds an entry for the address."""
        return self.run("--cache-query", url)["cached"]
