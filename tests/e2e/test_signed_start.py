"""In a build that names the test publisher, only a download that publisher signed starts, held
so that nothing can change it between the check and the start; the running program's own file
can't be renamed away either. Wine 8's WinVerifyTrust checks the signature and the file's digest
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
from demo_tree import build_installation  # noqa: E402
from download_probe import windows_path  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

UNSIGNED = ("Chuong trinh vua tai ve khong mang chu ky so cua nha cung cap nen khong duoc chay."
            "\r\nXin vui long lien he nha cung cap.")
HOME = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit"}
UPGRADE = {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit", "cmdOK", "txtFolder", "cmdBr"}


class SignedStart(ProgramCase):
    centre = {"cmdOrvane": (450, 63), "cmdUpd": (450, 96), "cmdOK": (450, 95),
              "txtFolder": (182, 154)}
    program = harness.BUILD / "publisher_check" / "OrvaneSetup.exe"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        stand_ins = Path(cls.scratch.name) / "signed"
        stand_ins.mkdir()
        cls.served = {}
        for role, path in (("install", "install/install.exe"), ("Tarvik", "Tarvik/Tarvik.exe")):
            unsigned = shutil.copy2(harness.STAND_INS / f"{role}.exe", stand_ins / f"{role}.exe")
            signed = code_signing.sign(unsigned, stand_ins / f"{role}.publisher.exe", "publisher")
            cls.served[role] = {
                "unsigned": unsigned, "publisher": signed,
                "other": code_signing.sign(unsigned, stand_ins / f"{role}.other.exe", "other"),
                "tampered": code_signing.tamper(signed, stand_ins / f"{role}.tampered.exe")}

    def serve(self, role, kind):
        path = "install/install.exe" if role == "install" else "Tarvik/Tarvik.exe"
        shutil.copy2(self.served[role][kind], self.tree / path)

    def fresh_folder(self):
        return Path(tempfile.mkdtemp(prefix="Downloads ", dir=self.scratch.name))

    def test_an_installer_the_publisher_did_not_sign_is_refused_and_removed(self):
        for kind in ("unsigned", "other", "tampered"):
            with self.subTest(kind):
                self.serve("install", kind)
                folder = self.fresh_folder()
                self.start(folder, program=self.program)
                self.click("cmdOrvane")
                self.assertEqual(self.message(), UNSIGNED)
                self.wait_for_panel(HOME, "the home panel after the message")
                self.assertEqual(sorted(p.name for p in folder.iterdir()), ["OrvaneSetup.exe"])
                self.wine.kill_all()

    def test_the_publishers_installer_starts_and_the_running_program_keeps_its_own_file(self):
        self.serve("install", "publisher")
        folder = self.fresh_folder()
        own, renamed = folder / "OrvaneSetup.exe", folder / "renamed.exe"
        self.start(folder, program=self.program)
        move = ("cmd", "/c", "move", windows_path(own), windows_path(renamed))
        self.wine.run(*move)
        self.assertTrue(own.exists() and not renamed.exists(), "the running program was renamed")
        self.click("cmdOrvane")
        self.wait_until(lambda: starts(folder / "install.starts.log"), 60, "the installer")
        self.assertTrue(self.no_window("THONG BAO"))
        self.wine.kill_all()
        self.wine.run(*move)  # once the program has ended the same command renames it
        self.assertTrue(renamed.exists() and not own.exists())

    def test_an_unsigned_updater_is_not_handed_over(self):
        self.serve("Tarvik", "unsigned")
        installation = build_installation(self.fresh_folder() / "Orvane", self.customer)
        process = self.start(self.fresh_folder(), program=self.program)
        self.click("cmdUpd")
        self.wait_for_panel(UPGRADE, "the upgrade panel", timeout=20)
        self.paste_into("txtFolder", windows_path(installation))
        self.click("cmdOK")
        self.assertEqual(self.message(), UNSIGNED)
        self.assertIsNone(process.poll(), "the program stays for another try")
        self.assertFalse((installation / "Tarvik.exe").exists())
        self.assertEqual(starts(installation / "Tarvik.starts.log"), [])


if __name__ == "__main__":
    unittest.main()
