"""Install from end to end: the real OrvaneSetup.exe under Wine, a click on
Install, the real test product server on localhost:8471 and the stand-in
installer, which records each start."""

import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

INSTALLER = "/install/install.exe"
HOME = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit"}


class InstallEndToEnd(ProgramCase):
    centre = {"cmdOrvane": (450, 63)}

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="app ", dir=self.scratch.name))
        self.start(self.folder)

    def installer_starts(self):
        return starts(self.folder / "install.starts.log")

    def test_install_replaces_the_old_installer_starts_it_once_and_returns_home(self):
        (self.folder / "install.exe").write_bytes(b"an older, longer installer " * 20000)
        self.click("cmdOrvane")
        started = harness.wait_for(self.installer_starts, 30, "the installer to start")
        self.assertEqual(len(started), 1, started)
        self.assertEqual(started[0]["arguments"], 0)
        self.assertTrue(started[0]["path"].lower().endswith("\\install.exe"), started[0])
        self.assertEqual((self.folder / "install.exe").read_bytes(),
                         (self.tree / "install" / "install.exe").read_bytes())
        self.assertEqual(sorted(p.name for p in self.folder.iterdir()),
                         ["OrvaneSetup.exe", "install.exe", "install.starts.log"])
        self.wait_for_panel(HOME, "the home panel after the install")
        self.assertEqual(self.server.stats()["counts"][INSTALLER], 1)
        self.assertFalse(self.display.window_gone(self.window), "the window must stay open")


if __name__ == "__main__":
    unittest.main()
