"""The release preset ships for the real product server only: without its
host it won't configure, and it builds the program without the test tools."""

import subprocess
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]


class ReleasePreset(unittest.TestCase):
    def configure(self, *options):
        binary = self.enterContext(tempfile.TemporaryDirectory())
        result = subprocess.run(["cmake", "--preset", "release", "-B", binary, *options],
                                cwd=ROOT, capture_output=True, text=True)
        return result, Path(binary)

    def test_refuses_without_the_server_host_and_names_it(self):
        for options in ([], ["-DORVANE_SERVER_HOST="]):
            result, _ = self.configure(*options)
            self.assertNotEqual(result.returncode, 0, options)
            self.assertRegex(result.stderr, r"CMake Error[\s\S]*needs ORVANE_SERVER_HOST")

    def test_configures_for_the_given_host_without_the_test_tools(self):
        result, binary = self.configure("-DORVANE_SERVER_HOST=updates.example.com")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("ORVANE_SERVER_HOST:STRING=updates.example.com",
                      (binary / "CMakeCache.txt").read_text())
        targets = (binary / "build.ninja").read_text()
        self.assertIn("OrvaneSetup.exe", targets)
        self.assertNotIn("publisher_check", targets)
        self.assertNotIn("wininspect", targets)
