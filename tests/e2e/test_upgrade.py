"""Upgrade from end to end: the real OrvaneSetup.exe under Wine, its upgrade
panel, an installation folder with Vietnamese letters pasted into it, the
customer's name from Report\\Info.xml, the three downloads from the test
product server on localhost:8471 and the hand-over to the stand-in updater."""

import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from demo_tree import build_installation  # noqa: E402
from download_probe import windows_path  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

CUSTOMER = "ACME-01"
UPGRADE = {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit", "cmdOK", "txtFolder", "cmdBr"}
PATHS = ["/Tarvik/Tarvik.exe", "/Tarvik/Orvane_sys.rar", f"/Tarvik/{CUSTOMER}/Orvane.rar"]


class UpgradeEndToEnd(ProgramCase):
    centre = {"cmdUpd": (450, 96), "cmdOK": (450, 95), "txtFolder": (182, 154)}
    customer = CUSTOMER

    def setUp(self):
        super().setUp()
        base = Path(tempfile.mkdtemp(dir=self.scratch.name))
        self.installation = build_installation(base / "Phần mềm" / "Orvane 12", CUSTOMER)
        self.process = self.start(base / "setup")
        self.click("cmdUpd")
        self.wait_for_panel(UPGRADE, "the upgrade panel", timeout=20)
        self.paste_into("txtFolder", windows_path(self.installation))
        self.assertTrue(self.no_window("THONG BAO"), "an installation is taken without a word")

    def updater_starts(self):
        return starts(self.installation / "Tarvik.starts.log")

    def counts(self):
        counts = self.server.stats()["counts"]
        return [counts.get(path, 0) for path in PATHS]

    def test_an_upgrade_fetches_three_files_hands_over_to_the_updater_and_ends(self):
        (self.installation / "OrvaneTarvikTemp").mkdir()
        (self.installation / "OrvaneTarvikTemp" / "Orvane.rar").write_bytes(b"an older one " * 9000)
        (self.installation / "Tarvik.exe").write_bytes(b"an older updater")
        self.click("cmdOK")
        started = harness.wait_for(self.updater_starts, 60, "the updater to start")
        harness.wait_for(lambda: self.process.poll() is not None, 20, "the setup to end")
        self.assertEqual(len(started), 1)
        self.assertEqual(started[0]["arguments"], 0)
        self.assertEqual(started[0]["path"].lower(),
                         windows_path(self.installation / "Tarvik.exe").lower())
        for served, local in [("Tarvik/Tarvik.exe", "Tarvik.exe"),
                              ("Tarvik/Orvane_sys.rar", "OrvaneTarvikTemp/Orvane_sys.rar"),
                              (f"Tarvik/{CUSTOMER}/Orvane.rar", "OrvaneTarvikTemp/Orvane.rar")]:
            self.assertEqual((self.installation / local).read_bytes(),
                             (self.tree / served).read_bytes(), local)
        self.assertEqual(self.counts(), [1, 1, 1])


if __name__ == "__main__":
    unittest.main()
