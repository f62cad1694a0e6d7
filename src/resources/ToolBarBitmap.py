#!/usr/bin/env python3
"""Draws ToolBar.bmp, the library's toolbar images: 64 x 15 pixels, 24 bits.

Four 16 x 15 cells: panes side by side (split into columns), panes one above
the other (split into rows), a padlock (lock the panes) and a circular
arrow (refresh). Magenta is the background the toolbar leaves transparent.
Run it from this folder to remake the file: python3 ToolBarBitmap.py
"""
import struct

W, H, CELL = 64, 15, 16
MAGENTA = (255, 0, 255)
DARK = (40, 40, 40)
BLUE = (40, 96, 200)
PALE = (232, 240, 255)
GOLD = (200, 150, 20)

pixels = [[MAGENTA] * W for _ in range(H)]


def put(x, y, colour):
    if 0 <= x < W and 0 <= y < H:
        pixels[y][x] = colour


def box(x0, y0, x1, y1, edge, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            border = x in (x0, x1) or y in (y0, y1)
            if border:
                put(x, y, edge)
            elif fill is not None:
                put(x, y, fill)


# 0: two panes side by side.
box(1, 2, 7, 12, BLUE, PALE)
box(8, 2, 14, 12, BLUE, PALE)
# 1: two panes one above the other.
box(CELL + 1, 1, CELL + 14, 6, BLUE, PALE)
box(CELL + 1, 7, CELL + 14, 13, BLUE, PALE)
# 2: a padlock: shackle and body.
x0 = 2 * CELL
box(x0 + 5, 1, x0 + 10, 7, DARK)
box(x0 + 3, 6, x0 + 12, 13, DARK, GOLD)
put(x0 + 7, 9, DARK)
put(x0 + 8, 9, DARK)
put(x0 + 7, 10, DARK)
put(x0 + 8, 10, DARK)
# 3: a circular arrow.
x0 = 3 * CELL
for x, y in [(5, 2), (6, 2), (7, 2), (8, 2), (9, 2), (10, 3), (11, 4), (12, 5), (12, 6), (12, 7), (12, 8),
             (11, 9), (10, 10), (9, 11), (8, 11), (7, 11), (6, 11), (5, 10), (4, 9), (3, 8), (3, 7), (3, 6),
             (3, 5), (4, 4)]:
    put(x0 + x, y, BLUE)
for x, y in [(9, 1), (9, 3), (10, 2), (8, 0), (8, 4)]:
    put(x0 + x, y, BLUE)

row_size = (W * 3 + 3) & ~3
image = bytearray()
for y in range(H - 1, -1, -1):
    row = bytearray()
    for r, g, b in pixels[y]:
        row += bytes((b, g, r))
    row += b"\0" * (row_size - len(row))
    image += row
header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(image), 2835, 2835, 0, 0)
with open("ToolBar.bmp", "wb") as out:
    out.write(header + info + image)
