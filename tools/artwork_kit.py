"""The palette, window geometry, scales, text layout and icon drawing that the
OrvaneSetup artwork is made of; tools/make_artwork.py composes the pictures."""

import math
import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.join(os.path.dirname(HERE), "src", "resources")
FONT_DIR = "/usr/share/fonts/truetype/liberation"

# ---------------------------------------------------------------- palette
NAVY_TOP = (36, 80, 127)      # title bar, top row
NAVY = (27, 58, 92)           # title bar bottom row and the whole frame
OUTLINE = (12, 27, 45)        # outermost window edge
ACCENT = (41, 108, 181)
ACCENT_LIGHT = (62, 135, 210)
ACCENT_DARK = (24, 75, 134)
ACCENT_TINT = (235, 242, 250)
ACCENT_TINT_EDGE = (196, 214, 236)
TEXT = (51, 58, 68)
MUTED = (104, 113, 125)
SURFACE = (207, 207, 207)     # the window background colour; must match exactly
CARD = (255, 255, 255)
CARD_EDGE = (168, 175, 185)
RULE = (226, 231, 237)
FOOTER_TOP = (240, 242, 245)
FOOTER_BOTTOM = (229, 232, 237)
FOOTER_EDGE = (176, 182, 191)
FIELD_EDGE = (150, 162, 177)
REQUIRED = (192, 41, 41)
STOP_RED = (204, 43, 43)
STOP_RED_DARK = (150, 24, 24)
FACE_TOP = (255, 255, 255)
FACE_BOTTOM = (224, 230, 238)
FACE_EDGE = (139, 156, 178)
WHITE = (255, 255, 255)

# ---------------------------------------------------------------- window geometry
WIN_W, WIN_H = 528, 255
CORNER_R = 12                 # the window region is a round rect with a 24x24 ellipse
TITLE_H = 30
PIECE_W, PIECE_H = 19, 30
LEFT_SHOWN, RIGHT_SHOWN, BOTTOM_SHOWN = 8, 9, 12   # frame widths left uncovered by the panels
BG_W, BG_H = 511, 203
FOOTER_Y = 168                # footer band of every panel background
# Content card in window x (the same on every panel, though bg2 sits one pixel further right).
CARD_WX0, CARD_WX1 = 12, 387
CARD_Y0, CARD_Y1 = 4, 163
SS = 4                        # supersampling factor for smooth shapes
SCALES = (100, 125, 150, 200)  # each drawn afresh: the program picks the one for the screen


class Scale:
    """Design pixels (the window at 100 %) to the pixels of one scale, to the
    nearest (half up, as the program rounds). At 100 % every value passes
    through untouched, so those pictures stay exactly as they were drawn."""

    def __init__(self, percent):
        self.percent = percent
        self.k = percent / 100

    def __call__(self, v):
        return v if self.percent == 100 else int(math.floor(v * self.k + 0.5))

    @property
    def line(self):
        """The width of a one-pixel line."""
        return self(1)

    @property
    def units(self):
        """Supersampled pixels per design pixel, for smooth()."""
        return SS if self.percent == 100 else SS * self.k

    def span(self, start, length):
        """Pixels that a run of design pixels covers where it is placed: the
        program maps both ends, so neighbours meet whatever the rounding."""
        return self(start + length) - self(start)

    def box(self, x0, y0, x1, y1):
        """An inclusive pixel rectangle, as ImageDraw takes it."""
        return [self(x0), self(y0), self(x1 + 1) - 1, self(y1 + 1) - 1]

    def folder(self):
        return OUT_DIR if self.percent == 100 else os.path.join(OUT_DIR, str(self.percent))


# ---------------------------------------------------------------- helpers
def font(size, bold=False):
    # BASIC layout keeps glyph placement independent of whether libraqm is present.
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size,
                              layout_engine=ImageFont.Layout.BASIC)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vgradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=lerp(top, bottom, y / max(1, h - 1)))
    return img


def smooth(size, paint, units=SS):
    """Paints on an SS-times larger transparent layer and box-filters it down,
    so curves and diagonals get clean anti-aliased edges; paint gets the
    layer's pixels per design pixel (SS times the scale)."""
    big = Image.new("RGBA", (size[0] * SS, size[1] * SS), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), units)
    return big.resize(size, Image.BOX)


def cap_height(f):
    return f.getbbox("H", anchor="ls")[3] - f.getbbox("H", anchor="ls")[1]


def baseline_centred(f, y_top, height):
    """Baseline that centres capitals optically in a box (what the eye aligns to)."""
    return int(round(y_top + height / 2 + cap_height(f) / 2))


def draw_runs(d, x, baseline, runs):
    """Draws (text, font, colour) runs one after another on a baseline; returns end x."""
    for text, f, fill in runs:
        d.text((x, baseline), text, font=f, fill=fill, anchor="ls")
        x += f.getlength(text)
    return x


def wrap_runs(runs, width):
    """Greedy word wrap over styled runs; returns lines as lists of runs."""
    words = []
    for text, f, fill in runs:
        for w in text.split(" "):
            if w:
                words.append((w, f, fill))
    lines, cur, x = [], [], 0.0
    for w, f, fill in words:
        gap = f.getlength(" ") if cur else 0.0
        if cur and x + gap + f.getlength(w) > width:
            lines.append(cur)
            cur, x, gap = [], 0.0, 0.0
        if cur and cur[-1][1] is f and cur[-1][2] == fill:
            cur[-1] = (cur[-1][0] + " " + w, f, fill)
        else:
            cur.append(((" " if gap else "") + w, f, fill))
        x += gap + f.getlength(w)
    if cur:
        lines.append(cur)
    return lines


def paragraph(d, x, baseline, width, runs, leading):
    """Draws wrapped runs; returns the baseline after the last line."""
    for line in wrap_runs(runs, width):
        draw_runs(d, x, baseline, line)
        baseline += leading
    return baseline


def paste_rgba(dst, src, xy):
    dst.paste(src, xy, src)


# ---------------------------------------------------------------- icons (16-unit grid)
def icon(n, paint):
    u = n * SS / 16.0

    def p(d, _s):
        paint(d, lambda *v: tuple(c * u for c in v), u)
    return smooth((n, n), p)


def icon_check(n, colour=ACCENT):
    def paint(d, P, u):
        pts = [P(2.6, 8.6), P(6.4, 12.3), P(13.6, 4.2)]
        w = 2.6 * u
        d.line(pts, fill=colour, width=int(w), joint="curve")
        for x, y in (pts[0], pts[2]):
            d.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=colour)
    return icon(n, paint)


def octagon(cx, cy, r):
    return [(cx + r * math.cos(math.radians(22.5 + 45 * k)),
             cy + r * math.sin(math.radians(22.5 + 45 * k))) for k in range(8)]


def icon_stop(n):
    def paint(d, P, u):
        d.polygon(octagon(8 * u, 8 * u, 7.9 * u), fill=STOP_RED_DARK)
        d.polygon(octagon(8 * u, 8 * u, 7.1 * u), fill=WHITE)
        d.polygon(octagon(8 * u, 8 * u, 6.3 * u), fill=STOP_RED)
        d.rounded_rectangle([P(4.0, 6.8), P(12.0, 9.2)], radius=0.5 * u, fill=WHITE)
    return icon(n, paint)


def icon_circle_mark(n, mark):
    """Blue disc with a white '?' or 'i'."""
    def paint(d, P, u):
        d.ellipse([P(0.6, 0.6), P(15.4, 15.4)], fill=ACCENT)
        if mark == "i":
            d.ellipse([P(6.9, 3.2), P(9.1, 5.4)], fill=WHITE)
            d.rounded_rectangle([P(6.95, 6.7), P(9.05, 12.8)], radius=0.6 * u, fill=WHITE)
        else:
            f = ImageFont.truetype(os.path.join(FONT_DIR, "LiberationSans-Bold.ttf"),
                                   int(12.5 * u), layout_engine=ImageFont.Layout.BASIC)
            d.text(P(8.1, 8.3), "?", font=f, fill=WHITE, anchor="mm")
    return icon(n, paint)


def icon_network(n):
    def paint(d, P, u):
        w = max(1, int(1.3 * u))
        d.line([P(8, 6), P(8, 8.6)], fill=ACCENT_DARK, width=w)
        d.line([P(3.8, 8.6), P(12.2, 8.6)], fill=ACCENT_DARK, width=w)
        d.line([P(3.8, 8.0), P(3.8, 10.8)], fill=ACCENT_DARK, width=w)
        d.line([P(12.2, 8.0), P(12.2, 10.8)], fill=ACCENT_DARK, width=w)
        for box in ((P(4.6, 1.2), P(11.4, 6.4)), (P(0.6, 10.2), P(7.0, 14.8)),
                    (P(9.0, 10.2), P(15.4, 14.8))):
            d.rounded_rectangle(box, radius=0.9 * u, fill=ACCENT)
        for box in ((P(5.9, 2.4), P(10.1, 4.6)), (P(1.9, 11.4), P(5.7, 13.1)),
                    (P(10.3, 11.4), P(14.1, 13.1))):
            d.rectangle(box, fill=ACCENT_TINT)
    return icon(n, paint)


def icon_exit(n):
    def paint(d, P, u):
        # an open door frame with an arrow leaving through the gap
        w = int(1.9 * u)
        d.line([P(9.4, 2.0), P(2.0, 2.0), P(2.0, 14.0), P(9.4, 14.0)], fill=NAVY, width=w,
               joint="curve")
        d.line([P(9.4, 2.0), P(9.4, 4.6)], fill=NAVY, width=w)
        d.line([P(9.4, 11.4), P(9.4, 14.0)], fill=NAVY, width=w)
        d.line([P(5.6, 8), P(11.6, 8)], fill=ACCENT, width=int(2.4 * u))
        d.polygon([P(10.4, 3.8), P(15.4, 8), P(10.4, 12.2)], fill=ACCENT)
    return icon(n, paint)


def icon_up(n):
    def paint(d, P, u):
        d.polygon([P(8, 1.0), P(14.6, 7.8), P(10.4, 7.8), P(10.4, 12.0),
                   P(5.6, 12.0), P(5.6, 7.8), P(1.4, 7.8)], fill=ACCENT)
        d.rounded_rectangle([P(2.4, 13.3), P(13.6, 15.2)], radius=0.6 * u, fill=ACCENT_DARK)
    return icon(n, paint)


def icon_support(n):
    def paint(d, P, u):
        # headset: band, ear cups and a microphone boom
        d.arc([P(2.2, 1.2), P(13.8, 13.6)], 180, 360, fill=ACCENT_DARK, width=int(1.6 * u))
        d.line([P(2.2, 7.2), P(2.2, 8.4)], fill=ACCENT_DARK, width=int(1.6 * u))
        d.line([P(13.8, 7.2), P(13.8, 8.4)], fill=ACCENT_DARK, width=int(1.6 * u))
        d.rounded_rectangle([P(0.8, 7.4), P(4.6, 12.6)], radius=1.2 * u, fill=ACCENT)
        d.rounded_rectangle([P(11.4, 7.4), P(15.2, 12.6)], radius=1.2 * u, fill=ACCENT)
        d.arc([P(4.0, 7.0), P(13.6, 15.0)], 20, 110, fill=ACCENT_DARK, width=int(1.2 * u))
        d.ellipse([P(5.4, 13.4), P(8.0, 15.6)], fill=ACCENT_DARK)
    return icon(n, paint)


def brand_mark(n):
    """Rounded square in the brand blue with a white O: the product's mark."""
    grad = vgradient((n, n), ACCENT_LIGHT, ACCENT_DARK).convert("RGBA")
    r = n * 0.22 * SS

    def shape(d, s):
        d.rounded_rectangle([0, 0, n * s - 1, n * s - 1], radius=r, fill=(255, 255, 255, 255))
    mask = smooth((n, n), shape).getchannel("A")
    out = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    out.paste(grad, (0, 0), mask)

    def ring(d, s):
        c, ro = n * s / 2.0, n * s * 0.31
        ri = ro - max(2 * s, n * s * 0.115)
        d.ellipse([c - ro, c - ro, c + ro, c + ro], fill=WHITE)
        d.ellipse([c - ri, c - ri, c + ri, c + ri], fill=(0, 0, 0, 0))
    paste_rgba(out, smooth((n, n), ring), (0, 0))
    return out


# ---------------------------------------------------------------- window frame
