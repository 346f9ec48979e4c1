#!/usr/bin/env python3
"""Draws the list header's sort arrows as small 4-bit bitmaps.

resources/bitmaps/sort_up.bmp (ascending, resource 8001) and sort_down.bmp
(descending, resource 8000) are made by this script and kept in the
repository. The colour table holds the grey shades that loading with mapped
3-D colours replaces: light grey (192) becomes the button face, so the
arrow's background blends with the header, and mid grey (128) becomes the
shadow colour the arrow is drawn in.

Usage: tools/make_sort_arrows.py [output folder]
"""
import os
import struct
import sys

WIDTH, HEIGHT = 9, 5
FACE, SHADOW = 0, 1
PALETTE = [(192, 192, 192), (128, 128, 128)] + [(0, 0, 0)] * 14


def arrow(pointing_up):
    """Rows from top to bottom: a filled triangle, tip up or down."""
    rows = []
    for r in range(HEIGHT):
        half = r if pointing_up else HEIGHT - 1 - r   # half-width of this row
        centre = WIDTH // 2
        rows.append([SHADOW if abs(c - centre) <= half else FACE for c in range(WIDTH)])
    return rows


def bmp(rows):
    stride = ((WIDTH * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):   # bottom-up
        line = bytearray(stride)
        for c, index in enumerate(row):
            line[c // 2] |= index << (4 if c % 2 == 0 else 0)
        pixels += line
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    return header + info + palette + bytes(pixels)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'bitmaps')
    os.makedirs(folder, exist_ok=True)
    for name, up in (('sort_up.bmp', True), ('sort_down.bmp', False)):
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(bmp(arrow(up)))


if __name__ == '__main__':
    main()
