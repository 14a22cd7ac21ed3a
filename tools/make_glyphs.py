#!/usr/bin/env python3
"""Draws the dialogs' button glyphs and the plug-in icon, reproducibly.

    python3 tools/make_glyphs.py            write resources/glyphs/*.bmp
    python3 tools/make_glyphs.py --check    fail when a committed file differs

Every glyph is a 24-bit bitmap, 20 x 20 (the plug-in icon 32 x 32), pure
white is the transparent colour, and edges are hard (a pixel is ink or not)
so nothing blends into a white halo. plugin/dialogs/glyphs.rc links them
under the ids of plugin/dialogs/glyph_ids.h."""
import argparse
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "resources", "glyphs")

WHITE = (255, 255, 255)
BLUE = (33, 97, 181)
DARK_BLUE = (18, 56, 110)
GREEN = (40, 140, 60)
DARK_GREEN = (22, 88, 36)
RED = (196, 43, 43)
DARK_RED = (120, 20, 20)
GREY = (96, 96, 96)
LIGHT_GREY = (176, 176, 176)
YELLOW = (236, 184, 58)
DARK_YELLOW = (160, 112, 20)
PAPER = (250, 250, 244)  # near-white that stays opaque


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[WHITE] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Filled, inclusive corners."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def polygon(self, points, colour):
        """Fills the pixels whose centres lie inside the polygon."""
        for y in range(self.size):
            cy = y + 0.5
            xs = []
            n = len(points)
            for i in range(n):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                if (ay <= cy < by) or (by <= cy < ay):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(self.size):
                    if xs[i] <= x + 0.5 < xs[i + 1]:
                        self.set(x, y, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(self.size):
            for x in range(self.size):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        for y in range(self.size):
            for x in range(self.size):
                d = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if r_in * r_in <= d <= r_out * r_out:
                    self.set(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
        for i in range(steps + 1):
            t = i / steps
            x = x0 + (x1 - x0) * t
            y = y0 + (y1 - y0) * t
            for dx in range(width):
                for dy in range(width):
                    self.set(int(round(x)) + dx, int(round(y)) + dy, colour)

    def bmp(self):
        """Bottom-up 24-bit BMP bytes."""
        row_bytes = (self.size * 3 + 3) & ~3
        pixels = bytearray()
        for y in range(self.size - 1, -1, -1):
            row = bytearray()
            for (r, g, b) in self.px[y]:
                row += bytes((b, g, r))
            row += b"\0" * (row_bytes - len(row))
            pixels += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.size, self.size, 1, 24, 0, len(pixels),
                           2835, 2835, 0, 0)
        return header + info + bytes(pixels)


def arrow(up):
    c = Canvas(20)
    tip, base = (2, 11) if up else (17, 8)
    c.polygon([(10, tip), (18, base), (2, base)] if up else [(10, tip), (2, base), (18, base)], BLUE)
    if up:
        c.rect(6, 11, 13, 17, BLUE)
        c.frame(6, 11, 13, 17, DARK_BLUE)
    else:
        c.rect(6, 2, 13, 8, BLUE)
        c.frame(6, 2, 13, 8, DARK_BLUE)
    return c


def document(c, x0=3, y0=1, x1=14, y1=18):
    c.rect(x0, y0, x1, y1, PAPER)
    c.frame(x0, y0, x1, y1, GREY)
    for y in range(y0 + 4, y1 - 2, 3):
        c.rect(x0 + 3, y, x1 - 3, y, LIGHT_GREY)


def plus(c, cx, cy, colour, dark):
    c.rect(cx - 4, cy - 1, cx + 4, cy + 1, colour)
    c.rect(cx - 1, cy - 4, cx + 1, cy + 4, colour)
    c.set(cx - 4, cy - 1, dark)
    c.set(cx + 4, cy + 1, dark)


def glyph_add():
    c = Canvas(20)
    document(c, 2, 1, 13, 18)
    c.disc(14.5, 14.5, 5.2, GREEN)
    c.rect(12, 14, 17, 15, WHITE)
    c.rect(14, 12, 15, 17, WHITE)
    return c


def glyph_separator():
    c = Canvas(20)
    for y in (3, 5, 14, 16):
        c.rect(3, y, 16, y, LIGHT_GREY)
    c.rect(1, 9, 18, 10, DARK_BLUE)
    return c


def glyph_remove():
    c = Canvas(20)
    c.line(3, 3, 15, 15, RED, 3)
    c.line(15, 3, 3, 15, RED, 3)
    return c


def glyph_connection():
    c = Canvas(20)
    # A database drum with a plug lead.
    c.rect(3, 4, 13, 15, YELLOW)
    c.disc(8.5, 4.5, 5.0, YELLOW)
    c.ring(8.5, 4.5, 5.2, 3.8, DARK_YELLOW)
    c.rect(3, 5, 3, 15, DARK_YELLOW)
    c.rect(13, 5, 13, 15, DARK_YELLOW)
    c.rect(3, 16, 13, 17, DARK_YELLOW)
    c.rect(4, 10, 12, 10, DARK_YELLOW)
    c.rect(15, 9, 18, 11, GREY)
    c.rect(17, 7, 18, 13, GREY)
    return c


def glyph_sort():
    c = Canvas(20)
    for i, w in enumerate((5, 8, 11)):
        y = 3 + i * 5
        c.rect(2, y, 2 + w, y + 2, BLUE)
    c.rect(15, 2, 16, 14, GREY)
    c.polygon([(12, 13), (19.5, 13), (15.75, 18.5)], GREY)
    return c


def folder(c, colour=YELLOW, dark=DARK_YELLOW):
    c.rect(1, 4, 8, 6, colour)
    c.rect(1, 6, 18, 16, colour)
    c.frame(1, 6, 18, 16, dark)
    c.rect(1, 4, 8, 4, dark)
    c.set(1, 5, dark)
    c.set(8, 5, dark)


def glyph_load():
    c = Canvas(20)
    folder(c)
    c.rect(9, 0, 10, 9, GREEN)
    c.polygon([(5.5, 8), (14.5, 8), (10, 13)], GREEN)
    return c


def glyph_ok():
    c = Canvas(20)
    c.line(2, 10, 7, 15, GREEN, 3)
    c.line(7, 15, 16, 3, GREEN, 3)
    return c


def glyph_cancel():
    c = Canvas(20)
    c.disc(10, 10, 8.5, RED)
    c.line(6, 6, 13, 13, WHITE, 2)
    c.line(13, 6, 6, 13, WHITE, 2)
    return c


def glyph_folder():
    c = Canvas(20)
    folder(c)
    return c


def glyph_add_submenu():
    c = Canvas(20)
    # Three menu rows, the last one offset as a submenu, and a green plus.
    c.rect(1, 2, 11, 4, GREY)
    c.rect(1, 7, 11, 9, GREY)
    c.rect(5, 12, 11, 14, BLUE)
    c.polygon([(2, 11), (2, 16), (4.5, 13.5)], BLUE)
    c.disc(15, 14.5, 4.6, GREEN)
    c.rect(13, 14, 17, 15, WHITE)
    c.rect(14, 12, 15, 17, WHITE)
    return c


def glyph_show_password():
    c = Canvas(20)
    c.polygon([(1, 10), (6, 5), (14, 5), (19, 10), (14, 15), (6, 15)], GREY)
    c.polygon([(3, 10), (7, 6.5), (13, 6.5), (17, 10), (13, 13.5), (7, 13.5)], PAPER)
    c.disc(10, 10, 3.6, BLUE)
    c.disc(10, 10, 1.6, DARK_BLUE)
    return c


def plugin_icon():
    c = Canvas(32)
    # A star over a document: the favourite files.
    c.rect(5, 2, 22, 29, PAPER)
    c.frame(5, 2, 22, 29, GREY)
    for y in range(7, 27, 4):
        c.rect(8, y, 19, y, LIGHT_GREY)
    import math
    pts = []
    for i in range(10):
        r = 10.5 if i % 2 == 0 else 4.4
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((21 + r * math.cos(a), 20 + r * math.sin(a)))
    c.polygon(pts, YELLOW)
    inner = [(21 + (x - 21) * 0.72, 20 + (y - 20) * 0.72) for (x, y) in pts]
    outline = Canvas(32)
    outline.polygon(pts, DARK_YELLOW)
    hole = Canvas(32)
    hole.polygon(inner, DARK_YELLOW)
    for y in range(32):
        for x in range(32):
            if outline.px[y][x] != WHITE and hole.px[y][x] == WHITE:
                c.set(x, y, DARK_YELLOW)
    return c


GLYPHS = {
    "up.bmp": lambda: arrow(True),
    "down.bmp": lambda: arrow(False),
    "add.bmp": glyph_add,
    "separator.bmp": glyph_separator,
    "remove.bmp": glyph_remove,
    "connection.bmp": glyph_connection,
    "sort.bmp": glyph_sort,
    "load.bmp": glyph_load,
    "ok.bmp": glyph_ok,
    "cancel.bmp": glyph_cancel,
    "folder.bmp": glyph_folder,
    "add_submenu.bmp": glyph_add_submenu,
    "show_password.bmp": glyph_show_password,
    "plugin_icon.bmp": plugin_icon,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    os.makedirs(OUT_DIR, exist_ok=True)
    stale = []
    for name, draw in GLYPHS.items():
        data = draw().bmp()
        path = os.path.join(OUT_DIR, name)
        if args.check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
