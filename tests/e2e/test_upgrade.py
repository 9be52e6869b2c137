"""Upgrade from end to end: the installation folder typed, pasted or chosen in
the real folder dialog, the customer's name from Report\\Info.xml, the three
downloads and the hand-over to the updater. The real OrvaneSetup.exe under
Wine against the test product server on localhost:8471."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from demo_tree import build_installation  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

CUSTOMER = "ACME-01"
CENTRE = {"cmdUpd": (450, 96), "cmdOK": (450, 95), "cmdBr": (366, 154), "txtFolder": (182, 154)}
UPGRADE = {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit", "cmdOK", "txtFolder", "cmdBr"}
WRONG_FOLDER = "Thu muc chua dung.\r\nXin vui long cho biet thu muc da cai dat Orvane."
NO_FOLDER = "Xin vui long cho biet thu muc da cai dat Orvane."
NO_CUSTOMER = ("Khong doc duoc ma khach hang cua ban trong thu muc da cai dat Orvane.\r\n"
               "Xin vui long lien he nha cung cap.")
FILE_ERR = "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap."
PATHS = ["/Tarvik/Tarvik.exe", "/Tarvik/Orvane_sys.rar", f"/Tarvik/{CUSTOMER}/Orvane.rar"]


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class UpgradeEndToEnd(ProgramCase):
    centre = CENTRE
    customer = CUSTOMER

    def setUp(self):
        super().setUp()
        base = Path(tempfile.mkdtemp(dir=self.scratch.name))
        # Spaces and Vietnamese letters in the installation's path.
        self.installation = build_installation(base / "Phần mềm" / "Orvane 12", CUSTOMER)
        self.process = self.start(base / "setup")
        self.click("cmdUpd")
        self.wait_for_panel(UPGRADE, "the upgrade panel", timeout=20)

    def folder_text(self):
        return self.text_of("txtFolder")

    def paste_folder(self, folder):
        """Pastes a whole folder into the box, as a user does from Explorer;
        xdotool can't type Vietnamese letters, the clipboard carries them."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=windows_path(folder),
                       text=True, env=self.display.env(), check=True, timeout=10)
        self.focus_box("txtFolder")
        self.keys("ctrl+a", "ctrl+v")

    def no_message(self):
        return self.no_window("THONG BAO")

    def updater_starts(self):
        return starts(self.installation / "Tarvik.starts.log")

    def counts(self):
        counts = self.server.stats()["counts"]
        return [counts.get(path, 0) for path in PATHS]

    # -- cases -----------------------------------------------------------------------------

    def test_the_folder_box_accepts_installations_only(self):
        self.paste_folder(self.installation)
        self.wait_until(lambda: self.folder_text() == windows_path(self.installation), 10,
                        "the pasted folder in the box")
        self.assertTrue(self.no_message(), "an installation is accepted without a word")
        self.save_window("upgrade-vietnamese-folder.png")

        # Selecting everything and deleting it empties the box without a message.
        self.focus_box("txtFolder")
        self.keys("ctrl+a", "BackSpace")
        self.wait_until(lambda: self.folder_text() == "", 10, "the emptied box")
        self.assertTrue(self.no_message())

        # A first typed character is no installation: the message comes at once.
        self.display.xdotool("type", "C")
        self.assertEqual(self.message(), WRONG_FOLDER)
        self.wait_until(lambda: self.folder_text() == "", 10, "the box emptied after the message")

        # Each marker alone is not enough.
        for marker in ("Orvane.dll", "Report/Info.xml"):
            half = Path(tempfile.mkdtemp(dir=self.scratch.name)) / "half install"
            (half / marker).parent.mkdir(parents=True)
            (half / marker).write_text("x")
            self.paste_folder(half)
            self.assertEqual(self.message(), WRONG_FOLDER, marker)
            self.wait_until(lambda: self.folder_text() == "", 10, "the refused folder gone")

    def test_ok_with_an_empty_box_asks_for_the_folder_in_the_dialog(self):
        self.click("cmdOK")
        self.assertEqual(self.message(), NO_FOLDER)
        dialog = self.wine.inspect("Browse for Folder")
        self.assertIn("Select a folder:", [c["text"] for c in dialog["children"]])
        self.wine.run_checked(harness.BUILD / "wininspect.exe", "cancel", "Browse for Folder")
        harness.wait_for(lambda: self.no_window("Browse for Folder"), 15, "the dialog to close")
        self.assertEqual(self.folder_text(), "")
        self.assertTrue(self.no_message())
        self.assertEqual(self.counts(), [0, 0, 0], "nothing is fetched")

        # A double-click on the box opens the same dialog; its cancel empties the box.
        self.paste_folder(self.installation)
        harness.wait_for(lambda: self.folder_text() != "", 10, "the folder in the box")
        x, y = CENTRE["txtFolder"]
        self.display.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y)
        self.display.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        self.display.find_window("Browse for Folder")
        self.wine.run_checked(harness.BUILD / "wininspect.exe", "cancel", "Browse for Folder")
        harness.wait_for(lambda: self.folder_text() == "", 15, "the box emptied by the cancel")

    def test_a_successful_upgrade_hands_over_to_the_updater_and_ends(self):
        temp = self.installation / "OrvaneTarvikTemp"
        temp.mkdir()
        (temp / "Orvane.rar").write_bytes(b"an older, longer package " * 4000)
        (self.installation / "Tarvik.exe").write_bytes(b"an older updater")
        self.paste_folder(self.installation)
        harness.wait_for(lambda: self.folder_text() != "", 10, "the folder in the box")
        self.click("cmdOK")

        starts = harness.wait_for(self.updater_starts, 60, "the updater to start")
        harness.wait_for(lambda: self.process.poll() is not None, 20, "the setup to end")
        self.assertEqual(len(starts), 1)
        self.assertEqual(starts[0]["arguments"], 0)
        self.assertEqual(starts[0]["path"].lower(),
                         windows_path(self.installation / "Tarvik.exe").lower())
        self.assertEqual(sorted(p["name"] for p in starts[0]["packages"]),
                         ["Orvane.rar", "Orvane_sys.rar"])
        for served, local in [("Tarvik/Tarvik.exe", "Tarvik.exe"),
                              ("Tarvik/Orvane_sys.rar", "OrvaneTarvikTemp/Orvane_sys.rar"),
                              (f"Tarvik/{CUSTOMER}/Orvane.rar", "OrvaneTarvikTemp/Orvane.rar")]:
            self.assertEqual((self.installation / local).read_bytes(),
                             (self.tree / served).read_bytes(), local)
        self.assertEqual(self.counts(), [1, 1, 1])

    def test_failed_steps(self):
        self.paste_folder(self.installation)
        harness.wait_for(lambda: self.folder_text() != "", 10, "the folder in the box")

        # A: the updater is missing on the server.
        self.server.set_mode(PATHS[0], "status", status=404)
        self.click("cmdOK")
        self.assertEqual(self.message(), FILE_ERR)
        self.assertEqual(self.counts(), [1, 0, 0])
        self.assertEqual(self.panel(), UPGRADE)

        # C: the customer's package is missing; the updater isn't started.
        self.server.reset()
        self.server.set_mode(PATHS[2], "status", status=404)
        self.click("cmdOK")
        self.assertEqual(self.message(), FILE_ERR)
        self.assertEqual(self.counts(), [1, 1, 1])
        self.assertEqual(self.updater_starts(), [])
        self.assertEqual(self.panel(), UPGRADE, "the panel stays for another try")

        # B: a missing system package shows nothing and the updater still starts.
        self.server.reset()
        self.server.set_mode(PATHS[1], "status", status=404)
        self.click("cmdOK")
        harness.wait_for(self.updater_starts, 60, "the updater to start")
        self.assertTrue(self.no_message())
        self.assertEqual(self.counts(), [1, 1, 1])

    def test_without_a_safe_customer_name_nothing_is_fetched(self):
        info = self.installation / "Report" / "Info.xml"
        self.paste_folder(self.installation)
        harness.wait_for(lambda: self.folder_text() != "", 10, "the folder in the box")
        for content in ["<Info><Customer>../x</Customer></Info>",
                        "<Info><Customer>  </Customer></Info>",
                        "<Info><Version>12</Version></Info>"]:
            with self.subTest(content=content):
                info.write_text(content, encoding="utf-8")
                self.click("cmdOK")
                self.assertEqual(self.message(), NO_CUSTOMER)
                self.assertEqual(self.counts(), [0, 0, 0])
                self.assertFalse((self.installation / "OrvaneTarvikTemp").exists())


if __name__ == "__main__":
    unittest.main()
