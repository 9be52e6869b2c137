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
from program_case import ProgramCase, starts  # noqa: E402

INSTALLER = "/install/install.exe"
INSTALLING = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit", "cmdStop"}


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

    def test_stop_during_a_wait_restarts_at_once_and_the_server_hears_nothing_more(self):
        self.install(unavailable=1, retry_after=30)
        self.wait_for_panel(INSTALLING, "the install panel")
        # Stop sits where Install was: a click within the double-click time
        # would be taken for the second half of a double-click on Install.
        self.wait_until(lambda: self.requests() and self.requests()[0]["status"] == 503
                        and time.monotonic() - self.clicked > 1, 10, "a 503, a second after")
        pid, clicked = self.pid(), time.monotonic()
        self.click("cmdStop")
        harness.wait_for(lambda: self.process.poll() is not None, 10, "the stopped copy to end")
        self.assertLess(time.monotonic() - clicked, 5, "Stop waits for no timer")
        self.fresh_copy(pid)
        self.assertEqual(len(self.requests()), 1)
        self.assertEqual(sorted(p.name for p in self.folder.iterdir()), ["OrvaneSetup.exe"])


if __name__ == "__main__":
    unittest.main()
