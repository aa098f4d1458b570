#!/usr/bin/env python3
# XWD to PNG with nothing but Python's own modules (3 or 4 bytes a pixel):
#   xwd2png.py OUT.png SCREEN.xwd [X,Y:WINDOW.xwd ...]
# Each window's picture is laid over the screen's at X, Y: popups (menus, tool tips) that the X server
# keeps in a store of their own read as black from the screen.
import struct, sys, zlib


def read_xwd(path):
    data = open(path, "rb").read()
    header = struct.unpack(">25I", data[:100])
    size, width, height, order, stride, colours = header[0], header[4], header[5], header[7], header[12], header[19]
    masks, step = header[14:17], header[11] // 8
    pixels = data[size + 12 * colours:]
    whole_bytes = all(mask in (0xFF, 0xFF00, 0xFF0000, 0xFF000000) for mask in masks)
    rows = []
    for y in range(height):
        line = pixels[y * stride:y * stride + width * step]
        out = bytearray(width * 3)
        if whole_bytes:
            # Each channel is one byte of the pixel: slices copy a whole row at once.
            for channel, mask in enumerate(masks):
                byte = (mask & -mask).bit_length() // 8
                out[channel::3] = line[(byte if order == 0 else step - 1 - byte)::step]
        else:
            for x in range(width):
                value = int.from_bytes(line[x * step:(x + 1) * step], "little" if order == 0 else "big")
                out[x * 3:x * 3 + 3] = bytes((value & mask) >> ((mask & -mask).bit_length() - 1) for mask in masks)
        rows.append(out)
    return width, height, rows


width, height, rows = read_xwd(sys.argv[2])
for layer in sys.argv[3:]:
    place, path = layer.split(":", 1)
    left, top = (int(v) for v in place.split(","))
    w, h, window = read_xwd(path)
    for y in range(max(0, -top), min(h, height - top)):
        first, last = max(0, -left), min(w, width - left)
        if first < last:
            rows[top + y][(left + first) * 3:(left + last) * 3] = window[y][first * 3:last * 3]
chunk = lambda kind, body: struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
body = b"".join(b"\0" + bytes(row) for row in rows)
open(sys.argv[1], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                              + chunk(b"IDAT", zlib.compress(body, 9)) + chunk(b"IEND", b""))
