"""Runs the Windows-side GoogleTest programs under Wine on a private display."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402


class WindowsSideUnitTests(unittest.TestCase):
    def test_host_window_tests_pass(self):
        with harness.wine_session() as (_, wine):
            result = wine.run(harness.BUILD / "host_test.exe", "--gtest_brief=1", timeout=120)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("PASSED", result.stdout)


if __name__ == "__main__":
    unittest.main()
