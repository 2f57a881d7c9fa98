#!/usr/bin/python3
"""Draw Vorlane's skin pictures and program icon into this folder.

Every picture is drawn twice from the same code: at its layout size (here) and at twice
that size, for 200 % screens (2x/). The 2x set is drawn at double resolution, not
enlarged, so it stays as sharp as the 1x set.

Run: /usr/bin/python3 assets/draw_assets.py
Needs python3-pil and fonts-wqy-microhei. Output is byte-identical run to run.
"""
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from bmp_to_png import encode_png  # noqa: E402

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
KEY = (160, 160, 160)  # the window treats this colour as transparent
SS = 4                 # supersampling per axis for plate shading

ORANGE = (255, 128, 0)
LIGHT_GREEN = (150, 255, 150)
LIGHT_GREY = (200, 200, 200)
RED_BROWN = (140, 50, 20)
GREEN = (40, 200, 60)

DARK_BODY = ((56, 54, 54), (9, 8, 8))     # top, bottom
GREEN_BODY = ((30, 74, 36), (5, 22, 8))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def font(size):
    # Basic layout keeps glyph placement independent of whether raqm is installed.
    return ImageFont.truetype(FONT_PATH, size, layout_engine=ImageFont.Layout.BASIC)


# ---------------------------------------------------------------- background

BG_SIZE = (323, 165)
WEAVE = (17, 15)  # cell size; divides 323 x 165 exactly, so tiles meet without a seam


def scaled(values, f):
    """Sizes and points of the layout, times the drawing factor."""
    return tuple(scaled(v, f) if isinstance(v, tuple) else v * f for v in values)


def draw_background(f):
    w, h = scaled(BG_SIZE, f)
    cw, ch = WEAVE
    light, dark = (31, 30, 30), (14, 13, 13)
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            # The weave keeps its threads one layout pixel wide; only the sheen gets finer.
            cx, cy = (x // f) % cw, (y // f) % ch
            # Odd cells restart the checker, so each cell boundary shows a
            # doubled row/column: that is the weave line and it hides the
            # parity flip where the window repeats the tile.
            base = light if (cx + cy) % 2 == 0 else dark
            # A soft sheen per cell, brighter towards its upper left.
            u, v = (x % (cw * f) + 0.5) / (cw * f), (y % (ch * f) + 0.5) / (ch * f)
            sheen = math.sin(math.pi * u) * math.sin(math.pi * v)
            tilt = 0.04 * ((1 - u) + (1 - v) - 1)
            s = 0.90 + 0.16 * sheen + tilt
            px[x, y] = tuple(max(0, min(255, round(c * s))) for c in base)
    return img


# -------------------------------------------------------------------- plates

class Style:
    def __init__(self, rim, body, text, rim_width=1.5):
        self.rim = rim
        self.body = body
        self.text = text
        self.rim_width = rim_width


NORMAL = Style(RED_BROWN, DARK_BODY, ORANGE)
HOVER = Style(GREEN, DARK_BODY, LIGHT_GREEN)
CLOSE_NORMAL = Style(RED_BROWN, DARK_BODY, LIGHT_GREY)
CHECKED = Style(GREEN, GREEN_BODY, LIGHT_GREEN)


def edge_planes(poly):
    """Inward edge normals of a convex polygon as (nx, ny, c): distance = nx*x + ny*y + c."""
    area = sum(poly[i][0] * poly[(i + 1) % len(poly)][1] - poly[(i + 1) % len(poly)][0] * poly[i][1]
               for i in range(len(poly)))
    sign = 1 if area > 0 else -1
    planes = []
    for i in range(len(poly)):
        (x0, y0), (x1, y1) = poly[i], poly[(i + 1) % len(poly)]
        ex, ey = x1 - x0, y1 - y0
        length = math.hypot(ex, ey)
        nx, ny = -ey * sign / length, ex * sign / length
        planes.append((nx, ny, -(nx * x0 + ny * y0)))
    return planes


def inside_distance(planes, x, y):
    return min(nx * x + ny * y + c for nx, ny, c in planes)


def plate_colour(style, d, y, height):
    body = mix(style.body[0], style.body[1], min(1.0, max(0.0, y / height)) ** 0.8)
    # Slightly lighter towards the top, so the plate reads as raised.
    if y < height * 0.5:
        body = mix(body, (255, 255, 255), 0.035 * (1 - y / (height * 0.5)))
    groove = (6, 5, 5)
    rw = style.rim_width
    if d < rw:
        return style.rim
    if d < rw + 1.0:
        return mix(style.rim, groove, d - rw)
    if d < rw + 2.0:
        return mix(groove, body, d - rw - 1.0)
    return body


def shade_plate(size, poly, style, f, flat_body=None):
    """Render the plate at f times the layout size (size and poly are given at that
    size); returns (image, mask). Outside pixels get KEY."""
    w, h = size
    planes = edge_planes(poly)
    ys = [p[1] for p in poly]
    top, height = min(ys), max(ys) - min(ys)
    img = Image.new("RGB", size, KEY)
    mask = [[False] * w for _ in range(h)]
    px = img.load()
    for y in range(h):
        for x in range(w):
            # Hard edge: a pixel belongs to the plate iff its centre does, so
            # the outline never blends into the key colour.
            if inside_distance(planes, x + 0.5, y + 0.5) <= 0:
                continue
            mask[y][x] = True
            acc = [0.0, 0.0, 0.0]
            for j in range(SS):
                for i in range(SS):
                    sx, sy = x + (i + 0.5) / SS, y + (j + 0.5) / SS
                    # Rim and groove widths are in layout pixels.
                    d = max(0.0, inside_distance(planes, sx, sy)) / f
                    if flat_body is not None:
                        c = flat_body(d)
                    else:
                        c = plate_colour(style, d, sy - top, height)
                    for k in range(3):
                        acc[k] += c[k]
            px[x, y] = tuple(round(v / (SS * SS)) for v in acc)
    # Every outline pixel is pure rim colour, whatever the supersampling gave.
    for y in range(h):
        for x in range(w):
            if mask[y][x] and not all(0 <= x + dx < w and 0 <= y + dy < h and mask[y + dy][x + dx]
                                      for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                px[x, y] = style.rim
    return img, mask


def text_mask(label, size, f=1):
    """Bold-looking label coverage at f times the layout size, cropped to its ink."""
    face = font(size * f)
    l, t, r, b = face.getbbox(label)
    pad = 4 * f
    canvas = Image.new("L", (r - l + 2 * pad, b - t + 2 * pad), 0)
    d = ImageDraw.Draw(canvas)
    # The font has no bold face: more passes, one layout pixel further right in
    # all, thicken the vertical strokes without closing up the dense Chinese glyphs.
    for dx in range(f + 1):
        d.text((pad - l + dx, pad - t), label, fill=255, font=face)
    return canvas.crop(canvas.getbbox())


def put_label(img, mask, label, size, colour, centre, f):
    ink = text_mask(label, size, f)
    iw, ih = ink.size
    ox = int(math.floor(centre[0] - iw / 2 + 0.5))
    oy = int(math.floor(centre[1] - ih / 2 + 0.5))
    px = img.load()
    cov = ink.load()
    w, h = img.size
    # Drop shadow first (one pixel down-right), then the label itself.
    for (sx, sy), colour_, strength in (((f, f), (0, 0, 0), 0.75), ((0, 0), colour, 1.0)):
        for y in range(ih):
            for x in range(iw):
                a = cov[x, y] / 255.0 * strength
                X, Y = ox + x + sx, oy + y + sy
                if a <= 0 or not (0 <= X < w and 0 <= Y < h) or not mask[Y][X]:
                    continue
                px[X, Y] = tuple(round(v) for v in mix(px[X, Y], colour_, a))


def avoid_key_inside(img, mask):
    """Nudge any plate pixel that landed on the key colour by one step."""
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            if mask[y][x] and px[x, y] == KEY:
                px[x, y] = (161, 160, 160)


ACTION_CANVAS = (131, 34)
ACTION_PLATE = (128, 32)   # the button shows only this top-left corner
SLANT = 8
ACTION_POLY = [(SLANT, 0), (ACTION_PLATE[0], 0), (ACTION_PLATE[0] - SLANT, ACTION_PLATE[1]), (0, ACTION_PLATE[1])]
ACTION_FONT = 14
ACTION_MAX_INK = 94

WIDE_SIZE = (376, 32)
WIDE_FONT = 15
WIDE_LEFT_SLANT = [(SLANT, 0), (376, 0), (376, 32), (0, 32)]
WIDE_RIGHT_SLANT = [(0, 0), (376, 0), (376 - SLANT, 32), (0, 32)]


def poly_centre(poly):
    ys = [p[1] for p in poly]
    mid = (min(ys) + max(ys)) / 2
    xs = []
    for i in range(len(poly)):
        (x0, y0), (x1, y1) = poly[i], poly[(i + 1) % len(poly)]
        if (y0 - mid) * (y1 - mid) <= 0 and y0 != y1:
            xs.append(x0 + (x1 - x0) * (mid - y0) / (y1 - y0))
    return (min(xs) + max(xs)) / 2, mid


def labelled_plate(size, poly, style, label, font_size, max_ink, f):
    poly = scaled(poly, f)
    img, mask = shade_plate(scaled(size, f), poly, style, f)
    # Long labels step down a size rather than crowd the slanted ends; the size is
    # chosen at the layout size, so both sets show the same label.
    while max_ink and text_mask(label, font_size).size[0] > max_ink:
        font_size -= 1
    put_label(img, mask, label, font_size, style.text, poly_centre(poly), f)
    avoid_key_inside(img, mask)
    return img


BLANK_FILL = (26, 26, 26)  # matches the edit box that sits on this frame
BLANK_RIM = (170, 30, 20)


def blank_frame(f):
    style = Style(BLANK_RIM, None, None, rim_width=1.0)
    deep = (96, 20, 14)

    def colour(d):
        # Thin bright rim, a darker red line, then a short inner shadow that
        # ends well before the edit box at (8, 4).
        if d < 1.0:
            return BLANK_RIM
        if d < 2.0:
            return mix(BLANK_RIM, deep, d - 1.0)
        if d < 3.0:
            return mix(deep, (12, 12, 12), d - 2.0)
        if d < 3.5:
            return mix((12, 12, 12), BLANK_FILL, (d - 3.0) / 0.5)
        return BLANK_FILL

    img, mask = shade_plate(scaled(WIDE_SIZE, f), scaled(WIDE_RIGHT_SLANT, f), style, f, flat_body=colour)
    avoid_key_inside(img, mask)
    return img


# ---------------------------------------------------------------------- icon

ICON_SIZES = (16, 32, 48, 256)


def icon_image(s):
    """RGBA icon: orange crosshair on a dark carbon disc."""
    k = 8  # supersampling for the vector shapes
    big = s * k
    c = big / 2

    def cover(draw_fn):
        m = Image.new("L", (big, big), 0)
        draw_fn(ImageDraw.Draw(m))
        return m.reduce(k)

    def circle(r):
        return (c - r, c - r, c + r, c + r)

    def width(frac, least):
        # Proportional strokes, but never thinner than what survives at 16 px.
        return max(s * frac, least) * k

    r_disc = big * 0.48
    disc = cover(lambda d: d.ellipse(circle(r_disc), fill=255))

    out = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    px = out.load()
    dcov = disc.load()
    cell = 2 if s >= 128 else 1
    for y in range(s):
        for x in range(s):
            a = dcov[x, y]
            if not a:
                continue
            u, v = (x + 0.5) / s - 0.5, (y + 0.5) / s - 0.5
            light = 1.0 - 0.9 * math.hypot(u + 0.18, v + 0.22)
            if s >= 48:
                base = (38, 37, 37) if (x // cell + y // cell) % 2 == 0 else (17, 16, 16)
            else:
                base = (28, 27, 27)
            col = tuple(max(0, min(255, round(ch * (0.75 + 0.6 * light)))) for ch in base)
            px[x, y] = col + (a,)

    def paint(cov, colour, strength=1.0):
        cp = cov.load()
        for y in range(s):
            for x in range(s):
                a = cp[x, y] / 255.0 * strength
                if a <= 0:
                    continue
                col = colour(y / s) if callable(colour) else colour
                r, g, b, al = px[x, y]
                r, g, b = mix((r, g, b), col, a)
                px[x, y] = (round(r), round(g), round(b), max(al, round(a * 255)))

    def fire(t):
        # Orange at the top warming to red-orange at the bottom.
        return mix((255, 168, 40), (235, 70, 12), t)

    if s >= 48:
        # A soft sheen over the upper half of the disc.
        sheen = cover(lambda d: d.ellipse((c - r_disc * 0.85, c - r_disc * 0.96, c + r_disc * 0.85, c + r_disc * 0.3),
                                          fill=255))
        sp = sheen.load()
        top, bottom = 0.5 - 0.48 * 0.96, 0.5 + 0.48 * 0.3
        for y in range(s):
            fade = max(0.0, 1.0 - ((y + 0.5) / s - top) / (bottom - top))
            for x in range(s):
                sp[x, y] = round(sp[x, y] * fade)
        paint(sheen, (255, 255, 255), 0.10)
    # Dark bezel so the disc keeps its shape on light desktops, then a thin warm accent.
    paint(cover(lambda d: d.ellipse(circle(r_disc), outline=255, width=round(width(0.03, 0.9)))), (6, 6, 6))
    if s >= 48:
        paint(cover(lambda d: d.ellipse(circle(r_disc - width(0.035, 1.0)), outline=255,
                                        width=round(width(0.008, 0.5)))), (150, 55, 20))
    ring_r = big * 0.29
    paint(cover(lambda d: d.ellipse(circle(ring_r), outline=255, width=round(width(0.05, 1.4)))), fire)

    def ticks(d):
        half = width(0.022, 0.6)
        inner, outer = big * 0.13, big * (0.42 if s >= 32 else 0.44)
        d.rectangle((c - half, c - outer, c + half, c - inner), fill=255)
        d.rectangle((c - half, c + inner, c + half, c + outer), fill=255)
        d.rectangle((c - outer, c - half, c - inner, c + half), fill=255)
        d.rectangle((c + inner, c - half, c + outer, c + half), fill=255)
    paint(cover(ticks), fire)
    dot = width(0.055, 1.1)
    paint(cover(lambda d: d.ellipse(circle(dot), fill=255)), (225, 32, 16))
    return out


def _dib_entry(img):
    """32-bit DIB icon image with its AND mask, as classic loaders expect."""
    s = img.size[0]
    px = img.load()
    header = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(s - 1, -1, -1):
        for x in range(s):
            r, g, b, a = px[x, y]
            colour += bytes((b, g, r, a))
    stride = ((s + 31) // 32) * 4
    andmask = bytearray()
    for y in range(s - 1, -1, -1):
        row = bytearray(stride)
        for x in range(s):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andmask += row
    return header + bytes(colour) + bytes(andmask)


def write_icon(path):
    entries = []
    for s in ICON_SIZES:
        img = icon_image(s)
        if s >= 256:
            rows = [img.tobytes()[y * s * 4:(y + 1) * s * 4] for y in range(s)]
            data = encode_png(s, s, rows, channels=4)
        else:
            data = _dib_entry(img)
        entries.append((s, data))
    offset = 6 + 16 * len(entries)
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    blobs = bytearray()
    for s, data in entries:
        dim = 0 if s >= 256 else s
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(blobs))
        blobs += data
    with open(path, "wb") as f:
        f.write(bytes(out + blobs))


# --------------------------------------------------------------------- table

def action(label, style):
    return lambda f: labelled_plate(ACTION_CANVAS, ACTION_POLY, style, label, ACTION_FONT, ACTION_MAX_INK, f)


def wide(poly, label, style):
    return lambda f: labelled_plate(WIDE_SIZE, poly, style, label, WIDE_FONT, None, f)


# file name -> (painter taking the factor, layout size, kind, rim colour); kind drives the self-check.
PICTURES = {
    "background.bmp": (draw_background, BG_SIZE, "texture", None),
    "plate_play_normal.bmp": (action("播 放", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_stop_checked.bmp": (action("停 止", CHECKED), ACTION_CANVAS, "action", GREEN),
    "plate_website_normal.bmp": (action("官方网站", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_website_hover.bmp": (action("官方网站", HOVER), ACTION_CANVAS, "action", GREEN),
    "plate_open_game_normal.bmp": (action("打开CF", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_open_game_hover.bmp": (action("打开CF", HOVER), ACTION_CANVAS, "action", GREEN),
    "plate_restore_normal.bmp": (action("还 原", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_restore_hover.bmp": (action("还 原", HOVER), ACTION_CANVAS, "action", GREEN),
    "plate_to_bgm_normal.bmp": (action("转换为背景音乐", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_to_bgm_hover.bmp": (action("转换为背景音乐", HOVER), ACTION_CANVAS, "action", GREEN),
    "plate_close_normal.bmp": (action("关 闭", CLOSE_NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_close_hover.bmp": (action("关 闭", HOVER), ACTION_CANVAS, "action", GREEN),
    "plate_minimize_normal.bmp": (action("最小化", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_minimize_hover.bmp": (action("最小化", HOVER), ACTION_CANVAS, "action", GREEN),
    "plate_convert_normal.bmp": (action("转 换", NORMAL), ACTION_CANVAS, "action", RED_BROWN),
    "plate_convert_hover.bmp": (action("转 换", HOVER), ACTION_CANVAS, "action", GREEN),
    "wide_fullscreen_normal.bmp": (wide(WIDE_LEFT_SLANT, "全屏查看最新版本图片", NORMAL), WIDE_SIZE, "plate", RED_BROWN),
    "wide_fullscreen_hover.bmp": (wide(WIDE_LEFT_SLANT, "全屏查看最新版本图片", HOVER), WIDE_SIZE, "plate", GREEN),
    "wide_exit_fullscreen_normal.bmp": (wide(WIDE_RIGHT_SLANT, "关闭全屏查看", NORMAL), WIDE_SIZE, "plate", RED_BROWN),
    "wide_exit_fullscreen_hover.bmp": (wide(WIDE_RIGHT_SLANT, "关闭全屏查看", HOVER), WIDE_SIZE, "plate", GREEN),
    "frame_blank.bmp": (blank_frame, WIDE_SIZE, "frame", BLANK_RIM),
}


# ---------------------------------------------------------------- self-check

def check(name, img, size, kind, rim, f):
    size = scaled(size, f)
    assert img.mode == "RGB" and img.size == size, (name, img.mode, img.size)
    w, h = size
    px = img.load()
    if kind == "texture":
        cw, ch = scaled(WEAVE, f)
        assert w % cw == 0 and h % ch == 0
        # Exactly periodic in whole cells, so tiling the picture shows no seam.
        for y in range(h):
            for x in range(w):
                assert px[x, y] == px[(x + cw) % w, y] == px[x, (y + ch) % h], (name, x, y)
        return
    for y in range(h):
        # The plate is convex: on each row it is one run with only key around it.
        run = [x for x in range(w) if px[x, y] != KEY]
        if not run:
            continue
        assert run == list(range(run[0], run[-1] + 1)), (name, "key colour inside plate", y)
        for x in (run[0], run[-1]):
            assert px[x, y] == rim, (name, "outline not pure rim", x, y, px[x, y])
    for x in range(w):
        col = [y for y in range(h) if px[x, y] != KEY]
        if col:
            assert px[x, col[0]] == rim and px[x, col[-1]] == rim, (name, "outline not pure rim", x)
    assert any(px[x, y] != KEY for y in range(h) for x in range(w)), (name, "no plate")
    if kind == "action":
        pw, ph = scaled(ACTION_PLATE, f)
        assert all(px[x, y] == KEY for y in range(h) for x in range(w) if x >= pw or y >= ph), (name, "plate outside 128x32")
    if kind == "frame":
        # The edit box (8, 4, 296 x 24) must sit on a flat field of its own colour.
        assert all(px[x, y] == BLANK_FILL for y in range(4 * f, 28 * f) for x in range(8 * f, 304 * f)), name


SETS = ((1, HERE), (2, os.path.join(HERE, "2x")))


def main():
    for f, folder in SETS:
        os.makedirs(folder, exist_ok=True)
        for name, (paint, size, kind, rim) in PICTURES.items():
            img = paint(f)
            check(name, img, size, kind, rim, f)
            img.save(os.path.join(folder, name), format="BMP")
            back = Image.open(os.path.join(folder, name))
            assert back.mode == "RGB" and back.tobytes() == img.tobytes(), name
    write_icon(os.path.join(HERE, "vorlane.ico"))
    print("wrote %d pictures at 1x and 2x and vorlane.ico to %s" % (len(PICTURES), HERE))


if __name__ == "__main__":
    main()
