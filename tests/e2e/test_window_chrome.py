"""The window's own chrome on the real OrvaneSetup.exe under Wine, driven with
xdotool: the title pieces move the window, a double-click on the title or a
click on the maximise button switches it between normal and maximised, and
the grips size it at the release, keeping 57 x 90 pixels.

What Wine 8 does decides where each case runs. Without a window manager Wine
runs the caption move itself and the double-click that follows a press on
the title still arrives, but a maximise only moves the borderless window to
0,0 without sizing it. With openbox a maximise fills the screen, but openbox
takes the pointer at the press that starts a caption move, so a double-click
on the title never arrives. So the double-click and the maximised state are
tested without a window manager, the maximised size and layout with openbox,
through the maximise button. Screenshots land in build/windows/screenshots."""

import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "testbed"))
import harness  # noqa: E402

START_TITLE = "Orvane Tools"
# Every layout after start-up copies the title label's text into the caption.
LAID_OUT_TITLE = "Install && Upgrade Orvane 12 .0"
WIDTH, HEIGHT = 528, 255
START = ((1024 - WIDTH) // 2, (768 - HEIGHT) // 2)
SCREEN = (1024, 768)
BUTTON = (118, 30)  # the middle of imgTitleMaxRestore, 112 to 124 across, 24 to 36 down
# The rounded outline leaves out the last column and row, so the frame's
# light rim, one pixel in, is the window's visible edge; the title bar's
# right end has a rim of its own.
RIM = (63, 90, 118)
TITLE_RIM = (67, 99, 132)
BACKDROP = (0x3A, 0x6E, 0xA5)  # the root window colour the harness paints
FORM = (207, 207, 207)  # the window's own background
PANEL = (8, 40, 520, 243)  # left, top, right, bottom of the panel backgrounds
RESOURCES = harness.ROOT / "src" / "resources"

# Wine needs a gap between press, moves and release or a drag does nothing;
# the two presses of a double-click must still fall within its 500 ms, and
# separate gestures must not, or they would make one double-click.
PAUSE = 0.3
DOUBLE_CLICK_PAUSE = 0.15
DOUBLE_CLICK_TIME = 0.5


def close(colour, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def frame_misplaced(image, width, height):
    """Where the frame's rim is missing from the edges of a window image of
    `width` x `height`; empty when the frame follows the size. The panel's
    background lies in front of the frame and never moves, so in a small
    window it hides part of the rim: those points are not looked at."""
    def seen(x, y):
        left, top, right, bottom = PANEL
        return not (left <= x < right and top <= y < bottom)

    misses = []
    for y in range(31, height - 31, 7):
        if seen(width - 2, y) and not close(image.getpixel((width - 2, y)), RIM):
            misses.append(("right", width - 2, y))
    for x in range(31, width - 31, 7):
        if seen(x, height - 2) and not close(image.getpixel((x, height - 2)), RIM):
            misses.append(("bottom", x, height - 2))
    if not close(image.getpixel((width - 2, 15)), TITLE_RIM):
        misses.append(("title", width - 2, 15))
    # The outline ends there: the backdrop shows in the last column and row.
    for point in [(width - 1, height // 2), (width // 2, height - 1)]:
        if not close(image.getpixel(point), BACKDROP):
            misses.append(("outline", *point))
    return misses


def glyph_shown(image):
    """Which glyph the maximise/restore button shows in a window image."""
    shown = image.crop((112, 24, 125, 37))
    for name in ("restore", "maximize"):
        glyph = Image.open(RESOURCES / f"glyph_{name}.bmp").convert("RGB")
        if sum(ImageStat.Stat(ImageChops.difference(shown, glyph)).mean) < 10:
            return name
    return None


class Pointer:
    """The mouse on the test's display, with the pauses Wine needs."""

    def __init__(self, display):
        self.display = display
        self.last_release = 0.0

    def _apart(self):
        # A press within the double-click time of the last one at the same
        # place would be taken as a double-click.
        wait = self.last_release + DOUBLE_CLICK_TIME + 0.1 - time.monotonic()
        if wait > 0:
            time.sleep(wait)

    def _go(self, x, y):
        # --sync waits for the pointer to move, so it must not be there already.
        if self.display.xdotool("getmouselocation").split()[:2] != [f"x:{x}", f"y:{y}"]:
            self.display.xdotool("mousemove", "--sync", x, y)
        time.sleep(PAUSE)

    def _release(self, button):
        self.display.xdotool("mouseup", button)
        self.last_release = time.monotonic()
        time.sleep(PAUSE)

    def drag(self, start, travel, button=1, before_release=None):
        """Press at start, move by travel in three steps, release."""
        self._apart()
        self._go(*start)
        self.display.xdotool("mousedown", button)
        time.sleep(PAUSE)
        for step in (1, 2, 3):
            self._go(start[0] + travel[0] * step // 3, start[1] + travel[1] * step // 3)
        if before_release:
            before_release()
        self._release(button)

    def move_to(self, point):
        self._go(*point)

    def click(self, point):
        self._apart()
        self._go(*point)
        self.display.xdotool("mousedown", 1)
        time.sleep(PAUSE)
        self._release(1)

    def double_click(self, point, travel_before_last_release=None):
        """Two left clicks at point; the pointer may travel before the last release."""
        self._apart()
        self._go(*point)
        for press in (1, 2):
            self.display.xdotool("mousedown", 1)
            time.sleep(DOUBLE_CLICK_PAUSE)
            if press == 2 and travel_before_last_release:
                dx, dy = travel_before_last_release
                self._go(point[0] + dx, point[1] + dy)
            self.display.xdotool("mouseup", 1)
            time.sleep(DOUBLE_CLICK_PAUSE)
        self.last_release = time.monotonic()


class ChromeTestCase(unittest.TestCase):
    """A fresh OrvaneSetup.exe for every test, on a display of the class."""

    window_manager = False

    @classmethod
    def setUpClass(cls):
        cls.session = harness.wine_session()
        cls.display, cls.wine = cls.session.__enter__()
        cls.manager = None
        if cls.window_manager:
            cls.manager = subprocess.Popen(["openbox", "--sm-disable"], env=cls.display.env(),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            harness.wait_for(cls._manager_running, 15, "openbox to manage the display")

    @classmethod
    def _manager_running(cls):
        found = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                               env=cls.display.env(), capture_output=True, text=True)
        return "window id" in found.stdout

    @classmethod
    def tearDownClass(cls):
        try:
            if cls.manager:
                cls.manager.terminate()
                cls.manager.wait(timeout=15)
        finally:
            cls.session.__exit__(None, None, None)

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        program = harness.copy_program(self.folder.name)
        self.process = self.wine.start(program, cwd=self.folder.name, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        self.window = self.display.find_window(START_TITLE)
        self.wait_for_place((*START, WIDTH, HEIGHT), "the window to appear centred")
        self.pointer = Pointer(self.display)

    def tearDown(self):
        self.wine.kill_all()
        self.process.wait(timeout=30)
        self.folder.cleanup()

    # What the window is and shows.

    def place(self):
        return self.display.geometry(self.window)

    def wait_for_place(self, expected, what, timeout=10):
        try:
            harness.wait_for(lambda: self.place() == tuple(expected), timeout, what)
        except harness.TimeoutError_ as late:
            raise AssertionError(f"{what}: expected {tuple(expected)}, "
                                 f"the window is at {self.place()}") from late

    def assert_stays(self, expected, seconds=1.0):
        """The window keeps its place for a while: nothing follows the pointer."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.assertEqual(self.place(), tuple(expected))
            time.sleep(0.1)

    def inspect(self):
        return self.wine.inspect(self.display.xdotool("getwindowname", self.window))

    def wait_for_zoomed(self, zoomed):
        return harness.wait_for(lambda: (lambda i: i if i["zoomed"] == zoomed else None)(
            self.inspect()), 10, f"the window's maximised state to be {zoomed}")

    def window_image(self, name=None):
        x, y, width, height = self.place()
        image = self.display.settled_screenshot().crop((x, y, x + width, y + height))
        if name:
            harness.SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            image.save(harness.SCREENSHOTS / f"{name}.png")
        return image

    def at(self, point):
        """A window point on the screen."""
        x, y, _, _ = self.place()
        return (x + point[0], y + point[1])


class ChromeWithoutWindowManager(ChromeTestCase):
    def test_each_title_piece_drags_the_window_by_the_drag(self):
        image = self.window_image("chrome-normal")
        self.assertEqual(glyph_shown(image), None, "the button starts without a picture")
        self.assertEqual(frame_misplaced(image, WIDTH, HEIGHT), [])

        x, y = START
        for piece, grab, travel in [("imgTitleMain", (300, 12), (120, 70)),
                                    ("lblTitle", (40, 15), (-60, 40)),
                                    ("imgTitleLeft", (8, 20), (30, -50)),
                                    ("imgTitleRight", (515, 15), (-90, -60))]:
            self.pointer.drag(self.at(grab), travel)
            x, y = x + travel[0], y + travel[1]
            self.wait_for_place((x, y, WIDTH, HEIGHT), f"a drag on {piece}")
        # A move lays nothing out again: the caption is still the first one.
        self.assertEqual(self.display.xdotool("getwindowname", self.window), START_TITLE)

    def test_a_right_or_middle_press_on_the_title_moves_until_that_buttons_release(self):
        x, y = START
        for button, travel in [(3, (100, 60)), (2, (-70, 90))]:
            self.pointer.drag(self.at((300, 12)), travel, button=button)
            x, y = x + travel[0], y + travel[1]
            self.wait_for_place((x, y, WIDTH, HEIGHT), f"a drag with button {button}")
            # The move ended with the release: the window no longer follows.
            self.pointer.move_to(self.at((300 + 150, 12 + 120)))
            self.assert_stays((x, y, WIDTH, HEIGHT))

    def test_a_double_click_on_the_title_maximises_and_a_second_restores(self):
        self.pointer.double_click(self.at((40, 15)))  # lblTitle
        inspection = self.wait_for_zoomed(True)
        self.assertEqual(inspection["caption"], LAID_OUT_TITLE)
        # Without a window manager Wine only moves the window to 0,0.
        self.wait_for_place((0, 0, WIDTH, HEIGHT), "the maximised window at 0,0")
        self.assertEqual(glyph_shown(self.window_image()), "restore")

        # The second press of a double-click raises no press: the pointer
        # moving before the release drags nothing.
        self.pointer.double_click(self.at((300, 12)), travel_before_last_release=(40, 30))
        self.wait_for_zoomed(False)
        self.wait_for_place((*START, WIDTH, HEIGHT), "the restored window at its old place")
        self.assert_stays((*START, WIDTH, HEIGHT))
        image = self.window_image()
        self.assertEqual(glyph_shown(image), "maximize")
        self.assertEqual(frame_misplaced(image, WIDTH, HEIGHT), [])

    def test_the_maximise_button_switches_as_the_title_double_click_does(self):
        self.pointer.click(self.at(BUTTON))
        self.wait_for_zoomed(True)
        self.wait_for_place((0, 0, WIDTH, HEIGHT), "the maximised window at 0,0")
        self.assertEqual(glyph_shown(self.window_image()), "restore")

        self.pointer.click(self.at(BUTTON))
        self.wait_for_zoomed(False)
        self.wait_for_place((*START, WIDTH, HEIGHT), "the restored window")
        self.assertEqual(glyph_shown(self.window_image()), "maximize")

        # A double-click on the button is a click and then a double-click,
        # which the button doesn't take: one switch. The window is moved to
        # 0,0 first, so the maximise leaves the button under the pointer.
        self.pointer.drag(self.at((300, 12)), (-START[0], -START[1]))
        self.wait_for_place((0, 0, WIDTH, HEIGHT), "the window dragged to 0,0")
        self.pointer.double_click(BUTTON)
        self.window_image()  # painting done, so every event has been handled
        self.assertTrue(self.inspect()["zoomed"], "a double-click switched twice")
        self.assertEqual(glyph_shown(self.window_image()), "restore")

    def test_the_bottom_right_grip_sizes_the_window_once_at_the_release(self):
        def unchanged_before_release():
            self.assertEqual(self.place(), (*START, WIDTH, HEIGHT))

        self.pointer.drag(self.at((WIDTH - 8, HEIGHT - 8)), (100, 50),
                          before_release=unchanged_before_release)
        self.wait_for_place((*START, 628, 305), "the window sized by (+100, +50)")
        inspection = self.inspect()
        self.assertEqual(inspection["caption"], LAID_OUT_TITLE)
        self.assertEqual(inspection["region"], [0, 0, 627, 304])
        self.assertFalse(inspection["regionCornerInside"])
        image = self.window_image("chrome-grip-resize")
        self.assertEqual(frame_misplaced(image, 628, 305), [])
        # Where the old edges ran, the form shows.
        for old_edge in [(WIDTH - 2, 150), (WIDTH - 1, 150), (400, HEIGHT - 2), (400, HEIGHT - 1)]:
            self.assertTrue(close(image.getpixel(old_edge), FORM), old_edge)

        # The grip went with the corner: it takes the window back.
        self.pointer.drag(self.at((628 - 8, 305 - 8)), (-100, -50))
        self.wait_for_place((*START, WIDTH, HEIGHT), "the window sized back by the moved grip")
        self.assertEqual(frame_misplaced(self.window_image(), WIDTH, HEIGHT), [])

    def test_grips_dragged_past_the_minimum_end_at_57_by_90(self):
        x, y = START
        # The bottom-right grip up and left: the window keeps its place.
        self.pointer.drag(self.at((WIDTH - 8, HEIGHT - 8)), (-600, -300))
        self.wait_for_place((x, y, 57, 90), "the smallest window")
        self.assertEqual(frame_misplaced(self.window_image(), 57, 90), [])
        # The panel now covers the lower grips; the top-right one, above it,
        # moves the top up and the right edge out.
        self.pointer.drag(self.at((50, 5)), (WIDTH - 57, 90 - HEIGHT))
        y += 90 - HEIGHT
        self.wait_for_place((x, y, WIDTH, HEIGHT), "the window sized back by its top-right grip")

        # The left grip right past the minimum: the left edge follows the
        # cursor, then the width becomes 57, the right edge moving right.
        self.pointer.drag(self.at((2, 120)), (500, 0))
        self.wait_for_place((x + 500, y, 57, HEIGHT), "the left edge moved, then the minimum")

    def test_right_and_middle_button_grip_drags_size_like_a_left_one(self):
        self.pointer.drag(self.at((WIDTH - 8, HEIGHT - 8)), (100, 50), button=3)
        self.wait_for_place((*START, 628, 305), "a right-button grip drag")
        self.pointer.drag(self.at((628 - 8, 305 - 8)), (-100, -50), button=2)
        self.wait_for_place((*START, WIDTH, HEIGHT), "a middle-button grip drag")


class ChromeWithOpenbox(ChromeTestCase):
    window_manager = True

    def test_the_maximise_button_fills_the_screen_and_lays_the_skin_out_for_it(self):
        self.pointer.click(self.at(BUTTON))
        self.wait_for_place((0, 0, *SCREEN), "the window filling the screen")
        inspection = self.wait_for_zoomed(True)
        self.assertEqual(inspection["region"], [0, 0, SCREEN[0] - 1, SCREEN[1] - 1])
        self.assertFalse(inspection["regionCornerInside"])
        image = self.window_image("chrome-maximised")
        self.assertEqual(frame_misplaced(image, *SCREEN), [])
        self.assertEqual(glyph_shown(image), "restore")

        # While maximised the title moves nothing, and the grips, left at
        # their normal places, size nothing.
        self.pointer.drag(self.at((300, 12)), (80, 60))
        self.assert_stays((0, 0, *SCREEN))
        self.pointer.drag(self.at((WIDTH - 6, HEIGHT - 6)), (60, 40))
        self.assert_stays((0, 0, *SCREEN))
        inspection = self.inspect()
        self.assertTrue(inspection["zoomed"])
        self.assertEqual(inspection["region"], [0, 0, SCREEN[0] - 1, SCREEN[1] - 1])

        self.pointer.click(self.at(BUTTON))
        self.wait_for_place((*START, WIDTH, HEIGHT), "the restored window")
        self.wait_for_zoomed(False)
        image = self.window_image()
        self.assertEqual(glyph_shown(image), "maximize")
        self.assertEqual(frame_misplaced(image, WIDTH, HEIGHT), [])

        # The window manager moves the restored window by its title.
        self.pointer.drag(self.at((300, 12)), (100, 80))
        self.wait_for_place((START[0] + 100, START[1] + 80, WIDTH, HEIGHT), "a title drag")


if __name__ == "__main__":
    unittest.main()
