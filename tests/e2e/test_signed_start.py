"""In a build that names the test publisher, only a download that publisher signed starts, held
so that nothing can change it between the check and the start (what a held file lets others do
is pinned in tests/win32). Wine 8's WinVerifyTrust checks the signature and the file's digest
but not whether the root is trusted, so "other" is refused here for its name and "tampered" for
its digest; real Windows checks the chain as well."""

import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import code_signing  # noqa: E402
import harness  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

UNSIGNED = ("Chuong trinh vua tai ve khong mang chu ky so cua nha cung cap nen khong duoc chay."
            "\r\nXin vui long lien he nha cung cap.")
HOME = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit"}


class SignedStart(ProgramCase):
    centre = {"cmdOrvane": (450, 63)}
    program = harness.BUILD / "publisher_check" / "OrvaneSetup.exe"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        signed = Path(cls.scratch.name) / "signed"
        signed.mkdir()
        unsigned = shutil.copy2(harness.STAND_INS / "install.exe", signed / "install.exe")
        publisher = code_signing.sign(unsigned, signed / "publisher.exe", "publisher")
        cls.served = {"unsigned": unsigned, "publisher": publisher,
                      "other": code_signing.sign(unsigned, signed / "other.exe", "other"),
                      "tampered": code_signing.tamper(publisher, signed / "tampered.exe")}

    def serve(self, kind):
        shutil.copy2(self.served[kind], self.tree / "install" / "install.exe")

    def fresh_folder(self):
        return Path(tempfile.mkdtemp(prefix="Downloads ", dir=self.scratch.name))

    def test_only_the_installer_the_publisher_signed_starts_the_rest_is_refused_and_removed(self):
        for kind in ("unsigned", "other", "tampered", "publisher"):
            with self.subTest(kind):
                self.serve(kind)
                folder = self.fresh_folder()
                self.start(folder, program=self.program)
                self.click("cmdOrvane")
                if kind == "publisher":
                    self.wait_until(lambda: starts(folder / "install.starts.log"), 60, "it")
                    continue
                self.assertEqual(self.message(), UNSIGNED)
                self.wait_for_panel(HOME, "the home panel after the message")
                self.assertEqual(sorted(p.name for p in folder.iterdir()), ["OrvaneSetup.exe"])
                self.wine.kill_all()

if __name__ == "__main__":
    unittest.main()
