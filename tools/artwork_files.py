"""The files of the OrvaneSetup artwork that are not pictures of the window: the
hand cursor and the window icon (one size each, which Windows fits to the
screen), and the check that re-reads every file written."""

import os
import struct

from PIL import Image

from artwork_kit import OUT_DIR, brand_mark


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
def verify(expected):
    """Re-reads every file and prints what it is; stops on anything unexpected.
    expected: path -> (kind, size)."""
    from PIL import JpegImagePlugin
    print("%-30s %-5s %-9s %-5s %7s  %s" % ("file", "kind", "size", "mode", "bytes", "notes"))
    for path, (kind, size) in expected.items():
        name = os.path.relpath(path, OUT_DIR)
        base = os.path.basename(path)
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
            if base in ("window_left.bmp", "window_right.bmp", "title_main.bmp"):
                rows = {tuple(im.getpixel((x, y)) for x in range(im.width)) for y in range(im.height)}
                cols = {tuple(im.getpixel((x, y)) for y in range(im.height)) for x in range(im.width)}
                assert len(rows if base != "title_main.bmp" else cols) == 1, name + " not uniform"
            if base == "window_bottom.bmp":
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
        print("%-30s %-5s %-9s %-5s %7d  %s" % (name, kind, "%dx%d" % im.size, im.mode,
                                              os.path.getsize(path), "; ".join(notes)))
