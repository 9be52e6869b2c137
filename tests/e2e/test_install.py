"""Install from end to end, and the window's own commands: the real
OrvaneSetup.exe under Wine, the real test product server on localhost:8471
(HTTP and HTTPS on one port), tinyproxy, and xdotool clicks at the buttons."""

import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from program_case import PORT, TITLE, ProgramCase, starts, visible  # noqa: E402
from tinyproxy import TinyProxy  # noqa: E402

INSTALLER = "/install/install.exe"
CENTRE = {  # middle of each picture button, window pixels
    "cmdOrvane": (450, 63), "cmdStop": (450, 63), "cmdUpd": (450, 96), "cmdHelp": (450, 126),
    "cmdProxy": (450, 160), "cmdExit": (450, 192), "txtIP": (227, 114), "txtPort": (227, 146),
}
HOME = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit"}
INSTALLING = HOME | {"cmdStop"}
NET_ERR = "Download khong thanh cong.\r\nXin vui long kiem tra ket noi Internet."
FILE_ERR = "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap."


class InstallEndToEnd(ProgramCase):
    centre = CENTRE

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.served = (cls.tree / "install" / "install.exe").read_bytes()

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="app ", dir=self.scratch.name))

    def start(self, program="OrvaneSetup.exe"):
        return super().start(self.folder, program)

    def type_into(self, name, text):
        self.focus_box(name)
        self.display.xdotool("type", "--delay", "30", text)
        self.wait_until(lambda: self.text_of(name) == text, 10, f"{text!r} in {name}")

    def installer_starts(self):
        return starts(self.folder / "install.starts.log")

    def slow_installer(self):
        self.server.set_mode(INSTALLER, "drip", chunk=4096, delay=0.1)

    # -- cases -----------------------------------------------------------------------------

    def test_install_replaces_the_old_installer_starts_it_and_returns_home(self):
        (self.folder / "install.exe").write_bytes(b"an older, longer installer " * 20000)
        self.start()
        self.click("cmdOrvane")
        starts = harness.wait_for(self.installer_starts, 30, "the installer to start")
        self.assertEqual(len(starts), 1, starts)
        self.assertEqual(starts[0]["arguments"], 0)
        self.assertTrue(starts[0]["path"].lower().endswith("\\install.exe"), starts[0])
        self.assertEqual((self.folder / "install.exe").read_bytes(), self.served)
        self.assertFalse(any(p.name.endswith(".download") for p in self.folder.iterdir()))
        self.wait_for_panel(HOME, "the home panel after the install")
        self.assertEqual(self.server.stats()["counts"][INSTALLER], 1)
        self.assertFalse(self.display.window_gone(self.window), "the window must stay open")

    def test_during_a_download_only_the_install_panel_shows_and_panel_clicks_do_nothing(self):
        self.slow_installer()
        self.start()
        band = self.display.settled_screenshot().getpixel((self.origin[0] + 40, self.origin[1] + 225))
        self.click("cmdOrvane")
        self.wait_for_panel(INSTALLING, "the install panel")
        for name in ("cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy"):
            if name != "cmdOrvane":  # Stop covers Install: a click there would stop
                self.click(name)
            self.assertEqual(self.panel(), INSTALLING, f"after a click on {name}")
        x, y = self.origin
        shot = harness.wait_for(
            lambda: (lambda s: s if s.getpixel((x + 40, y + 225)) != band else None)(
                self.display.screenshot()), 30, "the progress bar to grow")
        self.save_window("install-during.png", shot)
        self.assertEqual(self.server.stats()["counts"][INSTALLER], 1, "one download only")
        harness.wait_for(self.installer_starts, 60, "the installer to start")
        self.wait_for_panel(HOME, "the home panel after the install")
        self.save_window("install-after.png")

    def test_failed_downloads_show_their_message_and_start_nothing(self):
        for mode, params, expected in [("reset", {"after": 50000}, NET_ERR),
                                       ("status", {"status": 404}, FILE_ERR)]:
            with self.subTest(mode=mode):
                self.server.set_mode(INSTALLER, mode, **params)
                if not hasattr(self, "window") or self.display.window_gone(self.window):
                    self.start()
                self.click("cmdOrvane")
                self.assertEqual(self.message(close=False), expected)
                self.assertEqual(self.installer_starts(), [])
                self.assertFalse((self.folder / "install.exe").exists())
                self.close_window("THONG BAO")
                self.wait_for_panel(HOME, "the home panel after the message")

    def test_a_typed_proxy_carries_the_download_and_empty_boxes_go_direct(self):
        # The 127.0.0.1 build over plain HTTP (a Windows 5.1 answer): a dotted host
        # is not bypassed, and the proxy is asked for the absolute address.
        key = r"HKCU\Software\Wine\AppDefaults\OrvaneSetup.exe"
        self.wine.run_checked("reg", "add", key, "/v", "Version", "/d", "winxp", "/f")
        try:
            with TinyProxy(self.folder / "proxy") as proxy:
                self.start("OrvaneSetupViaIp.exe")
                self.click("cmdProxy")
                self.wait_for_panel(HOME - {"cmdUpd"} | {"cmdUpd", "txtIP", "txtPort"}, "proxy")
                self.type_into("txtIP", "127.0.0.1")
                self.type_into("txtPort", str(proxy.port))
                self.click("cmdOrvane")
                harness.wait_for(self.installer_starts, 30, "the installer to start")
                self.assertIn(f"http://127.0.0.1:{PORT}{INSTALLER}", proxy.log_text())
                self.assertEqual((self.folder / "install.exe").read_bytes(), self.served)
                # The stand-in's window lies over ours; close it before clicking on.
                self.display.find_window(r"install \(stand-in\)")
                self.close_window("install (stand-in)")

                # Both boxes emptied: the system's settings, which name no proxy here.
                self.wait_for_panel(HOME, "the home panel")
                self.click("cmdProxy")
                for name in ("txtIP", "txtPort"):
                    self.focus_box(name)
                    self.keys("ctrl+a", "BackSpace")
                    self.wait_until(lambda: self.text_of(name) == "", 10, f"{name} emptied")
                log_before = proxy.log_text()
                self.click("cmdOrvane")
                harness.wait_for(lambda: len(self.installer_starts()) == 2, 30, "a second start")
                self.assertEqual(self.server.stats()["counts"][INSTALLER], 2)
                self.assertEqual(proxy.log_text().count(INSTALLER), log_before.count(INSTALLER))
        finally:
            self.wine.run_checked("reg", "delete", key, "/f")

    def test_stop_restarts_the_program_on_a_fresh_home_panel(self):
        self.slow_installer()
        first = self.start()
        self.click("cmdProxy")
        self.type_into("txtIP", "10.0.0.9")
        self.click("cmdOrvane")
        self.wait_for_panel(INSTALLING, "the install panel")
        old_window = self.window
        self.click("cmdStop")
        harness.wait_for(lambda: first.poll() is not None, 20, "the first instance to end")
        harness.wait_for(lambda: self.display.window_gone(old_window), 20, "the old window to go")
        self.display.find_window(TITLE)
        inspection = harness.wait_for(
            lambda: (lambda i: i if visible(i) == HOME else None)(self.wine.inspect(TITLE)),
            30, "a fresh window on the home panel")
        boxes = {c["name"]: c["text"] for c in inspection["children"] if c["class"] == "Edit"}
        self.assertEqual(boxes, {"txtIP": "", "txtPort": "", "txtFolder": ""})
        self.assertEqual(self.installer_starts(), [])

    def test_exit_during_a_download_ends_at_once_without_a_question(self):
        self.slow_installer()
        process = self.start()
        self.click("cmdOrvane")
        self.wait_for_panel(INSTALLING, "the install panel")
        began = time.monotonic()
        self.click("cmdExit")
        harness.wait_for(lambda: process.poll() is not None, 10, "the program to end")
        self.assertLess(time.monotonic() - began, 5)
        self.assertTrue(self.display.window_gone(self.window))
        self.assertIsNone(self.display.xdotool("search", "--name", "^THONG BAO$"))
        self.assertEqual(self.installer_starts(), [])


if __name__ == "__main__":
    unittest.main()
