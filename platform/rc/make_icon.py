#!/usr/bin/env python3
"""Draws the module's icon, a shaded cube on a transparent ground, as a
32 x 32 pixel, 16-colour icon file. Run once; the output is committed.

usage: make_icon.py OUT.ico
"""
import struct
import sys

# The standard 16-colour palette (blue, green, red, reserved).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
BLACK, TOP, LEFT, RIGHT = 0, 11, 9, 1  # light cyan, light blue, dark blue (as B,G,R above)


def inside(poly, x, y):
    """Even-odd test of the pixel centre against a polygon."""
    px, py = x + 0.5, y + 0.5
    result = False
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def draw():
    top = [(16, 2), (29, 9), (16, 16), (3, 9)]
    left = [(3, 9), (16, 16), (16, 30), (3, 23)]
    right = [(16, 16), (29, 9), (29, 23), (16, 30)]
    pixels = [[None] * 32 for _ in range(32)]
    for y in range(32):
        for x in range(32):
            for colour, face in ((TOP, top), (LEFT, left), (RIGHT, right)):
                if inside(face, x, y):
                    pixels[y][x] = colour
    # Outline: any painted pixel next to an unpainted one.
    for y in range(32):
        for x in range(32):
            if pixels[y][x] is not None and any(
                    not (0 <= x + dx < 32 and 0 <= y + dy < 32) or pixels[y + dy][x + dx] is None
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                pixels[y][x] = BLACK
    return pixels


def icon_bytes(pixels):
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        for x in range(0, 32, 2):
            a, b = (row[x] or 0), (row[x + 1] or 0)
            xor.append(a << 4 | b)
        bits = 0
        for x in range(32):
            bits = bits << 1 | (1 if row[x] is None else 0)
        mask += bits.to_bytes(4, 'big')
    palette = b''.join(bytes((b, g, r, 0)) for (b, g, r) in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4,
                                                              len(image), 22)
    return directory + image


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], 'wb') as f:
        f.write(icon_bytes(draw()))
