#!/usr/bin/env python3
"""Draws AutoUpdate.bmp, the update dialog's picture: 32 x 32 pixels, 24 bits.

A blue disc with a white arrow pointing down into a tray, on white (the band
of the dialog it sits in). Run it from this folder to remake the file:
python3 UpdateBitmap.py
"""
import struct

SIZE = 32
WHITE = (255, 255, 255)
BLUE = (40, 100, 200)
RIM = (20, 60, 140)


def pixel(x, y):
    cx = cy = 15.5
    d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
    if d > 15.5:
        return WHITE
    if d > 14.0:
        return RIM
    # The arrow: a shaft and a head, then the tray under it.
    if 13 <= x <= 18 and 6 <= y <= 15:
        return WHITE
    if 16 <= y <= 21 and abs(x - 15.5) <= 21 - y + 0.5:
        return WHITE
    if 23 <= y <= 24 and 8 <= x <= 23:
        return WHITE
    return BLUE


def main():
    row_bytes = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open("AutoUpdate.bmp", "wb") as out:
        out.write(header + info + pixels)


if __name__ == "__main__":
    main()
