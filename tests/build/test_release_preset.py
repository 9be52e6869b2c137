"""The release preset configures only for a named product server, and without the test tools."""

import subprocess
import tempfile
import unittest
from pathlib import Path


class ReleasePreset(unittest.TestCase):
    def test_refuses_an_unset_or_empty_server_host_then_configures_with_one(self):
        with tempfile.TemporaryDirectory() as binary:
            def configure(*host):
                return subprocess.run(["cmake", "--preset", "release", "-B", binary, *host],
                                      cwd=Path(__file__).parents[2], capture_output=True, text=True)
            for refused in (configure(), configure("-DORVANE_SERVER_HOST=")):
                self.assertRegex(refused.stderr, r"CMake Error[\s\S]*needs ORVANE_SERVER_HOST")
            done = configure("-DORVANE_SERVER_HOST=updates.example.com")
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertNotIn("wininspect", (Path(binary) / "build.ninja").read_text())
