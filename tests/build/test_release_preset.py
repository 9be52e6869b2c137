"""The release preset configures only for a named product server and a publisher (or an
explicit opt-out), without the test tools, and builds the same bytes wherever it is built,
asking Windows for ASLR and DEP."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

import pefile

SOURCE = Path(__file__).parents[2]


class ReleasePreset(unittest.TestCase):
    def test_refuses_a_missing_server_host_or_publisher_unless_unsigned_is_asked_for(self):
        with tempfile.TemporaryDirectory() as binary:
            def configure(*options):
                return subprocess.run(["cmake", "--preset", "release", "-B", binary, *options],
                                      cwd=SOURCE, capture_output=True, text=True)
            host = "-DORVANE_SERVER_HOST=updates.example.com"
            for refused in (configure(), configure("-DORVANE_SERVER_HOST=")):
                self.assertRegex(refused.stderr, r"CMake Error[\s\S]*needs ORVANE_SERVER_HOST")
            self.assertRegex(configure(host, "-DORVANE_PUBLISHER=").stderr,
                             r"CMake Error[\s\S]*needs ORVANE_PUBLISHER[\s\S]*ORVANE_ALLOW_UNSIGNED=ON")
            signed = configure(host, "-DORVANE_PUBLISHER=Orvane JSC")
            self.assertEqual(signed.returncode, 0, signed.stderr)
            self.assertNotIn("publisher", signed.stderr)
            self.assertNotIn("wininspect", (Path(binary) / "build.ninja").read_text())
            opted_out = configure(host, "-DORVANE_PUBLISHER=", "-DORVANE_ALLOW_UNSIGNED=ON")
            self.assertEqual(opted_out.returncode, 0, opted_out.stderr)
            self.assertRegex(opted_out.stderr, r"CMake Warning[\s\S]*checks no publisher's signature")

    def test_two_clean_builds_in_other_folders_are_the_same_bytes_with_aslr_and_dep(self):
        listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                                cwd=SOURCE, capture_output=True, check=True).stdout
        with tempfile.TemporaryDirectory() as scratch:
            programs = []
            # Each build has a source and a build folder of its own, named differently.
            for name in ("a", "another"):
                tree, binary = Path(scratch) / name, Path(scratch) / f"{name}-build"
                for file in map(os.fsdecode, filter(None, listed.split(b"\0"))):
                    if (SOURCE / file).is_file():
                        (tree / file).parent.mkdir(parents=True, exist_ok=True)
                        shutil.copy2(SOURCE / file, tree / file)
                for step in (["cmake", "--preset", "release", "-B", binary,
                              "-DORVANE_SERVER_HOST=updates.example.com", "-DORVANE_PUBLISHER=Orvane JSC"],
                             ["cmake", "--build", binary, "-j2", "--target", "OrvaneSetup"]):
                    done = subprocess.run(step, cwd=tree, capture_output=True, text=True)
                    self.assertEqual(done.returncode, 0, done.stdout[-2000:] + done.stderr)
                programs.append(binary / "OrvaneSetup.exe")
            same = subprocess.run(["cmp", *programs], capture_output=True, text=True)
            self.assertEqual(same.returncode, 0, same.stdout + same.stderr)
            program = pefile.PE(programs[0], fast_load=True)
        dynamic_base, nx_compat = 0x40, 0x100
        self.assertEqual(program.OPTIONAL_HEADER.DllCharacteristics & (dynamic_base | nx_compat),
                         dynamic_base | nx_compat)
        # ASLR can move the program only with its relocation table.
        relocations = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]
        self.assertGreater(program.OPTIONAL_HEADER.DATA_DIRECTORY[relocations].Size, 0)
