#!/usr/bin/python3
"""Runs OrvaneSetup.exe under Wine against the demo product server.

The demo server serves, on localhost:8471 (HTTP and HTTPS on the one port),
the stand-in installer, the stand-in updater and two small packages; its test
certificate authority is trusted inside the project's own Wine prefix only.
With a usable display the window opens there and this waits until it closes.
Without one, or with ORVANE_DEMO_UNATTENDED=1 whatever DISPLAY says, it runs
in a private Xvfb display, clicks Install itself, saves screenshots of the
home panel (as docs/screenshot-home.png shows it), of the install panel during
the download and of the window after it, prints their paths and ends."""

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
    if os.environ.get("ORVANE_DEMO_UNATTENDED") == "1" or not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


class ExistingDisplay:
    name = os.environ.get("DISPLAY")

    def env(self):
        return dict(os.environ)


def run_unattended(server, program):
    with harness.wine_session() as (display, wine):
        wine.trust_test_ca()
        print(f"Unattended: running a copy of {program} inside Xvfb {display.name}.", flush=True)
        # Slow the installer down so the progress shows long enough to see.
        server.set_mode("/install/install.exe", "drip", chunk=8192, delay=0.15)
        demo_folder = harness.ROOT / "build" / "demo"
        program = harness.copy_program(demo_folder)
        shots = harness.SCREENSHOTS
        shots.mkdir(parents=True, exist_ok=True)
        demo = wine.start(program, cwd=demo_folder, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
        window = display.find_window(TITLE)
        x, y, width, height = display.geometry(window)

        def window_of(screen, name):
            screen.crop((x, y, x + width, y + height)).save(shots / name)
            return shots / name
        screen = display.settled_screenshot()
        home = window_of(screen, "demo-home.png")
        idle_band = screen.getpixel((x + 40, y + 225))
        display.click(x + INSTALL_BUTTON[0], y + INSTALL_BUTTON[1])

        def progress_shown():
            # The bar has grown past x = 40 in the footer band.
            screen = display.screenshot()
            return screen if screen.getpixel((x + 40, y + 225)) != idle_band else None
        during = window_of(harness.wait_for(progress_shown, 30, "the progress bar to grow"),
                           "demo-install-during.png")
        display.find_window("install \\(stand-in\\)", timeout=60)
        screen = display.settled_screenshot()
        after = window_of(screen, "demo-install-after.png")
        full = shots / "demo-screen.png"
        screen.save(full)
        print(f"Install downloaded and started the stand-in installer "
              f"({server.stats()['counts'].get('/install/install.exe', 0)} request).")
        wine.kill_all()
        demo.wait(timeout=30)
        print(f"Screenshots: {home}\n             {during}\n             {after}\n"
              f"             {full}")


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
