"""When a download fails, support can tell why: the real OrvaneSetup.exe
under Wine behind the office's proxy (the system's, the boxes left empty),
which asks for a login, and the log every run leaves."""

import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402
from tinyproxy import TinyProxy  # noqa: E402

LOGIN_DIALOG = "Enter Network Password"
USER, PASSWORD = "nhanvien", "Mk-8317-proxy"
PROXY_ERR = ("May chu proxy tu choi ket noi.\r\n"
             "Xin vui long kiem tra ten dang nhap va mat khau cua proxy.")


class BehindAProxyWithALogin(ProgramCase):
    centre = {"cmdOrvane": (450, 63)}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.proxy = TinyProxy(Path(cls.scratch.name) / "proxy", login=(USER, PASSWORD)).start()

    @classmethod
    def tearDownClass(cls):
        cls.proxy.stop()
        super().tearDownClass()

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="app ", dir=self.scratch.name))
        self.system_proxy(f"127.0.0.1:{self.proxy.port}")
        self.addCleanup(self.system_proxy, None)

    def log_in(self, user, password):
        """Types a login into the system's password dialog, as a person does:
        the user name, Tab, the password, Enter."""
        self.wait_until(lambda: not self.no_window(LOGIN_DIALOG), 30, "the password dialog")
        dialog = self.display.find_window(LOGIN_DIALOG)
        self.display.xdotool("windowfocus", "--sync", dialog)
        self.display.xdotool("type", "--delay", "80", user)
        self.wait_until(lambda: user in [c["text"] for c in self.wine.inspect(LOGIN_DIALOG)
                                         ["children"]], 10, "the user name typed")
        self.keys("Tab")
        self.display.xdotool("type", "--delay", "80", password)
        self.keys("Return")
        # A wrong login brings a new dialog of the same title at once.
        harness.wait_for(lambda: self.display.window_gone(dialog), 10, "the dialog to close")

    def support_log(self):
        """The log in the program data for all users: %ProgramData% is C:\\ProgramData."""
        return self.wine.prefix / "drive_c" / "ProgramData" / "Orvane" / "Logs" / "OrvaneSetup.log"

    def installer_starts(self):
        return starts(self.folder / "install.starts.log")

    def temp_logs(self):
        return list(self.wine.prefix.glob("drive_c/users/*/**/Temp/OrvaneSetup.log"))

    def test_a_wrong_login_is_asked_again_and_the_right_one_installs(self):
        self.start(self.folder)
        self.click("cmdOrvane")
        self.log_in(USER, "not-the-password")
        self.log_in(USER, PASSWORD)
        self.wait_until(self.installer_starts, 60, "the installer")
        self.assertTrue(self.no_window("THONG BAO"))
        self.assertEqual((self.folder / "install.exe").read_bytes(),
                         (self.tree / "install" / "install.exe").read_bytes())
        self.assertIn("CONNECT localhost:", self.proxy.log_text())
        self.assertIn(", status 407 200, ", self.support_log().read_text())
        self.assertEqual(self.temp_logs(), [], "nothing in the user's temporary folder")
        # Kept in memory only: not in the registry, the prefix or the folders.
        for secret in (PASSWORD.encode(), PASSWORD.encode("utf-16-le")):
            found = [str(p) for root in (self.wine.prefix, self.folder) for p in root.rglob("*")
                     if p.is_file() and not p.is_symlink() and secret in p.read_bytes()]
            self.assertEqual(found, [])

    def test_cancel_says_the_proxy_refused_and_starts_nothing(self):
        self.start(self.folder)
        self.click("cmdOrvane")
        self.display.find_window(LOGIN_DIALOG)
        self.wine.run_checked(harness.BUILD / "wininspect.exe", "cancel", LOGIN_DIALOG)
        self.assertEqual(self.message(), PROXY_ERR)
        self.assertEqual(self.installer_starts(), [])


if __name__ == "__main__":
    unittest.main()
