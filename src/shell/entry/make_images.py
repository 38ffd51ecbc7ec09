#!/usr/bin/env python3
"""Writes the menu and about-box pictures beside this script.

action_images.bmp  the six 18 x 18 menu images side by side (108 x 18),
                   32 bits per pixel, alpha premultiplied (what menus
                   blend with), in this order: 0 an upward arrow, 1 a
                   downward arrow, 2 a network connector, 3 a wrench,
                   4 an information sign, 5 a red power button.
donation.bmp       the about box's 62 x 31 donation button, 256 colours.

Every picture is a stack of simple shapes drawn with 4 x 4 samples per
pixel, so the edges are smooth. Run it again after changing a drawing;
the pictures are committed so that the build needs no Python.
"""
import math
import struct
import sys
from pathlib import Path

SAMPLES = 4
ICON = 18


# ---- Shapes: functions of a point (x, y) in pixels, true when it is inside.

def polygon(points):
    def inside(x, y):
        hit = False
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return x0 <= x <= x1 and y0 <= y <= y1 and dx * dx + dy * dy <= r * r
    return inside


def capsule(x0, y0, x1, y1, r):
    """A thick line from (x0, y0) to (x1, y1) with round ends."""
    def inside(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)))
        px, py = x0 + t * vx - x, y0 + t * vy - y
        return px * px + py * py <= r * r
    return inside


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def scaled(points, factor, cx, cy):
    return [(cx + (x - cx) * factor, cy + (y - cy) * factor) for x, y in points]


# ---- Rendering: layers are (shape, (r, g, b)), later layers on top.

def render(layers, width, height, x_offset=0.0):
    """Premultiplied (r, g, b, a) per pixel, rows top to bottom."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(height):
        row = []
        for px in range(width):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = x_offset + px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for shape, c in layers:
                        if shape(x, y):
                            colour = c
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 255
            row.append(tuple(round(v / n) for v in (r, g, b, a)))
        rows.append(row)
    return rows


# ---- The six menu images.

def up_arrow_points():
    return [(9, 1), (16.5, 8.5), (12.2, 8.5), (12.2, 17), (5.8, 17), (5.8, 8.5), (1.5, 8.5)]


def arrow(points, dark, light):
    return [(polygon(points), dark), (polygon(scaled(points, 0.78, 9, 10)), light)]


def up_arrow():
    return arrow(up_arrow_points(), (20, 110, 30), (70, 190, 70))


def down_arrow():
    flipped = [(x, 18 - y) for x, y in up_arrow_points()]
    return [(polygon(flipped), (20, 70, 150)), (polygon(scaled(flipped, 0.78, 9, 8)), (70, 140, 230))]


def network_connector():
    contacts = union(*(rect(x, 3.0, x + 1.0, 6.5) for x in (5, 7, 10, 12)))
    return [
        (rounded_rect(3.5, 1.5, 14.5, 11.5, 1.5), (60, 70, 85)),
        (rounded_rect(4.5, 2.5, 13.5, 10.5, 1.0), (170, 185, 205)),
        (contacts, (205, 160, 30)),
        (rect(6.5, 10, 11.5, 13), (60, 70, 85)),
        (capsule(9, 12.5, 9, 17.5, 1.9), (40, 45, 55)),
    ]


def wrench():
    head = circle(12.2, 5.8, 4.6)
    jaw = polygon([(12.2, 5.8), (14.5, 0), (19, 0), (19, 3.5)])
    handle = capsule(3.2, 14.8, 11.0, 7.0, 2.2)
    outline = union(minus(head, jaw), handle)
    inner_head = circle(12.2, 5.8, 3.6)
    inner = union(minus(inner_head, polygon([(12.2, 5.8), (13.8, 0), (19, 0), (19, 4.3)])),
                  capsule(3.2, 14.8, 11.0, 7.0, 1.2))
    return [(outline, (70, 75, 85)), (inner, (175, 180, 190)), (circle(3.6, 14.4, 0.8), (70, 75, 85))]


def information_sign():
    return [
        (circle(9, 9, 8.5), (20, 70, 160)),
        (circle(9, 9, 7.3), (45, 120, 215)),
        (circle(9, 5, 1.5), (255, 255, 255)),
        (rect(7.8, 7.6, 10.2, 14.2), (255, 255, 255)),
    ]


def power_button():
    def outside_gap(x, y):
        # The ring is open around the top, where the bar stands.
        return not (y < 9 and abs(math.atan2(x - 9, 9 - y)) < math.radians(38))
    ring = minus(circle(9, 9.6, 5.0), circle(9, 9.6, 3.4))
    symbol = union(lambda x, y: ring(x, y) and outside_gap(x, y), capsule(9, 3.3, 9, 8.8, 0.85))
    return [
        (circle(9, 9, 8.5), (140, 10, 10)),
        (circle(9, 9, 7.3), (220, 40, 35)),
        (symbol, (255, 255, 255)),
    ]


ACTION_IMAGES = [up_arrow, down_arrow, network_connector, wrench, information_sign, power_button]


def action_strip():
    pictures = [render(draw(), ICON, ICON) for draw in ACTION_IMAGES]
    return [sum((p[y] for p in pictures), []) for y in range(ICON)]


# ---- The donation button: a golden button with a heart and "Donate".

GLYPHS = {  # 5 x 7, '#' set
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
}


def text_shape(text, left, top):
    """Bold pixel text: every glyph pixel is two samples wide."""
    pixels = set()
    x = left
    for ch in text:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    pixels.add((x + col, top + row))
                    pixels.add((x + col + 1, top + row))
        x += 7
    return lambda px, py: (math.floor(px), math.floor(py)) in pixels


def heart(cx, cy, size):
    lobes = union(circle(cx - size * 0.5, cy - size * 0.25, size * 0.55),
                  circle(cx + size * 0.5, cy - size * 0.25, size * 0.55))
    point = polygon([(cx - size * 1.02, cy - 0.05 * size), (cx + size * 1.02, cy - 0.05 * size),
                     (cx, cy + size * 1.1)])
    return union(lobes, point)


def donation_button():
    width, height = 62, 31
    layers = [
        (rect(0, 0, width, height), (255, 255, 255)),
        (rounded_rect(1, 2, 61, 29, 8), (190, 130, 10)),
        (rounded_rect(2, 3, 60, 28, 7), (255, 200, 60)),
        (rounded_rect(3, 4, 59, 15, 6), (255, 222, 120)),
        (heart(11, 15.5, 4.0), (200, 30, 40)),
        (text_shape("Donate", 18, 12), (20, 40, 110)),
    ]
    return render(layers, width, height)


# ---- BMP files.

def bmp_header(width, height, bits, palette_size, pixel_bytes):
    offset = 14 + 40 + 4 * palette_size
    file_header = struct.pack("<2sIHHI", b"BM", offset + pixel_bytes, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, pixel_bytes, 2835, 2835,
                       palette_size, 0)
    return file_header + info


def bmp32(rows):
    """Bottom-up 32-bit BMP; bytes B, G, R, A with premultiplied alpha."""
    height, width = len(rows), len(rows[0])
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    return bmp_header(width, height, 32, 0, len(pixels)) + pixels


def reduce_to_palette(rows, limit=256):
    """The picture's colours, rounded more coarsely until at most `limit` remain."""
    step = 1
    while True:
        def snap(c):
            return tuple(min(255, round(v / step) * step) for v in c[:3])
        colours = sorted({snap(c) for row in rows for c in row})
        if len(colours) <= limit:
            return colours, snap
        step *= 2


def bmp8(rows):
    """Bottom-up 8-bit BMP with a palette of the picture's own colours."""
    height, width = len(rows), len(rows[0])
    colours, snap = reduce_to_palette(rows)
    index = {c: i for i, c in enumerate(colours)}
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(index[snap(c)] for c in row) + bytes(stride - width)
                      for row in reversed(rows))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    palette += bytes(4 * (256 - len(colours)))
    return bmp_header(width, height, 8, 256, len(pixels)) + palette + pixels


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent
    for name, data in (("action_images.bmp", bmp32(action_strip())),
                       ("donation.bmp", bmp8(donation_button()))):
        (folder / name).write_bytes(data)
        print(f"wrote {folder / name}")


if __name__ == "__main__":
    main()
