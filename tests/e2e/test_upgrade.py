"""Upgrade from end to end: a Vietnamese installation folder pasted into the panel, the customer
from Report\\Info.xml, three downloads from localhost:8471, the hand-over to the updater."""

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

    def test_an_upgrade_fetches_three_files_hands_over_to_the_updater_and_ends(self):
        base = Path(tempfile.mkdtemp(dir=self.scratch.name))
        installation = build_installation(base / "Phần mềm" / "Orvane 12", CUSTOMER)
        process = self.start(base / "setup")
        self.click("cmdUpd")
        self.wait_for_panel(UPGRADE, "the upgrade panel", timeout=20)
        self.paste_into("txtFolder", windows_path(installation))
        self.assertTrue(self.no_window("THONG BAO"), "an installation is taken without a word")
        self.click("cmdOK")
        started = harness.wait_for(lambda: starts(installation / "Tarvik.starts.log"), 60,
                                   "the updater to start")
        harness.wait_for(lambda: process.poll() is not None, 20, "the setup to end")
        self.assertEqual([(s["path"].lower(), s["arguments"]) for s in started],
                         [(windows_path(installation / "Tarvik.exe").lower(), 0)])
        for served, local in [("Tarvik/Tarvik.exe", "Tarvik.exe"),
                              ("Tarvik/Orvane_sys.rar", "OrvaneTarvikTemp/Orvane_sys.rar"),
                              (f"Tarvik/{CUSTOMER}/Orvane.rar", "OrvaneTarvikTemp/Orvane.rar")]:
            self.assertEqual((installation / local).read_bytes(),
                             (self.tree / served).read_bytes(), local)
        self.assertEqual([self.server.stats()["counts"].get(path, 0) for path in PATHS], [1, 1, 1])


if __name__ == "__main__":
    unittest.main()
