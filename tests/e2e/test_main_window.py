"""The real OrvaneSetup.exe under Wine: the skinned window appears, centred and
rounded, with the home panel's child windows in place; each panel shows its
own background and controls. Screenshots land in build/windows/screenshots."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402

TITLE = "Orvane Tools"
WIDTH, HEIGHT = 528, 255
BACKDROP = (0x3A, 0x6E, 0xA5)  # the root window colour the harness paints

# Child windows and where they stand (left, top, width, height).
PLACES = {
    "cmdBr": (349, 137, 34, 34), "cmdHelp": (392, 111, 116, 30), "txtPort": (109, 134, 237, 24),
    "txtIP": (109, 102, 237, 24), "txtFolder": (20, 142, 325, 24), "cmdProxy": (392, 145, 116, 30),
    "cmdExit": (392, 177, 116, 30), "cmdOK": (392, 80, 116, 30), "cmdUpd": (392, 81, 116, 30),
    "cmdStop": (392, 48, 116, 30), "cmdOrvane": (392, 48, 116, 30),
}
ALWAYS = {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit"}
SHOWN = {
    "home": ALWAYS | {"cmdUpd"},
    "install": ALWAYS | {"cmdUpd", "cmdStop"},
    "upgrade": ALWAYS | {"cmdOK", "txtFolder", "cmdBr"},
    "proxy": ALWAYS | {"cmdUpd", "txtIP", "txtPort"},
    "help": ALWAYS | {"cmdUpd"},
}
BACKGROUND = {"home": "bg", "install": "bg1", "upgrade": "bg2", "proxy": "bg3", "help": "bg5"}
RESOURCES = harness.ROOT / "src" / "resources"


def visible_children(inspection):
    return {child["name"] for child in inspection["children"] if child["visible"]}


def closest_background(window_image):
    """Which panel picture the window shows, judged on two strips of the
    panel's left half that no child window covers: the top of the panel and
    its footer band (where the home and install pictures differ)."""
    strips = [(12, 44, 340, 100), (30, 212, 370, 240)]  # window coordinates
    distances = {}
    for name in BACKGROUND.values():
        left = 9 if name == "bg2" else 8
        picture = Image.open(RESOURCES / f"{name}.jpg").convert("RGB")
        distance = 0.0
        for box in strips:
            expected = picture.crop((box[0] - left, box[1] - 40, box[2] - left, box[3] - 40))
            shown = window_image.crop(box)
            distance += sum(ImageStat.Stat(ImageChops.difference(shown, expected)).mean)
        distances[name] = distance
    best = min(distances, key=distances.get)
    return best, distances


class RealProgram(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = harness.wine_session()
        cls.display, cls.wine = cls.session.__enter__()
        cls.folder = tempfile.TemporaryDirectory()
        program = harness.copy_program(cls.folder.name)
        cls.process = cls.wine.start(program, cwd=cls.folder.name, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        cls.window = cls.display.find_window(TITLE)

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)
        cls.process.wait(timeout=30)
        cls.folder.cleanup()

    def window_image(self, name=None):
        x, y, _, _ = self.display.geometry(self.window)
        image = self.display.settled_screenshot().crop((x, y, x + WIDTH, y + HEIGHT))
        if name:
            harness.SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            image.save(harness.SCREENSHOTS / f"panel-{name}.png")
        return image

    def test_1_window_is_centred_borderless_and_rounded(self):
        x, y, width, height = self.display.geometry(self.window)
        self.assertEqual((width, height), (WIDTH, HEIGHT))
        self.assertEqual((x, y), ((1024 - WIDTH) // 2, (768 - HEIGHT) // 2))

        screen = self.display.settled_screenshot()
        # Outside the rounded corners the backdrop shows through ...
        for cx, cy in [(0, 0), (WIDTH - 1, 0), (0, HEIGHT - 1), (WIDTH - 1, HEIGHT - 1)]:
            self.assertEqual(screen.getpixel((x + cx, y + cy)), BACKDROP, (cx, cy))
        # ... while the title bar and the frame are the window's own.
        for cx, cy in [(12, 12), (WIDTH // 2, 2), (3, HEIGHT // 2), (WIDTH // 2, HEIGHT - 3)]:
            self.assertNotEqual(screen.getpixel((x + cx, y + cy)), BACKDROP, (cx, cy))

        inspection = self.wine.inspect(TITLE)
        self.assertFalse(inspection["topmost"])
        self.assertFalse(inspection["regionCornerInside"])
        self.assertTrue(inspection["regionInnerInside"])

    def test_2_home_panel_child_windows_stand_at_their_places(self):
        inspection = self.wine.inspect(TITLE)
        self.assertEqual(inspection["caption"], TITLE)
        self.assertEqual(visible_children(inspection), SHOWN["home"])
        for child in inspection["children"]:
            self.assertEqual(tuple(child["rect"]), PLACES[child["name"]], child["name"])
            if child["class"] == "Edit":
                self.assertEqual(child["text"], "", "text boxes start empty")
        best, distances = closest_background(self.window_image("home"))
        self.assertEqual(best, "bg", distances)

    def test_3_panel_buttons_switch_panels(self):
        x, y, _, _ = self.display.geometry(self.window)

        def click(name):
            left, top, width, height = PLACES[name]
            self.display.click(x + left + width // 2, y + top + height // 2)

        for button, panel in [("cmdUpd", "upgrade"), ("cmdProxy", "proxy"), ("cmdHelp", "help")]:
            click(button)
            inspection = harness.wait_for(
                lambda: (lambda i: i if visible_children(i) == SHOWN[panel] else None)(
                    self.wine.inspect(TITLE)),
                10, f"the {panel} panel")
            if panel == "proxy":
                self.assertEqual(inspection["focus"], "txtIP")
            best, distances = closest_background(self.window_image(f"{panel}-by-click"))
            self.assertEqual(best, BACKGROUND[panel], distances)


class PanelTour(unittest.TestCase):
    """Every panel, the install panel included, on the real window."""

    def test_each_panel_shows_its_background_and_controls(self):
        with harness.wine_session() as (display, wine):
            tour = wine.start(harness.BUILD / "panel_tour.exe", stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            try:
                window = display.find_window(TITLE)
                for panel, value in [("home", "-"), ("install", "InsTrue"), ("upgrade", "Upgrade"),
                                     ("proxy", "Proxy"), ("help", "Help")]:
                    tour.stdin.write(value + "\n")
                    tour.stdin.flush()
                    self.assertEqual(tour.stdout.readline().strip(), f"shown {value}")
                    inspection = wine.inspect(TITLE)
                    self.assertEqual(visible_children(inspection), SHOWN[panel], panel)
                    x, y, _, _ = display.geometry(window)
                    image = display.settled_screenshot().crop((x, y, x + WIDTH, y + HEIGHT))
                    harness.SCREENSHOTS.mkdir(parents=True, exist_ok=True)
                    image.save(harness.SCREENSHOTS / f"panel-{panel}.png")
                    best, distances = closest_background(image)
                    self.assertEqual(best, BACKGROUND[panel], distances)
            finally:
                tour.stdin.close()
                try:
                    tour.wait(timeout=15)
                except subprocess.TimeoutExpired:
                    tour.kill()
                    tour.wait()
                tour.stdout.close()


if __name__ == "__main__":
    unittest.main()
