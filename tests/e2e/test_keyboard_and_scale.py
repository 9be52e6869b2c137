"""Everyone, on every screen: the real program by keyboard alone, its controls named as a screen
reader reads them, and its window drawn at 125, 150 and 200 % as sharp as at 100 %."""

import sys
import tempfile
import unittest
from pathlib import Path

from PIL import Image, ImageChops, ImageFilter, ImageStat

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from program_case import ProgramCase, starts  # noqa: E402

HOME = [("cmdOrvane", "Cai dat Orvane"), ("cmdUpd", "Nang cap Orvane"), ("cmdHelp", "Huong dan"),
        ("cmdProxy", "Thiet lap Proxy"), ("cmdExit", "Thoat")]
SCALES = {120: ((660, 319), "125"), 144: ((792, 383), "150"), 192: ((1056, 510), "200")}


def art(path, width, height):
    return Image.open(harness.ROOT / "src" / "resources" / path).crop((0, 0, width, height))


def softened_difference(a, b):
    """Mean difference per channel (0-255) of both blurred a little, anti-aliasing aside."""
    blur = ImageFilter.GaussianBlur(1.5)
    return sum(ImageStat.Stat(ImageChops.difference(a.filter(blur), b.filter(blur))).mean) / 3


def edge_strength(image):
    return ImageStat.Stat(image.convert("L").filter(ImageFilter.FIND_EDGES)).mean[0]


class KeyboardAndScale(ProgramCase):
    screen = (1280, 800)  # room for the window at 200 %

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="keys ", dir=self.scratch.name))
        harness.SCREENSHOTS.mkdir(parents=True, exist_ok=True)

    def focus_moves(self, key, name):
        self.keys(key)
        self.wait_until(lambda: self.inspection()["focus"] == name, 10, f"{key} to reach {name}")

    def test_each_control_has_its_name_and_the_keyboard_reaches_and_presses_it(self):
        self.server.set_mode("/install/install.exe", "drip", chunk=4096, delay=0.1)
        self.start(self.folder)
        children = self.inspection()["children"]
        self.assertEqual([(c["name"], c["class"], c["text"], c["tabstop"])
                          for c in children if c["name"] in self.panel()],
                         [(name, "Button", words, True) for name, words in HOME])
        # Each box is named by the caption just before it, a static text of no size.
        self.assertEqual([(c["class"], c["text"], c["rect"][2:]) for c, box in zip(
            children, children[1:]) if box["name"] in ("txtIP", "txtPort")],
            [("Static", "Dia chi (*)", [0, 0]), ("Static", "Cong", [0, 0])])
        nowhere = self.window_shot()
        # Round the end and back; the ring alone shows where the keyboard is.
        for name, _ in HOME + HOME[:1]:
            self.focus_moves("Tab", name)
            left, top, right, bottom = ImageChops.difference(self.window_shot(), nowhere).getbbox()
            x, y, width, height = next(c["rect"] for c in children if c["name"] == name)
            self.assertTrue(x <= left and y <= top and right <= x + width and bottom <= y + height)
        for name in ("cmdExit", "cmdProxy", "cmdHelp"):
            self.focus_moves("shift+Tab", name)
        self.keys("space")
        self.wait_until(lambda: softened_difference(self.window_shot().crop((8, 40, 388, 208)),
                                                    art("bg5.jpg", 380, 168)) < 2, 10, "help")
        self.focus_moves("Tab", "cmdProxy")
        self.focus_moves("Return", "txtIP")  # the proxy panel's own choice stands
        for name in ("txtPort", "cmdOrvane"):
            self.focus_moves("Tab", name)
        # Stop covers Install and takes the keyboard; hidden again, it hands it back to Install.
        self.focus_moves("Return", "cmdStop")
        self.wait_until(lambda: starts(self.folder / "install.starts.log"), 60, "the installer")
        self.close_window("install (stand-in)")
        self.wait_until(lambda: self.inspection()["focus"] == "cmdOrvane", 10, "Install focused")

    def screen_at(self, dpi):
        self.wine.run_checked("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                              "/t", "REG_DWORD", "/d", dpi, "/f")
        self.wine.kill_all()  # Wine reads the scale as it starts

    def window_at(self, dpi):
        self.screen_at(dpi)
        self.start(self.folder)
        return self.window_shot()

    def test_at_125_150_and_200_percent_the_window_grows_as_sharp_as_at_100(self):
        self.addCleanup(self.screen_at, 96)
        at_100 = self.window_at(96)
        for dpi, (size, art_percent) in SCALES.items():
            with self.subTest(dpi=dpi):
                shot = self.window_at(dpi)
                shot.save(harness.SCREENSHOTS / f"home-{dpi}dpi.png")
                self.assertLessEqual(max(abs(a - b) for a, b in zip(shot.size, size)), 2)
                self.assertLess(softened_difference(shot.resize(at_100.size, Image.BOX), at_100), 6)
                # The panel is this scale's own picture, at its own pixels, from (8, 40) scaled.
                x, y = 8 * dpi // 96, 40 * dpi // 96
                self.assertLess(softened_difference(shot.crop((x, y, x + 360, y + 160)),
                                                    art(f"{art_percent}/bg.jpg", 360, 160)), 2)
                # Not the 100 % picture stretched: its edges are as crisp as drawn afresh.
                stretched = at_100.resize(shot.size, Image.BILINEAR)
                self.assertGreater(edge_strength(shot), 1.1 * edge_strength(stretched))


if __name__ == "__main__":
    unittest.main()
