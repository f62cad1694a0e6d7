#!/usr/bin/env python3
"""Draws Led.bmp, the LED indicator's image strip: 48 x 128 pixels, 24 bits.

Three columns of 16 x 16 cells (lit, unlit, grey) and eight rows (red, green,
yellow and blue round lamps, then the same colours square). Magenta is the
background the control does not draw. Run it from this folder to remake the
file: python3 LedBitmap.py
"""
import math
import struct

CELL = 16
MAGENTA = (255, 0, 255)
# (lit, unlit) body colours of red, green, yellow, blue.
COLOURS = [
    ((255, 48, 40), (120, 18, 16)),
    ((48, 224, 64), (16, 92, 24)),
    ((255, 220, 32), (120, 100, 16)),
    ((56, 120, 255), (20, 40, 120)),
]
GREY = (176, 176, 176)


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def inside(shape, x, y):
    """Distance-like measure: < 0 inside the lamp body, 0..1 on its rim."""
    cx = cy = 7.5
    if shape == 0:
        d = math.hypot(x - cx, y - cy)
        return d - 6.0
    return max(abs(x - cx), abs(y - cy)) - 6.0


def cell(shape, body, lit):
    pixels = []
    rim = mix(body, (0, 0, 0), 0.55)
    for y in range(CELL):
        row = []
        for x in range(CELL):
            d = inside(shape, x, y)
            if d > 1.0:
                row.append(MAGENTA)
            elif d > 0.0:
                row.append(rim)
            else:
                # Light from the upper left; a lit lamp has a bright spot.
                shade = ((x - 7.5) + (y - 7.5)) / 24.0
                colour = mix(body, (0, 0, 0), max(0.0, shade))
                if lit:
                    spot = math.hypot(x - 5.5, y - 5.0)
                    if spot < 2.5:
                        colour = mix(colour, (255, 255, 255), 0.6 * (1 - spot / 2.5))
                row.append(colour)
        pixels.append(row)
    return pixels


def strip():
    rows = []
    for shape in (0, 1):
        for lit, unlit in COLOURS:
            cells = [cell(shape, lit, True), cell(shape, unlit, False), cell(shape, GREY, False)]
            for y in range(CELL):
                rows.append(cells[0][y] + cells[1][y] + cells[2][y])
    return rows


def write_bmp(path, rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        image += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(image), 0, 0, offset))
        out.write(header)
        out.write(image)


if __name__ == "__main__":
    write_bmp("Led.bmp", strip())
