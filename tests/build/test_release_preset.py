"""The release preset configures only for a named product server and a publisher (or an
explicit opt-out), without the test tools."""

import subprocess
import tempfile
import unittest
from pathlib import Path

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
            unsigned = configure(host, "-DORVANE_PUBLISHER=")
            self.assertNotEqual(unsigned.returncode, 0)
            self.assertRegex(unsigned.stderr,
                             r"CMake Error[\s\S]*needs ORVANE_PUBLISHER[\s\S]*ORVANE_ALLOW_UNSIGNED=ON")
            signed = configure(host, "-DORVANE_PUBLISHER=Orvane JSC")
            self.assertEqual(signed.returncode, 0, signed.stderr)
            self.assertNotIn("publisher", signed.stderr)
            self.assertNotIn("wininspect", (Path(binary) / "build.ninja").read_text())
            opted_out = configure(host, "-DORVANE_PUBLISHER=", "-DORVANE_ALLOW_UNSIGNED=ON")
            self.assertEqual(opted_out.returncode, 0, opted_out.stderr)
            self.assertRegex(opted_out.stderr, r"CMake Warning[\s\S]*checks no publisher's signature")
