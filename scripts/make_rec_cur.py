#!/usr/bin/env python3
"""Draws the recording cursor data/rec.cur: a white arrow with a black rim (hotspot at its tip) and a
red recording dot ringed in white and dark grey, so that it shows on light and dark screens alike.
Writes a 32x32 Windows cursor file with a 32-bit image and alpha. Run it again after a change and
commit the file it writes."""
import struct
import sys
from pathlib import Path

SIZE = 32
HOTSPOT = (1, 1)
ARROW = [(1, 1), (1, 19), (5.5, 15), (8.5, 21.5), (11, 20.5), (8, 14), (13.5, 14)]
DOT_CENTRE = (22.5, 22.5)
RED, WHITE, RIM, BLACK = (224, 32, 28), (255, 255, 255), (40, 40, 40), (0, 0, 0)


def inside(polygon, x, y):
    """Even-odd rule for a point."""
    result = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def dot_sample(x, y):
    """Colour and alpha (0 or 1) of one sample point of the recording dot."""
    d = ((x - DOT_CENTRE[0]) ** 2 + (y - DOT_CENTRE[1]) ** 2) ** 0.5
    if d <= 6.0:
        return RED, 1
    if d <= 7.6:
        return WHITE, 1
    if d <= 9.0:
        return RIM, 1
    return BLACK, 0


def draw():
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]  # (r, g, b, a), straight alpha
    arrow = [[inside(ARROW, x + 0.5, y + 0.5) for x in range(SIZE)] for y in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if arrow[y][x]:
                pixels[y][x] = (*WHITE, 255)
            elif any(arrow[ny][nx] for ny in range(max(y - 1, 0), min(y + 2, SIZE))
                     for nx in range(max(x - 1, 0), min(x + 2, SIZE))):
                pixels[y][x] = (*BLACK, 255)
    steps = 4  # 4x4 samples per pixel smooth the dot's edge
    for y in range(SIZE):
        for x in range(SIZE):
            samples = [dot_sample(x + (i + 0.5) / steps, y + (j + 0.5) / steps)
                       for i in range(steps) for j in range(steps)]
            covered = [colour for colour, alpha in samples if alpha]
            if not covered:
                continue
            alpha = len(covered) / len(samples)
            colour = tuple(round(sum(c[k] for c in covered) / len(covered)) for k in range(3))
            pixels[y][x] = (*colour, round(alpha * 255))
    return pixels


def cursor_file(pixels):
    xor = bytearray()
    and_mask = bytearray()
    for row in reversed(pixels):  # bottom-up, as in any bitmap
        bits = 0
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits |= 1 << (31 - x)
        and_mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(and_mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data" / "rec.cur"
    target.write_bytes(cursor_file(draw()))
    print(f"wrote {target}")
