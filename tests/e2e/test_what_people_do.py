"""What a person does during and around a download, on a fresh program each."""

import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
from program_case import ProgramCase, starts  # noqa: E402

INSTALLER = "/install/install.exe"
HOME = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit"}
INSTALLING = HOME | {"cmdStop"}
PROXY = HOME | {"txtIP", "txtPort"}


class WhatPeopleDo(ProgramCase):
    centre = {"cmdOrvane": (450, 63), "cmdProxy": (450, 160)}

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="app ", dir=self.scratch.name))

    def installer_starts(self):
        return starts(self.folder / "install.starts.log")

    def slow(self, path=INSTALLER):
        self.server.set_mode(path, "drip", chunk=4096, delay=0.2)

    def left_behind(self):
        return sorted(p.name for p in self.folder.iterdir() if p.name != "OrvaneSetup.exe")

    def test_a_double_click_on_install_fetches_and_starts_the_installer_once_and_the_window_answers(self):
        self.slow()
        self.start(self.folder)
        x, y = self.centre["cmdOrvane"]
        # A person's double-click: two presses of 80 ms, 100 ms apart.
        self.display.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y, "sleep", "0.1",
                             "mousedown", 1, "sleep", "0.08", "mouseup", 1, "sleep", "0.1",
                             "mousedown", 1, "sleep", "0.08", "mouseup", 1)
        self.wait_until(self.installer_starts, 60, "the installer to start")
        self.close_window("install (stand-in)")
        self.click("cmdProxy")
        self.wait_for_panel(PROXY, "the proxy panel: the window answers")
        self.assertEqual([(s["path"].lower().rsplit("\\", 1)[-1], s["arguments"])
                          for s in self.installer_starts()], [("install.exe", 0)])
        self.assertEqual(self.server.stats()["counts"][INSTALLER], 1)
        self.assertEqual((self.folder / "install.exe").read_bytes(),
                         (self.tree / "install" / "install.exe").read_bytes())
        self.assertEqual(self.left_behind(), ["install.exe", "install.starts.log"])


if __name__ == "__main__":
    unittest.main()
