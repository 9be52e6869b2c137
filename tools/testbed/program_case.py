"""A test case that runs the real OrvaneSetup.exe under Wine against the test
product server on localhost:8471 (the address the program is built for),
with helpers to click it, read it and answer its message boxes."""

import json
import subprocess
import tempfile
import unittest
from pathlib import Path

import harness
from demo_tree import DEMO_CUSTOMER, build_server_tree
from product_server import ProductServer

TITLE = "Orvane Tools"
PORT = 8471
SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"


def visible(inspection):
    """The shown controls a user acts on: static texts only carry words for screen readers."""
    return {child["name"] for child in inspection["children"]
            if child["visible"] and child["name"] and child["class"] != "Static"}


class Pinger:
    """wininspect's ping of a window, running in the background while the test
    acts; result() waits for its end and returns what it measured:
    {"probes": [ms, ...], "worst_ms": ms, "gone": bool}."""

    def __init__(self, process, duration):
        self.process = process
        self.duration = duration

    def result(self):
        # Beyond the duration: finding the window, and a last probe that times out.
        out, err = self.process.communicate(timeout=self.duration + 30)
        if self.process.returncode != 0:
            raise AssertionError(f"wininspect ping failed ({self.process.returncode}): {err}")
        return json.loads(out)


def alive(pid):
    """Whether a process runs, not merely waits to be reaped."""
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return False
    return stat.rsplit(")", 1)[1].split()[0] not in ("Z", "X")


def starts(log):
    """What a stand-in recorded of its starts, one entry per start."""
    log = Path(log)
    return [json.loads(line) for line in log.read_text().splitlines()] if log.exists() else []


class ProgramCase(unittest.TestCase):
    customer = DEMO_CUSTOMER
    centre = {}  # control name -> its middle in window pixels
    screen = (1024, 768)
    window_manager = False

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="orvane-e2e-")
        cls.tree = build_server_tree(Path(cls.scratch.name) / "server", harness.STAND_INS,
                                     customer=cls.customer)
        cls.session = harness.wine_session(cls.screen, cls.window_manager)
        cls.display, cls.wine = cls.session.__enter__()
        ca = cls.wine.trust_test_ca()
        cls.server = ProductServer(cls.tree, cert=ca / "server.pem", key=ca / "server.key",
                                   port=PORT).start()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.session.__exit__(None, None, None)
        cls.scratch.cleanup()

    def setUp(self):
        self.server.reset()
        self.processes = []
        self.box_clicks = 0  # which side of a box's middle the next click takes

    def tearDown(self):
        self.wine.kill_all()
        for process in self.processes:
            process.wait(timeout=30)

    def start(self, folder, env=None, program=None):
        """A fresh copy of the program (as built, unless another is named) started from folder."""
        process = self.wine.start(harness.copy_program(folder, program), cwd=folder, env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        self.window = self.display.find_window(TITLE)
        self.origin = self.display.geometry(self.window)[:2]
        return process

    def click(self, name, offset=(0, 0)):
        x, y = self.centre[name]
        self.display.click(self.origin[0] + x + offset[0], self.origin[1] + y + offset[1])

    def focus_box(self, name):
        """Clicks into a text box and waits until it has the keyboard, so the
        keys that follow can't reach another window. The click lands beside
        the box's middle, away from the previous click there: two clicks on
        one spot within the double-click time open the folder dialog."""
        self.box_clicks += 1
        self.click(name, offset=(-40 if self.box_clicks % 2 else 40, 0))
        self.wait_until(lambda: self.inspection()["focus"] == name, 10, f"{name} to take the keys")

    def paste_into(self, name, text):
        """Pastes text into a box as a user does from Explorer: xdotool can't
        type Vietnamese letters, the clipboard carries them."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text, text=True,
                       env=self.display.env(), check=True, timeout=10)
        self.focus_box(name)
        self.keys("ctrl+a", "ctrl+v")
        self.wait_until(lambda: self.text_of(name) == text, 10, f"the text pasted into {name}")

    def keys(self, *combos):
        # A pause between combinations, as for the mouse: Wine is given time
        # to handle each before the next arrives.
        self.display.xdotool("key", "--delay", "80", *combos)

    def wait_until(self, condition, timeout, what):
        """harness.wait_for, failing with what the screen showed at the time."""
        try:
            return harness.wait_for(condition, timeout, what)
        except harness.TimeoutError_ as timeout_error:
            raise harness.TimeoutError_(f"{timeout_error}; {self.screen_state()}") from None

    def screen_state(self):
        """The visible windows, any message box's text and the focus, with a
        screenshot saved under the test's name, for a failure's message."""
        state = [f"windows: {self.display.visible_titles()}"]
        try:
            inspection = self.inspection()
            state.append(f"focus: {inspection['focus']}")
            state.append("boxes: " + ", ".join(f"{c['name']}={c['text']!r}"
                                               for c in inspection["children"]
                                               if c["name"].startswith("txt")))
            if not self.no_window("THONG BAO"):
                box = self.wine.inspect("THONG BAO")
                state.append("message: " + " | ".join(c["text"] for c in box["children"]
                                                      if c["text"]))
        except Exception as error:  # a window may be gone meanwhile; say so
            state.append(f"inspection failed: {error}")
        shot = harness.SCREENSHOTS / "failures" / f"{self.id()}.png"
        try:
            self.display.screenshot(shot)
            state.append(f"screenshot: {shot}")
        except Exception as error:
            state.append(f"no screenshot: {error}")
        return "; ".join(state)

    def window_shot(self):
        x, y, width, height = self.display.geometry(self.window)
        return self.display.settled_screenshot().crop((x, y, x + width, y + height))

    def inspection(self):
        return self.wine.inspect(TITLE)

    def panel(self):
        return visible(self.inspection())

    def wait_for_panel(self, shown, what, timeout=30):
        return self.wait_until(lambda: self.panel() == shown, timeout, what)

    def text_of(self, name):
        return next(c["text"] for c in self.inspection()["children"] if c["name"] == name)

    def message(self, close=True):
        """The "THONG BAO" box's text, read from the dialog itself; OK pressed after."""
        self.display.find_window("THONG BAO")
        box = self.wine.inspect("THONG BAO")
        texts = [c["text"] for c in box["children"] if c["class"] == "Static" and c["text"]]
        self.assertEqual(len(texts), 1, box)
        if close:
            self.close_window("THONG BAO")
        return texts[0]

    def ping_window(self, interval=0.5, duration=20, title=TITLE):
        """Starts timing how long the window takes to answer, every interval
        seconds for duration seconds or until it is gone, and returns at once;
        a window that waits for the network answers late."""
        process = self.wine.start(harness.BUILD / "wininspect.exe", "ping", title,
                                  round(interval * 1000), round(duration * 1000),
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.processes.append(process)
        return Pinger(process, duration)

    def system_proxy(self, server):
        """The proxy in the system's internet settings, or none."""
        self.wine.run_checked("reg", "add", SETTINGS, "/v", "ProxyEnable", "/t", "REG_DWORD",
                              "/d", "1" if server else "0", "/f")
        self.wine.run_checked("reg", "add", SETTINGS, "/v", "ProxyServer", "/d", server or "",
                              "/f")

    def pid(self, window=None):
        """The process of the program's window, as Linux knows it."""
        found = self.display.xdotool("getwindowpid", window or self.window)
        return int(found) if found else None

    def fresh_copy(self, old_pid):
        """Follows the copy of the program that Stop started, once its window
        is there; it may come with the X id of the old one."""
        def found():
            window = self.display.xdotool("search", "--onlyvisible", "--name", f"^{TITLE}$")
            window = window.split()[0] if window else None
            return window if window and self.pid(window) not in (None, old_pid) else None
        self.window = self.wait_until(found, 30, "the fresh copy's window")
        self.origin = self.display.geometry(self.window)[:2]

    def close_window(self, title):
        self.wine.run_checked(harness.BUILD / "wininspect.exe", "close", title)
        harness.wait_for(lambda: self.no_window(title), 10, f"{title!r} to close")

    def no_window(self, title):
        pattern = "^" + title.replace("(", r"\(").replace(")", r"\)") + "$"
        return self.display.xdotool("search", "--onlyvisible", "--name", pattern) is None
