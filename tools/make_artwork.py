#!/usr/bin/python3
# Draws every picture of the OrvaneSetup window (skin pieces, panel backgrounds,
# button faces, glyphs, hand cursor, window icon) into src/resources/, and the
# pictures again for each larger scale into src/resources/<percent>/: drawn at
# that scale (fonts, lines and icons at its size), never enlarged from 100 %.
"""Run with Debian's python3 + python3-pil; output is byte-for-byte reproducible."""

import os

from PIL import Image, ImageDraw

from artwork_files import make_cursor, make_icon, verify
from artwork_kit import *  # noqa: F401,F403  (palette, geometry, scales, drawing)

# Where the pieces anchored to the right and bottom edges lie in the window
# as it opens: they are drawn for the pixels that place covers.
RIGHT_X, BOTTOM_Y = WIN_W - PIECE_W, WIN_H - PIECE_H


def window_inside(x, y, w, h, r):
    if not (0 <= x < w and 0 <= y < h):
        return False
    cx = min(max(x + 0.5, r), w - r)
    cy = min(max(y + 0.5, r), h - r)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r ** 2


def title_colour(y, title_h):
    return lerp(NAVY_TOP, NAVY, y / (title_h - 1))


def render_frame(S):
    """The whole window chrome in window pixels; every skin piece is cut from
    this one picture so the pieces always meet seamlessly. Returns (rgb, inside)."""
    w, h = S(WIN_W), S(WIN_H)
    r = CORNER_R if S.percent == 100 else CORNER_R * S.k
    title_h, lw = S(TITLE_H), S.line
    left, right, bottom = S(LEFT_SHOWN), S(RIGHT_SHOWN), S(BOTTOM_SHOWN)
    inside = [[window_inside(x, y, w, h, r) for x in range(w)] for y in range(h)]
    near = [(d, 0) for d in range(1, lw + 1)] + [(-d, 0) for d in range(1, lw + 1)] + \
        [(0, d) for d in range(1, lw + 1)] + [(0, -d) for d in range(1, lw + 1)]

    def at(x, y):
        return 0 <= x < w and 0 <= y < h and inside[y][x]

    edge = [[at(x, y) and not all(at(x + dx, y + dy) for dx, dy in near) for x in range(w)]
            for y in range(h)]

    def on_edge(x, y):
        return 0 <= x < w and 0 <= y < h and edge[y][x]

    img = Image.new("RGB", (w, h), NAVY)
    px = img.load()
    for y in range(h):
        for x in range(w):
            if not inside[y][x]:
                continue        # outside stays frame colour; the window region clips it
            if y < title_h:
                base = title_colour(y, title_h)
            elif x < left or x >= w - right or y >= h - bottom:
                base = NAVY
            else:
                px[x, y] = SURFACE
                continue
            if edge[y][x]:
                px[x, y] = OUTLINE
            elif any(on_edge(x + dx, y + dy) for dx, dy in near):
                # a bevel just inside the dark edge lifts the frame off the desktop
                px[x, y] = lerp(base, WHITE, 0.16)
            else:
                px[x, y] = base
    # a hairline under the title bar, only where the grey band shows below it
    for x in range(left, w - right):
        for t in range(1, lw + 1):
            px[x, title_h - t] = lerp(NAVY, OUTLINE, 0.45)
    return img, inside


def save_gif_with_transparency(rgb, mask, path):
    """Exact-palette GIF; index 0 is the transparent colour for pixels outside the window."""
    w, h = rgb.size
    colours = sorted({rgb.getpixel((x, y)) for y in range(h) for x in range(w) if mask(x, y)})
    key = (255, 0, 255)
    palette = [key] + colours
    index = {c: i for i, c in enumerate(palette)}
    img = Image.new("P", (w, h))
    img.putpalette([v for c in palette for v in c] + [0] * (3 * (256 - len(palette))))
    img.putdata([index[rgb.getpixel((x, y))] if mask(x, y) else 0
                 for y in range(h) for x in range(w)])
    img.save(path, "GIF", transparency=0, optimize=False)


def skin_sizes(S):
    left_w, top_h = S(PIECE_W), S(PIECE_H)
    right_w, bottom_h = S.span(RIGHT_X, PIECE_W), S.span(BOTTOM_Y, PIECE_H)
    return {"title_left.gif": (left_w, top_h), "title_right.gif": (right_w, top_h),
            "title_main.bmp": (S(3), top_h),
            "window_left.bmp": (left_w, top_h), "window_right.bmp": (right_w, top_h),
            "window_bottom.bmp": (left_w, bottom_h),
            "window_bottom_left.bmp": (left_w, bottom_h),
            "window_bottom_right.bmp": (right_w, bottom_h)}


def make_skin(S, out):
    frame, inside = render_frame(S)
    w, h = frame.size
    mid_x, mid_y = S(200), S(100)     # any column of the title, any row of the sides: uniform
    sizes = skin_sizes(S)
    places = {"title_main.bmp": (mid_x, 0), "window_left.bmp": (0, mid_y),
              "window_right.bmp": (w - sizes["window_right.bmp"][0], mid_y),
              "window_bottom.bmp": (mid_x, h - sizes["window_bottom.bmp"][1]),
              "window_bottom_left.bmp": (0, h - sizes["window_bottom_left.bmp"][1]),
              "window_bottom_right.bmp": tuple(a - b for a, b in zip(
                  (w, h), sizes["window_bottom_right.bmp"]))}
    for name, (x, y) in places.items():
        pw, ph = sizes[name]
        frame.crop((x, y, x + pw, y + ph)).save(os.path.join(out, name), "BMP")
    for name, x0 in (("title_left.gif", 0), ("title_right.gif", w - sizes["title_right.gif"][0])):
        pw, ph = sizes[name]
        piece = frame.crop((x0, 0, x0 + pw, ph))
        save_gif_with_transparency(piece, lambda x, y, x0=x0: inside[y][x0 + x],
                                   os.path.join(out, name))


def make_glyphs(S, out):
    """13x13 maximise / restore glyphs: white strokes on the title-bar colour."""
    n, lw, title_h = S(13), S.line, S(TITLE_H)

    def base():
        img = Image.new("RGB", (n, n))
        d = ImageDraw.Draw(img)
        for y in range(n):
            d.line([(0, y), (n - 1, y)], fill=title_colour(min(title_h - 1, S(24) + y), title_h))
        return img, d

    img, d = base()
    d.rectangle(S.box(1, 1, 11, 11), outline=WHITE, width=lw)
    d.rectangle(S.box(1, 2, 11, 2), fill=WHITE)            # thick top edge, as on a caption
    img.save(os.path.join(out, "glyph_maximize.bmp"), "BMP")

    img, d = base()
    d.rectangle(S.box(4, 1, 11, 8), outline=WHITE, width=lw)      # the window behind
    d.rectangle(S.box(4, 2, 11, 2), fill=WHITE)
    bg = title_colour(title_h - 1, title_h)
    d.rectangle(S.box(1, 4, 8, 11), fill=bg)                      # the window in front hides it
    d.rectangle(S.box(1, 4, 8, 11), outline=WHITE, width=lw)
    d.rectangle(S.box(1, 5, 8, 5), fill=WHITE)
    img.save(os.path.join(out, "glyph_restore.bmp"), "BMP")


# ---------------------------------------------------------------- panel backgrounds
def panel_size(S, offset_x):
    return S.span(offset_x, BG_W), S.span(40, BG_H)


def panel_base(S, offset_x):
    """Grey surface, the white content card and the footer band."""
    w, h = panel_size(S, offset_x)
    img = Image.new("RGB", (w, h), SURFACE)
    x0, x1 = CARD_WX0 - offset_x, CARD_WX1 - offset_x

    def card(d, s):
        # soft one-pixel drop shadow, then the card with a hairline edge
        d.rounded_rectangle([x0 * s, (CARD_Y0 + 1) * s, (x1 + 1) * s - 1, (CARD_Y1 + 2) * s - 1],
                            radius=5 * s, fill=(0, 0, 0, 38))
        d.rounded_rectangle([x0 * s, CARD_Y0 * s, (x1 + 1) * s - 1, (CARD_Y1 + 1) * s - 1],
                            radius=5 * s, fill=CARD_EDGE + (255,))
        d.rounded_rectangle([(x0 + 1) * s, (CARD_Y0 + 1) * s, x1 * s - 1, CARD_Y1 * s - 1],
                            radius=4 * s, fill=CARD + (255,))
    layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    paste_rgba(layer, smooth((w, S(CARD_Y1 + 4)), card, S.units), (0, 0))
    img.paste(layer, (0, 0), layer)

    top, lw = S(FOOTER_Y), S.line
    band = vgradient((w, h - top), FOOTER_TOP, FOOTER_BOTTOM)
    img.paste(band, (0, top))
    d = ImageDraw.Draw(img)
    d.rectangle([0, top, w - 1, top + lw - 1], fill=FOOTER_EDGE)
    d.rectangle([0, top + lw, w - 1, top + 2 * lw - 1], fill=WHITE)
    return img, d, x0, x1


def footer_notice(S, img, d, runs):
    f = runs[0][1]
    top = S(FOOTER_Y + 2)
    h = img.height - top
    ic = icon_circle_mark(S(16), "i")
    paste_rgba(img, ic, (S(12), top + (h - S(16)) // 2))
    draw_runs(d, S(36), baseline_centred(f, top, h), runs)


def heading(S, img, d, x, text, glyph, size=15):
    """Icon plus bold caption at the top of the card."""
    f = font(S(size), True)
    paste_rgba(img, glyph, (S(x), S(12)))
    d.text((S(x + 26), baseline_centred(f, S(12), S(20))), text, font=f, fill=NAVY, anchor="ls")


def field_frame(S, d, x, y, w, h, offset_x):
    """A hairline frame and soft top shadow just outside an edit box the
    program draws itself, at the box's place in the window; the box area
    itself is left plain white. Returns the box in panel pixels."""
    lw = S.line
    x0, y0 = S(x) - S(offset_x), S(y) - S(40)
    x1, y1 = S(x + w) - S(offset_x), S(y + h) - S(40)
    d.rectangle([x0 - lw, y0 - lw, x1 + lw - 1, y1 + lw - 1], outline=FIELD_EDGE, width=lw)
    d.rectangle([x0, y0, x1 - 1, y0 + lw - 1], fill=(236, 239, 243))
    return x0, y0, x1, y1


def make_home(S, footer_blank):
    img, d, x0, x1 = panel_base(S, 8)
    R, B = font(S(12)), font(S(12), True)
    tx = x0 + 12
    width = S(x1 - 12 - tx)

    paste_rgba(img, brand_mark(S(36)), (S(tx), S(14)))
    hf = font(S(16), True)
    d.text((S(tx + 46), S(30)), "Chao mung ban den voi Orvane 12.0", font=hf, fill=NAVY,
           anchor="ls")
    d.text((S(tx + 46), S(46)), "Cai dat va nang cap phan mem Orvane", font=R, fill=MUTED,
           anchor="ls")
    d.rectangle(S.box(tx, 60, x1 - 12, 60), fill=RULE)

    y = paragraph(d, S(tx), S(79), width, [
        ("Chuong trinh nay cai dat Orvane 12.0 len may tinh cua ban, hoac nang cap "
         "ban Orvane da co len phien ban moi nhat.", R, TEXT)], S(16))
    paragraph(d, S(tx), y + S(3), width, [
        ("Chon mot chuc nang o cot ben phai de bat dau.", R, TEXT)], S(16))

    # contact strip at the bottom of the card
    by0, by1 = S(124), S(152)
    d.rounded_rectangle(S.box(tx, 124, x1 - 12, 151), radius=S(3), fill=ACCENT_TINT,
                        outline=ACCENT_TINT_EDGE, width=S.line)
    paste_rgba(img, icon_support(S(16)), (S(tx + 8), by0 + (by1 - by0 - S(16)) // 2))
    draw_runs(d, S(tx + 32), baseline_centred(B, by0, by1 - by0), [
        ("Ho tro khach hang: ", B, NAVY), ("1900 0000 - support@orvane.vn", R, TEXT)])

    if not footer_blank:
        footer_notice(S, img, d, [("Luu y: ", B, NAVY),
                                  ("Vui long dong Orvane truoc khi cai dat hoac nang cap.", R,
                                   TEXT)])
    return img


def make_upgrade(S):
    ox = 9                                   # this panel is drawn one pixel further right
    img, d, x0, x1 = panel_base(S, ox)
    R, B, small = font(S(12)), font(S(12), True), font(S(11))
    tx = x0 + 12
    heading(S, img, d, tx, "NANG CAP ORVANE", icon_up(S(20)))
    paragraph(d, S(tx), S(52), S(x1 - 12 - tx), [
        ("Chon thu muc da cai dat Orvane tren may nay. Chuong trinh se tai ban cap nhat "
         "moi nhat va goi du lieu vao thu muc do.", R, TEXT)], S(16))

    fx, fy, fh = 20 - ox, 142 - 40, 24               # txtFolder, in panel pixels
    d.text((S(fx), S(fy - 8)), "Thu muc da cai dat Orvane:", font=B, fill=NAVY, anchor="ls")
    field_frame(S, d, 20, 142, 325, fh, ox)
    d.text((S(fx), S(fy + fh + 17)), "Vi du: C:\\Program Files\\Orvane", font=small, fill=MUTED,
           anchor="ls")
    return img


def make_proxy(S):
    ox = 8
    img, d, x0, x1 = panel_base(S, ox)
    R, B = font(S(12)), font(S(12), True)
    tx = x0 + 12
    heading(S, img, d, tx, "THIET LAP PROXY", icon_network(S(20)))
    d.text((S(tx), S(48)), "Chi can khi mang cua ban phai di qua may chu proxy.",
           font=R, fill=TEXT, anchor="ls")

    label_right = S(94)
    for (wx, wy), runs in (
            ((109, 102), [("Dia chi ", B, NAVY), ("(*)", B, REQUIRED), (":", B, NAVY)]),
            ((109, 134), [("Cong:", B, NAVY)])):
        _, fy0, _, fy1 = field_frame(S, d, wx, wy, 237, 24, ox)
        width = sum(f.getlength(t) for t, f, _ in runs)
        draw_runs(d, label_right - width, baseline_centred(B, fy0, fy1 - fy0), runs)
    d.text((S(109 - ox), S(134 - 40 + 24 + 17)), "Vi du: 192.168.1.10 va cong 8080",
           font=font(S(11)), fill=MUTED, anchor="ls")

    footer_notice(S, img, d, [("(*) ", B, REQUIRED), ("Bat buoc. ", B, NAVY),
                              ("De trong o Cong de dung cai dat mang cua Windows.", R, TEXT)])
    return img


def make_help(S):
    ox = 8
    img, d, x0, x1 = panel_base(S, ox)
    R, B = font(S(12)), font(S(12), True)
    tx = x0 + 12
    heading(S, img, d, tx, "HUONG DAN SU DUNG", icon_circle_mark(S(20), "?"))
    items = [
        (icon_check(S(16)), "Cai dat Orvane:",
         "tai bo cai dat moi nhat tu may chu va chay."),
        (icon_up(S(16)), "Nang cap Orvane:",
         "chon thu muc da cai dat, tai chuong trinh cap nhat va goi du lieu."),
        (icon_network(S(16)), "Thiet lap Proxy:",
         "nhap dia chi va cong neu mang cua ban can proxy."),
    ]
    y = S(58)
    for glyph, label, text in items:
        paste_rgba(img, glyph, (S(tx), y - S(12)))
        y = paragraph(d, S(tx + 26), y, S(x1 - 12 - (tx + 26)),
                      [(label, B, NAVY), (text, R, TEXT)], S(16)) + S(10)
    footer_notice(S, img, d, [("Can them tro giup? ", B, NAVY),
                              ("Goi 1900 0000 hoac gui thu den support@orvane.vn", R, TEXT)])
    return img


def save_jpeg(img, path):
    # 4:4:4 keeps the edges of small text free of colour smear
    img.convert("RGB").save(path, "JPEG", quality=95, subsampling=0, optimize=False)


# ---------------------------------------------------------------- buttons
BTN_W, BTN_H = 112, 26
BUTTONS = [  # file, words, icon (drawn at the scale's size)
    ("btn_orvane.jpg", "Cai dat Orvane", icon_check),
    ("btn_upd.jpg", "Nang cap Orvane", None),
    ("btn_ok.jpg", "Thuc hien", icon_check),
    ("btn_stop.jpg", "Dung tai ve", icon_stop),
    ("btn_help.jpg", "Huong dan", lambda n: icon_circle_mark(n, "?")),
    ("btn_proxy.jpg", "Thiet lap Proxy", icon_network),
    ("btn_exit.jpg", "Thoat", icon_exit),
]


def button_face(S, size):
    w, h = size
    lw = S.line
    img = vgradient(size, FACE_TOP, FACE_BOTTOM)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=FACE_EDGE, width=lw)
    d.rectangle([lw, lw, w - 1 - lw, 2 * lw - 1], fill=WHITE)
    d.rectangle([lw, h - 2 * lw, w - 1 - lw, h - 1 - lw],
                fill=lerp(FACE_BOTTOM, FACE_EDGE, 0.35))
    return img, d


def make_button(S, path, text, glyph):
    w, h = S(BTN_W), S(BTN_H)
    img, d = button_face(S, (w, h))
    f = font(S(12), True)
    tw = f.getlength(text)
    gap, g = S(5), S(16)
    total = tw + (g + gap if glyph else 0)
    x = int(round((w - total) / 2))
    if glyph:
        paste_rgba(img, glyph(g), (x, (h - g) // 2))
        x += g + gap
    d.text((x, baseline_centred(f, 0, h)), text, font=f, fill=NAVY, anchor="ls")
    save_jpeg(img, path)


def make_folder_button(S, path):
    n = S(32)
    img, d = button_face(S, (n, n))

    def paint(d, s):
        def P(x, y):
            return (x * s, y * s)
        edge = (176, 124, 28)
        d.rounded_rectangle([P(4, 7), P(27, 25)], radius=1.5 * s, fill=edge)           # back
        d.polygon([P(4.5, 8.5), P(4.5, 6.5), P(5.5, 5.5), P(12, 5.5), P(14, 7.5), P(14, 8.5)],
                  fill=edge)                                                              # tab
        d.rounded_rectangle([P(5, 8), P(26, 24)], radius=1 * s, fill=(233, 183, 74))
        d.rectangle([P(6, 10), P(25, 11)], fill=(255, 250, 236))                         # paper
        d.polygon([P(3.5, 12.5), P(28.5, 12.5), P(27, 25), P(5, 25)], fill=edge)        # front
        d.polygon([P(4.6, 13.5), P(27.4, 13.5), P(26.1, 24), P(5.9, 24)], fill=(252, 206, 98))
        d.line([P(5, 14.5), P(27, 14.5)], fill=(255, 228, 160), width=int(s))
    paste_rgba(img, smooth((n, n), paint, S.units), (0, 0))
    save_jpeg(img, path)


# ---------------------------------------------------------------- one scale
def make_scale(percent):
    """Draws the window's pictures for one scale; returns what verify() checks."""
    S = Scale(percent)
    out = S.folder()
    os.makedirs(out, exist_ok=True)
    make_skin(S, out)
    make_glyphs(S, out)
    panels = [("bg.jpg", 8, lambda: make_home(S, footer_blank=False)),
              ("bg1.jpg", 8, lambda: make_home(S, footer_blank=True)),
              ("bg2.jpg", 9, lambda: make_upgrade(S)),
              ("bg3.jpg", 8, lambda: make_proxy(S)),
              ("bg5.jpg", 8, lambda: make_help(S))]
    for name, _, draw in panels:
        save_jpeg(draw(), os.path.join(out, name))
    for name, text, glyph in BUTTONS:
        make_button(S, os.path.join(out, name), text, glyph)
    make_folder_button(S, os.path.join(out, "btn_folder.jpg"))

    expected = {name: ("GIF" if name.endswith("gif") else "BMP", size)
                for name, size in skin_sizes(S).items()}
    expected.update({name: ("JPEG", panel_size(S, ox)) for name, ox, _ in panels})
    expected.update({name: ("JPEG", (S(BTN_W), S(BTN_H))) for name, _, _ in BUTTONS})
    expected["btn_folder.jpg"] = ("JPEG", (S(32), S(32)))
    expected.update({name: ("BMP", (S(13), S(13)))
                     for name in ("glyph_maximize.bmp", "glyph_restore.bmp")})
    return {os.path.join(out, name): kind_size for name, kind_size in expected.items()}


def main():
    expected = {}
    for percent in SCALES:
        expected.update(make_scale(percent))
    make_cursor()
    make_icon()
    expected[os.path.join(OUT_DIR, "hand.cur")] = ("CUR", (32, 32))
    expected[os.path.join(OUT_DIR, "orvane.ico")] = ("ICO", (32, 32))
    verify(expected)


if __name__ == "__main__":
    main()
