"""What a person does during and around a download, on a fresh program each."""

import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from demo_tree import build_installation  # noqa: E402
from download_probe import windows_path  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

INSTALLER = "/install/install.exe"
HOME = {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdExit"}
INSTALLING = HOME | {"cmdStop"}
PROXY = HOME | {"txtIP", "txtPort"}
UPGRADE = {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit", "cmdOK", "txtFolder", "cmdBr"}


class WhatPeopleDo(ProgramCase):
    centre = {"cmdOrvane": (450, 63), "cmdStop": (450, 63), "cmdUpd": (450, 96),
              "cmdOK": (450, 95), "cmdHelp": (450, 126), "cmdProxy": (450, 160),
              "txtIP": (227, 114), "txtFolder": (182, 154)}

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="app ", dir=self.scratch.name))

    def installer_starts(self):
        return starts(self.folder / "install.starts.log")

    def slow(self, path=INSTALLER):
        self.server.set_mode(path, "drip", chunk=4096, delay=0.2)

    def left_behind(self):
        return sorted(p.name for p in self.folder.iterdir() if p.name != "OrvaneSetup.exe")

    def test_closing_the_window_mid_install_ends_the_program_and_starts_nothing(self):
        self.slow()
        process = self.start(self.folder)
        self.click("cmdOrvane")
        self.wait_for_panel(INSTALLING, "the install panel")
        self.keys("alt+F4")
        harness.wait_for(lambda: process.poll() is not None, 10, "the program to end")
        self.assertEqual(self.installer_starts(), [])
        self.assertEqual(self.left_behind(), [], "no partial file stays")

    def test_a_double_click_on_install_replaces_the_installer_once_and_the_window_answers(self):
        self.slow()
        (self.folder / "install.exe").write_bytes(b"an older, longer installer " * 20000)
        self.start(self.folder)
        x, y = self.centre["cmdOrvane"]
        # A person's double-click: two presses of 80 ms, 100 ms apart.
        self.display.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y, "sleep", "0.1",
                             "mousedown", 1, "sleep", "0.08", "mouseup", 1, "sleep", "0.1",
                             "mousedown", 1, "sleep", "0.08", "mouseup", 1)
        self.wait_until(self.installer_starts, 60, "the installer to start")
        self.close_window("install (stand-in)")
        self.click("cmdProxy")
        self.wait_for_panel(PROXY, "the proxy panel: the window answers")
        self.assertEqual([(s["path"].lower().rsplit("\\", 1)[-1], s["arguments"])
                          for s in self.installer_starts()], [("install.exe", 0)])
        self.assertEqual(self.server.stats()["counts"][INSTALLER], 1)
        self.assertEqual((self.folder / "install.exe").read_bytes(),
                         (self.tree / "install" / "install.exe").read_bytes())
        self.assertEqual(self.left_behind(), ["install.exe", "install.starts.log"])

    def test_keys_typed_after_a_panel_switch_never_reach_the_hidden_box(self):
        self.start(self.folder)
        self.click("cmdProxy")
        self.wait_for_panel(PROXY, "the proxy panel")
        self.focus_box("txtIP")
        self.keys("1", "0")
        self.wait_until(lambda: self.text_of("txtIP") == "10", 10, "the typed address")
        self.click("cmdHelp")
        self.wait_for_panel(HOME, "the help panel")
        self.keys("9", "9")
        self.click("cmdUpd")
        self.wait_for_panel(UPGRADE, "the upgrade panel")
        self.focus_box("txtFolder")
        self.click("cmdHelp")
        self.wait_for_panel(HOME, "the help panel")
        self.keys("x")
        # A folder check raised by the key would hold the window in its message.
        self.click("cmdProxy")
        self.wait_for_panel(PROXY, "the proxy panel again")
        self.assertEqual((self.text_of("txtIP"), self.text_of("txtFolder")), ("10", ""))

    def test_typing_into_the_folder_box_mid_upgrade_neither_moves_nor_stops_it(self):
        installation = build_installation(self.folder / "Orvane", self.customer)
        self.slow("/Tarvik/Tarvik.exe")
        process = self.start(self.folder)
        self.click("cmdUpd")
        self.wait_for_panel(UPGRADE, "the upgrade panel")
        self.paste_into("txtFolder", windows_path(installation))
        self.click("cmdOK")
        self.focus_box("txtFolder")
        self.keys("End", "a", "b", "BackSpace", "BackSpace", "BackSpace")
        self.wait_until(lambda: starts(installation / "Tarvik.starts.log"), 60, "the updater")
        harness.wait_for(lambda: process.poll() is not None, 20, "the setup to end")
        self.assertEqual(sorted(p.name for p in (installation / "OrvaneTarvikTemp").iterdir()),
                         ["Orvane.rar", "Orvane_sys.rar"])
        self.assertEqual(self.left_behind(), ["Orvane"])

    def test_a_folder_in_the_way_of_the_installer_is_a_disk_error_not_the_internet(self):
        (self.folder / "install.exe").mkdir()
        self.start(self.folder)
        self.click("cmdOrvane")
        self.assertIn("Khong ghi duoc tep", self.message())  # the exact words: unit tests
        self.wait_for_panel(HOME, "the home panel")
        self.assertEqual(self.left_behind(), ["install.exe"])
        self.assertEqual(self.installer_starts(), [])

    def test_stop_mid_install_leaves_no_partial_file_so_the_fresh_copy_installs(self):
        self.slow()
        first = self.start(self.folder)
        self.click("cmdOrvane")
        clicked = time.monotonic()
        self.wait_for_panel(INSTALLING, "the install panel")
        self.wait_until(lambda: self.left_behind() == ["install.exe.download"], 10, "a partial")
        # Within the double-click time, Stop's click is the second half of Install's.
        time.sleep(max(0.0, clicked + 1 - time.monotonic()))
        pid = self.pid()
        self.click("cmdStop")
        harness.wait_for(lambda: first.poll() is not None, 10, "the stopped copy to end")
        self.assertEqual(self.left_behind(), [])
        self.fresh_copy(pid)
        self.server.reset()
        self.click("cmdOrvane")
        harness.wait_for(self.installer_starts, 30, "the fresh copy's installer")
        self.assertEqual(self.left_behind(), ["install.exe", "install.starts.log"])


if __name__ == "__main__":
    unittest.main()
