#!/usr/bin/python3
"""Runs the built OrvaneSetup.exe under Wine, in the project's own prefix.
With a usable display the window opens there and this waits until it is
closed; without one the program runs in a private Xvfb display, a screenshot
of its window is saved, and the program is ended."""

import os
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

TITLE = "Orvane Tools"


def display_usable():
    if not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


class ExistingDisplay:
    name = os.environ.get("DISPLAY")

    def env(self):
        return dict(os.environ)


def main():
    program = harness.BUILD / "OrvaneSetup.exe"
    if display_usable():
        wine = harness.Wine(ExistingDisplay()).prepare()
        print(f"Running {program} on {ExistingDisplay.name}; close its window to finish.")
        return wine.start(program, cwd=program.parent).wait()

    with harness.wine_session() as (display, wine):
        print(f"No display found: running {program} inside Xvfb {display.name}.")
        process = wine.start(program, cwd=program.parent)
        window = display.find_window(TITLE)
        x, y, width, height = display.geometry(window)
        harness.SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        shot = harness.SCREENSHOTS / "run.png"
        display.settled_screenshot().crop((x, y, x + width, y + height)).save(shot)
        print(f"The window '{TITLE}' is up ({width} x {height} at {x},{y}).")
        print(f"Screenshot saved to {shot}")
    process.wait(timeout=30)
    return 0


if __name__ == "__main__":
    sys.exit(main())
