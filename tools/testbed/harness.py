"""Runs the Windows programs of the project for real: a private X display
(Xvfb), the tests' own Wine prefix, xdotool and screenshots."""

import contextlib
import fcntl
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))  # the other testbed modules
import wine_build  # noqa: E402

ROOT = wine_build.ROOT
# The build that Wine runs here, and the prefix of its loader.
CHOSEN = wine_build.decide()
BUILD = Path(os.environ.get("ORVANE_WINDOWS_BUILD", CHOSEN.build)).resolve()
PREFIX = Path(os.environ.get("ORVANE_WINEPREFIX", CHOSEN.prefix("wineprefix"))).resolve()
# The program as shipped, for the checks that only read the file.
SHIPPED = ROOT / "build" / "windows"
SCREENSHOTS = BUILD / "screenshots"
TEST_CA = ROOT / "build" / "test-ca"
STAND_INS = BUILD / "stand_ins"


class TimeoutError_(AssertionError):
    pass


def wait_for(condition, timeout, what, interval=0.05):
    """Polls condition() until it returns something truthy; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError_(f"timed out after {timeout}s waiting for {what}")
        time.sleep(interval)


class Display:
    """A private Xvfb display, so tests never touch the user's screen."""

    def __init__(self, width=1024, height=768, background="#3a6ea5"):
        self.size = (width, height)
        self.background = background
        self.process = None
        self.name = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.size[0]}x{self.size[1]}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        # A known colour behind every window: what a window leaves
        # uncovered (its rounded corners) shows this colour.
        subprocess.run(["xsetroot", "-solid", self.background], env=self.env(), check=True)
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()

    def env(self):
        return {**os.environ, "DISPLAY": self.name}

    def xdotool(self, *args, timeout=10):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env(), capture_output=True,
                                text=True, timeout=timeout)
        return result.stdout.strip() if result.returncode == 0 else None

    def find_window(self, title, timeout=30):
        """The X window of a visible top-level window with exactly this title."""
        def search():
            found = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$")
            return found.split()[0] if found else None
        return wait_for(search, timeout, f"a window titled {title!r}", interval=0.1)

    def visible_titles(self):
        found = self.xdotool("search", "--onlyvisible", "--name", ".") or ""
        return sorted(filter(None, (self.xdotool("getwindowname", w) for w in found.split())))

    def window_gone(self, window_id):
        return self.xdotool("getwindowname", window_id) is None

    def geometry(self, window_id):
        text = self.xdotool("getwindowgeometry", "--shell", window_id)
        values = dict(line.split("=", 1) for line in text.splitlines())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, path=None):
        """The whole screen as a PIL image (saved to path when given)."""
        from PIL import Image  # Debian's python3-pil
        with tempfile.NamedTemporaryFile(suffix=".png") as shot:
            subprocess.run(["import", "-window", "root", shot.name], env=self.env(), check=True,
                           timeout=30)
            image = Image.open(shot.name).convert("RGB")
            image.load()
        if path:
            Path(path).parent.mkdir(parents=True, exist_ok=True)
            image.save(path)
        return image

    def settled_screenshot(self, timeout=10):
        """A screenshot taken once two in a row are identical (painting done)."""
        previous = [self.screenshot()]

        def same_twice():
            current = self.screenshot()
            stable = current.tobytes() == previous[0].tobytes()
            previous[0] = current
            return current if stable else None
        return wait_for(same_twice, timeout, "the screen to settle", interval=0.15)

    def click(self, x, y, button=1):
        # No --sync: it waits for a motion event that never comes when the
        # pointer is already there.
        self.xdotool("mousemove", x, y)
        time.sleep(0.1)  # Wine sees fast press/move/release out of order
        self.xdotool("click", button)


class Wine:
    """The tests' own Wine prefix, with Arial mapped to Liberation Sans so
    the window shows the metrics users see."""

    def __init__(self, display, prefix=PREFIX):
        self.display = display
        self.prefix = Path(prefix)
        self.loader = CHOSEN.loader

    def env(self):
        # Wine's internet client takes the system's proxy from these, and the
        # tests decide for themselves which proxy, if any, a download uses.
        quiet = {name: value for name, value in self.display.env().items()
                 if name.lower() not in ("http_proxy", "https_proxy", "all_proxy", "no_proxy")}
        return {**quiet, **CHOSEN.env(), "WINEPREFIX": str(self.prefix), "WINEDEBUG": "-all",
                "WINEDLLOVERRIDES": "mscoree,mshtml="}

    def command(self, program, *args):
        return [*self.loader, str(program), *map(str, args)]

    def prepare(self):
        marker = self.prefix / ".orvane-ready"
        if not marker.exists():
            self.prefix.mkdir(parents=True, exist_ok=True)
            subprocess.run(self.command("wineboot", "-i"), env=self.env(), check=True, timeout=300,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # wineboot returns before the prefix is complete (the drive
            # mappings among it); programs started earlier aren't found.
            subprocess.run(["wineserver", "-w"], env=self.env(), timeout=300)
            self.run_checked("reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", "Arial",
                             "/d", "Liberation Sans", "/f")
            marker.write_text("ok\n")
        return self

    def run(self, program, *args, timeout=120, input_text=None, env=None):
        return subprocess.run(self.command(program, *args), env={**self.env(), **(env or {})},
                              capture_output=True, text=True, timeout=timeout, input=input_text)

    def run_checked(self, program, *args, timeout=120):
        result = self.run(program, *args, timeout=timeout)
        if result.returncode != 0:
            raise AssertionError(f"{program} {args} failed ({result.returncode}):\n"
                                 f"{result.stdout}\n{result.stderr}")
        return result.stdout

    def start(self, program, *args, cwd=None, env=None, **popen):
        return subprocess.Popen(self.command(program, *args),
                                env={**self.env(), **(env or {})}, cwd=cwd, **popen)

    def trust_test_ca(self):
        """The test certificate authority and the test code-signing root, trusted in this
        prefix only (never on the machine); returns the folder with the TLS files."""
        from code_signing import ensure_code_signing
        from make_test_ca import ensure_test_ca
        ensure_test_ca(TEST_CA)
        roots = [TEST_CA / "ca.der", Path(ensure_code_signing()["root.der"])]
        marker = self.prefix / ".orvane-ca-trusted"
        fingerprint = hashlib.sha256(b"".join(root.read_bytes() for root in roots)).hexdigest()
        if not marker.exists() or marker.read_text() != fingerprint:
            for root in roots:
                self.run_checked(BUILD / "trust_ca.exe", root)
            marker.write_text(fingerprint)
        return TEST_CA

    def inspect(self, title):
        """What the window titled `title` holds, read from inside Wine."""
        return json.loads(self.run_checked(BUILD / "wininspect.exe", "window", title))

    def kill_all(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


@contextlib.contextmanager
def prefix_lock(prefix=PREFIX, timeout=900):
    """Sole use of the Wine prefix: each test ends every Wine process in it,
    so two suites at once would kill each other's programs."""
    prefix.mkdir(parents=True, exist_ok=True)
    with open(prefix.parent / f".{prefix.name}.lock", "w") as lock:
        wait_for(lambda: _try_lock(lock), timeout, f"sole use of the Wine prefix {prefix}",
                 interval=0.5)
        try:
            yield
        finally:
            fcntl.flock(lock, fcntl.LOCK_UN)


def _try_lock(lock):
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        return True
    except BlockingIOError:
        return False


@contextlib.contextmanager
def wine_session(screen=(1024, 768), window_manager=False):
    """A display and a prepared prefix; every Wine process ends with it. With a window manager
    (openbox), as users have: without one Wine only moves a maximised borderless window to 0,0
    and leaves its size."""
    with prefix_lock(), Display(*screen) as display:
        wine = Wine(display).prepare()
        manager = window_manager and subprocess.Popen(
            ["openbox", "--sm-disable"], env=display.env(), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        try:
            if manager:
                wait_for(lambda: "window id" in subprocess.run(
                    ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=display.env(),
                    capture_output=True, text=True).stdout, 15, "openbox to manage the display")
            yield display, wine
        finally:
            wine.kill_all()
            if manager:
                manager.terminate()
                manager.wait(timeout=15)


def copy_program(destination, program=None):
    """A fresh copy of a built program (OrvaneSetup.exe unless named) in a folder of the test's
    own, under its own name."""
    program = Path(program or BUILD / "OrvaneSetup.exe")
    destination = Path(destination)
    destination.mkdir(parents=True, exist_ok=True)
    return Path(shutil.copy2(program, destination / program.name))
