#!/usr/bin/env python3
"""Draws every bitmap the project ships, reproducibly, with nothing but Python 3.

    python3 tools/make_bitmaps.py            write the files into resources/
    python3 tools/make_bitmaps.py --check    fail when a committed file differs

Outputs:
  resources/package/   the plug-in's button bitmaps, its blank icon and the
                       starter set of favorite icons (20 x 20, 24-bit, pure
                       white is the transparent colour, hard edges only)
  resources/installer/ the installer's splash picture (1x and 2x), its
                       program icon and the folder glyph (several sizes, so
                       each display scale gets a sharp copy)

Letters are drawn from the small pixel font below, never from a system font,
so the output is byte-identical on every machine."""
import argparse
import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE_DIR = os.path.join(ROOT, "resources", "package")
INSTALLER_DIR = os.path.join(ROOT, "resources", "installer")

WHITE = (255, 255, 255)      # transparent in the plug-in's bitmaps
MAGENTA = (255, 0, 255)      # transparent in the installer's folder glyph

# --------------------------------------------------------------------------
# Pixel font: cap height 7, x-height 5, descenders 2 rows; '#' is ink.
# Glyphs are proportional: empty columns at either side are trimmed.
# --------------------------------------------------------------------------
_FONT_SOURCE = r"""
A .###. #...# #...# ##### #...# #...# #...#
B ####. #...# #...# ####. #...# #...# ####.
C .###. #...# #.... #.... #.... #...# .###.
D ####. #...# #...# #...# #...# #...# ####.
E ##### #.... #.... ####. #.... #.... #####
F ##### #.... #.... ####. #.... #.... #....
G .###. #...# #.... #.### #...# #...# .####
H #...# #...# #...# ##### #...# #...# #...#
I .###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.
J ..### ...#. ...#. ...#. ...#. #..#. .##..
K #...# #..#. #.#.. ##... #.#.. #..#. #...#
L #.... #.... #.... #.... #.... #.... #####
M #...# ##.## #.#.# #.#.# #...# #...# #...#
N #...# #...# ##..# #.#.# #..## #...# #...#
O .###. #...# #...# #...# #...# #...# .###.
P ####. #...# #...# ####. #.... #.... #....
Q .###. #...# #...# #...# #.#.# #..#. .##.#
R ####. #...# #...# ####. #.#.. #..#. #...#
S .#### #.... #.... .###. ....# ....# ####.
T ##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..
U #...# #...# #...# #...# #...# #...# .###.
V #...# #...# #...# #...# #...# .#.#. ..#..
W #...# #...# #...# #.#.# #.#.# #.#.# .#.#.
X #...# #...# .#.#. ..#.. .#.#. #...# #...#
Y #...# #...# .#.#. ..#.. ..#.. ..#.. ..#..
Z ##### ....# ...#. ..#.. .#... #.... #####
a ..... ..... .###. ....# .#### #...# .####
b #.... #.... ####. #...# #...# #...# ####.
c ..... ..... .###. #.... #.... #.... .###.
d ....# ....# .#### #...# #...# #...# .####
e ..... ..... .###. #...# ##### #.... .###.
f ..##. .#... ####. .#... .#... .#... .#...
g ..... ..... .#### #...# #...# #...# .#### ....# .###.
h #.... #.... ####. #...# #...# #...# #...#
i ..#.. ..... .##.. ..#.. ..#.. ..#.. .###.
j ...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##..
k #.... #.... #..#. #.#.. ##... #.#.. #..#.
l .##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.
m ..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#
n ..... ..... ####. #...# #...# #...# #...#
o ..... ..... .###. #...# #...# #...# .###.
p ..... ..... ####. #...# #...# #...# ####. #.... #....
q ..... ..... .#### #...# #...# #...# .#### ....# ....#
r ..... ..... #.##. ##..# #.... #.... #....
s ..... ..... .#### #.... .###. ....# ####.
t .#... .#... ####. .#... .#... .#..# ..##.
u ..... ..... #...# #...# #...# #..## .##.#
v ..... ..... #...# #...# #...# .#.#. ..#..
w ..... ..... #...# #...# #.#.# #.#.# .#.#.
x ..... ..... #...# .#.#. ..#.. .#.#. #...#
y ..... ..... #...# #...# #...# #...# .#### ....# .###.
z ..... ..... ##### ...#. ..#.. .#... #####
0 .###. #...# #..## #.#.# ##..# #...# .###.
1 ..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.
2 .###. #...# ....# ...#. ..#.. .#... #####
3 ####. ....# ....# .###. ....# ....# ####.
4 ...#. ..##. .#.#. #..#. ##### ...#. ...#.
5 ##### #.... ####. ....# ....# #...# .###.
6 ..##. .#... #.... ####. #...# #...# .###.
7 ##### ....# ...#. ..#.. .#... .#... .#...
8 .###. #...# #...# .###. #...# #...# .###.
9 .###. #...# #...# .#### ....# ...#. .##..
< ...#. ..#.. .#... #.... .#... ..#.. ...#.
> .#... ..#.. ...#. ....# ...#. ..#.. .#...
( ...#. ..#.. .#... .#... .#... ..#.. ...#.
) .#... ..#.. ...#. ...#. ...#. ..#.. .#...
{ ..##. .#... .#... #.... .#... .#... ..##.
} .##.. ...#. ...#. ....# ...#. ...#. .##..
+ ..... ..#.. ..#.. ##### ..#.. ..#.. .....
- ..... ..... ..... ##### ..... ..... .....
= ..... ..... ##### ..... ##### ..... .....
. ..... ..... ..... ..... ..... .##.. .##..
: ..... .##.. .##.. ..... .##.. .##.. .....
/ ....# ....# ...#. ..#.. .#... #.... #....
"""


def _load_font():
    font = {}
    for line in _FONT_SOURCE.strip().splitlines():
        ch, *rows = line.split(" ")
        ink = [(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == "#"]
        left = min(x for x, _ in ink)
        right = max(x for x, _ in ink)
        font[ch] = ([(x - left, y) for x, y in ink], right - left + 1)
    font[" "] = ([], 3)
    return font


FONT = _load_font()
CAP_HEIGHT = 7


def text_width(text, scale=1):
    widths = [FONT[c][1] for c in text]
    return (sum(widths) + len(widths) - 1) * scale if widths else 0


# --------------------------------------------------------------------------
# A small RGB canvas.
# --------------------------------------------------------------------------
class Canvas:
    def __init__(self, width, height, color):
        self.w, self.h = width, height
        self.px = [list(color) for _ in range(width * height)]

    def get(self, x, y):
        return tuple(self.px[y * self.w + x])

    def set(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = list(color)

    def blend(self, x, y, color, alpha):
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        a = min(alpha, 1.0)
        for i in range(3):
            p[i] = p[i] + (color[i] - p[i]) * a

    def fill_rect(self, x0, y0, x1, y1, color):
        """Fills the inclusive pixel range x0..x1, y0..y1."""
        for y in range(max(y0, 0), min(y1, self.h - 1) + 1):
            for x in range(max(x0, 0), min(x1, self.w - 1) + 1):
                self.px[y * self.w + x] = list(color)

    def text(self, x, y, text, color, scale=1):
        """Top-left of the cap height at (x, y)."""
        for ch in text:
            ink, width = FONT[ch]
            for gx, gy in ink:
                self.fill_rect(x + gx * scale, y + gy * scale,
                               x + gx * scale + scale - 1, y + gy * scale + scale - 1, color)
            x += (width + 1) * scale

    def rgb_rows(self):
        return [[tuple(int(round(min(max(c, 0), 255))) for c in self.px[y * self.w + x])
                 for x in range(self.w)] for y in range(self.h)]


def bmp_bytes(canvas):
    """24-bit bottom-up BMP, 96 dpi, no palette."""
    rows = canvas.rgb_rows()
    stride = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data),
                         3780, 3780, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return bytes(file_header + header + data)


def ico_bytes(images):
    """An .ico of 32-bit BGRA images; images: list of (size, rows of RGBA)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for size, rows in images:
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + xor + mask
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


# --------------------------------------------------------------------------
# Hard-edged shapes for the 20 x 20 icons: a shape is a set of pixels; it is
# painted with a fill and an automatic one-pixel outline on its rim.
# --------------------------------------------------------------------------
def px_rect(x0, y0, x1, y1):
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def px_circle(cx, cy, r):
    return {(x, y) for x in range(20) for y in range(20)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r}


def _inside_polygon(px, py, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def px_polygon(pts, size=20):
    return {(x, y) for x in range(size) for y in range(size)
            if _inside_polygon(x + 0.5, y + 0.5, pts)}


def star_points(cx, cy, outer, inner, rotation=-90.0):
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = math.radians(rotation + i * 36)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def rim(shape):
    return {(x, y) for (x, y) in shape
            if any((x + dx, y + dy) not in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}


def paint(canvas, shape, fill, outline=None, light=None):
    """fill for the inside, outline for the rim; light, when given, for the
    upper-left half of the inside (a simple highlight)."""
    edge = rim(shape) if outline else set()
    if shape:
        xs = [x for x, _ in shape]
        ys = [y for _, y in shape]
        mid = (min(xs) + max(xs) + min(ys) + max(ys)) / 2
    for (x, y) in shape:
        if (x, y) in edge:
            canvas.set(x, y, outline)
        elif light and x + y < mid:
            canvas.set(x, y, light)
        else:
            canvas.set(x, y, fill)


def line_px(canvas, x0, y0, x1, y1, color):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        canvas.set(x0, y0, color)
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


# Colours of the icon set: fill, outline, highlight.
GOLD = ((250, 196, 40), (170, 110, 10), (254, 226, 120))
GREEN = ((70, 170, 60), (30, 100, 30), (130, 210, 110))
BLUE = ((60, 120, 210), (25, 60, 130), (120, 170, 240))
GREY = ((150, 156, 166), (70, 76, 88), (200, 204, 212))
PAPER = ((248, 248, 244), (96, 104, 120), None)
BROWN = ((206, 150, 90), (120, 76, 36), (232, 190, 130))
RED = ((220, 70, 60), (130, 30, 25), (245, 130, 115))
PURPLE = ((150, 100, 200), (80, 45, 120), (195, 160, 235))
TEAL = ((40, 170, 170), (20, 95, 100), (110, 215, 210))
INK = (40, 48, 64)


def icon():
    return Canvas(20, 20, WHITE)


def draw_star(c, cx=10.0, cy=10.6, outer=9.6, inner=4.1, colors=GOLD):
    paint(c, px_polygon(star_points(cx, cy, outer, inner)), *colors)


def draw_document(c, x0=3, y0=1, x1=16, y1=18, fold=4):
    """A sheet with a folded top-right corner."""
    sheet = px_rect(x0, y0, x1, y1) - {(x, y) for x in range(x1 - fold + 1, x1 + 1)
                                       for y in range(y0, y0 + fold) if x - (x1 - fold) > y - y0}
    paint(c, sheet, *PAPER)
    for i in range(fold):
        line_px(c, x1 - fold + 1 + i, y0 + i, x1 - fold + 1 + i, y0 + fold - 1, PAPER[1])
    line_px(c, x1 - fold + 1, y0 + fold - 1, x1, y0 + fold - 1, PAPER[1])


def draw_gear(c, cx, cy, colors=GREY):
    """A cog: a round body with eight square teeth and a hole."""
    teeth = set()
    for i in range(8):
        a = math.radians(i * 45 + 22.5)
        tx, ty = cx + 4.4 * math.cos(a), cy + 4.4 * math.sin(a)
        teeth |= {(x, y) for x in range(20) for y in range(20)
                  if abs(x + 0.5 - tx) <= 1.1 and abs(y + 0.5 - ty) <= 1.1}
    gear = (px_circle(cx, cy, 4.0) | teeth) - px_circle(cx, cy, 1.5)
    paint(c, gear, *colors)


def draw_plus(c, cx, cy, arm=4, colors=GREEN):
    plus = px_rect(cx - arm, cy - 1, cx + arm, cy + 1) | px_rect(cx - 1, cy - arm, cx + 1, cy + arm)
    paint(c, plus, colors[0], colors[1])


def btn_favorites():
    c = icon()
    draw_star(c)
    return c


def btn_favorites_add():
    c = icon()
    draw_star(c, cx=8.6, cy=9.0, outer=8.4, inner=3.6)
    draw_plus(c, 14, 14, arm=4)
    return c


def btn_favorites_configure():
    c = icon()
    draw_star(c, cx=8.6, cy=9.0, outer=8.4, inner=3.6)
    draw_gear(c, 14.0, 14.0)
    return c


def btn_about():
    c = icon()
    paint(c, px_circle(10, 10, 9.2), *BLUE)
    paint(c, px_rect(9, 4, 10, 5), (252, 252, 250))
    paint(c, px_rect(9, 8, 10, 14) | px_rect(8, 8, 8, 8) | px_rect(8, 14, 11, 15), (252, 252, 250))
    return c


def fav_empty():
    return icon()


def fav_script():
    c = icon()
    draw_document(c)
    for y, x1 in ((6, 11), (9, 13), (12, 13), (15, 10)):
        line_px(c, 6, y, x1, y, BLUE[1])
    return c


def fav_sql():
    c = icon()
    paint(c, px_rect(0, 4, 19, 15), BLUE[0], BLUE[1], BLUE[2])
    c.text(10 - text_width("SQL") // 2, 6, "SQL", (252, 252, 250))
    return c


def fav_package():
    c = icon()
    front = px_rect(2, 7, 13, 18)
    top = px_polygon([(2, 7), (6, 3), (18, 3), (14, 7)])
    side = px_polygon([(14, 7), (18, 3), (18, 14), (14, 18.99)])
    paint(c, top, BROWN[2], BROWN[1])
    paint(c, side, (176, 122, 66), BROWN[1])
    paint(c, front, BROWN[0], BROWN[1])
    paint(c, px_rect(7, 7, 8, 18), (170, 60, 40))   # the band round the parcel
    paint(c, px_polygon([(7, 7), (11, 3), (13, 3), (9, 7)]), (190, 80, 55))
    return c


def fav_table():
    c = icon()
    paint(c, px_rect(1, 3, 18, 17), (252, 252, 252), BLUE[1])
    c.fill_rect(2, 4, 17, 6, BLUE[0])
    for y in (10, 13):
        line_px(c, 2, y, 17, y, (150, 170, 200))
    for x in (7, 12):
        line_px(c, x, 7, x, 16, (150, 170, 200))
    line_px(c, 1, 7, 18, 7, BLUE[1])
    return c


def fav_view():
    c = icon()
    eye = px_polygon([(0.5, 10), (4, 5.5), (10, 3.5), (16, 5.5), (19.5, 10), (16, 14.5),
                      (10, 16.5), (4, 14.5)])
    paint(c, eye, (252, 252, 252), INK)
    paint(c, px_circle(10, 10, 4.6), TEAL[0], TEAL[1])
    paint(c, px_circle(10, 10, 2.0), INK)
    c.set(8, 8, (240, 250, 250))
    return c


def fav_trigger():
    c = icon()
    bolt = px_polygon([(11.5, 0.5), (3, 11.5), (9, 11.5), (6.5, 19.5), (16.5, 7.5), (10.5, 7.5),
                       (14, 0.5)])
    paint(c, bolt, *GOLD)
    return c


def fav_report():
    c = icon()
    draw_document(c)
    for x, h, col in ((6, 4, BLUE), (9, 8, GREEN), (12, 6, RED)):
        paint(c, px_rect(x, 15 - h, x + 1, 15), col[0])
    line_px(c, 5, 16, 14, 16, INK)
    return c


def fav_star():
    c = icon()
    draw_star(c, colors=RED)
    return c


def fav_function():
    c = icon()
    paint(c, px_rect(1, 2, 18, 17), PURPLE[0], PURPLE[1], PURPLE[2])
    c.text(3, 6, "fx", (252, 252, 250))
    return c


def fav_procedure():
    c = icon()
    paint(c, px_circle(10, 10, 9.2), *GREEN)
    paint(c, px_polygon([(7, 5), (15.5, 10), (7, 15)]), (252, 252, 250))
    return c


def fav_folder():
    c = icon()
    paint(c, px_rect(1, 4, 8, 6), GOLD[0], GOLD[1])
    paint(c, px_rect(1, 6, 18, 17), GOLD[0], GOLD[1], GOLD[2])
    line_px(c, 2, 8, 17, 8, GOLD[1])
    return c


def fav_database():
    c = icon()
    body = px_rect(3, 4, 16, 16) | px_polygon([(3, 16), (16.99, 16), (15, 18.6), (5, 18.6)])
    body |= {(x, y) for x in range(20) for y in range(20)
             if ((x + 0.5 - 10) / 7.0) ** 2 + ((y + 0.5 - 16.5) / 2.6) ** 2 <= 1}
    paint(c, body, BLUE[0], BLUE[1])
    lid = {(x, y) for x in range(20) for y in range(20)
           if ((x + 0.5 - 10) / 7.0) ** 2 + ((y + 0.5 - 4.0) / 2.6) ** 2 <= 1}
    paint(c, lid, BLUE[2], BLUE[1])
    for y in (9, 13):
        for x in range(4, 16):
            c.set(x, y + (1 if 6 <= x <= 13 else 0), BLUE[1])
    return c


def fav_key():
    c = icon()
    ring = px_circle(5.5, 9.5, 4.9) - px_circle(5.5, 9.5, 1.9)
    shaft = px_rect(9, 8, 18, 10) | px_rect(13, 11, 14, 13) | px_rect(16, 11, 18, 14)
    paint(c, ring | shaft, *GOLD)
    return c


def fav_sequence():
    c = icon()
    paint(c, px_rect(0, 4, 19, 15), TEAL[0], TEAL[1], TEAL[2])
    c.text(2, 6, "123", (252, 252, 250))
    return c


def fav_user():
    c = icon()
    paint(c, px_polygon([(2, 19.5), (3, 14), (6, 11.5), (14, 11.5), (17, 14), (18, 19.5)]),
          *BLUE)
    paint(c, px_circle(10, 6.5, 4.3), (240, 200, 160), (150, 100, 70))
    return c


def fav_index():
    c = icon()
    paint(c, px_rect(3, 1, 16, 18), BLUE[0], BLUE[1], BLUE[2])
    paint(c, px_rect(6, 1, 15, 18), (252, 252, 248), PAPER[1])
    for y in (5, 8, 11, 14):
        line_px(c, 8, y, 13, y, (140, 150, 170))
    paint(c, px_rect(13, 0, 15, 5) - {(14, 5)}, RED[0])
    return c


def fav_heart():
    c = icon()
    heart = px_circle(6.2, 7.0, 4.6) | px_circle(13.8, 7.0, 4.6) | \
        px_polygon([(1.8, 8.5), (18.2, 8.5), (10, 18.5)])
    paint(c, heart, *RED)
    return c


def fav_check():
    c = icon()
    paint(c, px_circle(10, 10, 9.2), *GREEN)
    check = px_polygon([(4.5, 10), (6.8, 7.8), (8.8, 10), (13.6, 5), (15.8, 7.2), (8.8, 14.6)])
    paint(c, check, (252, 252, 250))
    return c


PLUGIN_BITMAPS = {
    "btn_favorites.bmp": btn_favorites,
    "btn_favorites_add.bmp": btn_favorites_add,
    "btn_favorites_configure.bmp": btn_favorites_configure,
    "btn_about.bmp": btn_about,
    "[fav]_empty.bmp": fav_empty,
    "fav_script.bmp": fav_script,
    "fav_sql.bmp": fav_sql,
    "fav_package.bmp": fav_package,
    "fav_table.bmp": fav_table,
    "fav_view.bmp": fav_view,
    "fav_trigger.bmp": fav_trigger,
    "fav_report.bmp": fav_report,
    "fav_star.bmp": fav_star,
    "fav_function.bmp": fav_function,
    "fav_procedure.bmp": fav_procedure,
    "fav_folder.bmp": fav_folder,
    "fav_database.bmp": fav_database,
    "fav_key.bmp": fav_key,
    "fav_sequence.bmp": fav_sequence,
    "fav_user.bmp": fav_user,
    "fav_index.bmp": fav_index,
    "fav_heart.bmp": fav_heart,
    "fav_check.bmp": fav_check,
}


# --------------------------------------------------------------------------
# Smooth shapes for the splash and the program icon: coverage from a signed
# distance (negative inside), one pixel of soft edge.
# --------------------------------------------------------------------------
def sd_round_rect(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - r


def sd_segment(px, py, ax, ay, bx, by, half_width):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - ax - t * vx, py - ay - t * vy) - half_width


def sd_polygon(px, py, pts):
    d = min(sd_segment(px, py, *pts[i], *pts[(i + 1) % len(pts)], 0) for i in range(len(pts)))
    return -d if _inside_polygon(px, py, pts) else d


def fill_sdf(canvas, box, sdf, color, alpha=1.0):
    x0, y0, x1, y1 = (int(math.floor(v)) for v in box)
    for y in range(max(y0, 0), min(y1 + 1, canvas.h)):
        for x in range(max(x0, 0), min(x1 + 1, canvas.w)):
            cover = 0.5 - sdf(x + 0.5, y + 0.5)
            if cover > 0:
                canvas.blend(x, y, color, min(cover, 1.0) * alpha)


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Installer palette.
SKY_TOP = (28, 56, 104)
SKY_BOTTOM = (12, 26, 56)
BAND = (232, 236, 242)
BAND_EDGE = (188, 196, 210)
FOOT = (9, 18, 38)
CLOSE_RED = (196, 48, 38)
TAB_BACK = (64, 86, 128)
TAB_NEXT = (244, 178, 50)
STAR_GOLD = (248, 192, 48)


def splash(k):
    """The 440 x 290 splash at k times its size. Layout (in 1x pixels):
    a light band 0..17 for the owner notice with the close box at 405..439,
    the dark sky behind the white page labels, and the foot 260..289 with
    the Back tab (zone 275..359) and the Next tab (zone 360..439)."""
    W, H = 440 * k, 290 * k
    c = Canvas(W, H, SKY_BOTTOM)
    band, foot = 18 * k, 260 * k
    glow_x, glow_y, glow_r = 150 * k, 30 * k, 330 * k
    for y in range(H):
        base = lerp(SKY_TOP, SKY_BOTTOM, min(max((y - band) / (foot - band), 0), 1))
        for x in range(W):
            if y < band:
                col = BAND if y < band - k else BAND_EDGE
            elif y >= foot:
                col = FOOT
            else:
                g = max(0.0, 1 - math.hypot(x - glow_x, (y - glow_y) * 1.4) / glow_r)
                col = lerp(base, (70, 110, 170), 0.35 * g * g)
            c.px[y * W + x] = list(col)

    # A large, faint star: the plug-in's theme, kept away from the labels' middle.
    pts = star_points(372 * k, 196 * k, 66 * k, 27 * k, rotation=-78)
    fill_sdf(c, (300 * k, 125 * k, 440 * k, foot - 1),
             lambda x, y: sd_polygon(x, y, pts), (150, 180, 230), 0.10)
    fill_sdf(c, (300 * k, 125 * k, 440 * k, foot - 1),
             lambda x, y: abs(sd_polygon(x, y, pts)) - 0.8 * k, (170, 200, 245), 0.25)
    # Three small gold stars in the lower left, like bookmarks.
    for i, (sx, sy, r) in enumerate(((28, 232, 9), (52, 238, 6.5), (71, 242, 4.5))):
        spts = star_points(sx * k, sy * k, r * k, r * 0.42 * k)
        fill_sdf(c, ((sx - r - 1) * k, (sy - r - 1) * k, (sx + r + 1) * k, (sy + r + 1) * k),
                 lambda x, y, p=spts: sd_polygon(x, y, p), STAR_GOLD, 0.9 - 0.2 * i)
    # A thin gold rule above the foot, ending before the tabs.
    c.fill_rect(0, foot - k, 270 * k, foot - 1, (120, 96, 40))

    # Close box, flush with the top-right corner, with a white cross.
    c.fill_rect(405 * k, 0, W - 1, 16 * k - 1, CLOSE_RED)
    cx, cy, arm, hw = 422.5 * k, 8 * k, 3.6 * k, 0.85 * k
    for ax, ay, bx, by in ((cx - arm, cy - arm, cx + arm, cy + arm),
                           (cx - arm, cy + arm, cx + arm, cy - arm)):
        fill_sdf(c, (cx - arm - 2 * k, cy - arm - 2 * k, cx + arm + 2 * k, cy + arm + 2 * k),
                 lambda x, y, s=(ax, ay, bx, by): sd_segment(x, y, *s, hw), (255, 255, 255))

    # Tabs rising from the bottom edge, each inside its zone.
    def tab(x0, x1, fill, caption, ink, chevron_left):
        y0 = 263 * k
        fill_sdf(c, (x0, y0, x1, H + 8 * k),
                 lambda x, y: sd_round_rect(x, y, x0, y0, x1, H + 8 * k, 6 * k), fill)
        scale = 2 * k
        w = text_width(caption, scale)
        chev = 5 * k
        total = w + chev + 4 * k
        left = int((x0 + x1 - total) / 2)
        ty = y0 + int((H - y0 - CAP_HEIGHT * scale) / 2)
        if chevron_left:
            chevron_x, text_x = left, left + chev + 4 * k
        else:
            chevron_x, text_x = left + w + 4 * k, left
        c.text(text_x, ty, caption, ink, scale)
        mid = ty + CAP_HEIGHT * scale / 2
        tip, back = (chevron_x, chevron_x + chev) if chevron_left else (chevron_x + chev, chevron_x)
        for ey in (mid - chev, mid + chev):
            fill_sdf(c, (chevron_x - 2 * k, mid - chev - 2 * k, chevron_x + chev + 2 * k,
                         mid + chev + 2 * k),
                     lambda x, y, e=ey: sd_segment(x, y, back, e, tip, mid, 0.9 * k), ink)

    tab(278 * k, 357 * k, TAB_BACK, "Back", (236, 240, 248), True)
    tab(362 * k, W - 1 - 2 * k, TAB_NEXT, "Next", (28, 30, 44), False)
    return c


def program_icon(size):
    """A gold star on a blue rounded tile with a green arrow into it."""
    s = size / 32.0
    rows = []
    tile = lambda x, y: sd_round_rect(x, y, 1 * s, 1 * s, 31 * s, 31 * s, 6 * s)
    star = star_points(14.5 * s, 15.5 * s, 12 * s, 5.0 * s)
    arrow = [(24 * s, 15 * s), (28.5 * s, 15 * s), (28.5 * s, 21 * s), (31 * s, 21 * s),
             (26.25 * s, 28.5 * s), (21.5 * s, 21 * s), (24 * s, 21 * s)]
    for y in range(size):
        row = []
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            a_tile = min(max(0.5 - tile(px, py), 0), 1)
            col = lerp((70, 130, 220), (26, 60, 140), y / max(size - 1, 1))
            a_star = min(max(0.5 - sd_polygon(px, py, star), 0), 1)
            edge = min(max(0.5 - (abs(sd_polygon(px, py, star)) - 0.45 * s), 0), 1)
            col = lerp(col, STAR_GOLD, a_star)
            col = lerp(col, (150, 96, 10), edge * 0.8 * a_star)
            if size >= 24:
                a_arrow = min(max(0.5 - sd_polygon(px, py, arrow), 0), 1)
                rim_a = min(max(0.5 - (abs(sd_polygon(px, py, arrow)) - 0.5 * s), 0), 1)
                col = lerp(col, (80, 190, 70), a_arrow)
                col = lerp(col, (20, 90, 20), rim_a * a_arrow)
            row.append(tuple(int(round(v)) for v in col) + (int(round(255 * a_tile)),))
        rows.append(row)
    return size, rows


FOLDER_LAYOUT = {
    # size: left, right, tab right, tab top, back top, front top, bottom
    16: (1, 14, 6, 2, 4, 6, 13),
    24: (2, 21, 9, 3, 6, 9, 20),
}


def folder_glyph(size):
    """The folder on the installer's browse button; magenta is transparent.
    16 and 24 are drawn on their own pixel grid, the larger sizes are those
    doubled, so every size has whole-pixel edges."""
    if size not in FOLDER_LAYOUT:
        small = folder_glyph(size // 2)
        c = Canvas(size, size, MAGENTA)
        for y in range(size):
            for x in range(size):
                c.set(x, y, small.get(x // 2, y // 2))
        return c
    x0, x1, tab_x1, tab_top, back_top, front_top, bottom = FOLDER_LAYOUT[size]
    dark, back, light, front = (140, 96, 16), (218, 164, 40), (255, 232, 150), (246, 200, 76)
    c = Canvas(size, size, MAGENTA)
    c.fill_rect(x0, tab_top, tab_x1, bottom, dark)
    c.fill_rect(x0, back_top, x1, bottom, dark)
    c.fill_rect(x0 + 1, tab_top + 1, tab_x1 - 1, front_top - 1, back)
    c.fill_rect(x0 + 1, back_top + 1, x1 - 1, front_top - 1, back)
    c.fill_rect(x0 + 1, front_top + 1, x1 - 1, front_top + 1, light)
    c.fill_rect(x0 + 1, front_top + 2, x1 - 1, bottom - 1, front)
    return c


def outputs():
    files = {}
    for name, draw in PLUGIN_BITMAPS.items():
        files[os.path.join(PACKAGE_DIR, name)] = bmp_bytes(draw())
    files[os.path.join(INSTALLER_DIR, "splash.bmp")] = bmp_bytes(splash(1))
    files[os.path.join(INSTALLER_DIR, "splash_2x.bmp")] = bmp_bytes(splash(2))
    files[os.path.join(INSTALLER_DIR, "tolvane.ico")] = ico_bytes(
        [program_icon(s) for s in (16, 24, 32, 48, 64)])
    for s in (16, 24, 32, 48):
        files[os.path.join(INSTALLER_DIR, "folder_%d.bmp" % s)] = bmp_bytes(folder_glyph(s))
    return files


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true", help="compare instead of writing")
    args = ap.parse_args()
    stale = []
    for path, data in sorted(outputs().items()):
        current = open(path, "rb").read() if os.path.exists(path) else None
        if current == data:
            continue
        if args.check:
            stale.append(os.path.relpath(path, ROOT))
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
            print("wrote", os.path.relpath(path, ROOT))
    if stale:
        sys.exit("out of date (run tools/make_bitmaps.py): " + ", ".join(stale))


if __name__ == "__main__":
    main()
