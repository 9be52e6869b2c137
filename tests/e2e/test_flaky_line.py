"""Installing over a line that drops: the real OrvaneSetup.exe under Wine,
on a fresh program each, against the test product server's faults. What a
fetch hands over, whatever the line does, is pinned in tests/win32."""

import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from never_accepts import NeverAccepts  # noqa: E402
from program_case import ProgramCase, alive, starts  # noqa: E402

INSTALLER = "/install/install.exe"
INSTALLING = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit", "cmdStop"}
NET_ERR = "Download khong thanh cong.\r\nXin vui long kiem tra ket noi Internet."


class FlakyLine(ProgramCase):
    centre = {"cmdOrvane": (450, 63), "cmdStop": (450, 63)}

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="app ", dir=self.scratch.name))

    def install(self, **fault):
        if fault:
            self.server.set_mode(INSTALLER, "normal", **fault)
        self.process = self.start(self.folder)
        self.click("cmdOrvane")
        self.clicked = time.monotonic()

    def requests(self):
        return self.server.stats()["requests"].get(INSTALLER, [])

    def assert_installed_without_a_word(self):
        self.wait_until(lambda: starts(self.folder / "install.starts.log"), 60, "the installer")
        self.assertTrue(self.no_window("THONG BAO"))
        self.assertEqual((self.folder / "install.exe").read_bytes(),
                         (self.tree / "install" / "install.exe").read_bytes())

    def test_a_weak_etag_starts_over_and_windows_xp_is_still_served_over_https(self):
        """A compatibility setting that says Windows XP changes nothing: every
        request goes over https. A weak ETag names no exact bytes, so after
        the drop the file is asked for whole, never with W/ in If-Range."""
        key = r"HKCU\Software\Wine\AppDefaults\OrvaneSetup.exe"
        self.wine.run_checked("reg", "add", key, "/v", "Version", "/d", "winxp", "/f")
        self.addCleanup(self.wine.run_checked, "reg", "delete", key, "/f")
        self.install(cut_after=100_000, cut_first=1, headers={"ETag": 'W/"weak-1"'})
        self.assert_installed_without_a_word()
        asked = self.requests()
        self.assertEqual([(r["tls"], r["range"], r["if_range"]) for r in asked],
                         [(True, None, None)] * 2)
        log = self.wine.prefix / "drive_c/ProgramData/Orvane/Logs/OrvaneSetup.log"
        self.assertIn("Server: https://localhost:8471 on Windows 2000", log.read_text())

    def test_whatever_the_line_does_the_window_answers_and_stop_and_exit_act_at_once(self):
        """Connecting through a proxy that never takes the call, a silent server, a body that
        stops, a wait before the next attempt: the install panel shows at once, the window answers
        every probe, the caption says what it waits for; Stop restarts the program and Alt+F4 ends
        it within a second, asking nothing more. A silent server left alone ends in the message."""
        with NeverAccepts() as unreachable:
            for fault, proxy, caption in [
                    ({}, unreachable.address, "Dang ket noi may chu..."),
                    ({"silent": True}, None, "Dang cho may chu tra loi..."),
                    ({"cut_after": 100_000, "cut_by": "stall"}, None, "Downloading ... 33%"),
                    ({"unavailable": 99, "retry_after": 30}, None, "Mat ket noi, thu lai sau")]:
                with self.subTest(fault or "unreachable proxy"):
                    self.wine.kill_all()
                    self.server.set_mode(INSTALLER, "normal", **fault)
                    self.system_proxy(proxy)
                    self.start(self.folder)
                    for act in ("cmdStop", "alt+F4"):
                        self.act_while_nothing_comes(act, caption)
        self.system_proxy(None)
        self.server.reset()
        self.install(silent=True)
        pinger = self.ping_window(duration=55)
        self.wait_until(lambda: not self.no_window("THONG BAO"), 80, "the message")
        self.assertLess(time.monotonic() - self.clicked, 75)
        self.assertEqual(self.message(), NET_ERR)
        self.assertGreaterEqual(len(self.requests()), 2)
        self.assertLess(pinger.result()["worst_ms"], 100)

    def act_while_nothing_comes(self, act, caption):
        pinger = self.ping_window(interval=0.25, duration=30)
        self.click("cmdOrvane")
        clicked = time.monotonic()
        self.wait_for_panel(INSTALLING, "the install panel")
        self.assertLess(time.monotonic() - clicked, 1, "the install panel")
        self.wait_until(lambda: self.text_of("ProgressCap").startswith(caption), 2.5, caption)
        time.sleep(3)  # into the wait, and past a double-click on Install, where Stop is
        pid, asked = self.pid(), len(self.requests())
        self.keys(act) if act == "alt+F4" else self.click(act)
        acted = time.monotonic()
        harness.wait_for(lambda: not alive(pid), 5, f"{act} to end the program")
        self.assertLess(time.monotonic() - acted, 1, act)
        self.assertLess(pinger.result()["worst_ms"], 100)
        if act == "cmdStop":
            self.fresh_copy(pid)
        self.assertEqual(len(self.requests()), asked)
        self.assertEqual([p.name for p in self.folder.iterdir()], ["OrvaneSetup.exe"])

if __name__ == "__main__":
    unittest.main()
