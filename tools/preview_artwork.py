#!/usr/bin/python3
# Design aid: assembles the artwork in src/resources/ into pictures of the whole
# window, one per panel, the way the program lays the pieces out (build/ output).

import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
RES = os.path.join(ROOT, "src", "resources")
OUT = os.path.join(ROOT, "build")
FONTS = "/usr/share/fonts/truetype/liberation"

W, H = 528, 255
WINDOW_GREY = (207, 207, 207)
DESKTOP = (58, 74, 92)
HIGHLIGHT = (0, 120, 215)          # a typical system highlight colour for the progress bar
TITLE = "Install & Upgrade Orvane 12 .0"

BUTTONS = [("btn_orvane.jpg", 48), ("btn_upd.jpg", 81), ("btn_help.jpg", 111),
           ("btn_proxy.jpg", 145), ("btn_exit.jpg", 177)]
PANELS = [
    # name, background, x, edit boxes, browse button, progress caption
    ("home", "bg.jpg", 8, [], False, None),
    ("install", "bg1.jpg", 8, [], False, "Dang tai bo cai dat... 45%"),
    ("upgrade", "bg2.jpg", 9, [(20, 142, 325, 24)], True, "Dang nang cap... 45%"),
    ("proxy", "bg3.jpg", 8, [(109, 102, 237, 24), (109, 134, 237, 24)], False, None),
    ("help", "bg5.jpg", 8, [], False, None),
]


def font(size, bold=False):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    return ImageFont.truetype(os.path.join(FONTS, name), size,
                              layout_engine=ImageFont.Layout.BASIC)


def load(name):
    return Image.open(os.path.join(RES, name))


def stretched(name, w, h):
    return load(name).convert("RGB").resize((w, h), Image.NEAREST)


def paste_gif(dst, name, xy):
    im = load(name).convert("RGBA")            # the transparent index becomes alpha 0
    dst.paste(im, xy, im)


def push_button(img, x, y, w, h, face, inset):
    """A plain push-button box with the picture drawn inside it."""
    d = ImageDraw.Draw(img)
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=(240, 240, 240), outline=(120, 128, 138))
    img.paste(load(face).convert("RGB"), (x + inset, y + inset))


def window(panel):
    name, bg, bg_x, edits, browse, caption = panel
    img = Image.new("RGB", (W, H), WINDOW_GREY)
    # same order as the program: the bottom pieces cover the lower end of the right side
    img.paste(stretched("window_left.bmp", 19, H - 60), (0, 30))
    img.paste(stretched("window_right.bmp", 19, H - 38), (509, 30))
    img.paste(stretched("window_bottom.bmp", W - 38, 30), (19, H - 30))
    img.paste(load("window_bottom_left.bmp").convert("RGB"), (0, H - 30))
    img.paste(load("window_bottom_right.bmp").convert("RGB"), (W - 19, H - 30))
    img.paste(stretched("title_main.bmp", W - 19, 30), (19, 0))
    paste_gif(img, "title_left.gif", (0, 0))
    paste_gif(img, "title_right.gif", (509, 0))
    img.paste(load(bg).convert("RGB"), (bg_x, 40))
    for face, y in BUTTONS:
        push_button(img, 392, y, 116, 30, face, 2)
    d = ImageDraw.Draw(img)
    for x, y, w, h in edits:
        d.rectangle([x, y, x + w - 1, y + h - 1], fill=(255, 255, 255))
    if browse:
        push_button(img, 349, 137, 34, 34, "btn_folder.jpg", 1)
    if caption:
        d.rectangle([12, 214, 516, 237], fill=(255, 255, 255), outline=(170, 170, 170))
        d.rectangle([13, 215, 13 + int(502 * 0.45), 236], fill=HIGHLIGHT)
        f = font(13, True)
        d.text(((12 + 516) // 2, 218), caption, font=f, fill=(0, 0, 0), anchor="ma")
    d.text((16, 7), TITLE, font=font(13, True), fill=(255, 255, 255), anchor="la")
    # the window region: a round rect with a 24x24 corner ellipse
    mask = Image.new("L", (W * 4, H * 4), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, W * 4 - 1, H * 4 - 1], radius=48, fill=255)
    mask = mask.resize((W, H), Image.BOX).point(lambda v: 255 if v >= 128 else 0)
    out = Image.new("RGB", (W, H), DESKTOP)
    out.paste(img, (0, 0), mask)
    return name, out


def parts_sheet(zoom=4):
    """Every small picture enlarged, to judge pixels the window view is too small for."""
    names = ["btn_orvane.jpg", "btn_upd.jpg", "btn_ok.jpg", "btn_stop.jpg", "btn_help.jpg",
             "btn_proxy.jpg", "btn_exit.jpg", "btn_folder.jpg", "glyph_maximize.bmp",
             "glyph_restore.bmp", "title_left.gif", "title_main.bmp", "title_right.gif",
             "window_left.bmp", "window_right.bmp", "window_bottom.bmp",
             "window_bottom_left.bmp", "window_bottom_right.bmp"]
    ims = [load(n).convert("RGBA") for n in names]
    cur = Image.open(os.path.join(RES, "hand.cur"))
    ims.append(cur.convert("RGBA"))
    ico = Image.open(os.path.join(RES, "orvane.ico"))
    for size in sorted(ico.info.get("sizes", [])):
        ico.size = size
        ims.append(ico.convert("RGBA").copy())
    gap = 8
    col_w = max(i.width for i in ims) * zoom
    x, y, row_h, placed = gap, gap, 0, []
    max_w = 2 * col_w + 3 * gap
    for im in ims:
        w, h = im.width * zoom, im.height * zoom
        if x + w + gap > max_w:
            x, y, row_h = gap, y + row_h + gap, 0
        placed.append((im, x, y))
        x, row_h = x + w + gap, max(row_h, h)
    sheet = Image.new("RGBA", (max_w, y + row_h + gap), (255, 0, 255, 255))
    for im, x, y in placed:
        big = im.resize((im.width * zoom, im.height * zoom), Image.NEAREST)
        sheet.paste(big, (x, y), big)
    return sheet.convert("RGB")


def main():
    os.makedirs(OUT, exist_ok=True)
    shots = [window(p) for p in PANELS]
    pad, label_h = 16, 18
    sheet = Image.new("RGB", (W + 2 * pad, len(shots) * (H + label_h + pad) + pad), DESKTOP)
    d = ImageDraw.Draw(sheet)
    y = pad
    for name, shot in shots:
        shot.save(os.path.join(OUT, "artwork-preview-%s.png" % name))
        d.text((pad, y), name, font=font(12, True), fill=(230, 235, 240))
        sheet.paste(shot, (pad, y + label_h))
        y += H + label_h + pad
    parts_sheet().save(os.path.join(OUT, "artwork-preview-parts.png"))
    path = os.path.join(OUT, "artwork-preview.png")
    sheet.save(path)
    print(path)


if __name__ == "__main__":
    main()
