#!/usr/bin/env python3
"""Draws the programs' icons (our own art) and writes them as .ico files.

usage: make-icons.py OUT.ico GLYPH [--tray [--with-24]]
GLYPH is one of 1 2 3 4 V C !. The icon group has 16, 24, 32 and 48 pixel images at 32 bits per pixel;
--tray writes the 32 x 32, 16-colour image the switchers put in the notification area (--with-24 adds a 24 x 24
one, as build 1 carries).
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


def image_32(size, glyph):
    px = draw(size, glyph)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes(p) for row in reversed(px) for p in row)
    return header + xor + and_mask(px), 0, 32


def image_4(size, glyph):
    px = draw(size, glyph)
    palette = [(0, 0, 0), BLUE, LIGHT, WHITE] + [(0, 0, 0)] * 12
    index = {c: i for i, c in enumerate(palette[:4])}
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b"".join(struct.pack("<BBBB", *c, 0) for c in palette)
    xor = b""
    for row in reversed(px):
        nibbles = [index.get(p[:3], 0) if p[3] else 0 for p in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
    return header + pal + xor + and_mask(px), 16, 4


def write_ico(path, images):
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, (blob, colours, bpp) in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(head + entries + blobs)


def main():
    if len(sys.argv) < 3 or sys.argv[2] not in FONT:
        sys.exit(__doc__)
    out, glyph = sys.argv[1], sys.argv[2]
    if "--tray" in sys.argv[3:]:
        sizes = (32, 24) if "--with-24" in sys.argv[3:] else (32,)
        write_ico(out, [(s, image_4(s, glyph)) for s in sizes])
    else:
        write_ico(out, [(s, image_32(s, glyph)) for s in (16, 24, 32, 48)])


if __name__ == "__main__":
    main()
