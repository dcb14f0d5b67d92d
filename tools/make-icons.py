#!/usr/bin/env python3
"""Draws the programs' icons (our own art) and writes them as .ico files.

usage: make-icons.py OUT.ico GLYPH [--tray]
GLYPH is one of 1 2 3 4 V C !. The icon group has 16, 24, 32 and 48 pixel images at 32 bits per pixel;
--tray writes the icon a switcher puts in the notification area instead (GLYPH 1 to 4): 16, 20, 24 and 32 pixel
images at 32 bits per pixel with alpha, one for each small-icon size from 100 to 200 % scaling, each drawn for
its size so that the digit stays sharp.
"""
import struct
import sys

FONT = {  # 5 x 7 glyphs, one string a row
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "C": [".####", "#....", "#....", "#....", "#....", "#....", ".####"],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
}
BLUE = (0x97, 0x57, 0x2B)   # B, G, R
LIGHT = (0xE8, 0xC8, 0xA0)
WHITE = (0xFF, 0xFF, 0xFF)


def draw(size, glyph):
    """Rows top-down of (b, g, r, a): a rounded tile with a desktop grid behind a large glyph."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    radius = max(2, size // 6)
    for y in range(size):
        for x in range(size):
            cx = min(x, size - 1 - x)
            cy = min(y, size - 1 - y)
            if cx < radius and cy < radius and (radius - cx) ** 2 + (radius - cy) ** 2 > radius * radius:
                continue
            px[y][x] = BLUE + (255,)
    # Four small panes stand for the four desktops.
    margin, gap = size // 8, max(1, size // 16)
    pane = (size - 2 * margin - gap) // 2
    for row in range(2):
        for col in range(2):
            x0 = margin + col * (pane + gap)
            y0 = margin + row * (pane + gap)
            for y in range(y0, y0 + pane):
                for x in range(x0, x0 + pane):
                    px[y][x] = LIGHT + (255,)
    # The glyph, scaled up on a blue plate so it reads at 16 pixels.
    scale = max(1, (size * 9 // 16) // 7)
    gw, gh = 5 * scale, 7 * scale
    gx, gy = (size - gw) // 2, (size - gh) // 2
    for y in range(max(0, gy - scale // 2 - 1), min(size, gy + gh + scale // 2 + 1)):
        for x in range(max(0, gx - scale // 2 - 1), min(size, gx + gw + scale // 2 + 1)):
            px[y][x] = BLUE + (255,)
    for r, line in enumerate(FONT[glyph]):
        for c, ch in enumerate(line):
            if ch == "#":
                for y in range(gy + r * scale, gy + (r + 1) * scale):
                    for x in range(gx + c * scale, gx + (c + 1) * scale):
                        px[y][x] = WHITE + (255,)
    return px


# The tray's digits drawn with whole pixels for each size: width, stroke and gap between the strokes (a digit is
# 3 strokes and 2 gaps high).
TRAY_DIGITS = {16: (7, 2, 2), 20: (9, 2, 3), 24: (10, 3, 3), 32: (14, 4, 4)}


def tile_alpha(size, x, y, radius, samples=4):
    """How much of pixel (x, y) a size x size square with rounded corners covers, 0..255: soft corners."""
    inside = 0
    for sy in range(samples):
        for sx in range(samples):
            cx = min(x + (sx + 0.5) / samples, size - x - (sx + 0.5) / samples)
            cy = min(y + (sy + 0.5) / samples, size - y - (sy + 0.5) / samples)
            if cx >= radius or cy >= radius or (radius - cx) ** 2 + (radius - cy) ** 2 <= radius * radius:
                inside += 1
    return 255 * inside // (samples * samples)


def digit_strokes(digit, width, stroke, gap):
    """The digit's strokes as rectangles (left, top, right, bottom) in a box of `width` and its height."""
    height = 3 * stroke + 2 * gap
    mid = stroke + gap
    top, middle, bottom = (0, 0, width, stroke), (0, mid, width, mid + stroke), (0, height - stroke, width, height)
    upper_right, lower_right = (width - stroke, 0, width, mid + stroke), (width - stroke, mid, width, height)
    upper_left, lower_left = (0, 0, stroke, mid + stroke), (0, mid, stroke, height)
    stem = (width - stroke) // 2 + 1
    strokes = {
        "1": [(stem, 0, stem + stroke, height), (stem - stroke, stroke // 2, stem, stroke // 2 + stroke),
              (stem - stroke, height - stroke, stem + 2 * stroke, height)],
        "2": [top, upper_right, middle, lower_left, bottom],
        "3": [top, upper_right, (stroke, mid, width, mid + stroke), lower_right, bottom],
        "4": [upper_left, middle, (width - stroke, 0, width, height)],
    }
    return strokes[digit], height


def draw_tray(size, digit):
    """Rows top-down of (b, g, r, a): a blue tile with soft round corners and a large white digit."""
    px = [[BLUE + (tile_alpha(size, x, y, size / 4),) for x in range(size)] for y in range(size)]
    width, stroke, gap = TRAY_DIGITS[size]
    strokes, height = digit_strokes(digit, width, stroke, gap)
    x0, y0 = (size - width) // 2, (size - height) // 2
    for left, top, right, bottom in strokes:
        for y in range(y0 + top, y0 + bottom):
            for x in range(x0 + left, x0 + right):
                px[y][x] = WHITE + (255,)
    return px


def and_mask(px):
    size = len(px)
    stride = ((size + 31) // 32) * 4
    out = b""
    for row in reversed(px):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def image_32(px):
    size = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes(p) for row in reversed(px) for p in row)
    return header + xor + and_mask(px)


def write_ico(path, images):
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(head + entries + blobs)


def main():
    if len(sys.argv) < 3 or sys.argv[2] not in FONT:
        sys.exit(__doc__)
    out, glyph = sys.argv[1], sys.argv[2]
    if "--tray" in sys.argv[3:]:
        if glyph not in "1234":
            sys.exit(__doc__)
        write_ico(out, [(s, image_32(draw_tray(s, glyph))) for s in sorted(TRAY_DIGITS)])
    else:
        write_ico(out, [(s, image_32(draw(s, glyph))) for s in (16, 24, 32, 48)])


if __name__ == "__main__":
    main()
