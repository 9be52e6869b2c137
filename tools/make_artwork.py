#!/usr/bin/python3
# Draws every picture of the OrvaneSetup window (skin pieces, panel backgrounds,
# button faces, glyphs, hand cursor, window icon) into src/resources/.
"""Run with Debian's python3 + python3-pil; output is byte-for-byte reproducible."""

import os
import struct

from PIL import Image, ImageDraw

from artwork_kit import *  # noqa: F401,F403  (palette, geometry, drawing)


def window_inside(x, y):
    if not (0 <= x < WIN_W and 0 <= y < WIN_H):
        return False
    cx = min(max(x + 0.5, CORNER_R), WIN_W - CORNER_R)
    cy = min(max(y + 0.5, CORNER_R), WIN_H - CORNER_R)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= CORNER_R ** 2


def title_colour(y):
    return lerp(NAVY_TOP, NAVY, y / (TITLE_H - 1))


def render_frame():
    """The whole window chrome in window pixels; every skin piece is cut from
    this one picture so the pieces always meet seamlessly. Returns (rgb, inside)."""
    inside = [[window_inside(x, y) for x in range(WIN_W)] for y in range(WIN_H)]

    def at(x, y):
        return 0 <= x < WIN_W and 0 <= y < WIN_H and inside[y][x]

    def on_edge(x, y):
        return at(x, y) and not (at(x - 1, y) and at(x + 1, y) and at(x, y - 1) and at(x, y + 1))

    img = Image.new("RGB", (WIN_W, WIN_H), NAVY)
    px = img.load()
    for y in range(WIN_H):
        for x in range(WIN_W):
            if not inside[y][x]:
                continue        # outside stays frame colour; the window region clips it
            if y < TITLE_H:
                base = title_colour(y)
            elif x < LEFT_SHOWN or x >= WIN_W - RIGHT_SHOWN or y >= WIN_H - BOTTOM_SHOWN:
                base = NAVY
            else:
                px[x, y] = SURFACE
                continue
            if on_edge(x, y):
                px[x, y] = OUTLINE
            elif any(on_edge(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                # a one-pixel bevel just inside the dark edge lifts the frame off the desktop
                px[x, y] = lerp(base, WHITE, 0.16)
            else:
                px[x, y] = base
    # a hairline under the title bar, only where the grey band shows below it
    for x in range(LEFT_SHOWN, WIN_W - RIGHT_SHOWN):
        px[x, TITLE_H - 1] = lerp(NAVY, OUTLINE, 0.45)
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


def make_skin():
    frame, inside = render_frame()
    mid_y = 100                       # any row of the plain sides works: they are uniform
    mid_x = 200
    crops = {
        "title_main.bmp": (mid_x, 0),
        "window_left.bmp": (0, mid_y),
        "window_right.bmp": (WIN_W - PIECE_W, mid_y),
        "window_bottom.bmp": (mid_x, WIN_H - PIECE_H),
        "window_bottom_left.bmp": (0, WIN_H - PIECE_H),
        "window_bottom_right.bmp": (WIN_W - PIECE_W, WIN_H - PIECE_H),
    }
    for name, (x, y) in crops.items():
        w = 3 if name == "title_main.bmp" else PIECE_W
        frame.crop((x, y, x + w, y + PIECE_H)).save(os.path.join(OUT_DIR, name), "BMP")
    for name, x0 in (("title_left.gif", 0), ("title_right.gif", WIN_W - PIECE_W)):
        piece = frame.crop((x0, 0, x0 + PIECE_W, PIECE_H))
        save_gif_with_transparency(piece, lambda x, y, x0=x0: inside[y][x0 + x],
                                   os.path.join(OUT_DIR, name))


def make_glyphs():
    """13x13 maximise / restore glyphs: white strokes on the title-bar colour."""
    def base():
        img = Image.new("RGB", (13, 13))
        d = ImageDraw.Draw(img)
        for y in range(13):
            d.line([(0, y), (12, y)], fill=title_colour(min(TITLE_H - 1, 24 + y)))
        return img, d

    img, d = base()
    d.rectangle([1, 1, 11, 11], outline=WHITE)
    d.line([(1, 2), (11, 2)], fill=WHITE)          # thick top edge, as on a window caption
    img.save(os.path.join(OUT_DIR, "glyph_maximize.bmp"), "BMP")

    img, d = base()
    d.rectangle([4, 1, 11, 8], outline=WHITE)       # the window behind
    d.line([(4, 2), (11, 2)], fill=WHITE)
    bg = title_colour(TITLE_H - 1)
    d.rectangle([1, 4, 8, 11], fill=bg)             # the window in front hides it
    d.rectangle([1, 4, 8, 11], outline=WHITE)
    d.line([(1, 5), (8, 5)], fill=WHITE)
    img.save(os.path.join(OUT_DIR, "glyph_restore.bmp"), "BMP")


# ---------------------------------------------------------------- panel backgrounds
def panel_base(offset_x):
    """Grey surface, the white content card and the footer band."""
    img = Image.new("RGB", (BG_W, BG_H), SURFACE)
    x0, x1 = CARD_WX0 - offset_x, CARD_WX1 - offset_x

    def card(d, s):
        # soft one-pixel drop shadow, then the card with a hairline edge
        d.rounded_rectangle([x0 * s, (CARD_Y0 + 1) * s, (x1 + 1) * s - 1, (CARD_Y1 + 2) * s - 1],
                            radius=5 * s, fill=(0, 0, 0, 38))
        d.rounded_rectangle([x0 * s, CARD_Y0 * s, (x1 + 1) * s - 1, (CARD_Y1 + 1) * s - 1],
                            radius=5 * s, fill=CARD_EDGE + (255,))
        d.rounded_rectangle([(x0 + 1) * s, (CARD_Y0 + 1) * s, x1 * s - 1, CARD_Y1 * s - 1],
                            radius=4 * s, fill=CARD + (255,))
    layer = Image.new("RGBA", (BG_W, BG_H), (0, 0, 0, 0))
    paste_rgba(layer, smooth((BG_W, CARD_Y1 + 4), card), (0, 0))
    img.paste(layer, (0, 0), layer)

    band = vgradient((BG_W, BG_H - FOOTER_Y), FOOTER_TOP, FOOTER_BOTTOM)
    img.paste(band, (0, FOOTER_Y))
    d = ImageDraw.Draw(img)
    d.line([(0, FOOTER_Y), (BG_W - 1, FOOTER_Y)], fill=FOOTER_EDGE)
    d.line([(0, FOOTER_Y + 1), (BG_W - 1, FOOTER_Y + 1)], fill=WHITE)
    return img, d, x0, x1


def footer_notice(img, d, runs):
    f = runs[0][1]
    top = FOOTER_Y + 2
    h = BG_H - top
    ic = icon_circle_mark(16, "i")
    paste_rgba(img, ic, (12, top + (h - 16) // 2))
    draw_runs(d, 36, baseline_centred(f, top, h), runs)


def heading(img, d, x, text, glyph, size=15):
    """Icon plus bold caption at the top of the card."""
    f = font(size, True)
    paste_rgba(img, glyph, (x, 12))
    d.text((x + 26, baseline_centred(f, 12, 20)), text, font=f, fill=NAVY, anchor="ls")


def field_frame(d, x, y, w, h):
    """A hairline frame and soft top shadow one pixel outside an edit box the
    program draws itself; the box area itself is left plain white."""
    d.rectangle([x - 1, y - 1, x + w, y + h], outline=FIELD_EDGE)
    d.line([(x, y), (x + w - 1, y)], fill=(236, 239, 243))


def make_home(footer_blank):
    img, d, x0, x1 = panel_base(8)
    R, B = font(12), font(12, True)
    tx = x0 + 12
    width = x1 - 12 - tx

    paste_rgba(img, brand_mark(36), (tx, 14))
    hf = font(16, True)
    d.text((tx + 46, 30), "Chao mung ban den voi Orvane 12.0", font=hf, fill=NAVY, anchor="ls")
    d.text((tx + 46, 46), "Cai dat va nang cap phan mem Orvane", font=R, fill=MUTED, anchor="ls")
    d.line([(tx, 60), (x1 - 12, 60)], fill=RULE)

    y = paragraph(d, tx, 79, width, [
        ("Chuong trinh nay cai dat Orvane 12.0 len may tinh cua ban, hoac nang cap "
         "ban Orvane da co len phien ban moi nhat.", R, TEXT)], 16)
    paragraph(d, tx, y + 3, width, [
        ("Chon mot chuc nang o cot ben phai de bat dau.", R, TEXT)], 16)

    # contact strip at the bottom of the card
    by0, by1 = 124, 151
    d.rounded_rectangle([tx, by0, x1 - 12, by1], radius=3, fill=ACCENT_TINT, outline=ACCENT_TINT_EDGE)
    paste_rgba(img, icon_support(16), (tx + 8, by0 + (by1 - by0 + 1 - 16) // 2))
    draw_runs(d, tx + 32, baseline_centred(B, by0, by1 - by0 + 1), [
        ("Ho tro khach hang: ", B, NAVY), ("1900 0000 - support@orvane.vn", R, TEXT)])

    if not footer_blank:
        footer_notice(img, d, [("Luu y: ", B, NAVY),
                               ("Vui long dong Orvane truoc khi cai dat hoac nang cap.", R, TEXT)])
    return img


def make_upgrade():
    ox = 9                                   # this panel is drawn one pixel further right
    img, d, x0, x1 = panel_base(ox)
    R, B, S = font(12), font(12, True), font(11)
    tx = x0 + 12
    heading(img, d, tx, "NANG CAP ORVANE", icon_up(20))
    paragraph(d, tx, 52, x1 - 12 - tx, [
        ("Chon thu muc da cai dat Orvane tren may nay. Chuong trinh se tai ban cap nhat "
         "moi nhat va goi du lieu vao thu muc do.", R, TEXT)], 16)

    fx, fy, fw, fh = 20 - ox, 142 - 40, 325, 24      # txtFolder, in panel pixels
    d.text((fx, fy - 8), "Thu muc da cai dat Orvane:", font=B, fill=NAVY, anchor="ls")
    field_frame(d, fx, fy, fw, fh)
    d.text((fx, fy + fh + 17), "Vi du: C:\\Program Files\\Orvane", font=S, fill=MUTED, anchor="ls")
    return img


def make_proxy():
    ox = 8
    img, d, x0, x1 = panel_base(ox)
    R, B = font(12), font(12, True)
    tx = x0 + 12
    heading(img, d, tx, "THIET LAP PROXY", icon_network(20))
    d.text((tx, 48), "Chi can khi mang cua ban phai di qua may chu proxy.",
           font=R, fill=TEXT, anchor="ls")

    label_right = 94
    for (wx, wy), runs in (
            ((109, 102), [("Dia chi ", B, NAVY), ("(*)", B, REQUIRED), (":", B, NAVY)]),
            ((109, 134), [("Cong:", B, NAVY)])):
        fx, fy, fw, fh = wx - ox, wy - 40, 237, 24
        field_frame(d, fx, fy, fw, fh)
        width = sum(f.getlength(t) for t, f, _ in runs)
        draw_runs(d, label_right - width, baseline_centred(B, fy, fh), runs)
    d.text((109 - ox, 134 - 40 + 24 + 17), "Vi du: 192.168.1.10 va cong 8080",
           font=font(11), fill=MUTED, anchor="ls")

    footer_notice(img, d, [("(*) ", B, REQUIRED), ("Bat buoc. ", B, NAVY),
                           ("De trong o Cong de dung cai dat mang cua Windows.", R, TEXT)])
    return img


def make_help():
    ox = 8
    img, d, x0, x1 = panel_base(ox)
    R, B = font(12), font(12, True)
    tx = x0 + 12
    heading(img, d, tx, "HUONG DAN SU DUNG", icon_circle_mark(20, "?"))
    items = [
        (icon_check(16), "Cai dat Orvane:",
         "tai bo cai dat moi nhat tu may chu va chay."),
        (icon_up(16), "Nang cap Orvane:",
         "chon thu muc da cai dat, tai chuong trinh cap nhat va goi du lieu."),
        (icon_network(16), "Thiet lap Proxy:",
         "nhap dia chi va cong neu mang cua ban can proxy."),
    ]
    y = 58
    for glyph, label, text in items:
        paste_rgba(img, glyph, (tx, y - 12))
        y = paragraph(d, tx + 26, y, x1 - 12 - (tx + 26),
                      [(label, B, NAVY), (text, R, TEXT)], 16) + 10
    footer_notice(img, d, [("Can them tro giup? ", B, NAVY),
                           ("Goi 1900 0000 hoac gui thu den support@orvane.vn", R, TEXT)])
    return img


def save_jpeg(img, name):
    # 4:4:4 keeps the edges of small text free of colour smear
    img.convert("RGB").save(os.path.join(OUT_DIR, name), "JPEG",
                            quality=95, subsampling=0, optimize=False)


# ---------------------------------------------------------------- buttons
BTN_W, BTN_H = 112, 26


def button_face(size):
    w, h = size
    img = vgradient(size, FACE_TOP, FACE_BOTTOM)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=FACE_EDGE)
    d.line([(1, 1), (w - 2, 1)], fill=WHITE)
    d.line([(1, h - 2), (w - 2, h - 2)], fill=lerp(FACE_BOTTOM, FACE_EDGE, 0.35))
    return img, d


def make_button(name, text, glyph):
    img, d = button_face((BTN_W, BTN_H))
    f = font(12, True)
    tw = f.getlength(text)
    gap = 5
    total = tw + (16 + gap if glyph else 0)
    x = int(round((BTN_W - total) / 2))
    if glyph:
        paste_rgba(img, glyph, (x, (BTN_H - 16) // 2))
        x += 16 + gap
    d.text((x, baseline_centred(f, 0, BTN_H)), text, font=f, fill=NAVY, anchor="ls")
    save_jpeg(img, name)


def make_folder_button():
    img, d = button_face((32, 32))

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
        d.line([P(5, 14.5), P(27, 14.5)], fill=(255, 228, 160), width=s)
    paste_rgba(img, smooth((32, 32), paint), (0, 0))
    save_jpeg(img, "btn_folder.jpg")


# ---------------------------------------------------------------- cursor and icon files
def hand_shape():
    """Pointing hand as two 32x32 masks (fill, outline); tip of the index at (7, 0)."""
    fill = [[False] * 32 for _ in range(32)]

    def rect(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                fill[y][x] = True
    rect(6, 2, 8, 12)          # index finger
    fill[1][7] = True          # rounded fingertip
    rect(10, 6, 12, 12)        # middle
    rect(14, 7, 16, 12)        # ring
    rect(18, 9, 19, 12)        # little
    rect(6, 12, 19, 19)        # palm
    rect(7, 20, 19, 20)
    rect(8, 21, 18, 23)        # wrist
    for y, (a, b) in {13: (3, 5), 14: (2, 5), 15: (2, 5), 16: (3, 5), 17: (3, 5),
                      18: (4, 5), 19: (5, 5)}.items():
        for x in range(a, b + 1):
            fill[y][x] = True  # thumb, folded in along the palm
    outline = [[False] * 32 for _ in range(32)]

    def filled(x, y):
        return 0 <= x < 32 and 0 <= y < 32 and fill[y][x]
    for y in range(32):
        for x in range(32):
            if not fill[y][x] and any(filled(x + dx, y + dy)
                                      for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                outline[y][x] = True
    # knuckle creases between the folded fingers and where the thumb meets the palm
    for x, y0, y1 in ((9, 6, 11), (13, 7, 11), (17, 9, 11)):
        for y in range(y0, y1 + 1):
            outline[y][x] = True
    for y in range(14, 17):
        outline[y][6] = True
    return fill, outline


def dib(rgba):
    """BITMAPINFOHEADER + 32-bit BGRA XOR image + 1-bit AND mask, rows bottom-up,
    the layout Windows expects for one image of an .ico/.cur file."""
    w, h = rgba.size
    px = rgba.load()
    xor = bytearray()
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row_bits = bytearray(stride)
        for x in range(w):
            r, g, b, a = px[x, y]
            if a == 0:
                xor += b"\0\0\0\0"
                row_bits[x // 8] |= 0x80 >> (x % 8)    # transparent: keep the screen
            else:
                xor += bytes((b, g, r, a))
        mask += row_bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_icon_file(path, images, kind, hotspot=(0, 0)):
    """kind 1 = icon, 2 = cursor (directory fields then carry the hotspot)."""
    blobs = [dib(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        a, b = (hotspot if kind == 2 else (1, 32))
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as fh:
        fh.write(out)


def make_cursor():
    fill, outline = hand_shape()
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    for y in range(32):
        for x in range(32):
            if outline[y][x]:
                img.putpixel((x, y), (0, 0, 0, 255))
            elif fill[y][x]:
                img.putpixel((x, y), (255, 255, 255, 255))
    write_icon_file(os.path.join(OUT_DIR, "hand.cur"), [img], 2, hotspot=(7, 0))


def make_icon():
    write_icon_file(os.path.join(OUT_DIR, "orvane.ico"), [brand_mark(16), brand_mark(32)], 1)


# ---------------------------------------------------------------- checks
EXPECTED = {
    "title_left.gif": ("GIF", (19, 30)), "title_right.gif": ("GIF", (19, 30)),
    "title_main.bmp": ("BMP", (3, 30)),
    "window_left.bmp": ("BMP", (19, 30)), "window_right.bmp": ("BMP", (19, 30)),
    "window_bottom.bmp": ("BMP", (19, 30)), "window_bottom_left.bmp": ("BMP", (19, 30)),
    "window_bottom_right.bmp": ("BMP", (19, 30)),
    "bg.jpg": ("JPEG", (511, 203)), "bg1.jpg": ("JPEG", (511, 203)),
    "bg2.jpg": ("JPEG", (511, 203)), "bg3.jpg": ("JPEG", (511, 203)),
    "bg5.jpg": ("JPEG", (511, 203)),
    "btn_orvane.jpg": ("JPEG", (112, 26)), "btn_upd.jpg": ("JPEG", (112, 26)),
    "btn_ok.jpg": ("JPEG", (112, 26)), "btn_stop.jpg": ("JPEG", (112, 26)),
    "btn_help.jpg": ("JPEG", (112, 26)), "btn_proxy.jpg": ("JPEG", (112, 26)),
    "btn_exit.jpg": ("JPEG", (112, 26)), "btn_folder.jpg": ("JPEG", (32, 32)),
    "glyph_maximize.bmp": ("BMP", (13, 13)), "glyph_restore.bmp": ("BMP", (13, 13)),
    "hand.cur": ("CUR", (32, 32)), "orvane.ico": ("ICO", (32, 32)),
}


def verify():
    """Re-reads every file and prints what it is; stops on anything unexpected."""
    from PIL import JpegImagePlugin
    print("%-26s %-5s %-9s %-5s %7s  %s" % ("file", "kind", "size", "mode", "bytes", "notes"))
    for name, (kind, size) in EXPECTED.items():
        path = os.path.join(OUT_DIR, name)
        im = Image.open(path)
        notes = []
        if kind == "JPEG":
            sampling = JpegImagePlugin.get_sampling(im)
            assert sampling == 0, name + " is not 4:4:4"
            notes.append("4:4:4")
        elif kind == "GIF":
            assert im.info.get("transparency") == 0, name + " lacks a transparent index"
            clear = sum(1 for v in im.getdata() if v == 0)
            notes.append("transparent index 0, %d clear px" % clear)
        elif kind == "BMP":
            assert im.mode == "RGB", name + " is not 24-bit"
            if name in ("window_left.bmp", "window_right.bmp", "title_main.bmp"):
                rows = {tuple(im.getpixel((x, y)) for x in range(im.width)) for y in range(im.height)}
                cols = {tuple(im.getpixel((x, y)) for y in range(im.height)) for x in range(im.width)}
                assert len(rows if name != "title_main.bmp" else cols) == 1, name + " not uniform"
            if name == "window_bottom.bmp":
                cols = {tuple(im.getpixel((x, y)) for y in range(im.height)) for x in range(im.width)}
                assert len(cols) == 1, name + " not uniform"
        elif kind == "ICO":
            sizes = sorted(im.info["sizes"])
            assert sizes == [(16, 16), (32, 32)], sizes
            notes.append("images %s" % ", ".join("%dx%d" % s for s in sizes))
        elif kind == "CUR":
            with open(path, "rb") as fh:
                head = fh.read(22)
            _, typ, count, w, h, _, _, hx, hy, _, _ = struct.unpack("<HHHBBBBHHII", head)
            assert (typ, count, w, h) == (2, 1, 32, 32), name
            notes.append("hotspot %d,%d" % (hx, hy))
        assert im.format == kind and im.size == size, (name, im.format, im.size)
        print("%-26s %-5s %-9s %-5s %7d  %s" % (name, kind, "%dx%d" % im.size, im.mode,
                                              os.path.getsize(path), "; ".join(notes)))


# ---------------------------------------------------------------- main
def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    make_skin()
    make_glyphs()
    save_jpeg(make_home(footer_blank=False), "bg.jpg")
    save_jpeg(make_home(footer_blank=True), "bg1.jpg")
    save_jpeg(make_upgrade(), "bg2.jpg")
    save_jpeg(make_proxy(), "bg3.jpg")
    save_jpeg(make_help(), "bg5.jpg")
    make_button("btn_orvane.jpg", "Cai dat Orvane", icon_check(16))
    make_button("btn_upd.jpg", "Nang cap Orvane", None)
    make_button("btn_ok.jpg", "Thuc hien", icon_check(16))
    make_button("btn_stop.jpg", "Dung tai ve", icon_stop(16))
    make_button("btn_help.jpg", "Huong dan", icon_circle_mark(16, "?"))
    make_button("btn_proxy.jpg", "Thiet lap Proxy", icon_network(16))
    make_button("btn_exit.jpg", "Thoat", icon_exit(16))
    make_folder_button()
    make_cursor()
    make_icon()
    verify()


if __name__ == "__main__":
    main()
