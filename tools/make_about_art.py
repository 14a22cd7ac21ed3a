#!/usr/bin/env python3
"""Draws the About dialog's picture and its two button glyphs, reproducibly,
with nothing but Python 3.

    python3 tools/make_about_art.py           write resources/about/*.bmp
    python3 tools/make_about_art.py --check   fail when a committed file differs

Each image comes at 1x, 1.5x and 2x (picture 120 x 90, glyphs 20 x 20 at 1x),
drawn at its own size rather than scaled, as 24-bit bitmaps in which pure
white is transparent. Inside a shape the edges are smoothed (4 x 4 samples a
pixel); the outline against the transparent white stays hard, so no light
fringe shows on a coloured or dark dialog face."""
import argparse
import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "resources", "about")
SCALES = (("1x", 1.0), ("15x", 1.5), ("2x", 2.0))
SAMPLES = 4


# --------------------------------------------------------------------------
# Shapes: functions of a point in design units (1x pixels) that tell whether
# the point is inside.
# --------------------------------------------------------------------------
def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rotated(shape, cx, cy, degrees):
    a = math.radians(-degrees)
    ca, sa = math.cos(a), math.sin(a)

    def inside(x, y):
        dx, dy = x - cx, y - cy
        return shape(cx + dx * ca - dy * sa, cy + dx * sa + dy * ca)
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def star_points(cx, cy, outer, inner, rotation=-90.0):
    pts = []
    for k in range(10):
        r = outer if k % 2 == 0 else inner
        a = math.radians(rotation + k * 36.0)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def capsule(x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width
    return inside


def grown(points, cx, cy, by):
    out = []
    for x, y in points:
        d = math.hypot(x - cx, y - cy)
        out.append((cx + (x - cx) * (d + by) / d, cy + (y - cy) * (d + by) / d))
    return out


# --------------------------------------------------------------------------
# Paints: colour of a point (flat or a vertical gradient).
# --------------------------------------------------------------------------
def flat(color):
    return lambda x, y: color


def vertical(top_y, bottom_y, top, bottom):
    def paint(x, y):
        t = max(0.0, min(1.0, (y - top_y) / (bottom_y - top_y)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


# --------------------------------------------------------------------------
# Rendering: layers listed bottom first; a pixel is transparent (pure white)
# unless at least half of its samples hit a layer.
# --------------------------------------------------------------------------
def render(layers, width, height, scale):
    w, h = round(width * scale), round(height * scale)
    top_first = list(reversed(layers))
    rows = []
    for py in range(h):
        row = []
        for px in range(w):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / scale
                    y = (py + (sy + 0.5) / SAMPLES) / scale
                    for shape, paint in top_first:
                        if shape(x, y):
                            c = paint(x, y)
                            acc[0] += c[0]
                            acc[1] += c[1]
                            acc[2] += c[2]
                            hits += 1
                            break
            if hits * 2 < SAMPLES * SAMPLES:
                row.append((255, 255, 255))
            else:
                c = tuple(min(255, int(round(v / hits))) for v in acc)
                if c == (255, 255, 255):
                    c = (254, 254, 254)  # white inside a shape is not a hole
                row.append(c)
        rows.append(row)
    return rows


def bmp_bytes(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


# --------------------------------------------------------------------------
# The pictures.
# --------------------------------------------------------------------------
INK = (52, 64, 84)
PAPER_TOP, PAPER_BOTTOM = (250, 251, 253), (222, 229, 238)
LINE = (160, 172, 190)
GOLD_TOP, GOLD_BOTTOM = (255, 222, 89), (242, 156, 18)
GOLD_EDGE = (176, 102, 8)
RIBBON = (200, 48, 56)


def picture_layers():
    layers = []
    # Two sheets behind, turned a little, then the front sheet.
    for angle, dx, shade in ((-9.0, -4.0, (204, 212, 224)), (5.0, 3.0, (214, 221, 232))):
        sheet = rotated(rounded_rect(18 + dx, 10, 74 + dx, 82, 4), 46 + dx, 46, angle)
        edge = rotated(rounded_rect(17 + dx, 9, 75 + dx, 83, 5), 46 + dx, 46, angle)
        layers.append((edge, flat((150, 160, 178))))
        layers.append((sheet, flat(shade)))
    layers.append((rounded_rect(21, 7, 79, 83, 5), flat((138, 150, 170))))
    layers.append((rounded_rect(22, 8, 78, 82, 4), vertical(8, 82, PAPER_TOP, PAPER_BOTTOM)))
    # Text lines on the front sheet.
    for i, (x1) in enumerate((68, 62, 70, 56, 66, 50)):
        y = 26 + i * 8
        layers.append((capsule(30, y, x1, y, 1.6), flat(LINE)))
    # The bookmark ribbon hanging from the top edge.
    layers.append((polygon([(62, 8), (72, 8), (72, 30), (67, 25), (62, 30)]), flat(RIBBON)))
    # The star, with its darker rim.
    cx, cy = 84, 56
    pts = star_points(cx, cy, 30, 13)
    layers.append((polygon(grown(pts, cx, cy, 1.6)), flat(GOLD_EDGE)))
    layers.append((polygon(pts), vertical(cy - 30, cy + 26, GOLD_TOP, GOLD_BOTTOM)))
    # A soft highlight on the upper arms.
    layers.append((polygon(star_points(cx - 2, cy - 3, 14, 6)), flat((255, 236, 150))))
    return layers, 120, 90


def info_glyph_layers():
    blue_edge, blue_top, blue_bottom = (22, 78, 160), (90, 160, 235), (32, 104, 200)
    mark = (250, 252, 255)
    return [
        (circle(10, 10, 9.3), flat(blue_edge)),
        (circle(10, 10, 8.2), vertical(2, 18, blue_top, blue_bottom)),
        (circle(10, 5.9, 1.55), flat(mark)),
        (rounded_rect(8.6, 8.4, 11.4, 15.4, 0.8), flat(mark)),
    ], 20, 20


def close_glyph_layers():
    edge, top, bottom = (150, 26, 30), (238, 96, 90), (200, 40, 44)
    mark = (252, 250, 250)
    return [
        (circle(10, 10, 9.3), flat(edge)),
        (circle(10, 10, 8.2), vertical(2, 18, top, bottom)),
        (capsule(6.6, 6.6, 13.4, 13.4, 1.35), flat(mark)),
        (capsule(13.4, 6.6, 6.6, 13.4, 1.35), flat(mark)),
    ], 20, 20


IMAGES = {
    "about_picture": picture_layers,
    "glyph_info": info_glyph_layers,
    "glyph_close": close_glyph_layers,
}


def outputs():
    for name, make in IMAGES.items():
        layers, w, h = make()
        for suffix, scale in SCALES:
            yield os.path.join(OUT_DIR, f"{name}_{suffix}.bmp"), bmp_bytes(render(layers, w, h, scale))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    args = parser.parse_args()
    os.makedirs(OUT_DIR, exist_ok=True)
    differ = []
    for path, data in outputs():
        if args.check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        differ.append(path)
            except OSError:
                differ.append(path)
        else:
            with open(path, "wb") as f:
                f.write(data)
            print(os.path.relpath(path, ROOT))
    if differ:
        print("differs from the script's output:", *differ, sep="\n  ", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
