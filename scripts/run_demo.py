#!/usr/bin/python3
"""Runs OrvaneSetup.exe under Wine against the demo product server.

The demo server serves, on localhost:8471 (HTTP and HTTPS on the one port),
the stand-in installer, the stand-in updater and two small packages; its test
certificate authority is trusted inside the project's own Wine prefix only.
With a usable display the window opens there and this waits until it closes.
Without one it runs in a private Xvfb display, clicks Install itself, and
saves screenshots of the install panel during the download and of the window
after it."""

import os
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tools" / "testbed"))
import harness  # noqa: E402
from demo_tree import build_installation, build_server_tree  # noqa: E402
from product_server import ProductServer  # noqa: E402

TITLE = "Orvane Tools"
DEMO_PORT = 8471
INSTALL_BUTTON = (392 + 58, 48 + 15)  # the middle of cmdOrvane, window pixels


def display_usable():
    if not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


class ExistingDisplay:
    name = os.environ.get("DISPLAY")

    def env(self):
        return dict(os.environ)


def save_window(display, window, name):
    x, y, width, height = display.geometry(window)
    harness.SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    path = harness.SCREENSHOTS / name
    display.settled_screenshot().crop((x, y, x + width, y + height)).save(path)
    return path


def run_unattended(server, program):
    with harness.wine_session() as (display, wine):
        wine.trust_test_ca()
        print(f"No display found: running a copy of {program} inside Xvfb {display.name}.")
        # Slow the installer down so the progress shows long enough to see.
        server.set_mode("/install/install.exe", "drip", chunk=8192, delay=0.15)
        demo_folder = harness.ROOT / "build" / "demo"
        program = harness.copy_program(demo_folder)
        wine.start(program, cwd=demo_folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = display.find_window(TITLE)
        x, y, _, _ = display.geometry(window)
        idle_band = display.settled_screenshot().getpixel((x + 40, y + 225))
        display.click(x + INSTALL_BUTTON[0], y + INSTALL_BUTTON[1])

        def progress_shown():
            # The bar has grown past x = 40 in the footer band.
            screen = display.screenshot()
            return screen if screen.getpixel((x + 40, y + 225)) != idle_band else None
        screen = harness.wait_for(progress_shown, 30, "the progress bar to grow")
        during = harness.SCREENSHOTS / "demo-install-during.png"
        screen.crop((x, y, x + 528, y + 255)).save(during)
        display.find_window("install \\(stand-in\\)", timeout=60)
        after = save_window(display, window, "demo-install-after.png")
        full = harness.SCREENSHOTS / "demo-screen.png"
        display.settled_screenshot().save(full)
        print(f"Install downloaded and started the stand-in installer "
              f"({server.stats()['counts'].get('/install/install.exe', 0)} request).")
        print(f"Screenshots: {during}\n             {after}\n             {full}")


def main():
    program = harness.BUILD / "OrvaneSetup.exe"
    with tempfile.TemporaryDirectory(prefix="orvane-demo-") as scratch:
        tree = build_server_tree(Path(scratch) / "server", harness.STAND_INS)
        installation = build_installation(harness.ROOT / "build" / "demo-installation")
        ca = harness.TEST_CA
        from make_test_ca import ensure_test_ca
        ensure_test_ca(ca)
        with ProductServer(tree, cert=ca / "server.pem", key=ca / "server.key",
                           port=DEMO_PORT) as server:
            print(f"Demo product server on localhost:{DEMO_PORT}, serving {tree}.")
            print(f"A demo installation to upgrade: {installation}")
            if not display_usable():
                run_unattended(server, program)
                return 0
            wine = harness.Wine(ExistingDisplay()).prepare()
            wine.trust_test_ca()
            print(f"Running {program} on {ExistingDisplay.name}; close its window to finish.")
            return wine.start(program, cwd=program.parent).wait()


if __name__ == "__main__":
    sys.exit(main())
