"""The window's own chrome under Wine, driven with xdotool, with a window manager as users have."""

import sys
import tempfile
import time
import unittest
from pathlib import Path

from PIL import Image, ImageChops

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402
from program_case import TITLE, ProgramCase  # noqa: E402

WIDTH, HEIGHT = 528, 255
SCREEN = (1024, 768)
START = ((SCREEN[0] - WIDTH) // 2, (SCREEN[1] - HEIGHT) // 2)
BUTTON = (118, 30)  # the middle of the maximise/restore button
RIM = (63, 90, 118)  # the frame's light rim, one pixel inside the rounded outline
BACKDROP = (0x3A, 0x6E, 0xA5)  # the root window colour the harness paints
README_PICTURE = harness.ROOT / "docs" / "screenshot-home.png"
PAUSE = 0.3  # Wine needs a gap between press, moves and release
DOUBLE_CLICK_TIME = 0.5


def close(colour, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def rim_missing(image, width, height):
    """Points of the right and bottom edges where the frame's rim is not."""
    points = [(width - 2, height // 2 + 60), (width // 2 - 200, height - 2)]
    return [p for p in points if not close(image.getpixel(p), RIM)]


class WindowChrome(ProgramCase):
    window_manager = True

    def setUp(self):
        super().setUp()
        self.start(Path(tempfile.mkdtemp(dir=self.scratch.name)))
        self.wait_for_place((*START, WIDTH, HEIGHT), "the window to appear centred")
        self.last_release = 0.0

    def place(self):
        return self.display.geometry(self.window)

    def wait_for_place(self, expected, what):
        try:
            harness.wait_for(lambda: self.place() == tuple(expected), 10, what)
        except harness.TimeoutError_:
            self.fail(f"{what}: expected {tuple(expected)}, the window is at {self.place()}")

    def at(self, point):
        x, y, _, _ = self.place()
        return (x + point[0], y + point[1])

    # The mouse at a person's speed: separate presses never make a double-click.
    def go(self, x, y):
        # --sync waits for the pointer to move, so it must not be there already.
        if self.display.xdotool("getmouselocation").split()[:2] != [f"x:{x}", f"y:{y}"]:
            self.display.xdotool("mousemove", "--sync", x, y)
        time.sleep(PAUSE)

    def press(self, point, travel=(0, 0)):
        time.sleep(max(0.0, self.last_release + DOUBLE_CLICK_TIME + 0.1 - time.monotonic()))
        self.go(*point)
        self.display.xdotool("mousedown", 1)
        time.sleep(PAUSE)
        for step in (1, 2, 3):
            self.go(point[0] + travel[0] * step // 3, point[1] + travel[1] * step // 3)
        self.display.xdotool("mouseup", 1)
        self.last_release = time.monotonic()
        time.sleep(PAUSE)

    def test_the_window_starts_drawn_from_its_skin_and_the_title_drags_it(self):
        image = self.window_shot()
        for corner in [(0, 0), (WIDTH - 1, 0), (0, HEIGHT - 1), (WIDTH - 1, HEIGHT - 1)]:
            self.assertEqual(image.getpixel(corner), BACKDROP, f"rounded outline at {corner}")
        # As the README shows it; a change of look on purpose replaces it with demo-home.png.
        shown = ImageChops.difference(image, Image.open(README_PICTURE).convert("RGB"))
        changed = sum(1 for level in shown.convert("L").getdata() if level > 40)
        self.assertLess(changed, WIDTH * HEIGHT // 100, f"{changed} pixels differ")

        self.press(self.at((300, 12)), travel=(120, 70))
        self.wait_for_place((START[0] + 120, START[1] + 70, WIDTH, HEIGHT), "a title drag")
        self.assertEqual(self.display.xdotool("getwindowname", self.window), TITLE,
                         "a move lays nothing out again")

    def test_the_maximise_button_fills_the_screen_and_a_second_click_restores(self):
        for zoomed, place, what in [(True, (0, 0, *SCREEN), "the window filling the screen"),
                                    (False, (*START, WIDTH, HEIGHT), "the restored window")]:
            self.press(self.at(BUTTON))
            self.wait_for_place(place, what)
            inspection = self.wine.inspect(self.display.xdotool("getwindowname", self.window))
            self.assertIs(inspection["zoomed"], zoomed)
            self.assertEqual(inspection["region"], [0, 0, place[2] - 1, place[3] - 1])
            self.assertEqual(rim_missing(self.window_shot(), *place[2:]), [])


if __name__ == "__main__":
    unittest.main()
