"""A setup program run from Downloads: it loads no DLL from its folder, imports only known DLLs,
asks for administrator rights, says what it is and can be signed."""

import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import pefile

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

# The shipped 32-bit program, whichever build Wine drives on this machine.
EXE = harness.SHIPPED / "OrvaneSetup.exe"
# Windows 7's known DLLs, and comctl32 from the side-by-side assembly.
KNOWN = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
         "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll"}
# Windows' order for a DLL that is not a known one: the program's folder first.
PREFER_PLANTED = {"WINEDLLOVERRIDES": "mscoree,mshtml=;wininet,msimg32,xmllite,gdiplus=n,b"}


class TheReleaseExe(unittest.TestCase):
    def test_is_32_bit_imports_only_known_dlls_asks_for_administrator_rights_and_says_what_it_is(
            self):
        pe = pefile.PE(str(EXE))
        self.assertEqual(pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
        self.assertLessEqual(imports, KNOWN)
        manifests = [pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
                     for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries if kind.id == 24
                     for name in kind.directory.entries for leaf in name.directory.entries]
        self.assertEqual(len(manifests), 1)
        self.assertIn(b'level="requireAdministrator"', manifests[0])
        self.assertIn(b'processorArchitecture="x86"', manifests[0])
        strings = {key.decode(): value.decode() for info in pe.FileInfo[0]
                   if info.Key == b"StringFileInfo" for table in info.StringTable
                   for key, value in table.entries.items()}
        self.assertLessEqual({"FileDescription": "Orvane Setup", "ProductName": "Orvane",
                              "FileVersion": "12.0.0.0", "ProductVersion": "12.0.0.0",
                              "OriginalFilename": "OrvaneSetup.exe"}.items(), strings.items())
        self.assertTrue({"CompanyName", "InternalName", "LegalCopyright"} <= strings.keys())
        self.assertEqual((pe.OPTIONAL_HEADER.MajorSubsystemVersion,
                          pe.OPTIONAL_HEADER.MinorSubsystemVersion), (6, 1))

    def test_a_copy_signed_with_scripts_sign_verifies(self):
        with tempfile.TemporaryDirectory() as work:
            work = Path(work)
            (work / "password").write_text("throwaway\n")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                            "1", "-subj", "/CN=Orvane test signing", "-keyout", work / "key.pem",
                            "-out", work / "cert.pem", "-addext", "extendedKeyUsage=codeSigning"],
                           check=True, capture_output=True)
            subprocess.run(["openssl", "pkcs12", "-export", "-inkey", work / "key.pem", "-in",
                            work / "cert.pem", "-out", work / "cert.pfx", "-passout",
                            f"file:{work / 'password'}"], check=True, capture_output=True)
            copy = shutil.copy2(EXE, work / "OrvaneSetup.exe")
            subprocess.run(["bash", harness.ROOT / "scripts" / "sign", work / "cert.pfx",
                            work / "password", copy], check=True, capture_output=True)
            verified = subprocess.run(["osslsigncode", "verify", "-CAfile", work / "cert.pem",
                                       "-in", copy], capture_output=True, text=True)
        self.assertIn("Signature verification: ok", verified.stdout, verified.stderr)


class SafeStart(ProgramCase):
    centre = {"cmdOrvane": (450, 63)}

    def test_no_dll_planted_beside_the_program_is_loaded_by_it_or_the_installer_it_starts(self):
        """The program as built, its imports and its first call; where each DLL it loads comes
        from, and that a plant would be taken by a bare name, is pinned in tests/win32."""
        downloads = Path(tempfile.mkdtemp(prefix="Downloads ", dir=self.scratch.name))
        for name in ("wininet.dll", "msimg32.dll", "xmllite.dll", "gdiplus.dll"):
            shutil.copy2(harness.BUILD / "planted" / name, downloads / name)
        self.start(downloads, env=PREFER_PLANTED)
        self.click("cmdOrvane")
        harness.wait_for(lambda: starts(downloads / "install.starts.log"), 30, "the installer")
        log = downloads / "planted.log"
        self.assertFalse(log.exists(), log.exists() and log.read_text())


if __name__ == "__main__":
    unittest.main()
