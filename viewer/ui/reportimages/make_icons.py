#!/usr/bin/env python3
"""Draws the report toolbar's icons as 50 x 50 PNG files next to this script.

The toolbar shows them at 25 x 25, so they are drawn at twice that size and stay
sharp on high-density screens. Shapes are plain geometry sampled 4 x 4 per pixel
for smooth edges; nothing but the standard library is needed. The build uses the
PNG files, never this script.
"""

import math
import os
import struct
import zlib

SIZE = 50
SAMPLES = 4
INK = (64, 64, 64)
ACCENT = (31, 78, 121)
RED = (192, 0, 0)


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy or 1)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def line(points, width):
    """A polyline of the given stroke width."""
    segs = list(zip(points, points[1:]))
    return lambda x, y: any(seg_dist(x, y, a[0], a[1], b[0], b[1]) <= width / 2.0 for a, b in segs)


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def frame(x0, y0, x1, y1, width):
    return line([(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)], width)


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2.0


def render(layers):
    """layers: list of (colour, shape); later layers paint over earlier ones."""
    rows = []
    for py in range(SIZE):
        row = bytearray([0])
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for c, shape in layers:
                        if shape(x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SAMPLES * SAMPLES
            if acc[3]:
                row += bytes([int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]),
                              int(255 * acc[3] / n)])
            else:
                row += bytes([0, 0, 0, 0])
        rows.append(bytes(row))
    return rows


def write_png(path, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xffffffff)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    data = zlib.compress(b"".join(rows), 9)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b""))


def sheet():
    """A page with a folded corner, the base of the export icons."""
    return line([(31, 6), (12, 6), (12, 44), (38, 44), (38, 13), (31, 6), (31, 13), (38, 13)], 3)


def magnifier(sign):
    layers = [(INK, ring(21, 21, 12, 3.5)), (INK, line([(30, 30), (43, 43)], 6)),
              (ACCENT, line([(15, 21), (27, 21)], 3.5))]
    if sign == "+":
        layers.append((ACCENT, line([(21, 15), (21, 27)], 3.5)))
    return layers


def arrow_head(tip_x, direction):
    """A solid triangle pointing left (direction -1) or right (+1)."""
    base = tip_x - 14 * direction
    return polygon([(tip_x, 25), (base, 12), (base, 38)])


ICONS = {
    "home": [(INK, line([(6, 24), (25, 7), (44, 24)], 4)),
             (INK, line([(12, 20), (12, 43), (38, 43), (38, 20)], 4)),
             (ACCENT, box(21, 29, 29, 43))],
    "export-pdf": [(INK, sheet()), (RED, box(6, 24, 30, 36))],
    "export-txt": [(INK, sheet()), (ACCENT, line([(17, 22), (33, 22)], 2.5)),
                   (ACCENT, line([(17, 29), (33, 29)], 2.5)), (ACCENT, line([(17, 36), (28, 36)], 2.5))],
    "print": [(INK, frame(15, 6, 35, 18, 3)), (INK, frame(6, 18, 44, 35, 3.5)),
              (INK, box(15, 29, 35, 44)), (ACCENT, box(18, 32, 32, 41)), (ACCENT, box(37, 22, 40, 25))],
    # A page under a lens, so that it does not read as one of the zoom buttons.
    "find": [(INK, sheet()), (INK, line([(17, 16), (27, 16)], 2.5)), (INK, line([(17, 22), (25, 22)], 2.5)),
             ((255, 255, 255), lambda x, y: math.hypot(x - 28, y - 30) <= 11),
             (ACCENT, ring(28, 30, 8.5, 3.5)), (ACCENT, line([(34, 36), (44, 46)], 5.5))],
    "zoom-in": magnifier("+"),
    "zoom-out": magnifier("-"),
    "one-one": [(INK, frame(4, 8, 46, 42, 3)),
                (ACCENT, line([(11, 19), (15, 15), (15, 35)], 3.5)),
                (ACCENT, box(23, 18, 27, 22)), (ACCENT, box(23, 28, 27, 32)),
                (ACCENT, line([(31, 19), (35, 15), (35, 35)], 3.5))],
    "fit-width": [(INK, line([(5, 8), (5, 42)], 3)), (INK, line([(45, 8), (45, 42)], 3)),
                  (ACCENT, line([(11, 25), (39, 25)], 3.5)),
                  (ACCENT, line([(17, 18), (10, 25), (17, 32)], 3.5)),
                  (ACCENT, line([(33, 18), (40, 25), (33, 32)], 3.5))],
    "fit-page": [(INK, frame(12, 5, 38, 45, 3)),
                 (ACCENT, line([(18, 17), (18, 12), (23, 12)], 3)), (ACCENT, line([(27, 12), (32, 12), (32, 17)], 3)),
                 (ACCENT, line([(18, 33), (18, 38), (23, 38)], 3)), (ACCENT, line([(27, 38), (32, 38), (32, 33)], 3))],
    "first-page": [(INK, box(9, 12, 13, 38)), (INK, arrow_head(16, -1)), (INK, arrow_head(30, -1))],
    "prev-page": [(INK, arrow_head(17, -1)), (INK, box(29, 21, 38, 29))],
    "next-page": [(INK, arrow_head(33, 1)), (INK, box(12, 21, 21, 29))],
    "last-page": [(INK, box(37, 12, 41, 38)), (INK, arrow_head(34, 1)), (INK, arrow_head(20, 1))],
    "outline": [(INK, box(6, 9, 12, 15)), (INK, line([(16, 12), (44, 12)], 3.5)),
                (ACCENT, box(14, 21, 19, 26)), (ACCENT, line([(23, 23.5), (44, 23.5)], 3)),
                (ACCENT, box(14, 33, 19, 38)), (ACCENT, line([(23, 35.5), (44, 35.5)], 3))],
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, layers in ICONS.items():
        write_png(os.path.join(here, name + ".png"), render(layers))


if __name__ == "__main__":
    main()
