#!/usr/bin/env python3
"""Draws the popup's digit badges (our own art): a grey key cap with blue corners and the black digit.

usage: make-badges.py OUT_FOLDER
Writes Badge1.bmp .. Badge4.bmp, 61 x 30 pixels, 24 bits per pixel.
"""
import os
import runpy
import struct
import sys

WIDTH, HEIGHT = 61, 30
BLUE = (0x2B, 0x57, 0x97)    # R, G, B: the icons' blue
EDGE = (0x5A, 0x5A, 0x5A)
SIDE = (0xA0, 0xA0, 0xA0)
FACE = (0xDC, 0xDC, 0xDC)
SHINE = (0xF4, 0xF4, 0xF4)
BLACK = (0, 0, 0)


def icon_font():
    """The 5 x 7 digits the icons use, so badges and icons share one hand."""
    return runpy.run_path(os.path.join(os.path.dirname(os.path.abspath(__file__)), "make-icons.py"))["FONT"]


def inside_rounded(x, y, left, top, right, bottom, radius):
    """Whether pixel (x, y) lies in the rectangle [left, right] x [top, bottom] with rounded corners."""
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(x - left, right - x)
    cy = min(y - top, bottom - y)
    if cx >= radius or cy >= radius:
        return True
    return (radius - cx - 0.5) ** 2 + (radius - cy - 0.5) ** 2 <= radius * radius


def draw(digit, font):
    """Rows top-down of (r, g, b)."""
    px = [[BLUE] * WIDTH for _ in range(HEIGHT)]
    right, bottom = WIDTH - 1, HEIGHT - 1
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if inside_rounded(x, y, 0, 0, right, bottom, 7):
                px[y][x] = EDGE
            if inside_rounded(x, y, 1, 1, right - 1, bottom - 1, 6):
                px[y][x] = SIDE
            # The cap's top face, set back from the lower edge as a key seen from above.
            if inside_rounded(x, y, 4, 2, right - 4, bottom - 5, 4):
                px[y][x] = FACE
    for x in range(8, right - 7):
        px[3][x] = SHINE
    scale = 3
    gw, gh = 5 * scale, 7 * scale
    gx, gy = (WIDTH - gw) // 2, 2 + (bottom - 5 - 2 + 1 - gh) // 2
    for r, line in enumerate(font[digit]):
        for c, ch in enumerate(line):
            if ch == "#":
                for y in range(gy + r * scale, gy + (r + 1) * scale):
                    for x in range(gx + c * scale, gx + (c + 1) * scale):
                        px[y][x] = BLACK
    return px


def write_bmp(path, px):
    stride = (WIDTH * 3 + 3) // 4 * 4
    pixels = b""
    for row in reversed(px):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    font = icon_font()
    for digit in "1234":
        write_bmp(os.path.join(sys.argv[1], "Badge%s.bmp" % digit), draw(digit, font))


if __name__ == "__main__":
    main()
